// TBitmap (pixels in a QImage, Windows BMP files written and read byte by byte) and TPicture.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>

#include <QBuffer>
#include <QImageReader>

#include "platform/gdi/Graphics.h"
#include "platform/rtl/FileReplace.h"

namespace gdi {

namespace {

QImage::Format StorageFormat(TPixelFormat pf) {
    return pf == pf32bit ? QImage::Format_RGB32 : QImage::Format_BGR888;
}

// Memory the system can still give (MemAvailable + SwapFree), or 0 when unknown.
unsigned long long AvailableMemory() {
    std::ifstream f("/proc/meminfo");
    std::string key;
    unsigned long long value = 0, total = 0;
    std::string unit;
    bool found = false;
    while (f >> key >> value) {
        std::getline(f, unit);
        if (key == "MemAvailable:" || key == "SwapFree:") {
            total += value * 1024ull;
            found = true;
        }
    }
    return found ? total : 0;
}

[[noreturn]] void OutOfMemory() { throw rtl::EOutOfMemory(rtl::msg::OutOfMemory); }

QImage NewImage(int w, int h, QImage::Format fmt) {
    const unsigned long long bpp = fmt == QImage::Format_BGR888 ? 3 : 4;
    const unsigned long long bpl = (static_cast<unsigned long long>(w) * bpp + 3) & ~3ull;
    const unsigned long long bytes = bpl * static_cast<unsigned long long>(h);
    if (bpl > static_cast<unsigned long long>(std::numeric_limits<int>::max())) OutOfMemory();
    unsigned long long avail = AvailableMemory();
    if (avail != 0 && bytes > avail) OutOfMemory();
    QImage img;
    try {
        img = QImage(w, h, fmt);
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    if (img.isNull()) OutOfMemory();
    return img;
}

void FillImage(QImage& img, TColor color) {
    TColor c = ColorToPixel(color);
    const int bpp = img.format() == QImage::Format_BGR888 ? 3 : 4;
    const std::size_t rowBytes = static_cast<std::size_t>(img.width()) * static_cast<std::size_t>(bpp);
    std::uint8_t px[4] = {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                          static_cast<std::uint8_t>(c), 0xFF};
    std::uint8_t* first = img.scanLine(0);
    if (px[0] == px[1] && px[1] == px[2] && (bpp == 3 || px[0] == 0xFF)) {
        for (int y = 0; y < img.height(); ++y) std::memset(img.scanLine(y), px[0], rowBytes);
        return;
    }
    for (int x = 0; x < img.width(); ++x) std::memcpy(first + static_cast<std::size_t>(x) * bpp, px, static_cast<std::size_t>(bpp));
    for (int y = 1; y < img.height(); ++y) std::memcpy(img.scanLine(y), first, rowBytes);
}

// ---- BMP helpers -----------------------------------------------------------------------------
void Put16(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    v[at] = static_cast<std::uint8_t>(x);
    v[at + 1] = static_cast<std::uint8_t>(x >> 8);
}
void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(x >> (8 * i));
}
std::uint32_t Get16(const std::uint8_t* p) { return p[0] | (static_cast<std::uint32_t>(p[1]) << 8); }
std::uint32_t Get32(const std::uint8_t* p) {
    return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16) |
           (static_cast<std::uint32_t>(p[3]) << 24);
}

[[noreturn]] void Invalid() { throw EInvalidGraphic(msg::InvalidBitmap); }

int MaskShift(std::uint32_t mask) {
    if (!mask) return 0;
    int s = 0;
    while (!(mask & 1u)) {
        mask >>= 1;
        ++s;
    }
    return s;
}
int MaskBits(std::uint32_t mask) {
    mask >>= MaskShift(mask);
    int n = 0;
    while (mask & 1u) {
        mask >>= 1;
        ++n;
    }
    return n;
}
std::uint8_t Channel(std::uint32_t px, std::uint32_t mask) {
    if (!mask) return 0;
    int bits = MaskBits(mask);
    std::uint32_t v = (px & mask) >> MaskShift(mask);
    if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
    std::uint32_t maxv = (1u << bits) - 1;
    return static_cast<std::uint8_t>((v * 255 + maxv / 2) / maxv);
}

}  // namespace

// ---- TBitmap -----------------------------------------------------------------------------------

TBitmap::TBitmap() = default;
TBitmap::TBitmap(int width, int height) { SetSize(width, height); }
TBitmap::~TBitmap() = default;

void TBitmap::Changed() {
    if (OnChange) OnChange(this);
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TCanvas>(&image_);
        canvas_->bitmap_ = this;
        canvas_->OnChange = [this](rtl::TObject*) { Changed(); };
    }
    return canvas_.get();
}

void TBitmap::Allocate(int width, int height, TPixelFormat pf, bool keep) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    QImage::Format fmt = StorageFormat(pf);
    if (width == 0 || height == 0) {
        image_ = QImage();
        width_ = width;
        height_ = height;
        return;
    }
    QImage img = NewImage(width, height, fmt);
    FillImage(img, canvas_ ? canvas_->Brush()->Color() : clWhite);
    if (keep && !image_.isNull()) {
        QImage old = image_.format() == fmt ? image_ : image_.convertToFormat(fmt);
        int rows = std::min(height, old.height());
        int bytes = std::min(width, old.width()) * (fmt == QImage::Format_BGR888 ? 3 : 4);
        for (int y = 0; y < rows; ++y) std::memcpy(img.scanLine(y), old.constScanLine(y), static_cast<std::size_t>(bytes));
    }
    image_ = std::move(img);
    width_ = width;
    height_ = height;
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (width == Width() && height == Height()) return;
    Allocate(width, height, pixelFormat_, true);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat pf) {
    if (pf == pfDevice || pf == pfCustom) pf = pf24bit;
    if (pf == pixelFormat_) return;
    QImage::Format fmt = StorageFormat(pf);
    if (!image_.isNull() && image_.format() != fmt) {
        QImage img = NewImage(image_.width(), image_.height(), fmt);
        QImage conv = image_.convertToFormat(fmt);
        for (int y = 0; y < img.height(); ++y)
            std::memcpy(img.scanLine(y), conv.constScanLine(y), static_cast<std::size_t>(std::min(img.bytesPerLine(), conv.bytesPerLine())));
        image_ = std::move(img);
    }
    pixelFormat_ = pf;
    // Reduce the colours of the smaller formats.
    if (!image_.isNull() && pf != pf24bit && pf != pf32bit) {
        for (int y = 0; y < image_.height(); ++y) {
            std::uint8_t* p = image_.scanLine(y);
            for (int x = 0; x < image_.width(); ++x, p += 3) {
                switch (pf) {
                    case pf1bit: {
                        int lum = (p[2] * 299 + p[1] * 587 + p[0] * 114) / 1000;
                        std::uint8_t v = lum >= 128 ? 255 : 0;
                        p[0] = p[1] = p[2] = v;
                        break;
                    }
                    case pf4bit:
                        for (int i = 0; i < 3; ++i) p[i] = p[i] >= 192 ? 255 : (p[i] >= 64 ? 128 : 0);
                        break;
                    case pf8bit:
                        p[0] = static_cast<std::uint8_t>((p[0] >> 6) * 85);
                        p[1] = static_cast<std::uint8_t>((p[1] >> 5) * 255 / 7);
                        p[2] = static_cast<std::uint8_t>((p[2] >> 5) * 255 / 7);
                        break;
                    case pf15bit:
                    case pf16bit:
                        for (int i = 0; i < 3; ++i) p[i] = static_cast<std::uint8_t>((p[i] & 0xF8) | (p[i] >> 5));
                        break;
                    default: break;
                }
            }
        }
    }
    Changed();
}

void TBitmap::SetMonochrome(bool mono) {
    if (mono == Monochrome()) return;
    SetPixelFormat(mono ? pf1bit : pf24bit);
}

std::uint8_t* TBitmap::ScanLine(int row) {
    if (pixelFormat_ != pf24bit && pixelFormat_ != pf32bit) throw EInvalidGraphicOperation(msg::NoScanLine);
    if (image_.isNull() || row < 0 || row >= image_.height()) throw EInvalidGraphicOperation(msg::ScanLineRange);
    return image_.scanLine(row);
}

const std::uint8_t* TBitmap::ScanLine(int row) const {
    if (pixelFormat_ != pf24bit && pixelFormat_ != pf32bit) throw EInvalidGraphicOperation(msg::NoScanLine);
    if (image_.isNull() || row < 0 || row >= image_.height()) throw EInvalidGraphicOperation(msg::ScanLineRange);
    return image_.constScanLine(row);
}

void TBitmap::SetTransparent(bool t) {
    if (t == transparent_) return;
    transparent_ = t;
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return ColorToRGB(transparentColor_);
    if (image_.isNull()) return clWhite;
    const std::uint8_t* p = image_.constScanLine(image_.height() - 1);
    return RGB(p[2], p[1], p[0]);
}

void TBitmap::SetTransparentColor(TColor c) {
    transparentColor_ = c;
    transparentMode_ = c == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode m) {
    if (m == transparentMode_) return;
    transparentMode_ = m;
    if (m == tmAuto) transparentColor_ = clDefault;
    else if (transparentColor_ == clDefault) transparentColor_ = TransparentColor();
    Changed();
}

void TBitmap::Mask(TColor transparentColor) {
    if (!image_.isNull()) {
        TColor key = ColorToPixel(transparentColor);
        if (pixelFormat_ == pf32bit) {
            QImage img = NewImage(image_.width(), image_.height(), QImage::Format_BGR888);
            for (int y = 0; y < img.height(); ++y) {
                const std::uint8_t* s = image_.constScanLine(y);
                std::uint8_t* d = img.scanLine(y);
                for (int x = 0; x < img.width(); ++x) std::memcpy(d + 3 * x, s + 4 * x, 3);
            }
            image_ = std::move(img);
        }
        for (int y = 0; y < image_.height(); ++y) {
            std::uint8_t* p = image_.scanLine(y);
            for (int x = 0; x < image_.width(); ++x, p += 3) {
                std::uint8_t v = RGB(p[2], p[1], p[0]) == key ? 255 : 0;
                p[0] = p[1] = p[2] = v;
            }
        }
    }
    pixelFormat_ = pf1bit;
    Changed();
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    image_ = source.image_;  // implicitly shared until either side writes
    width_ = source.width_;
    height_ = source.height_;
    pixelFormat_ = source.pixelFormat_;
    transparent_ = source.transparent_;
    transparentMode_ = source.transparentMode_;
    transparentColor_ = source.transparentColor_;
    Changed();
}

void TBitmap::FromQImage(const QImage& image) {
    TPixelFormat pf = pixelFormat_ == pf32bit ? pf32bit : pf24bit;
    if (image.isNull() || image.width() == 0 || image.height() == 0) {
        image_ = QImage();
    } else {
        QImage::Format fmt = StorageFormat(pf);
        QImage img = NewImage(image.width(), image.height(), fmt);
        QImage conv = image.format() == fmt ? image : image.convertToFormat(fmt);
        if (conv.isNull()) OutOfMemory();
        for (int y = 0; y < img.height(); ++y)
            std::memcpy(img.scanLine(y), conv.constScanLine(y), static_cast<std::size_t>(img.bytesPerLine()));
        image_ = std::move(img);
    }
    width_ = image_.isNull() ? 0 : image_.width();
    height_ = image_.isNull() ? 0 : image_.height();
    pixelFormat_ = pf;
    Changed();
}

// ---- BMP files ---------------------------------------------------------------------------------

namespace {
// Writes the BMP of `image` (bits 24 or 32) through `sink(data, count)`, rows in chunks.
template <class Sink>
void WriteBmp(const QImage& image, int w, int h, int bits, Sink&& sink) {
    const std::size_t rowSize = ((static_cast<std::size_t>(w) * static_cast<std::size_t>(bits) + 31) / 32) * 4;
    const std::size_t imageSize = rowSize * static_cast<std::size_t>(h);
    const std::size_t fileSize = 54 + imageSize;
    if (fileSize > 0xFFFFFFFFull) OutOfMemory();
    std::vector<std::uint8_t> hdr(54, 0);
    // BITMAPFILEHEADER
    hdr[0] = 'B';
    hdr[1] = 'M';
    Put32(hdr, 2, static_cast<std::uint32_t>(fileSize));
    Put32(hdr, 10, 54);
    // BITMAPINFOHEADER: bottom-up (positive height), BI_RGB, no resolution, no palette.
    Put32(hdr, 14, 40);
    Put32(hdr, 18, static_cast<std::uint32_t>(w));
    Put32(hdr, 22, static_cast<std::uint32_t>(h));
    Put16(hdr, 26, 1);
    Put16(hdr, 28, static_cast<std::uint32_t>(bits));
    Put32(hdr, 34, static_cast<std::uint32_t>(imageSize));
    sink(hdr.data(), hdr.size());
    if (imageSize == 0) return;
    const std::size_t rowsPerChunk = std::max<std::size_t>(1, (1u << 20) / rowSize);
    std::vector<std::uint8_t> chunk(rowSize * std::min<std::size_t>(rowsPerChunk, static_cast<std::size_t>(h)), 0);
    std::size_t filled = 0;
    for (int y = h - 1; y >= 0; --y) {
        std::uint8_t* d = chunk.data() + filled * rowSize;
        const std::uint8_t* src = image.constScanLine(y);
        if (bits == 24) {
            std::memcpy(d, src, static_cast<std::size_t>(w) * 3);
        } else {
            for (int x = 0; x < w; ++x) {
                std::memcpy(d + 4 * x, src + 4 * x, 3);
                d[4 * x + 3] = 0;
            }
        }
        if (++filled == rowsPerChunk || y == 0) {
            sink(chunk.data(), filled * rowSize);
            filled = 0;
        }
    }
}
}  // namespace

std::vector<std::uint8_t> TBitmap::SaveToBytes() const {
    std::vector<std::uint8_t> v;
    try {
        WriteBmp(image_, Width(), image_.isNull() ? 0 : Height(), pixelFormat_ == pf32bit ? 32 : 24,
                 [&](const std::uint8_t* d, std::size_t n) { v.insert(v.end(), d, d + n); });
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    return v;
}

void TBitmap::SaveToStream(rtl::TStream& stream) const {
    WriteBmp(image_, Width(), image_.isNull() ? 0 : Height(), pixelFormat_ == pf32bit ? 32 : 24,
             [&](const std::uint8_t* d, std::size_t n) { stream.WriteBuffer(d, static_cast<long long>(n)); });
}

void TBitmap::SaveToFile(const std::string& fileName) const {
    rtl::TReplacingFileStream f(fileName);
    SaveToStream(f);
    f.Commit();
}

void TBitmap::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    if (size < 26 || data[0] != 'B' || data[1] != 'M') Invalid();
    const std::uint32_t offBits = Get32(data + 10);
    const std::uint32_t hdrSize = Get32(data + 14);
    if (hdrSize < 12 || 14 + static_cast<std::size_t>(hdrSize) > size) Invalid();
    const std::uint8_t* ih = data + 14;
    long long w, h;
    std::uint32_t bits, compression = 0, clrUsed = 0;
    std::uint32_t rMask = 0, gMask = 0, bMask = 0;
    std::size_t paletteEntry = 4;
    if (hdrSize == 12) {  // BITMAPCOREHEADER
        w = Get16(ih + 4);
        h = static_cast<std::int16_t>(Get16(ih + 6));
        bits = Get16(ih + 10);
        paletteEntry = 3;
    } else {
        if (hdrSize < 40) Invalid();
        w = static_cast<std::int32_t>(Get32(ih + 4));
        h = static_cast<std::int32_t>(Get32(ih + 8));
        bits = Get16(ih + 14);
        compression = Get32(ih + 16);
        clrUsed = Get32(ih + 32);
        if (compression == 3 /* BI_BITFIELDS */) {
            const std::uint8_t* m = hdrSize >= 52 ? ih + 40 : ih + hdrSize;
            if (m + 12 > data + size) Invalid();
            rMask = Get32(m);
            gMask = Get32(m + 4);
            bMask = Get32(m + 8);
        }
    }
    bool topDown = h < 0;
    if (topDown) h = -h;
    if (w <= 0 || h <= 0 || w > 1'000'000 || h > 1'000'000) Invalid();
    if (compression != 0 && compression != 3) {
        // Run-length and other compressed files: Qt's reader.
        QByteArray ba(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
        QBuffer buf(&ba);
        QImageReader reader(&buf, "bmp");
        reader.setAllocationLimit(0);
        QImage img = reader.read();
        if (img.isNull()) Invalid();
        pixelFormat_ = pf24bit;
        FromQImage(img);
        return;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) Invalid();
    if (compression == 3 && bits != 16 && bits != 32) Invalid();
    if (compression == 0 && bits == 16) {
        rMask = 0x7C00;
        gMask = 0x03E0;
        bMask = 0x001F;
    }
    // Palette.
    std::vector<TColor> palette;
    if (bits <= 8) {
        std::size_t n = clrUsed ? clrUsed : (1u << bits);
        if (n > 256) n = 256;
        std::size_t palOff = 14 + hdrSize + (compression == 3 && hdrSize == 40 ? 12 : 0);
        if (palOff + n * paletteEntry > size) Invalid();
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t* e = data + palOff + i * paletteEntry;
            palette.push_back(RGB(e[2], e[1], e[0]));
        }
    }
    const std::size_t rowSize = ((static_cast<std::size_t>(w) * bits + 31) / 32) * 4;
    if (offBits > size || static_cast<unsigned long long>(rowSize) * static_cast<unsigned long long>(h) > size - offBits) Invalid();

    TPixelFormat pf = bits == 32 ? pf32bit : pf24bit;
    QImage::Format fmt = StorageFormat(pf);
    QImage img = NewImage(static_cast<int>(w), static_cast<int>(h), fmt);
    const int bpp = fmt == QImage::Format_BGR888 ? 3 : 4;
    for (long long y = 0; y < h; ++y) {
        const std::uint8_t* s = data + offBits + rowSize * static_cast<std::size_t>(topDown ? y : h - 1 - y);
        std::uint8_t* d = img.scanLine(static_cast<int>(y));
        if (bits == 24) {
            std::memcpy(d, s, static_cast<std::size_t>(w) * 3);
            continue;
        }
        if (bits == 32 && compression == 0) {
            for (long long x = 0; x < w; ++x) {
                std::memcpy(d + 4 * x, s + 4 * x, 3);
                d[4 * x + 3] = 0xFF;
            }
            continue;
        }
        for (long long x = 0; x < w; ++x, d += bpp) {
            std::uint8_t b = 0, g = 0, r = 0;
            switch (bits) {
                case 1:
                case 4:
                case 8: {
                    std::size_t idx;
                    if (bits == 8) idx = s[x];
                    else if (bits == 4) idx = (s[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F;
                    else idx = (s[x / 8] >> (7 - x % 8)) & 1;
                    TColor c = idx < palette.size() ? palette[idx] : 0;
                    r = static_cast<std::uint8_t>(GetRValue(c));
                    g = static_cast<std::uint8_t>(GetGValue(c));
                    b = static_cast<std::uint8_t>(GetBValue(c));
                    break;
                }
                case 16: {
                    std::uint32_t px = Get16(s + 2 * x);
                    r = Channel(px, rMask);
                    g = Channel(px, gMask);
                    b = Channel(px, bMask);
                    break;
                }
                case 24:
                    b = s[3 * x];
                    g = s[3 * x + 1];
                    r = s[3 * x + 2];
                    break;
                case 32:
                    if (compression == 3) {
                        std::uint32_t px = Get32(s + 4 * x);
                        r = Channel(px, rMask);
                        g = Channel(px, gMask);
                        b = Channel(px, bMask);
                    } else {
                        b = s[4 * x];
                        g = s[4 * x + 1];
                        r = s[4 * x + 2];
                    }
                    break;
            }
            d[0] = b;
            d[1] = g;
            d[2] = r;
            if (bpp == 4) d[3] = 0xFF;
        }
    }
    image_ = std::move(img);
    width_ = image_.width();
    height_ = image_.height();
    pixelFormat_ = pf;
    Changed();
}

void TBitmap::LoadFromStream(rtl::TStream& stream) {
    std::uint8_t fileHeader[14];
    if (stream.Read(fileHeader, 14) != 14 || fileHeader[0] != 'B' || fileHeader[1] != 'M') Invalid();
    std::uint32_t fileSize = Get32(fileHeader + 2);
    long long rest = stream.Size() - stream.Position();
    // Some writers leave the size field 0: take the rest of the stream then.
    long long want = fileSize >= 14 ? static_cast<long long>(fileSize) - 14 : rest;
    if (want > rest) want = rest;
    if (want < 12) Invalid();
    std::vector<std::uint8_t> buf;
    try {
        buf.resize(14 + static_cast<std::size_t>(want));
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    std::memcpy(buf.data(), fileHeader, 14);
    stream.ReadBuffer(buf.data() + 14, want);
    LoadFromBytes(buf.data(), buf.size());
}

void TBitmap::LoadFromFile(const std::string& fileName) {
    rtl::TFileStream f(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    LoadFromStream(f);
}

// ---- TPicture ----------------------------------------------------------------------------------

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::Hook() {
    bitmap_->OnChange = [this](rtl::TObject*) { Changed(); };
}

TBitmap* TPicture::Bitmap() {
    if (!bitmap_) {
        bitmap_ = std::make_unique<TBitmap>();
        Hook();
    }
    return bitmap_.get();
}

void TPicture::Assign(const TPicture& source) {
    if (&source == this) return;
    Assign(source.bitmap_.get());
}

void TPicture::Assign(const TBitmap* source) {
    if (!source) {
        Clear();
        return;
    }
    if (source == bitmap_.get()) return;
    if (!bitmap_) {
        bitmap_ = std::make_unique<TBitmap>();
        Hook();
    }
    bitmap_->Assign(*source);  // runs Changed through the hook
}

void TPicture::Clear() {
    if (!bitmap_) return;
    bitmap_.reset();
    Changed();
}

void TPicture::LoadFromFile(const std::string& fileName) {
    std::string ext = rtl::ExtractFileExt(fileName);
    if (!ext.empty() && !rtl::SameText(ext, ".bmp") && !rtl::SameText(ext, ".dib"))
        throw EInvalidGraphic(rtl::Format(msg::UnknownExtension, ext.substr(1)));
    auto b = std::make_unique<TBitmap>();
    b->LoadFromFile(fileName);
    bitmap_ = std::move(b);
    Hook();
    Changed();
}

void TPicture::SaveToFile(const std::string& fileName) const {
    if (bitmap_) bitmap_->SaveToFile(fileName);
}

}  // namespace gdi
