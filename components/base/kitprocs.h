// Small helpers of the component library: the block compressor used by its containers and
// records, rectangle and number helpers, and the program's directories.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/gdi/Graphics.h"

namespace kit {

// Largest source chunk of one compressed block, and the buffer sizes a caller provides.
inline constexpr int KitChunkSize = 32781;
inline constexpr int KitStoredBlockSize = KitChunkSize + 1;  // $80 and the chunk
inline constexpr int KitCompressBufferSize = KitChunkSize + 6;

// Compresses count bytes (at most KitChunkSize) of source into dest, which must hold count + 6
// bytes. Returns the length of the block: $40 and control-word groups of literals, copy items
// and run items, or $80 and the bytes unchanged when compressing does not pay.
int KitCompress(const std::uint8_t* source, std::uint8_t* dest, int count);
// Expands a block of count bytes into dest (room for destSize bytes) and returns the number of
// bytes written. Every item is checked against the block and the output: a damaged block
// raises rtl::EReadError ("Stream-Lesefehler").
int KitDecompress(const std::uint8_t* source, std::uint8_t* dest, int count,
                  int destSize = KitChunkSize);

// source scaled into bounds keeping its aspect, placed at bounds' top-left.
void KitFitRect(const gdi::TRect& source, const gdi::TRect& bounds, gdi::TRect& result);
void KitRectSize(const gdi::TRect& rect, int& width, int& height);
// The bounding box of rect turned by angle degrees about its centre, moved to (0, 0).
void KitRotatedBounds(gdi::TRect& rect, double angle);

int KitMaxInt(std::initializer_list<int> values);
int KitMinInt(std::initializer_list<int> values);
long double KitMinExt(std::initializer_list<long double> values);
// base multiplied exponent times; 1 when exponent is below 1.
int KitIntPower(int base, int exponent);

enum TKitPathPrefix { ppWindows, ppSystem, ppProgram, ppFixed };

// The directory of the running program, with its trailing delimiter.
std::string KitProgramDir();
// This system has no Windows or system directory: both are empty.
std::string KitWindowsDir();
std::string KitSystemDir();
// The directory a prefix stands for (ppFixed: empty), with or without a trailing delimiter.
std::string KitGetPrefixPath(TKitPathPrefix prefix, bool withBackslash);

}  // namespace kit
