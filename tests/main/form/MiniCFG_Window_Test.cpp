// The compact configuration window over the real main window: every view lends its
// controls and gives each one back as it was, the callers that open it, the locks that keep
// it shut or close it, its help line, the table view and leaving the program with it open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWindow>

#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "main/Main_Test_Support.h"
#include "protocol/Live_Data.h"
#include "protocol/Script.h"
#include "protocol/Write_Lists.h"
#include "windows/MiniCFG_Window.h"

namespace {

using namespace main_test;

// Where a control is and how it shows: top, left, parent, visible, tool-tip.
using Placement = std::tuple<int, int, const TControl*, bool, bool>;

class MiniCFG_Window : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
        Form_MiniCFG = Create_Form<TForm_MiniCFG>(nullptr);
        Mini = Form_MiniCFG;
        F()->Show();
    }
    void TearDown() override
    {
        if (Form_MiniCFG)
            Form_MiniCFG->Free();
        Main_Window_Fixture::TearDown();
    }
    TForm_KardunGAS* F() { return Main(); }
    // Every control of the main window with its placement.
    std::map<const TControl*, Placement> Main_Controls()
    {
        std::map<const TControl*, Placement> All;
        Collect(F(), All);
        return All;
    }
    static void Collect(const TControl* C, std::map<const TControl*, Placement>& All)
    {
        for (int I = 0; I < C->ControlCount(); ++I) {
            const TControl* Child = C->Controls(I);
            All[Child] = {Child->Top(), Child->Left(), Child->Parent(), Child->Visible(), Child->ShowHint()};
            Collect(Child, All);
        }
    }
    static TControl* Named(const std::string& Name) { return dynamic_cast<TControl*>(ui::Find_Control(Name)); }
    static bool In_Compact(const TControl* C) { return C && C->Parent_Form() == Form_MiniCFG; }
    TForm_MiniCFG* Mini = nullptr;
};

TEST_F(MiniCFG_Window, EveryViewLendsItsControlsAndGivesEachBackAsItWas)
{
    // Tool-tips on, so that hint switches differ between the pages.
    Settings.Show_Hint = true;
    F()->Show_Hint_Apply();
    F()->PageControl_KardunGAS->ActivePageIndex(1);
    F()->Page_Panels_Refresh();
    F()->Options_Select(11);
    // KARDUN_SHOT_DIR names a folder for pictures of the page's group 11 and of each view.
    const char* Shots = std::getenv("KARDUN_SHOT_DIR");
    auto Shoot = [Shots](TControl* C, const std::string& Name) {
        if (!Shots)
            return;
        Pump_For(50);
        EXPECT_TRUE(ui::Render_To_PNG(C, std::string(Shots) + "/" + Name + ".png"));
    };
    // Shown, the window settles (its scaling) before the places are taken.
    Pump_For(100);
    Shoot(F(), "group_11");
    const auto Before = Main_Controls();
    for (int View = MiniCFG_View_Min; View <= MiniCFG_View_Max; ++View) {
        SCOPED_TRACE("view " + std::to_string(View));
        F()->Show_MiniCFG(View);
        Shoot(Mini, "view_" + std::to_string(View));
        ASSERT_TRUE(MiniCFG_Open);
        ASSERT_EQ(MiniCFG_View_Type, View);
        EXPECT_TRUE(Mini->CheckBox_MiniCFG->Checked());
        const auto& Lent = Mini->Borrowed();
        EXPECT_TRUE(!Lent.empty() && Lent.size() <= 19u) << Lent.size();
        for (const std::string& Name : MiniCFG_View_Controls(View)) {
            const TControl* C = Named(Name);
            ASSERT_TRUE(C) << Name;
            EXPECT_TRUE(In_Compact(C)) << Name;
            EXPECT_FALSE(C->ShowHint()) << Name;
            // Inside its box, nothing cut off.
            const TControl* P = C->Parent();
            EXPECT_TRUE(C->Left() >= 0 && C->Top() >= 0 && C->Left() + C->Width() <= P->Width() &&
                        C->Top() + C->Height() <= P->Height())
                << Name << " at " << C->Left() << "," << C->Top() << " in " << P->Name();
        }
        // The table view has no help box; every other one an 80-pixel box under the controls.
        EXPECT_EQ(Mini->GroupBox_MiniCFG_Help->Visible(), View != MiniCFG_View_RPM_Table);
        if (View != MiniCFG_View_RPM_Table) {
            EXPECT_EQ(Mini->GroupBox_MiniCFG_Help->Height(), 80);
            int Bottom = 0;
            for (const ORG_MiniCFG_Box_Class& B : Lent)
                if (B.Control->Parent() == Mini->Panel_MiniCFG)
                    Bottom = std::max(Bottom, B.Control->Top() + B.Control->Height());
            for (const TGroupBox* G : Mini->Run_Time_Boxes())
                Bottom = std::max(Bottom, G->Top() + G->Height());
            EXPECT_GE(Mini->GroupBox_MiniCFG_Help->Top(), Bottom - 1);
        }
        EXPECT_LE(Mini->CheckBox_MiniCFG->Top() + Mini->CheckBox_MiniCFG->Height(), Mini->ClientHeight());
        // The page walks its groups meanwhile: the window keeps what it shows.
        std::vector<bool> Shown;
        for (const ORG_MiniCFG_Box_Class& B : Lent)
            Shown.push_back(B.Control->Visible());
        F()->Options_Select(2);
        F()->Options_Select(11);
        for (size_t I = 0; I < Lent.size(); ++I)
            EXPECT_EQ(Lent[I].Control->Visible(), Shown[I]) << Lent[I].Control->Name();
        Mini->Close();
        EXPECT_FALSE(MiniCFG_Open);
        EXPECT_TRUE(Mini->Run_Time_Boxes().empty());
        const auto After = Main_Controls();
        for (const auto& [C, P] : Before)
            EXPECT_TRUE(After.count(C) && After.at(C) == P) << C->Name();
    }
}

TEST_F(MiniCFG_Window, CallersOpenTheirViewsAndAnOpenViewMakesWayForTheNext)
{
    // The page's help reaches the window's help line while it is open.
    F()->Show_MiniCFG(19);
    TControl* High = F()->GP_PressDiff_High.UpDown;
    ASSERT_TRUE(In_Compact(High) && High->OnMouseMove);
    High->OnMouseMove(High, {}, 1, 1);
    EXPECT_FALSE(Mini->Label_MiniCFG_Help->Caption().empty());
    EXPECT_EQ(Mini->Label_MiniCFG_Help->Caption(), F()->GP_PressDiff_High.Caption->Hint());
    // The R.P.M. source view over the pressure view: the pressure controls are home first.
    TControl* Pressure = F()->PG_Pressure.UpDown;
    F()->Show_MiniCFG(17);
    EXPECT_FALSE(In_Compact(Pressure));
    EXPECT_TRUE(In_Compact(F()->RPM_Source.Edit));
    // View 17 explains the idle run from the start and follows the live speed.
    EXPECT_EQ(Mini->Label_MiniCFG_Help->Caption(), Named("Label_CFG_RPM_IdleRun")->Hint());
    Live_Values.Live_RPM = 1234;
    F()->Show_Live_Values();
    EXPECT_EQ(F()->RPM_Source.Edit->Text(), "1234");
    Mini->Close();

    struct Row {
        const char* What;
        std::function<void()> Act;
        int View;   // 0: nothing opens
    };
    auto After_Connect = [this](uint16_t RPM) {
        return [this, RPM] {
            Live_Values.Live_RPM = RPM;
            F()->Timer_After_ConnectTimer(nullptr);
        };
    };
    auto Click = [](TControl* C, TMouseButton Button) {
        return [C, Button] { C->OnMouseDown(C, Button, {}, 1, 1); };
    };
    const Row Rows[] = {
        {"connect script action 85", [] { Script_Action_Slot(85)(); }, 17},
        {"engine standing after connecting", After_Connect(0), 0},
        {"449 rpm after connecting", After_Connect(449), 17},
        {"450 rpm after connecting", After_Connect(450), 0},
        {"7000 rpm after connecting", After_Connect(7000), 0},
        {"7001 rpm after connecting", After_Connect(7001), 17},
        {"link quality panel", Click(F()->Panel_ConnectStatus_PerCent, TMouseButton::Right), 26},
        {"left click on the port panel", Click(F()->Panel_PortStatus, TMouseButton::Left), 0},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        MiniCFG_View_Type = 0;
        R.Act();
        EXPECT_EQ(MiniCFG_Open, R.View != 0);
        EXPECT_EQ(MiniCFG_View_Type, R.View);
        Mini->Close();
    }
    // The engine still standing, the timer looks again later.
    After_Connect(0)();
    EXPECT_TRUE(F()->Timer_After_Connect->Enabled());
}

TEST_F(MiniCFG_Window, ActivationLocksAndTheIdleRunCloseTheWindow)
{
    F()->Show_MiniCFG(17);   // the idle-run calibration, done in the R.P.M. source view
    ASSERT_TRUE(In_Compact(F()->Button_CFG_RPM_IdleRun));
    Connected = true;
    Live_Values.Live_Word_24 = 2500;
    F()->RPM_IdleRun.UpDown->Position(600);
    F()->Button_CFG_RPM_IdleRun->Click();
    EXPECT_EQ(Configuration.RPM_Source, 1500000u);
    EXPECT_FALSE(MiniCFG_Open || Mini->Visible() || In_Compact(F()->Button_CFG_RPM_IdleRun));
    Connected = false;
    Request_Code = 0;

    // Back to the main window, a ticked box closes the window (an unticked one keeps it: the
    // table view's case).
    F()->Show_MiniCFG(21);
    ASSERT_TRUE(Mini->CheckBox_MiniCFG->Checked());
    F()->FormActivate(F());
    EXPECT_FALSE(MiniCFG_Open || In_Compact(F()->PG_Temper.Edit));

    // A lock keeps the window shut, and closes an open one (its controls home); closing
    // leaves the lock in place.
    struct Lock {
        const char* What;
        std::function<void(bool)> Set;
    };
    const Lock Locks[] = {
        {"main window", [this](bool Locked) { F()->Enabled(!Locked); }},
        {"pages (password)", [this](bool Locked) { F()->Pages_Enabled(!Locked); }},
    };
    for (const Lock& L : Locks) {
        SCOPED_TRACE(L.What);
        L.Set(true);
        F()->Show_MiniCFG(2);
        EXPECT_FALSE(MiniCFG_Open || Mini->Visible());
        L.Set(false);
        F()->Show_MiniCFG(2);
        ASSERT_TRUE(MiniCFG_Open);
        L.Set(true);
        EXPECT_FALSE(MiniCFG_Open || Mini->Visible() || In_Compact(F()->GroupBox_CFG_SwitchPG));
        EXPECT_FALSE(F()->Enabled() && F()->PageControl_KardunGAS->Enabled());
        L.Set(false);
    }
}

TEST_F(MiniCFG_Window, TheOscilloscopesRightClicksOpenTheirViewsAndTheClicksOwnActivationKeepsThem)
{
    F()->PageControl_KardunGAS->ActivePage(F()->TabSheet_Oscilloscope);
    // Clicks as the window system delivers them, and its activation of the main window.
    auto Press = [this](TControl* C, Qt::MouseButton Button) {
        QTest::mouseClick(F()->Widget()->windowHandle(), Button, {},
                          C->Widget()->mapTo(F()->Widget(), C->Widget()->rect().center()));
    };
    auto Main_Activated = [this] {
        F()->Widget()->activateWindow();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    };
    const std::pair<TControl*, int> Rows[] = {
        {F()->Label_OSC_RPM, 17},     {F()->Label_OSC_TPS, 25},       {F()->Edit_OSC_TPS, 25},
        {F()->Label_OSC_Gas, 5},      {F()->Edit_OSC_Gas, 5},         {F()->Label_OSC_TempVap, 21},
        {F()->Label_OSC_TempGas, 20}, {F()->Label_OSC_PressDiff, 19}, {F()->Label_OSC_Detonation, 23},
        {F()->Label_OSC_PressColl, 0}};
    MiniCFG_View_Type = 0;
    for (const auto& [Control, View] : Rows) {
        SCOPED_TRACE(Control->Name());
        Mini->Close();
        // The main window activated after the view opened, once or twice (as on a bare X server).
        Press(Control, Qt::RightButton);
        Main_Activated();
        Main_Activated();
        EXPECT_EQ(MiniCFG_Open, View != 0);
        EXPECT_TRUE(View == 0 || MiniCFG_View_Type == View) << MiniCFG_View_Type;
        EXPECT_EQ(QApplication::activeWindow(), View ? Mini->Widget() : F()->Widget());
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no menu of the toolkit";
    }
    // A later click elsewhere, with its activation, closes the view; so does the next
    // click's activation before its press.
    F()->Show_MiniCFG(2);
    Press(F()->Label_OSC_Scale_Sec, Qt::LeftButton);
    Main_Activated();
    EXPECT_FALSE(MiniCFG_Open);
    Press(F()->Label_OSC_Gas, Qt::RightButton);
    ASSERT_TRUE(MiniCFG_Open);
    Main_Activated();
    EXPECT_FALSE(MiniCFG_Open);
}

TEST_F(MiniCFG_Window, TheTableViewKeepsTheTableAndItsButtonsActOnItAlone)
{
    F()->PageControl_KardunGAS->ActivePageIndex(1);
    F()->Options_Select(11);
    Configuration.Infl_DiffPress_S = 35;
    F()->Show_Configuration(*F());
    F()->Grid_RPM->Cells(0, 0, "2,00");
    F()->Show_MiniCFG(MiniCFG_View_RPM_Table);
    ASSERT_TRUE(In_Compact(F()->Panel_CFG_Depend));
    EXPECT_TRUE(F()->Timer_CFG_RPM_Tail->Enabled());
    // Default here resets the table, never the factors the page shows beside it, and the
    // table goes out at once.
    Connected = UI_Ready = true;
    Transmit_Now_Code = 0;
    F()->Button_CFG_Infl_Default->Click();
    EXPECT_EQ(F()->Grid_RPM->Cells(0, 0), "1,00");
    EXPECT_EQ(Configuration.Infl_DiffPress_S, 35);
    EXPECT_EQ(Transmit_Now_Code, RPM_Tab_Request_Code);
    F()->Timer_Transmit_Now->Enabled(false);
    Connected = false;
    // A page change leaves the table in the window; a new layout takes it again, and the
    // window then stays when the main window is clicked.
    F()->PageControl_KardunGAS->ActivePageIndex(0);
    F()->PageControl_KardunGASChange(F());
    EXPECT_TRUE(In_Compact(F()->Panel_CFG_Depend));
    EXPECT_TRUE(F()->Panel_CFG_Depend->Visible());
    F()->RPM_Tab_Layout();
    ASSERT_TRUE(MiniCFG_Open);
    EXPECT_EQ(MiniCFG_View_Type, MiniCFG_View_RPM_Table);
    EXPECT_TRUE(In_Compact(F()->Panel_CFG_Depend));
    EXPECT_EQ(F()->Panel_CFG_Depend->Left(), 10);
    EXPECT_FALSE(Mini->CheckBox_MiniCFG->Checked());
    F()->FormActivate(F());
    EXPECT_TRUE(MiniCFG_Open && In_Compact(F()->Panel_CFG_Depend));
    // Closed over the table's group, the page shows it again.
    F()->PageControl_KardunGAS->ActivePageIndex(1);
    F()->Options_Select(10);
    F()->Show_MiniCFG(MiniCFG_View_RPM_Table);
    Mini->Close();
    EXPECT_FALSE(In_Compact(F()->Panel_CFG_Depend));
    EXPECT_TRUE(F()->Panel_CFG_Depend->Visible());
}

TEST_F(MiniCFG_Window, TheCorrectionBoxBesideTheTableSetsItsHelpOnlyWhereTheTableIsShown)
{
    // Group shown, compact table view open, help before, box ticked, help after.
    const std::tuple<int, bool, bool, bool, bool> Rows[] = {
        {10, false, false, true, true}, {10, false, true, false, false},   // the page's table
        {11, true, false, true, true},  {11, true, true, false, false},    // the compact window's
        {11, false, false, true, false}, {11, false, true, false, true},   // none: left alone
    };
    F()->PageControl_KardunGAS->ActivePageIndex(1);
    TCheckBox* Box = F()->CheckBox_DS_Correction_ON_rpm;
    TLabel* Help = F()->Label_DS_Correction_ON_Help;
    for (const auto& [Group, Compact, Help_Before, Tick, Help_After] : Rows) {
        SCOPED_TRACE(std::to_string(Group) + (Compact ? " compact" : "") + (Tick ? " ticked" : " unticked"));
        F()->Options_Select(Group);
        Box->Checked(!Tick);
        if (Compact)
            F()->Show_MiniCFG(MiniCFG_View_RPM_Table);
        Help->Visible(Help_Before);
        Box->Checked(Tick);
        EXPECT_EQ(Configuration.DS_Correction_ON, Tick);
        EXPECT_EQ(Help->Visible(), Help_After);
        Mini->Close();
    }
}

TEST_F(MiniCFG_Window, LeavingWithTheWindowOpenReturnsEveryControlFirst)
{
    // The compact window goes first: its controls are home before its panel goes.
    F()->Show_MiniCFG(19);
    Form_MiniCFG->Free();
    EXPECT_FALSE(MiniCFG_Open);
    EXPECT_EQ(F()->PG_Pressure.UpDown->Parent_Form(), F());
    // The main window goes first: it takes its controls back as it closes.
    Form_MiniCFG = Create_Form<TForm_MiniCFG>(nullptr);
    Mini = Form_MiniCFG;
    F()->Show_MiniCFG(20);
    ASSERT_TRUE(MiniCFG_Open);
    W->Destroy();
    EXPECT_FALSE(MiniCFG_Open);
    EXPECT_TRUE(Mini->Borrowed().empty());
    EXPECT_EQ(Mini->Panel_MiniCFG->ControlCount(), 2);
}

}  // namespace
