#include "components/base/kitfill.h"

#include <cmath>

#include "components/base/KitDrawBitmap.h"
#include "components/base/KitDrawText.h"
#include "components/base/kitsysin.h"
#include "platform/rtl/TaggedStream.h"

namespace kit {

using namespace gdi;

namespace {

void AssignBitmap(TBitmap& target, const TBitmap* source) {
    if (source) {
        target.Assign(*source);
    } else if (!target.Empty()) {
        target.Clear();
    }
}

}  // namespace

// ---- Shape fill ------------------------------------------------------------------------------

TKitShapeFill::TKitShapeFill()
    : bitmap_(std::make_unique<TBitmap>()),
      gradient_(std::make_unique<TKitGradient>()),
      listBitmap_(std::make_unique<TBitmap>()) {
    bitmap_->OnChange = ChangeHandler();
    gradient_->OnChange = ChangeHandler();
}

TKitShapeFill::~TKitShapeFill() {
    bitmap_->OnChange = nullptr;
    gradient_->OnChange = nullptr;
}

void TKitShapeFill::Assign(const rtl::TPersistent* Source) {
    auto* src = dynamic_cast<const TKitShapeFill*>(Source);
    if (!src) {
        TKitObject::Assign(Source);
        return;
    }
    if (src == this) return;
    BeginUpdate();
    bitmap_->Assign(*src->bitmap_);
    listBitmap_->Assign(*src->listBitmap_);
    gradient_->Assign(src->gradient_.get());
    style_ = src->style_;
    tileMode_ = src->tileMode_;
    EndUpdate(true);
}

void TKitShapeFill::GetSummary(std::string& Text) {
    static const char* const names[] = {"Disabled",   "BitmapBrush", "Brush",
                                        "Bitmap",     "BitmapList",  "Gradient"};
    Text = std::string("{") + (style_ <= sfGradient ? names[style_] : "") + "}";
}

void TKitShapeFill::SetBitmap(const TBitmap* value) { AssignBitmap(*bitmap_, value); }

void TKitShapeFill::SetGradient(const TKitGradient* value) { gradient_->Assign(value); }

void TKitShapeFill::SetStyle(TKitFillStyle value) {
    if (value == style_) return;
    style_ = value;
    Change();
}

void TKitShapeFill::SetTileMode(TKitTileMode value) {
    if (value == tileMode_) return;
    tileMode_ = value;
    Change();
}

void TKitShapeFill::SetListBitmap(const TBitmap* Bitmap) { AssignBitmap(*listBitmap_, Bitmap); }

bool TKitShapeFill::IsEmptyFill() const {
    switch (style_) {
        case sfNone: return true;
        case sfBitmap: return bitmap_->Empty();
        case sfBitmapList: return listBitmap_->Empty();
        default: return false;
    }
}

HPALETTE TKitShapeFill::GetPalette() const {
    // Bitmaps here carry no palette; only the gradient has one.
    return style_ == sfGradient ? gradient_->GetPalette() : 0;
}

// ---- Fill object -----------------------------------------------------------------------------

TKitFillObject::TKitFillObject() : brush_(std::make_unique<TBrush>()) {
    brush_->OnChange = ChangeHandler();
    style_ = sfNone;  // the fill object paints nothing until told
}

TKitFillObject::~TKitFillObject() { brush_->OnChange = nullptr; }

void TKitFillObject::Assign(const rtl::TPersistent* Source) {
    auto* src = dynamic_cast<const TKitFillObject*>(Source);
    if (!src) {
        TKitShapeFill::Assign(Source);
        return;
    }
    if (src == this) return;
    BeginUpdate();
    brush_->Assign(*src->brush_);
    options_ = src->options_;
    Bitmap()->Assign(*src->Bitmap());
    ListBitmap()->Assign(*src->ListBitmap());
    Gradient()->Assign(src->Gradient());
    SetStyle(src->Style());
    SetTileMode(src->TileMode());
    EndUpdate(true);
}

void TKitFillObject::PlacementChanged() {
    if ((style_ == sfBitmap || style_ == sfBitmapList) && tileMode_ == tmNone) Change();
}

void TKitFillObject::SetAlignment(TKitAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    PlacementChanged();
}

void TKitFillObject::SetOffsetX(int value) {
    if (value == offsetX_) return;
    offsetX_ = value;
    PlacementChanged();
}

void TKitFillObject::SetOffsetY(int value) {
    if (value == offsetY_) return;
    offsetY_ = value;
    PlacementChanged();
}

void TKitFillObject::SetBrush(const TBrush* value) {
    if (value) brush_->Assign(*value);
}

void TKitFillObject::SetOptions(TKitFillOptions value) {
    if (value == options_) return;
    options_ = value;
    Change();
}

void TKitFillObject::FillInner(TCanvas& canvas, const TRect& rect, TColor backColor) const {
    if (!options_.Contains(foFillInner)) return;
    canvas.Brush()->SetBitmap(nullptr);
    canvas.Brush()->SetColor(backColor);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.FillRect(rect);
}

bool TKitFillObject::FillCanvas(TCanvas& Canvas, const TRect& Rect, TColor BackColor) {
    switch (style_) {
        case sfBrush: {
            Canvas.Brush()->Assign(*brush_);
            Canvas.Pen()->SetColor(BackColor);
            const TBrushStyle st = Canvas.Brush()->Style();
            if (st != bsSolid) {
                Canvas.SetBkColor(ColorToRGB(BackColor));
                // The gaps of a hatch show the background colour.
                if (st != bsClear && !Canvas.Brush()->Bitmap()) {
                    TBrush hatch(*Canvas.Brush());
                    Canvas.Brush()->SetColor(BackColor);
                    Canvas.Brush()->SetStyle(bsSolid);
                    Canvas.FillRect(Rect);
                    Canvas.Brush()->Assign(hatch);
                }
            }
            Canvas.FillRect(Rect);
            return true;
        }
        case sfBrushBitmap: {
            TBitmap* picture = Bitmap();
            if (picture->Empty()) {
                Canvas.FillRect(Rect);
                return true;
            }
            std::unique_ptr<TBitmap> small;
            const TBitmap* pattern = picture;
            if (!KitIsWinNT) {
                // Older systems take 8 x 8 pattern brushes only.
                small = std::make_unique<TBitmap>(8, 8);
                small->Canvas()->CopyRect(gdi::Rect(0, 0, 8, 8), *picture->Canvas(),
                                          gdi::Rect(0, 0, 8, 8));
                pattern = small.get();
            }
            struct ClearPattern {
                TCanvas& c;
                ~ClearPattern() { c.Brush()->SetBitmap(nullptr); }
            } clear{Canvas};
            Canvas.Brush()->SetBitmap(pattern);
            Canvas.FillRect(Rect);
            return true;
        }
        case sfBitmap:
        case sfBitmapList: {
            TBitmap& picture = style_ == sfBitmap ? *Bitmap() : *ListBitmap();
            if (picture.Empty()) {
                FillInner(Canvas, Rect, BackColor);
                return false;
            }
            unsigned flags = options_.Contains(foQuickDraw) ? 0 : kdfPalette;
            TRect target = Rect;
            TRect drawn;
            switch (tileMode_) {
                case tmNone:
                    FillInner(Canvas, Rect, BackColor);
                    KitAlignRect(alignment_, gdi::Rect(0, 0, picture.Width(), picture.Height()), Rect,
                                 target);
                    OffsetRect(target, offsetX_, offsetY_);
                    break;
                case tmCenter:
                    FillInner(Canvas, Rect, BackColor);
                    flags += kdfCenter;
                    break;
                case tmStretch: flags += kdfStretch; break;
                case tmTile: flags += kdfTile; break;
            }
            KitDrawBitmap(Canvas, target, picture, flags, 0, drawn);
            return true;
        }
        case sfGradient: {
            TKitGradient* g = Gradient();
            unsigned flags = options_.Contains(foGrUseBitmap) ? kpgOffscreen : 0;
            if (g->PaletteRealize()) flags += kpgPalette;
            KitPaintGradient(Canvas, Rect, g->Style(), &g->Colors(), g->GetPalette(), flags, 0);
            return true;
        }
        default: return false;
    }
}

// ---- Alpha object ----------------------------------------------------------------------------

// Hears of the destruction of the image list through the platform's free notification.
class TKitAlphaObject::TListWatch : public rtl::TComponent {
public:
    explicit TListWatch(TKitAlphaObject& alpha) : rtl::TComponent(nullptr), alpha_(alpha) {}

protected:
    void Notification(rtl::TComponent* component, rtl::TOperation operation) override {
        rtl::TComponent::Notification(component, operation);
        if (operation == rtl::TOperation::opRemove) alpha_.ListFreed(component);
    }

private:
    TKitAlphaObject& alpha_;
};

TKitAlphaObject::TKitAlphaObject()
    : fillObject_(std::make_unique<TKitFillObject>()),
      changeLink_(std::make_unique<TKitChangeLink>()),
      watch_(std::make_unique<TListWatch>(*this)) {
    fillObject_->OnChange = ChangeHandler();
    changeLink_->OnChange = [this](rtl::TObject* sender) { RefreshListBitmap(sender); };
}

TKitAlphaObject::~TKitAlphaObject() {
    changeLink_->OnChange = nullptr;
    fillObject_->OnChange = nullptr;
    changeLink_.reset();  // leaves its container
    watch_.reset();       // drops the free-notification link
}

void TKitAlphaObject::ListFreed(rtl::TComponent* list) {
    if (imageList_ == nullptr || static_cast<rtl::TComponent*>(imageList_) != list) return;
    // The container has dropped its links already; the dying list is not called again.
    changeLink_->Sender = nullptr;
    imageList_ = nullptr;
    RefreshListBitmap(this);
}

bool TKitAlphaObject::IsActive() const {
    return fillObject_->Style() != sfNone && strength_ != 1.0f;
}

void TKitAlphaObject::RefreshListBitmap(rtl::TObject* /*Sender*/) {
    if (imageList_ && listIndex_ >= 0 && imageIndex_ >= 0 &&
        imageList_->HasImage(listIndex_, imageIndex_)) {
        imageList_->GetBitmap(listIndex_, imageIndex_, fillObject_->ListBitmap());
    } else {
        fillObject_->SetListBitmap(nullptr);
    }
    GetChange(this);
}

void TKitAlphaObject::SetImageList(TKitCustomImageList* value) {
    if (imageList_) {
        imageList_->UnRegisterChanges(changeLink_.get());
        if (imageList_ != value) watch_->RemoveFreeNotification(imageList_);
    }
    imageList_ = value;
    if (imageList_) {
        imageList_->RegisterChanges(changeLink_.get());
        watch_->FreeNotification(imageList_);
    }
    RefreshListBitmap(this);
}

void TKitAlphaObject::SetImageIndex(int value) {
    imageIndex_ = value;
    RefreshListBitmap(this);
}

void TKitAlphaObject::SetListIndex(int value) {
    listIndex_ = value;
    RefreshListBitmap(this);
}

void TKitAlphaObject::SetStrength(float value) {
    if (value == strength_) return;
    strength_ = value;
    GetChange(this);
}

void TKitAlphaObject::SetFillObject(const TKitFillObject* value) { fillObject_->Assign(value); }

bool TKitAlphaObject::IsStrengthStored() const {
    return std::llround(static_cast<long double>(strength_) * 1000000.0L) != 600000;
}

bool TKitAlphaObject::IsImageListStored() const {
    return imageList_ != nullptr && !KitIsInternalList(imageList_);
}

void TKitAlphaObject::Assign(const rtl::TPersistent* Source) {
    auto* src = dynamic_cast<const TKitAlphaObject*>(Source);
    if (!src) {
        TKitObject::Assign(Source);
        return;
    }
    if (src == this) return;
    fillObject_->Assign(src->fillObject_.get());
    strength_ = src->strength_;
    imageIndex_ = src->imageIndex_;
    listIndex_ = src->listIndex_;
    SetImageList(src->imageList_);
}

void TKitAlphaObject::GetSummary(std::string& Text) {
    const TKitFillStyle style = fillObject_->Style();
    if (style == sfNone) {
        Text = "{Disabled}";
        return;
    }
    const char* kind = "";
    switch (style) {
        case sfBrush: kind = "brush"; break;
        case sfBitmap:
        case sfBitmapList: kind = "bmp"; break;
        case sfGradient: kind = "grad"; break;
        default: break;
    }
    Text = std::string("{Enabled (") + kind + "), strength: " +
           rtl::Format("%.3f", static_cast<long double>(strength_)) + "}";
}

void TKitAlphaObject::DefineProperties(rtl::TFiler* Filer) {
    TKitObject::DefineProperties(Filer);
    Filer->DefineProperty(
        "Internal", [this](rtl::TReader& reader) { SetImageList(KitReadInternalList(reader)); },
        [this](rtl::TWriter& writer) { KitWriteInternalList(writer, imageList_); },
        KitIsInternalList(imageList_));
}

}  // namespace kit
