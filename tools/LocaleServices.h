// Locale and question services the viewer calls at start-up: the check and correction of the
// decimal and thousands separators of the user's locale, and the yes/no question.
#pragma once

#include <string>

// True when the locale's decimal separator is ',' and its thousands separator '.'.
bool IsGermanNumberFormat();
// Sets the locale's decimal separator to ',' and its thousands separator to '.'.
void SetGermanNumberFormat();
// Asks Text with the caption Caption; True on "&Ja".
bool AskYesNo(const std::string& Text, const std::string& Caption);
