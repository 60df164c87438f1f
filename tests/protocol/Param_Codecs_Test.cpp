// The parameter letters both ways, the influence-factor limits, the write lists, and the
// configuration written to and read from the controller emulator over a real pty.
#include <algorithm>
#include <map>

#include "common/Test_Folder.h"
#include "data/Conversions.h"
#include "data/Injectors.h"
#include "language/Language.h"
#include "protocol/Ident.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Protocol_Emulator_Fixture.h"
#include "protocol/Write_Lists.h"

namespace {

using C = Configuration_Class;
using Bytes = std::vector<uint8_t>;
using Ints = std::vector<int64_t>;
#define FIELDS(...) [](const C& c) { return Ints{__VA_ARGS__}; }

// A record with every letter away from the factory defaults (the record in use stays).
// Detonation correction stays off, so the main poll reads no RPM-dependence table.
C Off_Default()
{
    const C in_use = Configuration;
    Configuration_Create();
    C c = Configuration;
    Configuration = in_use;
    c.Car_ID = 0x1234; c.Pressure_1_Bar = 1400; c.RPM_Source = 1800000; c.RPM_Div = 3; c.GI_Div = 2;
    c.GP_Buzzer_ON = c.Check_Sensors_ON = c.Sensor_OFF = c.Limit_TPS_ON = c.Limit_RPM_ON = true;
    c.Limit_Temperature_ON = c.Cut_Off_ON = c.Cut_Off_Edge = true;
    c.PG_Preheating_ON = c.GI_AutoTempGas_ON = c.LPG_on = c.Filter_TPS_2_ON = false;
    c.PG_TempVap = 45; c.PG_PressDiff = 8; c.PG_RPM = 7000; c.PG_Preheating = 20; c.PG_Yellow_Wire = 4;
    c.PG_YW_Delay = 150; c.PG_YW_Impulse = 200; c.PG_Delay = 20; c.GP_Time = 30; c.GP_PressDiff_Low = 4;
    c.GP_PressDiff_High = 25; c.GP_TempVap = 36; c.GI_Type = "KEIHIN"; c.GI_Num = 4; c.GI_Range = 25;
    c.GI_Start_2 = 6000; c.GI_Start_S = 3000; c.GI_Duty = 168; c.GI_Period = 1120; c.GI_AutoTempGas = 8;
    c.GI_Pos_1 = 10; c.GI_Pos_2 = 20; c.GI_Pos_3 = 30; c.GI_Pos_4 = 40; c.GI_Pos_5 = 50; c.GI_Pos_6 = 60;
    c.GL_Type = "HANA"; c.GL_Invert_ON = true; c.GL_90_ON = false; c.GL_Buzzer_ON = true; c.GL_Etalon = 1000;
    c.GL_Pos_1 = 800; c.GL_Pos_2 = 600; c.GL_Pos_3 = 400; c.GL_Pos_4 = 300; c.GL_Pos_5 = 100;
    c.Supp_DiffPress = 120; c.Infl_DiffPress_S = -30; c.Infl_DiffPress_B = 45; c.Supp_TempGas = 27;
    c.Infl_TempGas_S = 95; c.Infl_TempGas_B = -15; c.Supp_Power = 1401; c.Infl_Power = 35;
    c.Clock_Timer = 7; c.DS_Timer = 9; c.DS_High_Level = 333; c.DS_High_Step = 7; c.Filter_TPS_Time = 50;
    c.Limit_TPS_Snake = 20; c.Limit_TPS_Range_RPM = 150; c.Limit_RPM_Snake = 12; c.Limit_Temperature = 700;
    c.Virtual_Injection_Timer = 30; c.Emulation_TPS_Config_H = 0x12; c.Emulation_TPS_Config_L = 0x34;
    c.Cut_Off_Time = 550; c.Cut_Off_Factor = 50; c.Cut_Off_Volt = 250; c.RPM_Sensitiv = 250;
    return c;
}

class Param_Codecs_Test : public Protocol_Emulator_Fixture {
protected:
    void SetUp() override
    {
        Protocol_Emulator_Fixture::SetUp();
        Param_Codecs_Init();
        Program_Dir = KARDUN_RESOURCE_DIR;
        Temperature_File_Name = "KardunGD.dat";
        Program_Version_Code = 206;   // no VAC input until an identification says otherwise
        Injector_List_Init();
        CFG_Codec_Hooks.Infl_Limits_Show = [this](Infl_Factor, int32_t, int32_t lo, int32_t hi) { range = {lo, hi}; };
        Temperature_Hooks.Report = [this](const std::string&) { ++table_reports; };
    }
    // Sets a request and exchanges frames until the main poll reads live data again after
    // the frames of the request (or, for a request that sends nothing, for a while).
    std::vector<Bytes> Serve(uint8_t request)
    {
        const size_t from = Logged_Size();
        Request_Code = request;
        for (bool served = false, done = false; !done && written < from + 40;) {
            EXPECT_TRUE(Exchange());
            done = served && Sent_Frame[1] == 0x26;
            served = served || (Request_Code == 0 && Sent_Frame[1] != 0x26);
        }
        Logged_Size();
        std::vector<Bytes> sent;
        for (const auto& e : emulator.Log())
            sent.push_back(e.request);
        return std::vector<Bytes>(sent.begin() + static_cast<long>(from), sent.end());
    }
    // The pair a letter's encoder sends, as the controller stores it (words low byte first).
    std::array<uint8_t, 2> Stored(uint8_t letter)
    {
        Set_CFG_Parameter(letter);
        Frame_Pending = false;
        const bool word = emu::Controller_Emulator::Is_Word_Letter(letter);
        return {word ? TX_Frame[3] : TX_Frame[2], word ? TX_Frame[2] : TX_Frame[3]};
    }
    std::pair<int32_t, int32_t> range;
    int table_reports = 0;
};

TEST_F(Param_Codecs_Test, Letters_Encoded_Stored_By_The_Controller_And_Decoded)
{
    // The letters whose bytes are more than their fields as they are (every letter goes
    // through the controller in the round trip below), and the edge cases.
    struct Row { uint8_t Letter; std::function<void(C&)> Change; int B2, B3; std::function<Ints(const C&)> Fields; Ints Decoded; };
    const auto Sweep_On = [](C&) { CFG_Codec_Hooks.RPM_StartStop_Down = [] { return true; }; };
    const std::vector<Row> rows{
        {'A', nullptr, 0x12, 0x34, FIELDS(CFG_ID_Received), {0x1234}},
        {'C', nullptr, 0x32, 0x6E, FIELDS(c.GP_Buzzer_ON, c.LPG_on, c.Sensor_OFF, c.DS_Correction_ON, c.Limit_TPS_ON, c.Cut_Off_Edge), {}},
        {'E', nullptr, 0x00, 0x67, FIELDS(c.RPM_Sensitiv), {251}},
        {'E', Sweep_On, 0x80, 0x67, FIELDS(c.RPM_Sensitiv), {251}},   // the sweep bit is no value
        {'F', nullptr, 0x07, 0x08, FIELDS(c.RPM_Source), {}},
        {'G', nullptr, 0x05, 0xDC, FIELDS(c.PG_RPM), {0}},
        {'I', nullptr, 0x01, 0xEF, FIELDS(c.PG_TempVap), {}},
        {'J', nullptr, 0x00, 0xC2, FIELDS(c.PG_PressDiff), {}},
        {'K', nullptr, 0x01, 0x01, FIELDS(c.PG_RPM), {7003}},
        {'K', [](C& c) { c.PG_RPM = 0; }, 0xFF, 0xFF, FIELDS(c.PG_RPM), {0}},
        {'O', [](C& c) { c.PG_Delay = 127; c.GP_Time = 128; }, 0x7F, 0x80, FIELDS(c.PG_Delay, c.GP_Time), {127, 0}},
        {'R', nullptr, 0x02, 0x43, FIELDS(c.GP_TempVap), {}},
        {'S', nullptr, 9, 4, FIELDS(c.GI_Type == "KEIHIN", c.GI_Num), {}},
        {'S', [](C& c) { c.GI_Type = "NONE"; c.GI_Num = 200; }, 0, 200, FIELDS(c.GI_Type == "Error", c.GI_Num), {1, 8}},
        {']', nullptr, 3, 0x05, FIELDS(Level_Sensor_Box_Index(c.GL_Type), c.GL_Invert_ON, c.GL_90_ON, c.GL_Buzzer_ON), {}},
        {']', [](C& c) { c.GL_Type = "hana"; }, 0, 0x05, FIELDS(c.GL_Type == "Error"), {1}},
        {'e', nullptr, 0xA7, 34, FIELDS(c.Infl_DiffPress_S), {}},
        {'e', [](C& c) { c.Infl_DiffPress_S = 3; }, 0x04, 3, FIELDS(c.Infl_DiffPress_S), {}},
        {'g', nullptr, 0x02, 0x98, FIELDS(c.Supp_TempGas), {}},
        {'h', nullptr, 122, 144, FIELDS(c.Infl_TempGas_S), {}},
        {'h', [](C& c) { c.Supp_TempGas = 1; c.Infl_TempGas_S = 6; }, 8, 255, FIELDS(c.Infl_TempGas_S), {}},   // 8 x 32 / 1 stops at 255
        {'h', [](C& c) { c.Supp_TempGas = 10; }, 77, 246, FIELDS(c.Infl_TempGas_S), {60}},
        {'h', [](C& c) { c.Supp_TempGas = 0; }, 5, 0, FIELDS(c.Infl_TempGas_S), {0}},
        {'j', nullptr, 0x02, 0xBC, FIELDS(c.Supp_Power), {1400}},
        {'k', nullptr, 45, 16, FIELDS(c.Infl_Power), {}},
        {'k', [](C& c) { c.Infl_Power = 0; }, 5, 0, FIELDS(c.Infl_Power), {}},
        {'k', [](C& c) { c.Supp_Power = 4; c.Infl_Power = 3; }, 5, 0, FIELDS(c.Infl_Power), {0}},   // swings 3, -2, 3
        {'n', nullptr, 9, 50, FIELDS(c.DS_High_Step, c.Filter_TPS_Time), {}},
        {'o', nullptr, 20, 192, FIELDS(c.Limit_TPS_Snake, c.Limit_TPS_Range_RPM), {}},
        {'q', nullptr, 0x02, 0x3D, FIELDS(c.Limit_Temperature), {}},
        {'r', nullptr, 0x12, 0x34, FIELDS(c.Emulation_TPS_Config_H, c.Emulation_TPS_Config_L), {}},
        {'s', nullptr, 5, 64, FIELDS(c.Cut_Off_Time, c.Cut_Off_Factor), {500, 50}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("letter ") + char(row.Letter));
        Configuration = Off_Default();
        CFG_Codec_Hooks.RPM_StartStop_Down = nullptr;
        if (row.Change)
            row.Change(Configuration);
        std::memset(TX_Frame, 0xEE, sizeof TX_Frame);
        Set_CFG_Parameter(row.Letter);
        EXPECT_TRUE(Frame_Pending && Frame_Length == 5 && Reply_Length == 3 && TX_Frame[1] == row.Letter);
        EXPECT_EQ(TX_Frame[4], Frame_Sum(TX_Frame, 5));
        EXPECT_EQ((Ints{TX_Frame[2], TX_Frame[3]}), (Ints{row.B2, row.B3}));
        // Read back into a record that holds only the constants sent before in the full list.
        const C sent = Configuration;
        const auto pair = Stored(row.Letter);
        Configuration = C{};
        Configuration.Pressure_1_Bar = sent.Pressure_1_Bar;
        Configuration.RPM_Source = row.Letter == 'F' ? 0 : sent.RPM_Source;
        Configuration.Thermocouple_Factor = sent.Thermocouple_Factor;
        CFG_ID_Received = 0;
        RX_Frame[2] = pair[0], RX_Frame[3] = pair[1], CFG_Reply_Cursor = 3;
        Get_CFG_Parameter(row.Letter);
        EXPECT_EQ(row.Fields(Configuration), row.Decoded.empty() ? row.Fields(sent) : row.Decoded);
    }
}

TEST_F(Param_Codecs_Test, Every_Whole_Degree_Of_The_Table_Survives_A_Write_And_A_Read)
{
    // The shipped table spans -40.0 .. +150.0 degrees in uneven steps of tenths: a read
    // gives the nearest whole degree, so a value sent back after a read does not walk.
    struct Row { uint8_t Letter; int32_t C::*Field; };
    for (const Row& row : std::vector<Row>{{'I', &C::PG_TempVap}, {'R', &C::GP_TempVap},
                                           {'Y', &C::GI_AutoTempGas}, {'g', &C::Supp_TempGas}})
        for (int32_t t = -40; t <= 150; ++t) {
            Configuration = Off_Default();
            Configuration.*row.Field = t;
            const auto pair = Stored(row.Letter);
            Configuration.*row.Field = 999;
            RX_Frame[2] = pair[0], RX_Frame[3] = pair[1], CFG_Reply_Cursor = 3;
            Get_CFG_Parameter(row.Letter);
            EXPECT_EQ(Configuration.*row.Field, t) << char(row.Letter);
        }
    EXPECT_EQ(table_reports, 0);
}

TEST_F(Param_Codecs_Test, Limits_Keep_Every_Coefficient_In_A_Byte_And_Always_End)
{
    // Per factor (pressure S and B, temperature S and B, supply).
    int32_t C::*const factor[] = {&C::Infl_DiffPress_S, &C::Infl_DiffPress_B, &C::Infl_TempGas_S, &C::Infl_TempGas_B, &C::Infl_Power};
    int32_t C::*const support[] = {&C::Supp_DiffPress, &C::Supp_DiffPress, &C::Supp_TempGas, &C::Supp_TempGas, &C::Supp_Power};
    void (*const limit[])() = {Infl_DiffPress_S_Limits, Infl_DiffPress_B_Limits, Infl_TempGas_S_Limits,
                               Infl_TempGas_B_Limits, Infl_Power_Limits};
    struct Row { int K; int32_t Support, In, Out, Min, Max; };
    for (const Row& row : std::vector<Row>{{2, 40, 95, 95, -95, 95}, {2, 10, 95, 60, -62, 62}, {3, 10, -95, -60, -62, 62},
                                           {2, 0, 50, 0, 0, 0}, {4, 1400, 50, 50, 0, 95}, {4, 4, 3, 0, 0, 1},
                                           {4, 4, 4, 0, 0, 1} /* a step to -1 */, {0, 100, -95, -95, -95, 95}, {1, 0, 30, 0, 0, 0}}) {
        Configuration_Create();
        Configuration.*support[row.K] = row.Support;
        Configuration.*factor[row.K] = row.In;
        limit[row.K]();
        EXPECT_EQ((Ints{Configuration.*factor[row.K], range.first, range.second}), (Ints{row.Out, row.Min, row.Max}))
            << row.K << " " << row.Support << " " << row.In;
    }
    // Every support of each range (0 included) with every factor: the routine ends, the
    // factor moves in steps of 5 (or becomes 0), its coefficient fits a byte, the page's
    // range holds it.
    const int shift[] = {15, 15, 12, 12, 15}, last[] = {250, 250, 155, 155, 2046};
    int32_t (*const raw[])() = {[] { return Pressure_To_Raw(1, Configuration.Supp_DiffPress); }, nullptr,
                                [] { return Configuration.Supp_TempGas; }, nullptr, [] { return Configuration.Supp_Power / 2; }};
    Configuration_Create();
    for (int k : {0, 2, 4})
        for (int32_t s = 0; s <= last[k]; ++s)
            for (int32_t f = k == 4 ? 0 : -95; f <= 95; ++f) {
                Configuration.*support[k] = s;
                Configuration.*factor[k] = f;
                limit[k]();
                const int32_t out = Configuration.*factor[k];
                ASSERT_TRUE(std::abs(out) <= std::abs(f) && (out == 0 || (f - out) % 5 == 0)) << s << " " << f;
                ASSERT_TRUE(out == 0 || std::abs(out) * double(1 << shift[k]) / (raw[k]() * 100.0) <= 255.0);
                ASSERT_TRUE(range.first <= out && out <= range.second) << s << " " << f;
            }
}

TEST_F(Param_Codecs_Test, Lists_Have_Their_Lengths_And_Merge_Marked_Letters_Without_Repeats)
{
    auto changed = [](uint8_t letter) { return [letter] { Request_Code = letter; Script_Write_Changed(); }; };
    struct Row { int32_t Version; Bytes Marks; std::function<void()> Build; int Length; Bytes Codes; };
    for (const Row& row : std::vector<Row>{
             {206, {}, Prepare_CFG_Write, 153, {}}, {207, {}, Prepare_CFG_Write, 159, {}},
             {207, {}, Prepare_CLB_Write_1, 116, {0x81, 0x82, 'A'}}, {206, {}, Prepare_CLB_Write_2, 171, {0x83, 0x84, 0x85, 'A'}},
             {207, {}, Prepare_CLB_Write_2, 226, {0x83, 0x84, 0x85, 0x86, 'A'}},
             {206, {}, changed('S'), 24, {'S', 'T', 'U', 'V', 'W', 'X', 'A'}}, {206, {}, changed('A'), 9, {'A', 'A'}},
             {206, {}, changed(']'), 27, {']', '_', '`', 'a', 'b', 'c', '^', 'A'}},
             {206, {'C', 'h', 'i', 'k'}, changed('k'), 21, {'C', 'g', 'h', 'i', 'k', 'A'}},
             {206, {'S', 'V'}, changed('V'), 24, {'S', 'T', 'U', 'V', 'W', 'X', 'A'}},
             {206, {'g', 'C'}, changed('d'), 27, {'g', 'h', 'i', 'C', 'd', 'e', 'f', 'A'}}}) {
        Program_Version_Code = row.Version;
        for (uint8_t m : row.Marks)
            CFG_Letter_Mark(m);
        row.Build();
        EXPECT_EQ(Write_Frame_Length, row.Length);
        EXPECT_TRUE(row.Codes.empty() || Bytes(Block_List.Code + 1, Block_List.Code + 1 + Block_List.Count) == row.Codes);
        EXPECT_TRUE(CFG_Marked_Letters().empty());
    }
    // Packing: an empty list packs nothing; a code without an encoder packs zeros, never
    // the bytes of the code before it.
    Configuration = Off_Default();
    std::memset(TX_Frame, 0xEE, sizeof TX_Frame);
    Block_List.Count = 0;
    Pack_Block_List();
    EXPECT_EQ(TX_Frame[2], 0xEE);
    Build_CLB_List_1();
    Pack_Block_List();
    Bytes expected(113, 0);
    expected[0] = 0x81, expected[55] = 0x82, expected[110] = 'A', expected[111] = 0x12, expected[112] = 0x34;
    EXPECT_EQ(Bytes(TX_Frame + 2, TX_Frame + 115), expected);
    EXPECT_FALSE(Frame_Pending || Link_Timer_Sending.Enabled());
}

TEST_F(Param_Codecs_Test, The_Identity_Check_Speaks_Only_Of_An_Existing_Car_File_With_Another_Identity)
{
    Test_Folder folder("codecs");
    Put_File(folder / "AB123.cfg", "");
    Put_File(folder / "Temp.cfg", "");
    Settings.CFG_File_Path = folder.Path();
    Len_Configuration = 100;
    const std::string up = "../" + folder.Path().substr(folder.Path().rfind('/') + 1) + "/AB123.cfg";
    struct Row { int32_t Car_ID, Received; std::string File; size_t Messages; };
    for (const Row& row : std::vector<Row>{
             {0x1234, 0x4321, "AB123.cfg", 1}, {0x1234, 0x1234, "AB123.cfg", 0}, {0x11234, 0x1234, "AB123.cfg", 0},
             {0, 0x4321, "AB123.cfg", 0}, {0xFFFF, 0x4321, "AB123.cfg", 0}, {0x1234, 0, "AB123.cfg", 0},
             {0x1234, 0xFFFF, "AB123.cfg", 0}, {0x1234, 0x4321, "Temp.cfg", 0}, {0x1234, 0x4321, "XY999.cfg", 0},
             {0x1234, 0x4321, "", 0}, {0x1234, 0x4321, up, 0}}) {
        messages.clear();
        Configuration.Car_ID = row.Car_ID;
        Settings.CFG_File_Name = row.File;
        RX_Frame[2] = static_cast<uint8_t>(row.Received), RX_Frame[3] = static_cast<uint8_t>(row.Received >> 8);
        Receiv_CFG_All();
        EXPECT_EQ(messages.size(), row.Messages) << row.Car_ID << " " << row.Received << " " << row.File;
        EXPECT_EQ((Ints{CFG_ID_Received, Configuration.Car_ID}), (Ints{row.Received, row.Car_ID}));
    }
}

TEST_F(Param_Codecs_Test, Only_The_Letter_And_The_Marked_Letters_Keep_Their_Controls)
{
    std::map<std::string, bool> enabled;
    CFG_Codec_Hooks.Enable_Control = [&](const std::string& name, bool on) { enabled[name] = on; };
    CFG_Letter_Mark('S');
    Enable_CFG_Param_Only('O', true, false);
    EXPECT_EQ(enabled.size(), 60u);   // every control of every letter
    EXPECT_EQ(std::count_if(enabled.begin(), enabled.end(), [](const auto& e) { return e.second; }), 4);
    EXPECT_TRUE(enabled.at("UpDown_CFG_PG_Delay") && enabled.at("UpDown_CFG_GP_Time") && enabled.at("UpDown_CFG_Inject_Num"));
    Enable_CFG_Param_Marked(false);
    EXPECT_FALSE(enabled.at("UpDown_CFG_Inject_Num"));
}

// ---- through the controller emulator ----

TEST_F(Param_Codecs_Test, A_Written_Configuration_Reads_Back_As_The_Controller_Holds_It)
{
    Connect();
    Configuration = Off_Default();
    Settings.Save_Load_Data = false;
    CFG_Loaded_For_Write = DS_Correction_Parked = true;   // a loaded file's parked switch goes out
    const auto sent = Serve(2);
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[1], (Bytes{0x61, 0x25, 0x25, 159, 0x4A}));
    EXPECT_EQ((Ints{static_cast<int64_t>(sent[2].size()), sent[2][1]}), (Ints{159, 0x2F}));
    EXPECT_TRUE(Configuration.DS_Correction_ON && !CFG_Loaded_For_Write);

    // A record at the factory defaults reads it: encoded again, every letter gives the
    // controller's pair back (the temperatures too), but the factors scaled by the gas
    // temperature.
    Configuration_Create();
    Serve(3);
    const Bytes table_letters{'h', 'i'};
    for (uint8_t letter = 'B'; letter <= 't'; ++letter)
        if (std::find(table_letters.begin(), table_letters.end(), letter) == table_letters.end()) {
            EXPECT_EQ(Stored(letter), emulator.Config_Pair(letter)) << char(letter);
        }
    const C& c = Configuration;
    EXPECT_EQ((Ints{CFG_ID_Received, c.PG_TempVap, c.GP_TempVap, c.GI_AutoTempGas, c.Supp_TempGas, c.Infl_TempGas_S,
                    c.RPM_Source, c.Infl_DiffPress_S, c.Cut_Off_Volt, c.GI_Type == "KEIHIN", c.GL_Type == "HANA"}),
              (Ints{0x1234, 45, 36, 8, 27, 95, 1800000, -30, 250, 1, 1}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Param_Codecs_Test, Connecting_Reads_The_Service_Timer_And_A_Short_Block_Reported_Once)
{
    emu::Ident_Settings id;
    id.Len_Configuration = 60;   // pairs 'A' .. '^'
    emulator.Set_Ident(id);
    emulator.Set_Service(100, 0);
    emulator.Set_Config_Pair('B', 0x78, 0x05);
    emulator.Set_Config_Pair('^', 0xE8, 0x03);
    emulator.Set_Config_Pair('_', 0x10, 0x00);
    Configuration.GL_Pos_1 = 777;
    Connect();
    Serve(3);
    const C& c = Configuration;
    EXPECT_EQ((Ints{c.Service_Time, c.Service_Time_Cnt, c.Pressure_1_Bar, c.GL_Etalon, c.GL_Pos_1}), (Ints{100, 0, 1400, 1000, 777}));
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Error_CFG_Receiv"), 1);
    const std::string text = Language_Text("ST_Message_Din_Indic");
    EXPECT_NE(std::find(std::begin(Status_Queue.Text), std::end(Status_Queue.Text), text), std::end(Status_Queue.Text));

    Configuration.Service_Time = 250;
    const auto sent = Serve(29);
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(Bytes(sent[2].begin() + 1, sent[2].end() - 1), (Bytes{0x36, 0x00, 0xFA, 0x00, 0x00, 0x3A, 0x98}));
}

TEST_F(Param_Codecs_Test, Without_The_Temperature_Table_Nothing_Of_A_Write_Reaches_The_Wire)
{
    Program_Dir = "/nonexistent";
    Connect();
    Configuration = Off_Default();
    auto sent = Serve(2);
    CFG_Letter_Mark('g');
    const auto more = Serve('g');
    sent.insert(sent.end(), more.begin(), more.end());
    for (const Bytes& request : sent)
        EXPECT_EQ(request[1], 0x26);
    EXPECT_EQ(table_reports, 1);
    EXPECT_TRUE(CFG_Marked_Letters().empty());
}

}  // namespace
