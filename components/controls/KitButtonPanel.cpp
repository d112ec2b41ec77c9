#include "components/controls/KitButtonPanel.h"

#include <algorithm>

#include "platform/rtl/Classes.h"

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

namespace {
// Asks the panel for a layout once the current change is complete.
constexpr unsigned WM_KITARRANGEBUTTONS = gui::WM_USER + 0x0B50;
}

// The collection of the panel's buttons tells the panel of every change. The layout is posted:
// an item reports its addition before it has made its button.
class TKitButtonPanel::TPanelButtons : public TKitSpecialButtons {
public:
    explicit TPanelButtons(TKitButtonPanel* Panel) : TKitSpecialButtons(Panel, true), panel_(Panel) {}

protected:
    void Update(rtl::TCollectionItem* Item) override {
        TKitSpecialButtons::Update(Item);
        if (panel_->dying_ || panel_->layoutPosted_) return;
        panel_->layoutPosted_ = true;
        gui::PostMessage(panel_, WM_KITARRANGEBUTTONS);
    }

private:
    TKitButtonPanel* panel_;
};

TKitButtonPanel::TKitButtonPanel(rtl::TComponent* AOwner) : TKitCustomBevelPanel(AOwner) {
    buttons_ = std::make_unique<TPanelButtons>(this);
}

TKitButtonPanel::~TKitButtonPanel() {
    dying_ = true;
    buttons_.reset();
}

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
    const int n = buttons_->Count();
    const TKitButtonGrid g = KitButtonPanelGrid(n, r.Right - r.Left, r.Bottom - r.Top, cellWidth_, cellHeight_);
    SetBounds(Left(), Top(), g.Columns * cellWidth_ + 2 * extent, g.Rows * cellHeight_ + 2 * extent);
    for (int i = 0; i < n; ++i) {
        TKitSpeedButton* b = buttons_->Items(i)->Button();
        if (!b) break;
        b->Tag = i;
        b->SetBounds(r.Left + (i % g.Columns) * cellWidth_, r.Top + ((i / g.Columns) % g.Rows) * cellHeight_,
                     cellWidth_, cellHeight_);
        if (OnButtonClick) b->OnClick = [this](rtl::TObject* s) { ButtonClick(s); };
    }
}

void TKitButtonPanel::WndProc(gui::TMessage& Message) {
    if (Message.Msg == WM_KITARRANGEBUTTONS) {
        layoutPosted_ = false;
        ArrangeButtons();
        return;
    }
    TKitCustomBevelPanel::WndProc(Message);
}

void TKitButtonPanel::ButtonClick(rtl::TObject* Sender) {
    auto* b = dynamic_cast<TKitSpeedButton*>(Sender);
    if (OnButtonClick && b) OnButtonClick(this, b, b->Tag);
}

}  // namespace kit
