// Format, FloatToStr, FloatToStrF and StrToFloat with the original platform's semantics:
// a float is first turned into 18 significant decimal digits (correctly rounded), and that
// digit string is then rounded half away from zero to the digits asked for.
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/rtl/SysUtils.h"

namespace rtl {

namespace {

// ---- Decimal digits of a float --------------------------------------------------------------

// value = 0.d1 d2 d3 ... * 10^exponent (the platform's TFloatRec convention: exponent is the
// number of digits before the decimal point). digits holds no trailing zeros; empty means 0.
struct DecimalRec {
    bool negative = false;
    int exponent = 0;
    std::string digits;
};

constexpr int kMaxDigits = 18;

DecimalRec toDecimal(long double v) {
    DecimalRec r;
    r.negative = std::signbit(v);
    if (v == 0) {
        r.negative = false;
        return r;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", std::fabs(v));  // d.ddddddddddddddddde±x
    const char* p = buf;
    r.digits.push_back(*p++);
    if (*p == '.') ++p;
    while (*p >= '0' && *p <= '9') r.digits.push_back(*p++);
    if (*p == 'e') r.exponent = std::atoi(p + 1) + 1;
    while (!r.digits.empty() && r.digits.back() == '0') r.digits.pop_back();
    return r;
}

// Keeps the first n digits, rounding half away from zero on the decimal digit string.
void roundDigits(DecimalRec& r, int n) {
    if (r.digits.empty()) return;
    if (n >= static_cast<int>(r.digits.size())) return;
    if (n < 0) {
        r.digits.clear();
    } else {
        const bool up = r.digits[static_cast<std::size_t>(n)] >= '5';
        r.digits.resize(static_cast<std::size_t>(n));
        if (up) {
            int i = n - 1;
            while (i >= 0 && r.digits[static_cast<std::size_t>(i)] == '9') {
                r.digits[static_cast<std::size_t>(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++r.digits[static_cast<std::size_t>(i)];
            } else {
                r.digits.insert(r.digits.begin(), '1');
                ++r.exponent;
            }
        }
    }
    while (!r.digits.empty() && r.digits.back() == '0') r.digits.pop_back();
    if (r.digits.empty()) {
        r.exponent = 0;
        r.negative = false;  // a value rounded to zero prints without sign
    }
}

char digitAt(const DecimalRec& r, int i) {
    return i >= 0 && i < static_cast<int>(r.digits.size()) ? r.digits[static_cast<std::size_t>(i)] : '0';
}

std::string specialText(long double v) {
    if (std::isnan(v)) return "NAN";
    return v < 0 ? "-INF" : "INF";
}

std::string exponentText(int e, int minDigits, bool plusSign) {
    std::string s = std::to_string(e < 0 ? -e : e);
    if (static_cast<int>(s.size()) < minDigits) s.insert(0, static_cast<std::size_t>(minDigits) - s.size(), '0');
    if (e < 0) return "-" + s;
    return plusSign ? "+" + s : s;
}

// Fixed notation with `decimals` decimals; thousands grouping when thousandSep != 0.
std::string fixedText(long double v, int decimals, char decimalSep, char thousandSep) {
    DecimalRec r = toDecimal(v);
    roundDigits(r, r.exponent + decimals);
    std::string intPart;
    if (r.exponent <= 0 || r.digits.empty()) {
        intPart = "0";
    } else {
        for (int i = 0; i < r.exponent; ++i) intPart.push_back(digitAt(r, i));
    }
    if (thousandSep != 0 && intPart.size() > 3) {
        std::string g;
        const std::size_t n = intPart.size();
        for (std::size_t i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) g.push_back(thousandSep);
            g.push_back(intPart[i]);
        }
        intPart = std::move(g);
    }
    std::string s = r.negative ? "-" + intPart : intPart;
    if (decimals > 0) {
        s.push_back(decimalSep);
        for (int i = 0; i < decimals; ++i) s.push_back(digitAt(r, r.exponent + i));
    }
    return s;
}

// Scientific notation "d.dddE+ddd" with `precision` significant digits.
std::string exponentFormText(long double v, int precision, int expDigits, char decimalSep) {
    precision = std::clamp(precision, 1, kMaxDigits);
    DecimalRec r = toDecimal(v);
    roundDigits(r, precision);
    std::string s = r.negative ? "-" : "";
    s.push_back(digitAt(r, 0));
    if (precision > 1) {
        s.push_back(decimalSep);
        for (int i = 1; i < precision; ++i) s.push_back(digitAt(r, i));
    }
    s += "E" + exponentText(r.digits.empty() ? 0 : r.exponent - 1, expDigits, true);
    return s;
}

// General notation: `precision` significant digits, trailing zeros dropped, fixed notation
// when the number of integer digits lies in -3..precision, else "d.dddE-x" (no '+' sign).
std::string generalText(long double v, int precision, int expDigits, char decimalSep) {
    precision = std::clamp(precision, 1, kMaxDigits);
    DecimalRec r = toDecimal(v);
    roundDigits(r, precision);
    if (r.digits.empty()) return "0";
    std::string s = r.negative ? "-" : "";
    const int n = static_cast<int>(r.digits.size());
    if (r.exponent > precision || r.exponent < -3) {
        s.push_back(r.digits[0]);
        if (n > 1) {
            s.push_back(decimalSep);
            s.append(r.digits, 1, std::string::npos);
        }
        s += "E" + exponentText(r.exponent - 1, expDigits, false);
        return s;
    }
    if (r.exponent <= 0) {
        s += "0";
        s.push_back(decimalSep);
        s.append(static_cast<std::size_t>(-r.exponent), '0');
        s += r.digits;
    } else {
        for (int i = 0; i < r.exponent; ++i) s.push_back(digitAt(r, i));
        if (n > r.exponent) {
            s.push_back(decimalSep);
            s.append(r.digits, static_cast<std::size_t>(r.exponent), std::string::npos);
        }
    }
    return s;
}

std::string floatText(long double v, TFloatFormat format, int precision, int digits, const TFormatSettings& fs) {
    if (!std::isfinite(v)) return specialText(v);
    switch (format) {
    case TFloatFormat::ffExponent:
        return exponentFormText(v, precision, std::clamp(digits, 0, 4), fs.DecimalSeparator);
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency: {
        precision = std::clamp(precision, 1, kMaxDigits);
        digits = std::clamp(digits, 0, kMaxDigits);
        // More integer digits than the precision: the general (scientific) form.
        const DecimalRec r = toDecimal(v);
        if (!r.digits.empty() && r.exponent > precision) return generalText(v, precision, 0, fs.DecimalSeparator);
        char sep = 0;
        if (format == TFloatFormat::ffNumber) sep = fs.ThousandSeparator;
        if (format == TFloatFormat::ffCurrency) sep = fs.CurrencyThousandSeparator;
        return fixedText(v, digits, fs.DecimalSeparator, sep);
    }
    case TFloatFormat::ffGeneral:
    default:
        return generalText(v, precision, std::clamp(digits, 0, 4), fs.DecimalSeparator);
    }
}

// ---- Format ---------------------------------------------------------------------------------

[[noreturn]] void invalidFormat(std::string_view fmt) { throw EConvertError(Format(msg::InvalidFormat, fmt)); }

std::string hexText(unsigned long long u) {
    static const char hex[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), hex[u & 15]);
        u >>= 4;
    } while (u != 0);
    return s;
}

}  // namespace

std::string FormatV(std::string_view fmt, std::span<const TVarRec> args) {
    return FormatV(fmt, args, FormatSettings());
}

std::string FormatV(std::string_view fmt, std::span<const TVarRec> args, const TFormatSettings& fs) {
    std::string out;
    std::size_t argIndex = 0;
    const std::size_t n = fmt.size();
    std::size_t i = 0;

    auto nextArg = [&]() -> const TVarRec& {
        if (argIndex >= args.size()) invalidFormat(fmt);
        return args[argIndex++];
    };
    // A number or '*' (taken from the arguments); returns false when neither stands at i.
    auto readNumber = [&](long long& value) -> bool {
        if (i < n && fmt[i] == '*') {
            ++i;
            const TVarRec& a = nextArg();
            if (a.kind() != TVarRec::Kind::Int && a.kind() != TVarRec::Kind::Int64) invalidFormat(fmt);
            value = a.asInt();
            return true;
        }
        if (i < n && fmt[i] >= '0' && fmt[i] <= '9') {
            value = 0;
            while (i < n && fmt[i] >= '0' && fmt[i] <= '9') {
                value = value * 10 + (fmt[i] - '0');
                if (value > 1000000) invalidFormat(fmt);
                ++i;
            }
            return true;
        }
        return false;
    };

    while (i < n) {
        const char c = fmt[i];
        if (c != '%') {
            out.push_back(c);
            ++i;
            continue;
        }
        ++i;
        if (i >= n) invalidFormat(fmt);
        if (fmt[i] == '%') {
            out.push_back('%');
            ++i;
            continue;
        }
        bool leftJustify = false;
        bool haveWidth = false;
        long long width = 0, prec = -1;
        long long num = 0;
        // [index:][-][width][.prec]
        if (readNumber(num)) {
            if (i < n && fmt[i] == ':') {
                ++i;
                if (num < 0) invalidFormat(fmt);
                argIndex = static_cast<std::size_t>(num);
            } else {
                width = num;
                haveWidth = true;
            }
        } else if (i < n && fmt[i] == ':') {  // "%:" means index 0
            ++i;
            argIndex = 0;
        }
        if (!haveWidth) {
            if (i < n && fmt[i] == '-') {
                leftJustify = true;
                ++i;
            }
            if (readNumber(num)) {
                width = num;
                haveWidth = true;
            }
        }
        if (i < n && fmt[i] == '.') {
            ++i;
            if (!readNumber(prec)) prec = 0;
        }
        if (width < 0) {  // negative width from '*': left-justify
            leftJustify = true;
            width = -width;
        }
        if (i >= n) invalidFormat(fmt);
        const char type = static_cast<char>(fmt[i] >= 'A' && fmt[i] <= 'Z' ? fmt[i] - 'A' + 'a' : fmt[i]);
        ++i;
        const TVarRec& a = nextArg();
        const bool isInt = a.kind() == TVarRec::Kind::Int || a.kind() == TVarRec::Kind::Int64;
        const bool isFloat = a.kind() == TVarRec::Kind::Extended;
        std::string s;
        switch (type) {
        case 'd':
        case 'u': {
            if (!isInt) invalidFormat(fmt);
            long long v = a.asInt();
            bool neg = false;
            unsigned long long mag;
            if (type == 'u') {
                mag = a.kind() == TVarRec::Kind::Int ? static_cast<unsigned>(static_cast<int>(v))
                                                     : static_cast<unsigned long long>(v);
            } else {
                neg = v < 0;
                mag = neg ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
            }
            s = std::to_string(mag);
            if (prec > 0 && static_cast<long long>(s.size()) < prec)
                s.insert(0, static_cast<std::size_t>(prec) - s.size(), '0');
            if (neg) s.insert(s.begin(), '-');
            break;
        }
        case 'x': {
            if (!isInt) invalidFormat(fmt);
            const long long v = a.asInt();
            s = hexText(a.kind() == TVarRec::Kind::Int ? static_cast<unsigned>(static_cast<int>(v))
                                                       : static_cast<unsigned long long>(v));
            if (prec > 0 && static_cast<long long>(s.size()) < prec)
                s.insert(0, static_cast<std::size_t>(prec) - s.size(), '0');
            break;
        }
        case 'e':
            if (!isFloat) invalidFormat(fmt);
            s = floatText(a.asExtended(), TFloatFormat::ffExponent, prec < 0 ? 15 : static_cast<int>(prec), 3, fs);
            break;
        case 'f':
        case 'n':
        case 'm': {
            if (!isFloat) invalidFormat(fmt);
            const TFloatFormat ff = type == 'f' ? TFloatFormat::ffFixed
                                    : type == 'n' ? TFloatFormat::ffNumber
                                                  : TFloatFormat::ffCurrency;
            s = floatText(a.asExtended(), ff, kMaxDigits, prec < 0 ? 2 : static_cast<int>(std::min(prec, 18LL)), fs);
            break;
        }
        case 'g':
            if (!isFloat) invalidFormat(fmt);
            s = floatText(a.asExtended(), TFloatFormat::ffGeneral, prec < 0 ? 15 : static_cast<int>(prec), 0, fs);
            break;
        case 'p':
            if (a.kind() != TVarRec::Kind::Pointer) invalidFormat(fmt);
            s = hexText(reinterpret_cast<std::uintptr_t>(a.asPointer()));
            s.insert(0, 2 * sizeof(void*) - s.size(), '0');
            break;
        case 's':
            if (a.kind() != TVarRec::Kind::String && a.kind() != TVarRec::Kind::Char) invalidFormat(fmt);
            s = a.asString();
            if (prec >= 0 && static_cast<std::size_t>(prec) < s.size()) s.resize(static_cast<std::size_t>(prec));
            break;
        default:
            invalidFormat(fmt);
        }
        if (width > 0 && static_cast<long long>(s.size()) < width) {
            const std::size_t pad = static_cast<std::size_t>(width) - s.size();
            if (leftJustify) s.append(pad, ' ');
            else s.insert(0, pad, ' ');
        }
        out += s;
    }
    return out;
}

// ---- FloatToStr -----------------------------------------------------------------------------

std::string FloatToStr(long double value) { return FloatToStr(value, FormatSettings()); }

std::string FloatToStr(long double value, const TFormatSettings& fs) {
    return floatText(value, TFloatFormat::ffGeneral, 15, 0, fs);
}

std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits) {
    return FloatToStrF(value, format, precision, digits, FormatSettings());
}

std::string FloatToStrF(long double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& fs) {
    return floatText(value, format, precision, digits, fs);
}

// ---- StrToFloat -----------------------------------------------------------------------------

bool TryStrToFloat(std::string_view s, long double& value) { return TryStrToFloat(s, value, FormatSettings()); }

bool TryStrToFloat(std::string_view s, long double& value, const TFormatSettings& fs) {
    // Grammar: blanks* [+|-] digits* [sep digits*] [(E|e) [+|-] digits+] blanks*, with at least
    // one mantissa digit; blanks are space and tab; sep is the locale copy's decimal separator.
    std::size_t i = 0, n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t')) ++i;
    while (n > i && (s[n - 1] == ' ' || s[n - 1] == '\t')) --n;
    std::string c;  // normalised copy for strtold in the "C" locale
    c.reserve(n - i + 2);
    if (i < n && (s[i] == '+' || s[i] == '-')) c.push_back(s[i++]);
    int mantissaDigits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
        c.push_back(s[i++]);
        ++mantissaDigits;
    }
    if (i < n && s[i] == fs.DecimalSeparator) {
        c.push_back('.');
        ++i;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            c.push_back(s[i++]);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        c.push_back('e');
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) c.push_back(s[i++]);
        int expDigits = 0;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            c.push_back(s[i++]);
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    errno = 0;
    char* end = nullptr;
    const long double v = strtold_l(c.c_str(), &end, cLocale);
    if (end != c.c_str() + c.size()) return false;
    if (std::isinf(v)) return false;  // overflow
    value = v;
    return true;
}

long double StrToFloat(std::string_view s) { return StrToFloat(s, FormatSettings()); }

long double StrToFloat(std::string_view s, const TFormatSettings& fs) {
    long double v;
    if (!TryStrToFloat(s, v, fs)) throw EConvertError(Format(msg::InvalidFloat, s));
    return v;
}

long double StrToFloatDef(std::string_view s, long double def) {
    long double v;
    return TryStrToFloat(s, v) ? v : def;
}

}  // namespace rtl
