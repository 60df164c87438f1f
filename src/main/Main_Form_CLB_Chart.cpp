// The Calibration page's chart: the frame with its title and axis bands, the plot with the
// grid, the shown curves, the marks of the point being edited and the live points. Each
// picture is drawn into an off-screen bitmap and copied onto Image_CLB in one step.
#include <algorithm>
#include <string>
#include <vector>

#include "data/Calibration.h"
#include "data/Conversions.h"
#include "data/GD_Options.h"
#include "data/Globals.h"
#include "data/Injectors.h"
#include "data/Settings.h"
#include "main/CLB_Curve_Units.h"
#include "main/Main_Form_Calibration.h"
#include "protocol/Live_Data.h"

namespace {

// The plot stands inside the image with these bands left and above (the same again right
// and below).
constexpr int Plot_Left = 30;
constexpr int Plot_Top = 20;
constexpr int Title_Top = 3;
constexpr int Chart_Font_Points = 10;
// Scale labels: the X labels stand 3 pixels under the plot, the Y labels half a text
// line above their grid height.
constexpr int X_Label_Gap = 3;
constexpr int Y_Label_Rise = 8;
// The right band's labels stand this far right of the plot (one character 4 further).
constexpr int Right_Label_Offset = 28;
constexpr int Single_Character_Shift = 4;

// Axis ranges (the curves' own units; volt scale in 0.01 V).
constexpr int32_t Volt_Scale_Max = 500;
constexpr int32_t Gas_Ms_Max = 32;      // gas labels up to this many ms
constexpr int32_t Us_Per_Ms = 1000;

const TColor Colour_Background = RGB_Color(192, 220, 192);
const TColor Colour_Factor_Axis = RGB_Color(26, 173, 210);

// Pens of the plot's marks: width, and the radius of the circle drawn with it.
struct Mark {
    int Width, Radius;
};
constexpr Mark Point_Dot{10, 3};
constexpr Mark Point_Ring{2, 7};
constexpr Mark Edit_Mark{15, 3};
constexpr Mark Live_Dot{6, 3};
constexpr Mark Live_Ring{2, 7};
constexpr int Curve_Pen = 2;
constexpr int Frame_Pen = 2;

// Which scales the chart shows: the first that applies of RPM, gas, VAC, and the TPS
// curves alone.
enum class Chart_Case { RPM, Gas, VAC, TPS_Only };

Chart_Case Chart_Case_Now()
{
    const Settings_Class& S = Settings;
    if (S.CLB_Diagram_RPM)
        return Chart_Case::RPM;
    if (S.CLB_Diagram_GAS)
        return Chart_Case::Gas;
    if (S.CLB_Diagram_VAC)
        return Chart_Case::VAC;
    return Chart_Case::TPS_Only;
}

bool Any_TPS_Shown()
{
    const Settings_Class& S = Settings;
    return S.CLB_Diagram_TPS_1 || S.CLB_Diagram_TPS_2 || S.CLB_Diagram_TPS_3;
}

// A band's labels are black on lime, white on every other band colour.
TColor Text_On(TColor Band)
{
    return Band == clLime ? clBlack : clWhite;
}

// A circle centred on the pixel At. A pen at least as wide as the circle covers it whole:
// that is drawn as a disc of the pen's outer radius.
void Circle(TCanvas* C, TPoint At, TColor Colour, Mark M)
{
    int R = M.Radius;
    if (M.Width / 2 >= M.Radius) {
        R += M.Width / 2;
        C->Pen = TPen{Colour, 1, TPen_Style::Solid};
        C->Brush = TBrush{Colour, TBrush_Style::Solid};
    } else {
        C->Pen = TPen{Colour, M.Width, TPen_Style::Solid};
    }
    C->Ellipse(At.X - R, At.Y - R, At.X + R + 1, At.Y + R + 1);
    C->Brush.Style = TBrush_Style::Clear;
}

// A frame through the pixels of its corners (the layer leaves the right and bottom edges
// out).
void Frame(TCanvas* C, int Left, int Top, int Right, int Bottom)
{
    C->Rectangle(Left, Top, Right + 1, Bottom + 1);
}

// Left edge shift of an X label by its length; longer labels are not written.
int X_Label_Shift(std::size_t Length)
{
    constexpr int Shift[] = {4, 8, 12, 18};
    return Length >= 1 && Length <= 4 ? Shift[Length - 1] : -1;
}

}  // namespace

// ---------------------------------------------------------------- the curves' units

int64_t CLB_Round_Div(int64_t Num, int64_t Den)
{
    if (Den == 0)
        return 0;
    if (Den < 0) {
        Num = -Num;
        Den = -Den;
    }
    const int64_t Q = (2 * (Num < 0 ? -Num : Num) + Den) / (2 * Den);
    return Num < 0 ? -Q : Q;
}

const Main_Form_Calibration::Curve_Unit* Main_Form_Calibration::Curve_Units()
{
    using P = Main_Form_Calibration;
    using L = Live_Values_Class;
    static const Curve_Unit Units[CLB_Curve_Count] = {
        {&CLB_Gas, &Settings_Class::CLB_Diagram_GAS, X_Axis::Input, Y_Axis::Gas, false, 10, clRed, clLime, clRed,
         clGreen, clPurple, clLime, clBlack, &P::Edit_CLB_Gas, &P::Edit_y_pos_Gas,
         &P::CheckBox_CLB_Diagram_Gas, &L::Live_TPS_Raw, 1, &L::Live_Gas_Time},
        {&CLB_RPM, &Settings_Class::CLB_Diagram_RPM, X_Axis::RPM, Y_Axis::Factor, true, 50, clBlue, clBlue,
         clBlue, clBlue, clBlue, Colour_Factor_Axis, clWhite, &P::Edit_CLB_OutVolt,
         &P::Edit_y_pos_OutVolt, &P::CheckBox_CLB_Diagram_RPM, &L::Live_RPM, 1, &L::Live_Factor_RPM},
        {&CLB_TPS1, &Settings_Class::CLB_Diagram_TPS_1, X_Axis::Input, Y_Axis::TPS, false, 10, clPurple,
         clFuchsia, clPurple, RGB_Color(182, 12, 88), clPurple, clFuchsia, clWhite,
         &P::Edit_CLB_OutVolt, &P::Edit_y_pos_OutVolt, &P::CheckBox_CLB_Diagram_TPS_1, &L::Live_Input_1_Raw, 1,
         &L::Live_Output_1_Raw},
        {&CLB_TPS2, &Settings_Class::CLB_Diagram_TPS_2, X_Axis::Input, Y_Axis::TPS, false, 10, clMaroon,
         clFuchsia, clPurple, RGB_Color(214, 143, 12), clPurple, clFuchsia, clWhite,
         &P::Edit_CLB_OutVolt, &P::Edit_y_pos_OutVolt, &P::CheckBox_CLB_Diagram_TPS_2, &L::Live_Input_2_Raw, 1,
         &L::Live_Output_2_Raw},
        {&CLB_TPS3, &Settings_Class::CLB_Diagram_TPS_3, X_Axis::Input, Y_Axis::TPS, false, 10, clNavy, clFuchsia,
         clPurple, RGB_Color(0, 159, 164), clPurple, clFuchsia, clWhite, &P::Edit_CLB_OutVolt,
         &P::Edit_y_pos_OutVolt, &P::CheckBox_CLB_Diagram_TPS_3, &L::Live_Input_3_Raw, 1, &L::Live_Output_3_Raw},
        // The live manifold pressure is in 0.01 bar, the curve's X in 0.001 bar.
        {&CLB_VAC, &Settings_Class::CLB_Diagram_VAC, X_Axis::VAC, Y_Axis::Factor, true, 50, clTeal, clTeal,
         clTeal, clTeal, clTeal, Colour_Factor_Axis, clWhite, &P::Edit_CLB_OutVolt,
         &P::Edit_y_pos_OutVolt, &P::CheckBox_CLB_Diagram_VAC, &L::Live_PressColl, 10, &L::Live_Factor_VAC},
    };
    return Units;
}

bool Main_Form_Calibration::Curve_Shown(const Curve_Unit& U) const
{
    return Settings.*U.Shown;
}

int32_t CLB_Y_Bound(Main_Form_Calibration::Y_Axis Axis)
{
    using Y_Axis = Main_Form_Calibration::Y_Axis;
    switch (Axis) {
    case Y_Axis::Gas:
        return std::max(Gas_Full_Scale, 1);
    case Y_Axis::TPS:
        return std::max(TPS_Full_Scale, 1);
    case Y_Axis::Volt:
        return Volt_Scale_Max;
    case Y_Axis::Factor:
        break;
    }
    return CLB_Factor_Max;
}

int32_t CLB_X_Max(Main_Form_Calibration::X_Axis Axis)
{
    using X_Axis = Main_Form_Calibration::X_Axis;
    switch (Axis) {
    case X_Axis::Input:
        return CLB_Input_Max;
    case X_Axis::RPM:
        return CLB_RPM_In_Max;
    case X_Axis::VAC:
        return CLB_VAC_In_Max;
    case X_Axis::Volt:
        break;
    }
    return Volt_Scale_Max;
}

int32_t Main_Form_Calibration::Curve_Unit::Y_Bound() const
{
    return CLB_Y_Bound(Y);
}

int32_t Main_Form_Calibration::Curve_Unit::X_Max() const
{
    return CLB_X_Max(X);
}

int32_t Main_Form_Calibration::Curve_Unit::Y_Quantum() const
{
    constexpr int32_t Gas_Quantum_Us = 50;
    switch (Y) {
    case Y_Axis::Gas:
        return Gas_Quantum_Us;
    case Y_Axis::TPS:
        return std::max(TPS_Step, 1);
    case Y_Axis::Volt:
    case Y_Axis::Factor:
        break;
    }
    return 1;
}

std::string Main_Form_Calibration::Curve_Unit::X_Text(int32_t Value) const
{
    switch (X) {
    case X_Axis::Input:
        return Format_Ratio(int64_t{Value} * 5, CLB_Input_Max, 15, 2);   // volts of 0..5 V
    case X_Axis::RPM:
        return std::to_string(Value);
    case X_Axis::VAC:
        return Format_Ratio(Value, 1000, 15, 2);   // bar
    case X_Axis::Volt:
        break;
    }
    return Format_Ratio(Value, 100, 15, 2);
}

std::string Main_Form_Calibration::Curve_Unit::Y_Text(int32_t Value) const
{
    switch (Y) {
    case Y_Axis::Gas:
        return Format_Gas_Time(Value);
    case Y_Axis::TPS:
        return Format_Ratio(int64_t{Value} * 5, Y_Bound(), 15, 1);   // output volts
    case Y_Axis::Factor:
        return Format_Factor(Value);
    case Y_Axis::Volt:
        break;
    }
    return Format_Ratio(Value, 100, 15, 1);
}

// ---------------------------------------------------------------- scales

bool Main_Form_Calibration::Calibration_Scales() const
{
    return CLB_Plot_Width > 0 && CLB_Plot_Height > 0;
}

int Main_Form_Calibration::CLB_Px(X_Axis Axis, int64_t Value) const
{
    const int64_t W = CLB_Plot_Width;
    switch (Axis) {
    case X_Axis::Input:
        return static_cast<int>(CLB_Round_Div(Value * W, CLB_Input_Max));
    case X_Axis::RPM:
        return static_cast<int>(Value * W / CLB_RPM_In_Max);
    case X_Axis::VAC:
        return static_cast<int>(Value * W / CLB_VAC_In_Max);
    case X_Axis::Volt:
        break;
    }
    return static_cast<int>(Value * W / Volt_Scale_Max);
}

int Main_Form_Calibration::CLB_Py(Y_Axis Axis, int64_t Value) const
{
    const int64_t H = CLB_Plot_Height;
    switch (Axis) {
    case Y_Axis::Gas:
        return static_cast<int>(H - CLB_Round_Div(Value * H, std::max(Gas_Full_Scale, 1)));
    case Y_Axis::TPS:
        return static_cast<int>(H - CLB_Round_Div(Value * H, std::max(TPS_Full_Scale, 1)));
    case Y_Axis::Factor:
        return static_cast<int>(H - Value * H / CLB_Factor_Max);
    case Y_Axis::Volt:
        break;
    }
    return static_cast<int>(H - Value * H / Volt_Scale_Max);
}

int32_t Main_Form_Calibration::CLB_X_Of(X_Axis Axis, int Px) const
{
    return static_cast<int32_t>(CLB_Round_Div(int64_t{Px} * CLB_X_Max(Axis), CLB_Plot_Width));
}

int32_t Main_Form_Calibration::CLB_Y_Of(Y_Axis Axis, int Py) const
{
    return static_cast<int32_t>(CLB_Round_Div(int64_t{CLB_Plot_Height - Py} * CLB_Y_Bound(Axis), CLB_Plot_Height));
}

// ---------------------------------------------------------------- drawing

namespace {

// Band colours and the side scale of the case shown.
struct Bands {
    TColor Left = clFuchsia, Right = clFuchsia, Bottom = clPurple;
};

Bands Bands_Of(Chart_Case Case)
{
    switch (Case) {
    case Chart_Case::RPM:
        return {Colour_Factor_Axis, Colour_Factor_Axis, clBlue};
    case Chart_Case::Gas:
        return {clLime, Any_TPS_Shown() ? clFuchsia : clLime, clPurple};
    case Chart_Case::VAC:
        return {Colour_Factor_Axis, Colour_Factor_Axis, clTeal};
    case Chart_Case::TPS_Only:
        break;
    }
    return {};
}

struct Y_Scale {
    Main_Form_Calibration::Y_Axis Axis;
    int32_t Max, Step, Height_Factor, Divisor, Decimals, Left;
};

Y_Scale Y_Scale_Of(Chart_Case Case)
{
    using Y_Axis = Main_Form_Calibration::Y_Axis;
    if (Case == Chart_Case::RPM || Case == Chart_Case::VAC)
        return {Y_Axis::Factor, CLB_Factor_Max, 2000, 1, 10000, 2, 2};
    if (Case == Chart_Case::Gas)
        return {Y_Axis::Gas, Gas_Ms_Max, 5, Us_Per_Ms, 1, 0, 8};
    return {Y_Axis::Volt, 450, 50, 1, 100, 1, 6};
}

// The font of the frame's texts at a size.
TFont Chart_Font(int Points)
{
    TFont F;
    F.Name(Settings.Font_Name);
    F.Size(Points);
    F.Style(fsBold);
    return F;
}

// The smallest size a side label is written at, however narrow its band.
constexpr int Side_Label_Min_Points = 5;

// The live point of each shown curve, in plot pixels: a dot in a ring.
constexpr int Live_Reach = Live_Ring.Radius + Live_Ring.Width + 1;   // beyond its centre

TRect Live_Box(TPoint At)
{
    return Rect(At.X - Live_Reach, At.Y - Live_Reach, At.X + Live_Reach + 1, At.Y + Live_Reach + 1);
}

bool Empty(const TRect& R)
{
    return R.Width() <= 0 || R.Height() <= 0;
}

TRect Union(const TRect& A, const TRect& B)
{
    if (Empty(A))
        return B;
    if (Empty(B))
        return A;
    return Rect(std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                std::max(A.Bottom, B.Bottom));
}

TRect Intersection(const TRect& A, const TRect& B)
{
    const TRect R = Rect(std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                         std::min(A.Bottom, B.Bottom));
    return Empty(R) ? TRect{} : R;
}

}  // namespace

std::vector<Main_Form_Calibration::CLB_Side_Label> Main_Form_Calibration::CLB_Side_Labels() const
{
    std::vector<CLB_Side_Label> Labels;
    if (!Calibration_Scales())
        return Labels;
    const int IW = CLB_Image_Width, W = CLB_Plot_Width, H = CLB_Plot_Height;
    const Chart_Case Case = Chart_Case_Now();
    const Y_Scale YS = Y_Scale_Of(Case);
    // The bands inside the image's outline, beside the plot's.
    const TRect Left_Band = Rect(1, Plot_Top, Plot_Left, Plot_Top + H);
    const TRect Right_Band = Rect(Plot_Left + W, Plot_Top, IW - 1, Plot_Top + H);
    const bool Output_Volts = Case == Chart_Case::Gas && Any_TPS_Shown();
    for (int32_t V = YS.Step; V <= YS.Max; V += YS.Step) {
        const int Y = Plot_Top + CLB_Py(YS.Axis, int64_t{V} * YS.Height_Factor) - Y_Label_Rise;
        const std::string Text = Format_Ratio(V, YS.Divisor, 15, YS.Decimals);
        Labels.push_back({Text, Text.size() == 1 ? YS.Left + Single_Character_Shift : YS.Left, Y, Left_Band});
        // Gas with TPS: the right band reads the TPS output volts of the same height.
        constexpr int Output_Left = 6;
        const std::string Right = Output_Volts ? Format_Ratio(int64_t{V} * (CLB_Label_Offset + 500), 32 * 100, 15, 1)
                                               : Text;
        const int Right_Left = W + (Output_Volts ? Output_Left : YS.Left) + Right_Label_Offset +
                               (Right.size() == 1 ? Single_Character_Shift : 0);
        Labels.push_back({Right, Right_Left, Y, Right_Band});
    }
    return Labels;
}

int Main_Form_Calibration::CLB_Side_Label_Points() const
{
    const std::vector<CLB_Side_Label> Labels = CLB_Side_Labels();
    int Points = Chart_Font_Points;
    for (; Points > Side_Label_Min_Points; --Points) {
        const TFont Font = Chart_Font(Points);
        const bool Whole = std::all_of(Labels.begin(), Labels.end(), [&](const CLB_Side_Label& L) {
            return L.Left >= L.Band.Left && L.Left + ui::Text_Width(Font, L.Text) <= L.Band.Right;
        });
        if (Whole)
            break;
    }
    return Points;
}

Main_Form_Calibration::CLB_Chart_Key Main_Form_Calibration::CLB_Chart_Key_Now() const
{
    const Settings_Class& S = Settings;
    CLB_Chart_Key K;
    K.Numbers = {CLB_Image_Width,   CLB_Plot_Width,      CLB_Image_Height,  CLB_Plot_Height,
                 S.CLB_Diagram_GAS, S.CLB_Diagram_RPM,   S.CLB_Diagram_TPS_1, S.CLB_Diagram_TPS_2,
                 S.CLB_Diagram_TPS_3, S.CLB_Diagram_VAC, S.CLB_View_Grid,   Gas_Full_Scale,
                 TPS_Full_Scale,    CLB_Label_Offset};
    const Curve_Unit* Units = Curve_Units();
    for (int I = 0; I < CLB_Curve_Count; ++I) {
        const CLB_Curve& Curve = *Units[I].Curve;
        K.Numbers.insert(K.Numbers.end(), std::begin(Curve.In), std::end(Curve.In));
        K.Numbers.insert(K.Numbers.end(), std::begin(Curve.Out), std::end(Curve.Out));
        K.Numbers.push_back(Curve.Selected);
        K.Numbers.push_back(Curve.Anchor);
    }
    GD_Captions_Build();
    K.Texts = S.Font_Name;
    for (int Caption : {1, 2, 3, 4, 5, 6, 11}) {
        K.Texts += '\0';
        K.Texts += GD_Captions[Caption];
    }
    return K;
}

void Main_Form_Calibration::Draw_Calibration_Chart()
{
    if (!Settings_Applied || !Calibration_Scales())
        return;
    CLB_Chart_Key Key = CLB_Chart_Key_Now();
    const bool Remade = !CLB_Chart_Made || !(Key == CLB_Chart_Made_From);
    if (Remade) {
        Draw_Calibration_Frame();
        Draw_Calibration();
        CLB_Chart_Made_From = std::move(Key);
        CLB_Chart_Made = true;
    }
    Draw_Calibration_Live(Remade);
}

void Main_Form_Calibration::Draw_Calibration_Frame()
{
    if (!Settings_Applied || !Calibration_Scales())
        return;
    const int IW = CLB_Image_Width, IH = CLB_Image_Height;
    const int W = CLB_Plot_Width, H = CLB_Plot_Height;
    TBitmap& Frame = CLB_Chart_Picture;
    Frame.SetSize(IW, IH);
    TCanvas* C = Frame.Canvas();
    C->Font = Chart_Font(Chart_Font_Points);
    C->Brush = TBrush{Colour_Background, TBrush_Style::Solid};
    C->FillRect(Rect(0, 0, IW, IH));
    C->Font.Color(clBlack);

    // Title pieces and band colours by the case shown.
    GD_Captions_Build();
    const std::string& C0 = GD_Captions[1];
    const std::string& C1 = GD_Captions[2];
    const std::string& C2 = GD_Captions[3];
    const std::string& C3 = GD_Captions[4];
    const std::string& C4 = GD_Captions[5];
    const std::string& C5 = GD_Captions[6];
    const std::string& C6 = GD_Captions[11];
    struct Piece {
        const std::string* Text;
        TColor Back, Fore;
    };
    const Chart_Case Case = Chart_Case_Now();
    const bool TPS_Too = Any_TPS_Shown();
    std::vector<Piece> Pieces;
    const Bands Band = Bands_Of(Case);
    switch (Case) {
    case Chart_Case::RPM:
        Pieces = {{&C5, Colour_Factor_Axis, clWhite}, {&C4, clBlue, clWhite}, {&C5, Colour_Factor_Axis, clWhite}};
        break;
    case Chart_Case::Gas:
        Pieces = {{&C2, clLime, clBlack}, {&C1, clPurple, clWhite},
                  TPS_Too ? Piece{&C3, clFuchsia, clWhite} : Piece{&C2, clLime, clBlack}};
        break;
    case Chart_Case::VAC:
        Pieces = {{&C5, Colour_Factor_Axis, clWhite}, {&C6, clTeal, clWhite}, {&C5, Colour_Factor_Axis, clWhite}};
        break;
    case Chart_Case::TPS_Only:
        Pieces = {{&C3, clFuchsia, clWhite}, {&C1, clPurple, clWhite}, {&C3, clFuchsia, clWhite}};
        break;
    }
    const std::string Between = " - ";
    int Title_Width = C->TextWidth(C0);
    for (std::size_t I = 0; I < Pieces.size(); ++I)
        Title_Width += C->TextWidth(*Pieces[I].Text) + (I > 0 ? C->TextWidth(Between) : 0);
    int X = (IW - Title_Width) / 2;
    auto Write = [C, &X](const std::string& Text, TColor Back, TColor Fore) {
        C->Brush = TBrush{Back, TBrush_Style::Solid};
        C->Font.Color(Fore);
        C->TextOut(X, Title_Top, Text);
        X += C->TextWidth(Text);
    };
    Write(C0, Colour_Background, clBlack);
    for (std::size_t I = 0; I < Pieces.size(); ++I) {
        if (I > 0)
            Write(Between, Colour_Background, clBlack);
        Write(*Pieces[I].Text, Pieces[I].Back, Pieces[I].Fore);
    }

    // The bands.
    const TRect Left_Rect = Rect(0, Plot_Top, Plot_Left, Plot_Top + H);
    const TRect Right_Rect = Rect(Plot_Left + W, Plot_Top, IW, Plot_Top + H);
    const TRect Bottom_Rect = Rect(0, Plot_Top + H, IW, IH);
    for (const auto& [R, Colour] : {std::pair{Left_Rect, Band.Left}, std::pair{Right_Rect, Band.Right},
                                    std::pair{Bottom_Rect, Band.Bottom}}) {
        C->Brush = TBrush{Colour, TBrush_Style::Solid};
        C->FillRect(R);
    }
    auto Label = [C](int Left, int Top, TColor Band, const std::string& Text) {
        C->Brush = TBrush{Band, TBrush_Style::Solid};
        C->Font.Color(Text_On(Band));
        C->TextOut(Left, Top, Text);
    };

    // X labels under the plot.
    struct X_Scale {
        X_Axis Axis;
        int32_t Max, Step, Divisor, Decimals;
    };
    const X_Scale XS = Case == Chart_Case::RPM   ? X_Scale{X_Axis::RPM, CLB_RPM_In_Max, 500, 1, 0}
                       : Case == Chart_Case::VAC ? X_Scale{X_Axis::VAC, CLB_VAC_In_Max, 200, 1000, 1}
                                                 : X_Scale{X_Axis::Volt, Volt_Scale_Max, 50, 100, 1};
    for (int32_t V = 0; V <= XS.Max; V += XS.Step) {
        const std::string Text = Format_Ratio(V, XS.Divisor, 15, XS.Decimals);
        const int Shift = X_Label_Shift(Text.size());
        if (Shift >= 0)
            Label(Plot_Left + CLB_Px(XS.Axis, V) - Shift, Plot_Top + H + X_Label_Gap, Band.Bottom, Text);
    }

    // Y labels beside the plot, from one step up, at the size that fits them in their
    // bands.
    C->Font.Size(CLB_Side_Label_Points());
    for (const CLB_Side_Label& L : CLB_Side_Labels())
        Label(L.Left, L.Top, L.Band.Left < Plot_Left ? Band.Left : Band.Right, L.Text);
    CLB_X_Step = XS.Step;
    CLB_Y_Step = Y_Scale_Of(Case).Step;

    C->Pen = TPen{clBlack, 1, TPen_Style::Solid};
    C->Brush.Style = TBrush_Style::Clear;
    C->Rectangle(0, 0, IW, IH);
}

void Main_Form_Calibration::Draw_Calibration()
{
    if (!Settings_Applied || !Calibration_Scales())
        return;
    if (CLB_X_Step == 0 || CLB_Y_Step == 0 || CLB_Chart_Picture.Width() != CLB_Image_Width ||
        CLB_Chart_Picture.Height() != CLB_Image_Height)
        Draw_Calibration_Frame();
    const int W = CLB_Plot_Width, H = CLB_Plot_Height;
    const Curve_Unit* Units = Curve_Units();
    // Pixel places of every point of every curve.
    std::vector<TPoint> Places[CLB_Curve_Count];
    for (int I = 0; I < CLB_Curve_Count; ++I) {
        const Curve_Unit& U = Units[I];
        for (int N = 0; N < CLB_Points; ++N)
            Places[I].push_back(Point(CLB_Px(U.X, U.Curve->In[N]), CLB_Py(U.Y, U.Curve->Out[N])));
    }

    TBitmap Plot(W, H);
    TCanvas* C = Plot.Canvas();
    C->Brush = TBrush{Colour_Background, TBrush_Style::Solid};
    C->Pen = TPen{clBlack, 1, TPen_Style::Solid};
    C->Rectangle(0, 0, W, H);
    C->Brush.Style = TBrush_Style::Clear;

    if (Settings.CLB_View_Grid) {
        const Chart_Case Case = Chart_Case_Now();
        C->Pen = TPen{clBlack, 1, TPen_Style::Dot};
        const X_Axis GX = Case == Chart_Case::RPM ? X_Axis::RPM : Case == Chart_Case::VAC ? X_Axis::VAC : X_Axis::Volt;
        const int32_t X_End = Case == Chart_Case::RPM ? CLB_RPM_In_Max
                              : Case == Chart_Case::VAC ? CLB_VAC_In_Max
                                                        : Volt_Scale_Max;
        for (int32_t V = CLB_X_Step; V < X_End; V += CLB_X_Step) {
            const int Px = CLB_Px(GX, V);
            C->MoveTo(Px, 0);
            C->LineTo(Px, H);
        }
        // Y lines in the axis's own unit: the factor, the gas time in us, the volt scale.
        Y_Axis GY = Y_Axis::Volt;
        int32_t Y_Step = CLB_Y_Step, Y_End = Volt_Scale_Max;
        if (Case == Chart_Case::RPM || Case == Chart_Case::VAC) {
            GY = Y_Axis::Factor;
            Y_End = CLB_Factor_Max;
        } else if (Case == Chart_Case::Gas) {
            GY = Y_Axis::Gas;
            Y_Step = CLB_Y_Step * Us_Per_Ms;
            Y_End = Gas_Full_Scale;
        }
        for (int32_t V = Y_Step; V < Y_End; V += Y_Step) {
            const int Py = CLB_Py(GY, V);
            C->MoveTo(0, Py);
            C->LineTo(W, Py);
        }
    }

    for (int I = 0; I < CLB_Curve_Count; ++I) {
        if (!Curve_Shown(Units[I]))
            continue;
        C->Pen = TPen{Units[I].Colour, Curve_Pen, TPen_Style::Solid};
        C->Polyline(Places[I]);
        for (const TPoint& At : Places[I]) {
            Circle(C, At, Units[I].Colour, Point_Dot);
            Circle(C, At, clBlack, Point_Ring);
        }
    }
    // The band the selected point may move in: for an end point the curve's box, for a
    // middle point its neighbours' X over the full height.
    for (int I = 0; I < CLB_Curve_Count; ++I) {
        const int S = Units[I].Curve->Selected;
        if (!Curve_Shown(Units[I]) || S < 0 || S >= CLB_Points)
            continue;
        const std::vector<TPoint>& Pl = Places[I];
        C->Pen = TPen{Units[I].Highlight, Frame_Pen, TPen_Style::Solid};
        if (S == 0 || S == CLB_Points - 1) {
            const auto [Low, High] = std::minmax_element(Pl.begin(), Pl.end(),
                                                         [](TPoint A, TPoint B) { return A.Y < B.Y; });
            Frame(C, Pl.front().X, Low->Y, Pl.back().X, High->Y);
        } else {
            Frame(C, Pl[static_cast<std::size_t>(S - 1)].X, 0, Pl[static_cast<std::size_t>(S + 1)].X, H - 1);
        }
    }
    for (int N = 0; N < CLB_Points; ++N)
        for (int I = 0; I < CLB_Curve_Count; ++I) {
            if (!Curve_Shown(Units[I]))
                continue;
            const TPoint At = Places[I][static_cast<std::size_t>(N)];
            if (Units[I].Curve->Anchor == N)
                Circle(C, At, clBlack, Edit_Mark);
            if (Units[I].Curve->Selected == N)
                Circle(C, At, Units[I].Highlight, Edit_Mark);
        }
    CLB_Chart_Picture.Canvas()->Draw(Plot_Left, Plot_Top, Plot);
}

// The chart's picture on the image with the live points over it. Only the part of the plot
// the live points cover now or covered at the last drawing changes: a copy of that part of
// the picture takes the points and goes onto the image. The whole plot is that part when
// the picture was made again or the image holds something else.
void Main_Form_Calibration::Draw_Calibration_Live(bool Whole)
{
    const int W = CLB_Plot_Width, H = CLB_Plot_Height;
    TPicture& Shown = Image_CLB->Picture();
    Whole = Whole || CLB_Image_Drawn != Shown.Bitmap().Content_Key() ||
            Shown.Width() != CLB_Image_Width || Shown.Height() != CLB_Image_Height;
    const Curve_Unit* Units = Curve_Units();
    const Live_Values_Class& L = Live_Values;
    std::vector<std::pair<const Curve_Unit*, TPoint>> Live;
    TRect Live_Area;
    for (int I = 0; I < CLB_Curve_Count; ++I) {
        const Curve_Unit& U = Units[I];
        if (!Curve_Shown(U))
            continue;
        const TPoint At = Point(CLB_Px(U.X, int64_t{L.*U.Live_X} * U.X_Live_Scale), CLB_Py(U.Y, L.*U.Live_Y));
        Live.push_back({&U, At});
        Live_Area = Union(Live_Area, Live_Box(At));
    }
    const TRect Plot_Area = Rect(0, 0, W, H);
    Live_Area = Intersection(Live_Area, Plot_Area);
    TRect Area = Plot_Area;
    if (Whole)
        Shown.Assign(CLB_Chart_Picture);
    else
        Area = Union(Live_Area, CLB_Live_Area);
    CLB_Live_Area = Live_Area;
    if (!Empty(Area)) {
        TBitmap Copy(Area.Width(), Area.Height());
        TCanvas* C = Copy.Canvas();
        C->CopyRect(Rect(0, 0, Area.Width(), Area.Height()), *CLB_Chart_Picture.Canvas(),
                    Rect(Plot_Left + Area.Left, Plot_Top + Area.Top, Plot_Left + Area.Right, Plot_Top + Area.Bottom));
        for (const auto& [U, At] : Live) {
            const TPoint In_Copy = Point(At.X - Area.Left, At.Y - Area.Top);
            Circle(C, In_Copy, U->Live_Colour, Live_Dot);
            Circle(C, In_Copy, clWhite, Live_Ring);
        }
        Image_CLB->Canvas()->Draw(Plot_Left + Area.Left, Plot_Top + Area.Top, Copy);
    }
    CLB_Image_Drawn = Shown.Bitmap().Content_Key();
}
