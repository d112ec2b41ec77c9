#include "viewer/FileProgress.h"

#include <algorithm>

#include "platform/gui/Dialogs.h"

namespace {

constexpr int kClientWidth = 303;
constexpr int kGaugeLeft = 16;
constexpr int kGaugeWidthLess = 30;  // 273 of the 303 pixels of the design

}  // namespace

TFormFileProgress::TFormFileProgress(rtl::TComponent* owner) : gui::TForm(owner) {
    SetName("FormFileProgress");
    SetBorderStyle(gui::bsToolWindow);
    SetPosition(gui::poMainFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(40);
    FileGauge = new gui::TGauge(this);
    FileGauge->SetName("FileGauge");
    FileGauge->SetParent(this);
    FileGauge->SetBounds(kGaugeLeft, 8, kClientWidth - kGaugeWidthLess, 25);
    FileGauge->SetMinValue(0);
    FileGauge->SetMaxValue(100);
    OnCloseQuery = [this](rtl::TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
}

void TFormFileProgress::FormCloseQuery(rtl::TObject*, bool& CanClose) {
    CanClose = FileGauge->Progress() >= 100;
}

void TFormFileProgress::TextChanged() {
    gui::TForm::TextChanged();
    if (!FileGauge) return;
    const gui::TFrameExtents frame = FrameExtents();
    const int available = gui::Screen()->WorkAreaWidth() - frame.Left - frame.Right;
    const int width = std::max(kClientWidth, std::min(gui::CaptionClientWidth(Caption()), available));
    SetClientWidth(width);
    FileGauge->SetWidth(width - kGaugeWidthLess);
}
