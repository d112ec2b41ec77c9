// Unit TwoDimArray: rectangular arrays addressed A[i][j] (i: row, j: column) and
// the searches for the next valid cell. Every index is checked: outside the array the
// platform's range error (rtl::ERangeError) is raised.
#pragma once

#include <cstdint>

#include "foundation/cUtils.h"

using TwoDimArrayDouble = TDynArray<DoubleArray>;
using TwoDimArrayInteger = TDynArray<LongIntArray>;

// Length(A), the number of rows.
int TwoDimRows(const TwoDimArrayDouble& A);
int TwoDimRows(const TwoDimArrayInteger& A);
// Length(A[0]); A without rows raises the range error.
int TwoDimCols(const TwoDimArrayDouble& A);
int TwoDimCols(const TwoDimArrayInteger& A);

// N rows of M columns; existing cells keep their values, new cells are 0. A negative N or M
// raises the range error.
void SetSize2D(TwoDimArrayDouble& A, int N, int M);
void SetSize2D(TwoDimArrayInteger& A, int N, int M);
// Every cell A[i][j], i < TwoDimRows, j < TwoDimCols (taken from row 0), := V.
void Fill2D(TwoDimArrayDouble& A, double V);

// The first row i > Start with A[i][Col] >= 0 (NaN is not valid); -1 when none. Nothing is read
// when Start + 1 is past the last row.
int NextValidRow(const TwoDimArrayDouble& A, int16_t Start, int16_t Col);
// The first column j > Start with A[Row][j] >= 0; -1 when none.
int NextValidCol(const TwoDimArrayDouble& A, int16_t Start, int16_t Row);
