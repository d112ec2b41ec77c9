#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "foundation/ColorLib.h"
#include "foundation/MathLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

TEST(ColorLib, ValueToScaleColorTable)
{
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    struct Case { double X; gdi::TColor Expected; };
    const Case Cases[] = {
        {0, 0x000000},    {0.001, 0x2A002D}, {0.1, 0x8F0054}, {0.25, 0xB42100},
        {0.5, 0x76D600},  {0.8, 0x00F1ED},   {1, 0x0000FF},   {1.5, 0x0000FF},
        {-0.3, 0x000000}, {NaN, 0x000000},
    };
    for (const Case& C : Cases) EXPECT_EQ(ValueToScaleColor(C.X), C.Expected) << C.X;
}

TEST(ColorLib, HSVToRGB)
{
    int R, G, B;
    HSVToRGB(360, 255, 255, R, G, B);
    EXPECT_EQ((std::array{R, G, B}), (std::array{255, 0, 0}));
    HSVToRGB(0, 255, 255, R, G, B);
    EXPECT_EQ((std::array{R, G, B}), (std::array{255, 0, 0}));
    HSVToRGB(120, 0, 77, R, G, B);
    EXPECT_EQ((std::array{R, G, B}), (std::array{77, 77, 77}));
    // One hue per sextant, with truncating divisions.
    struct Case { int H, S; std::array<int, 3> RGB; };
    const Case Cases[] = {
        {30, 255, {199, 100, 0}}, {90, 255, {100, 199, 0}}, {150, 255, {0, 199, 100}},
        {210, 255, {0, 100, 199}}, {270, 255, {100, 0, 199}}, {330, 255, {199, 0, 100}},
        {10, 128, {199, 116, 100}},
    };
    for (const Case& C : Cases) {
        HSVToRGB(C.H, C.S, 199, R, G, B);
        EXPECT_EQ((std::array{R, G, B}), C.RGB) << C.H;
    }
    EXPECT_EQ(HSVToColor(229, 255, 180), 0xB42100u);
}

// The fast fourth root must give exactly the value of the reference formula everywhere,
// including the values next to each rounding boundary of V.
TEST(ColorLib, ScaleColorMatchesReferenceFormula)
{
    auto Reference = [](double X) {
        const long double C = X;
        const int H = static_cast<int>(rtl::Round((1.0L - C) * 305.15L));
        const int V = static_cast<int>(rtl::Round(NthRoot(4, C) * 255.0L));
        return HSVToColor(H, 255, V);
    };
    for (int I = 1; I <= 100000; ++I) {
        const double X = I / 100000.0;
        ASSERT_EQ(ValueToScaleColor(X), Reference(X)) << X;
    }
    for (int K = 0; K < 255; ++K) {
        const double Boundary = std::pow((K + 0.5) / 255.0, 4.0);
        for (double X : {std::nextafter(Boundary, 0.0), Boundary, std::nextafter(Boundary, 1.0)})
            ASSERT_EQ(ValueToScaleColor(X), Reference(X)) << X;
    }
}

TEST(ColorLib, ColorIndexToColorTable)
{
    struct Case { int Index; gdi::TColor Expected; };
    const Case Cases[] = {
        {-1, 0x1FFFFFFF},  {0, 0x1FFFFFFF},   {1, 0xFF000000},   {2, 0xFF000000},
        {3, 0xFF000001},   {26, 0xFF000018},  {27, 0xFF00001A},  {31, 0xFF00001E},
        {32, 0x000000},    {33, 0x000080},    {34, 0x008000},    {35, 0x008080},
        {36, 0x800000},    {37, 0x800080},    {38, 0x808000},    {39, 0x808080},
        {40, 0xC0C0C0},    {41, 0x0000FF},    {42, 0x00FF00},    {43, 0x00FFFF},
        {44, 0xFF0000},    {45, 0xFF00FF},    {46, 0xFFFF00},    {47, 0xC0C0C0},
        {48, 0x808080},    {49, 0xFFFFFF},    {50, 0xC0DCC0},    {51, 0xF0CAA6},
        {52, 0xF0FBFF},    {53, 0xA4A0A0},    {54, 0x1FFFFFFF},  {55, 0x20000000},
        {56, 0x1FFFFFFF},  {100, 0x1FFFFFFF}, {149, 0x1FFFFFFF}, {150, 0xF0F7F5},
        {151, 0x83E2AB},   {152, 0x7E82FE},   {153, 0xBCF5FE},   {154, 0xFDAEFF},
        {155, 0x0054A6},   {156, 0x31637B},   {157, 0x00DEFF},   {158, 0xA56E3A},
        {159, 0xFEF601},   {160, 0xED0FC8},   {161, 0xE8CBCA},   {162, 0xD6F1D1},
        {163, 0xDFDEEB},   {164, 0xDCDCDC},   {165, 0x31BEFB},   {166, 0xA2D3F9},
        {167, 0xD57500},   {168, 0x1FFFFFFF},
    };
    for (const Case& C : Cases) EXPECT_EQ(ColorIndexToColor(C.Index), C.Expected) << C.Index;
}

TEST(ColorLib, ColorListDefaults)
{
    TColorList List;
    List.SetDefaults();
    const gdi::TColor First[] = {0x1FFFFFFF, 0x0000FF, 0x008000, 0xFF0000,
                                 0x00FFFF,   0x000080, 0x000000, 0xFFFFFF};
    for (int I = 0; I < 8; ++I) EXPECT_EQ(List.Colors[I], First[I]) << I;
    for (int I = 8; I < 256; ++I) ASSERT_EQ(List.Colors[I], 0xDCDCDCu) << I;
}

}  // namespace
