#include "components/controls/KitTextCodec.h"

#include "platform/rtl/Utf8.h"

namespace kit {

std::u32string KitUtf8ToUtf32(std::string_view S) {
    std::u32string out;
    out.reserve(S.size());
    std::size_t i = 0;
    while (i < S.size()) {
        const unsigned char b = static_cast<unsigned char>(S[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        if ((b & 0xE0) == 0xC0) { extra = 1; cp = b & 0x1F; min = 0x80; }
        else if ((b & 0xF0) == 0xE0) { extra = 2; cp = b & 0x0F; min = 0x800; }
        else if ((b & 0xF8) == 0xF0) { extra = 3; cp = b & 0x07; min = 0x10000; }
        else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        std::size_t j = 1;
        for (; j <= static_cast<std::size_t>(extra); ++j) {
            if (i + j >= S.size()) break;
            const unsigned char c = static_cast<unsigned char>(S[i + j]);
            if ((c & 0xC0) != 0x80) break;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (j <= static_cast<std::size_t>(extra) || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(0xFFFD);
            i += j;  // skip the lead byte and the continuation bytes seen
            continue;
        }
        out.push_back(cp);
        i += j;
    }
    return out;
}

std::string KitUtf32ToUtf8(std::u32string_view S) {
    std::string out;
    out.reserve(S.size());
    for (char32_t cp : S) rtl::AppendUtf8(out, cp);
    return out;
}

}  // namespace kit
