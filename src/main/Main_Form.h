// The main window: the content panel with its seven pages, the status row with the
// forcing strip, the serial port component and the timers that pace the dialogue with the
// controller.
//
// The window is made of parts, one per page and one for the status row
// (Main_Form_<Page>.h, see Main_Form_Part.h): each owns its controls, creates them, binds
// and releases its hooks and gives its share of the lists the window gathers. What spans
// the pages stays here: the link (send, receive, time-outs, watchdog, connection states)
// in Main_Form_Link.cpp, the start-up, settings and texts in Main_Form_Start.cpp, what the
// identification changes in Main_Form_Ident.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "main/Main_Form_About.h"
#include "main/Main_Form_Calibration.h"
#include "main/Main_Form_Configuration.h"
#include "main/Main_Form_Errors.h"
#include "main/Main_Form_General.h"
#include "main/Main_Form_Oscilloscope.h"
#include "main/Main_Form_RPM_Tab.h"
#include "main/Main_Form_Settings.h"
#include "main/Main_Form_Status.h"
#include "platform/ui/Shown_Geometry.h"
#include "platform/ui/UI.h"
#include "serial/CPort.h"
#include "windows/MiniCFG_Window.h"
#include "windows/Port_Window.h"

// The parts in the order their controls are created (status row first, then the pages).
using Main_Form_Pages =
    Main_Form_Parts<Main_Form_Status, Main_Form_General, Main_Form_Configuration, Main_Form_RPM_Tab,
                    Main_Form_Calibration, Main_Form_Oscilloscope, Main_Form_Errors,
                    Main_Form_Settings, Main_Form_About>;

class TForm_KardunGAS : public TForm, public Main_Form_Pages {
public:
    explicit TForm_KardunGAS(TComponent* Owner);
    ~TForm_KardunGAS() override;
    using TControl::Visible;

    // Design client size of the window.
    static constexpr int Design_Client_Width = 780;
    static constexpr int Design_Client_Height = 520;

    // ---- content ----
    TPanel* Panel_KardunGAS = nullptr;
    TPageControl* PageControl_KardunGAS = nullptr;

    // ---- the serial port component ----
    std::unique_ptr<TComPort> ComPort;

    // ---- timers ----
    TTimer* Timer_Sending = nullptr;
    TTimer* Timer_Connect = nullptr;
    TTimer* Timer_Check_Tx = nullptr;
    TTimer* Timer_Error = nullptr;
    TTimer* Timer_After_Connect = nullptr;
    TTimer* Timer_Transmit_Now = nullptr;
    TTimer* Timer_Transmit_Save = nullptr;
    TTimer* Timer_Wait = nullptr;
    TTimer* Timer_Connect_Stabil = nullptr;
    TTimer* Timer_Led_Automat = nullptr;
    TTimer* Timer_Resize = nullptr;
    TTimer* Timer_CFG_RPM_Tail = nullptr;
    TTimer* Timer_OSC_Record = nullptr;
    // Looks, while a close waits, whether the data on their way are written.
    TTimer* Timer_Close_Wait = nullptr;

    // ---- start-up and shutdown ----
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormCanResize(TObject* Sender, int& New_Width, int& New_Height, bool& Resize);
    void FormDestroy(TObject* Sender);
    void Timer_ResizeTimer(TObject* Sender);
    void Restore_Window_Position();
    void PageControl_KardunGASChange(TObject* Sender);
    void Page_Panels_Refresh();
    void Settings_To_Form();
    // The close of the window: with a write running or waiting, or a send-now change pending,
    // on a live link, the window stays (Action None): the change is handed on at once, the
    // status line says the program closes once the data are written, and it closes then. A
    // link that drops meanwhile ends the wait with the window open and what was not sent
    // named by the drop's message. A controller of a refused version closes it at once.
    // User-interface thread only.
    void FormClose(TObject* Sender, TClose_Action& Action);
    void Timer_Close_WaitTimer(TObject* Sender);
    // Connected, and a write runs or waits, or a send-now change is counting or pending.
    bool Close_Work_Pending() const;
    void Close_Wait_End();
    bool Close_Waiting = false;

    // ---- texts, hints and fonts in the chosen language (Main_Form_Texts.cpp) ----
    // The language part of the settings: the English-menu and language boxes, the font keys
    // of the language from the settings file, then Language_Fonts_Apply, Language_Apply and
    // English_Menu_Apply. Runs at start-up, when the settings are loaded or reset and when
    // the language changes.
    void Settings_Language_Apply();
    // The language's font name and character set on the window and its listed controls
    // (sizes, styles and colours stay).
    void Language_Fonts_Apply();
    // The English-menu box shown for a language other than English; every caption and hint
    // in one bracket (Language_Captions_Apply).
    void Language_Apply();
    void Language_Captions_Apply();
    // Page captions and the hints of Hints_Apply in English while the English menu is on.
    void English_Menu_Apply();
    // Wrapped hints with their keyboard letters; ends with Hints_Transmit_Apply.
    void Hints_Apply();
    // The Configuration page's hints (not wrapped).
    void Hints_CFG_Apply();
    // Transmit and Receive hints and the About lines of "T" and "R", with the controller
    // program's name. Inside a bracket; after identification in one of its own.
    void Hints_Transmit_Apply();
    // On a page change with the English menu on: the forcing and work-mode buttons' hints in
    // English except on the Configuration page.
    void Hints_Gas_Fors_Apply();
    // Tool-tips and the help cursor by the Show-hint setting.
    void Show_Hint_Apply();
    void Show_Hint_Apply_Options(bool On);
    void Help_Cursor_Set(TCursor Cursor);
    void Help_Cursor_Set_CFG(TCursor Cursor);
    // The language box: a listed language becomes the language (English menu off); the
    // language part of the settings applies again, the oscilloscope's axes, the error list
    // and the yellow-wire list follow.
    void ComboBox_LanguageChange(TObject* Sender);

    // ---- send and receive path ----
    void Timer_SendingTimer(TObject* Sender);
    void Transmit_Frame();
    void ComPortRxChar(TCustomComPort* Sender, int Count);
    // After each receive event that did not end in a port error: the running
    // oscilloscope's next sample, then the steps below.
    void Refresh_After_Reply();
    // Steps that follow each reply, bound by their owners (each decides whether it runs
    // now: the RPM sensitivity sweep while it sweeps, the RPM-dependence table's live cell
    // while the table shows); unbound they do nothing.
    std::function<void()> Refresh_Sweep_Step;
    std::function<void()> Refresh_RPM_Tab_Live_Cell;
    void Timer_ConnectTimer(TObject* Sender);
    void Timer_Check_TxTimer(TObject* Sender);
    void Timer_ErrorTimer(TObject* Sender);
    void Timer_After_ConnectTimer(TObject* Sender);
    void Timer_WaitTimer(TObject* Sender);
    void Timer_Connect_StabilTimer(TObject* Sender);
    // 700 ms after the last change of a parameter: the changed letters go to the script
    // sequencer as one request (the last letter's code; the changed list takes every marked
    // letter), their controls stay disabled until Timer_Transmit_Save re-enables all.
    void Timer_Transmit_NowTimer(TObject* Sender);
    void Timer_Transmit_SaveTimer(TObject* Sender);

    // ---- connection states ----
    void ComPortAfterOpen(TCustomComPort* Sender);
    void ComPortAfterClose(TCustomComPort* Sender);
    void Set_Port_Closed();
    void Port_Error();
    void Set_Connected();
    void Set_Not_Connected();
    // Why what the link was doing is dropped: the watchdog ran out (its message may name the
    // last frame), or the port was lost or failed.
    enum class Link_Drop_Cause { Watchdog, Port_Lost };
    // The one routine that drops what the link was doing and says so: the running read,
    // write or loader entry, every waiting request (a save is done at once: its file needs
    // no link) and a send-now change inside its delay, each named once, in one message in
    // the chosen language. With the link up until now the controller's car number and the
    // pending automatic save are forgotten. User-interface thread only.
    void Drop_Link_Work(Link_Drop_Cause Cause);
    // The link buttons of every part.
    void Enable_Link_Buttons(bool Enabled);
    void Gas_Fors_Buttons_Enable(bool Enable);
    // Closes the port, clears the port error flag and opens the port named by the settings.
    void Reopen_Port();

    // ---- port search and port setup ----
    // The "I" button (shown while not connected): a port search.
    void Button_Select_ComPortClick(TObject* Sender);
    // The Settings page's "Setup Port": the setup dialog on the port; on OK the name goes
    // to the settings (and becomes the preferred port) and a listed port is reopened.
    void Button_Setup_PortClick(TObject* Sender);
    // The search opens the port named by the settings: true when it is open without a port
    // error; a port that did not open is closed again.
    bool Open_Search_Port();
    // No serial port at all: the status row and the Settings page say so.
    void Show_No_Port();

    // ---- link quality panel ----
    void Link_Quality_Full();
    void Link_Quality_Show();
    void Link_Quality_Reset();

    // ---- work mode and error memory ----
    void Show_Work_Mode(uint8_t Mode, uint8_t Injector_Bits);

    // ---- the work-mode button and the forcing strip ----
    // Connected: the next script step sends the next work mode (request 1).
    void Button_WorkModeClick(TObject* Sender);
    // A right click on the work-mode panel: the compact view of the current mode.
    void Panel_WorkModeMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // The click of the eight numbered forcing buttons: the all-button follows them; while
    // connected, any button down sends the forcing bits (request 6), none the release
    // frame (request 7).
    void Button_Gas_Fors1Click(TObject* Sender);
    // Connected: every forcing button takes the all-button's state, which is then sent.
    void Button_Gas_Fors_AllClick(TObject* Sender);
    // A right click on any forcing button: the compact view of the forcing strip.
    void Button_Gas_Fors_AllMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // The all-button down exactly when button 1, or one of 2..6 within the injector count,
    // is down; returns that state.
    bool Gas_Fors_All_Sync();
    // The all-button, button 1 and buttons 2..6 within the injector count take Down.
    void Gas_Fors_All_Set(bool Down);

    // The live values after each current-data reply: the General page's digits and
    // needles, then the views that follow the live data.
    void Show_Live_Values();

    // ---- identification ----
    // The record's configuration and preset tables at creation.
    void Configuration_Page_Init();
    // After an accepted identification: the model's controls, the VAC curve box, the
    // auxiliary labels and the program data on the About page.
    void Ident_Windows();
    void Setup_Model_Controls();
    void Show_VAC_Controls();
    // The gas-diesel captions rebuilt in the current language, onto the Configuration
    // page and the Calibration page's point captions.
    void Set_GD_Captions();
    // The temperature table found or missing: every page's temperature controls follow.
    void Show_Temperature_Displays(bool Shown);
    // The General page's auxiliary labels, the VAC factor per the calibration page's VAC
    // curve box.
    void Show_Auxiliary_Labels();
    // Script condition 200: true when the identification was not accepted; the message
    // is shown and the window disabled, otherwise the window is enabled.
    bool Check_Ident_Status();

    // ---- state ----
    bool Main_Form_Shown = false;
    // Client size remembered for the maximise/restore scaling, and the content's scale
    // from its design size (multiplier / divisor).
    int Remembered_Width = 0;
    int Remembered_Height = 0;
    bool Remembered_Maximised = false;   // the state the content was last scaled for
    int Content_Scale_Multiplier = 1;
    int Content_Scale_Divisor = 1;
    void Remember_Client_Size();
    // With KARDUN_GEOMETRY_FILE set, the window as it is drawn goes to that file (see
    // Geometry_Report in Main_Form_Start.cpp): from the first show on, every
    // Geometry_Report_Ms and after each rescale.
    void Geometry_Report();
    std::string Geometry_File;       // read at the first show; empty: no report
    std::string Geometry_Reported;   // the line last written
    TTimer* Timer_Geometry_Report = nullptr;
    // Where the pages and the status row's port panel are drawn at the design size.
    TShown_Rect Design_Pages_Rect;
    TShown_Rect Design_Port_Status_Rect;
    // Where each of Status_Row_Controls() is drawn at the design size, in that order.
    std::vector<TShown_Rect> Design_Status_Row_Rects;
    int Design_Width = Design_Client_Width;
    int Design_Height = Design_Client_Height;
    int Remembered_Page = 0;

    // Watchdog report guard: held while a watchdog run reports.
    bool Watchdog_Report_Busy = false;
    // The receive handler is running (a nested call from a modal loop is ignored).
    bool Receive_Busy = false;

    // Every hook bound now by the window's link and its parts (name, release, probe).
    std::vector<Hook_Bindings::Binding> Bound_Hooks() const;

    // ---- the firmware loader's ways in ----
    // The About page's Loader button and a right click on the connection panel: the loader
    // entry while connected, else the loader window at once.
    void Button_HEX_LoaderClick(TObject* Sender);

    // ---- the RPM sensitivity window ----
    // The Configuration page's toggle: down opens the window (texts, plot reset), up
    // closes it.
    void Button_CFG_RPM_setClick(TObject* Sender);
    // A parameter sent at once, without the Transmit_Now setting and the window test:
    // while the interface is ready and the controller connected, the code is remembered,
    // only its controls stay enabled and the send-now timer starts again.
    void MiniCFG_Parameter_Changed(uint8_t Code);
    // Each current-data reply: the live RPM to the sweep window and a sweep tick due.
    void Sweep_Live_Values();
    // The program closes while the controller may hold a sweep level: the saved level is
    // written as the single letter 'E', waiting at most one reply time-out for its answer.
    void Sweep_Restore_Before_Close();

    // ---- the test drive and clients database windows ----
    // The Oscilloscope page's "Test drive": the test-drive window shows.
    void Button_OSC_Test_DriveClick(TObject* Sender);
    // Each current-data reply: the engine speed to the test-drive window while it is open.
    void Drive_Live_Values();
    // The Configuration page's "View": the clients database window shows.
    void Button_CFG_User_ViewClick(TObject* Sender);
    // A file of folder Dir chosen to load (Path the whole path it is read from). Connected,
    // the choice waits in the pending slot for request 9, which makes it the current file
    // when it runs; not connected it becomes the current file and is loaded at once.
    void CFG_Load_Chosen(const std::string& Dir, const std::string& Name, const std::string& Path);

    // ---- the access password ----
    // The caption: product, version and date, and the name of who set the controller's
    // password (while password checking is on and the window has been shown).
    void Update_Main_Caption();
    void Button_CFG_User_PasswordClick(TObject* Sender);
    // ---- the Configuration page's transfers and files ----
    // The one way a page editor asks for a value to be sent at once: while the interface
    // is ready, the setting Transmit_Now is on, the controller connected and the window
    // enabled, the code is remembered (letters join the marked set, 25 the table), only its
    // controls stay usable and the 700 ms send-now count starts again; a letter also takes
    // the save stamp (Date_Save_Stamp), which its write carries in 'A', the table none.
    // Otherwise nothing.
    void CFG_Parameter_Changed(uint8_t Code);
    // While connected: the whole configuration is written (request 2, work script 2).
    void CFG_Transmit();
    void CFG_Transmit_Request();
    void Button_CFG_TransmittClick(TObject* Sender);
    void Button_CFG_ReceivClick(TObject* Sender);
    void Button_CFG_DefaultClick(TObject* Sender);
    // Save and Load ask for a file. Connected, the choice waits in the pending slot for the
    // sequencer's request 10 or 9, which takes it over when it runs; not connected the
    // file is saved or loaded at once.
    void Button_CFG_SaveClick(TObject* Sender);
    void Button_CFG_LoadClick(TObject* Sender);
    void Button_CFG_ST_RefreshClick(TObject* Sender);
    // The Calibration page's file and transfer buttons.
    void Button_CLB_LoadClick(TObject* Sender);
    void Button_CLB_SaveClick(TObject* Sender);
    void Button_CLB_TransmittClick(TObject* Sender);
    // While connected: the curves first, then the rest (request 4, work script 4).
    void CLB_Transmit_Script();

    // ---- keyboard map (key preview) ----
    // Nothing for a key held with Ctrl, Alt or the system key (a shortcut: the focused
    // control and the toolkit get it), nor while a table edit mode is on or a car or owner
    // edit has the focus; Shift alone does not change a key. F1..F8
    // choose the page; Up and Down walk the setting groups on the Configuration page; on
    // the Calibration page the arrows move the picked curve point and Escape drops it; the
    // digits 0..8 of both keyboards pick a gas point while the gas curve is shown; the
    // letters press the current page's buttons, the forcing buttons and the work-mode
    // button; F toggles the maximised state, H opens the page's help file, F10 closes the
    // window. While the controller's password is not granted only the keys outside the
    // pages act (forcing, work mode, F, H, I, F10). Keys that the focused control takes
    // itself (typed text, arrows of a stepping control) are left to it. A key the map
    // acted on goes no further.
    // User-interface thread only.
    void FormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    // F1..F8: the page of the key is shown; true when the key is one of these.
    bool Page_Key(std::uint16_t Key);
    // A car, owner or search edit (or the comments) has the keyboard focus.
    bool User_Edit_Focused() const;
    // H: Help_Dir/F<page + 1>_<first three letters of the language>.pdf opened by the
    // desktop; a missing file opens nothing. False when nothing was opened.
    bool Help_Open();
    // An edit mode of the RPM-dependence table is active: the keyboard map is off.
    bool RPM_Tab_Edit_Mode = false;
    // A table write (code 25) changed together with letters: it follows their write.
    bool RPM_Tab_Send_Pending = false;

    // ---- the Settings, Errors and About pages (Main_Form_Pages.cpp) ----
    // Save: the settings file with the oscilloscope's and the open big-digit windows' keys;
    // a file that cannot be written is reported by the settings file, the old one stays.
    void Button_INI_SaveClick(TObject* Sender);
    // Load: the settings file over the settings, then onto the page.
    void Button_INI_LoadClick(TObject* Sender);
    // Default: the default settings onto the page and the oscilloscope's default scales.
    void Button_INI_DefaultClick(TObject* Sender);
    // The font dialog; on OK the chosen font and its script become the language's font.
    void Button_Setup_FontClick(TObject* Sender);
    // Stay on top at once while checked.
    void CheckBox_Form_StyleClick(TObject* Sender);
    void CheckBox_Show_AuxiliaryClick(TObject* Sender);
    // The up-downs store their position; the sweep's timing follows both delays.
    void UpDown_Reply_DelayClick(TObject* Sender, TUD_Button Button);
    void UpDown_INI_Delay_CompensationClick(TObject* Sender, TUD_Button Button);
    // Marks the error memory for clearing; connected, the clear request goes out at the
    // sequencer's next step; the list is rebuilt from the next live data.
    void Button_ERR_ClearClick(TObject* Sender);
    // The read-only list and edits never keep a caret: the focus goes to their page.
    void Memo_ERR_HistoryClick(TObject* Sender);
    void Edit_About_VerClick(TObject* Sender);
    // A help document chosen in the help folder, opened by the desktop.
    void Button_About_HelpClick(TObject* Sender);
    // The installation diagram of the controller's program in the language, else in
    // English, else one chosen in the language folder; opened by the desktop.
    void Button_About_DiagramClick(TObject* Sender);

    // ---- the big-digit windows ----
    // Opens big-digit window n (1..14) unless it is open, with the value it shows now.
    void Open_ICO_Window(int n);
    // Each current-data reply while any window is open: the live values, or the
    // oscilloscope's readouts during playback.
    void Refresh_ICO_Windows();
    // A right click on window n or on a display of its value: the matching compact view.
    void ICO_Display_Right_Click(int n);

    // ---- the compact configuration window (Main_Form_MiniCFG.cpp) ----
    // Opens the compact window on a view type (1..26), closing a view that is open; nothing
    // while this window or its pages are locked.
    void Show_MiniCFG(int View_Type);
    // Closes an open compact window (its controls come back).
    void MiniCFG_Close();
    // Disabling the window or its pages closes the compact window first.
    void Enabled(bool Value) override;
    using TForm::Enabled;
    void Pages_Enabled(bool Value);
    // A right click on the port's or the link quality's panel: the port settings view.
    void Panel_PortStatusMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // Each current-data reply: the engine speed into the R.P.M. source view while it shows.
    void MiniCFG_Live_Values();
    // The engine speed after connecting is one the R.P.M. source should be checked for.
    bool RPM_Out_Of_Range() const;

    // ---- what a read overwrites (Main_Form_Read_Guard.cpp) ----
    // The controls that a read from the controller overwrites and the buttons that set
    // values at once: unusable while Read_In_Progress (main/Read_Guard.h).
    std::vector<TControl*> Read_Locked_Controls() const;
    // Those controls and both pages' Transmit made unusable while a read waits or runs, and
    // usable again (Transmit as the link buttons are) when none does. Called where that can
    // change: a Receive asked, the link buttons set (connect, drop, file requests), and
    // after each current-data reply (a read's script has handed back to the main poll).
    void Read_Guard_Refresh();
    bool Read_Guard_Holding = false;

private:
    // The big-digit windows' settings keys, right click and the displays that open them.
    void Bind_ICO();
    // The compact window's hooks, the connect script's action 85 and the status row's clicks.
    void Bind_MiniCFG();
    // The handlers of the Settings, Errors and About pages onto their controls.
    void Bind_Pages();
    void Reply_Delay_Changed();
    void Bind_Sweep();
    // The test-drive and clients database windows' entries and hooks.
    void Bind_Drive();
    void Bind_DTB();
    // The password window's requests to this window and the connect script's condition 210.
    void Bind_Password();
    // A current-data reply came since the sweep's last tick.
    bool Sweep_Tick_Due = false;
    void Create_Timers();
    // The work-mode button, its panel and the forcing buttons take their handlers.
    void Bind_Work_Mode();
    void Bind_Link();
    // The loader window's requests to this window and the ways into the loader.
    void Bind_Loader();
    // The port search window's requests to this window and the port buttons.
    void Bind_Port_Search();
    // The hooks of the link: timers, messages, script steps, identification, reports.
    Hook_Bindings Link_Hooks;
    // The close handler and the timer of a waiting close.
    void Bind_Close();
};

extern TForm_KardunGAS* Form_KardunGAS;

