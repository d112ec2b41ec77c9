// The scale colour computed in blocks with the hue taken from intervals, against the extended
// precision computation it replaces, over every input the map and the section can give it
// (a double clipped to 0..1).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "foundation/ColorLib.h"
#include "foundation/MathLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

// The colour as computed before: hue and value in extended precision with the library's
// rounding calls (the value's fourth root by two square roots with the logarithmic one at
// near-ties).
int OldHue(double X) { return static_cast<int>(std::lrint((1.0L - X) * 305.15L)); }

int OldValue(double X)
{
    const double P = std::sqrt(std::sqrt(X)) * 255.0;
    const int I = static_cast<int>(P);
    const double Frac = P - I;
    if (std::fabs(Frac - 0.5) < 1e-9) return static_cast<int>(rtl::Round(NthRoot(4, X) * 255.0L));
    return Frac > 0.5 ? I + 1 : I;
}

gdi::TColor OldColor(double X)
{
    if (X > 1) X = 1;
    if (!(X >= 0)) X = 0;
    return HSVToColor(OldHue(X), 255, X > 0 ? OldValue(X) : 0);
}

constexpr std::uint64_t kOne = 0x3FF0000000000000ull;  // bits of 1.0

double FromBits(std::uint64_t b) { return std::bit_cast<double>(b); }

// First bit pattern in 0..1 at which f (monotone in one direction) differs from f(0).
template <class F>
std::uint64_t FirstChange(F f, std::uint64_t lo, std::uint64_t hi)
{
    const int start = f(FromBits(lo));
    while (lo < hi) {
        const std::uint64_t m = lo + (hi - lo) / 2;
        if (f(FromBits(m)) != start)
            hi = m;
        else
            lo = m + 1;
    }
    return lo;
}

// Every step of the hue and of the value over 0..1, found from the old functions.
std::vector<std::uint64_t> Steps()
{
    std::vector<std::uint64_t> steps;
    for (auto f : {+[](double x) { return OldHue(x); }, +[](double x) { return x > 0 ? OldValue(x) : 0; }}) {
        std::uint64_t at = 0;
        while (at <= kOne) {
            const std::uint64_t next = FirstChange(f, at, kOne + 1);
            if (next > kOne) break;
            steps.push_back(next);
            at = next;
        }
    }
    return steps;
}

void ExpectBlockMatches(const std::vector<double>& xs)
{
    std::vector<gdi::TColor> block(xs.size());
    ValuesToScaleColors(xs.data(), block.data(), static_cast<int>(xs.size()));
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const gdi::TColor old = OldColor(xs[i]);
        ASSERT_EQ(ValueToScaleColor(xs[i]), old) << std::hexfloat << xs[i];
        ASSERT_EQ(block[i], old) << std::hexfloat << xs[i];
    }
}

// The hue is monotone in X, so each hue is taken on one interval of doubles: its ends are the
// steps. Every step and the 2048 doubles on either side of it, where a guess in double precision
// can be off, give the old colour; so do both ends of 0..1 and random values in between.
TEST(ScaleColors, SameColoursAtEveryStepOfHueAndValue)
{
    const std::vector<std::uint64_t> steps = Steps();
    ASSERT_GE(steps.size(), 305u + 255u);
    std::vector<double> xs;
    for (std::uint64_t s : steps)
        for (std::int64_t d = -2048; d <= 2048; ++d) {
            const std::int64_t b = static_cast<std::int64_t>(s) + d;
            if (b >= 0 && b <= static_cast<std::int64_t>(kOne)) xs.push_back(FromBits(static_cast<std::uint64_t>(b)));
        }
    ExpectBlockMatches(xs);
}

TEST(ScaleColors, SameColoursOnRandomAndSpecialInputs)
{
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::uniform_int_distribution<std::uint64_t> bits(0, kOne);
    std::vector<double> xs;
    for (int i = 0; i < 1'000'000; ++i) xs.push_back(uniform(rng));
    for (int i = 0; i < 1'000'000; ++i) xs.push_back(FromBits(bits(rng)));  // every binade alike
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {0.0, -0.0, 1.0, 2.0, -1.0, inf, -inf, std::nan(""),
                     std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                     std::nextafter(1.0, 0.0), 0.5, 1.0 / 305.15, 1e-300})
        xs.push_back(x);
    xs.push_back(0.25);  // an odd count: the scalar tail of a block
    ExpectBlockMatches(xs);
}

}  // namespace
