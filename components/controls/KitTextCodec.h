// Text conversions of the library's edit: UTF-8 to and from code points, and the round trip
// through the OEM code page (850, the DOS code page of a German system).
#pragma once

#include <string>
#include <string_view>

namespace kit {

// Invalid or truncated sequences become U+FFFD.
std::u32string KitUtf8ToUtf32(std::string_view S);
std::string KitUtf32ToUtf8(std::u32string_view S);
// Characters that code page 850 cannot hold become '?'; the rest stay as they are.
std::u32string KitOemRoundTrip(std::u32string_view S);

}  // namespace kit
