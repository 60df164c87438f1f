#pragma once
// Shared set-up of the window-layer tests: a fresh application object with one main form,
// unexpected dialogs fail the test, exceptions from handlers are collected.
#include "platform/ui/UI.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class UI_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::Reset_Hooks();
        ui::Reset_Charset();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
        ui::Hooks.On_Exception = [this](const std::string& Message) { Exceptions.push_back(Message); };
        App = std::make_unique<TApplication>();
        App->CreateForm(Form);
        Form->Name("Form_Test");
        Form->ClientWidth(400);
        Form->ClientHeight(300);
    }
    void TearDown() override
    {
        App.reset();
        ui::Reset_Hooks();
        ui::Reset_Charset();
    }

    std::unique_ptr<TApplication> App;
    TForm* Form = nullptr;
    std::vector<std::string> Exceptions;
};

// Run the event loop until the condition holds or the (generous) time is up.
inline bool Wait_Until(const std::function<bool()>& Condition, int Timeout_Ms = 10000)
{
    QElapsedTimer Clock;
    Clock.start();
    while (!Condition()) {
        if (Clock.elapsed() > Timeout_Ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Let the event loop run for a while.
inline void Run_Loop(int Ms)
{
    QElapsedTimer Clock;
    Clock.start();
    while (Clock.elapsed() < Ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The pixels the window system was given for a control (its window's backing store, not a
// fresh rendering): what a partial repaint left on the screen.
inline QImage Shown_On_Screen(TControl* C)
{
    QWidget* W = C->Widget();
    QWidget* Top = W->window();
    const QPoint At = W->mapTo(Top, QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(Top->winId(), At.x(), At.y(), W->width(), W->height())
        .toImage();
}

// The paint events of one control's widget and the region they painted, while it lives.
struct Paint_Watch : QObject {
    explicit Paint_Watch(TControl* C) : W(C->Widget()) { W->installEventFilter(this); }
    ~Paint_Watch() override { W->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* E) override
    {
        if (E->type() != QEvent::Paint) return false;
        ++Paints;
        Painted += static_cast<QPaintEvent*>(E)->region();
        return false;
    }
    QWidget* W;
    int Paints = 0;
    QRegion Painted;
};
