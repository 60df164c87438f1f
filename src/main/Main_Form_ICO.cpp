// The main window's side of the big-digit windows: the clicks on its live displays that
// open them, their values after each current-data reply (the oscilloscope's readouts
// during playback), their keys in the settings file and their right click.
#include <array>
#include <utility>
#include <vector>

#include "data/Settings.h"
#include "main/Main_Form.h"
#include "windows/ICO_Window.h"

namespace {

// The main window's displays of each window's value: a left click (General page) or a
// double click (Calibration and Oscilloscope pages) opens the window, a right click the
// compact configuration view of the same value.
struct Display_Click_Row {
    int Window;
    std::vector<const char*> General;       // left click
    std::vector<const char*> Readouts;      // double click
};
const Display_Click_Row Display_Clicks[] = {
    {1, {"Label_GEN_RPM", "Image_GEN_RPM_jpg", "Label_GEN_RPM_Dig", "Image_GEN_RPM"},
     {"Label_CLB_RPM", "Label_CLB_RPM_Dig", "Edit_OSC_RPM"}},
    {2, {"Image_GEN_TPS_jpg", "Image_GEN_TPS", "Label_GEN_TPS", "Label_GEN_TPS_Dig"},
     {"Label_CLB_TPS", "Label_CLB_TPS_Dig", "Edit_OSC_TPS"}},
    {3, {"Image_GEN_Gas_jpg", "Image_GEN_Gas", "Label_GEN_GAS", "Label_GEN_Gas_Dig"},
     {"Label_CLB_Gas", "Label_CLB_Gas_Dig", "Edit_OSC_Gas"}},
    {4, {"Label_GEN_TempVap", "Label_GEN_TempVap_Dig"},
     {"Label_CLB_TempVap", "Label_CLB_TempVap_Dig", "Edit_OSC_TempVap"}},
    {5, {"Label_GEN_TempGas", "Label_GEN_TempGas_Dig"},
     {"Label_CLB_TempGas", "Label_CLB_TempGas_Dig", "Edit_OSC_TempGas"}},
    {6, {"Label_GEN_TempInside", "Label_GEN_TempInside_Dig"}, {}},
    {7, {"Label_GEN_TempCouple", "Label_GEN_TempCouple_Dig"},
     {"Label_CLB_TempCouple", "Label_CLB_TempCouple_Dig"}},
    {8, {"Label_GEN_PressVap", "Label_GEN_PressVap_Dig"},
     {"Label_CLB_PressVap", "Label_CLB_PressVap_Dig"}},
    {9, {"Label_GEN_PressColl", "Label_GEN_PressColl_Dig"},
     {"Label_CLB_PressColl", "Label_CLB_PressColl_Dig", "Edit_OSC_PressColl"}},
    {10, {"Label_GEN_PressDiff", "Label_GEN_PressDiff_Dig"},
     {"Label_CLB_PressDiff", "Label_CLB_PressDiff_Dig", "Edit_OSC_PressDiff"}},
    {11, {"Label_GEN_Power", "Label_GEN_Power_Dig"}, {}},
    {12, {"Label_GEN_Detonation", "Label_GEN_Detonation_Dig"},
     {"Label_CLB_Detonation", "Label_CLB_Detonation_Dig", "Edit_OSC_Detonation"}},
    {14, {"Label_GEN_PerCent", "Label_GEN_PerCent_Dig"}, {}},
};

}  // namespace

void TForm_KardunGAS::Open_ICO_Window(int n)
{
    ::Open_ICO_Window(n);
    // The new window shows the value at once rather than after the next reply.
    Refresh_ICO_Windows();
}

void TForm_KardunGAS::Refresh_ICO_Windows()
{
    // Playback runs while the oscilloscope's start button is disabled; the windows that
    // follow it copy its readouts.
    const bool Playback = !Button_OSC_StartStop->Enabled();
    ICO_Texts Readouts;
    if (Playback) {
        const std::array<std::pair<int, TEdit*>, 8> Sources = {{{1, Edit_OSC_RPM},
                                                                {2, Edit_OSC_TPS},
                                                                {3, Edit_OSC_Gas},
                                                                {4, Edit_OSC_TempVap},
                                                                {5, Edit_OSC_TempGas},
                                                                {9, Edit_OSC_PressColl},
                                                                {10, Edit_OSC_PressDiff},
                                                                {12, Edit_OSC_Detonation}}};
        for (const auto& [n, Edit] : Sources)
            Readouts[n] = Edit->Text();
    }
    ICO_Show_Values(ICO_Live_Texts(), Playback, Readouts);
}

void TForm_KardunGAS::ICO_Display_Right_Click(int n)
{
    if (const int View = ICO_Compact_View(n, MiniCFG_View_Type))
        Show_MiniCFG(View);
}

void TForm_KardunGAS::Bind_ICO()
{
    Link_Hooks.Bind("Settings_Hooks.ICO_Load", Settings_Hooks.ICO_Load, [] { ICO_Settings_Load(); });
    Link_Hooks.Bind("Settings_Hooks.ICO_Save", Settings_Hooks.ICO_Save, [] { ICO_Settings_Save(); });
    Link_Hooks.Bind("ICO_Window_Hooks.Right_Click", ICO_Window_Hooks.Right_Click,
                    [this](int n) { ICO_Display_Right_Click(n); });
    for (const Display_Click_Row& Row : Display_Clicks) {
        const int n = Row.Window;
        auto Mouse_Down = [this, n](bool Left_Opens) {
            return [this, n, Left_Opens](TObject*, TMouseButton Button, TShiftState, int, int) {
                if (Button == TMouseButton::Right)
                    ICO_Display_Right_Click(n);
                else if (Button == TMouseButton::Left && Left_Opens)
                    Open_ICO_Window(n);
            };
        };
        for (const char* Name : Row.General)
            if (auto* C = dynamic_cast<TControl*>(FindComponent(Name)))
                C->OnMouseDown = Mouse_Down(true);
        // The readouts of the other pages open on a double click.
        for (const char* Name : Row.Readouts)
            if (auto* C = dynamic_cast<TControl*>(FindComponent(Name))) {
                C->OnMouseDown = Mouse_Down(false);
                C->OnDblClick = [this, n](TObject*) { Open_ICO_Window(n); };
            }
    }
}
