// Whole-configuration writes, reads and car files end to end: the main window, its real
// port component and the controller emulator on a pseudo-terminal named in the settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "data/Calibration.h"
#include "data/Injectors.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "protocol/CFG_File.h"
#include "protocol/Param_Codecs.h"

namespace {

using namespace main_test;

// A write as the controller sees it: the command, and for an announcement its length.
struct Wire_Step {
    uint8_t Command = 0;
    int Length = -1;
    bool operator==(const Wire_Step&) const = default;
};
std::ostream& operator<<(std::ostream& Out, const Wire_Step& S)
{
    return Out << std::hex << int(S.Command) << std::dec << "(" << S.Length << ")";
}
constexpr uint8_t Announce = 0x25, Live = 0x26, Config_Read = 0x27, Block_1 = 0x30,
                  Block_2 = 0x31, Letter_List = 0x2F;
constexpr uint8_t Request_Write_All = 2, Request_Read_All = 3, Request_Load = 9, Request_Save = 10;
constexpr const char* Car_File = "Car.cfg";

// Controller curves off their defaults: each block's bytes count up from a seed.
emu::Bytes Counting(size_t Size, uint8_t Seed)
{
    emu::Bytes B(Size);
    for (size_t I = 0; I < Size; ++I)
        B[I] = static_cast<uint8_t>(Seed + 3 * I);
    return B;
}

std::vector<std::array<int32_t, CLB_Points>> Curves()
{
    std::vector<std::array<int32_t, CLB_Points>> All;
    for (const CLB_Curve* C : {&CLB_Gas, &CLB_RPM, &CLB_TPS1, &CLB_TPS2, &CLB_TPS3, &CLB_VAC}) {
        All.push_back(C->In);
        All.push_back(C->Out);
    }
    return All;
}

class Config_Write_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start_Emulator());
        // A valid table off the defaults (cells 0.01 .. 1.99), so the connect script reads
        // it, a car file keeps it and a write leaves it alone.
        emu::Bytes Table = Emu.RPM_Table_Image();
        for (size_t I = 2 * 13 + 24; I < Table.size(); ++I)
            Table[I] = static_cast<uint8_t>(1 + I % 255);
        Emu.Set_RPM_Table(13, 24, Table);
        // The controller reports the car of Car_File, so every read keeps that file chosen.
        Emu.Set_Car_Number({'C', 'a', 'r', 0, 0, 0, 0, 0});
    }
    // Starts the program and waits for the connect script to end in the main poll.
    void Connect()
    {
        With_Table();
        Create();
        Start_Up();
        ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
        ASSERT_TRUE(Pump_Until([&] { return Polls_After(0x2B) >= 2; }, 30000));
    }
    // Live-data polls since the last frame of Command.
    size_t Polls_After(uint8_t Command) const
    {
        const emu::Bytes C = Emu.Commands();
        const auto Last = std::find(C.rbegin(), C.rend(), Command);
        return Last == C.rend() ? 0 : static_cast<size_t>(std::count(C.rbegin(), Last, Live));
    }
    // Serves a request from a clean log and waits until its frames were followed by the
    // main poll again; the frames other than the polls come back.
    std::vector<Wire_Step> Serve(uint8_t Request, uint8_t Last_Command)
    {
        Emu.Clear_Log();
        Request_Code = Request;
        EXPECT_TRUE(Pump_Until([&] { return Polls_After(Last_Command) >= 1; }, 20000))
            << "request " << int(Request);
        return Steps();
    }
    std::vector<Wire_Step> Steps() const
    {
        std::vector<Wire_Step> S;
        for (const emu::Log_Entry& E : Emu.Log())
            if (E.complete && E.request.size() > 3 && E.request[1] != Live)
                S.push_back({E.request[1], E.request[1] == Announce ? E.request[3] : -1});
        return S;
    }
    std::vector<std::array<uint8_t, 2>> Pairs() const
    {
        std::vector<std::array<uint8_t, 2>> P;
        for (uint8_t L = 'A'; L <= 't'; ++L)
            P.push_back(Emu.Config_Pair(L));
        return P;
    }
    // The whole record and the curves as a saved car file gives them.
    std::string Saved_Record()
    {
        EXPECT_TRUE(Save_CFG_File());
        return Car_File_Text();
    }
    std::string Car_File_Text() const
    {
        const std::string Text = Folder->Read("cfg/" + std::string(Car_File));
        EXPECT_NE(Text.find("Gas_Point_"), std::string::npos);
        return Text;
    }
    void Name_Car_File()
    {
        std::filesystem::create_directories(Folder->File("cfg"));
        Settings.CFG_File_Path = Folder->File("cfg");
        Settings.CFG_File_Name = Car_File;
    }
    // Serves a request the protocol answers without the wire (save, load).
    void Serve_Here(uint8_t Request)
    {
        Request_Code = Request;
        ASSERT_TRUE(Pump_Until([] { return Request_Code == 0; }, 5000)) << int(Request);
    }

    void Write_Then_Read(const char* Version, bool With_Curves, const std::vector<Wire_Step>& Expected);
    void Connect_Off_Default(const char* Version);
};

// An off-default record and curves written whole (request 2, the table unchanged) must
// go out as Expected; read back (request 3) they come in as they were.
void Config_Write_E2E::Write_Then_Read(const char* Version, bool With_Curves,
                                       const std::vector<Wire_Step>& Expected)
{
    emu::Ident_Settings Id;
    Id.Program_Version = Version;
    Emu.Set_Ident(Id);
    ASSERT_NO_FATAL_FAILURE(Connect());
    Settings.Save_Load_Data = With_Curves;
    Name_Car_File();
    Configuration.PG_Delay = 25;
    Configuration.GI_Num = 6;
    CLB_Gas.Out[3] += 7;
    // Saved twice: the first save of a file moves the curve point keys to its end.
    const std::string Before = With_Curves ? (Saved_Record(), Saved_Record()) : "";
    EXPECT_EQ(Serve(Request_Write_All, Letter_List), Expected);
    Configuration.PG_Delay = 90;
    Configuration.GI_Num = 2;
    CLB_Gas.Out[3] -= 7;
    const auto Read = Serve(Request_Read_All, 0x2B);
    EXPECT_NE(std::find(Read.begin(), Read.end(), Wire_Step{Config_Read}), Read.end());
    EXPECT_EQ(Configuration.PG_Delay, 25);
    EXPECT_EQ(Configuration.GI_Num, 6);
    if (With_Curves) {
        EXPECT_EQ(Saved_Record(), Before);
    }
}

TEST_F(Config_Write_E2E, AWholeWriteWithVACSendsBothCurveBlocksThenTheLetters)
{
    Write_Then_Read("2.07", true, {{Announce, 116}, {Block_1}, {Announce, 226}, {Block_2},
                                   {Announce, 159}, {Letter_List}});
}

TEST_F(Config_Write_E2E, AWholeWriteWithoutVACSendsShorterBlocks)
{
    Write_Then_Read("2.05", true, {{Announce, 116}, {Block_1}, {Announce, 171}, {Block_2},
                                   {Announce, 153}, {Letter_List}});
}

TEST_F(Config_Write_E2E, AWholeWriteWithoutTheCurvesSendsOnlyTheLetters)
{
    Write_Then_Read("2.07", false, {{Announce, 159}, {Letter_List}});
}

TEST_F(Config_Write_E2E, ALostFirstCurveBlockIsAnnouncedAndSentAgain)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    Emu.Inject_Fault(emu::Fault::No_Reply, 1, Block_1);
    const auto S = Serve(Request_Write_All, Letter_List);
    const std::vector<Wire_Step> Expected{{Announce, 116}, {Block_1}, {Announce, 116}, {Block_1},
                                          {Announce, 226}, {Block_2}, {Announce, 159}, {Letter_List}};
    EXPECT_EQ(S, Expected);
}

// Connected to a controller whose record, curves and service timer are off the defaults,
// the program holds them; written back whole, the controller keeps exactly what it had.
void Config_Write_E2E::Connect_Off_Default(const char* Version)
{
    emu::Ident_Settings Id;
    Id.Program_Version = Version;
    Emu.Set_Ident(Id);
    Emu.Set_Calibration(1, Counting(108, 9));
    Emu.Set_Calibration(2, Counting(216, 5));
    // Pairs as the controller replies them: words low byte first. Exact: the letter goes
    // back as it came (the others hold a "not set" byte or need supports to be sent).
    struct Pair_Row {
        uint8_t Letter;
        std::array<uint8_t, 2> Pair;
        bool Exact;
    };
    const std::vector<Pair_Row> Set{
        {'A', {0x34, 0x12}, false}, {'B', {0x78, 0x05}, true}, {'F', {0x08, 0x07}, true},
        {'I', {0xEF, 0x01}, true},  {'K', {0x01, 0x01}, true}, {']', {3, 0x05}, true},
        {'O', {20, 0x80}, false},   {'e', {0xA7, 34}, false},  {'k', {45, 16}, false},
        // The supports 'e' and 'k' rest on: without one the page's limits leave no influence.
        {'d', {100, 0}, false},     {'j', {0x78, 0x05}, false}};
    for (const Pair_Row& R : Set)
        Emu.Set_Config_Pair(R.Letter, R.Pair[0], R.Pair[1]);
    Emu.Set_Service(120, 3000);
    ASSERT_NO_FATAL_FAILURE(Connect());
    const Configuration_Class& C = Configuration;
    EXPECT_EQ((std::vector<int64_t>{CFG_ID_Received, C.Pressure_1_Bar, C.RPM_Source, C.PG_TempVap, C.PG_RPM,
                                    C.PG_Delay, C.GP_Time, C.GL_Invert_ON, C.GL_Buzzer_ON, C.Infl_DiffPress_S,
                                    C.Infl_Power, C.Service_Time}),
              (std::vector<int64_t>{0x1234, 1400, 1800000, 45, 7003, 20, 0, 1, 1, -30, 35, 120}));
    EXPECT_EQ(C.GL_Type, "HANA");
    // The curves are the controller's, not the defaults.
    EXPECT_NE(CLB_Gas.In, CLB_Default_Input);
    EXPECT_NE(CLB_RPM.In, CLB_Default_RPM);
    // Written back whole and read again, the controller holds the points it had and the
    // program the same curves. The slope words are derived from the points anew; the RPM
    // and VAC inputs travel as a period and a raw pressure, whose steps the program's
    // units do not resolve, so only their output words are compared on the wire.
    Settings.Save_Load_Data = true;
    const auto Curves_Read = Curves();
    Serve(Request_Write_All, Letter_List);
    for (int Block : {1, 2}) {
        const emu::Bytes Now = Emu.Calibration(Block), Was = Counting(Block == 1 ? 108 : 216, Block == 1 ? 9 : 5);
        const size_t Raw_End = Block == 1 ? 54 : 162;   // gas; TPS 1..3
        ASSERT_EQ(Now.size(), Was.size());
        for (size_t I = 0; I < Now.size(); ++I)
            if (I % 6 >= 2 && (I % 6 < 4 || I < Raw_End)) {
                EXPECT_EQ(Now[I], Was[I]) << "block " << Block << " byte " << I;
            }
    }
    for (const Pair_Row& R : Set)
        if (R.Exact) {
            EXPECT_EQ(Emu.Config_Pair(R.Letter), R.Pair) << R.Letter;
        }
    Serve(Request_Read_All, 0x2B);
    EXPECT_EQ(Curves(), Curves_Read);
}

TEST_F(Config_Write_E2E, ConnectingWithVACTakesTheControllersRecordCurvesAndServiceTimer)
{
    Connect_Off_Default("2.07");
}

TEST_F(Config_Write_E2E, ConnectingWithoutVACTakesTheControllersRecordCurvesAndServiceTimer)
{
    Connect_Off_Default("2.05");
}

TEST_F(Config_Write_E2E, ACarFileSavedTwiceLoadsBackAndSavesTheSame)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    Name_Car_File();
    Configuration.PG_Delay = 25;
    Configuration.GL_Type = "HANA";
    CLB_TPS1.Out[2] += 5;
    Serve_Here(Request_Save);
    Serve_Here(Request_Save);
    const std::string Second = Car_File_Text();

    Configuration.PG_Delay = 80;
    Configuration.GL_Type = "NONE";
    CLB_TPS1.Out[2] -= 5;
    Load_Path = Folder->File("cfg/" + std::string(Car_File));
    Serve_Here(Request_Load);
    EXPECT_EQ(Configuration.PG_Delay, 25);
    EXPECT_EQ(Configuration.GL_Type, "HANA");
    Serve_Here(Request_Save);
    EXPECT_EQ(Car_File_Text(), Second);
}

// Whatever sets the phase bars (a read, Default, a car file, a cylinder count) leaves the
// record as they show it, and a whole write sends that. Before each path the controller
// reports no cylinders and phases that the bars built for the last count do not show.
TEST_F(Config_Write_E2E, EveryPathThatSetsThePhaseBarsWritesWhatTheyShow)
{
    emu::Ident_Settings Id;
    Id.Program_Version = "6.07";   // a model of up to six cylinders
    Emu.Set_Ident(Id);
    ASSERT_NO_FATAL_FAILURE(Connect());
    TForm_KardunGAS* F = Main();
    F->PageControl_KardunGAS->ActivePageIndex(1);   // files hold the Configuration page's values
    Name_Car_File();
    using Phases = std::vector<int32_t>;
    Configuration_Class& C = Configuration;
    // A file of Cylinders and phases 11 .. 66, saved from the record; kept apart from the
    // car's own file, which a read of the car rewrites.
    const std::string Kept = Folder->File("cfg/Kept.cfg");
    auto Car_File_With = [&](int32_t Cylinders) {
        C.GI_Num = Cylinders;
        C.GI_Pos_1 = 11, C.GI_Pos_2 = 22, C.GI_Pos_3 = 33, C.GI_Pos_4 = 44, C.GI_Pos_5 = 55, C.GI_Pos_6 = 66;
        Serve_Here(Request_Save);
        std::filesystem::copy_file(Folder->File("cfg/" + std::string(Car_File)), Kept,
                                   std::filesystem::copy_options::overwrite_existing);
    };
    auto Load = [&] {
        Load_Path = Kept;
        Serve_Here(Request_Load);
    };
    struct Row {
        const char* Path;
        std::function<void()> Before_Read, After_Read;
        Phases Bars, Sent;   // Sent: as Bars when empty
    };
    const std::vector<Row> Rows = {
        {"read", nullptr, nullptr, {42, 17, 33, 44, 55, 66}, {}},
        {"Default", nullptr, [F] { F->Button_CFG_Default->Click(); }, {15, 30, 45, 60, 75, 95}, {}},
        {"file of no cylinders", [&] { Car_File_With(0); }, Load, {11, 22, 33, 44, 55, 66}, {}},
        {"file of four", [&] { Car_File_With(4); }, Load, {11, 22, 33, 44}, {11, 22, 33, 44, 55, 66}},
        // Cylinders 5 and 6 have no bar: their phases stay as read.
        {"count stepped to four", nullptr,
         [&] {
             for (int Step = 0; Step < Injector_Num_Max && C.GI_Num < 4; ++Step)
                 F->Inject_Num.UpDown->Step(TUD_Button::Up);
         },
         {20, 40, 60, 80}, {20, 40, 60, 80, 55, 66}},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Path);
        if (R.Before_Read) {
            ASSERT_NO_FATAL_FAILURE(R.Before_Read());
        }
        Emu.Set_Config_Pair('S', 1, 0);
        Emu.Set_Config_Pair('Z', 42, 17);
        Emu.Set_Config_Pair('[', 33, 44);
        Emu.Set_Config_Pair('\\', 55, 66);
        Serve(Request_Read_All, 0x2B);
        ASSERT_EQ(C.GI_Num, 0);
        if (R.After_Read) {
            ASSERT_NO_FATAL_FAILURE(R.After_Read());
        }
        Phases Bars;
        for (const TTrackBar* Bar : F->Injection_Bars)
            Bars.push_back(Bar->Position());
        EXPECT_EQ(Bars, R.Bars);
        Serve(Request_Write_All, Letter_List);
        Phases Sent;
        for (uint8_t Letter : {'Z', '[', '\\'})
            for (uint8_t Phase : Emu.Config_Pair(Letter))
                Sent.push_back(Phase);
        EXPECT_EQ(Sent, R.Sent.empty() ? R.Bars : R.Sent);
    }
}

}  // namespace
