// INI files with the original platform's semantics: sections and keys case-insensitive,
// values as written (no quoting or escaping), every write goes to the file at once.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/Classes.h"

namespace rtl {

// The largest INI file that is read. Every read parses the whole file again, so a file of
// settings stays far below this (a program's settings fill a few kB); a larger file is taken
// for something else and reads as empty.
inline constexpr long long MaxIniFileSize = 1024 * 1024;

namespace msg {
inline constexpr const char* IniFileTooLarge = "Die Datei ist größer als 1 MB";
}  // namespace msg

class TIniFile : public TObject {
public:
    explicit TIniFile(std::string fileName);
    const std::string& FileName() const { return fileName_; }
    // Raises EFOpenError ("Datei %s kann nicht geöffnet werden. %s") when the file exists but
    // cannot be read: no read permission, not a regular file, or larger than MaxIniFileSize.
    // Reads of such a file give the defaults; writes to it raise this error instead of
    // replacing it. A missing file is readable (empty).
    void CheckReadable() const;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // A value that is not an integer (decimal or $hex) reads as def.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // Stored as integers: 0 is False, any other integer True, anything else def.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    long double ReadFloat(std::string_view section, std::string_view key, long double def) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"
    void WriteFloat(std::string_view section, std::string_view key, long double value);

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    void ReadSection(std::string_view section, TStrings& keys) const;
    void ReadSections(TStrings& sections) const;
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);

private:
    std::string fileName_;
};

}  // namespace rtl
