// The RPM-dependence table's byte image, its checks and the live-cell search.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Conversions.h"
#include "protocol/RPM_Tab_Codec.h"

namespace {

using namespace rpm_tab;

constexpr uint32_t Source = 1500000;   // the factory RPM constant

class RPM_Tab_Codec : public ::testing::Test {
protected:
    void SetUp() override { Set_Decimal_Separator('.'); }
    void TearDown() override { Set_Decimal_Separator(0); }
};

// One value through one byte codec: what the controller receives.
struct Byte_Row {
    const char* What;
    int Got;
    int Expected;
};

TEST_F(RPM_Tab_Codec, ValuesEncodeAsTheControllerHoldsThem)
{
    int V = 0;
    auto Cell = [&](const char* Text) { return Cell_Value(Text, V) ? int(Cell_Byte(V)) : -1; };
    const Byte_Row Rows[] = {
        {"1.00 is neutral", Cell("1,00"), 128},
        {"1.99", Cell("1.99"), 254},
        {"0.01", Cell("0,01"), 1},
        {"2.50 is held as 255", Cell("2.5"), 255},
        {"a factor below 0 is held as 0", Cell("-0.5"), 0},
        {"a cell that does not read", Cell("x1"), -1},
        {"4.5 V", Row_Byte(450), 230},
        {"5.00 V", Row_Byte(500), 255},
        {"above 5.00 V", Row_Byte(731), 255},
        {"0 V", Row_Byte(0), 0},
        {"0.2 V", Row_Byte(20), 11},
        {"0 rpm is no speed", Col_Word(Source, 0), 0xFFFF},
        {"2500 rpm", Col_Word(Source, 2500), 600},
        {"a speed too high for a word", Col_Word(Source, 3000000), 1},
        {"a speed too low for a word", Col_Word(Source, 1), 0xFFFE},
        {"a word FF FF reads as 0", Word_RPM(Source, 0xFFFF), 0},
        {"a word 0 reads as 0", Word_RPM(Source, 0), 0},
        {"3200 rpm reads back whole", Word_RPM(Source, Col_Word(Source, 3200)), 3200},
        {"a word that was no whole hundred", Word_RPM(Source, 467), 3211},
        {"254 reads back as 1.99", Byte_Hundredths(254), 199},
        {"128 reads as 1.00", Byte_Hundredths(128), 100},
        {"4 has no factor of its own", Byte_Hundredths(4), 3},
        {"230 reads as 4.5 V", Byte_Tenths(230), 45},
        {"image length of 13 x 24", Image_Length(13, 24) + 2, 364},
    };
    for (const Byte_Row& R : Rows)
        EXPECT_EQ(R.Got, R.Expected) << R.What;
}

TEST_F(RPM_Tab_Codec, EveryValidSizeReadsBackAsWritten)
{
    int Sizes = 0;
    for (int Cols = 0; Cols <= Max_Cols + 1; ++Cols)
        for (int Rows = 0; Rows <= Max_Rows + 2; ++Rows) {
            if (!Size_Valid(Cols, Rows)) {
                Texts Out;
                EXPECT_FALSE(Decode(std::vector<uint8_t>(400).data(), 400, Cols, Rows, Source, Out))
                    << Cols << " x " << Rows;
                continue;
            }
            ++Sizes;
            Texts T = Default_Texts(Cols, Rows);
            // Cells over the whole range, headers edited as the editor writes them.
            for (int C = 0; C < Cols; ++C)
                for (int R = 0; R < Rows; ++R)
                    T.At(C, R) = Factor_Text(1 + (C * 37 + R * 11) % 199);
            T.Col[static_cast<size_t>(Cols - 1)] = RPM_Text(Default_Col_RPM(Cols).back() + 100);
            T.Row[0] = "0.1";
            const std::vector<uint8_t> Image = Encode(T, Source);
            ASSERT_EQ(Image.size(), static_cast<size_t>(Image_Length(Cols, Rows) + 2));
            Texts Back;
            ASSERT_TRUE(Decode(Image.data() + 2, Image.size() - 2, Cols, Rows, Source, Back));
            EXPECT_EQ(Back.Col, T.Col) << Cols << " x " << Rows;
            EXPECT_EQ(Back.Row, T.Row) << Cols << " x " << Rows;
            // A column of 0 rpm comes back as "0" like any other; cells as the editor writes them.
            for (int C = 0; C < Cols; ++C)
                for (int R = 0; R < Rows; ++R)
                    ASSERT_EQ(Back.At(C, R), T.At(C, R)) << Cols << " x " << Rows << " cell " << C << "," << R;
        }
    EXPECT_EQ(Sizes, 12 * 12);
    // Too short an image is refused.
    Texts Out;
    EXPECT_FALSE(Decode(std::vector<uint8_t>(361).data(), 361, 13, 24, Source, Out));
}

}  // namespace
