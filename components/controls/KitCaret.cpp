#include "components/controls/KitCaret.h"

#include "components/base/KitDrawBitmap.h"

namespace kit {

namespace {
std::uint16_t BlinkTime() {
    const unsigned ms = gui::GetCaretBlinkTime();
    return static_cast<std::uint16_t>(ms > 0xFFFF ? 0xFFFF : ms);
}
}  // namespace

TKitCaret::TKitCaret(gui::TWinControl* Owner)
    : bitmap_(std::make_unique<gdi::TBitmap>()), owner_(Owner) {
    systemBlink_ = BlinkTime();
    blinkRate_ = systemBlink_;
}

TKitCaret::~TKitCaret() {
    DestroyCaretShape();
    // The blink time belongs to whoever shows the caret now.
    if (!gui::GetCaretOwner()) gui::SetCaretBlinkTime(systemBlink_);
}

void TKitCaret::Assign(const rtl::TPersistent* Source) {
    const auto* s = dynamic_cast<const TKitCaret*>(Source);
    if (!s) return;
    blinkRate_ = s->blinkRate_;
    width_ = s->width_;
    height_ = s->height_;
    style_ = s->style_;
}

std::uint16_t TKitCaret::WordValue(int index) const {
    switch (index) {
        case 0: return width_;
        case 1: return height_;
        case 2: return imageIndex_;
        case 3: return listIndex_;
        case 4: return lineHeight_;
        default: return 0;
    }
}

void TKitCaret::SetWordValue(int index, std::uint16_t value) {
    switch (index) {
        case 0: width_ = value; break;
        case 1: height_ = value; break;
        case 2: imageIndex_ = value; break;
        case 3: listIndex_ = value; break;
        case 4: lineHeight_ = value; break;
        default: break;
    }
}

void TKitCaret::SetBitmap(const gdi::TBitmap* value) {
    if (!bitmap_) bitmap_ = std::make_unique<gdi::TBitmap>();
    if (value) bitmap_->Assign(*value);
    else bitmap_->Clear();
}

void TKitCaret::CreateCaretShape() {
    if (!owner_) return;
    switch (style_) {
        case csDefault:
            gui::CreateCaret(owner_, nullptr, 1, lineHeight_);
            break;
        case csBlock:
        case csUnderBlock:
            gui::CreateCaret(owner_, nullptr, width_, height_);
            break;
        case csUnder:
        case csOver:
            gui::CreateCaret(owner_, nullptr, width_, 1);
            break;
        case csBitmap:
            if (caretBmpMode_ == cbBmpSize) {
                gui::CreateCaret(owner_, bitmap_.get(), 0, 0);
            } else {
                DestroyCaretShape();
                prepared_ = std::make_unique<gdi::TBitmap>(width_, height_);
                gdi::TRect drawn;
                if (!bitmap_->Empty() && width_ > 0 && height_ > 0)
                    KitDrawBitmap(*prepared_->Canvas(), gdi::Rect(0, 0, width_, height_), *bitmap_,
                                  caretBmpMode_ == cbTile ? kdfTile : kdfStretch, gdi::clNone,
                                  drawn);
                gui::CreateCaret(owner_, prepared_.get(), 0, 0);
            }
            break;
    }
    gui::SetCaretBlinkTime(blinkRate_);
}

void TKitCaret::Show() {
    if (!owner_ || owner_->ComponentState().Contains(rtl::csDesigning)) return;
    visible_ = true;
    if (!created_) {
        created_ = true;
        CreateCaretShape();
    }
    gui::SetCaretBlinkTime(blinkRate_);
    gui::ShowCaret(owner_);
}

void TKitCaret::Hide() {
    visible_ = false;
    if (owner_) gui::HideCaret(owner_);
    gui::SetCaretBlinkTime(systemBlink_);
}

void TKitCaret::DestroyCaretShape() {
    // Only our own window's caret: another control may have it by now.
    if (!owner_ || gui::GetCaretOwner() != owner_) return;
    gui::SetCaretBlinkTime(systemBlink_);
    gui::DestroyCaret();
}

}  // namespace kit
