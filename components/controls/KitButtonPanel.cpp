#include "components/controls/KitButtonPanel.h"

#include <algorithm>

namespace kit {

TKitButtonGrid KitButtonPanelGrid(int Count, int InnerWidth, int InnerHeight, int CellWidth, int CellHeight) {
    TKitButtonGrid g;
    if (CellWidth < 1 || CellHeight < 1) return g;
    const int n = std::max(Count, 0);
    g.Columns = std::max(std::min(InnerWidth / CellWidth, n), 1);
    const int c = g.Columns;
    if (n <= c) {
        g.Rows = 1;
        return g;
    }
    int r = InnerHeight / CellHeight;
    if (c == 1 && n < r) r = n;
    r = std::max(r, 1);
    while (r > 1 && c * r > n) --r;
    while (c * r < n) ++r;
    g.Rows = r;
    return g;
}

TKitButtonPanel::TKitButtonPanel(rtl::TComponent* AOwner) : TKitCustomBevelPanel(AOwner) {}

void TKitButtonPanel::SetCellWidth(int Value) {
    if (cellWidth_ == Value) return;
    cellWidth_ = Value;
    ArrangeButtons();
}

void TKitButtonPanel::SetCellHeight(int Value) {
    if (cellHeight_ == Value) return;
    cellHeight_ = Value;
    ArrangeButtons();
}

TKitSpeedButton* TKitButtonPanel::AddButton() {
    auto* b = new TKitSpeedButton(this);
    b->SetParent(this);
    b->Tag = static_cast<int>(buttons_.size());
    buttons_.push_back(b);
    ArrangeButtons();
    return b;
}

void TKitButtonPanel::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TKitCustomBevelPanel::Notification(AComponent, Operation);
    if (Operation != rtl::TOperation::opRemove) return;
    auto it = std::find(buttons_.begin(), buttons_.end(), AComponent);
    if (it == buttons_.end()) return;
    buttons_.erase(it);
    for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->Tag = static_cast<int>(i);
    if (!Destroying()) ArrangeButtons();
}

void TKitButtonPanel::Loaded() {
    TKitCustomBevelPanel::Loaded();
    ArrangeButtons();
}

void TKitButtonPanel::ArrangeButtons() {
    if (inLayout_) return;
    inLayout_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inLayout_};
    if (ComponentState().Contains(rtl::csLoading)) return;
    // A zero cell has no layout.
    if (cellWidth_ < 1 || cellHeight_ < 1) return;
    gdi::TRect r = ClientRect();
    const int extent = Bevel()->BevelExtent();
    if (Bevel()->Mode() != bmWindows) gdi::InflateRect(r, -extent, -extent);
    const int n = ButtonCount();
    const TKitButtonGrid g = KitButtonPanelGrid(n, r.Right - r.Left, r.Bottom - r.Top, cellWidth_, cellHeight_);
    SetBounds(Left(), Top(), g.Columns * cellWidth_ + 2 * extent, g.Rows * cellHeight_ + 2 * extent);
    for (int i = 0; i < n; ++i) {
        TKitSpeedButton* b = buttons_[static_cast<std::size_t>(i)];
        if (!b) break;
        b->SetBounds(r.Left + (i % g.Columns) * cellWidth_, r.Top + ((i / g.Columns) % g.Rows) * cellHeight_,
                     cellWidth_, cellHeight_);
        if (OnButtonClick) b->OnClick = [this](rtl::TObject* s) { ButtonClick(s); };
    }
}

void TKitButtonPanel::ButtonClick(rtl::TObject* Sender) {
    auto* b = dynamic_cast<TKitSpeedButton*>(Sender);
    if (OnButtonClick && b) OnButtonClick(this, b, b->Tag);
}

}  // namespace kit
