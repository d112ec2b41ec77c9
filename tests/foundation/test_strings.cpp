#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/StrUtilsLib.h"
#include "foundation/cStrings.h"

namespace {

std::vector<std::string> Items(const StringArray& A) { return A.vec(); }

// ---- StrUtilsLib ------------------------------------------------------------------------------

TEST(StrUtilsLib, LastPosAndPosAfterLast)
{
    struct Case { const char* S; const char* Sub; int Last, After; };
    const Case Cases[] = {
        {"abcabc", "bc", 5, 7},
        {"abc", "c", 3, 4},
        {"abc", "abc", 1, 4},
        {"x = 5", "=", 3, 4},
        {"abc", "x", -1, -1},
        {"ab", "abc", -1, -1},
        {"", "a", -1, -1},
        {"aaa", "aa", 2, 4},
        {"ABC", "b", -1, -1},  // case-sensitive
        {"µ=1", "=", 2, 3},    // characters, not bytes
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(LastPos(C.S, C.Sub), C.Last) << C.S << " / " << C.Sub;
        EXPECT_EQ(PosAfterLast(C.S, C.Sub), C.After) << C.S << " / " << C.Sub;
        EXPECT_EQ(StrContains(C.S, C.Sub), C.Last >= 0) << C.S << " / " << C.Sub;
    }
    EXPECT_TRUE(StrContains("NEAR ELECTRIC FIELDS", "FIELDS"));
    EXPECT_EQ(LastPosChar("a.b.c", '.'), 4);
    EXPECT_EQ(LastPosChar("abc", '.'), -1);
    EXPECT_EQ(LastPosChar("ä.b", '.'), 2);
}

TEST(StrUtilsLib, PosAfterLastFitsDropLeft)
{
    const std::string Line = "  ÄÖ INPUT POWER = 100 W";
    EXPECT_EQ(DropLeft(Line, PosAfterLast(Line, "INPUT POWER")), "= 100 W");
}

TEST(StrUtilsLib, LeftRightDrop)
{
    EXPECT_EQ(LeftChars("abc", 2), "ab");
    EXPECT_EQ(LeftChars("abc", 5), "abc");
    EXPECT_EQ(LeftChars("abc", 0), "");
    EXPECT_EQ(RightChars("abc", 2), "bc");
    EXPECT_EQ(RightChars("abc", 3), "abc");
    EXPECT_EQ(RightChars("abc", 0), "");
    EXPECT_EQ(DropLeft("abc", 1), "bc");
    EXPECT_EQ(DropLeft("abc", 3), "");
    EXPECT_EQ(DropLeft("abc", 0), "abc");
    EXPECT_EQ(DropLeft("abc", -2), "abc");
    EXPECT_EQ(DropRight("abc", 1), "ab");
    EXPECT_EQ(DropRight("abc", 5), "");
    EXPECT_EQ(DropRight("abc", -1), "abc");
    // Multi-byte characters are never cut in half.
    EXPECT_EQ(LeftChars("äöü", 2), "äö");
    EXPECT_EQ(RightChars("äöü", 1), "ü");
    EXPECT_EQ(DropLeft("°C", 1), "C");
    EXPECT_EQ(DropRight("V/m²", 1), "V/m");
}

TEST(StrUtilsLib, SafeCopy)
{
    EXPECT_EQ(SafeCopy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(SafeCopy("abcdef", 0, 2), "ab");
    EXPECT_EQ(SafeCopy("abcdef", -5, 1), "a");
    EXPECT_EQ(SafeCopy("abcdef", 4, 100), "def");
    EXPECT_EQ(SafeCopy("abc", 4, 1), "");
    EXPECT_EQ(SafeCopy("abc", 2, 0), "");
    EXPECT_EQ(SafeCopy("aµb", 2, 1), "µ");
}

TEST(StrUtilsLib, PaddingAndTrimming)
{
    EXPECT_EQ(PadLeft("7", 3, '0'), "007");
    EXPECT_EQ(PadLeftBlanks("abcdefghij", 9), "abcdefghij");
    EXPECT_EQ(PadLeftBlanks("1,5", 5), "  1,5");
    EXPECT_EQ(PadLeftBlanks("µT", 4), "  µT");
    EXPECT_EQ(Spaces(3), "   ");
    EXPECT_EQ(Spaces(0), "");
    EXPECT_EQ(Spaces(-2), "");
    EXPECT_EQ(TrimSpaces(" a b "), "a b");
    EXPECT_EQ(TrimLeftSpaces("  a "), "a ");
    EXPECT_EQ(TrimRightSpaces("  a "), "  a");
    EXPECT_EQ(TrimSpaces("\t a\t"), "\t a\t");  // only blanks count
    EXPECT_EQ(TrimSpaces("   "), "");
}

TEST(StrUtilsLib, CharacterFilters)
{
    EXPECT_EQ(FloatCharsOnly("1.234,5 W"), "1234,5");
    EXPECT_EQ(FloatCharsOnly("+1,5e-3 µT"), "1,5e-3");
    EXPECT_EQ(DotToComma("1.2.3"), "1,2,3");
    EXPECT_EQ(RemoveChar("a-b-c", '-'), "abc");
    struct Case { const char* S; bool Expected; };
    const Case Cases[] = {{"-1,5E3", true}, {"1,2,3", true}, {"", false},
                          {"1.5", false},  {"+1", false},   {" 1", false}};
    for (const Case& C : Cases) {
        EXPECT_EQ(IsFloatString(C.S), C.Expected) << C.S;
        EXPECT_EQ(IsFloatChars(C.S), C.Expected) << C.S;
    }
}

TEST(StrUtilsLib, SmallConversions)
{
    EXPECT_EQ(IntStr(-12), "-12");
    EXPECT_EQ(ByteStr(','), "44");
    EXPECT_EQ(ByteStr(static_cast<unsigned char>(0xE4)), "228");
    EXPECT_EQ(CharStr('x'), "x");
    EXPECT_EQ(BoolToText(true), "True");
    EXPECT_EQ(BoolToText(false), "False");
    EXPECT_TRUE(IsEmpty(""));
    EXPECT_TRUE(NotEmpty(" "));
}

// ---- cStrings ---------------------------------------------------------------------------------

TEST(cStrings, Comparison)
{
    EXPECT_TRUE(StrEqual("", "", true));
    EXPECT_TRUE(StrEqual("Abc", "aBC", false));
    EXPECT_FALSE(StrEqual("Abc", "aBC", true));
    EXPECT_FALSE(StrEqual("abc", "abcd", false));
    EXPECT_TRUE(StrEqualNoCase("V/M", "v/m"));
    EXPECT_FALSE(StrEqualNoCase("Ä", "ä"));  // only A..Z fold
    EXPECT_TRUE(StrIsNumeric("0123"));
    EXPECT_FALSE(StrIsNumeric(""));
    EXPECT_FALSE(StrIsNumeric("-1"));
    EXPECT_FALSE(StrIsNumeric("1,5"));
    EXPECT_TRUE(StrConsistsOf("1,5", "0123456789,"));
    EXPECT_FALSE(StrConsistsOf("", "0123456789,"));
    EXPECT_FALSE(StrConsistsOf("1;5", "0123456789,"));
}

TEST(cStrings, Positions)
{
    EXPECT_EQ(PosChar('b', "abcb", 1), 2);
    EXPECT_EQ(PosChar('b', "abcb", 3), 4);
    EXPECT_EQ(PosChar('b', "abcb", -4), 2);
    EXPECT_EQ(PosChar('b', "abcb", 5), 0);
    EXPECT_EQ(PosChar('x', "abcb", 1), 0);
    EXPECT_EQ(PosCharSet(",;", "ab;c,d", 1), 3);
    EXPECT_EQ(PosCharSet(",;", "ab;c,d", 4), 5);
    EXPECT_EQ(PosCharSet(",;", "abc", 1), 0);

    struct Case { const char* Find; const char* S; int Start; bool Sensitive; int Expected; };
    const Case Cases[] = {
        {"V/m", "E in V/m", 1, true, 6},   {"v/M", "E in V/m", 1, false, 6},
        {"v/M", "E in V/m", 1, true, 0},   {"ab", "abab", 2, true, 3},
        {"ab", "abab", 0, true, 1},        {"ab", "abab", 4, true, 0},
        {"", "abc", 1, true, 0},           {"a", "", 1, true, 0},
        {"abcd", "abc", 1, true, 0},       {"abc", "abc", 1, true, 1},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(PosStr(C.Find, C.S, C.Start, C.Sensitive), C.Expected) << C.Find << " in " << C.S;
}

TEST(cStrings, Copies)
{
    EXPECT_EQ(CopyRange("abcdef", 2, 4), "bcd");
    EXPECT_EQ(CopyRange("abcdef", 0, 2), "ab");
    EXPECT_EQ(CopyRange("abcdef", 5, 99), "ef");
    EXPECT_EQ(CopyRange("abcdef", 3, 3), "c");
    EXPECT_EQ(CopyRange("abcdef", 4, 3), "");
    EXPECT_EQ(CopyRange("abcdef", -3, 0), "");
    EXPECT_EQ(CopyRange("abcdef", 7, 9), "");
    EXPECT_EQ(CopyRange("", 1, 1), "");
    EXPECT_EQ(CopyFrom("abcdef", 3), "cdef");
    EXPECT_EQ(CopyFrom("abcdef", -1), "abcdef");
    EXPECT_EQ(CopyFrom("abcdef", 6), "f");
    EXPECT_EQ(CopyFrom("abcdef", 7), "");
}

TEST(cStrings, StrSplitAtStr)
{
    std::string L = "old", R = "old";
    EXPECT_TRUE(StrSplitAtStr("key = value = x", " = ", L, R, true, false));
    EXPECT_EQ(L, "key");
    EXPECT_EQ(R, "value = x");

    EXPECT_TRUE(StrSplitAtStr("aXYb", "xy", L, R, false, false));
    EXPECT_EQ(L, "a");
    EXPECT_EQ(R, "b");

    L = R = "old";
    EXPECT_FALSE(StrSplitAtStr("aXYb", "xy", L, R, true, true));
    EXPECT_EQ(L, "aXYb");
    EXPECT_EQ(R, "");
    L = R = "old";
    EXPECT_FALSE(StrSplitAtStr("aXYb", "xy", L, R, true, false));
    EXPECT_EQ(L, "");
    EXPECT_EQ(R, "");

    // The source may be one of the outputs.
    std::string S = "left|right";
    EXPECT_TRUE(StrSplitAtStr(S, "|", S, R, true, true));
    EXPECT_EQ(S, "left");
    EXPECT_EQ(R, "right");
}

TEST(cStrings, StrSplitCharTable)
{
    struct Case { const char* S; char D; std::vector<std::string> Expected; };
    const Case Cases[] = {
        {"a;;b", ';', {"a", "", "b"}},
        {"a;", ';', {"a", ""}},
        {";", ';', {"", ""}},
        {"", ';', {}},
        {"abc", ';', {"abc"}},
        {"1,5;2,5;-3", ';', {"1,5", "2,5", "-3"}},
        {"1.0,2.0,3.0,,,,7.5", ',', {"1.0", "2.0", "3.0", "", "", "", "7.5"}},
    };
    for (const Case& C : Cases) EXPECT_EQ(Items(StrSplitChar(C.S, C.D)), C.Expected) << C.S;
}

TEST(cStrings, StrSplitCharSet)
{
    EXPECT_EQ(Items(StrSplitCharSet("a,b;c,,d", ",;")),
              (std::vector<std::string>{"a", "b", "c", "", "d"}));
    EXPECT_EQ(Items(StrSplitCharSet("", ",;")), std::vector<std::string>{});
    EXPECT_EQ(Items(StrSplitCharSet("abc", ",;")), std::vector<std::string>{"abc"});
}

TEST(cStrings, StrSplitWordsWithReaderSets)
{
    // The sets the near-field readers cut data lines with.
    const TCharSet NumberRunChars = TCharSet("E[\\]^`e{")
                                        .AddRange('!', '@')
                                        .AddRange('}', '~');
    const TCharSet DigitsComma = TCharSet(",").AddRange('0', '9');

    struct Case { const char* S; const TCharSet* Set; std::vector<std::string> Expected; };
    const Case Cases[] = {
        {"  1,5  -2 ", nullptr, {"1,5", "-2"}},
        {"", &NumberRunChars, {}},
        {"   \t ", &NumberRunChars, {}},
        {"  1.234E-02\t-5,6e+1 V/m 7", &NumberRunChars, {"1.234E-02", "-5,6e+1", "/", "7"}},
        {"x_1|2 ä3", &NumberRunChars, {"1", "2", "3"}},
        {"12,5 Hz;7", &DigitsComma, {"12,5", "7"}},
    };
    const TCharSet DigitsCommaMinus = TCharSet(",-").AddRange('0', '9');
    for (const Case& C : Cases) {
        const TCharSet& Set = C.Set ? *C.Set : DigitsCommaMinus;
        EXPECT_EQ(Items(StrSplitWords(C.S, Set)), C.Expected) << C.S;
    }
}

TEST(cStrings, CharSet)
{
    constexpr TCharSet Set = TCharSet("ab").AddRange('0', '2');
    static_assert(Set.Contains('a') && Set.Contains('1') && !Set.Contains('3'));
    const TCharSet High = TCharSet().AddRange('\x80', '\xff');
    EXPECT_TRUE(High.Contains('\xe4'));
    EXPECT_FALSE(High.Contains('a'));
}

}  // namespace
