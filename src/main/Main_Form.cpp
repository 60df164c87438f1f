// The main window: construction of its controls, timers and port component, and the
// binding of the dialogue's hooks to them.
#include "main/Main_Form.h"

#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "protocol/Status_Queue.h"
#include "main/Main_Form_Build.h"
#include "protocol/Ident.h"
#include "protocol/Live_Data.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"
#include "windows/MSG.h"

TForm_KardunGAS* Form_KardunGAS = nullptr;

namespace {
// Script action that marks the link connected.
constexpr int Action_Set_Connected = 24;
// Script condition: the identification was not accepted.
constexpr int Condition_Ident_Status = 200;
// Script condition: the RPM-dependence table size just read is one the program holds.
constexpr int Condition_RPM_Tab_Size = 212;
}  // namespace

TForm_KardunGAS::TForm_KardunGAS(TComponent* Owner) : TForm(Owner)
{
    Form_KardunGAS = this;
    Name("Form_KardunGAS");
    Caption("KardunGD");
    KeyPreview(true);
    Position(TPosition::Designed);
    ClientWidth(Design_Client_Width);
    ClientHeight(Design_Client_Height);

    Panel_KardunGAS = build::Panel(this, this, "Panel_KardunGAS", "", 0, 0, Design_Client_Width,
                                   Design_Client_Height);
    Panel_KardunGAS->BevelOuter(TBevel_Cut::None);

    PageControl_KardunGAS =
        build::Make<TPageControl>(this, Panel_KardunGAS, "PageControl_KardunGAS", 0, 0, 780, 470);
    auto Sheet = [this](const std::string& Name, const std::string& Caption) {
        TTabSheet* S = new TTabSheet(this, PageControl_KardunGAS);
        S->Name(Name);
        S->Caption(Caption);
        return S;
    };
    TabSheet_General = Sheet("TabSheet_General", "General");
    TabSheet_Configuration = Sheet("TabSheet_Configuration", "Configuration");
    TabSheet_Calibration = Sheet("TabSheet_Calibration", "Calibration");
    TabSheet_Oscilloscope = Sheet("TabSheet_Oscilloscope", "Oscilloscope");
    TabSheet_Errors = Sheet("TabSheet_Errors", "Errors");
    TabSheet_Settings = Sheet("TabSheet_Settings", "Settings");
    TabSheet_About = Sheet("TabSheet_About", "About");
    PageControl_KardunGAS->OnChange = [this](TObject* Sender) {
        PageControl_KardunGASChange(Sender);
    };

    Create_Status_Row();
    Create_Page_General();
    Create_Page_Configuration();
    Create_Page_Calibration();
    Create_Page_Oscilloscope();
    Create_Page_Errors();
    Create_Page_Settings();
    Create_Page_About();
    Create_Timers();

    // The serial port component as the window describes it.
    ComPort = std::make_unique<TComPort>();
    ComPort->BeginUpdate();
    ComPort->SetBaudRate(br9600);
    ComPort->SetPort("ttyUSB0");   // replaced by the setting Port_Name before opening
    ComPort->Parity().SetBits(prNone);
    ComPort->SetStopBits(sbOneStopBit);
    ComPort->SetDataBits(dbEight);
    ComPort->SetEvents(AllComEvents());
    ComPort->FlowControl().SetOutCTSFlow(false);
    ComPort->FlowControl().SetOutDSRFlow(false);
    ComPort->FlowControl().SetControlDTR(dtrDisable);
    ComPort->FlowControl().SetControlRTS(rtsDisable);
    ComPort->FlowControl().SetXonXoffOut(false);
    ComPort->FlowControl().SetXonXoffIn(false);
    ComPort->Timeouts().SetReadInterval(2000);
    ComPort->EndUpdate();
    ComPort->OnAfterOpen = [this](TCustomComPort* Sender) { ComPortAfterOpen(Sender); };
    ComPort->OnAfterClose = [this](TCustomComPort* Sender) { ComPortAfterClose(Sender); };
    ComPort->OnRxChar = [this](TCustomComPort* Sender, int Count) { ComPortRxChar(Sender, Count); };

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    OnCanResize = [this](TObject* Sender, int& W, int& H, bool& Resize) {
        FormCanResize(Sender, W, H, Resize);
    };
    OnDestroy = [this](TObject* Sender) { FormDestroy(Sender); };

    Bind_Link();
}

TForm_KardunGAS::~TForm_KardunGAS()
{
    // Handlers that reach the controls go before the controls do.
    PageControl_KardunGAS->OnChange = nullptr;
    if (ComPort) {
        ComPort->OnAfterOpen = nullptr;
        ComPort->OnAfterClose = nullptr;
        ComPort->OnRxChar = nullptr;
        ComPort->Close();
    }
    Link_Timer_Sending.Unbind();
    Link_Timer_Connect.Unbind();
    Link_Timer_Wait.Unbind();
    Protocol_Hooks.Show_Message = nullptr;
    Protocol_Hooks.Enable_Link_Buttons = nullptr;
    Protocol_Hooks.Gas_Fors_Down = nullptr;
    Script_Set_Action(Action_Set_Connected, nullptr);
    Script_Set_Condition(Condition_Ident_Status, Ident_Status_Failed);
    Script_Set_Condition(Condition_RPM_Tab_Size, nullptr);
    Ident_Hooks = Ident_Hooks_Class{};
    Configuration_Hooks.Identification_Decode = nullptr;
    MSG_Hooks.Main_Window_Enable = nullptr;
    Status_Line_Hooks = Status_Line_Hooks_Class{};
    Settings_Hooks = Settings_Hooks_Class{};
    Live_Data_Hooks.Show_Work_Mode = nullptr;
    Live_Data_Hooks.Show_Error_Memo = nullptr;
    Live_Data_Hooks.Show_Live_Values = nullptr;
    Temperature_Hooks.Report = nullptr;
    Temperature_Hooks.Show_Displays = nullptr;
    Key_File_Set_Report_Hook(nullptr);
    // The pages leave their page control while it is still whole.
    for (TTabSheet* Sheet : {TabSheet_About, TabSheet_Settings, TabSheet_Errors,
                             TabSheet_Oscilloscope, TabSheet_Calibration,
                             TabSheet_Configuration, TabSheet_General})
        if (Sheet)
            Sheet->Free();
    if (Form_KardunGAS == this)
        Form_KardunGAS = nullptr;
}

TButton* TForm_KardunGAS::Gas_Fors_Button(int k) const
{
    switch (k) {
    case 1: return Button_Gas_Fors1;
    case 2: return Button_Gas_Fors2;
    case 3: return Button_Gas_Fors3;
    case 4: return Button_Gas_Fors4;
    case 5: return Button_Gas_Fors5;
    case 6: return Button_Gas_Fors6;
    case 7: return Button_Gas_Fors7;
    case 8: return Button_Gas_Fors8;
    default: return nullptr;
    }
}

void TForm_KardunGAS::Create_Status_Row()
{
    TControl* P = Panel_KardunGAS;
    // Work-mode button and the forcing strip.
    Button_WorkMode = build::Button(this, P, "Button_WorkMode", "&Mode", 4, 473, 64, 22);
    TButton** Fors[8] = {&Button_Gas_Fors1, &Button_Gas_Fors2, &Button_Gas_Fors3,
                         &Button_Gas_Fors4, &Button_Gas_Fors5, &Button_Gas_Fors6,
                         &Button_Gas_Fors7, &Button_Gas_Fors8};
    for (int k = 1; k <= 8; ++k) {
        TButton* B = build::Button(this, P, "Button_Gas_Fors" + std::to_string(k),
                                   std::to_string(k), 74 + (k - 1) * 26, 473, 24, 22);
        B->GroupIndex(k);
        B->AllowAllUp(true);
        *Fors[k - 1] = B;
    }
    Button_Gas_Fors_All = build::Button(this, P, "Button_Gas_Fors_All", "*", 74 + 8 * 26, 473, 24, 22);
    Button_Gas_Fors_All->GroupIndex(9);
    Button_Gas_Fors_All->AllowAllUp(true);
    Panel_WorkMode = build::Panel(this, P, "Panel_WorkMode", "", 312, 473, 110, 22);
    Panel_ErrorStatus = build::Panel(this, P, "Panel_ErrorStatus", "", 426, 473, 350, 22);
    Panel_ErrorStatus->Visible(false);

    // Port and link state.
    Panel_PortStatus = build::Panel(this, P, "Panel_PortStatus", "Port close", 4, 497, 170, 21);
    Panel_ConnectStatus = build::Panel(this, P, "Panel_ConnectStatus", "Not connect", 176, 497, 190, 21);
    Panel_ConnectStatus_PerCent =
        build::Panel(this, P, "Panel_ConnectStatus_PerCent", "100%", 368, 497, 56, 21);
    Panel_ProtokolStatus = build::Panel(this, P, "Panel_ProtokolStatus", "", 426, 497, 21, 21);
    Button_Select_ComPort = build::Button(this, P, "Button_Select_ComPort", "I", 449, 497, 21, 21);
}

void TForm_KardunGAS::Create_Timers()
{
    Timer_Sending = build::Timer(this, "Timer_Sending", 100);
    Timer_Connect = build::Timer(this, "Timer_Connect", 5000);
    Timer_Check_Tx = build::Timer(this, "Timer_Check_Tx", 500);
    Timer_Error = build::Timer(this, "Timer_Error", 2000);
    Timer_After_Connect = build::Timer(this, "Timer_After_Connect", 3000);
    Timer_Transmit_Now = build::Timer(this, "Timer_Transmit_Now", 700);
    Timer_Transmit_Save = build::Timer(this, "Timer_Transmit_Save", 1000);
    Timer_Wait = build::Timer(this, "Timer_Wait", 1000);
    Timer_Connect_Stabil = build::Timer(this, "Timer_Connect_Stabil", 1000);
    Timer_Led_Automat = build::Timer(this, "Timer_Led_Automat", 500);
    Timer_Resize = build::Timer(this, "Timer_Resize", 10);
    Timer_CFG_RPM_Tail = build::Timer(this, "Timer_CFG_RPM_Tail", 500);
    Timer_OSC_Record = build::Timer(this, "Timer_OSC_Record", 2000);

    Timer_Sending->OnTimer = [this](TObject* Sender) { Timer_SendingTimer(Sender); };
    Timer_Connect->OnTimer = [this](TObject* Sender) { Timer_ConnectTimer(Sender); };
    Timer_Check_Tx->OnTimer = [this](TObject* Sender) { Timer_Check_TxTimer(Sender); };
    Timer_Error->OnTimer = [this](TObject* Sender) { Timer_ErrorTimer(Sender); };
    Timer_After_Connect->OnTimer = [this](TObject* Sender) { Timer_After_ConnectTimer(Sender); };
    Timer_Wait->OnTimer = [this](TObject* Sender) { Timer_WaitTimer(Sender); };
    Timer_Connect_Stabil->OnTimer = [this](TObject* Sender) { Timer_Connect_StabilTimer(Sender); };
    Timer_Resize->OnTimer = [this](TObject* Sender) { Timer_ResizeTimer(Sender); };
}

void TForm_KardunGAS::Bind_Link()
{
    auto Bind = [](Link_Timer& Link, TTimer* Timer) {
        Link.Bind([Timer](bool On) { Timer->Enabled(On); },
                  [Timer] { return Timer->Enabled(); },
                  [Timer](uint32_t Ms) { Timer->Interval(static_cast<int>(Ms)); },
                  [Timer] { return static_cast<uint32_t>(Timer->Interval()); });
    };
    Bind(Link_Timer_Sending, Timer_Sending);
    Bind(Link_Timer_Connect, Timer_Connect);
    Bind(Link_Timer_Wait, Timer_Wait);

    Protocol_Hooks.Show_Message = Show_Message;
    Protocol_Hooks.Enable_Link_Buttons = [this](bool Enabled) { Enable_Link_Buttons(Enabled); };
    Protocol_Hooks.Gas_Fors_Down = [this](int k) {
        TButton* B = Gas_Fors_Button(k);
        return B && B->Down();
    };
    Script_Set_Action(Action_Set_Connected, [this] { Set_Connected(); });
    Script_Set_Condition(Condition_Ident_Status, [this] { return Check_Ident_Status(); });
    Script_Set_Condition(Condition_RPM_Tab_Size, [] { return RPM_Tab_Check_Size(); });

    Ident_Hooks.About_Program_Visible = [this](bool On) { GroupBox_About_Program->Visible(On); };
    Ident_Hooks.About_Work_Visible = [this](bool On) { GroupBox_About_Work->Visible(On); };
    Ident_Hooks.Ident_Windows = [this] { Ident_Windows(); };
    Ident_Bind_Configuration();
    MSG_Hooks.Main_Window_Enable = [this](bool On) { Enabled(On); };

    Status_Line_Hooks.Timer_Enable = [this](bool On) { Timer_Error->Enabled(On); };
    Status_Line_Hooks.Line_Changed = [this](const Status_Line_State& Line) {
        Panel_ErrorStatus->Color(Line.Colour);
        Panel_ErrorStatus->Caption(Line.Text);
        Panel_ErrorStatus->Visible(Line.Visible);
    };

    Settings_Hooks.To_Form = [this] { Settings_To_Form(); };
    Settings_Hooks.Mark_Controls = [this] {
        ComboBox_Language->Color(0x95FF95);
        Edit_Port_Name->Color(0x95FF95);
    };
    Settings_Hooks.About_Apply = [this] { About_Branding_Show(); };
    Settings_Hooks.Load_Button_Enable = [this](bool On) { Button_INI_Load->Enabled(On); };
    Settings_Hooks.Reply_Delay_Colour = [this] { Settings_Reply_Delay_Colour(); };

    Live_Data_Hooks.Show_Work_Mode = [this](uint8_t Mode, uint8_t Bits) { Show_Work_Mode(Mode, Bits); };
    Live_Data_Hooks.Show_Error_Memo = [this] { Show_Error_Memo(); };
    Live_Data_Hooks.Show_Live_Values = [this] { Show_Live_Values(); };
    // The level mode's caption, hint and LEDs belong to the software gas-level type of the
    // Configuration page: its hook is bound when the page holds the level-type combo.

    // File and table troubles are reported in the message window.
    Key_File_Set_Report_Hook([](const std::string& Text) { Show_Message(Message_Type::Text, Text, clRed); });
    Temperature_Hooks.Report = [](const std::string& Text) { Show_Message(Message_Type::Text, Text, clRed); };
    Temperature_Hooks.Show_Displays = [this](bool Shown) { Show_Temperature_Displays(Shown); };
    // The defaults' window steps (winter/summer switching, phase bars, RPM-dependence
    // table axes, gas-diesel options, injector count) are bound by the Configuration
    // page's editors.
}
