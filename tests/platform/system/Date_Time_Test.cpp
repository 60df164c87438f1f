#include "platform/system/Date_Time.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>

namespace {

class Date_Time_Text : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* zone = std::getenv("TZ");
    Had_Zone = zone != nullptr;
    if (zone) Saved_Zone = zone;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (Had_Zone) setenv("TZ", Saved_Zone.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  // 7 December 2026, 14:05:09 UTC
  static constexpr std::time_t Save_Time = 1796652309;
  bool Had_Zone = false;
  std::string Saved_Zone;
};

TEST_F(Date_Time_Text, Patterns_Of_History_Copies_And_Stamps) {
  EXPECT_EQ(sys::Format_Date_Time("yyyy.mm", Save_Time), "2026.12");
  EXPECT_EQ(sys::Format_Date_Time("dd", Save_Time), "07");
  // After an hour "mm" is the minute.
  EXPECT_EQ(sys::Format_Date_Time("_hh.mm.", Save_Time) + "cfg", "_14.05.cfg");
  EXPECT_EQ(sys::Format_Date_Time("yyyy.mm.dd", Save_Time) + " " +
                sys::Format_Date_Time("hh:mm:ss", Save_Time),
            "2026.12.07 14:05:09");
  EXPECT_EQ(sys::Format_Date_Time("d.m.yy h:n:s", Save_Time), "7.12.26 14:5:9");
  EXPECT_EQ(sys::Format_Date_Time("'dd' \"hh\" dd", Save_Time), "dd hh 07");
  EXPECT_EQ(sys::Format_Date_Time("YYYY-MM-DD", Save_Time), "2026-12-07");
  EXPECT_EQ(sys::Short_Date_Text(Save_Time), "07.12.2026");
  EXPECT_EQ(sys::Short_Date_Text(0), "01.01.1970");
}

TEST(Random_Numbers, Stay_In_Range_And_Cover_It) {
  sys::Seed_Random(12345);
  std::set<int> seen;
  for (int i = 0; i < 5000; ++i) {
    const int value = sys::Random_Below(63);
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 62);
    seen.insert(value);
  }
  EXPECT_EQ(seen.size(), 63u);
  int largest = 0;
  for (int i = 0; i < 1000; ++i) largest = std::max(largest, sys::Random_Below(65535));
  EXPECT_LE(largest, 65534);
  EXPECT_GT(largest, 60000);
  EXPECT_EQ(sys::Random_Below(0), 0);
  EXPECT_EQ(sys::Random_Below(1), 0);

  sys::Seed_Random(7);
  const int first = sys::Random_Below(1000000);
  sys::Seed_Random(7);
  EXPECT_EQ(sys::Random_Below(1000000), first);
}

}  // namespace
