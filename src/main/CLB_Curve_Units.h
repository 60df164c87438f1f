// The family of curve units shared by the Calibration page's chart and its point editing:
// per curve its data, the setting that shows it, its axes, its editing quanta and bounds,
// its colours and how its values read in the value boxes. One row per curve, in the order
// the chart draws and the editing visits them: gas, RPM, TPS 1..3, VAC.
#pragma once

#include <cstdint>
#include <string>

#include "data/Calibration.h"
#include "data/Settings.h"
#include "main/Main_Form_Calibration.h"
#include "protocol/Live_Data.h"

struct Main_Form_Calibration::Curve_Unit {
    using P = Main_Form_Calibration;
    CLB_Curve* Curve;
    bool Settings_Class::*Shown;
    X_Axis X;
    Y_Axis Y;
    // Mouse drags start past a few units of either axis (Fine), or at one X quantum or any
    // Y change (the factor curves, whose Y unit is a pixel's fraction).
    bool Coarse_Start;
    // Quantum of a drag step and of an arrow key: X in the curve's X unit.
    int32_t X_Quantum;
    // Colours: the curve, its selection frame and mark, the point number, the live point.
    TColor Colour, Highlight, Text_Colour, Live_Colour;
    // The picked point's boxes: X box background; Y box background and text.
    TColor X_Box_Colour, Y_Box_Colour, Y_Box_Text;
    // The Y boxes of this curve: the picked point's and the cursor's.
    TEdit* P::*Y_Box;
    TEdit* P::*Y_Position_Box;
    // Its curve box (the diagram box row of the same index in Diagram_Boxes order).
    TCheckBox* P::*Box;
    // The live point: X and Y of the live values (X times X_Live_Scale).
    int32_t Live_Values_Class::*Live_X;
    int32_t X_Live_Scale;
    int32_t Live_Values_Class::*Live_Y;

    // Upper bound of the Y values (gas time, TPS output, factor), at least 1.
    int32_t Y_Bound() const;
    // Quantum of a Y step (and of an arrow key).
    int32_t Y_Quantum() const;
    // Upper end of the X axis.
    int32_t X_Max() const;
    // The values as the value boxes show them.
    std::string X_Text(int32_t Value) const;
    std::string Y_Text(int32_t Value) const;
};

// Upper ends of the chart's axes (the gas and TPS bounds follow their full scales, at
// least 1).
int32_t CLB_X_Max(Main_Form_Calibration::X_Axis Axis);
int32_t CLB_Y_Bound(Main_Form_Calibration::Y_Axis Axis);
// Num / Den rounded to the nearest integer, an exact half away from zero; 0 for Den = 0.
int64_t CLB_Round_Div(int64_t Num, int64_t Den);
