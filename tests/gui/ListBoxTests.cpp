// The self-drawn list box: items through its messages, geometry and scrolling, the selection
// kinds from mouse and keyboard, owner drawing and the virtual styles.
#include <QImage>
#include <QWidget>

#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/ListBoxes.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

QRgb Rgb(gdi::TColor c) { return gdi::ColorToQColor(c).rgb(); }

// Logs the item messages it sees with the result the list gave.
class LoggingList : public TListBox {
public:
    explicit LoggingList(rtl::TComponent* owner) : TListBox(owner) {}
    std::vector<std::string> log;

protected:
    void WndProc(TMessage& m) override {
        TListBox::WndProc(m);
        if (m.Msg == LB_ADDSTRING) log.push_back("add " + std::to_string(m.Result));
        if (m.Msg == LB_INSERTSTRING) log.push_back("insert " + std::to_string(m.Result));
        if (m.Msg == LB_DELETESTRING) log.push_back("delete " + std::to_string(m.WParam));
        if (m.Msg == LB_RESETCONTENT) log.push_back("reset");
    }
};

std::vector<int> SelectedItems(const TCustomListBox& box) {
    std::vector<int> s;
    auto& b = const_cast<TCustomListBox&>(box);
    for (int i = 0; i < b.Items()->Count(); ++i)
        if (b.Selected(i)) s.push_back(i);
    return s;
}

}  // namespace

class guiListBox : public GuiFixture {
protected:
    TForm* form = nullptr;
    TListBox* box = nullptr;
    int clicks = 0;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 320, 300);
        box = new TListBox(form);
        box->SetParent(form);
        box->SetBounds(10, 10, 121, 100);  // client 117 x 96 inside the 2-pixel edge
        box->OnClick = [this](rtl::TObject*) { ++clicks; };
        form->Show();
    }
    void Fill(int n) {
        for (int i = 0; i < n; ++i) box->Items()->Add("Item " + std::to_string(i));
    }
    void Click(int x, int y, unsigned keys = 0) {
        box->Perform(WM_LBUTTONDOWN, MK_LBUTTON | keys, MakeLParam(x, y));
        box->Perform(WM_LBUTTONUP, keys, MakeLParam(x, y));
    }
    void Key(unsigned short vk, LPARAM bits = 0) { box->Perform(WM_KEYDOWN, vk, bits); }
    QImage Grab() {
        box->Repaint();
        return box->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

// Adding, inserting, deleting and clearing reach the window procedure as messages; a sorted list
// places each new text in order, and replacing a text keeps its data and the selection.
TEST_F(guiListBox, ItemsGoThroughTheListMessages) {
    auto* list = new LoggingList(form);
    list->SetParent(form);
    rtl::TObject marker;
    list->Items()->Add("b");
    list->Items()->AddObject("a", &marker);
    list->Items()->Insert(0, "c");
    list->SetItemIndex(2);
    list->Items()->Put(2, "A2");
    EXPECT_EQ(list->Items()->Objects(2), &marker);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->Items()->Delete(1);
    EXPECT_EQ(list->ItemIndex(), 1) << "the selection moves with its item";
    list->Items()->Clear();
    EXPECT_EQ((std::vector<std::string>{"add 0", "add 1", "insert 0", "delete 2", "insert 2",
                                        "delete 1", "reset"}),
              list->log);
    EXPECT_EQ(list->ItemIndex(), -1);

    for (const char* s : {"echo", "Delta", "alpha"}) list->Items()->Add(s);
    list->SetItemIndex(0);
    list->SetSorted(true);
    EXPECT_EQ(list->ItemIndex(), 2) << "the selection follows its item";
    for (const char* s : {"charlie", "Bravo"}) list->Items()->Add(s);
    EXPECT_EQ(list->Items()->Text(), "alpha\r\nBravo\r\ncharlie\r\nDelta\r\necho\r\n");

    EXPECT_THROW(list->Items()->Get(5), rtl::EListError);
    EXPECT_THROW(list->Items()->Delete(-1), rtl::EListError);
    EXPECT_THROW((void)list->Selected(5), rtl::EListError);
    EXPECT_EQ(list->Perform(LB_GETITEMDATA, 9, 0), LB_ERR);
}

// Fixed 16-pixel items in a 96-pixel client area: six fit; a longer list shows the vertical bar,
// which narrows the client area, and the top index stops where the last page is full.
TEST_F(guiListBox, GeometryOfFixedItemsAndTheTopIndex) {
    box->SetStyle(lbOwnerDrawFixed);
    Fill(4);
    EXPECT_FALSE(box->VertScrollBarShown());
    EXPECT_EQ(box->ClientWidth(), 117);
    Fill(16);
    ASSERT_TRUE(box->VertScrollBarShown());
    EXPECT_EQ(box->ClientWidth(), 117 - TCustomListBox::ScrollBarSize);

    box->SetTopIndex(3);
    const gdi::TRect r = box->ItemRect(5);
    EXPECT_EQ(r.Top, 32);
    EXPECT_EQ(r.Bottom, 48);
    EXPECT_EQ(box->ItemRect(2).Top, -16);
    struct Case { int x, y; bool existing; int expected; };
    for (const Case& c : {Case{5, 0, true, 3}, Case{5, 95, true, 8}, Case{5, 40, false, 5},
                          Case{-1, 40, true, -1}, Case{5, 96, true, -1}})
        EXPECT_EQ(box->ItemAtPos({c.x, c.y}, c.existing), c.expected) << c.x << "," << c.y;

    box->SetTopIndex(19);
    EXPECT_EQ(box->TopIndex(), 14);
    EXPECT_EQ(box->Perform(LB_GETTOPINDEX, 0, 0), 14);

    // Past the last item: -1 for existing items only, else Count.
    box->Items()->Clear();
    Fill(2);
    EXPECT_EQ(box->ItemAtPos({5, 50}, true), -1);
    EXPECT_EQ(box->ItemAtPos({5, 50}, false), 2);
}

// Variable heights come from OnMeasureItem when an item is added; the item rectangles and the
// hit test follow them.
TEST_F(guiListBox, VariableHeightsFromMeasureItem) {
    box->SetStyle(lbOwnerDrawVariable);
    std::vector<int> measured;
    box->OnMeasureItem = [&](TWinControl*, int index, int& h) {
        measured.push_back(index);
        h = 10 * (index + 1);
    };
    Fill(4);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), measured);
    EXPECT_EQ(box->ItemRect(2).Top, 30);
    EXPECT_EQ(box->ItemRect(2).Bottom, 60);
    EXPECT_EQ(box->ItemAtPos({5, 29}, true), 1);
    EXPECT_EQ(box->ItemAtPos({5, 30}, true), 2);
    EXPECT_EQ(box->Perform(LB_GETITEMHEIGHT, 3, 0), 40);
    // 100 pixels of items in 96: the bar is needed, and the top index can reach item 1.
    EXPECT_TRUE(box->VertScrollBarShown());
    box->SetTopIndex(3);
    EXPECT_EQ(box->TopIndex(), 1);
}

// Keys move a single selection and tell the list through the selection-change notification
// (OnClick); setting ItemIndex in code does not notify.
TEST_F(guiListBox, KeyboardMovesTheSingleSelection) {
    Fill(20);  // lbStandard: the font's line height
    const int page = 96 / box->ItemHeight();
    box->SetItemIndex(3);
    EXPECT_EQ(clicks, 0);
    struct Step { unsigned short vk; int expected; };
    for (const Step& s : {Step{VK_DOWN, 4}, Step{VK_UP, 3}, Step{VK_END, 19}, Step{VK_DOWN, 19},
                          Step{VK_HOME, 0}, Step{VK_UP, 0}, Step{VK_NEXT, page - 1}})
    {
        Key(s.vk);
        EXPECT_EQ(box->ItemIndex(), s.expected) << s.vk;
    }
    EXPECT_EQ(clicks, 5) << "a key that does not move the selection does not notify";
    Key(VK_END);
    EXPECT_GE(box->TopIndex(), 20 - page) << "the selection is scrolled into view";
    Key(VK_HOME);
    EXPECT_EQ(box->TopIndex(), 0);
    EXPECT_EQ(box->SelCount(), -1);
}

// Mouse and keys in the extended selection: a click selects one, Shift a range from the anchor,
// Ctrl toggles one; the simple multiple selection toggles on every click.
TEST_F(guiListBox, ExtendedAndMultipleSelection) {
    box->SetMultiSelect(true);
    Fill(8);
    const int h = box->ItemHeight();
    auto y = [h](int i) { return i * h + h / 2; };
    Click(5, y(1));
    Click(5, y(4), MK_SHIFT);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), SelectedItems(*box));
    Click(5, y(2), MK_CONTROL);
    EXPECT_EQ((std::vector<int>{1, 3, 4}), SelectedItems(*box));
    EXPECT_EQ(box->SelCount(), 3);
    EXPECT_EQ(box->ItemIndex(), 2) << "the focus is on the item clicked last";
    Key(VK_DOWN, KF_SHIFTBIT);
    EXPECT_EQ((std::vector<int>{2, 3}), SelectedItems(*box)) << "the range runs from the anchor";
    Key(VK_DOWN);
    EXPECT_EQ((std::vector<int>{4}), SelectedItems(*box));
    EXPECT_EQ(clicks, 5);

    box->SetExtendedSelect(false);
    box->ClearSelection();
    Click(5, y(0));
    Click(5, y(5));
    Click(5, y(0));
    EXPECT_EQ((std::vector<int>{5}), SelectedItems(*box));
    Key(VK_DOWN);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ((std::vector<int>{5}), SelectedItems(*box)) << "arrows move only the focus";
    Key(VK_SPACE);
    EXPECT_EQ((std::vector<int>{1, 5}), SelectedItems(*box));

    box->Items()->Put(5, "Item 5b");
    EXPECT_EQ((std::vector<int>{1, 5}), SelectedItems(*box)) << "a replaced text stays selected";
    EXPECT_EQ(box->ItemIndex(), 1);

    box->SetSelected(7, true);
    box->DeleteSelected();
    EXPECT_EQ(box->Items()->Text(), "Item 0\r\nItem 2\r\nItem 3\r\nItem 4\r\nItem 6\r\n");
}

// An owner-drawn list hands each visible item with its rectangle and state to OnDrawItem on the
// selection colours; a standard list fills the selected item with the highlight colour.
TEST_F(guiListBox, OwnerDrawAndStandardDrawing) {
    Fill(3);
    box->SetItemIndex(1);
    const int h = box->ItemHeight();
    QImage img = Grab();
    EXPECT_EQ(img.pixel(2 + 100, 2 + h + h / 2), Rgb(gdi::clHighlight));
    EXPECT_EQ(img.pixel(2 + 100, 2 + h / 2), Rgb(gdi::clWindow));

    box->SetStyle(lbOwnerDrawFixed);
    box->SetItemHeight(20);
    struct Drawn { int index; gdi::TRect rect; TOwnerDrawState state; gdi::TColor brush; };
    std::vector<Drawn> drawn;
    box->OnDrawItem = [&](TWinControl*, int index, gdi::TRect r, TOwnerDrawState state) {
        drawn.push_back({index, r, state, box->Canvas()->Brush()->Color()});
        box->Canvas()->Brush()->SetColor(index == 2 ? gdi::clRed : box->Canvas()->Brush()->Color());
        box->Canvas()->FillRect(r);
    };
    box->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return box->Focused(); }));
    drawn.clear();
    img = Grab();
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[1].rect.Top, 20);
    EXPECT_EQ(drawn[1].rect.Bottom, 40);
    EXPECT_EQ(drawn[1].state, odSelected | odFocused);
    EXPECT_EQ(drawn[1].brush, gdi::clHighlight);
    EXPECT_EQ(drawn[0].state, 0u);
    EXPECT_EQ(drawn[0].brush, gdi::clWindow);
    EXPECT_EQ(img.pixel(2 + 50, 2 + 50), Rgb(gdi::clRed));
}

// The virtual styles hold only a count; texts come from OnData, and items cannot be added.
TEST_F(guiListBox, VirtualListTakesItsTextsFromOnData) {
    box->SetStyle(lbVirtual);
    box->OnData = [](TWinControl*, int index, std::string& s) { s = "Zeile " + std::to_string(index); };
    box->SetCount(100000);
    EXPECT_EQ(box->Items()->Count(), 100000);
    EXPECT_EQ(box->Items()->Get(70000), "Zeile 70000");
    EXPECT_THROW(box->Items()->Add("x"), rtl::EListError);
    Key(VK_END);
    EXPECT_EQ(box->ItemIndex(), 99999);
    box->SetCount(10);
    EXPECT_EQ(box->ItemIndex(), -1) << "a selection past the new count goes";
    // The top index comes back so that the last page is full.
    EXPECT_LE(box->ItemRect(9).Bottom, box->ClientHeight());
    EXPECT_GT(box->ItemRect(9).Bottom, box->ClientHeight() - box->ItemHeight());

    box->SetStyle(lbStandard);
    EXPECT_EQ(box->Perform(LB_SETCOUNT, 5, 0), LB_ERR);
}

// A horizontal extent wider than the client area shows the horizontal bar and lets the items
// scroll sideways; the bars answer clicks on their arrows and beside the thumb.
TEST_F(guiListBox, ScrollBarsAndHorizontalExtent) {
    box->SetStyle(lbOwnerDrawFixed);
    Fill(30);
    box->SetHorizontalExtent(300);
    ASSERT_TRUE(box->HorzScrollBarShown());
    const int cw = box->ClientWidth(), ch = box->ClientHeight();
    EXPECT_EQ(ch, 96 - TCustomListBox::ScrollBarSize);
    box->Perform(WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_EQ(box->HorizontalPosition(), 300 - cw);
    EXPECT_EQ(box->ItemRect(0).Left, -(300 - cw));
    box->Perform(WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(box->HorizontalPosition(), 0);

    Click(cw + 8, ch - 3);  // the down arrow
    EXPECT_EQ(box->TopIndex(), 1);
    Click(cw + 8, 3);       // the up arrow
    EXPECT_EQ(box->TopIndex(), 0);
    Click(cw + 8, ch - 20); // below the thumb: a page
    EXPECT_EQ(box->TopIndex(), ch / 16 - 1);
    EXPECT_EQ(box->ItemIndex(), -1) << "scrolling selects nothing";

    box->SetHorizontalExtent(0);
    EXPECT_FALSE(box->HorzScrollBarShown());
    QImage img = Grab();
    // The vertical bar is drawn right of the items, inside the edge.
    EXPECT_EQ(img.pixel(2 + cw + 8, 2 + 40), Rgb(gdi::clScrollBar));
}

// Dragging with the left button held moves a single selection along; dragging the thumb scrolls
// the items.
TEST_F(guiListBox, DraggingTheSelectionAndTheThumb) {
    box->SetStyle(lbOwnerDrawFixed);
    Fill(40);
    box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 20));
    box->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(5, 52));
    box->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 52));
    EXPECT_EQ(box->ItemIndex(), 3);
    EXPECT_EQ(clicks, 2);
    box->Perform(WM_MOUSEMOVE, 0, MakeLParam(5, 80));
    EXPECT_EQ(box->ItemIndex(), 3) << "moving without the button changes nothing";

    const int x = box->ClientWidth() + 8;
    const int thumbTop = TCustomListBox::ScrollBarSize + 1;
    box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(x, thumbTop));
    box->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x, 95));
    box->Perform(WM_LBUTTONUP, 0, MakeLParam(x, 95));
    EXPECT_EQ(box->TopIndex(), 40 - 6) << "the thumb dragged to the bottom shows the last page";
    EXPECT_EQ(box->ItemIndex(), 3);
}

// Beyond 65,535 items the dragged thumb still carries the whole top index: three quarters of
// the track show the item three quarters down, the track's end and beyond it the last page.
// The horizontal thumb carries more than 65,535 pixels likewise.
TEST_F(guiListBox, ThumbDragCarriesTheFullPositionOfALongList) {
    box->SetStyle(lbOwnerDrawFixed);
    Fill(100000);
    const int page = box->ClientHeight() / box->ItemHeight();
    const int maxTop = 100000 - page;
    const int arrow = TCustomListBox::ScrollBarSize;
    const int x = box->ClientWidth() + 8;
    const int free = box->ClientHeight() - 2 * arrow - 8;  // the thumb at its least length
    const int perPixel = maxTop / free + 1;
    box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(x, arrow + 1));
    box->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x, arrow + 1 + free * 3 / 4));
    EXPECT_NEAR(box->TopIndex(), maxTop * 3 / 4, perPixel);
    box->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x, arrow + 1 + free));
    EXPECT_EQ(box->TopIndex(), maxTop);
    box->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x, box->ClientHeight() + 40));
    EXPECT_EQ(box->TopIndex(), maxTop) << "beyond the track the position is clamped";
    box->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x, -40));
    EXPECT_EQ(box->TopIndex(), 0);
    box->Perform(WM_LBUTTONUP, 0, MakeLParam(x, -40));

    box->SetHorizontalExtent(200000);
    ASSERT_TRUE(box->HorzScrollBarShown());
    const int y = box->ClientHeight() + 8;
    const int range = 200000 - box->ClientWidth();
    const int hFree = box->ClientWidth() - 2 * arrow - 8;
    box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(arrow + 1, y));
    box->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(arrow + 1 + hFree * 3 / 4, y));
    EXPECT_NEAR(box->HorizontalPosition(), range * 3 / 4, range / hFree + 1);
    box->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(box->ClientWidth() + 40, y));
    EXPECT_EQ(box->HorizontalPosition(), range);
    box->Perform(WM_LBUTTONUP, 0, MakeLParam(box->ClientWidth() + 40, y));
}
