// Core runtime: exceptions with the platform's German texts, number <-> text conversion with
// the class library's copy of the locale separators, Format, string and file-name helpers.
#pragma once

#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <string_view>

namespace rtl {

// ---- Exceptions -------------------------------------------------------------------------
// Every error of the program derives from Exception and carries its text in Message.
class Exception : public std::exception {
public:
    explicit Exception(std::string message);
    virtual ~Exception() = default;
    const char* what() const noexcept override { return Message.c_str(); }
    // Class name as the original platform reports it ("EConvertError" ...), for the
    // "Anwendungsfehler" box.
    virtual const char* ClassName() const noexcept { return "Exception"; }
    std::string Message;
};

#define RTL_EXCEPTION(Name, Base)                                                   \
    class Name : public Base {                                                      \
    public:                                                                         \
        using Base::Base;                                                           \
        const char* ClassName() const noexcept override { return #Name; }           \
    };

RTL_EXCEPTION(EAbort, Exception)              // silent: the exception box shows nothing
RTL_EXCEPTION(EConvertError, Exception)
RTL_EXCEPTION(EListError, Exception)
RTL_EXCEPTION(EStringListError, EListError)
RTL_EXCEPTION(EAssertionFailed, Exception)
RTL_EXCEPTION(EOutOfMemory, Exception)
RTL_EXCEPTION(EInvalidOperation, Exception)
RTL_EXCEPTION(EPropertyError, Exception)
RTL_EXCEPTION(EInOutError, Exception)
RTL_EXCEPTION(EExternal, Exception)
RTL_EXCEPTION(EIntError, EExternal)
RTL_EXCEPTION(EDivByZero, EIntError)
RTL_EXCEPTION(ERangeError, EIntError)
RTL_EXCEPTION(EIntOverflow, EIntError)
RTL_EXCEPTION(EMathError, EExternal)
RTL_EXCEPTION(EInvalidOp, EMathError)
RTL_EXCEPTION(EZeroDivide, EMathError)
RTL_EXCEPTION(EOverflow, EMathError)
RTL_EXCEPTION(EUnderflow, EMathError)
RTL_EXCEPTION(EStreamError, Exception)
RTL_EXCEPTION(EFilerError, EStreamError)
RTL_EXCEPTION(EReadError, EFilerError)
RTL_EXCEPTION(EWriteError, EFilerError)
RTL_EXCEPTION(EFCreateError, EStreamError)
RTL_EXCEPTION(EFOpenError, EStreamError)
#undef RTL_EXCEPTION

// The platform's German texts (used as the program shows them).
namespace msg {
inline constexpr const char* ListIndexError = "Listenindex überschreitet das Maximum (%d)";
inline constexpr const char* RangeError = "Fehler bei Bereichsprüfung";
inline constexpr const char* IntOverflow = "Integer-Überlauf";
inline constexpr const char* DivByZero = "Division durch Null";
inline constexpr const char* ZeroDivide = "Gleitkommadivision durch Null";
inline constexpr const char* InvalidOp = "Ungültige Gleitkommaoperation";
inline constexpr const char* Overflow = "Gleitkommaüberlauf";
inline constexpr const char* InvalidFloat = "'%s' ist kein gültiger Gleitkommawert";
inline constexpr const char* InvalidInteger = "'%s' ist kein gültiger Integerwert";
inline constexpr const char* InvalidFormat = "Format '%s' ungültig oder nicht kompatibel mit Argument";
inline constexpr const char* InvalidPropertyValue = "Ungültiger Eigenschaftswert";
inline constexpr const char* ReadError = "Stream-Lesefehler";
inline constexpr const char* WriteError = "Stream-Schreibfehler";
inline constexpr const char* FOpenError = "Datei %s kann nicht geöffnet werden. %s";
inline constexpr const char* FCreateError = "Datei %s kann nicht erstellt werden. %s";
inline constexpr const char* FWriteError = "Datei %s kann nicht geschrieben werden. %s";
inline constexpr const char* OutOfMemory = "Zu wenig Arbeitsspeicher";
inline constexpr const char* OperationAborted = "Vorgang abgebrochen";
inline constexpr const char* AssertionFailed = "%s (%s, Zeile %d)";
}  // namespace msg

// Raises the range error (ERangeError, "Fehler bei Bereichsprüfung").
[[noreturn]] void RaiseRangeError();
// Raises EListError with "Listenindex überschreitet das Maximum (%d)" for Index.
[[noreturn]] void RaiseListIndexError(long long index);
// Raises EAbort (silent).
[[noreturn]] void Abort();

// The text of an operating-system error number (errno), as appended to the file errors: German
// for every error a file operation meets; any other number as "Systemfehler <n>" with the
// system's own text.
std::string SysErrorMessage(int err);

// ---- Locale copy --------------------------------------------------------------------------
// The class library's own copy of the separators, taken at start from the per-user locale
// store (platform/sys) and refreshed only by an explicit call.
struct TFormatSettings {
    char DecimalSeparator = ',';
    char ThousandSeparator = '.';
    char ListSeparator = ';';
    char CurrencyThousandSeparator = '.';
};
TFormatSettings& FormatSettings();

// ---- Format ------------------------------------------------------------------------------
// One argument of Format, as the platform's open array of constants.
class TVarRec {
public:
    enum class Kind { Int, Int64, Extended, String, Char, Pointer, Boolean };
    TVarRec(int v) : kind_(Kind::Int), i_(v) {}
    TVarRec(unsigned v) : kind_(Kind::Int64), i_(v) {}
    TVarRec(long v) : kind_(Kind::Int64), i_(v) {}
    TVarRec(long long v) : kind_(Kind::Int64), i_(v) {}
    TVarRec(unsigned long v) : kind_(Kind::Int64), i_(static_cast<long long>(v)) {}
    TVarRec(unsigned long long v) : kind_(Kind::Int64), i_(static_cast<long long>(v)) {}
    TVarRec(short v) : kind_(Kind::Int), i_(v) {}
    TVarRec(unsigned short v) : kind_(Kind::Int), i_(v) {}
    TVarRec(float v) : kind_(Kind::Extended), e_(v) {}
    TVarRec(double v) : kind_(Kind::Extended), e_(v) {}
    TVarRec(long double v) : kind_(Kind::Extended), e_(v) {}
    TVarRec(char v) : kind_(Kind::Char), s_(1, v) {}
    TVarRec(bool v) : kind_(Kind::Boolean), i_(v) {}
    TVarRec(const char* v) : kind_(Kind::String), s_(v ? v : "") {}
    TVarRec(std::string v) : kind_(Kind::String), s_(std::move(v)) {}
    TVarRec(std::string_view v) : kind_(Kind::String), s_(v) {}
    TVarRec(const void* v) : kind_(Kind::Pointer), p_(v) {}

    Kind kind() const { return kind_; }
    long long asInt() const { return i_; }
    long double asExtended() const { return e_; }
    const std::string& asString() const { return s_; }
    const void* asPointer() const { return p_; }

private:
    Kind kind_;
    long long i_ = 0;
    long double e_ = 0;
    std::string s_;
    const void* p_ = nullptr;
};

// The platform's Format: %[index:][-][width][.prec]type with types d u e f g n m p s x,
// '*' for width or precision from the arguments; floats rounded half away from zero on the
// decimal digits, the locale copy's decimal separator (and thousand separator for %n, %m).
// A type that does not fit its argument raises EConvertError with msg::InvalidFormat.
std::string FormatV(std::string_view fmt, std::span<const TVarRec> args);
std::string FormatV(std::string_view fmt, std::span<const TVarRec> args, const TFormatSettings& fs);

template <class... A>
std::string Format(std::string_view fmt, const A&... a) {
    if constexpr (sizeof...(A) == 0) {
        return FormatV(fmt, std::span<const TVarRec>());
    } else {
        const TVarRec arr[] = {TVarRec(a)...};
        return FormatV(fmt, std::span<const TVarRec>(arr, sizeof...(A)));
    }
}

// ---- Numbers <-> text --------------------------------------------------------------------
enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Shortest general form with 15 significant digits, as the platform's FloatToStr.
std::string FloatToStr(long double value);
std::string FloatToStr(long double value, const TFormatSettings& fs);
std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits);
std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& fs);
// Accepts leading and trailing blanks, an optional sign, digits with the locale copy's decimal
// separator, and an exponent; anything else raises EConvertError with msg::InvalidFloat.
long double StrToFloat(std::string_view s);
long double StrToFloat(std::string_view s, const TFormatSettings& fs);
bool TryStrToFloat(std::string_view s, long double& value);
bool TryStrToFloat(std::string_view s, long double& value, const TFormatSettings& fs);
long double StrToFloatDef(std::string_view s, long double def);

std::string IntToStr(long long value);
std::string IntToHex(long long value, int digits);
// Decimal or $hex / 0x hex with optional sign and surrounding blanks; EConvertError
// (msg::InvalidInteger) otherwise, also on 32-bit overflow.
int StrToInt(std::string_view s);
long long StrToInt64(std::string_view s);
bool TryStrToInt(std::string_view s, int& value);
int StrToIntDef(std::string_view s, int def);

// Round: to nearest, ties to even (the processor's default). Trunc: toward zero.
// Both raise EInvalidOp for NaN or a value outside 64 bits.
long long Round(long double x);
long long Trunc(long double x);
long double Frac(long double x);
long double Int(long double x);

// ---- Strings -----------------------------------------------------------------------------
std::string Trim(std::string_view s);       // drops characters <= ' ' at both ends
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
std::string UpperCase(std::string_view s);  // ASCII letters only
std::string LowerCase(std::string_view s);
int CompareText(std::string_view a, std::string_view b);  // ASCII case-insensitive; <0, 0, >0
bool SameText(std::string_view a, std::string_view b);
std::string StringReplaceAll(std::string_view s, std::string_view from, std::string_view to);
// Number of code points of UTF-8 text.
std::size_t CodePointCount(std::string_view utf8);

// ---- Files -------------------------------------------------------------------------------
// Path delimiter is '/'. ExtractFilePath keeps the trailing delimiter.
inline constexpr char PathDelim = '/';
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileDir(std::string_view path);
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path);  // with the dot; only the file name's own
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

// Command line: set once by the main block.
void SetCommandLine(int argc, char** argv);
int ParamCount();
std::string ParamStr(int index);  // 0: the executable's full path

}  // namespace rtl
