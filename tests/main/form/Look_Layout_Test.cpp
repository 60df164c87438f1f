// What a technician sees of the Configuration page and the clients database: row captions
// that fit their rows in any language, the car group clear of the search row with its dates
// box, the start impulse over the injection bars, and list columns that share the list's width.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "main/Main_Test_Support.h"
#include "platform/system/Date_Time.h"
#include "windows/Control_Text.h"
#include "windows/DTB_Window.h"

namespace {

using namespace main_test;

// Absolute place of a control on its form.
TRect Place_On_Form(const TControl* C)
{
    TRect R{C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height()};
    for (const TControl* P = C->Parent(); P && !dynamic_cast<const TForm*>(P); P = P->Parent()) {
        R.Left += P->Left();
        R.Right += P->Left();
        R.Top += P->Top();
        R.Bottom += P->Top();
    }
    return R;
}

bool Overlap(const TRect& A, const TRect& B)
{
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

class Look_Layout : public Main_Window_Fixture {
protected:
    TForm_KardunGAS* F() { return Main(); }
    TControl* Named(const std::string& Name)
    {
        auto* C = dynamic_cast<TControl*>(F()->Find_Component_Deep(Name));
        EXPECT_NE(C, nullptr) << Name;
        return C;
    }
    // Every shown row caption is whole: in one line within its label, or broken at blanks
    // with no word wider than the label, in a font not below 6 points.
    void Expect_Row_Captions_Whole()
    {
        for (int N = 1; N <= Main_Form_Configuration::Options_Count; ++N) {
            TLabel* L = F()->Options_Label[static_cast<size_t>(N)];
            if (!L->WordWrap()) {
                EXPECT_LE(ui::Text_Width(L->Font(), L->Caption()), L->Width()) << N << " " << L->Caption();
                continue;
            }
            EXPECT_GE(L->Font().Size(), 6) << N;
            std::string Word;
            for (char Ch : L->Caption() + " ") {
                if (Ch != ' ') {
                    Word += Ch;
                    continue;
                }
                EXPECT_LE(ui::Text_Width(L->Font(), Word), L->Width()) << N << " " << Word;
                Word.clear();
            }
        }
    }
};

TEST_F(Look_Layout, RowCaptionsFitTheirRowsInEnglishAndInALongerLanguage)
{
    Create();
    Expect_Row_Captions_Whole();
    // A short caption stays one line in the list's own font.
    TLabel* Gas_Type = F()->Options_Label[9];
    EXPECT_FALSE(Gas_Type->WordWrap());
    EXPECT_TRUE(Gas_Type->ParentFont());

    // A language with far longer captions (a Windows-1251 file).
    W.reset();
    Reset_All_State();
    std::filesystem::create_directory(Folder->File("Language"));
    const std::string Long = "\xD3\xF1\xEB\xEE\xE2\xE8\xFF \xEE\xE1\xF0\xE0\xF2\xED\xEE\xE3\xEE "
                             "\xEF\xE5\xF0\xE5\xEA\xEB\xFE\xF7\xE5\xED\xE8\xFF \xF1 \xE3\xE0\xE7\xE0 "
                             "\xED\xE0 \xE4\xE8\xE7\xE5\xEB\xFC";
    Folder->Write("Language/Russian.lng", "Russian\r\nCFG_SwitchGP_Hint " + Long + "\r\nCFG_GasType_Hint \xC3\xE0\xE7\r\n");
    Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST5") + Key_File_Pad_Key("Language") + "Russian {}\r\n" +
                                      Key_File_Pad_Key("Russian_C") + "204 {}\r\n");
    Create();
    TLabel* Switch_Back = F()->Options_Label[3];
    ASSERT_EQ(Switch_Back->Caption(), Long);
    EXPECT_TRUE(Switch_Back->WordWrap());
    EXPECT_LE(Switch_Back->Font().Size(), F()->Panel_CFG_Options_List->Font().Size());
    EXPECT_EQ(Switch_Back->Font().Charset(), 204);
    Expect_Row_Captions_Whole();
    // The row keeps its place.
    EXPECT_EQ(Switch_Back->Left(), 72);
    EXPECT_EQ(Switch_Back->Width(), 153);
}

// A window maximised at start may have its content scaled before it reports the state: the
// rows still follow the list's scale.
TEST_F(Look_Layout, RowsFollowAListScaledBeforeTheWindowReportsMaximised)
{
    Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST5", false));
    Create();
    ASSERT_NE(F()->WindowState(), TWindow_State::Maximized);
    F()->Panel_CFG_Options_List->SetBounds(0, 0, 350, 675);
    F()->Options_Order_Init();
    TLabel* First = F()->Options_Label[1];
    EXPECT_EQ(First->Left(), 108);
    EXPECT_EQ(First->Top(), 25);
    EXPECT_EQ(First->Width(), 229);
    // Back at the design size, the design places.
    F()->Panel_CFG_Options_List->SetBounds(0, 0, 233, 450);
    F()->Options_Order_Init();
    EXPECT_EQ(First->Left(), 72);
    EXPECT_EQ(First->Top(), 17);
    EXPECT_EQ(First->Width(), 153);
}

TEST_F(Look_Layout, TheCarGroupHoldsItsDatesAndServiceTimeAboveTheSearchRow)
{
    sys::Set_Now(1765238400);   // 9 December 2025, 00:00 UTC
    Create();
    F()->Options_Select(13);
    const TRect Car = Place_On_Form(F()->GroupBox_CFG_Car);
    const TRect Search = Place_On_Form(F()->Button_CFG_User_Find);
    EXPECT_LE(Car.Bottom, Search.Top);
    for (const char* Name : {"Button_CFG_ST_Clr", "Button_CFG_ST_Set", "Button_CFG_ST_Refresh",
                             "Button_CFG_User_Find", "Button_CFG_User_Find_Again", "Button_CFG_User_New"}) {
        const TRect R = Place_On_Form(Named(Name));
        for (const char* Other : {"Button_CFG_User_Find", "Button_CFG_User_Find_Again", "Button_CFG_User_New",
                                  "Button_CFG_User_View"})
            if (std::string(Name) != Other) {
                EXPECT_FALSE(Overlap(R, Place_On_Form(Named(Other)))) << Name << " / " << Other;
            }
        // Inside the car group's box, or the search row's own buttons below it.
        EXPECT_TRUE(R.Bottom <= Car.Bottom || R.Top >= Car.Bottom) << Name;
    }
    // The boxes inside the car group lie within it and apart.
    const TRect Dates = Place_On_Form(F()->GroupBox_CFG_Car_Date);
    const TRect Service = Place_On_Form(F()->GroupBox_CFG_Service_Time);
    for (const TRect& Inner : {Dates, Service}) {
        EXPECT_GE(Inner.Top, Car.Top);
        EXPECT_LE(Inner.Bottom, Car.Bottom);
    }
    EXPECT_FALSE(Overlap(Dates, Service));
    EXPECT_LE(Place_On_Form(F()->Edit_Car_Jet).Bottom, Dates.Top);
    // The date captions and their values belong to the dates box.
    for (const char* Name : {"Label_Date_Current", "Label_Date_Current_set", "Label_Date_Save", "Label_Date_Save_set",
                             "Label_Date_Mounting", "Edit_Date_Mounting_set"})
        EXPECT_EQ(Named(Name)->Parent(), F()->GroupBox_CFG_Car_Date) << Name;
    EXPECT_EQ(F()->GroupBox_CFG_Car_Date->Caption(), "Dates");
    EXPECT_EQ(dynamic_cast<TLabel*>(Named("Label_Date_Current"))->Caption(), "Today");
    F()->Show_Car_Data();
    EXPECT_EQ(F()->Label_Date_Current_set->Caption(), sys::Short_Date_Text(1765238400));
    sys::Set_Now(0);
}

TEST_F(Look_Layout, TheStartImpulseNamesTheLeftEndOfTheInjectionBars)
{
    Create();
    EXPECT_EQ(F()->CFG_Inject_Type_Start_Impuls->Caption(), "Start impulse");
    for (int Cylinders : {4, 8}) {
        Configuration.GI_Num = Cylinders;
        F()->Injection_Type_Bars_Build();
        const int Panel_Width = F()->Panel_CFG_Injection_Type->Width() / 4;
        EXPECT_EQ(F()->CFG_Inject_Type_Start_Impuls->Left(), Panel_Width + 24);
        EXPECT_EQ(F()->CFG_Inject_Type_Start_Impuls_Arrow->Left(), Panel_Width + 19);
        // Above the bars' panel, clear of the injection-type row.
        const TRect Caption = Place_On_Form(F()->CFG_Inject_Type_Start_Impuls);
        EXPECT_LE(Caption.Bottom, Place_On_Form(F()->Panel_CFG_Injection_Type).Top);
        EXPECT_FALSE(Overlap(Caption, Place_On_Form(F()->Label_CFG_IT_Max_Angle)));
        EXPECT_FALSE(Overlap(Caption, Place_On_Form(F()->ComboBox_CFG_Injection_Type)));
    }
}

TEST(DTB_Columns, WidthsShareTheListWithoutAHorizontalScrollBar)
{
    const std::vector<int> Design = {90, 100, 60, 60, 85, 85, 110, 80, 110, 0};
    struct Row {
        const char* Case;
        std::vector<int> Needed;
        int Available;
        std::vector<int> Expected;   // empty: checked by the rules below only
    };
    const Row Rows[] = {
        {"all fit as designed", {40, 40, 40, 40, 60, 60, 40, 60, 60, 0}, 800, Design},
        {"a wide caption gets its width", {40, 40, 40, 40, 60, 130, 40, 60, 60, 0}, 900,
         {90, 100, 60, 60, 85, 130, 110, 80, 110, 0}},
        {"room beyond the captions given up", {40, 40, 40, 40, 60, 130, 40, 60, 60, 0}, 741, {}},
        {"captions wider than the list", {200, 200, 200, 200, 200, 200, 200, 200, 200, 0}, 741, {}},
        {"no room at all", {40, 40, 40, 40, 60, 60, 40, 60, 60, 0}, -5, {}},
    };
    for (const Row& R : Rows) {
        const std::vector<int> W = DTB_Fit_Widths(Design, R.Needed, R.Available);
        ASSERT_EQ(W.size(), Design.size()) << R.Case;
        EXPECT_EQ(W[9], 0) << R.Case;   // the comments stay hidden
        if (!R.Expected.empty()) {
            EXPECT_EQ(W, R.Expected) << R.Case;
            continue;
        }
        int Sum = 0, Needed = 0;
        for (size_t I = 0; I < W.size(); ++I) {
            Sum += W[I];
            Needed += R.Needed[I];
        }
        EXPECT_EQ(Sum, std::max(0, R.Available)) << R.Case;
        for (size_t I = 0; I < 9; ++I) {
            if (Needed <= R.Available) {
                EXPECT_GE(W[I], R.Needed[I]) << R.Case << " column " << I;
            }
            EXPECT_GE(W[I], 0) << R.Case;
        }
    }
}

TEST_F(Look_Layout, TheClientsDatabaseShowsEveryColumnCaptionWhole)
{
    Create();
    auto* D = Create_Form<TForm_DTB>(nullptr);
    D->FormActivate(D);
    TListView* L = D->ListView_DTB;
    int Sum = 0;
    for (int C = 0; C < DTB_Comments_Column; ++C) {
        EXPECT_GE(L->Column(C).Width, L->Header_Width(L->Column(C).Caption)) << L->Column(C).Caption;
        Sum += L->Column(C).Width;
    }
    EXPECT_LE(Sum, L->Rows_Width());
    EXPECT_EQ(L->Column(DTB_Comments_Column).Width, 0);
    D->Free();
}

}  // namespace
