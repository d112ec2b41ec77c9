// Unit UnitConversionLib: factors of unit texts with an SI prefix ("mH", "pF", "MHz", "cm" ...)
// and the display of a value with a fitting prefix. Pure functions without state.
#pragma once

#include <string>

// Factor that turns a value in the unit UnitText into the base unit (H, F, Hz, m). Texts are
// compared exactly and case-sensitively; "µ" (U+00B5) may be written as "u". Any other text,
// an empty one included, gives 1.
double InductanceFactor(const std::string& UnitText);
double CapacitanceFactor(const std::string& UnitText);
double FrequencyFactor(const std::string& UnitText);
double LengthFactor(const std::string& UnitText);

// Value (in the base unit) with the prefix of its decade, three decimals and the locale's
// decimal separator, then a blank, the prefix and UnitText: FormatWithPrefix("F", 4.7e-10) is
// "470,000 pF". Decades from -14 to 15 get a prefix (p n µ m - k M G T; "M" covers 6 to 9);
// other values, 0, negative and non-finite ones are written without prefix.
std::string FormatWithPrefix(const std::string& UnitText, double Value);
