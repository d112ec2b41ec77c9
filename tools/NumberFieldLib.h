// The bad text of a number field is reported once: each field remembers the text it last
// reported as not a number and forgets it when it holds a number again (or nothing), so that
// reading the field again because another field or a unit changed reports nothing new.
#pragma once

#include <optional>
#include <string>

class TReportedText {
public:
    // For a field read when it is left, each visit an entry of its own: true when Text, which is
    // not a number, is not the text last reported.
    bool ReportNow(const std::string& Text);
    // For a field read at every key: true when the field has held a number or nothing since its
    // last report. A text is reported when the field becomes bad, not again while it stays bad.
    bool ReportWhenBecomingBad(const std::string& Text);
    // The field holds a number or nothing.
    void Forget() { reported_.reset(); }

private:
    std::optional<std::string> reported_;
};

// An input of a calculator: nothing typed, a text that is not a number, or its number.
struct TFieldNumber {
    bool Empty = false;
    bool Bad = false;
    double Value = 0;  // the number times the unit's factor; 0 when empty or bad
};

// Reads Text (locale decimal separator) times Factor, at every change of the field. A text that
// is not a number is warned about (NoFloatMessage) when the field becomes bad.
TFieldNumber ReadNumberField(const std::string& Text, double Factor, TReportedText& Reported);
