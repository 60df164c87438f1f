#include "windows/Port_Window.h"

#include <algorithm>
#include <initializer_list>

#include "data/Call_Hook.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "language/Language_Fonts.h"
#include "platform/system/Serial_Ports.h"
#include "protocol/Frames.h"
#include "protocol/Protocol_Hooks.h"
#include "windows/Busy_Wheel.h"
#include "windows/Form_Build.h"

TForm_Port* Form_Port = nullptr;
Port_Search_Class Port_Search;
Port_Window_Hooks_Class Port_Window_Hooks;

namespace {

// Timer pacing (ms): rescans while waiting for a port, and the pause before a fresh scan.
constexpr int Waiting_Rescan_Ms = 100;
constexpr int Pause_Ms = 1000;
constexpr int Design_Timer_Ms = 500;

// Colours ($BBGGRR) of the waiting text and the busy wheel.
constexpr TColor Waiting_Colour = 0xFF0000;     // blue: searching
constexpr TColor Found_Colour = 0x008000;       // green: ports appeared
constexpr TColor Wheel_Current_Colour = 0xFF0000;
constexpr TColor Wheel_Other_Colour = 0xF0CAA6;
constexpr int Wheel_Pen_Width = 4;
constexpr int Wheel_Spokes = 20;

// Both port names the list keeps: the configured one and the one from the settings file.
void Configure_Port_List()
{
    sys::Set_Configured_Port(Settings.Port_Name);
    sys::Set_Kept_Port(Preferred_Port);
}

}  // namespace

void Port_Window_Reset()
{
    Port_Search = Port_Search_Class{};
    Port_Window_Hooks = Port_Window_Hooks_Class{};
}

bool Port_Exists()
{
    Configure_Port_List();
    return sys::Serial_Port_Listed(Settings.Port_Name);
}

// ---------------------------------------------------------------- scan and try order

bool Port_Is_Preferred(const std::string& Name)
{
    if (Port_Search.Previous_Count == 0)
        return Name == Preferred_Port;
    const auto& Previous = Port_Search.Try_List;
    return std::find(Previous.begin(), Previous.end(), Name) == Previous.end();
}

std::vector<std::string> Enum_Serial_Ports(TStrings* Found_Lines)
{
    Port_Search.Previous_Count = Port_Search.Try_Count;
    Port_Search.Try_Count = 0;
    Port_Search.Preferred_Found = false;
    Configure_Port_List();
    const sys::Serial_Port_Map Map;
    std::vector<std::string> Order;
    std::string Name;
    for (std::size_t Index = 0; Map.Value(Index, Name); ++Index) {
        if (Name.empty())
            continue;
        ++Port_Search.Try_Count;
        if (Found_Lines)
            Found_Lines->Add(Name);
        if (Port_Is_Preferred(Name)) {
            Port_Search.Preferred_Found = true;
            Order.insert(Order.begin(), Name);
            Settings.Port_Name = Name;
        } else {
            Order.push_back(Name);
        }
    }
    Port_Search.Ports_Found = Port_Search.Try_Count;
    return Order;
}

std::vector<std::string> Build_Try_List(const std::vector<std::string>& Order, bool Preferred_Found,
                                        const std::string& Port_Name)
{
    std::vector<std::string> List;
    const bool Retry_Preferred = Preferred_Found && Order.size() > 1;
    for (std::size_t i = 0; i < Order.size(); ++i) {
        List.push_back(Order[i]);
        const bool Names_Remain = i + 1 < Order.size();
        if (Retry_Preferred && Order[i] != Port_Name && Names_Remain)
            List.push_back(Port_Name);
    }
    return List;
}

// ---------------------------------------------------------------- the window

TForm_Port::TForm_Port(TComponent* Owner) : TForm(Owner)
{
    Form_Port = this;
    Name("Form_Port");
    Caption("Search COM ports");
    BorderStyle(TBorder_Style::Single);
    BorderIcons(biSystemMenu);
    FormStyle(TForm_Style::Stay_On_Top);
    Position(TPosition::Main_Form_Center);
    ClientWidth(Design_Client_Width);
    ClientHeight(Design_Client_Height);

    // Waiting face: the text beside the busy wheel.
    Panel_Port_Search = build::Panel(this, this, "Panel_Port_Search", "", 0, 0,
                                     Design_Client_Width, Design_Client_Height);
    Panel_Port_Search->Visible(false);
    Label_Port_Search = build::Make<TLabel>(this, Panel_Port_Search, "Label_Port_Search", 8, 8, 193, 113);
    Label_Port_Search->AutoSize(false);
    Label_Port_Search->WordWrap(true);
    Label_Port_Search->Alignment(TAlignment::Center);
    Label_Port_Search->Layout(TText_Layout::Center);
    Label_Port_Search->Caption("");
    Image_Port_Wait = build::Make<TImage>(this, Panel_Port_Search, "Image_Port_Wait", 208, 8, 113, 113);
    Image_Port_Wait->Stretch(true);
    Image_Port_Wait->Transparent(true);

    // Trying face: how many ports, the one now tried and its place in the order, the list.
    Panel_Port = build::Panel(this, this, "Panel_Port", "", 0, 0, Design_Client_Width,
                              Design_Client_Height);
    Label_Port_Quantity = build::Label(this, Panel_Port, "Label_Port_Quantity", "Ports", 8, 13);
    Panel_Port_Quantity = build::Panel(this, Panel_Port, "Panel_Port_Quantity", "", 84, 8, 48, 23);
    Label_Port_Name = build::Label(this, Panel_Port, "Label_Port_Name", "Port Name", 8, 46);
    Panel_Port_Name = build::Panel(this, Panel_Port, "Panel_Port_Name", "", 84, 41, 110, 23);
    for (TPanel* P : {Panel_Port_Quantity, Panel_Port_Name})
        P->BevelOuter(TBevel_Cut::Lowered);
    Label_Port_Number = build::Label(this, Panel_Port, "Label_Port_Number", "", 200, 46);
    Memo_Ports_Name = build::Make<TMemo>(this, Panel_Port, "Memo_Ports_Name", 226, 8, 95, 84);
    Memo_Ports_Name->ReadOnly(true);
    Memo_Ports_Name->OnClick = [this](TObject* Sender) { Memo_Ports_NameClick(Sender); };
    ProgressBar_Port = build::Make<TProgressBar>(this, Panel_Port, "ProgressBar_Port", 8, 102, 313, 17);

    Timer_Select_ComPort = build::Timer(this, "Timer_Select_ComPort", Design_Timer_Ms);
    Timer_Select_ComPort->OnTimer = [this](TObject* Sender) { Timer_Select_ComPortTimer(Sender); };

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnClose = [this](TObject* Sender, TClose_Action& Action) { FormClose(Sender, Action); };

    // The connect probe asks whether a search runs and switches to the next entry.
    Protocol_Hooks.Port_Search_On = [] { return Port_Search.Port_Search_On; };
    Protocol_Hooks.Open_Next_Port = [this] { Open_Next_Port(); };
}

TForm_Port::~TForm_Port()
{
    Protocol_Hooks.Port_Search_On = nullptr;
    Protocol_Hooks.Open_Next_Port = nullptr;
    Port_Search.Port_Search_On = false;
    if (Form_Port == this)
        Form_Port = nullptr;
}

void TForm_Port::FormCreate(TObject* Sender)
{
    Port_Search.Try_List.clear();
    Port_Search.Try_Count = 0;
    Port_Search.Try_Pos = -1;
    Port_Search.Port_Search_On = false;
}

void TForm_Port::FormActivate(TObject* Sender)
{
    Panel_Port->DoubleBuffered(true);
    Font_Set_Form(this);
    for (TPanel* P : {Panel_Port_Quantity, Panel_Port_Name})
        Font_Set_Panel(P);
    for (TLabel* L : {Label_Port_Quantity, Label_Port_Name, Label_Port_Search, Label_Port_Number})
        Font_Set_Label(L);
    Language_Load_File();
    Caption(Language_Find_Text("Button_Find_Ports"));
    Label_Port_Quantity->Caption(Language_Find_Text("Label_Port_Quantity"));
    Label_Port_Name->Caption(Language_Find_Text("Label_Port_Name"));
    Language_Release();
    std::string English;
    if (English_Menu_Caption("Button_Find_Ports", English))
        Caption(English);
    // The window system may activate the window after the first entry was opened: the
    // fields of an entry being tried stay.
    if (Port_Search.Try_Pos < 0) {
        Panel_Port_Name->Caption("");
        Label_Port_Number->Caption("");
    }
}

void TForm_Port::FormShow(TObject* Sender)
{
    Port_Search.Port_Search_On = true;
}

void TForm_Port::FormClose(TObject* Sender, TClose_Action& Action)
{
    Port_Search.Port_Search_On = false;
    Timer_Select_ComPort->Enabled(false);
}

void TForm_Port::Memo_Ports_NameClick(TObject* Sender)
{
    Panel_Port_Quantity->SetFocus();
}

// ---------------------------------------------------------------- searching

void TForm_Port::Search_Ports()
{
    Memo_Ports_Name->Lines().Clear();
    const std::vector<std::string> Order = Enum_Serial_Ports(&Memo_Ports_Name->Lines());
    Panel_Port_Quantity->Caption(std::to_string(Port_Search.Ports_Found));
    if (Port_Search.Try_Count == 0) {
        // Nothing to try: no list to index either.
        Port_Search.Try_List.clear();
        Port_Search.Try_Pos = -1;
        const bool Was_Waiting = Panel_Port_Search->Visible() &&
                                 Label_Port_Search->Font().Color() != Found_Colour;
        if (!Was_Waiting)
            Show_Waiting_Face();
        return;
    }
    Timer_Select_ComPort->Enabled(false);
    Call_Hook(Port_Window_Hooks.Main_Setup_Port_Enable, true);
    Port_Search.Try_List = Build_Try_List(Order, Port_Search.Preferred_Found, Settings.Port_Name);
    Port_Search.Try_Count = static_cast<int32_t>(Port_Search.Try_List.size());
    ProgressBar_Port->Max(Port_Search.Try_Count);
    ProgressBar_Port->Position(0);
    Port_Search.Try_Pos = -1;
    if (!Port_Search.Port_Search_On)
        Show();
    if (Timer_Select_ComPort->Interval() == Waiting_Rescan_Ms) {
        // Ports appeared while waiting: say so, and open the first one after a pause.
        Label_Port_Search->Caption(Language_Text("Finds_Port"));
        Label_Port_Search->Font().Color(Found_Colour);
        Timer_Select_ComPort->Interval(Pause_Ms);
        Timer_Select_ComPort->Enabled(true);
        return;
    }
    Panel_Port->Visible(true);
    Panel_Port_Search->Visible(false);
    Open_Next_Port();
    if (Visible())
        Panel_Port_Quantity->SetFocus();
}

void TForm_Port::Show_Waiting_Face()
{
    Panel_Port->Visible(false);
    Panel_Port_Search->Visible(true);
    Timer_Select_ComPort->Interval(Waiting_Rescan_Ms);
    Timer_Select_ComPort->Enabled(true);
    Label_Port_Search->Caption(Language_Text("Search_Port"));
    Label_Port_Search->Font().Color(Waiting_Colour);
    if (!Port_Search.Port_Search_On)
        Show();
    Call_Hook(Port_Window_Hooks.Main_No_Port);
}

void TForm_Port::Timer_Select_ComPortTimer(TObject* Sender)
{
    if (Port_Search.Try_Count > 0) {
        Timer_Select_ComPort->Enabled(false);
    } else {
        TBitmap Frame;
        Wheel_Index = Draw_Busy_Wheel(Frame, 0, 0, 360, Wheel_Current_Colour, Wheel_Other_Colour,
                                      Wheel_Index, Image_Port_Wait->Height(),
                                      Image_Port_Wait->Width(), Wheel_Pen_Width, Wheel_Spokes);
        Image_Port_Wait->Picture().Assign(Frame);
    }
    Search_Ports();
}

void TForm_Port::Open_Next_Port()
{
    Probe_Count = 0;
    if (Port_Search.Try_Count == 0)
        return;
    Port_Open = false;
    bool Opened = false;
    while (!Opened && Port_Search.Try_Pos + 1 < Port_Search.Try_Count) {
        ++Port_Search.Try_Pos;
        const std::string& Name = Port_Search.Try_List[static_cast<std::size_t>(Port_Search.Try_Pos)];
        Settings.Port_Name = Name;
        Label_Port_Number->Caption(std::to_string(Port_Search.Try_Pos + 1));
        Panel_Port_Name->Caption(Name);
        ProgressBar_Port->Position(Port_Search.Try_Pos + 1);
        Call_Hook(Port_Window_Hooks.Main_Port_Name_Show, Name);
        // An entry that is no longer listed or does not open is skipped at once.
        Opened = Port_Exists() && Call_Hook(Port_Window_Hooks.Main_Open_Port) && Port_Open;
    }
    // The open armed a probe of its own through the connect script; that one has not gone
    // unanswered, so the new entry starts its count here and keeps two unanswered probes.
    Probe_Count = 0;
    if (Opened)
        return;
    // List exhausted: a pause, then the next tick scans afresh and starts at the first entry.
    Clear_Try_Fields();
    Timer_Select_ComPort->Interval(Pause_Ms);
    Timer_Select_ComPort->Enabled(true);
    Call_Hook(Port_Window_Hooks.Main_Port_Status_Show, std::string());
    Call_Hook(Port_Window_Hooks.Main_Port_Name_Show, std::string());
}

void TForm_Port::Clear_Try_Fields()
{
    Panel_Port_Name->Caption("");
    Label_Port_Number->Caption("");
    ProgressBar_Port->Position(0);
}

void TForm_Port::Port_Error_Pause()
{
    Timer_Select_ComPort->Interval(Pause_Ms);
    if (Settings.Search_Port || Port_Search.Port_Search_On)
        Timer_Select_ComPort->Enabled(true);
}
