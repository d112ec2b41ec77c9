// Progress bar and gauge.
#include "platform/gui/ComCtrls.h"

#include <QPainter>
#include <QPalette>
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

// The gauge draws itself as a progress bar would: a bar widget that is never shown renders into
// the parent's surface.
TGauge::TGauge(rtl::TComponent* owner) : TGraphicControl(owner) {
    EnsureQtApplication();
    bar_ = std::make_unique<QProgressBar>();
    bar_->setAttribute(Qt::WA_DontShowOnScreen, true);
    bar_->setFormat(QStringLiteral("%p%"));
    bar_->setAlignment(Qt::AlignCenter);
    Apply();
    SetBounds(0, 0, 100, 100);
}

TGauge::~TGauge() = default;

void TGauge::Apply() {
    bar_->setOrientation(kind_ == gkVerticalBar ? Qt::Vertical : Qt::Horizontal);
    bar_->setTextVisible(showText_);
    bar_->setRange(min_, max_);
    bar_->setValue(progress_);
    Invalidate();
}

void TGauge::Paint() {
    bar_->setFont(gdi::FontToQFont(font_));
    QPalette pal = bar_->palette();
    const QColor q = gdi::ColorToQColor(font_.Color());
    pal.setColor(QPalette::WindowText, q);
    pal.setColor(QPalette::Text, q);
    bar_->setPalette(pal);
    bar_->setEnabled(Enabled());
    bar_->resize(Width(), Height());
    DrawOnSurface([this](QPainter& p) { bar_->render(&p, QPoint(), QRegion(), QWidget::DrawChildren); });
    TGraphicControl::Paint();
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
