// The TPS filter boxes beside the emulation sources: a click sets the filter of the input its
// combo names and every box on that input follows.
#include <gtest/gtest.h>

#include <array>

#include "main/Main_Test_Support.h"
#include "protocol/Ident.h"

namespace {

using namespace main_test;

class TPS_Filter : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
        Program_Version_Code = 206;
        Set_Default_Configuration();
        Configuration.Emulation_TPS_Config_L = 0x82;   // gas input 1, output 1 input 3
        Configuration.Emulation_TPS_Config_H = 0x28;   // output 2 input 3, output 3 input 1
        Configuration.Filter_TPS_1_ON = Configuration.Filter_TPS_3_ON = true;
        Main()->Setup_Model_Controls();
        Main()->Show_Configuration(*Main());
    }
    // A click toggles the box, which runs its handler.
    void Click(size_t Output)
    {
        TCheckBox* Box = Main()->TPS_Filter_Boxes()[Output];
        Box->Checked(!Box->Checked());
    }
    std::array<bool, 4> Boxes()
    {
        std::array<bool, 4> Ticked{};
        for (size_t I = 0; I < 4; ++I)
            Ticked[I] = Main()->TPS_Filter_Boxes()[I]->Checked();
        return Ticked;
    }
};

TEST_F(TPS_Filter, AClickSetsTheFilterOfTheComboInputAndItsTwinFollows)
{
    ASSERT_EQ(Boxes(), (std::array<bool, 4>{true, true, true, true}));
    Click(2);   // output 2's input 3 off
    EXPECT_FALSE(Configuration.Filter_TPS_3_ON);
    EXPECT_TRUE(Configuration.Filter_TPS_1_ON);
    EXPECT_EQ(Boxes(), (std::array<bool, 4>{true, false, false, true}));
    Click(0);   // the gas input 1 off
    EXPECT_FALSE(Configuration.Filter_TPS_1_ON);
    EXPECT_EQ(Boxes(), (std::array<bool, 4>{false, false, false, false}));
    Click(2);
    EXPECT_TRUE(Configuration.Filter_TPS_3_ON);
    EXPECT_EQ(Boxes(), (std::array<bool, 4>{false, true, true, false}));
}

}  // namespace
