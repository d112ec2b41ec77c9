#include "foundation/ColorLib.h"

#include <bit>
#include <cmath>
#include <cstdint>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "foundation/MathLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr gdi::TColor kNone = gdi::clNone;
constexpr gdi::TColor kDefault = gdi::clDefault;
constexpr gdi::TColor kSysColor = 0xFF000000;

// Indexes 32..55.
constexpr gdi::TColor kNamedColors[] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xC0C0C0,
    0x808080, 0xFFFFFF, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0, kNone,    kDefault,
};

// Indexes 150..167.
constexpr gdi::TColor kExtraColors[] = {
    0xF0F7F5, 0x83E2AB, 0x7E82FE, 0xBCF5FE, 0xFDAEFF, 0x0054A6, 0x31637B, 0x00DEFF, 0xA56E3A,
    0xFEF601, 0xED0FC8, 0xE8CBCA, 0xD6F1D1, 0xDFDEEB, 0xDCDCDC, 0x31BEFB, 0xA2D3F9, 0xD57500,
};

// Round(NthRoot(4, X) * 255) for X in (0, 1], given P = Sqrt(Sqrt(X)) * 255 in double. The
// fourth root by two square roots agrees with the logarithmic one to a few ulps; only a product
// within a hair of a .5 boundary takes the slow reference path, so the result is the same.
inline int ScaleValueOf(double X, double P)
{
    const int I = static_cast<int>(P);  // P >= 0
    const double Frac = P - I;
    if (std::fabs(Frac - 0.5) < 1e-9) return static_cast<int>(rtl::Round(NthRoot(4, X) * 255.0L));
    return Frac > 0.5 ? I + 1 : I;
}

// The hue of X in 0..1 as the scale defines it: (1 - X) * 305.15 in extended precision,
// rounded to the nearest integer, ties to even.
int ReferenceHue(double X)
{
    return static_cast<int>(std::lrint((1.0L - X) * 305.15L));
}

// ReferenceHue is monotone (non-increasing) in X: 1 - X, the product with a positive constant
// and the rounding to an integer are each monotone. So the X in 0..1 of each hue form an
// interval of doubles, whose ends are found here by bisection over the ordered bit patterns of
// the doubles 0..1 with ReferenceHue itself. A hue guessed in double precision is taken when X
// lies in that hue's interval, where ReferenceHue gives the same hue by construction; any other
// X (a guess off by one near a rounding boundary) takes ReferenceHue.
class HueIntervals {
public:
    static constexpr int kMaxHue = 305;  // ReferenceHue(0)

    HueIntervals()
    {
        const std::uint64_t one = std::bit_cast<std::uint64_t>(1.0);
        for (int h = 0; h <= kMaxHue; ++h) {
            // First bit pattern whose hue is at most h, and first one whose hue is below h.
            const std::uint64_t begin = FirstAtMost(h, one);
            const std::uint64_t end = h == 0 ? one + 1 : FirstAtMost(h - 1, one);
            lo_[h] = begin < end ? std::bit_cast<double>(begin) : 2.0;  // empty: never inside
            hi_[h] = begin < end ? std::bit_cast<double>(end - 1) : -1.0;
        }
    }

    int Hue(double X) const
    {
        int h = static_cast<int>((1.0 - X) * 305.15 + 0.5);
        if (h > kMaxHue) h = kMaxHue;
        if (h < 0) h = 0;
        if (lo_[h] <= X && X <= hi_[h]) return h;
        return ReferenceHue(X);
    }

private:
    static std::uint64_t FirstAtMost(int h, std::uint64_t one)
    {
        std::uint64_t a = 0, b = one + 1;  // the answer lies in a..b (b: none)
        while (a < b) {
            const std::uint64_t m = a + (b - a) / 2;
            if (ReferenceHue(std::bit_cast<double>(m)) <= h)
                b = m;
            else
                a = m + 1;
        }
        return a;
    }

    double lo_[kMaxHue + 1];
    double hi_[kMaxHue + 1];
};

const HueIntervals& Hues()
{
    static const HueIntervals table;
    return table;
}

}  // namespace

namespace {

inline void HsvToRgb(int H, int S, int V, int& R, int& G, int& B)
{
    if (S == 0) {
        R = G = B = V;
        return;
    }
    if (H == 360) H = 0;
    const int F = H % 60;
    const int P = V - (S * V) / 255;
    const int Q = V - (S * V * F) / 15300;
    const int T = V - (S * V * (60 - F)) / 15300;
    switch (H / 60) {
    case 0: R = V; G = T; B = P; break;
    case 1: R = Q; G = V; B = P; break;
    case 2: R = P; G = V; B = T; break;
    case 3: R = P; G = Q; B = V; break;
    case 4: R = T; G = P; B = V; break;
    default: R = V; G = P; B = Q; break;
    }
}

inline gdi::TColor HsvColor(int H, int S, int V)
{
    int R, G, B;
    HsvToRgb(H, S, V, R, G, B);
    return static_cast<gdi::TColor>(R + 256 * G + 65536 * B);
}

}  // namespace

void HSVToRGB(int H, int S, int V, int& R, int& G, int& B) { HsvToRgb(H, S, V, R, G, B); }

gdi::TColor HSVToColor(int H, int S, int V) { return HsvColor(H, S, V); }

namespace {

// P[j] = Sqrt(Sqrt(X[j])) * 255 for j < N: several at once, each correctly rounded as the
// scalar operations.
void FourthRootsTimes255Sse(const double* X, double* P, int N)
{
    int j = 0;
#if defined(__SSE2__)
    const __m128d k255 = _mm_set1_pd(255.0);
    for (; j + 2 <= N; j += 2)
        _mm_storeu_pd(P + j, _mm_mul_pd(_mm_sqrt_pd(_mm_sqrt_pd(_mm_loadu_pd(X + j))), k255));
#endif
    for (; j < N; ++j) P[j] = std::sqrt(std::sqrt(X[j])) * 255.0;
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void FourthRootsTimes255Avx(const double* X, double* P, int N)
{
    int j = 0;
    const __m256d k255 = _mm256_set1_pd(255.0);
    for (; j + 4 <= N; j += 4)
        _mm256_storeu_pd(P + j,
                         _mm256_mul_pd(_mm256_sqrt_pd(_mm256_sqrt_pd(_mm256_loadu_pd(X + j))), k255));
    for (; j < N; ++j) P[j] = std::sqrt(std::sqrt(X[j])) * 255.0;
    _mm256_zeroupper();
}
#endif

void FourthRootsTimes255(const double* X, double* P, int N)
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool wide = __builtin_cpu_supports("avx");
    if (wide) {
        FourthRootsTimes255Avx(X, P, N);
        return;
    }
#endif
    FourthRootsTimes255Sse(X, P, N);
}

inline double ClampScale(double X)
{
    if (X > 1) X = 1;
    if (!(X >= 0)) X = 0;  // also NaN
    return X;
}

// HSVToColor(H, 255, V) for every hue and value of the scale.
class ScaleColorTable {
public:
    ScaleColorTable()
    {
        for (int h = 0; h <= HueIntervals::kMaxHue; ++h)
            for (int v = 0; v < 256; ++v) colors_[h][v] = HsvColor(h, 255, v);
    }
    gdi::TColor operator()(int H, int V) const { return colors_[H][V]; }

private:
    gdi::TColor colors_[HueIntervals::kMaxHue + 1][256];
};

const ScaleColorTable& ScaleColors()
{
    static const ScaleColorTable table;
    return table;
}

// The colour of X in 0..1 given P = Sqrt(Sqrt(X)) * 255.
inline gdi::TColor ScaleColorOf(const HueIntervals& Hues, const ScaleColorTable& Colors, double X,
                                double P)
{
    const int H = Hues.Hue(X);
    const int V = X > 0 ? ScaleValueOf(X, P) : 0;
    return Colors(H, V);
}

}  // namespace

gdi::TColor ValueToScaleColor(double X)
{
    X = ClampScale(X);
    return ScaleColorOf(Hues(), ScaleColors(), X, std::sqrt(std::sqrt(X)) * 255.0);
}

void ValuesToScaleColors(const double* X, gdi::TColor* Out, int N)
{
    const HueIntervals& hues = Hues();
    const ScaleColorTable& table = ScaleColors();
    // Blocks: first the clipped values and their fourth roots (independent square roots that
    // the processor overlaps), then the colours.
    constexpr int kBlock = 128;
    alignas(16) double x[kBlock];
    alignas(16) double p[kBlock];
    for (int k0 = 0; k0 < N; k0 += kBlock) {
        const int m = N - k0 < kBlock ? N - k0 : kBlock;
        for (int j = 0; j < m; ++j) x[j] = ClampScale(X[k0 + j]);
        FourthRootsTimes255(x, p, m);
        for (int j = 0; j < m; ++j) Out[k0 + j] = ScaleColorOf(hues, table, x[j], p[j]);
    }
}

gdi::TColor ColorIndexToColor(int Index)
{
    if (Index == 1 || Index == 2) return kSysColor;
    if (Index >= 3 && Index <= 26) return kSysColor | static_cast<gdi::TColor>(Index - 2);
    if (Index >= 27 && Index <= 31) return kSysColor | static_cast<gdi::TColor>(Index - 1);
    if (Index >= 32 && Index <= 55) return kNamedColors[Index - 32];
    if (Index >= 150 && Index <= 167) return kExtraColors[Index - 150];
    return kNone;
}

void TColorList::SetDefaults()
{
    Colors.fill(0xDCDCDC);
    Colors[0] = kNone;
    Colors[1] = 0x0000FF;
    Colors[2] = 0x008000;
    Colors[3] = 0xFF0000;
    Colors[4] = 0x00FFFF;
    Colors[5] = 0x000080;
    Colors[6] = 0x000000;
    Colors[7] = 0xFFFFFF;
}
