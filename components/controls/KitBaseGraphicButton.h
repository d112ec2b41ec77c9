// A windowless push button: glyph and caption laid out by a button layout with a caption effect,
// a visual state driven by the mouse, radio-like groups, repeated clicks while held, and an
// optional drop-down menu (the whole button or an arrow strip at its right).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "components/base/KitCaptions.h"
#include "components/base/KitGlyphs.h"
#include "components/controls/KitBaseControl.h"
#include "platform/gui/Menus.h"

namespace kit {

// The button's state byte.
inline constexpr std::uint8_t kbsUp = 0;
inline constexpr std::uint8_t kbsDisabled = 1;
inline constexpr std::uint8_t kbsHot = 2;
inline constexpr std::uint8_t kbsDown = 3;          // latched (a pressed group button)
inline constexpr std::uint8_t kbsPushed = 4;        // held by the mouse
inline constexpr std::uint8_t kbsMenu = 6;          // the drop-down menu is shown
inline constexpr std::uint8_t kbsDisabledDown = 7;

class TKitBaseGraphicButton : public TKitBaseControl {
public:
    explicit TKitBaseGraphicButton(rtl::TComponent* AOwner);
    ~TKitBaseGraphicButton() override;

    // Clicks repeat while the button is held: one at once, the next after RepeatingDelay ms,
    // then one every RepeatingInterval ms.
    bool RepeatedClick = false;
    std::uint16_t RepeatingDelay = 500;
    std::uint16_t RepeatingInterval = 100;
    // The application's hint is hidden when the mouse leaves.
    bool HideHint = true;
    bool ShowDisabled = true;  // False: the content is drawn as enabled
    // The button reacts to the mouse entering (set by the speed button).
    bool HotTrack() const { return hotTrack_; }

    TKitButtonLayout* ButtonLayout() const { return layout_.get(); }
    void SetButtonLayout(const TKitButtonLayout* Value) { layout_->Assign(Value); }
    TKitFxCaption* FontFX() const { return fontFX_.get(); }
    void SetFontFX(const TKitFxCaption* Value) { fontFX_->Assign(Value); }
    TKitGlyph* Glyph() const { return glyph_.get(); }
    // Drops the image list when one is set, then the glyph takes the bitmap.
    void SetGlyph(const gdi::TBitmap* Value);
    std::uint8_t NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(std::uint8_t Value);

    bool DropDownCombo() const { return dropDownCombo_; }
    // The width grows (or shrinks) by DropDownComboWidth.
    void SetDropDownCombo(bool Value);
    int DropDownComboWidth() const { return dropDownComboWidth_; }
    void SetDropDownComboWidth(int Value);
    gui::TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    // Not owned; forgotten when it is freed.
    void SetDropDownMenu(gui::TPopupMenu* Value);
    int DropDownIndent() const { return dropDownIndent_; }
    void SetDropDownIndent(int Value);
    bool DropDownRight() const { return dropDownRight_; }
    void SetDropDownRight(bool Value);
    // A menu is set and shown from the arrow strip.
    bool HasDropDown() const { return hasDropDown_; }
    rtl::TNotifyEvent OnDropDown;

    gdi::TColor EnterColor() const { return enterColor_; }
    void SetEnterColor(gdi::TColor Value);
    bool EnterColorChange() const { return enterColorChange_; }
    void SetEnterColorChange(bool Value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool Value);
    bool UseCaption() const { return useCaption_; }
    void SetUseCaption(bool Value);

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value);
    bool Pressed() const { return pressed_; }
    // Only a group button can be pressed; releasing is refused unless AllowAllUp. Pressing
    // releases the other pressed button of the group.
    void SetPressed(bool Value);

    // Hit tests use PtInButton while set.
    bool RectHitTest = true;
    // The parent's background is copied under the button.
    bool ParentBackground = false;

    std::uint8_t State() const { return state_; }
    std::uint8_t PrevState() const { return prevState_; }
    // The left button went down inside and is still held.
    bool MouseIsDown() const { return mouseDown_; }
    // Items of the application's timer pool; 0 while none is taken.
    std::uint16_t DelayTimerID() const { return delayTimer_.ID; }
    std::uint16_t RepeatTimerID() const { return repeatTimer_.ID; }
    std::uint16_t HotTimerID() const { return hotTimer_.ID; }

    void Click() override;
    // 0 <= X <= Width and 0 <= Y <= Height.
    virtual bool PtInButton(int X, int Y);
    // A hot button whose pointer is no longer over it (or that became disabled or pressed)
    // falls back.
    virtual void CheckMouse();

protected:
    virtual bool HotTracking() { return false; }
    virtual bool OneStateGlyph() { return false; }
    virtual void RepeatTick();
    virtual void DrawContent(gdi::TCanvas& Canvas, const gdi::TRect& Rect);
    // The area of glyph and caption: the client rectangle less the arrow strip.
    virtual gdi::TRect CalcContentRect();

    void SetState(std::uint8_t Value);
    void SetHotTrack(bool Value) { hotTrack_ = Value; }
    // The glyph state for the current button state.
    int GlyphState() const;
    // Shows the drop-down menu below (or right of) the button and waits until it closes.
    void DoDropDown();

    void Paint() override;
    void MouseEnter() override;
    void MouseExit() override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void ImageListChange(rtl::TObject* Sender) override;
    void WndProc(gui::TMessage& Message) override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;
    void Loaded() override;

private:
    // An item of the application's timer pool that ticks at the pool's rate and runs its
    // handler once Period ms have passed, so that the first firing comes a full period after
    // the start whatever the pool's phase.
    struct TPoolTimer {
        std::uint16_t ID = 0;
        int Period = 0;
        int Elapsed = 0;
    };

    void AnnounceToGroup();
    void ButtonPressed(int Group, TKitBaseGraphicButton* Sender);
    void ReleaseFromGroup();
    void StartPush();
    void StopRepeat();
    void StopHotPoll();
    // EOutOfResources when the pool has no free item.
    void StartTimer(TPoolTimer& Timer, int PeriodMs, void (TKitBaseGraphicButton::*Handler)());
    void DropTimer(TPoolTimer& Timer);
    void DelayTick();
    void UpdateHasDropDown();
    void FontFXChanged(rtl::TObject* Sender);
    void DialogChar(gui::TMessage& Message);

    bool hotTrack_ = false;
    std::unique_ptr<TKitButtonLayout> layout_;
    std::unique_ptr<TKitFxCaption> fontFX_;
    std::unique_ptr<TKitGlyph> glyph_;
    bool dropDownCombo_ = false;
    int dropDownComboWidth_ = 12;
    gui::TPopupMenu* dropDownMenu_ = nullptr;
    gdi::TColor enterColor_ = gdi::clCaptionText;
    int dropDownIndent_ = 0;
    int groupIndex_ = 0;
    bool dropDownRight_ = false;
    bool enterColorChange_ = false;
    bool multiLine_ = false;
    bool useCaption_ = true;
    bool pressed_ = false;
    bool mouseDown_ = false;
    bool allowAllUp_ = false;
    bool hasDropDown_ = false;
    TPoolTimer delayTimer_;
    TPoolTimer repeatTimer_;
    TPoolTimer hotTimer_;
    std::uint8_t state_ = kbsUp;
    std::uint8_t prevState_ = kbsUp;
    bool inFontChange_ = false;
};

}  // namespace kit
