// Unit ArrayLib.
#include "foundation/ArrayLib.h"

#include <cmath>

#include "foundation/DebugLib.h"
#include "foundation/FormatLib.h"
#include "foundation/MathLib.h"
#include "foundation/cStrings.h"
#include "platform/rtl/SysUtils.h"

void FillDoubles(int N, DoubleArray& A, double V) {
    A.clear();
    if (N > 0) A.vec().assign(static_cast<std::size_t>(N), V);
}

void RemoveOutside(DoubleArray& A, double Lo, double Hi) {
    // Walking from the last element to the first removes the same elements as one pass that
    // keeps those inside the range, in their order.
    std::vector<double>& v = A.vec();
    std::size_t out = 0;
    for (std::size_t i = 0; i < v.size(); ++i)
        if (InClosedRange(v[i], Lo, Hi)) v[out++] = v[i];
    v.resize(out);
}

int MaxStringLength(const StringArray& A) {
    int m = 0;
    for (const std::string& s : A) m = MaxI(m, static_cast<int>(rtl::CodePointCount(s)));
    return m;
}

void StepRange(DoubleArray& A, double Start, double Stop, double Step) {
    A.clear();
    double x = Start;
    AppendDouble(A, x);
    if (!(Step > 0)) return;  // outside the contract: only Start
    for (;;) {
        const double next = x + Step;
        // next == x (a step too small to move x, or x infinite) would never end.
        if (!(next <= Stop) || next == x) break;
        x = next;
        AppendDouble(A, x);
    }
}

void AxisSteps(DoubleArray& A, double Start, double Stop, double Step) {
    A.clear();
    if (std::fabs(Start) < Step) {
        DoubleArray rest;
        StepRange(rest, Step, Stop, Step);
        AppendDouble(A, Start);
        AppendDoubleArray(A, rest);
    } else {
        StepRange(A, Start, Stop, Step);
    }
}

void Linspace(int N, DoubleArray& A, double Start, double Stop) {
    A.clear();
    if (N <= 0) return;
    if (N == 1) {  // outside the contract (the formula divides by N - 1 = 0)
        AppendDouble(A, Start);
        return;
    }
    A.reserve(N);
    const long double span = static_cast<long double>(Stop) - static_cast<long double>(Start);
    const long double n1 = static_cast<long double>(N - 1);
    for (int i = 0; i < N; ++i) {
        const long double v = static_cast<long double>(i) / n1 * span + static_cast<long double>(Start);
        A.push_back(static_cast<double>(v));
    }
}

void ArrayAddConst(DoubleArray& A, double C) {
    for (double& x : A) x = x + C;
}

void ArraySubConst(DoubleArray& A, double C) {
    for (double& x : A) x = x - C;
}

void ADvd(const DoubleArray& V, const DoubleArray& W, DoubleArray& R) {
    R.clear();
    // The project compares the full lengths (not 16-bit values of High).
    if (V.Length() != W.Length()) {
        // Three lines, broken as the program's other boxes are (CRLFs).
        WarnWithDetail("Fehler (ADvd): Felder haben verschiedene Länge!" + CRLFs(1) +
                           rtl::Format("high(V): %1d ", V.High()) + CRLFs(1) +
                           rtl::Format("high(W): %1d ", W.High()),
                       "");
        return;
    }
    const std::vector<double>& v = V.vec();
    const std::vector<double>& w = W.vec();
    std::vector<double> r(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) r[i] = w[i] == 0 ? 1.7e308 : v[i] / w[i];
    R.vec() = std::move(r);
}

void MatchWithin(const DoubleArray& V, const DoubleArray& W, DoubleArray& R, double Tol) {
    DoubleArray out;  // V or W may be R itself
    for (const double v : V)
        for (const double w : W)
            if (std::fabs(v - w) <= Tol) AppendDouble(out, v);
    R = std::move(out);
}

void ListToDoubleArray(DoubleArray& A, const std::string& S, bool KeepExisting) {
    if (!KeepExisting) A.clear();
    const StringArray pieces = StrSplitChar(S, ';');
    for (const std::string& p : pieces) AppendDouble(A, static_cast<double>(rtl::StrToFloat(p)));
}

std::string DoubleArrayToStr(const DoubleArray& A, const std::string& Fmt) {
    std::string s;
    for (const double x : A) s += FormatDouble(Fmt, x);
    return s;
}
