// Exceptions, integer conversion, rounding, string and file-name helpers, command line.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <limits>

#include "platform/rtl/SysUtils.h"

using namespace rtl;

namespace {

TEST(rtlExceptions, HierarchyAndClassNames) {
    try {
        throw EStringListError("x");
    } catch (const EListError& e) {
        EXPECT_STREQ(e.ClassName(), "EStringListError");
        EXPECT_STREQ(e.what(), "x");
    }
    EXPECT_THROW(throw EInvalidOp("x"), EMathError);
    EXPECT_THROW(throw EMathError("x"), EExternal);
    EXPECT_THROW(throw ERangeError("x"), EIntError);
    EXPECT_THROW(throw EReadError("x"), EFilerError);
    EXPECT_THROW(throw EFilerError("x"), EStreamError);
    EXPECT_THROW(throw EFOpenError("x"), EStreamError);
    EXPECT_THROW(throw EFCreateError("x"), Exception);
    EXPECT_THROW(throw EConvertError("x"), std::exception);
    EXPECT_STREQ(Exception("m").ClassName(), "Exception");
}

TEST(rtlExceptions, Raisers) {
    try {
        RaiseRangeError();
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message, "Fehler bei Bereichsprüfung");
    }
    try {
        RaiseListIndexError(7);
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "Listenindex überschreitet das Maximum (7)");
    }
    try {
        Abort();
    } catch (const EAbort& e) {
        EXPECT_STREQ(e.ClassName(), "EAbort");
    }
}

TEST(rtlIntegers, StrToIntTable) {
    const struct {
        const char* s;
        int v;
    } ok[] = {{"12", 12},          {" 12 ", 12},        {"-12", -12},   {"+12", 12},
              {"0", 0},            {"$FF", 255},        {"$ff", 255},   {"0x1F", 31},
              {"-$10", -16},       {"$FFFFFFFF", -1},   {"$7FFFFFFF", 2147483647},
              {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"007", 7}};
    for (const auto& c : ok) {
        SCOPED_TRACE(c.s);
        EXPECT_EQ(StrToInt(c.s), c.v);
    }
    const char* bad[] = {"", " ", "2147483648", "-2147483649", "1.0", "12a", "$", "0x", "- 1",
                         "1 2", "$100000000", "1e3", "++1", "x1"};
    for (const char* s : bad) {
        SCOPED_TRACE(s);
        try {
            (void)StrToInt(s);
            ADD_FAILURE() << "accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, std::string("'") + s + "' ist kein gültiger Integerwert");
        }
        EXPECT_EQ(StrToIntDef(s, -5), -5);
        int v = 3;
        EXPECT_FALSE(TryStrToInt(s, v));
        EXPECT_EQ(v, 3);
    }
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<long long>::max());
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<long long>::min());
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
    EXPECT_THROW((void)StrToInt64("9223372036854775808"), EConvertError);
}

TEST(rtlIntegers, IntToStrAndHex) {
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x54A6, 6), "0054A6");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
}

TEST(rtlRounding, RoundTiesToEvenTruncTowardZero) {
    EXPECT_EQ(Round(0.5L), 0);
    EXPECT_EQ(Round(1.5L), 2);
    EXPECT_EQ(Round(2.5L), 2);
    EXPECT_EQ(Round(3.5L), 4);
    EXPECT_EQ(Round(-0.5L), 0);
    EXPECT_EQ(Round(-1.5L), -2);
    EXPECT_EQ(Round(-2.5L), -2);
    EXPECT_EQ(Round(2.4999L), 2);
    EXPECT_EQ(Round(-2.6L), -3);
    EXPECT_EQ(Round(1e18L), 1000000000000000000LL);
    EXPECT_EQ(Trunc(1.7L), 1);
    EXPECT_EQ(Trunc(-1.7L), -1);
    EXPECT_EQ(Trunc(-9223372036854775808.0L), std::numeric_limits<long long>::min());
    EXPECT_THROW((void)Round(std::numeric_limits<long double>::quiet_NaN()), EInvalidOp);
    EXPECT_THROW((void)Trunc(std::numeric_limits<long double>::quiet_NaN()), EInvalidOp);
    EXPECT_THROW((void)Round(1e19L), EInvalidOp);
    EXPECT_THROW((void)Trunc(-1e30L), EInvalidOp);
    EXPECT_THROW((void)Round(std::numeric_limits<long double>::infinity()), EInvalidOp);
    EXPECT_THROW((void)Trunc(9223372036854775808.0L), EInvalidOp);
    try {
        (void)Round(std::nanl(""));
    } catch (const EInvalidOp& e) {
        EXPECT_EQ(e.Message, "Ungültige Gleitkommaoperation");
    }
    EXPECT_EQ(Frac(-1.25L), -0.25L);
    EXPECT_EQ(Int(-1.25L), -1.0L);
}

TEST(rtlStrings, Helpers) {
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(UpperCase("abcÄz"), "ABCÄZ");
    EXPECT_EQ(LowerCase("ABC"), "abc");
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    EXPECT_TRUE(SameText("Verzeichnisse", "VERZEICHNISSE"));
    EXPECT_FALSE(SameText("a", "ab"));
    EXPECT_EQ(StringReplaceAll("1.234.5", ".", ","), "1,234,5");
    EXPECT_EQ(StringReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(CodePointCount("Größe"), 5u);
}

TEST(rtlFiles, PathHelpers) {
    EXPECT_EQ(ExtractFilePath("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(ExtractFilePath("c.txt"), "");
    EXPECT_EQ(ExtractFileDir("/a/b/c.txt"), "/a/b");
    EXPECT_EQ(ExtractFileDir("/c.txt"), "/");
    EXPECT_EQ(ExtractFileName("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(ExtractFileExt("/a/b/c.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/a.d/b"), "");
    EXPECT_EQ(ChangeFileExt("/a/b/c.txt", ".ini"), "/a/b/c.ini");
    EXPECT_EQ(ChangeFileExt("/a.d/Feldor", ".ini"), "/a.d/Feldor.ini");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
}

TEST(rtlFiles, ExistsDeleteRename) {
    char dir[] = "/tmp/rtl_files_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string d(dir);
    const std::string f = d + "/x.txt", g = d + "/y.txt";
    EXPECT_TRUE(DirectoryExists(d));
    EXPECT_FALSE(FileExists(d));
    EXPECT_FALSE(FileExists(f));
    FILE* fp = fopen(f.c_str(), "w");
    ASSERT_NE(fp, nullptr);
    fclose(fp);
    EXPECT_TRUE(FileExists(f));
    EXPECT_TRUE(RenameFile(f, g));
    EXPECT_FALSE(FileExists(f));
    EXPECT_TRUE(FileExists(g));
    EXPECT_TRUE(DeleteFile(g));
    EXPECT_FALSE(DeleteFile(g));
    rmdir(dir);
}

TEST(rtlCommandLine, ParamStrAndCount) {
    char a0[] = "prog", a1[] = "feld.fdr", a2[] = "x y";
    char* argv[] = {a0, a1, a2};
    SetCommandLine(3, argv);
    EXPECT_EQ(ParamCount(), 2);
    EXPECT_EQ(ParamStr(1), "feld.fdr");
    EXPECT_EQ(ParamStr(2), "x y");
    EXPECT_EQ(ParamStr(3), "");
    EXPECT_EQ(ParamStr(-1), "");
    const std::string exe = ParamStr(0);
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe[0], '/');
    EXPECT_TRUE(FileExists(exe));
    SetCommandLine(1, argv);
    EXPECT_EQ(ParamCount(), 0);
}

}  // namespace
