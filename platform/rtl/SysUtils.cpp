// Exceptions, integer conversion, rounding, string and file helpers, command line.
#include "platform/rtl/SysUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <cmath>
#include <cstdio>
#include <vector>

namespace rtl {

Exception::Exception(std::string message) : Message(std::move(message)) {}

void RaiseRangeError() { throw ERangeError(msg::RangeError); }

void RaiseListIndexError(long long index) { throw EListError(Format(msg::ListIndexError, index)); }

void Abort() { throw EAbort(msg::OperationAborted); }

std::string SysErrorMessage(int err) {
    switch (err) {
        case ENOENT: return "Die Datei oder der Ordner wurde nicht gefunden";
        case EACCES:
        case EPERM: return "Zugriff verweigert";
        case ENOSPC:
        case EDQUOT: return "Auf dem Datenträger ist nicht genug Speicherplatz frei";
        case EROFS: return "Der Datenträger ist schreibgeschützt";
        case ENAMETOOLONG: return "Der Dateiname ist zu lang";
        case EISDIR: return "Der Name bezeichnet einen Ordner, keine Datei";
        case ENOTDIR: return "Ein Teil des Pfades ist kein Ordner";
        case ELOOP: return "Der Pfad enthält zu viele symbolische Verknüpfungen oder eine Schleife";
        case EIO: return "Ein-/Ausgabefehler auf dem Datenträger";
        case EBUSY: return "Die Datei oder das Gerät ist belegt";
        case ETXTBSY: return "Die Datei ist ein laufendes Programm und kann nicht geändert werden";
        case EMFILE: return "Das Programm hat zu viele Dateien geöffnet";
        case ENFILE: return "Im System sind zu viele Dateien geöffnet";
        case EFBIG: return "Die Datei ist zu groß";
        case EEXIST: return "Die Datei ist bereits vorhanden";
        case ENOTEMPTY: return "Der Ordner ist nicht leer";
        case EXDEV: return "Die Datei liegt auf einem anderen Datenträger";
        case ENXIO:
        case ENODEV: return "Das Gerät ist nicht vorhanden oder nicht bereit";
        case EINVAL: return "Ungültiger Aufruf für diese Datei";
        case EAGAIN: return "Die Datei ist vorübergehend nicht verfügbar";
        case EINTR: return "Der Vorgang wurde unterbrochen";
        case ENOMEM: return "Zu wenig Arbeitsspeicher";
        case EMLINK: return "Zu viele Verknüpfungen";
        case EOVERFLOW: return "Die Datei ist für diesen Vorgang zu groß";
        case EOPNOTSUPP: return "Das Dateisystem unterstützt diesen Vorgang nicht";
        case ESTALE: return "Die Datei ist auf dem Netzlaufwerk nicht mehr vorhanden";
        case ETIMEDOUT: return "Zeitüberschreitung beim Zugriff auf den Datenträger";
        case ENOTCONN:
        case EHOSTDOWN:
        case EHOSTUNREACH:
        case ENETDOWN:
        case ENETUNREACH: return "Die Verbindung zum Netzlaufwerk ist unterbrochen";
        case EBADF: return "Die Datei ist für diesen Zugriff nicht geöffnet";
        case EPIPE: return "Die Gegenseite liest nicht mehr";
        default: break;
    }
    char buf[256];
    return "Systemfehler " + std::to_string(err) + " (" + strerror_r(err, buf, sizeof buf) + ")";  // GNU variant
}

TFormatSettings& FormatSettings() {
    static TFormatSettings settings;
    return settings;
}

// ---- Integers ------------------------------------------------------------------------------

std::string IntToStr(long long value) { return std::to_string(value); }

std::string IntToHex(long long value, int digits) {
    static const char hex[] = "0123456789ABCDEF";
    unsigned long long u = static_cast<unsigned long long>(value);
    std::string s;
    do {
        s.insert(s.begin(), hex[u & 15]);
        u >>= 4;
    } while (u != 0);
    if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<std::size_t>(digits) - s.size(), '0');
    return s;
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Parses decimal or $hex / 0x hex with optional sign and surrounding blanks. Hex text may use
// the full unsigned range of `bits` (wrapping to negative, as the platform does); decimal text
// must fit the signed range.
bool parseInteger(std::string_view s, int bits, long long& out) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    if (b == e) return false;
    bool neg = false;
    if (s[b] == '+' || s[b] == '-') {
        neg = s[b] == '-';
        ++b;
    }
    bool hex = false;
    if (b < e && s[b] == '$') {
        hex = true;
        ++b;
    } else if (e - b >= 2 && s[b] == '0' && (s[b + 1] == 'x' || s[b + 1] == 'X')) {
        hex = true;
        b += 2;
    }
    if (b == e) return false;
    unsigned long long v = 0;
    const unsigned long long maxMag =
        hex ? (bits == 64 ? ULLONG_MAX : 0xFFFFFFFFull)
            : (bits == 64 ? (neg ? 9223372036854775808ull : 9223372036854775807ull)
                          : (neg ? 2147483648ull : 2147483647ull));
    const unsigned base = hex ? 16 : 10;
    for (std::size_t i = b; i < e; ++i) {
        const char c = s[i];
        unsigned d;
        if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
        else if (hex && c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
        else return false;
        if (v > (maxMag - d) / base) return false;
        v = v * base + d;
    }
    if (hex) {
        const unsigned long long u = neg ? 0ull - v : v;
        out = bits == 32 ? static_cast<long long>(static_cast<int>(static_cast<unsigned>(u)))
                         : static_cast<long long>(u);
    } else {
        out = neg ? static_cast<long long>(0ull - v) : static_cast<long long>(v);
    }
    return true;
}

}  // namespace

bool TryStrToInt(std::string_view s, int& value) {
    long long v;
    if (!parseInteger(s, 32, v)) return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(std::string_view s) {
    int v;
    if (!TryStrToInt(s, v)) throw EConvertError(Format(msg::InvalidInteger, s));
    return v;
}

long long StrToInt64(std::string_view s) {
    long long v;
    if (!parseInteger(s, 64, v)) throw EConvertError(Format(msg::InvalidInteger, s));
    return v;
}

int StrToIntDef(std::string_view s, int def) {
    int v;
    return TryStrToInt(s, v) ? v : def;
}

// ---- Rounding ------------------------------------------------------------------------------

namespace {
void checkInt64Range(long double r) {
    // r is already integral; the 64-bit range is [-2^63, 2^63).
    if (std::isnan(r) || r < -9223372036854775808.0L || r >= 9223372036854775808.0L)
        throw EInvalidOp(msg::InvalidOp);
}
}  // namespace

long long Round(long double x) {
    if (std::isnan(x)) throw EInvalidOp(msg::InvalidOp);
    long double r = std::round(x);  // halves away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5L) {
        // tie: choose the even neighbour
        if (std::fmod(r, 2.0L) != 0) r -= (x > 0 ? 1 : -1);
    }
    checkInt64Range(r);
    return static_cast<long long>(r);
}

long long Trunc(long double x) {
    if (std::isnan(x)) throw EInvalidOp(msg::InvalidOp);
    const long double r = std::trunc(x);
    checkInt64Range(r);
    return static_cast<long long>(r);
}

long double Frac(long double x) { return x - std::trunc(x); }
long double Int(long double x) { return std::trunc(x); }

// ---- Strings -------------------------------------------------------------------------------

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string TrimLeft(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(0, e));
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareText(a, b) == 0; }

std::string StringReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string r;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t f = s.find(from, pos);
        if (f == std::string_view::npos) break;
        r.append(s.substr(pos, f - pos));
        r.append(to);
        pos = f + from.size();
    }
    r.append(s.substr(pos));
    return r;
}

std::size_t CodePointCount(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// ---- Files ---------------------------------------------------------------------------------

namespace {
std::size_t lastDelim(std::string_view path) {
    const std::size_t p = path.rfind(PathDelim);
    return p == std::string_view::npos ? 0 : p + 1;  // index of the file name
}
}  // namespace

std::string ExtractFilePath(std::string_view path) { return std::string(path.substr(0, lastDelim(path))); }

std::string ExtractFileDir(std::string_view path) {
    std::size_t n = lastDelim(path);
    if (n > 1) --n;  // drop the delimiter, but keep a lone root "/"
    return std::string(path.substr(0, n));
}

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(lastDelim(path))); }

std::string ExtractFileExt(std::string_view path) {
    const std::size_t nameStart = lastDelim(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) return {};
    return std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    const std::size_t nameStart = lastDelim(path);
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) dot = path.size();
    return std::string(path.substr(0, dot)) + std::string(ext);
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string r(path);
    if (r.empty() || r.back() != PathDelim) r += PathDelim;
    return r;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
    // As on the original platform, renaming onto an existing file fails.
    if (::access(to.c_str(), F_OK) == 0) return false;
    return std::rename(from.c_str(), to.c_str()) == 0;
}

// ---- Command line --------------------------------------------------------------------------

namespace {
std::vector<std::string>& commandLine() {
    static std::vector<std::string> args;
    return args;
}
}  // namespace

void SetCommandLine(int argc, char** argv) {
    auto& a = commandLine();
    a.clear();
    for (int i = 0; i < argc; ++i) a.emplace_back(argv[i] ? argv[i] : "");
}

int ParamCount() {
    const int n = static_cast<int>(commandLine().size());
    return n > 0 ? n - 1 : 0;
}

std::string ParamStr(int index) {
    if (index == 0) {
        char buf[4096];
        const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n > 0) return std::string(buf, static_cast<std::size_t>(n));
        return commandLine().empty() ? std::string() : commandLine()[0];
    }
    const auto& a = commandLine();
    if (index < 0 || index >= static_cast<int>(a.size())) return {};
    return a[static_cast<std::size_t>(index)];
}

}  // namespace rtl
