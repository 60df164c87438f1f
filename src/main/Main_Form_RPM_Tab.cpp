// The RPM-dependence table editor: the grid and its headers, editing, the live cell with
// its trail, the table's script steps and its configuration-file keys.
#include "main/Main_Form_RPM_Tab.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Message_Types.h"
#include "data/Text_Util.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "protocol/CFG_File.h"
#include "protocol/Frames.h"
#include "protocol/Live_Data.h"
#include "protocol/Script.h"
#include "windows/Control_Text.h"
#include "windows/Form_Build.h"
#include "windows/MSG.h"

namespace {

// Script steps of the table.
constexpr int Condition_Encode = 209;
constexpr int Action_From_Image = 75;
constexpr int Action_Cells_From_Image = 84;

// Header buttons: one group, so at most one is down.
constexpr int Header_Group_Index = 214;
constexpr int Header_Font_Points = 8;
// Font fitting of the corner panel: from 8 points, at most 72, a margin of 6 pixels.
constexpr int Fit_Start_Points = 8;
constexpr int Fit_Max_Points = 72;
constexpr int Fit_Min_Points = 8;
constexpr int Caption_Min_Points = 7;
constexpr int Fit_Margin = 6;
constexpr const char* Fit_Caption = "8000";
constexpr const char* Corner_Caption = "v\\RPM";

// The table's area: from the group list's left edge to the options panel's right edge,
// less a tenth of that width on the left (the list's row images stay clickable there).
constexpr int Area_Left_Cut_Percent = 10;
// The column beside the table, under the page's file buttons: the influence buttons, the
// edit box with its range label (three lines), the detonation box with its help.
constexpr int Side_Gap = 4;
constexpr int Side_Group_Gap = 10;
constexpr int Edit_Width = 70;
constexpr int Edit_Height = 22;
constexpr int Range_Lines = 3;
constexpr int Range_Lines_Beside_Box = 2;
constexpr int Check_Width = 16, Check_Height = 17, Check_Gap = 4;
// The detonation help is made smaller, down to this size, until it fits its place.
constexpr int Help_Min_Points = 7;

// Work mode of gas driving (the live cell's colours).
constexpr uint8_t Work_Mode_Gas = 4;

// Edit steps: 100 rpm, 0.1 V, 0.01.
constexpr int Col_Step = rpm_tab::RPM_Step;
constexpr int Row_Step_cV = 10;
constexpr int Cell_Step_Hundredths = 1;

// Decimals of the edit box's text per mode (column, row, cell).
int Mode_Decimals(RPM_Edit_Mode Mode)
{
    return Mode == RPM_Edit_Mode::Column ? 0 : Mode == RPM_Edit_Mode::Row ? 1 : 2;
}

// Reads a text as a number scaled by 10^Decimals (further decimals cut).
bool Scaled(const std::string& Text, int Decimals, int& Value)
{
    int Error = 0;
    Text_To_Float(Text, Error);
    if (Error != 0 || Text.empty()) return false;
    Value = Text_To_Fixed(Text, Decimals, Error);
    return Error == 0;
}

std::string Scaled_Text(int Value, int Decimals)
{
    return Decimals == 0 ? rpm_tab::RPM_Text(Value) : Format_Fixed(Value / std::pow(10.0, Decimals), 10, Decimals);
}

}  // namespace

TForm_KardunGAS& Main_Form_RPM_Tab::Form() { return static_cast<TForm_KardunGAS&>(*this); }

// ---------------------------------------------------------------- controls

void Main_Form_RPM_Tab::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* Sheet = Form().TabSheet_Configuration;
    Panel_CFG_Depend = build::Panel(Owner, Sheet, "Panel_CFG_Depend", "", 0, 0, 100, 100);
    Panel_CFG_Depend->BevelOuter(TBevel_Cut::None);
    Panel_CFG_Depend->Visible(false);
    Grid_RPM = build::Make<TStringGrid>(Owner, Panel_CFG_Depend, "Grid_RPM", 0, 0, 100, 100);
    Grid_RPM->FixedCols(0);
    Grid_RPM->FixedRows(0);
    Edit_CFG_Depend = build::Make<TEdit>(Owner, Sheet, "Edit_CFG_Depend", 0, 0, Edit_Width, Edit_Height);
    Edit_CFG_Depend->Visible(false);
    Label_CFG_Depend = build::Label(Owner, Sheet, "Label_CFG_Depend", "", 0, 0);
    // The range label's texts are longer than the column beside the table is wide.
    Label_CFG_Depend->AutoSize(false);
    Label_CFG_Depend->WordWrap(true);
    Label_CFG_Depend->Visible(false);
    // The size controls: a rebuild at another size returns every header and cell to its
    // default; they stay hidden on the page.
    struct Size_Row {
        const char* Name;
        TLabel*& Label;
        TEdit*& Edit;
        TUpDown*& UpDown;
    };
    const Size_Row Size_Rows[] = {
        {"Cols", Label_CFG_Grid_RPM_Cols, Edit_CFG_Grid_RPM_Cols, UpDown_CFG_Grid_RPM_Cols},
        {"Rows", Label_CFG_Grid_RPM_Rows, Edit_CFG_Grid_RPM_Rows, UpDown_CFG_Grid_RPM_Rows},
    };
    int Top = 0;
    for (const Size_Row& R : Size_Rows) {
        R.Label = build::Label(Owner, Sheet, std::string("Label_CFG_Grid_RPM_") + R.Name, R.Name, 0, Top + 3);
        R.Edit = build::Make<TEdit>(Owner, Sheet, std::string("Edit_CFG_Grid_RPM_") + R.Name, 40, Top, 40, 22);
        R.UpDown = build::Make<TUpDown>(Owner, Sheet, std::string("UpDown_CFG_Grid_RPM_") + R.Name, 80, Top, 17, 22);
        R.UpDown->Associate(R.Edit);
        for (TControl* C : {static_cast<TControl*>(R.Label), static_cast<TControl*>(R.Edit),
                            static_cast<TControl*>(R.UpDown)})
            C->Visible(false);
        Top += 26;
    }
}

void Main_Form_RPM_Tab::Bind_Part(TForm_KardunGAS& F)
{
    Part_Hooks.Bind("Configuration_Hooks.RPM_Tab_Default_Axes", Configuration_Hooks.RPM_Tab_Default_Axes,
                    [this] { RPM_Tab_Default_Axes(); });
    // The influence buttons act on the table while it is the group shown.
    F.Table_Clear_All = [this] { RPM_Tab_Clear_All(); };
    F.Table_Default = [this] { RPM_Tab_Default(); };
    Part_Hooks.Bind("CFG_File_Hooks.RPM_Tab_Write_CFG", CFG_File_Hooks.RPM_Tab_Write_CFG,
                    [this] { RPM_Tab_Write_CFG(); });
    Part_Hooks.Bind("CFG_File_Hooks.RPM_Tab_Read_CFG", CFG_File_Hooks.RPM_Tab_Read_CFG,
                    [this] { RPM_Tab_Read_CFG(); });
    // Each valid reply lights the live cell while the table shows (a step of the window
    // itself: it goes with the window).
    F.Refresh_RPM_Tab_Live_Cell = [this] {
        if (Panel_CFG_Depend->Visible()) RPM_Tab_Live_Cell();
    };
    Script_Set_Condition(Condition_Encode, [this] { return RPM_Tab_Encode(); });
    Part_Hooks.Add("Script condition 209", [] { Script_Set_Condition(Condition_Encode, nullptr); },
                   [] { return static_cast<bool>(Script_Condition_Slot(Condition_Encode)); });
    Script_Set_Action(Action_From_Image, [this] { RPM_Tab_From_Image(); });
    Part_Hooks.Add("Script action 75", [] { Script_Set_Action(Action_From_Image, nullptr); },
                   [] { return static_cast<bool>(Script_Action_Slot(Action_From_Image)); });
    Script_Set_Action(Action_Cells_From_Image, [this] { RPM_Tab_Cells_From_Image(); });
    Part_Hooks.Add("Script action 84", [] { Script_Set_Action(Action_Cells_From_Image, nullptr); },
                   [] { return static_cast<bool>(Script_Action_Slot(Action_Cells_From_Image)); });

    F.Timer_CFG_RPM_Tail->OnTimer = [this](TObject* Sender) { Timer_CFG_RPM_TailTimer(Sender); };
    Grid_RPM->OnDrawCell = [this](TObject* Sender, int Col, int Row, TRect Rect, TGrid_Draw_State State) {
        Grid_RPMDrawCell(Sender, Col, Row, Rect, State);
    };
    Grid_RPM->OnKeyDown = [this](TObject* Sender, uint16_t& Key, TShiftState Shift) {
        Grid_RPMKeyDown(Sender, Key, Shift);
    };
    Grid_RPM->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        // A new selection begins: no edit mode until the button is released.
        RPM_Edit_End();
    };
    Grid_RPM->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { RPM_Cell_Edit_Start(false); };
    Grid_RPM->OnSelectCell = [this](TObject*, int Col, int Row, bool&) {
        RPM_Edit_Text(Trim(Grid_RPM->Cells(Col, Row)));
    };
    Edit_CFG_Depend->OnKeyDown = [this](TObject* Sender, uint16_t& Key, TShiftState Shift) {
        Edit_CFG_DependKeyDown(Sender, Key, Shift);
    };
    Edit_CFG_Depend->OnChange = [this](TObject* Sender) { Edit_CFG_DependChange(Sender); };
    Edit_CFG_Depend->OnClick = [this](TObject*) {
        if (!RPM_Tab_Edit_Mode_Active() && Grid_RPM->CanFocus()) Grid_RPM->SetFocus();
    };
    UpDown_CFG_Grid_RPM_Cols->OnClick = [this](TObject*, TUD_Button) {
        RPM_Tab_Cols = static_cast<uint8_t>(UpDown_CFG_Grid_RPM_Cols->Position());
        RPM_Tab_Default_Axes();
    };
    UpDown_CFG_Grid_RPM_Rows->OnClick = [this](TObject*, TUD_Button) {
        RPM_Tab_Rows = static_cast<uint8_t>(UpDown_CFG_Grid_RPM_Rows->Position());
        RPM_Tab_Default_Axes();
    };
}

// ---------------------------------------------------------------- set-up and building

void Main_Form_RPM_Tab::RPM_Tab_Setup()
{
    RPM_Edit_Mode_Set(RPM_Edit_Mode::None);
    RPM_Trail.fill({0, 0});
    RPM_Trail_Count = 1;
    RPM_Live_Col = RPM_Live_Row = 0;
    RPM_Tab_Cols = rpm_tab::Max_Cols;
    RPM_Tab_Rows = rpm_tab::Max_Rows;
    Grid_RPM->Font().Size(Header_Font_Points);
    Grid_RPM->DefaultDrawing(true);
    Grid_RPM->DoubleBuffered(true);
    Grid_RPM->Canvas()->Brush.Color = clRed;
    Grid_RPM->Canvas()->Brush.Style = TBrush_Style::Solid;
    Grid_RPM->Canvas()->Font.Color(clBlack);
    Grid_RPM->Canvas()->Font.Size(Header_Font_Points);
    UpDown_CFG_Grid_RPM_Cols->Min(rpm_tab::Min_Cols);
    UpDown_CFG_Grid_RPM_Cols->Max(rpm_tab::Max_Cols);
    UpDown_CFG_Grid_RPM_Cols->Position(rpm_tab::Max_Cols);
    UpDown_CFG_Grid_RPM_Cols->Increment(1);
    UpDown_CFG_Grid_RPM_Rows->Min(rpm_tab::Min_Rows);
    UpDown_CFG_Grid_RPM_Rows->Max(rpm_tab::Max_Rows);
    UpDown_CFG_Grid_RPM_Rows->Position(rpm_tab::Max_Rows);
    UpDown_CFG_Grid_RPM_Rows->Increment(2);
    RPM_Tab_Transfer_Start();
}

void Main_Form_RPM_Tab::RPM_Tab_Default()
{
    RPM_Tab_Cols = rpm_tab::Max_Cols;
    RPM_Tab_Rows = rpm_tab::Max_Rows;
    RPM_Tab_Default_Axes();
}

void Main_Form_RPM_Tab::RPM_Tab_Clear_All()
{
    RPM_Edit_End();
    for (int Row = 0; Row < RPM_Grid_Rows; ++Row)
        for (int Col = 0; Col < RPM_Grid_Cols; ++Col)
            Grid_RPM->Cells(Col, Row, rpm_tab::Default_Cell_Text);
    RPM_Tab_Changed();
}

void Main_Form_RPM_Tab::RPM_Tab_Default_Axes()
{
    // A size the table cannot have (from a reply) is never built.
    int Cols = RPM_Tab_Cols, Rows = RPM_Tab_Rows;
    if (!rpm_tab::Size_Valid(Cols, Rows)) {
        Cols = rpm_tab::Max_Cols;
        Rows = rpm_tab::Max_Rows;
    }
    RPM_Tab_Build(Cols, Rows);
    RPM_Tab_Put_Texts(rpm_tab::Default_Texts(Cols, Rows));
    // Defaults asked for in the compact window go out as any change made there.
    if (MiniCFG_Open && MiniCFG_View_Type == MiniCFG_View_RPM_Table)
        RPM_Tab_Changed();
}

void Main_Form_RPM_Tab::RPM_Tab_Build(int Cols, int Rows)
{
    RPM_Edit_End();
    if (Panel_CFG_Grid_RPM) Panel_CFG_Grid_RPM->Free();
    Panel_CFG_Grid_RPM = nullptr;
    for (TButton* B : RPM_Col_Buttons) B->Free();
    for (TButton* B : RPM_Row_Buttons) B->Free();
    RPM_Col_Buttons.clear();
    RPM_Row_Buttons.clear();
    RPM_Tab_Cols = static_cast<uint8_t>(Cols);
    RPM_Tab_Rows = static_cast<uint8_t>(Rows);
    RPM_Grid_Cols = Cols;
    RPM_Grid_Rows = Rows;
    UpDown_CFG_Grid_RPM_Cols->Position(Cols);
    UpDown_CFG_Grid_RPM_Rows->Position(Rows);
    // The cells the live display marked belong to the old grid.
    RPM_Live_Col = RPM_Live_Row = 0;
    RPM_Trail.fill({0, 0});
    RPM_Trail_Count = 1;
    Grid_RPM->ColCount(Cols);
    Grid_RPM->RowCount(Rows);
    Grid_RPM->Selection(TRect{0, 0, 0, 0});
    TComponent* Owner = Panel_CFG_Depend->Owner();
    auto Header = [&](bool Column, int N) {
        TButton* B = build::Button(Owner, Panel_CFG_Depend, (Column ? "RPM_Col_" : "RPM_Row_") + std::to_string(N), "",
                                   0, 0, 10, 10);
        B->Tag(N);
        B->AllowAllUp(true);
        B->GroupIndex(Header_Group_Index);
        B->Font().Size(Header_Font_Points);
        B->Font().Style(fsBold);
        B->OnClick = [this, Column, N](TObject*) { RPM_Header_Click(Column, N); };
        return B;
    };
    for (int N = 1; N <= Cols; ++N) RPM_Col_Buttons.push_back(Header(true, N));
    for (int N = 1; N <= Rows; ++N) RPM_Row_Buttons.push_back(Header(false, N));
    Panel_CFG_Grid_RPM = build::Panel(Owner, Panel_CFG_Depend, "Panel_CFG_Grid_RPM", Corner_Caption, 0, 0, 10, 10);
    Panel_CFG_Grid_RPM->Alignment(TAlignment::Center);
    Panel_CFG_Grid_RPM->Font().Style(fsBold);
    RPM_Tab_Layout();
    RPM_Tab_Fit_Fonts();
}

void Main_Form_RPM_Tab::RPM_Tab_Layout()
{
    TForm_KardunGAS& F = Form();
    TControl* List = F.Panel_CFG_Options_List;
    TControl* Options = F.Panel_CFG_Options;
    const int Span = Options->Left() + Options->Width() - List->Left();
    const int Cut = Span * Area_Left_Cut_Percent / 100;
    Panel_CFG_Depend->SetBounds(List->Left() + Cut, Options->Top(), Span - Cut, List->Height());
    RPM_Tab_Side_Place();

    const int Cols = RPM_Grid_Cols, Rows = RPM_Grid_Rows;
    if (Cols <= 0 || Rows <= 0) return;
    const int Width = Panel_CFG_Depend->Width(), Height = Panel_CFG_Depend->Height();
    const int H = Height / (Rows + 2), W = Width / (Cols + 2);
    const int Top_Margin = (Height - ((Rows + 1) * H + H / 2)) / 2;
    const int Left_Margin = (Width - ((Cols + 1) * W + W / 2)) / 2;
    // Each header sits across the grid line where its range begins.
    Grid_RPM->SetBounds(Left_Margin + W + W / 2, Top_Margin + H + H / 2, Cols * W, Rows * H);
    Grid_RPM->GridLineWidth(1);
    Grid_RPM->DefaultRowHeight(H - 1);
    Grid_RPM->DefaultColWidth(W - 1);
    for (int I = 1; I <= Rows; ++I)
        RPM_Row_Buttons[static_cast<size_t>(I - 1)]->SetBounds(Left_Margin, Top_Margin + I * H, W, H);
    for (int J = 1; J <= Cols; ++J)
        RPM_Col_Buttons[static_cast<size_t>(J - 1)]->SetBounds(Left_Margin + J * W, Top_Margin, W, H);
    if (Panel_CFG_Grid_RPM) Panel_CFG_Grid_RPM->SetBounds(Left_Margin, Top_Margin, W, H);
    // Laid out for the page while the compact window shows it: the window takes the table
    // again at its new size and stays when the main window is clicked.
    if (MiniCFG_Open && MiniCFG_View_Type == MiniCFG_View_RPM_Table && Form_MiniCFG) {
        F.Show_MiniCFG(MiniCFG_View_RPM_Table);
        Form_MiniCFG->CheckBox_MiniCFG->Checked(false);
    }
}

void Main_Form_RPM_Tab::RPM_Tab_Side_Place()
{
    // The table covers the options panel: what goes with it stands in the column of the
    // page's file buttons, below them, down to the table's bottom. A control lent to the
    // compact window is left where the window put it.
    TForm_KardunGAS& F = Form();
    const TControl* Column = F.Button_CFG_User_Password;
    const TControl* Above = F.Label_CFG_Pult_Name;
    const int Left = Column->Left(), Width = Column->Width();
    const int Bottom = Panel_CFG_Depend->Top() + Panel_CFG_Depend->Height();
    int Top = Above->Top() + Above->Height() + Side_Group_Gap;
    auto On_Page = [&F](const TControl* C) { return C->Parent_Form() == &F; };
    auto Place = [&](TControl* C, int Height, int Gap) {
        if (On_Page(C)) C->SetBounds(Left, Top, Width, Height);
        Top += Height + Gap;
    };
    // The influence buttons serve the factors' group too, at the options panel's bottom:
    // they come here only while the table shows.
    const bool Buttons_Here = Panel_CFG_Depend->Visible() && On_Page(Panel_CFG_Depend);
    if (Buttons_Here) F.Infl_Buttons_Leave_Home();
    for (TButton* B : {F.Button_CFG_Infl_Clear, F.Button_CFG_Infl_Default}) {
        if (Buttons_Here) Place(B, Column->Height(), Side_Gap);
        else Top += Column->Height() + Side_Gap;
    }
    Top += Side_Group_Gap - Side_Gap;
    Place(Edit_CFG_Depend, Edit_Height, Side_Gap);
    // With the detonation box the range label stands right of it (it then shows the
    // detonation or a range, one short line, two at most) and the help takes the column's
    // whole width below them, down to the table's bottom or the page's, whichever comes first:
    // beside the box the help would be too narrow for its words.
    TCheckBox* Box = F.CheckBox_DS_Correction_ON_rpm;
    TLabel* Help = F.Label_DS_Correction_ON_Help;
    const bool Box_Here = On_Page(Box) && Box->Visible();
    const TFont& Range_Font = Label_CFG_Depend->Font();
    const int Range_Left = Box_Here ? Left + Check_Width + Check_Gap : Left;
    const int Range_Height =
        (Box_Here ? Range_Lines_Beside_Box : Range_Lines) * Text_Height("Ag", Range_Font) + 2;
    if (On_Page(Box)) Box->SetBounds(Left, Top + 1, Check_Width, Check_Height);
    if (On_Page(Label_CFG_Depend))
        Label_CFG_Depend->SetBounds(Range_Left, Top, Left + Width - Range_Left, Range_Height);
    Top += Range_Height + Side_Gap;
    if (!On_Page(Help)) return;
    const int Help_Bottom = std::min(Bottom, Help->Parent()->Height());
    Help->SetBounds(Left, Top, Width, std::max(0, Help_Bottom - Top));
    // In the page's font; a longer text (another language) a point smaller at a time, down
    // to a size still read at a glance, until the whole help shows.
    Help->ParentFont(true);
    TFont Font(Help->Font());
    while (Font.Size() > Help_Min_Points && Wrapped_Text_Height(Help->Caption(), Font, Help->Width()) > Help->Height())
        Font.Size(Font.Size() - 1);
    Help->Font().Size(Font.Size());
}

void Main_Form_RPM_Tab::RPM_Tab_Fit_Fonts()
{
    TPanel* Corner = Panel_CFG_Grid_RPM;
    if (!Corner) return;
    TFont Font = Corner->Font();
    Font.Size(Fit_Start_Points);
    const int Room_H = Corner->Height() - Fit_Margin, Room_W = Corner->Width() - Fit_Margin;
    // The largest size whose digits fit the cell's height, then its width.
    while (Font.Size() < Fit_Max_Points && Text_Height(Fit_Caption, Font) < Room_H)
        Font.Size(Font.Size() + 1);
    Font.Size(Font.Size() - 1);
    while (Font.Size() >= Fit_Min_Points && Text_Width(Fit_Caption, Font) > Room_W)
        Font.Size(Font.Size() - 1);
    const int Points = std::max(Font.Size(), 1);
    for (TButton* B : RPM_Col_Buttons) B->Font().Size(Points);
    for (TButton* B : RPM_Row_Buttons) B->Font().Size(Points);
    Grid_RPM->Font().Size(Points);
    Grid_RPM->Canvas()->Font.Size(Points);
    // The cells drawn so far keep the size they were drawn in (the scaled one, after a
    // rescale), while the live cell and its trail are drawn in this one: every cell is
    // drawn again.
    for (int Col = 0; Col < Grid_RPM->ColCount(); ++Col)
        for (int Row = 0; Row < Grid_RPM->RowCount(); ++Row)
            Grid_RPM->Repaint_Cell(Col, Row);
    Font.Size(Points);
    while (Font.Size() >= Caption_Min_Points && Text_Width(Corner_Caption, Font) > Room_W)
        Font.Size(Font.Size() - 1);
    Corner->Font().Size(std::max(Font.Size(), 1));
    Corner->Caption(Corner_Caption);
}

void Main_Form_RPM_Tab::RPM_Tab_Show(bool Show)
{
    // The compact window keeps the table it shows whatever the page does.
    if (!Show && MiniCFG_Open && MiniCFG_View_Type == MiniCFG_View_RPM_Table)
        return;
    TForm_KardunGAS& F = Form();
    F.Timer_CFG_RPM_Tail->Enabled(Show);
    Edit_CFG_Depend->ReadOnly(true);
    for (TControl* C : {static_cast<TControl*>(Panel_CFG_Depend), static_cast<TControl*>(Edit_CFG_Depend),
                        static_cast<TControl*>(Label_CFG_Depend)})
        C->Visible(Show);
    TCheckBox* Box = F.CheckBox_DS_Correction_ON_rpm;
    TLabel* Help = F.Label_DS_Correction_ON_Help;
    if (Show) {
        Box->Visible(Configuration.DS_Correction_ON);
        if (Box->Checked()) {
            Help->Visible(true);
            Label_CFG_Depend->Caption(Language_Text("Detonation"));
        } else {
            RPM_Edit_Text("0");
            Help->Visible(false);
            Label_CFG_Depend->Caption(Language_Text("Label_CFG_Depend"));
        }
    } else {
        Box->Visible(false);
        Help->Visible(false);
    }
    for (TControl* C : {static_cast<TControl*>(Label_CFG_Grid_RPM_Cols), static_cast<TControl*>(Edit_CFG_Grid_RPM_Cols),
                        static_cast<TControl*>(UpDown_CFG_Grid_RPM_Cols), static_cast<TControl*>(Label_CFG_Grid_RPM_Rows),
                        static_cast<TControl*>(Edit_CFG_Grid_RPM_Rows), static_cast<TControl*>(UpDown_CFG_Grid_RPM_Rows)})
        C->Visible(false);
    RPM_Edit_End();
    Label_CFG_Depend->Font().Color(clWindowText);
    // The page may have been scaled while the table was hidden.
    if (Show) {
        RPM_Tab_Layout();
        RPM_Tab_Fit_Fonts();
    }
}

// ---------------------------------------------------------------- texts

rpm_tab::Texts Main_Form_RPM_Tab::RPM_Tab_Texts() const
{
    rpm_tab::Texts T;
    T.Cols = RPM_Grid_Cols;
    T.Rows = RPM_Grid_Rows;
    for (TButton* B : RPM_Col_Buttons) T.Col.push_back(B->Caption());
    for (TButton* B : RPM_Row_Buttons) T.Row.push_back(B->Caption());
    for (int C = 0; C < T.Cols; ++C)
        for (int R = 0; R < T.Rows; ++R) T.Cell.push_back(Grid_RPM->Cells(C, R));
    return T;
}

void Main_Form_RPM_Tab::RPM_Tab_Put_Texts(const rpm_tab::Texts& T)
{
    if (T.Cols != RPM_Grid_Cols || T.Rows != RPM_Grid_Rows) RPM_Tab_Build(T.Cols, T.Rows);
    for (int C = 0; C < T.Cols; ++C) RPM_Col_Buttons[static_cast<size_t>(C)]->Caption(T.Col[static_cast<size_t>(C)]);
    for (int R = 0; R < T.Rows; ++R) RPM_Row_Buttons[static_cast<size_t>(R)]->Caption(T.Row[static_cast<size_t>(R)]);
    for (int C = 0; C < T.Cols; ++C)
        for (int R = 0; R < T.Rows; ++R) Grid_RPM->Cells(C, R, T.At(C, R));
}

// ---------------------------------------------------------------- editing

void Main_Form_RPM_Tab::RPM_Edit_Mode_Set(RPM_Edit_Mode Mode)
{
    RPM_Edit = Mode;
    // The window's keyboard map stays off while a header or cells are edited.
    Form().RPM_Tab_Edit_Mode = Mode != RPM_Edit_Mode::None;
}

void Main_Form_RPM_Tab::RPM_Edit_Text(const std::string& Text)
{
    Setting_Edit_Text = true;
    Edit_CFG_Depend->Text(Text);
    Setting_Edit_Text = false;
}

void Main_Form_RPM_Tab::RPM_Edit_End()
{
    for (TButton* B : RPM_Col_Buttons) B->Down(false);
    for (TButton* B : RPM_Row_Buttons) B->Down(false);
    RPM_Edit_Mode_Set(RPM_Edit_Mode::None);
    Edit_CFG_Depend->ReadOnly(true);
}

void Main_Form_RPM_Tab::RPM_Header_Click(bool Column, int N)
{
    const std::vector<TButton*>& Buttons = Column ? RPM_Col_Buttons : RPM_Row_Buttons;
    TButton* B = Buttons[static_cast<size_t>(N - 1)];
    if (!B->Down()) {
        RPM_Edit_Mode_Set(RPM_Edit_Mode::None);
        Edit_CFG_Depend->ReadOnly(true);
        if (Grid_RPM->CanFocus()) Grid_RPM->SetFocus();
        return;
    }
    const rpm_tab::Texts T = RPM_Tab_Texts();
    const int Count = Column ? T.Cols : T.Rows;
    const int Step = Column ? Col_Step : Row_Step_cV;
    auto Value = [&](int I) { return Column ? rpm_tab::Col_RPM(T, I) : rpm_tab::Row_cV(T, I); };
    const std::vector<int>& Defaults = Column ? rpm_tab::Default_Col_RPM(Count) : rpm_tab::Default_Row_Tenths(Count);
    auto Default_At = [&](int I) { return Column ? Defaults[static_cast<size_t>(I)] : Defaults[static_cast<size_t>(I)] * 10; };
    // A bound from a neighbour stays above 0: else it is the neighbour's own value.
    auto Above = [&](int I) { return Value(I) - Step >= 1 ? Value(I) - Step : Value(I); };
    auto Below = [&](int I) { return Value(I) + Step; };
    const int I = N - 1;
    const int Low = I == 0 ? Default_At(0) : Below(I - 1);
    const int High = I == Count - 1 ? Default_At(Count - 1) : Above(I + 1);
    RPM_Edit_Mode_Set(Column ? RPM_Edit_Mode::Column : RPM_Edit_Mode::Row);
    RPM_Edit_Header = N;
    // Rows: bounds in 0.01 V shown with one decimal.
    auto Text_Of = [&](int V) { return Column ? rpm_tab::RPM_Text(V) : Scaled_Text(V / 10, 1); };
    RPM_Edit_Low = Text_Of(Low);
    RPM_Edit_High = Text_Of(High);
    Label_CFG_Depend->Font().Color(Column ? RPM_Colour_Col_Edit : RPM_Colour_Row_Edit);
    Label_CFG_Depend->Caption(RPM_Edit_Low + " .. " + RPM_Edit_High);
    RPM_Edit_Text(B->Caption());
    Edit_CFG_Depend->ReadOnly(false);
    if (Edit_CFG_Depend->CanFocus()) Edit_CFG_Depend->SetFocus();
}

void Main_Form_RPM_Tab::RPM_Cell_Edit_Start(bool Copy_First_Cell)
{
    RPM_Edit_Selection = Grid_RPM->Selection();
    RPM_Edit_Low = rpm_tab::Factor_Text(rpm_tab::Cell_Min_Hundredths);
    RPM_Edit_High = rpm_tab::Factor_Text(rpm_tab::Cell_Max_Hundredths);
    Label_CFG_Depend->Font().Color(RPM_Colour_Cell_Edit);
    Label_CFG_Depend->Caption(RPM_Edit_Low + " .. " + RPM_Edit_High);
    for (TButton* B : RPM_Col_Buttons) B->Down(false);
    for (TButton* B : RPM_Row_Buttons) B->Down(false);
    RPM_Edit_Mode_Set(RPM_Edit_Mode::Cell);
    if (Copy_First_Cell) RPM_Edit_Text(Trim(Grid_RPM->Cells(RPM_Edit_Selection.Left, RPM_Edit_Selection.Top)));
    Edit_CFG_Depend->ReadOnly(false);
    if (Edit_CFG_Depend->CanFocus()) Edit_CFG_Depend->SetFocus();
}

void Main_Form_RPM_Tab::Edit_CFG_DependChange(TObject*)
{
    if (Setting_Edit_Text || RPM_Edit == RPM_Edit_Mode::None) return;
    // What the user typed must be a number of the mode's decimals; else the text before
    // the key comes back.
    if (!rpm_tab::Is_Fixed_Text(Edit_CFG_Depend->Text(), Mode_Decimals(RPM_Edit))) RPM_Edit_Text(RPM_Edit_Saved);
}

void Main_Form_RPM_Tab::RPM_Tab_Apply_Edit()
{
    const int Decimals = Mode_Decimals(RPM_Edit);
    int Value = 0, Low = 0, High = 0;
    if (RPM_Edit == RPM_Edit_Mode::None || !Scaled(Edit_CFG_Depend->Text(), Decimals, Value) ||
        !Scaled(RPM_Edit_Low, Decimals, Low) || !Scaled(RPM_Edit_High, Decimals, High))
        return;
    Value = std::clamp(Value, std::min(Low, High), std::max(Low, High));
    switch (RPM_Edit) {
    case RPM_Edit_Mode::Column: {
        Value = Value / Col_Step * Col_Step;
        const std::string Text = rpm_tab::RPM_Text(Value);
        RPM_Edit_Text(Text);
        RPM_Col_Buttons[static_cast<size_t>(RPM_Edit_Header - 1)]->Caption(Text);
        break;
    }
    case RPM_Edit_Mode::Row: {
        const std::string Text = Scaled_Text(Value, 1);
        RPM_Edit_Text(Text);
        RPM_Row_Buttons[static_cast<size_t>(RPM_Edit_Header - 1)]->Caption(Text);
        break;
    }
    case RPM_Edit_Mode::Cell: {
        const std::string Text = Scaled_Text(Value, 2);
        const TRect S = RPM_Edit_Selection;
        for (int C = S.Left; C <= S.Right; ++C)
            for (int R = S.Top; R <= S.Bottom; ++R) Grid_RPM->Cells(C, R, Text);
        break;
    }
    case RPM_Edit_Mode::None: break;
    }
    RPM_Tab_Changed();
}

void Main_Form_RPM_Tab::RPM_Tab_Changed()
{
    // With send-now on, the table goes out 700 ms after the last edit by the page's
    // send-now timers; else it goes with the next Transmitt, whose write compares the
    // table with the image last written (condition 209).
    Form().CFG_Parameter_Changed(RPM_Tab_Request_Code);
}

void Main_Form_RPM_Tab::RPM_Edit_Step(int Direction)
{
    const int Decimals = Mode_Decimals(RPM_Edit);
    const int Step = RPM_Edit == RPM_Edit_Mode::Column ? Col_Step
                     : RPM_Edit == RPM_Edit_Mode::Row  ? Row_Step_cV / 10
                                                       : Cell_Step_Hundredths;
    int Value = 0;
    if (RPM_Edit == RPM_Edit_Mode::None || !Scaled(Edit_CFG_Depend->Text(), Decimals, Value)) return;
    RPM_Edit_Text(Scaled_Text(Value + Direction * Step, Decimals));
    RPM_Tab_Apply_Edit();
}

void Main_Form_RPM_Tab::Edit_CFG_DependKeyDown(TObject*, uint16_t& Key, TShiftState)
{
    RPM_Edit_Saved = Edit_CFG_Depend->Text();
    switch (Key) {
    case VK_RETURN:
    case VK_ESCAPE: {
        if (RPM_Edit == RPM_Edit_Mode::None) return;
        if (Key == VK_RETURN) RPM_Tab_Apply_Edit();
        RPM_Cell_Edit_Start(true);
        if (Grid_RPM->CanFocus()) Grid_RPM->SetFocus();
        Key = 0;
        break;
    }
    case VK_UP:
    case VK_DOWN:
        if (RPM_Edit == RPM_Edit_Mode::None) return;
        RPM_Edit_Step(Key == VK_UP ? 1 : -1);
        Key = 0;
        break;
    case 'F': {
        TForm_KardunGAS& F = Form();
        F.WindowState(F.WindowState() == TWindow_State::Maximized ? TWindow_State::Normal : TWindow_State::Maximized);
        Key = 0;
        break;
    }
    default: break;
    }
}

void Main_Form_RPM_Tab::Grid_RPMKeyDown(TObject*, uint16_t& Key, TShiftState)
{
    TForm_KardunGAS& F = Form();
    // The page keys work here even while the window's map is off for an edit.
    if (F.Page_Key(Key)) {
        Key = 0;
    } else if (Key == VK_F10) {
        // As from the window's map: it closes, and the shutdown runs once as it goes.
        Key = 0;
        F.Close();
    } else if (Key == VK_RETURN) {
        RPM_Cell_Edit_Start(true);
        Key = 0;
    } else if (Key == 'F') {
        F.WindowState(F.WindowState() == TWindow_State::Maximized ? TWindow_State::Normal : TWindow_State::Maximized);
        Key = 0;
    }
}

// ---------------------------------------------------------------- colours and live cell

bool Main_Form_RPM_Tab::RPM_Live_Gas() const { return Work_Mode == Work_Mode_Gas; }

TColor Main_Form_RPM_Tab::RPM_Live_Colour() const
{
    return RPM_Live_Gas() ? RPM_Colour_Live_Gas : RPM_Colour_Live_Petrol;
}

TColor Main_Form_RPM_Tab::RPM_Cell_Colour(int Col, int Row) const
{
    const TRect S = Grid_RPM->Selection();
    if (Col >= S.Left && Col <= S.Right && Row >= S.Top && Row <= S.Bottom) return RPM_Colour_Selected;
    int Value = 0;
    if (!rpm_tab::Cell_Value(Grid_RPM->Cells(Col, Row), Value) || Value == 10000) return clWhite;
    return Value > 10000 ? RPM_Colour_Above : RPM_Colour_Below;
}

void Main_Form_RPM_Tab::RPM_Cell_Paint(int Col, int Row, TColor Colour)
{
    const TRect Box = Grid_RPM->CellRect(Col, Row);
    if (Box.Width() <= 0 || Box.Height() <= 0) return;
    TCanvas* C = Grid_RPM->Canvas();
    C->Brush.Style = TBrush_Style::Solid;
    C->Brush.Color = Colour;
    C->FillRect(TRect{Box.Left + 1, Box.Top + 1, Box.Right - 1, Box.Bottom - 1});
    C->Brush.Style = TBrush_Style::Clear;
    C->Font.Color(clBlack);
    C->Text_Centered(Box, Grid_RPM->Cells(Col, Row));
    C->Brush.Style = TBrush_Style::Solid;
}

void Main_Form_RPM_Tab::Grid_RPMDrawCell(TObject*, int Col, int Row, TRect, TGrid_Draw_State)
{
    const bool Live = Col + 1 == RPM_Live_Col && Row + 1 == RPM_Live_Row;
    RPM_Cell_Paint(Col, Row, Live ? RPM_Live_Colour() : RPM_Cell_Colour(Col, Row));
}

void Main_Form_RPM_Tab::RPM_Tab_Live_Cell()
{
    if (RPM_Live_Col > 0 && RPM_Live_Row > 0) {
        const TColor Trail = RPM_Live_Gas() ? RPM_Colour_Trail_Gas : RPM_Colour_Trail_Petrol;
        for (int I = 0; I < RPM_Trail_Count; ++I) {
            const auto [C, R] = RPM_Trail[static_cast<size_t>(I)];
            if (C > 0 && R > 0) RPM_Cell_Paint(C - 1, R - 1, Trail);
        }
        RPM_Cell_Paint(RPM_Live_Col - 1, RPM_Live_Row - 1, RPM_Cell_Colour(RPM_Live_Col - 1, RPM_Live_Row - 1));
    }
    const rpm_tab::Texts T = RPM_Tab_Texts();
    const int Col = rpm_tab::Live_Col(T, Live_Values.Live_RPM);
    const int Row = rpm_tab::Live_Row(T, Live_Values.Live_TPS);
    if (Col > 0 && Row > 0) {
        RPM_Live_Col = Col;
        RPM_Live_Row = Row;
        RPM_Cell_Paint(Col - 1, Row - 1, RPM_Live_Colour());
        RPM_Trail_Push(Col, Row);
    } else {
        RPM_Live_Col = RPM_Live_Row = 0;
        RPM_Trail_Push(0, 0);
    }
}

void Main_Form_RPM_Tab::RPM_Trail_Push(int Col, int Row)
{
    const std::pair<int, int> Cell{Col, Row};
    if (RPM_Trail_Count > 0 && RPM_Trail[static_cast<size_t>(RPM_Trail_Count - 1)] == Cell) return;
    if (RPM_Trail_Count < RPM_Trail_Size) {
        ++RPM_Trail_Count;
    } else {
        const std::pair<int, int> Dropped = RPM_Trail[0];
        std::move(RPM_Trail.begin() + 1, RPM_Trail.end(), RPM_Trail.begin());
        // The oldest cell leaves the trail: it shows its own colour again unless the trail
        // or the live cell still holds it.
        const bool Still_Held = Dropped == Cell ||
                                std::find(RPM_Trail.begin(), RPM_Trail.end() - 1, Dropped) != RPM_Trail.end() - 1;
        if (Dropped.first > 0 && Dropped.second > 0 && !Still_Held)
            RPM_Cell_Paint(Dropped.first - 1, Dropped.second - 1, RPM_Cell_Colour(Dropped.first - 1, Dropped.second - 1));
    }
    RPM_Trail[static_cast<size_t>(RPM_Trail_Count - 1)] = Cell;
}

void Main_Form_RPM_Tab::Timer_CFG_RPM_TailTimer(TObject*)
{
    // The oldest cell of the trail (never the newest of a full trail) fades.
    for (int I = 0; I < RPM_Trail_Size - 1; ++I) {
        auto& [C, R] = RPM_Trail[static_cast<size_t>(I)];
        if (C > 0 && R > 0) {
            RPM_Cell_Paint(C - 1, R - 1, RPM_Cell_Colour(C - 1, R - 1));
            C = R = 0;
            return;
        }
    }
}

// ---------------------------------------------------------------- dialogue

bool Main_Form_RPM_Tab::RPM_Tab_Encode()
{
    const rpm_tab::Texts T = RPM_Tab_Texts();
    const std::vector<uint8_t> Image = rpm_tab::Encode(T, Configuration.RPM_Source, RPM_Tab_Held);
    const size_t Length = std::min(Image.size(), RPM_Tab_Image_Size);
    // The size frame sends the size of the image that follows it.
    RPM_Tab_Cols = static_cast<uint8_t>(T.Cols);
    RPM_Tab_Rows = static_cast<uint8_t>(T.Rows);
    const bool Changed = RPM_Tab_Image_Length != Length || std::memcmp(RPM_Tab_Image, Image.data(), Length) != 0;
    std::memcpy(RPM_Tab_Image, Image.data(), Length);
    RPM_Tab_Image_Length = static_cast<uint16_t>(Length);
    RPM_Tab_Position = 0;
    return Changed;
}

void Main_Form_RPM_Tab::RPM_Tab_Hold_Image()
{
    const size_t Length = static_cast<size_t>(rpm_tab::Image_Length(RPM_Tab_Cols, RPM_Tab_Rows));
    RPM_Tab_Held.assign(RPM_Tab_Image, RPM_Tab_Image + std::min(Length, RPM_Tab_Image_Size));
}

void Main_Form_RPM_Tab::RPM_Tab_From_Image()
{
    rpm_tab::Texts T;
    if (!rpm_tab::Decode(RPM_Tab_Image, RPM_Tab_Image_Size, RPM_Tab_Cols, RPM_Tab_Rows, Configuration.RPM_Source, T))
        return;
    RPM_Tab_Hold_Image();
    RPM_Tab_Put_Texts(T);
    // The controller holds this table now: a write sends it only after it is edited.
    RPM_Tab_Encode();
}

void Main_Form_RPM_Tab::RPM_Tab_Cells_From_Image()
{
    // The controller adapts its table under detonation correction: a table that came back
    // changed is for the car file (saved at the next live read), one without news is not.
    if (RPM_Tab_Cols != RPM_Grid_Cols || RPM_Tab_Rows != RPM_Grid_Rows) {
        RPM_Tab_From_Image();
        New_Frame = true;
    } else {
        rpm_tab::Texts T = RPM_Tab_Texts();
        RPM_Tab_Hold_Image();
        if (rpm_tab::Decode_Cells(RPM_Tab_Image, RPM_Tab_Image_Size, T))
            for (int C = 0; C < T.Cols; ++C)
                for (int R = 0; R < T.Rows; ++R)
                    if (Grid_RPM->Cells(C, R) != T.At(C, R)) {
                        Grid_RPM->Cells(C, R, T.At(C, R));
                        New_Frame = true;
                    }
        // The image stays as read: an edit of the page made meanwhile is not taken for
        // the controller's, so the next table write sends it.
    }
    RPM_Edit_Text(Format_Fixed(Live_Values.Live_Detonation / 100.0, 10, 2) + " Volt");
    Label_CFG_Depend->Caption(Language_Text("Detonation"));
}

bool RPM_Tab_Check_Size()
{
    RPM_Tab_Cols = RX_Frame[2];
    RPM_Tab_Rows = RX_Frame[3];
    if (rpm_tab::Size_Valid(RPM_Tab_Cols, RPM_Tab_Rows)) return true;
    // A table the program cannot hold: the default one takes its place and is written
    // (what was held before no longer stands for the controller's table).
    RPM_Tab_Cols = rpm_tab::Max_Cols;
    RPM_Tab_Rows = rpm_tab::Max_Rows;
    std::memset(RPM_Tab_Image, 0, RPM_Tab_Image_Size);
    RPM_Tab_Image_Length = 0;
    if (Form_KardunGAS) Form_KardunGAS->RPM_Tab_Default();
    Show_Message(Message_Type::Language_Key_Countdown, "Error_RPM_Tab_Cells", clRed);
    return false;
}

// ---------------------------------------------------------------- configuration file

void Main_Form_RPM_Tab::RPM_Tab_Write_CFG()
{
    if (RPM_Grid_Cols <= 0 || RPM_Grid_Rows <= 0) return;
    const rpm_tab::Texts T = RPM_Tab_Texts();
    Key_File_Set("Cols_Number", std::to_string(T.Cols), "");
    Key_File_Set("Rows_Number", std::to_string(T.Rows), "");
    for (int C = 0; C < T.Cols; ++C) Key_File_Set("Cols_" + std::to_string(C + 1), T.Col[static_cast<size_t>(C)], "");
    for (int R = 0; R < T.Rows; ++R) Key_File_Set("Rows_" + std::to_string(R + 1), T.Row[static_cast<size_t>(R)], "");
    for (int C = 0; C < T.Cols; ++C)
        for (int R = 0; R < T.Rows; ++R)
            Key_File_Set("Cell_" + std::to_string(C) + "_" + std::to_string(R), T.At(C, R), "");
}

void Main_Form_RPM_Tab::RPM_Tab_Read_CFG()
{
    // The file's size when it names a valid one, else the largest table.
    int32_t Cols = 0, Rows = 0;
    const bool Sized = Key_File_Find("Cols_Number") && Key_File_Text_To_Int(Key_Value, Cols) &&
                       Key_File_Find("Rows_Number") && Key_File_Text_To_Int(Key_Value, Rows) &&
                       rpm_tab::Size_Valid(Cols, Rows);
    if (!Sized) {
        Cols = rpm_tab::Max_Cols;
        Rows = rpm_tab::Max_Rows;
    }
    rpm_tab::Texts T = rpm_tab::Default_Texts(Cols, Rows);
    for (int C = 0; C < Cols; ++C)
        if (Key_File_Find("Cols_" + std::to_string(C + 1))) T.Col[static_cast<size_t>(C)] = Key_Value;
    for (int R = 0; R < Rows; ++R)
        if (Key_File_Find("Rows_" + std::to_string(R + 1))) T.Row[static_cast<size_t>(R)] = Key_Value;
    for (int C = 0; C < Cols; ++C)
        for (int R = 0; R < Rows; ++R)
            if (Key_File_Find("Cell_" + std::to_string(C) + "_" + std::to_string(R))) T.At(C, R) = Key_Value;
    if (!rpm_tab::Texts_Valid(T)) {
        // A table that would reach the controller wrong is not taken at all.
        T = rpm_tab::Default_Texts(Cols, Rows);
        Show_Message(Message_Type::Language_Key_Countdown, "Error_RPM_Tab_Cells", clRed);
    }
    RPM_Tab_Cols = static_cast<uint8_t>(Cols);
    RPM_Tab_Rows = static_cast<uint8_t>(Rows);
    RPM_Tab_Put_Texts(T);
}
