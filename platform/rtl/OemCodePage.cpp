// Code page 850: the lower half is ASCII, the upper half is the table below.
#include "platform/rtl/OemCodePage.h"

#include <cstdint>

#include "platform/rtl/Utf8.h"

namespace rtl {

namespace {

constexpr char16_t kUpperHalf[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,  // B0
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,  // D0
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,  // E0
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,  // F0
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// Decodes the code point at s[i] and advances i; -1 for a malformed sequence (i moves one byte).
long NextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra = 0;
    long cp = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        ++i;
        return -1;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size()) {
        ++i;
        return -1;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return -1;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

}  // namespace

std::string CharToOem(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const long cp = NextCodePoint(utf8, i);
        if (cp >= 0 && cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        char oem = '?';
        for (int k = 0; k < 128 && cp > 0; ++k)
            if (kUpperHalf[k] == cp) {
                oem = static_cast<char>(0x80 + k);
                break;
            }
        out += oem;
    }
    return out;
}

std::string OemToChar(std::string_view oem) {
    std::string out;
    out.reserve(oem.size() * 2);
    for (const char c : oem) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, b < 0x80 ? b : kUpperHalf[b - 0x80]);
    }
    return out;
}

std::string OemRoundTrip(std::string_view utf8) { return OemToChar(CharToOem(utf8)); }

}  // namespace rtl
