#include "foundation/FormatLib.h"

#include <cmath>

#include "foundation/MathLib.h"
#include "foundation/StrUtilsLib.h"
#include "foundation/cStrings.h"
#include "platform/rtl/SysUtils.h"

namespace {

const char* const kNoValueText = "---";

int CodePoints(const std::string& S)
{
    int N = 0;
    for (unsigned char C : S)
        if ((C & 0xC0) != 0x80) ++N;
    return N;
}

}  // namespace

std::string FormatInt(const std::string& Fmt, int I) { return rtl::Format(Fmt, I); }

std::string FormatInt64(const std::string& Fmt, std::int64_t I)
{
    return rtl::Format(Fmt, static_cast<long long>(I));
}

std::string FormatStr(const std::string& Fmt, const std::string& S) { return rtl::Format(Fmt, S); }

std::string FormatDouble(const std::string& Fmt, double X) { return rtl::Format(Fmt, X); }

std::string FormatPositive(const std::string& Fmt, double X)
{
    return X > 0 ? FormatDouble(Fmt, X) : std::string(kNoValueText);
}

std::string FormatAuto(double X)
{
    const char* Fmt = "%6.0f";
    if (InHalfOpenRange(X, 0, 1))
        Fmt = "%6.4f";
    else if (InHalfOpenRange(X, 1, 100) || InHalfOpenRange(X, 100, 1000))
        Fmt = "%6.2f";
    else if (InHalfOpenRange(X, 1000, 10000))
        Fmt = "%6.1f";
    return FormatDouble(Fmt, X);
}

std::string FormatSigDigits(int N, double X)
{
    // Infinity has no digit count either: shown as no value instead of failing in FloorInt.
    if (!(X >= 0) || !std::isfinite(X)) return kNoValueText;
    int E = FloorInt(Log10OrZero(X));
    // The logarithm can come out a hair off the integer for powers of ten (it does for 10, 100):
    // correct the exponent so that they get N significant digits like every other value.
    if (X > 0) {
        if (static_cast<long double>(X) >= std::pow(10.0L, E + 1))
            ++E;
        else if (static_cast<long double>(X) < std::pow(10.0L, E))
            --E;
    }
    const int D = E + 1;  // integer digits
    std::string Fmt;
    if (N < D)
        Fmt = "%" + std::to_string(E) + ".0f";
    else if (N == D)
        Fmt = "%" + std::to_string(N) + ".0f";
    else
        Fmt = "%" + std::to_string(D) + "." + std::to_string(N - D) + "f";
    return FormatDouble(Fmt, X);
}

std::string FormatCapped(const std::string& Fmt, double X, double Cap)
{
    if (!(X > Cap)) return FormatDouble(Fmt, X);
    std::string Left, Right;
    StrSplitAtStr(Fmt, "%", Left, Right, true, true);
    return FormatDouble(Left + ">%" + Right, Cap);
}

std::string ColumnLine(const LongIntArray& Cols, const StringArray& Items)
{
    std::string Line;
    int Len = 0;  // in characters
    for (int I = 0; I < Items.Length(); ++I) {
        const int Col = Cols[I];
        if (Col > Len) {
            Line.append(static_cast<std::size_t>(Col - Len), ' ');
            Len = Col;
        }
        Line += Items[I];
        Len += CodePoints(Items[I]);
    }
    return Line;
}

std::string ColumnLine(const LongIntArray& Cols, const DoubleArray& Values, const std::string& Fmt)
{
    StringArray Items;
    Items.reserve(Values.Length());
    for (double V : Values) Items.push_back(FormatDouble(Fmt, V));
    return ColumnLine(Cols, Items);
}

std::string CRLFs(int N)
{
    std::string R;
    for (int I = 0; I < N; ++I) R += "\r\n";
    return R;
}
