// Unit TwoDimArray. Runs with index checks: every cell access goes through the
// checked operator[] of TDynArray and raises rtl::ERangeError outside the array.
#include "foundation/TwoDimArray.h"

namespace {
template <class Row>
void Resize(TDynArray<Row>& A, int N, int M) {
    if (N < 0 || M < 0) rtl::RaiseRangeError();
    A.SetLength(N);
    for (Row& r : A) r.SetLength(M);
}
}  // namespace

int TwoDimRows(const TwoDimArrayDouble& A) { return A.Length(); }
int TwoDimRows(const TwoDimArrayInteger& A) { return A.Length(); }
int TwoDimCols(const TwoDimArrayDouble& A) { return A[0].Length(); }
int TwoDimCols(const TwoDimArrayInteger& A) { return A[0].Length(); }

void SetSize2D(TwoDimArrayDouble& A, int N, int M) { Resize(A, N, M); }
void SetSize2D(TwoDimArrayInteger& A, int N, int M) { Resize(A, N, M); }

void Fill2D(TwoDimArrayDouble& A, double V) {
    const int rows = TwoDimRows(A);
    for (int i = 0; i < rows; ++i) {
        const int cols = TwoDimCols(A);
        DoubleArray& row = A[i];
        for (int j = 0; j < cols; ++j) row[j] = V;  // a shorter row raises the range error
    }
}

int NextValidRow(const TwoDimArrayDouble& A, int16_t Start, int16_t Col) {
    const int rows = TwoDimRows(A);
    for (int i = Start + 1; i <= rows - 1; ++i)
        if (A[i][Col] >= 0) return i;
    return -1;
}

int NextValidCol(const TwoDimArrayDouble& A, int16_t Start, int16_t Row) {
    // The column count is that of row 0 (TwoDimCols); an array without rows has no cell to find.
    if (TwoDimRows(A) == 0) return -1;
    const int cols = TwoDimCols(A);
    for (int j = Start + 1; j <= cols - 1; ++j)
        if (A[Row][j] >= 0) return j;
    return -1;
}
