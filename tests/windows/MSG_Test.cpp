// The typed message window: deferred showing, the last of a burst, layout, countdown,
// closing, and the message that arrives while another is on screen.
#include <gtest/gtest.h>

#include "main/Main_Test_Support.h"

namespace {

using main_test::Reset_All_State;

class MSG_Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset_All_State();
        // A main window without its creation handler: enough for the type-8 rule.
        Main = new TForm_KardunGAS(nullptr);
        Form_MSG = Create_Form<TForm_MSG>(nullptr);
        W = Form_MSG;
    }
    void TearDown() override
    {
        W->Free();
        Main->Free();
        Reset_All_State();
    }
    // The deferred show step as the loop runs it.
    void Run_Show_Timer() { ASSERT_TRUE(W->Timer_MSG_run->Fire_Tick()); }
    std::string Text_On_Screen() const { return W->Label_Text ? W->Label_Text->Caption() : "<none>"; }

    TForm_KardunGAS* Main = nullptr;
    TForm_MSG* W = nullptr;
};

TEST_F(MSG_Window, ShowsFromTheTimerNeverInsideTheCall)
{
    Show_Message(4, "Port failure", clRed);
    EXPECT_FALSE(W->Visible());
    EXPECT_TRUE(W->Timer_MSG_run->Enabled());
    EXPECT_EQ(W->Timer_MSG_run->Interval(), 100);
    Run_Show_Timer();
    EXPECT_TRUE(W->Visible());
    EXPECT_FALSE(W->Timer_MSG_run->Enabled());
    EXPECT_EQ(Text_On_Screen(), "Port failure");
    EXPECT_EQ(W->Label_Text->Font().Color(), clRed);
}

TEST_F(MSG_Window, OnlyTheLastOfABurstIsShown)
{
    Show_Message(4, "first", clRed);
    Show_Message(7, "Error_CFG_Receiv", 0xFF0000);
    Run_Show_Timer();
    std::string Expected;
    Language_Text("Error_CFG_Receiv", Expected);
    ASSERT_FALSE(Expected.empty());
    EXPECT_EQ(Text_On_Screen(), Expected);
    EXPECT_EQ(W->Label_Text->Font().Color(), 0xFF0000);
}

TEST_F(MSG_Window, TypesOutsideOneToNineShowNothing)
{
    for (uint8_t Type : {0, 10, 200}) {
        Show_Message(Type, "x", clRed);
        Run_Show_Timer();
        EXPECT_FALSE(W->Visible()) << int(Type);
    }
}

TEST_F(MSG_Window, TextsAreShownAsPlainText)
{
    const std::string Text = "A & B <b>bold</b> &Accel";
    Show_Message(4, Text, clRed);
    Run_Show_Timer();
    ASSERT_NE(W->Label_Text, nullptr);
    EXPECT_EQ(W->Label_Text->Caption(), Text);
    EXPECT_FALSE(W->Label_Text->ShowAccelChar());
    EXPECT_TRUE(W->Label_Text->WordWrap());
    ASSERT_NE(W->Buttons[1], nullptr);
    EXPECT_EQ(W->Buttons[1]->Caption(), "OK");
}

TEST_F(MSG_Window, OneButtonLayoutWithAndWithoutCountdown)
{
    Show_Message(4, "plain", clRed);
    Run_Show_Timer();
    ASSERT_NE(W->Buttons[1], nullptr);
    EXPECT_EQ(W->Buttons[1]->Width(), 118);
    EXPECT_EQ(W->Buttons[1]->Left(), 143);
    EXPECT_EQ(W->Buttons[1]->Top(), 5);
    EXPECT_EQ(W->Panel_MSG_Btn->Height(), 40);
    EXPECT_FALSE(W->Image_MSG->Visible());
    EXPECT_EQ(W->Label_Countdown, nullptr);
    W->Buttons[1]->Click();
    EXPECT_FALSE(W->Visible());

    Show_Message(9, "Error_RPM_Tab_Cells", clRed);
    Run_Show_Timer();
    ASSERT_NE(W->Buttons[1], nullptr);
    EXPECT_EQ(W->Buttons[1]->Width(), 101);
    EXPECT_EQ(W->Buttons[1]->Left(), 180);
    EXPECT_EQ(W->Image_MSG->Width(), 57);
    EXPECT_EQ(W->Image_MSG->Height(), 57);
    EXPECT_EQ(W->Panel_MSG_Btn->Height(), 61);
    EXPECT_EQ(W->Panel_MSG_Btn->Top(), W->Panel_MSG_Txt->Top() + W->Panel_MSG_Txt->Height());
    ASSERT_NE(W->Label_Countdown, nullptr);
    EXPECT_EQ(W->Label_Countdown->Font().Color(), 0xFFF75B);
}

TEST_F(MSG_Window, TheButtonHalfTakesTheTextHalfsWidthBeforeItsButtonsAreMeasured)
{
    W->Panel_MSG_Txt->Width(305);
    Show_Message(4, "narrow", clRed);
    Run_Show_Timer();
    EXPECT_EQ(W->Panel_MSG_Btn->Width(), 305);
    ASSERT_NE(W->Buttons[1], nullptr);
    EXPECT_EQ(W->Buttons[1]->Width(), 88);    // 30 % of 305 - 2 x 5
    EXPECT_EQ(W->Buttons[1]->Left(), 108);    // centred in 305
}

TEST_F(MSG_Window, CountdownClosesAtTheThirtyFirstTick)
{
    Show_Message(6, "", clBlue);
    Run_Show_Timer();
    ASSERT_TRUE(W->Timer_MSG->Enabled());
    ASSERT_NE(W->Label_Countdown, nullptr);
    ASSERT_TRUE(W->Timer_MSG->Fire_Tick());
    const std::string First = W->Label_Countdown->Caption();
    EXPECT_NE(First.find("2.9"), std::string::npos) << First;
    for (int Tick = 2; Tick <= 30; ++Tick)
        ASSERT_TRUE(W->Timer_MSG->Fire_Tick());
    EXPECT_TRUE(W->Visible());
    EXPECT_NE(W->Label_Countdown->Caption().find("0.0"), std::string::npos);
    EXPECT_FALSE(W->Image_MSG->Picture().Empty());   // the busy wheel was drawn
    ASSERT_TRUE(W->Timer_MSG->Fire_Tick());
    EXPECT_FALSE(W->Visible());
    EXPECT_FALSE(W->Timer_MSG->Enabled());
}

TEST_F(MSG_Window, OkStopsTheCountdownAndTheButtonOutlivesItsClick)
{
    Show_Message(9, "Error_RPM_Tab_Cells", clRed);
    Run_Show_Timer();
    ASSERT_TRUE(W->Timer_MSG->Fire_Tick());
    TButton* Ok = W->Buttons[1];
    ASSERT_NE(Ok, nullptr);
    Ok->Click();
    EXPECT_FALSE(W->Visible());
    EXPECT_FALSE(W->Timer_MSG->Enabled());
    // The button was not destroyed inside its own click: it is still owned by the window,
    // hidden, and the slots are empty for the next message.
    EXPECT_EQ(W->FindComponent("Button_MSG_1"), Ok);
    EXPECT_FALSE(Ok->Visible());
    EXPECT_EQ(W->Buttons[1], nullptr);
    // The next message builds fresh controls and frees the old ones.
    Show_Message(4, "again", clRed);
    Run_Show_Timer();
    ASSERT_NE(W->Buttons[1], nullptr);
    int Buttons_Named = 0;
    for (int I = 0; I < W->ComponentCount(); ++I)
        if (W->Components(I)->Name() == "Button_MSG_1")
            ++Buttons_Named;
    EXPECT_EQ(Buttons_Named, 1);
    EXPECT_EQ(Text_On_Screen(), "again");
}

TEST_F(MSG_Window, ClosingAVersionMessageSetsTheFlagEitherWay)
{
    Show_Message(8, "", clRed);
    Run_Show_Timer();
    EXPECT_FALSE(Main->Enabled());
    EXPECT_FALSE(Version_Error_Closed);
    W->Close();   // the close box
    EXPECT_TRUE(Version_Error_Closed);

    Version_Error_Closed = false;
    Show_Message(8, "", clRed);
    Run_Show_Timer();
    W->Buttons[1]->Click();
    EXPECT_TRUE(Version_Error_Closed);
}

TEST_F(MSG_Window, AMessageArrivingOnScreenWaitsAndDoesNotChangeHowTheVisibleOneCloses)
{
    Show_Message(4, "first", clRed);
    Run_Show_Timer();
    // A version message comes while the first is on screen.
    Show_Message(8, "", clRed);
    Run_Show_Timer();
    EXPECT_EQ(Text_On_Screen(), "first");
    EXPECT_TRUE(Main->Enabled());
    W->Buttons[1]->Click();
    // The first closes as what it is: no version flag.
    EXPECT_FALSE(Version_Error_Closed);
    EXPECT_FALSE(W->Visible());
    // The version message is not lost: it is shown next.
    EXPECT_TRUE(W->Timer_MSG_run->Enabled());
    Run_Show_Timer();
    EXPECT_TRUE(W->Visible());
    std::string Version_Text;
    Language_Text("Error_Version", Version_Text);
    EXPECT_EQ(Text_On_Screen(), Version_Text);
    EXPECT_FALSE(Main->Enabled());
    W->Buttons[1]->Click();
    EXPECT_TRUE(Version_Error_Closed);
}

TEST_F(MSG_Window, TextsOfTheTypesThatComposeThem)
{
    Temperature_File_Name = "KardunGD.dat";
    MSG_Message M;
    M.Type = 3;
    EXPECT_EQ(W->Message_Text(M).rfind("KardunGD.dat ", 0), 0u);
    M.Type = 6;
    const std::string Six = W->Message_Text(M);
    EXPECT_EQ(Six.substr(Six.size() - 11), " \"Temp.cfg\"");
    M.Type = 1;
    EXPECT_NE(W->Message_Text(M).find(" <<KardunGAS>>. "), std::string::npos);
    EXPECT_EQ(W->Message_Text(M).substr(W->Message_Text(M).size() - 16), "3.02; 2.54; x.44");
    M.Type = 7;
    M.Text = "";
    EXPECT_EQ(W->Message_Text(M), "");
}

TEST_F(MSG_Window, BeforeTheWindowExistsMessagesGoToStandardError)
{
    W->Free();
    W = nullptr;
    ASSERT_EQ(Form_MSG, nullptr);
    testing::internal::CaptureStderr();
    Show_Message(4, "no window yet", clRed);
    const std::string Err = testing::internal::GetCapturedStderr();
    EXPECT_NE(Err.find("no window yet"), std::string::npos);
    Form_MSG = Create_Form<TForm_MSG>(nullptr);
    W = Form_MSG;
}

}  // namespace
