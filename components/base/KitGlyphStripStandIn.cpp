#include "components/base/KitGlyphStripStandIn.h"

#include "components/base/KitDrawBitmap.h"

namespace kit {

using namespace gdi;

namespace {
constexpr const char* kInvalidSize = "Ungültige Grafikgröße";
constexpr const char* kTooMany = "Zu viele Bilder";
constexpr int kMaxStripWidth = 32768;
}  // namespace

TKitGlyphStripStandIn::TKitGlyphStripStandIn(int width, int height)
    : width_(width), height_(height) {
    if (width < 1 || height < 1) throw EInvalidGraphicOperation(kInvalidSize);
    strip_.SetSize(0, height_);
}

TKitGlyphStripStandIn::~TKitGlyphStripStandIn() = default;

void TKitGlyphStripStandIn::SetMasked(bool value) {
    if (value == masked_) return;
    masked_ = value;
    if (masked_) {
        mask_.SetSize(strip_.Width(), height_);
        mask_.SetMonochrome(true);
    } else {
        mask_.SetWidth(0);
    }
}

int TKitGlyphStripStandIn::AllocImage() {
    const int x = usedWidth_;
    if (x + width_ > strip_.Width()) {
        const int wide = strip_.Width() + AllocBy * width_;
        if (wide > kMaxStripWidth) throw EInvalidGraphicOperation(kTooMany);
        strip_.SetSize(wide, height_);
        if (masked_) mask_.SetSize(wide, height_);
    }
    usedWidth_ += width_;
    offsets_.push_back(x);
    return GetCount() - 1;
}

void TKitGlyphStripStandIn::CheckImage(const TBitmap& image) const {
    if (image.Height() != height_ || image.Width() % width_ != 0 || image.Width() == 0)
        throw EInvalidGraphicOperation(kInvalidSize);
}

void TKitGlyphStripStandIn::GetImageRect(int index, TRect& rect) const {
    const int x = offsets_.at(static_cast<std::size_t>(index));
    rect = Rect(x, 0, x + width_, height_);
}

void TKitGlyphStripStandIn::ReplaceMasked(int index, TBitmap& image, TColor transparentColor) {
    CheckImage(image);
    TRect dest;
    GetImageRect(index, dest);
    const TRect src = Rect(0, 0, width_, height_);
    if (!masked_) {
        strip_.Canvas()->CopyRect(dest, *image.Canvas(), src);
        return;
    }
    TBitmap mask, img;
    KitCreateMaskedImage(image, &mask, &img, transparentColor);
    strip_.Canvas()->CopyRect(dest, *img.Canvas(), src);
    mask_.Canvas()->CopyRect(dest, *mask.Canvas(), src);
}

}  // namespace kit
