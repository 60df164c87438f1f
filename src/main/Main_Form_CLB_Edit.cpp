// Editing the calibration curves on the chart: pick a point with the mouse or a digit key,
// drag it or step it with the arrow keys, shift or reshape the whole curve by an end
// point, and mark a second point (the anchor) that limits a reshape.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "data/Calibration.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "main/CLB_Curve_Units.h"
#include "main/Main_Form_Calibration.h"
#include "main/Read_Guard.h"

namespace {

constexpr int Plot_Left = 30;
constexpr int Plot_Top = 20;
constexpr int Last_Point = CLB_Points - 1;
// A drag of a gas or TPS point starts once the mouse left the point by more than this
// many units of either axis; one of the factor curves at one X quantum or any Y change.
constexpr int32_t Fine_Start = 9;
// The hit radius: this many pixels' worth of each axis.
constexpr int Hit_Pixels = 6;
// Factor of the maximised window's scaling (thousandths).
constexpr int Scale_Unit = 1000;
// Mouse-move colours of the cursor boxes: the pixel under the mouse is a gas or TPS curve.
const TColor Colour_Gas_Curve = RGB_Color(255, 0, 0);
const TColor TPS_Curve_Colours[] = {RGB_Color(128, 0, 128), RGB_Color(128, 0, 0), RGB_Color(0, 0, 128)};
const TColor Colour_Purple = RGB_Color(128, 0, 128);
const TColor Colour_Fuchsia = RGB_Color(255, 0, 255);
const TColor Colour_Lime = RGB_Color(0, 255, 0);
const TColor Colour_Picked = RGB_Color(255, 255, 0);

// The reference moved toward Target in whole quanta (Quantum >= 1).
int32_t Toward(int32_t Reference, int32_t Target, int32_t Quantum)
{
    if (Target - Reference >= Quantum)
        return Reference + (Target - Reference) / Quantum * Quantum;
    if (Reference - Target >= Quantum)
        return Reference - (Reference - Target) / Quantum * Quantum;
    return Reference;
}

// Points First..Last of the curve follow the dragged point D to Y while the fixed point F
// stays: each keeps its relative height between F and D. When F and D lie level, the
// points lie on a straight line in X from F to D's new height. A point whose new value
// would leave 0..Bound keeps its value. 64-bit products: a TPS full scale of 65535 gives
// products past 4 x 10^9.
void Reshape(CLB_Curve& C, int F, int D, int First, int Last, int32_t Y, int32_t Bound)
{
    const std::size_t f = static_cast<std::size_t>(F), d = static_cast<std::size_t>(D);
    const int64_t Fixed = C.Out[f];
    const int64_t Height = Fixed - C.Out[d];
    const int64_t Span = int64_t{C.In[d]} - C.In[f];
    if (Height == 0 && Span == 0)
        return;
    for (int K = First; K <= Last; ++K) {
        const std::size_t k = static_cast<std::size_t>(K);
        const int64_t N = Height != 0 ? Fixed - CLB_Round_Div((Fixed - C.Out[k]) * (Fixed - Y), Height)
                                      : Fixed + CLB_Round_Div((Y - Fixed) * (int64_t{C.In[k]} - C.In[f]), Span);
        if (N >= 0 && N <= Bound)
            C.Out[k] = static_cast<int32_t>(N);
    }
}

bool Any_Selected()
{
    for (const CLB_Curve* C : {&CLB_Gas, &CLB_RPM, &CLB_TPS1, &CLB_TPS2, &CLB_TPS3, &CLB_VAC})
        if (C->Selected >= 0)
            return true;
    return false;
}

}  // namespace

// ---------------------------------------------------------------- mouse

void Main_Form_Calibration::Image_CLBMouseDown(TMouseButton Button, int X, int Y)
{
    // The curves a read is bringing are not edited before they are shown.
    if (Read_In_Progress())
        return;
    for (int I = 0; I < CLB_Curve_Count; ++I)
        Curve_Units()[I].Curve->Backup = Curve_Units()[I].Curve->Out;
    CLB_Key_Select = false;
    if (Button == TMouseButton::Left)
        CLB_Dragging = true;
    else if (Button == TMouseButton::Right)
        CLB_Marking = true;
    CLB_Selection_Clear();
    CLB_Dispatch(X, Y, true);
    Edit_x_pos_InVolt->SetFocus();
}

void Main_Form_Calibration::Image_CLBMouseMove(int X, int Y)
{
    CLB_Dispatch(X, Y, false);
    CLB_Position_Colours(X, Y);
}

void Main_Form_Calibration::Image_CLBMouseUp()
{
    CLB_Dragging = false;
    CLB_Marking = false;
    // The shaped curve goes to the controller at once when the technician asked for that.
    if (UI_Ready && Settings.Transmit_Now && Connected)
        Button_CLB_Transmitt->Click();
}

// Image coordinates of the chart's own size: the maximised window stretches the image.
static TPoint Chart_Point(const TImage* Image, int Image_Width, int Image_Height, int X, int Y)
{
    const TForm* Form = Image->Parent_Form();
    if (Form && Form->WindowState() == TWindow_State::Maximized && Image->Width() > 0 && Image->Height() > 0) {
        X = X * (Image_Width * Scale_Unit / Image->Width()) / Scale_Unit;
        Y = Y * (Image_Height * Scale_Unit / Image->Height()) / Scale_Unit;
    }
    return Point(X, Y);
}

void Main_Form_Calibration::CLB_Dispatch(int X, int Y, bool Press)
{
    if (!Calibration_Scales())
        return;
    const TPoint At = Chart_Point(Image_CLB, CLB_Image_Width, CLB_Image_Height, X, Y);
    const int Px = At.X - Plot_Left, Py = At.Y - Plot_Top;
    for (int I = 0; I < CLB_Curve_Count; ++I) {
        const Curve_Unit& U = Curve_Units()[I];
        if (Curve_Shown(U))
            CLB_Move(U, CLB_X_Of(U.X, Px), CLB_Y_Of(U.Y, Py), Press, false);
    }
}

void Main_Form_Calibration::CLB_Position_Colours(int X, int Y)
{
    for (TEdit* E : {Edit_y_pos_Gas, Edit_x_pos_InVolt, Edit_y_pos_OutVolt}) {
        E->Color(clWhite);
        E->Font().Color(clBlack);
    }
    const TPoint At = Chart_Point(Image_CLB, CLB_Image_Width, CLB_Image_Height, X, Y);
    const TColor Under = Image_CLB->Picture().Bitmap().Canvas()->Pixels(At.X, At.Y);
    if (Under == Colour_Gas_Curve) {
        Edit_y_pos_Gas->Color(Colour_Lime);
        Edit_x_pos_InVolt->Color(Colour_Purple);
        Edit_x_pos_InVolt->Font().Color(clWhite);
    } else if (std::find(std::begin(TPS_Curve_Colours), std::end(TPS_Curve_Colours), Under) !=
               std::end(TPS_Curve_Colours)) {
        Edit_x_pos_InVolt->Color(Colour_Purple);
        Edit_y_pos_OutVolt->Color(Colour_Fuchsia);
        Edit_x_pos_InVolt->Font().Color(clWhite);
        Edit_y_pos_OutVolt->Font().Color(clWhite);
    }
}

// ---------------------------------------------------------------- one curve

int Main_Form_Calibration::CLB_Hit_Test(const Curve_Unit& U, int32_t X, int32_t Y)
{
    for (int I = 0; I < CLB_Curve_Count; ++I)
        if (&Curve_Units()[I] != &U && Curve_Units()[I].Curve->Selected >= 0)
            return -1;
    const int64_t Rx = CLB_Round_Div(int64_t{Hit_Pixels} * U.X_Max(), CLB_Plot_Width);
    const int64_t Ry = CLB_Round_Div(int64_t{Hit_Pixels} * U.Y_Bound(), CLB_Plot_Height);
    const CLB_Curve& C = *U.Curve;
    for (int K = 0; K < CLB_Points; ++K) {
        const std::size_t k = static_cast<std::size_t>(K);
        if (std::llabs(int64_t{X} - C.In[k]) > Rx || std::llabs(int64_t{Y} - C.Out[k]) > Ry)
            continue;
        CLB_Drag_X = C.In[k];
        CLB_Drag_Y = C.Out[k];
        // Point 0 moves the curve up and down, point 8 (picked) reshapes it, the others
        // move freely between their neighbours.
        Image_CLB->Cursor(K == 0 ? TCursor::Size_NS : C.Selected == Last_Point ? TCursor::VSplit : TCursor::Size_All);
        Draw_Calibration_Chart();
        Image_CLB->Hint(std::to_string(K) + " point");
        Image_CLB->ShowHint(true);
        return K;
    }
    return -1;
}

void Main_Form_Calibration::CLB_Move(const Curve_Unit& U, int32_t X, int32_t Y, bool Press, bool By_Key)
{
    CLB_Curve& C = *U.Curve;
    if (X < 0 || X > CLB_X_Of(U.X, CLB_Plot_Width) || Y < CLB_Y_Of(U.Y, CLB_Plot_Height) || Y > CLB_Y_Of(U.Y, 0))
        return;
    CLB_Show_Position(U, X, Y);
    if (CLB_Dragging && C.Selected >= 0 && C.Selected <= Last_Point) {
        const int S = C.Selected;
        // A key step always moves; the mouse first has to leave the point a little.
        const int32_t Dx = std::abs(X - CLB_Drag_X), Dy = std::abs(Y - CLB_Drag_Y);
        const bool Started = U.Coarse_Start ? (Dx >= U.X_Quantum || Dy != 0) : (Dx > Fine_Start || Dy > Fine_Start);
        if (!By_Key && !Started)
            return;
        CLB_Drag_X = Toward(CLB_Drag_X, X, U.X_Quantum);
        CLB_Drag_Y = Toward(CLB_Drag_Y, Y, U.Y_Quantum());
        const int32_t New_X = CLB_Drag_X, New_Y = CLB_Drag_Y;
        CLB_Show_Position(U, New_X, New_Y);
        Edit_CLB_InVolt->Text(U.X_Text(New_X));
        (this->*U.Y_Box)->Text(U.Y_Text(New_Y));

        C.Out = C.Backup;
        const int32_t Bound = U.Y_Bound();
        int64_t Low = Bound, High = 0;
        for (int32_t V : C.Out) {
            Low = std::min<int64_t>(Low, V);
            High = std::max<int64_t>(High, V);
        }
        const int A = C.Anchor >= 1 && C.Anchor < Last_Point ? C.Anchor : -1;
        bool Accepted = false;
        if (S == 0) {
            const int64_t E = int64_t{New_Y} - C.Out[0];
            if (High + E <= Bound && Low + E >= 0) {
                if (A < 0)
                    for (int32_t& V : C.Out)
                        V = static_cast<int32_t>(V + E);
                else
                    Reshape(C, A, 0, 0, A - 1, New_Y, Bound);
                Accepted = true;
            }
        } else if (S == Last_Point) {
            if (A < 0)
                Reshape(C, 0, Last_Point, 1, Last_Point, New_Y, Bound);
            else
                Reshape(C, A, Last_Point, A + 1, Last_Point, New_Y, Bound);
            Accepted = true;
        } else {
            const std::size_t s = static_cast<std::size_t>(S);
            if (int64_t{C.In[s - 1]} + 1 <= New_X && New_X <= int64_t{C.In[s + 1]} - 1) {
                C.Out[s] = New_Y;
                C.In[s] = New_X;
                Accepted = true;
            }
        }
        if (Accepted) {
            C.Backup = C.Out;
            Draw_Calibration_Chart();
        }
        return;
    }

    const int Hit = CLB_Hit_Test(U, X, Y);
    if (CLB_Marking) {
        // The right button marks once, when it is pressed; moving with it held changes
        // nothing.
        if (!Press)
            return;
        if (Hit < 1 || Hit > Last_Point - 1) {
            C.Anchor = -1;
        } else {
            CLB_Key_Select = false;
            C.Anchor = C.Anchor == Hit ? -1 : Hit;
        }
        Draw_Calibration_Chart();
        return;
    }
    if (CLB_Dragging) {
        // A press (or a drag that has not picked a point yet) picks what lies under the
        // mouse; the chart changes only when the pick does.
        const bool Changed = C.Selected != Hit;
        C.Selected = Hit;
        if (!Any_Selected())
            CLB_Show_Point_Colours_Reset();
        CLB_Show_Point(U);
        CLB_Key_Select = Any_Selected();
        if (Changed || Press)
            Draw_Calibration_Chart();
    }
    if (Hit != C.Selected && !CLB_Key_Select) {
        C.Selected = Hit;
        CLB_Show_Point(U);
        if (!Any_Selected())
            CLB_Show_Point_Colours_Reset();
        Draw_Calibration_Chart();
    }
}

void Main_Form_Calibration::CLB_Show_Position(const Curve_Unit& U, int32_t X, int32_t Y)
{
    Edit_x_pos_InVolt->Text(U.X_Text(X));
    (this->*U.Y_Position_Box)->Text(U.Y_Text(Y));
}

void Main_Form_Calibration::CLB_Show_Point(const Curve_Unit& U)
{
    const CLB_Curve& C = *U.Curve;
    if (C.Selected < 0 || C.Selected > Last_Point)
        return;
    const std::size_t s = static_cast<std::size_t>(C.Selected);
    Label_CLB_Point_Num->Caption(std::to_string(C.Selected));
    Label_CLB_Point_Num->Font().Color(U.Text_Colour);
    Edit_CLB_InVolt->Text(U.X_Text(C.In[s]));
    Edit_CLB_InVolt->Color(U.X_Box_Colour);
    Edit_CLB_InVolt->Font().Color(clWhite);
    TEdit* Y_Box = this->*U.Y_Box;
    Y_Box->Text(U.Y_Text(C.Out[s]));
    Y_Box->Color(U.Y_Box_Colour);
    Y_Box->Font().Color(U.Y_Box_Text);
    for (const Diagram_Box& D : Diagram_Boxes())
        if (D.Box == this->*U.Box)
            D.Paint(Colour_Picked);
}

void Main_Form_Calibration::CLB_Show_Point_Colours_Reset()
{
    if (Any_Selected())
        return;
    Label_CLB_Point_Num->Font().Color(clBlack);
    for (TEdit* E : {Edit_CLB_InVolt, Edit_CLB_Gas, Edit_CLB_OutVolt}) {
        E->Color(clWhite);
        E->Font().Color(clBlack);
    }
    const bool Cursor_Changed = Image_CLB->Cursor() != TCursor::Default;
    Image_CLB->Cursor(TCursor::Default);
    Image_CLB->ShowHint(false);
    for (const Diagram_Box& D : Diagram_Boxes())
        D.Paint(clBtnFace);
    if (Cursor_Changed)
        Draw_Calibration_Chart();
}

// ---------------------------------------------------------------- keys

bool Main_Form_Calibration::Calibration_Page_Shown() const
{
    const TPageControl* Pages = TabSheet_Calibration->PageControl();
    return Pages && Pages->ActivePage() == TabSheet_Calibration;
}

void Main_Form_Calibration::CLB_Digit_Key(char Key)
{
    if (!Calibration_Page_Shown())
        return;
    if (Key < '0' || Key > '0' + Last_Point || !Settings.CLB_Diagram_GAS)
        return;
    Edit_x_pos_InVolt->SetFocus();
    const int Digit = Key - '0';
    CLB_Key_Select = true;
    if (Digit == CLB_Gas.Selected) {
        CLB_Gas.Selected = -1;
        CLB_Key_Select = false;
        CLB_Dragging = false;
        TabSheet_Calibration->SetFocus();
        CLB_Show_Point_Colours_Reset();
        Draw_Calibration_Chart();
    } else {
        // One curve holds the picked point.
        CLB_Selection_Clear();
        CLB_Gas.Selected = Digit;
    }
    CLB_Gas.Backup = CLB_Gas.Out;
    const Curve_Unit& Gas = Curve_Units()[0];
    if (CLB_Gas.Selected >= 0) {
        const std::size_t s = static_cast<std::size_t>(CLB_Gas.Selected);
        CLB_Hit_Test(Gas, CLB_Gas.In[s], CLB_Gas.Out[s]);
        CLB_Show_Point(Gas);
    }
    Draw_Calibration_Chart();
}

void Main_Form_Calibration::CLB_Arrow_Key(uint16_t Key)
{
    if (!CLB_Key_Select || !Calibration_Page_Shown() || Read_In_Progress())
        return;
    if (Key != VK_LEFT && Key != VK_RIGHT && Key != VK_UP && Key != VK_DOWN)
        return;
    CLB_Dragging = true;
    for (int I = 0; I < CLB_Curve_Count; ++I) {
        const Curve_Unit& U = Curve_Units()[I];
        CLB_Curve& C = *U.Curve;
        if (C.Selected < 0 || C.Selected > Last_Point)
            continue;
        const int32_t Dx = Key == VK_LEFT ? -U.X_Quantum : Key == VK_RIGHT ? U.X_Quantum : 0;
        const int32_t Dy = Key == VK_UP ? U.Y_Quantum() : Key == VK_DOWN ? -U.Y_Quantum() : 0;
        const std::size_t s = static_cast<std::size_t>(C.Selected);
        // The step starts from the point as it stands now: curves read or loaded since the
        // point was picked are not put back.
        C.Backup = C.Out;
        CLB_Drag_X = C.In[s];
        CLB_Drag_Y = C.Out[s];
        CLB_Move(U, C.In[s] + Dx, C.Out[s] + Dy, false, true);
    }
    CLB_Dragging = false;
}

void Main_Form_Calibration::CLB_Edit_Cancel()
{
    CLB_Selection_Clear();
    CLB_Dragging = false;
    CLB_Marking = false;
    CLB_Key_Select = false;
    CLB_Show_Point_Colours_Reset();
    Draw_Calibration_Chart();
}
