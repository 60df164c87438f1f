// The port setup combos' texts to values, the unreadable port list, and the dialog's texts in
// another language (the dialog on a real port runs in the end-to-end tests).
#include "serial/CPort_Setup.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "common/Test_Folder.h"
#include "main/Process_State.h"
#include "platform/system/Catalogues.h"
#include "platform/system/Serial_Ports.h"

extern "C" int _nl_msg_cat_cntr;  // bumped to make the catalogues re-read the language

namespace {

class Port_Setup : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset_All_State();
        sys::Serial_Ports.Class_Dir = Root / "none";   // a machine without serial ports
    }
    void TearDown() override { Reset_All_State(); }
    Test_Folder Root{"port_setup"};
};

TEST_F(Port_Setup, ItemTextsBecomeValuesWithoutRegardToCaseAndUnknownOnesTheDefault)
{
    struct Row {
        TComProperty Kind;
        const char* Text;
        int Value;           // the port's value afterwards (cpPort: unused)
        const char* Name;    // cpPort: the port's name afterwards
    };
    const Row Rows[] = {
        {cpBaudRate, "19200", br19200, ""},     {cpBaudRate, "custom", brCustom, ""},
        {cpBaudRate, "9601", br9600, ""},       {cpBaudRate, "", br9600, ""},
        {cpDataBits, "7", dbSeven, ""},         {cpDataBits, "9", dbEight, ""},
        {cpStopBits, "1.5", sbOne5StopBits, ""}, {cpStopBits, "2", sbTwoStopBits, ""},
        {cpStopBits, "3", sbOneStopBit, ""},    {cpParity, "even", prEven, ""},
        {cpParity, "SPACE", prSpace, ""},       {cpParity, "parity", prNone, ""},
        {cpFlowControl, "software", fcSoftware, ""}, {cpFlowControl, "None", fcNone, ""},
        // Custom (also an unknown text) leaves the flow settings as they are.
        {cpFlowControl, "xon", fcHardware, ""}, {cpFlowControl, "Custom", fcHardware, ""},
        {cpPort, "ttyS9", 0, "ttyS9"},
        // No port name pending: the name stays.
        {cpPort, "", 0, "ttyUSB0"},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(std::to_string(R.Kind) + " '" + R.Text + "'");
        TComPort Port;
        // Away from every default, so that a default shows.
        Port.SetBaudRate(br110);
        Port.SetDataBits(dbFive);
        Port.SetStopBits(R.Kind == cpStopBits && R.Value == sbOne5StopBits ? sbTwoStopBits
                                                                           : sbOne5StopBits);
        Port.Parity().SetBits(prMark);
        Port.FlowControl().SetFlowControl(fcHardware);
        TComSelect Select;
        Select.ComPort(&Port);
        Select.ComProperty(R.Kind);
        Select.Change(R.Text);
        Select.WriteToPort();
        switch (R.Kind) {
        case cpBaudRate: EXPECT_EQ(Port.BaudRate(), R.Value); break;
        case cpDataBits: EXPECT_EQ(Port.DataBits(), R.Value); break;
        case cpStopBits: EXPECT_EQ(Port.StopBits(), R.Value); break;
        case cpParity: EXPECT_EQ(Port.Parity().Bits(), R.Value); break;
        case cpFlowControl: EXPECT_EQ(Port.FlowControl().FlowControl(), R.Value); break;
        case cpPort: EXPECT_EQ(Port.Port(), R.Name); break;
        case cpNone: break;
        }
    }
}

TEST_F(Port_Setup, AnUnreadablePortListRaisesRegistryErrorBeforeAnyDialog)
{
    // A device table that loops on itself cannot be read (whoever runs the test).
    const std::string Loop = Root / "loop";
    std::filesystem::create_symlink(Loop, Loop);
    sys::Serial_Ports.Class_Dir = Loop;
    TStrings List;
    List.Add("kept");
    try {
        ListSerialPorts(List);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& E) {
        EXPECT_EQ(E.Code(), CError_RegError);
        EXPECT_NE(E.WinCode(), -1);
        EXPECT_EQ(std::string(E.what()).rfind("Registry error (win error code: ", 0), 0u) << E.what();
    }
    EXPECT_EQ(List.Count(), 1);
    TComPort Port;
    EXPECT_THROW(ExecutePortSetup(Port), EComPort);
    EXPECT_TRUE(ui::Hooks.Asked.empty());
    for (TForm* F : ui::All_Forms())
        EXPECT_EQ(dynamic_cast<TComSetupFrm*>(F), nullptr);
    // A machine without a device table has no ports, and that is no error.
    sys::Serial_Ports.Class_Dir = Root / "none";
    ListSerialPorts(List);
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(Port_Setup, TheDialogSpeaksTheCatalogueLanguageButTheValuesStayAsTheyAre)
{
    const std::string Built = sys::Program_Folder() + "/../locale";
    ASSERT_TRUE(std::filesystem::exists(Built + "/de/LC_MESSAGES/cport.mo"));
    const std::string Saved_Locale = std::setlocale(LC_MESSAGES, nullptr);
    const char* Language = std::getenv("LANGUAGE");
    const std::string Saved_Language = Language ? Language : "";
    ASSERT_NE(std::setlocale(LC_MESSAGES, "C.UTF-8"), nullptr);
    sys::Bind_Catalogues(Built);
    setenv("LANGUAGE", "de", 1);
    ++_nl_msg_cat_cntr;

    TComSetupFrm* D = Create_Form<TComSetupFrm>(nullptr);
    EXPECT_EQ(D->Caption(), "Einstellungen");
    EXPECT_EQ(D->Label2->Caption(), "Baudrate");
    EXPECT_EQ(D->Label6->Caption(), "Flusssteuerung");
    EXPECT_EQ(D->Button2->Caption(), "Abbrechen");
    EXPECT_EQ(D->Combo5->Items()[0], "None");
    EXPECT_EQ(D->Combo6->Items()[0], "Hardware");
    D->Free();

    if (Language)
        setenv("LANGUAGE", Saved_Language.c_str(), 1);
    else
        unsetenv("LANGUAGE");
    ++_nl_msg_cat_cntr;
    std::setlocale(LC_MESSAGES, Saved_Locale.c_str());
    sys::Bind_Catalogues();
}

}  // namespace
