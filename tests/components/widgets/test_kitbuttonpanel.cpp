// The button panel's grid: columns from the inner width, the fewest rows that hold the buttons,
// the panel sized to the grid inside its bevel, each button in its cell, clicks relayed with
// the button's index, and no layout for a cell of size 0.
#include <gtest/gtest.h>

#include <QMouseEvent>

#include "components/controls/KitButtonPanel.h"
#include "platform/gui/Forms.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;

TEST(kitButtonPanelGrid, ColumnsAndRows) {
    struct Case {
        int n, w, h, cw, ch, cols, rows;
    };
    for (const Case& c : {
             Case{7, 60, 60, 20, 20, 3, 3},    // seven in rows of three
             Case{7, 60, 10, 20, 20, 3, 3},    // too low an area still gets the rows it needs
             Case{6, 60, 200, 20, 20, 3, 2},   // a taller area gives no spare row
             Case{2, 100, 20, 20, 20, 2, 1},   // never more columns than buttons
             Case{3, 10, 100, 20, 20, 1, 3},   // narrower than a cell: one column
             Case{4, 19, 40, 20, 20, 1, 4},
             Case{0, 60, 60, 20, 20, 1, 1},
             Case{5, 60, 60, 0, 20, 1, 1},     // a zero cell gives no division
             Case{5, 60, 60, 20, 0, 1, 1},
         }) {
        const TKitButtonGrid g = KitButtonPanelGrid(c.n, c.w, c.h, c.cw, c.ch);
        EXPECT_EQ(g.Columns, c.cols) << c.n << " in " << c.w << "x" << c.h;
        EXPECT_EQ(g.Rows, c.rows) << c.n << " in " << c.w << "x" << c.h;
    }
}

class kitButtonPanel : public GuiFixture {
protected:
    gui::TForm* form = nullptr;
    TKitButtonPanel* panel = nullptr;
    int extent = 0;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 300);
        form->Show();
        panel = new TKitButtonPanel(form);
        panel->SetParent(form);
        panel->Bevel()->SetStyleOuter(bvRaised);
        panel->Bevel()->SetWidthOuter(2);
        extent = panel->Bevel()->BevelExtent();
        panel->SetCellWidth(20);
        panel->SetCellHeight(20);  // (an empty panel shrinks to one cell)
        panel->SetBounds(10, 10, 60 + 2 * extent, 100);
    }
    TKitSpeedButton* Btn(int i) const { return panel->Buttons()->Items(i)->Button(); }
    // Adds n buttons; the collection's change lays them out in the inner width of 60.
    void Fill(int n) {
        for (int i = 0; i < n; ++i) panel->Buttons()->Add();
        Settle();
    }
    // Runs the posted layout.
    static void Settle() { ProcessFor(20); }
};

TEST_F(kitButtonPanel, SevenButtonsInRowsOfThree) {
    ASSERT_GT(extent, 0);
    Fill(7);
    EXPECT_EQ(panel->Width(), 60 + 2 * extent);
    EXPECT_EQ(panel->Height(), 60 + 2 * extent);
    EXPECT_EQ(panel->Left(), 10);
    EXPECT_EQ(panel->Top(), 10);
    EXPECT_EQ(Btn(0)->BoundsRect(), gdi::Bounds(extent, extent, 20, 20));
    EXPECT_EQ(Btn(5)->BoundsRect(), gdi::Bounds(extent + 40, extent + 20, 20, 20));
    EXPECT_EQ(Btn(6)->BoundsRect(), gdi::Bounds(extent, extent + 40, 20, 20));
    EXPECT_EQ(Btn(6)->Tag, 6);
    EXPECT_FALSE(panel->InLayout());

    // A change of an item lays the panel out again (here in an inner width of 40).
    panel->SetBounds(10, 10, 40 + 2 * extent, 100);
    panel->Buttons()->Items(0)->Layout()->SetSpacing(5);
    Settle();
    EXPECT_EQ(panel->Width(), 40 + 2 * extent);
    EXPECT_EQ(panel->Height(), 80 + 2 * extent);
    panel->SetBounds(10, 10, 60 + 2 * extent, 100);

    // Deleting an item renumbers the rest and lays them out again: six fill two rows.
    panel->Buttons()->Delete(2);
    Settle();
    ASSERT_EQ(panel->Buttons()->Count(), 6);
    EXPECT_EQ(Btn(2)->Tag, 2);
    EXPECT_EQ(panel->Width(), 60 + 2 * extent);
    EXPECT_EQ(panel->Height(), 40 + 2 * extent);
}

TEST_F(kitButtonPanel, ClicksAreRelayedWithTheButtonsIndex) {
    Fill(4);
    std::vector<int> got;
    panel->OnButtonClick = [&](rtl::TObject* sender, rtl::TObject* btn, int index) {
        EXPECT_EQ(sender, panel);
        EXPECT_EQ(btn, Btn(index));
        got.push_back(index);
    };
    panel->ArrangeButtons();
    // A real click on the fourth button (second row, first column).
    const gdi::TRect r = Btn(3)->BoundsRect();
    SendClick(panel->ClientWidget(), QPoint(r.Left + 5 - panel->BorderExtent(), r.Top + 5 - panel->BorderExtent()));
    Btn(1)->Click();
    EXPECT_EQ(got, (std::vector<int>{3, 1}));
}

TEST_F(kitButtonPanel, ZeroCellLeavesTheLayoutAlone) {
    Fill(5);
    const gdi::TRect before = panel->BoundsRect();
    const gdi::TRect first = Btn(1)->BoundsRect();
    panel->SetCellWidth(0);
    panel->Buttons()->Add();
    Settle();
    EXPECT_EQ(panel->BoundsRect(), before);
    EXPECT_EQ(Btn(1)->BoundsRect(), first);
    panel->SetCellHeight(0);
    panel->SetCellWidth(20);
    EXPECT_EQ(panel->BoundsRect(), before);
    panel->SetCellHeight(20);  // six buttons in rows of three again
    EXPECT_EQ(panel->Width(), 60 + 2 * extent);
    EXPECT_EQ(panel->Height(), 40 + 2 * extent);
    EXPECT_EQ(Btn(5)->BoundsRect(), gdi::Bounds(extent + 40, extent + 20, 20, 20));
}
