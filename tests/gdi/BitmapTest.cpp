// Bitmap: ScanLine byte order, BMP files byte by byte, streams, sizes, pictures.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <QImage>

#include "platform/gdi/Graphics.h"
#include "tests/gdi/Helpers.h"

using namespace gdi;
using gdi::test::Picture;

namespace {

std::string TempPath(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / "feldor_gdi_tests";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(f), {});
}

std::uint32_t U32(const std::vector<std::uint8_t>& v, std::size_t at) {
    return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (static_cast<std::uint32_t>(v[at + 3]) << 24);
}
std::uint32_t U16(const std::vector<std::uint8_t>& v, std::size_t at) { return v[at] | (v[at + 1] << 8); }

}  // namespace

TEST(gdiBitmap, DefaultsAndSize) {
    TBitmap b;
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    b.SetWidth(5);
    EXPECT_TRUE(b.Empty());
    b.SetHeight(3);
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(b.Canvas()->Pixels(4, 2), clWhite);  // a new bitmap is white
    EXPECT_EQ(b.BytesPerLine(), 16);
}

TEST(gdiBitmap, SetSizeKeepsTopLeftContent) {
    TBitmap b(2, 2);
    b.Canvas()->SetPixels(1, 1, clRed);
    b.SetSize(3, 3);
    EXPECT_EQ(Picture(b), "...\n.R.\n...\n");
    b.SetSize(1, 2);
    EXPECT_EQ(Picture(b), ".\n.\n");
}

TEST(gdiBitmap, ScanLineIsBlueGreenRed) {
    TBitmap b(3, 2);
    b.Canvas()->SetPixels(1, 1, RGB(0x11, 0x22, 0x33));
    const std::uint8_t* row = b.ScanLine(1);
    EXPECT_EQ(row[3], 0x33);
    EXPECT_EQ(row[4], 0x22);
    EXPECT_EQ(row[5], 0x11);
    // Writing through ScanLine is seen by the canvas.
    auto* px = reinterpret_cast<TRGBTriple*>(b.ScanLine(0));
    px[2] = {0xC0, 0xB0, 0xA0};
    EXPECT_EQ(b.Canvas()->Pixels(2, 0), RGB(0xA0, 0xB0, 0xC0));
    EXPECT_THROW(b.ScanLine(2), EInvalidGraphicOperation);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(gdiBitmap, ScanLine32Bit) {
    TBitmap b(2, 1);
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    b.Canvas()->SetPixels(1, 0, RGB(1, 2, 3));
    const std::uint8_t* row = b.ScanLine(0);
    EXPECT_EQ(row[4], 3);
    EXPECT_EQ(row[5], 2);
    EXPECT_EQ(row[6], 1);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clWhite);
    b.SetPixelFormat(pf24bit);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), RGB(1, 2, 3));
}

TEST(gdiBitmap, ColourMapFillThroughScanLine) {
    // The colour map's path: a plane of pixels filled from a table, row by row.
    const int w = 41, h = 41;
    TBitmap b(w, h);
    TColor table[4] = {clRed, clLime, clBlue, clBlack};
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<TRGBTriple*>(b.ScanLine(y));
        for (int x = 0; x < w; ++x) {
            TColor c = table[(x + y) % 4];
            row[x] = {static_cast<std::uint8_t>(GetBValue(c)), static_cast<std::uint8_t>(GetGValue(c)),
                      static_cast<std::uint8_t>(GetRValue(c))};
        }
    }
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(40, 40), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), clLime);
    EXPECT_EQ(b.Canvas()->Pixels(2, 1), clBlack);
}

TEST(gdiBitmap, BmpFileHeaderAndPadding) {
    TBitmap b(3, 2);
    b.Canvas()->SetPixels(0, 0, RGB(1, 2, 3));     // top-left
    b.Canvas()->SetPixels(2, 1, RGB(10, 20, 30));  // bottom-right
    std::string path = TempPath("w3.bmp");
    b.SaveToFile(path);
    auto v = ReadAll(path);
    // Rows of 3 pixels take 9 bytes, padded to 12.
    ASSERT_EQ(v.size(), 54u + 12u * 2u);
    EXPECT_EQ(v[0], 'B');
    EXPECT_EQ(v[1], 'M');
    EXPECT_EQ(U32(v, 2), 78u);  // file size
    EXPECT_EQ(U32(v, 6), 0u);   // reserved
    EXPECT_EQ(U32(v, 10), 54u); // offset of the pixels
    EXPECT_EQ(U32(v, 14), 40u); // BITMAPINFOHEADER
    EXPECT_EQ(U32(v, 18), 3u);
    EXPECT_EQ(U32(v, 22), 2u);  // positive height: bottom-up
    EXPECT_EQ(U16(v, 26), 1u);  // planes
    EXPECT_EQ(U16(v, 28), 24u); // bits per pixel
    EXPECT_EQ(U32(v, 30), 0u);  // BI_RGB
    EXPECT_EQ(U32(v, 34), 24u); // image size
    // First stored row is the bottom row: pixel (2, 1) at bytes 6..8, then 3 zero bytes.
    EXPECT_EQ(v[54 + 6], 30);
    EXPECT_EQ(v[54 + 7], 20);
    EXPECT_EQ(v[54 + 8], 10);
    EXPECT_EQ(v[54 + 9], 0);
    EXPECT_EQ(v[54 + 10], 0);
    EXPECT_EQ(v[54 + 11], 0);
    // Second stored row is the top row: pixel (0, 0) B, G, R.
    EXPECT_EQ(v[66], 3);
    EXPECT_EQ(v[67], 2);
    EXPECT_EQ(v[68], 1);
    EXPECT_EQ(v[69], 255);  // (1, 0) white

    // Standard tools read it.
    QImage q;
    ASSERT_TRUE(q.load(QString::fromStdString(path), "BMP"));
    EXPECT_EQ(q.width(), 3);
    EXPECT_EQ(q.height(), 2);
    EXPECT_EQ(q.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(q.pixel(2, 1), qRgb(10, 20, 30));
    EXPECT_EQ(q.pixel(1, 1), qRgb(255, 255, 255));

    // And we read it back.
    TBitmap r;
    r.LoadFromFile(path);
    EXPECT_EQ(r.Width(), 3);
    EXPECT_EQ(r.Height(), 2);
    EXPECT_EQ(r.PixelFormat(), pf24bit);
    EXPECT_EQ(r.Canvas()->Pixels(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(r.Canvas()->Pixels(2, 1), RGB(10, 20, 30));
    std::remove(path.c_str());
}

TEST(gdiBitmap, BmpRoundTripThroughStreams) {
    TBitmap b(5, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) b.Canvas()->SetPixels(x, y, RGB(x * 40, y * 60, 7));
    rtl::TMemoryStream ms;
    ms.Write("xy", 2);  // the bitmap starts mid-stream
    b.SaveToStream(ms);
    ms.Write("tail", 4);
    ms.SetPosition(2);
    TBitmap r;
    r.LoadFromStream(ms);
    EXPECT_EQ(ms.Position(), 2 + 54 + 16 * 4);
    ASSERT_EQ(r.Width(), 5);
    ASSERT_EQ(r.Height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(r.Canvas()->Pixels(x, y), RGB(x * 40, y * 60, 7));
    EXPECT_EQ(r.SaveToBytes(), b.SaveToBytes());
}

TEST(gdiBitmap, Bmp32BitRoundTrip) {
    TBitmap b(2, 2);
    b.SetPixelFormat(pf32bit);
    b.Canvas()->SetPixels(1, 0, clRed);
    auto bytes = b.SaveToBytes();
    EXPECT_EQ(U16(bytes, 28), 32u);
    EXPECT_EQ(bytes.size(), 54u + 16u);
    TBitmap r;
    r.LoadFromBytes(bytes.data(), bytes.size());
    EXPECT_EQ(r.PixelFormat(), pf32bit);
    EXPECT_EQ(r.Canvas()->Pixels(1, 0), clRed);
    QImage q;
    ASSERT_TRUE(q.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP"));
    EXPECT_EQ(q.pixel(1, 0) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF);
}

TEST(gdiBitmap, ReadsFilesOfOtherTools) {
    // An 8-bit palette file and a top-down file written by Qt.
    QImage src(4, 3, QImage::Format_RGB32);
    src.fill(qRgb(0, 0, 255));
    src.setPixel(3, 2, qRgb(255, 0, 0));
    std::string p8 = TempPath("qt8.bmp");
    QImage idx = src.convertToFormat(QImage::Format_Indexed8);
    ASSERT_TRUE(idx.save(QString::fromStdString(p8), "BMP"));
    TBitmap r;
    r.LoadFromFile(p8);
    EXPECT_EQ(r.Width(), 4);
    EXPECT_EQ(r.Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(r.Canvas()->Pixels(3, 2), clRed);
    std::remove(p8.c_str());
}

TEST(gdiBitmap, InvalidDataRaises) {
    std::uint8_t junk[60] = {'B', 'M'};
    TBitmap r;
    EXPECT_THROW(r.LoadFromBytes(junk, sizeof junk), EInvalidGraphic);
    try {
        r.LoadFromBytes(junk, 3);
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message, "Bitmap ist ungültig");
    }
}

TEST(gdiBitmap, LoadFromMissingFileRaises) {
    TBitmap r;
    EXPECT_THROW(r.LoadFromFile(TempPath("does-not-exist.bmp")), rtl::EFOpenError);
}

TEST(gdiBitmap, LargeBitmapWorks) {
    TBitmap b;
    b.SetSize(8192, 8192);
    EXPECT_EQ(b.Width(), 8192);
    std::uint8_t* last = b.ScanLine(8191);
    last[3 * 8191] = 0x12;
    EXPECT_EQ(GetBValue(b.Canvas()->Pixels(8191, 8191)), 0x12);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(0, 0, 8192, 8192));
    EXPECT_EQ(b.Canvas()->Pixels(4000, 8000), clRed);
}

TEST(gdiBitmap, TooLargeRaisesOutOfMemory) {
    TBitmap b(2, 2);
    b.Canvas()->SetPixels(0, 0, clRed);
    try {
        b.SetSize(1 << 20, 1 << 20);  // 3 TB
        FAIL() << "no exception";
    } catch (const rtl::EOutOfMemory& e) {
        EXPECT_EQ(e.Message, "Zu wenig Arbeitsspeicher");
    }
    // The bitmap is as it was.
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_THROW(b.SetSize(1'000'000'000, 1), rtl::EOutOfMemory);
}

TEST(gdiBitmap, AssignCopiesIndependently) {
    TBitmap a(2, 1);
    a.Canvas()->SetPixels(0, 0, clRed);
    a.SetTransparent(true);
    TBitmap b;
    b.Assign(a);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_TRUE(b.Transparent());
    b.Canvas()->SetPixels(0, 0, clBlue);
    EXPECT_EQ(a.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clBlue);
    // ScanLine after Assign writes the own copy.
    TBitmap c;
    c.Assign(a);
    c.ScanLine(0)[0] = 0xFF;
    EXPECT_EQ(a.Canvas()->Pixels(0, 0), clRed);
}

TEST(gdiBitmap, QImageExchange) {
    TBitmap b(2, 1);
    b.Canvas()->SetPixels(1, 0, clLime);
    QImage q = b.ToQImage();
    EXPECT_EQ(q.pixel(1, 0), qRgb(0, 255, 0));
    QImage in(3, 3, QImage::Format_ARGB32);
    in.fill(qRgb(1, 2, 3));
    TBitmap c;
    c.FromQImage(in);
    EXPECT_EQ(c.Width(), 3);
    EXPECT_EQ(c.PixelFormat(), pf24bit);
    EXPECT_EQ(c.Canvas()->Pixels(2, 2), RGB(1, 2, 3));
}

TEST(gdiBitmap, MaskAndMonochrome) {
    TBitmap b(2, 1);
    b.Canvas()->SetPixels(0, 0, clRed);
    b.Mask(clRed);
    EXPECT_TRUE(b.Monochrome());
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), clBlack);
    EXPECT_THROW(b.ScanLine(0), EInvalidGraphicOperation);
}

TEST(gdiPicture, HoldsABitmap) {
    TPicture p;
    EXPECT_FALSE(p.HasGraphic());
    int changes = 0;
    p.OnChange = [&](rtl::TObject*) { ++changes; };
    TBitmap b(4, 3);
    b.Canvas()->SetPixels(0, 0, clRed);
    p.Assign(&b);
    EXPECT_TRUE(p.HasGraphic());
    EXPECT_EQ(p.Width(), 4);
    EXPECT_EQ(p.Bitmap()->Canvas()->Pixels(0, 0), clRed);
    EXPECT_GE(changes, 1);
    int before = changes;
    p.Bitmap()->Canvas()->SetPixels(1, 1, clBlue);  // drawing on the picture's canvas notifies
    EXPECT_GT(changes, before);
    TPicture q;
    q.Assign(p);
    EXPECT_EQ(q.Bitmap()->Canvas()->Pixels(1, 1), clBlue);
    p.Clear();
    EXPECT_FALSE(p.HasGraphic());
    std::string path = TempPath("pic.bmp");
    q.SaveToFile(path);
    TPicture r;
    r.LoadFromFile(path);
    EXPECT_EQ(r.Height(), 3);
    std::remove(path.c_str());
}
