#include "radio/ExposureLimitLib.h"

#include <cmath>
#include <cstddef>
#include <span>

#include "foundation/MathLib.h"
#include "radio/AfuLib.h"

namespace {

using Ext = long double;

// One segment of a threshold curve: C * (f / R)^E on [Lo, Hi), or the constant C where R is 0.
// Range bounds are the doubles nearest their decimal values, so a frequency entered as a bound
// falls into the segment that starts there.
struct Segment {
    double Lo;
    double Hi;
    Ext C;
    Ext R;
    Ext E;
};

// Every segment includes its lower and excludes its upper bound; the last segment of a curve
// includes both. -99 outside the segments.
double EvaluateCurve(std::span<const Segment> Curve, double FreqMHz)
{
    for (std::size_t I = 0; I < Curve.size(); ++I) {
        const Segment& P = Curve[I];
        const bool Inside = I + 1 < Curve.size() ? InHalfOpenRange(FreqMHz, P.Lo, P.Hi)
                                                 : InClosedRange(FreqMHz, P.Lo, P.Hi);
        if (!Inside) continue;
        if (P.R == 0) return static_cast<double>(P.C);
        return static_cast<double>(P.C * PowerOrSentinel(FreqMHz / P.R, P.E));
    }
    return NoValue;
}

constexpr Segment CurveCW[] = {
    {1.85, 14, 0.3L, 1.85L, 0.94L},
    {14, 29, 2, 14, -0.95L},
    {29, 144, 1.0357971L, 29, -0.30297L},
    {144, 146, 0.6374136L, 0, 0},
};

constexpr Segment CurveSSB[] = {
    {1.85, 3.65, 0.4L, 1.85L, 1.19L},
    {3.65, 14, 0.9L, 3.65L, 0.66L},
    {14, 18, 2.2L, 0, 0},
    {18, 25, 2.2L, 18, -1.6L},
    {25, 29, 1.3L, 0, 0},
    {29, 144, 1.3L, 29, -0.30297L},
    {144, 146, 0.8L, 0, 0},
};

constexpr Segment CurveAM[] = {
    {0.03, 0.63, 0.059L, 0, 0},
    {0.63, 0.79, 0.059L, 0.63L, 1.29L},
    {0.79, 1, 0.079L, 0, 0},
    {1, 1.3, 0.079L, 1, 1.084L},
    {1.3, 1.7, 0.105L, 0, 0},
    {1.7, 7, 0.105L, 1.7L, 1.51L},
    {7, 22, 0.89L, 0, 0},
    {22, 79, 0.89L, 22, -1.71L},
    {79, 100, 0.1L, 0, 0},
};

constexpr Segment CurveFM[] = {
    {29, 88, 7.1L, 29, -0.052L},
    {88, 108, 6.7L, 0, 0},
    {108, 146, 6.7L, 108, -0.97L},
};

constexpr Segment CurveTV[] = {
    {79, 144, 0.13L, 79, 0.6L},
    {144, 200, 0.186L, 144, 4.4L},  // one formula for 144..172 and 172..200 MHz
    {200, 240, 0.789L, 200, -4.7L},
    {240, 500, 0.335L, 0, 0},
    {500, 600, 0.335L, 500, -3.8L},
    {600, 1100, 0.168L, 600, 0.6L},
};

constexpr Segment CurveGSM[] = {
    {850, 1200, 0.358L, 0, 0},
    {1200, 1800, 0.358L, 1200, 5.7L},
    {1800, 2000, 3.61L, 0, 0},
    {2000, 2500, 3.61L, 2000, -3},
};

constexpr Segment CurveDTX[] = {
    {850, 1000, 0.299L, 0, 0},
};

// Coupling model: field impedance of free space and the two coupling constants.
constexpr Ext Z0 = 376.9911184307752L;
constexpr Ext CouplingA = 0.52L;
constexpr Ext CouplingB = 520;

// Least favourable value inside a band: samples from the lower edge in steps of 1/800 of the
// width (the step accumulating in double arithmetic) while below the upper edge, then the upper
// edge itself. The smallest positive value wins, the first among equals.
template <class ValueAt>
double ScanBand(int Band, double& FAtMin, ValueAt Value)
{
    FAtMin = NoValue;
    const double Low = AfuBandLow(Band);
    const double High = AfuBandHigh(Band);
    const double Step = (High - Low) / 800;
    double Minimum = 1e9;
    bool Found = false;
    const auto Sample = [&](double F) {
        const double V = Value(F);
        if (V < Minimum && V > 0) {
            Minimum = V;
            FAtMin = F;
            Found = true;
        }
    };
    double F = Low;
    do {
        Sample(F);
        F = F + Step;
    } while (F < High);
    Sample(High);
    return Found ? Minimum : NoValue;
}

}  // namespace

double PsLimitE(double FreqMHz)
{
    const Ext F = FreqMHz;
    if (InHalfOpenRange(F, 0.003, 1)) return 87;
    if (InHalfOpenRange(F, 1, 10)) return static_cast<double>(87 / std::sqrt(F));
    if (InHalfOpenRange(F, 10, 400)) return 27.5;
    if (InHalfOpenRange(F, 400, 2000)) return static_cast<double>(1.375L * std::sqrt(F));
    if (InHalfOpenRange(F, 2000, 300000)) return 61;
    return 0;
}

double PsLimitH(double FreqMHz)
{
    const Ext F = FreqMHz;
    if (InHalfOpenRange(F, 0.003, 0.15)) return 5;
    if (InHalfOpenRange(F, 0.15, 10)) return static_cast<double>(0.73L / F);
    if (InHalfOpenRange(F, 10, 400)) return 0.073;
    if (InHalfOpenRange(F, 400, 2000)) return static_cast<double>(0.0037L * std::sqrt(F));
    if (InHalfOpenRange(F, 2000, 300000)) return 0.16;
    return 0;
}

double HsmThresholdCW(double FreqMHz) { return EvaluateCurve(CurveCW, FreqMHz); }
double HsmThresholdSSB(double FreqMHz) { return EvaluateCurve(CurveSSB, FreqMHz); }
double HsmThresholdAM(double FreqMHz) { return EvaluateCurve(CurveAM, FreqMHz); }
double HsmThresholdFM(double FreqMHz) { return EvaluateCurve(CurveFM, FreqMHz); }
double HsmThresholdTV(double FreqMHz) { return EvaluateCurve(CurveTV, FreqMHz); }
double HsmThresholdGSM(double FreqMHz) { return EvaluateCurve(CurveGSM, FreqMHz); }
double HsmThresholdDTX(double FreqMHz) { return EvaluateCurve(CurveDTX, FreqMHz); }

double HsmThreshold(double FreqMHz, int Mode)
{
    switch (Mode) {
    case amCW: return HsmThresholdCW(FreqMHz);
    case amSSB: return HsmThresholdSSB(FreqMHz);
    case amAM: return HsmThresholdAM(FreqMHz);
    case amFM: return HsmThresholdFM(FreqMHz);
    case amTV: return HsmThresholdTV(FreqMHz);
    case amGSM: return HsmThresholdGSM(FreqMHz);
    case amDTX: return HsmThresholdDTX(FreqMHz);
    case amAlle: {
        double Minimum = 1e9;
        bool Found = false;
        for (int M = amCW; M <= amDTX; ++M) {
            const double V = HsmThreshold(FreqMHz, M);
            if (V < Minimum && V > 0) {
                Minimum = V;
                Found = true;
            }
        }
        return Found ? Minimum : NoValue;
    }
    default: return NoValue;
    }
}

double HsmFieldFromThreshold(double Threshold, double FreqMHz)
{
    const Ext U = Threshold;
    const Ext F = FreqMHz;
    const Ext AZ0 = CouplingA * Z0;
    const Ext B = CouplingB;
    Ext E;
    if (InHalfOpenRange(F, 0.025, 0.3)) {
        const Ext X = 0.3L / (B * F);
        E = (5.33L * U / F) / std::sqrt(X * X + 1 / (AZ0 * AZ0));
    } else if (InHalfOpenRange(F, 0.3, 5.33)) {
        E = (5.33L * U / F) / std::sqrt(1 / (B * B) + 1 / (AZ0 * AZ0));
    } else if (InHalfOpenRange(F, 5.33, 16.9)) {
        const Ext R = 5.33L / F;
        const Ext E1 = B * U * std::pow(R, 2.85L);
        const Ext E2 = AZ0 * U * R * R;
        const Ext E3 = (AZ0 * B / std::sqrt(AZ0 * AZ0 + B * B)) * 5.33L * U / F;
        E = std::fmin(std::fmin(E1, E2), E3);
    } else if (InHalfOpenRange(F, 16.9, 200)) {
        E = std::fmin(19.6L * U, 0.052L * Z0 * U);
    } else if (InHalfOpenRange(F, 200, 400)) {
        const Ext P = std::pow(F / 200, 2.94L);
        E = std::fmin(19.6L * U * P, 0.052L * Z0 * U * P);
    } else if (InHalfOpenRange(F, 400, 1500)) {
        E = std::fmin(150 * U, 0.4L * Z0 * U);
    } else if (InClosedRange(F, 1500, 2500)) {
        const Ext R = F / 1500;
        const Ext P = R * R * R;
        E = std::fmin(150 * U * P, 0.4L * Z0 * U * P);
    } else {
        E = NoValue;
    }
    return static_cast<double>(E / std::sqrt(2.0L));
}

double PsBandMinimum(int Band, int FieldKind, double& FAtMin)
{
    const double Minimum = ScanBand(Band, FAtMin, [FieldKind](double F) {
        return FieldKind == 2 ? PsLimitH(F) : PsLimitE(F);
    });
    return FieldKind == 1 || FieldKind == 2 ? Minimum : NoValue;
}

double HsmBandMinimum(int Band, int Mode, double& FAtMin)
{
    return ScanBand(Band, FAtMin, [Mode](double F) {
        return HsmFieldFromThreshold(HsmThreshold(F, Mode), F);
    });
}
