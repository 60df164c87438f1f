#include "windows/MSG.h"

#include <cstdio>
#include <iostream>

#include "data/Call_Hook.h"
#include "data/Globals.h"
#include "language/Language.h"
#include "language/Language_Fonts.h"
#include "windows/Busy_Wheel.h"

TForm_MSG* Form_MSG = nullptr;
MSG_Hooks_Class MSG_Hooks;
bool Version_Error_Closed = false;

namespace {

constexpr TColor Countdown_Colour = 0xFFF75B;
constexpr TColor Wheel_Current_Colour = clRed;
constexpr int Countdown_Ms = 3000;
constexpr int Button_Width_Percent = 30;

// The last message given before the window existed: it is shown once the window is made.
MSG_Message Early_Message;
bool Early_Pending = false;

bool Type_Shows(uint8_t Type)
{
    return Type >= Message_Type::Old_Version && Type <= Message_Type::Language_Key_Countdown;
}

}  // namespace

TForm_MSG::TForm_MSG(TComponent* Owner) : TForm(Owner)
{
    Name("Form_MSG");
    Caption("Form_MSG");
    BorderIcons(biSystemMenu);
    BorderStyle(TBorder_Style::Single);
    Position(TPosition::Main_Form_Center);
    // A notice is seen above the window it is about, also one that stays on top.
    Above_Asking_Form(true);
    Font().Pixels(13);
    Font().Style(fsBold);
    ClientWidth(405);
    ClientHeight(205);

    Panel_MSG = new TPanel(this, this);
    Panel_MSG->Name("Panel_MSG");
    Panel_MSG->Caption("");
    Panel_MSG->SetBounds(0, 0, 405, 205);

    Panel_MSG_Txt = new TPanel(this, Panel_MSG);
    Panel_MSG_Txt->Name("Panel_MSG_Txt");
    Panel_MSG_Txt->Caption("");
    Panel_MSG_Txt->SetBounds(0, 0, 405, 157);

    Panel_MSG_Btn = new TPanel(this, Panel_MSG);
    Panel_MSG_Btn->Name("Panel_MSG_Btn");
    Panel_MSG_Btn->Caption("");
    Panel_MSG_Btn->SetBounds(0, 156, 405, 49);

    Image_MSG = new TImage(this, Panel_MSG_Btn);
    Image_MSG->Name("Image_MSG");
    Image_MSG->Transparent(true);
    Image_MSG->SetBounds(4, 4, 41, 41);
    Image_MSG->Visible(false);

    Timer_MSG = new TTimer(this);
    Timer_MSG->Name("Timer_MSG");
    Timer_MSG->Enabled(false);
    Timer_MSG->Interval(100);
    Timer_MSG->OnTimer = [this](TObject* Sender) { Timer_MSGTimer(Sender); };

    Timer_MSG_run = new TTimer(this);
    Timer_MSG_run->Name("Timer_MSG_run");
    Timer_MSG_run->Enabled(false);
    Timer_MSG_run->Interval(100);
    Timer_MSG_run->OnTimer = [this](TObject* Sender) { Timer_MSG_runTimer(Sender); };

    // A message given before this window existed (a settings file that could not be read
    // at start) is shown now that it does.
    OnCreate = [this](TObject*) {
        if (!Early_Pending)
            return;
        Early_Pending = false;
        Store_Message(Early_Message.Type, Early_Message.Text, Early_Message.Colour);
    };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnClose = [this](TObject* Sender, TClose_Action& Action) { FormClose(Sender, Action); };
}

TForm_MSG::~TForm_MSG()
{
    if (Form_MSG == this)
        Form_MSG = nullptr;
}

void TForm_MSG::Store_Message(uint8_t Type, const std::string& Text, TColor Colour)
{
    Stored.Type = Type;
    Stored.Text = Text;
    Stored.Colour = Colour;
    Pending = true;
    Timer_MSG_run->Enabled(true);
}

void Show_Message(uint8_t Type, const std::string& Text, TColor Colour)
{
    if (!Form_MSG) {
        std::cerr << "KardunGD message (" << int(Type) << "): " << Text << std::endl;
        Early_Message.Type = Type;
        Early_Message.Text = Text;
        Early_Message.Colour = Colour;
        Early_Pending = true;
        return;
    }
    Form_MSG->Store_Message(Type, Text, Colour);
}

void MSG_Reset()
{
    Version_Error_Closed = false;
    Early_Pending = false;
    Early_Message = MSG_Message{};
    if (Form_MSG) {
        Form_MSG->Timer_MSG->Enabled(false);
        Form_MSG->Timer_MSG_run->Enabled(false);
        Form_MSG->Stored = MSG_Message{};
        Form_MSG->Shown = MSG_Message{};
        Form_MSG->Pending = false;
        if (Form_MSG->Visible())
            Form_MSG->Close();
    }
}

void TForm_MSG::Timer_MSG_runTimer(TObject* Sender)
{
    Timer_MSG_run->Enabled(false);
    if (!Pending)
        return;
    // The window on screen keeps what it was laid out with; the new message waits for it
    // to close.
    if (Visible())
        return;
    Pending = false;
    Shown = Stored;
    if (!Type_Shows(Shown.Type))
        return;   // nothing to show
    Show();
}

void TForm_MSG::Apply_Texts()
{
    Language_Load_File();
    Caption(Language_Find_Text("Error_Message"));
    Text_Loader_Close = Language_Find_Text("Error_Loader_Close");
    Text_Sec_Long = Language_Find_Text("Dim_Sec_Long");
    Text_Yes = Language_Find_Text("Error_Yes");
    Text_No = Language_Find_Text("Error_No");
    Text_Cancel = Language_Find_Text("Error_Cancel");
    Text_Setting = Language_Find_Text("Error_Setting");
    Language_Release();
}

void TForm_MSG::FormShow(TObject* Sender)
{
    Apply_Texts();
    using namespace Message_Type;
    switch (Shown.Type) {
    case Old_Version: case Old_Version_No_Loader: case Temperature_Missing: case Text:
    case File_Full: case Language_Key: case Wrong_Version:
        Layout_Message_Window(1, 0, 0, 0, Button_Width_Percent);
        break;
    case Saved_Before_Loading: case Language_Key_Countdown:
        Layout_Message_Window(1, 0, 0, Countdown_Ms, Button_Width_Percent);
        break;
    default:
        Close();
        break;
    }
}

std::string TForm_MSG::Button_Caption(int Kind) const
{
    switch (Kind) {
    case 1: return "OK";
    case 2: return Text_Yes;
    case 3: return Text_No;
    case 4: return Text_Cancel;
    case 5: return Text_Setting;
    default: return "";
    }
}

std::string TForm_MSG::Message_Text(const MSG_Message& Message) const
{
    auto T = [](const char* Key) { return Language_Text(Key); };
    using namespace Message_Type;
    switch (Message.Type) {
    case Old_Version:
        return T("MSG_OLD_Version") + " <<KardunGAS>>. " + T("MSG_New_Version") + " " +
               "3.02; 2.54; x.44";
    case Old_Version_No_Loader:
        return T("MSG_OLD_Version") + " <<KardunGAS>>. " + T("MSG_New_Version") + " " +
               "3.02; 2.54; x.44 " + T("MSG_New_Version_NoLoader");
    case Temperature_Missing:
        return Temperature_File_Name + " " + T("Error_File_not_found") + " " +
               T("Error_Temperature");
    case Text:
        return Message.Text;
    case File_Full:
        return T("Text_Full_File");
    case Saved_Before_Loading:
        return T("Loader_Save_CFG") + " \"Temp.cfg\"";
    case Language_Key:
    case Language_Key_Countdown:
        return Message.Text.empty() ? std::string() : Language_Text(Message.Text);
    case Wrong_Version:
        return T("Error_Version");
    default:
        return "";
    }
}

void TForm_MSG::Layout_Message_Window(int Kind_1, int Kind_2, int Kind_3, int Countdown,
                                      int Width_Percent)
{
    Free_Released_Controls();
    const int Kinds[4] = {0, Kind_1, Kind_2, Kind_3};
    int N = 0;
    for (int Slot = 1; Slot <= 3; ++Slot)
        if (Kinds[Slot] != 0)
            ++N;
    int Button_Width = 0;
    int First_Left = 0;

    // The button half sits under the text half, as wide as it; buttons share that width.
    Panel_MSG_Btn->Top(Panel_MSG_Txt->Height());
    Panel_MSG_Btn->Left(Panel_MSG_Txt->Left());
    Panel_MSG_Btn->Width(Panel_MSG_Txt->Width());
    const int W = Panel_MSG_Btn->Width();

    auto Make_Countdown_Label = [&](int Top, int Height) {
        Label_Countdown = new TLabel(this, Panel_MSG_Btn);
        Label_Countdown->Name("Label_MSG_Countdown");
        Label_Countdown->AutoSize(false);
        Label_Countdown->WordWrap(false);
        Label_Countdown->ShowAccelChar(false);
        Label_Countdown->Alignment(TAlignment::Center);
        Label_Countdown->Layout(TText_Layout::Center);
        const int Left = Image_MSG->Width() + 2;
        Label_Countdown->SetBounds(Left, Top, W - Left, Height);
        Label_Countdown->Caption(Text_Loader_Close);
        Font_Set_Label(Label_Countdown);
    };

    if (N > 0 && Countdown > 0) {
        Panel_MSG_Btn->Height(61);
        Panel_MSG_Txt->Height(Panel_MSG->Height() - 61);
        Image_MSG->SetBounds(2, 2, 61 - 4, 61 - 4);
        Image_MSG->Visible(true);
        Make_Countdown_Label(40, 16);
        const int Image_Width = Image_MSG->Width();
        Button_Width = Width_Percent * (W - 5 * (N + 1) - Image_Width) / 100;
        First_Left = Image_Width + (W - (N * Button_Width + 5 * (N - 1)) - Image_Width) / 2;
    } else if (N > 0) {
        Image_MSG->Visible(false);
        Panel_MSG_Btn->Height(40);
        Panel_MSG_Txt->Height(Panel_MSG->Height() - 40);
        Button_Width = Width_Percent * (W - 5 * (N + 1)) / 100;
        First_Left = (W - (N * Button_Width + 5 * (N - 1))) / 2;
    } else if (Countdown > 0) {
        Panel_MSG_Btn->Height(54);
        Panel_MSG_Txt->Height(Panel_MSG->Height() - 54);
        Image_MSG->SetBounds(2, 2, 50, 50);
        Make_Countdown_Label(0, 50);
    }

    // The buttons
    for (int Slot = 1; Slot <= 3; ++Slot) {
        if (Kinds[Slot] == 0 || Buttons[Slot])
            continue;
        TButton* B = new TButton(this, Panel_MSG_Btn);
        B->Name("Button_MSG_" + std::to_string(Slot));
        B->Flat(true);
        B->SetBounds((Slot - 1) * (Button_Width + 5) + First_Left, 5, Button_Width, 30);
        B->Tag(Kinds[Slot]);
        B->Caption(Button_Caption(Kinds[Slot]));
        Font_Set_Control(B);
        B->OnClick = [this](TObject* Sender) { Button_MSGClick(Sender); };
        Buttons[Slot] = B;
    }

    // The text
    if (Shown.Type != 0) {
        Label_Text = new TLabel(this, Panel_MSG_Txt);
        Label_Text->Name("Label_MSG_Text");
        Label_Text->AutoSize(false);
        Label_Text->ShowAccelChar(false);
        Label_Text->SetBounds(0, 0, Panel_MSG_Txt->Width(), Panel_MSG_Txt->Height());
        Label_Text->Alignment(TAlignment::Center);
        Label_Text->Layout(TText_Layout::Center);
        Label_Text->WordWrap(true);
        Label_Text->Font().Size(16);
        Font_Set_Label(Label_Text);
        Label_Text->Caption(Message_Text(Shown));
        Label_Text->Font().Color(Shown.Colour);
        if (Label_Countdown)
            Label_Countdown->Font().Color(Countdown_Colour);
        if (Shown.Type == Message_Type::Wrong_Version)
            Call_Hook(MSG_Hooks.Main_Window_Enable, false);
    }

    // The countdown
    if (Countdown > 0) {
        Remaining_Ms = Countdown;
        Remaining_Ticks = Countdown / Timer_MSG->Interval();
        Timer_MSG->Enabled(true);
        Image_MSG->Visible(true);
        Image_MSG->Enabled(true);
    } else {
        Image_MSG->Visible(false);
    }

    Panel_MSG_Btn->Top(Panel_MSG_Txt->Top() + Panel_MSG_Txt->Height());
}

void TForm_MSG::Timer_MSGTimer(TObject* Sender)
{
    if (Remaining_Ticks <= 0) {
        Close();
        return;
    }
    Remaining_Ms -= Timer_MSG->Interval();
    char Seconds[32];
    std::snprintf(Seconds, sizeof Seconds, "%.1f", Remaining_Ms / 1000.0);
    if (Label_Countdown)
        Label_Countdown->Caption(Text_Loader_Close + " " + Seconds + " " + Text_Sec_Long);
    --Remaining_Ticks;
    TBitmap Frame;
    Wheel_Index = Draw_Busy_Wheel(Frame, 0, 0, 360, Wheel_Current_Colour, Countdown_Colour,
                                  Wheel_Index, Image_MSG->Height(), Image_MSG->Width(), 2, 25);
    Image_MSG->Picture().Assign(Frame);
}

void TForm_MSG::Button_MSGClick(TObject* Sender)
{
    Timer_MSG->Enabled(false);
    Image_MSG->Enabled(false);
    if (Type_Shows(Shown.Type))
        Close();
}

void TForm_MSG::FormClose(TObject* Sender, TClose_Action& Action)
{
    Timer_MSG->Enabled(false);
    Timer_MSG_run->Enabled(false);
    if (Shown.Type == Message_Type::Wrong_Version)
        Version_Error_Closed = true;
    Release_Run_Time_Controls();
    // A message that came while this one was on screen is shown now.
    if (Pending)
        Timer_MSG_run->Enabled(true);
}

void TForm_MSG::Release_Run_Time_Controls()
{
    // The controls may be inside their own click handler: they are hidden now and freed
    // at the next layout, outside any of their handlers.
    auto Release = [this](TControl*& Control) {
        if (!Control)
            return;
        Control->Visible(false);
        FReleased.push_back(Control);
        Control = nullptr;
    };
    for (int Slot = 1; Slot <= 3; ++Slot) {
        TControl* C = Buttons[Slot];
        Release(C);
        Buttons[Slot] = nullptr;
    }
    TControl* C = Label_Countdown;
    Release(C);
    Label_Countdown = nullptr;
    C = Label_Text;
    Release(C);
    Label_Text = nullptr;
}

void TForm_MSG::Free_Released_Controls()
{
    for (TControl* C : FReleased)
        C->Free();
    FReleased.clear();
}
