#include "viewer/FileErrors.h"

void NameFileInError(rtl::Exception& E, const std::string& FileName, long long Line) {
    if (dynamic_cast<rtl::EAbort*>(&E)) return;
    if (!FileName.empty() && E.Message.find(FileName) != std::string::npos) return;
    const std::string where = Line > 0 ? rtl::Format("Datei %s, Zeile %d: ", FileName, Line)
                                       : rtl::Format("Datei %s: ", FileName);
    E.Message = where + E.Message;
}

std::string QuotedWord(std::string_view Word) {
    constexpr std::size_t kMax = 40;
    std::string r = "„";
    if (Word.size() <= kMax) {
        r += Word;
    } else {
        std::size_t n = kMax;
        while (n > 0 && (static_cast<unsigned char>(Word[n]) & 0xC0) == 0x80) --n;
        r += Word.substr(0, n);
        r += "…";
    }
    return r + "“";
}
