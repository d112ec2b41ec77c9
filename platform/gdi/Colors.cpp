// Colours, colour names and rectangle helpers.
#include <algorithm>
#include <array>
#include <cctype>

#include "platform/gdi/Graphics.h"

namespace gdi {

namespace {

// The classic Windows scheme ("Windows Standard" of Windows 2000), as $00BBGGRR.
constexpr std::array<TColor, 31> kSysColors = {
    RGB(212, 208, 200),  //  0 scroll bar
    RGB(58, 110, 165),   //  1 background (desktop)
    RGB(10, 36, 106),    //  2 active caption
    RGB(128, 128, 128),  //  3 inactive caption
    RGB(212, 208, 200),  //  4 menu
    RGB(255, 255, 255),  //  5 window
    RGB(0, 0, 0),        //  6 window frame
    RGB(0, 0, 0),        //  7 menu text
    RGB(0, 0, 0),        //  8 window text
    RGB(255, 255, 255),  //  9 caption text
    RGB(212, 208, 200),  // 10 active border
    RGB(212, 208, 200),  // 11 inactive border
    RGB(128, 128, 128),  // 12 application workspace
    RGB(10, 36, 106),    // 13 highlight
    RGB(255, 255, 255),  // 14 highlight text
    RGB(212, 208, 200),  // 15 button face
    RGB(128, 128, 128),  // 16 button shadow
    RGB(128, 128, 128),  // 17 grey text
    RGB(0, 0, 0),        // 18 button text
    RGB(212, 208, 200),  // 19 inactive caption text
    RGB(255, 255, 255),  // 20 button highlight
    RGB(64, 64, 64),     // 21 3-D dark shadow
    RGB(212, 208, 200),  // 22 3-D light
    RGB(0, 0, 0),        // 23 info text
    RGB(255, 255, 225),  // 24 info background
    RGB(0, 0, 0),        // 25 (unused)
    RGB(0, 0, 128),      // 26 hot light
    RGB(166, 202, 240),  // 27 gradient active caption
    RGB(192, 192, 192),  // 28 gradient inactive caption
    RGB(10, 36, 106),    // 29 menu highlight
    RGB(212, 208, 200),  // 30 menu bar
};

struct NamedColor {
    TColor value;
    const char* name;
};

// Order matters for ColorToString: the first name of a value wins.
constexpr NamedColor kNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
    {clMedGray, "clMedGray"}, {clNone, "clNone"}, {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"}, {clMenuBar, "clMenuBar"},
    // Aliases, only read.
    {clLtGray, "clLtGray"}, {clDkGray, "clDkGray"},
};

}  // namespace

TColor GetSysColor(int index) {
    if (index < 0 || index >= static_cast<int>(kSysColors.size())) return 0;
    return kSysColors[static_cast<std::size_t>(index)];
}

TColor ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == clSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

std::string ColorToString(TColor color) {
    for (const auto& n : kNames) {
        if (n.value == color) return n.name;
    }
    return "$" + rtl::IntToHex(static_cast<long long>(color), 8);
}

void GetColorValues(const std::function<void(const std::string&)>& proc) {
    for (const auto& n : kNames) {
        if (n.value == clLtGray && std::string_view(n.name) == "clLtGray") break;  // the aliases
        proc(n.name);
    }
}

bool IdentToColor(std::string_view ident, TColor& color) {
    for (const auto& n : kNames) {
        if (rtl::SameText(ident, n.name)) {
            color = n.value;
            return true;
        }
    }
    return false;
}

TColor StringToColor(std::string_view s) {
    TColor c = 0;
    if (IdentToColor(rtl::Trim(s), c)) return c;
    // Numbers may be written with the full 32 bits ($FF00000F); StrToInt64 takes them.
    long long v = rtl::StrToInt64(s);
    return static_cast<TColor>(v);
}

QColor ColorToQColor(TColor color) {
    TColor c = ColorToPixel(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor QColorToColor(const QColor& color) {
    QColor c = color.toRgb();
    return RGB(c.red(), c.green(), c.blue());
}

// ---- Rectangles ------------------------------------------------------------------------------

bool PtInRect(const TRect& r, const TPoint& p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

bool IsRectEmpty(const TRect& r) { return r.IsEmpty(); }

bool EqualRect(const TRect& a, const TRect& b) { return a == b; }

bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) {
        dst = TRect{};
        return false;
    }
    dst = r;
    return true;
}

bool UnionRect(TRect& dst, const TRect& a, const TRect& b) {
    if (a.IsEmpty()) {
        dst = b.IsEmpty() ? TRect{} : b;
    } else if (b.IsEmpty()) {
        dst = a;
    } else {
        dst = TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                    std::max(a.Bottom, b.Bottom)};
    }
    return !dst.IsEmpty();
}

void OffsetRect(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

void InflateRect(TRect& r, int dx, int dy) {
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}

}  // namespace gdi
