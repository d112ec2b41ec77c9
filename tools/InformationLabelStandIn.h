// STAND-IN for the library's information label until it lands: a windowless, auto-sized label
// that shows the standard caption of a system fact, InsertTabs tab characters (expanded to tab
// stops) and the fact's current value.
// Only the lock-key and clock labels take a timer item of the library's pool; the others read
// their value when Info changes.
#pragma once

#include <cstdint>
#include <string>

#include "components/base/kitsysin.h"
#include "platform/gui/Controls.h"

class TInformationLabelStandIn : public gui::TGraphicControl {
public:
    explicit TInformationLabelStandIn(rtl::TComponent* owner);
    ~TInformationLabelStandIn() override;

    kit::TKitInfoType Info() const { return info_; }
    void SetInfo(kit::TKitInfoType Value);
    int InsertTabs() const { return insertTabs_; }
    void SetInsertTabs(int Value);
    const std::string& DateTimeFormat() const { return dateTimeFormat_; }
    void SetDateTimeFormat(const std::string& Value);
    // The timer item's ID; 0 while the label has none.
    std::uint16_t TimerID() const { return timerId_; }
    // Caption, tabs and value.
    std::string BuildText() const;
    // The text shown.
    const std::string& Text() const { return text_; }

protected:
    void Paint() override;

private:
    void ContentChanged();
    void PollTimer();
    kit::TKitInfoType info_ = kit::itUser;
    int insertTabs_ = 1;
    std::string dateTimeFormat_ = "dd.MM.yyyy";
    std::uint16_t timerId_ = 0;
    std::string text_;
};
