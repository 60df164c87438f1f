#include "platform/ui/Application.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QApplication>
#include <QEventLoop>
#include <QIcon>

TApplication* Application = nullptr;

namespace {
int Default_Argc = 1;
char Default_Name[] = "KardunGD";
char* Default_Argv[] = {Default_Name, nullptr};
QEventLoop* Main_Loop = nullptr;
}  // namespace

TApplication::TApplication(int* Argc, char** Argv) : TComponent(nullptr)
{
    if (!QApplication::instance()) {
        if (!Argc || !Argv) {
            Argc = &Default_Argc;
            Argv = Default_Argv;
        }
        // Sizes are the pixels the windows describe: no scaling by the screen's density.
        if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
            qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        FOwn_App = std::make_unique<QApplication>(*Argc, Argv);
    }
    ui::Ensure_Global_Filter();
    Application = this;
}

TApplication::~TApplication()
{
    Shutdown();
    Destroy_Owned(this);
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() { ui::Hooks.Real_Dialogs = true; }

void TApplication::Title(const std::string& Value) { FTitle = Value; }

void TApplication::Icon(const TIcon& Value) { QApplication::setWindowIcon(Value.Icon()); }

void TApplication::Register(TForm* Form)
{
    if (!FMain_Form) FMain_Form = Form;
}

int TApplication::Run()
{
    if (FMain_Form && !FTerminated) ui::Dispatch([&] { FMain_Form->Show(); });
    if (!FTerminated) {
        QEventLoop Loop;
        Main_Loop = &Loop;
        Loop.exec();
        Main_Loop = nullptr;
    }
    Shutdown();
    return 0;
}

void TApplication::Terminate()
{
    FTerminated = true;
    if (Main_Loop) Main_Loop->quit();
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(); }

void TApplication::Shutdown()
{
    if (FShut_Down) return;
    FShut_Down = true;
    // The main form's destroy handler runs while every window still exists.
    if (FMain_Form) FMain_Form->Fire_Destroy();
    Destroy_Owned(this);
    FMain_Form = nullptr;
}
