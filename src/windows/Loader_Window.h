// The loader window: it takes the serial link over from the main window for the
// controller's boot loader, lets the technician pick a firmware file (checked against the
// loader's controller type) and load it, with the link state, the file's information and a
// progress gauge. While it is open the main window stays disabled; Exit hands the link back
// to the normal protocol. The dialogue itself is in protocol/Loader.
//
// Created once at start-up, shown on demand, non-modal. Runs on the user-interface thread.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "language/Language_En.h"
#include "platform/ui/UI.h"

// What the loader window asks of the main window, bound by the main window at creation;
// an unbound hook does nothing.
struct Loader_Window_Hooks_Class {
    // The main window's not-connected state of the link.
    std::function<void()> Main_Not_Connected;
    // The main window enabled or disabled.
    std::function<void(bool enabled)> Main_Enabled;
    // The main window's form style back to what the settings say (stay on top or normal).
    std::function<void()> Main_Form_Style;
    // Saves the configuration and calibration to the named file in the configuration
    // folder, with its history copy; false when it could not be saved.
    std::function<bool(const std::string& file_name)> Save_Configuration;
};
extern Loader_Window_Hooks_Class Loader_Window_Hooks;

class TForm_Loader : public TForm {
public:
    explicit TForm_Loader(TComponent* Owner);
    ~TForm_Loader() override;
    using TControl::Enabled;
    using TControl::Visible;

    static constexpr int Design_Client_Width = 460;
    static constexpr int Design_Client_Height = 334;

    TLabel* Label_Connect_Loader = nullptr;
    TPanel* Panel_Connect_Loader = nullptr;
    TPanel* Panel_Connect_Loader_PerCent = nullptr;
    TCheckBox* CheckBox_Loader_Check_Version = nullptr;
    TLabel* Label_Loader_Check_Version = nullptr;
    TEdit* Edit_Loader_File = nullptr;
    TGroupBox* GroupBox_Loader = nullptr;
    TLabel* Label_Loader_File_Name = nullptr;
    TEdit* Edit_Loader_File_Name = nullptr;
    TLabel* Label_Loader_File_Data = nullptr;
    TEdit* Edit_Loader_File_Data = nullptr;
    TLabel* Label_Loader_File_Ver = nullptr;
    TEdit* Edit_Loader_File_Ver = nullptr;
    TLabel* Label_Loader_Prompt = nullptr;
    TGauge* Gauge_Loader_Transmit = nullptr;
    TButton* Button_Loader_Browse = nullptr;
    TButton* Button_Loader_Load = nullptr;
    TButton* Button_Loader_Exit = nullptr;
    TTimer* Timer_Loader = nullptr;
    TOpenDialog* OpenDialog_Loader = nullptr;

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TClose_Action& Action);
    void Button_Loader_BrowseClick(TObject* Sender);
    void Button_Loader_LoadClick(TObject* Sender);
    void Button_Loader_ExitClick(TObject* Sender);
    void Label_Loader_Check_VersionClick(TObject* Sender);
    void Timer_LoaderTimer(TObject* Sender);

    // The window's side of the loader's link state.
    void Connected_Show();
    void Disconnected_Show();
    // The gauge from the loader's progress.
    void Progress_Show();
    void Transfer_End(bool Complete);
    // What the prompt line says of the last load: nothing, that it did not complete and has
    // to be loaded again, or that it starts again by itself when the loader answers.
    enum class Load_Note { None, Not_Complete, Resumes };
    void Load_Note_Show(Load_Note Note);
    Load_Note Load_Note_Shown = Load_Note::None;
    // An information box "file message" centred on the window, the message looked up by its
    // key (in English while the English menu is on).
    void Show_File_Error(const std::string& File, const std::string& Key);
    // The file refused: name and information emptied, gauge hidden, Load disabled.
    void Refuse_File();
    // Texts of the window by their keys, fonts from the settings.
    void Apply_Texts();

private:
    void Bind_Loader();
    bool In_Close = false;   // the close handler runs
};

extern TForm_Loader* Form_Loader;

// The window's built-in English texts, registered behind the main table when the window is
// built.
extern const English_Pair English_Text_Loader[];
extern const std::size_t English_Text_Loader_Size;
