// STAND-IN: see the header.
#include "tools/InformationLabelStandIn.h"

#include "components/base/kitapp.h"
#include "platform/gdi/Drawing.h"
#include "platform/rtl/Classes.h"

namespace {
constexpr unsigned kFormat = gdi::DT_SINGLELINE | gdi::DT_EXPANDTABS | gdi::DT_NOPREFIX;
}

TInformationLabelStandIn::TInformationLabelStandIn(rtl::TComponent* owner)
    : gui::TGraphicControl(owner) {}

TInformationLabelStandIn::~TInformationLabelStandIn() {
    if (timerId_ != 0 && kit::KitApplication.Assigned()) kit::KitApplication->RemoveTimer(timerId_);
}

void TInformationLabelStandIn::SetInfo(kit::TKitInfoType Value) {
    info_ = Value;
    const bool lockKey = Value == kit::itNumLock || Value == kit::itCapsLock || Value == kit::itScroll;
    const bool clock = Value == kit::itCurrentDateTime;
    if ((lockKey || clock) && timerId_ == 0) {
        timerId_ = kit::KitApplication->AddTimer(1000, [this](rtl::TObject*) { PollTimer(); });
        if (timerId_ == 0) throw rtl::EOutOfResources("Nicht genügend Timer verfügbar");
    }
    if (timerId_ != 0) {
        kit::TKitTimerItem* item = kit::KitApplication->GetTimer(timerId_);
        if (lockKey) item->SetInterval(250);
        if (clock) item->SetInterval(1000);
        item->SetEnabled(lockKey || clock);
    }
    ContentChanged();
}

void TInformationLabelStandIn::SetInsertTabs(int Value) {
    insertTabs_ = Value;
    ContentChanged();
}

void TInformationLabelStandIn::SetDateTimeFormat(const std::string& Value) {
    dateTimeFormat_ = Value;
    if (info_ == kit::itCurrentDateTime) ContentChanged();
}

std::string TInformationLabelStandIn::BuildText() const {
    std::string caption;
    kit::KitGetInfoCaption(info_, caption);
    std::string value;
    kit::KitGetInfo(info_, 0, dateTimeFormat_, value);
    return caption + std::string(static_cast<unsigned char>(insertTabs_), '\t') + value;
}

void TInformationLabelStandIn::ContentChanged() {
    text_ = BuildText();
    gdi::TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    gdi::TRect r{0, 0, 0, 0};
    gdi::DrawText(*c, text_, r, kFormat | gdi::DT_CALCRECT);
    SetBounds(Left(), Top(), r.Right, r.Bottom);
    Invalidate();
}

void TInformationLabelStandIn::PollTimer() {
    if (BuildText() != text_) ContentChanged();
}

void TInformationLabelStandIn::Paint() {
    gdi::TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    c->Brush()->SetStyle(gdi::bsClear);
    gdi::TRect r{0, 0, Width(), Height()};
    gdi::DrawText(*c, text_, r, kFormat);
}
