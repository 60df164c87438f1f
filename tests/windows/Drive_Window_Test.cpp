// The test drive window on the test clock: runs armed, timed, ended and discarded by the
// engine speeds handed to Update_Drive_Timing; "Set" and the speed mode; the marks' gaps
// under a long run of random changes.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "data/Globals.h"
#include "main/Main_Test_Support.h"
#include "platform/system/Date_Time.h"
#include "windows/Drive_Window.h"
#include "windows/MSG.h"

namespace {

using namespace main_test;

class Drive_Window_Test : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
        Form_MV_Drive = Create_Form<TForm_MV_Drive>(nullptr);
        D = Form_MV_Drive;
        D->Show();
        D->FormActivate(D);
        Connected = true;
    }
    void TearDown() override
    {
        if (Form_MV_Drive)
            Form_MV_Drive->Free();
        Main_Window_Fixture::TearDown();
    }
    // A reply with engine speed Rpm at clock time Ms.
    void Reply(long long Ms, int Rpm)
    {
        sys::Monotonic_Clock_Set(Ms);
        D->Update_Drive_Timing(Rpm);
    }
    TForm_MV_Drive* D = nullptr;
};

// What happens at one clock time: a reply, a tick of the display timer, or the link drop.
enum class Event { Reply, Tick, Drop };
struct Step {
    long long Ms;
    Event What;
    int Rpm;
};

TEST_F(Drive_Window_Test, RunsAreArmedTimedEndedAndDiscardedByTheRepliesTimes)
{
    // RPM mode, marks 2000 and 4000.
    struct Row {
        const char* Name;
        std::vector<Step> Steps;
        const char* Time;
        TColor Panel, Time_Colour;
        bool Running;
    };
    const std::vector<Step> Ramp = {{0, Event::Reply, 1500},    {100, Event::Reply, 2100},
                                    {1100, Event::Reply, 2600}, {2100, Event::Reply, 3000},
                                    {3100, Event::Reply, 3400}, {4100, Event::Reply, 3800}};
    auto With = [&](std::vector<Step> Tail) {
        std::vector<Step> S = Ramp;
        S.insert(S.end(), Tail.begin(), Tail.end());
        return S;
    };
    const Row Rows[] = {
        {"never below the arm mark: no run",
         {{0, Event::Reply, 2500}, {100, Event::Reply, 3000}, {900, Event::Reply, 4500}},
         "0.0", Drive_Panel_Done, Drive_Time_Done, false},
        {"armed", {{0, Event::Reply, 1500}}, "0.0", Drive_Panel_Armed, Drive_Time_Zero, false},
        {"timing", {{0, Event::Reply, 1500}, {100, Event::Reply, 2100}}, "0.0", Drive_Panel_Timing,
         Drive_Time_Result, true},
        {"a 5.0 s ramp with the display's ticks held back", With({{5100, Event::Reply, 4100}}), "5.0",
         Drive_Panel_Done, Drive_Time_Done, false},
        {"the result stays on show, in red, when armed again",
         With({{5100, Event::Reply, 4100}, {6000, Event::Reply, 1500}}), "5.0", Drive_Panel_Armed,
         Drive_Time_Result, false},
        {"the display's tick shows the time so far", With({{4350, Event::Tick, 0}}), "4.3", Drive_Panel_Timing,
         Drive_Time_Result, true},
        {"back below the arm mark while timing", With({{4500, Event::Reply, 1700}}), "0.0", Drive_Panel_Armed,
         Drive_Time_Zero, false},
        {"a link drop discards the run", With({{4200, Event::Drop, 0}, {4300, Event::Reply, 4100}}), "0.0",
         Drive_Panel_Done, Drive_Time_Done, false},
        {"a 1.5 s gap discards the run", With({{5600, Event::Reply, 4100}}), "0.0", Drive_Panel_Done,
         Drive_Time_Done, false},
        {"after a discard the next run needs the engine down first",
         With({{5600, Event::Reply, 4100}, {5700, Event::Reply, 1500}, {5800, Event::Reply, 2100},
               {6800, Event::Reply, 4100}}),
         "1.0", Drive_Panel_Done, Drive_Time_Done, false},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Connected = true;
        D->Tick_Count = 0;
        D->FormActivate(D);
        for (const Step& S : R.Steps) {
            sys::Monotonic_Clock_Set(S.Ms);
            if (S.What == Event::Reply) {
                D->Update_Drive_Timing(S.Rpm);
            } else {
                Connected = S.What != Event::Drop;
                D->Timer_MV_DriveTimer(D);
                Connected = true;
            }
        }
        EXPECT_EQ(D->Label_Drive_Current_Time->Caption(), R.Time);
        EXPECT_EQ(D->Panel_Drive_Time->Color(), R.Panel);
        EXPECT_EQ(D->Label_Drive_Current_Time->Font().Color(), R.Time_Colour);
        EXPECT_EQ(D->Timer_MV_Drive->Enabled(), R.Running);
        // Any run still going ends before the next row.
        Reply(100000, 9000);
    }
}

TEST_F(Drive_Window_Test, SetCapturesTheRatioOnlyFromAKnownEngineSpeedInRange)
{
    D->Label_Drive_SpeedClick(D);
    ASSERT_TRUE(D->RadioButton_Drive_Speed->Checked());
    // Before Set: the speed-to edit stays disabled and a ramp times nothing.
    EXPECT_FALSE(D->SpinEdit_Drive_Speed_To->Enabled());
    EXPECT_FALSE(D->Panel_Drive_Time->Enabled());
    Reply(0, 1000);
    Reply(100, 2100);
    Reply(200, 4100);
    EXPECT_FALSE(D->Timer_MV_Drive->Enabled());
    EXPECT_EQ(D->Label_Drive_Current_Time->Caption(), "0.0");
    EXPECT_EQ(D->Label_Drive_RPM_Current->Caption(), "4100");

    struct Row {
        const char* Name;
        bool Link;
        int Rpm;
        const char* Message_Key;   // nullptr: captured
    };
    const Row Rows[] = {
        {"not connected", false, 1800, "Drive_Set_Not_Connected"},
        {"engine stopped", true, 0, "Drive_Set_RPM_Range"},
        {"above the range", true, 9000, "Drive_Set_RPM_Range"},
        {"driving at speed-from", true, 1800, nullptr},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Connected = true;
        Reply(1000, R.Rpm);
        Connected = R.Link;
        Form_MSG->Stored = MSG_Message{};
        D->Button_Drive_SetClick(D);
        Connected = true;
        EXPECT_EQ(D->Ratio_Captured, R.Message_Key == nullptr);
        EXPECT_EQ(Form_MSG->Stored.Text, R.Message_Key ? R.Message_Key : "");
    }
    // 1800 rpm at 60 km/h: 30 rpm per km/h.
    EXPECT_EQ(D->SpinEdit_Drive_RPM_From->Value(), 1800);
    EXPECT_EQ(D->SpinEdit_Drive_RPM_To->Value(), 3000);
    EXPECT_TRUE(D->SpinEdit_Drive_Speed_To->Enabled());
    EXPECT_TRUE(D->Panel_Drive_Time->Enabled());
    EXPECT_EQ(D->Panel_Drive_Time->Color(), Drive_Panel_Done);
}

TEST_F(Drive_Window_Test, TheMarksKeepTheirGapsAndRangesUnderRandomChanges)
{
    // Marked corrections first, as rows run in order: the mode, the edit changed, its new
    // value, and the four values after the corrections.
    struct Row {
        const char* Name;
        bool Speed_Mode;
        TSpinEdit* TForm_MV_Drive::*Spin;
        int Value;
        int Speed_From, Speed_To, Rpm_From, Rpm_To;
    };
    using F = TForm_MV_Drive;
    const Row Rows[] = {
        {"RPM-to up, no correction", false, &F::SpinEdit_Drive_RPM_To, 4000, 60, 100, 1800, 4000},
        {"RPM-from near RPM-to pushes it up", false, &F::SpinEdit_Drive_RPM_From, 3900, 60, 100, 3900, 4100},
        {"RPM-to to its top", false, &F::SpinEdit_Drive_RPM_To, 8000, 60, 100, 3900, 8000},
        {"at RPM-to 8000 RPM-from is pushed back", false, &F::SpinEdit_Drive_RPM_From, 7900, 60, 100, 7800, 8000},
        {"RPM-to onto RPM-from", false, &F::SpinEdit_Drive_RPM_To, 7800, 60, 100, 7700, 7900},
        {"an entry above the range reads as 8000", false, &F::SpinEdit_Drive_RPM_From, 9000, 60, 100, 7800, 8000},
        {"speed-to 200, the RPM marks by the ratio", true, &F::SpinEdit_Drive_Speed_To, 200, 60, 200, 1800, 6000},
        {"speed-from 195 is pushed down to a gap of 10", true, &F::SpinEdit_Drive_Speed_From, 195, 190, 200, 5700,
         6000},
    };
    Reply(0, 1800);
    D->Label_Drive_SpeedClick(D);
    D->Button_Drive_SetClick(D);
    ASSERT_TRUE(D->Ratio_Captured);
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        (R.Speed_Mode ? D->RadioButton_Drive_Speed : D->RadioButton_Drive_RPM)->Checked(true);
        (D->*R.Spin)->User_Changed(R.Value);
        EXPECT_EQ(D->SpinEdit_Drive_Speed_From->Value(), R.Speed_From);
        EXPECT_EQ(D->SpinEdit_Drive_Speed_To->Value(), R.Speed_To);
        EXPECT_EQ(D->SpinEdit_Drive_RPM_From->Value(), R.Rpm_From);
        EXPECT_EQ(D->SpinEdit_Drive_RPM_To->Value(), R.Rpm_To);
    }

    // Then a seeded run of random changes of the enabled edits and the mode.
    std::mt19937 Random(1234);
    TSpinEdit* const Spins[] = {D->SpinEdit_Drive_Speed_From, D->SpinEdit_Drive_Speed_To,
                                D->SpinEdit_Drive_RPM_From, D->SpinEdit_Drive_RPM_To};
    for (int I = 0; I < 3000; ++I) {
        const int Choice = static_cast<int>(Random() % 6);
        if (Choice == 4) {
            D->RadioButton_Drive_Speed->Checked(true);
        } else if (Choice == 5) {
            D->RadioButton_Drive_RPM->Checked(true);
        } else if (Spins[Choice]->Enabled()) {
            TSpinEdit* S = Spins[Choice];
            const int Span = S->MaxValue() - S->MinValue();
            S->User_Changed(S->MinValue() + static_cast<int>(Random() % static_cast<unsigned>(Span + 1)));
        }
        for (TSpinEdit* S : Spins) {
            ASSERT_TRUE(S->Value() >= S->MinValue() && S->Value() <= S->MaxValue()) << S->Name() << " step " << I;
        }
        ASSERT_GE(D->SpinEdit_Drive_Speed_To->Value() - D->SpinEdit_Drive_Speed_From->Value(), 10) << "step " << I;
        if (D->RadioButton_Drive_RPM->Checked()) {
            ASSERT_GE(D->SpinEdit_Drive_RPM_To->Value() - D->SpinEdit_Drive_RPM_From->Value(), 10) << "step " << I;
        }
    }
}

}  // namespace
