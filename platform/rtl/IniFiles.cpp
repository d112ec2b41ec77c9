// TIniFile: every Read parses the file afresh, every Write rewrites it at once through a
// temporary file in the same directory that is renamed over the old one (FileReplace). A file
// that exists but cannot be read reads as empty and is never written over.
#include "platform/rtl/IniFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/rtl/FileReplace.h"
#include "platform/rtl/SysUtils.h"

namespace rtl {

namespace {

using Lines = std::vector<std::string>;

std::string osErrorText(int err) { return SysErrorMessage(err); }

std::string trimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return std::string(s.substr(b, e - b));
}

// The file's lines; a missing file has none. A file that exists but cannot be read as an INI
// file (no permission, no regular file, larger than MaxIniFileSize) has none either and gives
// the reason in `refusal`. Never blocks: a named pipe is refused, not opened for reading.
Lines readLines(const std::string& fileName, std::string* refusal = nullptr) {
    Lines lines;
    auto refuse = [&](std::string reason) {
        if (refusal) *refusal = std::move(reason);
        return Lines();
    };
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT ? lines : refuse(osErrorText(errno));
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0) return refuse(osErrorText(errno));
    if (S_ISDIR(st.st_mode)) return refuse(osErrorText(EISDIR));
    if (!S_ISREG(st.st_mode)) return refuse(msg::NotARegularFile);
    if (st.st_size > MaxIniFileSize) return refuse(msg::IniFileTooLarge);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return refuse(osErrorText(errno));
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
        if (bytes.size() > static_cast<std::size_t>(MaxIniFileSize)) return refuse(msg::IniFileTooLarge);
    }
    std::string_view v(bytes);
    if (v.size() >= 3 && v.substr(0, 3) == "\xEF\xBB\xBF") v.remove_prefix(3);
    TStringList sl;
    sl.SetText(DecodeTextBytes(v));
    lines.reserve(static_cast<std::size_t>(sl.Count()));
    for (int i = 0; i < sl.Count(); ++i) lines.push_back(sl.Get(i));
    return lines;
}

// The lines of a file that is about to be rewritten: a file that exists but could not be read
// is never replaced by one that lacks its content.
Lines linesToUpdate(const std::string& fileName) {
    std::string refusal;
    Lines lines = readLines(fileName, &refusal);
    if (!refusal.empty()) throw EFOpenError(Format(msg::FOpenError, fileName, refusal));
    return lines;
}

// Writes all lines with CR LF; the file is replaced only once the new one is complete.
void writeLines(const std::string& fileName, const Lines& lines) {
    std::string text;
    for (const auto& l : lines) {
        text += l;
        text += "\r\n";
    }
    SaveFileReplacing(fileName, text);
}

// "[name]" line: the trimmed text between '[' and the first ']'.
std::optional<std::string> sectionName(const std::string& line) {
    const std::string t = trimBlanks(line);
    if (t.empty() || t[0] != '[') return std::nullopt;
    const std::size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return trimBlanks(std::string_view(t).substr(1, close - 1));
}

bool isComment(const std::string& line) {
    const std::string t = trimBlanks(line);
    return !t.empty() && t[0] == ';';
}

// "key=value" line: key and value trimmed; false for comments and lines without '='.
bool keyValue(const std::string& line, std::string& key, std::string& value) {
    if (isComment(line)) return false;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    key = trimBlanks(std::string_view(line).substr(0, eq));
    value = trimBlanks(std::string_view(line).substr(eq + 1));
    return !key.empty();
}

struct SectionRange {
    std::size_t header;  // index of the "[name]" line
    std::size_t end;     // one past the last line of the section
};

std::optional<SectionRange> findSection(const Lines& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionName(lines[i]);
        if (name && SameText(*name, section)) {
            std::size_t e = i + 1;
            while (e < lines.size() && !sectionName(lines[e])) ++e;
            return SectionRange{i, e};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const Lines& lines, const SectionRange& r, std::string_view key,
                                   std::string* value = nullptr, std::string* spelling = nullptr) {
    std::string k, v;
    for (std::size_t i = r.header + 1; i < r.end; ++i) {
        if (keyValue(lines[i], k, v) && SameText(k, key)) {
            if (value) *value = v;
            if (spelling) *spelling = k;
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

void TIniFile::CheckReadable() const { linesToUpdate(fileName_); }

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    const Lines lines = readLines(fileName_);
    const auto r = findSection(lines, section);
    std::string value;
    if (r && findKey(lines, *r, key, &value)) return value;
    return std::string(def);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    std::string s = ReadString(section, key, "");
    return StrToIntDef(s, def);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

long double TIniFile::ReadFloat(std::string_view section, std::string_view key, long double def) const {
    const std::string s = ReadString(section, key, "");
    long double v;
    return !s.empty() && TryStrToFloat(s, v) ? v : def;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Lines lines = linesToUpdate(fileName_);
    const std::string sec = trimBlanks(section);
    const std::string k = trimBlanks(key);
    const std::string val = trimBlanks(value);
    if (auto r = findSection(lines, sec)) {
        std::string spelling;
        if (auto at = findKey(lines, *r, k, nullptr, &spelling)) {
            lines[*at] = spelling + "=" + val;
        } else {
            // After the section's last non-blank line.
            std::size_t pos = r->end;
            while (pos > r->header + 1 && trimBlanks(lines[pos - 1]).empty()) --pos;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(pos), k + "=" + val);
        }
    } else {
        if (!lines.empty() && !trimBlanks(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + sec + "]");
        lines.push_back(k + "=" + val);
    }
    writeLines(fileName_, lines);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteFloat(std::string_view section, std::string_view key, long double value) {
    WriteString(section, key, FloatToStr(value));
}

bool TIniFile::SectionExists(std::string_view section) const {
    return findSection(readLines(fileName_), section).has_value();
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    const Lines lines = readLines(fileName_);
    const auto r = findSection(lines, section);
    return r && findKey(lines, *r, key);
}

void TIniFile::ReadSection(std::string_view section, TStrings& keys) const {
    keys.BeginUpdate();
    try {
        keys.Clear();
        const Lines lines = readLines(fileName_);
        if (const auto r = findSection(lines, section)) {
            std::string k, v;
            for (std::size_t i = r->header + 1; i < r->end; ++i)
                if (keyValue(lines[i], k, v)) keys.Add(k);
        }
    } catch (...) {
        keys.EndUpdate();
        throw;
    }
    keys.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const {
    sections.BeginUpdate();
    try {
        sections.Clear();
        for (const auto& l : readLines(fileName_))
            if (auto name = sectionName(l)) sections.Add(*name);
    } catch (...) {
        sections.EndUpdate();
        throw;
    }
    sections.EndUpdate();
}

void TIniFile::EraseSection(std::string_view section) {
    Lines lines = linesToUpdate(fileName_);
    bool changed = false;
    while (auto r = findSection(lines, section)) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(r->header),
                    lines.begin() + static_cast<std::ptrdiff_t>(r->end));
        changed = true;
    }
    if (changed) writeLines(fileName_, lines);
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
    Lines lines = linesToUpdate(fileName_);
    const auto r = findSection(lines, section);
    if (!r) return;
    if (auto at = findKey(lines, *r, key)) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
        writeLines(fileName_, lines);
    }
}

}  // namespace rtl
