// Progress bar and gauge over QProgressBar.
#pragma once

#include <memory>

#include "platform/gui/Controls.h"

class QProgressBar;

namespace gui {

// Position is kept within Min .. Max.
class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(rtl::TComponent* owner);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);
    int Step() const { return step_; }
    void SetStep(int v) { step_ = v; }
    void StepIt() { SetPosition(position_ + step_); }
    void StepBy(int delta) { SetPosition(position_ + delta); }

private:
    void Apply();
    int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
};

enum TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

// Progress is clamped to MinValue .. MaxValue. The bar shows the percentage as text when
// ShowText is on.
class TGauge : public TGraphicControl {
public:
    explicit TGauge(rtl::TComponent* owner);
    ~TGauge() override;

    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    int Progress() const { return progress_; }
    void SetMinValue(int v);
    void SetMaxValue(int v);
    void SetProgress(int v);
    void AddProgress(int delta) { SetProgress(progress_ + delta); }
    // Progress in percent of the range (0 for an empty range).
    int PercentDone() const;
    TGaugeKind Kind() const { return kind_; }
    void SetKind(TGaugeKind k);
    bool ShowText() const { return showText_; }
    void SetShowText(bool v);

protected:
    void Paint() override;

private:
    void Apply();
    std::unique_ptr<QProgressBar> bar_;
    int min_ = 0, max_ = 100, progress_ = 0;
    TGaugeKind kind_ = gkHorizontalBar;
    bool showText_ = true;
};

}  // namespace gui
