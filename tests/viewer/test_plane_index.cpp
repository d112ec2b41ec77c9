// The plane index against the plain scans it replaces: plane lists, plane extraction and the
// impedance construction give bit-identical results on the fixtures and on random point sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "viewer/NearFieldReaders.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

bool SameBits(const DoubleArray& a, const DoubleArray& b) {
    return a.Length() == b.Length() &&
           (a.empty() || std::memcmp(a.data(), b.data(), sizeof(double) * a.vec().size()) == 0);
}

// The plane as a scan over all points takes it.
TSkalarFeld2 ScanPlane(double height, int component) {
    TSkalarFeld2 p;
    const DoubleArray* values[] = {&tE, &tEx, &tEy, &tEz};
    if (component < 0 || component > 3) return p;
    const double lo = height - 0.1, hi = height + 0.1;
    for (int i = 0; i < tE.Length(); ++i)
        if (lo <= tz[i] && tz[i] <= hi) p.Add(tx[i], ty[i], (*values[component])[i]);
    return p;
}

// The impedance planes as built plane by plane with scans, appended as they are built.
void ScanImpedance(const DoubleArray& heights) {
    for (double h : heights) {
        TSkalarFeld2 e[4], m[4];
        for (int c = 0; c < 4; ++c) {
            e[c] = ScanPlane(h, c);
            m[c] = ScanPlane(h + HOffset, c);
        }
        const int n = e[0].Count();
        bool ok = true;
        for (int c = 0; c < 4; ++c) ok = ok && e[c].Count() == n && m[c].Count() == n;
        if (!ok) continue;
        DoubleArray q[4];
        for (int c = 0; c < 4; ++c)
            for (int k = 0; k < n; ++k)
                q[c].push_back(m[c].Feld[k] == 0 ? 1.7e308 : e[c].Feld[k] / m[c].Feld[k]);
        for (int k = 0; k < n; ++k)
            AppendFieldPoint(e[0].x[k], e[0].y[k], h + ZOffset, q[0][k], q[1][k], q[2][k], q[3][k]);
    }
}

struct Snapshot {
    DoubleArray a[7];
    static Snapshot Take() { return {{tx, ty, tz, tE, tEx, tEy, tEz}}; }
    void Restore() const {
        ClearFeld2Dim();
        DoubleArray* t[7] = {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz};
        for (int k = 0; k < 7; ++k) *t[k] = a[k];
    }
};

class PlaneIndexTest : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        StartUp();
        DebugMode = false;
    }

    // Plane lists of every kind and the planes of every listed height (and of heights just
    // beside them, at the edge of the tenth of a metre and beyond) against the scans.
    void ExpectSameAsScans(const std::string& what) {
        DoubleArray queries;
        for (int kind = 0; kind <= 4; ++kind) {
            const DoubleArray fast = FieldPlanes(tz, kind);
            const DoubleArray sorted = SortedFieldPlanes(tz, kind);
            ASSERT_TRUE(SameBits(fast, sorted)) << what << ", kind " << kind;
        }
        for (double h : SortedFieldPlanes(tz, 0))
            for (double d : {0.0, 0.05, -0.05, 0.1, -0.1, 0.1000001, 0.3})
                queries.push_back(h + d);
        for (double q : {std::nan(""), std::numeric_limits<double>::infinity(), -1e300, 0.0})
            queries.push_back(q);
        for (double q : queries) {
            for (int c = 0; c <= 4; ++c) {
                const auto plane = form->LoadPlane(q, c);
                const TSkalarFeld2 ref = ScanPlane(q, c);
                ASSERT_TRUE(SameBits(plane->x, ref.x) && SameBits(plane->y, ref.y) &&
                            SameBits(plane->Feld, ref.Feld))
                    << what << ", height " << q << ", component " << c;
            }
        }
    }
};

TEST_F(PlaneIndexTest, FixturesGiveTheSameListsAndPlanes) {
    const std::string data = FELDOR_TEST_DATA;
    struct File {
        const char* name;
        void (*load)(const std::string&, nearfield::ReaderContext&);
    } files[] = {
        {"/eznec/basic.txt", nearfield::LoadEznec},
        {"/eznec/both_types.txt", nearfield::LoadEznec},
        {"/eznec/magnetic.txt", nearfield::LoadEznec},
        {"/eznec/rounding.txt", nearfield::LoadEznec},
        {"/4nec2/e_and_h.out", nearfield::Load4nec2},
        {"/4nec2/page_header.out", nearfield::Load4nec2},
        {"/4nec2/crlf.out", nearfield::Load4nec2},
    };
    for (const File& f : files) {
        ClearFeld2Dim();
        // Two files in one set, as a multiple import gives.
        for (int k = 0; k < 2; ++k) {
            nearfield::ReaderContext ctx;
            f.load(data + f.name, ctx);
        }
        ASSERT_GT(PointCount(), 0) << f.name;
        ExpectSameAsScans(f.name);

        const Snapshot before = Snapshot::Take();
        PlaneList = FieldPlanes(tz, 1);
        form->constructZPlane();
        const Snapshot built = Snapshot::Take();
        before.Restore();
        ScanImpedance(PlaneList);
        for (int k = 0; k < 7; ++k)
            EXPECT_TRUE(SameBits(built.a[k], Snapshot::Take().a[k])) << f.name << ", array " << k;
        ExpectSameAsScans(std::string(f.name) + " with impedance planes");
    }
}

// Random sets: heights close together (several within a tenth), both zeros, values that are
// not numbers, infinities and the three field-type windows; points of a height interleaved.
TEST_F(PlaneIndexTest, RandomSetsGiveTheSameListsAndPlanes) {
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<double>> pools = {
        {1, 2, 3, 102, 103, 202},
        {2.0, 2.05, 2.1, 2.2, 2.15, 102.0, 102.05},
        {0.0, -0.0, 1, 100, -49, 60, 80, 160, 180, 260},
        {0.0, 5, 105, 205},
        {-0.0, 5, 105, 205},
        {nan, 1, 101, inf, -inf, 1e308},
        {-49, 51, 151, 1, 101, 251},  // an impedance plane of -49 lands on the H plane of 51
    };
    std::mt19937 rng(12);
    for (std::size_t p = 0; p < pools.size(); ++p) {
        for (int round = 0; round < 4; ++round) {
            ClearFeld2Dim();
            std::uniform_int_distribution<std::size_t> pick(0, pools[p].size() - 1);
            std::uniform_int_distribution<int> coord(-3, 3);
            const int n = 40 + 60 * round;
            for (int i = 0; i < n; ++i) {
                const double z = pools[p][pick(rng)];
                AppendFieldPoint(coord(rng), coord(rng), z, i + 1, 0.5 * i, i % 7 - 3.0,
                                 round == 1 ? 0.0 : i * 1.5);
            }
            ExpectSameAsScans("pool " + std::to_string(p) + ", round " + std::to_string(round));

            const Snapshot before = Snapshot::Take();
            for (int kind : {1, 2}) {
                PlaneList = FieldPlanes(tz, kind);
                form->constructZPlane();
                const Snapshot built = Snapshot::Take();
                before.Restore();
                ScanImpedance(PlaneList);
                for (int k = 0; k < 7; ++k)
                    ASSERT_TRUE(SameBits(built.a[k], Snapshot::Take().a[k]))
                        << "pool " << p << ", kind " << kind << ", array " << k;
                before.Restore();
            }
            presenter->boxes.clear();
        }
    }
}

// The index follows every change of the set: appending, emptying and refilling to the same
// length, swapping in other arrays and changing a height in place (announced).
TEST_F(PlaneIndexTest, ListsFollowChangesOfThePointSet) {
    for (double z : {1.0, 2.0}) AppendFieldPoint(0, 0, z, 1, 1, 1, 1);
    EXPECT_TRUE(SameBits(FieldPlanes(tz, 1), DoubleArray({1.0, 2.0})));
    AppendFieldPoint(0, 0, 3, 1, 1, 1, 1);
    EXPECT_TRUE(SameBits(FieldPlanes(tz, 1), DoubleArray({1.0, 2.0, 3.0})));
    EXPECT_EQ(form->LoadPlane(3, 0)->Count(), 1);

    ClearFeld2Dim();
    for (double z : {4.0, 5.0, 6.0}) AppendFieldPoint(0, 0, z, 1, 1, 1, 1);
    EXPECT_TRUE(SameBits(FieldPlanes(tz, 1), DoubleArray({4.0, 5.0, 6.0})));

    DoubleArray other({7.0, 8.0, 9.0});
    tz.vec().swap(other.vec());
    EXPECT_TRUE(SameBits(FieldPlanes(tz, 1), DoubleArray({7.0, 8.0, 9.0})));
    EXPECT_EQ(form->LoadPlane(8, 0)->Count(), 1);

    tz[0] = 9;
    PointSetChanged();
    EXPECT_TRUE(SameBits(FieldPlanes(tz, 1), DoubleArray({8.0, 9.0})));
    EXPECT_EQ(form->LoadPlane(9, 0)->Count(), 2);
}

TEST_F(PlaneIndexTest, ClearingGivesTheMemoryBack) {
    for (int i = 0; i < 1000; ++i) AppendFieldPoint(i, 0, 1, 1, 1, 1, 1);
    ClearFeld2Dim();
    for (const DoubleArray* a : {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz})
        EXPECT_EQ(a->vec().capacity(), 0u);
}

}  // namespace

namespace {

// In debug mode the impedance construction writes, per height, the lines of the plane loads it
// stands for: the electric and magnetic plane of each component and the plane sizes.
TEST_F(PlaneIndexTest, ImpedanceTraceLinesAreThoseOfThePlaneLoads) {
    for (int i = 0; i < 9; ++i) {
        AppendFieldPoint(i % 3, i / 3, 2, 1 + i, 2, 3, 4);
        AppendFieldPoint(i % 3, i / 3, 102, 0.5, 0.25, 0.125, 0);
    }
    PlaneList = FieldPlanes(tz, 1);
    DebugMode = true;
    rtl::TStrings* memo = FormProgInfo->MeInfo->Lines();

    // The reference: the loads themselves, in the order the construction used to make them.
    memo->Clear();
    for (int c = 0; c <= 3; ++c) {
        form->LoadPlane(2, c);
        form->LoadPlane(102, c);
        if (c == 0)
            for (const char* l : {"EPlane.x    : 8", "EPlane.y    : 8", "EPlane.Feld : 8",
                                  "newZPlane   : 8"})
                memo->Add(l);
    }
    std::vector<std::string> expected;
    for (int i = 0; i < memo->Count(); ++i) expected.push_back(memo->Get(i));
    const double heightAfterLoads = PlaneHeight;

    memo->Clear();
    PlaneHeight = 0;
    form->constructZPlane();
    std::vector<std::string> lines;
    for (int i = 0; i < memo->Count(); ++i) lines.push_back(memo->Get(i));
    const auto start = std::find(lines.begin(), lines.end(), "LoadPlane: Vor dem Laden");
    ASSERT_GE(lines.end() - start, static_cast<std::ptrdiff_t>(expected.size()));
    EXPECT_EQ(std::vector<std::string>(start, start + static_cast<std::ptrdiff_t>(expected.size())),
              expected);
    EXPECT_EQ(PlaneHeight, heightAfterLoads);
    EXPECT_EQ(PointCount(), 27);
}

}  // namespace
