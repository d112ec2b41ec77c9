// Formatted text: measuring, prefixes, lines, wrapping, tabs, ellipses, alignment, character
// extra and baseline output. The font is named: DejaVu Sans, 11 pixels.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "platform/gdi/Drawing.h"
#include "tests/gdi/Helpers.h"

using namespace gdi;

namespace {

std::unique_ptr<TBitmap> Surface(int w, int h) {
    auto b = test::White(w, h);
    TFont* f = b->Canvas()->Font();
    f->SetName("DejaVu Sans");
    f->SetHeight(-11);
    f->SetColor(clBlack);
    b->Canvas()->Brush()->SetStyle(bsClear);
    return b;
}

TRect Calc(TCanvas& c, const std::string& s, unsigned format, int width = 0) {
    TRect r = Rect(3, 4, 3 + width, 4);
    DrawText(c, s, r, format | DT_CALCRECT);
    return r;
}

// Columns that hold a non-white pixel: first and last (-1 when none).
std::pair<int, int> InkColumns(TBitmap& b) {
    int first = -1, last = -1;
    for (int x = 0; x < b.Width(); ++x)
        for (int y = 0; y < b.Height(); ++y)
            if (b.Canvas()->Pixels(x, y) != clWhite) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

}  // namespace

TEST(DrawText, MeasuresLinesPrefixesAndTabs) {
    auto b = Surface(10, 10);
    TCanvas& c = *b->Canvas();
    const int lh = c.TextHeight("Xg");
    EXPECT_EQ(Calc(c, "Hello", DT_SINGLELINE), Rect(3, 4, 3 + c.TextWidth("Hello"), 4 + lh));
    EXPECT_EQ(Calc(c, "&Datei", 0).Width(), c.TextWidth("Datei"));
    EXPECT_EQ(Calc(c, "&Datei", DT_NOPREFIX).Width(), c.TextWidth("&Datei"));
    EXPECT_EQ(Calc(c, "A&&B", 0).Width(), c.TextWidth("A&B"));
    EXPECT_EQ(Calc(c, "AB&", 0).Width(), c.TextWidth("AB"));
    const TRect two = Calc(c, "a\r\nbbbb\nc", 0);
    EXPECT_EQ(two.Height(), 3 * lh);
    EXPECT_EQ(two.Width(), c.TextWidth("bbbb"));
    EXPECT_EQ(Calc(c, "a\r\nbbbb", DT_SINGLELINE).Height(), lh);

    const int tab = 8 * QFontMetrics(FontToQFont(*c.Font())).averageCharWidth();
    EXPECT_EQ(Calc(c, "a\tb", DT_EXPANDTABS).Width(), tab + c.TextWidth("b"));
    EXPECT_EQ(Calc(c, "a\t\tb", DT_EXPANDTABS).Width(), 2 * tab + c.TextWidth("b"));

    const int w = c.TextWidth("Feld Feld");
    const TRect wrapped = Calc(c, "Feld Feld Feld", DT_WORDBREAK, w);
    EXPECT_EQ(wrapped.Height(), 2 * lh);
    EXPECT_EQ(wrapped.Width(), w);
    EXPECT_EQ(Calc(c, "Antennenfeld", DT_WORDBREAK, 5).Width(), c.TextWidth("Antennenfeld"));
}

TEST(DrawText, EllipsesFitTheWidth) {
    auto b = Surface(10, 10);
    TCanvas& c = *b->Canvas();
    const int w = c.TextWidth("abcd...");
    EXPECT_EQ(Calc(c, "abcdefghijkl", DT_SINGLELINE | DT_END_ELLIPSIS, w).Width(), w);
    EXPECT_EQ(Calc(c, "abc", DT_SINGLELINE | DT_END_ELLIPSIS, w).Width(), c.TextWidth("abc"));
    const int pw = c.TextWidth("/ho.../datei.txt");
    EXPECT_EQ(Calc(c, "/home/felder/datei.txt", DT_SINGLELINE | DT_PATH_ELLIPSIS, pw).Width(), pw);
}

TEST(DrawText, AlignsAndClips) {
    struct Case { unsigned format; int left; int right; };
    auto probe = Surface(60, 20);
    const int w = probe->Canvas()->TextWidth("HH");
    const Case cases[] = {{DT_LEFT, 10, 10 + w}, {DT_CENTER, 10 + (40 - w) / 2, 10 + (40 - w) / 2 + w},
                          {DT_RIGHT, 50 - w, 50}};
    for (const Case& k : cases) {
        auto b = Surface(60, 20);
        TRect r = Rect(10, 2, 50, 18);
        DrawText(*b->Canvas(), "HH", r, k.format | DT_SINGLELINE | DT_VCENTER);
        const auto [first, last] = InkColumns(*b);
        EXPECT_GE(first, k.left) << k.format;
        EXPECT_LT(last, k.right) << k.format;
        EXPECT_LE(first, k.left + 2) << k.format;
        EXPECT_FALSE(b->Canvas()->HasClip());
    }
    auto clipped = Surface(60, 20);
    TRect r = Rect(0, 0, 5, 20);
    DrawText(*clipped->Canvas(), "HHHH", r, DT_SINGLELINE);
    EXPECT_LE(InkColumns(*clipped).second, 4);
}

TEST(DrawText, AcceleratorIsUnderlined) {
    auto plain = Surface(40, 20), accel = Surface(40, 20);
    TRect r = Rect(0, 0, 40, 20);
    DrawText(*plain->Canvas(), "HH", r, DT_SINGLELINE);
    DrawText(*accel->Canvas(), "H&H", r, DT_SINGLELINE);
    const int hw = plain->Canvas()->TextWidth("H");
    const int y = QFontMetrics(FontToQFont(*plain->Canvas()->Font())).ascent() + 1;
    EXPECT_EQ(plain->Canvas()->Pixels(hw + 1, y), clWhite);
    EXPECT_EQ(accel->Canvas()->Pixels(hw + 1, y), clBlack);
    EXPECT_EQ(accel->Canvas()->Pixels(1, y), clWhite);  // only the second letter
}

TEST(TextOutput, CharacterExtraAndBaseline) {
    auto b = Surface(80, 30);
    TCanvas& c = *b->Canvas();
    const int base = c.TextWidth("abc");
    c.SetTextCharacterExtra(3);
    EXPECT_EQ(c.TextWidth("abc"), base + 9);
    EXPECT_EQ(Calc(c, "abc", 0).Width(), base + 9);
    c.SetTextCharacterExtra(0);

    auto top = Surface(40, 30), baseline = Surface(40, 30);
    top->Canvas()->TextOut(2, 5, "Hg");
    const int ascent = QFontMetrics(FontToQFont(*baseline->Canvas()->Font())).ascent();
    EXPECT_EQ(baseline->Canvas()->SetTextAlign(TCanvas::TA_BASELINE), TCanvas::TA_TOP);
    baseline->Canvas()->TextOut(2, 5 + ascent, "Hg");
    EXPECT_EQ(test::Picture(*top), test::Picture(*baseline));
    EXPECT_NE(test::Picture(*top), test::Picture(*Surface(40, 30)));
}

TEST(TextOutput, TrueTypeFlag) {
    TFont f;
    f.SetName("DejaVu Sans");
    EXPECT_TRUE(IsTrueTypeFont(f));
}
