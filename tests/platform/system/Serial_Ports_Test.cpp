#include "platform/system/Serial_Ports.h"
#include "common/Test_Folder.h"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A device table and a /dev of the test's own: each entry is a folder like the kernel's,
// each device file a link to a real character device.
class Serial_Port_List : public ::testing::Test {
 protected:
  void SetUp() override {
    sys::Reset_Serial_Ports();
    ASSERT_EQ(::mkdir((Root / "class").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((Root / "dev").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((Root / "hw").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((Root / "drivers").c_str(), 0755), 0);
    for (const char* driver : {"serial8250", "port", "ftdi_sio", "cdc_acm"})
      ASSERT_EQ(::mkdir((Root / "drivers/" + driver).c_str(), 0755), 0);
    sys::Serial_Ports.Class_Dir = Root / "class";
    sys::Serial_Ports.Device_Dir = Root / "dev";
  }
  void TearDown() override { sys::Reset_Serial_Ports(); }

  // `driver` empty: no device behind the entry (a virtual console). `type` empty: no port type.
  void Add(const std::string& name, const std::string& driver, const std::string& type,
           bool device_file = true) {
    const std::string entry = Root / ("class/" + name);
    ASSERT_EQ(::mkdir(entry.c_str(), 0755), 0);
    if (!driver.empty()) {
      const std::string hw = Root / ("hw/" + name);
      ASSERT_EQ(::mkdir(hw.c_str(), 0755), 0);
      ASSERT_EQ(::symlink((Root / ("drivers/" + driver)).c_str(), (hw + "/driver").c_str()), 0);
      ASSERT_EQ(::symlink(hw.c_str(), (entry + "/device").c_str()), 0);
    }
    if (!type.empty()) Put_File(entry + "/type", type + "\n");
    if (device_file) {
      ASSERT_EQ(::symlink("/dev/null", (Root / ("dev/" + name)).c_str()), 0);
    }
  }

  std::vector<std::string> Sorted() {
    std::vector<std::string> names{"left over"};
    int code = -1;
    EXPECT_TRUE(sys::Serial_Ports_Sorted(names, &code));
    EXPECT_EQ(code, 0);
    return names;
  }

  Test_Folder Root;
};

TEST_F(Serial_Port_List, Lists_Real_Devices_Only_In_Natural_Order) {
  Add("ttyS0", "port", "4");
  Add("ttyS1", "port", "0");             // a UART the driver did not find
  Add("ttyS2", "serial8250", "");        // older kernels: no port type known
  Add("ttyS3", "serial8250", "4");
  Add("ttyUSB10", "ftdi_sio", "");
  Add("ttyUSB2", "ftdi_sio", "");
  Add("ttyACM0", "cdc_acm", "", false);  // no device file to open
  Add("tty1", "", "");                   // a virtual console
  const std::vector<std::string> expected{"ttyS0", "ttyS3", "ttyUSB2", "ttyUSB10"};
  EXPECT_EQ(Sorted(), expected);

  const sys::Serial_Port_Map map;
  EXPECT_TRUE(map.Opened());
  ASSERT_EQ(map.Count(), 4u);
  std::string name;
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_TRUE(map.Value(i, name));
    EXPECT_EQ(name, expected[i]);
  }
  EXPECT_FALSE(map.Value(4, name));

  EXPECT_TRUE(sys::Serial_Port_Listed("ttyUSB2"));
  EXPECT_FALSE(sys::Serial_Port_Listed("ttyusb2"));  // letter case matters
  EXPECT_FALSE(sys::Serial_Port_Listed("ttyS1"));
  EXPECT_FALSE(sys::Serial_Port_Listed("ttyACM0"));
  EXPECT_FALSE(sys::Serial_Port_Listed(""));
}

TEST_F(Serial_Port_List, No_Ports_Is_An_Empty_List_Not_An_Error) {
  Add("tty0", "", "");
  EXPECT_TRUE(Sorted().empty());
  EXPECT_TRUE(sys::Serial_Port_Map().Opened());
  EXPECT_EQ(sys::Serial_Port_Map().Count(), 0u);

  sys::Serial_Ports.Class_Dir = Root / "no such table";
  EXPECT_TRUE(Sorted().empty());
  EXPECT_TRUE(sys::Serial_Port_Map().Opened());
  EXPECT_FALSE(sys::Serial_Port_Listed("ttyS0"));
}

TEST_F(Serial_Port_List, Configured_Pseudo_Terminal_Is_Listed) {
  Add("ttyUSB0", "ftdi_sio", "");
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const std::string slave = ::ptsname(master);
  // A link to the terminal, as a port relay would make one.
  const std::string link = Root / "emulator-port";
  ASSERT_EQ(::symlink(slave.c_str(), link.c_str()), 0);

  sys::Set_Configured_Port(slave);
  EXPECT_EQ(Sorted(), (std::vector<std::string>{slave, "ttyUSB0"}));
  EXPECT_TRUE(sys::Serial_Port_Listed(slave));
  const sys::Serial_Port_Map map;
  std::string name;
  ASSERT_TRUE(map.Value(1, name));
  EXPECT_EQ(name, slave);  // after the devices

  sys::Set_Configured_Port(link);
  EXPECT_TRUE(sys::Serial_Port_Listed(link));

  // A configured name that is no absolute path to a terminal adds nothing.
  for (const std::string& name : {std::string("/dev/null"), Root / "nothing", std::string("ttyS7"),
                                  Root.Path()}) {
    sys::Set_Configured_Port(name);
    EXPECT_EQ(Sorted(), std::vector<std::string>{"ttyUSB0"}) << name;
    EXPECT_FALSE(sys::Serial_Port_Listed(name)) << name;
  }
  // A terminal that went away is no longer listed. Its link is removed rather than the
  // terminal closed: a test running beside this one may be given the same terminal number.
  sys::Set_Configured_Port(link);
  ASSERT_EQ(::unlink(link.c_str()), 0);
  EXPECT_FALSE(sys::Serial_Port_Listed(link));
  ::close(master);
}

// The list of this machine: empty or real serial devices, each with its device file.
TEST(Serial_Port_List_Of_This_Machine, Holds_Only_Existing_Serial_Devices) {
  sys::Reset_Serial_Ports();
  std::vector<std::string> names;
  ASSERT_TRUE(sys::Serial_Ports_Sorted(names));
  for (const auto& name : names) {
    struct stat info {};
    EXPECT_EQ(::stat(("/dev/" + name).c_str(), &info), 0) << name;
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << name;
    EXPECT_EQ(name.rfind("tty", 0), 0u) << name;  // never a console or the pty master
    EXPECT_TRUE(sys::Serial_Port_Listed(name)) << name;
  }
  EXPECT_EQ(sys::Serial_Port_Map().Count(), names.size());
  std::cout << "serial ports of this machine:";
  for (const auto& name : names) std::cout << ' ' << name;
  std::cout << '\n';
}

}  // namespace
