// Record formats of the component library on a stream: numbers, short strings, block-compressed
// records, string lists, bitmaps and BMP file images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/Drawing.h"
#include "platform/gdi/Graphics.h"
#include "platform/rtl/Classes.h"

namespace kit {

class TKitWave;

// Little-endian 4 bytes; bytes missing at the end of the stream read as 0.
void KitWriteInteger(rtl::TStream& stream, int value);
int KitReadInteger(rtl::TStream& stream);
void KitWriteByte(rtl::TStream& stream, std::uint8_t value);
std::uint8_t KitReadByte(rtl::TStream& stream);  // 0 at the end of the stream
// One length byte and at most 255 bytes of s (longer strings are cut).
void KitWriteShortString(rtl::TStream& stream, const std::string& s);
void KitReadShortString(rtl::TStream& stream, std::string& s);

// Writes count bytes of source (from its position) as a block-compressed record: the byte count
// that follows, then per chunk of at most 32781 bytes its block length and block.
void KitCompressStream(rtl::TStream& source, rtl::TStream& dest, long long count);
// Reads one block-compressed record and writes the expanded bytes to dest. A record that ends
// early or holds a damaged block raises rtl::EReadError.
void KitDecompressStream(rtl::TStream& source, rtl::TStream& dest);

// String list: [size, text] or a block-compressed record of the text.
void KitWriteStrings(rtl::TStream& stream, const rtl::TStrings& strings, bool compressed);
void KitReadStrings(rtl::TStream& stream, rtl::TStrings& strings, bool compressed);

// ---- BMP file images ----
// The bit count an image of `colors` gets (2: 1, 16: 4, 256: 8; 0 or -1: the bitmap's own depth,
// 16 and 32 bits taken as 24).
int KitBitCountFor(const gdi::TBitmap& bitmap, int colors);
// The 40-byte info header of bitmap at bitCount (little-endian, zero resolutions and counts).
std::vector<std::uint8_t> KitInitBitmapInfoHeader(const gdi::TBitmap& bitmap, int bitCount);
// Header plus colour table size, and pixel data size.
void KitGetDIBSizes(const gdi::TBitmap& bitmap, int bitCount, int& infoHeaderSize, int& imageSize);
// Header, colour table and bottom-up pixel rows.
std::vector<std::uint8_t> KitGetDIB(const gdi::TBitmap& bitmap, int bitCount);
// A BMP file image (file header, info header, colour table, pixels). A nil or empty bitmap
// raises EInvalidGraphic ("Bitmap ist ungültig"). The palette changes nothing on true-colour
// screens.
std::vector<std::uint8_t> KitBitmapToBMPImage(const gdi::TBitmap* bitmap, gdi::HPALETTE palette,
                                              int colors);
void KitWriteBMPImage(rtl::TStream& stream, const gdi::TBitmap* bitmap, gdi::HPALETTE palette,
                      int colors, bool withSize);
// The image of bitmap (2 colours when monochrome) without size; the stream goes to its start.
void KitWriteBitmapImage(rtl::TStream& stream, const gdi::TBitmap& bitmap, int colors);

// Bitmap record by colours -1 (the bitmap's own saved form), 2, 16 or 256: [size, content] or
// a block-compressed record of the content.
void KitWriteBitmap(rtl::TStream& stream, const gdi::TBitmap& bitmap, bool compressed, int colors);
void KitReadBitmap(rtl::TStream& stream, gdi::TBitmap& bitmap, bool compressed);

// Wave record: [size, RIFF bytes] or a block-compressed record of the RIFF bytes.
void KitWriteWave(rtl::TStream& stream, const TKitWave& wave, bool compressed);
void KitReadWave(rtl::TStream& stream, TKitWave& wave, bool compressed);

}  // namespace kit
