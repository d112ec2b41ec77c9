// The OEM code page of a German installation (code page 850) and the conversion between it and
// the program's UTF-8 text, as the platform's CharToOem and OemToChar do it.
#pragma once

#include <string>
#include <string_view>

namespace rtl {

// UTF-8 text to OEM bytes, one byte per code point. A character the code page lacks, and a
// byte that is not valid UTF-8, becomes '?'.
std::string CharToOem(std::string_view utf8);
// OEM bytes to UTF-8 text.
std::string OemToChar(std::string_view oem);
// CharToOem followed by OemToChar: the text as it survives the OEM code page.
std::string OemRoundTrip(std::string_view utf8);

}  // namespace rtl
