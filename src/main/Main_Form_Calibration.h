// The Calibration page: the chart image of the six calibration curves, the boxes that
// choose the curves shown and the grid, the value boxes of the cursor and of the point
// being edited, the live values beside the chart, and the transfer and file buttons.
//
// The chart (Main_Form_CLB_Chart.cpp) and the editing of its points with the mouse and
// the keys (Main_Form_CLB_Edit.cpp) belong to this part.
//
// All on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"

struct Main_Form_Calibration : Main_Form_Part {
    TTabSheet* TabSheet_Calibration = nullptr;
    // Transfer and file buttons along the top of the page.
    TButton* Button_CLB_Default = nullptr;
    TButton* Button_CLB_Load = nullptr;
    TButton* Button_CLB_Save = nullptr;
    TButton* Button_CLB_Receiv = nullptr;
    TButton* Button_CLB_Transmitt = nullptr;
    // The chart.
    TImage* Image_CLB = nullptr;
    // Curves shown: a box, the label that toggles it and, beside it, the curve's live value.
    TCheckBox* CheckBox_CLB_Diagram_Gas = nullptr;
    TLabel* Label_CLB_Diagram_Gas = nullptr;
    TCheckBox* CheckBox_CLB_Diagram_TPS_1 = nullptr;
    TLabel* Label_CLB_Diagram_TPS_1 = nullptr;
    TLabel* Label_CLB_Diagram_TPS_1_Data = nullptr;
    TCheckBox* CheckBox_CLB_Diagram_TPS_2 = nullptr;
    TLabel* Label_CLB_Diagram_TPS_2 = nullptr;
    TLabel* Label_CLB_Diagram_TPS_2_Data = nullptr;
    TCheckBox* CheckBox_CLB_Diagram_TPS_3 = nullptr;
    TLabel* Label_CLB_Diagram_TPS_3 = nullptr;
    TLabel* Label_CLB_Diagram_TPS_3_Data = nullptr;
    TCheckBox* CheckBox_CLB_Diagram_RPM = nullptr;
    TLabel* Label_CLB_Diagram_RPM = nullptr;
    TLabel* Label_CLB_Diagram_RPM_Data = nullptr;
    // The VAC curve: usable on models with the VAC input only.
    TCheckBox* CheckBox_CLB_Diagram_VAC = nullptr;
    TLabel* Label_CLB_Diagram_VAC = nullptr;
    TLabel* Label_CLB_Diagram_VAC_Data = nullptr;
    TCheckBox* CheckBox_CLB_Grid = nullptr;
    TLabel* Label_CLB_Grid = nullptr;
    // Value boxes (display only): the cursor's place on the chart (x_pos, y_pos) and the
    // point being edited (CLB), input, gas time and output, under their captions.
    TGroupBox* GroupBox_CLB_Point = nullptr;
    TLabel* Label_CLB_InVolt_Point = nullptr;
    TLabel* Label_CLB_Gas_Point = nullptr;
    TLabel* Label_CLB_OutVolt_Point = nullptr;
    TLabel* Label_CLB_Cursor = nullptr;
    TLabel* Label_CLB_Selected = nullptr;
    // Number of the point being edited, in its curve's colour.
    TLabel* Label_CLB_Point_Num = nullptr;
    TEdit* Edit_x_pos_InVolt = nullptr;
    TEdit* Edit_y_pos_Gas = nullptr;
    TEdit* Edit_y_pos_OutVolt = nullptr;
    TEdit* Edit_CLB_InVolt = nullptr;
    TEdit* Edit_CLB_Gas = nullptr;
    TEdit* Edit_CLB_OutVolt = nullptr;
    // Live values beside the chart: caption and digits of each.
    TPanel* Panel_CLB_Live = nullptr;
    TLabel* Label_CLB_RPM = nullptr;
    TLabel* Label_CLB_RPM_Dig = nullptr;
    TLabel* Label_CLB_TPS = nullptr;
    TLabel* Label_CLB_TPS_Dig = nullptr;
    TLabel* Label_CLB_Gas = nullptr;
    TLabel* Label_CLB_Gas_Dig = nullptr;
    TLabel* Label_CLB_Temperature = nullptr;
    TLabel* Label_CLB_TempVap = nullptr;
    TLabel* Label_CLB_TempVap_Dig = nullptr;
    TLabel* Label_CLB_TempGas = nullptr;
    TLabel* Label_CLB_TempGas_Dig = nullptr;
    TLabel* Label_CLB_TempCouple = nullptr;
    TLabel* Label_CLB_TempCouple_Dig = nullptr;
    TLabel* Label_CLB_Pressure = nullptr;
    TLabel* Label_CLB_PressVap = nullptr;
    TLabel* Label_CLB_PressVap_Dig = nullptr;
    TLabel* Label_CLB_PressColl = nullptr;
    TLabel* Label_CLB_PressColl_Dig = nullptr;
    TLabel* Label_CLB_PressDiff = nullptr;
    TLabel* Label_CLB_PressDiff_Dig = nullptr;
    TLabel* Label_CLB_Detonation = nullptr;
    TLabel* Label_CLB_Detonation_Dig = nullptr;

    // The chart's image size kept at page start and the plot inside it (pixels): the plot
    // leaves 30 pixels left and right and 20 above and below for the scales.
    int CLB_Image_Width = 0, CLB_Image_Height = 0;
    int CLB_Plot_Width = 0, CLB_Plot_Height = 0;

    void Create_Sheet(TComponent* Owner, TPageControl* Pages);
    void Create_Part(TComponent* Owner, TControl* Content);
    // The curve codecs' and the file routines' redraw after new curves.
    void Bind_Part(TForm_KardunGAS& Form);
    TTabSheet* Part_Sheet() const { return TabSheet_Calibration; }
    std::vector<TControl*> Part_Value_Labels() const;
    std::vector<TButton*> Part_Link_Buttons() const { return {Button_CLB_Receiv, Button_CLB_Transmitt}; }
    std::vector<TControl*> Part_Buffered_Controls() const { return {TabSheet_Calibration}; }
    // The gas temperature's caption shows only with the temperature table.
    void Show_Temperature_Part(bool Shown) { Label_CLB_TempGas->Visible(Shown); }
    // While the page is shown: the chart, the live digits and the curves' live values.
    void Show_Live_Part(const Live_Texts& T, bool Page_Active, TForm_KardunGAS& Form);

    // At window creation, after the configuration page (the curves are already the
    // defaults overlaid by the settings' file): the image and plot size, no selection, the
    // boxes from the settings, the chart, the curve colours of the labels.
    void Calibration_Page_Init();
    // The grid and curve boxes show the settings (their handlers do not run).
    void Calibration_Boxes_From_Settings();
    // Default: the shown curves to their defaults (curves not shown keep theirs), redrawn.
    void Button_CLB_DefaultClick(TObject* Sender);
    // Receive: the loaded file no longer counts as meant for writing; when connected the
    // curves are read (request 3 with the configuration when Save_Load_Data is on, else 5).
    void Button_CLB_ReceivClick(TObject* Sender);
    // A diagram box changed: its setting follows it; a checked box takes its captions and
    // unchecks the curves it may not be shown with; then Calibration_Diagram_Reset.
    void CheckBox_CLB_DiagramClick(TCheckBox* Box);
    void CheckBox_CLB_GridClick(TObject* Sender);
    // After a diagram change: value boxes to "0", box colours back, Gas shown when nothing
    // is, editing cancelled, chart redrawn.
    void Calibration_Diagram_Reset();

    // ---- the chart ----
    // The axes can be drawn: false when the plot has no width or no height.
    bool Calibration_Scales() const;
    // The whole image (background, title, coloured axis bands with their scales, outline)
    // into the chart's picture.
    void Draw_Calibration_Frame();
    // The plot (grid, curves, points, the selection and anchor marks) into the chart's
    // picture; the frame first when its axis steps are not set yet.
    void Draw_Calibration();
    // The chart on Image_CLB, as every change of the curves, the selection, the shown
    // curves or the live values asks; nothing before the settings were applied to the
    // window or on an image without a plot. The picture without the live points is made
    // again only when what it shows changed; each call puts the live points on a copy of
    // the part of it they cover (the part they left included).
    void Draw_Calibration_Chart();
    // The next drawing makes the whole chart again, as after a change of what it shows.
    void CLB_Chart_Forget() { CLB_Chart_Made = false; }
    // The scale labels beside the plot as the frame writes them: text, left edge and top
    // in the image, and the part of its band a label must stand in (inside the image's
    // outline and left of the plot's; right edge excluded).
    struct CLB_Side_Label {
        std::string Text;
        int Left = 0, Top = 0;
        TRect Band;
    };
    std::vector<CLB_Side_Label> CLB_Side_Labels() const;
    // Their font size: the frame's 10 points, or the largest size below it at which every
    // label stands whole in its band.
    int CLB_Side_Label_Points() const;
    // Axis steps of the drawn frame (X: rpm, 0.001 bar or 0.01 V; Y: factor x 10000, ms or
    // 0.01 V); 0 until the frame was drawn.
    int CLB_X_Step = 0, CLB_Y_Step = 0;

    // Pixel <-> value of the chart's axes, in plot coordinates (origin at the plot's top
    // left): the input counts of gas and TPS, rpm, 0.001 bar, and the 0..5 V (0.01 V)
    // scale of the TPS-only axes; the gas time (us), the TPS output, the factor x 10000.
    enum class X_Axis { Input, RPM, VAC, Volt };
    enum class Y_Axis { Gas, TPS, Factor, Volt };
    int CLB_Px(X_Axis Axis, int64_t Value) const;
    int CLB_Py(Y_Axis Axis, int64_t Value) const;
    int32_t CLB_X_Of(X_Axis Axis, int Px) const;
    int32_t CLB_Y_Of(Y_Axis Axis, int Py) const;

    // ---- point editing ----
    // Left button held or an arrow step running; right button held; a point chosen for the
    // arrow keys; the drag's reference point in curve units (moved in whole quanta).
    bool CLB_Dragging = false;
    bool CLB_Marking = false;
    bool CLB_Key_Select = false;
    int32_t CLB_Drag_X = 0, CLB_Drag_Y = 0;
    // Mouse on the chart (image coordinates; scaled back to the chart's own size while the
    // window is maximised). Down takes a copy of every curve, picks the point under the
    // mouse (left) or marks the anchor (right); move drags the picked point or shows what
    // lies under the mouse; up ends the drag and, with Transmit_Now on while connected,
    // sends the curves (the Transmitt button's action).
    void Image_CLBMouseDown(TMouseButton Button, int X, int Y);
    void Image_CLBMouseMove(int X, int Y);
    void Image_CLBMouseUp();
    // Keys of the main window while this page shows: a digit '0'..'8' picks (or, pressed
    // again, drops) that point of the gas curve; an arrow (VK_LEFT .. VK_DOWN) moves the
    // picked point by its curve's key step; Escape cancels the edit. Other keys do nothing.
    void CLB_Digit_Key(char Key);
    void CLB_Arrow_Key(uint16_t Key);
    void CLB_Edit_Cancel();
    // With no point picked: the point number black, the value boxes white, the default
    // cursor, no hint, the curve boxes' colours back.
    void CLB_Show_Point_Colours_Reset();

    // A diagram box with its label, its setting and the group it may be shown with
    // (gas and the three TPS curves together; RPM and VAC each alone).
    struct Diagram_Box {
        TCheckBox* Box;
        TLabel* Label;
        TLabel* Data;   // the curve's live value beside it, or none
        bool* Setting;
        int Group;
        // The box, its label and its live value take one background colour.
        void Paint(TColor Colour) const
        {
            Box->Color(Colour);
            Label->Color(Colour);
            if (Data)
                Data->Color(Colour);
        }
    };
    std::vector<Diagram_Box> Diagram_Boxes() const;

private:
    // What the picture without the live points was made from: sizes, shown curves and
    // grid, scales, the curves with their marks, the font and the title's texts.
    struct CLB_Chart_Key {
        std::vector<int32_t> Numbers;
        std::string Texts;
        bool operator==(const CLB_Chart_Key&) const = default;
    };
    CLB_Chart_Key CLB_Chart_Key_Now() const;
    void Draw_Calibration_Live(bool Whole);
    TBitmap CLB_Chart_Picture;          // frame and plot without the live points
    CLB_Chart_Key CLB_Chart_Made_From;
    bool CLB_Chart_Made = false;
    std::int64_t CLB_Image_Drawn = 0;   // Image_CLB's content key after the last drawing
    TRect CLB_Live_Area;                // plot pixels the live points covered then
    struct Curve_Unit;
    static const Curve_Unit* Curve_Units();
    bool Curve_Shown(const Curve_Unit& U) const;
    void CLB_Dispatch(int X, int Y, bool Press);
    int CLB_Hit_Test(const Curve_Unit& U, int32_t X, int32_t Y);
    void CLB_Move(const Curve_Unit& U, int32_t X, int32_t Y, bool Press, bool By_Key);
    void CLB_Show_Point(const Curve_Unit& U);
    void CLB_Show_Position(const Curve_Unit& U, int32_t X, int32_t Y);
    void CLB_Position_Colours(int X, int Y);
    bool Calibration_Page_Shown() const;
    // While boxes are set by code their handlers do nothing (a box set by another's click
    // must not reset the page twice).
    bool Diagram_Boxes_Busy = false;
};
