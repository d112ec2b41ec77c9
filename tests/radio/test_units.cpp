#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/rtl/SysUtils.h"
#include "radio/UnitConversionLib.h"

namespace {

using FactorFunction = double (*)(const std::string&);

struct FactorRow {
    FactorFunction Function;
    const char* Unit;
    double Factor;
};

const FactorRow Factors[] = {
    {InductanceFactor, "H", 1},       {InductanceFactor, "mH", 1e-3},
    {InductanceFactor, "\u00B5H", 1e-6}, {InductanceFactor, "uH", 1e-6},
    {InductanceFactor, "nH", 1e-9},   {InductanceFactor, "pH", 1e-12},
    {InductanceFactor, "fH", 1e-15},
    {CapacitanceFactor, "F", 1},      {CapacitanceFactor, "mF", 1e-3},
    {CapacitanceFactor, "\u00B5F", 1e-6}, {CapacitanceFactor, "uF", 1e-6},
    {CapacitanceFactor, "nF", 1e-9},  {CapacitanceFactor, "pF", 1e-12},
    {CapacitanceFactor, "fF", 1e-15},
    {FrequencyFactor, "THz", 1e12},   {FrequencyFactor, "GHz", 1e9},
    {FrequencyFactor, "MHz", 1e6},    {FrequencyFactor, "kHz", 1e3},
    {FrequencyFactor, "Hz", 1},       {FrequencyFactor, "mHz", 1e-3},
    {FrequencyFactor, "\u00B5Hz", 1e-6}, {FrequencyFactor, "uHz", 1e-6},
    {FrequencyFactor, "nHz", 1e-9},   {FrequencyFactor, "pHz", 1e-12},
    {FrequencyFactor, "fHz", 1e-15},
    {LengthFactor, "Tm", 1e12},       {LengthFactor, "Gm", 1e9},
    {LengthFactor, "Mm", 1e6},        {LengthFactor, "km", 1e3},
    {LengthFactor, "m", 1},           {LengthFactor, "dm", 0.1},
    {LengthFactor, "cm", 0.01},       {LengthFactor, "mm", 1e-3},
    {LengthFactor, "\u00B5m", 1e-6},  {LengthFactor, "um", 1e-6},
    {LengthFactor, "nm", 1e-9},       {LengthFactor, "pm", 1e-12},
    {LengthFactor, "fm", 1e-15},      {LengthFactor, "am", 1e-18},
    // Unknown texts give 1: other case, blanks, empty, another quantity's unit.
    {FrequencyFactor, "khz", 1},      {FrequencyFactor, "MHZ", 1},
    {FrequencyFactor, " MHz", 1},     {FrequencyFactor, "MHz ", 1},
    {FrequencyFactor, "", 1},         {FrequencyFactor, "mm", 1},
    {InductanceFactor, "pF", 1},      {InductanceFactor, "MH", 1},
    {CapacitanceFactor, "uH", 1},     {CapacitanceFactor, "Uf", 1},
    {LengthFactor, "Km", 1},          {LengthFactor, "Hz", 1},
    {LengthFactor, "\xB5m", 1},
};

TEST(UnitFactors, Table)
{
    for (const FactorRow& R : Factors) {
        SCOPED_TRACE(R.Unit);
        EXPECT_EQ(R.Function(R.Unit), R.Factor);
    }
}

class FormatWithPrefixTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Saved = rtl::FormatSettings();
        rtl::FormatSettings().DecimalSeparator = ',';
        rtl::FormatSettings().ThousandSeparator = '.';
    }
    void TearDown() override { rtl::FormatSettings() = Saved; }
    rtl::TFormatSettings Saved;
};

TEST_F(FormatWithPrefixTest, PrefixByDecade)
{
    const struct {
        const char* Unit;
        double Value;
        const char* Expected;
    } Cases[] = {
        {"F", 4.7e-10, "470,000 pF"},
        {"Hz", 7.05e6, "7,050 MHz"},
        {"H", 0, "0,000 H"},
        {"Hz", 3e9, "3000,000 MHz"},  // "M" spans the decades 6 to 9
        {"Hz", 5032921.2, "5,033 MHz"},
        {"F", 2.5e-14, "0,025 pF"},   // lowest decade with a prefix
        {"F", 3.3e-9, "3,300 nF"},
        {"F", 4.7e-8, "47,000 nF"},
        {"H", 2.2e-5, "22,000 \u00B5H"},
        {"H", 1.5e-3, "1,500 mH"},
        {"H", 0.25, "250,000 mH"},
        {"m", 123.456, "123,456 m"},
        {"m", 5.5, "5,500 m"},
        {"Hz", 1500, "1,500 kHz"},
        {"Hz", 999999.4, "999,999 kHz"},
        {"Hz", 1.5e10, "15,000 GHz"},
        {"Hz", 2.5e13, "25,000 THz"},
        {"Hz", 9.5e15, "9500,000 THz"},  // highest decade with a prefix
        {"H", -5, "-5,000 H"},           // no decade below zero: no prefix
        {"F", 5e-15, "0,000 F"},         // below the table: no prefix
        {"", 2500, "2,500 k"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Expected);
        EXPECT_EQ(FormatWithPrefix(C.Unit, C.Value), C.Expected);
    }
}

TEST_F(FormatWithPrefixTest, UsesLocaleDecimalSeparator)
{
    rtl::FormatSettings().DecimalSeparator = '.';
    EXPECT_EQ(FormatWithPrefix("Hz", 7.05e6), "7.050 MHz");
}

TEST_F(FormatWithPrefixTest, NonFiniteValuesDoNotRaise)
{
    // An infinite frequency (1 / sqrt(L * C) with L * C underflowing to 0) has no decade.
    std::string Text;
    EXPECT_NO_THROW(Text = FormatWithPrefix("Hz", std::numeric_limits<double>::infinity()));
    EXPECT_EQ(Text.substr(Text.size() - 3), " Hz");
    EXPECT_NO_THROW(Text = FormatWithPrefix("Hz", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(Text.substr(Text.size() - 3), " Hz");
}

}  // namespace
