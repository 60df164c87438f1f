// Status line queue, reception status texts and the link-quality percentage.
#include "data/Globals.h"
#include "data/Settings.h"
#include "protocol/Status_Queue.h"
#include "language/Language.h"
#include "main/Process_State.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Status_Queue_Test : public ::testing::Test {
protected:
  void SetUp() override {
    Reset_All_State();
    Status_Line_Hooks.Timer_Enable = [this](bool on) { Timer.push_back(on); };
    Status_Line_Hooks.Line_Changed = [this](const Status_Line_State& s) { Lines.push_back(s); };
  }
  void TearDown() override { Reset_All_State(); }

  std::vector<std::string> Queued() const {
    std::vector<std::string> out;
    for (int i = 1; i <= Status_Queue.Count; ++i) out.push_back(Status_Queue.Text[i]);
    return out;
  }
  std::vector<bool> Timer;
  std::vector<Status_Line_State> Lines;
};

TEST_F(Status_Queue_Test, AddShowsAtOnceAndQueuesATextOnce) {
  Add_Status_Message(clRed, "Engine off");
  EXPECT_TRUE(Status_Line.Visible);
  EXPECT_EQ(Status_Line.Text, "Engine off");
  EXPECT_EQ(Status_Line.Colour, clRed);
  EXPECT_TRUE(Status_Line.Timer_On);
  EXPECT_EQ(Status_Message_Shown, 1);
  const std::size_t lines = Lines.size();
  Add_Status_Message(clLime, "Engine off");
  EXPECT_EQ(Queued(), std::vector<std::string>{"Engine off"});
  EXPECT_EQ(Lines.size(), lines);  // the display is not changed either
  EXPECT_EQ(Status_Queue.Colour[1], clRed);
}

TEST_F(Status_Queue_Test, RotationGoesThroughSlotsInQueueOrderAndWraps) {
  Add_Status_Message(clRed, "A");
  Add_Status_Message(clLime, "B");
  Add_Status_Message(clAqua, "C");
  EXPECT_EQ(Status_Queue.Current, 3);
  Next_Status_Message();
  EXPECT_EQ(Status_Line.Text, "A");
  EXPECT_EQ(Status_Line.Colour, clRed);
  Next_Status_Message();
  EXPECT_EQ(Status_Line.Text, "B");
  Timer.clear();
  Next_Status_Message();
  EXPECT_EQ(Status_Line.Text, "C");
  EXPECT_EQ(Timer, (std::vector<bool>{false, true}));  // the count restarts with each text
}

TEST_F(Status_Queue_Test, RemoveCompactsTheQueueAndShowsTheNextSlot) {
  Add_Status_Message(clRed, "A");
  Add_Status_Message(clLime, "B");
  Add_Status_Message(clAqua, "C");
  Next_Status_Message();  // shows A (slot 1)
  Remove_Status_Message("B");
  EXPECT_EQ(Queued(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(Status_Queue.Colour[2], clAqua);
  EXPECT_EQ(Status_Queue.Colour[3], clBtnFace);
  EXPECT_TRUE(Status_Queue.Text[3].empty());
  EXPECT_EQ(Status_Line.Text, "C");  // the slot after Current
  Remove_Status_Message("C");
  EXPECT_EQ(Status_Line.Text, "A");  // wrapped to 1
  Remove_Status_Message("not queued");
  EXPECT_EQ(Queued(), std::vector<std::string>{"A"});
  EXPECT_EQ(Status_Line.Text, "A");
  Remove_Status_Message("A");
  EXPECT_FALSE(Status_Line.Visible);
  EXPECT_EQ(Status_Line.Colour, clBtnFace);
  EXPECT_EQ(Status_Line.Text, "");
  EXPECT_FALSE(Status_Line.Timer_On);
  EXPECT_EQ(Status_Message_Shown, 0);
}

TEST_F(Status_Queue_Test, RemoveFromEmptyQueueStopsTheTimerAndKeepsTheLine) {
  Show_Status_Text(clLime, "Engine on");
  Remove_Status_Message("Engine off");
  EXPECT_FALSE(Status_Line.Timer_On);
  EXPECT_TRUE(Status_Line.Visible);
  EXPECT_EQ(Status_Line.Text, "Engine on");
}

TEST_F(Status_Queue_Test, TextShownOnceIsHiddenAtTheNextTickWhenNothingIsQueued) {
  Show_Status_Text(clLime, "Saved");
  EXPECT_TRUE(Status_Line.Visible);
  EXPECT_TRUE(Status_Line.Timer_On);
  EXPECT_EQ(Status_Queue.Count, 0);
  Next_Status_Message();
  EXPECT_FALSE(Status_Line.Visible);
  EXPECT_FALSE(Status_Line.Timer_On);
}

TEST_F(Status_Queue_Test, FullQueueDropsFurtherTextsWithoutOverrun) {
  for (int i = 1; i <= 10; ++i) Add_Status_Message(clRed, "T" + std::to_string(i));
  ASSERT_EQ(Status_Queue.Count, 10);
  Add_Status_Message(clLime, "T11");
  EXPECT_EQ(Status_Queue.Count, 10);
  EXPECT_EQ(Status_Queue.Text[10], "T10");
  EXPECT_EQ(Status_Line.Text, "T10");
  // After a removal there is room again.
  Remove_Status_Message("T1");
  Add_Status_Message(clLime, "T11");
  EXPECT_EQ(Status_Queue.Count, 10);
  EXPECT_EQ(Status_Queue.Text[10], "T11");
  EXPECT_EQ(Status_Queue.Text[1], "T2");
}

TEST_F(Status_Queue_Test, ReceptionTextsComeFromTheLanguage) {
  const std::string on = Language_Text("Error_Receiv_Data_On");
  const std::string off = Language_Text("Error_Receiv_Data_Off");
  ASSERT_FALSE(on.empty());
  Receiv_Data_On();
  EXPECT_EQ(Queued(), std::vector<std::string>{on});
  EXPECT_EQ(Status_Line.Colour, clAqua);
  Receiv_Data_Off();
  EXPECT_EQ(Status_Queue.Count, 0);
  EXPECT_TRUE(Status_Line.Visible);
  EXPECT_EQ(Status_Line.Text, off);
  EXPECT_EQ(Status_Line.Colour, clLime);
}

// ---- link quality ----

TEST_F(Status_Queue_Test, LinkTuningSpreadsTheFallOverTheWatchdogTime) {
  Link_Quality_Timing t = Link_Quality_Tuning(5000, 60);
  EXPECT_EQ(t.Step, 2);
  EXPECT_EQ(t.Interval, 93);
  t = Link_Quality_Tuning(5000, 1000);
  EXPECT_EQ(t.Step, 2);
  EXPECT_EQ(t.Interval, 74);
  // Any delay ends, and the tick is never shorter than 60 ms.
  for (int delay : {0, 1, 500, 4400, 4900, 5000, 6000, 100000, -100}) {
    t = Link_Quality_Tuning(5000, delay);
    EXPECT_GE(t.Step, 1) << delay;
    EXPECT_LE(t.Step, 100) << delay;
    EXPECT_GE(t.Interval, 60) << delay;
  }
}

TEST_F(Status_Queue_Test, LinkPercentFallsAfterAReplyAndStopsAtZero) {
  EXPECT_EQ(Link_Quality_Full(60), 80);
  EXPECT_EQ(Link_Percent, 100);
  EXPECT_EQ(Link_Quality_Tick(80, 60, 5000), 93);  // first tick: re-tuned, not lowered
  EXPECT_EQ(Link_Percent, 100);
  EXPECT_EQ(Link_Quality_Tick(93, 60, 5000), 0);
  EXPECT_EQ(Link_Percent, 98);
  int ticks = 1;
  while (Link_Percent > 0 && ticks < 1000) {
    Link_Quality_Tick(93, 60, 5000);
    ++ticks;
  }
  EXPECT_EQ(ticks, 50);
  Link_Quality_Tick(93, 60, 5000);
  EXPECT_EQ(Link_Percent, 0);
  EXPECT_EQ(Link_Percent_Text(Link_Percent), "0%");
}

TEST_F(Status_Queue_Test, LinkTickNeverLooksLikeTheFirstTickAgain) {
  // With a reply delay of 73 the tuned tick would equal the first-tick marker 93.
  Link_Quality_Full(73);
  const int32_t interval = Link_Quality_Tick(93, 73, 5000);
  ASSERT_NE(interval, 93);
  Link_Quality_Tick(interval, 73, 5000);
  EXPECT_LT(Link_Percent, 100);
}

TEST_F(Status_Queue_Test, LinkColourBandsChangeAtTheirBounds) {
  EXPECT_EQ(Link_Quality_Colour(30).Colour, 0x0000FF);
  EXPECT_EQ(Link_Quality_Colour(31).Colour, 0x0080FF);
  EXPECT_EQ(Link_Quality_Colour(50).Font_Colour, 0xFFFFFF);
  EXPECT_EQ(Link_Quality_Colour(51).Font_Colour, 0xFF0000);
  EXPECT_EQ(Link_Quality_Colour(90).Colour, 0x00FFB9);
  EXPECT_EQ(Link_Quality_Colour(91).Colour, 0x00FF00);
}

}  // namespace
