// Main window: the antenna and ground geometry files.
#include "foundation/cStrings.h"
#include "platform/rtl/SysUtils.h"
#include "viewer/FeldorU.h"
#include "viewer/FileErrors.h"

using namespace FeldorU;

namespace {

constexpr gdi::TColor kLoadedColor = 0x83E2AB;

// Replaces the points of `set` by those of the file: one point a line, "name;x;y;z".
// Errors are not caught: the points read before a bad line stay; the error names the file and
// the line.
void LoadGeometry(TAntPoints& set, const std::string& FileName) {
    set.Clear();
    rtl::TStringList lines;
    lines.LoadFromFile(FileName);
    int i = 0;
    try {
        for (; i < lines.Count(); ++i) {
            const StringArray f = StrSplitChar(lines[i], ';');
            set.Add(f[0], static_cast<double>(rtl::StrToFloat(f[1])),
                    static_cast<double>(rtl::StrToFloat(f[2])),
                    static_cast<double>(rtl::StrToFloat(f[3])));
        }
    } catch (rtl::Exception& e) {
        NameFileInError(e, FileName, i + 1);
        throw;
    }
}

}  // namespace

void TFormFeldor::LoadAntenne(const std::string& FileName) {
    LoadGeometry(*Antenne, FileName);
    laAntenne->SetColor(kLoadedColor);
}

void TFormFeldor::LoadBoden(const std::string& FileName) {
    LoadGeometry(*Boden, FileName);
    laBoden->SetColor(kLoadedColor);
}

void TFormFeldor::AntBodenNachLaden(const std::string& Dir) {
    const std::string dir = rtl::IncludeTrailingPathDelimiter(Dir);
    if (rtl::FileExists(dir + "Antenne.txt")) LoadAntenne(dir + "Antenne.txt");
    if (rtl::FileExists(dir + "Boden.txt")) LoadBoden(dir + "Boden.txt");
}

void TFormFeldor::MINachladenClick(rtl::TObject*) { AntBodenNachLaden(EZNECDir); }
