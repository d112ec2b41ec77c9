// Conversion between UTF-8 text and the OEM code page.
#include <gtest/gtest.h>

#include "platform/rtl/OemCodePage.h"

using namespace rtl;

namespace {

TEST(rtlOemCodePage, GermanLettersHaveTheirOemBytes) {
    EXPECT_EQ(CharToOem("Größe äÖü µ"), "Gr\x94\xE1" "e \x84\x99\x81 \xE6");
    EXPECT_EQ(OemToChar("Gr\x94\xE1" "e \x84\x99\x81 \xE6"), "Größe äÖü µ");
}

TEST(rtlOemCodePage, RoundTripKeepsWhatTheCodePageHolds) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"abc 123\r\n", "abc 123\r\n"},
        {"ä µ £ ß ½ ±", "ä µ £ ß ½ ±"},
        {"Ω", "?"},          // Greek capital omega: not in the code page
        {"€5", "?5"},        // the euro sign neither
        {"a😀b", "a?b"},     // four-byte sequence, one code point
        {"x\xC3", "x?"},     // truncated sequence at the end
        {"\xFF" "a", "?a"},  // a byte that starts no sequence
        {"\xC3(", "?("},     // lead byte without continuation
    };
    for (const Case& c : cases) EXPECT_EQ(OemRoundTrip(c.in), c.out) << c.in;
}

TEST(rtlOemCodePage, EveryOemByteSurvivesTheWayBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(CharToOem(OemToChar(all)), all);
}

}  // namespace
