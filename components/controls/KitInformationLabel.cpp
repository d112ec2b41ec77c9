#include "components/controls/KitInformationLabel.h"

#include "components/base/KitDrawText.h"
#include "components/base/kitapp.h"
#include "components/controls/KitCustomStatusBar.h"
#include "platform/gdi/Drawing.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

namespace kit {

using gdi::TRect;

std::string KitApplyNumberMask(std::string Value, std::string Mask) {
    std::size_t p = Value.size();  // the position before which the next character goes (0-based)
    while (!Mask.empty()) {
        const char c = Mask.back();
        if (c != '0') Value.insert(p, 1, c);
        else if (p == 0) Value.insert(0, 1, '0');
        else --p;
        Mask.pop_back();
    }
    return Value;
}

TKitInformationLabel::TKitInformationLabel(rtl::TComponent* AOwner) : TKitBaseLabel(AOwner) {
    dateTimeFormat_ = rtl::DateFormatSettings().ShortDateFormat;
    SetColor(gdi::clWindow);
    SetParentColor(true);
    font3D_ = std::make_unique<TKit3DCaption>();
    font3D_->OnChange = [this](rtl::TObject* s) { FontChanged(s); };
    bevel_ = std::make_unique<TKitBevel>();
    bevel_->OnChange = [this](rtl::TObject* s) { ContentChanged(s); };
}

TKitInformationLabel::~TKitInformationLabel() {
    ReleaseTimer();
    font3D_->OnChange = nullptr;
    bevel_->OnChange = nullptr;
}

bool TKitInformationLabel::IsPolled(TKitInfoType Kind) {
    return Kind == itNumLock || Kind == itCapsLock || Kind == itScroll || Kind == itCurrentDateTime;
}

bool TKitInformationLabel::IsMasked(TKitInfoType Kind) {
    switch (Kind) {
    case itCurrentDiskFree32:
    case itCurrentDiskSize32:
    case itProcessorCont32:
    case itDOSVersion:
    case itCPUSpeed: return true;
    default:
        return (Kind >= itVersion && Kind <= itFreeUserRes) || (Kind >= itMajorVerNr32 && Kind <= itPlatformID32);
    }
}

void TKitInformationLabel::ReleaseTimer() {
    if (timerID_ == 0) return;
    if (KitApplication.Assigned()) {
        if (TKitTimerItem* item = KitApplication->GetTimer(timerID_)) {
            item->SetEnabled(false);
            item->OnTimer = nullptr;
        }
        KitApplication->RemoveTimer(timerID_);
    }
    timerID_ = 0;
}

void TKitInformationLabel::SetInfo(TKitInfoType Value) {
    if (info_ == Value) return;
    info_ = Value;
    if (IsPolled(Value)) {
        const std::uint16_t interval = Value == itCurrentDateTime ? 1000 : 250;
        if (timerID_ == 0) {
            timerID_ = KitApplication->AddTimer(interval, [this](rtl::TObject* s) { PollTimer(s); });
            if (timerID_ == 0) throw rtl::EOutOfResources("Nicht genügend Timer verfügbar");
        }
        if (TKitTimerItem* item = KitApplication->GetTimer(timerID_)) {
            item->SetInterval(interval);
            item->SetEnabled(true);
        }
    } else {
        ReleaseTimer();
    }
    ContentChanged(this);
}

void TKitInformationLabel::SetDividerValue(int Value) {
    if (dividerValue_ == Value) return;
    dividerValue_ = Value;
    ContentChanged(this);
}

void TKitInformationLabel::SetDateTimeFormat(const std::string& Value) {
    if (dateTimeFormat_ == Value) return;
    dateTimeFormat_ = Value;
    if (info_ == itCurrentDateTime) ContentChanged(this);
}

void TKitInformationLabel::SetNumberFormat(const std::string& Value) {
    if (numberFormat_ == Value) return;
    numberFormat_ = Value;
    if (IsMasked(info_) && info_ != itCPUSpeed) ContentChanged(this);
}

void TKitInformationLabel::SetUseStandardCaption(bool Value) {
    if (useStandardCaption_ == Value) return;
    useStandardCaption_ = Value;
    ContentChanged(this);
}

void TKitInformationLabel::SetInsertColon(std::int8_t Value) {
    if (insertColon_ == Value) return;
    insertColon_ = Value;
    ContentChanged(this);
}

void TKitInformationLabel::SetInsertTabs(std::int8_t Value) {
    if (insertTabs_ == Value) return;
    insertTabs_ = Value;
    ContentChanged(this);
}

std::string TKitInformationLabel::Value() {
    if (info_ != itCPUSpeed) {
        std::string v;
        KitGetInfo(info_, dividerValue_, dateTimeFormat_, v);
        return v;
    }
    // Measuring blocks for half a second: once per label is enough.
    if (!cpuMHz_) cpuMHz_ = KitCPUSpeed();
    const int divisor = dividerValue_ == 0 ? 1 : dividerValue_;
    return rtl::Trim(rtl::FloatToStr(static_cast<long double>(*cpuMHz_) / divisor));
}

bool TKitInformationLabel::BuildText(std::string& S) {
    bool changed = true;
    if (useStandardCaption_) KitGetInfoCaption(info_, S);
    else S = Caption();
    if (insertColon_ == 0) S += ':';
    const int tabs = static_cast<std::uint8_t>(insertTabs_);
    for (int k = 1; k <= tabs; ++k) {
        S += '\t';
        if (insertColon_ == k) S += ':';
    }
    if (tabs == 0 && !Caption().empty()) S += ' ';
    std::string v = Value();
    if (IsPolled(info_) && polling_) {
        if (v != lastPolled_) lastPolled_ = v;
        else changed = false;
    }
    if (IsMasked(info_) && !numberFormat_.empty()) v = KitApplyNumberMask(v, numberFormat_);
    S += v;
    polling_ = false;
    return changed;
}

void TKitInformationLabel::PollTimer(rtl::TObject*) {
    TKitTimerItem* item = timerID_ ? KitApplication->GetTimer(timerID_) : nullptr;
    if (!item || !item->Enabled()) return;
    polling_ = true;
    std::string s;
    if (BuildText(s)) ContentChanged(this);
}

void TKitInformationLabel::ContentChanged(rtl::TObject*) {
    AdjustLabelSize();
    Invalidate();
}

int TKitInformationLabel::LabelOffset() const {
    if (auto* bar = dynamic_cast<TKitCustomStatusBar*>(Parent())) return bar->GetLabelOffset();
    return 0;
}

void TKitInformationLabel::AdjustLabelSize() {
    if (!AutoSize() || ComponentState().Contains(rtl::csReading)) return;
    TRect r = ClientRect();
    std::string s;
    BuildText(s);
    KitCalcTextRect(*Canvas(), s, font3D_.get(), r, *Font(), WordWrap(), ShowAccelChar(), bevel_->BevelExtent(), 0);
    r.Right += LabelOffset();
    SetBounds(Left(), Top(), r.Right, r.Bottom);
}

void TKitInformationLabel::Paint() {
    if (Loading()) return;
    std::string s;
    if (!BuildText(s)) return;
    gdi::TCanvas& c = *Canvas();
    if (!Transparent()) FillBackground();
    TRect r = ClientRect();
    r.Left += LabelOffset();
    bevel_->PaintBevel(c, r, Transparent(), r);
    unsigned format = 0;
    if (!WordWrap()) {
        format |= gdi::DT_SINGLELINE;
    } else if (Alignment() >= agCenterLeft) {
        TRect placed;
        KitAlignTextRect(Alignment(), s, font3D_.get(), r, *Font(), WordWrap(), ShowAccelChar(), format, placed);
        r = placed;
    }
    format |= KitDTAlignFlags(Alignment()) | gdi::DT_EXPANDTABS | gdi::DT_WORDBREAK;
    if (!ShowAccelChar()) format |= gdi::DT_NOPREFIX;
    c.Brush()->SetColor(Color());
    c.Font()->Assign(*Font());
    c.Font()->SetColor(Font()->Color());
    KitDrawFxText(c, s, font3D_.get(), r, format, Enabled() ? kftEnabled : 1u, nullptr);
}

}  // namespace kit
