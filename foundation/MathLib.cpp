// Unit MathLib and IfThenStr of LogicLib.
#include "foundation/MathLib.h"

#include <cmath>

#include "platform/rtl/SysUtils.h"

namespace {
// The original constants, as extended literals.
constexpr long double kPiTrunc = 3.14159265359L;
constexpr long double kHalfPi = 1.5707963267948966L;
constexpr long double kRadToDeg = 57.29577951308232L;
constexpr long double kLn10 = 2.302585092994046L;
constexpr long double kLog10E = 0.4342944819032518L;
}  // namespace

int Sgn(long double X) { return X >= 0 ? 1 : -1; }

long double Clip01(long double X) {
    if (X > 1) return 1;
    if (X < 0 || std::isnan(X)) return 0;
    return X;
}

long double ClipRange(long double X, long double Lo, long double Hi) {
    // max(min(X, Hi), Lo) as the platform's Min/Max: Min(A, B) is A when A < B else B.
    const long double m = X < Hi ? X : Hi;
    return m > Lo ? m : Lo;
}

int IntMin(int A, int B) { return A < B ? A : B; }
int IntMax(int A, int B) { return A > B ? A : B; }
long double MinExt(long double A, long double B) { return B < A ? B : A; }
double MinDbl(double A, double B) { return A < B ? A : B; }
double Min3Dbl(double A, double B, double C) { return MinDbl(MinDbl(A, B), C); }
int Min3Int(int A, int B, int C) { return IntMin(IntMin(A, B), C); }
int Min4Int(int A, int B, int C, int D) { return IntMin(IntMin(A, B), IntMin(C, D)); }

long double RadToDegree(long double X) { return X * kRadToDeg; }

double ArcTan2Deg(double X, double Y) {
    long double rad;
    if (X > 0)
        rad = std::atan(static_cast<long double>(Y) / static_cast<long double>(X));
    else if (X < 0)
        rad = std::atan(static_cast<long double>(Y) / static_cast<long double>(X)) + Sgn(Y) * kPiTrunc;
    else
        rad = Sgn(Y) * kHalfPi;
    return static_cast<double>(RadToDegree(rad));
}

long double SinD(long double X) { return std::sin(X * kPiTrunc / 180); }
long double CosD(long double X) { return std::cos(X * kPiTrunc / 180); }

long double PowerOrSentinel(long double Base, long double Exponent) {
    if (!(Base > 0)) return NoValue;  // Base <= 0 or NaN
    return std::exp(Exponent * std::log(Base));
}

long double TenPower(long double X) { return std::exp(X * kLn10); }

int16_t SmallIntPower(int16_t Base, int16_t Exponent) {
    if (Exponent < 0) return NoValueSmallInt;
    if (Exponent == 0) return 0;
    uint16_t r = static_cast<uint16_t>(Base);
    for (int i = 1; i < Exponent; ++i) r = static_cast<uint16_t>(r * static_cast<uint16_t>(Base));
    return static_cast<int16_t>(r);
}

long double NthRoot(int16_t N, long double X) {
    if (X == 0) return 0;
    if (X < 0 || std::isnan(X)) throw rtl::EInvalidOp(rtl::msg::InvalidOp);
    const long double l = std::log(X);
    if (N == 0) {
        if (l == 0) throw rtl::EInvalidOp(rtl::msg::InvalidOp);  // 0 / 0
        throw rtl::EZeroDivide(rtl::msg::ZeroDivide);
    }
    return std::exp(l / N);
}

long double Log10OrSentinel(long double X) {
    if (!(X > 0)) return NoValue;
    return std::log(X) * kLog10E;
}

long double Log10OrZero(long double X) {
    if (!(X > 0)) return 0;
    return std::log(X) * kLog10E;
}

int32_t CeilInt(long double X) {
    const long long t = rtl::Trunc(X);
    uint32_t r = static_cast<uint32_t>(static_cast<unsigned long long>(t));
    if (X - static_cast<long double>(t) > 0) ++r;
    return static_cast<int32_t>(r);
}

int32_t FloorInt(long double X) {
    const long long t = rtl::Trunc(X);
    uint32_t r = static_cast<uint32_t>(static_cast<unsigned long long>(t));
    if (X - static_cast<long double>(t) < 0) --r;
    return static_cast<int32_t>(r);
}

long double RoundDigits(int16_t Digits, long double X) {
    const int16_t P = SmallIntPower(10, Digits);
    const long double scaled = X * static_cast<long double>(P);
    const long long r = rtl::Round(scaled);
    if (P == 0) throw rtl::EInvalidOp(rtl::msg::InvalidOp);  // Round(0) / 0 (Digits = 0)
    return static_cast<long double>(r) / static_cast<long double>(P);
}

bool InClosedRange(long double X, long double Lo, long double Hi) { return Lo <= X && X <= Hi; }
bool InClosedRange2(long double X, long double Lo, long double Hi) { return Lo <= X && X <= Hi; }
bool InHalfOpenRange(long double X, long double Lo, long double Hi) { return Lo <= X && X < Hi; }
bool InRangeInt(int X, int Lo, int Hi) { return Lo <= X && X <= Hi; }

bool WithinTolerance(double X, double C, double Tol) {
    // C - Tol and C + Tol as double sums, as the Double arguments give them.
    const double lo = C - Tol;
    const double hi = C + Tol;
    return InClosedRange(X, lo, hi);
}

int HexToInt(const std::string& S) { return rtl::StrToInt("$" + S); }

int IncMod(int& I, int N) {
    if (N == 0) throw rtl::EDivByZero(rtl::msg::DivByZero);
    const long long n = static_cast<long long>(I) + 1;
    const long long q = n / N;
    long long r = n % N;
    if (r < 0) r += N;
    I = static_cast<int>(r);
    return static_cast<int>(q);
}

int DecMod(int& I, int N) {
    if (N == 0) throw rtl::EDivByZero(rtl::msg::DivByZero);
    const long long n = static_cast<long long>(I) - 1;
    const long long q = n / N;
    long long r = n % N;
    if (r < 0) r += N;
    I = static_cast<int>(r);
    return static_cast<int>(q);
}

std::string IfThenStr(bool Cond, const std::string& A, const std::string& B) { return Cond ? A : B; }
