// Number formatting for display: one-argument formats, automatic precision,
// significant digits, missing values ("---"), capped values and fixed columns.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/cUtils.h"

std::string FormatInt(const std::string& Fmt, int I);
std::string FormatInt64(const std::string& Fmt, std::int64_t I);
std::string FormatStr(const std::string& Fmt, const std::string& S);
std::string FormatDouble(const std::string& Fmt, double X);

// Fmt with X when X > 0, else "---" (zero, negative, -99 and NaN).
std::string FormatPositive(const std::string& Fmt, double X);

// X with a precision chosen from its size.
std::string FormatAuto(double X);

// X with N significant digits; all integer digits are always shown; "---" for X < 0 or NaN.
std::string FormatSigDigits(int N, double X);

// Fmt with X; when X > Cap, Fmt with Cap and '>' in front of the first '%'.
std::string FormatCapped(const std::string& Fmt, double X, double Cap);

// One line in which item i begins after Cols[i] characters (or right after the previous item).
// Line lengths count characters (code points). Cols needs an entry for every item (the range
// error otherwise).
std::string ColumnLine(const LongIntArray& Cols, const StringArray& Items);
std::string ColumnLine(const LongIntArray& Cols, const DoubleArray& Values, const std::string& Fmt);

// N line breaks (CR LF each); "" for N <= 0.
std::string CRLFs(int N);
