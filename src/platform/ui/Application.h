#pragma once
// The application object: title, icon, forms created in order (the first is the main form),
// the event loop; closing the main form ends the program.
#include "platform/ui/Component.h"
#include "platform/ui/Form.h"
#include <memory>

class QApplication;

class TApplication : public TComponent {
public:
    // Creates the Qt application when none exists yet (the program); tests pass nothing.
    TApplication(int* Argc = nullptr, char** Argv = nullptr);
    ~TApplication() override;

    void Initialize();                      // the real program: real dialogs on
    std::string Title() const { return FTitle; }
    void Title(const std::string& Value);
    void Icon(const TIcon& Value);

    // Create a form of class T, owned by the application, and fire its OnCreate.
    // The first form created is the main form.
    template <class T>
    void CreateForm(T*& Reference)
    {
        T* Form = new T(this);
        Reference = Form;
        Register(Form);
        Form->Fire_Create();
    }
    TForm* MainForm() const { return FMain_Form; }

    // Show the main form and run the loop until it closes or Terminate is called; then
    // shut down: the main form's OnDestroy runs first (every window still exists), then
    // the forms are destroyed, the last created first.
    int Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void ProcessMessages();
    void Shutdown();

private:
    void Register(TForm* Form);
    std::string FTitle;
    TForm* FMain_Form = nullptr;
    bool FTerminated = false;
    bool FShut_Down = false;
    std::unique_ptr<QApplication> FOwn_App;
};

extern TApplication* Application;   // set by the constructor, cleared by the destructor
