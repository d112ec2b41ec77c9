// A label that shows one fact about the system or the program: its caption (by default the
// fact's English standard caption), tabs and optionally a colon, then the current value, read
// from the system-information engine whenever the text is built. Lock-key states and the clock
// are polled on an item of the application's timer pool and repainted only when their text
// changed; only those labels hold an item.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "components/base/KitCaptions.h"
#include "components/base/kitsysin.h"
#include "components/controls/KitBaseLabel.h"
#include "components/controls/KitBevel.h"

namespace kit {

class TKitInformationLabel : public TKitBaseLabel {
public:
    explicit TKitInformationLabel(rtl::TComponent* AOwner);
    ~TKitInformationLabel() override;

    TKitInfoType Info() const { return info_; }
    // Lock-key kinds poll every 250 ms, the clock every 1000 ms (each taking a timer item,
    // EOutOfResources "Nicht genügend Timer verfügbar" when none is free); other kinds give the
    // item back.
    void SetInfo(TKitInfoType Value);
    TKit3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(const TKit3DCaption* Value) { font3D_->Assign(Value); }
    TKitBevel* Bevel() const { return bevel_.get(); }
    void SetBevel(const TKitBevel* Value) { bevel_->Assign(Value); }
    // The divisor of numeric facts (0 counts as 1).
    int DividerValue() const { return dividerValue_; }
    void SetDividerValue(int Value);
    const std::string& DateTimeFormat() const { return dateTimeFormat_; }
    void SetDateTimeFormat(const std::string& Value);
    // A digit mask for the numeric facts ("0" takes a digit, other characters are inserted).
    const std::string& NumberFormat() const { return numberFormat_; }
    void SetNumberFormat(const std::string& Value);
    bool UseStandardCaption() const { return useStandardCaption_; }
    void SetUseStandardCaption(bool Value);
    // 0: ":" right after the caption; k >= 1: after the k-th tab; other values: no colon.
    int InsertColon() const { return insertColon_; }
    void SetInsertColon(std::int8_t Value);
    // Tabs between caption and value; counted as an unsigned byte (-1 gives 255).
    int InsertTabs() const { return insertTabs_; }
    void SetInsertTabs(std::int8_t Value);

    // The label's text; False when a poll found the value unchanged.
    bool BuildText(std::string& S);
    // The ID of the label's timer item; 0 while it holds none.
    std::uint16_t TimerID() const { return timerID_; }
    // Runs one poll, as the timer item does.
    void PollTimer(rtl::TObject* Sender);

    void ContentChanged(rtl::TObject* Sender) override;

protected:
    void Paint() override;
    void AdjustLabelSize() override;

private:
    static bool IsPolled(TKitInfoType Kind);
    static bool IsMasked(TKitInfoType Kind);
    void ReleaseTimer();
    // The value of the label's kind; the processor clock is measured once per label.
    std::string Value();
    // The status bar's offset when the label lies on one, else 0.
    int LabelOffset() const;

    TKitInfoType info_ = itUser;
    std::unique_ptr<TKit3DCaption> font3D_;
    int dividerValue_ = 0;
    std::string dateTimeFormat_;
    std::string numberFormat_;
    std::string lastPolled_;
    bool polling_ = false;
    bool useStandardCaption_ = true;
    std::unique_ptr<TKitBevel> bevel_;
    std::int8_t insertColon_ = -1;
    std::int8_t insertTabs_ = 1;
    std::uint16_t timerID_ = 0;
    std::optional<double> cpuMHz_;
};

// The value with the digit mask applied from the right: "0" keeps a digit of the value (or adds
// a leading zero when the value is used up), any other character is inserted.
std::string KitApplyNumberMask(std::string Value, std::string Mask);

}  // namespace kit
