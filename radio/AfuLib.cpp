#include "radio/AfuLib.h"

#include <array>
#include <cmath>
#include <string_view>

#include "foundation/MathLib.h"
#include "foundation/StrUtilsLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct AfuBand {
    std::string_view Name;
    double Low;   // MHz, part of the band
    double High;  // MHz, part of the band
};

// Index i of the band table is band i + 1. Names keep the comma as decimal mark; they are
// compared as texts only.
constexpr std::array<AfuBand, AfuBandNumber> AfuBandTable{{
    {"LW", 0.1357, 0.1378},
    {"MW", 0.472, 0.479},
    {"160m", 1.81, 2.0},
    {"80m", 3.5, 3.8},
    {"60m", 5.3515, 5.3665},
    {"40m", 7.0, 7.2},
    {"30m", 10.1, 10.15},
    {"20m", 14.0, 14.35},
    {"17m", 18.068, 18.168},
    {"15m", 21.0, 21.45},
    {"12m", 24.89, 24.99},
    {"10m", 28.0, 29.7},
    {"6m", 50, 51},
    {"4m", 70, 70.03},
    {"2m", 144, 146},
    {"70cm", 430, 440},
    {"23cm", 1240, 1300},
    {"13cm", 2320, 2450},
    {"9cm", 3400, 3475},
    {"6cm", 5650, 5950},
    {"3cm", 10000, 10500},
    {"1,2cm", 24000, 24250},
    {"6,4mm", 47000, 47200},
    {"3,9mm", 75500, 81000},
    {"2,5mm", 119980, 120020},
    {"2mm", 142000, 149000},
    {"1,2mm", 241000, 250000},
}};

constexpr std::array<std::string_view, 9> ModeNames{
    "PS", "CW", "SSB", "AM", "FM", "TV", "GSM", "DTX", "Alle"};

bool ValidBand(int Index) { return Index >= 1 && Index <= AfuBandNumber; }

const AfuBand& Band(int Index) { return AfuBandTable[static_cast<std::size_t>(Index - 1)]; }

bool BandContains(int Index, double FreqMHz)
{
    return InClosedRange2(FreqMHz, Band(Index).Low, Band(Index).High);
}

}  // namespace

double AfuBandLow(int Index) { return ValidBand(Index) ? Band(Index).Low : NoValue; }

double AfuBandHigh(int Index) { return ValidBand(Index) ? Band(Index).High : NoValue; }

double AfuBandCenter(int Index) { return (AfuBandLow(Index) + AfuBandHigh(Index)) / 2; }

std::string AfuBandName(int Index)
{
    return ValidBand(Index) ? std::string(Band(Index).Name) : std::string("Fehler");
}

int16_t AfuBandIndex(const std::string& Name)
{
    const std::string Key = TrimSpaces(Name);
    int16_t Result = NoValueSmallInt;
    for (int I = 1; I <= AfuBandNumber; ++I)
        if (Key == Band(I).Name) Result = static_cast<int16_t>(I);
    return Result;
}

int16_t AfuBandOfFreq(double FreqMHz)
{
    int16_t Result = NoValueSmallInt;
    for (int I = 1; I <= AfuBandNumber; ++I)
        if (BandContains(I, FreqMHz)) Result = static_cast<int16_t>(I);
    return Result;
}

int16_t AfuBandCount(double FreqMHz)
{
    int N = 0;
    for (int I = 1; I <= AfuBandNumber; ++I)
        if (Band(I).High < FreqMHz) N = I;
    if (N == 0) return BandContains(1, FreqMHz) ? int16_t(1) : NoValueSmallInt;
    if (N < AfuBandNumber && BandContains(N + 1, FreqMHz)) return static_cast<int16_t>(N + 1);
    return static_cast<int16_t>(N);
}

std::string ModeName(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(ModeNames.size())) return "NV ";
    return std::string(ModeNames[static_cast<std::size_t>(Index)]);
}

int16_t ModeIndex(const std::string& Name)
{
    const std::string Key = rtl::Trim(Name);
    int16_t Result = NoValueSmallInt;
    for (std::size_t I = 0; I < ModeNames.size(); ++I)
        if (Key == ModeNames[I]) Result = static_cast<int16_t>(I);
    return Result;
}

double ScaleFieldStrength(double E, double POld, double PNew)
{
    if (E > 1e300) return E;
    // Without a known old power (0 or less) there is nothing to scale from.
    if (!(POld > 0)) return E;
    const long double Factor = std::sqrt(static_cast<long double>(PNew) / POld);
    return static_cast<double>(E * Factor);
}
