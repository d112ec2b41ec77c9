#include "components/base/KitGlyphs.h"

#include <algorithm>

#include "components/base/KitDrawBitmap.h"
#include "components/base/KitDrawText.h"
#include "platform/gui/Controls.h"

namespace kit {

using namespace gdi;

TKitGlyphCache* KitGlyphCache = nullptr;

// ---- Glyph list ------------------------------------------------------------------------------

TKitGlyphList::TKitGlyphList(int width, int height) : TKitImageListItem(nullptr) {
    if (width < 1 || height < 1) KitRaiseGraphicError(msg::InvalidImageSize);
    SetWidth(width);
    SetHeight(height);
    SetMasked(true);
}

int TKitGlyphList::AllocIndex() {
    int index = usedSlots_.OpenBit();
    if (index >= usedSlots_.Size()) {
        index = AllocImage();
        usedSlots_.SetSize(index + 1);
    }
    usedSlots_.SetBits(index, true);
    return index;
}

int TKitGlyphList::AddGlyph(TBitmap& image, TColor transparentColor) {
    const int index = AllocIndex();
    ReplaceMasked(index, &image, transparentColor);
    ++used_;
    return index;
}

void TKitGlyphList::Delete(int index) {
    if (index < 0 || index >= usedSlots_.Size() || !usedSlots_.Bits(index)) return;
    --used_;
    usedSlots_.SetBits(index, false);
}

// ---- Glyph cache -----------------------------------------------------------------------------

TKitGlyphCache::TKitGlyphCache() = default;
TKitGlyphCache::~TKitGlyphCache() = default;

TKitGlyphList* TKitGlyphCache::GetList(int width, int height) {
    for (auto& list : lists_)
        if (list->Width() == width && list->Height() == height) return list.get();
    lists_.push_back(std::make_unique<TKitGlyphList>(width, height));
    return lists_.back().get();
}

void TKitGlyphCache::ReturnList(TKitGlyphList* list) {
    if (!list || list->Used() != 0) return;
    auto it = std::find_if(lists_.begin(), lists_.end(),
                           [list](const auto& l) { return l.get() == list; });
    if (it != lists_.end()) lists_.erase(it);
}

// ---- Glyph -----------------------------------------------------------------------------------

TKitGlyph::TKitGlyph() : glyph_(std::make_unique<TBitmap>()) {
    stateIndexes_.fill(-1);
    transparentColor_ = glyph_->TransparentColor();
    glyph_->OnChange = [this](rtl::TObject* sender) { GlyphChanged(sender); };
    if (!KitGlyphCache) KitGlyphCache = new TKitGlyphCache;
}

TKitGlyph::~TKitGlyph() {
    glyph_->OnChange = nullptr;
    glyph_.reset();
    Invalidate();
    if (KitGlyphCache && KitGlyphCache->IsEmpty()) {
        delete KitGlyphCache;
        KitGlyphCache = nullptr;
    }
}

void TKitGlyph::Invalidate() {
    for (int& index : stateIndexes_) {
        if (index != -1 && list_) list_->Delete(index);
        index = -1;
    }
    if (list_ && KitGlyphCache) KitGlyphCache->ReturnList(list_);
    list_ = nullptr;
}

void TKitGlyph::GlyphChanged(rtl::TObject* sender) {
    if (sender != glyph_.get()) return;
    transparentColor_ = glyph_->TransparentColor();
    Invalidate();
    if (OnChange) OnChange(this);
}

void TKitGlyph::SetGlyph(const TBitmap* bitmap) {
    Invalidate();
    if (bitmap)
        glyph_->Assign(*bitmap);
    else
        glyph_->Clear();
    if (!bitmap || bitmap->Height() < 1) return;
    transparentColor_ = bitmap->TransparentColor();
    // Only whole slices count; a count of 0 (no width) leaves NumGlyphs as it is.
    if (bitmap->Width() % bitmap->Height() != 0) return;
    const int count = bitmap->Width() / bitmap->Height();
    if (count >= 1) numGlyphs_ = static_cast<std::uint8_t>(count < 6 ? count : 1);
}

void TKitGlyph::SetNumGlyphs(std::uint8_t value) {
    if (value == 0 || value == numGlyphs_) return;
    Invalidate();
    numGlyphs_ = value;
}

void TKitGlyph::SetUncoloredUp(bool value) {
    if (value == uncoloredUp_) return;
    Invalidate();
    uncoloredUp_ = value;
}

int TKitGlyph::GetStateIndex(int state) {
    if (state == 7)
        state = 1;
    else if (state != 1 && state > numGlyphs_ - 1)
        state = uncoloredUp_ ? (state == 6 ? 4 : 2) : 0;
    if (state < 0 || state >= static_cast<int>(stateIndexes_.size())) return -1;

    if (stateIndexes_[static_cast<std::size_t>(state)] != -1)
        return stateIndexes_[static_cast<std::size_t>(state)];
    if (glyph_->Empty()) return -1;

    const int w = glyph_->Width() / numGlyphs_, h = glyph_->Height();
    if (w < 1) return -1;  // narrower than its slice count: no image
    if (!list_) {
        if (!KitGlyphCache) KitGlyphCache = new TKitGlyphCache;
        list_ = KitGlyphCache->GetList(w, h);
    }

    auto slice = [&](int i) {
        auto bmp = std::make_unique<TBitmap>(w, h);
        bmp->Canvas()->CopyRect(Rect(0, 0, w, h), *glyph_->Canvas(), Rect(i * w, 0, (i + 1) * w, h));
        return bmp;
    };
    int index = -1;
    if (state < numGlyphs_ && !(uncoloredUp_ && state == 0)) {
        index = list_->AddGlyph(*slice(state), transparentColor_);
    } else {
        switch (state) {
            case 0: {
                auto source = slice(0);
                TBitmap grey;
                KitCreateDisabledShades(grey, *source);
                index = list_->AddGlyph(grey, transparentColor_);
                break;
            }
            case 1:
            case 6: {
                auto source = slice(0);
                TBitmap embossed(w, h);
                KitDrawDisabledEmboss(embossed, *source, 0, 0);
                index = list_->AddGlyph(embossed, transparentColor_);
                break;
            }
            case 2:
            case 3:
            case 4: index = list_->AddGlyph(*slice(0), transparentColor_); break;
            default: break;  // 5 and 8: no image
        }
    }
    stateIndexes_[static_cast<std::size_t>(state)] = index;
    return index;
}

void TKitGlyph::Draw(TCanvas& canvas, const std::string& text, TKit3DCaption* caption,
                     const TRect& rect, int state, const TKitGlyphTextLayout& layout,
                     unsigned flags, std::uint8_t textOptions, unsigned format) {
    const bool wordWrap = textOptions & kgoWordWrap;
    const bool showAccel = textOptions & kgoShowAccelChar;
    TKitGlyphTextRects rects;
    const int index = GetStateIndex(state);
    if (index < 0 || !list_) {
        TRect none;
        KitDrawGlyphText(canvas, text, caption, rect, nullptr, none, nullptr, clNone, layout,
                         wordWrap, showAccel, false, flags, format, rects);
        return;
    }
    TRect imageRect;
    list_->GetImageRect(index, imageRect);
    KitDrawGlyphText(canvas, text, caption, rect, list_->Strip().Canvas(), imageRect,
                     list_->MaskBitmap().Canvas(), transparentColor_, layout, wordWrap,
                     showAccel, true, flags, format, rects);
}

// ---- Frame widths ----------------------------------------------------------------------------

std::uint8_t KitButtonBorderWidth(TKitUserButtonStyle style) {
    if (style == ubsAutoDetect) style = gui::NewStyleControls ? ubsWin40 : ubsWin31;
    switch (style) {
        case ubsWin31: return 3;
        case ubsWin40:
        case ubsDelphi:
        case ubsDelphiFlat:
        case ubsNavigator:
        case ubsIntegrated: return 2;
        default: return 1;
    }
}

}  // namespace kit
