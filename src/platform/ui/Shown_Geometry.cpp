#include "platform/ui/Shown_Geometry.h"
#include "platform/ui/Internal.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Panel.h"
#include <QAbstractButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWidget>

namespace {
TShown_Rect In_Window(const QWidget* W)
{
    if (!W) return {};
    const QPoint At = W->mapTo(W->window(), QPoint(0, 0));
    return {At.x(), At.y(), W->width(), W->height()};
}

const QTabBar* Tab_Row(const TPageControl* Pages)
{
    const auto* Tabs = Pages ? qobject_cast<const QTabWidget*>(Pages->Widget()) : nullptr;
    return Tabs ? Tabs->tabBar() : nullptr;
}
}  // namespace

namespace ui {

TShown_Rect Shown_Rect(const TControl* Control) { return In_Window(Control ? Control->Widget() : nullptr); }

TShown_Rect Shown_Tab_Row(const TPageControl* Pages) { return In_Window(Tab_Row(Pages)); }

bool Tabs_Fit(const TPageControl* Pages)
{
    const QTabBar* Row = Tab_Row(Pages);
    if (!Row) return false;
    // The scroll arrows are the row's own tool buttons.
    for (const QToolButton* Arrow : Row->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (Arrow->isVisibleTo(Row)) return false;
    return true;
}

bool Shown(const TControl* Control)
{
    const QWidget* W = Control ? Control->Widget() : nullptr;
    return W && W->isVisible();
}

std::string Shown_Text(const TControl* Control)
{
    if (!Control) return {};
    QString Text;
    // A button's widget holds the text it draws; a panel draws its caption.
    if (const auto* Button = qobject_cast<const QAbstractButton*>(Control->Widget()))
        Text = Strip_Accel(Button->text());
    else if (const auto* Panel = dynamic_cast<const TPanel*>(Control))
        Text = Strip_Accel(Caption_Text(Panel->Caption(), Panel->Text_Charset()));
    Text.replace(u'\n', u' ');
    return Text.toStdString();
}

}  // namespace ui
