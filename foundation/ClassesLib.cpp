// Unit ClassesLib, array part.
#include "foundation/ClassesLib.h"

#include <algorithm>

int AppendColor(ColorArray& A, std::uint32_t C) {
    const int index = A.Length();
    A.push_back(C);
    return index;
}

void ClearColorArray(ColorArray& A) { A.SetLength(0); }

int AppendVektor2(Vektor2Array& A, const Vektor2& V) {
    const int index = A.Length();
    A.push_back(V);
    return index;
}

int RemoveVektor2s(Vektor2Array& A, int Idx, int Count) {
    std::vector<Vektor2>& v = A.vec();
    const long long len = static_cast<long long>(v.size());
    if (static_cast<long long>(Idx) >= len || static_cast<long long>(Idx) + Count < 1 || len == 0 ||
        Count == 0)
        return 0;
    const long long i = std::max<long long>(Idx, 0);
    const long long c = std::min<long long>(Count, len - i);
    if (c <= 0) return 0;
    v.erase(v.begin() + i, v.begin() + i + c);
    return static_cast<int>(c);
}

void Vektor2ArrayRemoveAll(Vektor2Array& A) {
    if (!A.empty()) RemoveVektor2s(A, 0, A.Length());
}
