// String matching and splitting used by the readers and the grid header.
// Positions are 1-based; searches that find nothing answer 0.
#pragma once

#include <string>
#include <string_view>

#include "foundation/cUtils.h"

// A set of (byte) characters, e.g. TCharSet("0123456789").AddRange('A', 'Z').
class TCharSet {
public:
    constexpr TCharSet() = default;
    constexpr TCharSet(std::string_view Chars) { Add(Chars); }
    constexpr TCharSet(const char* Chars) { Add(std::string_view(Chars)); }
    constexpr TCharSet& Add(char C)
    {
        Bits[Index(C)] = true;
        return *this;
    }
    constexpr TCharSet& Add(std::string_view Chars)
    {
        for (char C : Chars) Add(C);
        return *this;
    }
    // Every character from First to Last (by code), both included.
    constexpr TCharSet& AddRange(char First, char Last)
    {
        for (int I = Index(First); I <= Index(Last); ++I) Bits[I] = true;
        return *this;
    }
    constexpr bool Contains(char C) const { return Bits[Index(C)]; }

private:
    static constexpr int Index(char C) { return static_cast<unsigned char>(C); }
    bool Bits[256] = {};
};

bool StrEqual(const std::string& A, const std::string& B, bool CaseSensitive);
bool StrEqualNoCase(const std::string& A, const std::string& B);
bool StrIsNumeric(const std::string& S);
bool StrConsistsOf(const std::string& S, const TCharSet& Chars);

int PosChar(char C, const std::string& S, int StartPos = 1);
int PosCharSet(const TCharSet& Chars, const std::string& S, int StartPos = 1);
int PosStr(const std::string& Find, const std::string& S, int StartPos = 1,
           bool CaseSensitive = true);

std::string CopyRange(const std::string& S, int StartIndex, int StopIndex);
std::string CopyFrom(const std::string& S, int Index);

bool StrSplitAtStr(const std::string& S, const std::string& Delim, std::string& Left,
                   std::string& Right, bool CaseSensitive = true, bool KeepWhole = false);

StringArray StrSplitChar(const std::string& S, char D);
StringArray StrSplitCharSet(const std::string& S, const TCharSet& Delims);
StringArray StrSplitWords(const std::string& S, const TCharSet& WordChars);
