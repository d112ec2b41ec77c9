#include "foundation/StrUtilsLib.h"

#include <string_view>

namespace {

bool IsContinuation(unsigned char C) { return (C & 0xC0) == 0x80; }

// Number of characters in S[0, ByteEnd).
int CharCount(std::string_view S)
{
    int N = 0;
    for (unsigned char C : S)
        if (!IsContinuation(C)) ++N;
    return N;
}

// Byte offset of the character with 0-based index CharIndex; S.size() when past the end.
std::size_t ByteOffset(std::string_view S, int CharIndex)
{
    if (CharIndex <= 0) return 0;
    int N = 0;
    for (std::size_t I = 0; I < S.size(); ++I) {
        if (!IsContinuation(static_cast<unsigned char>(S[I]))) {
            if (N == CharIndex) return I;
            ++N;
        }
    }
    return S.size();
}

// 1-based character position of the byte offset Off.
int CharPosOfByte(std::string_view S, std::size_t Off) { return CharCount(S.substr(0, Off)) + 1; }

bool IsFloatChar(char C)
{
    return (C >= '0' && C <= '9') || C == ',' || C == '-' || C == 'E' || C == 'e';
}

}  // namespace

std::string IntStr(int I) { return std::to_string(I); }

std::string ByteStr(unsigned char B) { return std::to_string(static_cast<unsigned>(B)); }

std::string CharStr(char C) { return std::string(1, C); }

std::string LeftChars(const std::string& S, int N) { return S.substr(0, ByteOffset(S, N)); }

std::string RightChars(const std::string& S, int N)
{
    const int Len = CharCount(S);
    if (Len <= N) return S;
    return S.substr(ByteOffset(S, Len - N));
}

std::string DropLeft(const std::string& S, int N)
{
    if (N <= 0) return S;
    return S.substr(ByteOffset(S, N));
}

std::string DropRight(const std::string& S, int N)
{
    if (N <= 0) return S;
    const int Len = CharCount(S);
    if (N >= Len) return std::string();
    return S.substr(0, ByteOffset(S, Len - N));
}

std::string SafeCopy(const std::string& S, int Index, int Count)
{
    if (Index < 1) Index = 1;
    if (Count <= 0) return std::string();
    const std::size_t From = ByteOffset(S, Index - 1);
    if (From >= S.size()) return std::string();
    const std::size_t To = From + ByteOffset(std::string_view(S).substr(From), Count);
    return S.substr(From, To - From);
}

std::string PadLeft(const std::string& S, int Len, char Fill)
{
    const int Have = CharCount(S);
    if (Have >= Len) return S;
    std::string R(static_cast<std::size_t>(Len - Have), Fill);
    R += S;
    return R;
}

std::string PadLeftBlanks(const std::string& S, int Len) { return PadLeft(S, Len, ' '); }

std::string Spaces(int N) { return N > 0 ? std::string(static_cast<std::size_t>(N), ' ') : std::string(); }

std::string TrimLeftSpaces(const std::string& S)
{
    const std::size_t P = S.find_first_not_of(' ');
    return P == std::string::npos ? std::string() : S.substr(P);
}

std::string TrimRightSpaces(const std::string& S)
{
    const std::size_t P = S.find_last_not_of(' ');
    return P == std::string::npos ? std::string() : S.substr(0, P + 1);
}

std::string TrimSpaces(const std::string& S) { return TrimLeftSpaces(TrimRightSpaces(S)); }

std::string DotToComma(const std::string& S)
{
    std::string R = S;
    for (char& C : R)
        if (C == '.') C = ',';
    return R;
}

std::string RemoveChar(const std::string& S, char C)
{
    std::string R;
    R.reserve(S.size());
    for (char X : S)
        if (X != C) R += X;
    return R;
}

std::string FloatCharsOnly(const std::string& S)
{
    std::string R;
    R.reserve(S.size());
    for (char C : S)
        if (IsFloatChar(C)) R += C;
    return R;
}

bool IsFloatChars(const std::string& S)
{
    if (S.empty()) return false;
    for (char C : S)
        if (!IsFloatChar(C)) return false;
    return true;
}

bool IsFloatString(const std::string& S) { return IsFloatChars(S); }

int LastPos(const std::string& S, const std::string& Sub)
{
    // An empty Sub matches at every position; the last one is just past the end.
    if (Sub.size() > S.size()) return -1;
    const std::size_t P = S.rfind(Sub);
    return P == std::string::npos ? -1 : CharPosOfByte(S, P);
}

int LastPosChar(const std::string& S, char C)
{
    const std::size_t P = S.rfind(C);
    return P == std::string::npos ? -1 : CharPosOfByte(S, P);
}

int PosAfterLast(const std::string& S, const std::string& Sub)
{
    const int P = LastPos(S, Sub);
    return P < 0 ? -1 : P + CharCount(Sub);
}

bool StrContains(const std::string& S, const std::string& Sub) { return LastPos(S, Sub) >= 0; }

bool NotEmpty(const std::string& S) { return !S.empty(); }

bool IsEmpty(const std::string& S) { return S.empty(); }

std::string BoolToText(bool B) { return B ? "True" : "False"; }
