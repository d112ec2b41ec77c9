// The buttons embedded at the right end of a custom edit: a collection whose items each own a
// speed button placed by the edit. A change of an item or of the collection re-lays out the edit.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "components/base/KitCaptions.h"
#include "platform/gdi/Graphics.h"
#include "platform/gui/Controls.h"
#include "platform/rtl/Classes.h"

namespace kit {

class TKitSpeedButton;

using TKitOnCustomBtnClick = std::function<void(rtl::TObject* Sender, int index)>;

class TKitSpecialButton : public rtl::TCollectionItem {
public:
    explicit TKitSpecialButton(rtl::TCollection* Collection);
    ~TKitSpecialButton() override;
    void Assign(const rtl::TPersistent* Source) override;
    std::string DisplayName() const override;

    // Index 0 Caption, 1 Hint.
    void SetStrProp(int Index, const std::string& Value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value) { SetStrProp(0, Value); }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& Value) { SetStrProp(1, Value); }
    gdi::TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(const gdi::TBitmap* Value);
    gui::TCursor Cursor() const { return cursor_; }
    void SetCursor(gui::TCursor Value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    bool ParentFont() const;
    void SetParentFont(bool Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    TKitButtonLayout* Layout() const { return layout_.get(); }
    void SetLayout(const TKitButtonLayout* Value) { layout_->Assign(Value); }
    gdi::TFont* Font() const { return font_.get(); }
    void SetFont(const gdi::TFont* Value) { font_->Assign(*Value); }
    TKitFxCaption* FontFX() const { return fontFX_.get(); }
    void SetFontFX(const TKitFxCaption* Value) { fontFX_->Assign(Value); }

    TKitSpeedButton* Button() const { return button_; }
    TKitOnCustomBtnClick OnClick;

private:
    void ButtonChanged();
    void ButtonClick();

    std::string hint_;
    std::string caption_;
    std::unique_ptr<gdi::TBitmap> glyph_;
    gui::TCursor cursor_ = gui::crArrow;
    TKitSpeedButton* button_ = nullptr;  // owned by the item, made with the edit as owner
    int groupIndex_ = 0;
    bool parentFont_ = true;
    bool enabled_ = true;
    std::unique_ptr<TKitButtonLayout> layout_;
    std::unique_ptr<gdi::TFont> font_;
    std::unique_ptr<TKitFxCaption> fontFX_;
};

class TKitSpecialButtons : public rtl::TCollection {
public:
    TKitSpecialButtons(rtl::TComponent* Owner, bool NotifyOwner);
    ~TKitSpecialButtons() override;

    TKitSpecialButton* Items(int Index) const {
        return static_cast<TKitSpecialButton*>(rtl::TCollection::Items(Index));
    }
    TKitSpecialButton* Add() { return static_cast<TKitSpecialButton*>(rtl::TCollection::Add()); }
    rtl::TComponent* GetOwner() const { return owner_; }
    bool NotifyOwner() const { return notifyOwner_; }

protected:
    // Posts WM_SIZE to the owning edit, which arranges the buttons again.
    void Update(rtl::TCollectionItem* Item) override;

private:
    rtl::TComponent* owner_ = nullptr;
    bool notifyOwner_ = false;
};

}  // namespace kit
