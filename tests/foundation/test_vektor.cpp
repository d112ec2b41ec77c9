// vectors, point lists and two-dimensional arrays (VektorLib, ClassesLib,
// TwoDimArray); ColorArray.
#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

#include "foundation/ClassesLib.h"
#include "foundation/TwoDimArray.h"
#include "foundation/VektorLib.h"
#include "platform/gdi/Graphics.h"
#include "platform/rtl/SysUtils.h"

TEST(FoundationVektor, Arithmetic) {
    const Vektor2 a = MakeVektor2(1, 2);
    const Vektor2 b = MakeVektor2(3, 4);
    EXPECT_EQ(a.X, 1.0L);
    EXPECT_EQ(a.Y, 2.0L);
    EXPECT_EQ(Vektor2Add(a, b), MakeVektor2(4, 6));
    EXPECT_EQ(Vektor2Sub(a, b), MakeVektor2(-2, -2));
    EXPECT_EQ(Vektor2Scale(a, 2.5), MakeVektor2(2.5, 5));
    EXPECT_EQ(Vektor2Dot(a, b), 11.0L);
    EXPECT_EQ(Vektor2Dist(MakeVektor2(0, 0), MakeVektor2(3, 4)), 5.0L);
    EXPECT_EQ(Vektor2Norm(MakeVektor2(-3, 4)), 5.0L);
}

TEST(FoundationVektor, ExtendedPrecision) {
    // 0.1 widened from double and added in extended precision keeps more bits than a double sum.
    const Vektor2 s = Vektor2Add(MakeVektor2(0.1, 0), MakeVektor2(0.2, 0));
    EXPECT_EQ(s.X, static_cast<long double>(0.1) + static_cast<long double>(0.2));
    EXPECT_NE(static_cast<long double>(0.1 + 0.2), s.X);
}

TEST(FoundationVektor, PointList) {
    Vektor2Array a;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(AppendVektor2(a, MakeVektor2(i, 10 * i)), i);
    EXPECT_EQ(RemoveVektor2s(a, 1, 2), 2);
    ASSERT_EQ(a.Length(), 2);
    EXPECT_EQ(a[0], MakeVektor2(0, 0));
    EXPECT_EQ(a[1], MakeVektor2(3, 30));

    EXPECT_EQ(RemoveVektor2s(a, 2, 1), 0);
    EXPECT_EQ(RemoveVektor2s(a, -2, 2), 0);
    EXPECT_EQ(RemoveVektor2s(a, 0, 0), 0);
    EXPECT_EQ(RemoveVektor2s(a, -1, 1), 0);  // Idx + Count < 1
    EXPECT_EQ(RemoveVektor2s(a, -1, 2), 2);  // Idx taken as 0, Count not reduced
    EXPECT_TRUE(a.empty());
    AppendVektor2(a, MakeVektor2(3, 30));
    EXPECT_EQ(RemoveVektor2s(a, 0, 100), 1);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(RemoveVektor2s(a, 0, 1), 0);

    for (int i = 0; i < 3; ++i) AppendVektor2(a, MakeVektor2(i, i));
    Vektor2ArrayRemoveAll(a);
    EXPECT_EQ(a.High(), -1);
    Vektor2ArrayRemoveAll(a);
    EXPECT_TRUE(a.empty());
    EXPECT_THROW(a[0], rtl::ERangeError);
}

TEST(FoundationVektor, ColorArray) {
    // The element type is the platform's colour type.
    static_assert(std::is_same_v<ColorArray::value_type, gdi::TColor>);
    ColorArray c;
    EXPECT_EQ(AppendColor(c, 0x0054A6), 0);
    EXPECT_EQ(AppendColor(c, 0x1FFFFFFF), 1);
    EXPECT_EQ(AppendColor(c, 0xFF00000Fu), 2);
    EXPECT_EQ(c[1], 0x1FFFFFFFu);
    EXPECT_EQ(c[2], 0xFF00000Fu);
    ClearColorArray(c);
    EXPECT_EQ(c.Length(), 0);
}

TEST(FoundationTwoDim, SizeAndFill) {
    TwoDimArrayDouble a;
    EXPECT_EQ(TwoDimRows(a), 0);
    EXPECT_THROW(TwoDimCols(a), rtl::ERangeError);
    Fill2D(a, 3);  // no rows: nothing to fill
    SetSize2D(a, 3, 4);
    EXPECT_EQ(TwoDimRows(a), 3);
    EXPECT_EQ(TwoDimCols(a), 4);
    EXPECT_EQ(a[2][3], 0.0);
    Fill2D(a, -1);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(a[i][j], -1.0);
    a[1][2] = 7;
    SetSize2D(a, 4, 5);  // existing cells kept, new ones 0
    EXPECT_EQ(a[1][2], 7.0);
    EXPECT_EQ(a[0][0], -1.0);
    EXPECT_EQ(a[0][4], 0.0);
    EXPECT_EQ(a[3][0], 0.0);
    SetSize2D(a, 2, 2);
    EXPECT_EQ(TwoDimRows(a), 2);
    EXPECT_EQ(TwoDimCols(a), 2);
    EXPECT_THROW(a[2][0], rtl::ERangeError);
    EXPECT_THROW(a[0][2], rtl::ERangeError);
    EXPECT_THROW(SetSize2D(a, -1, 2), rtl::ERangeError);

    TwoDimArrayInteger n;
    SetSize2D(n, 2, 3);
    EXPECT_EQ(TwoDimRows(n), 2);
    EXPECT_EQ(TwoDimCols(n), 3);
    EXPECT_EQ(n[1][2], 0);
    n[1][2] = 5;
    SetSize2D(n, 3, 3);
    EXPECT_EQ(n[1][2], 5);
}

TEST(FoundationTwoDim, Fill2DRaggedRowRaisesRangeError) {
    TwoDimArrayDouble a;
    SetSize2D(a, 2, 3);
    a[1].SetLength(2);
    EXPECT_THROW(Fill2D(a, 1), rtl::ERangeError);
}

TEST(FoundationTwoDim, NextValidRow) {
    TwoDimArrayDouble a;
    SetSize2D(a, 5, 1);
    const double col[] = {-1, -1, 0.5, -1, 2};
    for (int i = 0; i < 5; ++i) a[i][0] = col[i];
    EXPECT_EQ(NextValidRow(a, -1, 0), 2);
    EXPECT_EQ(NextValidRow(a, 2, 0), 4);
    EXPECT_EQ(NextValidRow(a, 4, 0), -1);
    EXPECT_EQ(NextValidRow(a, 1, 0), 2);

    // 0 is valid, -0.0001 and NaN are not.
    a[1][0] = 0;
    EXPECT_EQ(NextValidRow(a, -1, 0), 1);
    a[1][0] = -0.0001;
    a[2][0] = std::nan("");
    EXPECT_EQ(NextValidRow(a, -1, 0), 4);
}

TEST(FoundationTwoDim, NextValidCol) {
    TwoDimArrayDouble a;
    SetSize2D(a, 2, 5);
    const double row[] = {-1, -1, 0.5, -1, 2};
    for (int j = 0; j < 5; ++j) a[1][j] = row[j];
    Fill2D(a, -1);
    for (int j = 0; j < 5; ++j) a[1][j] = row[j];
    EXPECT_EQ(NextValidCol(a, -1, 1), 2);
    EXPECT_EQ(NextValidCol(a, 2, 1), 4);
    EXPECT_EQ(NextValidCol(a, 4, 1), -1);
    EXPECT_EQ(NextValidCol(a, -1, 0), -1);
    a[1][0] = 0;
    EXPECT_EQ(NextValidCol(a, -1, 1), 0);
}

TEST(FoundationTwoDim, OutsideIndexRaisesRangeErrorOnlyWhenRead) {
    TwoDimArrayDouble a;
    SetSize2D(a, 3, 3);
    Fill2D(a, -1);
    EXPECT_THROW(NextValidRow(a, -1, 3), rtl::ERangeError);  // column outside
    EXPECT_THROW(NextValidRow(a, -1, -1), rtl::ERangeError);
    EXPECT_THROW(NextValidCol(a, -1, 3), rtl::ERangeError);  // row outside
    EXPECT_THROW(NextValidRow(a, -3, 0), rtl::ERangeError);  // first candidate row -2
    // The first candidate is past the end: -1 without reading the bad index.
    EXPECT_EQ(NextValidRow(a, 2, 99), -1);
    EXPECT_EQ(NextValidCol(a, 2, 99), -1);
    EXPECT_EQ(NextValidRow(a, 10, 0), -1);
    TwoDimArrayDouble e;
    EXPECT_EQ(NextValidRow(e, -1, 0), -1);
    EXPECT_EQ(NextValidCol(e, -1, 0), -1);
}
