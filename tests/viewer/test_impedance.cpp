// The impedance field Z = E/H built from electric and magnetic planes of the same grid.
#include <gtest/gtest.h>

#include <string>

#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

class ImpedanceTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        StartUp();
    }
    // A 21 x 21 grid at height h: E components (e, 2e, 3e) and H components (h0, h0, h0) at
    // stored height h + 100. The point (0, 0) carries E 10 V/m and H 0.1 A/m.
    static void AddPlanes(double h, int n = 21) {
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < 21; ++j) {
                const double x = i - 10, y = j - 10;
                const double e = (x == 0 && y == 0) ? 10 : 1 + i + j;
                AppendFieldPoint(x, y, h, e, e, 2 * e, 3 * e);
            }
        for (int i = 0; i < 21; ++i)
            for (int j = 0; j < 21; ++j) {
                const double x = i - 10, y = j - 10;
                AppendFieldPoint(x, y, h + 100, 0.1, 0.1, 0.2, x == 10 && y == 10 ? 0 : 0.5);
            }
    }
    static int Count(double storedHeight) {
        int n = 0;
        for (double z : tz) n += z == storedHeight;
        return n;
    }
    static int IndexOf(double x, double y, double z) {
        for (int i = 0; i < PointCount(); ++i)
            if (tx[i] == x && ty[i] == y && tz[i] == z) return i;
        return -1;
    }
    static void ExpectEqualLengths() {
        for (const DoubleArray* a : {&tx, &ty, &tz, &tEx, &tEy, &tEz}) EXPECT_EQ(a->Length(), tE.Length());
    }
    int AdvdWarnings() const {
        int n = 0;
        for (const auto& b : presenter->boxes)
            n += b.text.find("Fehler (ADvd): Felder haben verschiedene Länge!") != std::string::npos;
        return n;
    }
};

TEST_F(ImpedanceTest, QuotientsPointByPointAndComponentByComponent) {
    AddPlanes(2);
    AddPlanes(7);
    const int before = PointCount();
    PlaneList = FieldPlanes(tz, 1);
    form->constructZPlane();

    EXPECT_EQ(PointCount(), before + 882);
    EXPECT_EQ(Count(202), 441);
    EXPECT_EQ(Count(207), 441);
    ExpectEqualLengths();

    const int p = IndexOf(0, 0, 202);
    ASSERT_GE(p, 0);
    EXPECT_DOUBLE_EQ(tE[p], 100.0);
    EXPECT_DOUBLE_EQ(tEx[p], 100.0);
    EXPECT_DOUBLE_EQ(tEy[p], 100.0);  // 20 / 0.2
    EXPECT_DOUBLE_EQ(tEz[p], 60.0);   // 30 / 0.5

    // A magnetic value of 0 gives 1.7e308.
    const int q = IndexOf(10, 10, 207);
    ASSERT_GE(q, 0);
    EXPECT_EQ(tEz[q], 1.7e308);
    EXPECT_DOUBLE_EQ(tE[q], 41 / 0.1);
    EXPECT_EQ(AdvdWarnings(), 0);
}

TEST_F(ImpedanceTest, HeightWithoutMatchingMagneticPlaneIsLeftOut) {
    AddPlanes(2);
    AddPlanes(7, 20);  // the electric plane at 7 m lacks a row: 420 against 441 samples
    for (int i = 0; i < 5; ++i) AppendFieldPoint(i, 0, 12, 1, 1, 1, 1);  // no magnetic plane
    const int before = PointCount();
    PlaneList = FieldPlanes(tz, 1);
    ASSERT_EQ(PlaneList.Length(), 3);
    form->constructZPlane();

    EXPECT_EQ(PointCount(), before + 441);
    EXPECT_EQ(Count(202), 441);
    EXPECT_EQ(Count(207), 0);
    EXPECT_EQ(Count(212), 0);
    ExpectEqualLengths();
    EXPECT_GT(AdvdWarnings(), 0);
}

TEST_F(ImpedanceTest, NothingIsBuiltForAnEmptyPlaneList) {
    AddPlanes(2);
    const int before = PointCount();
    PlaneList.clear();  // e.g. the impedance type was selected: its (missing) heights
    form->constructZPlane();
    EXPECT_EQ(PointCount(), before);
}

TEST_F(ImpedanceTest, MenuCommandBuildsOnceAndSwitchesToImpedance) {
    AddPlanes(2);
    HasEPlanes = HasHPlanes = true;
    HasZPlanes = false;
    form->afterLoading();
    const int before = PointCount();

    form->MIImpedanzfeldnachbildenClick(nullptr);
    EXPECT_TRUE(HasZPlanes);
    EXPECT_EQ(PointCount(), before + 441);
    EXPECT_EQ(form->RGFeldTyp->ItemIndex(), 2);

    // Built already: the command only switches the display.
    form->MIImpedanzfeldnachbildenClick(nullptr);
    EXPECT_EQ(PointCount(), before + 441);
    EXPECT_EQ(form->RGFeldTyp->ItemIndex(), 2);
}

}  // namespace
