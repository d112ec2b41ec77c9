// Pixel routines on 24-bit bitmaps (blue, green, red bytes per pixel, row by row) and the
// bitmap-effect object that runs them over a control's background: mirror, upside down, grey,
// invert, brightness and a blend with a fill, optionally keeping the result in a buffer.
//
// Rectangles have exclusive right and bottom edges. Row k and pixel j of the rectangle go to
// row Origin.Y + k and column Origin.X + j of the output (the mirror and the row reversal turn
// that order round). Every routine works on the part of the rectangle that lies inside all of
// its bitmaps, and each is correct in place (the output the input bitmap, the origin the
// rectangle's top-left corner) and for any other overlap of input and output.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "components/base/kitclass.h"
#include "components/base/kitfill.h"
#include "platform/gdi/Graphics.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

class EKitWrongPixelFormat : public rtl::Exception {
public:
    using rtl::Exception::Exception;
    const char* ClassName() const noexcept override { return "EKitWrongPixelFormat"; }
};

using TKitBrightness = std::int16_t;
inline constexpr TKitBrightness KitBrightnessMin = -255, KitBrightnessMax = 255;

// True for a 24-bit bitmap; otherwise EKitWrongPixelFormat "Wrong PixelFormat in <Name> bitmap!".
bool KitCheckPixelFormat24(const gdi::TBitmap& Bitmap, const std::string& Name);

// Grey value (red 0.3, green 0.59, blue 0.11, each table entry rounded) into all three bytes.
void KitBmpGrayScale(gdi::TBitmap& Src, const gdi::TRect& SrcRect, gdi::TBitmap& Dst,
                     gdi::TPoint DstOrigin);
// Left-right mirror of every row; an odd width keeps its middle column in place.
void KitBmpMirrorRows(gdi::TBitmap& Src, const gdi::TRect& SrcRect, gdi::TBitmap& Dst,
                      gdi::TPoint DstOrigin);
// The rows in reverse order (upside down).
void KitBmpReverseRows(gdi::TBitmap& Src, const gdi::TRect& SrcRect, gdi::TBitmap& Dst,
                       gdi::TPoint DstOrigin);
// Every byte v as 255 - v.
void KitBmpInvert(gdi::TBitmap& Src, const gdi::TRect& SrcRect, gdi::TBitmap& Dst,
                  gdi::TPoint DstOrigin);
// Every byte v as v + Amount, clamped to 0..255.
void KitBmpBrightness(gdi::TBitmap& Src, const gdi::TRect& SrcRect, gdi::TBitmap& Dst,
                      gdi::TPoint DstOrigin, std::int16_t Amount);
// Every byte a of Src1 (in Rect1) and b of Src2 (same offset from Origin2) into Target (same
// offset from OriginT) as the low 8 bits of b + round((a - b) x Strength). All three bitmaps
// are checked for the 24-bit format first ("Source 1", "Source 2", "Target").
void KitBmpBlend(gdi::TBitmap& Src1, gdi::TBitmap& Src2, const gdi::TRect& Rect1,
                 gdi::TPoint Origin2, gdi::TBitmap& Target, float Strength, gdi::TPoint OriginT);

class TKitBitmapEffectObject : public TKitObject {
public:
    TKitBitmapEffectObject();
    ~TKitBitmapEffectObject() override;

    void Assign(const rtl::TPersistent* Source) override;
    // Notifies the owner, then invalidates the buffer.
    void GetChange(rtl::TObject* Sender) override;
    // The active settings, "{alpha,FV,FH,GS,INV,B}" in that order, or "{Disabled}".
    void GetSummary(std::string& Text) override;

    // Something would alter the picture (Buffered does not count).
    bool IsActive() const;
    // Copies SourceRect of Source to Dest's top-left corner and runs the effects over DestRect
    // of Dest (which must be 24-bit and should be the copied picture); while the buffer is
    // valid, draws the buffer instead.
    void Apply(gdi::TBitmap& Source, const gdi::TRect& SourceRect, gdi::TBitmap& Dest,
               const gdi::TRect& DestRect);
    void Invalidate() { BufferValid = false; }

    // Read by the controls directly. Buffer exists exactly while Buffered is set.
    bool BufferValid = false;
    gdi::TBitmap* Buffer() const { return buffer_.get(); }

    TKitAlphaObject* AlphaBlend() const { return alphaBlend_.get(); }
    void SetAlphaBlend(const TKitAlphaObject* value);
    // Index 0 FlipVertical, 1 FlipHorizontal, 2 GrayScale, 3 Invert, 4 Buffered.
    bool GetBoolean(int Index) const;
    void SetBoolean(int Index, bool Value);
    bool FlipVertical() const { return flipVertical_; }
    void SetFlipVertical(bool v) { SetBoolean(0, v); }
    bool FlipHorizontal() const { return flipHorizontal_; }
    void SetFlipHorizontal(bool v) { SetBoolean(1, v); }
    bool GrayScale() const { return grayScale_; }
    void SetGrayScale(bool v) { SetBoolean(2, v); }
    bool Invert() const { return invert_; }
    void SetInvert(bool v) { SetBoolean(3, v); }
    bool Buffered() const { return buffered_; }
    void SetBuffered(bool v) { SetBoolean(4, v); }
    TKitBrightness Brightness() const { return brightness_; }
    void SetBrightness(TKitBrightness value);

private:
    std::unique_ptr<TKitAlphaObject> alphaBlend_;
    bool invert_ = false, buffered_ = false, grayScale_ = false;
    bool flipVertical_ = false, flipHorizontal_ = false;
    std::unique_ptr<gdi::TBitmap> buffer_;
    TKitBrightness brightness_ = 0;
};

}  // namespace kit
