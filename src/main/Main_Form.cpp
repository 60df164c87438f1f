// The main window: construction of its controls, timers and port component, and the
// binding of the dialogue's hooks to them.
#include "main/Main_Form.h"

#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Key_File.h"
#include "data/Message_Types.h"
#include "data/Settings.h"
#include "protocol/Status_Queue.h"
#include "windows/Form_Build.h"
#include "main/Main_Form_Hooks.h"
#include "protocol/Ident.h"
#include "protocol/Live_Data.h"
#include "protocol/Param_Codecs.h"
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
    // Maximised and restored, never dragged to another size: the content is scaled for
    // those two states only.
    BorderStyle(TBorder_Style::Single);
    ClientWidth(Design_Client_Width);
    ClientHeight(Design_Client_Height);

    Panel_KardunGAS = build::Panel(this, this, "Panel_KardunGAS", "", 0, 0, Design_Client_Width,
                                   Design_Client_Height);
    Panel_KardunGAS->BevelOuter(TBevel_Cut::None);

    PageControl_KardunGAS =
        build::Make<TPageControl>(this, Panel_KardunGAS, "PageControl_KardunGAS", 0, 0, 780, 470);
    // The pages in their order, then the status row and every page's controls.
    For_Each_Part([this](auto& Part) { Part.Create_Sheet(this, PageControl_KardunGAS); });
    PageControl_KardunGAS->OnChange = [this](TObject* Sender) {
        PageControl_KardunGASChange(Sender);
    };
    For_Each_Part([this](auto& Part) { Part.Create_Part(this, Panel_KardunGAS); });
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
    OnKeyDown = [this](TObject* Sender, std::uint16_t& Key, TShiftState Shift) { FormKeyDown(Sender, Key, Shift); };

    Bind_Link();
    Bind_Loader();
    Bind_Port_Search();
    Bind_Sweep();
    Bind_Drive();
    Bind_DTB();
    Bind_Password();
    Bind_Work_Mode();
    For_Each_Part([this](auto& Part) { Part.Bind_Part(*this); });
    Bind_ICO();
    Bind_MiniCFG();
    Bind_Pages();
    Bind_Close();
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
    // Every hook the parts and the link bound is released.
    For_Each_Part([](auto& Part) { Part.Unbind_Part(); });
    Link_Hooks.Release_All();
    // The pages leave their page control while it is still whole.
    std::vector<TTabSheet*> Sheets;
    For_Each_Part([&Sheets](auto& Part) {
        if (TTabSheet* Sheet = Part.Part_Sheet())
            Sheets.push_back(Sheet);
    });
    for (auto It = Sheets.rbegin(); It != Sheets.rend(); ++It)
        (*It)->Free();
    if (Form_KardunGAS == this)
        Form_KardunGAS = nullptr;
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
    Timer_Transmit_Now->OnTimer = [this](TObject* Sender) { Timer_Transmit_NowTimer(Sender); };
    Timer_Transmit_Save->OnTimer = [this](TObject* Sender) { Timer_Transmit_SaveTimer(Sender); };
}

void TForm_KardunGAS::Bind_Link()
{
    auto Bind = [this](const std::string& Name, Link_Timer& Link, TTimer* Timer) {
        Link.Bind([Timer](bool On) { Timer->Enabled(On); },
                  [Timer] { return Timer->Enabled(); },
                  [Timer](uint32_t Ms) { Timer->Interval(static_cast<int>(Ms)); },
                  [Timer] { return static_cast<uint32_t>(Timer->Interval()); });
        Link_Hooks.Add(Name, [&Link] { Link.Unbind(); }, [&Link] { return Link.Bound(); });
    };
    Bind("Link_Timer_Sending", Link_Timer_Sending, Timer_Sending);
    Bind("Link_Timer_Connect", Link_Timer_Connect, Timer_Connect);
    Bind("Link_Timer_Wait", Link_Timer_Wait, Timer_Wait);

    Link_Hooks.Bind("Protocol_Hooks.Show_Message", Protocol_Hooks.Show_Message, Show_Message);
    Link_Hooks.Bind("Protocol_Hooks.Enable_Link_Buttons", Protocol_Hooks.Enable_Link_Buttons,
                    [this](bool Enabled) { Enable_Link_Buttons(Enabled); });

    // Script steps of the window; condition 200 falls back to the identification's own
    // judgement when the window goes.
    auto Not_Default = [](int Code) {
        return [Code] {
            const Script_Condition_Handler& H = Script_Condition_Slot(Code);
            return H && !H.target<bool (*)()>();
        };
    };
    Param_Codecs_Init();
    Script_Set_Action(Action_Set_Connected, [this] { Set_Connected(); });
    Link_Hooks.Add("Script action 24", [] { Script_Set_Action(Action_Set_Connected, nullptr); },
                   [] { return static_cast<bool>(Script_Action_Slot(Action_Set_Connected)); });
    Script_Set_Condition(Condition_Ident_Status, [this] { return Check_Ident_Status(); });
    Link_Hooks.Add("Script condition 200",
                   [] { Script_Set_Condition(Condition_Ident_Status, Ident_Status_Failed); },
                   Not_Default(Condition_Ident_Status));
    Script_Set_Condition(Condition_RPM_Tab_Size, [] { return RPM_Tab_Check_Size(); });
    Link_Hooks.Add("Script condition 212", [] { Script_Set_Condition(Condition_RPM_Tab_Size, nullptr); },
                   [] { return static_cast<bool>(Script_Condition_Slot(Condition_RPM_Tab_Size)); });

    Link_Hooks.Bind("Ident_Hooks.Ident_Windows", Ident_Hooks.Ident_Windows,
                    [this] { Ident_Windows(); });
    Ident_Bind_Configuration();
    Link_Hooks.Add("Configuration_Hooks.Identification_Decode",
                   [] { Configuration_Hooks.Identification_Decode = nullptr; },
                   [] { return static_cast<bool>(Configuration_Hooks.Identification_Decode); });
    Link_Hooks.Bind("MSG_Hooks.Main_Window_Enable", MSG_Hooks.Main_Window_Enable,
                    [this](bool On) { Enabled(On); });
    Link_Hooks.Bind("Live_Data_Hooks.Show_Live_Values", Live_Data_Hooks.Show_Live_Values,
                    [this] { Show_Live_Values(); });
    // The level mode's caption, hint and LEDs belong to the Configuration page's software
    // gas-level type; its part binds that hook.

    // File and table troubles are reported in the message window.
    Key_File_Set_Report_Hook(
        [](const std::string& Text) { Show_Message(Message_Type::Text, Text, clRed); });
    Link_Hooks.Add("Key_File report", [] { Key_File_Set_Report_Hook(nullptr); },
                   [] { return Key_File_Report_Hook_Set(); });
    Link_Hooks.Bind("Temperature_Hooks.Show_Displays", Temperature_Hooks.Show_Displays,
                    [this](bool Shown) { Show_Temperature_Displays(Shown); });
    Link_Hooks.Bind("Temperature_Hooks.Report", Temperature_Hooks.Report, [](const std::string& Text) {
        Show_Message(Message_Type::Text, Text, clRed);
    });
    // The defaults' window steps (winter/summer switching, phase bars, RPM-dependence
    // table axes, gas-diesel options, injector count) are bound by the Configuration
    // page's part.
}

void TForm_KardunGAS::Show_Temperature_Displays(bool Shown)
{
    For_Each_Part([Shown](auto& Part) { Part.Show_Temperature_Part(Shown); });
}

std::vector<Hook_Bindings::Binding> TForm_KardunGAS::Bound_Hooks() const
{
    std::vector<Hook_Bindings::Binding> All = Link_Hooks.Bindings();
    For_Each_Part([&All](const auto& Part) {
        const auto& Bindings = Part.Part_Hooks.Bindings();
        All.insert(All.end(), Bindings.begin(), Bindings.end());
    });
    return All;
}
