// The big-digit windows against the controller emulator: a click on the General page opens a
// window that follows the engine over the real port, small and large.
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

#include "e2e/Emulator_Window_Fixture.h"
#include "windows/ICO_Window.h"

namespace {

using namespace main_test;

class ICO_E2E : public Emulator_Window_Fixture {};

TEST_F(ICO_E2E, AClickedDisplayOpensAWindowThatFollowsTheEngineSmallAndLarge)
{
    ASSERT_NO_FATAL_FAILURE(Start_Emulator());
    emu::Live_Settings Live = Emu.Live();
    Live.Moving = false;
    Live.RPM_Period = 600;    // 2500 rpm
    Emu.Set_Live(Live);
    Start_Program();
    ASSERT_TRUE(Pump_Until([] { return Connected; }, 15000));
    TForm_KardunGAS* F = Main();
    F->Show();
    QTest::mouseClick(F->Label_GEN_RPM_Dig->Widget(), Qt::LeftButton);
    QTest::mouseClick(F->Label_GEN_PressColl_Dig->Widget(), Qt::LeftButton);
    TForm_ICO* RPM = ICO_State.ICO_Windows[0];
    TForm_ICO* Press = ICO_State.ICO_Windows[8];
    ASSERT_TRUE(RPM && Press);
    RPM->SetBounds(40, 40, ICO_Min_Width, ICO_Min_Height);
    Press->SetBounds(240, 40, 720, 420);
    ASSERT_TRUE(Pump_Until([&] {
        return !RPM->Timer_ICO->Enabled() && !Press->Timer_ICO->Enabled() &&
               RPM->Panel_ICO_Dig->Caption() == "2500";
    }, 10000)) << RPM->Panel_ICO_Dig->Caption();
    Pump_For(300);
    EXPECT_EQ(Press->Panel_ICO_Dig->Caption(), F->Label_GEN_PressColl_Dig->Caption());
    // Both windows' digits fit their panels; the large one writes far larger.
    for (TForm_ICO* W : {RPM, Press}) {
        SCOPED_TRACE(W->Number());
        EXPECT_LE(std::stoi(W->Label_ICO_Width->Caption()), W->Panel_ICO_Dig->Width());
        EXPECT_FALSE(W->Label_ICO_OSC->Visible());
    }
    EXPECT_GT(Press->Panel_ICO_Dig->Font().Size(), 3 * RPM->Panel_ICO_Dig->Font().Size());
    for (const auto& [W, Name] : {std::pair{RPM, "ico_small.png"}, std::pair{Press, "ico_large.png"}}) {
        const std::string Png = Folder->File(Name);
        ASSERT_TRUE(ui::Render_To_PNG(W, Png));
        if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
            std::error_code Ignored;
            std::filesystem::copy_file(Png, std::string(Keep) + "/" + Name,
                                       std::filesystem::copy_options::overwrite_existing, Ignored);
        }
    }
}

}  // namespace
