// What a technician sees of the Configuration page and the clients database: row captions
// whole in a longer language, the car group clear of the search row, the start impulse over
// the injection bars, and list columns that share the list's width.
#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "main/Main_Test_Support.h"
#include "platform/system/Date_Time.h"
#include "windows/DTB_Window.h"

namespace {

using namespace main_test;

TRect On_Form(const TControl* C)
{
    TRect R{C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height()};
    for (const TControl* P = C->Parent(); P && !dynamic_cast<const TForm*>(P); P = P->Parent())
        R = TRect{R.Left + P->Left(), R.Top + P->Top(), R.Right + P->Left(), R.Bottom + P->Top()};
    return R;
}

bool Apart(const TRect& A, const TRect& B)
{
    return A.Right <= B.Left || B.Right <= A.Left || A.Bottom <= B.Top || B.Bottom <= A.Top;
}

using Look_Layout = Main_Window_Fixture;

TEST_F(Look_Layout, RowCaptionsStayWholeAndFollowAScaledList)
{
    // A Windows-1251 language whose caption of group 3 is far longer than its row.
    std::filesystem::create_directory(Folder->File("Language"));
    const std::string Long = "\xD3\xF1\xEB\xEE\xE2\xE8\xFF \xEE\xE1\xF0\xE0\xF2\xED\xEE\xE3\xEE "
                             "\xEF\xE5\xF0\xE5\xEA\xEB\xFE\xF7\xE5\xED\xE8\xFF \xF1 \xE3\xE0\xE7\xE0 \xED\xE0 "
                             "\xE4\xE8\xE7\xE5\xEB\xFC";
    Folder->Write("Language/Russian.lng", "Russian\r\nCFG_SwitchGP_Hint " + Long + "\r\n");
    Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST5") + Key_File_Pad_Key("Language") +
                                      "Russian {}\r\n" + Key_File_Pad_Key("Russian_C") + "204 {}\r\n");
    Create();
    TForm_KardunGAS* F = Main();
    for (int N = 1; N <= Main_Form_Configuration::Options_Count; ++N) {
        TLabel* L = F->Options_Label[static_cast<size_t>(N)];
        if (!L->WordWrap()) {
            EXPECT_LE(ui::Text_Width(L->Font(), L->Caption()), L->Width()) << N;
        }
    }
    TLabel* Long_Row = F->Options_Label[3];
    ASSERT_EQ(Long_Row->Caption(), Long);
    EXPECT_TRUE(Long_Row->WordWrap());
    EXPECT_GE(Long_Row->Font().Size(), 6);
    EXPECT_EQ(Long_Row->Font().Charset(), 204);
    EXPECT_FALSE(F->Options_Label[9]->WordWrap());   // "Gas type settings" fits in one line

    // A list scaled before the window reports itself maximised: the rows follow its scale.
    ASSERT_NE(F->WindowState(), TWindow_State::Maximized);
    F->Panel_CFG_Options_List->SetBounds(0, 0, 350, 675);
    F->Options_Order_Init();
    EXPECT_EQ(F->Options_Label[1]->Left(), 108);
    EXPECT_EQ(F->Options_Label[1]->Width(), 229);
}

TEST_F(Look_Layout, TheCarGroupClearsTheSearchRowAndTheStartImpulseMarksTheBars)
{
    sys::Set_Now(1765238400);
    Create();
    TForm_KardunGAS* F = Main();
    F->Options_Select(13);
    const TRect Car = On_Form(F->GroupBox_CFG_Car);
    EXPECT_LE(Car.Bottom, On_Form(F->Button_CFG_User_Find).Top);
    for (const TControl* C : {F->GroupBox_CFG_Car_Date, F->GroupBox_CFG_Service_Time}) {
        EXPECT_GE(On_Form(C).Top, Car.Top);
        EXPECT_LE(On_Form(C).Bottom, Car.Bottom);
    }
    EXPECT_TRUE(Apart(On_Form(F->GroupBox_CFG_Car_Date), On_Form(F->GroupBox_CFG_Service_Time)));
    for (const char* Name : {"Label_Date_Current", "Label_Date_Current_set", "Label_Date_Save", "Label_Date_Save_set",
                             "Label_Date_Mounting", "Edit_Date_Mounting_set"})
        EXPECT_EQ(dynamic_cast<TControl*>(F->Find_Component_Deep(Name))->Parent(), F->GroupBox_CFG_Car_Date) << Name;
    EXPECT_EQ(F->GroupBox_CFG_Car_Date->Caption(), "Dates");
    F->Show_Car_Data();
    EXPECT_EQ(F->Label_Date_Current_set->Caption(), sys::Short_Date_Text(1765238400));
    sys::Set_Now(0);

    EXPECT_EQ(F->CFG_Inject_Type_Start_Impuls->Caption(), "Start impulse");
    for (int Cylinders : {4, 8}) {
        Configuration.GI_Num = Cylinders;
        F->Injection_Type_Bars_Build();
        const int Panel_Width = F->Panel_CFG_Injection_Type->Width() / 4;
        EXPECT_EQ(F->CFG_Inject_Type_Start_Impuls->Left(), Panel_Width + 24);
        EXPECT_EQ(F->CFG_Inject_Type_Start_Impuls_Arrow->Left(), Panel_Width + 19);
        const TRect Caption = On_Form(F->CFG_Inject_Type_Start_Impuls);
        EXPECT_LE(Caption.Bottom, On_Form(F->Panel_CFG_Injection_Type).Top);
        for (const TControl* C : {static_cast<TControl*>(F->Label_CFG_IT_Max_Angle),
                                  static_cast<TControl*>(F->Label_CFG_Injection_Type_Virtual)})
            EXPECT_TRUE(Apart(Caption, On_Form(C))) << C->Name();
    }
}

TEST(DTB_Columns, WidthsShareTheListWithoutAHorizontalScrollBar)
{
    const std::vector<int> Design = {90, 100, 60, 60, 85, 85, 110, 80, 110, 0};
    const std::vector<int> Short = {40, 40, 40, 40, 60, 60, 40, 60, 60, 0};
    const std::vector<int> Wide_Date = {40, 40, 40, 40, 60, 130, 40, 60, 60, 0};
    const std::vector<int> Huge(10, 200);
    struct Row {
        std::vector<int> Needed;
        int Available;
        std::vector<int> Expected;   // empty: the sum is the room and (room allowing) captions fit
    };
    const Row Rows[] = {
        {Short, 800, Design},
        {Wide_Date, 900, {90, 100, 60, 60, 85, 130, 110, 80, 110, 0}},
        {Wide_Date, 741, {}},
        {Huge, 741, {}},
        {Short, -5, {}},
    };
    for (const Row& R : Rows) {
        const std::vector<int> W = DTB_Fit_Widths(Design, R.Needed, R.Available);
        ASSERT_EQ(W.size(), Design.size()) << R.Available;
        EXPECT_EQ(W[9], 0);
        if (!R.Expected.empty()) {
            EXPECT_EQ(W, R.Expected);
            continue;
        }
        EXPECT_EQ(std::accumulate(W.begin(), W.end(), 0), std::max(0, R.Available));
        const bool Room = std::accumulate(R.Needed.begin(), R.Needed.end(), 0) <= R.Available;
        for (size_t I = 0; I < W.size(); ++I)
            EXPECT_GE(W[I], Room ? R.Needed[I] : 0) << I;
    }
}

}  // namespace
