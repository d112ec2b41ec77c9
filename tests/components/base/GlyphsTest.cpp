// Glyphs: slice count from the source's shape, state images built once into shared masked
// strips, the cache's lifetime, and drawing through the glyph-text layout.
#include <gtest/gtest.h>

#include <memory>

#include "components/base/KitCaptions.h"
#include "components/base/KitGlyphs.h"

using namespace gdi;
using namespace kit;

namespace {

// A strip of solid slices (size x size each) in the given colours; the top-left and bottom-left
// pixels of every slice are white (the source's transparent colour and the ground of the grey
// shades).
std::unique_ptr<TBitmap> Slices(std::initializer_list<TColor> colors, int size = 16) {
    auto b = std::make_unique<TBitmap>(static_cast<int>(colors.size()) * size, size);
    int i = 0;
    for (TColor c : colors) {
        b->Canvas()->Brush()->SetColor(c);
        b->Canvas()->FillRect(Rect(i * size, 0, (i + 1) * size, size));
        b->Canvas()->SetPixels(i * size, size - 1, clWhite);
        b->Canvas()->SetPixels(i * size, 0, clWhite);
        ++i;
    }
    return b;
}

std::unique_ptr<TBitmap> Blank(int w, int h) { return std::make_unique<TBitmap>(w, h); }

// Pixel (x, y) of image index in the glyph's strip.
TColor StripPixel(TKitGlyph& g, int index, int x, int y) {
    TRect r;
    g.GlyphList()->GetImageRect(index, r);
    return g.GlyphList()->Strip().Canvas()->Pixels(r.Left + x, r.Top + y);
}
TColor MaskPixel(TKitGlyph& g, int index, int x, int y) {
    TRect r;
    g.GlyphList()->GetImageRect(index, r);
    return g.GlyphList()->MaskBitmap().Canvas()->Pixels(r.Left + x, r.Top + y);
}

class Glyphs : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(KitGlyphCache, nullptr); }
    void TearDown() override { EXPECT_EQ(KitGlyphCache, nullptr) << "a glyph list outlived its glyphs"; }
};

}  // namespace

TEST_F(Glyphs, SliceCountFromTheSourceShape) {
    struct Case { int w, h, before, after; };
    const Case cases[] = {
        {64, 16, 1, 4}, {80, 16, 2, 5}, {16, 16, 3, 1},
        {96, 16, 3, 1},  // six slices are refused
        {40, 16, 3, 3},  // not whole slices: unchanged
        {0, 16, 3, 3},   // no width: unchanged
        {16, 0, 3, 3},   // no height: unchanged
    };
    for (const Case& c : cases) {
        TKitGlyph g;
        g.SetNumGlyphs(static_cast<std::uint8_t>(c.before));
        g.SetGlyph(Blank(c.w, c.h).get());
        EXPECT_EQ(g.NumGlyphs(), c.after) << c.w << "x" << c.h;
    }
    TKitGlyph g;
    g.SetNumGlyphs(0);  // ignored
    EXPECT_EQ(g.NumGlyphs(), 1);
}

TEST_F(Glyphs, StateImagesComeFromTheirSlicesMasked) {
    TKitGlyph g;
    g.SetGlyph(Slices({clRed, clLime, clBlue, clYellow}).get());
    ASSERT_EQ(g.NumGlyphs(), 4);
    EXPECT_EQ(g.TransparentColor(), clWhite);
    const TColor expected[] = {clRed, clLime, clBlue, clYellow};
    for (int state = 0; state < 4; ++state) {
        const int i = g.GetStateIndex(state);
        ASSERT_GE(i, 0);
        EXPECT_EQ(StripPixel(g, i, 5, 5), expected[state]) << state;
        EXPECT_EQ(MaskPixel(g, i, 5, 5), clBlack);
        // The transparent corner: black in the image, white in the mask.
        EXPECT_EQ(StripPixel(g, i, 0, 15), clBlack);
        EXPECT_EQ(MaskPixel(g, i, 0, 15), clWhite);
    }
    EXPECT_EQ(g.GetStateIndex(7), g.GetStateIndex(1));  // 7 is the disabled look
    EXPECT_EQ(g.GetStateIndex(5), g.GetStateIndex(0));  // beyond the slices: the up image
    EXPECT_EQ(g.GlyphList()->Used(), 4);
}

TEST_F(Glyphs, MissingSlicesAndTheUncolouredUpImage) {
    TKitGlyph g;
    g.SetGlyph(Slices({clRed}).get());
    const int up = g.GetStateIndex(0);
    EXPECT_EQ(g.GetStateIndex(2), up);  // down maps to up
    EXPECT_EQ(g.GetStateIndex(6), up);
    // Disabled is built even without its slice: the embossed look, not the red slice.
    const int disabled = g.GetStateIndex(1);
    ASSERT_GE(disabled, 0);
    EXPECT_NE(disabled, up);
    EXPECT_NE(StripPixel(g, disabled, 5, 5), clRed);
    EXPECT_EQ(g.GlyphList()->Used(), 2);

    g.SetUncoloredUp(true);
    EXPECT_EQ(g.GlyphList(), nullptr);  // images dropped
    const int grey = g.GetStateIndex(0);
    const int down = g.GetStateIndex(2);
    ASSERT_GE(grey, 0);
    ASSERT_GE(down, 0);
    EXPECT_NE(grey, down);
    EXPECT_EQ(StripPixel(g, down, 5, 5), clRed);  // a coloured copy of slice 0
    EXPECT_EQ(StripPixel(g, grey, 5, 5), clGray);  // the uncoloured version: a grey shade
    EXPECT_EQ(g.GetStateIndex(3), down);
    // 6 maps to 4, a slot of its own; 5 and 8 map to 2.
    EXPECT_NE(g.GetStateIndex(6), down);
    EXPECT_EQ(g.GetStateIndex(5), down);
    EXPECT_EQ(g.GetStateIndex(8), down);
}

TEST_F(Glyphs, EachImageIsBuiltOnce) {
    TKitGlyph g;
    g.SetGlyph(Slices({clRed, clBlue}).get());
    const int first = g.GetStateIndex(1);
    EXPECT_EQ(g.GetStateIndex(1), first);
    EXPECT_EQ(g.GetStateIndex(7), first);
    EXPECT_EQ(g.GlyphList()->Used(), 1);
    EXPECT_EQ(g.GlyphList()->GetCount(), 1);
}

TEST_F(Glyphs, GlyphsOfOneSizeShareAListThatGoesWithTheLast) {
    auto a = std::make_unique<TKitGlyph>();
    auto b = std::make_unique<TKitGlyph>();
    auto c = std::make_unique<TKitGlyph>();
    a->SetGlyph(Slices({clRed}).get());
    b->SetGlyph(Slices({clBlue, clLime}).get());
    c->SetGlyph(Slices({clRed}, 8).get());
    a->GetStateIndex(0);
    b->GetStateIndex(0);
    b->GetStateIndex(1);
    c->GetStateIndex(0);
    ASSERT_NE(KitGlyphCache, nullptr);
    EXPECT_EQ(a->GlyphList(), b->GlyphList());
    EXPECT_NE(a->GlyphList(), c->GlyphList());
    EXPECT_EQ(KitGlyphCache->Count(), 2);
    EXPECT_EQ(a->GlyphList()->Used(), 3);

    c.reset();
    EXPECT_EQ(KitGlyphCache->Count(), 1);  // the 8 x 8 list went with its only glyph
    a.reset();
    EXPECT_EQ(b->GlyphList()->Used(), 2);
    EXPECT_EQ(KitGlyphCache->Count(), 1);
    b.reset();
    EXPECT_EQ(KitGlyphCache, nullptr);
}

TEST_F(Glyphs, FreedSlotsAreReusedAndTheStripGrowsByFourImages) {
    TKitGlyphList list(16, 16);
    EXPECT_TRUE(list.Masked());
    auto red = Slices({clRed});
    EXPECT_EQ(list.AddGlyph(*red, clWhite), 0);
    EXPECT_EQ(list.Strip().Width(), 64);
    EXPECT_EQ(list.AddGlyph(*red, clWhite), 1);
    list.Delete(0);
    list.Delete(0);  // a free slot stays free
    EXPECT_EQ(list.Used(), 1);
    EXPECT_EQ(list.AddGlyph(*red, clWhite), 0);
    for (int i = 2; i < 5; ++i) EXPECT_EQ(list.AddGlyph(*red, clWhite), i);
    EXPECT_EQ(list.Strip().Width(), 128);
    EXPECT_EQ(list.Used(), 5);
    auto wrong = Blank(20, 16);
    EXPECT_THROW(list.AddGlyph(*wrong, clWhite), EInvalidGraphicOperation);
    EXPECT_THROW(TKitGlyphList(0, 16), EInvalidGraphicOperation);
}

TEST_F(Glyphs, NoImageWithoutPixelsOrWithSlicesNarrowerThanOnePixel) {
    TKitGlyph empty;
    for (int state = 0; state <= 8; ++state) EXPECT_EQ(empty.GetStateIndex(state), -1);
    EXPECT_EQ(empty.GetStateIndex(9), -1);
    EXPECT_EQ(empty.GetStateIndex(-1), -1);

    TKitGlyph narrow;
    narrow.SetGlyph(Blank(3, 16).get());
    narrow.SetNumGlyphs(5);
    for (int state = 0; state <= 8; ++state) EXPECT_EQ(narrow.GetStateIndex(state), -1);
    EXPECT_EQ(narrow.GlyphList(), nullptr);

    // States beyond the nine are no image, also with a large slice count.
    TKitGlyph many;
    many.SetGlyph(Blank(160, 16).get());
    many.SetNumGlyphs(10);
    EXPECT_EQ(many.GetStateIndex(9), -1);
    EXPECT_GE(many.GetStateIndex(8), 0);
}

TEST_F(Glyphs, ChangingTheSourceDropsTheImagesAndNotifies) {
    TKitGlyph g;
    int changes = 0;
    g.OnChange = [&](rtl::TObject* sender) {
        EXPECT_EQ(sender, &g);
        ++changes;
    };
    g.SetGlyph(Slices({clRed}).get());
    EXPECT_GE(changes, 1);
    g.GetStateIndex(0);
    ASSERT_NE(g.GlyphList(), nullptr);
    changes = 0;
    g.Glyph()->SetSize(32, 16);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(g.GlyphList(), nullptr);
    // The new source is used: its right half is the white fill of the enlargement.
    g.SetNumGlyphs(2);
    const int i = g.GetStateIndex(1);
    EXPECT_EQ(StripPixel(g, i, 5, 5), clBlack);  // white is transparent: black in the image
    EXPECT_EQ(MaskPixel(g, i, 5, 5), clWhite);
}

TEST_F(Glyphs, DrawPutsTheMaskedImageOrOnlyTheText) {
    TKitGlyphTextLayout layout;  // top-left, text right of the glyph
    TKitGlyph g;
    g.SetGlyph(Slices({clRed, clBlue}).get());
    TBitmap canvas(40, 20);
    canvas.Canvas()->Brush()->SetColor(clLime);
    canvas.Canvas()->FillRect(Rect(0, 0, 40, 20));
    g.Draw(*canvas.Canvas(), "", nullptr, Rect(0, 0, 40, 20), 1, layout, 0, 0, 0);
    EXPECT_EQ(canvas.Canvas()->Pixels(5, 5), clBlue);    // slice 1 for state 1
    EXPECT_EQ(canvas.Canvas()->Pixels(0, 15), clLime);   // transparent pixel
    EXPECT_EQ(canvas.Canvas()->Pixels(20, 5), clLime);   // beside the glyph

    TKitGlyph empty;
    TBitmap text(60, 20);
    text.Canvas()->Brush()->SetColor(clWhite);
    text.Canvas()->FillRect(Rect(0, 0, 60, 20));
    text.Canvas()->Font()->SetColor(clBlack);
    empty.Draw(*text.Canvas(), "Wg", nullptr, Rect(0, 0, 60, 20), 0, layout, 0, 0, 0);
    int dark = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) dark += GetRValue(text.Canvas()->Pixels(x, y)) < 128;  // mostly black
    EXPECT_GT(dark, 5);  // the caption was drawn
}

TEST(KitButtonBorderWidth, ByStyle) {
    struct Case { TKitUserButtonStyle style; int width; };
    for (Case c : {Case{ubsAutoDetect, 2}, {ubsWin31, 3}, {ubsWin40, 2}, {ubsDelphi, 2},
                   {ubsDelphiFlat, 2}, {ubsNavigator, 2}, {ubsIntegrated, 2}, {ubsFlat, 1},
                   {ubsFlatUnColored, 1}, {ubsExplorer, 1}, {ubsExplorerColored, 1},
                   {ubsWinXP, 1}, {ubsWinXPCombo, 1}, {ubsWinXPTool, 1}})
        EXPECT_EQ(KitButtonBorderWidth(c.style), c.width) << int(c.style);
}
