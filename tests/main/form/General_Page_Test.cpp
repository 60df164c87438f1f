// The General page with live data: the digits and needles after a current-data reply, the
// temperature displays without the table, and what the identification changes on the
// window (model controls, About page, refusal of an unaccepted identification).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "data/Conversions.h"
#include "main/Gauges.h"
#include "main/Main_Test_Support.h"
#include "protocol/Ident.h"

namespace {

using namespace main_test;

// A current-data reply as the controller sends it (62 data bytes), values raw.
struct Reply {
    uint8_t Mode = 4;
    uint8_t Injectors = 0x05;
    uint16_t Gas[8] = {3000, 0, 3100, 0, 0, 0, 0, 0};
    uint16_t Period = 1875;
    uint16_t TempVap = 600, TempGas = 550, TempInside = 500, TempCouple = 409;
    uint16_t PressVap = 456, PressColl = 228;   // 2.00 and 1.00 bar
    uint16_t Power = 700, Detonation = 1023;
    uint16_t In[4] = {512, 1023, 0, 0};
    uint16_t Out[3] = {512, 0, 0};
    uint16_t Gas_Level = 1023;
};

void Load_Reply(const Reply& R)
{
    std::memset(RX_Frame, 0, sizeof RX_Frame);
    uint8_t* X = RX_Frame;
    X[0] = Mode_Controller;
    X[1] = 0x26;
    X[2] = R.Mode;
    X[3] = R.Injectors;
    X[4] = 0x03;
    auto Word = [X](int At, uint16_t V) {
        X[At] = static_cast<uint8_t>(V & 0xFF);
        X[At + 1] = static_cast<uint8_t>(V >> 8);
    };
    for (int I = 0; I < 8; ++I)
        Word(8 + 2 * I, R.Gas[I]);
    Word(24, R.Period);
    X[26] = 128;
    X[27] = 64;
    Word(28, R.TempVap);
    Word(30, R.TempGas);
    Word(32, R.TempInside);
    Word(34, R.TempCouple);
    Word(36, R.PressVap);
    Word(38, R.PressColl);
    Word(40, R.Power);
    Word(42, R.Detonation);
    for (int I = 0; I < 4; ++I)
        Word(44 + 2 * I, R.In[I]);
    for (int I = 0; I < 3; ++I)
        Word(52 + 2 * I, R.Out[I]);
    X[58] = static_cast<uint8_t>(R.Gas_Level & 0xFF);
    X[59] = static_cast<uint8_t>((R.Gas_Level >> 8) & 3);
    Reply_Length = 62 + 3;
}

// An identification reply with the given status, name and version.
void Load_Ident(uint8_t Status, const std::string& Name, const std::string& Version,
                uint32_t Work_Gas = 0)
{
    std::memset(RX_Frame, 0, sizeof RX_Frame);
    uint8_t* X = RX_Frame;
    X[0] = Mode_Controller;
    X[1] = 0x22;
    X[2] = Status;
    std::string Text = Name;
    Text.resize(16, ' ');
    Text += "12.03.2019";
    Text += Version.substr(0, 4);
    Text.resize(30, ' ');
    std::memcpy(X + 3, Text.data(), 30);
    X[33] = static_cast<uint8_t>(Work_Gas >> 16);
    X[34] = static_cast<uint8_t>(Work_Gas >> 8);
    X[35] = static_cast<uint8_t>(Work_Gas);
    X[39] = 62;
    X[40] = 104;
    X[41] = 108;
    X[42] = 216;
    Reply_Length = 41 + 3;
}

class General_Page : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Folder->Write("KardunGD.ini", Settings_With_Port("ttyTEST9"));
    }
};

TEST_F(General_Page, ALiveReplyFillsEveryDigitWithTheRecordsDefaultsInPlace)
{
    With_Table();
    Create();
    TForm_KardunGAS* F = Main();
    // The factory RPM constant is in place from creation on: a period of 1875 ticks is 800 rpm.
    EXPECT_EQ(Configuration.RPM_Source, 1500000u);
    Load_Reply(Reply{});
    Receiv_Current_Data();
    EXPECT_EQ(F->Label_GEN_RPM_Dig->Caption(), "800");
    EXPECT_EQ(F->Label_GEN_Gas_Dig->Caption(), Format_Gas_Time(3050));   // cylinders 1 and 3
    EXPECT_EQ(F->Label_GEN_TPS_Dig->Caption(), Format_Input(250));
    EXPECT_EQ(F->Label_GEN_TempCouple_Dig->Caption(), "500");           // 409 * 1000 / 818
    EXPECT_EQ(F->Label_GEN_PressVap_Dig->Caption(), Format_Pressure(200));
    EXPECT_EQ(F->Label_GEN_PressColl_Dig->Caption(), Format_Pressure(100));
    EXPECT_EQ(F->Label_GEN_PressDiff_Dig->Caption(), Format_Pressure(100));
    EXPECT_EQ(F->Label_GEN_Power_Dig->Caption(), Format_Power(1400));
    EXPECT_EQ(F->Label_GEN_Detonation_Dig->Caption(), Format_Detonation(500));
    EXPECT_EQ(F->Label_GEN_GasLevel_Dig->Caption(), Format_Gas_Level(1023));
    EXPECT_EQ(F->Label_GEN_PerCent_Dig->Caption(), "50 %");
    EXPECT_EQ(F->Label_ERR_CPU_Freq_MHz->Caption(), "64");
    EXPECT_EQ(F->Label_RPM_Period_mks->Caption(), "T = 7500 mks");
    EXPECT_EQ(F->Label_Rpm_Timer->Caption(), "1875");
    EXPECT_EQ(F->Label_GEN_In_1->Caption(), "I1 = " + Format_Input(500));
    EXPECT_EQ(F->Label_GEN_Out_1->Caption(), "O1 = " + Format_Output(250));
    // Temperatures through the shipped table: known values, shown with their captions.
    ASSERT_NE(Live_Values.Live_TempVap, Temperature_Unknown);
    EXPECT_FALSE(F->Label_GEN_TempVap_Dig->Caption().empty());
    EXPECT_EQ(F->Label_GEN_TempVap_Dig->Caption(), Format_Temperature(Live_Values.Live_TempVap));
    EXPECT_TRUE(F->Label_GEN_TempVap->Visible());
}

// The temperature table missing or found reaches every page through one binding: the
// temperature displays hide and the vaporizer temperature cannot be set without it.
TEST_F(General_Page, WithoutTheTemperatureTableNoPageShowsOrSetsATemperature)
{
    Create();   // no table beside the program
    TForm_KardunGAS* F = Main();
    size_t Bindings = 0;
    for (const auto& B : F->Bound_Hooks())
        Bindings += B.Name == "Temperature_Hooks.Show_Displays";
    EXPECT_EQ(Bindings, 1u);
    Load_Reply(Reply{});
    for (const bool Found : {false, true}) {
        SCOPED_TRACE(Found);
        if (Found)
            With_Table();   // the table appears: the next reply shows the temperatures again
        Receiv_Current_Data();
        for (TControl* C : std::initializer_list<TControl*>{F->Label_GEN_Temperature, F->Label_GEN_TempVap,
                                                            F->Label_GEN_TempGas, F->Label_GEN_TempInside,
                                                            F->Label_CLB_TempGas})
            EXPECT_EQ(C->Visible(), Found) << C->Name();
        for (TControl* C : std::initializer_list<TControl*>{F->PG_Temper.Caption, F->PG_Temper.Edit,
                                                            F->PG_Temper.UpDown})
            EXPECT_EQ(C->Enabled(), Found) << C->Name();
        EXPECT_EQ(F->Label_GEN_TempVap_Dig->Caption().empty(), !Found);
        // The thermocouple does not need the table.
        EXPECT_TRUE(F->Label_GEN_TempCouple->Visible());
        EXPECT_EQ(F->Label_GEN_TempCouple_Dig->Caption(), "500");
    }
}

TEST_F(General_Page, TheIdentificationSetsTheModelsControlsAndTheAboutPage)
{
    Create();
    TForm_KardunGAS* F = Main();
    // Before any controller: the record's defaults hide both About groups.
    EXPECT_FALSE(F->GroupBox_About_Program->Visible());
    EXPECT_FALSE(F->GroupBox_About_Work->Visible());

    F->CheckBox_CLB_Diagram_VAC->Enabled(true);
    F->CheckBox_CLB_Diagram_VAC->Checked(true);
    Load_Ident(1, "Merivant GD 2", "2.07", 600);
    Receiv_Ident_Data();
    EXPECT_TRUE(F->CheckBox_CLB_Diagram_VAC->Enabled());
    EXPECT_TRUE(F->CheckBox_CLB_Diagram_VAC->Checked());
    EXPECT_TRUE(F->GroupBox_About_Program->Visible());
    EXPECT_EQ(F->GroupBox_About_Program->Caption(),
              Language_Text("GroupBox_About_Program") + "  \"" + Settings.Name_Block_PIC_1 + "\"");
    EXPECT_EQ(F->Edit_About_Ver->Text(), "2.07");
    EXPECT_EQ(F->Edit_About_Date->Text(), "12.03.2019");
    EXPECT_TRUE(F->GroupBox_About_Work->Visible());
    EXPECT_EQ(F->Edit_About_Work_Gas->Text(), Format_Fixed(10.0, 10, 2));
    // A VAC factor shows with the VAC input.
    Load_Reply(Reply{});
    Receiv_Current_Data();
    EXPECT_EQ(F->Label_Vac_k->Caption(), "Factor VAC = " + Format_Factor(5000));
    EXPECT_EQ(F->Label_CLB_Diagram_VAC_Data->Caption(), "");   // another page is shown
    F->PageControl_KardunGAS->ActivePageIndex(2);
    Receiv_Current_Data();
    EXPECT_EQ(F->Label_CLB_Diagram_VAC_Data->Caption(), Format_Factor(5000));

    // A model without the VAC input: the box is unticked and disabled, the factor goes.
    Load_Ident(1, "Merivant GD 2", "2.06");
    Receiv_Ident_Data();
    EXPECT_FALSE(F->CheckBox_CLB_Diagram_VAC->Checked());
    EXPECT_FALSE(F->CheckBox_CLB_Diagram_VAC->Enabled());
    EXPECT_EQ(F->Label_Vac_k->Caption(), "");
    EXPECT_EQ(F->Label_CLB_Diagram_VAC_Data->Caption(), "");
    EXPECT_FALSE(F->GroupBox_About_Work->Visible());
    Load_Reply(Reply{});
    Receiv_Current_Data();
    EXPECT_EQ(F->Label_Vac_k->Caption(), "");

    // Models without TPS emulation keep the VAC controls of the previous model, but the
    // box is still unticked without the VAC input.
    F->CheckBox_CLB_Diagram_VAC->Checked(true);
    Load_Ident(1, "Merivant GD 6", "6.00");
    Receiv_Ident_Data();
    EXPECT_FALSE(F->CheckBox_CLB_Diagram_VAC->Checked());
}

// The version message itself is checked on the real link; here the window is given back.
TEST_F(General_Page, AnUnacceptedIdentificationDisablesTheWindowUntilOneIsAccepted)
{
    Create();
    TForm_KardunGAS* F = Main();
    Version_Error_Closed = true;
    Ident_Status = 2;
    EXPECT_TRUE(F->Check_Ident_Status());
    EXPECT_FALSE(Version_Error_Closed);
    EXPECT_FALSE(F->Enabled());
    ASSERT_TRUE(Form_MSG->Pending);
    EXPECT_EQ(Form_MSG->Stored.Type, 8);
    // The next identification with status 1 is accepted and enables the window again.
    Ident_Status = 1;
    EXPECT_FALSE(F->Check_Ident_Status());
    EXPECT_TRUE(F->Enabled());
}

// The VAC factor is an auxiliary label only for a controller with the VAC input: a model
// without it, identified after one with it, hides the old factor.
TEST_F(General_Page, TheVACFactorShowsOnlyWithTheVACInput)
{
    Create();
    TForm_KardunGAS* F = Main();
    Settings.Show_Auxiliary = true;
    struct Row {
        int32_t Version_Code;
        bool Vac_Shown;
    };
    for (const Row& R : {Row{207, true}, Row{206, false}, Row{807, true}, Row{800, false}}) {
        SCOPED_TRACE(R.Version_Code);
        Program_Version_Code = R.Version_Code;
        F->Show_VAC_Controls();
        EXPECT_EQ(F->Label_Vac_k->Visible(), R.Vac_Shown);
        EXPECT_TRUE(F->Label_Rpm_K->Visible());
    }
    Settings.Show_Auxiliary = false;
    Program_Version_Code = 207;
    F->Show_VAC_Controls();
    EXPECT_FALSE(F->Label_Vac_k->Visible());
    EXPECT_FALSE(F->Label_Rpm_K->Visible());
}

TEST_F(General_Page, TheRenderedPageShowsDialsDigitsAndNeedles)
{
    With_Table();
    Create();
    TForm_KardunGAS* F = Main();
    Settings.Show_Auxiliary = true;
    F->Show_Auxiliary_Labels();
    F->PageControl_KardunGAS->ActivePageIndex(0);
    Reply R;
    R.Period = 600;   // 2500 rpm: straight up
    Load_Reply(R);
    Receiv_Current_Data();
    F->Show();
    Pump_For(50);
    const std::string Png = Folder->File("general.png");
    ASSERT_TRUE(ui::Render_To_PNG(F, Png));
    if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
        std::error_code Ignored;
        std::filesystem::copy_file(Png, std::string(Keep) + "/general.png",
                                   std::filesystem::copy_options::overwrite_existing, Ignored);
    }
    TBitmap Shot;
    ASSERT_TRUE(Shot.LoadFromFile(Png));
    ASSERT_GE(Shot.Width(), 780);
    // The RPM display on its own: the needle stands straight up from the dial's centre.
    const std::string Dial_Png = Folder->File("rpm.png");
    ASSERT_TRUE(ui::Render_To_PNG(F->Panel_GEN_Display_RPM, Dial_Png));
    TBitmap Dial;
    ASSERT_TRUE(Dial.LoadFromFile(Dial_Png));
    const int Centre_X = F->Image_GEN_RPM->Left() + Dial_Face_Size / 2;
    const int Centre_Y = F->Image_GEN_RPM->Top() + Dial_Face_Size / 2;
    auto Blue_Between = [&](int From_Y, int To_Y) {
        int N = 0;
        for (int Y = From_Y; Y < To_Y; ++Y) {
            const TRGB P = Color_To_RGB(Dial.Canvas()->Pixels(Centre_X, Y));
            N += P.B > 200 && P.R < 60 && P.G < 60;
        }
        return N;
    };
    EXPECT_GE(Blue_Between(Centre_Y - 60, Centre_Y - 20), 30);
    // Below the centre the dial shows no needle colour.
    EXPECT_EQ(Blue_Between(Centre_Y + 20, Centre_Y + 60), 0);
}

}  // namespace
