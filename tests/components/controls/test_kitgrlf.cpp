// Letter-by-letter caption effects: placement per shape, drawing against letters written one
// by one, measuring. The font is named: DejaVu Sans.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "components/controls/kitgrlf.h"

using namespace gdi;
using namespace kit;
using TT = TKitTransLabelTypes;

namespace {

TFont Font(int points, TColor color = clBlack) {
    TFont f;
    f.SetName("DejaVu Sans");
    f.SetSize(points);
    f.SetColor(color);
    return f;
}

std::unique_ptr<TBitmap> White(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

std::vector<TColor> Pixels(TBitmap& b) {
    std::vector<TColor> v;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) v.push_back(b.Canvas()->Pixels(x, y));
    return v;
}

int Count(TBitmap& b, TColor c) {
    int n = 0;
    for (TColor p : Pixels(b)) n += p == c;
    return n;
}

struct Placed {
    TPoint p;
    int size;  // points of the letter's font
    int escapement;
    TKitLetterSize rec;
};

// Places every letter of an n-letter caption from the pen point (100, 100).
std::vector<Placed> PlaceAll(int n, const TKitTransformParams& params, int points = 24,
                             int angle = 0) {
    auto b = White(4, 4);
    TKitFxCaption fx;
    fx.SetAngle(static_cast<TKitAngle>(angle));
    std::vector<Placed> out;
    for (int i = 1; i <= n; ++i) {
        Placed pl;
        pl.p = KitPlaceTransformedLetter(*b->Canvas(), 100, 100, i, n, "M", Font(points), fx,
                                         params, pl.rec, &pl.escapement);
        pl.size = b->Canvas()->Font()->Size();
        out.push_back(pl);
    }
    return out;
}

TKitTransformParams Shape(TT transform, int factor = 5, TKitTransLabelAttr attrs = {taAutoToggled}) {
    TKitTransformParams p;
    p.Transform = transform;
    p.Factor = factor;
    p.Attributes = attrs;
    return p;
}

}  // namespace

TEST(KitGraphicLabelEffects, LetterSizesFollowTheShape) {
    // F = 24, B = 6, four letters; halves of the stair sizes go to the even neighbour.
    struct Case { TT t; std::vector<int> sizes; };
    const Case cases[] = {
        {TT::tmStairs, {24, 20, 15, 10}},      // 19.5 -> 20, 10.5 -> 10
        {TT::tmInvStairs, {10, 15, 20, 24}},
        {TT::tmSpeaker, {24, 20, 15, 10}},
        {TT::tmRNoseDown, {24, 20, 15, 10}},
        {TT::tmLNoseUp, {10, 15, 20, 24}},
        {TT::tmFly, {24, 18, 18, 24}},
        {TT::tmCube, {8, 16, 16, 8}},
        {TT::tmChair, {30, 26, 26, 30}},       // 2 x round(12.75)
        {TT::tmBuckled, {16, 20, 20, 16}},     // 2 x round(10.5)
        {TT::tmEnterprise, {12, 24, 12, 0}},
        {TT::tmWave, {24, 24, 24, 24}},
    };
    for (const Case& c : cases) {
        const auto placed = PlaceAll(4, Shape(c.t, 5, {}));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(placed[i].size, c.sizes[i]) << int(c.t) << " letter " << i + 1;
    }
}

TEST(KitGraphicLabelEffects, LetterPoints) {
    // Without rotation (no taAutoToggled) no tilt correction applies: the pure shape offsets.
    struct Case { TT t; int factor; std::vector<TPoint> points; };
    const Case cases[] = {
        // n / i above 2 climbs, from the middle on it falls back: 5, 10, 15 (6 / 3 = 2), 10, 5, 0.
        {TT::tmArrow, 5, {{100, 95}, {100, 90}, {100, 85}, {100, 90}, {100, 95}, {100, 100}}},
        // Half circle of amplitude 5 px: sin t x 5 rounded.
        {TT::tmHalfcircle, 50, {{100, 100}, {100, 97}, {100, 95}, {100, 95}, {100, 97}, {100, 100}}},
        {TT::tmHalfmoon, 50, {{100, 100}, {100, 103}, {100, 105}, {100, 105}, {100, 103}, {100, 100}}},
        // Speaker letters are shifted back (up) by half the size they lost: sizes 24, 21, 18,
        // 15, 12, 9 (F = 24, B = 6, n = 6).
        {TT::tmSpeaker, 5, {{100, 100}, {100, 99}, {100, 97}, {100, 96}, {100, 94}, {100, 93}}},
        {TT::tmStairs, 5, std::vector<TPoint>(6, TPoint{100, 100})},
        // Factor 5 raises the nose letters by sin t x 0.5, which rounds to 0.
        {TT::tmRNoseDown, 5, std::vector<TPoint>(6, TPoint{100, 100})},
    };
    for (const Case& c : cases) {
        const auto placed = PlaceAll(6, Shape(c.t, c.factor, {}));
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(placed[i].p, c.points[i]) << int(c.t) << " letter " << i + 1;
            EXPECT_EQ(placed[i].escapement, 0);
        }
    }
}

TEST(KitGraphicLabelEffects, EscapementsAndTiltCorrection) {
    // The nose shapes tilt from +10 degrees through 0 to -10 degrees.
    const auto nose = PlaceAll(5, Shape(TT::tmRNoseDown));
    const int expected[] = {100, 71, 0, -71, -100};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(nose[i].escapement, expected[i]) << i;
        // A tilted letter moves forward along the line by |cos(e / 10 + 90) x h / 2.5|.
        const double k = std::abs(std::round(std::cos((expected[i] / 10.0 + 90) * std::numbers::pi / 180) *
                                             nose[i].rec.Height / 2.5));
        EXPECT_EQ(nose[i].p, (TPoint{100 + static_cast<int>(k), 100})) << i;
    }
    EXPECT_GT(nose[0].p.X, 100);  // the correction is real for a 24-point letter

    // The toggle adds to every letter; without taAutoToggled the angle does not rotate them.
    TKitTransformParams toggled = Shape(TT::tmNone, 5, {taToggled});
    toggled.Toggle = 2;
    for (const Placed& p : PlaceAll(3, toggled, 24, 30)) EXPECT_EQ(p.escapement, 20);
    toggled.Attributes = {taToggled, taAutoToggled};
    for (const Placed& p : PlaceAll(3, toggled, 24, 30)) EXPECT_EQ(p.escapement, 320);
    // tmNone keeps the angle: no tilt correction, the pen point itself.
    for (const Placed& p : PlaceAll(3, Shape(TT::tmNone), 24, 30)) {
        EXPECT_EQ(p.escapement, 300);
        EXPECT_EQ(p.p, (TPoint{100, 100}));
    }
}

TEST(KitGraphicLabelEffects, LetterRecordAndEqualLetters) {
    auto b = White(4, 4);
    TKitFxCaption fx;
    TKitTransformParams p = Shape(TT::tmNone, 5, {taPerspective});
    p.PerspectiveDepth = 4;
    TKitLetterSize rec;
    KitPlaceTransformedLetter(*b->Canvas(), 0, 0, 1, 2, "W", Font(12), fx, p, rec);
    b->Canvas()->Font()->Assign(Font(12));
    EXPECT_EQ(rec.Width, b->Canvas()->TextWidth("W") + 4);
    EXPECT_EQ(rec.Height, b->Canvas()->TextHeight("W"));
    // With equal letters a wave or plain caption keeps the caller's record.
    p.Attributes = {taEqualLetters};
    rec = {77, 33};
    KitPlaceTransformedLetter(*b->Canvas(), 0, 0, 1, 2, "W", Font(12), fx, p, rec);
    EXPECT_EQ(rec.Width, 77);
    EXPECT_EQ(rec.Height, 33);
    p.Transform = TT::tmStairs;  // other shapes measure anyway
    KitPlaceTransformedLetter(*b->Canvas(), 0, 0, 1, 2, "W", Font(12), fx, p, rec);
    EXPECT_NE(rec.Width, 77);
}

namespace {

// The caption written letter by letter on one baseline from x, the way the shapes reduce to
// it with no rotation: the reference drawing for the pixel tests. Every letter gets its copies
// (offset and colour) in order, then its face; it advances by its width plus extra.
struct Copy { int dx, dy; TColor color; };
void WriteLetters(TBitmap& b, const std::string& text, int x, int baseline, const TFont& font,
                  const std::vector<Copy>& copies = {}, int extra = 0) {
    TCanvas& c = *b.Canvas();
    c.Brush()->SetStyle(bsClear);
    c.SetTextAlign(TCanvas::TA_BASELINE);
    for (const std::string& l : KitSplitLetters(text)) {
        c.Font()->Assign(font);
        for (const Copy& k : copies) {
            c.Font()->SetColor(k.color);
            c.TextOut(x + k.dx, baseline + k.dy, l);
        }
        c.Font()->SetColor(font.Color());
        c.TextOut(x, baseline, l);
        x += c.TextWidth(l) + extra;
    }
    c.SetTextAlign(TCanvas::TA_TOP);
}

}  // namespace

TEST(KitGraphicLabelEffects, PlainCaptionStandsOnTheBottomMargin) {
    const TFont f = Font(14);
    TKitFxCaption fx;
    auto drawn = White(120, 40), ref = White(120, 40);
    const TRect r = Rect(5, 0, 115, 36);
    KitDrawTransformedText(*drawn->Canvas(), r, f, fx, "Feld", Shape(TT::tmNone));
    ref->Canvas()->Font()->Assign(f);
    const int m = ref->Canvas()->TextHeight("Feld") / 4;
    WriteLetters(*ref, "Feld", 5, 36 - m, f);
    EXPECT_GT(Count(*drawn, clBlack), 20);
    EXPECT_EQ(Pixels(*drawn), Pixels(*ref));
    // The drawing leaves the canvas's alignment and spacing as they were.
    EXPECT_EQ(drawn->Canvas()->TextAlign(), TCanvas::TA_TOP);
    EXPECT_EQ(drawn->Canvas()->TextCharacterExtra(), 0);
}

TEST(KitGraphicLabelEffects, InvertedCaptionAndTooShortCaptions) {
    const TFont f = Font(14);
    TKitFxCaption fx;
    auto inverted = White(100, 40), reversed = White(100, 40);
    TKitTransformParams p = Shape(TT::tmNone);
    p.InvertCaption = true;
    KitDrawTransformedText(*inverted->Canvas(), Rect(0, 0, 100, 36), f, fx, "ABC", p);
    p.InvertCaption = false;
    KitDrawTransformedText(*reversed->Canvas(), Rect(0, 0, 100, 36), f, fx, "CBA", p);
    EXPECT_EQ(Pixels(*inverted), Pixels(*reversed));
    auto abc = White(100, 40);
    KitDrawTransformedText(*abc->Canvas(), Rect(0, 0, 100, 36), f, fx, "ABC", p);
    EXPECT_NE(Pixels(*abc), Pixels(*reversed));

    // One letter (also a multi-byte one) and no letter draw nothing.
    for (const char* s : {"", "A", "\xC3\x84"}) {
        auto b = White(60, 40);
        KitDrawTransformedText(*b->Canvas(), Rect(0, 0, 60, 36), f, fx, s, Shape(TT::tmHalfcircle));
        EXPECT_EQ(Count(*b, clWhite), 60 * 40) << s;
    }
    // Two letters of which one is multi-byte do draw.
    auto two = White(60, 40);
    KitDrawTransformedText(*two->Canvas(), Rect(0, 0, 60, 36), f, fx, "\xC3\x84\xC3\x96", Shape(TT::tmNone));
    EXPECT_GT(Count(*two, clBlack), 10);
}

TEST(KitGraphicLabelEffects, RaisedShadowCopies) {
    // Light 1, shadow 1: the shadow copy lies exactly under the face, the light copy one pixel
    // up and left; the pen starts one shadow depth further right.
    const TFont f = Font(14, clBlue);
    TKitFxCaption fx;
    fx.SetStyle(tdRaisedShadow);
    fx.SetLightColor(clRed);
    fx.SetShadowColor(clLime);
    fx.SetLightDepth(1);
    fx.SetShadowDepth(1);
    auto drawn = White(100, 40), ref = White(100, 40);
    KitDrawTransformedText(*drawn->Canvas(), Rect(0, 0, 100, 36), f, fx, "Hut", Shape(TT::tmNone));
    ref->Canvas()->Font()->Assign(f);
    const int m = ref->Canvas()->TextHeight("Hut") / 4;
    WriteLetters(*ref, "Hut", 1, 36 - m, f, {{0, 0, clLime}, {-1, -1, clRed}});
    EXPECT_EQ(Count(*drawn, clLime), 0);
    EXPECT_GT(Count(*drawn, clRed), 5);
    EXPECT_EQ(Pixels(*drawn), Pixels(*ref));

    // tdShadow puts its copy below right, in the shadow colour, and lifts the caption by the
    // shadow depth.
    fx.SetStyle(tdShadow);
    fx.SetShadowDepth(2);
    auto shadow = White(100, 40), ref2 = White(100, 40);
    KitDrawTransformedText(*shadow->Canvas(), Rect(0, 0, 100, 36), f, fx, "Hut", Shape(TT::tmNone));
    WriteLetters(*ref2, "Hut", 0, 36 - m - 2, f, {{2, 2, clLime}});
    EXPECT_EQ(Pixels(*shadow), Pixels(*ref2));
}

TEST(KitGraphicLabelEffects, PerspectiveExtrusion) {
    const TFont f = Font(14, clBlue);
    TKitFxCaption fx;
    TKitTransformParams p = Shape(TT::tmNone, 5, {taPerspective});
    p.PerspectiveDepth = 3;
    p.Perspective = tpBird;
    auto bird = White(100, 40);
    KitDrawTransformedText(*bird->Canvas(), Rect(0, 0, 100, 36), f, fx, "Hi", p);
    // Bird's eye: the bottom margin grows by the depth and black copies hang below the face;
    // every letter advances by its width plus the depth.
    auto ref = White(100, 40);
    ref->Canvas()->Font()->Assign(f);
    const int m = ref->Canvas()->TextHeight("Hi") / 4 + 3;
    WriteLetters(*ref, "Hi", 0, 36 - m, f, {{0, 1, clBlack}, {0, 2, clBlack}, {0, 3, clBlack}}, 3);
    EXPECT_GT(Count(*bird, clBlack), 5);
    EXPECT_EQ(Pixels(*bird), Pixels(*ref));
}

TEST(KitGraphicLabelEffects, RotatedCaptionShiftsWithTheRectangle) {
    // A caption turned by 90 degrees needs the pen moved right; the move is measured from the
    // rectangle's left edge, so the same caption in a rectangle 40 pixels further right is the
    // same picture 40 pixels further right.
    const TFont f = Font(12);
    TKitFxCaption fx;
    fx.SetAngle(90);
    auto atZero = White(120, 80), atForty = White(120, 80);
    KitDrawTransformedText(*atZero->Canvas(), Rect(0, 0, 60, 70), f, fx, "Feld", Shape(TT::tmNone));
    KitDrawTransformedText(*atForty->Canvas(), Rect(40, 0, 100, 70), f, fx, "Feld", Shape(TT::tmNone));
    int ink = 0;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 120; ++x) {
            const TColor a = atZero->Canvas()->Pixels(x, y);
            ink += a == clBlack;
            EXPECT_EQ(x + 40 < 120 ? atForty->Canvas()->Pixels(x + 40, y) : a, a) << x << "," << y;
            if (x < 40) {
                EXPECT_EQ(atForty->Canvas()->Pixels(x, y), clWhite) << x << "," << y;
            }
        }
    }
    EXPECT_GT(ink, 20);
    // The turned caption stands inside its rectangle: ink to the right of the left edge and
    // above the bottom.
    for (int y = 70; y < 80; ++y)
        for (int x = 0; x < 120; ++x) EXPECT_NE(atZero->Canvas()->Pixels(x, y), clBlack);
}

TEST(KitGraphicLabelEffects, Measuring) {
    auto b = White(4, 4);
    TCanvas& c = *b->Canvas();
    TKitFxCaption fx;
    const TFont f = Font(14);
    c.Font()->Assign(f);
    const int wA = c.TextWidth("A"), wW = c.TextWidth("W"), h = c.TextHeight("A");

    TRect r = Rect(9, 9, 9, 9);
    KitCalcTransformedTextRect(c, r, f, fx, "AW", Shape(TT::tmNone));
    EXPECT_EQ(r, Rect(0, 0, wA + wW, h));
    KitCalcTransformedTextRect(c, r, f, fx, "AW", Shape(TT::tmNone, 5, {taEqualLetters}));
    EXPECT_EQ(r, Rect(0, 0, 2 * wW, h));
    // Tracing widens every letter.
    fx.SetTracing(3);
    KitCalcTransformedTextRect(c, r, f, fx, "AW", Shape(TT::tmNone));
    EXPECT_EQ(r.Right, wA + wW + 6);
    fx.SetTracing(0);
    // The arrow's highest letter adds to the height: 4 letters, Factor 5, letter 1 at 5 px.
    KitCalcTransformedTextRect(c, r, f, fx, "AAAA", Shape(TT::tmArrow, 5, {}));
    EXPECT_EQ(r, Rect(0, 0, 4 * wA, h + 10));  // letter 2: 4 / 2 = 2, so (4 - 2) x 5
    // Turned by 90 degrees the height of the letters lies along x.
    fx.SetAngle(90);
    KitCalcTransformedTextRect(c, r, f, fx, "AW", Shape(TT::tmNone));
    EXPECT_EQ(r.Right, h + h);  // the pen does not move along x: the letter height stands in
    EXPECT_EQ(r.Bottom, wA);    // the second letter stands wA above the first
    fx.SetAngle(0);
    // One letter of a curved shape measures without dividing by zero.
    for (TT t : {TT::tmHalfcircle, TT::tmEnterprise, TT::tmLNoseUp, TT::tmRNoseDown}) {
        KitCalcTransformedTextRect(c, r, f, fx, "A", Shape(t));
        EXPECT_GT(r.Right, 0) << int(t);
        EXPECT_LT(r.Right, 1000) << int(t);
        EXPECT_LT(r.Bottom, 1000) << int(t);
    }
    KitCalcTransformedTextRect(c, r, f, fx, "", Shape(TT::tmWave));
    EXPECT_EQ(r, Rect(0, 0, 0, 0));
}
