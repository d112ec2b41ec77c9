// Base of the library's labels: caption alignment, word wrap, an auto-size hook, an accelerator
// that moves the focus to FocusControl, blinking on an item of the application's timer pool, and
// the font and caption notifications that refresh the label.
#pragma once

#include <cstdint>
#include <string>

#include "components/base/kitgraph.h"
#include "components/controls/KitBaseGraphicControl.h"

namespace kit {

class TKitBaseLabel : public TKitBaseGraphicControl {
public:
    explicit TKitBaseLabel(rtl::TComponent* AOwner);
    ~TKitBaseLabel() override;

    TKitAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKitAlignment Value);
    // Index 0 AutoSize, 1 WordWrap, 2 ShowAccelChar, 3 Blinking.
    bool GetBoolean(int Index) const;
    void SetBoolean(int Index, bool Value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value) { SetBoolean(0, Value); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value) { SetBoolean(1, Value); }
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value) { SetBoolean(2, Value); }
    // On: takes a timer item of the application object that toggles BlinkPhase and repaints
    // (EOutOfResources when the pool has no free item; Blinking then stays off). Off: returns
    // the item and leaves BlinkPhase False.
    bool Blinking() const { return blinking_; }
    void SetBlinking(bool Value) { SetBoolean(3, Value); }
    bool BlinkPhase() const { return blinkPhase_; }
    // The application's ID of the blink timer item; 0 while none is taken.
    std::uint16_t BlinkTimerID() const { return blinkTimerID_; }

    // Not owned; cleared when it is freed.
    gui::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(gui::TWinControl* Value);

    void ContentChanged(rtl::TObject* Sender) override;
    // Transparent and without text.
    bool IsContentEmpty() override;

protected:
    virtual void GetLabelText(std::string& S);
    virtual void FontChanged(rtl::TObject* Sender);
    // Sizes the label to its content; nothing in the base class.
    virtual void AdjustLabelSize() {}

    void WndProc(gui::TMessage& Message) override;
    void Loaded() override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;

    // Lengths of the two blink phases in ms (whole multiples of the pool's MinInterval).
    int BlinkTimeOff = 700;
    int BlinkTimeOn = 700;

private:
    void SwitchBlinking(bool Value);
    void BlinkTimer(rtl::TObject* Sender);

    bool showAccelChar_ = true;
    bool blinking_ = false;
    bool wordWrap_ = false;
    TKitAlignment alignment_ = agTopLeft;
    std::uint16_t blinkTimerID_ = 0;
    gui::TWinControl* focusControl_ = nullptr;
    bool autoSize_ = true;
    bool blinkPhase_ = true;
};

}  // namespace kit
