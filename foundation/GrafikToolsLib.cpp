#include "foundation/GrafikToolsLib.h"

#include <cmath>
#include <cstdint>

#include "foundation/GrafikPropertiesLib.h"
#include "foundation/MathLib.h"
#include "foundation/cStrings.h"
#include "platform/rtl/SysUtils.h"

namespace {

void SolidBrush(gdi::TCanvas* canvas, gdi::TColor color) {
    canvas->Brush()->SetColor(color);
    canvas->Brush()->SetStyle(gdi::bsSolid);
}

// A token of digits as a number; false when it does not fit an int.
bool DigitsValue(const std::string& token, int& value) {
    return StrIsNumeric(token) && rtl::TryStrToInt(token, value);
}

struct PenModeName {
    const char* name;
    gdi::TPenMode mode;
};
constexpr PenModeName kPenModes[] = {
    {"pmBlack", gdi::pmBlack},           {"pmWhite", gdi::pmWhite},
    {"pmNot", gdi::pmNot},               {"pmCopy", gdi::pmCopy},
    {"pmMergePenNot", gdi::pmMergePenNot}, {"pmMaskPenNot", gdi::pmMaskPenNot},
    {"pmMergeNotPen", gdi::pmMergeNotPen}, {"pmMaskNotPen", gdi::pmMaskNotPen},
    {"pmMerge", gdi::pmMerge},           {"pmNotMerge", gdi::pmNotMerge},
    {"pmMask", gdi::pmMask},             {"pmXor", gdi::pmXor},
    {"pmNotXor", gdi::pmNotXor},
};

struct PenStyleName {
    const char* name;
    gdi::TPenStyle style;
};
constexpr PenStyleName kPenStyles[] = {
    {"psSolid", gdi::psSolid},         {"psDash", gdi::psDash},
    {"psDot", gdi::psDot},             {"psDashDot", gdi::psDashDot},
    {"psDashDotDot", gdi::psDashDotDot}, {"psClear", gdi::psClear},
    {"psInsideFrame", gdi::psInsideFrame},
};

}  // namespace

void CanvasClear(gdi::TCanvas* Canvas, gdi::TColor Color) {
    if (!Canvas) return;
    // Own copies rather than the shared save slot, which a caller may be holding.
    TProps props(Canvas);
    const gdi::TFont font(*Canvas->Font());
    SolidBrush(Canvas, Color);
    Canvas->FillRect(Canvas->ClipRect());
    Canvas->Font()->Assign(font);
}

void CanvasClearWhite(gdi::TCanvas* Canvas) { CanvasClear(Canvas, gdi::clWhite); }

void CanvasPixel(gdi::TCanvas* Canvas, int X, int Y, gdi::TColor Color) {
    if (!Canvas) return;
    Canvas->SetPixels(X, Y, Color);
}

void CanvasDot(gdi::TCanvas* Canvas, int X, int Y, int R, gdi::TColor Color) {
    if (!Canvas) return;
    TProps props(Canvas);
    Canvas->Pen()->SetColor(Color);
    SolidBrush(Canvas, Color);
    Canvas->Ellipse(X - R, Y - R, X + R, Y + R);
}

void CanvasLine(gdi::TCanvas* Canvas, int X1, int Y1, int X2, int Y2, gdi::TColor Color) {
    if (!Canvas) return;
    TProps props(Canvas);
    Canvas->Pen()->SetColor(Color);
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

void CanvasFrameRect(gdi::TCanvas* Canvas, int X, int Y, int W, int H, gdi::TColor Color) {
    if (!Canvas) return;
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Canvas->Brush()->SetStyle(gdi::bsClear);
    Canvas->Rectangle(X, Y, X + W, Y + H);
}

void CanvasFillRect(gdi::TCanvas* Canvas, int X, int Y, int W, int H, gdi::TColor Color) {
    CanvasFillRect2(Canvas, X, Y, W, H, Color, Color);
}

void CanvasFillRect2(gdi::TCanvas* Canvas, int X, int Y, int W, int H, gdi::TColor PenColor,
                     gdi::TColor BrushColor) {
    if (!Canvas) return;
    TProps props(Canvas);
    Canvas->Pen()->SetColor(PenColor);
    Canvas->Pen()->SetStyle(gdi::psSolid);
    SolidBrush(Canvas, BrushColor);
    Canvas->Rectangle(X, Y, X + W, Y + H);
}

void CanvasCross(gdi::TCanvas* Canvas, int X, int Y, int R, gdi::TColor Color) {
    CanvasLine(Canvas, X - R, Y - R, X + R, Y + R, Color);
    CanvasLine(Canvas, X - R, Y + R, X + R, Y - R, Color);
}

void CanvasArrowHead(gdi::TCanvas* Canvas, int X, int Y, int Len, int AngleDeg,
                     gdi::TColor Color) {
    for (int a : {AngleDeg - 30, AngleDeg + 30}) {
        const long double ex = X - static_cast<long double>(Len) * CosD(a);
        const long double ey = Y + static_cast<long double>(Len) * SinD(a);
        CanvasLine(Canvas, X, Y, static_cast<int>(rtl::Round(ex)), static_cast<int>(rtl::Round(ey)),
                   Color);
    }
}

void CanvasArrow(gdi::TCanvas* Canvas, int X1, int Y1, int X2, int Y2, gdi::TColor Color,
                 int HeadLen) {
    // The squares in 64 bits: far-apart points must not wrap.
    const std::int64_t dx = static_cast<std::int64_t>(X1) - X2;
    const std::int64_t dy = static_cast<std::int64_t>(Y1) - Y2;
    const long double len = std::sqrt(static_cast<long double>(dx * dx + dy * dy));
    long double head;
    if (HeadLen > 0)
        head = HeadLen;
    else if (HeadLen == 0)
        head = rtl::Round(0.15L * len);
    else
        head = rtl::Round(std::fabs(static_cast<long double>(HeadLen)) / 100 * len);
    CanvasLine(Canvas, X1, Y1, X2, Y2, Color);
    const double angle = ArcTan2Deg(static_cast<double>(X2) - X1, static_cast<double>(Y1) - Y2);
    CanvasArrowHead(Canvas, X2, Y2, static_cast<int>(head), static_cast<int>(rtl::Round(angle)),
                    Color);
}

void CanvasTextOut(gdi::TCanvas* Canvas, int X, int Y, const std::string& Text,
                   gdi::TColor FontColor, gdi::TColor BrushColor) {
    if (!Canvas) return;
    TProps props(Canvas);
    Canvas->Font()->SetColor(FontColor);
    SolidBrush(Canvas, BrushColor);
    Canvas->TextOut(X, Y, Text);
}

void CanvasFontSize(gdi::TCanvas* Canvas, int Size) {
    if (Canvas) Canvas->Font()->SetSize(Size);
}

void CanvasFontName(gdi::TCanvas* Canvas, const std::string& Name) {
    if (Canvas) Canvas->Font()->SetName(Name);
}

void CanvasFontBold(gdi::TCanvas* Canvas) {
    if (Canvas) Canvas->Font()->SetStyle(gdi::fsBold);
}

void FontFromString(gdi::TCanvas* Canvas, const std::string& Desc) {
    if (!Canvas) return;
    gdi::TFont* font = Canvas->Font();
    for (const std::string& token : StrSplitChar(Desc, ',')) {
        int size = 0;
        if (DigitsValue(token, size))
            font->SetSize(size);
        else if (StrEqualNoCase(token, "Normal"))
            font->SetStyle(0);
        else if (StrEqualNoCase(token, "Bold"))
            font->SetStyle(font->Style() | gdi::fsBold);
        else if (StrEqualNoCase(token, "Underline"))
            font->SetStyle(font->Style() | gdi::fsUnderline);
        else if (StrEqualNoCase(token, "StrikeOut"))
            font->SetStyle(font->Style() | gdi::fsStrikeOut);
        else if (StrEqualNoCase(token, "Italic"))
            font->SetStyle(font->Style() | gdi::fsItalic);
        else if (StrEqualNoCase(token, "Arial"))
            font->SetName("Arial");
        else if (StrEqualNoCase(token, "Times"))
            font->SetName("Times New Roman");
        else if (StrEqualNoCase(token, "Comic"))
            font->SetName("Comic Sans MS");
        else if (StrEqualNoCase(token, "Courier"))
            font->SetName("Courier New");
    }
}

void PenFromString(gdi::TCanvas* Canvas, const std::string& Desc) {
    if (!Canvas) return;
    gdi::TPen* pen = Canvas->Pen();
    for (const std::string& token : StrSplitChar(Desc, ',')) {
        int width = 0;
        if (DigitsValue(token, width)) {
            pen->SetWidth(width);
            continue;
        }
        bool done = false;
        for (const PenModeName& m : kPenModes) {
            if (StrEqualNoCase(token, m.name)) {
                pen->SetMode(m.mode);
                done = true;
                break;
            }
        }
        if (done) continue;
        for (const PenStyleName& s : kPenStyles) {
            if (StrEqualNoCase(token, s.name)) {
                pen->SetStyle(s.style);
                break;
            }
        }
    }
}
