// Parsing of the four near-field formats (EZNEC text, NEC-Win Pro and 4nec2 reports, MMANA
// comma-separated text) into the merged point set. The readers here know nothing of windows:
// they append to seven arrays, set the powers and report progress through a ReaderContext.
// TFormFeldor's LadenFeld2Dim* methods run them inside the progress window (FeldorReaders.cpp);
// tests and benchmarks call them directly.
//
// Errors are not caught: the points appended before stay. They say in words what the reader
// expected: a line it needs is missing (rtl::EStringListError, the string list's index error),
// a line lacks a word or field (rtl::ERangeError; in a data line: the file may be cut short), or
// a word is no number (rtl::EConvertError): also text between the numbers of a NEC report's data
// line ("NaN", "INF") and a number beyond the range of Double ("1e999"), never read as infinite.
// The readers of a file put the file's name and, where they know it, the line before the
// error's text, and name a UTF-16 file's encoding after it. A line longer than MaxLineLength ends the reading at once (ELineTooLong), before
// the file is read further. Lines are counted in 64 bits.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/cStrings.h"
#include "foundation/cUtils.h"
#include "platform/rtl/SysUtils.h"

namespace nearfield {

// ---- Word character sets ------------------------------------------------------------------
// A word is a maximal run of characters of the set; every other character separates.

// '!' to '@', 'E', '[' to '^', '`', 'e', '{', '}' to '~': the words of a data line.
inline constexpr TCharSet NumberRunChars = [] {
    TCharSet s;
    s.AddRange('!', '@').Add('E').AddRange('[', '^').Add('`').Add('e').Add('{').AddRange('}', '~');
    return s;
}();
// ',' and the digits: the power word of an EZNEC file.
inline constexpr TCharSet DigitsComma = [] {
    TCharSet s;
    s.Add(',').AddRange('0', '9');
    return s;
}();
// '+', ',', '-', '.', the digits, 'E', 'e': the power word of a NEC report.
inline constexpr TCharSet FloatChars = [] {
    TCharSet s;
    s.Add("+,-.Ee").AddRange('0', '9');
    return s;
}();

// Divisor of the peak values of the NEC reports and MMANA files; a magnitude written as
// 1.4142135623730951 gives exactly 1.
inline constexpr double Sqrt2 = 1.4142135623730951;

// Powers set by every reader before it reads (W); a power found in the file replaces Power.
inline constexpr double ReaderPower = 100;
inline constexpr double MMANAPower = 50;
inline constexpr double ReaderPowerShow = 750;

// ---- Lines --------------------------------------------------------------------------------
// No near-field line comes near this length (bytes); a longer one means the file is no
// near-field output, or has no line ends at all.
inline constexpr std::size_t MaxLineLength = 64 * 1024;

// A line longer than MaxLineLength; Line counts from 1.
class ELineTooLong : public rtl::EReadError {
public:
    explicit ELineTooLong(long long LineNo);
    long long Line;
};

// The lines of a text file in one buffer, split and decoded as the string list does it
// (rtl::TStrings::LoadFromFile: UTF-8 when valid, else Windows-1252; a UTF-8 byte-order mark is
// dropped; lines end in CR LF, LF or CR; a line end after the last line adds no empty line).
class NearFieldText {
public:
    NearFieldText() = default;
    // Opening errors as TStrings::LoadFromFile (rtl::EFOpenError); ELineTooLong.
    static NearFieldText FromFile(const std::string& FileName);
    // Text already decoded (UTF-8), split as TStrings::SetText.
    static NearFieldText FromText(std::string_view Text);

    long long Count() const { return static_cast<long long>(lines_.size()); }
    // The string list's index error outside 0..Count-1.
    std::string_view operator[](long long Index) const;
    void Delete(long long Index);

private:
    struct Span {
        std::size_t Begin;
        std::size_t Length;
    };
    std::size_t Split(std::size_t Pos, bool Final, bool CheckAscii, bool& Ascii);
    // The file's bytes as read when they are ASCII (no copy), else the decoded text.
    const char* Base() const { return raw_ ? raw_.get() : text_.data(); }
    std::size_t Size() const { return raw_ ? rawSize_ : text_.size(); }
    std::string_view Line(std::size_t I) const {
        return std::string_view(Base() + lines_[I].Begin, lines_[I].Length);
    }
    std::unique_ptr<char[]> raw_;
    std::size_t rawSize_ = 0;
    std::string text_;
    std::vector<Span> lines_;
};

// ---- Destination and context --------------------------------------------------------------
// Seven parallel arrays of a point set (x, y, stored height, magnitude, x, y, z component).
struct PointArrays {
    DoubleArray *tx, *ty, *tz, *tE, *tEx, *tEy, *tEz;
    // The arrays count in 32 bits: a point more raises rtl::EListError.
    static constexpr int MaxPoints = std::numeric_limits<int>::max();
    // The viewer's point set (FeldorU::tx .. tEz).
    static PointArrays Global();
    int Count() const { return tE->Length(); }
    // Room for Extra more points (grows geometrically, so repeated calls stay linear).
    void Reserve(long long Extra);
    void Append(double X, double Y, double Z, double E, double Ex, double Ey, double Ez) {
        if (tE->vec().size() >= static_cast<std::size_t>(MaxPoints)) [[unlikely]]
            RaiseFull();
        tx->push_back(X);
        ty->push_back(Y);
        tz->push_back(Z);
        tE->push_back(E);
        tEx->push_back(Ex);
        tEy->push_back(Ey);
        tEz->push_back(Ez);
    }
    [[noreturn]] static void RaiseFull();
};

struct ReaderContext {
    PointArrays Points = PointArrays::Global();
    double* Power;      // FeldorU::Power unless set
    double* PowerShow;  // FeldorU::PowerShow unless set
    // Called at pump time with the gauge value of the last point read (0..100), then Pump.
    std::function<void(int Percent)> Progress;
    std::function<void()> Pump;
    // One log line (a power in the file that is not above 0).
    std::function<void(const std::string& Text)> Info;
    // The line being read (from 0), -1 while the reader reads no particular line: an error
    // names it.
    long long Line = -1;
    // Progress and Pump run after a point when at least this much time has passed since the
    // last pump, and after the last point of a block; zero: after every point.
    std::chrono::steady_clock::duration PumpInterval = std::chrono::milliseconds(10);

    ReaderContext();
};

// The wait after a file is read before its progress window closes (TFormFeldor's readers);
// benchmarks set it to zero.
extern std::chrono::milliseconds FrameWait;

// ---- Readers ------------------------------------------------------------------------------
// Each Load* sets the powers (PowerShow 750 W; Power 100 W, MMANA 50 W), loads the file and
// reads it; each Read* does the same on lines already loaded.

// EZNEC near-field text. Deletes a last line of at most one character from Lines.
void LoadEznec(const std::string& FileName, ReaderContext& Ctx);
void ReadEznec(NearFieldText& Lines, ReaderContext& Ctx);

// The NEC reports: each block starts at its first data line (three numbers first) within the
// five lines below its title, five lines below it when none is there; so the classic report
// (a blank line under the title) and nec2c's (none under the electric title) read alike.
// NEC-Win Pro report: the electric block ends 11 lines above the magnetic title, the magnetic
// block has as many lines; an empty data line ends the reader.
void LoadNecWin(const std::string& FileName, ReaderContext& Ctx);
void ReadNecWin(const NearFieldText& Lines, ReaderContext& Ctx);

// 4nec2 report: each block ends before its first empty line.
void Load4nec2(const std::string& FileName, ReaderContext& Ctx);
void Read4nec2(const NearFieldText& Lines, ReaderContext& Ctx);

// MMANA comma-separated text; line 0 holds the units ("V/m", "AT/m").
void LoadMMana(const std::string& FileName, ReaderContext& Ctx);
void ReadMMana(const NearFieldText& Lines, ReaderContext& Ctx);

// ---- Helpers (exposed for tests) ----------------------------------------------------------
// StrToFloat(DotToComma(Word)) with the locale copy's decimal separator. Plain decimal words
// take an exact fast path when that separator is ','; the result is bit-identical. The readers
// hold every number as Double.
long double NumberWordToFloat(std::string_view Word);
// The fast path alone: True and the value for a word of the form [+|-] digits [('.'|',')
// digits] [(E|e) [+|-] digits] with at least one mantissa digit that it can convert exactly;
// False for anything else (the caller then converts the usual way).
bool FastDecimalToFloat(std::string_view Word, long double& Value);
// RoundDigits(1, V) as Double (coordinates to 0.1 m), bit-identical, without its calls.
double RoundCoordinate(double V);
// Round(100 * Done / Span); a zero Span gives 100.
int GaugePercent(long long Done, long long Span);

}  // namespace nearfield
