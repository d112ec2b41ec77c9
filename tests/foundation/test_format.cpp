#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "foundation/FormatLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Number text depends on the locale copy: fix ',' as decimal separator.
class FormatLibTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = rtl::FormatSettings();
        rtl::FormatSettings().DecimalSeparator = ',';
        rtl::FormatSettings().ThousandSeparator = '.';
    }
    void TearDown() override { rtl::FormatSettings() = saved_; }
    rtl::TFormatSettings saved_;
};

TEST_F(FormatLibTest, OneArgumentFormats)
{
    EXPECT_EQ(FormatInt("%d Punkte", 42), "42 Punkte");
    EXPECT_EQ(FormatInt64("%d", 5000000000LL), "5000000000");
    EXPECT_EQ(FormatStr("<%s>", "abc"), "<abc>");
    EXPECT_EQ(FormatDouble("%8.3f MHz", 14.2), "  14,200 MHz");
    EXPECT_EQ(FormatDouble("%4.1f", 0.25), " 0,3");  // half away from zero
    EXPECT_EQ(FormatDouble("%4.1f", -0.25), "-0,3");
}

TEST_F(FormatLibTest, FormatPositiveShowsNoValueAsDashes)
{
    EXPECT_EQ(FormatPositive("%5.2f", 1.5), " 1,50");
    for (double X : {0.0, -1.0, -99.0, kNaN}) EXPECT_EQ(FormatPositive("%5.2f", X), "---") << X;
}

TEST_F(FormatLibTest, FormatAutoTable)
{
    struct Case { double X; const char* Expected; };
    const Case Cases[] = {
        {0.0, "0,0000"},     {0.5, "0,5000"},    {0.99999, "1,0000"}, {1.0, "  1,00"},
        {12.5, " 12,50"},    {100.0, "100,00"},  {999.5, "999,50"},   {1000.0, "1000,0"},
        {1234.5, "1234,5"},  {9999.9, "9999,9"}, {10000.0, " 10000"},  {23456.0, " 23456"},
        {-99.0, "   -99"},   {-0.5, "    -1"},
    };
    for (const Case& C : Cases) EXPECT_EQ(FormatAuto(C.X), C.Expected) << C.X;
}

TEST_F(FormatLibTest, FormatSigDigitsTable)
{
    struct Case { int N; double X; const char* Expected; };
    const Case Cases[] = {
        {3, 12.3456, "12,3"},  {3, 0.05, "0,0500"},    {2, 1234.4, "1234"},
        {4, 1234.4, "1234"},   {5, 1234.46, "1234,5"}, {1, 5.0, "5"},
        {3, 0.0, "0,00"},      {3, 0.00123, "0,00123"}, {2, 0.5, "0,50"},
        {3, 1.0, "1,00"},      {3, 100.0, "100"},       {2, 99.96, "100"},
        {4, 10.0, "10,00"},    {2, 0.1, "0,10"},        {4, 1000.0, "1000"},
        {4, 44.6299, "44,63"}, {4, 168.14, "168,1"},
        {3, -1.0, "---"},      {3, -99.0, "---"},        {3, kNaN, "---"},
        {3, std::numeric_limits<double>::infinity(), "---"},
    };
    for (const Case& C : Cases) EXPECT_EQ(FormatSigDigits(C.N, C.X), C.Expected) << C.N << " " << C.X;
}

TEST_F(FormatLibTest, FormatCappedTable)
{
    struct Case { const char* Fmt; double X, Cap; const char* Expected; };
    const Case Cases[] = {
        {"%5.1f", 12, 10, "> 10,0"},
        {"%5.1f", 8, 10, "  8,0"},
        {"%5.1f", 10, 10, " 10,0"},  // equal is not capped
        {"%5.1f V/m", 12, 10, "> 10,0 V/m"},
        {"E = %4.1f", 20, 10, "E = >10,0"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(FormatCapped(C.Fmt, C.X, C.Cap), C.Expected) << C.Fmt << " " << C.X;
}

TEST_F(FormatLibTest, ColumnLinePlacesItemsAtColumns)
{
    EXPECT_EQ(ColumnLine({0, 40, 52}, StringArray{"40m-Dipol", "01.02.2024", "12:00:00"}),
              "40m-Dipol" + std::string(31, ' ') + "01.02.2024" + "  " + "12:00:00");
    // An item that would start left of the current end follows immediately.
    EXPECT_EQ(ColumnLine({0, 2, 3}, StringArray{"abcd", "ef", "g"}), "abcdefg");
    // Columns count characters, not bytes.
    EXPECT_EQ(ColumnLine({0, 4}, StringArray{"µT", "x"}), "µT  x");
    EXPECT_EQ(ColumnLine({5}, StringArray{}), "");
}

TEST_F(FormatLibTest, ColumnLineWithValues)
{
    EXPECT_EQ(ColumnLine({0, 11, 22}, DoubleArray{1.5, -2.25, 0}, "%8.5f"),
              " 1,50000" "   " "-2,25000" "   " " 0,00000");
}

TEST_F(FormatLibTest, ColumnLineNeedsAColumnPerItem)
{
    EXPECT_THROW(ColumnLine({0}, StringArray{"a", "b"}), rtl::ERangeError);
}

TEST_F(FormatLibTest, CRLFs)
{
    EXPECT_EQ(CRLFs(2), "\r\n\r\n");
    EXPECT_EQ(CRLFs(0), "");
    EXPECT_EQ(CRLFs(-3), "");
}

}  // namespace
