// Small string and path helpers on 8-bit strings.
#pragma once

#include <string>
#include <string_view>

namespace kit {

// True when S is empty or holds blanks (' ') only.
bool KitIsBlank(std::string_view S);
// Count copies of Ch; empty for Count <= 0.
std::string KitStringOfChar(int Count, char Ch);
// The text before the first Ch; S itself when Ch does not occur.
std::string KitCopyBefore(std::string_view S, char Ch);
// The text after the first Ch, at most 255 characters; S itself when Ch does not occur.
std::string KitCopyAfter(std::string_view S, char Ch);
// S with '\' appended unless it already ends in one (a blank S gets one too).
std::string KitAddBackslash(std::string_view S);
// S without a final '\'; a blank S is returned unchanged.
std::string KitRemoveBackslash(std::string_view S);

}  // namespace kit
