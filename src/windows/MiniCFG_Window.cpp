#include "windows/MiniCFG_Window.h"

#include <algorithm>

#include "data/Call_Hook.h"
#include "language/Language.h"
#include "windows/Form_Build.h"

TForm_MiniCFG* Form_MiniCFG = nullptr;
MiniCFG_Hooks_Class MiniCFG_Hooks;
bool MiniCFG_Open = false;
int MiniCFG_View_Type = 0;

namespace {

// ---- geometry (pixels) ----
constexpr int Margin = 10;             // the borrowed box or the first run-time box
constexpr int Box_Gap = 7;             // between run-time boxes, and between rows
constexpr int First_Row_Top = 20;      // from a run-time box's top to its first row
constexpr int Box_Bottom = 10;         // below a run-time box's last row
constexpr int Control_Gap = 4;         // between two controls that would overlap in a row
constexpr int Row_View_Min_Width = 100;
constexpr int Help_Height = 80;
constexpr int Help_Label_Left = 10;
constexpr int Help_Label_Top = 5;
constexpr int Check_Height = 20;
constexpr int Table_Check_Gap = 12;    // view 10: the check box below the table
constexpr int Table_Button_Gap = 5;    // view 10: the buttons right of the table
constexpr int Main_Bottom_Room = 42;   // the window ends this far above the main window's bottom

using Rows = std::vector<std::vector<const char*>>;

const MiniCFG_Box_Def Clock_Timer_Box = {
    "GroupBox_CFG_Clock_Timer", {{"Label_CFG_Clock_Timer", "Edit_CFG_Clock_Timer", "UpDown_CFG_Clock_Timer"}}};
const std::vector<const char*> Factor_Heads = {"Label_CFG_Infl_Smaller", "Label_CFG_Infl_Bigger",
                                               "Label_CFG_Support"};

const MiniCFG_View_Def Views[MiniCFG_View_Max + 1] = {
    {"", "", {}},
    {"CFG_RPM_Source_Hint", "GroupBox_CFG_RPM_Source", {}},
    {"CFG_SwitchPG_Hint", "GroupBox_CFG_SwitchPG", {}},
    {"CFG_SwitchGP_Hint", "GroupBox_CFG_SwitchGP", {}},
    {"CFG_Gas_Injectors_Hint", "GroupBox_CFG_Gas_Injectors", {}},
    {"CFG_Injection_Type_Hint", "GroupBox_CFG_Injection_Type", {}},
    {"CFG_Gas_Level_Hint", "GroupBox_CFG_GasLevel_Sensor", {}},
    {"CFG_PressureSensor_Hint", "GroupBox_CFG_Pressure_Sensor", {}},
    {"Label_GD_CFG_Options", "GroupBox_CFG_GasDiesel", {}},
    {"CFG_GasType_Hint", "GroupBox_CFG_GasType", {}},
    {"Mini_CFG_RPM_Tab", "", {}},
    {"CFG_Influence_Hint", "GroupBox_CFG_Infl_Factor", {}},
    {"CFG_Check_Sensors_Hint", "RadioGroup_CFG_Check_Sensors", {}},
    {"CFG_DTB_Car_Hint", "GroupBox_CFG_Car", {}},
    {"CFG_DTB_User_Hint", "GroupBox_CFG_User", {}},
    {"CFG_DTB_Comments_Hint", "GroupBox_CFG_Comments", {}},
    {"Label_GD_CFG_Options", "GroupBox_CFG_Emulation_TPS", {}},
    {"CFG_RPM_Source_Hint",
     "",
     {{"GroupBox_CFG_RPM_Source",
       {{"Label_CFG_RPM_Source", "Edit_CFG_RPM_Source"},
        {"Label_CFG_RPM_IdleRun", "Edit_CFG_RPM_IdleRun", "UpDown_CFG_RPM_IdleRun"},
        {"Button_CFG_RPM_IdleRun"}}}}},
    {"",
     "",
     {{"GroupBox_CFG_SwitchPG", {{"Label_CFG_PG_RPM", "Edit_CFG_PG_RPM", "UpDown_CFG_PG_RPM"}}},
      {"GroupBox_CFG_GasDiesel",
       {{"CheckBox_Limit_RPM_ON", "Label_Limit_RPM_ON"},
        {"Label_Limit_RPM_Snake", "Edit_Limit_RPM_Snake", "UpDown_Limit_RPM_Snake"}}}}},
    {"Press_Diff",
     "",
     {{"GroupBox_CFG_SwitchPG", {{"Label_CFG_PG_Pressure", "Edit_CFG_PG_Pressure", "UpDown_CFG_PG_Pressure"}}},
      {"GroupBox_CFG_SwitchGP",
       {{"Label_CFG_GP_PressDiff_Low", "Edit_CFG_GP_PressDiff_Low", "UpDown_CFG_GP_PressDiff_Low"},
        {"Label_CFG_GP_PressDiff_High", "Edit_CFG_GP_PressDiff_High", "UpDown_CFG_GP_PressDiff_High"}}},
      {"GroupBox_CFG_Infl_Factor",
       {Factor_Heads,
        {"Edit_CFG_Infl_DiffPress_S", "UpDown_CFG_Infl_DiffPress_S", "Edit_CFG_Infl_DiffPress_B",
         "UpDown_CFG_Infl_DiffPress_B", "Label_CFG_Supp_DiffPress_Dim", "Edit_CFG_Supp_DiffPress",
         "UpDown_CFG_Supp_DiffPress"}}}}},
    {"Temp_Gas",
     "",
     {{"GroupBox_CFG_SwitchPG",
       {{"CheckBox_CFG_PG_Preheating", "Label_CFG_PG_Preheating", "Edit_CFG_PG_Preheating",
         "UpDown_CFG_PG_Preheating"}}},
      {"GroupBox_CFG_Injection",
       {{"CheckBox_CFG_Inject_Auto", "Label_CFG_Inject_Auto", "Edit_CFG_Inject_Auto", "UpDown_CFG_Inject_Auto"}}},
      {"GroupBox_CFG_Infl_Factor",
       {Factor_Heads,
        {"Edit_CFG_Infl_TempGas_S", "UpDown_CFG_Infl_TempGas_S", "Edit_CFG_Infl_TempGas_B",
         "UpDown_CFG_Infl_TempGas_B", "Label_CFG_Supp_TempGas_Dim", "Edit_CFG_Supp_TempGas",
         "UpDown_CFG_Supp_TempGas"}}}}},
    {"Temp_Vap",
     "",
     {{"GroupBox_CFG_SwitchPG", {{"Label_CFG_PG_Temper", "Edit_CFG_PG_Temper", "UpDown_CFG_PG_Temper"}}},
      {"GroupBox_CFG_SwitchGP", {{"Label_CFG_GP_TempVap", "Edit_CFG_GP_TempVap", "UpDown_CFG_GP_TempVap"}}}}},
    {"Power",
     "",
     {{"GroupBox_CFG_Infl_Factor",
       {{"Label_CFG_Support"},
        {"Edit_CFG_Infl_Power", "UpDown_CFG_Infl_Power", "Label_CFG_Supp_Power_Dim", "Edit_CFG_Supp_Power",
         "UpDown_CFG_Supp_Power"}}}}},
    {"GroupBox_GD_CFG_GasDiesel",
     "",
     {{"Label_DS_Correction_ON",
       {{"CheckBox_DS_Correction_ON", "Label_DS_Correction_ON"},
        {"Label_DS_High_Level", "Edit_DS_High_Level", "UpDown_DS_High_Level"},
        {"Label_DS_High_Step", "Edit_DS_High_Step", "UpDown_DS_High_Step"}}},
      Clock_Timer_Box}},
    {"GroupBox_GD_CFG_GasDiesel",
     "",
     {{"Label_GD_CFG_Limit_Temperature",
       {{"CheckBox_Limit_Temperature_ON", "Label_Limit_Temperature", "Edit_Limit_Temperature",
         "UpDown_Limit_Temperature"}}},
      Clock_Timer_Box}},
    {"GroupBox_GD_CFG_GasDiesel",
     "",
     {{"Label_Limit_TPS_ON",
       {{"CheckBox_Limit_TPS_ON", "Label_Limit_TPS_ON"},
        {"Label_Limit_TPS_Snake", "Edit_Limit_TPS_Snake", "UpDown_Limit_TPS_Snake"}}},
      Clock_Timer_Box}},
    {"GroupBox_Setup_Ports", "GroupBox_Setup_Ports", {}},
};

// View 10: the table, then its edit controls right of it.
const char* const Table_Names[] = {"Panel_CFG_Depend", "Button_CFG_Infl_Clear", "Button_CFG_Infl_Default",
                                   "Edit_CFG_Depend",  "CheckBox_DS_Correction_ON_rpm", "Label_CFG_Depend",
                                   "Label_DS_Correction_ON_Help"};

bool Row_View(int View) { return View >= 17 && View <= 25; }

template <class T = TControl>
T* Named(const std::string& Name)
{
    return dynamic_cast<T*>(ui::Find_Control(Name));
}

// Where a control sits across its whole setting group: its left summed up to the outermost
// group box around it (boxes inside boxes keep their columns).
int Group_X(const TControl* C)
{
    int X = 0;
    for (const TControl* P = C; P && P->Parent(); P = P->Parent()) {
        X += P->Left();
        if (!dynamic_cast<const TGroupBox*>(P->Parent()))
            break;
    }
    return X;
}

// The outermost group box a control sits in (nullptr: none).
const TControl* Outer_Group(const TControl* C)
{
    const TControl* Outer = nullptr;
    for (const TControl* P = C ? C->Parent() : nullptr; P; P = P->Parent())
        if (dynamic_cast<const TGroupBox*>(P))
            Outer = P;
    return Outer;
}

}  // namespace

const MiniCFG_View_Def& MiniCFG_View(int View_Type)
{
    if (View_Type < MiniCFG_View_Min || View_Type > MiniCFG_View_Max)
        return Views[0];
    return Views[View_Type];
}

std::vector<std::string> MiniCFG_View_Controls(int View_Type)
{
    std::vector<std::string> Names;
    if (View_Type == MiniCFG_View_RPM_Table) {
        Names.assign(std::begin(Table_Names), std::end(Table_Names));
        return Names;
    }
    const MiniCFG_View_Def& V = MiniCFG_View(View_Type);
    if (*V.Box)
        Names.emplace_back(V.Box);
    for (const MiniCFG_Box_Def& B : V.Boxes)
        for (const auto& Row : B.Rows)
            for (const char* Name : Row)
                Names.emplace_back(Name);
    return Names;
}

TForm_MiniCFG::TForm_MiniCFG(TComponent* Owner) : TForm(Owner)
{
    Name("Form_MiniCFG");
    Caption("Form_MiniCFG");
    BorderStyle(TBorder_Style::Single);
    BorderIcons(biSystemMenu);
    Position(TPosition::Main_Form_Center);
    ClientWidth(300);
    ClientHeight(200);
    Panel_MiniCFG = build::Panel(this, this, "Panel_MiniCFG", "", 0, 0, 300, 200);
    Panel_MiniCFG->BevelOuter(TBevel_Cut::None);
    GroupBox_MiniCFG_Help = build::Group(this, Panel_MiniCFG, "GroupBox_MiniCFG_Help", "", Margin, 100, 280, Help_Height);
    Label_MiniCFG_Help = build::Label(this, GroupBox_MiniCFG_Help, "Label_MiniCFG_Help", "", Help_Label_Left,
                                      Help_Label_Top);
    Label_MiniCFG_Help->AutoSize(false);
    Label_MiniCFG_Help->WordWrap(true);
    Label_MiniCFG_Help->Alignment(TAlignment::Center);
    Label_MiniCFG_Help->Layout(TText_Layout::Center);
    CheckBox_MiniCFG = build::Make<TCheckBox>(this, Panel_MiniCFG, "CheckBox_MiniCFG", Margin, 185, 280, Check_Height);
    CheckBox_MiniCFG->Caption("Close, if another window is active");
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnClose = [this](TObject* Sender, TClose_Action& Action) { FormClose(Sender, Action); };
    // Leaving with the window open (the program ends): the main window gets its controls
    // back before either window goes, so none is freed with this window's panel.
    OnDestroy = [this](TObject*) {
        MiniCFG_Open = false;
        Return_All();
    };
}

TForm_MiniCFG::~TForm_MiniCFG()
{
    if (Form_MiniCFG == this)
        Form_MiniCFG = nullptr;
}

void TForm_MiniCFG::Show_View(int View_Type)
{
    if (View_Type < MiniCFG_View_Min || View_Type > MiniCFG_View_Max)
        return;
    if (MiniCFG_Open || Visible())
        Close();
    MiniCFG_View_Type = View_Type;
    CheckBox_MiniCFG->Checked(true);
    CheckBox_MiniCFG->Caption(Language_Text("Mini_CFG_CheckBox"));
    Show();
}

void TForm_MiniCFG::MiniCFG_Borrow(TControl* Control, int Top, int Left)
{
    if (!Control)
        return;
    ORG_MiniCFG_Box_Class Place;
    Place.Control = Control;
    Place.Alive = TAlive(Control);
    Place.Top = Control->Top();
    Place.Left = Control->Left();
    Place.Width = Control->Width();
    Place.Height = Control->Height();
    Place.Parent = Control->Parent();
    Place.Visible = Control->Visible();
    Place.Show_Hint = Control->ShowHint();
    Stack.push_back(Place);
    Control->Parent(Borrow_Parent ? Borrow_Parent : Panel_MiniCFG);
    Control->Top(Top);
    Control->Left(Left);
    Control->ShowHint(false);
    Control->Visible(true);
}

bool TForm_MiniCFG::MiniCFG_Return()
{
    if (Stack.empty())
        return false;
    const ORG_MiniCFG_Box_Class Place = Stack.back();
    Stack.pop_back();
    // A control freed meanwhile has nothing to come back.
    if (!Place.Alive)
        return true;
    TControl* C = Place.Control;
    C->Parent(Place.Parent);
    if (Place.Resized) {
        C->SetBounds(Place.Left, Place.Top, Place.Width, Place.Height);
    } else {
        C->Top(Place.Top);
        C->Left(Place.Left);
    }
    C->Visible(Place.Visible);
    // The hint switch as it was: the page's own switching (help line or tool-tips) goes on.
    C->ShowHint(Place.Show_Hint);
    return true;
}

bool TForm_MiniCFG::Set_Visible_On_Return(const TControl* Control, bool Visible)
{
    for (ORG_MiniCFG_Box_Class& Place : Stack)
        if (Place.Control == Control && Place.Alive) {
            Place.Visible = Visible;
            return true;
        }
    return false;
}

TGroupBox* TForm_MiniCFG::MiniCFG_Add_Box(int Width, int Height, const std::string& Caption)
{
    const int Top = Boxes.empty() ? Margin : Boxes.back()->Top() + Boxes.back()->Height() + Box_Gap;
    TGroupBox* Box = build::Group(this, Panel_MiniCFG, "GroupBox_MiniCFG_" + std::to_string(Boxes.size() + 1),
                                  Caption, Margin, Top, Width, Height);
    Boxes.push_back(Box);
    Borrow_Parent = Box;
    return Box;
}

void TForm_MiniCFG::Return_All()
{
    while (MiniCFG_Return()) {
    }
    Borrow_Parent = nullptr;
    for (auto It = Boxes.rbegin(); It != Boxes.rend(); ++It)
        (*It)->Free();
    Boxes.clear();
}

void TForm_MiniCFG::FormShow(TObject* Sender)
{
    AutoSize(false);
    if (TForm* Main = Call_Hook(MiniCFG_Hooks.Main_Form))
        Font().Name(Main->Font().Name());
    Label_MiniCFG_Help->Caption("");
    // A view still borrowed (shown again without closing) gives its controls back first.
    Return_All();
    Stack.reserve(MiniCFG_Placements);
    const MiniCFG_View_Def& View = MiniCFG_View(MiniCFG_View_Type);
    if (MiniCFG_View_Type == MiniCFG_View_RPM_Table)
        Show_Table_View();
    else if (Row_View(MiniCFG_View_Type))
        Show_Row_View(View);
    else
        Show_Box_View(View);
    if (*View.Caption_Key)
        Caption(Language_Text(View.Caption_Key));
    Place_Help_And_Check();
    ClientWidth(Panel_MiniCFG->Width());
    ClientHeight(Panel_MiniCFG->Height());
    AutoSize(true);
    Keep_Over_Main_Window();
    MiniCFG_Open = true;
}

void TForm_MiniCFG::Show_Box_View(const MiniCFG_View_Def& View)
{
    TControl* Box = Named(View.Box);
    if (!Box) {
        Panel_MiniCFG->SetBounds(0, 0, 2 * Margin, 2 * Margin);
        return;
    }
    Panel_MiniCFG->SetBounds(0, 0, Box->Width() + 2 * Margin, Box->Height() + 2 * Margin);
    MiniCFG_Borrow(Box, Margin, Margin);
}

void TForm_MiniCFG::Show_Row_View(const MiniCFG_View_Def& View)
{
    // One width for all boxes: the widest setting group the controls come from (the
    // R.P.M. source view: its idle-run label's), never narrower than the rows need.
    int Width = MiniCFG_View_Type == 18 ? Row_View_Min_Width : 0;
    if (MiniCFG_View_Type == MiniCFG_View_RPM_Source) {
        if (TControl* L = Named("Label_CFG_RPM_IdleRun"))
            Width = L->Width() + 2 * Margin;
    } else if (MiniCFG_View_Type <= 22) {
        for (const std::string& Name : MiniCFG_View_Controls(MiniCFG_View_Type))
            if (const TControl* G = Outer_Group(Named(Name)))
                Width = std::max(Width, G->Width());
    }
    // Each row keeps the columns it has on the page, moved to the box's left edge; a
    // control that would overlap the one before it moves right.
    struct Placed {
        TControl* Control;
        int Left, Top;
    };
    struct Box_Layout {
        std::string Caption;
        std::vector<Placed> Controls;   // in the order of the view's table
        int Height = 0;
    };
    std::vector<Box_Layout> Layouts;
    for (const MiniCFG_Box_Def& B : View.Boxes) {
        Box_Layout L;
        // A box named after a page group without a text of its own takes that group's caption.
        L.Caption = Language_Text(B.Caption_Key);
        if (const auto* Group = Named<TGroupBox>(B.Caption_Key); L.Caption.empty() && Group)
            L.Caption = Group->Caption();
        int Min_X = -1;
        for (const auto& Row : B.Rows)
            for (const char* Name : Row)
                if (TControl* C = Named(Name))
                    Min_X = Min_X < 0 ? Group_X(C) : std::min(Min_X, Group_X(C));
        int Top = First_Row_Top;
        for (const auto& Row : B.Rows) {
            std::vector<TControl*> Cs;
            for (const char* Name : Row)
                if (TControl* C = Named(Name))
                    Cs.push_back(C);
            if (Cs.empty())
                continue;
            int Row_Height = 0;
            for (TControl* C : Cs)
                Row_Height = std::max(Row_Height, C->Height());
            // Placed from left to right, borrowed in the order of the view's table.
            std::vector<Placed> Row_Places;
            for (TControl* C : Cs)
                Row_Places.push_back({C, Group_X(C) - Min_X + Margin, Top + (Row_Height - C->Height()) / 2});
            std::vector<Placed*> By_X;
            for (Placed& P : Row_Places)
                By_X.push_back(&P);
            std::stable_sort(By_X.begin(), By_X.end(), [](const Placed* A, const Placed* Z) { return A->Left < Z->Left; });
            int Right = 0;
            for (Placed* P : By_X) {
                if (P->Left < Right)
                    P->Left = Right + Control_Gap;
                Right = P->Left + P->Control->Width();
                Width = std::max(Width, Right + Margin);
            }
            L.Controls.insert(L.Controls.end(), Row_Places.begin(), Row_Places.end());
            Top += Row_Height + Box_Gap;
        }
        L.Height = Top - Box_Gap + Box_Bottom;
        Layouts.push_back(L);
    }
    int Height = 0;
    for (const Box_Layout& L : Layouts) {
        MiniCFG_Add_Box(Width, L.Height, L.Caption);
        for (const Placed& P : L.Controls)
            MiniCFG_Borrow(P.Control, P.Top, P.Left);
        Height += L.Height;
    }
    Panel_MiniCFG->SetBounds(0, 0, Width + 2 * Margin,
                             Height + Box_Gap * static_cast<int>(Layouts.size()) + 2 * Margin);
    if (MiniCFG_View_Type == MiniCFG_View_RPM_Source)
        if (TControl* L = Named("Label_CFG_RPM_IdleRun")) {
            Call_Hook(MiniCFG_Hooks.Show_Label_Help, L);
            Label_MiniCFG_Help->Caption(L->Hint());
        }
}

void TForm_MiniCFG::Show_Table_View()
{
    TControl* Table = Named("Panel_CFG_Depend");
    TControl* Clear = Named("Button_CFG_Infl_Clear");
    if (!Table || !Clear) {
        Panel_MiniCFG->SetBounds(0, 0, 2 * Margin, 2 * Margin);
        return;
    }
    const int Column = Margin + Table->Width() + Table_Button_Gap;
    Panel_MiniCFG->SetBounds(0, 0, Table->Width() + Clear->Width() + 25, Table->Height());
    MiniCFG_Borrow(Table, Margin, Margin);
    int Top = Margin;
    // The buttons, the edit box and the detonation box one below the other right of the
    // table; the range label right of the box, the help below them.
    TControl* Box = nullptr;
    for (const char* Name : {"Button_CFG_Infl_Clear", "Button_CFG_Infl_Default", "Edit_CFG_Depend",
                             "CheckBox_DS_Correction_ON_rpm"}) {
        TControl* C = Named(Name);
        if (!C)
            continue;
        MiniCFG_Borrow(C, Top, Column);
        Box = C;
        Top += C->Height() + Box_Gap;
    }
    const int Room = Panel_MiniCFG->Width() - Column - Margin;
    if (TControl* Range = Named("Label_CFG_Depend")) {
        const int Left = Box ? Box->Left() + Box->Width() + Control_Gap : Column;
        MiniCFG_Borrow(Range, Box ? Box->Top() + 1 : Top, Left);
        Stack.back().Resized = true;
        Range->Width(std::max(0, Column + Room - Left));
    }
    if (TControl* Help = Named("Label_DS_Correction_ON_Help")) {
        MiniCFG_Borrow(Help, Top, Column);
        Stack.back().Resized = true;
        Help->SetBounds(Column, Top, Room, std::max(0, Table->Height() + Margin - Top));
        const auto* DS = Named<TCheckBox>("CheckBox_DS_Correction_ON");
        Help->Visible(DS && DS->Checked());
    }
    if (auto* Tail = dynamic_cast<TTimer*>(ui::Find_Control("Timer_CFG_RPM_Tail")))
        Tail->Enabled(true);
}

void TForm_MiniCFG::Place_Help_And_Check()
{
    const int W = Panel_MiniCFG->Width(), H = Panel_MiniCFG->Height();
    if (MiniCFG_View_Type == MiniCFG_View_RPM_Table) {
        GroupBox_MiniCFG_Help->Visible(false);
        CheckBox_MiniCFG->SetBounds(Margin, H + Table_Check_Gap, W - Margin, Check_Height);
        Panel_MiniCFG->Height(H + Table_Check_Gap + Check_Height);
        return;
    }
    GroupBox_MiniCFG_Help->Visible(true);
    GroupBox_MiniCFG_Help->SetBounds(Margin, H - Margin, W - 2 * Margin, Help_Height);
    Label_MiniCFG_Help->SetBounds(Help_Label_Left, Help_Label_Top, GroupBox_MiniCFG_Help->Width() - 10 - Help_Label_Left,
                                  Help_Height - 15 - Help_Label_Top);
    CheckBox_MiniCFG->SetBounds(Margin, H - Margin + Help_Height + 2, W - 2 * Margin, Check_Height);
    Panel_MiniCFG->Height(H + 95);
}

void TForm_MiniCFG::Keep_Over_Main_Window()
{
    TForm* Main = Call_Hook(MiniCFG_Hooks.Main_Form);
    if (!Main)
        return;
    const int Main_Bottom = Main->Top() + Main->Height() - Main_Bottom_Room;
    if (Top() + Height() > Main_Bottom)
        Top(std::max(0, Main_Bottom - Height()));
    if (Left() + Width() > Main->Left() + Main->Width())
        Left(std::max(0, Main->Left() + (Main->Width() - Width()) / 2));
}

void TForm_MiniCFG::FormClose(TObject* Sender, TClose_Action& Action)
{
    // The main window's enabled state is left alone: a lock set meanwhile stays.
    MiniCFG_Open = false;
    CheckBox_MiniCFG->Checked(false);
    Return_All();
    if (MiniCFG_View_Type == MiniCFG_View_RPM_Table)
        Call_Hook(MiniCFG_Hooks.Table_Returned);
}

void MiniCFG_Reset()
{
    MiniCFG_Open = false;
    MiniCFG_View_Type = 0;
    MiniCFG_Hooks = MiniCFG_Hooks_Class{};
}
