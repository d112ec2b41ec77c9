// Unit ArrayLib: the array routines beyond cUtils: filling, range removal, value
// lists for plot axes, element-wise arithmetic and conversion from and to text.
// Includes cUtils.h, so this header gives the whole array vocabulary.
#pragma once

#include <string>

#include "foundation/cUtils.h"

// A := N copies of V (A emptied first; N <= 0 leaves it empty).
void FillDoubles(int N, DoubleArray& A, double V);
// Removes every element not in the closed range Lo..Hi (InClosedRange), last to first.
void RemoveOutside(DoubleArray& A, double Lo, double Hi);
// The largest Length of the strings (in characters: UTF-8 code points), 0 when empty.
int MaxStringLength(const StringArray& A);

// A := Start, Start+Step, ... while <= Stop (each sum rounded to double); always holds Start.
// Step <= 0 (outside the routine's contract) gives [Start].
void StepRange(DoubleArray& A, double Start, double Stop, double Step);
// |Start| < Step: Start followed by StepRange(Step, Stop, Step); else StepRange(Start, Stop, Step).
void AxisSteps(DoubleArray& A, double Start, double Stop, double Step);
// A := N values i/(N-1) * (Stop - Start) + Start in extended precision, stored as double.
// N <= 0 leaves A empty; N = 1 (outside the routine's contract) gives [Start].
void Linspace(int N, DoubleArray& A, double Start, double Stop);

void ArrayAddConst(DoubleArray& A, double C);
void ArraySubConst(DoubleArray& A, double C);
// R := V[i] / W[i] (1.7e308 where W[i] = 0). Unequal lengths: warning box
// (WarnWithDetail) and R stays empty.
void ADvd(const DoubleArray& V, const DoubleArray& W, DoubleArray& R);
// R := every V[i] once for every W[j] with |V[i] - W[j]| <= Tol, in order of i then j.
void MatchWithin(const DoubleArray& V, const DoubleArray& W, DoubleArray& R, double Tol);

// Unless KeepExisting, empties A; splits S at ';' (StrSplitChar) and appends StrToFloat of each
// piece (locale decimal separator); a piece that is no number raises rtl::EConvertError after
// the earlier pieces were appended.
void ListToDoubleArray(DoubleArray& A, const std::string& S, bool KeepExisting);
// Concatenation of FormatDouble(Fmt, x) for every element, nothing in between.
std::string DoubleArrayToStr(const DoubleArray& A, const std::string& Fmt);
