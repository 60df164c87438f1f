// Calibration page: the chart image, the curve and grid boxes, the value boxes, the live
// values beside the chart and the transfer and file buttons.
#include "main/Main_Form_Calibration.h"

#include <algorithm>
#include <utility>

#include "data/Calibration.h"
#include "data/Conversions.h"
#include "data/GD_Options.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "main/Read_Guard.h"
#include "windows/Form_Build.h"
#include "protocol/CFG_File.h"
#include "protocol/CLB_Codec.h"
#include "protocol/Live_Data.h"
#include "protocol/Script.h"
#include "protocol/Request_Codes.h"

namespace {

// The chart image as the window describes it, and the scale bands around its plot.
constexpr int Image_CLB_Width = 545;
constexpr int Image_CLB_Height = 361;
constexpr int Plot_Margin_X = 60;   // 30 pixels left and right
constexpr int Plot_Margin_Y = 40;   // 20 pixels above and below

// Groups of the diagram boxes: the gas and TPS curves share one scale; RPM and VAC each
// have their own and are shown alone.
constexpr int Group_Input = 0;
constexpr int Group_RPM = 1;
constexpr int Group_VAC = 2;

// Curve colours of the diagram labels.
constexpr TColor Colour_Gas = clRed;
constexpr TColor Colour_RPM = clBlue;
constexpr TColor Colour_TPS_1 = clPurple;
constexpr TColor Colour_TPS_2 = clMaroon;
constexpr TColor Colour_TPS_3 = clNavy;
constexpr TColor Colour_VAC = clTeal;

// Live value rows beside the chart.
// Row heights in pixels: one line of caption, and a caption with its unit on a second line.
constexpr int Live_Row_Height = 21;
constexpr int Live_Row_Height_Two_Lines = 32;
constexpr int Live_Digit_Size = 12;
constexpr int Live_Caption_Size = 9;

}  // namespace

void Main_Form_Calibration::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_Calibration = build::Sheet(Owner, Pages, "TabSheet_Calibration", "Calibration");
}

void Main_Form_Calibration::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* S = TabSheet_Calibration;
    // File and transfer buttons along the top.
    struct Button_Row {
        TButton** Button;
        const char* Name;
        const char* Caption;
    };
    const Button_Row Buttons[] = {
        {&Button_CLB_Default, "Button_CLB_Default", "Default"},
        {&Button_CLB_Load, "Button_CLB_Load", "Load"},
        {&Button_CLB_Save, "Button_CLB_Save", "Save"},
        {&Button_CLB_Receiv, "Button_CLB_Receiv", "Receive"},
        {&Button_CLB_Transmitt, "Button_CLB_Transmitt", "Transmit"},
    };
    int Left = 6;
    for (const Button_Row& B : Buttons) {
        *B.Button = build::Button(Owner, S, B.Name, B.Caption, Left, 4, 90, 25);
        Left += 96;
    }
    Button_CLB_Default->OnClick = [this](TObject* Sender) {
        if (!Read_In_Progress())
            Button_CLB_DefaultClick(Sender);
    };
    Button_CLB_Receiv->OnClick = [this](TObject* Sender) { Button_CLB_ReceivClick(Sender); };

    Image_CLB = build::Make<TImage>(Owner, S, "Image_CLB", 6, 34, Image_CLB_Width, Image_CLB_Height);
    // The chart keeps its own size and is stretched over the image when the window grows.
    Image_CLB->Stretch(true);
    Image_CLB->OnMouseDown = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        Image_CLBMouseDown(Button, X, Y);
    };
    Image_CLB->OnMouseMove = [this](TObject*, TShiftState, int X, int Y) { Image_CLBMouseMove(X, Y); };
    Image_CLB->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Image_CLBMouseUp(); };

    // The curve boxes in two rows under the chart: gas and TPS, then RPM, VAC and the grid.
    struct Diagram_Row {
        TCheckBox** Box;
        const char* Box_Name;
        TLabel** Label;
        const char* Label_Name;
        const char* Caption;
        TLabel** Data;   // the curve's live value, or none
        const char* Data_Name;
        int Left, Top;
    };
    const int Row_1 = 400, Row_2 = 422;
    const Diagram_Row Diagrams[] = {
        {&CheckBox_CLB_Diagram_Gas, "CheckBox_CLB_Diagram_Gas", &Label_CLB_Diagram_Gas,
         "Label_CLB_Diagram_Gas", "Gas", nullptr, "", 6, Row_1},
        {&CheckBox_CLB_Diagram_TPS_1, "CheckBox_CLB_Diagram_TPS_1", &Label_CLB_Diagram_TPS_1,
         "Label_CLB_Diagram_TPS_1", "TPS 1", &Label_CLB_Diagram_TPS_1_Data, "Label_CLB_Diagram_TPS_1_Data", 100, Row_1},
        {&CheckBox_CLB_Diagram_TPS_2, "CheckBox_CLB_Diagram_TPS_2", &Label_CLB_Diagram_TPS_2,
         "Label_CLB_Diagram_TPS_2", "TPS 2", &Label_CLB_Diagram_TPS_2_Data, "Label_CLB_Diagram_TPS_2_Data", 250, Row_1},
        {&CheckBox_CLB_Diagram_TPS_3, "CheckBox_CLB_Diagram_TPS_3", &Label_CLB_Diagram_TPS_3,
         "Label_CLB_Diagram_TPS_3", "TPS 3", &Label_CLB_Diagram_TPS_3_Data, "Label_CLB_Diagram_TPS_3_Data", 400, Row_1},
        {&CheckBox_CLB_Diagram_RPM, "CheckBox_CLB_Diagram_RPM", &Label_CLB_Diagram_RPM,
         "Label_CLB_Diagram_RPM", "R.P.M. factor", &Label_CLB_Diagram_RPM_Data, "Label_CLB_Diagram_RPM_Data", 6, Row_2},
        {&CheckBox_CLB_Diagram_VAC, "CheckBox_CLB_Diagram_VAC", &Label_CLB_Diagram_VAC,
         "Label_CLB_Diagram_VAC", "VAC factor", &Label_CLB_Diagram_VAC_Data, "Label_CLB_Diagram_VAC_Data", 176, Row_2},
    };
    for (const Diagram_Row& D : Diagrams) {
        *D.Box = build::Check(Owner, S, D.Box_Name, *D.Label, D.Label_Name, D.Caption, D.Left, D.Top);
        if (D.Data)
            *D.Data = build::Label(Owner, S, D.Data_Name, "", D.Left + 104, D.Top + 1);
        TCheckBox* Box = *D.Box;
        (*D.Label)->OnClick = [Box](TObject*) { Box->Checked(!Box->Checked()); };
    }
    CheckBox_CLB_Grid = build::Check(Owner, S, "CheckBox_CLB_Grid", Label_CLB_Grid, "Label_CLB_Grid", "Grid", 400, Row_2);
    Label_CLB_Grid->OnClick = [this](TObject*) { CheckBox_CLB_Grid->Checked(!CheckBox_CLB_Grid->Checked()); };
    // The VAC curve is usable on models with the VAC input only (the identification
    // enables it).
    CheckBox_CLB_Diagram_VAC->Enabled(false);
    Label_CLB_Diagram_VAC->Enabled(false);
    Label_CLB_Diagram_VAC_Data->Enabled(false);

    // Live values beside the chart: a caption and right-aligned digits on each row, with
    // the temperature and pressure headers between.
    Panel_CLB_Live = build::Panel(Owner, S, "Panel_CLB_Live", "", 558, 34, 212, 296);
    Panel_CLB_Live->BevelOuter(TBevel_Cut::Lowered);
    Panel_CLB_Live->Color(clWhite);
    struct Live_Row {
        TLabel** Caption;
        const char* Caption_Name;
        const char* Caption_Text;
        TLabel** Digits;   // none for a header
        const char* Digits_Name;
        int Lines = 1;     // the caption's lines (a unit on a line of its own)
    };
    const Live_Row Rows[] = {
        {&Label_CLB_RPM, "Label_CLB_RPM", "R.P.M.", &Label_CLB_RPM_Dig, "Label_CLB_RPM_Dig", 2},
        {&Label_CLB_TPS, "Label_CLB_TPS", "TPS, v", &Label_CLB_TPS_Dig, "Label_CLB_TPS_Dig", 2},
        {&Label_CLB_Gas, "Label_CLB_Gas", "Gas time, ms", &Label_CLB_Gas_Dig, "Label_CLB_Gas_Dig", 2},
        {&Label_CLB_Temperature, "Label_CLB_Temperature", "Temperature, \xB0" "C", nullptr, ""},
        {&Label_CLB_TempVap, "Label_CLB_TempVap", "Vaporizer", &Label_CLB_TempVap_Dig, "Label_CLB_TempVap_Dig"},
        {&Label_CLB_TempGas, "Label_CLB_TempGas", "Gas", &Label_CLB_TempGas_Dig, "Label_CLB_TempGas_Dig"},
        {&Label_CLB_TempCouple, "Label_CLB_TempCouple", "Exhaust", &Label_CLB_TempCouple_Dig, "Label_CLB_TempCouple_Dig"},
        {&Label_CLB_Pressure, "Label_CLB_Pressure", "Pressure, bar", nullptr, ""},
        {&Label_CLB_PressVap, "Label_CLB_PressVap", "Vaporizer", &Label_CLB_PressVap_Dig, "Label_CLB_PressVap_Dig"},
        {&Label_CLB_PressColl, "Label_CLB_PressColl", "Manifold", &Label_CLB_PressColl_Dig, "Label_CLB_PressColl_Dig"},
        {&Label_CLB_PressDiff, "Label_CLB_PressDiff", "Difference", &Label_CLB_PressDiff_Dig, "Label_CLB_PressDiff_Dig"},
        {&Label_CLB_Detonation, "Label_CLB_Detonation", "Detonation, v", &Label_CLB_Detonation_Dig, "Label_CLB_Detonation_Dig"},
    };
    int Top = 4;
    for (const Live_Row& R : Rows) {
        const bool Header = R.Digits == nullptr;
        const int Height = R.Lines == 1 ? Live_Row_Height : Live_Row_Height_Two_Lines;
        *R.Caption = build::Label(Owner, Panel_CLB_Live, R.Caption_Name, R.Caption_Text, Header ? 6 : 12,
                                  Top + (R.Lines == 1 ? 3 : 1));
        (*R.Caption)->Font().Size(Live_Caption_Size);
        if (Header)
            (*R.Caption)->Font().Style(fsBold);
        if (!Header) {
            TLabel* D = build::Label(Owner, Panel_CLB_Live, R.Digits_Name, "0", 110, Top);
            D->AutoSize(false);
            D->SetBounds(110, Top, Panel_CLB_Live->Width() - 120, Height);
            D->Alignment(TAlignment::Right_Justify);
            D->Layout(TText_Layout::Center);
            D->Font().Size(Live_Digit_Size);
            D->Font().Style(fsBold);
            *R.Digits = D;
        }
        Top += Height;
    }

    // Value boxes: a row each for the input, the gas time and the output, under the
    // columns of the cursor's place and of the point being edited.
    GroupBox_CLB_Point = build::Group(Owner, S, "GroupBox_CLB_Point", "Values", 558, 334, 212, 108);
    TControl* G = GroupBox_CLB_Point;
    constexpr int Cursor_Column = 108, Point_Column = 158, First_Row = 32, Row_Step = 24;
    Label_CLB_Cursor = build::Label(Owner, G, "Label_CLB_Cursor", "Cursor", Cursor_Column, 14);
    Label_CLB_Selected = build::Label(Owner, G, "Label_CLB_Selected", "Point", Point_Column, 14);
    Label_CLB_Point_Num = build::Label(Owner, G, "Label_CLB_Point_Num", "", Point_Column + 36, 14);
    Label_CLB_Point_Num->Font().Style(fsBold);
    Label_CLB_InVolt_Point = build::Label(Owner, G, "Label_CLB_InVolt_Point", "Input, v", 4, First_Row + 3);
    Label_CLB_Gas_Point = build::Label(Owner, G, "Label_CLB_Gas_Point", "Gas, ms", 4, First_Row + Row_Step + 3);
    Label_CLB_OutVolt_Point =
        build::Label(Owner, G, "Label_CLB_OutVolt_Point", "Output, v", 4, First_Row + 2 * Row_Step + 3);
    struct Value_Box {
        TEdit** Edit;
        const char* Name;
        int Left, Top;
    };
    const Value_Box Boxes[] = {
        {&Edit_x_pos_InVolt, "Edit_x_pos_InVolt", Cursor_Column, First_Row},
        {&Edit_y_pos_Gas, "Edit_y_pos_Gas", Cursor_Column, First_Row + Row_Step},
        {&Edit_y_pos_OutVolt, "Edit_y_pos_OutVolt", Cursor_Column, First_Row + 2 * Row_Step},
        {&Edit_CLB_InVolt, "Edit_CLB_InVolt", Point_Column, First_Row},
        {&Edit_CLB_Gas, "Edit_CLB_Gas", Point_Column, First_Row + Row_Step},
        {&Edit_CLB_OutVolt, "Edit_CLB_OutVolt", Point_Column, First_Row + 2 * Row_Step},
    };
    for (const Value_Box& V : Boxes) {
        TEdit* E = build::Make<TEdit>(Owner, G, V.Name, V.Left, V.Top, 48, 22);
        E->ReadOnly(true);
        E->Text("0");
        // Display only: a click hands the focus back to the page.
        E->OnClick = [this](TObject*) { TabSheet_Calibration->SetFocus(); };
        *V.Edit = E;
    }
}

std::vector<TControl*> Main_Form_Calibration::Part_Value_Labels() const
{
    return {Label_CLB_Point_Num,        Label_CLB_Diagram_TPS_1_Data, Label_CLB_Diagram_TPS_2_Data,
            Label_CLB_Diagram_TPS_3_Data, Label_CLB_Diagram_RPM_Data, Label_CLB_Diagram_VAC_Data,
            Label_CLB_RPM_Dig,          Label_CLB_TPS_Dig,            Label_CLB_Gas_Dig,
            Label_CLB_TempVap_Dig,      Label_CLB_TempGas_Dig,        Label_CLB_TempCouple_Dig,
            Label_CLB_PressVap_Dig,     Label_CLB_PressColl_Dig,      Label_CLB_PressDiff_Dig,
            Label_CLB_Detonation_Dig};
}

std::vector<Main_Form_Calibration::Diagram_Box> Main_Form_Calibration::Diagram_Boxes() const
{
    Settings_Class& S = Settings;
    return {
        {CheckBox_CLB_Diagram_Gas, Label_CLB_Diagram_Gas, nullptr, &S.CLB_Diagram_GAS, Group_Input},
        {CheckBox_CLB_Diagram_TPS_1, Label_CLB_Diagram_TPS_1, Label_CLB_Diagram_TPS_1_Data, &S.CLB_Diagram_TPS_1,
         Group_Input},
        {CheckBox_CLB_Diagram_TPS_2, Label_CLB_Diagram_TPS_2, Label_CLB_Diagram_TPS_2_Data, &S.CLB_Diagram_TPS_2,
         Group_Input},
        {CheckBox_CLB_Diagram_TPS_3, Label_CLB_Diagram_TPS_3, Label_CLB_Diagram_TPS_3_Data, &S.CLB_Diagram_TPS_3,
         Group_Input},
        {CheckBox_CLB_Diagram_RPM, Label_CLB_Diagram_RPM, Label_CLB_Diagram_RPM_Data, &S.CLB_Diagram_RPM, Group_RPM},
        {CheckBox_CLB_Diagram_VAC, Label_CLB_Diagram_VAC, Label_CLB_Diagram_VAC_Data, &S.CLB_Diagram_VAC, Group_VAC},
    };
}

void Main_Form_Calibration::Bind_Part(TForm_KardunGAS& Form)
{
    // New curves from the controller or from a file are drawn at once.
    Part_Hooks.Bind("CLB_Codec_Hooks.Draw_Calibration", CLB_Codec_Hooks.Draw_Calibration,
                    [this] { Draw_Calibration_Chart(); });
    Part_Hooks.Bind("CFG_File_Hooks.Draw_Calibration", CFG_File_Hooks.Draw_Calibration,
                    [this] { Draw_Calibration_Chart(); });
}

void Main_Form_Calibration::Calibration_Page_Init()
{
    // The curves themselves were set with the record: every curve its default, then the
    // settings' file over them.
    Gas_Full_Scale = CLB_Gas_Out_Max;
    CLB_Label_Offset = 12;
    CLB_Image_Width = Image_CLB->Width();
    CLB_Image_Height = Image_CLB->Height();
    CLB_Plot_Width = std::max(0, CLB_Image_Width - Plot_Margin_X);
    CLB_Plot_Height = std::max(0, CLB_Image_Height - Plot_Margin_Y);
    CLB_Selection_Clear();
    CLB_Anchor_Clear();
    Calibration_Boxes_From_Settings();
    for (const Diagram_Box& D : Diagram_Boxes())
        D.Box->OnClick = [this, Box = D.Box](TObject*) { CheckBox_CLB_DiagramClick(Box); };
    CheckBox_CLB_Grid->OnClick = [this](TObject* Sender) { CheckBox_CLB_GridClick(Sender); };
    Draw_Calibration_Chart();
    // Each curve's label (and live value) in the curve's colour.
    const std::pair<TLabel*, TColor> Colours[] = {
        {Label_CLB_Diagram_Gas, Colour_Gas},          {Label_CLB_Diagram_RPM, Colour_RPM},
        {Label_CLB_Diagram_RPM_Data, Colour_RPM},     {Label_CLB_Diagram_TPS_1, Colour_TPS_1},
        {Label_CLB_Diagram_TPS_1_Data, Colour_TPS_1}, {Label_CLB_Diagram_TPS_2, Colour_TPS_2},
        {Label_CLB_Diagram_TPS_2_Data, Colour_TPS_2}, {Label_CLB_Diagram_TPS_3, Colour_TPS_3},
        {Label_CLB_Diagram_TPS_3_Data, Colour_TPS_3}, {Label_CLB_Diagram_VAC, Colour_VAC},
        {Label_CLB_Diagram_VAC_Data, Colour_VAC},
    };
    for (const auto& [Label, Colour] : Colours)
        Label->Font().Color(Colour);
}

void Main_Form_Calibration::Calibration_Boxes_From_Settings()
{
    // A box set here must not uncheck the others or reset the page: the settings may
    // hold any mix, and the page shows it as it is.
    const bool Busy = Diagram_Boxes_Busy;
    Diagram_Boxes_Busy = true;
    for (const Diagram_Box& D : Diagram_Boxes())
        D.Box->Checked(*D.Setting);
    Diagram_Boxes_Busy = Busy;
    const auto Grid_Click = CheckBox_CLB_Grid->OnClick;
    CheckBox_CLB_Grid->OnClick = nullptr;
    CheckBox_CLB_Grid->Checked(Settings.CLB_View_Grid);
    CheckBox_CLB_Grid->OnClick = Grid_Click;
}

void Main_Form_Calibration::Button_CLB_DefaultClick(TObject* Sender)
{
    CLB_Selection_Clear();
    CLB_Anchor_Clear();
    Set_Default_Calibration();
    Draw_Calibration_Chart();
}

void Main_Form_Calibration::Button_CLB_ReceivClick(TObject* Sender)
{
    CFG_Loaded_For_Write = false;
    if (Connected)
        Ask_Request(Settings.Save_Load_Data ? Request_Read_All : Request_Read_Calibration);
    if (Form_KardunGAS)
        Form_KardunGAS->Read_Guard_Refresh();
}

void Main_Form_Calibration::CheckBox_CLB_DiagramClick(TCheckBox* Box)
{
    const std::vector<Diagram_Box> Boxes = Diagram_Boxes();
    const Diagram_Box* Own = nullptr;
    for (const Diagram_Box& D : Boxes)
        if (D.Box == Box)
            Own = &D;
    if (!Own)
        return;
    *Own->Setting = Box->Checked();
    // A box unchecked by another's click only follows into its setting.
    if (Diagram_Boxes_Busy)
        return;
    if (Box->Checked()) {
        GD_Captions_Build();
        const std::string Input_Caption = GD_Captions[2];
        const std::string Output_Caption = GD_Captions[4];
        const std::string Factor_Caption = GD_Captions[6];
        switch (Own->Group) {
        case Group_Input:
            Label_CLB_InVolt_Point->Caption(Input_Caption);
            if (Box != CheckBox_CLB_Diagram_Gas)
                Label_CLB_OutVolt_Point->Caption(Output_Caption);
            break;
        case Group_RPM:
            Label_CLB_InVolt_Point->Caption(Language_Text("Dim_RPM_Short"));
            Label_CLB_OutVolt_Point->Caption(Factor_Caption);
            break;
        default:
            Label_CLB_InVolt_Point->Caption(Language_Text("Dim_Bar_Long"));
            Label_CLB_OutVolt_Point->Caption(Factor_Caption);
            break;
        }
        // Curves of another scale leave the chart.
        Diagram_Boxes_Busy = true;
        for (const Diagram_Box& D : Boxes)
            if (D.Group != Own->Group)
                D.Box->Checked(false);
        Diagram_Boxes_Busy = false;
    }
    Calibration_Diagram_Reset();
}

void Main_Form_Calibration::CheckBox_CLB_GridClick(TObject* Sender)
{
    Settings.CLB_View_Grid = CheckBox_CLB_Grid->Checked();
    Draw_Calibration_Chart();
}

void Main_Form_Calibration::Calibration_Diagram_Reset()
{
    for (TEdit* E : {Edit_y_pos_Gas, Edit_x_pos_InVolt, Edit_y_pos_OutVolt, Edit_CLB_Gas,
                     Edit_CLB_InVolt, Edit_CLB_OutVolt})
        E->Text("0");
    for (TEdit* E : {Edit_CLB_Gas, Edit_CLB_InVolt, Edit_CLB_OutVolt}) {
        E->Color(clWhite);
        E->Font().Color(clBlack);
    }
    bool Any_Shown = false;
    for (const Diagram_Box& D : Diagram_Boxes()) {
        D.Paint(clBtnFace);
        Any_Shown = Any_Shown || *D.Setting;
    }
    if (!Any_Shown) {
        // Checking it runs its handler, which resets the page again with gas shown.
        CheckBox_CLB_Diagram_Gas->Checked(true);
        return;
    }
    // Cancelling draws the chart again.
    CLB_Edit_Cancel();
}

void Main_Form_Calibration::Show_Live_Part(const Live_Texts& T, bool Page_Active, TForm_KardunGAS& Form)
{
    if (!Page_Active)
        return;
    Draw_Calibration_Chart();
    // The same texts as the General page's digits.
    const std::pair<TLabel*, const std::string*> Digits[] = {
        {Label_CLB_RPM_Dig, &T.RPM},           {Label_CLB_Gas_Dig, &T.Gas},
        {Label_CLB_TPS_Dig, &T.TPS},           {Label_CLB_TempVap_Dig, &T.TempVap},
        {Label_CLB_TempGas_Dig, &T.TempGas},   {Label_CLB_TempCouple_Dig, &T.TempCouple},
        {Label_CLB_PressVap_Dig, &T.PressVap}, {Label_CLB_PressColl_Dig, &T.PressColl},
        {Label_CLB_PressDiff_Dig, &T.PressDiff}, {Label_CLB_Detonation_Dig, &T.Detonation},
    };
    for (const auto& [Label, Text] : Digits)
        Label->Caption(*Text);
    const Live_Values_Class& V = Live_Values;
    Label_CLB_Diagram_RPM_Data->Caption(Format_Factor(V.Live_Factor_RPM));
    Label_CLB_Diagram_TPS_1_Data->Caption(Format_Output(V.Live_Output_1));
    Label_CLB_Diagram_TPS_2_Data->Caption(Format_Output(V.Live_Output_2));
    Label_CLB_Diagram_TPS_3_Data->Caption(Format_Output(V.Live_Output_3));
    if (CheckBox_CLB_Diagram_VAC->Enabled())
        Label_CLB_Diagram_VAC_Data->Caption(Format_Factor(V.Live_Factor_VAC));
}
