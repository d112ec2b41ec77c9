// Drawing layer: colours, geometry, pens, brushes, fonts, the canvas, bitmaps and pictures,
// written from what the program expects of the original platform's graphics class library, over
// QImage/QPainter. Antialiasing is off everywhere except for letters (see TFontQuality);
// width-1 lines are Bresenham lines with the
// end point excluded, rectangles exclude their right and bottom edges, as on the original
// platform.
//
// Property style (as in platform/rtl): a getter named like the property (Color()), a setter
// SetColor(); plain fields where setting has no side effect. Objects the original library hands
// out by reference (Canvas, Pen, Brush, Font, Bitmap) are returned as pointers that stay valid as
// long as their owner.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRegion>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

namespace gdi {

// ---- Exceptions ------------------------------------------------------------------------------
class EInvalidGraphic : public rtl::Exception {
public:
    using rtl::Exception::Exception;
    const char* ClassName() const noexcept override { return "EInvalidGraphic"; }
};
class EInvalidGraphicOperation : public rtl::Exception {
public:
    using rtl::Exception::Exception;
    const char* ClassName() const noexcept override { return "EInvalidGraphicOperation"; }
};

namespace msg {
inline constexpr const char* InvalidBitmap = "Bitmap ist ungültig";
inline constexpr const char* ScanLineRange = "Bereichsüberschreitung bei Zeilenindex";
inline constexpr const char* UnknownExtension = "Unbekannte Bilddateierweiterung (.%s)";
inline constexpr const char* NoScanLine = "Zeilenzugriff nur für 24- und 32-Bit-Bitmaps";
}  // namespace msg

// ---- Colours ---------------------------------------------------------------------------------
// $00BBGGRR: red in the lowest byte. $FF0000nn is the system colour nn (resolved by ColorToRGB
// to the fixed values of the classic Windows scheme), clNone and clDefault are special values.
// Unsigned, so that system colours are plain constants; values compare as exact 32-bit values.
using TColor = std::uint32_t;

inline constexpr TColor RGB(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline constexpr int GetRValue(TColor c) { return static_cast<int>(c & 0xFF); }
inline constexpr int GetGValue(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int GetBValue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clScrollBar = 0xFF000000;
inline constexpr TColor clBackground = 0xFF000001;
inline constexpr TColor clActiveCaption = 0xFF000002;
inline constexpr TColor clInactiveCaption = 0xFF000003;
inline constexpr TColor clMenu = 0xFF000004;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowFrame = 0xFF000006;
inline constexpr TColor clMenuText = 0xFF000007;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clCaptionText = 0xFF000009;
inline constexpr TColor clActiveBorder = 0xFF00000A;
inline constexpr TColor clInactiveBorder = 0xFF00000B;
inline constexpr TColor clAppWorkSpace = 0xFF00000C;
inline constexpr TColor clHighlight = 0xFF00000D;
inline constexpr TColor clHighlightText = 0xFF00000E;
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clBtnShadow = 0xFF000010;
inline constexpr TColor clGrayText = 0xFF000011;
inline constexpr TColor clBtnText = 0xFF000012;
inline constexpr TColor clInactiveCaptionText = 0xFF000013;
inline constexpr TColor clBtnHighlight = 0xFF000014;
inline constexpr TColor cl3DDkShadow = 0xFF000015;
inline constexpr TColor cl3DLight = 0xFF000016;
inline constexpr TColor clInfoText = 0xFF000017;
inline constexpr TColor clInfoBk = 0xFF000018;
inline constexpr TColor clHotLight = 0xFF00001A;
inline constexpr TColor clGradientActiveCaption = 0xFF00001B;
inline constexpr TColor clGradientInactiveCaption = 0xFF00001C;
inline constexpr TColor clMenuHighlight = 0xFF00001D;
inline constexpr TColor clMenuBar = 0xFF00001E;

// The value of system colour index (0..30) in the classic scheme ($00BBGGRR); 0 for unknown.
TColor GetSysColor(int index);
// System colours ($FF0000nn) become their fixed value; every other value is returned unchanged
// (also clNone and clDefault), as on the original platform.
TColor ColorToRGB(TColor color);
// The colour a pixel receives: ColorToRGB, then the low 24 bits.
inline TColor ColorToPixel(TColor color) { return ColorToRGB(color) & 0xFFFFFF; }
// "clRed" ... for named colours, otherwise "$00BBGGRR" (8 hex digits).
std::string ColorToString(TColor color);
// A colour name (case-insensitive) or a number (decimal, $hex, 0x hex); EConvertError otherwise.
TColor StringToColor(std::string_view s);
bool IdentToColor(std::string_view ident, TColor& color);
// Calls proc with the name of every named colour in the table's order (the 16 basic colours
// first, "clNone" and the system colours later); aliases are left out.
void GetColorValues(const std::function<void(const std::string&)>& proc);

QColor ColorToQColor(TColor color);         // system colours resolved; opaque
TColor QColorToColor(const QColor& color);  // alpha dropped

// 24-bit and 32-bit pixel layouts as ScanLine hands them out (blue first).
#pragma pack(push, 1)
struct TRGBTriple {
    std::uint8_t rgbtBlue, rgbtGreen, rgbtRed;
};
struct TRGBQuad {
    std::uint8_t rgbBlue, rgbGreen, rgbRed, rgbReserved;
};
#pragma pack(pop)
static_assert(sizeof(TRGBTriple) == 3 && sizeof(TRGBQuad) == 4);

// ---- Geometry --------------------------------------------------------------------------------
struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};
struct TSize {
    int cx = 0, cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};
// Right and Bottom lie just outside the rectangle.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}
bool PtInRect(const TRect& r, const TPoint& p);          // Left <= X < Right, Top <= Y < Bottom
bool IsRectEmpty(const TRect& r);
bool EqualRect(const TRect& a, const TRect& b);
// Intersection into dst; False (and an all-zero dst) when empty.
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
// Smallest rectangle holding both (empty inputs ignored); False when the result is empty.
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);
void OffsetRect(TRect& r, int dx, int dy);
void InflateRect(TRect& r, int dx, int dy);

// ---- Pen, brush, font ------------------------------------------------------------------------
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The 16 binary raster operations of the pen, in the original order.
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};
// Font styles as a bit set: fsBold | fsItalic ...
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
// How letters are rasterised: fqDefault and fqAntialiased draw greyscale-smoothed letters with
// light (vertical) hinting, fqNonAntialiased two-colour letters with full hinting (for pictures
// that key on the exact text colour). Text on a monochrome bitmap is always two-colour.
enum TFontQuality { fqDefault, fqNonAntialiased, fqAntialiased };

class TBitmap;

// Base of Pen, Brush and Font: OnChange runs after every change of a value. Copying copies the
// values only (never the OnChange handler); an assignment that changes something runs the
// target's OnChange once.
class TGraphicsObject : public rtl::TPersistent {
public:
    rtl::TNotifyEvent OnChange;

protected:
    void Changed();
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    TPen(const TPen& other) : TGraphicsObject() { CopyValues(other); }
    TPen& operator=(const TPen& other) { Assign(other); return *this; }
    void Assign(const TPen& source);

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Width() const { return width_; }
    void SetWidth(int w);          // values below 1 become 1
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode m);

    bool SameAs(const TPen& o) const {
        return color_ == o.color_ && width_ == o.width_ && style_ == o.style_ && mode_ == o.mode_;
    }

private:
    void CopyValues(const TPen& o) { color_ = o.color_; width_ = o.width_; style_ = o.style_; mode_ = o.mode_; }
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    TBrush(const TBrush& other) : TGraphicsObject() { CopyValues(other); }
    TBrush& operator=(const TBrush& other) { Assign(other); return *this; }
    void Assign(const TBrush& source);

    TColor Color() const { return color_; }
    void SetColor(TColor c);       // a solid colour also makes a bsClear brush bsSolid
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s);

    // A pattern bitmap, not owned (nullptr: none). A brush with a non-empty pattern fills by
    // tiling its pixels from the device origin, whatever its colour and style.
    const TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(const TBitmap* b);

    bool SameAs(const TBrush& o) const {
        return color_ == o.color_ && style_ == o.style_ && bitmap_ == o.bitmap_;
    }

private:
    void CopyValues(const TBrush& o) { color_ = o.color_; style_ = o.style_; bitmap_ = o.bitmap_; }
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    const TBitmap* bitmap_ = nullptr;
};

// Size in points at 96 pixels per inch; Height in pixels (negative: character height without
// internal leading, the usual form; Size = -MulDiv(Height, 72, 96)). The default, PT Sans Narrow
// at 8 points, is also the user interface's font: its letters and digits are no wider than those
// of the small dialog font the window layouts were made for, so every caption and value fits
// its control. Its small digits are told apart only when smoothed (fqDefault); two-colour at
// this size, 3 and 5 come out as the same pixels.
class TFont : public TGraphicsObject {
public:
    static constexpr int PixelsPerInch = 96;
    TFont() = default;
    TFont(const TFont& other) : TGraphicsObject() { CopyValues(other); }
    TFont& operator=(const TFont& other) { Assign(other); return *this; }
    void Assign(const TFont& source);

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int h);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles s);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch p);
    int Charset() const { return charset_; }   // stored only (DEFAULT_CHARSET = 1)
    void SetCharset(int c);
    int Orientation() const { return orientation_; }  // tenths of a degree, counter-clockwise
    void SetOrientation(int tenths);
    TFontQuality Quality() const { return quality_; }
    void SetQuality(TFontQuality q);

    bool SameAs(const TFont& o) const {
        return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ &&
               style_ == o.style_ && pitch_ == o.pitch_ && charset_ == o.charset_ &&
               orientation_ == o.orientation_ && quality_ == o.quality_;
    }

private:
    void CopyValues(const TFont& o) {
        name_ = o.name_; height_ = o.height_; color_ = o.color_; style_ = o.style_;
        pitch_ = o.pitch_; charset_ = o.charset_; orientation_ = o.orientation_;
        quality_ = o.quality_;
    }
    std::string name_ = "PT Sans Narrow";
    int height_ = -11;  // 8 pt
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    TFontPitch pitch_ = fpDefault;
    int charset_ = 1;
    int orientation_ = 0;
    TFontQuality quality_ = fqDefault;
};

// The QFont a TFont stands for (pixel size at 96 dpi, no kerning, smoothing and hinting by
// Quality, never subpixel colour fringes). Creates a
// QGuiApplication through EnsureGuiApplication when none exists yet.
QFont FontToQFont(const TFont& font);
// Creates a QGuiApplication when no Qt application object exists yet (needed for fonts);
// "offscreen" is chosen when no display is known. Does nothing when one exists already.
// A program that wants a QApplication must create it before its first text operation.
void EnsureGuiApplication();

// ---- Canvas ----------------------------------------------------------------------------------
// Raster operations of CopyRect/Draw/StretchDraw (the ternary codes of the original platform).
using TCopyMode = std::uint32_t;
inline constexpr TCopyMode cmBlackness = 0x00000042;
inline constexpr TCopyMode cmDstInvert = 0x00550009;
inline constexpr TCopyMode cmMergeCopy = 0x00C000CA;
inline constexpr TCopyMode cmMergePaint = 0x00BB0226;
inline constexpr TCopyMode cmNotSrcCopy = 0x00330008;
inline constexpr TCopyMode cmNotSrcErase = 0x001100A6;
inline constexpr TCopyMode cmPatCopy = 0x00F00021;
inline constexpr TCopyMode cmPatInvert = 0x005A0049;
inline constexpr TCopyMode cmPatPaint = 0x00FB0A09;
inline constexpr TCopyMode cmSrcAnd = 0x008800C6;
inline constexpr TCopyMode cmSrcCopy = 0x00CC0020;
inline constexpr TCopyMode cmSrcErase = 0x00440328;
inline constexpr TCopyMode cmSrcInvert = 0x00660046;
inline constexpr TCopyMode cmSrcPaint = 0x00EE0086;
inline constexpr TCopyMode cmWhiteness = 0x00FF0062;

class TBitmap;

// A drawing surface over a QImage (Format_BGR888, Format_RGB32, Format_ARGB32 or
// Format_ARGB32_Premultiplied; another format is converted to Format_RGB32 in place when the
// canvas is attached). The canvas does not own the image. Coordinates are logical: a pixel's
// device position is logical + Origin(). Every drawing operation is clipped to the image and
// to the clip region (device coordinates) when one is set.
// OnChanging runs before and OnChange after every drawing operation.
class TCanvas : public rtl::TPersistent {
public:
    TCanvas();
    explicit TCanvas(QImage* target);
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    void SetTarget(QImage* target);
    QImage* Target() const { return target_; }

    TPen* Pen() { return &pen_; }
    TBrush* Brush() { return &brush_; }
    TFont* Font() { return &font_; }
    const TPen* Pen() const { return &pen_; }
    const TBrush* Brush() const { return &brush_; }
    const TFont* Font() const { return &font_; }
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint p) { penPos_ = p; }
    TCopyMode CopyMode = cmSrcCopy;

    // Lines: the end point itself is not drawn; PenPos moves to it.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    // Outline with the pen, inside with the brush; right and bottom edges excluded.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int left, int top, int right, int bottom, int ellipseW, int ellipseH);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Polygon(std::span<const TPoint> points);  // closed; alternate filling
    // With the brush only (pen and pen mode are not used); right and bottom edges excluded.
    void FillRect(const TRect& r);
    // A one-pixel frame in the brush colour.
    void FrameRect(const TRect& r);

    // Pixel colour ($00BBGGRR); 0xFFFFFFFF (CLR_INVALID) outside the image or clip.
    TColor Pixels(int x, int y) const;
    void SetPixels(int x, int y, TColor color);

    // Text in the font, its top-left corner at (x, y); a solid brush fills the text's cell
    // first (opaque background), bsClear leaves the background. PenPos moves to the text's end.
    void TextOut(int x, int y, const std::string& text);
    // As TextOut, clipped to r; a solid brush fills all of r first.
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

    // Bitmaps: Draw honours the bitmap's Transparent/TransparentColor; StretchDraw stretches
    // without smoothing (nearest pixel, as the original's colour-on-colour stretch mode).
    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& dest, const TBitmap& bitmap);
    // Copies (stretching when the sizes differ) source's rectangle to dest with CopyMode.
    // A negative width or height of either rectangle mirrors.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
    // Copies a bitmap area replacing the colour `color` by the brush colour.
    void BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source, TColor color);

    // Clipping (logical coordinates). ClipRect is the bounding box of what can be drawn.
    TRect ClipRect() const;
    void SetClipRect(const TRect& r);          // replaces the clip
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    void SetClipRegion(const QRegion& deviceRegion);  // device coordinates
    bool HasClip() const { return hasClip_; }
    const QRegion& ClipRegion() const { return clip_; }  // device coordinates
    void ResetClip();
    TPoint Origin() const { return origin_; }
    void SetOrigin(TPoint deviceOffset) { origin_ = deviceOffset; }

    // Text and background colours of the device context. A monochrome bitmap copied onto a
    // colour surface maps its black pixels to TextColor and its white pixels to BkColor; a
    // colour surface copied onto a monochrome bitmap gives white where a pixel has the source
    // canvas's BkColor and black elsewhere. Defaults black and white (a plain copy).
    TColor TextColor() const { return textColor_; }
    TColor SetTextColor(TColor c) { TColor old = textColor_; textColor_ = c; return old; }
    TColor BkColor() const { return bkColor_; }
    TColor SetBkColor(TColor c) { TColor old = bkColor_; bkColor_ = c; return old; }
    // True while the canvas draws on a monochrome bitmap.
    bool Monochrome() const;

    // Extra pixels after every character that TextOut, TextRect and TextExtent lay out.
    int TextCharacterExtra() const { return charExtra_; }
    int SetTextCharacterExtra(int extra) { int old = charExtra_; charExtra_ = extra; return old; }
    // A fraction of a pixel, in 64ths (0 to 63), that TextOut and TextRect add to their x. Drawn
    // from the exact position of its first character (TTextCarets), a part of a line puts every
    // letter where drawing the whole line puts it, smoothed letters standing between pixels.
    int TextSubpixelX() const { return subpixelX_; }
    int SetTextSubpixelX(int sixtyFourths) { int old = subpixelX_; subpixelX_ = sixtyFourths; return old; }
    // The letters as TextOut and TextExtent lay them out: the font (two-colour on a monochrome
    // bitmap) with the character extra.
    QFont TextFont() const;
    // TA_TOP: the y of TextOut is the top of the text cell; TA_BASELINE: its baseline.
    static constexpr unsigned TA_TOP = 0;
    static constexpr unsigned TA_BASELINE = 24;
    unsigned TextAlign() const { return textAlign_; }
    unsigned SetTextAlign(unsigned align) { unsigned old = textAlign_; textAlign_ = align; return old; }

    rtl::TNotifyEvent OnChange;
    rtl::TNotifyEvent OnChanging;

    // Internals shared with TBitmap.
    struct Impl;

protected:
    void Changing();
    void Changed();

private:
    friend struct Impl;
    friend class TBitmap;
    QImage* target_ = nullptr;
    const TBitmap* bitmap_ = nullptr;  // the bitmap this canvas belongs to, if any
    TColor textColor_ = clBlack;
    TColor bkColor_ = clWhite;
    int charExtra_ = 0;
    int subpixelX_ = 0;
    unsigned textAlign_ = 0;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TPoint penPos_;
    TPoint origin_;
    QRegion clip_;
    bool hasClip_ = false;
};

// ---- Caret positions of a line ------------------------------------------------------------------
// Where the caret stands before each character (code point) of a single line of text in a
// canvas's letters: the width of the first i characters as TextExtent measures that prefix, exact
// in 64ths of a pixel and rounded as TextExtent rounds it, and the width of each character alone.
// Letters advance by fractions of a pixel, so the positions are sums of exact advances, never of
// rounded widths. One pass over the text gives them all: each character's advance is measured
// once per font, and runs of characters are measured whole to confirm that their advances add up
// (no ligature, mark or joining letter changes them); a run that does not is measured prefix by
// prefix. Runs end after blanks (no letter joins across a blank, and kerning is off); a longer
// run is measured in pieces of a few dozen characters, each together with the letters before it
// (a ligature or joined letters across a cut count as in the whole run), so the cost grows with
// the length of the text; after a change of the text only the runs around the change are
// measured again. A tab advances to the
// next multiple of 80 pixels from the start of the line, as TextExtent lays it out.
class TTextCarets {
public:
    static constexpr int Unit = 64;  // exact positions are in 64ths of a pixel

    TTextCarets();
    ~TTextCarets();
    TTextCarets(const TTextCarets&) = delete;
    TTextCarets& operator=(const TTextCarets&) = delete;

    // Lays out text in the canvas's letters (font, character extra, surface); nothing is measured
    // when neither changed since the last call.
    void Measure(const TCanvas& canvas, std::u32string_view text);
    // Whether the last layout was made in the canvas's letters.
    bool SameLetters(const TCanvas& canvas) const;
    std::size_t Length() const { return x_.size() - 1; }
    // Position before character i (0 to Length(); Length() is the end of the line).
    std::int64_t Exact(std::size_t i) const { return x_[i]; }
    int X(std::size_t i) const { return Round(x_[i]); }
    int Width() const { return X(Length()); }
    // TextExtent's width of character i (0-based) alone.
    int CharWidth(std::size_t i) const { return Round(alone_[i]); }
    // Changes whenever a position or width changed, for tables derived from them; the
    // positions up to Kept() and the widths of the characters before it stayed as they were.
    unsigned Version() const { return version_; }
    std::size_t Kept() const { return kept_; }
    // Whether a part of the line may start or end before character i with its letters where the
    // whole line puts them: at the line's ends, at a run boundary, and where the letters after i
    // measured on their own advance as they do in the line (no ligature or joined letter reaches
    // across i).
    bool Joint(std::size_t i) const;
    // The characters to draw so that those of [first, last) stand and look as in the whole line:
    // first moved back and last on to joints. A line with letters written from right to left
    // is drawn whole (a part of it would be reordered on its own).
    std::pair<std::size_t, std::size_t> DrawnPart(std::size_t first, std::size_t last) const;
    // A position in 64ths of a pixel rounded to whole pixels as TextExtent rounds, and the
    // whole pixels at or left of it.
    static int Round(std::int64_t v) { return Floor(v + Unit / 2); }
    static int Floor(std::int64_t v) { return static_cast<int>(v >> 6); }
    static_assert(Unit == 1 << 6);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    std::vector<std::int64_t> x_{0};
    std::vector<std::int32_t> alone_;
    unsigned version_ = 0;
    std::size_t kept_ = 0;
};

// ---- Bitmap ----------------------------------------------------------------------------------
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

// Pixels live in a QImage: pf24bit (the default) in Format_BGR888 (bytes blue, green, red per
// pixel), pf32bit in Format_RGB32 (bytes blue, green, red, 255). Rows run top-down and are
// padded to 4 bytes. pfDevice is taken as pf24bit; pf1bit/pf4bit/pf8bit/pf15bit/pf16bit keep
// 24-bit storage with the colours reduced (pf1bit: black and white) and have no ScanLine.
// A new or enlarged area is filled with the canvas brush colour (white by default).
// Allocation failure raises rtl::EOutOfMemory ("Zu wenig Arbeitsspeicher").
class TBitmap : public rtl::TPersistent {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }
    // Keeps the old content at the top-left; values below 0 count as 0. A bitmap with one
    // extent 0 keeps the other (Width 5, Height 0 is empty and has no pixels).
    void SetSize(int width, int height);
    bool Empty() const { return Width() == 0 || Height() == 0; }

    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat pf);
    bool Monochrome() const { return pixelFormat_ == pf1bit; }
    void SetMonochrome(bool mono);

    // The canvas is created on first use and stays the same object across SetSize/Assign.
    TCanvas* Canvas();

    // Pointer to the first byte of row `row` (0 = top); 3 bytes per pixel for pf24bit (B, G, R),
    // 4 for pf32bit (B, G, R, reserved). EInvalidGraphicOperation outside 0..Height-1.
    // Writing through it does not run OnChange (call Modified() when needed).
    std::uint8_t* ScanLine(int row);
    const std::uint8_t* ScanLine(int row) const;
    int BytesPerLine() const { return image_.isNull() ? 0 : static_cast<int>(image_.bytesPerLine()); }

    // Transparency when drawn by a canvas or an image control. tmAuto: the bottom-left pixel's
    // colour (white for an empty bitmap); tmFixed: the colour set by SetTransparentColor.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool t);
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c);   // also sets tmFixed (clDefault: back to tmAuto)
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode m);

    // Turns the bitmap into a monochrome mask: pixels of `transparentColor` white, others black.
    void Mask(TColor transparentColor);

    void Assign(const TBitmap& source);   // size, pixels, pixel format, transparency
    void Clear() { SetSize(0, 0); }

    // Windows BMP: pf32bit is written with 32 bits per pixel (BI_RGB, 4th byte 0), everything
    // else with 24; bottom-up, rows padded to 4 bytes, 54-byte header (file header + 40-byte
    // info header, resolution fields 0, no palette). SaveToStream writes from the stream's
    // position; LoadFromStream reads one BMP from the position (its size from the header). Reading takes uncompressed 1/4/8/16/24/32-bit
    // files (Qt's reader for the rest); invalid data raises EInvalidGraphic ("Bitmap ist
    // ungültig"). File errors raise the rtl stream errors.
    void SaveToFile(const std::string& fileName) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToStream(rtl::TStream& stream) const;
    void LoadFromStream(rtl::TStream& stream);
    std::vector<std::uint8_t> SaveToBytes() const;
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);

    // Qt exchange for the GUI layer. ToQImage returns an implicitly shared copy (cheap until
    // either side writes). FromQImage converts to pf24bit (pf32bit when the bitmap is pf32bit).
    QImage ToQImage() const { return image_; }
    const QImage& Image() const { return image_; }
    QImage* MutableImage() { return &image_; }
    void FromQImage(const QImage& image);

    void Modified() { Changed(); }
    rtl::TNotifyEvent OnChange;

private:
    void Changed();
    void Allocate(int width, int height, TPixelFormat pf, bool keep);
    QImage image_;  // null while Width or Height is 0
    int width_ = 0, height_ = 0;
    std::unique_ptr<TCanvas> canvas_;
    TPixelFormat pixelFormat_ = pf24bit;
    bool transparent_ = false;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clDefault;
};

// ---- Picture ---------------------------------------------------------------------------------
// Holds at most one graphic, always a bitmap here. Bitmap() creates an empty one on first use.
class TPicture : public rtl::TPersistent {
public:
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TBitmap* Bitmap();
    TBitmap* Graphic() const { return bitmap_.get(); }  // nullptr when empty
    bool HasGraphic() const { return bitmap_ != nullptr; }
    int Width() const { return bitmap_ ? bitmap_->Width() : 0; }
    int Height() const { return bitmap_ ? bitmap_->Height() : 0; }
    void Assign(const TPicture& source);
    void Assign(const TBitmap* source);    // nullptr empties the picture
    void Clear();
    void LoadFromFile(const std::string& fileName);  // BMP
    void SaveToFile(const std::string& fileName) const;

    rtl::TNotifyEvent OnChange;

private:
    void Changed();
    void Hook();
    std::unique_ptr<TBitmap> bitmap_;
};

// The binary raster operation of a pen mode: pen colour p over destination colour d.
inline TColor Rop2(TPenMode mode, TColor p, TColor d) {
    TColor r;
    switch (mode) {
        case pmBlack: r = 0; break;
        case pmWhite: r = 0xFFFFFF; break;
        case pmNop: r = d; break;
        case pmNot: r = ~d; break;
        case pmCopy: r = p; break;
        case pmNotCopy: r = ~p; break;
        case pmMergePenNot: r = p | ~d; break;
        case pmMaskPenNot: r = p & ~d; break;
        case pmMergeNotPen: r = ~p | d; break;
        case pmMaskNotPen: r = ~p & d; break;
        case pmMerge: r = p | d; break;
        case pmNotMerge: r = ~(p | d); break;
        case pmMask: r = p & d; break;
        case pmNotMask: r = ~(p & d); break;
        case pmXor: r = p ^ d; break;
        case pmNotXor: r = ~(p ^ d); break;
        default: r = p; break;
    }
    return r & 0xFFFFFF;
}

// Keeps a canvas's clip and puts it back when leaving.
class TClipKeeper {
public:
    explicit TClipKeeper(TCanvas& c) : c_(c), had_(c.HasClip()), region_(c.ClipRegion()) {}
    ~TClipKeeper() {
        if (had_) c_.SetClipRegion(region_);
        else c_.ResetClip();
    }
    TClipKeeper(const TClipKeeper&) = delete;
    TClipKeeper& operator=(const TClipKeeper&) = delete;

private:
    TCanvas& c_;
    bool had_;
    QRegion region_;
};

}  // namespace gdi
