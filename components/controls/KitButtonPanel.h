// A bevel panel that lays its speed buttons out in a grid of equal cells and relays their
// clicks. The panel sizes itself to the grid: as many columns as fit its inner width (at most
// one per button), and the fewest rows that hold every button.
#pragma once

#include <functional>
#include <vector>

#include "components/controls/KitCustomBevelPanel.h"
#include "components/controls/KitSpeedButton.h"

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

    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }
    // Values below 1 are stored but lay nothing out until both extents are positive.
    void SetCellWidth(int Value);
    void SetCellHeight(int Value);

    // STAND-IN for the edit's collection of embedded buttons: a plain list of speed buttons
    // owned and parented by the panel, each with its index as Tag. A change of the list lays
    // the panel out again, as the collection's change notification will.
    TKitSpeedButton* AddButton();
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TKitSpeedButton* Buttons(int Index) const { return buttons_.at(static_cast<std::size_t>(Index)); }

    // Fired with the panel, the clicked button and the button's Tag (its index).
    TKitButtonPanelClickEvent OnButtonClick;

    // The grid layout: the panel's own size and every button's cell.
    void ArrangeButtons();
    bool InLayout() const { return inLayout_; }

protected:
    void Loaded() override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;

private:
    void ButtonClick(rtl::TObject* Sender);

    std::vector<TKitSpeedButton*> buttons_;
    int cellWidth_ = 25;
    int cellHeight_ = 25;
    bool inLayout_ = false;
};

}  // namespace kit
