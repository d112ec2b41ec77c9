// Progress bar and gauge.
#include "platform/gui/ComCtrls.h"

#include <QProgressBar>

#include <algorithm>

#include "platform/gui/QtSupport.h"

namespace gui {

using namespace detail;

// ---- TProgressBar -------------------------------------------------------------------------------

TProgressBar::TProgressBar(rtl::TComponent* owner) : TWinControl(owner, new Hooked<QProgressBar>) {
    auto* p = static_cast<QProgressBar*>(Widget());
    p->setTextVisible(false);
    p->setFocusPolicy(Qt::NoFocus);
    Apply();
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::Apply() {
    auto* p = static_cast<QProgressBar*>(Widget());
    p->setRange(min_, max_);
    p->setValue(position_);
}

void TProgressBar::SetMin(int v) {
    min_ = v;
    max_ = std::max(max_, min_);
    position_ = std::clamp(position_, min_, max_);
    Apply();
}

void TProgressBar::SetMax(int v) {
    max_ = v;
    min_ = std::min(min_, max_);
    position_ = std::clamp(position_, min_, max_);
    Apply();
}

void TProgressBar::SetPosition(int v) {
    position_ = std::clamp(v, min_, max_);
    Apply();
}

// ---- TGauge -------------------------------------------------------------------------------------

TGauge::TGauge(rtl::TComponent* owner) : TGraphicControl(owner, new Hooked<QProgressBar>) {
    auto* p = static_cast<QProgressBar*>(Widget());
    p->setFormat(QStringLiteral("%p%"));
    p->setAlignment(Qt::AlignCenter);
    Apply();
    SetBounds(0, 0, 100, 100);
}

void TGauge::Apply() {
    auto* p = static_cast<QProgressBar*>(Widget());
    p->setOrientation(kind_ == gkVerticalBar ? Qt::Vertical : Qt::Horizontal);
    p->setTextVisible(showText_);
    p->setRange(min_, max_);
    p->setValue(progress_);
}

void TGauge::SetMinValue(int v) {
    min_ = v;
    max_ = std::max(max_, min_);
    progress_ = std::clamp(progress_, min_, max_);
    Apply();
}

void TGauge::SetMaxValue(int v) {
    max_ = v;
    min_ = std::min(min_, max_);
    progress_ = std::clamp(progress_, min_, max_);
    Apply();
}

void TGauge::SetProgress(int v) {
    progress_ = std::clamp(v, min_, max_);
    Apply();
}

int TGauge::PercentDone() const {
    if (max_ == min_) return 0;
    return static_cast<int>((static_cast<long long>(progress_ - min_) * 100) / (max_ - min_));
}

void TGauge::SetKind(TGaugeKind k) {
    kind_ = k;
    Apply();
}

void TGauge::SetShowText(bool v) {
    showText_ = v;
    Apply();
}

}  // namespace gui
