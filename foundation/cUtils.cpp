// Unit cUtils: append, clear, remove, truncate, search and sort.
#include "foundation/cUtils.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

// ---- Integer helpers ------------------------------------------------------------------------
int MinI(int A, int B) { return A < B ? A : B; }
int MaxI(int A, int B) { return A > B ? A : B; }

// ---- Append and clear -----------------------------------------------------------------------
namespace {
template <class T, class V>
int AppendOne(TDynArray<T>& A, V&& value) {
    const int index = A.Length();
    A.push_back(std::forward<V>(value));
    return index;
}

// The remove rule shared by RemoveDoubles, RemoveStrings and RemoveVektor2s.
template <class T>
int RemoveRange(std::vector<T>& v, int Idx, int Count) {
    const long long len = static_cast<long long>(v.size());
    if (static_cast<long long>(Idx) >= len || static_cast<long long>(Idx) + Count < 1 || len == 0 ||
        Count == 0)
        return 0;
    const long long i = std::max<long long>(Idx, 0);
    const long long c = std::min<long long>(Count, len - i);
    if (c <= 0) return 0;  // a negative Count (never passed by the program) removes nothing
    v.erase(v.begin() + i, v.begin() + i + c);
    return static_cast<int>(c);
}

template <class T>
void TruncateAfter(std::vector<T>& v, int LastIndex) {
    const int high = static_cast<int>(v.size()) - 1;
    if (high > LastIndex) v.resize(static_cast<std::size_t>(std::max(LastIndex + 1, 0)));
}
}  // namespace

int AppendLongInt(LongIntArray& A, int V) { return AppendOne(A, static_cast<int32_t>(V)); }
int AppendDouble(DoubleArray& A, double V) { return AppendOne(A, V); }
int AppendString(StringArray& A, const std::string& S) { return AppendOne(A, S); }

int AppendDoubleArray(DoubleArray& A, const DoubleArray& B) {
    if (B.empty()) return -1;
    if (&A == &B) {
        const std::vector<double> src = B.vec();  // appending an array to itself
        A.vec().insert(A.vec().end(), src.begin(), src.end());
    } else {
        A.vec().insert(A.vec().end(), B.begin(), B.end());
    }
    return A.High();
}

void ClearDoubleArray(DoubleArray& A) { A.SetLength(0); }
void ClearStringArray(StringArray& A) { A.SetLength(0); }

void DoubleArrayRemoveAll(DoubleArray& A) { RemoveDoubles(A, 0, A.Length()); }
void StringArrayRemoveAll(StringArray& A) { RemoveStrings(A, 0, A.Length()); }

// ---- Remove and truncate --------------------------------------------------------------------
int RemoveDoubles(DoubleArray& A, int Idx, int Count) { return RemoveRange(A.vec(), Idx, Count); }
int RemoveStrings(StringArray& A, int Idx, int Count) { return RemoveRange(A.vec(), Idx, Count); }

// A LastIndex below -1 empties the array as -1 does.
void TruncateDoubles(DoubleArray& A, int16_t LastIndex) { TruncateAfter(A.vec(), LastIndex); }
void TruncateStrings(StringArray& A, int16_t LastIndex) { TruncateAfter(A.vec(), LastIndex); }

void RemoveDuplicateDoubles(DoubleArray& A, bool IsSorted) {
    std::vector<double>& v = A.vec();
    if (v.size() < 2) return;
    if (IsSorted) {
        // Each run of equal neighbours is cut to its first element. Exact equality is
        // transitive for numbers, and NaN equals nothing, so std::unique gives the same result.
        v.erase(std::unique(v.begin(), v.end(), [](double a, double b) { return a == b; }), v.end());
        return;
    }
    // The original removes, for each i, every later element equal to A[i]. An element therefore
    // stays exactly when no earlier element equals it: keep first occurrences (0.0 and -0.0 are
    // equal, the first one stays; NaN equals nothing and always stays).
    std::unordered_set<double> seen;
    seen.reserve(v.size());
    std::size_t out = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const double x = v[i];
        if (!std::isnan(x)) {
            if (!seen.insert(x == 0.0 ? 0.0 : x).second) continue;
        }
        v[out++] = x;
    }
    v.resize(out);
}

// ---- Search ---------------------------------------------------------------------------------
int PosNextDouble(double Find, const DoubleArray& A, int PrevPos, bool IsSortedAscending) {
    const std::vector<double>& v = A.vec();
    const int high = A.High();
    if (!IsSortedAscending) {
        for (int i = std::max(PrevPos + 1, 0); i <= high; ++i)
            if (v[static_cast<std::size_t>(i)] == Find) return i;
        return -1;
    }
    if (PrevPos >= 0) {
        if (PrevPos >= high) return -1;
        return v[static_cast<std::size_t>(PrevPos) + 1] == Find ? PrevPos + 1 : -1;
    }
    int lo = 0;
    int hi = high;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        const double m = v[static_cast<std::size_t>(mid)];
        if (m < Find) {
            lo = mid + 1;
        } else if (m > Find) {
            hi = mid - 1;
        } else if (m == Find) {
            while (mid > 0 && v[static_cast<std::size_t>(mid) - 1] == Find) --mid;
            return mid;
        } else {
            return -1;  // NaN: neither less, greater nor equal; no hit
        }
    }
    return -1;
}

// ---- Sort -----------------------------------------------------------------------------------
namespace {
// The exact quicksort on a[L..R]: pivot followed by index, exchanges mirrored into idx when
// given. Every index stays inside L..R (the classical Hoare argument holds because the pivot
// element is tracked through exchanges).
void QuickSort(double* a, int32_t* idx, int L, int R) {
    int I;
    do {
        I = L;
        int J = R;
        int P = (L + R) / 2;
        do {
            while (a[I] < a[P]) ++I;
            while (a[J] > a[P]) --J;
            if (I <= J) {
                std::swap(a[I], a[J]);
                if (idx) std::swap(idx[I], idx[J]);
                if (P == I)
                    P = J;
                else if (P == J)
                    P = I;
                ++I;
                --J;
            }
        } while (I <= J);
        if (L < J) QuickSort(a, idx, L, J);
        L = I;
    } while (I < R);
}
}  // namespace

void SortDoubles(DoubleArray& A) {
    if (A.Length() > 1) QuickSort(A.data(), nullptr, 0, A.High());
}

void SortPair(DoubleArray& V, LongIntArray& Idx) {
    if (V.Length() != Idx.Length()) throw rtl::EAssertionFailed("Sort pair must be of equal length.");
    if (V.Length() > 1) QuickSort(V.data(), Idx.data(), 0, V.High());
}

// ---- Extremes -------------------------------------------------------------------------------
namespace {
// Reference path: sort a copy with its indices.
int ExtremeBySort(const DoubleArray& A, double& Value, bool Max) {
    DoubleArray copy = A;
    LongIntArray idx;
    idx.SetLength(A.Length());
    for (int i = 0; i < A.Length(); ++i) idx.vec()[static_cast<std::size_t>(i)] = i;
    SortPair(copy, idx);
    const int k = Max ? copy.High() : 0;
    Value = copy[k];
    return idx[k];
}

// Linear scan; the exact sort only when the extreme value occurs more than once or a NaN is
// present (then the quicksort's placement decides).
int Extreme(const DoubleArray& A, double& Value, bool Max) {
    if (A.empty()) rtl::RaiseRangeError();
    const std::vector<double>& v = A.vec();
    double best = v[0];
    std::size_t bestIdx = 0;
    std::size_t ties = 1;
    bool nan = std::isnan(best);
    for (std::size_t i = 1; i < v.size(); ++i) {
        const double x = v[i];
        if (Max ? x > best : x < best) {
            best = x;
            bestIdx = i;
            ties = 1;
        } else if (x == best) {
            ++ties;
        } else if (std::isnan(x)) {
            nan = true;
        }
    }
    if (nan || ties > 1) return ExtremeBySort(A, Value, Max);
    Value = best;
    return static_cast<int>(bestIdx);
}
}  // namespace

int MaxWithIndex(const DoubleArray& A, double& MaxValue) { return Extreme(A, MaxValue, true); }
int MinWithIndex(const DoubleArray& A, double& MinValue) { return Extreme(A, MinValue, false); }
