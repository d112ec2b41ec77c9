// Caption text with effects and the glyph layout. Text is drawn in DejaVu Sans, 11 pixels.
#include <gtest/gtest.h>

#include <memory>

#include "components/base/KitDrawText.h"

using namespace gdi;
using namespace kit;

namespace {

// Two-colour letters, so that the face and each 3D copy can be told by their colours.
std::unique_ptr<TBitmap> Surface(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    TFont* f = b->Canvas()->Font();
    f->SetName("DejaVu Sans");
    f->SetHeight(-11);
    f->SetColor(clBlack);
    f->SetQuality(fqNonAntialiased);
    return b;
}

TFont DejaVu() {
    TFont f;
    f.SetName("DejaVu Sans");
    f.SetHeight(-11);
    f.SetQuality(fqNonAntialiased);
    return f;
}

bool AnyInk(TBitmap& b, TColor c, const TRect& area) {
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (b.Canvas()->Pixels(x, y) == c) return true;
    return false;
}

}  // namespace

TEST(KitAlignRect, PlacesByAlignment) {
    struct Case { TKitAlignment a; TRect out; };
    const Case cases[] = {{agTopLeft, Rect(0, 0, 10, 10)},      {agTopCenter, Rect(45, 0, 55, 10)},
                          {agCenter, Rect(45, 20, 55, 30)},     {agCenterRight, Rect(90, 20, 100, 30)},
                          {agBottomLeft, Rect(0, 40, 10, 50)},  {agBottomRight, Rect(90, 40, 100, 50)}};
    for (const Case& c : cases) {
        TRect r;
        KitAlignRect(c.a, Rect(0, 0, 10, 10), Rect(0, 0, 100, 50), r);
        EXPECT_EQ(r, c.out) << int(c.a);
    }
    TRect r;
    KitAlignRect(agCenter, Rect(0, 0, 5, 5), Rect(10, 10, 18, 18), r);  // (8 - 5) div 2 = 1
    EXPECT_EQ(r, Rect(11, 11, 16, 16));
    EXPECT_EQ(KitDTAlignFlags(agTopLeft), 0u);
    EXPECT_EQ(KitDTAlignFlags(agCenter), DT_CENTER | DT_VCENTER);
    EXPECT_EQ(KitDTAlignFlags(agBottomRight), DT_RIGHT | DT_BOTTOM);
}

TEST(KitMixColor, RoundsHalfToEven) {
    EXPECT_EQ(KitMixColor(clBlack, clWhite, 1, 2), RGB(128, 128, 128));  // 127.5
    EXPECT_EQ(KitMixColor(RGB(0, 0, 1), RGB(0, 0, 2), 1, 2), RGB(0, 0, 2));  // 1.5
    EXPECT_EQ(KitMixColor(RGB(0, 0, 2), RGB(0, 0, 3), 1, 2), RGB(0, 0, 2));  // 2.5
    EXPECT_EQ(KitMixColor(clRed, clBlue, 0, 5), clRed);
    EXPECT_EQ(KitMixColor(clRed, clBlue, 5, 5), clBlue);
    EXPECT_EQ(KitMixColor(clRed, clBlue, 1, 0), clRed);
}

TEST(KitCalcTextRect, MeasuresCaptions) {
    auto b = Surface(4, 4);
    TCanvas& c = *b->Canvas();
    const int space = c.TextWidth(" "), amp = c.TextWidth("&"), lh = c.TextHeight("X");
    TRect r = Rect(5, 5, 5, 5);
    KitCalcTextRectTemp("&", nullptr, r, DejaVu(), false, true, 0, 0);
    EXPECT_EQ(r, Rect(5, 5, 5 + space + 2, 5 + lh + 2));
    r = Rect(0, 0, 0, 0);
    KitCalcTextRectTemp("&", nullptr, r, DejaVu(), false, false, 1, 0);
    EXPECT_EQ(r.Width(), amp + 4);
    r = Rect(0, 0, 0, 0);
    KitCalcTextRectTemp("", nullptr, r, DejaVu(), false, true, 0, 0);
    EXPECT_EQ(r.Width(), space + 2);

    TKit3DCaption sunken;
    sunken.SetStyle(tdSunkenShadow);
    sunken.SetDepth(0, 2);
    sunken.SetDepth(1, 3);
    sunken.SetTracing(2);
    r = Rect(0, 0, 0, 0);
    c.Font()->SetColor(clRed);
    KitCalcTextRect(c, "abc", &sunken, r, DejaVu(), false, true, 0, 0);
    EXPECT_EQ(r.Width(), c.TextWidth("abc") + 6 + 5 + 2);
    EXPECT_EQ(r.Height(), lh + 5 + 2);
    EXPECT_EQ(c.Font()->Color(), clRed);  // the canvas keeps its own font
    EXPECT_EQ(c.TextCharacterExtra(), 0);
}

TEST(KitCalcTextRect, RotatedCaptionSetsItsStart) {
    auto b = Surface(4, 4);
    const TSize ext = b->Canvas()->TextExtent("Feld");
    TKitFxCaption fx;
    fx.SetAngle(90);
    int changes = 0;
    fx.OnChange = [&](rtl::TObject*) { ++changes; };
    TRect r = Rect(7, 7, 7, 7);
    KitCalcTextRectTemp("Feld", &fx, r, DejaVu(), false, true, 0, 0);
    // Turned by 90 degrees: the box is (h div 2) * 2 wide and (w div 2) * 2 high, plus 2.
    EXPECT_EQ(r, Rect(0, 0, ext.cy / 2 * 2 + 2, ext.cx / 2 * 2 + 2));
    // Start: x = cx - (h div 2), y = cy + (w div 2): the bottom-left corner of the box.
    EXPECT_EQ(fx.PosX(), (ext.cy / 2 * 2) / 2 - ext.cy / 2);
    EXPECT_EQ(fx.PosY(), (ext.cx / 2 * 2) / 2 + ext.cx / 2);
    EXPECT_GE(changes, 1);
    // Angle 0 resets the start silently.
    fx.SetAngle(0);
    changes = 0;
    r = Rect(0, 0, 0, 0);
    KitCalcTextRectTemp("Feld", &fx, r, DejaVu(), false, true, 0, 0);
    EXPECT_EQ(fx.PosX(), 0);
    EXPECT_EQ(fx.PosY(), 0);
    EXPECT_EQ(changes, 0);
}

TEST(KitDrawFxText, SunkenLightCopySitsBelowRight) {
    auto plain = Surface(30, 20), sunken = Surface(30, 20);
    const TRect r = Rect(2, 2, 30, 20);
    TKit3DCaption none, c;
    c.SetStyle(tdSunken);
    c.SetLightColor(clRed);
    KitDrawFxText(*plain->Canvas(), "H", &none, r, 0, kftEnabled, nullptr);
    KitDrawFxText(*sunken->Canvas(), "H", &c, r, 0, kftEnabled, nullptr);
    int face = 0, light = 0;
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 29; ++x) {
            if (plain->Canvas()->Pixels(x, y) != clBlack) continue;
            ++face;
            EXPECT_EQ(sunken->Canvas()->Pixels(x, y), clBlack);
            if (plain->Canvas()->Pixels(x + 1, y + 1) != clBlack) {
                EXPECT_EQ(sunken->Canvas()->Pixels(x + 1, y + 1), clRed);
                ++light;
            }
        }
    EXPECT_GT(face, 5);
    EXPECT_GT(light, 2);
    EXPECT_EQ(sunken->Canvas()->Font()->Color(), clBlack);

    // Disabled with ds3d: grey face, sunken.
    auto grey = Surface(30, 20);
    c.SetDisabledStyle(ds3d);
    c.SetStyle(tdNone);
    KitDrawFxText(*grey->Canvas(), "H", &c, r, 0, 0, nullptr);
    EXPECT_TRUE(AnyInk(*grey, ColorToRGB(clGrayText), Rect(0, 0, 30, 20)));
    EXPECT_TRUE(AnyInk(*grey, clRed, Rect(0, 0, 30, 20)));
}

TEST(KitDrawFxText, ExtrudeWithoutDepthIsTheFace) {
    auto plain = Surface(30, 20), extruded = Surface(30, 20);
    TKit3DCaption none, c;
    c.SetStyle(tdExtrudeEnh);
    c.SetShadowDepth(0);
    KitDrawFxText(*plain->Canvas(), "Ag", &none, Rect(1, 1, 30, 20), 0, kftEnabled, nullptr);
    KitDrawFxText(*extruded->Canvas(), "Ag", &c, Rect(1, 1, 30, 20), 0, kftEnabled, nullptr);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(plain->Canvas()->Pixels(x, y), extruded->Canvas()->Pixels(x, y)) << x << "," << y;
    // With depth, the copies reach toward the top-left of the face.
    auto deep = Surface(30, 20);
    c.SetShadowDepth(3);
    c.SetShadowColor(clBlue);
    c.SetLightColor(clBlue);
    KitDrawFxText(*deep->Canvas(), "Ag", &c, Rect(1, 1, 30, 20), 0, kftEnabled, nullptr);
    EXPECT_TRUE(AnyInk(*deep, clBlue, Rect(0, 0, 30, 20)));
}

TEST(KitDrawFxText, ClipsToRectAndRestoresTheFont) {
    const int h = Surface(1, 1)->Canvas()->TextHeight("H");
    TKitFxCaption c;
    c.SetStyle(tdShadow);
    c.SetShadowDepth(4);
    c.SetShadowColor(clBlue);
    for (const bool clip : {false, true}) {
        auto b = Surface(40, h + 10);
        KitDrawFxText(*b->Canvas(), "H_", &c, Rect(0, 0, 40, h), 0, kftEnabled | (clip ? kftClip : 0), nullptr);
        EXPECT_EQ(AnyInk(*b, clBlue, Rect(0, h, 40, h + 10)), !clip);
        EXPECT_FALSE(b->Canvas()->HasClip());
    }
    auto r = Surface(40, 40);
    c.SetAngle(90);
    c.SetPos(0, 30);
    KitDrawFxText(*r->Canvas(), "H", &c, Rect(0, 0, 40, 40), 0, kftEnabled, nullptr);
    EXPECT_EQ(r->Canvas()->Font()->Orientation(), 0);
    EXPECT_TRUE(AnyInk(*r, clBlack, Rect(0, 0, 40, 40)));

    auto outline = Surface(40, 30);
    TKit3DCaption o;
    o.SetStyle(tdOutline);
    o.SetShadowDepth(1);
    outline->Canvas()->Font()->SetHeight(-24);
    KitDrawFxText(*outline->Canvas(), "O", &o, Rect(0, 0, 40, 30), 0, kftEnabled, nullptr);
    const int size = outline->Canvas()->TextWidth("O");
    EXPECT_TRUE(AnyInk(*outline, clBlack, Rect(0, 0, 40, 30)));
    EXPECT_EQ(outline->Canvas()->Pixels(size / 2, 15), clWhite);  // the O's inside stays open
}

TEST(KitDrawGlyphText, GlyphAloneIsPlacedByAlignment) {
    TBitmap glyph(4, 4);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    auto b = Surface(20, 10);
    TKitButtonLayout layout;  // agCenter
    TRect gr = Rect(0, 0, 4, 4);
    TKitGlyphTextRects rects;
    KitDrawGlyphText(*b->Canvas(), "", nullptr, Rect(0, 0, 20, 10), glyph.Canvas(), gr, nullptr,
                     clNone, layout, false, true, false, kgtReturnGlyph | kftEnabled, 0, rects);
    EXPECT_EQ(rects.Glyph, Rect(8, 3, 12, 7));
    EXPECT_EQ(gr, Rect(8, 3, 12, 7));
    EXPECT_EQ(rects.Total, Rect(8, 3, 12, 7));
    EXPECT_EQ(b->Canvas()->Pixels(8, 3), clRed);
    EXPECT_EQ(b->Canvas()->Pixels(7, 3), clWhite);
    EXPECT_EQ(b->Canvas()->Pixels(11, 6), clRed);
}

TEST(KitDrawGlyphText, MeasureOnlyReturnsTheBlock) {
    TBitmap glyph(6, 6);
    auto b = Surface(100, 40);
    const TSize ext = b->Canvas()->TextExtent("Ok");
    TKitGlyphTextLayout layout;  // agTopLeft, taRight: glyph, gap 2, text
    TRect gr = Rect(0, 0, 6, 6);
    TKitGlyphTextRects rects;
    KitDrawGlyphText(*b->Canvas(), "Ok", nullptr, Rect(10, 10, 100, 40), glyph.Canvas(), gr, nullptr,
                     clNone, layout, false, true, false, kgtMeasureOnly, 0, rects);
    const int tw = ext.cx + 2, th = ext.cy + 2;  // measured with the margin of 2
    const int mh = std::max(th, 6);
    EXPECT_EQ(rects.Glyph, Rect(10, 10 + (mh - 6) / 2, 16, 10 + (mh - 6) / 2 + 6));
    EXPECT_EQ(rects.Text, Bounds(10 + 6 + 2 + 1, 10 + (mh - th) / 2 + 1, tw, th));
    TRect total = rects.Total;
    InflateRect(total, 1, 1);
    EXPECT_EQ(gr, total);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(b->Canvas()->Pixels(x, y), clWhite);
}
