// The big-digit windows against the controller emulator.
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
    Main()->Show();
    QTest::mouseClick(Main()->Label_GEN_RPM_Dig->Widget(), Qt::LeftButton);
    QTest::mouseClick(Main()->Label_GEN_PressColl_Dig->Widget(), Qt::LeftButton);
    TForm_ICO* Small = ICO_State.ICO_Windows[0];
    TForm_ICO* Large = ICO_State.ICO_Windows[8];
    ASSERT_TRUE(Small && Large);
    Small->SetBounds(40, 40, ICO_Min_Width, ICO_Min_Height);
    Large->SetBounds(240, 40, 720, 420);
    ASSERT_TRUE(Pump_Until([&] {
        return !Small->Timer_ICO->Enabled() && !Large->Timer_ICO->Enabled() &&
               Small->Panel_ICO_Dig->Caption() == "2500" &&
               Large->Panel_ICO_Dig->Caption() == Main()->Label_GEN_PressColl_Dig->Caption();
    }, 10000)) << Small->Panel_ICO_Dig->Caption();
    // Both windows' digits fit their panels; the large one writes far larger.
    for (TForm_ICO* W : {Small, Large}) {
        EXPECT_LE(std::stoi(W->Label_ICO_Width->Caption()), W->Panel_ICO_Dig->Width()) << W->Number();
        const std::string Png = Folder->File("ico_" + std::to_string(W->Width()) + ".png");
        ASSERT_TRUE(ui::Render_To_PNG(W, Png));
        if (const char* Keep = std::getenv("KARDUN_SHOT_DIR"))
            std::filesystem::copy_file(Png, std::filesystem::path(Keep) / std::filesystem::path(Png).filename(),
                                       std::filesystem::copy_options::overwrite_existing);
    }
    EXPECT_GT(Large->Panel_ICO_Dig->Font().Size(), 3 * Small->Panel_ICO_Dig->Font().Size());
}

}  // namespace
