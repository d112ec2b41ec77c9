#include "components/base/KitStrings.h"

#include <algorithm>

namespace kit {

bool KitIsBlank(std::string_view S) {
    return std::all_of(S.begin(), S.end(), [](char c) { return c == ' '; });
}

std::string KitStringOfChar(int Count, char Ch) {
    return Count > 0 ? std::string(static_cast<std::size_t>(Count), Ch) : std::string();
}

std::string KitCopyBefore(std::string_view S, char Ch) {
    const std::size_t p = S.find(Ch);
    return std::string(p == std::string_view::npos ? S : S.substr(0, p));
}

std::string KitCopyAfter(std::string_view S, char Ch) {
    const std::size_t p = S.find(Ch);
    if (p == std::string_view::npos) return std::string(S);
    return std::string(S.substr(p + 1, 255));
}

std::string KitAddBackslash(std::string_view S) {
    std::string r(S);
    if (KitIsBlank(S) || S.back() != '\\') r.push_back('\\');
    return r;
}

std::string KitRemoveBackslash(std::string_view S) {
    if (KitIsBlank(S) || S.back() != '\\') return std::string(S);
    return std::string(S.substr(0, S.size() - 1));
}

}  // namespace kit
