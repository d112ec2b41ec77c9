#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/SysUtils.h"
#include "radio/AfuLib.h"
#include "radio/ExposureLimitLib.h"

namespace {

const double Sqrt2 = std::sqrt(2.0);

// Relative tolerance for values computed independently at higher precision.
void ExpectClose(double Actual, double Expected)
{
    EXPECT_NEAR(Actual, Expected, std::fabs(Expected) * 1e-13) << "expected " << Expected;
}

TEST(PsLimits, ElectricFieldAtRangeBoundaries)
{
    const struct {
        double F;
        double Expected;
    } Cases[] = {
        {0.0029, 0},   {0.003, 87},    {0.15, 87},   {0.999, 87},   {1, 87},
        {4, 43.5},     {9.99, 27.525581876822471}, {10, 27.5},  {399.9, 27.5},
        {400, 27.5},   {1999, 61.476494491797432}, {2000, 61},  {299999, 61},
        {300000, 0},   {1e6, 0},       {0, 0},       {-5, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.F);
        ExpectClose(PsLimitE(C.F), C.Expected);
    }
}

TEST(PsLimits, MagneticFieldAtRangeBoundaries)
{
    const struct {
        double F;
        double Expected;
    } Cases[] = {
        {0.0029, 0},  {0.003, 5},      {0.1499, 5},  {0.15, 0.73 / 0.15}, {0.5, 1.46},
        {1, 0.73},    {9.99, 0.73 / 9.99}, {10, 0.073}, {399.9, 0.073},  {400, 0.074},
        {1999, 0.16542765790520036},  {2000, 0.16}, {299999, 0.16},   {300000, 0},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.F);
        ExpectClose(PsLimitH(C.F), C.Expected);
    }
}

TEST(HsmThresholds, CurvesSegmentBySegment)
{
    const struct {
        int Mode;
        double F;
        double Expected;
    } Cases[] = {
        // CW
        {1, 1.8499, -99}, {1, 1.85, 0.3}, {1, 7, 1.048025832619598}, {1, 14, 2},
        {1, 20, 1.4251912052157128}, {1, 28.999999, 1.0013215103922413}, {1, 29, 1.0357971},
        {1, 100, 0.71186462547866398}, {1, 144, 0.6374136}, {1, 146, 0.6374136},
        {1, 146.5, -99},
        // SSB
        {2, 1.84, -99}, {2, 1.85, 0.4}, {2, 3, 0.71104965107857098}, {2, 3.65, 0.9},
        {2, 10, 1.7503674111118431}, {2, 14, 2.2}, {2, 17.99, 2.2}, {2, 18, 2.2},
        {2, 21, 1.7191264306356568}, {2, 25, 1.3}, {2, 29, 1.3},
        {2, 50, 1.1022221430422903}, {2, 144, 0.8}, {2, 146, 0.8}, {2, 146.01, -99},
        // AM
        {3, 0.0299, -99}, {3, 0.03, 0.059}, {3, 0.5, 0.059}, {3, 0.7, 0.067589490778321079},
        {3, 0.79, 0.079}, {3, 0.9, 0.079}, {3, 1, 0.079}, {3, 1.2, 0.096263037643572349},
        {3, 1.3, 0.105}, {3, 1.5, 0.105}, {3, 3.5, 0.31243104020521842}, {3, 7, 0.89},
        {3, 21, 0.89}, {3, 50, 0.21862211096579746}, {3, 79, 0.1}, {3, 100, 0.1},
        {3, 100.01, -99},
        // FM
        {4, 28.99, -99}, {4, 29, 7.1}, {4, 50, 6.9017083707683437}, {4, 88, 6.7},
        {4, 100, 6.7}, {4, 108, 6.7}, {4, 120, 6.0490898711690387},
        {4, 146, 5.0011925482756634}, {4, 146.5, -99},
        // TV
        {5, 78.9, -99}, {5, 79, 0.13}, {5, 100, 0.14975009188253486}, {5, 144, 0.186},
        {5, 172, 0.186 * std::pow(172 / 144.0, 4.4)}, {5, 180, 0.4964974261558831},
        {5, 220, 0.50411704626686205}, {5, 240, 0.335}, {5, 499, 0.335},
        {5, 550, 0.23321291826011746}, {5, 900, 0.21427131610513286},
        {5, 1100, 0.24168747394075544}, {5, 1100.1, -99},
        // GSM
        {6, 849, -99}, {6, 850, 0.358}, {6, 1199, 0.358}, {6, 1500, 1.2772329113788545},
        {6, 1800, 3.61}, {6, 2000, 3.61}, {6, 2500, 1.84832}, {6, 2500.1, -99},
        // DTX
        {7, 849.9, -99}, {7, 850, 0.299}, {7, 1000, 0.299}, {7, 1000.1, -99},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << "mode " << C.Mode << " f " << C.F);
        ExpectClose(HsmThreshold(C.F, C.Mode), C.Expected);
    }
}

TEST(HsmThresholds, NamedCurvesMatchModes)
{
    double (*const Curves[])(double) = {HsmThresholdCW,  HsmThresholdSSB, HsmThresholdAM,
                                        HsmThresholdFM,  HsmThresholdTV,  HsmThresholdGSM,
                                        HsmThresholdDTX};
    for (int Mode = 1; Mode <= 7; ++Mode)
        for (double F : {0.5, 3.7, 14.2, 50.0, 145.0, 435.0, 900.0, 1800.0})
            EXPECT_EQ(Curves[Mode - 1](F), HsmThreshold(F, Mode)) << Mode << " " << F;
}

TEST(HsmThresholds, OtherModesHaveNone)
{
    for (int Mode : {0, 9, -1, -99})
        for (double F : {0.1, 3.7, 145.0, 900.0})
            EXPECT_EQ(HsmThreshold(F, Mode), -99) << Mode << " " << F;
}

TEST(HsmThresholds, AllModesTakeTheSmallestPositive)
{
    // At 900 MHz TV (0.168 * 1.5^0.6) lies below GSM 0.358 and DTX 0.299.
    ExpectClose(HsmThreshold(900, 8), 0.21427131610513286);
    EXPECT_LT(HsmThreshold(900, 8), HsmThreshold(900, 7));
    // At 14 MHz: CW 2, SSB 2.2, AM 0.89.
    ExpectClose(HsmThreshold(14, 8), 0.89);
    // Only AM below 1.85 MHz; nothing above 2500 MHz.
    ExpectClose(HsmThreshold(0.5, 8), 0.059);
    EXPECT_EQ(HsmThreshold(3000, 8), -99);
    EXPECT_EQ(HsmThreshold(0.01, 8), -99);
}

TEST(HsmCoupling, FieldPerSegment)
{
    const struct {
        double U;
        double F;
        double Expected;
    } Cases[] = {
        {0.059, 0.025, 376.34577270662278}, {0.059, 0.1, 288.74663055897143},
        {1, 0.3, 2304.4596731017395},       {1, 1, 691.33790193052185},
        {1, 5.33, 129.7069234391223},       {1, 10, 39.379834135776331},
        {1, 16.9, 19.6 / Sqrt2},            {1, 100, 19.6 / Sqrt2},
        {1, 200, 19.6 / Sqrt2},             {1, 300, 45.650903274234805},
        {1, 400, 150 / Sqrt2},              {1, 1000, 150 / Sqrt2},
        {1, 1500, 150 / Sqrt2},             {1, 2000, 251.41574442188356},
        {1, 2500, 491.04637582399134},      {2, 1000, 300 / Sqrt2},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << "U " << C.U << " f " << C.F);
        ExpectClose(HsmFieldFromThreshold(C.U, C.F), C.Expected);
    }
}

TEST(HsmCoupling, OutsideRangeAndWithoutThreshold)
{
    for (double F : {0.0249, 2500.01, 3000.0, 0.0, -1.0})
        ExpectClose(HsmFieldFromThreshold(1, F), -99 / Sqrt2);
    ExpectClose(HsmFieldFromThreshold(-99, 3000), -99 / Sqrt2);
    // No threshold (-99) inside the range gives a negative field, i.e. no limit.
    for (double F : {0.1, 3.7, 10.0, 145.0, 300.0, 900.0, 2000.0})
        EXPECT_LT(HsmFieldFromThreshold(-99, F), 0) << F;
}

TEST(BandScans, PersonProtection)
{
    const struct {
        int Band;
        int Kind;
        double Expected;
        double FAtMin;
    } Cases[] = {
        {8, 1, 27.5, 14},                      // constant limit: the lowest frequency wins
        {4, 1, 87 / std::sqrt(3.8), 3.8},      // falling limit: the upper edge
        {4, 2, 0.73 / 3.8, 3.8},
        {1, 2, 5, 0.1357},
        {3, 2, 0.73 / 2.0, 2.0},
        {17, 1, 48.418746369562275, 1240},     // rising limit: the lower edge
        {18, 1, 61, 2320},
        {27, 1, 61, 241000},
        {27, 2, 0.16, 241000},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << "band " << C.Band << " kind " << C.Kind);
        double FAtMin = 0;
        ExpectClose(PsBandMinimum(C.Band, C.Kind, FAtMin), C.Expected);
        EXPECT_DOUBLE_EQ(FAtMin, C.FAtMin);
    }
}

TEST(BandScans, PersonProtectionWithoutResult)
{
    double FAtMin = 0;
    // Another field kind: no limit, but the frequency of the scan's minimum is kept.
    EXPECT_EQ(PsBandMinimum(4, 3, FAtMin), -99);
    EXPECT_DOUBLE_EQ(FAtMin, 3.8);
    EXPECT_EQ(PsBandMinimum(4, 0, FAtMin), -99);
    for (int Band : {0, 28, -1}) {
        FAtMin = 0;
        EXPECT_EQ(PsBandMinimum(Band, 1, FAtMin), -99) << Band;
        EXPECT_EQ(FAtMin, -99) << Band;
    }
}

TEST(BandScans, Band80mSsbFigures)
{
    rtl::TFormatSettings Saved = rtl::FormatSettings();
    rtl::FormatSettings().DecimalSeparator = ',';
    double FAtMin = 0;
    const int Band = AfuBandIndex("80m");
    const int Mode = ModeIndex("SSB");
    const double Ps = PsBandMinimum(Band, 1, FAtMin);
    const double Hsm = HsmBandMinimum(Band, Mode, FAtMin);
    EXPECT_EQ(rtl::Format("%5.2f", Ps), "44,63");
    EXPECT_EQ(rtl::Format("%5.1f", Hsm), "168,1");
    rtl::FormatSettings() = Saved;
    // The SSB field limit falls on 3.65 .. 3.8 MHz (168.15 at the edge; 168.73 at 3.5 MHz).
    ExpectClose(Hsm, 168.14856423039052);
    EXPECT_DOUBLE_EQ(FAtMin, 3.8);
}

TEST(BandScans, Pacemaker)
{
    double FAtMin = 0;
    // LW: only AM, a constant threshold, the field falling with frequency.
    ExpectClose(HsmBandMinimum(1, 3, FAtMin), HsmFieldFromThreshold(0.059, 0.1378));
    EXPECT_DOUBLE_EQ(FAtMin, 0.1378);
    EXPECT_EQ(HsmBandMinimum(1, 1, FAtMin), -99);
    EXPECT_EQ(FAtMin, -99);
    EXPECT_EQ(HsmBandMinimum(4, 0, FAtMin), -99);
    EXPECT_EQ(HsmBandMinimum(4, 9, FAtMin), -99);
    EXPECT_EQ(HsmBandMinimum(27, 8, FAtMin), -99);
    EXPECT_EQ(HsmBandMinimum(0, 2, FAtMin), -99);
    // 2m: every curve but GSM and DTX reaches 144..146 MHz.
    for (int Mode : {1, 2, 4, 5})
        EXPECT_GT(HsmBandMinimum(15, Mode, FAtMin), 0) << Mode;
}

TEST(BandScans, AllModesIsTheSmallestSingleMode)
{
    // The field limit grows with the threshold, so "Alle" gives the smallest of modes 1 to 7.
    for (int Band = 1; Band <= AfuBandNumber; ++Band) {
        double FAtMin = 0;
        double Smallest = 1e9;
        for (int Mode = 1; Mode <= 7; ++Mode) {
            const double V = HsmBandMinimum(Band, Mode, FAtMin);
            if (V > 0 && V < Smallest) Smallest = V;
        }
        const double Expected = Smallest < 1e9 ? Smallest : -99;
        EXPECT_EQ(HsmBandMinimum(Band, 8, FAtMin), Expected) << "band " << Band;
    }
}

}  // namespace
