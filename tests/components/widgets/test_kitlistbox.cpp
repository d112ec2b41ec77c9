// The library's owner-drawn list box: deleting the selection, the horizontal extent of the
// widest item, in-place editing, the item colours and grid lines, and the item tip.
#include <string>
#include <vector>

#include "components/base/kitcustomcontrol.h"
#include "components/controls/KitCustomListBox.h"
#include "tests/components/widgets/KitListFixture.h"

using namespace kit;
using gui::TMessage;

namespace {
class ListBox : public TKitCustomListBox {
public:
    using TKitCustomListBox::TKitCustomListBox;
};

std::vector<std::string> Texts(gui::TCustomListBox* box) {
    std::vector<std::string> v;
    for (int i = 0; i < box->Items()->Count(); ++i) v.push_back(box->Items()->Get(i));
    return v;
}

void EditorKey(TKitCustomListBox* box, unsigned short vk) {
    ASSERT_NE(box->Editor(), nullptr);
    box->Editor()->Perform(gui::WM_KEYDOWN, vk, 0);
}
}  // namespace

class kitListBox : public KitListFixture {};

// A single selection moves to the same index, or to the new last item when the last one went;
// a multiple selection loses every selected item.
TEST_F(kitListBox, DeleteSelectedKeepsASelection) {
    struct Case { int items; int selected; int count; int after; };
    for (const Case& c : {Case{5, 4, 4, 3}, Case{5, 1, 4, 1}, Case{5, -1, 5, -1}, Case{1, 0, 0, -1}}) {
        auto* box = Make<ListBox>();
        Fill(box, c.items);
        box->SetItemIndex(c.selected);
        box->DeleteSelected();
        EXPECT_EQ(box->Items()->Count(), c.count) << c.selected;
        EXPECT_EQ(box->ItemIndex(), c.after) << c.selected;
    }
    auto* multi = Make<ListBox>();
    multi->SetMultiSelect(true);
    Fill(multi, 5);
    multi->SetSelected(0, true);
    multi->SetSelected(3, true);
    multi->DeleteSelected();
    EXPECT_EQ(Texts(multi), (std::vector<std::string>{"Item 1", "Item 2", "Item 4"}));
}

// In the scroll-bar mode the extent follows the widest item as items come and go, and clearing
// the list scrolls back to the left with no extent.
TEST_F(kitListBox, HorizontalExtentFollowsTheWidestItem) {
    auto* box = Make<ListBox>();
    box->SetLongItemMode(limScrollBar);
    box->Items()->Add("short");
    const int narrow = box->ItemTextWidth(0);
    EXPECT_EQ(box->HorizontalExtent(), narrow);
    box->Items()->Add("a much longer text than the list is wide");
    const int wide = box->ItemTextWidth(1);
    EXPECT_GT(wide, box->ClientWidth());
    EXPECT_EQ(box->HorizontalExtent(), wide);
    EXPECT_TRUE(box->HorzScrollBarShown());
    box->Perform(gui::WM_HSCROLL, gui::SB_RIGHT, 0);
    EXPECT_GT(box->HorizontalPosition(), 0);
    box->Items()->Delete(1);
    EXPECT_EQ(box->HorizontalExtent(), narrow) << "the widest width is measured again";
    box->Items()->Add("another rather long text for the extent");
    box->Perform(gui::WM_HSCROLL, gui::SB_RIGHT, 0);
    box->Items()->Clear();
    EXPECT_EQ(box->HorizontalExtent(), 0);
    EXPECT_EQ(box->HorizontalPosition(), 0);

    // Other modes keep no extent.
    auto* plain = Make<ListBox>();
    plain->Items()->Add("a much longer text than the list is wide");
    EXPECT_EQ(plain->HorizontalExtent(), 0);
}

// Inserting at 2 places an empty item there; Esc takes it away again and selects the item now
// at 2; Enter stores the text in place and selects it.
TEST_F(kitListBox, InPlaceEditInsertEscapeAndEnter) {
    auto* box = Make<ListBox>();
    Fill(box, 5);
    int accepted = -2, ended = 0;
    box->OnEditAccepted = [&](rtl::TObject*, int i) { accepted = i; };
    box->OnEndEdit = [&](rtl::TObject*) { ++ended; };

    box->BeginEdit(true, 2);
    ASSERT_NE(box->Editor(), nullptr);
    EXPECT_EQ(box->EditIndex(), 2);
    EXPECT_EQ(box->Items()->Count(), 6);
    EXPECT_EQ(box->Items()->Get(2), "");
    EXPECT_EQ(box->ItemIndex(), -1);
    EditorKey(box, gui::VK_ESCAPE);
    EXPECT_EQ(box->Editor(), nullptr);
    EXPECT_EQ(box->EditIndex(), -1);
    EXPECT_EQ(Texts(box), (std::vector<std::string>{"Item 0", "Item 1", "Item 2", "Item 3", "Item 4"}));
    EXPECT_EQ(box->ItemIndex(), 2) << "Esc selects the item now at the edit index";
    EXPECT_EQ(ended, 1);

    // F2 on item 4, then Esc: the edited item is selected again and keeps its text.
    box->SetEditOptions(keoF2Edits | keoInsertKey);
    box->SetItemIndex(4);
    unsigned short f2 = gui::VK_F2;
    box->Perform(gui::WM_KEYDOWN, f2, 0);
    ASSERT_NE(box->Editor(), nullptr);
    EXPECT_EQ(box->EditIndex(), 4);
    EXPECT_EQ(box->ItemIndex(), -1);
    box->Editor()->SetText("verworfen");
    EditorKey(box, gui::VK_ESCAPE);
    EXPECT_EQ(box->ItemIndex(), 4);
    EXPECT_EQ(box->Items()->Get(4), "Item 4");
    EXPECT_EQ(box->EditIndex(), -1);

    // Inserting past the last item appends one; Esc removes it and, with no item at
    // the edit index any more, selects nothing.
    box->BeginEdit(true, 5);
    EXPECT_EQ(box->EditIndex(), 5);
    EXPECT_EQ(box->Items()->Count(), 6);
    EditorKey(box, gui::VK_ESCAPE);
    EXPECT_EQ(box->Items()->Count(), 5);
    EXPECT_EQ(box->ItemIndex(), -1);
    box->SetEditOptions(0);

    box->BeginEdit(true, 2);
    box->Editor()->SetText("neu");
    EditorKey(box, gui::VK_RETURN);
    EXPECT_EQ(box->Editor(), nullptr);
    EXPECT_EQ(box->Items()->Get(2), "neu");
    EXPECT_EQ(box->Items()->Count(), 6);
    EXPECT_EQ(box->ItemIndex(), 2);
    EXPECT_EQ(accepted, 2);

    // Editing the current item replaces its text.
    box->SetItemIndex(4);
    box->BeginEdit(false, -1);
    EXPECT_EQ(box->Editor()->Text(), "Item 3");
    box->Editor()->SetText("vier");
    EditorKey(box, gui::VK_RETURN);
    EXPECT_EQ(box->Items()->Get(4), "vier");
    EXPECT_EQ(box->Items()->Count(), 6);
    Process();  // the ended editors are freed
}

// F2 without a current item edits no item: Enter then only adds the text; the keys follow the
// edit options, and a cancelling OnBeginEdit leaves neither an editor nor an item behind.
TEST_F(kitListBox, EditKeysAndCancel) {
    auto* box = Make<ListBox>();
    Fill(box, 3);
    unsigned short f2 = gui::VK_F2;
    box->Perform(gui::WM_KEYDOWN, f2, 0);
    EXPECT_EQ(box->Editor(), nullptr) << "F2 needs its edit option";
    box->SetEditOptions(keoF2Edits | keoInsertKey | keoDeleteKey);
    box->Perform(gui::WM_KEYDOWN, f2, 0);
    ASSERT_NE(box->Editor(), nullptr);
    EXPECT_EQ(box->EditIndex(), -1);
    box->Editor()->SetText("dazu");
    EditorKey(box, gui::VK_RETURN);
    EXPECT_EQ(Texts(box), (std::vector<std::string>{"Item 0", "Item 1", "Item 2", "dazu"}));
    EXPECT_EQ(box->ItemIndex(), 3);

    box->Perform(gui::WM_KEYDOWN, gui::VK_DELETE, 0);
    EXPECT_EQ(box->Items()->Count(), 3);

    bool asked = false;
    box->OnBeginEdit = [&](rtl::TObject*, int, bool& cancel) { asked = true; cancel = true; };
    box->Perform(gui::WM_KEYDOWN, gui::VK_INSERT, 0);
    EXPECT_TRUE(asked);
    EXPECT_EQ(box->Editor(), nullptr);
    EXPECT_EQ(box->Items()->Count(), 3);
    Process();
}

// The item colours: the selection colours, no selection colour on an unfocused list with
// HideSelection, DisabledColor on a disabled list, and the grid line on each item's last row.
TEST_F(kitListBox, ItemColoursAndGridLines) {
    auto* box = Make<ListBox>();
    Fill(box, 3);
    const int b = 2;  // the client edge
    const int x = b + 100;  // right of the texts
    box->SetSelectedColor(gdi::clBlue);
    box->SetItemIndex(1);
    QImage img = Grab(box);
    EXPECT_EQ(img.pixel(x, b + 16 + 8), Rgb(gdi::clBlue));
    EXPECT_EQ(img.pixel(x, b + 8), Rgb(gdi::clWindow));

    box->SetHideSelection(true);
    ASSERT_FALSE(box->Focused());
    img = Grab(box);
    EXPECT_EQ(img.pixel(x, b + 16 + 8), Rgb(gdi::clWindow)) << "unfocused: no selection colour";

    box->SetHorzGridLine(true);
    box->SetHorzGridColor(gdi::clRed);
    img = Grab(box);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(img.pixel(x, b + 16 * i + 15), Rgb(gdi::clRed)) << i;
        EXPECT_NE(img.pixel(x, b + 16 * i + 14), Rgb(gdi::clRed)) << i;
    }

    box->SetHorzGridLine(false);
    box->SetDisabledColor(gdi::clYellow);
    box->SetEnabled(false);
    img = Grab(box);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(img.pixel(x, b + 16 * i + 8), Rgb(gdi::clYellow)) << i;

    // A multiple selection keeps its colours.
    auto* multi = Make<ListBox>();
    multi->SetMultiSelect(true);
    multi->SetHideSelection(true);
    EXPECT_FALSE(multi->HideSelection());
    box->SetMultiSelect(true);
    EXPECT_FALSE(box->HideSelection()) << "cleared when the list becomes multi-select";
}

// The tip shows the full text of a clipped item under the mouse, not of an item that fits and
// not of the selected one; it goes when the mouse leaves.
TEST_F(kitListBox, ItemTipForClippedTexts) {
    auto* box = Make<ListBox>(80, 100);
    box->SetLongItemMode(limItemTip);
    box->Items()->Add("kurz");
    box->Items()->Add("ein viel zu langer Text fuer die Liste");
    box->Items()->Add("noch ein viel zu langer Text fuer die Liste");
    box->SetItemIndex(2);
    auto move = [&](int y) { box->Perform(gui::WM_MOUSEMOVE, 0, gui::MakeLParam(10, y)); };
    move(8);
    EXPECT_TRUE(!box->TipWindow() || !box->TipWindow()->Active());
    move(16 + 8);
    ASSERT_NE(box->TipWindow(), nullptr);
    EXPECT_TRUE(box->TipWindow()->Active());
    EXPECT_EQ(box->TipWindow()->Caption(), "ein viel zu langer Text fuer die Liste");
    move(32 + 8);
    EXPECT_FALSE(box->TipWindow()->Active()) << "the selected item has no tip";
    move(16 + 8);
    EXPECT_TRUE(box->TipWindow()->Active());
    box->Perform(gui::CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(box->TipWindow()->Active());
}

namespace {
// A parent that offers a green background picture, as panels with a background do.
class GreenBack : public TKitCustomControl {
public:
    explicit GreenBack(rtl::TComponent* owner) : TKitCustomControl(owner), back_(400, 300) {
        back_.Canvas()->Brush()->SetColor(gdi::clLime);
        back_.Canvas()->FillRect(gdi::Rect(0, 0, 400, 300));
    }
    gdi::TBitmap* GetBackBitmap() override { return &back_; }
    bool HasBackBitmap() override { return true; }

private:
    gdi::TBitmap back_;
};
}  // namespace

// A transparent list on a parent with a background picture shows that picture behind its
// items and below the last one; a selected item keeps its selection colour.
TEST_F(kitListBox, TransparentListShowsTheParentsBackground) {
    auto* panel = new GreenBack(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 300, 250);
    auto* box = new ListBox(form);
    box->SetParent(panel);
    box->SetBounds(10, 10, 121, 100);
    Fill(box, 2);
    box->SetItemIndex(1);
    EXPECT_FALSE(box->TransparentBackground());
    box->SetTransparent(true);
    ASSERT_TRUE(box->TransparentBackground());
    const QImage img = Grab(box);
    const int b = 2, x = b + 100;
    EXPECT_EQ(img.pixel(x, b + 8), Rgb(gdi::clLime));
    EXPECT_EQ(img.pixel(x, b + 16 + 8), Rgb(gdi::clHighlight));
    EXPECT_EQ(img.pixel(x, b + 60), Rgb(gdi::clLime)) << "below the last item";
}
