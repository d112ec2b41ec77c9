// Format, FloatToStr, FloatToStrF and StrToFloat against the original platform's rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/SysUtils.h"

using namespace rtl;

namespace {

class rtlFormat : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = FormatSettings();
        FormatSettings() = TFormatSettings{',', '.', ';', '.'};
    }
    void TearDown() override { FormatSettings() = saved_; }
    TFormatSettings saved_;
};

struct FloatCase {
    const char* fmt;
    long double value;
    const char* expected;
};

TEST_F(rtlFormat, FloatTable) {
    const FloatCase cases[] = {
        // Decimal rounding half away from zero on the 18-digit decimal image.
        {"%.1f", 0.35, "0,3"},      // 0.35 is 0.34999999999999997780 as a double
        {"%.1f", 1.05, "1,1"},      // 1.0500000000000000444
        {"%.1f", 0.25, "0,3"},      // exact tie: away from zero
        {"%.1f", -0.25, "-0,3"},
        {"%.2f", 2.675, "2,67"},    // 2.67499999999999982236...
        {"%.2f", 1.005, "1,00"},    // 1.00499999999999989...
        {"%.2f", 1.125, "1,13"},    // exact tie
        {"%.0f", 0.5, "1"},
        {"%.0f", 1.5, "2"},
        {"%.0f", 2.5, "3"},
        {"%.0f", -2.5, "-3"},
        {"%.0f", 0.49, "0"},
        {"%.1f", 0.35L, "0,4"},     // the long double nearest 0.35 lies above it
        {"%.3f", 0.0005, "0,001"},  // 0.0005000000000000000104
        {"%.1f", 9.95, "9,9"},      // 9.9499999999999992894
        {"%.1f", 9.96, "10,0"},     // carry into a new digit
        {"%.2f", 999.999, "1000,00"},
        {"%.1f", -0.04, "0,0"},     // rounded to zero: no sign
        {"%.2f", 0.0, "0,00"},
        {"%f", 3.14159, "3,14"},    // default precision 2
        {"%.5f", 1e-7, "0,00000"},
        {"%.8f", 1e-7, "0,00000010"},
        {"%.2f", 1234567.891, "1234567,89"},  // no grouping for %f
        {"%.2f", 1e17, "100000000000000000,00"},
        // Width pads with blanks; '-' pads on the right; 0 or negative widths do nothing.
        {"%6.2f", 1.5, "  1,50"},
        {"%-6.2f|", 1.5, "1,50  |"},
        {"%2.2f", 12.5, "12,50"},
        {"%0.0f", 12.4, "12"},
        {"%-1.4f", 0.05, "0,0500"},
        {"%6.4f", 0.5, "0,5000"},
        {"%6.2f", 12.5, " 12,50"},
        {"%6.1f", 1234.5, "1234,5"},
        {"%6.0f", 23456, " 23456"},
        {"%6.0f", -99, "   -99"},
        {">%5.1f V/m", 10, "> 10,0 V/m"},
        {"%8.3f MHz", 14.2, "  14,200 MHz"},
        // %n: thousands grouping.
        {"%n", 1234567.891, "1.234.567,89"},
        {"%.0n", 999.5, "1.000"},
        {"%.1n", -1234.56, "-1.234,6"},
        {"%n", 123.0, "123,00"},
        {"%m", 1234.5, "1.234,50"},
        // %e: precision = significant digits (default 15), exponent sign and three digits.
        {"%e", 1.0, "1,00000000000000E+000"},
        {"%e", 1234.5678, "1,23456780000000E+003"},
        {"%.3e", 1234.5678, "1,23E+003"},
        {"%.3e", -0.00012345, "-1,23E-004"},
        {"%.2e", 9.96, "1,0E+001"},
        {"%.4e", 0.0, "0,000E+000"},
        {"%12.3e|", 1.5, "   1,50E+000|"},
        // %g: general, 15 significant digits.
        {"%g", 1.5, "1,5"},
        {"%g", 0.1, "0,1"},
        {"%g", 1.0 / 3.0, "0,333333333333333"},
        {"%g", 1e15, "1E15"},
        {"%g", 1e14, "100000000000000"},
        {"%g", 1e-5, "1E-5"},
        {"%g", 1e-4, "0,0001"},
        {"%.3g", 1234.5, "1,23E3"},
        {"%.4g", 1234.5, "1235"},
        {"%8.3g|", 0.5, "     0,5|"},
        // Special values.
        {"%.2f", std::numeric_limits<long double>::quiet_NaN(), "NAN"},
        {"%.2f", std::numeric_limits<long double>::infinity(), "INF"},
        {"%6.2f", -std::numeric_limits<long double>::infinity(), "  -INF"},
        {"%e", std::numeric_limits<long double>::infinity(), "INF"},
        {"%g", -std::numeric_limits<long double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fmt);
        SCOPED_TRACE(static_cast<double>(c.value));
        EXPECT_EQ(Format(c.fmt, c.value), c.expected);
    }
}

TEST_F(rtlFormat, DoubleAndFloatArgumentsAreWidenedExactly) {
    EXPECT_EQ(Format("%.1f", 0.35), "0,3");
    EXPECT_EQ(Format("%.1f", 0.35f), "0,3");  // 0.35f is 0.349999994039535522...
    EXPECT_EQ(Format("%.2f", static_cast<float>(0.125)), "0,13");
}

TEST_F(rtlFormat, Integers) {
    EXPECT_EQ(Format("%d", 42), "42");
    EXPECT_EQ(Format("%d", -42), "-42");
    EXPECT_EQ(Format("%5d|", 42), "   42|");
    EXPECT_EQ(Format("%-5d|", 42), "42   |");
    EXPECT_EQ(Format("%1d", 20), "20");
    EXPECT_EQ(Format("%.3d", 7), "007");
    EXPECT_EQ(Format("%.3d", -7), "-007");
    EXPECT_EQ(Format("%6.3d", 7), "   007");
    EXPECT_EQ(Format("%d", 9000000000LL), "9000000000");
    EXPECT_EQ(Format("%d", std::numeric_limits<long long>::min()), "-9223372036854775808");
    EXPECT_EQ(Format("%u", 42u), "42");
    EXPECT_EQ(Format("%u", -1), "4294967295");
    EXPECT_EQ(Format("%x", 255), "FF");
    EXPECT_EQ(Format("%.4x", 255), "00FF");
    EXPECT_EQ(Format("%x", -1), "FFFFFFFF");
    EXPECT_EQ(Format("%x", -1LL), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Format("%X", 0xABCD), "ABCD");
    EXPECT_EQ(Format("%D", 3), "3");
    EXPECT_EQ(Format("%d", static_cast<short>(-3)), "-3");
}

TEST_F(rtlFormat, StringsCharsPointers) {
    EXPECT_EQ(Format("%s", "abc"), "abc");
    EXPECT_EQ(Format("%s", std::string("x y")), "x y");
    EXPECT_EQ(Format("%5s|", "ab"), "   ab|");
    EXPECT_EQ(Format("%-5s|", "ab"), "ab   |");
    EXPECT_EQ(Format("%.2s", "abcdef"), "ab");
    EXPECT_EQ(Format("%s", 'c'), "c");
    EXPECT_EQ(Format("%s", ""), "");
    EXPECT_EQ(Format("%p", reinterpret_cast<const void*>(0x1234)), "0000000000001234");
    EXPECT_EQ(Format("Wert: %s kV", std::string_view("12")), "Wert: 12 kV");
    EXPECT_EQ(Format("ohne Argumente"), "ohne Argumente");
}

TEST_F(rtlFormat, IndexStarAndPercent) {
    EXPECT_EQ(Format("100%%"), "100%");
    EXPECT_EQ(Format("%d%%", 5), "5%");
    EXPECT_EQ(Format("%1:s %0:s", "a", "b"), "b a");
    EXPECT_EQ(Format("%1:s %0:s %s", "a", "b"), "b a b");
    EXPECT_EQ(Format("%0:s-%0:s", "x"), "x-x");
    EXPECT_EQ(Format("%*d|", 5, 42), "   42|");
    EXPECT_EQ(Format("%-*d|", 5, 42), "42   |");
    EXPECT_EQ(Format("%*d|", -5, 42), "42   |");  // negative width from '*': left-justify
    EXPECT_EQ(Format("%*.*f|", 8, 3, 1.5), "   1,500|");
    EXPECT_EQ(Format("%.*f", 1, 0.25), "0,3");
    EXPECT_EQ(Format("%0:*.*f", 6, 1, 2.25), "   2,3");
}

TEST_F(rtlFormat, MismatchRaisesConvertError) {
    auto expectInvalid = [](auto&& f, const char* fmt) {
        try {
            f();
            ADD_FAILURE() << "no exception for " << fmt;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, std::string("Format '") + fmt + "' ungültig oder nicht kompatibel mit Argument");
            EXPECT_STREQ(e.ClassName(), "EConvertError");
        }
    };
    expectInvalid([] { (void)Format("%d", 1.5); }, "%d");
    expectInvalid([] { (void)Format("%f", 1); }, "%f");
    expectInvalid([] { (void)Format("%s", 1); }, "%s");
    expectInvalid([] { (void)Format("%d", "1"); }, "%d");
    expectInvalid([] { (void)Format("%x", 1.0); }, "%x");
    expectInvalid([] { (void)Format("%p", 1); }, "%p");
    expectInvalid([] { (void)Format("%d %d", 1); }, "%d %d");
    expectInvalid([] { (void)Format("%q", 1); }, "%q");
    expectInvalid([] { (void)Format("abc %", 1); }, "abc %");
    expectInvalid([] { (void)Format("%5", 1); }, "%5");
    expectInvalid([] { (void)Format("%d", true); }, "%d");
    expectInvalid([] { (void)Format("%*d", 1.5, 2); }, "%*d");
}

TEST_F(rtlFormat, UsesTheFormatSettingsCopy) {
    FormatSettings().DecimalSeparator = '.';
    FormatSettings().ThousandSeparator = ',';
    EXPECT_EQ(Format("%.2f", 1.5), "1.50");
    EXPECT_EQ(Format("%n", 1234.5), "1,234.50");
    TFormatSettings fs{',', ' ', ';', ' '};
    EXPECT_EQ(FormatV("%n", std::vector<TVarRec>{TVarRec(1234567.0)}, fs), "1 234 567,00");
}

// ---- FloatToStr / FloatToStrF --------------------------------------------------------------

TEST_F(rtlFormat, FloatToStrTable) {
    const struct {
        long double v;
        const char* s;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {1.5, "1,5"},
        {-1.5, "-1,5"},
        {0.1, "0,1"},
        {0.35, "0,35"},
        {100.0, "100"},
        {1.0 / 3.0, "0,333333333333333"},
        {2.0 / 3.0, "0,666666666666667"},
        {123456.789, "123456,789"},
        {1e14, "100000000000000"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
        {1.5e20, "1,5E20"},
        {-2.5e-20, "-2,5E-20"},
        {1e-7, "1E-7"},
        {1e-5, "1E-5"},
        {1.5e-5, "1,5E-5"},
        {1e-4, "0,0001"},
        {0.00012345, "0,00012345"},
        {123456789012345678.0L, "1,23456789012346E17"},
        {0.1L + 0.2L, "0,3"},
        {3.141592653589793238L, "3,14159265358979"},
        {9.9999999999999999e22, "1E23"},
        {std::numeric_limits<long double>::quiet_NaN(), "NAN"},
        {std::numeric_limits<long double>::infinity(), "INF"},
        {-std::numeric_limits<long double>::infinity(), "-INF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.s);
        EXPECT_EQ(FloatToStr(c.v), c.s);
    }
    TFormatSettings dot{'.', ',', ',', ','};
    EXPECT_EQ(FloatToStr(1.5, dot), "1.5");
    EXPECT_EQ(FloatToStr(1.5e20, dot), "1.5E20");
}

TEST_F(rtlFormat, FloatToStrFTable) {
    using F = TFloatFormat;
    EXPECT_EQ(FloatToStrF(1234.5678, F::ffFixed, 15, 2), "1234,57");
    EXPECT_EQ(FloatToStrF(1234.5678, F::ffFixed, 15, 0), "1235");
    EXPECT_EQ(FloatToStrF(0.35, F::ffFixed, 15, 1), "0,3");
    EXPECT_EQ(FloatToStrF(1234.5678, F::ffNumber, 15, 2), "1.234,57");
    EXPECT_EQ(FloatToStrF(-1234567.5, F::ffNumber, 15, 0), "-1.234.568");
    EXPECT_EQ(FloatToStrF(1234.5, F::ffCurrency, 15, 2), "1.234,50");
    EXPECT_EQ(FloatToStrF(1234.5678, F::ffExponent, 4, 2), "1,235E+03");
    EXPECT_EQ(FloatToStrF(1234.5678, F::ffExponent, 4, 0), "1,235E+3");
    EXPECT_EQ(FloatToStrF(-0.00015, F::ffExponent, 2, 3), "-1,5E-004");
    EXPECT_EQ(FloatToStrF(1234.5678, F::ffGeneral, 6, 0), "1234,57");
    EXPECT_EQ(FloatToStrF(1234.5678, F::ffGeneral, 3, 0), "1,23E3");
    EXPECT_EQ(FloatToStrF(1234.5678, F::ffGeneral, 3, 2), "1,23E03");
    EXPECT_EQ(FloatToStrF(0.000012345, F::ffGeneral, 3, 0), "1,23E-5");
    EXPECT_EQ(FloatToStrF(0.5, F::ffGeneral, 15, 0), "0,5");
    EXPECT_EQ(FloatToStrF(1e10, F::ffFixed, 5, 2), "1E10");  // more integer digits than Precision
}

// ---- StrToFloat ----------------------------------------------------------------------------

TEST_F(rtlFormat, StrToFloatAcceptsTheGrammar) {
    const struct {
        const char* s;
        long double v;
    } ok[] = {
        {"1,5", 1.5L},       {" 1,5", 1.5L},    {"1,5 ", 1.5L},    {"\t-1,5\t", -1.5L},
        {"+2", 2.0L},        {"1,", 1.0L},      {",5", 0.5L},      {"-,5", -0.5L},
        {"0", 0.0L},         {"007", 7.0L},     {"1e3", 1000.0L},  {"1E+3", 1000.0L},
        {"1,5e-2", 0.015L},  {"2E0", 2.0L},     {"  12,25  ", 12.25L},
        {"0,1", 0.1L},       {"2,675", 2.675L}, {"1e400", 1e400L}, {"123456789012345678901234567890", 123456789012345678901234567890.0L},
    };
    for (const auto& c : ok) {
        SCOPED_TRACE(c.s);
        EXPECT_EQ(StrToFloat(c.s), c.v);  // exact: correctly rounded to long double
    }
    EXPECT_TRUE(std::signbit(StrToFloat("-0")));
    EXPECT_EQ(StrToFloat("1e-5000"), 0.0L);  // underflows quietly
}

TEST_F(rtlFormat, StrToFloatRejectsEverythingElse) {
    const char* bad[] = {"",     " ",    "1.5",  "1,5x", "--1",  "1e",   "1e+",  ",",    "-",
                         "+",    "inf",  "INF",  "nan",  "NAN",  "0x10", "1,5,3", "1 5", "e5",
                         "1,5 x", "1.000,5", "+-1", "1e5000", "1,5e2,0", "\n1", "1\r", "٣", "1_0"};
    for (const char* s : bad) {
        SCOPED_TRACE(s);
        try {
            (void)StrToFloat(s);
            ADD_FAILURE() << "accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, std::string("'") + s + "' ist kein gültiger Gleitkommawert");
        }
        long double v = 42;
        EXPECT_FALSE(TryStrToFloat(s, v));
        EXPECT_EQ(v, 42.0L);
        EXPECT_EQ(StrToFloatDef(s, -1), -1.0L);
    }
}

TEST_F(rtlFormat, StrToFloatUsesTheCopysSeparatorOnly) {
    const TFormatSettings dot{'.', ',', ',', ','};
    EXPECT_EQ(StrToFloat("1.5", dot), 1.5L);
    EXPECT_THROW((void)StrToFloat("1,5", dot), EConvertError);
    FormatSettings().DecimalSeparator = '.';
    EXPECT_EQ(StrToFloat("0.25"), 0.25L);
    EXPECT_THROW((void)StrToFloat("0,25"), EConvertError);
}

TEST_F(rtlFormat, RoundTripThroughText) {
    // FloatToStr's 15 digits read back within the relative error of 15 digits.
    for (long double v : {0.1L, 1.0L / 3, 12345.678L, 1e-7L, 6.02214076e23L}) {
        const long double back = StrToFloat(FloatToStr(v));
        EXPECT_NEAR(static_cast<double>(back / v), 1.0, 1e-14);
    }
}

}  // namespace
