// UTF-8 encoding of single code points, shared by the stream reader and the text codecs.
#pragma once

#include <string>

namespace rtl {

// Appends the UTF-8 bytes of code point cp; a surrogate or a value above U+10FFFF becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace rtl
