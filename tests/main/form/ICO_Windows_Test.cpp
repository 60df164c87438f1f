// The big-digit windows on the main window: opened by its displays, fed after each reply,
// kept in the settings file across a restart, closed with their keys.
#include <QTest>
#include <gtest/gtest.h>

#include <sstream>

#include "main/Main_Test_Support.h"
#include "data/Text_Util.h"
#include "platform/system/Files.h"
#include "windows/ICO_Window.h"

namespace {

using namespace main_test;

class ICO_Windows : public Main_Window_Fixture {
protected:
    // A settings line as the key-file engine writes back a key it read.
    static std::string Line(const std::string& Key, const std::string& Value)
    {
        return Key_File_Pad_Key(Upper_Case(Key)) + Value + " {}\r\n";
    }
    // The seven keys of an open window n at (Top, Left), W x H, fonts 30 and 9.
    static std::string Window_Lines(int n, int Top, int Left, int W, int H)
    {
        const auto K = ICO_Keys(n);
        return Line(K[0], "True") + Line(K[1], std::to_string(Top)) + Line(K[2], std::to_string(Left)) +
               Line(K[3], std::to_string(W)) + Line(K[4], std::to_string(H)) + Line(K[5], "30") +
               Line(K[6], "9");
    }
    TForm_ICO* Window(int n) { return ICO_State.ICO_Windows[n - 1]; }
    bool Open(int n) { return ICO_State.ICO_Open[n - 1] && Window(n); }
};

TEST_F(ICO_Windows, ClosingOneRemovesExactlyItsKeysAndKeepsEveryOtherByte)
{
    Folder->Write("KardunGD.ini", Line("Port_Name", "ttyTEST1") + Window_Lines(3, 40, 50, 220, 150) +
                                      Line("Form_ICO_Flag_4", "FALSE") + Window_Lines(5, 60, 70, 300, 200));
    Create();
    ASSERT_TRUE(Open(3));
    ASSERT_TRUE(Open(5));
    EXPECT_FALSE(Open(4));   // its flag reads false
    EXPECT_EQ(Window(5)->Width(), 300);
    const std::string Before = Folder->Read("KardunGD.ini");
    std::string Expected;
    std::istringstream Lines(Before);
    for (std::string L; std::getline(Lines, L);) {
        const std::string Key = L.substr(0, L.find(' '));
        if (Key.rfind("FORM_ICO_", 0) != 0 || Key.substr(Key.size() - 2) != "_3")
            Expected += L + "\n";
    }

    Window(3)->Close();
    EXPECT_EQ(Folder->Read("KardunGD.ini"), Expected);
    EXPECT_FALSE(ICO_State.ICO_Open[2]);
    EXPECT_TRUE(ICO_State.ICO_Any_Open);
    Window(5)->Close();
    EXPECT_FALSE(ICO_State.ICO_Any_Open);
}

TEST_F(ICO_Windows, ASettingsFileThatCannotBeReadOrIsMissingIsNotWrittenOnClose)
{
    for (const bool Missing : {false, true}) {
        SCOPED_TRACE(Missing ? "missing" : "unreadable");
        Create();
        Main()->Open_ICO_Window(2);
        ASSERT_TRUE(Open(2));
        const std::string Bytes = Line("Form_ICO_Flag_2", "True") + Line("Hand_Key", "7");
        if (Missing)
            std::filesystem::remove(Folder->File("KardunGD.ini"));
        else
            Folder->Write("KardunGD.ini", Bytes);
        int Writes = 0;
        sys::Set_Write_Hook([&Writes](int, const void*, size_t Count) -> ssize_t {
            ++Writes;
            return static_cast<ssize_t>(Count);
        });
        if (!Missing)
            sys::Set_Read_Hook([](int, void*, size_t) -> ssize_t {
                errno = EACCES;
                return -1;
            });
        Window(2)->Close();
        sys::Reset_File_Hooks();
        EXPECT_EQ(Writes, 0);
        EXPECT_FALSE(ICO_State.ICO_Open[1]);
        EXPECT_EQ(sys::File_Exists(Folder->File("KardunGD.ini")), !Missing);
        if (!Missing) {
            EXPECT_EQ(Folder->Read("KardunGD.ini"), Bytes);
        }
        W.reset();
        Reset_All_State();
    }
}

TEST_F(ICO_Windows, ExitAndRestartBringTheWindowsBackInPlaceAndSize)
{
    Create();
    Main()->Open_ICO_Window(1);
    Main()->Open_ICO_Window(14);
    Window(1)->SetBounds(310, 220, 260, 180);
    Window(1)->Panel_ICO_Dig->Font().Size(61);
    Window(14)->SetBounds(20, 400, 150, 100);
    ASSERT_TRUE(Pump_Until([this] { return !Window(1)->Timer_ICO->Enabled(); }, 2000));
    struct Place {
        int Top, Left, Width, Height, Dig, Dim;
    };
    auto Place_Of = [this](int n) {
        TForm_ICO* F = Window(n);
        return Place{F->Top(), F->Left(), F->Width(), F->Height(), F->Panel_ICO_Dig->Font().Size(),
                     F->Panel_ICO_Dim->Font().Size()};
    };
    const Place Was[2] = {Place_Of(1), Place_Of(14)};
    // Quitting saves the settings and leaves the windows open; the process then ends.
    W.reset();
    EXPECT_TRUE(ICO_State.ICO_Open[0]);
    Reset_All_State();
    EXPECT_EQ(Window(1), nullptr);

    Create();
    int k = 0;
    for (const int n : {1, 14}) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(Open(n));
        const Place Is = Place_Of(n), Old = Was[k++];
        EXPECT_EQ(Is.Top, Old.Top);
        EXPECT_EQ(Is.Left, Old.Left);
        EXPECT_EQ(Is.Width, Old.Width);
        EXPECT_EQ(Is.Height, Old.Height);
        // The fonts went to the file; the layout after loading fits them again.
        ASSERT_TRUE(Key_File_Load(Settings_File_Path()));
        EXPECT_TRUE(Key_File_Find_Int(ICO_Keys(n)[5]));
        EXPECT_EQ(Key_Int_Value, Old.Dig);
        EXPECT_TRUE(Key_File_Find_Int(ICO_Keys(n)[6]));
        EXPECT_EQ(Key_Int_Value, Old.Dim);
        Key_File_Discard();
    }
    EXPECT_EQ(Window(1)->Caption(), "R.P.M.");
    EXPECT_EQ(Window(14)->Panel_ICO_Dim->Caption(), "%");
    for (int n = 2; n <= 13; ++n)
        EXPECT_FALSE(Open(n)) << n;
    EXPECT_TRUE(ICO_State.ICO_Layout_On);
}

TEST_F(ICO_Windows, AWindowStaysAtLeastItsMinimumAndTheFitEndsInTheSmallestWindow)
{
    Create();
    Live_Values.Live_RPM = 88888;
    Main()->Open_ICO_Window(1);
    TForm_ICO* F = Window(1);
    F->SetBounds(0, 0, 60, 40);
    EXPECT_EQ(F->Width(), ICO_Min_Width);
    EXPECT_EQ(F->Height(), ICO_Min_Height);
    ASSERT_TRUE(F->Timer_ICO->Enabled());
    ASSERT_TRUE(Pump_Until([F] { return !F->Timer_ICO->Enabled(); }, 2000));
    EXPECT_EQ(F->Panel_ICO_Dig->Width(), ICO_Min_Width - ICO_Frame_Width);
    EXPECT_EQ(F->Panel_ICO_Dig->Height(), (ICO_Min_Height - ICO_Frame_Height) * ICO_Dig_Share / 100);
    // The five digits fit the panel's width.
    EXPECT_EQ(F->Panel_ICO_Dig->Caption(), "88888");
    const int Size = F->Panel_ICO_Dig->Font().Size();
    EXPECT_GE(Size, ICO_Font_Min);
    EXPECT_LE(std::stoi(F->Label_ICO_Width->Caption()), F->Panel_ICO_Dig->Width());
    // An empty unit line keeps its size through a layout.
    F->Panel_ICO_Dim->Caption("");
    F->Panel_ICO_Dim->Font().Size(12);
    ICO_Layout(1);
    EXPECT_EQ(F->Panel_ICO_Dim->Font().Size(), 12);
}

TEST_F(ICO_Windows, PlaybackShowsTheReadoutsAndOSCOnTheEightWindowsThatFollowIt)
{
    Create();
    TForm_KardunGAS* M = Main();
    for (int n = 1; n <= ICO_Count; ++n)
        M->Open_ICO_Window(n);
    Live_Values.Live_RPM = 1234;
    Live_Values.Live_TempInside = 235;
    Live_Values.Live_TempCouple = 410;
    Live_Values.Live_Gas_PerCent = 67;
    const std::pair<TEdit*, int> Readouts[] = {
        {M->Edit_OSC_RPM, 1},       {M->Edit_OSC_TPS, 2},        {M->Edit_OSC_Gas, 3},
        {M->Edit_OSC_TempVap, 4},   {M->Edit_OSC_TempGas, 5},    {M->Edit_OSC_PressColl, 9},
        {M->Edit_OSC_PressDiff, 10}, {M->Edit_OSC_Detonation, 12}};
    for (const auto& [Edit, n] : Readouts)
        Edit->Text("F" + std::to_string(n));
    for (const bool Playback : {true, false}) {
        SCOPED_TRACE(Playback ? "playback" : "live");
        M->Button_OSC_StartStop->Enabled(!Playback);
        M->Show_Live_Values();
        for (const auto& [Edit, n] : Readouts) {
            EXPECT_EQ(Window(n)->Label_ICO_OSC->Visible(), Playback) << n;
            EXPECT_EQ(Window(n)->Panel_ICO_Dig->Caption() == "F" + std::to_string(n), Playback) << n;
        }
        EXPECT_EQ(Window(1)->Panel_ICO_Dig->Caption(), Playback ? "F1" : "1234");
        const std::pair<int, const char*> Always_Live[] = {{6, "23.5"}, {7, "410"}, {14, "67"}};
        for (const auto& [n, Text] : Always_Live) {
            EXPECT_EQ(Window(n)->Panel_ICO_Dig->Caption(), Text) << n;
            EXPECT_FALSE(Window(n)->Label_ICO_OSC->Visible()) << n;
        }
    }
}

TEST_F(ICO_Windows, DisplaysOpenTheirWindowAndRightClicksWalkTheRPMViews)
{
    Create();
    TForm_KardunGAS* M = Main();
    M->Show();
    struct Row {
        TControl* Control;
        bool Double;
        int Window;
    };
    const Row Rows[] = {
        {M->Label_GEN_RPM_Dig, false, 1},   {M->Label_GEN_TempInside, false, 6},
        {M->Label_GEN_PerCent_Dig, false, 14}, {M->Label_CLB_PressVap_Dig, true, 8},
        {M->Edit_OSC_Detonation, true, 12},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Control->Name());
        QTest::mouseClick(R.Control->Widget(), Qt::LeftButton);
        EXPECT_EQ(Open(R.Window), !R.Double);
        if (R.Double)
            QTest::mouseDClick(R.Control->Widget(), Qt::LeftButton);
        EXPECT_TRUE(Open(R.Window));
    }
    for (const int View : {17, 18, 10, 17}) {
        QTest::mouseClick(Window(1)->Panel_ICO_Dig->Widget(), Qt::RightButton);
        EXPECT_EQ(M->MiniCFG_View_Type, View);
    }
}

}  // namespace
