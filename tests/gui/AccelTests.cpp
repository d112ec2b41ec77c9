// Accelerator characters of captions.
#include <gtest/gtest.h>

#include "platform/gui/Accel.h"

using namespace gui;

TEST(guiAccel, HotKeyOfCaptions) {
    const std::pair<const char*, char32_t> cases[] = {
        {"&Datei", U'D'}, {"Sch&ließen", U'l'}, {"&&Kopie", 0}, {"A&&B&c", U'c'}, {"Ende&", 0},
        {"", 0}, {"&Übernehmen", U'Ü'}, {"ohne", 0}};
    for (auto [caption, hot] : cases) EXPECT_EQ(GetHotKey(caption), hot) << caption;
}

TEST(guiAccel, KeysMatchWithoutCase) {
    EXPECT_TRUE(IsAccel(U'd', "&Datei"));
    EXPECT_TRUE(IsAccel(U'D', "&datei"));
    EXPECT_TRUE(IsAccel(U'ü', "&Übernehmen"));
    EXPECT_FALSE(IsAccel(U'a', "&Datei"));
    EXPECT_FALSE(IsAccel(U'&', "&&Kopie"));
    EXPECT_FALSE(IsAccel(0, "Ende&"));
}
