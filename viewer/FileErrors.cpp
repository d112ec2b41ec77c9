#include "viewer/FileErrors.h"

#include "platform/rtl/Classes.h"

void NameFileInError(rtl::Exception& E, const std::string& FileName, long long Line) {
    if (dynamic_cast<rtl::EAbort*>(&E)) return;
    if (!FileName.empty() && E.Message.find(FileName) != std::string::npos) return;
    const std::string where = Line > 0 ? rtl::Format("Datei %s, Zeile %d: ", FileName, Line)
                                       : rtl::Format("Datei %s: ", FileName);
    E.Message = where + E.Message;
}

// Without a byte-order mark: at least two characters, a zero byte in each high half (odd bytes
// for little-endian, even ones for big-endian) and none in the low halves. Text in UTF-8 or
// Windows-1252 holds no zero bytes at all.
bool LooksLikeUtf16(std::string_view Head) {
    if (Head.starts_with("\xFF\xFE") || Head.starts_with("\xFE\xFF")) return true;
    const std::size_t pairs = Head.size() / 2;
    if (pairs < 2) return false;
    std::size_t zeroEven = 0, zeroOdd = 0;
    for (std::size_t i = 0; i < 2 * pairs; i += 2) {
        zeroEven += Head[i] == '\0';
        zeroOdd += Head[i + 1] == '\0';
    }
    return (zeroOdd == pairs && zeroEven == 0) || (zeroEven == pairs && zeroOdd == 0);
}

void NameEncodingInError(rtl::Exception& E, const std::string& FileName) {
    if (dynamic_cast<rtl::EAbort*>(&E)) return;
    char head[512];
    long long n = 0;
    try {
        rtl::TFileStream f(FileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        n = f.Read(head, sizeof head);
    } catch (const rtl::Exception&) {
        return;
    }
    if (n <= 0 || !LooksLikeUtf16(std::string_view(head, static_cast<std::size_t>(n)))) return;
    E.Message += "; die Datei ist UTF-16-kodiert, lesbar sind nur UTF-8 und Windows-1252";
}

namespace {

// Appends Text with its control characters (C0, DEL and C1; Text is UTF-8) shown visibly.
void AppendShown(std::string& r, std::string_view Text) {
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(Text[i]);
        if (c == '\t') {
            r += ' ';
        } else if (c < 0x20 || c == 0x7F) {
            r += "�";
        } else if (c == 0xC2 && i + 1 < Text.size() &&
                   static_cast<unsigned char>(Text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(Text[i + 1]) <= 0x9F) {
            r += "�";
            ++i;
        } else {
            r += Text[i];
        }
    }
}

}  // namespace

std::string QuotedWord(std::string_view Word) {
    constexpr std::size_t kMax = 40;
    std::string r = "„";
    if (Word.size() <= kMax) {
        AppendShown(r, Word);
    } else {
        std::size_t n = kMax;
        while (n > 0 && (static_cast<unsigned char>(Word[n]) & 0xC0) == 0x80) --n;
        AppendShown(r, Word.substr(0, n));
        r += "…";
    }
    return r + "“";
}
