// Pixel routines on 24-bit bitmaps and the bitmap-effect object that runs them.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "components/base/kitbmp.h"

using namespace gdi;
using namespace kit;

namespace {

// A w x h bitmap whose pixel (x, y) has the colour f(x, y).
template <class F>
std::unique_ptr<TBitmap> Make(int w, int h, F f) {
    auto b = std::make_unique<TBitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->Canvas()->SetPixels(x, y, f(x, y));
    return b;
}

std::unique_ptr<TBitmap> Solid(int w, int h, TColor c) {
    return Make(w, h, [c](int, int) { return c; });
}

// Distinct colours: x in red, y in green.
std::unique_ptr<TBitmap> Numbered(int w, int h) {
    return Make(w, h, [](int x, int y) { return RGB(x + 1, y + 1, 7); });
}

TColor Px(TBitmap& b, int x, int y) { return b.Canvas()->Pixels(x, y); }

// The pixels of a bitmap as a vector, row by row.
std::vector<TColor> Pixels(TBitmap& b) {
    std::vector<TColor> v;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) v.push_back(Px(b, x, y));
    return v;
}

}  // namespace

TEST(KitBmp, GrayValues) {
    struct Case {
        TColor in;
        int grey;
    } cases[] = {
        {RGB(255, 255, 255), 254}, {RGB(5, 5, 5), 6},       {RGB(255, 0, 0), 76},
        {RGB(0, 255, 0), 150},     {RGB(0, 0, 255), 28},    {RGB(95, 0, 0), 29},
        {RGB(175, 0, 0), 53},      {RGB(195, 0, 0), 59},    {RGB(15, 0, 0), 4},
        {RGB(0, 50, 0), 29},       {RGB(0, 150, 0), 88},    {RGB(0, 0, 50), 6},
        {RGB(0, 0, 150), 16},      {RGB(0, 0, 0), 0},
    };
    const int n = static_cast<int>(std::size(cases));
    auto b = Make(n, 1, [&](int x, int) { return cases[x].in; });
    KitBmpGrayScale(*b, Rect(0, 0, n, 1), *b, Point(0, 0));
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(Px(*b, i, 0), RGB(cases[i].grey, cases[i].grey, cases[i].grey)) << i;
}

TEST(KitBmp, ByteOperations) {
    auto b = Make(4, 1, [](int x, int) {
        const TColor c[] = {RGB(200, 50, 0), RGB(255, 100, 1), RGB(10, 0, 254), RGB(128, 127, 60)};
        return c[x];
    });
    auto bright = std::make_unique<TBitmap>(4, 1);
    KitBmpBrightness(*b, Rect(0, 0, 4, 1), *bright, Point(0, 0), 100);
    EXPECT_EQ(Pixels(*bright), (std::vector<TColor>{RGB(255, 150, 100), RGB(255, 200, 101),
                                                    RGB(110, 100, 255), RGB(228, 227, 160)}));
    KitBmpBrightness(*b, Rect(0, 0, 4, 1), *bright, Point(0, 0), -100);
    EXPECT_EQ(Pixels(*bright), (std::vector<TColor>{RGB(100, 0, 0), RGB(155, 0, 0), RGB(0, 0, 154),
                                                    RGB(28, 27, 0)}));
    KitBmpBrightness(*b, Rect(0, 0, 4, 1), *bright, Point(0, 0), 0);
    EXPECT_EQ(Pixels(*bright), Pixels(*b));

    KitBmpInvert(*b, Rect(0, 0, 4, 1), *b, Point(0, 0));
    EXPECT_EQ(Pixels(*b), (std::vector<TColor>{RGB(55, 205, 255), RGB(0, 155, 254), RGB(245, 255, 1),
                                               RGB(127, 128, 195)}));
}

TEST(KitBmp, MirrorAndRowReversal) {
    for (int w : {4, 3, 1}) {
        SCOPED_TRACE(w);
        auto b = Numbered(w, 3);
        auto orig = Pixels(*b);
        KitBmpMirrorRows(*b, Rect(0, 0, w, 3), *b, Point(0, 0));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < w; ++x) EXPECT_EQ(Px(*b, x, y), RGB(w - x, y + 1, 7));
        KitBmpMirrorRows(*b, Rect(0, 0, w, 3), *b, Point(0, 0));
        EXPECT_EQ(Pixels(*b), orig);
    }
    for (int h : {4, 3}) {
        SCOPED_TRACE(h);
        auto b = Numbered(2, h);
        auto orig = Pixels(*b);
        KitBmpReverseRows(*b, Rect(0, 0, 2, h), *b, Point(0, 0));
        for (int y = 0; y < h; ++y) EXPECT_EQ(Px(*b, 1, y), RGB(2, h - y, 7));
        KitBmpReverseRows(*b, Rect(0, 0, 2, h), *b, Point(0, 0));
        EXPECT_EQ(Pixels(*b), orig);
    }
}

TEST(KitBmp, OddMirrorToAnotherBitmapKeepsTheMiddleColumn) {
    auto src = Numbered(3, 2);
    auto dst = Solid(3, 2, clBlack);
    KitBmpMirrorRows(*src, Rect(0, 0, 3, 2), *dst, Point(0, 0));
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(Px(*dst, 0, y), RGB(3, y + 1, 7));
        EXPECT_EQ(Px(*dst, 1, y), RGB(2, y + 1, 7));  // not left black
        EXPECT_EQ(Px(*dst, 2, y), RGB(1, y + 1, 7));
    }
}

TEST(KitBmp, RectanglesAndOriginsPlaceTheOutput) {
    // Rectangle (1, 1)-(3, 3) of a 4 x 4 picture to (5, 0) of an 8 x 4 target.
    auto src = Numbered(4, 4);
    auto dst = Solid(8, 4, clBlack);
    KitBmpReverseRows(*src, Rect(1, 1, 3, 3), *dst, Point(5, 0));
    EXPECT_EQ(Px(*dst, 5, 0), RGB(2, 3, 7));
    EXPECT_EQ(Px(*dst, 6, 1), RGB(3, 2, 7));
    EXPECT_EQ(Px(*dst, 4, 0), clBlack);
    EXPECT_EQ(Px(*dst, 7, 0), clBlack);
    EXPECT_EQ(Px(*dst, 5, 2), clBlack);

    // An empty rectangle does nothing.
    auto before = Pixels(*dst);
    KitBmpInvert(*src, Rect(2, 2, 2, 4), *dst, Point(0, 0));
    KitBmpMirrorRows(*src, Rect(3, 1, 1, 2), *dst, Point(0, 0));
    EXPECT_EQ(Pixels(*dst), before);
}

TEST(KitBmp, EveryRoutineClipsToTheBitmaps) {
    // Rectangles and origins reaching past every edge: only the overlapping part is touched
    // (a fault here writes outside the pixel rows and shows under the sanitizers).
    auto src = Numbered(5, 5);
    for (TPoint origin : {Point(-3, -2), Point(3, 4), Point(1000, 0), Point(-100000, 2)}) {
        auto dst = Solid(5, 5, clBlack);
        const TRect r = Rect(-2, -1, 7, 9);
        KitBmpGrayScale(*src, r, *dst, origin);
        KitBmpMirrorRows(*src, r, *dst, origin);
        KitBmpReverseRows(*src, r, *dst, origin);
        KitBmpInvert(*src, r, *dst, origin);
        KitBmpBrightness(*src, r, *dst, origin, 9);
        KitBmpBlend(*src, *src, r, origin, *dst, 0.5f, origin);
        KitBmpMirrorRows(*dst, Rect(-4, 3, 100, 100), *dst, Point(-4, 3));
    }
    // The visible part keeps its offsets: source (0, 0) is offset (2, 1) of the rectangle.
    auto dst = Solid(5, 5, clBlack);
    KitBmpInvert(*src, Rect(-2, -1, 2, 2), *dst, Point(1, 1));
    EXPECT_EQ(Px(*dst, 3, 2), RGB(254, 254, 248));
    EXPECT_EQ(Px(*dst, 4, 3), RGB(253, 253, 248));
    EXPECT_EQ(Px(*dst, 2, 2), clBlack);
    EXPECT_EQ(Px(*dst, 3, 1), clBlack);
    EXPECT_EQ(Px(*dst, 4, 4), clBlack);
}

TEST(KitBmp, OverlappingInputAndOutput) {
    // Shifted by one row and column inside the same bitmap: every output pixel is the input's.
    auto b = Numbered(4, 4);
    KitBmpBrightness(*b, Rect(0, 0, 3, 3), *b, Point(1, 1), 0);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x) EXPECT_EQ(Px(*b, x, y), RGB(x, y, 7));
    auto c = Numbered(4, 4);
    KitBmpReverseRows(*c, Rect(0, 1, 4, 4), *c, Point(0, 0));
    EXPECT_EQ(Px(*c, 0, 0), RGB(1, 4, 7));
    EXPECT_EQ(Px(*c, 0, 1), RGB(1, 3, 7));
    EXPECT_EQ(Px(*c, 0, 2), RGB(1, 2, 7));
}

TEST(KitBmp, Blend) {
    auto a = Solid(2, 1, RGB(200, 0, 255));
    auto b = Solid(2, 1, RGB(100, 255, 0));
    auto t = Solid(2, 1, clBlack);
    struct Case {
        float strength;
        TColor result;
    } cases[] = {
        {1.0f, RGB(200, 0, 255)}, {0.0f, RGB(100, 255, 0)}, {0.6f, RGB(160, 102, 153)},
        {0.5f, RGB(150, 127, 128)},  // -127.5 and 127.5 both to the even neighbour
        {2.0f, RGB(44, 1, 254)},     // outside 0..1: the low 8 bits (300, -255, 510)
        {1e30f, RGB(100, 255, 0)},   // every product a multiple of 256
        {std::numeric_limits<float>::quiet_NaN(), RGB(100, 255, 0)},
    };
    for (const Case& k : cases) {
        KitBmpBlend(*a, *b, Rect(0, 0, 2, 1), Point(0, 0), *t, k.strength, Point(0, 0));
        EXPECT_EQ(Px(*t, 1, 0), k.result) << k.strength;
    }
}

TEST(KitBmp, BlendChecksEveryBitmapFirst) {
    auto good = Solid(2, 2, clRed);
    auto other = Solid(2, 2, clBlue);
    auto bad = Solid(2, 2, clLime);
    bad->SetPixelFormat(pf8bit);
    struct Case {
        TBitmap *s1, *s2, *t;
        const char* message;
    } cases[] = {
        {bad.get(), good.get(), other.get(), "Wrong PixelFormat in Source 1 bitmap!"},
        {good.get(), bad.get(), other.get(), "Wrong PixelFormat in Source 2 bitmap!"},
        {good.get(), other.get(), bad.get(), "Wrong PixelFormat in Target bitmap!"},
    };
    for (const Case& k : cases) {
        auto before = Pixels(*k.t);
        try {
            KitBmpBlend(*k.s1, *k.s2, Rect(0, 0, 2, 2), Point(0, 0), *k.t, 0.5f, Point(0, 0));
            ADD_FAILURE() << "no error for " << k.message;
        } catch (const EKitWrongPixelFormat& e) {
            EXPECT_EQ(e.Message, k.message);
        }
        EXPECT_EQ(Pixels(*k.t), before);
    }
    EXPECT_TRUE(KitCheckPixelFormat24(*good, "Target"));
}

TEST(KitBitmapEffectObject, Defaults) {
    TKitBitmapEffectObject fx;
    EXPECT_FALSE(fx.IsActive());
    EXPECT_EQ(fx.Buffer(), nullptr);
    EXPECT_EQ(fx.Brightness(), 0);
    EXPECT_EQ(fx.AlphaBlend()->FillObject()->Style(), sfNone);
    std::string s;
    fx.GetSummary(s);
    EXPECT_EQ(s, "{Disabled}");

    fx.SetBuffered(true);
    EXPECT_FALSE(fx.IsActive());
    ASSERT_NE(fx.Buffer(), nullptr);
    fx.SetBuffered(false);
    EXPECT_EQ(fx.Buffer(), nullptr);

    fx.SetFlipHorizontal(true);
    fx.SetBrightness(10);
    fx.GetSummary(s);
    EXPECT_EQ(s, "{FH,B}");
    fx.AlphaBlend()->FillObject()->SetStyle(sfGradient);
    fx.SetGrayScale(true);
    fx.SetInvert(true);
    fx.SetFlipVertical(true);
    fx.GetSummary(s);
    EXPECT_EQ(s, "{alpha,FV,FH,GS,INV,B}");
}

TEST(KitBitmapEffectObject, ApplyRunsTheEffectsInOrder) {
    // Source rectangle (1, 1)-(4, 3) of a numbered picture, mirrored, upside down, inverted,
    // then darkened by 5.
    auto src = Numbered(6, 5);
    auto dest = Solid(3, 2, clBlack);
    TKitBitmapEffectObject fx;
    fx.SetFlipVertical(true);
    fx.SetFlipHorizontal(true);
    fx.SetInvert(true);
    fx.SetBrightness(-5);
    fx.Apply(*src, Rect(1, 1, 4, 3), *dest, Rect(0, 0, 3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const int r = 4 - x, g = 3 - y;  // source pixel (3 - x, 2 - y)
            EXPECT_EQ(Px(*dest, x, y), RGB(255 - r - 5, 255 - g - 5, 255 - 7 - 5)) << x << "," << y;
        }

    // Grey comes after the flips and before invert.
    auto grey = Solid(1, 1, clBlack);
    TKitBitmapEffectObject g;
    g.SetGrayScale(true);
    g.SetInvert(true);
    auto white = Solid(1, 1, clWhite);
    g.Apply(*white, Rect(0, 0, 1, 1), *grey, Rect(0, 0, 1, 1));
    EXPECT_EQ(Px(*grey, 0, 0), RGB(1, 1, 1));
}

TEST(KitBitmapEffectObject, AlphaBlendWithTheFill) {
    auto src = Solid(4, 3, RGB(200, 200, 200));
    auto dest = Solid(4, 3, clBlack);
    TKitBitmapEffectObject fx;
    fx.AlphaBlend()->FillObject()->SetStyle(sfBrush);
    fx.AlphaBlend()->FillObject()->Brush()->SetColor(RGB(100, 0, 100));
    EXPECT_TRUE(fx.IsActive());
    fx.Apply(*src, Rect(0, 0, 4, 3), *dest, Rect(0, 0, 4, 3));
    EXPECT_EQ(Px(*dest, 3, 2), RGB(160, 120, 160));  // 0.6 picture, 0.4 fill

    // A gradient at strength 1 is not active, but Apply still blends: the picture stays.
    fx.AlphaBlend()->FillObject()->SetStyle(sfGradient);
    fx.AlphaBlend()->SetStrength(1.0f);
    EXPECT_FALSE(fx.IsActive());
    auto pic = Numbered(4, 3);
    fx.Apply(*pic, Rect(0, 0, 4, 3), *dest, Rect(0, 0, 4, 3));
    EXPECT_EQ(Pixels(*dest), Pixels(*pic));

    // A destination in another format: the blend refuses it, the effects before it stay.
    auto wrong = Solid(4, 3, clBlack);
    wrong->SetPixelFormat(pf32bit);
    fx.SetInvert(true);
    fx.SetBuffered(true);
    EXPECT_THROW(fx.Apply(*src, Rect(0, 0, 4, 3), *wrong, Rect(0, 0, 4, 3)), EKitWrongPixelFormat);
    EXPECT_EQ(Px(*wrong, 0, 0), RGB(55, 55, 55));
    EXPECT_FALSE(fx.BufferValid);
}

TEST(KitBitmapEffectObject, BufferIsReusedUntilAChange) {
    TKitBitmapEffectObject fx;
    int changes = 0;
    fx.OnChange = [&changes](rtl::TObject*) { ++changes; };
    fx.SetBuffered(true);
    fx.SetBrightness(50);
    EXPECT_EQ(changes, 2);

    auto src = Solid(3, 3, RGB(10, 10, 10));
    auto dest = Solid(3, 3, clBlack);
    fx.Apply(*src, Rect(0, 0, 3, 3), *dest, Rect(0, 0, 3, 3));
    EXPECT_TRUE(fx.BufferValid);
    EXPECT_EQ(Px(*fx.Buffer(), 2, 2), RGB(60, 60, 60));

    // Valid: source and rectangles are ignored, the buffer is drawn.
    auto other = Solid(3, 3, clWhite);
    auto dest2 = Solid(3, 3, clBlack);
    fx.Apply(*other, Rect(0, 0, 3, 3), *dest2, Rect(0, 0, 3, 3));
    EXPECT_EQ(Px(*dest2, 1, 1), RGB(60, 60, 60));

    // A setter invalidates; applying again recomputes.
    fx.SetBrightness(-10);
    EXPECT_FALSE(fx.BufferValid);
    fx.Apply(*other, Rect(0, 0, 3, 3), *dest2, Rect(0, 0, 3, 3));
    EXPECT_EQ(Px(*dest2, 1, 1), RGB(245, 245, 245));
    EXPECT_TRUE(fx.BufferValid);

    // So does a change deep inside the alpha object.
    fx.AlphaBlend()->FillObject()->Gradient()->SetEndColor(clRed);
    EXPECT_FALSE(fx.BufferValid);
    fx.Apply(*other, Rect(0, 0, 3, 3), *dest2, Rect(0, 0, 3, 3));
    fx.Invalidate();
    EXPECT_FALSE(fx.BufferValid);
}

TEST(KitBitmapEffectObject, Assign) {
    TKitBitmapEffectObject src;
    src.SetFlipVertical(true);
    src.SetGrayScale(true);
    src.SetBrightness(-20);
    src.SetBuffered(true);
    src.AlphaBlend()->SetStrength(0.25f);
    src.AlphaBlend()->FillObject()->SetStyle(sfBrush);

    TKitBitmapEffectObject dst;
    dst.SetInvert(true);
    dst.Assign(&src);
    EXPECT_TRUE(dst.FlipVertical());
    EXPECT_FALSE(dst.FlipHorizontal());
    EXPECT_TRUE(dst.GrayScale());
    EXPECT_FALSE(dst.Invert());
    EXPECT_EQ(dst.Brightness(), -20);
    EXPECT_TRUE(dst.Buffered());
    EXPECT_NE(dst.Buffer(), nullptr);
    EXPECT_FLOAT_EQ(dst.AlphaBlend()->Strength(), 0.25f);
    EXPECT_EQ(dst.AlphaBlend()->FillObject()->Style(), sfBrush);

    TKitBitmapEffectObject plain;
    EXPECT_THROW(plain.Assign(static_cast<const rtl::TPersistent*>(src.AlphaBlend())),
                 rtl::EConvertError);
}
