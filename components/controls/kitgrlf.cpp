#include "components/controls/kitgrlf.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "platform/rtl/SysUtils.h"

namespace kit {

using gdi::TCanvas;
using gdi::TFont;
using gdi::TPoint;
using gdi::TRect;
using TT = TKitTransLabelTypes;

namespace {

using Real = long double;

int R(Real v) { return static_cast<int>(rtl::Round(v)); }
Real Rad(Real degrees) { return degrees * std::numbers::pi_v<Real> / 180; }
Real Cos(Real degrees) { return std::cos(Rad(degrees)); }
Real Sin(Real degrees) { return std::sin(Rad(degrees)); }

int Min4(int a, int b, int c, int d) { return std::min(std::min(a, b), std::min(c, d)); }
int Max4(int a, int b, int c, int d) { return std::max(std::max(a, b), std::max(c, d)); }

bool EqualLetters(const TKitTransformParams& p) {
    return p.Attributes.Contains(taEqualLetters) &&
           (p.Transform == TT::tmWave || p.Transform == TT::tmNone);
}

// Sets the canvas font's colour and writes the one letter at (x, y).
void DrawLetter(TCanvas& canvas, int x, int y, const std::string& letter, gdi::TColor color) {
    canvas.Font()->SetColor(color);
    canvas.TextOut(x, y, letter);
}

void Draw3DCopies(TCanvas& canvas, int x, int y, const std::string& letter,
                  const TKitFxCaption& fx) {
    const int ld = fx.LightDepth(), sd = fx.ShadowDepth();
    switch (fx.Style()) {
        case tdSunken:
            DrawLetter(canvas, x + ld, y + ld, letter, fx.LightColor());
            break;
        case tdRaised:
            DrawLetter(canvas, x - ld, y - ld, letter, fx.LightColor());
            break;
        case tdSunkenShadow:
        case tdPColorSunken:
            DrawLetter(canvas, x - sd - ld, y - sd - ld, letter, fx.ShadowColor());
            DrawLetter(canvas, x + ld, y + ld, letter, fx.LightColor());
            break;
        case tdRaisedShadow:
        case tdPColorRaised:
            DrawLetter(canvas, x + sd - ld, y + sd - ld, letter, fx.ShadowColor());
            DrawLetter(canvas, x - ld, y - ld, letter, fx.LightColor());
            break;
        case tdShadow:
            DrawLetter(canvas, x + sd, y + sd, letter, fx.ShadowColor());
            break;
        default:
            break;
    }
}

// The widest and the tallest single letter with the canvas's font as it is.
TKitLetterSize LargestLetter(TCanvas& canvas, const std::vector<std::string>& letters) {
    TKitLetterSize s;
    for (const std::string& l : letters) {
        const gdi::TSize e = canvas.TextExtent(l);
        s.Width = std::max(s.Width, e.cx);
        s.Height = std::max(s.Height, e.cy);
    }
    return s;
}

// Baseline alignment and the caption's tracing for the time of one routine.
class TextSetup {
public:
    TextSetup(TCanvas& canvas, const TFont& font, const TKitFxCaption& fx)
        : canvas_(canvas),
          align_(canvas.SetTextAlign(TCanvas::TA_BASELINE)),
          extra_(canvas.SetTextCharacterExtra(fx.Tracing())) {
        canvas.Font()->Assign(font);
    }
    ~TextSetup() {
        canvas_.SetTextAlign(align_);
        canvas_.SetTextCharacterExtra(extra_);
    }
    TextSetup(const TextSetup&) = delete;
    TextSetup& operator=(const TextSetup&) = delete;

private:
    TCanvas& canvas_;
    unsigned align_;
    int extra_;
};

}  // namespace

std::vector<std::string> KitSplitLetters(const std::string& text) {
    std::vector<std::string> letters;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80 && !letters.empty())
            letters.back() += c;
        else
            letters.emplace_back(1, c);
    }
    return letters;
}

TPoint KitPlaceTransformedLetter(TCanvas& canvas, int x0, int y0, int i, int n,
                                 const std::string& letter, const TFont& font,
                                 const TKitFxCaption& fontFX, const TKitTransformParams& params,
                                 TKitLetterSize& size, int* escapement) {
    TFont& cf = *canvas.Font();
    cf.Assign(font);
    cf.SetOrientation(0);

    const int F = font.Size();
    const int B = F / 4;
    const int alpha = fontFX.Angle();
    const Real A = alpha + 90;
    // Letters spread over half a turn; a single letter stands at the start.
    const Real t = n > 1 ? Real(180) * (i - 1) / (n - 1) : 0;
    const Real fn = n;
    const Real factor = params.Factor;

    TPoint p{x0, y0};
    auto raise = [&](Real s) {
        p.X = x0 + R(Cos(A) * s);
        p.Y = y0 - R(Sin(A) * s);
    };
    auto lower = [&](Real s) {
        p.X = x0 - R(Cos(A) * s);
        p.Y = y0 + R(Sin(A) * s);
    };
    auto shiftBack = [&](int letterSize) {
        const int d = (F - letterSize) / 2;
        p.X = x0 - R(Cos(A) * d);
        p.Y = y0 - R(Sin(A) * d);
    };
    const int outerM = i > n / 2 ? n - i : i;          // counts up to the middle, then down
    const int flyM = i > n / 2 ? n - i : i - 1;
    const int shrinking = R((F - B) / fn * (n + 1 - i) + B);
    const int growing = R((F - B) / fn * i + B);

    int letterSize = F;
    int autoE = 10 * alpha;
    const int curveE = R(Cos(t) * 100) + 10 * alpha;
    switch (params.Transform) {
        case TT::tmWave:
            raise(std::sin(Real(i)) * factor / 10);
            autoE = R(std::cos(Real(i)) * factor) + 10 * alpha;
            break;
        case TT::tmNone:
            break;
        case TT::tmHalfcircle:
            raise(Sin(t) * factor / 10);
            autoE = curveE;
            break;
        case TT::tmEnterprise:
            letterSize = R(F / fn * outerM * 2);
            raise(Sin(t) * factor / 10);
            autoE = curveE;
            break;
        case TT::tmHalfmoon:
            letterSize = R(F / fn * outerM * 2);
            lower(Sin(t) * factor / 10);
            autoE = curveE;
            break;
        case TT::tmArrow:
            p.X = x0;
            p.Y = fn / i > 2 ? y0 - i * params.Factor : y0 - (n - i) * params.Factor;
            break;
        case TT::tmSpeaker:
            letterSize = shrinking;
            shiftBack(letterSize);
            break;
        case TT::tmInvSpeaker:
            letterSize = growing;
            shiftBack(letterSize);
            break;
        case TT::tmFly:
            letterSize = std::max(B, F - R(F / fn * flyM));
            shiftBack(letterSize);
            break;
        case TT::tmCube:
            letterSize = F / 3 + R((F - F / Real(3)) / (fn / 2) * flyM);
            shiftBack(letterSize);
            break;
        case TT::tmChair:
            letterSize = 2 * R((F - B) / (2 * fn) * (i > n / 2 ? i : n + 1 - i) + B);
            break;
        case TT::tmBuckled:
            letterSize = 2 * R((F - B) / (2 * fn) * (i > n / 2 ? n + 1 - i : i) + B);
            break;
        case TT::tmStairs:
            letterSize = shrinking;
            break;
        case TT::tmInvStairs:
            letterSize = growing;
            break;
        case TT::tmLNoseUp:
        case TT::tmRNoseUp:
            letterSize = params.Transform == TT::tmLNoseUp ? growing : shrinking;
            p.X = x0 - R(Sin(t) * Cos(A) * factor / 10);
            p.Y = y0 + R(Sin(t) * Sin(A) * factor / 10);
            autoE = curveE;
            break;
        case TT::tmLNoseDown:
        case TT::tmRNoseDown:
            letterSize = params.Transform == TT::tmLNoseDown ? growing : shrinking;
            raise(Sin(t) * factor / 10);
            autoE = curveE;
            break;
    }
    cf.SetSize(letterSize);

    int e = 0;
    if (params.Attributes.Contains(taAutoToggled)) e = autoE;
    if (params.Attributes.Contains(taToggled)) e += 10 * params.Toggle;
    cf.SetOrientation(e);
    if (escapement) *escapement = e;

    if (!EqualLetters(params)) {
        const gdi::TSize ext = canvas.TextExtent(letter);
        size.Width = ext.cx;
        size.Height = ext.cy;
        if (params.Attributes.Contains(taPerspective)) size.Width += params.PerspectiveDepth;
    }

    // A tilted letter moves forward along the line so that it does not lean into its neighbour.
    const int delta = e - 10 * alpha;
    if (delta != 0) {
        const int k = std::abs(R(Cos(Real(delta) / 10 + 90) * size.Height / Real(2.5)));
        p.X += R(Cos(alpha) * k);
        p.Y += R(-Sin(alpha) * k);
    }
    return p;
}

void KitDrawTransformedText(TCanvas& canvas, const TRect& rect, const TFont& font,
                            const TKitFxCaption& fontFX, const std::string& text,
                            const TKitTransformParams& params) {
    std::vector<std::string> letters = KitSplitLetters(text);
    const int n = static_cast<int>(letters.size());
    if (n < 2) return;
    if (params.InvertCaption) std::reverse(letters.begin(), letters.end());
    std::string s;
    for (const std::string& l : letters) s += l;

    TextSetup setup(canvas, font, fontFX);
    const int th = canvas.TextHeight(s);
    int H = th, M = th / 4;
    const int factor = params.Factor;
    switch (params.Transform) {
        case TT::tmWave:
            H = th + R(Real(factor) / 5);
            M = factor / 10 + th / 4;
            break;
        case TT::tmHalfcircle:
        case TT::tmEnterprise:
        case TT::tmLNoseDown:
        case TT::tmRNoseDown:
        case TT::tmArrow:
            H = th + R(Real(factor) / 10);
            break;
        case TT::tmLNoseUp:
        case TT::tmRNoseUp:
        case TT::tmHalfmoon:
            H = th + R(Real(factor) / 10);
            M = factor / 10 + th / 4;
            break;
        default:
            break;
    }
    const bool perspective = params.Attributes.Contains(taPerspective);
    if (perspective) {
        H += params.PerspectiveDepth;
        if (params.Perspective == tpBird) M += params.PerspectiveDepth;
    }

    const int alpha = fontFX.Angle();
    const Real theta = -alpha;
    const int sd = fontFX.ShadowDepth();
    const TKitThreeDStyle style = fontFX.Style();
    const bool offsetShadow = style == tdSunkenShadow || style == tdRaisedShadow;
    TPoint pen{rect.Left, rect.Bottom};
    if (offsetShadow || style == tdShadow) H += sd;
    if (offsetShadow) {
        pen.X += R(Cos(theta) * sd);
        pen.Y += R(Sin(theta) * sd);
    } else if (style == tdShadow) {
        M += sd;
    }

    // Width of the caption: the sum of the letters' advances.
    TKitLetterSize size;
    int W = 0;
    {
        int x0 = 0, y0 = 0;
        for (int i = 1; i <= n; ++i) {
            KitPlaceTransformedLetter(canvas, x0, y0, i, n, letters[i - 1], font, fontFX, params,
                                      size);
            W += size.Width;
            x0 += R(Cos(alpha) * size.Width);
            y0 += R(-Sin(alpha) * size.Width);
        }
    }
    if (EqualLetters(params)) W = n * LargestLetter(canvas, letters).Width;

    // The caption's box, turned by the angle, decides where the pen starts.
    const Real theta2 = theta - 90, theta3 = theta - 180, theta4 = theta - 270;
    const TPoint p1{pen.X + R(Cos(theta) * W), pen.Y + R(Sin(theta) * W)};
    const TPoint p2{p1.X + R(Cos(theta2) * H), p1.Y + R(Sin(theta2) * H)};
    const TPoint p3{p2.X + R(Cos(theta3) * W), p2.Y + R(Sin(theta3) * W)};
    const TPoint p4{p3.X + R(Cos(theta4) * H), p3.Y + R(Sin(theta4) * H)};
    pen = {p4.X + R(Cos(theta2) * M), p4.Y + R(Sin(theta2) * M)};

    const int minX = Min4(p1.X, p2.X, p3.X, p4.X);
    if (minX < rect.Left) pen.X += rect.Left - minX;
    if (offsetShadow && rect.Left > pen.X - Cos(theta) * sd) pen.X += R(Cos(theta) * sd);
    pen.Y += rect.Bottom - Max4(p1.Y, p2.Y, p3.Y, p4.Y);

    size = LargestLetter(canvas, letters);
    canvas.Brush()->SetStyle(gdi::bsClear);

    const int depth = params.PerspectiveDepth;
    for (int i = 1; i <= n; ++i) {
        const std::string& letter = letters[i - 1];
        const TPoint p = KitPlaceTransformedLetter(canvas, pen.X, pen.Y, i, n, letter, font,
                                                   fontFX, params, size);
        if (perspective) {
            for (int k = 1; k <= depth; ++k)
                DrawLetter(canvas, p.X, params.Perspective == tpBird ? p.Y + k : p.Y - k, letter,
                           gdi::clBlack);
        }
        Draw3DCopies(canvas, p.X, p.Y, letter, fontFX);
        DrawLetter(canvas, p.X, p.Y, letter, font.Color());
        pen.X += R(Cos(alpha) * size.Width);
        pen.Y += R(-Sin(alpha) * size.Width);
    }
}

void KitCalcTransformedTextRect(TCanvas& canvas, TRect& result, const TFont& font,
                                const TKitFxCaption& fontFX, const std::string& text,
                                const TKitTransformParams& params) {
    result = TRect{};
    const std::vector<std::string> letters = KitSplitLetters(text);
    const int n = static_cast<int>(letters.size());
    TextSetup setup(canvas, font, fontFX);
    const int alpha = fontFX.Angle();

    // With equal letters the placement leaves the size alone: every letter then advances by
    // the widest one, as the drawing does.
    TKitLetterSize size = LargestLetter(canvas, letters);
    int x0 = 0, y0 = 0, V = 0, hMax = 0;
    for (int i = 1; i <= n; ++i) {
        const TPoint p = KitPlaceTransformedLetter(canvas, x0, y0, i, n, letters[i - 1], font,
                                                   fontFX, params, size);
        V = std::max(V, std::abs(p.Y));
        hMax = std::max(hMax, size.Height);
        x0 += R(Cos(alpha) * size.Width);
        y0 += R(-Sin(alpha) * size.Width);
    }
    int W = x0 != 0 ? x0 : hMax;
    if (EqualLetters(params)) {
        canvas.Font()->Assign(font);
        W = n * LargestLetter(canvas, letters).Width;
    }
    const Real beta = alpha + 90;
    result.Right = std::abs(R(Cos(beta) * hMax)) + std::abs(W);
    result.Bottom = std::abs(R(Sin(beta) * hMax)) + std::abs(V);
}

}  // namespace kit
