#include "radio/UnitConversionLib.h"

#include <cmath>
#include <initializer_list>
#include <string_view>

#include "foundation/MathLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct UnitFactor {
    std::string_view Text;
    double Factor;
};

double LookupFactor(std::initializer_list<UnitFactor> Table, const std::string& UnitText)
{
    for (const UnitFactor& U : Table)
        if (UnitText == U.Text) return U.Factor;
    return 1;
}

struct Prefix {
    int FirstDecade;
    int LastDecade;
    std::string_view Text;
    long double Multiplier;
};

constexpr Prefix Prefixes[] = {
    {-14, -10, "p", 1e12L},
    {-9, -7, "n", 1e9L},
    {-6, -4, "\u00B5", 1e6L},
    {-3, -1, "m", 1e3L},
    {0, 2, "", 1},
    {3, 5, "k", 1e-3L},
    {6, 9, "M", 1e-6L},
    {10, 12, "G", 1e-9L},
    {13, 15, "T", 1e-12L},
};

}  // namespace

double InductanceFactor(const std::string& UnitText)
{
    return LookupFactor({{"H", 1},
                         {"mH", 1e-3},
                         {"\u00B5H", 1e-6},
                         {"uH", 1e-6},
                         {"nH", 1e-9},
                         {"pH", 1e-12},
                         {"fH", 1e-15}},
                        UnitText);
}

double CapacitanceFactor(const std::string& UnitText)
{
    return LookupFactor({{"F", 1},
                         {"mF", 1e-3},
                         {"\u00B5F", 1e-6},
                         {"uF", 1e-6},
                         {"nF", 1e-9},
                         {"pF", 1e-12},
                         {"fF", 1e-15}},
                        UnitText);
}

double FrequencyFactor(const std::string& UnitText)
{
    return LookupFactor({{"THz", 1e12},
                         {"GHz", 1e9},
                         {"MHz", 1e6},
                         {"kHz", 1e3},
                         {"Hz", 1},
                         {"mHz", 1e-3},
                         {"\u00B5Hz", 1e-6},
                         {"uHz", 1e-6},
                         {"nHz", 1e-9},
                         {"pHz", 1e-12},
                         {"fHz", 1e-15}},
                        UnitText);
}

double LengthFactor(const std::string& UnitText)
{
    return LookupFactor({{"Tm", 1e12},
                         {"Gm", 1e9},
                         {"Mm", 1e6},
                         {"km", 1e3},
                         {"m", 1},
                         {"dm", 0.1},
                         {"cm", 0.01},
                         {"mm", 1e-3},
                         {"\u00B5m", 1e-6},
                         {"um", 1e-6},
                         {"nm", 1e-9},
                         {"pm", 1e-12},
                         {"fm", 1e-15},
                         {"am", 1e-18}},
                        UnitText);
}

std::string FormatWithPrefix(const std::string& UnitText, double Value)
{
    // Decade of the value, rounded towards minus infinity; 0 and below give decade 0. An
    // infinite value has no decade and is written as it is.
    const int Decade = std::isfinite(Value) ? FloorInt(Log10OrZero(Value)) : 0;
    std::string_view PrefixText;
    long double Multiplier = 1;
    for (const Prefix& P : Prefixes)
        if (Decade >= P.FirstDecade && Decade <= P.LastDecade) {
            PrefixText = P.Text;
            Multiplier = P.Multiplier;
            break;
        }
    const long double Number = static_cast<long double>(Value) * Multiplier;
    std::string Result = rtl::FloatToStrF(Number, rtl::TFloatFormat::ffFixed, 7, 3);
    Result += ' ';
    Result += PrefixText;
    Result += UnitText;
    return Result;
}
