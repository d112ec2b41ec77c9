#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "radio/AfuLib.h"

namespace {

struct BandRow {
    int Index;
    const char* Name;
    double Low;
    double High;
};

const BandRow Bands[] = {
    {1, "LW", 0.1357, 0.1378},      {2, "MW", 0.472, 0.479},
    {3, "160m", 1.81, 2.0},         {4, "80m", 3.5, 3.8},
    {5, "60m", 5.3515, 5.3665},     {6, "40m", 7.0, 7.2},
    {7, "30m", 10.1, 10.15},        {8, "20m", 14.0, 14.35},
    {9, "17m", 18.068, 18.168},     {10, "15m", 21.0, 21.45},
    {11, "12m", 24.89, 24.99},      {12, "10m", 28.0, 29.7},
    {13, "6m", 50, 51},             {14, "4m", 70, 70.03},
    {15, "2m", 144, 146},           {16, "70cm", 430, 440},
    {17, "23cm", 1240, 1300},       {18, "13cm", 2320, 2450},
    {19, "9cm", 3400, 3475},        {20, "6cm", 5650, 5950},
    {21, "3cm", 10000, 10500},      {22, "1,2cm", 24000, 24250},
    {23, "6,4mm", 47000, 47200},    {24, "3,9mm", 75500, 81000},
    {25, "2,5mm", 119980, 120020},  {26, "2mm", 142000, 149000},
    {27, "1,2mm", 241000, 250000},
};

TEST(AfuBands, EveryBandByIndexNameAndEdges)
{
    for (const BandRow& B : Bands) {
        SCOPED_TRACE(B.Name);
        EXPECT_EQ(AfuBandName(B.Index), B.Name);
        EXPECT_EQ(AfuBandLow(B.Index), B.Low);
        EXPECT_EQ(AfuBandHigh(B.Index), B.High);
        EXPECT_DOUBLE_EQ(AfuBandCenter(B.Index), (B.Low + B.High) / 2);
        EXPECT_EQ(AfuBandIndex(B.Name), B.Index);
        // Both edges belong to the band.
        EXPECT_EQ(AfuBandOfFreq(B.Low), B.Index);
        EXPECT_EQ(AfuBandOfFreq(B.High), B.Index);
        EXPECT_EQ(AfuBandOfFreq((B.Low + B.High) / 2), B.Index);
    }
}

TEST(AfuBands, InvalidIndexGivesMarkers)
{
    for (int Index : {0, -1, 28, 1000, -99, 65540}) {
        SCOPED_TRACE(Index);
        EXPECT_EQ(AfuBandName(Index), "Fehler");
        EXPECT_EQ(AfuBandLow(Index), -99);
        EXPECT_EQ(AfuBandHigh(Index), -99);
        EXPECT_EQ(AfuBandCenter(Index), -99);
    }
}

TEST(AfuBands, IndexOfName)
{
    const struct {
        const char* Name;
        int Expected;
    } Cases[] = {
        {" 80m ", 4},   {"80m", 4},    {"   2m", 15}, {"1,2cm", 22}, {"1,2mm", 27},
        {"80M", -99},   {"\t80m", -99}, {"80m\n", -99}, {"", -99},   {"1.2cm", -99},
        {"80 m", -99},  {"Fehler", -99},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(AfuBandIndex(C.Name), C.Expected);
    }
}

TEST(AfuBands, BandOfFrequency)
{
    const struct {
        double F;
        int Expected;
    } Cases[] = {
        {2.0, 3},     {1.81, 3},       {2.5, -99},    {70.03, 14},     {70.0301, -99},
        {1.8099, -99}, {0.1357, 1},    {0.1356, -99}, {250000, 27},    {250000.5, -99},
        {0, -99},     {-3.6, -99},     {29.7, 12},    {10500, 21},     {10500.01, -99},
        {std::numeric_limits<double>::quiet_NaN(), -99},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.F);
        EXPECT_EQ(AfuBandOfFreq(C.F), C.Expected);
    }
}

TEST(AfuBands, CountUpToFrequency)
{
    const struct {
        double F;
        int Expected;
    } Cases[] = {
        {0.1, -99},  {0.136, 1},   {0.1357, 1}, {0.1378, 1},  {0.2, 1},   {0.472, 2},
        {2.0, 3},    {3.0, 3},     {3.6, 4},    {3.8, 4},     {3.81, 4},  {20000, 21},
        {24000, 22}, {250000, 27}, {300000, 27}, {1e9, 27},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.F);
        EXPECT_EQ(AfuBandCount(C.F), C.Expected);
    }
}

TEST(AfuModes, NamesAndIndices)
{
    const char* Names[] = {"PS", "CW", "SSB", "AM", "FM", "TV", "GSM", "DTX", "Alle"};
    for (int I = 0; I <= 8; ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(ModeName(I), Names[I]);
        EXPECT_EQ(ModeIndex(Names[I]), I);
    }
    EXPECT_EQ(ModeName(9), "NV ");
    EXPECT_EQ(ModeName(-1), "NV ");
    EXPECT_EQ(ModeName(-99), "NV ");
}

TEST(AfuModes, IndexTrimsControlCharactersButKeepsCase)
{
    const struct {
        const char* Name;
        int Expected;
    } Cases[] = {
        {"\tSSB", 2},  {" SSB\r\n", 2}, {"  Alle ", 8}, {"", -99},  {"   ", -99},
        {"ssb", -99},  {"ALLE", -99},   {"S SB", -99},  {"NV ", -99},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(ModeIndex(C.Name), C.Expected);
    }
}

TEST(ScaleFieldStrength, ScalesWithSquareRootOfPowerRatio)
{
    EXPECT_DOUBLE_EQ(ScaleFieldStrength(10, 100, 400), 20);
    EXPECT_DOUBLE_EQ(ScaleFieldStrength(10, 400, 100), 5);
    EXPECT_DOUBLE_EQ(ScaleFieldStrength(-10, 100, 400), -20);
    EXPECT_DOUBLE_EQ(ScaleFieldStrength(3, 750, 750), 3);
    EXPECT_DOUBLE_EQ(ScaleFieldStrength(1, 50, 750), std::sqrt(15.0));
    // 1e300 itself is still a value and is scaled.
    EXPECT_DOUBLE_EQ(ScaleFieldStrength(1e300, 1, 4), 2e300);
}

TEST(ScaleFieldStrength, LeavesValueUnchangedWithoutScale)
{
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ScaleFieldStrength(2e300, 100, 1), 2e300);
    // No old power known: nothing to scale from, the value stays finite and unchanged.
    EXPECT_EQ(ScaleFieldStrength(12.5, 0, 750), 12.5);
    EXPECT_EQ(ScaleFieldStrength(12.5, -100, 750), 12.5);
    EXPECT_EQ(ScaleFieldStrength(12.5, NaN, 750), 12.5);
}

}  // namespace
