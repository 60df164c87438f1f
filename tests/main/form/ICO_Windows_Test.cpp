// The big-digit windows on the main window: settings keys, restart, playback, readouts.
#include <QTest>
#include <gtest/gtest.h>

#include <array>

#include "data/Text_Util.h"
#include "main/Main_Test_Support.h"
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
    // The seven keys of an open window n at (40, 50), W x 150, fonts 30 and 9.
    static std::string Window_Lines(int n, int W)
    {
        const auto K = ICO_Keys(n);
        return Line(K[0], "True") + Line(K[1], "40") + Line(K[2], "50") + Line(K[3], std::to_string(W)) +
               Line(K[4], "150") + Line(K[5], "30") + Line(K[6], "9");
    }
    TForm_ICO* Window(int n) { return ICO_State.ICO_Windows[n - 1]; }
    bool Open(int n) { return ICO_State.ICO_Open[n - 1] && Window(n); }
    // A number the settings file holds (-1 when it holds none).
    static int In_File(const std::string& Key)
    {
        return Key_File_Find_In_File(Settings_File_Path(), Key) ? std::stoi(Key_Value) : -1;
    }
};

TEST_F(ICO_Windows, ClosingOneRemovesExactlyItsKeysAndKeepsEveryOtherByte)
{
    const std::string Others = Line("Form_ICO_Flag_4", "FALSE") + Window_Lines(5, 300);
    Folder->Write("KardunGD.ini", Line("Port_Name", "ttyTEST1") + Window_Lines(3, 220) + Others);
    Create();
    ASSERT_TRUE(Open(3) && Open(5));
    EXPECT_FALSE(Open(4));   // its flag reads false
    EXPECT_EQ(Window(5)->Width(), 300);
    Window(3)->Close();
    EXPECT_EQ(Folder->Read("KardunGD.ini"), Line("Port_Name", "ttyTEST1") + Others);
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
        const std::string Bytes = Line("Form_ICO_Flag_2", "True");
        Folder->Write("KardunGD.ini", Bytes);
        if (Missing)
            std::filesystem::remove(Folder->File("KardunGD.ini"));
        int Writes = 0;
        sys::Set_Write_Hook([&Writes](int, const void*, size_t) -> ssize_t { return ++Writes, -1; });
        sys::Set_Read_Hook([](int, void*, size_t) -> ssize_t { return errno = EACCES, -1; });
        Window(2)->Close();
        sys::Reset_File_Hooks();
        EXPECT_EQ(Writes, 0);
        EXPECT_FALSE(ICO_State.ICO_Open[1]);
        EXPECT_EQ(Missing ? "" : Bytes, sys::File_Exists(Folder->File("KardunGD.ini"))
                                            ? Folder->Read("KardunGD.ini") : "");
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
    Window(14)->SetBounds(20, 400, 60, 40);   // dragged below the minimum
    EXPECT_EQ(Window(14)->Width(), ICO_Min_Width);
    EXPECT_EQ(Window(14)->Height(), ICO_Min_Height);
    ASSERT_TRUE(Pump_Until([this] { return !Window(1)->Timer_ICO->Enabled(); }, 2000));
    auto Place = [this](int n) {
        TForm_ICO* F = Window(n);
        return std::array<int, 6>{F->Top(), F->Left(), F->Width(), F->Height(),
                                  F->Panel_ICO_Dig->Font().Size(), F->Panel_ICO_Dim->Font().Size()};
    };
    const std::array<int, 6> Was[2] = {Place(1), Place(14)};
    // Quitting saves the settings and leaves the windows open; the process then ends.
    W.reset();
    Reset_All_State();
    Create();
    for (const int n : {1, 14}) {
        ASSERT_TRUE(Open(n)) << n;
        // Laid out again once framed: the panel fills the client area.
        TForm_ICO* F = Window(n);
        ASSERT_TRUE(Pump_Until([F] { return F->Framed() && F->Panel_ICO->Width() == F->ClientWidth(); }, 2000)) << n;
        ASSERT_TRUE(Pump_Until([F] { return !F->Timer_ICO->Enabled(); }, 2000)) << n;
        EXPECT_EQ(F->Panel_ICO->Width(), F->ClientWidth()) << n;
        EXPECT_EQ(F->Panel_ICO->Height(), F->ClientHeight()) << n;
        // Place and size come back; the fonts went to the file and are fitted again.
        std::array<int, 6> Now = Place(n);
        Now[4] = In_File(ICO_Keys(n)[5]);
        Now[5] = In_File(ICO_Keys(n)[6]);
        EXPECT_EQ(Now, Was[n == 14]) << n;
    }
    EXPECT_EQ(Window(1)->Caption(), "R.P.M.");
    EXPECT_EQ(Window(14)->Panel_ICO_Dim->Caption(), "%");
}

TEST_F(ICO_Windows, PlaybackShowsTheReadoutsAndOSCOnTheEightWindowsThatFollowIt)
{
    Create();
    TForm_KardunGAS* M = Main();
    // Every window, the readouts' ones by a double click.
    for (int n = 2; n <= ICO_Count; ++n)
        if (n != 12)
            M->Open_ICO_Window(n);
    QTest::mouseDClick(M->Edit_OSC_RPM->Widget(), Qt::LeftButton);
    QTest::mouseDClick(M->Label_CLB_Detonation_Dig->Widget(), Qt::LeftButton);
    Live_Values.Live_RPM = 1234;
    Live_Values.Live_TempInside = 235;
    Live_Values.Live_Gas_PerCent = 67;
    const std::pair<TEdit*, int> Readouts[] = {
        {M->Edit_OSC_RPM, 1},     {M->Edit_OSC_TPS, 2},        {M->Edit_OSC_Gas, 3},
        {M->Edit_OSC_TempVap, 4}, {M->Edit_OSC_TempGas, 5},    {M->Edit_OSC_PressColl, 9},
        {M->Edit_OSC_PressDiff, 10}, {M->Edit_OSC_Detonation, 12}};
    for (const auto& [Edit, n] : Readouts)
        Edit->Text("F" + std::to_string(n));
    for (const bool Playback : {true, false}) {
        SCOPED_TRACE(Playback ? "playback" : "live");
        M->Button_OSC_StartStop->Enabled(!Playback);
        M->Show_Live_Values();
        for (const auto& [Edit, n] : Readouts) {
            ASSERT_TRUE(Open(n)) << n;
            EXPECT_EQ(Window(n)->Label_ICO_OSC->Visible(), Playback) << n;
            EXPECT_EQ(Window(n)->Panel_ICO_Dig->Caption() == "F" + std::to_string(n), Playback) << n;
        }
        EXPECT_EQ(Window(1)->Panel_ICO_Dig->Caption(), Playback ? "F1" : "1234");
        for (const auto& [n, Text] : {std::pair{6, "23.5"}, std::pair{14, "67"}}) {
            EXPECT_EQ(Window(n)->Panel_ICO_Dig->Caption(), Text) << n;
            EXPECT_FALSE(Window(n)->Label_ICO_OSC->Visible()) << n;
        }
    }
    // Right clicks on the RPM window open its view, then the next from the one shown.
    for (const int View : {17, 18}) {
        QTest::mouseClick(Window(1)->Panel_ICO_Dig->Widget(), Qt::RightButton);
        EXPECT_EQ(MiniCFG_View_Type, View);
    }
}

}  // namespace
