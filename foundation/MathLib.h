// Unit MathLib: maths helpers and the no-value convention; also IfThenStr of
// LogicLib. MinI and MaxI of cUtils are declared in cUtils.h (included here).
//
// "extended" arguments are long double (x87 80-bit); the others are double.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/cUtils.h"

// -99: no value, undefined or not found. Callers test for > 0 or >= 0, never for == -99.
inline constexpr double NoValue = -99.0;
// The same marker as a 16-bit signed integer.
inline constexpr int16_t NoValueSmallInt = -99;

// 1 when X >= 0, else -1 (never 0; NaN gives -1).
int Sgn(long double X);
// 1 when X > 1, 0 when X < 0 or not a number, else X.
long double Clip01(long double X);
// max(min(X, Hi), Lo): Lo wins when Lo > Hi.
long double ClipRange(long double X, long double Lo, long double Hi);

int IntMin(int A, int B);
int IntMax(int A, int B);
long double MinExt(long double A, long double B);  // A when equal
double MinDbl(double A, double B);
double Min3Dbl(double A, double B, double C);
int Min3Int(int A, int B, int C);
int Min4Int(int A, int B, int C, int D);

// Angle of the point (X, Y) in degrees, X first; -180..+180 with the negative x axis at +180,
// (0, 0) at +90.
double ArcTan2Deg(double X, double Y);
long double RadToDegree(long double X);  // X * 57.29577951308232
long double SinD(long double X);         // Sin(X * 3.14159265359 / 180)
long double CosD(long double X);

// Exp(Exponent * Ln(Base)); -99 when Base <= 0 or not a number.
long double PowerOrSentinel(long double Base, long double Exponent);
// Exp(X * 2.302585092994046).
long double TenPower(long double X);
// Base^Exponent by repeated 16-bit multiplication (wraps); Exponent 0 gives 0, < 0 gives -99.
int16_t SmallIntPower(int16_t Base, int16_t Exponent);
// Exp(Ln(X) / N); 0 when X = 0; X < 0 raises rtl::EInvalidOp, N = 0 a floating-point error.
long double NthRoot(int16_t N, long double X);
// Ln(X) * 0.4342944819032518; -99 (Sentinel) or 0 (Zero) when X <= 0 or not a number.
long double Log10OrSentinel(long double X);
long double Log10OrZero(long double X);

// Trunc(X) plus / minus 1 for a positive / negative fractional part; low 32 bits.
// NaN or a value outside 64 bits raises rtl::EInvalidOp (from rtl::Trunc).
int32_t CeilInt(long double X);
int32_t FloorInt(long double X);
// Round(X * P) / P, P = SmallIntPower(10, Digits); X * P in extended, rounded to the nearest
// 64-bit integer with ties to even. RoundDigits(1, 0.35) = 0.3, RoundDigits(1, 1.05) = 1.1.
long double RoundDigits(int16_t Digits, long double X);

// Range tests: X first, then Lo and Hi; a NaN anywhere gives false.
bool InClosedRange(long double X, long double Lo, long double Hi);   // Lo <= X <= Hi
bool InClosedRange2(long double X, long double Lo, long double Hi);  // the same test
bool InHalfOpenRange(long double X, long double Lo, long double Hi); // Lo <= X < Hi
bool InRangeInt(int X, int Lo, int Hi);                              // Lo <= X <= Hi
// InClosedRange(X, C - Tol, C + Tol).
bool WithinTolerance(double X, double C, double Tol);

// The integer whose hexadecimal digits are S ("$" + S converted as an integer literal);
// rtl::EConvertError when S is not hexadecimal.
int HexToInt(const std::string& S);

// I := (I + 1) mod N made non-negative; result (I + 1) div N taken before the correction.
// N = 0 raises rtl::EDivByZero.
int IncMod(int& I, int N);
// I := (I - 1) mod N made non-negative; result (I - 1) div N taken before the correction.
int DecMod(int& I, int N);

// LogicLib: A when Cond, else B.
std::string IfThenStr(bool Cond, const std::string& A, const std::string& B);
