// Main window: the antenna and ground geometry files.
#include <cmath>
#include <string>
#include <string_view>

#include "foundation/cStrings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Classes.h"
#include "viewer/FeldorU.h"
#include "viewer/FileErrors.h"

using namespace FeldorU;

namespace {

constexpr gdi::TColor kLoadedColor = 0x83E2AB;

// A point is one short line and a set holds at most MaxPoints of them: no geometry file comes
// near this size. A larger one is refused before it is read.
constexpr long long kMaxGeometryBytes = 4LL << 20;

constexpr const char* kPointLine = "Hier wird ein Punkt „Name;x;y;z“ erwartet (z. B. „4;0;-2,5;10“)";

[[noreturn]] void RaiseTooLarge() {
    throw rtl::EReadError("Die Datei ist größer als 4 MB; so große Geometriedateien gibt es nicht");
}

// The file's text as the string list reads it: UTF-8 when valid, else Windows-1252, without a
// UTF-8 byte-order mark.
std::string ReadGeometryText(const std::string& FileName) {
    rtl::TFileStream f(FileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    if (f.Size() > kMaxGeometryBytes) RaiseTooLarge();
    std::string bytes;
    char buf[65536];
    for (;;) {
        const long long n = f.Read(buf, sizeof buf);
        if (n <= 0) break;
        if (static_cast<long long>(bytes.size()) + n > kMaxGeometryBytes) RaiseTooLarge();
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    std::string_view v(bytes);
    if (v.starts_with("\xEF\xBB\xBF")) v.remove_prefix(3);
    return rtl::DecodeTextBytes(v);
}

// Field K of a point line converted as a number: x, y and z in this order, so that a line with
// more than one fault reports the first. A number beyond the range of Double is refused rather
// than taken as infinite.
double Coordinate(const StringArray& Fields, int K) {
    if (K >= Fields.Length()) throw rtl::ERangeError(kPointLine);
    long double v;
    if (!rtl::TryStrToFloat(Fields[K], v))
        throw rtl::EConvertError(std::string(kPointLine) + ", doch " + QuotedWord(Fields[K]) +
                                 " ist keine Zahl");
    const double d = static_cast<double>(v);
    if (!std::isfinite(d))
        throw rtl::EConvertError(std::string(kPointLine) + ", doch " + QuotedWord(Fields[K]) +
                                 " liegt außerhalb des Zahlenbereichs");
    return d;
}

// Replaces the points of `set` by those of the file: one point a line, "name;x;y;z"; lines end
// in CR LF, LF or CR, and the rest after the last line end is a line when not empty.
// Errors are not caught: the points read before a bad line stay; the error names the file and
// the line.
void LoadGeometry(TAntPoints& set, const std::string& FileName) {
    set.Clear();
    long long lineNo = 0;
    try {
        const std::string text = ReadGeometryText(FileName);
        const std::size_t n = text.size();
        std::size_t pos = 0;
        while (pos < n) {
            std::size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string::npos) end = n;
            ++lineNo;
            if (set.Count() == TAntPoints::MaxPoints)
                throw rtl::ERangeError(rtl::Format("Eine Geometriedatei hat höchstens %d Punkte",
                                                   TAntPoints::MaxPoints));
            const StringArray f = StrSplitChar(text.substr(pos, end - pos), ';');
            const double x = Coordinate(f, 1);
            const double y = Coordinate(f, 2);
            const double z = Coordinate(f, 3);
            set.Add(f[0], x, y, z);
            pos = end + 1;
            if (end < n && text[end] == '\r' && pos < n && text[pos] == '\n') ++pos;
        }
    } catch (rtl::EFOpenError&) {
        throw;
    } catch (rtl::Exception& e) {
        NameFileInError(e, FileName, lineNo);
        NameEncodingInError(e, FileName);
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
