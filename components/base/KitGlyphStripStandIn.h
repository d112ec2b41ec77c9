// STAND-IN for the image-list item (a strip of equally sized images with a mask) that the glyph
// lists build on: only what the glyph cache uses. When the image-list item exists, the glyph list
// derives from it (created with CreateSize and Masked on) and this file goes.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/Graphics.h"

namespace kit {

class TKitGlyphStripStandIn {
public:
    // Raises EInvalidGraphicOperation "Ungültige Grafikgröße" when either extent is below 1.
    TKitGlyphStripStandIn(int width, int height);
    virtual ~TKitGlyphStripStandIn();
    TKitGlyphStripStandIn(const TKitGlyphStripStandIn&) = delete;
    TKitGlyphStripStandIn& operator=(const TKitGlyphStripStandIn&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int GetCount() const { return static_cast<int>(offsets_.size()); }
    bool Masked() const { return masked_; }
    // Switching on sizes the mask to the strip; switching off releases it.
    void SetMasked(bool value);

    // A new (blank) image behind the used part; the strip grows by AllocBy images at a time.
    // EInvalidGraphicOperation "Zu viele Bilder" beyond 32768 pixels.
    int AllocImage();
    // Puts the top-left Width x Height pixels of image at index; when masked, the pixels of
    // transparentColor become the mask. "Ungültige Grafikgröße" when image's height is not
    // Height or its width not a whole multiple of Width.
    void ReplaceMasked(int index, gdi::TBitmap& image, gdi::TColor transparentColor);
    void GetImageRect(int index, gdi::TRect& rect) const;

    gdi::TBitmap* Bitmap() { return &strip_; }
    gdi::TBitmap* MaskBitmap() { return &mask_; }

    static constexpr int AllocBy = 4;

private:
    void CheckImage(const gdi::TBitmap& image) const;
    int width_, height_;
    int usedWidth_ = 0;
    bool masked_ = false;
    std::vector<int> offsets_;
    gdi::TBitmap strip_;
    gdi::TBitmap mask_;
};

}  // namespace kit
