// The image list box.
#include "components/controls/KitCustomImageListBox.h"

#include <algorithm>

#include "components/base/KitDrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

using namespace gui;
using gdi::TRect;

TKitCustomImageListBox::TKitCustomImageListBox(rtl::TComponent* AOwner)
    : TKitCustomListBox(AOwner),
      changeLink_(std::make_unique<TKitChangeLink>()),
      layout_(std::make_unique<TKitGlyphTextLayout>()) {
    changeLink_->OnChange = [this](rtl::TObject* s) { ImageListChange(s); };
    layout_->OnChange = [this](rtl::TObject* s) { ImageListChange(s); };
}

TKitCustomImageListBox::~TKitCustomImageListBox() {
    changeLink_->OnChange = nullptr;
    layout_->OnChange = nullptr;
    if (changeLink_->Sender) changeLink_->Sender->UnRegisterChanges(changeLink_.get());
}

void TKitCustomImageListBox::SetImageList(TKitCustomImageList* Value) {
    if (changeLink_->Sender) changeLink_->Sender->UnRegisterChanges(changeLink_.get());
    if (imageList_ && imageList_ != Value) imageList_->RemoveFreeNotification(this);
    imageList_ = Value;
    if (imageList_) {
        imageList_->RegisterChanges(changeLink_.get());
        imageList_->FreeNotification(this);
    }
    ImageListChange(nullptr);
}

void TKitCustomImageListBox::SetListIndex(int Value) {
    if (Value < 0 || Value == listIndex_) return;
    listIndex_ = Value;
    if (imageList_) ImageListChange(nullptr);
}

void TKitCustomImageListBox::SetDefaultItem(int Value) {
    if (defaultItem_ == Value) return;
    defaultItem_ = Value;
    Invalidate();
}

void TKitCustomImageListBox::SetDelimiter(char Value) {
    if (delimiter_ == Value) return;
    delimiter_ = Value;
    Invalidate();
}

void TKitCustomImageListBox::SetOptions(TKitImageBoxOptions Value) {
    options_ = Value;
    SetVariableHeight((Value & lboCalcHeight) != 0);
    if (!Loading()) Recreate();
}

void TKitCustomImageListBox::SetFillFromImages(bool Value) {
    if (fillFromImages_ == Value) return;
    fillFromImages_ = Value;
    Refill();
}

void TKitCustomImageListBox::Refill() {
    if (!fillFromImages_) return;
    Items()->BeginUpdate();
    Items()->Clear();
    for (int i = 0, n = ImageCount(); i < n; ++i) Items()->Add(std::string());
    Items()->EndUpdate();
}

int TKitCustomImageListBox::ImageCount() {
    if (!imageList_) return 0;
    if (KitIsBitmapList(imageList_)) return imageList_->Count();
    return std::max(0, imageList_->GetImageCount(listIndex_));
}

int TKitCustomImageListBox::GetImageIndex(int Index) {
    if (!imageList_ || ImageCount() == 0) return -1;
    if (options_ & lboImageListOrder) return Index >= 0 && Index < Count() && Index < ImageCount() ? Index : -1;
    if (Index < 0 || Index >= Count()) return -1;
    const std::string t = Items()->Get(Index);
    const auto p = t.find(delimiter_);
    if (p == std::string::npos) return defaultItem_;
    int v = -1;
    return rtl::TryStrToInt(t.substr(p + 1), v) ? v : -1;
}

int TKitCustomImageListBox::ItemImageWidth(int Index) {
    if (!imageList_ || imageList_->IsEmpty()) return 0;
    const int i = GetImageIndex(Index);
    if (i < 0) return 0;
    if (KitIsBitmapList(imageList_)) return imageList_->HasImage(i, 0) ? imageList_->GetDimension(i, 0) : 0;
    return imageList_->HasImage(listIndex_, i) ? imageList_->GetDimension(listIndex_, 0) : 0;
}

int TKitCustomImageListBox::ItemImageHeight(int Index) {
    if (!imageList_ || imageList_->IsEmpty()) return 0;
    const int i = GetImageIndex(Index);
    if (i < 0) return 0;
    if (KitIsBitmapList(imageList_)) return imageList_->HasImage(i, 0) ? imageList_->GetDimension(i, 1) : 0;
    return imageList_->HasImage(listIndex_, i) ? imageList_->GetDimension(listIndex_, 1) : 0;
}

std::string TKitCustomImageListBox::GetItemText(int Index) {
    if (Index < 0 || Index >= Count()) return std::string();
    const std::string t = Items()->Get(Index);
    const auto p = t.find(delimiter_);
    return p == std::string::npos ? t : t.substr(0, p);
}

std::string TKitCustomImageListBox::DrawnText(int Index) {
    if (options_ & lboCheckImageNr) return GetItemText(Index);
    return Index >= 0 && Index < Count() ? Items()->Get(Index) : std::string();
}

namespace {
bool TextBesideImage(const TKitGlyphTextLayout& l) {
    const TKitTextArrange a = l.AlignText2Glyph();
    return a != taTop && a != taTopLeft && a != taBottom && a != taBottomLeft;
}
}  // namespace

int TKitCustomImageListBox::ItemTextWidth(int Index) {
    int w = TKitCustomListBox::ItemTextWidth(Index) + 2 + layout_->OffsetX();
    const int iw = ItemImageWidth(Index);
    if (iw > 0 && TextBesideImage(*layout_)) w += iw + layout_->Spacing();
    return w;
}

bool TKitCustomImageListBox::CanEdit() { return !fillFromImages_ && TKitCustomListBox::CanEdit(); }

TRect TKitCustomImageListBox::GetItemRect(int Index) { return ItemRect(Index); }

void TKitCustomImageListBox::ImageListChange(rtl::TObject* Sender) {
    if (Sender && (Sender == Font3D() || Sender == layout_.get())) {
        if (LongItemMode() == limScrollBar) RecalcWidest();
        Recreate();
        return;
    }
    if (fillFromImages_) Refill();
    Recreate();
}

void TKitCustomImageListBox::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TKitCustomListBox::Notification(AComponent, Operation);
    if (Operation == rtl::TOperation::opRemove && AComponent && AComponent == imageList_) SetImageList(nullptr);
}

void TKitCustomImageListBox::Loaded() {
    TKitCustomListBox::Loaded();
    SetVariableHeight((options_ & lboCalcHeight) != 0);
}

void TKitCustomImageListBox::DefineProperties(rtl::TFiler* Filer) {
    TKitCustomListBox::DefineProperties(Filer);
    Filer->DefineProperty(
        "Internal", [this](rtl::TReader& r) { SetImageList(KitReadInternalList(r)); },
        [this](rtl::TWriter& w) { KitWriteInternalList(w, imageList_); }, KitIsInternalList(imageList_));
}

void TKitCustomImageListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState) {
    gdi::TCanvas& c = *Canvas();
    const TRect r = gdi::Rect(Rect.Left + Margin(), Rect.Top, Rect.Right - Margin(), Rect.Bottom - 1);
    unsigned options = Enabled() ? kftEnabled : 1;
    unsigned format = gdi::DT_NOPREFIX;
    if (LongItemMode() == limEndEllipsis) {
        options |= kgtCutText;
        format |= gdi::DT_END_ELLIPSIS;
    } else if (LongItemMode() == limPathEllipsis) {
        options |= kgtCutText;
        format |= gdi::DT_PATH_ELLIPSIS;
    }
    const std::string text = DrawnText(Index);
    const bool transparent = (options_ & lboTransparentImages) != 0;
    const int i = GetImageIndex(Index);
    TKitGlyphTextRects rects;
    TRect glyph{};
    if (i < 0 || !imageList_ || (KitIsBitmapList(imageList_) ? !imageList_->HasImage(i, 0) : !imageList_->HasImage(listIndex_, i))) {
        KitDrawGlyphText(c, text, Font3D(), r, nullptr, glyph, nullptr, gdi::clNone, *layout_, MultiLine(), false,
                         transparent, options, format, rects);
        return;
    }
    if (KitIsBitmapList(imageList_)) {
        imageList_->GetImageRect(i, 0, glyph);
        KitDrawGlyphText(c, text, Font3D(), r, imageList_->GetCanvas(i), glyph, nullptr,
                         imageList_->GetTransparentColor(i, 0), *layout_, MultiLine(), false, transparent, options,
                         format, rects);
    } else if (dynamic_cast<TKitImageList*>(imageList_)) {
        imageList_->GetImageRect(listIndex_, i, glyph);
        KitDrawGlyphText(c, text, Font3D(), r, imageList_->GetCanvas(listIndex_), glyph, nullptr,
                         imageList_->GetTransparentColor(listIndex_, i), *layout_, MultiLine(), false, transparent,
                         options, format, rects);
    } else {
        gdi::TBitmap bmp;
        imageList_->GetBitmap(listIndex_, i, &bmp);
        KitDrawGlyphTextBmp(c, text, Font3D(), r, &bmp, nullptr, *layout_, MultiLine(), false, transparent, options,
                            format);
    }
}

void TKitCustomImageListBox::MeasureItem(int Index, int& Height) {
    if (Index < 0 || Index >= Count()) {
        TKitCustomListBox::MeasureItem(Index, Height);
        return;
    }
    int hi = -1, full = 0;
    const int ih = ItemImageHeight(Index);
    if (ih > 0) {
        hi = ih;
        full = layout_->Spacing() + hi + 2 + layout_->OffsetY();
    }
    const std::string text = DrawnText(Index);
    if (!text.empty()) {
        TRect r{};
        if (MultiLine()) {
            r = gdi::Rect(0, 0, ClientWidth() - ItemImageWidth(Index) - 4, 0);
            KitCalcTextRectTemp(text, Font3D(), r, *Font(), true, false, 0, gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS);
        } else {
            KitCalcTextRectTemp(text, Font3D(), r, *Font(), false, false, 0, gdi::DT_EXPANDTABS);
        }
        const int th = r.Bottom - r.Top;
        if (TextBesideImage(*layout_)) hi = std::max(hi, th);
        else hi = full + th;
    }
    Height = std::max(Height, hi);
}

void TKitCustomDerivedImageListBox::DefineProperties(rtl::TFiler* Filer) {
    TKitCustomListBox::DefineProperties(Filer);
    Filer->DefineProperty("DefaultItem", [](rtl::TReader& r) { (void)r.ReadInteger(); }, nullptr, false);
    Filer->DefineProperty("Delimiter", [](rtl::TReader& r) { (void)r.ReadString(); }, nullptr, false);
    Filer->DefineProperty("Options", [](rtl::TReader& r) { (void)r.ReadString(); }, nullptr, false);
}

}  // namespace kit
