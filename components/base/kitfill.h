// Fill descriptions and their painting: the shape fill (style, bitmap, gradient, tiling), the
// fill object that adds a brush, the placement of a single bitmap and options, and the alpha
// object that pairs a fill with a blend strength and an image from an image list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "components/base/KitGradient.h"
#include "components/base/kitcont.h"
#include "components/base/kitclass.h"
#include "components/base/kitgraph.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Graphics.h"
#include "platform/rtl/Sets.h"

namespace kit {

enum TKitFillOption : std::uint8_t { foFillInner, foQuickDraw, foGrUseBitmap };
using TKitFillOptions = rtl::TSet<TKitFillOption, std::uint8_t>;

class TKitShapeFill : public TKitObject {
public:
    TKitShapeFill();
    ~TKitShapeFill() override;

    void Assign(const rtl::TPersistent* Source) override;
    // "{" + the style's name + "}".
    void GetSummary(std::string& Text) override;

    gdi::TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(const gdi::TBitmap* value);  // assigns into the owned bitmap (nil empties it)
    TKitGradient* Gradient() const { return gradient_.get(); }
    void SetGradient(const TKitGradient* value);
    TKitFillStyle Style() const { return style_; }
    void SetStyle(TKitFillStyle value);
    TKitTileMode TileMode() const { return tileMode_; }
    void SetTileMode(TKitTileMode value);

    // The picture of style sfBitmapList; changing it notifies nobody.
    gdi::TBitmap* ListBitmap() const { return listBitmap_.get(); }
    // The list bitmap takes Bitmap's picture; nil empties it. No notification.
    void SetListBitmap(const gdi::TBitmap* Bitmap);

    // sfNone, sfBitmap without a bitmap, sfBitmapList without a list bitmap.
    bool IsEmptyFill() const;
    gdi::HPALETTE GetPalette() const;

protected:
    TKitFillStyle style_ = sfBrush;
    TKitTileMode tileMode_ = tmTile;

private:
    std::unique_ptr<gdi::TBitmap> bitmap_;
    std::unique_ptr<TKitGradient> gradient_;
    std::unique_ptr<gdi::TBitmap> listBitmap_;
};

class TKitFillObject : public TKitShapeFill {
public:
    TKitFillObject();
    ~TKitFillObject() override;

    // From another fill object: brush, options, bitmaps, gradient, style and tile mode, with
    // one notification; the placement (alignment, offsets) stays.
    void Assign(const rtl::TPersistent* Source) override;

    // Paints rect with the fill. True when the fill was painted, False when nothing was
    // (sfNone) or only the background (an empty picture). The canvas keeps the brush and pen
    // the fill set.
    bool FillCanvas(gdi::TCanvas& Canvas, const gdi::TRect& Rect, gdi::TColor BackColor);

    // Placement of the bitmap when TileMode is tmNone; a change notifies only when it shows.
    TKitAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKitAlignment value);
    int OffsetX() const { return offsetX_; }
    void SetOffsetX(int value);
    int OffsetY() const { return offsetY_; }
    void SetOffsetY(int value);
    gdi::TBrush* Brush() const { return brush_.get(); }
    void SetBrush(const gdi::TBrush* value);
    TKitFillOptions Options() const { return options_; }
    void SetOptions(TKitFillOptions value);

private:
    void PlacementChanged();
    void FillInner(gdi::TCanvas& canvas, const gdi::TRect& rect, gdi::TColor backColor) const;

    TKitAlignment alignment_ = agTopLeft;
    int offsetX_ = 0, offsetY_ = 0;
    std::unique_ptr<gdi::TBrush> brush_;
    TKitFillOptions options_{foFillInner, foGrUseBitmap};
};

class TKitAlphaObject : public TKitObject {
public:
    TKitAlphaObject();
    ~TKitAlphaObject() override;

    void Assign(const rtl::TPersistent* Source) override;
    // "{Disabled}" or "{Enabled (kind), strength: 0,600}".
    void GetSummary(std::string& Text) override;

    // The fill is painted (its style is not sfNone) and the strength leaves something of it.
    bool IsActive() const;
    // Copies the selected image of the list into the fill's list bitmap (or empties it), then
    // notifies.
    void RefreshListBitmap(rtl::TObject* Sender);

    // Not owned. The object hears of the list's changes and of its destruction; a freed list
    // reads as nil.
    TKitCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TKitCustomImageList* value);
    // A negative index selects no image. Setting always refreshes, also an unchanged value.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int value);
    float Strength() const { return strength_; }
    void SetStrength(float value);
    TKitFillObject* FillObject() const { return fillObject_.get(); }
    void SetFillObject(const TKitFillObject* value);

    // Form-file rules: the strength is written unless it is 0.6 to six decimals; a list is
    // written as a reference unless it is an application-wide list ("Internal" names those).
    bool IsStrengthStored() const;
    bool IsImageListStored() const;

protected:
    void DefineProperties(rtl::TFiler* Filer) override;

private:
    class TListWatch;
    void ListFreed(rtl::TComponent* list);

    TKitCustomImageList* imageList_ = nullptr;
    float strength_ = 0.6f;
    int imageIndex_ = 0, listIndex_ = 0;
    std::unique_ptr<TKitFillObject> fillObject_;
    std::unique_ptr<TKitChangeLink> changeLink_;
    std::unique_ptr<TListWatch> watch_;
};

}  // namespace kit
