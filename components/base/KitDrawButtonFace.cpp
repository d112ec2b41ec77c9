#include "components/base/KitDrawButtonFace.h"

#include <string>

#include "components/base/kitapp.h"
#include "components/base/KitDrawFrames.h"
#include "components/base/KitXPStyles.h"
#include "platform/gdi/Drawing.h"
#include "platform/gui/Controls.h"

namespace kit {

using namespace gdi;

namespace {

enum class Kind { Win31, Win40, Win40Plain, BlackFrame, Flat, Integrated };

bool Disabled(std::uint8_t state) { return state == 1 || state == 7; }

bool IsExplorer(TKitUserButtonStyle s) { return s == ubsExplorer || s == ubsExplorerColored; }

// Themes off: the XP styles fall back to their classic look-alikes; ubsAutoDetect becomes
// ubsWinXP only while themes are on.
TKitUserButtonStyle ResolveStyle(TKitUserButtonStyle style, bool themes) {
    if (themes) return style == ubsAutoDetect ? ubsWinXP : style;
    switch (style) {
        case ubsWinXP: return ubsWin40;
        case ubsWinXPCombo: return ubsIntegrated;
        case ubsWinXPTool: return ubsExplorerColored;
        default: return style;
    }
}

// The 8 x 8 pattern tiled from the device origin, as a pattern brush lays it.
void FillPattern(TCanvas& canvas, const TRect& r, TColor color) {
    TBitmap* pattern = KitApplication->GetPatternBitmap(color);
    TCanvas& src = *pattern->Canvas();
    const TPoint o = canvas.Origin();
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            canvas.SetPixels(x, y, src.Pixels((x + o.X) & 7, (y + o.Y) & 7));
}

void FillSolid(TCanvas& canvas, const TRect& r, TColor color) {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(color);
    canvas.FillRect(r);
}

// A one-pixel rectangle outline in the current pen; the face inside stays.
void Outline(TCanvas& canvas, const TRect& r) {
    const TBrushStyle old = canvas.Brush()->Style();
    canvas.Brush()->SetStyle(bsClear);
    canvas.Rectangle(r);
    canvas.Brush()->SetStyle(old);
}

void RoundCorners(TCanvas& canvas, const TRect& r) {
    for (TPoint p : {Point(r.Left, r.Top), Point(r.Right - 1, r.Top), Point(r.Left, r.Bottom - 1),
                     Point(r.Right - 1, r.Bottom - 1)})
        canvas.SetPixels(p.X, p.Y, clBtnFace);
}

void Line(TCanvas& canvas, TColor color, std::initializer_list<TPoint> points) {
    canvas.Pen()->SetColor(color);
    const TPoint* p = points.begin();
    canvas.MoveTo(p->X, p->Y);
    for (++p; p != points.end(); ++p) canvas.LineTo(p->X, p->Y);
}

// The Win31 outer frame: sunken top-left and raised bottom-right lines, the corners rounded on
// request, then the rectangle one pixel smaller.
void Win31Outer(TCanvas& canvas, TRect& rect, std::uint16_t stateFlags) {
    TRect r = rect;
    DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_SOFT | BF_TOPLEFT);
    DrawEdge(canvas, r, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
    if (stateFlags & kbfRoundCorners) RoundCorners(canvas, rect);
    InflateRect(rect, -1, -1);
}

void Frame(TCanvas& canvas, TRect rect, Kind kind, TKitUserButtonStyle style, bool hot,
           bool pressed, std::uint16_t stateFlags, TColor color) {
    const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    const bool boxed = style == ubsNavigator || style == ubsDelphiFlat;
    switch (kind) {
        case Kind::Win31:
            Win31Outer(canvas, rect, stateFlags);
            if (pressed) {
                TRect r = rect;
                DrawEdge(canvas, r, BDR_SUNKENINNER, BF_TOPLEFT);
            } else {
                DrawEdge(canvas, rect, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
                DrawEdge(canvas, rect, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
            }
            break;
        case Kind::Win40:
            if (!pressed)
                KitDrawBorder(canvas, rect, lsRaisedspb, BF_RECT);
            else if (stateFlags & kbfSunkenDown)
                DrawEdge(canvas, rect, EDGE_SUNKEN, BF_RECT);
            else
                KitDrawBorder(canvas, rect, lsLowered, BF_RECT);
            break;
        case Kind::Win40Plain:
            if (pressed) {
                canvas.Pen()->SetStyle(psSolid);
                canvas.Pen()->SetColor(clBlack);
                Outline(canvas, rect);
                canvas.Pen()->SetColor(clGray);
                Outline(canvas, Rect(L + 1, T + 1, R - 1, B - 1));
                canvas.Pen()->SetColor(clBlack);
            } else if (stateFlags & kbfFocused) {
                DrawEdge(canvas, rect, BDR_RAISEDOUTER, BF_RECT | BF_SOFT | BF_ADJUST);
                DrawEdge(canvas, rect, BDR_RAISEDINNER, BF_BOTTOMRIGHT | BF_ADJUST);
            } else {
                KitDrawBorder(canvas, rect, lsRaisedspb, BF_RECT);
            }
            break;
        case Kind::Flat:
            if (pressed) {
                if (boxed) {
                    Outline(canvas, rect);
                    InflateRect(rect, -1, -1);
                }
                DrawEdge(canvas, rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
            } else if (hot) {
                if (boxed) {
                    Outline(canvas, rect);
                    InflateRect(rect, -1, -1);
                }
                DrawEdge(canvas, rect, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
            } else if (!IsExplorer(style)) {
                FillSolid(canvas, rect, color);
            }
            break;
        case Kind::BlackFrame:
            canvas.Pen()->SetStyle(psSolid);
            canvas.Pen()->SetColor(clBlack);
            Outline(canvas, rect);
            if (pressed) {
                Line(canvas, clGray, {Point(L + 1, T + 1), Point(R - 1, T + 1)});
                Line(canvas, clGray, {Point(L + 1, T + 1), Point(L + 1, B - 1)});
            } else {
                TRect r = Rect(L + 1, T + 1, R - 1, B - 1);
                DrawEdge(canvas, r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
            }
            break;
        case Kind::Integrated:
            canvas.Pen()->SetStyle(psSolid);
            if (pressed) {
                canvas.Pen()->SetColor(clGray);
                Outline(canvas, rect);
            } else {
                canvas.Pen()->SetColor(clBlack);
                Outline(canvas, rect);
                Line(canvas, clBtnFace, {Point(R - 2, T), Point(L, T), Point(L, B - 1)});
                canvas.Pen()->SetColor(clWhite);
                Outline(canvas, Rect(L + 1, T + 1, R - 1, B - 1));
                Line(canvas, clGray, {Point(R - 2, T + 1), Point(R - 2, B - 2), Point(L, B - 2)});
            }
            break;
    }
}

}  // namespace

bool KitPaintButtonFace(TCanvas& canvas, bool hot, TRect& rect, TKitUserButtonStyle style,
                        std::uint8_t state, std::uint16_t stateFlags, TColor color) {
    const TPen savedPen(*canvas.Pen());
    const TBrush savedBrush(*canvas.Brush());

    style = ResolveStyle(style, false);
    if (style == ubsAutoDetect) style = gui::NewStyleControls ? ubsWin40 : ubsWin31;
    Kind kind;
    switch (style) {
        case ubsWin31: kind = Kind::Win31; break;
        case ubsWin40: kind = (stateFlags & kbf3DBorder) ? Kind::Win40 : Kind::Win40Plain; break;
        case ubsDelphi: kind = Kind::BlackFrame; break;
        case ubsIntegrated: kind = Kind::Integrated; break;
        default: kind = Kind::Flat; break;
    }

    // Face.
    const bool pressed = KitButtonStatePressed(state);
    if (!IsExplorer(style)) {
        if (state == 3 && !(kind == Kind::Flat && hot))
            FillPattern(canvas, rect, color);
        else
            FillSolid(canvas, rect, color);
    }

    // Frame of the default button.
    if (!pressed && (stateFlags & (kbfFocused | kbfDefault))) {
        TRect r = rect;
        DrawEdge(canvas, r, BDR_SUNKENOUTER,
                 BF_SOFT | BF_TOPLEFT | ((stateFlags & kbfFillMiddle) ? BF_MIDDLE : 0));
        DrawEdge(canvas, r, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
        if (style == ubsWin31 && (stateFlags & kbfRoundCorners)) {
            RoundCorners(canvas, rect);
            stateFlags &= static_cast<std::uint16_t>(~kbfRoundCorners);
        }
        InflateRect(rect, -1, -1);
    }

    const TRect face = rect;
    Frame(canvas, rect, kind, style, hot, pressed, stateFlags, color);

    if (stateFlags & kbfFocused) {
        TRect f = face;
        InflateRect(f, pressed ? -4 : -3, pressed ? -4 : -3);
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(clBlack);
        canvas.Pen()->SetStyle(psSolid);
        canvas.Pen()->SetColor(clGray);
        DrawFocusRect(canvas, f);
    }

    rect = face;
    InflateRect(rect, -3, -3);
    if (pressed) OffsetRect(rect, 1, 1);

    canvas.Pen()->Assign(savedPen);
    canvas.Brush()->Assign(savedBrush);
    return true;
}

bool KitDrawButtonFace(gui::TWinControl* parent, TCanvas& canvas, bool hot, TRect& rect,
                       TKitUserButtonStyle style, std::uint8_t state, std::uint16_t stateFlags,
                       TColor color) {
    style = ResolveStyle(style, KitApplication->ThemesEnabled());
    if (style != ubsWinXP && style != ubsWinXPCombo && style != ubsWinXPTool)
        return KitPaintButtonFace(canvas, hot, rect, style, state, stateFlags, color);

    TRect r = rect;
    std::string themeClass;
    int part = 1;
    switch (style) {
        case ubsWinXP:
            themeClass = "BUTTON";
            InflateRect(r, 1, 1);
            break;
        case ubsWinXPCombo: themeClass = "COMBOBOX"; break;
        default:
            themeClass = "TOOLBAR";
            if (stateFlags & kbfSplit) part = (stateFlags & kbfDropDown) ? 4 : 3;
            break;
    }
    int themeState = 1;
    if (hot) themeState = 2;
    if (KitButtonStatePressed(state)) themeState = 3;
    if (Disabled(state)) themeState = 4;

    const TKitThemeFunctions& f = KitThemeFunctions;
    HTHEME theme = f.OpenThemeData ? f.OpenThemeData(parent, themeClass) : nullptr;
    if (theme && f.DrawThemeBackground) {
        try {
            f.DrawThemeBackground(theme, &canvas, part, themeState, r, &r);
        } catch (...) {
            if (f.CloseThemeData) f.CloseThemeData(theme);
            throw;
        }
    }
    InflateRect(r, -3, -3);
    if (stateFlags & kbfFocused) {
        const TBrushStyle old = canvas.Brush()->Style();
        canvas.Brush()->SetStyle(bsSolid);
        DrawFocusRect(canvas, r);
        canvas.Brush()->SetStyle(old);
    }
    if (theme && f.CloseThemeData) f.CloseThemeData(theme);
    rect = r;
    return true;
}

}  // namespace kit
