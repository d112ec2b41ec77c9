// String and path helpers, and the storage of the drawing vocabulary.
#include <gtest/gtest.h>

#include "components/base/KitStrings.h"
#include "components/base/kitgraph.h"

using namespace kit;

TEST(KitStrings, BlankAndRepeatedCharacters) {
    EXPECT_TRUE(KitIsBlank(""));
    EXPECT_TRUE(KitIsBlank("   "));
    EXPECT_FALSE(KitIsBlank(" a "));
    EXPECT_FALSE(KitIsBlank("\t"));  // only ' ' counts as blank
    EXPECT_EQ(KitStringOfChar(3, '-'), "---");
    EXPECT_EQ(KitStringOfChar(0, '-'), "");
    EXPECT_EQ(KitStringOfChar(-2, '-'), "");
}

TEST(KitStrings, CopyBeforeAndAfter) {
    struct Case {
        const char* s;
        char ch;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"key=value=x", '=', "key", "value=x"},
        {"no separator", '=', "no separator", "no separator"},
        {"=lead", '=', "", "lead"},
        {"trail=", '=', "trail", ""},
        {"", '=', "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KitCopyBefore(c.s, c.ch), c.before) << c.s;
        EXPECT_EQ(KitCopyAfter(c.s, c.ch), c.after) << c.s;
    }
    // The text after the character is cut to 255 characters; without it the string stays whole.
    const std::string tail(300, 'x');
    EXPECT_EQ(KitCopyAfter("a:" + tail, ':'), std::string(255, 'x'));
    EXPECT_EQ(KitCopyAfter(tail, ':'), tail);
}

TEST(KitStrings, Backslashes) {
    struct Case {
        const char* s;
        const char* added;
        const char* removed;
    };
    const Case cases[] = {
        {"", "\\", ""},
        {"  ", "  \\", "  "},
        {"C:\\Daten", "C:\\Daten\\", "C:\\Daten"},
        {"C:\\Daten\\", "C:\\Daten\\", "C:\\Daten"},
        {"\\", "\\", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KitAddBackslash(c.s), c.added) << '"' << c.s << '"';
        EXPECT_EQ(KitRemoveBackslash(c.s), c.removed) << '"' << c.s << '"';
    }
}

TEST(KitGraph, OneByteStorageAndOrdinals) {
    // Values are stored in files and compared by ordinal, so their storage and order matter.
    static_assert(sizeof(TKitBorderStyle) == 1 && sizeof(TKitUserButtonStyle) == 1);
    static_assert(sizeof(TKitFrameSides) == 1);
    EXPECT_EQ(static_cast<int>(lsDoubleLowered), 14);
    EXPECT_EQ(static_cast<int>(ubsWinXPTool), 13);
    EXPECT_EQ(static_cast<int>(gstTopRightDiagonal), 9);
    EXPECT_EQ(static_cast<int>(tdExtrudeEnh), 10);
    EXPECT_EQ(static_cast<int>(agBottomRight), 8);
    TKitFrameSides sides{fsLeft, fsTop};
    EXPECT_EQ(sides.ToBits(), 0b1010);
    EXPECT_TRUE(sides.Contains(fsTop));
    EXPECT_FALSE(sides.Contains(fsBottom));
    sides.Exclude(fsTop).Include(fsBottom);
    EXPECT_EQ(sides, (TKitFrameSides{fsBottom, fsLeft}));
}
