#include "tools/NumberFieldLib.h"

#include "foundation/DebugLib.h"
#include "platform/rtl/SysUtils.h"

bool TReportedText::ReportNow(const std::string& Text) {
    if (reported_ && *reported_ == Text) return false;
    reported_ = Text;
    return true;
}

bool TReportedText::ReportWhenBecomingBad(const std::string& Text) {
    const bool becoming = !reported_;
    reported_ = Text;
    return becoming;
}

TFieldNumber ReadNumberField(const std::string& Text, double Factor, TReportedText& Reported) {
    TFieldNumber n;
    if (Text.empty()) {
        Reported.Forget();
        n.Empty = true;
        return n;
    }
    long double v = 0;
    if (!rtl::TryStrToFloat(Text, v)) {
        n.Bad = true;
        if (Reported.ReportWhenBecomingBad(Text)) NoFloatMessage(Text);
        return n;
    }
    Reported.Forget();
    n.Value = static_cast<double>(v * Factor);
    return n;
}
