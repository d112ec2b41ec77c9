// A bevel panel that lays its speed buttons out in a grid of equal cells and relays their
// clicks. The panel sizes itself to the grid: as many columns as fit its inner width (at most
// one per button), and the fewest rows that hold every button.
#pragma once

#include <functional>
#include <memory>

#include "components/controls/KitCustomBevelPanel.h"
#include "components/controls/KitSpeedButton.h"
#include "components/controls/kitsbtn.h"

namespace kit {

struct TKitButtonGrid {
    int Columns = 1;
    int Rows = 1;
};

// The grid for Count buttons in an inner area of InnerWidth x InnerHeight; both cell extents
// must be at least 1.
TKitButtonGrid KitButtonPanelGrid(int Count, int InnerWidth, int InnerHeight, int CellWidth, int CellHeight);

using TKitButtonPanelClickEvent = std::function<void(rtl::TObject* Sender, rtl::TObject* Btn, int Index)>;

class TKitButtonPanel : public TKitCustomBevelPanel {
public:
    explicit TKitButtonPanel(rtl::TComponent* AOwner);
    ~TKitButtonPanel() override;

    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }
    // Values below 1 are stored but lay nothing out until both extents are positive.
    void SetCellWidth(int Value);
    void SetCellHeight(int Value);

    // The buttons: every change of the collection or of an item lays the panel out again (posted,
    // once the change is complete).
    TKitSpecialButtons* Buttons() const { return buttons_.get(); }
    void SetButtons(const TKitSpecialButtons* Value) { buttons_->Assign(Value); }

    // Fired with the panel, the clicked button and the button's Tag (its index).
    TKitButtonPanelClickEvent OnButtonClick;

    // The grid layout: the panel's own size and every button's cell.
    void ArrangeButtons();
    bool InLayout() const { return inLayout_; }

protected:
    void Loaded() override;
    void WndProc(gui::TMessage& Message) override;

private:
    class TPanelButtons;
    void ButtonClick(rtl::TObject* Sender);

    std::unique_ptr<TKitSpecialButtons> buttons_;
    bool dying_ = false;
    bool layoutPosted_ = false;
    int cellWidth_ = 25;
    int cellHeight_ = 25;
    bool inLayout_ = false;
};

}  // namespace kit
