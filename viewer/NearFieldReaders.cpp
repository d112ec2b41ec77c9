#include "viewer/NearFieldReaders.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "foundation/MathLib.h"
#include "foundation/StrUtilsLib.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "viewer/FeldorVars.h"
#include "viewer/FileErrors.h"

namespace nearfield {

std::chrono::milliseconds FrameWait{200};

ELineTooLong::ELineTooLong(long long LineNo)
    : rtl::EReadError(rtl::Format("Die Zeile ist länger als %d Bytes; so lange Zeilen hat keine "
                                  "Nahfeld-Ausgabe",
                                  static_cast<int>(MaxLineLength))),
      Line(LineNo) {}

// ---- Error texts --------------------------------------------------------------------------

namespace {

// The formats as the error texts name them.
constexpr const char* kEznecFile = "EZNEC-Nahfeldausgabe";
constexpr const char* kNecWinFile = "NEC-Win-Pro-Ausgabe";
constexpr const char* k4nec2File = "4nec2-Nahfeldausgabe";
constexpr const char* kMManaFile = "MMANA-Nahfeldausgabe";

// What a line should hold where a reader reads it, for the error when it does not.
struct Expected {
    const char* what;
    const char* example;  // nullptr: none
    const char* format;
    // A data line: one that lacks a word may be the last of a file cut short.
    bool data = false;
};

// "Hier wird <what> erwartet (z. B. <example>)".
std::string ExpectedText(const Expected& e) {
    std::string r = "Hier wird " + std::string(e.what) + " erwartet";
    if (e.example) r += " (z. B. " + std::string(e.example) + ")";
    return r;
}

constexpr const char* kFieldLine = "eine Zeile mit Koordinaten und Feldstärken";

// A word or field missing: the range error, in words.
[[noreturn]] void RaiseMissing(const Expected& e) {
    throw rtl::ERangeError(ExpectedText(e) + (e.data ? "; die Datei ist unvollständig oder keine "
                                                     : "; die Datei ist keine ") +
                           e.format);
}

// A word that is no number (also text such as "NaN" or "INF" where a number stands): the
// conversion error, in words.
[[noreturn]] void RaiseNoNumber(const Expected& e, std::string_view word) {
    throw rtl::EConvertError(ExpectedText(e) + ", doch " + QuotedWord(word) +
                             " ist keine Zahl; die Datei ist keine " + e.format);
}

// A number beyond the range of Double (it would be read as infinite): the conversion error.
[[noreturn]] void RaiseOutOfRange(const Expected& e, std::string_view word) {
    throw rtl::EConvertError(ExpectedText(e) + ", doch " + QuotedWord(word) +
                             " liegt außerhalb des Zahlenbereichs; die Datei ist keine " + e.format);
}

// A line the reader needs is not there: the string list's index error, in words.
[[noreturn]] void RaiseNoLine(const std::string& text) { throw rtl::EStringListError(text); }

// StrToFloat(DotToComma(Word)) as Double; a word that is no number raises RaiseNoNumber quoting
// Shown (the word, or the text it is part of), one beyond the range of Double RaiseOutOfRange.
double WordToDouble(std::string_view w, const Expected& e, std::string_view shown);

}  // namespace

// ---- Lines --------------------------------------------------------------------------------

namespace {

// The first C in the N bytes at P, or nullptr; an empty range may have no buffer at all (P null),
// which memchr must not be given.
inline const char* FindByte(const char* P, std::size_t N, char C) {
    return N ? static_cast<const char*>(std::memchr(P, C, N)) : nullptr;
}

bool AllAscii(std::string_view s) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    std::size_t i = 0;
    std::uint64_t acc = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        acc |= w;
    }
    for (; i < n; ++i) acc |= p[i];
    return (acc & 0x8080808080808080ull) == 0;
}

// The string list's index error (access outside the lines).
[[noreturn]] void RaiseLineIndexError(long long Index) {
    throw rtl::EStringListError(rtl::Format(rtl::msg::ListIndexError, Index));
}

// Counts the lines of successive pieces of a file and stops at a line longer than
// MaxLineLength, as soon as that many bytes of it are seen.
class LineLengthGuard {
public:
    void Feed(const char* p, std::size_t n) {
        for (const char* const e = p + n; p < e; ++p) {
            const char ch = *p;
            if (ch == '\n' || ch == '\r') {
                if (ch == '\r' || !prevCR_) ++lines_;
                prevCR_ = ch == '\r';
                run_ = 0;
            } else {
                prevCR_ = false;
                if (++run_ > MaxLineLength) throw ELineTooLong(lines_ + 1);
            }
        }
    }

private:
    std::size_t run_ = 0;
    long long lines_ = 0;  // complete lines before the one being read
    bool prevCR_ = false;
};

}  // namespace

std::string_view NearFieldText::operator[](long long Index) const {
    if (Index < 0 || Index >= Count()) RaiseLineIndexError(Index);
    return Line(static_cast<std::size_t>(Index));
}

void NearFieldText::Delete(long long Index) {
    if (Index < 0 || Index >= Count()) RaiseLineIndexError(Index);
    lines_.erase(lines_.begin() + Index);
}

// Lines end at "\r\n", "\r" or "\n"; the rest after the last line end is a line when not empty.
// Splits from Pos up to Size(); unless Final, stops before a line whose end is not yet certain
// (no line end read yet, or a CR that may be followed by an LF) and returns where it stopped.
// With CheckAscii it also stops at a line that holds a byte above 127 and clears Ascii.
std::size_t NearFieldText::Split(std::size_t Pos, bool Final, bool CheckAscii, bool& Ascii) {
    const char* const base = Base();
    const std::size_t n = Size();
    std::size_t lf = 0;  // the next '\n' at or after Pos, n when there is none
    bool lfKnown = false;
    while (Pos < n) {
        if (!lfKnown || lf < Pos) {
            const char* nl = static_cast<const char*>(std::memchr(base + Pos, '\n', n - Pos));
            lf = nl ? static_cast<std::size_t>(nl - base) : n;
            lfKnown = true;
        }
        if (lf == n && !Final) break;  // also keeps a CR at the end from being split off its LF
        const char* cr = static_cast<const char*>(std::memchr(base + Pos, '\r', lf - Pos));
        const std::size_t end = cr ? static_cast<std::size_t>(cr - base) : lf;
        if (CheckAscii && !AllAscii(std::string_view(base + Pos, end - Pos))) {
            Ascii = false;
            break;
        }
        lines_.push_back({Pos, end - Pos});
        Pos = cr ? ((end + 1 < n && base[end + 1] == '\n') ? end + 2 : end + 1) : lf + 1;
    }
    return Pos;
}

// The file is read in pieces that are checked and split while they are in the cache. Text that
// is not all ASCII is decoded as a whole afterwards and split again.
NearFieldText NearFieldText::FromFile(const std::string& FileName) {
    rtl::TFileStream f(FileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    const long long size = f.Size();
    NearFieldText t;
    std::size_t cap = (size > 0 ? static_cast<std::size_t>(size) : 0) + 1;  // +1: growth is seen
    t.raw_.reset(new char[cap]);                                             // uninitialised
    constexpr std::size_t Piece = 256 * 1024;
    std::size_t got = 0, pos = 0;
    bool ascii = true;
    LineLengthGuard guard;
    for (;;) {
        if (got == cap) {  // the file has grown since its size was taken
            std::unique_ptr<char[]> bigger(new char[2 * cap]);
            std::memcpy(bigger.get(), t.raw_.get(), got);
            t.raw_ = std::move(bigger);
            cap *= 2;
        }
        const long long r = f.Read(t.raw_.get() + got, static_cast<long long>(std::min(Piece, cap - got)));
        if (r <= 0) break;
        guard.Feed(t.raw_.get() + got, static_cast<std::size_t>(r));
        const bool first = got == 0;
        got += static_cast<std::size_t>(r);
        t.rawSize_ = got;
        if (first && got >= 3 && std::memcmp(t.raw_.get(), "\xEF\xBB\xBF", 3) == 0) pos = 3;
        if (ascii) pos = t.Split(pos, false, true, ascii);
    }
    if (ascii) pos = t.Split(pos, true, true, ascii);
    if (!ascii) {
        t.lines_.clear();
        std::string_view bytes(t.raw_.get(), got);
        if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
        t.text_ = rtl::DecodeTextBytes(bytes);
        t.raw_.reset();
        t.rawSize_ = 0;
        t.Split(0, true, false, ascii);
    }
    return t;
}

NearFieldText NearFieldText::FromText(std::string_view Text) {
    NearFieldText t;
    t.text_.assign(Text);
    bool ascii = true;
    t.Split(0, true, false, ascii);
    return t;
}

// ---- Lines read in blocks -----------------------------------------------------------------

namespace {

// The lines of a file read block by block, split and decoded as NearFieldText does it with the
// whole file. Scan reads every line once, counts the lines and finds out the encoding: a file is
// valid UTF-8 exactly when each of its lines is (line ends are ASCII), so UTF-8 when every line
// is, else Windows-1252. Afterwards a line is read by its index, forward from the last one read
// (an earlier index starts again from the nearest checkpoint), and decoded when it has to be.
// Only one block and the line being read are held, so a line longer than MaxLineLength ends the
// reading (ELineTooLong). The view a line access returns is valid until the next access.
class LineStream {
public:
    explicit LineStream(const std::string& FileName)
        : file_(FileName, rtl::fmOpenRead | rtl::fmShareDenyWrite) {}

    // Calls f(index, line) for every line with its bytes as they stand: what the readers look for
    // there is ASCII, which both encodings keep as it is, and a non-ASCII byte decodes to
    // non-ASCII bytes only.
    template <class F>
    void Scan(F& f) {
        Restart(0, -1);
        count_ = 0;
        checkpoints_.clear();
        ascii_ = utf8_ = true;
        scanning_ = true;
        std::string_view line;
        while (true) {
            if (count_ % kCheckpointEvery == 0) checkpoints_.push_back(LineStart());
            if (!Next(line)) break;
            if (!bufferAscii_ && !AllAscii(line)) {
                ascii_ = false;
                if (utf8_ && !rtl::IsValidUtf8(line)) utf8_ = false;
            }
            f(count_, line);
            ++count_;
        }
        current_ = count_;  // past the end: the next access starts again
        scanning_ = false;
    }

    long long Count() const { return count_; }

    std::string_view operator[](long long Index) {
        if (Index < 0 || Index >= count_) RaiseLineIndexError(Index);
        if (Index != current_) {
            if (Index < current_ || Index - current_ > kCheckpointEvery) {
                const long long c = Index / kCheckpointEvery;
                if (c * kCheckpointEvery > current_ || Index < current_)
                    Restart(checkpoints_[static_cast<std::size_t>(c)], c * kCheckpointEvery - 1);
            }
            while (current_ < Index) {
                if (!Next(line_)) RaiseLineIndexError(Index);  // the file has changed since
                ++current_;
            }
        }
        if (ascii_ || utf8_ || AllAscii(line_)) return line_;
        decoded_.clear();
        rtl::AppendCp1252AsUtf8(decoded_, line_);
        return decoded_;
    }

private:
    static constexpr long long kCheckpointEvery = 4096;
    static constexpr std::size_t kBlock = 256 * 1024;

    long long LineStart() const { return fileOffset_ + static_cast<long long>(pos_); }

    // Continue from byte Offset, where line Line + 1 begins.
    void Restart(long long Offset, long long Line) {
        file_.SetPosition(Offset);
        fileOffset_ = Offset;
        pos_ = end_ = 0;
        lfValid_ = false;
        eof_ = false;
        current_ = Line;
        nextLine_ = Line + 1;
        if (Offset == 0) skipBom_ = true;
    }

    // Reads more bytes after the unconsumed ones; False at the end of the file.
    bool Fill() {
        if (eof_) return false;
        if (pos_ > 0) {
            if (lfValid_ && lf_ >= pos_) {
                lf_ -= pos_;
                lfEnd_ -= pos_;
            } else {
                lfValid_ = false;
            }
            std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
            fileOffset_ += static_cast<long long>(pos_);
            end_ -= pos_;
            pos_ = 0;
        }
        if (buf_.size() < end_ + kBlock) buf_.resize(std::max(buf_.size() * 2, end_ + kBlock));
        const long long r = file_.Read(buf_.data() + end_, static_cast<long long>(buf_.size() - end_));
        if (r <= 0) {
            eof_ = true;
            return false;
        }
        end_ += static_cast<std::size_t>(r);
        // While scanning, a buffer of ASCII bytes spares the lines in it their own check.
        if (scanning_) bufferAscii_ = AllAscii(std::string_view(buf_.data(), end_));
        if (skipBom_ && end_ - pos_ >= 3) {
            skipBom_ = false;
            if (std::memcmp(buf_.data() + pos_, "\xEF\xBB\xBF", 3) == 0) pos_ += 3;
        }
        return true;
    }

    // The next line: ends at "\r\n", "\r" or "\n"; the rest after the last line end is a line
    // when not empty. The line ends are found with memchr: lf_ keeps the next '\n' found in the
    // buffer (end_ when there is none), so that a file of CR line ends is not searched again for
    // every line.
    bool Next(std::string_view& Line) {
        std::size_t from = pos_;  // searched up to here already
        while (true) {
            const char* b = buf_.data();
            if (!lfValid_ || lf_ < from || (lf_ == lfEnd_ && lfEnd_ < end_)) {
                // Searched from the line or, when none was found before, from where that search
                // ended.
                const std::size_t s = lfValid_ && lf_ >= from ? lfEnd_ : from;
                const char* nl = FindByte(b + s, end_ - s, '\n');
                lf_ = nl ? static_cast<std::size_t>(nl - b) : end_;
                lfEnd_ = end_;
                lfValid_ = true;
            }
            const char* crp = FindByte(b + from, lf_ - from, '\r');
            const std::size_t k = crp ? static_cast<std::size_t>(crp - b) : lf_;
            if (k - pos_ > MaxLineLength) throw ELineTooLong(nextLine_ + 1);
            if (k < end_) {
                if (b[k] == '\r' && k + 1 == end_ && !eof_) {
                    // Whether an LF follows: read on and look at the CR again.
                    const std::size_t rel = k - pos_;
                    Fill();
                    from = pos_ + rel;
                    continue;
                }
                Line = std::string_view(b + pos_, k - pos_);
                std::size_t next = k + 1;
                if (b[k] == '\r' && next < end_ && b[next] == '\n') ++next;
                pos_ = next;
                ++nextLine_;
                return true;
            }
            const std::size_t rel = end_ - pos_;
            if (!Fill()) {
                if (pos_ < end_) {
                    Line = std::string_view(buf_.data() + pos_, end_ - pos_);
                    pos_ = end_;
                    ++nextLine_;
                    return true;
                }
                return false;
            }
            from = pos_ + rel;
        }
    }

    rtl::TFileStream file_;
    std::vector<char> buf_;
    std::size_t pos_ = 0, end_ = 0;
    std::size_t lf_ = 0, lfEnd_ = 0;  // the next '\n' at or after pos_ before lfEnd_, else lfEnd_
    bool lfValid_ = false;
    long long fileOffset_ = 0;  // of buf_[0]
    bool eof_ = false;
    bool skipBom_ = true;
    bool scanning_ = false;
    bool bufferAscii_ = false;  // buf_[0, end_) is ASCII (kept up to date while scanning)
    bool ascii_ = true;  // every line is ASCII
    bool utf8_ = true;   // every line is valid UTF-8
    long long count_ = 0;
    long long current_ = -1;
    long long nextLine_ = 0;  // the index of the line Next reads
    std::string_view line_;
    std::string decoded_;  // line_ decoded from Windows-1252
    std::vector<long long> checkpoints_;  // start of line k * kCheckpointEvery
};

}  // namespace

// ---- Destination and context --------------------------------------------------------------

PointArrays PointArrays::Global() {
    return {&FeldorU::tx, &FeldorU::ty, &FeldorU::tz, &FeldorU::tE,
            &FeldorU::tEx, &FeldorU::tEy, &FeldorU::tEz};
}

// Room is only a guess from the lines: when it cannot be had, the arrays grow as they are filled.
void PointArrays::Reserve(long long Extra) {
    if (Extra <= 0) return;
    const std::size_t need = static_cast<std::size_t>(
        std::min<long long>(static_cast<long long>(Count()) + Extra, MaxPoints));
    try {
        for (DoubleArray* a : {tx, ty, tz, tE, tEx, tEy, tEz}) {
            std::vector<double>& v = a->vec();
            if (v.capacity() < need) v.reserve(std::max(need, 2 * v.capacity()));
        }
    } catch (const std::bad_alloc&) {
    }
}

void PointArrays::RaiseFull() {
    throw rtl::EListError(rtl::Format("Mehr als %d Punkte fasst die Punktmenge nicht", MaxPoints));
}

ReaderContext::ReaderContext() : Power(&FeldorU::Power), PowerShow(&FeldorU::PowerShow) {}

// ---- Numbers ------------------------------------------------------------------------------

namespace {

// 10^0 .. 10^27, all exact in the 64-bit mantissa of long double.
struct Pow10Table {
    long double v[28];
    constexpr Pow10Table() : v() {
        long double p = 1;
        for (int i = 0; i < 28; ++i) {
            v[i] = p;
            p *= 10;
        }
    }
};
constexpr Pow10Table kPow10;

inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

}  // namespace

namespace {

// With at most 19 significant digits and a decimal exponent within +-27 the value is M * 10^k or
// M / 10^k with M and 10^k exact: one correctly rounded extended operation, the same result as
// the conversion routine's correctly rounded one. Reads [+|-] digits [('.'|',') digits]
// [(E|e) [+|-] digits] from P on and returns where that ends; nullptr when there is no such
// number there or it cannot be converted exactly.
[[gnu::always_inline]] inline const char* ParseDecimal(const char* p, const char* const e,
                                                  long double& out) {
    bool neg = false;
    if (p < e && (*p == '+' || *p == '-')) {
        neg = *p == '-';
        ++p;
    }
    std::uint64_t m = 0;
    int sig = 0, exp10 = 0;
    const char* const mantBegin = p;
    for (; p < e && IsDigit(*p); ++p) {
        const unsigned d = static_cast<unsigned>(*p - '0');
        if (m == 0 && d == 0) continue;
        if (sig == 19) return nullptr;
        m = m * 10 + d;
        ++sig;
    }
    bool digits = p != mantBegin;
    if (p < e && (*p == '.' || *p == ',')) {
        const char* const fracBegin = ++p;
        for (; p < e && IsDigit(*p); ++p) {
            --exp10;
            const unsigned d = static_cast<unsigned>(*p - '0');
            if (m == 0 && d == 0) continue;
            if (sig == 19) return nullptr;
            m = m * 10 + d;
            ++sig;
        }
        digits = digits || p != fracBegin;
    }
    if (!digits) return nullptr;
    if (p < e && (*p == 'e' || *p == 'E')) {
        ++p;
        bool eneg = false;
        if (p < e && (*p == '+' || *p == '-')) {
            eneg = *p == '-';
            ++p;
        }
        int ev = 0, ed = 0;
        for (; p < e && IsDigit(*p); ++p) {
            if (ed == 4) return nullptr;
            ev = ev * 10 + (*p - '0');
            ++ed;
        }
        if (ed == 0) return nullptr;
        exp10 += eneg ? -ev : ev;
    }
    long double v = 0;
    if (m != 0) {
        if (exp10 < -27 || exp10 > 27) return nullptr;
        const long double lm = static_cast<long double>(m);
        v = exp10 >= 0 ? lm * kPow10.v[exp10] : lm / kPow10.v[-exp10];
    }
    out = neg ? -v : v;
    return p;
}

}  // namespace

bool FastDecimalToFloat(std::string_view s, long double& out) {
    const char* const e = s.data() + s.size();
    long double v;
    if (ParseDecimal(s.data(), e, v) != e) return false;
    out = v;
    return true;
}

namespace {

inline bool FastPathAllowed() { return rtl::FormatSettings().DecimalSeparator == ','; }

inline long double ToFloat(std::string_view w, bool fast) {
    long double v;
    if (fast && FastDecimalToFloat(w, v)) return v;
    return rtl::StrToFloat(DotToComma(std::string(w)));
}

// The fast path gives no value beyond the range of Double (below 10^46).
inline double ToFloat(std::string_view w, bool fast, const Expected& e) {
    long double v;
    if (fast && FastDecimalToFloat(w, v)) return static_cast<double>(v);
    return WordToDouble(w, e, w);
}

// A letter (other than in a word: 'E' and 'e' are word characters) or a character above '~'.
inline bool IsText(char ch) {
    const unsigned char c = static_cast<unsigned char>(ch);
    return static_cast<unsigned char>((c | 0x20) - 'a') < 26 || c >= 0x80;
}

// Successive words of a line (maximal runs of NumberRunChars), read in order; a missing word or
// one that is no number raises the error that says what the line should hold. A word that is no
// number is quoted with the text it is part of ("-Inf", not "-"). A number is converted as its
// word is found: when the decimal the fast path reads ends where the word ends, that is the
// word's value; anything else is cut out as a word and converted the usual way.
// With RefuseText, text between the words (IsText: "NaN", "INF", "Infinity", as a runtime writes
// a value that is not finite) is refused as a word that is no number: it would otherwise vanish
// and the next word be read in its place.
class WordCursor {
public:
    WordCursor(std::string_view line, bool fast, const Expected& e, bool RefuseText = false)
        : b_(line.data()), p_(line.data()), e_(line.data() + line.size()), fast_(fast),
          refuseText_(RefuseText), exp_(e) {}
    // The next word; the range error when the line has no further word.
    std::string_view Next() {
        SkipSeparators();
        return WordFrom(p_);
    }
    [[gnu::always_inline]] double Number() {
        SkipSeparators();
        const char* const b = p_;
        if (fast_) {
            long double v;
            const char* end = ParseDecimal(b, e_, v);
            if (end && (end == e_ || !NumberRunChars.Contains(*end))) [[likely]] {
                p_ = end;
                return static_cast<double>(v);
            }
        }
        return WordToDouble(WordFrom(b), exp_, Around(b));
    }
    void Skip() { Next(); }
    // After the words a reader reads, with RefuseText: the rest of the line holds no text either.
    void End() {
        for (; p_ < e_; ++p_)
            if (IsText(*p_)) [[unlikely]]
                RaiseText(p_);
    }

private:
    // To the start of the next word; the range error when there is none.
    void SkipSeparators() {
        while (p_ < e_ && !NumberRunChars.Contains(*p_)) {
            // A blank passes with one comparison.
            if (static_cast<unsigned char>(*p_) > ' ' && refuseText_ && IsText(*p_)) [[unlikely]]
                RaiseText(p_);
            ++p_;
        }
        if (p_ == e_) RaiseMissing(exp_);
    }
    std::string_view WordFrom(const char* b) {
        while (p_ < e_ && NumberRunChars.Contains(*p_)) ++p_;
        return std::string_view(b, static_cast<std::size_t>(p_ - b));
    }
    // The run of non-blank characters around At.
    std::string_view Around(const char* at) const {
        const auto blank = [](char ch) { return static_cast<unsigned char>(ch) <= ' '; };
        const char* b = at;
        while (b > b_ && !blank(b[-1])) --b;
        const char* e = at;
        while (e < e_ && !blank(*e)) ++e;
        return std::string_view(b, static_cast<std::size_t>(e - b));
    }
    [[noreturn, gnu::noinline]] void RaiseText(const char* at) const { RaiseNoNumber(exp_, Around(at)); }

    const char* b_;
    const char* p_;
    const char* e_;
    bool fast_;
    bool refuseText_;
    const Expected& exp_;
};

// Successive fields of a line cut at every ',' (empty fields count), read in order.
class FieldCursor {
public:
    FieldCursor(std::string_view line, bool fast, const Expected& e)
        : p_(line.data()), e_(line.data() + line.size()), done_(line.empty()), fast_(fast), exp_(e) {}
    std::string_view Next() {
        if (done_) RaiseMissing(exp_);
        const char* c = static_cast<const char*>(std::memchr(p_, ',', static_cast<std::size_t>(e_ - p_)));
        const char* b = p_;
        if (c) {
            p_ = c + 1;
            return std::string_view(b, static_cast<std::size_t>(c - b));
        }
        done_ = true;
        p_ = e_;
        return std::string_view(b, static_cast<std::size_t>(e_ - b));
    }
    double Number() { return ToFloat(Next(), fast_, exp_); }
    void Skip() { Next(); }

private:
    const char* p_;
    const char* e_;
    bool done_;
    bool fast_;
    const Expected& exp_;
};

double WordToDouble(std::string_view w, const Expected& e, std::string_view shown) {
    long double v;
    if (!rtl::TryStrToFloat(DotToComma(std::string(w)), v)) RaiseNoNumber(e, shown);
    const double d = static_cast<double>(v);
    if (!std::isfinite(d)) RaiseOutOfRange(e, w);
    return d;
}

}  // namespace

// RoundDigits(1, V) inline: V * 10 in extended, rounded to the nearest integer with ties to even
// (the processor's rounding, as Round), divided by 10; + 0 turns -0 into 0 as the integer does.
// Outside the 64-bit integer range (and for NaN) RoundDigits itself answers with its error.
double RoundCoordinate(double V) {
    const long double scaled = static_cast<long double>(V) * 10.0L;
    if (std::fabs(scaled) < 0x1p62L) return static_cast<double>((std::rint(scaled) + 0.0L) / 10.0L);
    return static_cast<double>(RoundDigits(1, V));
}

namespace {

// Numbers are held as Double: 0.35 lies just below 0.35 and is rounded to 0.3. A coordinate
// whose tenths leave the 64-bit range (the rounding's invalid-operation error) is refused in words.
// RoundCoordinate's common case is tested first, so that a coordinate costs one range check.
inline double Coordinate(double v, const Expected& e) {
    const long double scaled = static_cast<long double>(v) * 10.0L;
    if (std::fabs(scaled) < 0x1p62L) [[likely]]
        return static_cast<double>((std::rint(scaled) + 0.0L) / 10.0L);
    if (!(std::fabs(scaled) < 0x1p63L))
        throw rtl::EInvalidOp(ExpectedText(e) + ", doch eine Koordinate ist zu groß; die Datei ist keine " +
                              e.format);
    return RoundCoordinate(v);
}

// Progress and message pumping: after a point when the interval has passed (the clock is read
// every 32 points), and at the end of a block.
class Pacer {
public:
    using Clock = std::chrono::steady_clock;
    explicit Pacer(ReaderContext& c)
        : c_(c), everyPoint_(c.PumpInterval <= Clock::duration::zero()), last_(Clock::now()) {}

    void Point(long long done, long long span) {
        done_ = done;
        span_ = span;
        pending_ = true;
        if (everyPoint_ || ((++count_ & 31u) == 0 && Clock::now() - last_ >= c_.PumpInterval))
            Fire();
    }
    void Finish() {
        if (pending_) Fire();
    }

private:
    void Fire() {
        pending_ = false;
        if (c_.Progress) c_.Progress(GaugePercent(done_, span_));
        if (c_.Pump) c_.Pump();
        last_ = Clock::now();
    }
    ReaderContext& c_;
    bool everyPoint_;
    Clock::time_point last_;
    unsigned count_ = 0;
    long long done_ = 0, span_ = 0;
    bool pending_ = false;
};

void BeginRead(ReaderContext& c, double power) {
    *c.PowerShow = ReaderPowerShow;
    *c.Power = power;
}

// A power that is not above 0 would make every scaled value infinite: it is logged and the
// reader's default stays.
void SetFilePower(ReaderContext& c, double value) {
    if (value > 0) {
        *c.Power = value;
        return;
    }
    if (c.Info)
        c.Info(rtl::Format("Leistungsangabe der Datei (%s W) ist nicht größer als 0, es gilt %1.0f W",
                           rtl::FloatToStr(value), *c.Power));
}

// Calls f(index, line) for every line.
template <class F>
void ForEachLine(const NearFieldText& l, F& f) {
    for (long long i = 0; i < l.Count(); ++i) f(i, l[i]);
}

// Lines From..To that exist (of Count), for reserving.
long long LinesIn(long long count, long long from, long long to) {
    const long long last = std::min(to, count - 1);
    return last >= from ? last - from + 1 : 0;
}

// ---- EZNEC --------------------------------------------------------------------------------

// What the EZNEC reader needs to know of the lines before it reads the points: the first line
// beginning with "Power", "Magnet", "Electr" and 'X' (-1: none).
struct EznecFacts {
    long long power = -1, magnet = -1, electr = -1, columns = -1;
    void operator()(long long i, std::string_view s) {
        if (power < 0 && s.starts_with("Power")) power = i;
        if (magnet < 0 && s.starts_with("Magnet")) magnet = i;
        if (electr < 0 && s.starts_with("Electr")) electr = i;
        if (columns < 0 && s.starts_with('X')) columns = i;
    }
};

void DropLastLine(NearFieldText& l) { l.Delete(l.Count() - 1); }
void DropLastLine(LineStream&) {}  // the reader stops before it

constexpr Expected kEznecPower{"die Leistung", "„Power = 100 watts“", kEznecFile};
constexpr Expected kEznecData{kFieldLine, nullptr, kEznecFile, true};

template <class Lines>
void ParseEznec(Lines& l, const EznecFacts& f, ReaderContext& c) {
    // A last line of at most one character is dropped.
    long long last = l.Count() - 1;
    if (last >= 0 && rtl::CodePointCount(l[last]) <= 1) {
        DropLastLine(l);
        --last;
    }
    const auto within = [last](long long i) { return i >= 0 && i <= last; };

    // Power: the first word of digits and commas in the first line beginning with "Power",
    // with '.' taken as decimal separator too (the index error when there is no such line).
    if (!within(f.power))
        RaiseNoLine("Die Datei enthält keine Zeile, die mit „Power“ beginnt; die Datei ist keine " +
                    std::string(kEznecFile));
    c.Line = f.power;
    const StringArray pw = StrSplitWords(DotToComma(std::string(l[f.power])), DigitsComma);
    if (pw.Length() == 0) RaiseMissing(kEznecPower);
    // The power word holds no '.' any more: its conversion is the usual one.
    SetFilePower(c, WordToDouble(pw[0], kEznecPower, pw[0]));
    c.Line = -1;

    const bool magnetic = within(f.magnet) && !within(f.electr);
    const long long first = (within(f.columns) ? f.columns : last + 1) + 1;

    const bool fast = FastPathAllowed();
    c.Points.Reserve(LinesIn(l.Count(), first, last));
    Pacer pacer(c);
    for (long long i = first; i <= last; ++i) {
        const std::string_view line = l[i];
        c.Line = i;
        WordCursor w(line, fast, kEznecData);
        const double x = w.Number(), y = w.Number(), z = w.Number();
        const double ex = w.Number(), ey = w.Number(), ez = w.Number(), e = w.Number();
        const double xr = Coordinate(x, kEznecData), yr = Coordinate(y, kEznecData);
        double zr = Coordinate(z, kEznecData);
        if (magnetic) zr += 100;
        c.Points.Append(xr, yr, zr, e, ex, ey, ez);
        pacer.Point(i - first, last - first);
    }
    pacer.Finish();
}

// ---- NEC reports --------------------------------------------------------------------------

enum class NecLayout { NecWin, FourNec2 };

const Expected& NecData(NecLayout layout) {
    static constexpr Expected necWin{kFieldLine, nullptr, kNecWinFile, true},
        fourNec2{kFieldLine, nullptr, k4nec2File, true};
    return layout == NecLayout::NecWin ? necWin : fourNec2;
}

// Lines From..To of a block; False when an empty line ended the reader (NEC-Win Pro). A block
// that runs past the end of the file (only the NEC-Win Pro magnetic one can) ends with PastEnd.
template <class Lines>
bool ReadNecBlock(Lines& l, ReaderContext& c, Pacer& pacer, long long from, long long to,
                  bool electric, NecLayout layout, const std::string& PastEnd) {
    const bool fast = FastPathAllowed();
    for (long long i = from; i <= to; ++i) {
        if (i >= l.Count()) {
            c.Line = -1;
            RaiseNoLine(PastEnd);
        }
        const std::string_view line = l[i];
        c.Line = i;
        if (layout == NecLayout::NecWin && line.empty()) {
            pacer.Finish();
            return false;
        }
        WordCursor w(line, fast, NecData(layout), true);
        const double x = w.Number(), y = w.Number(), z = w.Number();
        double cx = w.Number();
        w.Skip();
        double cy = w.Number();
        w.Skip();
        double cz = w.Number();
        w.End();  // the last phase (a line may end before it) and nothing else
        if (electric) {
            cx /= Sqrt2;
            cy /= Sqrt2;
            cz /= Sqrt2;
        }
        const double mag = std::sqrt(cx * cx + cy * cy + cz * cz);
        const double xr = Coordinate(x, NecData(layout)), yr = Coordinate(y, NecData(layout));
        double zr = Coordinate(z, NecData(layout));
        if (!electric) zr += 100;
        c.Points.Append(xr, yr, zr, mag, cx, cy, cz);
        pacer.Point(i - from, to - from);
    }
    pacer.Finish();
    return true;
}

// A word of digits with an optional sign, decimal separator ('.' or ',') and exponent.
bool IsNumberWord(std::string_view w) {
    std::size_t i = 0;
    const std::size_t n = w.size();
    if (i < n && (w[i] == '+' || w[i] == '-')) ++i;
    std::size_t digits = 0;
    for (; i < n && IsDigit(w[i]); ++i) ++digits;
    if (i < n && (w[i] == '.' || w[i] == ',')) {
        for (++i; i < n && IsDigit(w[i]); ++i) ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (w[i] == 'E' || w[i] == 'e')) {
        ++i;
        if (i < n && (w[i] == '+' || w[i] == '-')) ++i;
        std::size_t expDigits = 0;
        for (; i < n && IsDigit(w[i]); ++i) ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == n;
}

// A data line of a NEC report begins with three numbers (x, y, z); the column titles do not.
bool IsNecDataLine(std::string_view s) {
    const char* p = s.data();
    const char* const e = p + s.size();
    for (int k = 0; k < 3; ++k) {
        while (p < e && !NumberRunChars.Contains(*p)) ++p;
        if (p == e) return false;
        const char* b = p;
        while (p < e && NumberRunChars.Contains(*p)) ++p;
        if (!IsNumberWord(std::string_view(b, static_cast<std::size_t>(p - b)))) return false;
    }
    return true;
}

// What the NEC readers need to know of the lines before they read the points: the first line
// containing "INPUT POWER" and each title, the start of each block (its first data line within
// the five lines below the title, else the fifth line below it), and the first empty line at or
// after each block's start (-1: none).
struct NecFacts {
    long long power = -1, titleE = -1, titleH = -1, startE = -1, startH = -1, emptyE = -1, emptyH = -1;
    void operator()(long long i, std::string_view s) {
        Start(startE, titleE, i, s);
        Start(startH, titleH, i, s);
        if (power < 0 && s.find("INPUT POWER") != std::string_view::npos) power = i;
        if (titleE < 0 && s.find("NEAR ELECTRIC FIELDS") != std::string_view::npos) titleE = i;
        if (titleH < 0 && s.find("NEAR MAGNETIC FIELDS") != std::string_view::npos) titleH = i;
        if (s.empty()) {
            if (emptyE < 0 && startE >= 0 && i >= startE) emptyE = i;
            if (emptyH < 0 && startH >= 0 && i >= startH) emptyH = i;
        }
    }
    static void Start(long long& start, long long title, long long i, std::string_view s) {
        if (start >= 0 || title < 0 || i <= title || i > title + 5) return;
        if (i == title + 5 || IsNecDataLine(s)) start = i;
    }
};

template <class Lines>
void ParseNec(Lines& l, const NecFacts& f, ReaderContext& c, NecLayout layout) {
    const char* const format = layout == NecLayout::NecWin ? kNecWinFile : k4nec2File;
    const long long n = l.Count();
    // Power: the first line containing "INPUT POWER", less everything up to its last occurrence
    // and the one character after it; the first FloatChars word (the index error when none).
    if (f.power < 0)
        RaiseNoLine("Die Datei enthält keine Zeile mit „INPUT POWER“; die Datei ist keine " +
                    std::string(format));
    const std::string pline(l[f.power]);
    c.Line = f.power;
    const StringArray pw =
        StrSplitWords(DropLeft(pline, PosAfterLast(pline, "INPUT POWER")), FloatChars);
    const Expected power{"die Eingangsleistung", "„INPUT POWER = 1.0000E+02 WATTS“", format};
    if (pw.Length() == 0) RaiseMissing(power);
    SetFilePower(c, ToFloat(pw[0], FastPathAllowed(), power));
    c.Line = -1;

    // A missing title counts as Count: its block then lies past the end, as does a block whose
    // title is too near the end for a start. A 4nec2 block ends before its first empty line, at
    // the last line when there is none.
    const long long titleE = f.titleE >= 0 ? f.titleE : n;
    const long long titleH = f.titleH >= 0 ? f.titleH : n;
    Pacer pacer(c);

    const long long startE = f.startE >= 0 ? f.startE : titleE + 5;
    const long long endE =
        layout == NecLayout::NecWin ? titleH - 11 : (f.emptyE >= 0 ? f.emptyE : n) - 1;
    const long long startH = f.startH >= 0 ? f.startH : titleH + 5;
    const long long endH = layout == NecLayout::NecWin ? startH + (endE - startE)
                                                       : (f.emptyH >= 0 ? f.emptyH : n) - 1;
    // With room for the impedance planes an import builds from an electric and a magnetic
    // block of the same grid, so that the arrays need not move then (room not written to
    // costs no memory).
    const long long linesE = LinesIn(n, startE, endE), linesH = LinesIn(n, startH, endH);
    c.Points.Reserve(linesE + linesH + std::min(linesE, linesH));
    const std::string pastEnd =
        f.titleH < 0 ? "Die Datei enthält keine Zeile mit „NEAR MAGNETIC FIELDS“; die Datei ist "
                       "unvollständig oder keine " +
                           std::string(format)
                     : std::string("Die Datei endet, bevor die magnetischen Feldstärken so viele Zeilen "
                                   "haben wie die elektrischen; die Datei ist unvollständig");
    if (!ReadNecBlock(l, c, pacer, startE, endE, true, layout, pastEnd)) return;
    ReadNecBlock(l, c, pacer, startH, endH, false, layout, pastEnd);
}

// ---- MMANA --------------------------------------------------------------------------------

// Lines 1..last; False when an empty line ended the reader.
constexpr Expected kMManaData{"eine durch Kommas geteilte Zeile mit Koordinaten und Feldstärke",
                              nullptr, kMManaFile, true};

template <class Lines>
bool ReadMManaPass(Lines& l, ReaderContext& c, Pacer& pacer, bool electric) {
    const bool fast = FastPathAllowed();
    const long long n = l.Count();
    for (long long i = 1; i < n; ++i) {
        const std::string_view line = l[i];
        c.Line = i;
        if (line.empty()) {
            pacer.Finish();
            return false;
        }
        FieldCursor f(line, fast, kMManaData);
        const double x = f.Number(), y = f.Number(), z = f.Number();
        f.Skip();
        f.Skip();
        f.Skip();
        const double v = f.Number() / Sqrt2;
        if (electric)
            c.Points.Append(Coordinate(x, kMManaData), Coordinate(y, kMManaData),
                            Coordinate(z, kMManaData), v, 0, 0, v);
        else
            c.Points.Append(x, y, z + 100, v, 0, 0, v);
        pacer.Point(i, n - 1);
    }
    pacer.Finish();
    return true;
}

// A file whose first line names neither unit holds no MMANA near field: the index error, since
// the reader finds no line it can read.
template <class Lines>
void ParseMMana(Lines& l, ReaderContext& c) {
    bool electric = false, magnetic = false;
    if (l.Count() > 0) {
        const std::string_view units = l[0];
        electric = units.find("V/m") != std::string_view::npos;
        magnetic = units.find("AT/m") != std::string_view::npos;
    }
    if (!electric && !magnetic)
        RaiseNoLine("Die erste Zeile nennt weder „V/m“ noch „AT/m“; die Datei enthält kein MMANA-Nahfeld");
    Pacer pacer(c);
    c.Points.Reserve((l.Count() - 1) * ((electric ? 1 : 0) + (magnetic ? 1 : 0)));
    if (electric && l.Count() >= 2 && !ReadMManaPass(l, c, pacer, true)) return;
    if (magnetic && l.Count() >= 2) ReadMManaPass(l, c, pacer, false);
}

}  // namespace

long double NumberWordToFloat(std::string_view Word) { return ToFloat(Word, FastPathAllowed()); }

int GaugePercent(long long Done, long long Span) {
    if (Span == 0) return 100;
    return static_cast<int>(
        rtl::Round(static_cast<long double>(100 * Done) / static_cast<long double>(Span)));
}

// ---- Entry points -------------------------------------------------------------------------

namespace {

// The file is read in blocks: once for the facts before the points and the encoding, once for
// the points. An error names the file and the line being read.
template <class Facts, class Parse>
void LoadFile(const std::string& FileName, ReaderContext& c, Facts facts, Parse parse) {
    c.Line = -1;
    try {
        LineStream lines(FileName);
        lines.Scan(facts);
        parse(lines, facts);
    } catch (ELineTooLong& e) {
        NameFileInError(e, FileName, e.Line);
        throw;
    } catch (rtl::EFOpenError&) {
        throw;
    } catch (rtl::Exception& e) {
        NameFileInError(e, FileName, c.Line + 1);
        NameEncodingInError(e, FileName);
        throw;
    }
}

struct NoFacts {
    void operator()(long long, std::string_view) {}
};

}  // namespace

void LoadEznec(const std::string& FileName, ReaderContext& Ctx) {
    BeginRead(Ctx, ReaderPower);
    LoadFile(FileName, Ctx, EznecFacts{}, [&Ctx](auto& l, const EznecFacts& f) { ParseEznec(l, f, Ctx); });
}

void ReadEznec(NearFieldText& Lines, ReaderContext& Ctx) {
    BeginRead(Ctx, ReaderPower);
    EznecFacts f;
    ForEachLine(Lines, f);
    ParseEznec(Lines, f, Ctx);
}

void LoadNecWin(const std::string& FileName, ReaderContext& Ctx) {
    BeginRead(Ctx, ReaderPower);
    LoadFile(FileName, Ctx, NecFacts{},
             [&Ctx](auto& l, const NecFacts& f) { ParseNec(l, f, Ctx, NecLayout::NecWin); });
}

void ReadNecWin(const NearFieldText& Lines, ReaderContext& Ctx) {
    BeginRead(Ctx, ReaderPower);
    NecFacts f;
    ForEachLine(Lines, f);
    ParseNec(Lines, f, Ctx, NecLayout::NecWin);
}

void Load4nec2(const std::string& FileName, ReaderContext& Ctx) {
    BeginRead(Ctx, ReaderPower);
    LoadFile(FileName, Ctx, NecFacts{},
             [&Ctx](auto& l, const NecFacts& f) { ParseNec(l, f, Ctx, NecLayout::FourNec2); });
}

void Read4nec2(const NearFieldText& Lines, ReaderContext& Ctx) {
    BeginRead(Ctx, ReaderPower);
    NecFacts f;
    ForEachLine(Lines, f);
    ParseNec(Lines, f, Ctx, NecLayout::FourNec2);
}

void LoadMMana(const std::string& FileName, ReaderContext& Ctx) {
    BeginRead(Ctx, MMANAPower);
    LoadFile(FileName, Ctx, NoFacts{}, [&Ctx](auto& l, const NoFacts&) { ParseMMana(l, Ctx); });
}

void ReadMMana(const NearFieldText& Lines, ReaderContext& Ctx) {
    BeginRead(Ctx, MMANAPower);
    ParseMMana(Lines, Ctx);
}

}  // namespace nearfield
