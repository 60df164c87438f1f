// The main window from creation to the first frame on the wire, its scaling when it is
// maximised, page changes, and what is saved when it goes away.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "protocol/Status_Queue.h"
#include "language/Language.h"
#include "main/Gauges.h"
#include "main/Main_Form.h"
#include "main/Program.h"
#include "protocol/Live_Data.h"
#include "protocol/Script.h"
#include "serial/CPort.h"
#include "windows/MSG.h"

namespace {
// How often the geometry report looks at the shown window: the window manager's frame, its
// maximising and the toolkit's layout come after the program's own changes.
constexpr int Geometry_Report_Ms = 100;
}  // namespace

void TForm_KardunGAS::FormCreate(TObject* Sender)
{
    Main_Form_Shown = false;
    // Live pictures draw without flicker.
    For_Each_Part([](auto& Part) {
        for (TControl* C : Part.Part_Buffered_Controls())
            C->DoubleBuffered(true);
    });
    // Paths, titles and the geometry the scaling starts from.
    Globals_Set_Paths(Program_File);
    if (Application)
        Application->Title(Product_Title);
    Caption(Product_Title);
    Scaled(true);
    Remember_Client_Size();
    Design_Width = ClientWidth();
    Design_Height = ClientHeight();
    Design_Pages_Rect = ui::Shown_Rect(PageControl_KardunGAS);
    Design_Port_Status_Rect = ui::Shown_Rect(Panel_PortStatus);
    for (const TControl* C : Status_Row_Controls())
        Design_Status_Row_Rects.push_back(ui::Shown_Rect(C));
    Remember_Gauge_Sizes();
    // State flags.
    ComPortError = false;
    Port_Open = false;
    Connected = false;
    UI_Ready = false;
    Script_Flag_27 = 0;
    Error_Memo_Shown = false;
    Error_Control_Word = 0;
    Temperature_File_Found = true;
    // No work mode shown yet: the automatic mode below paints the panel.
    Work_Mode = 0;
    // Colours of the live views; settings (defaults, then the settings file, then the
    // Settings page).
    Colour_Scheme_Apply(this);
    Settings_Create();
    Configuration_Page_Init();
    Calibration_Page_Init();
    OSC_Init();
    // An empty status queue.
    Status_Queue = KardunMSG_Class{};
    // Work mode, link buttons, window place and page; the live displays at rest.
    Show_Work_Mode(2, 0);
    Enable_Link_Buttons(false);
    Restore_Window_Position();
    PageControl_KardunGAS->ActivePageIndex(Settings.Page_Number);
    Remembered_Page = PageControl_KardunGAS->ActivePageIndex();
    Receiv_Current_Data();
    // Error page, status word, the delay's colour, hints and auxiliary labels.
    Label_ERR_CPU_Freq_MHz->Caption("0");
    Label_ERR_Quartz_Freq_Err->Visible(false);
    Live_Status_Forget();
    Work_Mode = 2;   // as shown above
    Settings_Reply_Delay_Colour();
    Page_Panels_Refresh();
    Show_Auxiliary_Labels();
}

void TForm_KardunGAS::Restore_Window_Position()
{
    Position(TPosition::Designed);
    if (Settings.Full_Screen) {
        // A place of its own to be restored to (the design size centred on the work area):
        // without one some window managers restore it to a corner, partly off the screen.
        Centre_On_Work_Area();
        WindowState(TWindow_State::Maximized);
    } else {
        WindowState(TWindow_State::Normal);
        Top(Settings.Position_Top);
        Left(Settings.Position_Left);
    }
}

void TForm_KardunGAS::FormShow(TObject* Sender)
{
    Main_Form_Shown = true;
    Update_Main_Caption();
    // The report begins with the first show: the window gets its X11 id only as it is
    // shown, after this handler, and the window manager frames and maximises it later
    // still, so the report is taken again at every tick.
    if (!Timer_Geometry_Report) {
        const char* Name = std::getenv("KARDUN_GEOMETRY_FILE");
        Geometry_File = Name ? Name : "";
        if (!Geometry_File.empty()) {
            Timer_Geometry_Report = new TTimer(this);
            Timer_Geometry_Report->Interval(Geometry_Report_Ms);
            Timer_Geometry_Report->OnTimer = [this](TObject*) { Geometry_Report(); };
            Timer_Geometry_Report->Enabled(true);
        }
    }
}

void TForm_KardunGAS::FormActivate(TObject* Sender)
{
    UI_Ready = true;
    // Back to the main window: the compact window goes unless it was asked to stay.
    if (MiniCFG_Open && Form_MiniCFG && Form_MiniCFG->CheckBox_MiniCFG->Checked())
        MiniCFG_Close();
}

void TForm_KardunGAS::FormCanResize(TObject* Sender, int& New_Width, int& New_Height, bool& Resize)
{
    Timer_Resize->Enabled(true);
}

void TForm_KardunGAS::Remember_Client_Size()
{
    Remembered_Width = ClientWidth();
    Remembered_Height = ClientHeight();
    Remembered_Maximised = WindowState() != TWindow_State::Normal;
    Geometry_Report();
}

// One line, rewritten whenever it changes, for a check outside the program that holds it
// against the X server: "client W H maximised M panel L T W H window ID" (the client size,
// the state, the content panel's place in the client area, the window's X11 id), then, as
// the toolkit draws them, "pages L T W H" (the page control) and "port_status L T W H" (a
// panel of the status row along the bottom), each followed by "design L T W H", its place
// at the design size, and "tab_row L T W H tabs_fit F" (F 0 when the tab row shows its
// scroll arrows). Then one line for each control of the status row and the forcing strip:
// "control NAME shown S at L T W H design L T W H text TEXT" (S 1 while it is drawn; TEXT, to
// the end of the line, what it writes). Nothing is written before the window is shown.
void TForm_KardunGAS::Geometry_Report()
{
    if (Geometry_File.empty() || Native_Window() == 0)
        return;
    std::ostringstream Line;
    auto Rect = [&Line](const char* Key, const TShown_Rect& R) {
        Line << ' ' << Key << ' ' << R.Left << ' ' << R.Top << ' ' << R.Width << ' ' << R.Height;
    };
    Line << "client " << ClientWidth() << ' ' << ClientHeight() << " maximised "
         << (WindowState() == TWindow_State::Maximized ? 1 : 0);
    Rect("panel", ui::Shown_Rect(Panel_KardunGAS));
    Line << " window " << Native_Window();
    Rect("pages", ui::Shown_Rect(PageControl_KardunGAS));
    Rect("design", Design_Pages_Rect);
    Rect("port_status", ui::Shown_Rect(Panel_PortStatus));
    Rect("design", Design_Port_Status_Rect);
    Rect("tab_row", ui::Shown_Tab_Row(PageControl_KardunGAS));
    Line << " tabs_fit " << (ui::Tabs_Fit(PageControl_KardunGAS) ? 1 : 0) << '\n';
    const std::vector<TControl*> Row = Status_Row_Controls();
    for (size_t I = 0; I < Row.size() && I < Design_Status_Row_Rects.size(); ++I) {
        Line << "control " << Row[I]->Name() << " shown " << (ui::Shown(Row[I]) ? 1 : 0);
        Rect("at", ui::Shown_Rect(Row[I]));
        Rect("design", Design_Status_Row_Rects[I]);
        Line << " text " << ui::Shown_Text(Row[I]) << '\n';
    }
    if (Line.str() == Geometry_Reported)
        return;
    Geometry_Reported = Line.str();
    // Written beside and renamed, so that a reader never finds half a line.
    const std::string Part_File = Geometry_File + ".new";
    std::ofstream(Part_File, std::ios::trunc) << Geometry_Reported;
    std::rename(Part_File.c_str(), Geometry_File.c_str());
}

void TForm_KardunGAS::Timer_ResizeTimer(TObject* Sender)
{
    // The content lives in the client area. It is scaled in one step from its design size
    // to the maximised client area, and back by the inverse step, so that every switch
    // gives the same two layouts: the outer size also holds the frame, which the window
    // manager adds only once the window is shown and which differs between the maximised
    // and the normal window, and chained ratios of remembered sizes gather rounding.
    // Nothing changed: the timer keeps watching. A change of state alone counts: the window
    // may have passed through a normal state of the maximised size.
    if (ClientWidth() == Remembered_Width && ClientHeight() == Remembered_Height &&
        (WindowState() != TWindow_State::Normal) == Remembered_Maximised)
        return;
    Timer_Resize->Enabled(false);
    // Back to the design size ...
    Panel_KardunGAS->ScaleBy(Content_Scale_Divisor, Content_Scale_Multiplier);
    Content_Scale_Multiplier = Content_Scale_Divisor = 1;
    // ... and, maximised, to the client area's height, or its width where the content
    // would be wider than the window.
    if (WindowState() != TWindow_State::Normal && Design_Width > 0 && Design_Height > 0) {
        const bool By_Height = ClientHeight() * Design_Width <= ClientWidth() * Design_Height;
        Content_Scale_Multiplier = By_Height ? ClientHeight() : ClientWidth();
        Content_Scale_Divisor = By_Height ? Design_Height : Design_Width;
        Panel_KardunGAS->ScaleBy(Content_Scale_Multiplier, Content_Scale_Divisor);
    }
    // The window gets the design client size: at once when restored; when maximised the
    // window manager keeps its size, and the design size is the one the window takes when
    // it is restored (the content was scaled to the maximised client area above).
    ClientWidth(Design_Width);
    ClientHeight(Design_Height);
    // The table's cells and fonts follow the new size of its place.
    if (Panel_CFG_Depend->Visible()) {
        RPM_Tab_Layout();
        RPM_Tab_Fit_Fonts();
    }
    // The phase bars are built again for their place's new height (thumbs, labels).
    Injection_Type_Bars_Build();
    Remember_Client_Size();
}

void TForm_KardunGAS::PageControl_KardunGASChange(TObject* Sender)
{
    RPM_Tab_Show(false);
    if (!Connected)
        Receiv_Current_Data();
    Remembered_Page = PageControl_KardunGAS->ActivePageIndex();
    Settings.Page_Number = Remembered_Page;
    Page_Panels_Refresh();
}

void TForm_KardunGAS::FormDestroy(TObject* Sender)
{
    // The pages go away with the window: no page change is handled from here on.
    PageControl_KardunGAS->OnChange = nullptr;
    // Controls lent to the compact window come home before anything goes.
    MiniCFG_Close();
    // A sweep level still in the controller is replaced by the saved one first.
    Sweep_Restore_Before_Close();
    Timer_Connect->Enabled(false);
    Timer_Sending->Enabled(false);
    Timer_Error->Enabled(false);
    if (ComPort && ComPort->Connected())
        ComPort->Close();
    // The samples recorded since the oscilloscope's last block go to its file.
    OSC_Record_Flush();
    // The place it had on the screen (it is hidden by now), within the work area, so that
    // the next start shows its title bar.
    if (WindowState() == TWindow_State::Normal)
        Normal_Place(Settings.Position_Left, Settings.Position_Top);
    // A window that was never set up (no settings file named) has nothing to save.
    if (Settings_File_Name.empty())
        return;
    // The message window's deferred showing would come after the program ended: a failed
    // save is shown in a box now, and goes to standard error as well.
    std::string Failures;
    const Key_File_Report_Hook Window_Report = Key_File_Current_Report_Hook();
    Key_File_Set_Report_Hook([&Failures](const std::string& Text) {
        Failures += (Failures.empty() ? "" : "\n") + Text;
    });
    Settings_Save_Begin();
    Settings_Save();
    OSC_Settings_Write();
    Settings_Save_End();
    Key_File_Set_Report_Hook(Window_Report);
    if (!Failures.empty()) {
        std::cerr << "KardunGD: " << Failures << std::endl;
        Message_Box(Failures, TMsg_Kind::Error, TMsg_Buttons::OK, mrOk);
    }
}

// ---------------------------------------------------------------- the settings on the window

void TForm_KardunGAS::Settings_To_Form()
{
    Edit_INI_Delay_Compensation->Visible(false);
    UpDown_INI_Delay_Compensation->Visible(false);
    Button_INI_Load->Enabled(Settings_File_Readable);
    // Every setting into its control.
    Edit_Port_Name->Text(Settings.Port_Name);
    CheckBox_Search_Port->Checked(Settings.Search_Port);
    UpDown_Reply_Delay->Position(Settings.Reply_Delay);
    UpDown_INI_Delay_Compensation->Position(Settings.Delay_Compensation);
    CheckBox_SaveLoadData->Checked(Settings.Save_Load_Data);
    CheckBox_Full_Screen->Checked(Settings.Full_Screen);
    CheckBox_Transmit_Now->Checked(Settings.Transmit_Now);
    CheckBox_Form_Style->Checked(Settings.Form_Style);
    CheckBox_Show_Hint->Checked(Settings.Show_Hint);
    CheckBox_checkPassword->Checked(Settings.CheckPassword);
    CheckBox_Show_Auxiliary->Checked(Settings.Show_Auxiliary);
    Settings_Language_Apply();
    // The process priority; the Calibration page's boxes take the settings the first
    // time; then the settings count as shown, with the delay's colour.
    Set_Priority("High");
    if (!Settings_Applied)
        Calibration_Boxes_From_Settings();
    Settings_Applied = true;
    Draw_Calibration_Chart();
    Settings_Reply_Delay_Colour();
}
