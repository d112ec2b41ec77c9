#include "foundation/cStrings.h"

namespace {

char Fold(char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C; }

bool SameChars(const char* A, const char* B, std::size_t N, bool CaseSensitive)
{
    if (CaseSensitive) return std::char_traits<char>::compare(A, B, N) == 0;
    for (std::size_t I = 0; I < N; ++I)
        if (Fold(A[I]) != Fold(B[I])) return false;
    return true;
}

template <class IsDelim>
StringArray SplitAt(const std::string& S, IsDelim Delim)
{
    StringArray R;
    if (S.empty()) return R;
    int Count = 1;
    for (char C : S)
        if (Delim(C)) ++Count;
    R.SetLength(Count);
    std::vector<std::string>& V = R.vec();
    std::size_t Start = 0, K = 0;
    for (std::size_t I = 0; I < S.size(); ++I) {
        if (Delim(S[I])) {
            V[K++].assign(S, Start, I - Start);
            Start = I + 1;
        }
    }
    V[K].assign(S, Start, std::string::npos);
    return R;
}

}  // namespace

bool StrEqual(const std::string& A, const std::string& B, bool CaseSensitive)
{
    return A.size() == B.size() && SameChars(A.data(), B.data(), A.size(), CaseSensitive);
}

bool StrEqualNoCase(const std::string& A, const std::string& B) { return StrEqual(A, B, false); }

bool StrIsNumeric(const std::string& S)
{
    if (S.empty()) return false;
    for (char C : S)
        if (C < '0' || C > '9') return false;
    return true;
}

bool StrConsistsOf(const std::string& S, const TCharSet& Chars)
{
    if (S.empty()) return false;
    for (char C : S)
        if (!Chars.Contains(C)) return false;
    return true;
}

int PosChar(char C, const std::string& S, int StartPos)
{
    if (StartPos < 1) StartPos = 1;
    for (std::size_t I = static_cast<std::size_t>(StartPos - 1); I < S.size(); ++I)
        if (S[I] == C) return static_cast<int>(I) + 1;
    return 0;
}

int PosCharSet(const TCharSet& Chars, const std::string& S, int StartPos)
{
    if (StartPos < 1) StartPos = 1;
    for (std::size_t I = static_cast<std::size_t>(StartPos - 1); I < S.size(); ++I)
        if (Chars.Contains(S[I])) return static_cast<int>(I) + 1;
    return 0;
}

int PosStr(const std::string& Find, const std::string& S, int StartPos, bool CaseSensitive)
{
    if (Find.empty() || S.empty() || Find.size() > S.size()) return 0;
    if (StartPos < 1) StartPos = 1;
    const std::size_t Last = S.size() - Find.size();
    for (std::size_t I = static_cast<std::size_t>(StartPos - 1); I <= Last; ++I)
        if (SameChars(S.data() + I, Find.data(), Find.size(), CaseSensitive))
            return static_cast<int>(I) + 1;
    return 0;
}

std::string CopyRange(const std::string& S, int StartIndex, int StopIndex)
{
    if (StartIndex < 1) StartIndex = 1;
    const int Len = static_cast<int>(S.size());
    if (S.empty() || StopIndex < 1 || StartIndex > StopIndex || StartIndex > Len)
        return std::string();
    if (StopIndex > Len) StopIndex = Len;
    return S.substr(static_cast<std::size_t>(StartIndex - 1),
                    static_cast<std::size_t>(StopIndex - StartIndex + 1));
}

std::string CopyFrom(const std::string& S, int Index)
{
    if (Index <= 1) return S;
    if (Index > static_cast<int>(S.size())) return std::string();
    return S.substr(static_cast<std::size_t>(Index - 1));
}

bool StrSplitAtStr(const std::string& S, const std::string& Delim, std::string& Left,
                   std::string& Right, bool CaseSensitive, bool KeepWhole)
{
    const int P = PosStr(Delim, S, 1, CaseSensitive);
    if (P == 0) {
        Left = KeepWhole ? S : std::string();
        Right.clear();
        return false;
    }
    // Copy first: S may be Left or Right.
    std::string L = S.substr(0, static_cast<std::size_t>(P - 1));
    std::string R = S.substr(static_cast<std::size_t>(P - 1) + Delim.size());
    Left = std::move(L);
    Right = std::move(R);
    return true;
}

StringArray StrSplitChar(const std::string& S, char D)
{
    return SplitAt(S, [D](char C) { return C == D; });
}

StringArray StrSplitCharSet(const std::string& S, const TCharSet& Delims)
{
    return SplitAt(S, [&Delims](char C) { return Delims.Contains(C); });
}

StringArray StrSplitWords(const std::string& S, const TCharSet& WordChars)
{
    StringArray R;
    std::size_t I = 0;
    const std::size_t N = S.size();
    while (I < N) {
        while (I < N && !WordChars.Contains(S[I])) ++I;
        const std::size_t Start = I;
        while (I < N && WordChars.Contains(S[I])) ++I;
        if (I > Start) R.push_back(S.substr(Start, I - Start));
    }
    return R;
}
