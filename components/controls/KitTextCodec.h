// Text conversions of the library's edit: UTF-8 to and from code points.
#pragma once

#include <string>
#include <string_view>

namespace kit {

// Invalid or truncated sequences become U+FFFD.
std::u32string KitUtf8ToUtf32(std::string_view S);
std::string KitUtf32ToUtf8(std::u32string_view S);

}  // namespace kit
