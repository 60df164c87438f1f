// The shared text routines: ASCII letter case, trimming and the decimal integer reader.
#include "data/Text_Util.h"

#include <gtest/gtest.h>

namespace {

TEST(Text_Util, Letter_Case_Is_Ascii_Only_And_Other_Bytes_Stay)
{
    EXPECT_EQ(Upper_Case("Port_name 7{z}"), "PORT_NAME 7{Z}");
    // Bytes of other code pages are neither changed nor matched across case.
    EXPECT_EQ(Upper_Case("\xE4\xF6x"), "\xE4\xF6X");
    EXPECT_TRUE(Same_Text("KardunGD", "kARDUNgd"));
    EXPECT_FALSE(Same_Text("\xE4", "\xC4"));
    EXPECT_FALSE(Same_Text("Kardun", "KardunGD"));
    EXPECT_FALSE(Same_Text("@", "`"));   // neighbours of the letters are not letters
    EXPECT_TRUE(Same_Text("", ""));
}

TEST(Text_Util, Trim_Drops_Blanks_And_Control_Characters_At_The_Ends_Only)
{
    EXPECT_EQ(Trim("\t\r\n  a b\x01 \x1F"), "a b");
    EXPECT_EQ(Trim(std::string("\0x\0", 3)), "x");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");   // a byte above 32 is text
}

TEST(Text_Util, Scan_Integer_Reads_A_Whole_32_Bit_Number_Or_Names_Where_It_Failed)
{
    int32_t v = 1;
    EXPECT_EQ(Scan_Integer("  -2147483648", v), 0);
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_EQ(Scan_Integer("+2147483647", v), 0);
    EXPECT_EQ(v, INT32_MAX);

    v = 1;
    EXPECT_EQ(Scan_Integer("2147483648", v), 10);   // out of range
    EXPECT_EQ(v, 0);
    EXPECT_EQ(Scan_Integer("99999999999", v), 11);
    EXPECT_EQ(Scan_Integer("12a4", v), 3);
    EXPECT_EQ(Scan_Integer("12 ", v), 3);            // trailing blanks are not read
    EXPECT_EQ(Scan_Integer("-", v), 2);              // digits missing: one past the end
    EXPECT_EQ(Scan_Integer("", v), 1);
}

}  // namespace
