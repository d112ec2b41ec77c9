// Accelerator characters of captions: "&Datei" has the accelerator 'D'; "&&" is a literal '&'.
#pragma once

#include <string>

namespace gui {

// The accelerator character of caption (a code point), or 0 when it has none.
char32_t GetHotKey(const std::string& caption);
// True when key (a character code) is caption's accelerator, letters compared without case.
bool IsAccel(char32_t key, const std::string& caption);

}  // namespace gui
