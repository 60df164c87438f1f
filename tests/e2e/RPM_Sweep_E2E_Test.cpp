// The RPM sensitivity sweep end to end: the main and sweep windows, the real port and the
// emulator, whose engine speed is seen only inside its trigger band (0.5 .. 5.0 V).
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "data/Conversions.h"
#include "e2e/Emulator_Window_Fixture.h"
#include "emulator/Emulator.h"
#include "platform/ui/Runtime.h"
#include "protocol/CFG_File.h"
#include "protocol/Write_Lists.h"
#include "windows/RPM_Window.h"

namespace {

using namespace main_test;

constexpr int32_t Original_Sensitiv = 250;

class RPM_Sweep_E2E : public Emulator_Window_Fixture {
protected:
    void SetUp() override
    {
        Emulator_Window_Fixture::SetUp();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
        ASSERT_NO_FATAL_FAILURE(Start_Emulator(Key_File_Pad_Key("Reply_Delay") + "1 {}\r\n"));
        emu::Live_Settings Live;
        Live.Moving = false;   // a steady engine: the plateau is flat
        Emu.Set_Live(Live);
        // The engine reads from 0.5 V to 5.0 V; 5.0 V goes on the wire as 205 of 1023 of
        // 25 V (5.01 V), so the band's top takes that in.
        Emu.Set_Trigger_Band(0.5, 5.02);
        With_Table();
    }
    void TearDown() override
    {
        if (Form_RPM)
            Form_RPM->Free();
        Emulator_Window_Fixture::TearDown();
    }
    // Connected, the sweep window open on a car file, the poll cycle set long so that every
    // phase has its fewest ticks while the real cycle is short: the last two phases run
    // through well within the 700 ms of the send-now timer that sends the restored level.
    // Every car-file save is recorded.
    void Open_Sweep()
    {
        Create();
        Form_RPM = Create_Form<TForm_RPM>(nullptr);
        Start_Up();
        ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
        ASSERT_TRUE(Pump_Until([] { return Script_Flag_27 == 0 && Live_Values.Live_RPM > 0; }, 15000));
        UI_Ready = true;
        Settings.Delay_Compensation = 1999;
        Configuration.RPM_Sensitiv = Original_Sensitiv;
        std::filesystem::create_directories(Folder->File("Config"));
        Settings.CFG_File_Path = Folder->File("Config");
        Settings.CFG_File_Name = "Car1.cfg";
        Configuration.Car_Number = "Car1";   // the controller's own car: its file is saved
        CFG_File_Named = true;
        const auto Save = Protocol_Hooks.Save_CFG_File;
        Protocol_Hooks.Save_CFG_File = [this, Save] {
            Saves.push_back({Configuration.RPM_Sensitiv, RPM_Sweep_On});
            if (Save)
                Save();
        };
        TButton* Set = Main()->Button_CFG_RPM_set;
        Set->Next_Down_State();
        Set->Click();
        ASSERT_TRUE(Form_RPM->Visible());
        ASSERT_EQ(Form_RPM->Timing.T3, 3);
        Emu.Clear_Log();
    }
    void Press_Start_Stop()
    {
        TButton* B = Form_RPM->Button_RPM_StartStop;
        ASSERT_TRUE(B->Enabled());
        B->Next_Down_State();
        B->Click();
    }
    // The frames of a command received (and answered), in order.
    std::vector<emu::Bytes> Frames_Of(uint8_t Command) const
    {
        std::vector<emu::Bytes> Out;
        for (const emu::Log_Entry& E : Emu.Log())
            if (E.complete && !E.reply.empty() && E.request.size() > 2 && E.request[1] == Command)
                Out.push_back(E.request);
        return Out;
    }
    static Byte_Pair Wire_Of(int32_t Value)
    {
        const int32_t Keep = Configuration.RPM_Sensitiv;
        Configuration.RPM_Sensitiv = Value;
        const Byte_Pair P = RPM_Sensitiv_To_Bytes();
        Configuration.RPM_Sensitiv = Keep;
        return P;
    }
    // The list write that carries E with the saved level and no sweep mark, then A.
    bool Restore_Written() const
    {
        const Byte_Pair Saved = Wire_Of(Original_Sensitiv);
        for (const emu::Bytes& F : Frames_Of(0x2F))
            if (F.size() >= 8 && F[2] == 'E' && F[3] == Saved.High && F[4] == Saved.Low && F[5] == 'A')
                return true;
        return false;
    }
    struct Save_Record {
        int32_t Sensitiv;
        bool During_Sweep;
    };
    std::vector<Save_Record> Saves;
};

TEST_F(RPM_Sweep_E2E, AWholeSweepVisitsEveryLevelFindsThePlateauAndRestoresTheLevel)
{
    Open_Sweep();
    Press_Start_Stop();
    ASSERT_TRUE(RPM_Sweep_On);
    // Nothing else is written while the sweep steps the sensitivity.
    ASSERT_TRUE(Pump_Until([] { return Form_RPM->Sweep_Phase >= 4; }, 30000));
    EXPECT_FALSE(Form_RPM->Button_RPM_Transmitt->Enabled());
    EXPECT_FALSE(Main()->Button_CFG_Transmitt->Enabled());
    ASSERT_TRUE(Pump_Until([] { return !RPM_Sweep_On; }, 60000));
    ASSERT_TRUE(Pump_Until([this] { return Saves.size() >= 1; }, 5000));
    Pump_For(300);

    // The control word, then 73 levels with the sweep mark, then the saved level.
    const auto Controls = Frames_Of(0x23);
    ASSERT_EQ(Controls.size(), 1u);
    EXPECT_EQ(Controls[0][2], 0x00);
    EXPECT_EQ(Controls[0][3], 0x01);
    std::vector<int32_t> Levels;
    for (int32_t V = 1; V <= 10; ++V)
        Levels.push_back(V);
    for (int32_t V = 20; V <= 300; V += 10)
        Levels.push_back(V);
    for (int32_t V = 350; V <= 2000; V += 50)
        Levels.push_back(V);
    const auto Letters = Frames_Of('E');
    ASSERT_EQ(Letters.size(), Levels.size());
    for (size_t i = 0; i < Levels.size(); ++i) {
        const Byte_Pair P = Wire_Of(Levels[i]);
        EXPECT_EQ(Letters[i][2], P.High | 0x80) << Levels[i];
        EXPECT_EQ(Letters[i][3], P.Low) << Levels[i];
    }
    EXPECT_TRUE(Restore_Written());
    EXPECT_EQ(Configuration.RPM_Sensitiv, Original_Sensitiv);
    EXPECT_NEAR(Emu.Trigger_Level(), 2.5, 0.03);

    // Speeds only inside the band.
    EXPECT_EQ(RPM_Samples[13], 0);
    EXPECT_GT(RPM_Samples[14], 0);
    EXPECT_GT(RPM_Samples[43], 0);
    EXPECT_EQ(RPM_Samples[44], 0);

    // A right-drag across the plateau.
    TForm_RPM* F = Form_RPM;
    F->Image_RPMMouseDown(nullptr, TMouseButton::Right, 0, F->Level_X(20), 60);
    F->Image_RPMMouseMove(nullptr, 0, F->Level_X(2), 60);
    F->Image_RPMMouseUp(nullptr, TMouseButton::Right, 0, F->Level_X(2), 60);
    F->Image_RPMMouseDown(nullptr, TMouseButton::Right, 0, F->Level_X(15), 60);
    F->Image_RPMMouseMove(nullptr, 0, F->Level_X(60), 60);
    F->Image_RPMMouseUp(nullptr, TMouseButton::Right, 0, F->Level_X(60), 60);
    EXPECT_EQ(F->Label_RPM_New_Sensitiv_Min->Caption(), "0.6");
    F->Image_RPMMouseDown(nullptr, TMouseButton::Right, 0, F->Level_X(14), 60);
    F->Image_RPMMouseMove(nullptr, 0, F->Level_X(60), 60);
    F->Image_RPMMouseUp(nullptr, TMouseButton::Right, 0, F->Level_X(60), 60);
    EXPECT_EQ(F->Label_RPM_New_Sensitiv_Min->Caption(), "0.5");
    EXPECT_EQ(F->Label_RPM_New_Sensitiv_Max->Caption(), "5");
    EXPECT_TRUE(RPM_Graph.Selection_Shown);
    // The window as a technician sees it, beside the test program in the build folder.
    const std::filesystem::path Png =
        std::filesystem::canonical("/proc/self/exe").parent_path() / "pictures";
    std::filesystem::create_directories(Png);
    EXPECT_TRUE(ui::Render_To_PNG(F, (Png / "rpm_sweep.png").string()));

    // The car file once, after the sweep, with the original level.
    ASSERT_EQ(Saves.size(), 1u);
    EXPECT_FALSE(Saves[0].During_Sweep);
    EXPECT_EQ(Saves[0].Sensitiv, Original_Sensitiv);
    const std::string Car = Folder->Read("Config/Car1.cfg");
    const size_t Key = Car.find("RPM_Sensitiv");
    ASSERT_NE(Key, std::string::npos);
    EXPECT_EQ(Car.substr(Key, Car.find('{', Key) - Key).find(" 250 ") != std::string::npos, true)
        << Car.substr(Key, 60);
    EXPECT_TRUE(F->Button_RPM_StartStop->Enabled());

    // The window's Transmitt writes the whole configuration, as the page's does.
    ASSERT_TRUE(F->Button_RPM_Transmitt->Enabled());
    Emu.Clear_Log();
    F->Button_RPM_Transmitt->Click();
    EXPECT_TRUE(Pump_Until([this] { return !Frames_Of(0x2F).empty(); }, 15000));
}

TEST_F(RPM_Sweep_E2E, StoppedAfterTenLevelsRestoresAtTheNextStep)
{
    Open_Sweep();
    Press_Start_Stop();
    ASSERT_TRUE(Pump_Until([this] { return Frames_Of('E').size() >= 10; }, 60000));
    Press_Start_Stop();
    ASSERT_TRUE(Pump_Until([] { return Form_RPM->Sweep_Phase == 5; }, 10000));
    EXPECT_LE(Frames_Of('E').size(), 11u);
    EXPECT_EQ(Form_RPM->Gauge_RPM_Diagnistics->MaxValue(), Form_RPM->Timing.T1 + Form_RPM->Timing.T2);
    EXPECT_EQ(Configuration.RPM_Sensitiv, Original_Sensitiv);
    ASSERT_TRUE(Pump_Until([] { return !RPM_Sweep_On; }, 30000));
    EXPECT_TRUE(Restore_Written());
    EXPECT_NEAR(Emu.Trigger_Level(), 2.5, 0.03);
}

TEST_F(RPM_Sweep_E2E, ALinkCutBeforeTheRestoreIsAnsweredRestoresAfterReconnecting)
{
    Open_Sweep();
    Press_Start_Stop();
    ASSERT_TRUE(Pump_Until([this] { return Frames_Of('E').size() >= 3; }, 60000));
    Press_Start_Stop();
    ASSERT_TRUE(Pump_Until([] { return Form_RPM->Sweep_Phase == 5; }, 10000));
    // The port goes before the send-now timer hands the restore over.
    Emu.Vanish();
    ASSERT_TRUE(Pump_Until([] { return !Connected; }, 15000));
    Pump_For(500);
    EXPECT_FALSE(Restore_Written());
    EXPECT_TRUE(RPM_Sweep_On);
    std::string Error;
    ASSERT_TRUE(Emu.Reappear(&Error)) << Error;
    ASSERT_TRUE(Pump_Until([] { return !RPM_Sweep_On; }, 60000));
    EXPECT_TRUE(Restore_Written());
    EXPECT_NEAR(Emu.Trigger_Level(), 2.5, 0.03);
    EXPECT_EQ(Configuration.RPM_Sensitiv, Original_Sensitiv);
}

TEST_F(RPM_Sweep_E2E, ClosingTheProgramMidSweepWritesTheSavedLevelFirst)
{
    Open_Sweep();
    Press_Start_Stop();
    ASSERT_TRUE(Pump_Until([this] { return Frames_Of('E').size() >= 5; }, 60000));
    ASSERT_EQ(Form_RPM->Sweep_Phase, 4);
    const size_t Before = Frames_Of('E').size();
    W.reset();   // the main window goes as at the program's end
    ASSERT_TRUE(Emu.Wait_For([](const std::vector<emu::Log_Entry>& Log) {
        return !Log.empty() && Log.back().request.size() == 5 && Log.back().request[1] == 'E';
    }, 3000));
    const auto Letters = Frames_Of('E');
    ASSERT_GT(Letters.size(), Before);
    const Byte_Pair Saved = Wire_Of(Original_Sensitiv);
    EXPECT_EQ(Letters.back()[2], Saved.High);   // no sweep mark
    EXPECT_EQ(Letters.back()[3], Saved.Low);
    EXPECT_NEAR(Emu.Trigger_Level(), 2.5, 0.03);
    EXPECT_EQ(Configuration.RPM_Sensitiv, Original_Sensitiv);
}

}  // namespace
