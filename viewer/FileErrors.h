// The text of an error that arose while a file was read names the file: the error box of a bad
// file says which file (and which line) it is about.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/SysUtils.h"

// Puts "Datei <FileName>, Zeile <Line>: " (Line from 1; 0 or less: "Datei <FileName>: ") before
// the error's text and keeps the text as it stands. A text that names the file already (the
// opening errors) and the silent error stay as they are.
void NameFileInError(rtl::Exception& E, const std::string& FileName, long long Line = 0);

// Whether the first bytes of a file are UTF-16 text: a UTF-16 byte-order mark, or ASCII text
// with a zero byte beside every character.
bool LooksLikeUtf16(std::string_view Head);

// For a text file that could not be read: when the file is UTF-16 text (which the text readers
// take as Windows-1252 and so cannot read), says so after the error's text. The silent error and
// a file that cannot be opened (again) stay as they are.
void NameEncodingInError(rtl::Exception& E, const std::string& FileName);

// A word of a file as an error text quotes it: „word“, a long one cut after 40 bytes (at a
// character border) and marked with "…". A control character is shown as "�" (a tab as a blank),
// so that the text shows what the word holds and nothing of it disappears.
std::string QuotedWord(std::string_view Word);
