#include "components/controls/kitsbtn.h"

#include "components/controls/KitCustomEdit.h"
#include "components/controls/KitSpeedButton.h"
#include "platform/gui/Messages.h"

namespace kit {

using namespace gdi;
using namespace gui;

// ---- TKitSpecialButton -----------------------------------------------------------------------

TKitSpecialButton::TKitSpecialButton(rtl::TCollection* Collection) : rtl::TCollectionItem(Collection) {
    glyph_ = std::make_unique<TBitmap>();
    layout_ = std::make_unique<TKitButtonLayout>();
    font_ = std::make_unique<TFont>();
    fontFX_ = std::make_unique<TKitFxCaption>();
    auto changed = [this](rtl::TObject*) { ButtonChanged(); };
    glyph_->OnChange = changed;
    layout_->OnChange = changed;
    font_->OnChange = changed;
    fontFX_->OnChange = changed;

    auto* owner = dynamic_cast<TKitSpecialButtons*>(Collection) ? static_cast<TKitSpecialButtons*>(Collection)->GetOwner()
                                                                 : nullptr;
    button_ = new TKitSpeedButton(owner);
    if (auto* parent = dynamic_cast<TWinControl*>(owner)) button_->SetParent(parent);
    button_->OnClick = [this](rtl::TObject*) { ButtonClick(); };
    button_->SetEnabled(true);
    button_->SetColor(clBtnFace);
    button_->SetCursor(crArrow);
    button_->Tag = Index();
}

TKitSpecialButton::~TKitSpecialButton() {
    fontFX_->OnChange = nullptr;
    font_->OnChange = nullptr;
    layout_->OnChange = nullptr;
    fontFX_.reset();
    font_.reset();
    layout_.reset();
    if (button_) {
        button_->OnClick = nullptr;
        delete button_;
        button_ = nullptr;
    }
    glyph_->OnChange = nullptr;
    glyph_.reset();
}

std::string TKitSpecialButton::DisplayName() const {
    return caption_.empty() ? rtl::TCollectionItem::DisplayName() : caption_;
}

void TKitSpecialButton::SetStrProp(int Index, const std::string& Value) {
    if (Index == 0) {
        caption_ = Value;
        button_->SetCaption(Value);
    } else {
        hint_ = Value;
        button_->SetHint(Value);
    }
}

void TKitSpecialButton::SetGlyph(const TBitmap* Value) {
    if (Value) glyph_->Assign(*Value);
    else glyph_->SetSize(0, 0);
    button_->SetGlyph(glyph_.get());
}

void TKitSpecialButton::SetCursor(TCursor Value) {
    cursor_ = Value;
    button_->SetCursor(Value);
}

void TKitSpecialButton::SetGroupIndex(int Value) {
    groupIndex_ = Value;
    button_->SetGroupIndex(Value);
}

bool TKitSpecialButton::ParentFont() const { return button_->ParentFont(); }

void TKitSpecialButton::SetParentFont(bool Value) {
    parentFont_ = Value;
    button_->SetParentFont(Value);
}

void TKitSpecialButton::SetEnabled(bool Value) {
    enabled_ = Value;
    button_->SetEnabled(Value);
}

void TKitSpecialButton::ButtonChanged() {
    if (!button_) return;
    button_->SetGlyph(glyph_.get());
    button_->SetButtonLayout(layout_.get());
    button_->SetFontFX(fontFX_.get());
    button_->Font()->Assign(*font_);
    Changed(false);
}

void TKitSpecialButton::ButtonClick() {
    const int index = Index();
    if (OnClick) OnClick(this, index);
    auto* buttons = dynamic_cast<TKitSpecialButtons*>(Collection());
    if (!buttons) return;
    if (auto* edit = dynamic_cast<TKitCustomEdit*>(buttons->GetOwner())) edit->DoBtnClick(button_, index);
}

void TKitSpecialButton::Assign(const rtl::TPersistent* Source) {
    const auto* src = dynamic_cast<const TKitSpecialButton*>(Source);
    if (!src) {
        rtl::TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(src->caption_);
    SetHint(src->hint_);
    SetGlyph(src->glyph_.get());
    SetEnabled(src->enabled_);
    SetCursor(src->cursor_);
    SetGroupIndex(src->groupIndex_);
    SetLayout(src->layout_.get());
    SetFont(src->font_.get());
    SetFontFX(src->fontFX_.get());
    SetParentFont(src->parentFont_);
    OnClick = src->OnClick;
}

// ---- TKitSpecialButtons ----------------------------------------------------------------------

TKitSpecialButtons::TKitSpecialButtons(rtl::TComponent* Owner, bool NotifyOwner)
    : rtl::TCollection(rtl::TCollectionItemClass::Of<TKitSpecialButton>()), owner_(Owner), notifyOwner_(NotifyOwner) {}

TKitSpecialButtons::~TKitSpecialButtons() {
    // The items go while their buttons' owner still exists; the owner is not told any more.
    notifyOwner_ = false;
    Clear();
    owner_ = nullptr;
}

void TKitSpecialButtons::Update(rtl::TCollectionItem* Item) {
    (void)Item;
    if (!notifyOwner_) return;
    auto* edit = dynamic_cast<TKitCustomEdit*>(owner_);
    if (edit && !edit->Destroying() && edit->Widget()) PostMessage(edit, WM_SIZE, 0, 0);
}

}  // namespace kit
