#include "serial/CPort.h"
#include "main/Process_State.h"

#include <asm/termbits.h>
#include <dirent.h>
#include <sys/ioctl.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/comm/Pty_Pair.h"

namespace {

termios2 Read_Back(const TCustomComPort& port) {
  termios2 t{};
  EXPECT_EQ(ioctl(port.Handle(), TCGETS2, &t), 0);
  return t;
}

bool On_UI_Thread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

int Thread_Count() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/task")) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') ++n;
    closedir(d);
  }
  return n;
}

// The port as the main window sets it up, on the slave of a pseudo-terminal.
class ComPort_Test : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset_All_State();
    Port.SetPort(Pty.Slave_Path);
    Port.Timeouts().SetReadInterval(2000);
    Port.OnAfterOpen = [this](TCustomComPort*) { ++After_Open; };
    Port.OnAfterClose = [this](TCustomComPort*) { ++After_Close; };
  }
  void TearDown() override { Reset_All_State(); }

  Pty_Pair Pty;
  TComPort Port;
  int After_Open = 0;
  int After_Close = 0;
};

}  // namespace

TEST(ComPort_Defaults, Match_The_Component_Description) {
  TComPort p;
  EXPECT_EQ(p.Port(), "ttyUSB0");
  EXPECT_EQ(p.BaudRate(), br9600);
  EXPECT_EQ(p.CustomBaudRate(), 9600);
  EXPECT_EQ(p.DataBits(), dbEight);
  EXPECT_EQ(p.StopBits(), sbOneStopBit);
  EXPECT_EQ(p.Parity().Bits(), prNone);
  EXPECT_EQ(p.Events(), AllComEvents());
  EXPECT_EQ(p.SyncMethod(), smThreadSync);
  EXPECT_FALSE(p.Connected());
  EXPECT_EQ(p.Handle(), -1);
  EXPECT_EQ(p.Timeouts().ReadInterval(), -1);
  EXPECT_EQ(p.Timeouts().ReadTotalMultiplier(), 0);
  EXPECT_EQ(p.Timeouts().ReadTotalConstant(), 0);
  EXPECT_EQ(p.Timeouts().WriteTotalMultiplier(), 100);
  EXPECT_EQ(p.Timeouts().WriteTotalConstant(), 1000);
  EXPECT_EQ(p.Buffer().InputSize(), 1024);
  EXPECT_EQ(p.Buffer().OutputSize(), 1024);
  EXPECT_EQ(p.FlowControl().XonChar(), 17);
  EXPECT_EQ(p.FlowControl().XoffChar(), 19);
  EXPECT_EQ(p.FlowControl().FlowControl(), fcNone);
}

TEST(ComPort_Tables, Event_Masks_Baud_Rates_And_Sizes) {
  EXPECT_EQ(EventsToInt(AllComEvents()), 0x5FFu);
  EXPECT_EQ(EventsToInt({evRxChar}), 0x1u);
  EXPECT_EQ(EventsToInt({evTxEmpty, evRing}), 0x104u);
  EXPECT_EQ(EventsToInt({evRxFlag, evBreak, evCTS}), 0x4Au);
  EXPECT_EQ(EventsToInt({evDSR, evError, evRLSD, evRx80Full}), 0x4B0u);
  EXPECT_EQ(IntToEvents(0x5FF), AllComEvents());
  EXPECT_EQ(IntToEvents(0x200), TComEvents{});  // no event has this bit
  EXPECT_EQ(IntToEvents(0x41), (TComEvents{evRxChar, evBreak}));

  const uint32_t rates[] = {0,     110,   300,   600,    1200,   2400,   4800,   9600,
                            14400, 19200, 38400, 56000,  57600,  115200, 128000, 256000};
  for (int i = 0; i <= br256000; ++i) EXPECT_EQ(BaudRateToInt(TBaudRate(i)), rates[i]) << i;

  TComPort p;
  p.Buffer().SetInputSize(1025);
  p.Buffer().SetOutputSize(513);
  EXPECT_EQ(p.Buffer().InputSize(), 1024);
  EXPECT_EQ(p.Buffer().OutputSize(), 512);
  p.Buffer().SetInputSize(2048);
  EXPECT_EQ(p.Buffer().InputSize(), 2048);
}

TEST(ComPort_Tables, Flow_Control_Combinations) {
  TComPort p;
  TComFlowControl& f = p.FlowControl();
  f.SetFlowControl(fcHardware);
  EXPECT_EQ(f.ControlRTS(), rtsHandshake);
  EXPECT_TRUE(f.OutCTSFlow());
  EXPECT_FALSE(f.XonXoffIn() || f.XonXoffOut());
  EXPECT_EQ(f.FlowControl(), fcHardware);

  f.SetFlowControl(fcSoftware);
  EXPECT_EQ(f.ControlRTS(), rtsDisable);
  EXPECT_FALSE(f.OutCTSFlow());
  EXPECT_TRUE(f.XonXoffIn() && f.XonXoffOut());
  EXPECT_EQ(f.FlowControl(), fcSoftware);

  f.SetXonXoffIn(false);  // one of the two: neither software nor none
  EXPECT_EQ(f.FlowControl(), fcCustom);
  f.SetFlowControl(fcCustom);  // changes nothing
  EXPECT_TRUE(f.XonXoffOut());
  EXPECT_FALSE(f.XonXoffIn());

  f.SetFlowControl(fcNone);
  EXPECT_EQ(f.FlowControl(), fcNone);
  f.SetControlRTS(rtsEnable);
  EXPECT_EQ(f.FlowControl(), fcCustom);
}

TEST(ComPort_Errors, Messages_Of_The_Table) {
  EComPort e7(CError_SetStateFailed, 22);
  EXPECT_EQ(e7.Code(), 7);
  EXPECT_EQ(e7.WinCode(), 22);
  EXPECT_STREQ(e7.what(), "SetCommState function failed (win error code: 22)");
  EComPort e14(CError_ConnChangeProp);
  EXPECT_EQ(e14.WinCode(), -1);
  EXPECT_EQ(e14.Message(), "Cannot set property while connected");
  EXPECT_EQ(ComPort_Error_Text(1), "Unable to open com port");
  EXPECT_EQ(ComPort_Error_Text(8), "SetCommTimeouts failed");
  EXPECT_EQ(ComPort_Error_Text(23), "Registry error");
  EXPECT_EQ(ComPort_Error_Text(0), "");
  EXPECT_EQ(ComPort_Error_Text(24), "");
}

TEST(ComPort_Open, A_Missing_Device_Sets_The_Flag_And_Still_Ends_Connected) {
  Reset_ComPort_State();
  TComPort p;
  p.SetPort("ttyNoSuchAdapter42");
  int opened = 0;
  p.OnAfterOpen = [&](TCustomComPort* s) {
    EXPECT_EQ(s, &p);
    ++opened;
  };
  EXPECT_NO_THROW(p.Open());
  EXPECT_TRUE(ComPortError);
  EXPECT_TRUE(p.Connected());
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(p.ThreadCreated());
  EXPECT_EQ(p.Handle(), -1);
  char b[4];
  EXPECT_EQ(p.Write("ab", 2), 0);
  EXPECT_EQ(p.Read(b, 4), 0);
  p.Close();
  EXPECT_FALSE(p.Connected());
  Reset_ComPort_State();
}

TEST_F(ComPort_Test, Open_Applies_Every_Setting_And_Close_Releases_The_Device) {
  Port.SetBaudRate(br57600);
  Port.Parity().SetBits(prOdd);
  Port.SetStopBits(sbTwoStopBits);
  Port.Open();
  ASSERT_FALSE(ComPortError);
  ASSERT_TRUE(Port.Connected());
  EXPECT_NE(Port.Handle(), -1);
  EXPECT_TRUE(Port.ThreadCreated());
  EXPECT_EQ(After_Open, 1);
  termios2 t = Read_Back(Port);
  EXPECT_EQ(t.c_ospeed, 57600u);
  EXPECT_TRUE(t.c_cflag & PARODD);
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));

  Port.Open();  // already connected: nothing
  EXPECT_EQ(After_Open, 1);

  // Exclusive while open.
  comm::Serial_Device other;
  EXPECT_FALSE(other.Open(Pty.Slave_Path));
  Port.Close();
  EXPECT_FALSE(Port.Connected());
  EXPECT_FALSE(Port.ThreadCreated());
  EXPECT_EQ(Port.Handle(), -1);
  EXPECT_EQ(After_Close, 1);
  Port.Close();  // not connected: nothing
  EXPECT_EQ(After_Close, 1);
  EXPECT_TRUE(other.Open(Pty.Slave_Path));
  EXPECT_FALSE(ComPortError);
}

TEST_F(ComPort_Test, Every_Baud_Rate_Of_The_Table_And_A_Custom_Rate_Reach_The_Device) {
  Port.Open();
  ASSERT_FALSE(ComPortError);
  for (int i = br110; i <= br256000; ++i) {
    Port.SetBaudRate(TBaudRate(i));
    EXPECT_EQ(Read_Back(Port).c_ospeed, BaudRateToInt(TBaudRate(i))) << i;
  }
  Port.SetCustomBaudRate(31250);
  Port.SetBaudRate(brCustom);
  EXPECT_EQ(Read_Back(Port).c_ospeed, 31250u);
  Port.SetCustomBaudRate(76800);  // applied at once while custom
  EXPECT_EQ(Read_Back(Port).c_ospeed, 76800u);
  // Flow control goes with the line settings.
  Port.FlowControl().SetFlowControl(fcHardware);
  EXPECT_TRUE(Read_Back(Port).c_cflag & CRTSCTS);
  Port.FlowControl().SetFlowControl(fcSoftware);
  termios2 t = Read_Back(Port);
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF), unsigned(IXON | IXOFF));
  EXPECT_FALSE(ComPortError);
}

TEST_F(ComPort_Test, Updates_Are_Sent_Once_At_The_Last_EndUpdate) {
  Port.Open();
  Port.BeginUpdate();
  Port.BeginUpdate();
  Port.SetBaudRate(br19200);
  Port.SetStopBits(sbTwoStopBits);
  EXPECT_EQ(Port.BaudRate(), br19200);  // stored
  EXPECT_EQ(Read_Back(Port).c_ospeed, 9600u);  // not sent
  Port.EndUpdate();
  EXPECT_EQ(Read_Back(Port).c_ospeed, 9600u);
  Port.EndUpdate();
  termios2 t = Read_Back(Port);
  EXPECT_EQ(t.c_ospeed, 19200u);
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  Port.EndUpdate();  // at 0: nothing, and no underflow
  Port.BeginUpdate();
  Port.SetBaudRate(br38400);
  EXPECT_EQ(Read_Back(Port).c_ospeed, 19200u);
  Port.EndUpdate();
  EXPECT_EQ(Read_Back(Port).c_ospeed, 38400u);
}

TEST_F(ComPort_Test, Refused_Settings_Raise_And_Close_Inside_Open) {
  // 1.5 stop bits need 5 data bits: the device refuses it.
  Port.SetStopBits(sbOne5StopBits);
  try {
    Port.Open();
    FAIL() << "no exception";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), CError_SetStateFailed);
    EXPECT_NE(e.WinCode(), -1);
    EXPECT_EQ(std::string(e.what()).rfind("SetCommState function failed (win error code: ", 0), 0u);
  }
  EXPECT_FALSE(Port.Connected());
  EXPECT_EQ(Port.Handle(), -1);
  EXPECT_EQ(After_Open, 0);
  EXPECT_FALSE(ComPortError);

  // Refused by a setter on the open port: raised to the caller; the port stays open.
  Port.SetStopBits(sbOneStopBit);
  Port.Open();
  ASSERT_TRUE(Port.Connected());
  EXPECT_THROW(Port.FlowControl().SetOutDSRFlow(true), EComPort);
  EXPECT_TRUE(Port.Connected());

  // While the flag is set nothing is sent, so nothing is refused.
  ComPortError = true;
  EXPECT_NO_THROW(Port.SetDataBits(dbFive));
}

TEST_F(ComPort_Test, Port_Name_And_Sync_Method_Setters) {
  Port.Open();
  Port.SetPort(Pty.Slave_Path);  // same name: nothing
  EXPECT_EQ(After_Open, 1);
  EXPECT_EQ(After_Close, 0);

  Pty_Pair second;
  Port.SetPort(second.Slave_Path);  // new name on an open port: close, then open
  EXPECT_EQ(After_Close, 1);
  EXPECT_EQ(After_Open, 2);
  EXPECT_TRUE(Port.Connected());
  comm::Serial_Device first;
  EXPECT_TRUE(first.Open(Pty.Slave_Path));  // the first device was released
  first.Close();

  try {
    Port.SetSyncMethod(smNone);
    FAIL() << "no exception";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), CError_ConnChangeProp);
    EXPECT_STREQ(e.what(), "Cannot set property while connected");
  }
  EXPECT_EQ(Port.SyncMethod(), smThreadSync);
  Port.SetConnected(false);
  EXPECT_FALSE(Port.Connected());
  Port.SetSyncMethod(smNone);
  EXPECT_EQ(Port.SyncMethod(), smNone);
  Port.SetConnected(true);
  EXPECT_TRUE(Port.Connected());
}

TEST_F(ComPort_Test, A_Received_Frame_Raises_OnRxChar_On_The_UI_Thread) {
  std::vector<int> counts;
  std::string got;
  bool on_ui = true;
  Port.OnRxChar = [&](TCustomComPort* s, int Count) {
    on_ui = on_ui && On_UI_Thread();
    counts.push_back(Count);
    char buf[64];
    int n = s->Read(buf, Count);
    got.append(buf, static_cast<size_t>(n));
  };
  Port.Open();
  ASSERT_FALSE(ComPortError);

  const std::string frame("a\x10\x01\x02\x00\x13", 6);
  ASSERT_EQ(Port.Write(frame.data(), 6), 6);
  EXPECT_EQ(Pty.Receive(6), frame);

  Pty.Send(frame);
  ASSERT_TRUE(QTest::qWaitFor([&] { return got.size() >= 6; }, 10000));
  EXPECT_EQ(got, frame);
  EXPECT_TRUE(on_ui);
  for (int c : counts) EXPECT_GT(c, 0);  // never raised with nothing waiting
  EXPECT_FALSE(ComPortError);

  // Bytes a handler leaves unread are not raised again until more come.
  got.clear();
  counts.clear();
  Port.OnRxChar = [&](TCustomComPort*, int Count) { counts.push_back(Count); };
  Pty.Send("xyz");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !counts.empty(); }, 10000));
  QTest::qWait(200);
  EXPECT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts[0], 3);
  EXPECT_EQ(Port.BytesWaiting(), 3);
}

TEST_F(ComPort_Test, Transmit_Empty_Reaches_Its_Handler_And_Without_One_Received_Bytes_Still_Do) {
  // No transmit-empty handler: writes raise nothing, received bytes raise OnRxChar.
  std::string got;
  Port.OnRxChar = [&](TCustomComPort* s, int Count) {
    char buf[64];
    got.append(buf, static_cast<size_t>(s->Read(buf, std::min(Count, 64))));
  };
  Port.Open();
  ASSERT_EQ(Port.Events(), AllComEvents());
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(Port.Write("\x26", 1), 1);
    EXPECT_EQ(Pty.Receive(1), "\x26");
    Pty.Send("reply" + std::to_string(i));
    ASSERT_TRUE(QTest::qWaitFor([&] { return got.size() >= 6u * (i + 1); }, 10000)) << i;
  }
  EXPECT_EQ(got, "reply0reply1reply2reply3reply4");

  // A handler set while open counts from the next received set of events.
  int empties = 0;
  bool on_ui = true;
  Port.OnTxEmpty = [&](TCustomComPort*) {
    on_ui = on_ui && On_UI_Thread();
    ++empties;
  };
  Pty.Send("x");
  ASSERT_TRUE(QTest::qWaitFor([&] { return got.size() == 31u; }, 10000));
  ASSERT_EQ(Port.Write("\x26", 1), 1);
  EXPECT_EQ(Pty.Receive(1), "\x26");
  ASSERT_TRUE(QTest::qWaitFor([&] { return empties > 0; }, 10000));
  EXPECT_TRUE(on_ui);
  Port.Close();

  // Set before the port opens, it is raised after the first write.
  empties = 0;
  Port.Open();
  ASSERT_EQ(Port.Write("\x26", 1), 1);
  EXPECT_EQ(Pty.Receive(1), "\x26");
  ASSERT_TRUE(QTest::qWaitFor([&] { return empties > 0; }, 10000));
  EXPECT_FALSE(ComPortError);
}

TEST_F(ComPort_Test, Without_Events_No_Thread_Runs_And_No_Handler_Is_Called) {
  int raised = 0;
  Port.OnRxChar = [&](TCustomComPort*, int) { ++raised; };
  Port.SetEvents({});
  Port.Open();
  EXPECT_TRUE(Port.Connected());
  EXPECT_FALSE(Port.ThreadCreated());
  Pty.Send("abc");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Port.BytesWaiting() == 3; }, 10000));
  QTest::qWait(100);
  EXPECT_EQ(raised, 0);

  // Purge empties the input.
  Port.PurgeBuffers(true, false);
  EXPECT_EQ(Port.BytesWaiting(), 0);
  char buf[4];
  Port.Timeouts().SetReadInterval(-1);  // return at once with what is there
  EXPECT_EQ(Port.Read(buf, 4), 0);
  EXPECT_FALSE(ComPortError);
}

TEST_F(ComPort_Test, Received_Bytes_Go_To_OnRxBuf_When_OnRxChar_Is_Not_Triggered) {
  std::string buf_got;
  int rx_char = 0;
  Port.SetTriggersOnRxChar(false);
  Port.OnRxBuf = [&](TCustomComPort*, const void* b, int n) {
    buf_got.append(static_cast<const char*>(b), static_cast<size_t>(n));
  };
  Port.OnRxChar = [&](TCustomComPort*, int) { ++rx_char; };
  Port.Open();
  Pty.Send("hello");
  ASSERT_TRUE(QTest::qWaitFor([&] { return buf_got.size() >= 5; }, 10000));
  EXPECT_EQ(buf_got, "hello");
  EXPECT_EQ(rx_char, 0);
}

TEST_F(ComPort_Test, The_Error_Flag_Stops_Writes_Reads_And_Purges) {
  Port.SetEvents({});
  Port.Open();
  ASSERT_FALSE(ComPortError);
  ComPortError = true;
  EXPECT_EQ(Port.Write("abc", 3), 0);
  EXPECT_EQ(Pty.Receive(3, 200), "");  // nothing reached the line
  Pty.Send("in");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Port.BytesWaiting() == 2; }, 10000));
  char buf[4];
  EXPECT_EQ(Port.Read(buf, 2), 0);
  Port.PurgeBuffers(true, true);
  EXPECT_EQ(Port.BytesWaiting(), 2);  // not purged
  ComPortError = false;
  EXPECT_EQ(Port.Write("abc", 3), 3);
  EXPECT_EQ(Pty.Receive(3), "abc");
  EXPECT_EQ(Port.Read(buf, 2), 2);
  EXPECT_EQ(std::string(buf, 2), "in");
}

TEST_F(ComPort_Test, A_Pseudo_Terminal_Reads_As_No_Modem_Signals_And_No_Line_Errors) {
  bool cts = true, dsr = true, rlsd = true;
  Port.OnCTSChange = [&](TCustomComPort*, bool on) { cts = on; };
  Port.OnDSRChange = [&](TCustomComPort*, bool on) { dsr = on; };
  Port.OnRLSDChange = [&](TCustomComPort*, bool on) { rlsd = on; };
  Port.Open();  // the signal handlers are called with the states at open
  EXPECT_FALSE(cts || dsr || rlsd);
  EXPECT_TRUE(Port.ModemSignals().Empty());
  EXPECT_TRUE(Port.ReadLineErrors().Empty());
  EXPECT_FALSE(ComPortError);
  cts = dsr = rlsd = true;
  Port.Close();  // and with false at close
  EXPECT_FALSE(cts || dsr || rlsd);
  Port.OnCTSChange = Port.OnDSRChange = Port.OnRLSDChange = nullptr;
}

TEST_F(ComPort_Test, Close_While_An_Event_Waits_For_The_UI_Thread_Does_Not_Deadlock) {
  int raised = 0;
  Port.OnRxChar = [&](TCustomComPort*, int) { ++raised; };
  Port.Open();
  ASSERT_TRUE(Port.ThreadCreated());
  Pty.Send("abc");
  // The UI thread serves no events now: the event thread sits in its hand-over.
  QThread::msleep(300);
  {
    Watchdog dog("close during a hand-over", 20);
    Port.Close();
  }
  EXPECT_FALSE(Port.Connected());
  EXPECT_EQ(After_Close, 1);
  QTest::qWait(100);
  EXPECT_EQ(raised, 0);  // the dropped hand-over never runs
  EXPECT_FALSE(ComPortError);
}

TEST_F(ComPort_Test, A_Handler_May_Close_The_Port) {
  int raised = 0;
  Port.OnRxChar = [&](TCustomComPort* s, int) {
    ++raised;
    s->Close();
  };
  Port.Open();
  Pty.Send("abc");
  Watchdog dog("close from inside a handler", 20);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Port.Connected(); }, 10000));
  EXPECT_EQ(raised, 1);
  EXPECT_EQ(After_Close, 1);
  EXPECT_FALSE(Port.ThreadCreated());
  QTest::qWait(50);
  EXPECT_FALSE(ComPortError);
  // It opens again afterwards.
  Port.OnRxChar = nullptr;
  Port.Open();
  EXPECT_TRUE(Port.ThreadCreated());
}

TEST_F(ComPort_Test, A_Vanished_Device_Ends_The_Event_Watch_And_Fails_The_Next_Write) {
  const int before = Thread_Count();
  Port.Open();
  ASSERT_TRUE(Port.ThreadCreated());
  // Opened on the event loop's thread, the loop itself watches the device: no thread.
  EXPECT_EQ(Thread_Count(), before);
  Pty.Close_Master();
  // The watch ends rather than spinning on the hang-up.
  QTest::qWait(100);
  EXPECT_EQ(Thread_Count(), before);
  long cpu0 = Process_Cpu_Ms();
  QTest::qWait(300);
  EXPECT_LT(Process_Cpu_Ms() - cpu0, 200);
  EXPECT_FALSE(ComPortError);
  {
    Watchdog dog("write to a vanished device", 20);
    EXPECT_EQ(Port.Write("abc", 3), 0);
  }
  EXPECT_TRUE(ComPortError);
  Port.Close();
  EXPECT_FALSE(Port.Connected());
  EXPECT_EQ(After_Close, 1);
}

TEST_F(ComPort_Test, Destroying_An_Open_Port_Closes_It) {
  {
    TComPort p;
    p.SetPort(Pty.Slave_Path);
    p.Open();
    ASSERT_FALSE(ComPortError);
    ASSERT_TRUE(p.ThreadCreated());
  }
  comm::Serial_Device d;
  EXPECT_TRUE(d.Open(Pty.Slave_Path));
}
