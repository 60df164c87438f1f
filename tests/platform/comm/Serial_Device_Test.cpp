#include "platform/comm/Serial_Device.h"

#include <asm/termbits.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <sys/resource.h>
#include <vector>

#include "platform/comm/Pty_Pair.h"

using namespace comm;
using Clock = std::chrono::steady_clock;

namespace {

termios2 Read_Back(const Serial_Device& d) {
  termios2 t{};
  EXPECT_EQ(ioctl(d.Descriptor(), TCGETS2, &t), 0);
  return t;
}

// A raw 9600 8-N-1 port on the slave of `pty`.
void Open_Raw(Serial_Device& d, Pty_Pair& pty) {
  int err = 0;
  ASSERT_TRUE(d.Open(pty.Slave_Path, &err)) << err;
  ASSERT_TRUE(d.Set_Line_Settings(Line_Settings{}, &err)) << err;
}

Timeouts Interval(uint32_t ms) {
  Timeouts t;
  t.Read_Interval = ms;
  return t;
}

// Waits until the port has `n` bytes in its input queue.
bool Wait_In_Queue(Serial_Device& d, uint32_t n) {
  for (int i = 0; i < 500; ++i) {
    Port_Status s;
    if (d.Get_Status(&s) && s.In_Queue >= n) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

struct Stop_Event {
  Stop_Event() : Fd(eventfd(0, EFD_CLOEXEC)) {}
  ~Stop_Event() { ::close(Fd); }
  void Signal() {
    uint64_t one = 1;
    ASSERT_EQ(::write(Fd, &one, sizeof one), 8);
  }
  int Fd;
};

}  // namespace

TEST(Serial_Device_Open, Names_Map_To_Device_Files) {
  EXPECT_EQ(Device_Path("ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(Device_Path("/dev/pts/7"), "/dev/pts/7");
  EXPECT_EQ(Device_Path(""), "");
  EXPECT_EQ(Device_Path("../etc/passwd"), "");
  EXPECT_EQ(Device_Path("pts/3"), "");
  EXPECT_EQ(Device_Path(".."), "");
}

TEST(Serial_Device_Open, Fails_For_Missing_Device_And_Non_Terminal) {
  Serial_Device d;
  int err = 0;
  EXPECT_FALSE(d.Open("ttyNoSuchPort99", &err));
  EXPECT_EQ(err, ENOENT);
  EXPECT_FALSE(d.Open("COM1", &err));
  EXPECT_FALSE(d.Open("", &err));
  EXPECT_EQ(err, ENOENT);
  EXPECT_FALSE(d.Open("/dev/null", &err));
  EXPECT_EQ(err, ENOTTY);
  EXPECT_FALSE(d.Is_Open());
  EXPECT_EQ(d.Descriptor(), -1);
}

TEST(Serial_Device_Open, Is_Exclusive_Until_Closed) {
  Pty_Pair pty;
  Serial_Device a, b;
  int err = 0;
  ASSERT_TRUE(a.Open(pty.Slave_Path, &err)) << err;
  EXPECT_FALSE(b.Open(pty.Slave_Path, &err));
  EXPECT_EQ(err, EBUSY);
  a.Close();
  EXPECT_FALSE(a.Is_Open());
  EXPECT_TRUE(b.Open(pty.Slave_Path, &err)) << err;
}

// Flags a pseudo-terminal keeps as the settings give them (it always reads back 8 data
// bits without parity, whatever was set).
constexpr uint32_t Pty_Kept_Control = PARODD | CMSPAR | CSTOPB | CRTSCTS | CREAD | CLOCAL;

TEST(Serial_Device_Line, Flag_Words_Of_The_Settings) {
  Line_Settings s;
  Terminal_Flags f = Line_Flags(s);  // 8-N-1, no flow
  EXPECT_EQ(f.Control & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS), unsigned(CS8));
  EXPECT_EQ(f.Input & (IXON | IXOFF | INPCK), 0u);
  s.Data_Bits = 7;
  s.Parity = 2;
  s.Stop_Bits = 2;
  f = Line_Flags(s);
  EXPECT_EQ(f.Control & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), unsigned(CS7 | PARENB | CSTOPB));
  s = {};
  s.Data_Bits = 5;
  s.Stop_Bits = 1;
  s.Parity = 3;
  f = Line_Flags(s);
  EXPECT_EQ(f.Control & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB),
            unsigned(CS5 | PARENB | PARODD | CMSPAR | CSTOPB));
  s = {};
  s.Data_Bits = 6;
  s.Parity = 4;
  f = Line_Flags(s);
  EXPECT_EQ(f.Control & (CSIZE | PARENB | PARODD | CMSPAR), unsigned(CS6 | PARENB | CMSPAR));
  s.Parity = 1;
  EXPECT_EQ(Line_Flags(s).Control & (PARENB | PARODD | CMSPAR), unsigned(PARENB | PARODD));
  s = {};
  s.RTS_Control = 2;  // RTS handshake alone also means hardware flow
  EXPECT_TRUE(Line_Flags(s).Control & CRTSCTS);
  s = {};
  s.Parity_Check = true;
  s.Xon_Xoff_In = true;
  f = Line_Flags(s);
  EXPECT_EQ(f.Input & (IXON | IXOFF | INPCK), unsigned(IXOFF | INPCK));
}

TEST(Serial_Device_Line, Settings_Reach_The_Device) {
  Pty_Pair pty;
  Serial_Device d;
  int err = 0;
  ASSERT_TRUE(d.Open(pty.Slave_Path, &err));

  Line_Settings s;
  s.Baud_Rate = 19200;
  s.Data_Bits = 7;
  s.Parity = 2;
  s.Stop_Bits = 2;
  s.Xon_Xoff_Out = true;
  s.Xon_Xoff_In = true;
  s.Xon_Char = 0x11;
  s.Xoff_Char = 0x13;
  ASSERT_TRUE(d.Set_Line_Settings(s, &err)) << err;
  termios2 t = Read_Back(d);
  EXPECT_EQ(t.c_cflag & Pty_Kept_Control, Line_Flags(s).Control & Pty_Kept_Control);
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_EQ(t.c_cflag & CBAUD, unsigned(B19200));
  EXPECT_EQ(t.c_ospeed, 19200u);
  EXPECT_TRUE(t.c_iflag & IXON);
  EXPECT_TRUE(t.c_iflag & IXOFF);
  EXPECT_EQ(t.c_cc[VSTART], 0x11);
  EXPECT_EQ(t.c_cc[VSTOP], 0x13);
  // Raw: no line editing, echo, signals or output translation.
  EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
  EXPECT_FALSE(t.c_oflag & OPOST);
  EXPECT_FALSE(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP));
  EXPECT_TRUE(t.c_cflag & CREAD);

  // A rate off the standard table is set exactly.
  s = Line_Settings{};
  s.Baud_Rate = 14400;
  s.Parity = 3;  // mark
  s.Out_CTS_Flow = true;
  ASSERT_TRUE(d.Set_Line_Settings(s, &err)) << err;
  t = Read_Back(d);
  EXPECT_EQ(t.c_cflag & CBAUD, unsigned(BOTHER));
  EXPECT_EQ(t.c_ospeed, 14400u);
  EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR | CSTOPB), unsigned(PARODD | CMSPAR));
  EXPECT_TRUE(t.c_cflag & CRTSCTS);
  EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));

  s = Line_Settings{};
  s.Baud_Rate = 250000;
  s.Data_Bits = 5;
  s.Stop_Bits = 1;  // one and a half
  s.Parity = 4;     // space
  s.Parity_Check = true;
  ASSERT_TRUE(d.Set_Line_Settings(s, &err)) << err;
  t = Read_Back(d);
  EXPECT_EQ(t.c_ospeed, 250000u);
  EXPECT_EQ(t.c_cflag & Pty_Kept_Control, Line_Flags(s).Control & Pty_Kept_Control);
  EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR | CSTOPB | CRTSCTS), unsigned(CMSPAR | CSTOPB));
  EXPECT_TRUE(t.c_iflag & INPCK);
}

TEST(Serial_Device_Line, Impossible_Settings_Are_Refused_And_Leave_The_Device_As_It_Was) {
  Pty_Pair pty;
  Serial_Device d;
  Open_Raw(d, pty);
  const termios2 before = Read_Back(d);
  struct Case {
    const char* what;
    Line_Settings s;
    int code;
  };
  std::vector<Case> cases;
  Line_Settings s;
  s.Baud_Rate = 0;
  cases.push_back({"baud 0", s, EINVAL});
  s = {};
  s.Data_Bits = 9;
  cases.push_back({"9 data bits", s, EINVAL});
  s = {};
  s.Data_Bits = 4;
  cases.push_back({"4 data bits", s, EINVAL});
  s = {};
  s.Parity = 5;
  cases.push_back({"parity 5", s, EINVAL});
  s = {};
  s.Stop_Bits = 1;
  cases.push_back({"1.5 stop bits with 8 data bits", s, EINVAL});
  s = {};
  s.Data_Bits = 5;
  s.Stop_Bits = 2;
  cases.push_back({"2 stop bits with 5 data bits", s, EINVAL});
  s = {};
  s.Out_DSR_Flow = true;
  cases.push_back({"DSR output flow", s, EOPNOTSUPP});
  s = {};
  s.DTR_Control = 2;
  cases.push_back({"DTR handshake", s, EOPNOTSUPP});
  s = {};
  s.RTS_Control = 3;
  cases.push_back({"RTS toggle without RS-485 driver", s, EOPNOTSUPP});
  for (const Case& c : cases) {
    int err = 0;
    EXPECT_FALSE(d.Set_Line_Settings(c.s, &err)) << c.what;
    EXPECT_EQ(err, c.code) << c.what;
  }
  const termios2 after = Read_Back(d);
  EXPECT_EQ(after.c_cflag, before.c_cflag);
  EXPECT_EQ(after.c_ospeed, before.c_ospeed);
}

TEST(Serial_Device_Line, Calls_On_A_Closed_Device_Fail) {
  Serial_Device d;
  int err = 0;
  uint32_t done = 7, status = 0;
  char b[4] = {};
  Port_Status ps;
  EXPECT_FALSE(d.Set_Line_Settings(Line_Settings{}, &err));
  EXPECT_EQ(err, EBADF);
  EXPECT_FALSE(d.Set_Timeouts(Timeouts{}, &err));
  EXPECT_FALSE(d.Set_Queue_Sizes(1024, 1024, &err));
  EXPECT_FALSE(d.Write("ab", 2, &done, &err));
  EXPECT_EQ(done, 0u);
  EXPECT_FALSE(d.Read(b, 4, &done, &err));
  EXPECT_FALSE(d.Purge(Purge_Rx_Clear, &err));
  EXPECT_FALSE(d.Get_Status(&ps, &err));
  EXPECT_FALSE(d.Get_Modem_Status(&status, &err));
  EXPECT_FALSE(d.Set_Event_Mask(Ev_Rx_Char, &err));
  uint32_t ev = 0;
  EXPECT_EQ(d.Wait_Event(-1, &ev, &err), Wait_Result::Failed);
}

TEST(Serial_Device_Read, Returns_At_Once_When_The_Count_Is_There) {
  Pty_Pair pty;
  Serial_Device d;
  Open_Raw(d, pty);
  ASSERT_TRUE(d.Set_Timeouts(Interval(10000)));
  pty.Send("hello");
  ASSERT_TRUE(Wait_In_Queue(d, 5));
  char buf[8] = {};
  uint32_t done = 0;
  auto start = Clock::now();
  ASSERT_TRUE(d.Read(buf, 5, &done));
  EXPECT_LT(Elapsed_Ms(start), 5000);  // far below the 10 s interval
  EXPECT_EQ(std::string(buf, done), "hello");
}

// A frame handed over byte by byte at the line's rate (9600 baud: about 1 ms a byte) is
// read whole, waiting in the kernel for the rest of it, not waking once per byte.
TEST(Serial_Device_Read, A_Paced_Frame_Is_Read_Whole_Without_A_Wake_Up_Per_Byte) {
  Pty_Pair pty;
  Serial_Device d;
  Open_Raw(d, pty);
  ASSERT_TRUE(d.Set_Timeouts(Interval(2000)));
  const std::string frame(65, 'r');
  std::thread sender([&] {
    for (char c : frame) {
      pty.Send(std::string(1, c));
      std::this_thread::sleep_for(std::chrono::microseconds(1042));
    }
  });
  ASSERT_TRUE(Wait_In_Queue(d, 1));
  rusage before{}, after{};
  getrusage(RUSAGE_THREAD, &before);
  char buf[80] = {};
  uint32_t done = 0;
  const bool ok = d.Read(buf, static_cast<uint32_t>(frame.size()), &done);
  getrusage(RUSAGE_THREAD, &after);
  sender.join();
  ASSERT_TRUE(ok);
  EXPECT_EQ(std::string(buf, done), frame);
  EXPECT_LT(after.ru_nvcsw - before.ru_nvcsw, 16) << "one wait per byte would be about 64";
}

TEST(Serial_Device_Read, Ends_After_The_Interval_With_The_Bytes_That_Came) {
  Pty_Pair pty;
  Serial_Device d;
  Open_Raw(d, pty);
  ASSERT_TRUE(d.Set_Timeouts(Interval(200)));
  // Two bursts closer than the interval, then silence.
  std::thread sender([&] {
    pty.Send("ab");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pty.Send("cd");
  });
  char buf[16] = {};
  uint32_t done = 0;
  auto start = Clock::now();
  bool ok = d.Read(buf, 10, &done);
  long ms = Elapsed_Ms(start);
  sender.join();
  ASSERT_TRUE(ok);
  EXPECT_EQ(std::string(buf, done), "abcd");
  EXPECT_GE(ms, 190);
  EXPECT_LT(ms, 10000);
}

TEST(Serial_Device_Read, Timeout_Modes) {
  Pty_Pair pty;
  Serial_Device d;
  Open_Raw(d, pty);
  char buf[16];
  uint32_t done = 99;

  // Interval "all ones" with no totals: whatever is there, at once (nothing here).
  Timeouts t;
  t.Read_Interval = 0xFFFFFFFFu;
  ASSERT_TRUE(d.Set_Timeouts(t));
  auto start = Clock::now();
  ASSERT_TRUE(d.Read(buf, 4, &done));
  EXPECT_EQ(done, 0u);
  EXPECT_LT(Elapsed_Ms(start), 5000);
  pty.Send("xy");
  ASSERT_TRUE(Wait_In_Queue(d, 2));
  ASSERT_TRUE(d.Read(buf, 4, &done));
  EXPECT_EQ(std::string(buf, done), "xy");

  // A total limit with no byte: ends empty after the constant.
  t = Timeouts{};
  t.Read_Total_Constant = 100;
  ASSERT_TRUE(d.Set_Timeouts(t));
  start = Clock::now();
  ASSERT_TRUE(d.Read(buf, 4, &done));
  EXPECT_EQ(done, 0u);
  EXPECT_GE(Elapsed_Ms(start), 90);

  // Huge limits mean "very long", not "already over".
  t = Timeouts{};
  t.Read_Interval = 100;
  t.Read_Total_Multiplier = 0xE0000000u;
  t.Read_Total_Constant = 0xFFFFFFF0u;
  ASSERT_TRUE(d.Set_Timeouts(t));
  std::vector<char> large(1 << 23);  // a total far beyond what the clock can count
  std::thread late([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    pty.Send("q");
  });
  bool read_ok = d.Read(large.data(), static_cast<uint32_t>(large.size()), &done);
  late.join();
  ASSERT_TRUE(read_ok);
  EXPECT_EQ(std::string(large.data(), done), "q");  // ended by the interval after the byte

  // First-byte mode: returns as soon as a byte is there, without waiting for the count.
  t = Timeouts{};
  t.Read_Interval = 0xFFFFFFFFu;
  t.Read_Total_Multiplier = 0xFFFFFFFFu;
  t.Read_Total_Constant = 20000;
  ASSERT_TRUE(d.Set_Timeouts(t));
  std::thread sender([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pty.Send("z");
  });
  start = Clock::now();
  bool ok = d.Read(buf, 8, &done);
  sender.join();
  ASSERT_TRUE(ok);
  EXPECT_EQ(std::string(buf, done), "z");
  EXPECT_LT(Elapsed_Ms(start), 10000);
}

TEST(Serial_Device_Read, Discard_Null_Drops_Zero_Bytes) {
  Pty_Pair pty;
  Serial_Device d;
  int err = 0;
  ASSERT_TRUE(d.Open(pty.Slave_Path, &err));
  Line_Settings s;
  s.Discard_Null = true;
  ASSERT_TRUE(d.Set_Line_Settings(s, &err));
  ASSERT_TRUE(d.Set_Timeouts(Interval(200)));
  pty.Send(std::string("a\0b\0\0c", 6));
  char buf[8] = {};
  uint32_t done = 0;
  ASSERT_TRUE(d.Read(buf, 3, &done));
  EXPECT_EQ(std::string(buf, done), "abc");
}

TEST(Serial_Device_Read, A_Vanished_Device_Fails_Instead_Of_Blocking) {
  Pty_Pair pty;
  Serial_Device d;
  Open_Raw(d, pty);
  ASSERT_TRUE(d.Set_Timeouts(Timeouts{}));  // no limits at all: would wait for ever
  Watchdog dog("read on a vanished device", 20);
  std::thread closer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pty.Close_Master();
  });
  char buf[4];
  uint32_t done = 0;
  int err = 0;
  EXPECT_FALSE(d.Read(buf, 4, &done, &err));
  closer.join();
  EXPECT_EQ(err, EIO);
}

TEST(Serial_Device_Write, Bytes_Reach_The_Other_End) {
  Pty_Pair pty;
  Serial_Device d;
  Open_Raw(d, pty);
  Timeouts t;
  t.Write_Total_Multiplier = 100;
  t.Write_Total_Constant = 1000;
  ASSERT_TRUE(d.Set_Timeouts(t));
  const std::string frame("a\x05\x00\r\n\xff", 6);
  uint32_t done = 0;
  ASSERT_TRUE(d.Write(frame.data(), 6, &done));
  EXPECT_EQ(done, 6u);
  EXPECT_EQ(pty.Receive(6), frame);  // byte for byte, no translation
}

TEST(Serial_Device_Write, Ends_Within_Its_Timeout_When_Nobody_Reads) {
  Pty_Pair pty;
  Serial_Device d;
  Open_Raw(d, pty);
  Timeouts t;
  t.Write_Total_Constant = 200;
  ASSERT_TRUE(d.Set_Timeouts(t));
  std::string big(1 << 20, 'x');
  uint32_t done = 0;
  Watchdog dog("write into a full queue", 20);
  ASSERT_TRUE(d.Write(big.data(), static_cast<uint32_t>(big.size()), &done));
  EXPECT_GT(done, 0u);
  EXPECT_LT(done, big.size());
}

TEST(Serial_Device_Write, A_Vanished_Device_Fails_Without_Hanging) {
  Pty_Pair pty;
  Serial_Device d;
  Open_Raw(d, pty);
  ASSERT_TRUE(d.Set_Timeouts(Timeouts{}));  // no write limit
  pty.Close_Master();
  Watchdog dog("write on a vanished device", 20);
  uint32_t done = 0;
  int err = 0;
  EXPECT_FALSE(d.Write("abc", 3, &done, &err));
  EXPECT_EQ(err, EIO);
  // And so do the other calls.
  Port_Status ps;
  uint32_t modem = 0;
  EXPECT_FALSE(d.Purge(Purge_Rx_Clear | Purge_Tx_Clear, &err));
  EXPECT_FALSE(d.Purge(Purge_Rx_Abort | Purge_Tx_Abort, &err));
  EXPECT_FALSE(d.Get_Status(&ps, &err));
  EXPECT_FALSE(d.Get_Modem_Status(&modem, &err));
}

TEST(Serial_Device_Status, Queue_Purge_And_Modem_Lines) {
  Pty_Pair pty;
  Serial_Device d;
  Open_Raw(d, pty);
  pty.Send("12345678");
  ASSERT_TRUE(Wait_In_Queue(d, 8));
  Port_Status ps;
  ASSERT_TRUE(d.Get_Status(&ps));
  EXPECT_EQ(ps.In_Queue, 8u);
  EXPECT_EQ(ps.Errors, 0u);

  ASSERT_TRUE(d.Purge(Purge_Tx_Clear));  // the output side only: input stays
  ASSERT_TRUE(d.Get_Status(&ps));
  EXPECT_EQ(ps.In_Queue, 8u);
  ASSERT_TRUE(d.Purge(Purge_Rx_Clear));
  ASSERT_TRUE(d.Get_Status(&ps));
  EXPECT_EQ(ps.In_Queue, 0u);
  Timeouts t;
  t.Read_Interval = 0xFFFFFFFFu;
  ASSERT_TRUE(d.Set_Timeouts(t));
  char buf[8];
  uint32_t done = 9;
  ASSERT_TRUE(d.Read(buf, 8, &done));
  EXPECT_EQ(done, 0u);

  // A pseudo-terminal has no modem lines: no signals, and no failure.
  uint32_t modem = 0xFF;
  int err = 0;
  EXPECT_TRUE(d.Get_Modem_Status(&modem, &err)) << err;
  EXPECT_EQ(modem, 0u);
}

class Serial_Device_Wait : public ::testing::Test {
 protected:
  void SetUp() override {
    Open_Raw(D, Pty);
    ASSERT_TRUE(D.Set_Event_Mask(Ev_Rx_Char | Ev_Tx_Empty | Ev_CTS | Ev_DSR | Ev_RLSD |
                                 Ev_Break | Ev_Error | Ev_Ring | Ev_Rx80_Full | Ev_Rx_Flag));
  }
  // Runs Wait_Event on a thread of its own.
  std::future<std::pair<Wait_Result, uint32_t>> Wait_Async() {
    return std::async(std::launch::async, [this] {
      uint32_t ev = 0;
      Wait_Result r = D.Wait_Event(Stop.Fd, &ev);
      return std::make_pair(r, ev);
    });
  }
  Pty_Pair Pty;
  Serial_Device D;
  Stop_Event Stop;
};

TEST_F(Serial_Device_Wait, Wakes_For_Received_Bytes_Once_Per_Arrival) {
  Watchdog dog("event wait", 30);
  auto f = Wait_Async();
  EXPECT_EQ(f.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  Pty.Send("abc");
  ASSERT_EQ(f.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  auto r = f.get();
  EXPECT_EQ(r.first, Wait_Result::Event);
  EXPECT_TRUE(r.second & Ev_Rx_Char);

  // The bytes stay unread: the next wait does not report them again.
  auto g = Wait_Async();
  EXPECT_EQ(g.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  Pty.Send("d");
  ASSERT_EQ(g.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  r = g.get();
  EXPECT_EQ(r.first, Wait_Result::Event);
  EXPECT_EQ(r.second, uint32_t(Ev_Rx_Char));
}

TEST_F(Serial_Device_Wait, The_Stop_Descriptor_Ends_It_Without_Spinning) {
  Watchdog dog("event wait stop", 30);
  long cpu0 = Process_Cpu_Ms();
  auto f = Wait_Async();
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  // A pseudo-terminal has no lines to watch: the waiting thread sleeps.
  EXPECT_LT(Process_Cpu_Ms() - cpu0, 200);
  auto start = Clock::now();
  Stop.Signal();
  ASSERT_EQ(f.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(f.get().first, Wait_Result::Stopped);
  EXPECT_LT(Elapsed_Ms(start), 5000);
}

TEST_F(Serial_Device_Wait, A_Vanished_Device_Ends_It) {
  Watchdog dog("event wait on a vanished device", 30);
  auto f = Wait_Async();
  Pty.Close_Master();
  ASSERT_EQ(f.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(f.get().first, Wait_Result::Failed);
  uint32_t ev = 0;
  EXPECT_EQ(D.Wait_Event(Stop.Fd, &ev), Wait_Result::Failed);  // and stays failed
}

TEST_F(Serial_Device_Wait, Reports_Transmit_Empty_And_The_80_Percent_Mark) {
  Watchdog dog("event wait tx/80%", 30);
  uint32_t done = 0;
  ASSERT_TRUE(D.Write("ping", 4, &done));
  uint32_t ev = 0;
  ASSERT_EQ(D.Wait_Event(Stop.Fd, &ev), Wait_Result::Event);
  EXPECT_EQ(ev, uint32_t(Ev_Tx_Empty));

  ASSERT_TRUE(D.Set_Queue_Sizes(10, 10));
  Pty.Send("1234567");  // below 8 of 10
  ASSERT_EQ(D.Wait_Event(Stop.Fd, &ev), Wait_Result::Event);
  EXPECT_EQ(ev, uint32_t(Ev_Rx_Char));
  Pty.Send("8");
  ASSERT_EQ(D.Wait_Event(Stop.Fd, &ev), Wait_Result::Event);
  EXPECT_EQ(ev, uint32_t(Ev_Rx_Char | Ev_Rx80_Full));
}

TEST_F(Serial_Device_Wait, Only_Masked_Events_Are_Reported) {
  Watchdog dog("event mask", 30);
  ASSERT_TRUE(D.Set_Event_Mask(Ev_Rx_Char));
  uint32_t done = 0;
  ASSERT_TRUE(D.Write("x", 1, &done));  // no transmit-empty interest
  auto f = Wait_Async();
  EXPECT_EQ(f.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  Stop.Signal();
  EXPECT_EQ(f.get().first, Wait_Result::Stopped);

  ASSERT_TRUE(D.Set_Event_Mask(0));
  uint32_t ev = 0;
  int err = 0;
  EXPECT_EQ(D.Wait_Event(-1, &ev, &err), Wait_Result::Failed);
  EXPECT_EQ(err, EINVAL);
}
