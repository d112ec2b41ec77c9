#include "components/controls/KitBaseLabel.h"

#include "components/base/kitapp.h"
#include "platform/gui/Accel.h"

namespace kit {

using namespace gui;

TKitBaseLabel::TKitBaseLabel(rtl::TComponent* AOwner) : TKitBaseGraphicControl(AOwner) {}

TKitBaseLabel::~TKitBaseLabel() {
    if (blinkTimerID_ != 0 && KitApplication.Assigned()) KitApplication->RemoveTimer(blinkTimerID_);
}

void TKitBaseLabel::SetAlignment(TKitAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    ContentChanged(this);
}

bool TKitBaseLabel::GetBoolean(int Index) const {
    switch (Index) {
    case 0: return autoSize_;
    case 1: return wordWrap_;
    case 2: return showAccelChar_;
    case 3: return blinking_;
    default: return false;
    }
}

void TKitBaseLabel::SetBoolean(int Index, bool Value) {
    if (GetBoolean(Index) == Value) return;
    switch (Index) {
    case 0:
        autoSize_ = Value;
        AdjustLabelSize();
        break;
    case 1:
        wordWrap_ = Value;
        ContentChanged(this);
        break;
    case 2:
        showAccelChar_ = Value;
        RepaintOrInvalidate();
        break;
    case 3: SwitchBlinking(Value); break;
    default: break;
    }
}

void TKitBaseLabel::SwitchBlinking(bool Value) {
    if (Value) {
        const std::uint16_t id = KitApplication->AddTimer(static_cast<std::uint16_t>(BlinkTimeOff),
                                                          [this](rtl::TObject* s) { BlinkTimer(s); });
        if (id == 0) throw rtl::EOutOfResources("Nicht genügend Timer verfügbar");
        blinkTimerID_ = id;
        blinking_ = true;
        if (TKitTimerItem* item = KitApplication->GetTimer(id)) item->SetEnabled(true);
    } else {
        blinking_ = false;
        KitApplication->RemoveTimer(blinkTimerID_);
        blinkPhase_ = false;
        blinkTimerID_ = 0;
        RepaintOrInvalidate();
    }
}

void TKitBaseLabel::BlinkTimer(rtl::TObject*) {
    blinkPhase_ = !blinkPhase_;
    if (TKitTimerItem* item = KitApplication->GetTimer(blinkTimerID_))
        item->SetInterval(static_cast<std::uint16_t>(blinkPhase_ ? BlinkTimeOn : BlinkTimeOff));
    RepaintOrInvalidate();
}

void TKitBaseLabel::SetFocusControl(TWinControl* Value) {
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TKitBaseLabel::GetLabelText(std::string& S) { S = Caption(); }

void TKitBaseLabel::FontChanged(rtl::TObject* Sender) {
    if (Loading()) return;
    // No ParentFont := False here: a font set on the label itself has stopped following the
    // parent already (the platform does that on the change), and one taken over from the
    // parent must keep following it.
    (void)Sender;
    if (!ComponentState().Contains(rtl::csReading)) Canvas()->Font()->Assign(*Font());
    ContentChanged(this);
}

void TKitBaseLabel::ContentChanged(rtl::TObject*) {
    AdjustLabelSize();
    RepaintOrInvalidate();
}

bool TKitBaseLabel::IsContentEmpty() {
    std::string s;
    GetLabelText(s);
    return Transparent() && s.empty();
}

void TKitBaseLabel::WndProc(TMessage& m) {
    if (m.Msg == CM_DIALOGCHAR) {
        if (showAccelChar_ && focusControl_ && Enabled() && IsAccel(static_cast<char32_t>(m.WParam), Caption()) &&
            focusControl_->CanFocus()) {
            focusControl_->SetFocus();
            m.Result = 1;
        }
        return;
    }
    std::weak_ptr<void> life = LifeToken();
    TKitBaseGraphicControl::WndProc(m);
    if (life.expired() || Destroying()) return;
    switch (m.Msg) {
    case CM_FONTCHANGED: FontChanged(Font()); break;
    case CM_TEXTCHANGED:
        AdjustLabelSize();
        RepaintOrInvalidate();
        break;
    default: break;
    }
}

void TKitBaseLabel::Loaded() {
    TKitBaseGraphicControl::Loaded();
    Canvas()->Font()->Assign(*Font());
    AdjustLabelSize();
}

void TKitBaseLabel::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TKitBaseGraphicControl::Notification(AComponent, Operation);
    if (Operation == rtl::TOperation::opRemove && AComponent && AComponent == focusControl_) focusControl_ = nullptr;
}

}  // namespace kit
