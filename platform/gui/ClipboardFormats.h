// Registered clipboard formats: a process-wide table that gives every format name one number
// from $C000 up, the same number for the same name (compared without case).
#pragma once

#include <string>

namespace gui {

// The format's number; 0 for an empty name or when the range $C000..$FFFF is used up.
unsigned RegisterClipboardFormat(const std::string& Name);
// The name registered under Format; empty when none is.
std::string GetClipboardFormatName(unsigned Format);

}  // namespace gui
