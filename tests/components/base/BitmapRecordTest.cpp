// BMP file images at 1, 4, 8 and 24 bits and the bitmap record.
#include <gtest/gtest.h>

#include <vector>

#include "components/base/KitStreamUtils.h"

using namespace kit;
using namespace gdi;

namespace {
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void Paint3x2(TBitmap& b) {
    b.SetSize(3, 2);
    const TColor px[2][3] = {{clRed, clBlack, clWhite}, {clBlue, clLime, clYellow}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) b.Canvas()->SetPixels(x, y, px[y][x]);
}
}  // namespace

TEST(KitBitmapToBMPImage, SizesAndHeaders) {
    TBitmap b;
    Paint3x2(b);
    struct Case { int colors; std::size_t size; int bits; };
    for (const Case& c : {Case{-1, 78, 24}, Case{0, 78, 24}, Case{2, 70, 1}, Case{16, 126, 4}, Case{256, 1086, 8}}) {
        const std::vector<std::uint8_t> bmp = KitBitmapToBMPImage(&b, 0, c.colors);
        ASSERT_EQ(bmp.size(), c.size) << c.colors;
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(U32(bmp, 2), c.size);
        EXPECT_EQ(U32(bmp, 10), c.size - 2 * static_cast<std::size_t>((3 * c.bits + 31) / 32 * 4));
        EXPECT_EQ(U32(bmp, 14), 40u);
        EXPECT_EQ(U32(bmp, 18), 3u);
        EXPECT_EQ(U32(bmp, 22), 2u);
        EXPECT_EQ(bmp[28], c.bits);
        EXPECT_EQ(U32(bmp, 30), 0u);   // no compression
        EXPECT_EQ(U32(bmp, 46), 0u);   // colours used
    }
    // 24 bits: the bottom row first, blue-green-red.
    const auto bmp = KitBitmapToBMPImage(&b, 0, -1);
    EXPECT_EQ(std::vector<std::uint8_t>(bmp.begin() + 54, bmp.begin() + 57), (std::vector<std::uint8_t>{255, 0, 0}));
    // A monochrome bitmap takes one bit by itself.
    TBitmap mono;
    Paint3x2(mono);
    mono.SetMonochrome(true);
    EXPECT_EQ(KitBitmapToBMPImage(&mono, 0, 0).size(), 70u);

    TBitmap empty;
    EXPECT_THROW(KitBitmapToBMPImage(&empty, 0, 2), EInvalidGraphic);
    EXPECT_THROW(KitBitmapToBMPImage(nullptr, 0, 2), EInvalidGraphic);
}

TEST(KitBitmapRecord, RoundTrips) {
    TBitmap b;
    Paint3x2(b);
    for (const bool compressed : {false, true}) {
        for (const int colors : {-1, 16, 256}) {
            rtl::TMemoryStream s;
            KitWriteBitmap(s, b, compressed, colors);
            KitWriteInteger(s, 42);
            s.SetPosition(0);
            TBitmap back;
            KitReadBitmap(s, back, compressed);
            ASSERT_EQ(back.Width(), 3);
            ASSERT_EQ(back.Height(), 2);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(back.Canvas()->Pixels(x, y), b.Canvas()->Pixels(x, y))
                        << compressed << " " << colors << " " << x << "," << y;
            EXPECT_EQ(KitReadInteger(s), 42);
        }
    }
    // Two colours: light pixels white, dark ones black.
    rtl::TMemoryStream s;
    KitWriteBitmap(s, b, false, 2);
    s.SetPosition(0);
    TBitmap mono;
    KitReadBitmap(s, mono, false);
    EXPECT_EQ(mono.Canvas()->Pixels(1, 0), clBlack);
    EXPECT_EQ(mono.Canvas()->Pixels(2, 0), clWhite);
    EXPECT_EQ(mono.Canvas()->Pixels(2, 1), clWhite);  // yellow is nearer white

    rtl::TMemoryStream img;
    KitWriteInteger(img, 7);
    KitWriteBitmapImage(img, b, 16);
    EXPECT_EQ(img.Position(), 0);
    EXPECT_EQ(img.Size(), 4 + 126);  // written behind the integer, then back to the start
}
