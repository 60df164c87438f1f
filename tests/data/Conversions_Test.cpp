// Raw-unit conversions, the temperature table and the number and text routines.
#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "main/Process_State.h"

#include "platform/system/Files.h"
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "common/Test_Folder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

class Conversions_Test : public ::testing::Test {
protected:
  void SetUp() override {
    Reset_All_State();
    Configuration_Create();
    Set_Decimal_Separator('.');
  }
  void TearDown() override { Reset_All_State(); }
};

Byte_Pair Pair(int high, int low) { return {static_cast<uint8_t>(high), static_cast<uint8_t>(low)}; }

TEST_F(Conversions_Test, WordsAndLongsSplitAndJoinHighByteFirst) {
  EXPECT_EQ(Split_Word(0x1234), Pair(0x12, 0x34));
  EXPECT_EQ(Make_Word(0x12, 0x34), 0x1234);
  EXPECT_EQ(Make_Word(0x1FF, 0x34), 0xFF34);  // high bits above the word fall away
  EXPECT_EQ(Split_Word(0xFFFF), Pair(0xFF, 0xFF));
  EXPECT_EQ(Make_Long(0x12, 0x34, 0x56, 0x78), 0x12345678);
  uint8_t b[4];
  Split_Long(90000, b);
  EXPECT_EQ(b[0], 0x00);
  EXPECT_EQ(b[1], 0x01);
  EXPECT_EQ(b[2], 0x5F);
  EXPECT_EQ(b[3], 0x90);
}

TEST_F(Conversions_Test, VoltsFromCountsAtEndsAndMiddle) {
  EXPECT_EQ(Bytes_To_Volt_500(3, 255), 500);
  EXPECT_EQ(Bytes_To_Volt_500(0, 1), 0);
  EXPECT_EQ(Bytes_To_Volt_500(2, 0), 250);
  EXPECT_EQ(Bytes_To_Volt_500(7, 255), 500);  // high byte above 3 masked away
  EXPECT_EQ(Bytes_To_Volt_500_B(2, 0), 250);
  EXPECT_EQ(Bytes_To_Volt_2500(3, 255), 2500);
  EXPECT_EQ(Bytes_To_Volt_2500(0, 103), 251);
  EXPECT_EQ(Bytes_To_Raw_Times_2(3, 255), 2046);
  EXPECT_EQ(Half_To_Bytes(1000), Pair(1, 244));
}

TEST_F(Conversions_Test, VoltInversesFindSmallestCountAndStopAtFullScale) {
  EXPECT_EQ(Volt_500_To_Bytes(250), Pair(2, 0));
  EXPECT_EQ(Volt_500_To_Bytes(1), Pair(0, 3));
  EXPECT_EQ(Volt_500_To_Bytes(0), Pair(0, 0));
  EXPECT_EQ(Volt_500_To_Bytes(500), Pair(3, 255));
  EXPECT_EQ(Volt_500_To_Bytes(600), Pair(3, 255));  // beyond 5 V: the full-scale count
  EXPECT_EQ(Volt_500_To_Bytes(-5), Pair(0, 0));
  EXPECT_EQ(Volt_500_To_Bytes_Int(250), Pair(2, 0));
  EXPECT_EQ(Volt_500_To_Bytes_Int(9999), Pair(3, 255));
  Configuration.RPM_Sensitiv = 250;
  EXPECT_EQ(RPM_Sensitiv_To_Bytes(), Pair(0, 103));
  Configuration.RPM_Sensitiv = 2500;
  EXPECT_EQ(RPM_Sensitiv_To_Bytes(), Pair(3, 255));
  Configuration.RPM_Sensitiv = 4000;
  EXPECT_EQ(RPM_Sensitiv_To_Bytes(), Pair(3, 255));
}

TEST_F(Conversions_Test, RpmAndPeriod) {
  EXPECT_EQ(Configuration.RPM_Source, 1500000u);
  EXPECT_EQ(Period_Bytes_To_RPM(255, 255), 0);
  EXPECT_EQ(Period_Bytes_To_RPM(0, 0), 0);
  EXPECT_EQ(Period_Bytes_To_RPM(9, 196), 600);  // period 2500
  EXPECT_EQ(Period_Bytes_To_RPM(0, 1), 1500000);
  EXPECT_EQ(RPM_To_Period_Bytes(0), Pair(255, 255));
  EXPECT_EQ(RPM_To_Period_Bytes(600), Pair(9, 196));
  EXPECT_EQ(RPM_To_Period(0), 0xFFFF);
  EXPECT_EQ(RPM_To_Period(6000), 250);
  // A period that does not fit the word reads as the longest one, not a wrapped one.
  EXPECT_EQ(RPM_To_Period(10), 0xFFFF);
  Configuration.RPM_Source = 131070;
  EXPECT_EQ(Period_Bytes_To_RPM(0, 2), 0);  // a quotient of exactly 65535 is no signal
  EXPECT_EQ(Period_Bytes_To_RPM(0, 3), 43690);
}

TEST_F(Conversions_Test, ScalesAndSignAndMagnitudePercentages) {
  EXPECT_EQ(Scale_10000_To_128(10000), 128);
  EXPECT_EQ(Scale_10000_To_128(5000), 64);
  EXPECT_EQ(Bytes_Scale_128_To_10000(0, 128), 10000);
  EXPECT_EQ(Bytes_Scale_128_To_10000(0, 1), 78);
  EXPECT_EQ(Scale_10000_To_128(78), 1);     // nearest step, not truncated to 0
  EXPECT_EQ(Scale_10000_To_128(-78), -1);
  // A word read into the 10000 scale goes back as the same word.
  for (int32_t Word : {1, 3, 127, 177, 0x1234, 0xFFFF})
    EXPECT_EQ(Scale_10000_To_128(Bytes_Scale_128_To_10000(Word >> 8, Word & 0xFF)), Word) << Word;
  EXPECT_EQ(Scaled_To_Byte(100, 1.28f), 128);
  EXPECT_EQ(Scaled_To_Byte(0, 1.28f), 0);
  EXPECT_EQ(Scaled_To_Byte(250, 1.28f), 255);  // a * x beyond a byte: the top of the byte
  EXPECT_EQ(Scaled_To_Bytes(100, 1.28f), Pair(0, 128));
  EXPECT_EQ(Scaled_To_Bytes(1000, 1.28f), Pair(5, 0));

  EXPECT_EQ(Percent_To_Signed_Byte(3, 8, 4096).High, 4);
  EXPECT_EQ(Percent_To_Signed_Byte(3, 8, 4096).Low, 16);  // 4 * (4096 div 128) div 8
  EXPECT_EQ(Percent_To_Signed_Byte(4, 8, 4096).High, 6);
  EXPECT_EQ(Percent_To_Signed_Byte(-3, 8, 4096).High, 0x84);
  EXPECT_EQ(Percent_To_Signed_Byte(-3, 8, 4096).Low, 16);
  EXPECT_EQ(Percent_To_Signed_Byte(0, 8, 4096), Pair(5, 0));
  EXPECT_EQ(Percent_To_Signed_Byte(30, 0, 4096), Pair(5, 0));
  EXPECT_EQ(Percent_To_Signed_Byte(99, 100, 32768).High, 127);
  // Magnitudes above 99 stay below the sign bit.
  EXPECT_EQ(Percent_To_Signed_Byte(100, 100, 32768).High, 127);
  EXPECT_EQ(Percent_To_Signed_Byte(-150, 100, 32768).High, 0xFF);
  // No non-zero percentage gives the "no value" code.
  for (int a = -99; a <= 99; ++a) {
    if (a != 0) {
      EXPECT_NE(Percent_To_Signed_Byte(a, 1, 4096).High, 5) << a;
    }
  }
  EXPECT_EQ(Percent_Of(250, 30), 75);
  EXPECT_EQ(Percent_Of(-7, 50), -3);
}

TEST_F(Conversions_Test, PressureAgainstOneBarReading) {
  ASSERT_EQ(Configuration.Pressure_1_Bar, 1315);
  EXPECT_EQ(Bytes_To_Pressure(0, 228), 100);
  EXPECT_EQ(Bytes_To_Pressure(0, 0), 0);
  EXPECT_EQ(Bytes_To_Pressure(3, 255), 448);
  EXPECT_EQ(Bytes_To_Pressure(1, 200), 200);  // count 456 is two bar
  EXPECT_EQ(Pressure_To_Bytes(10, 10), Pair(0, 228));
  EXPECT_EQ(Pressure_To_Raw(1, 100), 228);
  EXPECT_EQ(Pressure_To_Raw(1, 0), 0);
  // Every count of the range reads back through its own inverse.
  for (int raw = 1; raw <= 1023; raw += 7) {
    const int32_t p = Bytes_To_Pressure(raw / 256, raw % 256);
    const int32_t r = Pressure_To_Raw(1, p);
    EXPECT_EQ(Bytes_To_Pressure(r / 256, r % 256), p) << raw;
  }
}

TEST_F(Conversions_Test, PressureSearchEndsOutsideItsRange) {
  EXPECT_EQ(Pressure_To_Raw(1, 1000), 1023);  // 10 bar is beyond the sensor
  EXPECT_EQ(Pressure_To_Raw(10, -5), 0);
  Configuration.Pressure_1_Bar = 0;
  EXPECT_EQ(Bytes_To_Pressure(0, 228), 0);
  EXPECT_EQ(Pressure_To_Raw(1, 100), 0);
  Configuration.Pressure_1_Bar = -1315;
  EXPECT_EQ(Bytes_To_Pressure(0, 228), 0);
  EXPECT_EQ(Pressure_To_Raw(1, 100), 0);
  // One count changes the pressure by more than a hundredth: p itself cannot be hit;
  // the search gives the first count that reads above it.
  Configuration.Pressure_1_Bar = 300;
  for (int p = 90; p <= 120; ++p) {
    const int32_t r = Pressure_To_Raw(1, p);
    EXPECT_GE(Bytes_To_Pressure(r / 256, r % 256), p);
    EXPECT_LT(Bytes_To_Pressure((r - 1) / 256, (r - 1) % 256), p);
  }
}

TEST_F(Conversions_Test, InjectorDriveDutyAndFrequency) {
  Configuration.GI_Period = 0;
  EXPECT_EQ(PWM_Duty_Percent(), 0);
  EXPECT_EQ(PWM_Freq_Text(), "0");
  Configuration.GI_Period = 1120;
  PWM_Duty_Set(50);
  EXPECT_EQ(Configuration.GI_Duty, 560);
  EXPECT_EQ(PWM_Duty_Percent(), 50);
  EXPECT_EQ(PWM_Freq_Text(), "14.29");
  Configuration.GI_Period = 100;
  EXPECT_EQ(PWM_Freq_Text(), "160");
  Set_Decimal_Separator(',');
  Configuration.GI_Period = 528;
  EXPECT_EQ(PWM_Freq_Text(), "30,3");
}

TEST_F(Conversions_Test, DecimalTextWithCommaOrPoint) {
  int err = -1;
  EXPECT_DOUBLE_EQ(Text_To_Float("1,5", err), 1.5);
  EXPECT_EQ(err, 0);
  EXPECT_DOUBLE_EQ(Text_To_Float("1.5", err), 1.5);
  EXPECT_EQ(err, 0);
  EXPECT_DOUBLE_EQ(Text_To_Float("-2,25", err), -2.25);
  EXPECT_EQ(err, 0);
  Text_To_Float("1;5", err);
  EXPECT_EQ(err, 2);
  Text_To_Float("1,5,3", err);
  EXPECT_EQ(err, 4);  // the second attempt fails at the second comma
  Text_To_Float("", err);
  EXPECT_EQ(err, 1);
  Text_To_Float("abc", err);
  EXPECT_EQ(err, 1);

  EXPECT_EQ(Text_To_Fixed("12.3", 2, err), 1230);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(Text_To_Fixed("12.345", 2, err), 1234);
  EXPECT_EQ(Text_To_Fixed("12", 2, err), 1200);
  EXPECT_EQ(Text_To_Fixed("1,5", 1, err), 15);
  EXPECT_EQ(Text_To_Fixed("-0,25", 2, err), -25);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(Text_To_Fixed("1x5", 1, err), 0);
  EXPECT_EQ(err, 2);

  EXPECT_EQ(Comma_To_Point("1,5,6"), "1.5.6");
  EXPECT_EQ(Float_To_Int(2.9), 2);
  EXPECT_EQ(Float_To_Int(-2.9), -2);
  EXPECT_EQ(Float_To_Int(0.0), 0);
  EXPECT_EQ(Float_To_Text(0.0), "");
  EXPECT_EQ(Float_To_Text(12.7), "12");
  EXPECT_EQ(Float_To_Text(-12.7), "-12");
  EXPECT_EQ(Bool_To_Text(true), "True");
  EXPECT_EQ(Bool_To_Text(false), "False");
}

TEST_F(Conversions_Test, LineBreaks) { EXPECT_EQ(Remove_Line_Breaks("a\r\nb\nc"), "a b c"); }

TEST_F(Conversions_Test, FixedDecimalFormattersUseTheLocaleSeparator) {
  EXPECT_EQ(Format_Pressure(123), "1.23");
  EXPECT_EQ(Format_Temperature(-55), "-5.5");
  EXPECT_EQ(Format_Temperature(0), "0.0");
  EXPECT_EQ(Format_Gas_Time(32000), "32.00");
  EXPECT_EQ(Format_Gas_Time(3059), "3.05");  // whole tens of microseconds
  EXPECT_EQ(Format_Output(7), "0.07");
  EXPECT_EQ(Format_Factor(7812), "0.78");
  EXPECT_EQ(Format_Gas_Level(1023), "5.00");
  EXPECT_EQ(Format_Gas_Level(512), "2.50");
  // More integer digits than the precision: general format.
  EXPECT_EQ(Format_Pressure(1234567), "1.235E4");
  EXPECT_EQ(Format_Temperature(Temperature_Unknown), "");
  // Exact halves of the last decimal round away from zero, on either side of zero.
  struct Row {
    std::string (*format)(int32_t);
    int32_t value;
    const char* text;
  };
  const Row halves[] = {
      {Format_Factor, 1250, "0.13"},   {Format_Factor, -1250, "-0.13"},
      {Format_Factor, 150, "0.02"},    {Format_Factor, 49, "0.00"},
      {Format_Factor, -49, "0.00"},    {Format_Temperature, -5, "-0.5"},
      {Format_Gas_Time, 1255, "1.25"}, {Format_Gas_Level, 1, "0.00"},
      {Format_Gas_Level, 1023, "5.00"}, {Format_Pressure, -1, "-0.01"},
  };
  for (const Row& row : halves) EXPECT_EQ(row.format(row.value), row.text) << row.value;
  Set_Decimal_Separator(',');
  EXPECT_EQ(Format_Pressure(123), "1,23");
  EXPECT_EQ(Format_Temperature(-55), "-5,5");
}

// ---- text measurement and wrapping ----

// Six pixels per character.
int Six_Per_Char(const std::string& s) { return static_cast<int>(s.size()) * 6; }

TEST_F(Conversions_Test, WrapBreaksAtBlanksWithinTheWidthLessTwenty) {
  // limit 80 - 20 = 60 pixels: ten characters.
  EXPECT_EQ(Wrap_Text_Pixels(80, "short text", Six_Per_Char), "short text");
  EXPECT_EQ(Wrap_Text_Pixels(80, "one two three four five", Six_Per_Char),
            "one two\n\r three\n\r four five");
  // A word wider than the limit stays whole on its own line.
  EXPECT_EQ(Wrap_Text_Pixels(80, "a verylongwordindeed b", Six_Per_Char),
            "a\n\r verylongwordindeed\n\r b");
  EXPECT_EQ(Wrap_Text_Pixels(80, "abcdefghijklmnop", Six_Per_Char), "abcdefghijklmnop");
  EXPECT_EQ(Wrap_Text_Pixels(0, "a b", Six_Per_Char), "a\n\r b");
}

// ---- temperature table ----

class Temperature_Table_Test : public Conversions_Test {
protected:
  void SetUp() override {
    Conversions_Test::SetUp();
    ASSERT_TRUE(Folder.Made());
    Program_Dir = Folder.Path();
    Temperature_File_Name = "KardunGD.dat";
    Temperature_Hooks.Report = [this](const std::string& m) { Reports.push_back(m); };
    Temperature_Hooks.Show_Displays = [this](bool v) { Displays.push_back(v); };
  }
  void Write_Table(const std::vector<int16_t>& records) {
    std::ofstream f(Temperature_File_Path(), std::ios::binary);
    for (int16_t r : records) {
      f.put(static_cast<char>(r & 0xFF));
      f.put(static_cast<char>((r >> 8) & 0xFF));
    }
  }
  // Falls by 2 degrees per count from 100.0 degrees.
  void Write_Falling_Table() {
    std::vector<int16_t> t(1024);
    for (int i = 0; i < 1024; ++i) t[i] = static_cast<int16_t>(1000 - 20 * i);
    Write_Table(t);
  }
  Test_Folder Folder{"temperature"};
  std::vector<std::string> Reports;
  std::vector<bool> Displays;
};

TEST_F(Temperature_Table_Test, CountsReadThroughTheTable) {
  Write_Falling_Table();
  EXPECT_EQ(Raw_To_Temperature(0, 0), 1000);
  EXPECT_EQ(Raw_To_Temperature(0, 10), 800);
  EXPECT_EQ(Raw_To_Temperature(3, 255), 1000 - 20 * 1023);
  EXPECT_EQ(Raw_To_Temperature(0x41, 0), 1000 - 20 * 256);  // 10-bit index
  EXPECT_TRUE(Reports.empty());
  EXPECT_TRUE(Displays.empty());
}

TEST_F(Temperature_Table_Test, InverseFindsNearestEntryLaterOnTies) {
  Write_Falling_Table();
  Byte_Pair b;
  ASSERT_TRUE(Temperature_To_Bytes(60, b));
  EXPECT_EQ(b, Pair(0, 20));  // 1000 - 20 * 20 = 600
  ASSERT_TRUE(Temperature_To_Bytes(99, b));
  EXPECT_EQ(b, Pair(0, 1));   // 990 lies between 1000 and 980: the later one
  ASSERT_TRUE(Temperature_To_Bytes(150, b));
  EXPECT_EQ(b, Pair(0, 0));   // above the table: its first entry
  ASSERT_TRUE(Temperature_To_Bytes(-5000, b));
  EXPECT_EQ(b, Pair(3, 254));  // below: the last entry scanned (1022)
}

TEST_F(Temperature_Table_Test, MissingTableReportedOnceAndReadsUnknownUntilItReturns) {
  EXPECT_EQ(Raw_To_Temperature(0, 10), Temperature_Unknown);
  EXPECT_EQ(Raw_To_Temperature(0, 20), Temperature_Unknown);
  Byte_Pair b = Pair(7, 7);
  EXPECT_FALSE(Temperature_To_Bytes(40, b));
  EXPECT_EQ(b, Pair(7, 7));  // nothing written
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_NE(Reports[0].find("KardunGD.dat"), std::string::npos);
  EXPECT_FALSE(Temperature_File_Found);
  EXPECT_EQ(Displays, std::vector<bool>{false});

  Write_Falling_Table();
  EXPECT_EQ(Raw_To_Temperature(0, 10), 800);
  EXPECT_TRUE(Temperature_File_Found);
  EXPECT_EQ(Displays, (std::vector<bool>{false, true}));

  std::filesystem::remove(Temperature_File_Path());
  EXPECT_EQ(Raw_To_Temperature(0, 10), Temperature_Unknown);
  EXPECT_EQ(Reports.size(), 2u);  // once per loss of the file
}

// A table that is there but short or unreadable is not reported as missing: the one report
// per loss says what is wrong, and the temperature reads as unknown, shown as an empty text.
TEST_F(Temperature_Table_Test, MissingShortAndUnreadableTablesAreToldApart) {
  struct Row {
    const char* what;
    std::function<void()> make;
    const char* text;
  };
  const Row rows[] = {
      {"missing", [] {}, "file not found"},
      {"short", [this] { Write_Table(std::vector<int16_t>(1023, 200)); }, "file is too short"},
      {"empty", [this] { Write_Table({}); }, "file is too short"},
      {"unreadable",
       [this] {
         Write_Falling_Table();
         sys::Set_Read_Hook([](int, void*, size_t) -> ssize_t {
           errno = EIO;
           return -1;
         });
       },
       "file cannot be read"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Conversions_Reset();
    Temperature_File_Found = true;
    Reports.clear();
    Temperature_Hooks.Report = [this](const std::string& m) { Reports.push_back(m); };
    std::filesystem::remove(Temperature_File_Path());
    row.make();
    EXPECT_EQ(Format_Temperature(Raw_To_Temperature(0, 10)), "");
    Byte_Pair b;
    EXPECT_FALSE(Temperature_To_Bytes(25, b));
    sys::Reset_File_Hooks();
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0], "KardunGD.dat " + std::string(row.text) + " Temperature ERROR");
  }
}

TEST_F(Temperature_Table_Test, ATableChangedOnDiskIsReadAnewAndOneThatStaysIsKept) {
  Write_Falling_Table();
  EXPECT_EQ(Raw_To_Temperature(0, 10), 800);
  // Rewritten in place at once: same file, same size.
  Write_Table(std::vector<int16_t>(1024, 250));
  EXPECT_EQ(Raw_To_Temperature(0, 10), 250);
  Byte_Pair b;
  ASSERT_TRUE(Temperature_To_Bytes(25, b));
  EXPECT_EQ(b, Pair(3, 254));  // every record equal: the scan runs to its end
  // An older file, unchanged between reads, keeps reading the same.
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  std::filesystem::last_write_time(Temperature_File_Path(), old);
  EXPECT_EQ(Raw_To_Temperature(0, 10), 250);
  EXPECT_EQ(Raw_To_Temperature(1, 0), 250);
  // Replaced by another file, then gone, then back: each read follows the disk.
  const std::string other = Temperature_File_Path() + ".new";
  {
    std::ofstream f(other, std::ios::binary);
    for (int i = 0; i < 1024; ++i) f.put(static_cast<char>(i & 0xFF)).put(0);
  }
  std::filesystem::rename(other, Temperature_File_Path());
  EXPECT_EQ(Raw_To_Temperature(0, 10), 10);
  std::filesystem::remove(Temperature_File_Path());
  EXPECT_EQ(Raw_To_Temperature(0, 10), Temperature_Unknown);
  EXPECT_EQ(Reports.size(), 1u);
  Write_Falling_Table();
  EXPECT_EQ(Raw_To_Temperature(0, 10), 800);
  EXPECT_EQ(Displays, (std::vector<bool>{false, true}));
}

TEST_F(Temperature_Table_Test, ShippedTableIsAWholeFallingNtcCurve) {
  const std::string shipped = std::string(KARDUN_RESOURCE_DIR) + "/KardunGD.dat";
  ASSERT_EQ(std::filesystem::file_size(shipped), 2048u);
  std::filesystem::copy_file(shipped, Temperature_File_Path());
  int32_t previous = Raw_To_Temperature(0, 0);
  for (int raw = 1; raw < 1024; ++raw) {
    const int32_t t = Raw_To_Temperature(raw / 256, raw % 256);
    EXPECT_LE(t, previous) << raw;
    previous = t;
  }
  EXPECT_EQ(Raw_To_Temperature(0, 0), 1500);
  EXPECT_EQ(Raw_To_Temperature(3, 255), -400);
  const int32_t mid = Raw_To_Temperature(2, 0);
  EXPECT_GT(mid, 300);
  EXPECT_LT(mid, 600);
  Byte_Pair b;
  ASSERT_TRUE(Temperature_To_Bytes(mid / 10, b));
  EXPECT_NEAR(Make_Word(b.High, b.Low), 512, 8);
  EXPECT_TRUE(Reports.empty());
}

}  // namespace
