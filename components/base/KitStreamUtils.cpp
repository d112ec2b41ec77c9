#include "components/base/KitStreamUtils.h"

#include <algorithm>

#include "components/base/KitWave.h"
#include "components/base/kitprocs.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

namespace {

// Remembers where a size goes, and writes it once the content behind it is written.
class PatchedSize {
public:
    explicit PatchedSize(rtl::TStream& s) : s_(s), start_(s.Position()) { s.SetPosition(start_ + 4); }
    void Write() {
        const long long end = s_.Position();
        s_.SetPosition(start_);
        KitWriteInteger(s_, static_cast<int>(end - start_ - 4));
        s_.SetPosition(end);
    }

private:
    rtl::TStream& s_;
    long long start_;
};

// Content of `size` bytes (size read before) into a memory stream at its start.
void ReadSized(rtl::TStream& stream, rtl::TMemoryStream& content) {
    const int size = KitReadInteger(stream);
    if (size < 0 || size > stream.Size() - stream.Position()) throw rtl::EReadError(rtl::msg::ReadError);
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(size));
    stream.ReadBuffer(buf.data(), size);
    content.WriteBuffer(buf.data(), size);
    content.SetPosition(0);
}

}  // namespace

void KitWriteInteger(rtl::TStream& stream, int value) {
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    stream.WriteBuffer(b, 4);
}

int KitReadInteger(rtl::TStream& stream) {
    std::uint8_t b[4] = {0, 0, 0, 0};
    stream.Read(b, 4);
    return static_cast<int>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
}

void KitWriteByte(rtl::TStream& stream, std::uint8_t value) { stream.WriteBuffer(&value, 1); }

std::uint8_t KitReadByte(rtl::TStream& stream) {
    std::uint8_t b = 0;
    stream.Read(&b, 1);
    return b;
}

void KitWriteShortString(rtl::TStream& stream, const std::string& s) {
    const auto n = static_cast<std::uint8_t>(std::min<std::size_t>(s.size(), 255));
    KitWriteByte(stream, n);
    stream.WriteBuffer(s.data(), n);
}

void KitReadShortString(rtl::TStream& stream, std::string& s) {
    std::uint8_t n = 0;
    stream.ReadBuffer(&n, 1);
    s.assign(n, '\0');
    stream.ReadBuffer(s.data(), n);
}

void KitCompressStream(rtl::TStream& source, rtl::TStream& dest, long long count) {
    PatchedSize total(dest);
    std::vector<std::uint8_t> chunk(KitChunkSize), block(KitCompressBufferSize);
    while (count > 0) {
        const long long n = source.Read(chunk.data(), std::min<long long>(count, KitChunkSize));
        if (n <= 0) break;
        const int len = KitCompress(chunk.data(), block.data(), static_cast<int>(n));
        KitWriteInteger(dest, len);
        dest.WriteBuffer(block.data(), len);
        count -= n;
    }
    total.Write();
}

void KitDecompressStream(rtl::TStream& source, rtl::TStream& dest) {
    std::vector<std::uint8_t> block(KitStoredBlockSize), out(KitChunkSize);
    long long total = KitReadInteger(source);
    while (total > 0) {
        const int len = KitReadInteger(source);
        if (len < 1 || len > KitStoredBlockSize) throw rtl::EReadError(rtl::msg::ReadError);
        source.ReadBuffer(block.data(), len);
        const int n = KitDecompress(block.data(), out.data(), len, KitChunkSize);
        dest.WriteBuffer(out.data(), n);
        total -= 4LL + len;
    }
}

namespace {

// A stored block (compressed, or sized) into a memory stream at its start.
void ReadContent(rtl::TStream& stream, rtl::TMemoryStream& content, bool compressed) {
    if (compressed) {
        KitDecompressStream(stream, content);
        content.SetPosition(0);
    } else {
        ReadSized(stream, content);
    }
}

}  // namespace

void KitWriteStrings(rtl::TStream& stream, const rtl::TStrings& strings, bool compressed) {
    if (compressed) {
        rtl::TMemoryStream text;
        strings.SaveToStream(text);
        text.SetPosition(0);
        KitCompressStream(text, stream, text.Size());
    } else {
        PatchedSize size(stream);
        strings.SaveToStream(stream);
        size.Write();
    }
}

void KitReadStrings(rtl::TStream& stream, rtl::TStrings& strings, bool compressed) {
    rtl::TMemoryStream content;
    ReadContent(stream, content, compressed);
    strings.LoadFromStream(content);
}

// ---- BMP file images ----

namespace {
void Put16(std::vector<std::uint8_t>& b, std::size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
}  // namespace

int KitBitCountFor(const gdi::TBitmap& bitmap, int colors) {
    switch (colors) {
        case 2: return 1;
        case 16: return 4;
        case 256: return 8;
        default: break;
    }
    switch (bitmap.PixelFormat()) {
        case gdi::pf1bit: return 1;
        case gdi::pf4bit: return 4;
        case gdi::pf8bit: return 8;
        default: return 24;
    }
}

std::vector<std::uint8_t> KitInitBitmapInfoHeader(const gdi::TBitmap& bitmap, int bitCount) {
    std::vector<std::uint8_t> h(40, 0);
    Put32(h, 0, 40);
    Put32(h, 4, static_cast<std::uint32_t>(bitmap.Width()));
    Put32(h, 8, static_cast<std::uint32_t>(bitmap.Height()));
    Put16(h, 12, 1);
    Put16(h, 14, static_cast<unsigned>(bitCount));
    Put32(h, 20, static_cast<std::uint32_t>(gdi::DIBRowBytes(bitmap.Width(), bitCount) * bitmap.Height()));
    return h;
}

void KitGetDIBSizes(const gdi::TBitmap& bitmap, int bitCount, int& infoHeaderSize, int& imageSize) {
    infoHeaderSize = 40 + (bitCount == 24 ? 0 : 4 << bitCount);
    imageSize = gdi::DIBRowBytes(bitmap.Width(), bitCount) * bitmap.Height();
}

std::vector<std::uint8_t> KitGetDIB(const gdi::TBitmap& bitmap, int bitCount) {
    std::vector<std::uint8_t> dib = KitInitBitmapInfoHeader(bitmap, bitCount);
    for (const gdi::TRGBQuad& q : gdi::DIBColorTable(bitCount)) {
        dib.push_back(q.rgbBlue);
        dib.push_back(q.rgbGreen);
        dib.push_back(q.rgbRed);
        dib.push_back(0);
    }
    const std::vector<std::uint8_t> pixels = gdi::GetDIBits(bitmap, bitCount);
    dib.insert(dib.end(), pixels.begin(), pixels.end());
    return dib;
}

std::vector<std::uint8_t> KitBitmapToBMPImage(const gdi::TBitmap* bitmap, gdi::HPALETTE, int colors) {
    if (!bitmap || bitmap->Empty()) throw gdi::EInvalidGraphic(gdi::msg::InvalidBitmap);
    const int bits = KitBitCountFor(*bitmap, colors);
    int info = 0, image = 0;
    KitGetDIBSizes(*bitmap, bits, info, image);
    std::vector<std::uint8_t> bmp(14, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    Put32(bmp, 2, static_cast<std::uint32_t>(14 + info + image));
    Put32(bmp, 10, static_cast<std::uint32_t>(14 + info));
    const std::vector<std::uint8_t> dib = KitGetDIB(*bitmap, bits);
    bmp.insert(bmp.end(), dib.begin(), dib.end());
    return bmp;
}

void KitWriteBMPImage(rtl::TStream& stream, const gdi::TBitmap* bitmap, gdi::HPALETTE palette,
                      int colors, bool withSize) {
    const std::vector<std::uint8_t> bmp = KitBitmapToBMPImage(bitmap, palette, colors);
    if (withSize) KitWriteInteger(stream, static_cast<int>(bmp.size()));
    stream.WriteBuffer(bmp.data(), static_cast<long long>(bmp.size()));
}

void KitWriteBitmapImage(rtl::TStream& stream, const gdi::TBitmap& bitmap, int colors) {
    KitWriteBMPImage(stream, &bitmap, 0, bitmap.Monochrome() ? 2 : colors, false);
    stream.SetPosition(0);
}

void KitWriteBitmap(rtl::TStream& stream, const gdi::TBitmap& bitmap, bool compressed, int colors) {
    if (compressed) {
        rtl::TMemoryStream content;
        if (colors == -1) bitmap.SaveToStream(content);
        else KitWriteBitmapImage(content, bitmap, colors);
        content.SetPosition(0);
        KitCompressStream(content, stream, content.Size());
    } else if (colors == -1) {
        PatchedSize size(stream);
        bitmap.SaveToStream(stream);
        size.Write();
    } else {
        KitWriteBMPImage(stream, &bitmap, 0, colors, true);
    }
}

void KitReadBitmap(rtl::TStream& stream, gdi::TBitmap& bitmap, bool compressed) {
    rtl::TMemoryStream content;
    ReadContent(stream, content, compressed);
    bitmap.LoadFromStream(content);
}

void KitWriteWave(rtl::TStream& stream, const TKitWave& wave, bool compressed) {
    if (compressed) wave.WriteCompressed(stream);
    else wave.WriteUncompressed(stream);
}

void KitReadWave(rtl::TStream& stream, TKitWave& wave, bool compressed) {
    if (compressed) wave.ReadCompressed(stream);
    else wave.ReadUncompressed(stream);
}

}  // namespace kit
