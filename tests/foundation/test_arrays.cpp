// growable arrays (cUtils, ArrayLib).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "foundation/ArrayLib.h"
#include "foundation/MathLib.h"
#include "foundation/cUtils.h"
#include "platform/gui/Presenter.h"
#include "platform/rtl/SysUtils.h"

namespace {

DoubleArray D(std::initializer_list<double> l) { return DoubleArray(l); }

std::vector<double> V(const DoubleArray& a) { return a.vec(); }

// ---- Reference implementations written straight from the routines' description --------------------

// The quicksort, coded as described, with checked indexing.
void RefQuickSort(DoubleArray& A, LongIntArray& Idx, int L, int R) {
    int I;
    do {
        I = L;
        int J = R;
        int P = (L + R) / 2;
        do {
            while (A[I] < A[P]) I = I + 1;
            while (A[J] > A[P]) J = J - 1;
            if (I <= J) {
                double t = A[I];
                A[I] = A[J];
                A[J] = t;
                int32_t k = Idx[I];
                Idx[I] = Idx[J];
                Idx[J] = k;
                if (P == I)
                    P = J;
                else if (P == J)
                    P = I;
                I = I + 1;
                J = J - 1;
            }
        } while (!(I > J));
        if (L < J) RefQuickSort(A, Idx, L, J);
        L = I;
    } while (I < R);
}

// MaxWithIndex / MinWithIndex exactly as described (always sorting).
int RefExtreme(const DoubleArray& A, double& Value, bool Max) {
    DoubleArray copy = A;
    LongIntArray idx;
    for (int i = 0; i <= A.High(); ++i) AppendLongInt(idx, i);
    if (copy.Length() > 1) RefQuickSort(copy, idx, 0, copy.High());
    const int k = Max ? copy.High() : 0;
    Value = copy[k];
    return idx[k];
}

// RemoveDuplicateDoubles as the original walks it.
void RefRemoveDuplicates(DoubleArray& A, bool IsSorted) {
    if (IsSorted) {
        int i = 0;
        while (i <= A.High()) {
            int n = 1;
            while (i + n <= A.High() && A[i + n] == A[i]) ++n;
            if (n >= 2) {
                RemoveDoubles(A, i + 1, n - 1);
                i = i + 1;
            } else {
                i = i + n;
            }
        }
    } else {
        for (int i = 0; i <= A.High(); ++i) {
            int p;
            while ((p = PosNextDouble(A[i], A, i, false)) >= 0) RemoveDoubles(A, p, 1);
        }
    }
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::isnan(a[i]) && std::isnan(b[i])) continue;
        if (a[i] != b[i] || std::signbit(a[i]) != std::signbit(b[i])) return false;
    }
    return true;
}

}  // namespace

// ---- TDynArray ------------------------------------------------------------------------------

TEST(FoundationArrays, DynArrayBasics) {
    DoubleArray a;
    EXPECT_EQ(a.Length(), 0);
    EXPECT_EQ(a.High(), -1);
    EXPECT_TRUE(a.empty());
    a.SetLength(3);
    EXPECT_EQ(a.High(), 2);
    EXPECT_EQ(a[2], 0.0);
    a[1] = 4.5;
    DoubleArray b = a;  // value semantics
    b[1] = 7;
    EXPECT_EQ(a[1], 4.5);
    EXPECT_FALSE(a == b);
    b[1] = 4.5;
    EXPECT_TRUE(a == b);
    StringArray s;
    s.SetLength(2);
    EXPECT_EQ(s[1], "");
}

TEST(FoundationArrays, DynArrayIndexOutsideRaisesRangeError) {
    DoubleArray a = D({1, 2});
    EXPECT_THROW(a[2], rtl::ERangeError);
    EXPECT_THROW(a[-1], rtl::ERangeError);
    const DoubleArray& c = a;
    EXPECT_THROW(c[5], rtl::ERangeError);
    try {
        (void)a[3];
        FAIL();
    } catch (const rtl::ERangeError& e) {
        EXPECT_EQ(e.Message, "Fehler bei Bereichsprüfung");
    }
    EXPECT_THROW(a.SetLength(-1), rtl::ERangeError);
    DoubleArray e;
    EXPECT_THROW(e[0], rtl::ERangeError);
}

// ---- Append and clear -----------------------------------------------------------------------

TEST(FoundationArrays, AppendReturnsIndex) {
    DoubleArray a;
    EXPECT_EQ(AppendDouble(a, 1.5), 0);
    for (int i = 0; i < 4; ++i) AppendDouble(a, i);
    EXPECT_EQ(a.Length(), 5);
    EXPECT_EQ(AppendDouble(a, 9), 5);
    EXPECT_EQ(a[5], 9.0);
    EXPECT_EQ(a[0], 1.5);

    LongIntArray l;
    EXPECT_EQ(AppendLongInt(l, -7), 0);
    EXPECT_EQ(AppendLongInt(l, 8), 1);
    EXPECT_EQ(l[0], -7);
    StringArray s;
    EXPECT_EQ(AppendString(s, "a"), 0);
    EXPECT_EQ(AppendString(s, "Länge"), 1);
    EXPECT_EQ(s[1], "Länge");
}

TEST(FoundationArrays, AppendDoubleArray) {
    DoubleArray a = D({1, 2});
    EXPECT_EQ(AppendDoubleArray(a, D({3, 4, 5})), 4);
    EXPECT_EQ(V(a), (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_EQ(AppendDoubleArray(a, DoubleArray()), -1);
    EXPECT_EQ(a.Length(), 5);
    DoubleArray e;
    EXPECT_EQ(AppendDoubleArray(e, D({7})), 0);
    DoubleArray self = D({1, 2});
    EXPECT_EQ(AppendDoubleArray(self, self), 3);
    EXPECT_EQ(V(self), (std::vector<double>{1, 2, 1, 2}));
}

TEST(FoundationArrays, ClearAndRemoveAll) {
    DoubleArray a = D({1, 2, 3});
    ClearDoubleArray(a);
    EXPECT_EQ(a.Length(), 0);
    a = D({1, 2, 3});
    DoubleArrayRemoveAll(a);
    EXPECT_EQ(a.High(), -1);
    DoubleArrayRemoveAll(a);
    EXPECT_EQ(a.High(), -1);
    StringArray s = {"a", "b"};
    StringArrayRemoveAll(s);
    EXPECT_TRUE(s.empty());
    s = {"a", "b"};
    ClearStringArray(s);
    EXPECT_TRUE(s.empty());
}

TEST(FoundationArrays, FillDoubles) {
    DoubleArray a = D({9, 9, 9, 9});
    FillDoubles(2, a, 1.25);
    EXPECT_EQ(V(a), (std::vector<double>{1.25, 1.25}));
    FillDoubles(0, a, 3);
    EXPECT_TRUE(a.empty());
    a = D({1});
    FillDoubles(-3, a, 3);
    EXPECT_TRUE(a.empty());
}

// ---- Remove and truncate --------------------------------------------------------------------

TEST(FoundationArrays, RemoveDoublesRules) {
    DoubleArray a = D({0, 1, 2, 3, 4});
    EXPECT_EQ(RemoveDoubles(a, 3, 10), 2);
    EXPECT_EQ(V(a), (std::vector<double>{0, 1, 2}));

    a = D({0, 1, 2, 3, 4});
    EXPECT_EQ(RemoveDoubles(a, 5, 1), 0);
    EXPECT_EQ(a.Length(), 5);

    a = D({0, 1, 2, 3, 4});
    EXPECT_EQ(RemoveDoubles(a, -2, 3), 3);  // Idx taken as 0, Count not reduced
    EXPECT_EQ(V(a), (std::vector<double>{3, 4}));

    a = D({0, 1, 2, 3, 4});
    EXPECT_EQ(RemoveDoubles(a, -2, 2), 0);  // Idx + Count < 1
    EXPECT_EQ(a.Length(), 5);

    a = D({0, 1, 2, 3, 4});
    EXPECT_EQ(RemoveDoubles(a, 1, 0), 0);
    EXPECT_EQ(RemoveDoubles(a, 1, 2), 2);
    EXPECT_EQ(V(a), (std::vector<double>{0, 3, 4}));

    DoubleArray e;
    EXPECT_EQ(RemoveDoubles(e, 0, 1), 0);
    a = D({0, 1});
    EXPECT_EQ(RemoveDoubles(a, 0, std::numeric_limits<int>::max()), 2);
}

TEST(FoundationArrays, RemoveStringsRules) {
    StringArray s = {"a", "b", "c", "d", "e"};
    EXPECT_EQ(RemoveStrings(s, 3, 10), 2);
    EXPECT_EQ(s, (StringArray{"a", "b", "c"}));
    s = {"a", "b", "c", "d", "e"};
    EXPECT_EQ(RemoveStrings(s, -2, 3), 3);
    EXPECT_EQ(s, (StringArray{"d", "e"}));
    EXPECT_EQ(RemoveStrings(s, 2, 1), 0);
}

TEST(FoundationArrays, Truncate) {
    DoubleArray a = D({0, 1, 2, 3, 4});
    TruncateDoubles(a, 2);
    EXPECT_EQ(V(a), (std::vector<double>{0, 1, 2}));
    TruncateDoubles(a, 5);
    EXPECT_EQ(a.Length(), 3);
    TruncateDoubles(a, -1);
    EXPECT_TRUE(a.empty());
    StringArray s = {"a", "b", "c"};
    TruncateStrings(s, 0);
    EXPECT_EQ(s, (StringArray{"a"}));
    TruncateStrings(s, 0);
    EXPECT_EQ(s, (StringArray{"a"}));
}

TEST(FoundationArrays, RemoveOutside) {
    DoubleArray a = D({5, 0, 10, 11, -1, 7, std::nan("")});
    RemoveOutside(a, 0, 10);
    EXPECT_EQ(V(a), (std::vector<double>{5, 0, 10, 7}));
}

TEST(FoundationArrays, RemoveDuplicateDoublesExamples) {
    DoubleArray a = D({1, 1, 2, 2, 2, 3});
    RemoveDuplicateDoubles(a, true);
    EXPECT_EQ(V(a), (std::vector<double>{1, 2, 3}));
    a = D({3, 1, 3, 2, 1});
    RemoveDuplicateDoubles(a, false);
    EXPECT_EQ(V(a), (std::vector<double>{3, 1, 2}));
    a = D({});
    RemoveDuplicateDoubles(a, false);
    EXPECT_TRUE(a.empty());
}

TEST(FoundationArrays, RemoveDuplicateDoublesAgreesWithPartWalk) {
    std::mt19937 rng(12345);
    const double pool[] = {0.0, -0.0, 1.0, 2.5, -3.0, 7.0, std::nan("")};
    for (int round = 0; round < 2000; ++round) {
        const int n = static_cast<int>(rng() % 30);
        DoubleArray a;
        for (int i = 0; i < n; ++i) AppendDouble(a, pool[rng() % 7]);
        for (const bool sorted : {false, true}) {
            DoubleArray x = a;
            if (sorted) SortDoubles(x);
            DoubleArray ref = x;
            RefRemoveDuplicates(ref, sorted);
            RemoveDuplicateDoubles(x, sorted);
            ASSERT_TRUE(SameBits(V(x), V(ref))) << "round " << round << " sorted " << sorted;
        }
    }
}

// ---- Search ---------------------------------------------------------------------------------

TEST(FoundationArrays, PosNextDouble) {
    const DoubleArray a = D({1, 2, 2, 3});
    EXPECT_EQ(PosNextDouble(2, a, -1, true), 1);
    EXPECT_EQ(PosNextDouble(2, a, 1, true), 2);
    EXPECT_EQ(PosNextDouble(2, a, 2, true), -1);
    EXPECT_EQ(PosNextDouble(3, a, 3, true), -1);  // PrevPos >= High
    EXPECT_EQ(PosNextDouble(5, a, -1, true), -1);
    EXPECT_EQ(PosNextDouble(0, a, -1, true), -1);
    EXPECT_EQ(PosNextDouble(3, a, -1, true), 3);
    EXPECT_EQ(PosNextDouble(1, a, -1, true), 0);
    EXPECT_EQ(PosNextDouble(2, DoubleArray(), -1, true), -1);

    const DoubleArray u = D({3, 1, 3, 2, 1});
    EXPECT_EQ(PosNextDouble(3, u, -1, false), 0);
    EXPECT_EQ(PosNextDouble(3, u, 0, false), 2);
    EXPECT_EQ(PosNextDouble(3, u, 2, false), -1);
    EXPECT_EQ(PosNextDouble(1, u, -7, false), 1);
    EXPECT_EQ(PosNextDouble(9, u, -1, false), -1);
}

TEST(FoundationArrays, PosNextDoubleSortedFindsFirstOfRun) {
    DoubleArray a;
    for (int i = 0; i < 50; ++i) AppendDouble(a, i / 7);
    for (int v = 0; v <= 7; ++v) EXPECT_EQ(PosNextDouble(v, a, -1, true), v * 7);
}

// ---- Sort -----------------------------------------------------------------------------------

TEST(FoundationArrays, SortDoubles) {
    DoubleArray a = D({3, -1, 2, 2, 0, 10});
    SortDoubles(a);
    EXPECT_EQ(V(a), (std::vector<double>{-1, 0, 2, 2, 3, 10}));
    DoubleArray e;
    SortDoubles(e);
    EXPECT_TRUE(e.empty());
    DoubleArray one = D({4});
    SortDoubles(one);
    EXPECT_EQ(V(one), (std::vector<double>{4}));
}

TEST(FoundationArrays, SortPairTieOrder) {
    // Traced by hand through The exact quicksort.
    DoubleArray v = D({1, 1, 1});
    LongIntArray idx = {0, 1, 2};
    SortPair(v, idx);
    EXPECT_EQ(idx, (LongIntArray{2, 1, 0}));

    v = D({5, 3, 5});
    idx = {0, 1, 2};
    SortPair(v, idx);
    EXPECT_EQ(V(v), (std::vector<double>{3, 5, 5}));
    EXPECT_EQ(idx, (LongIntArray{1, 2, 0}));
}

TEST(FoundationArrays, SortPairUnequalLengthsFailsAssertion) {
    DoubleArray v = D({1, 2});
    LongIntArray idx = {0};
    try {
        SortPair(v, idx);
        FAIL();
    } catch (const rtl::EAssertionFailed& e) {
        EXPECT_EQ(e.Message, "Sort pair must be of equal length.");
    }
}

TEST(FoundationArrays, SortPairAgreesWithPartQuicksort) {
    std::mt19937 rng(777);
    for (int round = 0; round < 3000; ++round) {
        const int n = static_cast<int>(rng() % 40);
        const int range = 1 + static_cast<int>(rng() % 12);
        DoubleArray a;
        LongIntArray idx;
        for (int i = 0; i < n; ++i) {
            AppendDouble(a, static_cast<double>(rng() % range));
            AppendLongInt(idx, i);
        }
        DoubleArray ra = a;
        LongIntArray ridx = idx;
        if (n > 1) RefQuickSort(ra, ridx, 0, n - 1);
        SortPair(a, idx);
        ASSERT_EQ(V(a), V(ra));
        ASSERT_EQ(idx, ridx);
    }
}

// ---- Extremes -------------------------------------------------------------------------------

TEST(FoundationArrays, MinMaxWithIndex) {
    double m = 0;
    const DoubleArray a = D({3, 9, -2, 4});
    EXPECT_EQ(MaxWithIndex(a, m), 1);
    EXPECT_EQ(m, 9.0);
    EXPECT_EQ(MinWithIndex(a, m), 2);
    EXPECT_EQ(m, -2.0);
    EXPECT_EQ(V(a), (std::vector<double>{3, 9, -2, 4}));  // unchanged

    // Ties resolve as the quicksort leaves them.
    const DoubleArray ones = D({1, 1, 1});
    EXPECT_EQ(MaxWithIndex(ones, m), 0);
    EXPECT_EQ(MinWithIndex(ones, m), 2);
    EXPECT_EQ(MaxWithIndex(D({5, 3, 5}), m), 0);
    EXPECT_EQ(m, 5.0);
    EXPECT_EQ(MinWithIndex(D({5, 3, 5}), m), 1);
    EXPECT_EQ(MaxWithIndex(D({7}), m), 0);
    EXPECT_EQ(m, 7.0);
}

TEST(FoundationArrays, MinMaxFastPathAgreesWithSort) {
    std::mt19937 rng(4242);
    for (int round = 0; round < 20000; ++round) {
        const int n = 1 + static_cast<int>(rng() % 60);
        // Small value ranges give many ties, large ones mostly unique extremes.
        const int kind = static_cast<int>(rng() % 4);
        DoubleArray a;
        for (int i = 0; i < n; ++i) {
            double x;
            switch (kind) {
            case 0: x = static_cast<double>(rng() % 3); break;
            case 1: x = static_cast<double>(rng() % 20) - 10; break;
            case 2: x = std::uniform_real_distribution<double>(-1e3, 1e3)(rng); break;
            default: x = (rng() % 5 == 0) ? -0.0 : static_cast<double>(rng() % 4) - 2; break;
            }
            AppendDouble(a, x);
        }
        for (const bool max : {true, false}) {
            double fast = 0, ref = 0;
            const int fi = max ? MaxWithIndex(a, fast) : MinWithIndex(a, fast);
            const int ri = RefExtreme(a, ref, max);
            ASSERT_EQ(fi, ri) << "round " << round << " max " << max;
            ASSERT_EQ(fast, ref);
            ASSERT_EQ(std::signbit(fast), std::signbit(ref));
        }
    }
}

TEST(FoundationArrays, MinMaxWithNaNFollowsSort) {
    std::mt19937 rng(99);
    for (int round = 0; round < 2000; ++round) {
        const int n = 1 + static_cast<int>(rng() % 20);
        DoubleArray a;
        for (int i = 0; i < n; ++i)
            AppendDouble(a, rng() % 6 == 0 ? std::nan("") : static_cast<double>(rng() % 50));
        for (const bool max : {true, false}) {
            double fast = 0, ref = 0;
            const int fi = max ? MaxWithIndex(a, fast) : MinWithIndex(a, fast);
            const int ri = RefExtreme(a, ref, max);
            ASSERT_EQ(fi, ri);
            ASSERT_TRUE(SameBits({fast}, {ref}));
        }
    }
}

TEST(FoundationArrays, MinMaxEmptyRaisesRangeError) {
    double m = 0;
    EXPECT_THROW(MaxWithIndex(DoubleArray(), m), rtl::ERangeError);
    EXPECT_THROW(MinWithIndex(DoubleArray(), m), rtl::ERangeError);
}

TEST(FoundationArrays, MaxStringLength) {
    EXPECT_EQ(MaxStringLength(StringArray()), 0);
    EXPECT_EQ(MaxStringLength(StringArray{"ab", "", "abcd", "x"}), 4);
    EXPECT_EQ(MaxStringLength(StringArray{"Länge", "abc"}), 5);  // characters, not bytes
}

// ---- Value lists ----------------------------------------------------------------------------

TEST(FoundationArrays, StepRange) {
    DoubleArray a = D({42});
    StepRange(a, 5, 1, 1);
    EXPECT_EQ(V(a), (std::vector<double>{5}));
    StepRange(a, 1, 4, 1);
    EXPECT_EQ(V(a), (std::vector<double>{1, 2, 3, 4}));
    StepRange(a, 0, 1, 0.25);
    EXPECT_EQ(V(a), (std::vector<double>{0, 0.25, 0.5, 0.75, 1}));
    StepRange(a, 1, 10, 0);  // outside the contract: only Start
    EXPECT_EQ(V(a), (std::vector<double>{1}));
    StepRange(a, 1, 10, -1);
    EXPECT_EQ(V(a), (std::vector<double>{1}));
}

TEST(FoundationArrays, StepRangeSumsRoundedToDouble) {
    DoubleArray a;
    StepRange(a, 0.01, 0.1, 0.01);
    ASSERT_EQ(a.Length(), 10);
    double x = 0.01;
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(a[i], x);
        x = x + 0.01;
    }
}

TEST(FoundationArrays, AxisSteps) {
    DoubleArray a;
    AxisSteps(a, 30, 1000, 100);
    std::vector<double> want{30};
    for (int v = 100; v <= 1000; v += 100) want.push_back(v);
    EXPECT_EQ(V(a), want);

    AxisSteps(a, 30, 1000, 200);
    EXPECT_EQ(V(a), (std::vector<double>{30, 200, 400, 600, 800, 1000}));

    AxisSteps(a, 0, 0.1, 0.02);
    ASSERT_EQ(a.Length(), 6);
    EXPECT_EQ(a[0], 0.0);
    EXPECT_EQ(a[1], 0.02);
    EXPECT_EQ(a[2], 0.04);
    EXPECT_DOUBLE_EQ(a[5], 0.1);

    AxisSteps(a, 0, 0.1, 0.01);  // the list plot's window 0..0.1: 0, 0.01, ..., 0.1
    EXPECT_EQ(a.Length(), 11);

    AxisSteps(a, 300, 1000, 200);  // |Start| >= Step
    EXPECT_EQ(V(a), (std::vector<double>{300, 500, 700, 900}));
    AxisSteps(a, -500, -100, 200);
    EXPECT_EQ(V(a), (std::vector<double>{-500, -300, -100}));
}

TEST(FoundationArrays, Linspace) {
    DoubleArray a;
    Linspace(3, a, 0, 1);
    EXPECT_EQ(V(a), (std::vector<double>{0, 0.5, 1}));
    Linspace(0, a, 0, 1);
    EXPECT_TRUE(a.empty());
    Linspace(-2, a, 0, 1);
    EXPECT_TRUE(a.empty());
    Linspace(1, a, 2, 5);
    EXPECT_EQ(V(a), (std::vector<double>{2}));
    Linspace(200, a, 0.01, 0.1);
    ASSERT_EQ(a.Length(), 200);
    EXPECT_EQ(a[0], 0.01);
    EXPECT_EQ(a[199], 0.1);
    // Extended precision: i/(N-1) * (Stop - Start) + Start rounded once to double.
    for (int i = 0; i < 200; ++i) {
        const long double want =
            static_cast<long double>(i) / 199.0L *
                (static_cast<long double>(0.1) - static_cast<long double>(0.01)) +
            static_cast<long double>(0.01);
        EXPECT_EQ(a[i], static_cast<double>(want));
    }
}

// ---- Arithmetic -----------------------------------------------------------------------------

TEST(FoundationArrays, AddSubConst) {
    DoubleArray a = D({1, 2, 3});
    ArrayAddConst(a, 0.5);
    EXPECT_EQ(V(a), (std::vector<double>{1.5, 2.5, 3.5}));
    ArraySubConst(a, 1.5);
    EXPECT_EQ(V(a), (std::vector<double>{0, 1, 2}));
}

TEST(FoundationArrays, ADvd) {
    gui::ScriptedPresenter presenter;
    DoubleArray r = D({9});
    ADvd(D({1, 2}), D({2, 0}), r);
    EXPECT_EQ(V(r), (std::vector<double>{0.5, 1.7e308}));
    EXPECT_TRUE(presenter.boxes.empty());
    ADvd(DoubleArray(), DoubleArray(), r);
    EXPECT_TRUE(r.empty());
}

TEST(FoundationArrays, ADvdUnequalLengthsWarns) {
    gui::ScriptedPresenter presenter;
    DoubleArray r = D({9});
    ADvd(D({1, 2, 3}), D({2, 0}), r);
    EXPECT_TRUE(r.empty());
    ASSERT_EQ(presenter.boxes.size(), 1u);
    const std::string& t = presenter.boxes[0].text;
    EXPECT_EQ(presenter.boxes[0].type, gui::TMsgDlgType::mtWarning);
    EXPECT_NE(t.find("Fehler (ADvd): Felder haben verschiedene Länge!"), std::string::npos);
    EXPECT_NE(t.find("high(V): 2 "), std::string::npos);
    EXPECT_NE(t.find("high(W): 1 "), std::string::npos);
    EXPECT_LT(t.find("high(V)"), t.find("high(W)"));

    // Full lengths are compared: 65537 and 1 elements differ although their 16-bit Highs agree.
    DoubleArray big;
    FillDoubles(65537, big, 1);
    ADvd(big, D({1}), r);
    EXPECT_TRUE(r.empty());
    EXPECT_EQ(presenter.boxes.size(), 2u);
}

TEST(FoundationArrays, MatchWithin) {
    DoubleArray r = D({7});
    MatchWithin(D({1, 5}), D({1.05, 0.98, 9}), r, 0.1);
    EXPECT_EQ(V(r), (std::vector<double>{1, 1}));
    MatchWithin(D({1, 9, 2}), D({2, 9, 1}), r, 0);
    EXPECT_EQ(V(r), (std::vector<double>{1, 9, 2}));
    MatchWithin(DoubleArray(), D({1}), r, 1);
    EXPECT_TRUE(r.empty());
}

// ---- Text -----------------------------------------------------------------------------------

class FoundationArraysLocale : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = rtl::FormatSettings();
        rtl::FormatSettings().DecimalSeparator = ',';
    }
    void TearDown() override { rtl::FormatSettings() = saved_; }
    rtl::TFormatSettings saved_;
};

TEST_F(FoundationArraysLocale, DoubleArrayToStr) {
    EXPECT_EQ(DoubleArrayToStr(D({1, 2}), "%4.1f"), " 1,0 2,0");
    EXPECT_EQ(DoubleArrayToStr(DoubleArray(), "%4.1f"), "");
    EXPECT_EQ(DoubleArrayToStr(D({1.25, 10}), "%6.2f "), "  1,25  10,00 ");
}

TEST_F(FoundationArraysLocale, ListToDoubleArray) {
    DoubleArray a = D({9});
    ListToDoubleArray(a, "1,5;2;-3,25", false);
    EXPECT_EQ(V(a), (std::vector<double>{1.5, 2, -3.25}));
    ListToDoubleArray(a, "4", true);
    EXPECT_EQ(V(a), (std::vector<double>{1.5, 2, -3.25, 4}));
    ListToDoubleArray(a, "", false);
    EXPECT_TRUE(a.empty());
    ListToDoubleArray(a, " 7,5", false);  // leading blanks accepted
    EXPECT_EQ(V(a), (std::vector<double>{7.5}));
}

TEST_F(FoundationArraysLocale, ListToDoubleArrayBadPieceRaisesAfterEarlierPieces) {
    DoubleArray a;
    EXPECT_THROW(ListToDoubleArray(a, "1;2;", false), rtl::EConvertError);  // trailing ';'
    EXPECT_EQ(V(a), (std::vector<double>{1, 2}));
    a.clear();
    EXPECT_THROW(ListToDoubleArray(a, "1;x;3", false), rtl::EConvertError);
    EXPECT_EQ(V(a), (std::vector<double>{1}));
    a.clear();
    EXPECT_THROW(ListToDoubleArray(a, "1.5", false), rtl::EConvertError);  // '.' is no separator
}
