// maths helpers and the no-value convention (MathLib, MinI/MaxI of cUtils,
// IfThenStr of LogicLib).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/MathLib.h"
#include "platform/rtl/SysUtils.h"

namespace {
const long double kNaN = std::numeric_limits<long double>::quiet_NaN();
}

TEST(FoundationMath, NoValue) {
    EXPECT_EQ(NoValue, -99.0);
    EXPECT_EQ(NoValueSmallInt, -99);
}

TEST(FoundationMath, Sgn) {
    EXPECT_EQ(Sgn(0), 1);
    EXPECT_EQ(Sgn(-0.0L), 1);
    EXPECT_EQ(Sgn(3.5), 1);
    EXPECT_EQ(Sgn(-1e-300), -1);
    EXPECT_EQ(Sgn(kNaN), -1);
}

TEST(FoundationMath, Clip) {
    EXPECT_EQ(Clip01(1.2), 1);
    EXPECT_EQ(Clip01(-0.1), 0);
    EXPECT_EQ(Clip01(0.25), 0.25);
    EXPECT_EQ(Clip01(kNaN), 0);
    EXPECT_EQ(ClipRange(1500, 1, 1000), 1000);
    EXPECT_EQ(ClipRange(0.5, 1, 1000), 1);
    EXPECT_EQ(ClipRange(50, 1, 1000), 50);
    EXPECT_EQ(ClipRange(5, 10, 1), 10);  // Lo wins when Lo > Hi
}

TEST(FoundationMath, MinMax) {
    EXPECT_EQ(MinI(3, -2), -2);
    EXPECT_EQ(MaxI(3, -2), 3);
    EXPECT_EQ(IntMin(3, 4), 3);
    EXPECT_EQ(IntMax(3, 4), 4);
    EXPECT_EQ(MinExt(2, 1), 1);
    EXPECT_FALSE(std::signbit(MinExt(0.0L, -0.0L)));  // A when equal
    EXPECT_TRUE(std::signbit(MinExt(-0.0L, 0.0L)));
    EXPECT_EQ(MinDbl(2.5, -1), -1);
    EXPECT_EQ(Min3Dbl(3, 1, 2), 1);
    EXPECT_EQ(Min3Int(3, 2, -7), -7);
    EXPECT_EQ(Min4Int(4, 3, 2, 1), 1);
    EXPECT_EQ(Min4Int(1, 3, 2, 4), 1);
    EXPECT_EQ(Min4Int(5, 3, 0, 4), 0);
}

TEST(FoundationMath, Angles) {
    EXPECT_EQ(ArcTan2Deg(1, 1), 45.0);
    EXPECT_EQ(ArcTan2Deg(-1, 0), 180.00000000001185);
    EXPECT_EQ(ArcTan2Deg(0, -5), -90.0);
    EXPECT_EQ(ArcTan2Deg(0, 0), 90.0);
    EXPECT_NEAR(ArcTan2Deg(-1, -1), -135.0, 1e-9);
    EXPECT_NEAR(ArcTan2Deg(-1, 1), 135.0, 1e-9);
    EXPECT_NEAR(ArcTan2Deg(1, -1), -45.0, 1e-12);
    EXPECT_EQ(RadToDegree(1), 57.29577951308232L);
    EXPECT_NEAR(static_cast<double>(SinD(30)), 0.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(CosD(60)), 0.5, 1e-12);
    // The truncated pi: Sin(180 degrees) is not 0.
    EXPECT_EQ(SinD(180), std::sin(3.14159265359L * 180 / 180));
    EXPECT_NE(SinD(180), 0);
}

TEST(FoundationMath, PowersAndLogs) {
    EXPECT_NEAR(static_cast<double>(PowerOrSentinel(2, 10)), 1024.0, 1e-10);
    EXPECT_EQ(PowerOrSentinel(0, 2), -99);
    EXPECT_EQ(PowerOrSentinel(-4, 0.5), -99);
    EXPECT_EQ(PowerOrSentinel(kNaN, 2), -99);
    EXPECT_NEAR(static_cast<double>(TenPower(2)), 100.0, 1e-11);
    EXPECT_NEAR(static_cast<double>(TenPower(-3)), 0.001, 1e-16);

    EXPECT_EQ(SmallIntPower(10, 1), 10);
    EXPECT_EQ(SmallIntPower(10, 3), 1000);
    EXPECT_EQ(SmallIntPower(10, 0), 0);
    EXPECT_EQ(SmallIntPower(10, -1), -99);
    EXPECT_EQ(SmallIntPower(10, 4), 10000);
    EXPECT_EQ(SmallIntPower(10, 5), -31072);  // wraps past 32767
    EXPECT_EQ(SmallIntPower(-2, 3), -8);

    EXPECT_NEAR(static_cast<double>(NthRoot(4, 16)), 2.0, 1e-15);
    EXPECT_EQ(NthRoot(4, 0), 0);
    EXPECT_THROW(NthRoot(2, -1), rtl::EInvalidOp);
    EXPECT_THROW(NthRoot(0, 2), rtl::EZeroDivide);

    EXPECT_EQ(Log10OrSentinel(0), -99);
    EXPECT_EQ(Log10OrSentinel(-5), -99);
    EXPECT_EQ(Log10OrSentinel(kNaN), -99);
    EXPECT_EQ(static_cast<double>(Log10OrSentinel(1000)), 3.0);
    EXPECT_EQ(Log10OrZero(0), 0);
    EXPECT_EQ(Log10OrZero(kNaN), 0);
    EXPECT_NEAR(static_cast<double>(Log10OrZero(0.01)), -2.0, 1e-15);
    EXPECT_EQ(Log10OrSentinel(1), 0);
}

TEST(FoundationMath, CeilFloor) {
    EXPECT_EQ(FloorInt(-0.5), -1);
    EXPECT_EQ(FloorInt(2), 2);
    EXPECT_EQ(FloorInt(2.9), 2);
    EXPECT_EQ(FloorInt(-2), -2);
    EXPECT_EQ(CeilInt(2.1), 3);
    EXPECT_EQ(CeilInt(-2.1), -2);
    EXPECT_EQ(CeilInt(2), 2);
    EXPECT_EQ(CeilInt(-0.5), 0);
    // The low 32 bits of the truncated value.
    EXPECT_EQ(FloorInt(4294967296.0L + 5), 5);
    EXPECT_EQ(CeilInt(2147483647.5L), static_cast<int32_t>(0x80000000u));
    EXPECT_THROW(CeilInt(kNaN), rtl::EInvalidOp);
}

TEST(FoundationMath, RoundDigits) {
    EXPECT_EQ(static_cast<double>(RoundDigits(1, 0.25)), 0.2);
    EXPECT_EQ(static_cast<double>(RoundDigits(1, 0.75)), 0.8);
    EXPECT_EQ(static_cast<double>(RoundDigits(1, 0.35)), 0.3);
    EXPECT_EQ(static_cast<double>(RoundDigits(1, 1.05)), 1.1);
    EXPECT_EQ(static_cast<double>(RoundDigits(1, -1.25)), -1.2);
    EXPECT_EQ(static_cast<double>(RoundDigits(1, 12.34)), 12.3);
    EXPECT_EQ(static_cast<double>(RoundDigits(1, -0.04)), 0.0);
    EXPECT_EQ(static_cast<double>(RoundDigits(2, 1.005)), 1.0);  // 1.005 is below 1.005 as a double
    EXPECT_EQ(RoundDigits(1, 0.35), 3.0L / 10.0L);
    EXPECT_THROW(RoundDigits(0, 1.5), rtl::EInvalidOp);  // P = SmallIntPower(10, 0) = 0
    EXPECT_THROW(RoundDigits(1, kNaN), rtl::EInvalidOp);
}

TEST(FoundationMath, RangeTests) {
    EXPECT_TRUE(InClosedRange(5, 5, 10));
    EXPECT_TRUE(InClosedRange(10, 5, 10));
    EXPECT_FALSE(InClosedRange(10.0001, 5, 10));
    EXPECT_FALSE(InClosedRange(kNaN, 5, 10));
    EXPECT_FALSE(InClosedRange(7, kNaN, 10));
    EXPECT_FALSE(InClosedRange(7, 5, kNaN));
    EXPECT_TRUE(InClosedRange2(5, 5, 10));
    EXPECT_FALSE(InClosedRange2(4, 5, 10));
    EXPECT_FALSE(InHalfOpenRange(10, 5, 10));
    EXPECT_TRUE(InHalfOpenRange(5, 5, 10));
    EXPECT_FALSE(InHalfOpenRange(kNaN, 5, 10));
    EXPECT_TRUE(InRangeInt(5, 5, 10));
    EXPECT_TRUE(InRangeInt(10, 5, 10));
    EXPECT_FALSE(InRangeInt(11, 5, 10));
    EXPECT_TRUE(WithinTolerance(1.1, 1.0, 0.1));
    EXPECT_TRUE(WithinTolerance(0.9, 1.0, 0.1));
    EXPECT_FALSE(WithinTolerance(1.2, 1.0, 0.1));
    EXPECT_TRUE(WithinTolerance(101.2, 101.3, 0.1));
    EXPECT_FALSE(WithinTolerance(std::nan(""), 1.0, 0.1));
}

TEST(FoundationMath, HexToInt) {
    EXPECT_EQ(HexToInt("FF"), 255);
    EXPECT_EQ(HexToInt("0054A6"), 0x0054A6);
    EXPECT_EQ(HexToInt("1fffffff"), 0x1FFFFFFF);
    EXPECT_THROW(HexToInt("zz"), rtl::EConvertError);
}

TEST(FoundationMath, IncDecMod) {
    int i = 4;
    EXPECT_EQ(IncMod(i, 5), 1);
    EXPECT_EQ(i, 0);
    EXPECT_EQ(IncMod(i, 5), 0);
    EXPECT_EQ(i, 1);
    i = 0;
    EXPECT_EQ(DecMod(i, 5), 0);
    EXPECT_EQ(i, 4);
    EXPECT_EQ(DecMod(i, 5), 0);
    EXPECT_EQ(i, 3);
    i = 5;  // beyond N: wraps and the quotient says so
    EXPECT_EQ(IncMod(i, 5), 1);
    EXPECT_EQ(i, 1);
    i = -3;
    EXPECT_EQ(DecMod(i, 5), 0);  // -4 div 5 = 0, -4 mod 5 = -4 -> 1
    EXPECT_EQ(i, 1);
    i = -7;
    EXPECT_EQ(DecMod(i, 5), -1);  // -8 div 5 = -1, -8 mod 5 = -3 -> 2
    EXPECT_EQ(i, 2);
    i = 1;
    EXPECT_THROW(IncMod(i, 0), rtl::EDivByZero);
    EXPECT_THROW(DecMod(i, 0), rtl::EDivByZero);
}

TEST(FoundationMath, IfThenStr) {
    EXPECT_EQ(IfThenStr(true, "ja", "nein"), "ja");
    EXPECT_EQ(IfThenStr(false, "ja", "nein"), "nein");
}
