// The oscilloscope's axis labels.
#include <gtest/gtest.h>

#include "data/Conversions.h"
#include "main/Oscilloscope.h"

namespace {

TEST(Oscilloscope, AxisLabelsOfTheRowsAtTheSplitAndTheEnds)
{
    struct Row {
        OSC_Group Group;
        int I, P;
        bool Negative;
        double Value;   // "" where Decimals is -1
        int Decimals;
    };
    // R = 18 rows; full scales 32 ms, 5000 rpm, 100.0 degrees, 2.00 bar, 5.00 V.
    const Row Rows[] = {
        {OSC_Group::Temperature, 6, 5, true, 1550.0 / 130 - 55, 0},   // -43: first row above P
        {OSC_Group::Temperature, 18, 5, true, 100, 0},
        {OSC_Group::Temperature, 5, 5, true, 0, -1},                  // row P shows volts
        {OSC_Group::Temperature, 18, 5, false, 100, 0},
        {OSC_Group::Temperature, 2, 1, false, 1000.0 / 170, 0},
        {OSC_Group::Volt, 5, 5, true, 5, 1},
        {OSC_Group::Volt, 6, 5, true, 0, -1},
        {OSC_Group::Volt, 1, 1, true, 5, 1},
        {OSC_Group::Volt, 17, 17, true, 5, 1},
        {OSC_Group::Gas, 18, 5, true, 32, 0},
        {OSC_Group::Gas, 9, 5, true, 16, 0},
        {OSC_Group::RPM, 1, 5, true, 5000.0 / 18, 0},
        {OSC_Group::Pressure, 9, 5, true, 1, 1},
        {OSC_Group::Pressure, 0, 5, true, 0, 1},
    };
    Settings_Class S;
    OSC_Data_Class D;
    OSC_Geometry(D, 747, 303);
    ASSERT_EQ(D.R, 18);
    for (const Row& R : Rows) {
        S.OSC_Negativ_Degree = R.Negative;
        OSC_Split(D, R.P);
        const std::string Expected = R.Decimals < 0 ? "" : Format_Fixed(R.Value, 15, R.Decimals);
        EXPECT_EQ(OSC_Row_Label(R.Group, R.I, D, S), Expected)
            << "group " << static_cast<int>(R.Group) << " row " << R.I << " split " << R.P;
    }
}

}  // namespace
