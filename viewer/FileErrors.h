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

// A word of a file as an error text quotes it: „word“, a long one cut after 40 bytes (at a
// character border) and marked with "…".
std::string QuotedWord(std::string_view Word);
