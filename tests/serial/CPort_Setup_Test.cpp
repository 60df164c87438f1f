// The port setup dialog and its combos: item texts to values and back, the dialog's OK and
// Cancel on an open port (settings read back from the device), the unreadable port list,
// and the dialog's texts in another language.
#include "serial/CPort_Setup.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "common/Test_Folder.h"
#include "main/Process_State.h"
#include "platform/comm/Pty_Pair.h"
#include "platform/system/Catalogues.h"
#include "platform/system/Serial_Ports.h"

extern "C" int _nl_msg_cat_cntr;  // bumped to make the catalogues re-read the language

namespace {

termios2 Read_Back(const TCustomComPort& Port)
{
    termios2 T{};
    EXPECT_EQ(ioctl(Port.Handle(), TCGETS2, &T), 0);
    return T;
}

int Index_Of(TComboBox* Combo, const std::string& Text)
{
    return Combo->Items().IndexOf(Text);
}

// The user picks an item: the list shows it, then the combo hears of the choice.
void Pick(TComboBox* Combo, const std::string& Text)
{
    const int Index = Index_Of(Combo, Text);
    ASSERT_GE(Index, 0) << Text;
    Combo->ItemIndex(Index);
    Combo->User_Selected(Index);
}

class Port_Setup : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset_All_State();
        std::filesystem::create_directories(Root / "class");
        std::filesystem::create_directories(Root / "dev");
        sys::Serial_Ports.Class_Dir = Root / "class";
        sys::Serial_Ports.Device_Dir = Root / "dev";
        for (const char* Name : {"ttyS0", "ttyS1"}) {
            std::filesystem::create_directories(Root / (std::string("class/") + Name + "/device"));
            std::filesystem::create_symlink("/dev/null", Root / (std::string("dev/") + Name));
        }
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

TEST_F(Port_Setup, EachComboListsItsKindAndSelectsThePortsValue)
{
    struct Row {
        const char* Case;
        TComProperty Kind;
        std::function<void(TComPort&)> Prepare;
        int Items;
        const char* Text;   // the selected item; "" for no selection
    };
    const Row Rows[] = {
        {"baud", cpBaudRate, [](TComPort& P) { P.SetBaudRate(br115200); }, 16, "115200"},
        {"custom baud", cpBaudRate, [](TComPort& P) { P.SetBaudRate(brCustom); }, 16, "Custom"},
        {"data bits", cpDataBits, [](TComPort& P) { P.SetDataBits(dbSeven); }, 4, "7"},
        {"stop bits", cpStopBits, [](TComPort& P) { P.SetStopBits(sbOne5StopBits); }, 3, "1.5"},
        {"parity", cpParity, [](TComPort& P) { P.Parity().SetBits(prOdd); }, 5, "Odd"},
        {"flow", cpFlowControl, [](TComPort& P) { P.FlowControl().SetFlowControl(fcSoftware); }, 4,
         "Software"},
        {"custom flow", cpFlowControl, [](TComPort& P) { P.FlowControl().SetXonXoffOut(true); }, 4,
         "Custom"},
        {"listed port", cpPort, [](TComPort& P) { P.SetPort("ttyS1"); }, 2, "ttyS1"},
        {"port name in another case", cpPort, [](TComPort& P) { P.SetPort("TTYS1"); }, 2, ""},
        {"unlisted port", cpPort, [](TComPort& P) { P.SetPort("ttyUSB7"); }, 2, ""},
        {"no kind", cpNone, [](TComPort&) {}, 0, ""},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        TComPort Port;
        R.Prepare(Port);
        TForm* Owner = Create_Form<TForm>(nullptr);
        auto* Combo = new TComComboBox(Owner, Owner);
        Combo->ComProperty(R.Kind);
        // Unbound, a combo with items shows its first one.
        if (R.Items > 0) {
            EXPECT_EQ(Combo->ItemIndex(), 0);
        }
        Combo->ComPort(&Port);
        EXPECT_EQ(Combo->Items().Count(), R.Items);
        EXPECT_EQ(Combo->Text(), R.Text);
        EXPECT_EQ(Combo->ItemIndex(), std::string(R.Text).empty() ? -1 : Index_Of(Combo, R.Text));
        EXPECT_EQ(Combo->Select().Port_Pending(), R.Kind == cpPort && *R.Text != '\0');
        Owner->Free();
    }
}

TEST_F(Port_Setup, OkOnTheSamePortAppliesTheSettingsWithoutACloseAndCancelChangesNothing)
{
    Pty_Pair Pty;
    sys::Set_Configured_Port(Pty.Slave_Path);   // listed as the configured terminal
    TComPort Port;
    int Opens = 0, Closes = 0;
    Port.OnAfterOpen = [&](TCustomComPort*) { ++Opens; };
    Port.OnAfterClose = [&](TCustomComPort*) { ++Closes; };
    Port.SetPort(Pty.Slave_Path);
    Port.Open();
    ASSERT_FALSE(ComPortError);

    ui::TDialog_Answer Ok;
    Ok.Result = mrOk;
    Ok.On_Form = [&](TForm* Form) {
        auto* D = dynamic_cast<TComSetupFrm*>(Form);
        ASSERT_NE(D, nullptr);
        EXPECT_EQ(D->Combo1->Text(), Pty.Slave_Path);
        EXPECT_EQ(D->Combo2->Text(), "9600");
        Pick(D->Combo2, "19200");
        Pick(D->Combo5, "Odd");
        Pick(D->Combo4, "2");
        const std::string Png = Root / "setup.png";
        EXPECT_TRUE(ui::Render_To_PNG(D, Png));
        if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
            std::error_code Ignored;
            std::filesystem::copy_file(Png, std::string(Keep) + "/port_setup.png",
                                       std::filesystem::copy_options::overwrite_existing, Ignored);
        }
    };
    ui::Answer_Next_Dialog(Ok);
    EXPECT_TRUE(Port.RunSetupDialog());
    EXPECT_EQ(Opens, 1);
    EXPECT_EQ(Closes, 0);
    EXPECT_TRUE(Port.Connected());
    termios2 T = Read_Back(Port);
    EXPECT_EQ(T.c_ospeed, 19200u);
    // (A pseudo-terminal keeps the odd-parity flag but clears the parity enable.)
    EXPECT_TRUE(T.c_cflag & PARODD);
    EXPECT_TRUE(T.c_cflag & CSTOPB);
    EXPECT_EQ(Port.Port(), Pty.Slave_Path);

    // Cancel: another choice on every combo, nothing reaches the port.
    ui::TDialog_Answer Cancel;
    Cancel.Result = mrCancel;
    Cancel.On_Form = [&](TForm* Form) {
        auto* D = dynamic_cast<TComSetupFrm*>(Form);
        ASSERT_NE(D, nullptr);
        Pick(D->Combo1, "ttyS0");
        Pick(D->Combo2, "1200");
        Pick(D->Combo5, "None");
    };
    ui::Answer_Next_Dialog(Cancel);
    EXPECT_FALSE(ExecutePortSetup(Port));
    EXPECT_EQ(Opens, 1);
    EXPECT_EQ(Closes, 0);
    EXPECT_EQ(Port.Port(), Pty.Slave_Path);
    EXPECT_EQ(Port.BaudRate(), br19200);
    T = Read_Back(Port);
    EXPECT_EQ(T.c_ospeed, 19200u);
    EXPECT_TRUE(T.c_cflag & PARODD);
    // Every dialog was closed and freed.
    for (TForm* F : ui::All_Forms())
        EXPECT_EQ(dynamic_cast<TComSetupFrm*>(F), nullptr);
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
