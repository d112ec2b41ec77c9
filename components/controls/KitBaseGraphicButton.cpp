#include "components/controls/KitBaseGraphicButton.h"

#include "components/base/KitDrawText.h"
#include "components/base/kitapp.h"
#include "platform/gdi/Drawing.h"
#include "platform/gui/Accel.h"
#include "platform/gui/HintWindows.h"

namespace kit {

using namespace gui;
using gdi::TRect;

TKitBaseGraphicButton::TKitBaseGraphicButton(rtl::TComponent* AOwner) : TKitBaseControl(AOwner) {
    TControlStyle style = ControlStyle();
    style.Include(csCaptureMouse);
    style.Include(csOpaque);
    style.Include(csDoubleClicks);
    style.Exclude(csSetCaption);
    SetControlStyle(style);
    // The button decides about its clicks itself (MouseUp, repeats, accelerator).
    SetClickEvents(false);
    fontFX_ = std::make_unique<TKitFxCaption>();
    fontFX_->OnChange = [this](rtl::TObject* s) { FontFXChanged(s); };
    glyph_ = std::make_unique<TKitGlyph>();
    glyph_->OnChange = [this](rtl::TObject* s) { ContentChanged(s); };
    layout_ = std::make_unique<TKitButtonLayout>();
    layout_->OnChange = [this](rtl::TObject* s) { ContentChanged(s); };
    SetBounds(Left(), Top(), 25, 25);
}

TKitBaseGraphicButton::~TKitBaseGraphicButton() {
    DropTimer(delayTimer_);
    DropTimer(repeatTimer_);
    DropTimer(hotTimer_);
    layout_->OnChange = nullptr;
    fontFX_->OnChange = nullptr;
    glyph_->OnChange = nullptr;
}

// ---- Timers ------------------------------------------------------------------------------------

void TKitBaseGraphicButton::StartTimer(TPoolTimer& Timer, int PeriodMs,
                                       void (TKitBaseGraphicButton::*Handler)()) {
    DropTimer(Timer);
    const std::uint16_t step = KitApplication->TimerPool->MinInterval();
    const std::uint16_t id = KitApplication->AddTimer(step, [this, &Timer, Handler, step](rtl::TObject*) {
        Timer.Elapsed += step;
        if (Timer.Elapsed < Timer.Period) return;
        Timer.Elapsed = 0;
        (this->*Handler)();
    });
    if (id == 0) throw rtl::EOutOfResources("Nicht genügend Timer verfügbar");
    Timer.ID = id;
    Timer.Period = PeriodMs;
    Timer.Elapsed = 0;
}

void TKitBaseGraphicButton::DropTimer(TPoolTimer& Timer) {
    if (Timer.ID == 0) return;
    if (KitApplication.Assigned()) {
        if (TKitTimerItem* item = KitApplication->GetTimer(Timer.ID)) {
            item->SetEnabled(false);
            item->OnTimer = nullptr;
        }
        KitApplication->RemoveTimer(Timer.ID);
    }
    Timer = TPoolTimer{};
}

void TKitBaseGraphicButton::StopRepeat() {
    DropTimer(delayTimer_);
    DropTimer(repeatTimer_);
}

void TKitBaseGraphicButton::StopHotPoll() { DropTimer(hotTimer_); }

void TKitBaseGraphicButton::DelayTick() {
    DropTimer(delayTimer_);
    if (state_ != kbsPushed || !mouseDown_) return;
    StartTimer(repeatTimer_, RepeatingInterval, &TKitBaseGraphicButton::RepeatTick);
    Click();
}

void TKitBaseGraphicButton::RepeatTick() {
    // The repeat goes on while the button is held; clicks only while the pointer is over it.
    if (mouseDown_ && state_ == kbsPushed) Click();
}

// ---- State -------------------------------------------------------------------------------------

void TKitBaseGraphicButton::SetState(std::uint8_t Value) {
    if (Value == state_) return;
    prevState_ = state_;
    state_ = Value;
    if (hotTrack_ && state_ == kbsHot && !pressed_) {
        if (hotTimer_.ID == 0) StartTimer(hotTimer_, 100, &TKitBaseGraphicButton::CheckMouse);
    } else if (state_ != kbsHot) {
        StopHotPoll();
    }
    Invalidate();
}

void TKitBaseGraphicButton::CheckMouse() {
    if (state_ != kbsHot) return;
    if (MouseInControl() && Enabled() && !pressed_) return;
    SetState(pressed_ ? kbsDown : kbsUp);
}

bool TKitBaseGraphicButton::PtInButton(int X, int Y) {
    return X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
}

void TKitBaseGraphicButton::Click() { TKitBaseControl::Click(); }

// ---- Setters -----------------------------------------------------------------------------------

void TKitBaseGraphicButton::SetGlyph(const gdi::TBitmap* Value) {
    if (ImageList()) SetImageList(nullptr);
    glyph_->SetGlyph(Value);
}

void TKitBaseGraphicButton::SetNumGlyphs(std::uint8_t Value) {
    glyph_->SetNumGlyphs(Value);
    Invalidate();
}

void TKitBaseGraphicButton::SetDropDownCombo(bool Value) {
    if (dropDownCombo_ == Value) return;
    dropDownCombo_ = Value;
    SetWidth(Width() + (Value ? dropDownComboWidth_ : -dropDownComboWidth_));
    UpdateHasDropDown();
    ContentChanged(this);
}

void TKitBaseGraphicButton::SetDropDownComboWidth(int Value) {
    if (dropDownComboWidth_ == Value) return;
    if (dropDownCombo_) SetWidth(Width() + Value - dropDownComboWidth_);
    dropDownComboWidth_ = Value;
    ContentChanged(this);
}

void TKitBaseGraphicButton::SetDropDownMenu(TPopupMenu* Value) {
    if (dropDownMenu_ == Value) return;
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = Value;
    if (Value) Value->FreeNotification(this);
    UpdateHasDropDown();
    ContentChanged(this);
}

void TKitBaseGraphicButton::UpdateHasDropDown() { hasDropDown_ = dropDownMenu_ && dropDownCombo_; }

void TKitBaseGraphicButton::SetDropDownIndent(int Value) {
    if (dropDownIndent_ == Value) return;
    dropDownIndent_ = Value;
    ContentChanged(this);
}

void TKitBaseGraphicButton::SetDropDownRight(bool Value) {
    if (dropDownRight_ == Value) return;
    dropDownRight_ = Value;
    ContentChanged(this);
}

void TKitBaseGraphicButton::SetEnterColor(gdi::TColor Value) {
    if (enterColor_ == Value) return;
    enterColor_ = Value;
    ContentChanged(this);
}

void TKitBaseGraphicButton::SetEnterColorChange(bool Value) {
    if (enterColorChange_ == Value) return;
    enterColorChange_ = Value;
    ContentChanged(this);
}

void TKitBaseGraphicButton::SetMultiLine(bool Value) {
    if (multiLine_ == Value) return;
    multiLine_ = Value;
    ContentChanged(this);
}

void TKitBaseGraphicButton::SetUseCaption(bool Value) {
    if (useCaption_ == Value) return;
    useCaption_ = Value;
    ContentChanged(this);
}

void TKitBaseGraphicButton::SetGroupIndex(int Value) {
    if (groupIndex_ == Value) return;
    groupIndex_ = Value;
    AnnounceToGroup();
}

void TKitBaseGraphicButton::SetAllowAllUp(bool Value) {
    if (allowAllUp_ == Value) return;
    allowAllUp_ = Value;
    AnnounceToGroup();
}

void TKitBaseGraphicButton::SetPressed(bool Value) {
    if (groupIndex_ == 0) Value = false;
    if (pressed_ == Value) return;
    if (!Value && !allowAllUp_) return;
    pressed_ = Value;
    if (Value) {
        StopHotPoll();
        SetState(Enabled() ? kbsDown : kbsDisabledDown);
        Invalidate();
        AnnounceToGroup();
    } else {
        SetState(Enabled() ? kbsUp : kbsDisabled);
        Invalidate();
    }
}

// ---- Groups ------------------------------------------------------------------------------------

void TKitBaseGraphicButton::AnnounceToGroup() {
    if (groupIndex_ == 0 || !Parent()) return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TKitBaseGraphicButton::ButtonPressed(int Group, TKitBaseGraphicButton* Sender) {
    if (Group != groupIndex_ || !Sender || Sender == this) return;
    if (Sender->pressed_ && pressed_) ReleaseFromGroup();
    allowAllUp_ = Sender->allowAllUp_;
}

void TKitBaseGraphicButton::ReleaseFromGroup() {
    pressed_ = false;
    if (!Enabled()) SetState(kbsDisabled);
    else SetState(HotTracking() && MouseInControl() ? kbsHot : kbsUp);
    Invalidate();
}

// ---- Mouse -------------------------------------------------------------------------------------

void TKitBaseGraphicButton::MouseEnter() {
    TKitBaseControl::MouseEnter();
    if (!HotTracking() || Designing() || state_ != kbsUp || !Enabled()) return;
    SetState(kbsHot);
}

void TKitBaseGraphicButton::MouseExit() {
    TKitBaseControl::MouseExit();
    if (state_ == kbsHot) SetState(prevState_ == kbsHot ? kbsUp : prevState_);
    if (HideHint) gui::HideApplicationHint();
}

void TKitBaseGraphicButton::StartPush() {
    mouseDown_ = true;
    if (RepeatedClick && !(groupIndex_ != 0 && pressed_)) {
        Click();
        StartTimer(delayTimer_, RepeatingDelay, &TKitBaseGraphicButton::DelayTick);
    }
    SetState(kbsPushed);
}

void TKitBaseGraphicButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    std::weak_ptr<void> life = LifeToken();
    TKitBaseControl::MouseDown(Button, Shift, X, Y);
    if (life.expired() || Button != mbLeft || !Enabled()) return;
    if (RectHitTest && !PtInButton(X, Y)) return;
    if (!dropDownMenu_) {
        StartPush();
        return;
    }
    if (state_ == kbsMenu) return;
    if (!dropDownCombo_ || X >= Width() - dropDownComboWidth_) DoDropDown();
    else StartPush();
}

void TKitBaseGraphicButton::MouseMove(TShiftState Shift, int X, int Y) {
    TKitBaseControl::MouseMove(Shift, X, Y);
    if (!mouseDown_) return;
    if (PtInButton(X, Y)) SetState(pressed_ ? kbsDown : kbsPushed);
    else if (!(groupIndex_ != 0 && pressed_)) SetState(kbsUp);
}

void TKitBaseGraphicButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    std::weak_ptr<void> life = LifeToken();
    TKitBaseControl::MouseUp(Button, Shift, X, Y);
    if (life.expired() || Button != mbLeft || state_ == kbsMenu) return;
    const bool wasDown = mouseDown_;
    mouseDown_ = false;
    StopRepeat();
    if (!wasDown) return;
    // A click needs the release over the button as well as the press.
    if (PtInButton(X, Y)) {
        if (groupIndex_ != 0) SetPressed(!pressed_);
        if (pressed_) SetState(kbsDown);
        else SetState(HotTracking() && MouseInControl() ? kbsHot : kbsUp);
        if (!RepeatedClick) {
            Click();
            if (life.expired()) return;
        }
    } else {
        SetState(pressed_ ? kbsDown : kbsUp);
    }
    CheckMouse();
}

void TKitBaseGraphicButton::DoDropDown() {
    if (!dropDownMenu_) return;
    std::weak_ptr<void> life = LifeToken();
    SetState(kbsMenu);
    if (OnDropDown) OnDropDown(this);
    if (life.expired() || !dropDownMenu_) return;
    const gdi::TPoint at = dropDownRight_ ? ClientToScreen({Width(), dropDownIndent_})
                                          : ClientToScreen({dropDownIndent_, Height()});
    dropDownMenu_->PopupComponent = this;
    dropDownMenu_->Popup(at.X, at.Y);
    if (life.expired()) return;
    // The release went to the menu: the parent must not keep routing the mouse here.
    mouseDown_ = false;
    if (Parent()) Parent()->Perform(WM_CANCELMODE);
    SetState(kbsHot);
    CheckMouse();
}

// ---- Messages ----------------------------------------------------------------------------------

void TKitBaseGraphicButton::DialogChar(TMessage& m) {
    if (!IsAccel(static_cast<char32_t>(m.WParam), Caption()) || !Enabled() || !Visible() || !Parent() ||
        !Parent()->Enabled() || !Parent()->Showing())
        return;
    m.Result = 1;
    if (dropDownMenu_) {
        if (state_ != kbsMenu) DoDropDown();
        return;
    }
    if (groupIndex_ == 0) {
        Click();
        return;
    }
    SetPressed(!pressed_);
    if (HotTracking() && !pressed_ && MouseInControl()) SetState(kbsHot);
    if (pressed_) Click();
}

void TKitBaseGraphicButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_BUTTONPRESSED:
        ButtonPressed(static_cast<int>(m.WParam), reinterpret_cast<TKitBaseGraphicButton*>(m.LParam));
        return;
    case CM_DIALOGCHAR: DialogChar(m); return;
    default: break;
    }
    std::weak_ptr<void> life = LifeToken();
    TKitBaseControl::WndProc(m);
    if (life.expired() || Destroying()) return;
    switch (m.Msg) {
    case CM_ENABLEDCHANGED:
        if (Enabled()) SetState(pressed_ ? kbsDown : kbsUp);
        else {
            mouseDown_ = false;
            StopRepeat();
            SetState(pressed_ ? kbsDisabledDown : kbsDisabled);
        }
        Invalidate();
        break;
    case CM_TEXTCHANGED:
        if (ParentBackground) Repaint();
        else Invalidate();
        break;
    case CM_FONTCHANGED:
        if (Loading()) break;
        Canvas()->Font()->Assign(*Font());
        if (fontFX_->Angle() != 0 && !gdi::IsTrueTypeFont(*Font())) {
            inFontChange_ = true;
            fontFX_->SetAngle(0);
            inFontChange_ = false;
        }
        ContentChanged(this);
        break;
    default: break;
    }
}

void TKitBaseGraphicButton::FontFXChanged(rtl::TObject*) {
    if (inFontChange_) return;
    // Rotated text needs an outline font.
    if (fontFX_->Angle() != 0 && !gdi::IsTrueTypeFont(*Font())) Font()->SetName("Arial");
    ContentChanged(this);
}

void TKitBaseGraphicButton::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TKitBaseControl::Notification(AComponent, Operation);
    if (Operation == rtl::TOperation::opRemove && AComponent && AComponent == dropDownMenu_) {
        dropDownMenu_ = nullptr;
        UpdateHasDropDown();
    }
}

void TKitBaseGraphicButton::Loaded() {
    TKitBaseControl::Loaded();
    UpdateHasDropDown();
}

void TKitBaseGraphicButton::ImageListChange(rtl::TObject*) {
    TKitCustomImageList* list = ImageList();
    if (list) {
        if (list->HasImage(ListIndex(), ImageIndex())) {
            gdi::TBitmap image;
            list->GetBitmap(ListIndex(), ImageIndex(), &image);
            glyph_->SetGlyph(&image);
        } else {
            glyph_->SetGlyph(nullptr);
        }
    }
    ContentChanged(this);
}

// ---- Painting ----------------------------------------------------------------------------------

int TKitBaseGraphicButton::GlyphState() const {
    switch (state_) {
    case kbsDisabled:
    case kbsDisabledDown: return ShowDisabled ? 1 : 0;
    case kbsDown: return 3;
    case kbsPushed:
    case kbsMenu: return 2;
    default: return 0;
    }
}

TRect TKitBaseGraphicButton::CalcContentRect() {
    TRect r = ClientRect();
    if (hasDropDown_) r.Right -= dropDownComboWidth_;
    return r;
}

void TKitBaseGraphicButton::DrawContent(gdi::TCanvas& C, const TRect& R) {
    C.Font()->Assign(*Font());
    if (enterColorChange_ && (state_ == kbsHot || state_ == kbsPushed)) C.Font()->SetColor(enterColor_);
    const bool enabled = Enabled() || !ShowDisabled;
    unsigned options = enabled ? kftEnabled : 0;
    std::uint8_t textOptions = kgoShowAccelChar;
    if (multiLine_) textOptions |= kgoWordWrap;
    unsigned format = multiLine_ ? gdi::DT_WORDBREAK : gdi::DT_SINGLELINE;
    C.Brush()->SetStyle(gdi::bsClear);
    glyph_->Draw(C, useCaption_ ? Caption() : std::string(), fontFX_.get(), R, GlyphState(), *layout_,
                 options, textOptions, format);
}

void TKitBaseGraphicButton::Paint() {
    if (Loading() || !Visible()) return;
    gdi::TCanvas& c = *Canvas();
    if (ControlStyle().Contains(csOpaque)) {
        c.Brush()->SetStyle(gdi::bsSolid);
        c.Brush()->SetColor(Color());
        c.FillRect(ClientRect());
    }
    DrawContent(c, CalcContentRect());
}

}  // namespace kit
