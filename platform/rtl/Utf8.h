// UTF-8 encoding of single code points and the two text encodings files are read in, shared by
// the stream reader and the text codecs.
#pragma once

#include <string>
#include <string_view>

namespace rtl {

// Appends the UTF-8 bytes of code point cp; a surrogate or a value above U+10FFFF becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// Whether bytes are well-formed UTF-8: no overlong form, no surrogate, nothing above U+10FFFF,
// no sequence cut short. A text split at ASCII bytes (line ends) is valid exactly when each of
// its pieces is.
bool IsValidUtf8(std::string_view bytes);

// Appends bytes read as Windows-1252, in UTF-8; the five codes that encoding leaves undefined
// become the C1 control of the same value, as the platform's conversion does.
void AppendCp1252AsUtf8(std::string& out, std::string_view bytes);

}  // namespace rtl
