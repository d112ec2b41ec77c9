// Unit cUtils: the growable array types and their append,
// clear, remove, truncate, search and sort routines. The other array routines are in ArrayLib.h
// (which includes this header).
//
// The foundation's routines are free functions at global scope with the program's routine names.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/SysUtils.h"

// ---- TDynArray ------------------------------------------------------------------------------
// The platform's dynamic array: value semantics (copying copies), indices 0..High,
// High = Length - 1 (-1 when empty). operator[] is checked and raises rtl::ERangeError
// ("Fehler bei Bereichsprüfung") outside 0..High. vec() gives the backing vector for hot loops
// that have checked their bounds already.
template <class T>
class TDynArray {
public:
    using value_type = T;
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    TDynArray() = default;
    TDynArray(std::initializer_list<T> init) : v_(init) {}
    explicit TDynArray(std::vector<T> v) : v_(std::move(v)) {}

    int Length() const { return static_cast<int>(v_.size()); }
    int High() const { return static_cast<int>(v_.size()) - 1; }
    static constexpr int Low() { return 0; }
    // New elements are value-initialised (0, empty string); a negative length raises the range
    // error as the platform's SetLength does.
    void SetLength(int n) {
        if (n < 0) rtl::RaiseRangeError();
        v_.resize(static_cast<std::size_t>(n));
    }

    T& operator[](int i) {
        if (static_cast<unsigned>(i) >= v_.size()) rtl::RaiseRangeError();
        return v_[static_cast<std::size_t>(i)];
    }
    const T& operator[](int i) const {
        if (static_cast<unsigned>(i) >= v_.size()) rtl::RaiseRangeError();
        return v_[static_cast<std::size_t>(i)];
    }

    T* data() { return v_.data(); }
    const T* data() const { return v_.data(); }
    iterator begin() { return v_.begin(); }
    iterator end() { return v_.end(); }
    const_iterator begin() const { return v_.begin(); }
    const_iterator end() const { return v_.end(); }
    const_iterator cbegin() const { return v_.cbegin(); }
    const_iterator cend() const { return v_.cend(); }

    std::vector<T>& vec() { return v_; }
    const std::vector<T>& vec() const { return v_; }

    void reserve(int n) {
        if (n > 0) v_.reserve(static_cast<std::size_t>(n));
    }
    void clear() { v_.clear(); }
    void push_back(const T& x) { v_.push_back(x); }
    void push_back(T&& x) { v_.push_back(std::move(x)); }
    bool empty() const { return v_.empty(); }

    friend bool operator==(const TDynArray& a, const TDynArray& b) { return a.v_ == b.v_; }

private:
    std::vector<T> v_;
};

// ---- Array types ----------------------------------------------------------------------------
using LongIntArray = TDynArray<int32_t>;
using DoubleArray = TDynArray<double>;
using ExtendedArray = TDynArray<long double>;
using StringArray = TDynArray<std::string>;  // UTF-8 strings

// ---- Integer helpers -----------------------------------------------------------
int MinI(int A, int B);
int MaxI(int A, int B);

// ---- Append and clear -----------------------------------------------------------------------
// Each append grows A by one, stores the value and returns its index (the old Length).
int AppendLongInt(LongIntArray& A, int V);
int AppendDouble(DoubleArray& A, double V);
int AppendString(StringArray& A, const std::string& S);
// Appends every element of B in order; returns the index of the last element appended, or -1
// (High of B) when B is empty.
int AppendDoubleArray(DoubleArray& A, const DoubleArray& B);

void ClearDoubleArray(DoubleArray& A);
void ClearStringArray(StringArray& A);
// Remove every element through RemoveDoubles / RemoveStrings (same end state as the clears).
void DoubleArrayRemoveAll(DoubleArray& A);
void StringArrayRemoveAll(StringArray& A);

// ---- Remove and truncate --------------------------------------------------------------------
// Removes Count elements from Idx: nothing (result 0) when Idx >= Length, Idx + Count < 1, the
// array is empty or Count = 0; otherwise I := max(Idx, 0), C := min(Count, Length - I), the
// tail moves down by C; returns C.
int RemoveDoubles(DoubleArray& A, int Idx, int Count);
int RemoveStrings(StringArray& A, int Idx, int Count);
// When High(A) > LastIndex, removes every element after LastIndex.
void TruncateDoubles(DoubleArray& A, int16_t LastIndex);
void TruncateStrings(StringArray& A, int16_t LastIndex);
// IsSorted: each run of equal neighbours is cut to its first element. Otherwise the first
// occurrence of every value stays, in order of first occurrence. Exact equality.
void RemoveDuplicateDoubles(DoubleArray& A, bool IsSorted);

// ---- Search, sort, extremes -----------------------------------------------------------------
// Index of the next element equal to Find after PrevPos, -1 if none.
int PosNextDouble(double Find, const DoubleArray& A, int PrevPos, bool IsSortedAscending);
// The exact quicksort (not stable; its results on ties are binding).
void SortDoubles(DoubleArray& A);
// Sorts V ascending and applies every exchange to Idx; unequal lengths raise
// rtl::EAssertionFailed "Sort pair must be of equal length.".
void SortPair(DoubleArray& V, LongIntArray& Idx);
// Index of the largest / smallest element, as SortPair over (copy of A, 0..High) reports it
// (last / first of the sorted pair). A must not be empty (an empty A raises the range error).
int MaxWithIndex(const DoubleArray& A, double& MaxValue);
int MinWithIndex(const DoubleArray& A, double& MinValue);
