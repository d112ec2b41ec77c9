#include "viewer/FileErrors.h"

void NameFileInError(rtl::Exception& E, const std::string& FileName, int Line) {
    if (dynamic_cast<rtl::EAbort*>(&E)) return;
    if (!FileName.empty() && E.Message.find(FileName) != std::string::npos) return;
    const std::string where = Line > 0 ? rtl::Format("Datei %s, Zeile %d: ", FileName, Line)
                                       : rtl::Format("Datei %s: ", FileName);
    E.Message = where + E.Message;
}
