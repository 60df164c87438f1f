// The main window's parts: every hook a part (or the window's link) binds is in place while
// the window lives and released when it goes, so no lower layer calls into a window that
// is gone.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "main/Main_Test_Support.h"

namespace {

using namespace main_test;

class Main_Form_Parts : public Main_Window_Fixture {};

TEST_F(Main_Form_Parts, EveryHookAPartBindsIsReleasedWhenTheWindowGoes)
{
    Create();
    const std::vector<Hook_Bindings::Binding> Bound = Main()->Bound_Hooks();

    // The hooks each part reaches the window through, one row per part.
    const std::vector<std::string> Expected = {
        "Status_Line_Hooks.Line_Changed",     // status row
        "Protocol_Hooks.Gas_Fors_Down",       // forcing strip
        "Temperature_Hooks.Show_Displays",    // General page
        "Live_Data_Hooks.Show_Error_Memo",    // Errors page
        "Settings_Hooks.To_Form",             // Settings page
        "Ident_Hooks.About_Work_Visible",     // About page
        "Link_Timer_Sending",                 // the link
        "Script condition 200",
        "Key_File report",
    };
    std::set<std::string> Names;
    for (const auto& B : Bound) {
        EXPECT_TRUE(Names.insert(B.Name).second) << B.Name << " bound twice";
        EXPECT_TRUE(B.Bound()) << B.Name << " is not in place while the window lives";
    }
    for (const std::string& Name : Expected)
        EXPECT_TRUE(Names.count(Name)) << Name;

    W->Destroy();
    for (const auto& B : Bound)
        EXPECT_FALSE(B.Bound()) << B.Name << " is still bound after the window went";
}

TEST_F(Main_Form_Parts, AReleasedStatusLineAndScriptStepNoLongerReachTheWindow)
{
    Create();
    W->Destroy();
    // The status queue and the identification condition run without a window.
    Add_Status_Message(clRed, "after the window");
    EXPECT_TRUE(Status_Line.Visible);
    Ident_Status = 2;
    EXPECT_TRUE(Script_Condition_Slot(200)());
    EXPECT_FALSE(Live_Data_Hooks.Show_Live_Values);
}

}  // namespace
