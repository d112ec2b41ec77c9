// The check list box: clicks and the space key in the check area, the three modes, the packed
// value, the per-item data objects and the drawing of enabled and disabled boxes.
#include <string>
#include <vector>

#include "components/base/kitapp.h"
#include "components/controls/KitCheckListBox.h"
#include "tests/components/widgets/KitListFixture.h"

using namespace kit;

namespace {
class CheckList : public TKitCheckListBox {
public:
    using TKitCheckListBox::TKitCheckListBox;
    int drawn = 0;
    using TKitCheckListBox::ToggleState;

protected:
    void DrawItemStruct(gui::TDrawItemStruct& Dis) override {
        ++drawn;
        TKitCheckListBox::DrawItemStruct(Dis);
    }
};

std::vector<int> States(TKitCustomCheckListBox* box) {
    std::vector<int> v;
    for (int i = 0; i < box->Items()->Count(); ++i) v.push_back(box->State(i));
    return v;
}
}  // namespace

class kitCheckListBox : public KitListFixture {
protected:
    CheckList* MakeList(int n) {
        auto* box = Make<CheckList>(160, 120);
        Fill(box, n);
        box->OnClickCheck = [this](rtl::TObject*) { ++clicks; };
        return box;
    }
    void Click(gui::TCustomListBox* box, int x, int y) {
        box->Perform(gui::WM_LBUTTONDOWN, gui::MK_LBUTTON, gui::MakeLParam(x, y));
        box->Perform(gui::WM_LBUTTONUP, 0, gui::MakeLParam(x, y));
    }
    int clicks = 0;
};

// A click in an item's check area checks exactly that item; a click on its text only selects it.
TEST_F(kitCheckListBox, ClickInTheCheckAreaTogglesThatItem) {
    auto* box = MakeList(4);
    ASSERT_GT(KitApplication->CheckWidth, 0);
    EXPECT_EQ(box->CheckWidth(), KitApplication->CheckWidth + 2);
    for (int item = 0; item < 4; ++item) {
        box->SetValue(0);
        clicks = 0;
        Click(box, box->CheckWidth() / 2, 16 * item + 8);
        std::vector<int> want(4, 0);
        want[item] = 1;
        EXPECT_EQ(States(box), want) << item;
        EXPECT_EQ(clicks, 1);
    }
    box->SetValue(0);
    clicks = 0;
    Click(box, box->CheckWidth() + 20, 16 + 8);
    EXPECT_EQ(States(box), std::vector<int>(4, 0)) << "the text does not toggle";
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(clicks, 0);
    // The space key toggles the current item.
    box->Perform(gui::WM_CHAR, ' ', 0);
    EXPECT_TRUE(box->Checked(1));
    EXPECT_EQ(clicks, 1);
}

// The state cycles of the three modes.
TEST_F(kitCheckListBox, ToggleCyclesOfTheModes) {
    auto* box = MakeList(3);
    box->SetBtnMode(blCheckBox3State);
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        box->ToggleState(1);
        seen.push_back(box->State(1));
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 1, 0, 2})) << "unchecked, grayed, checked, unchecked";

    box->SetBtnMode(blRadioButton);
    box->ToggleState(0);
    box->ToggleState(2);
    EXPECT_EQ(States(box), (std::vector<int>{0, 0, 1}));
    box->ToggleState(2);
    EXPECT_EQ(States(box), (std::vector<int>{0, 0, 1})) << "a checked radio button stays";
    box->SetBtnAllowUnselect(true);
    box->ToggleState(2);
    EXPECT_EQ(States(box), (std::vector<int>{0, 0, 0}));

    box->SetBtnMode(blCheckBox);
    box->ToggleState(0);
    box->ToggleState(0);
    EXPECT_EQ(box->State(0), 0);
    box->ToggleState(-1);
    box->ToggleState(3);  // outside: nothing
    EXPECT_EQ(States(box), (std::vector<int>{0, 0, 0}));
}

// The value packs the check boxes as bits (64 of them), names the radio button, and switching
// the mode re-applies it: only the first checked item stays checked as a radio button.
TEST_F(kitCheckListBox, ValueInEachMode) {
    auto* box = MakeList(70);
    box->SetChecked(0, true);
    box->SetChecked(2, true);
    EXPECT_EQ(box->Value(), 5);
    box->SetValue(2);
    EXPECT_EQ(box->Value(), 2);
    EXPECT_TRUE(box->Checked(1));
    EXPECT_FALSE(box->Checked(0));

    box->SetValue(0);
    for (int i : {31, 32, 40, 63}) box->SetChecked(i, true);
    const std::int64_t high = (std::int64_t(1) << 31) | (std::int64_t(1) << 32) | (std::int64_t(1) << 40) |
                              static_cast<std::int64_t>(std::uint64_t(1) << 63);
    EXPECT_EQ(box->Value(), high);
    box->SetChecked(65, true);
    EXPECT_EQ(box->Value(), high) << "items past 63 have no bit";
    box->SetValue(high);
    EXPECT_FALSE(box->Checked(65)) << "and are not checked by a write";
    EXPECT_TRUE(box->Checked(63));
    EXPECT_FALSE(box->Checked(64));

    box->SetValue(0);
    box->SetChecked(3, true);
    box->SetChecked(5, true);
    box->SetBtnMode(blRadioButton);
    EXPECT_EQ(box->Value(), 3);
    EXPECT_TRUE(box->Checked(3));
    EXPECT_FALSE(box->Checked(5));
    box->SetValue(7);
    EXPECT_EQ(box->Value(), 7);

    box->SetBtnMode(blCheckBox3State);
    box->SetState(1, 2);
    EXPECT_EQ(box->Value(), -1);
    box->SetValue(123);
    EXPECT_EQ(box->State(1), 0);
    EXPECT_EQ(box->State(7), 0);
}

// Check states and user data live in the item's data object: replacing an item's text, a new
// window style and deleting other items keep them; indexes outside the list are errors.
TEST_F(kitCheckListBox, ItemDataObjectsKeepStatesAndUserData) {
    auto* box = MakeList(4);
    rtl::TObject marker;
    box->Items()->PutObject(1, &marker);
    box->SetChecked(1, true);
    box->SetChecked(3, true);
    EXPECT_EQ(box->Items()->Objects(1), &marker);
    EXPECT_TRUE(box->Checked(1)) << "the user data does not touch the state";

    box->Items()->Put(1, "neu");
    EXPECT_TRUE(box->Checked(1)) << "replacing the text keeps the state";
    EXPECT_EQ(box->Items()->Objects(1), &marker);
    box->SetFlat(true);
    EXPECT_EQ(States(box), (std::vector<int>{0, 1, 0, 1}));
    box->Items()->Delete(0);
    EXPECT_EQ(States(box), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(box->Items()->Objects(0), &marker);

    EXPECT_THROW(box->Checked(3), rtl::EListError);
    EXPECT_THROW(box->SetChecked(-1, true), rtl::EListError);
    box->Items()->Clear();
    box->Items()->Add("x");
    EXPECT_FALSE(box->Checked(0));
    EXPECT_TRUE(box->ItemEnabled(0));
}

// Setting a state repaints the check area at once, and an unchanged one paints nothing.
TEST_F(kitCheckListBox, OnlyAChangedStateRepaints) {
    auto* box = MakeList(3);
    box->Repaint();
    Process();
    box->drawn = 0;
    box->SetChecked(1, true);
    EXPECT_GT(box->drawn, 0);
    box->drawn = 0;
    box->SetChecked(1, true);
    box->SetState(1, 1);
    EXPECT_EQ(box->drawn, 0);
}

// A disabled item or control does not toggle and draws an inactive box and grey text.
TEST_F(kitCheckListBox, DisabledItemsAndControl) {
    auto* box = MakeList(3);
    box->NeedItemDataObject(1)->Disabled = true;
    EXPECT_FALSE(box->ItemEnabled(1));
    Click(box, 5, 16 + 8);
    EXPECT_FALSE(box->Checked(1));
    Click(box, 5, 8);
    EXPECT_TRUE(box->Checked(0));

    // The box is centred in the check area; inside the flat frame it is window-coloured, or
    // button-face coloured when inactive.
    const int b = 2, w = KitApplication->CheckWidth, h = KitApplication->CheckHeight;
    const int bx = b + (box->CheckWidth() - w) / 2, by = b + (16 - h) / 2;
    QImage img = Grab(box);
    EXPECT_EQ(img.pixel(bx + 2, 32 + by + 2), Rgb(gdi::clWindow)) << "enabled item 2";
    EXPECT_EQ(img.pixel(bx + 2, 16 + by + 2), Rgb(gdi::clBtnFace)) << "disabled item 1";
    EXPECT_EQ(img.pixel(bx + 1, 32 + by + 1), Rgb(gdi::clBtnShadow)) << "the flat frame";

    box->SetEnabled(false);
    Click(box, 5, 32 + 8);
    EXPECT_FALSE(box->Checked(2));
    img = Grab(box);
    EXPECT_EQ(img.pixel(bx + 2, 32 + by + 2), Rgb(gdi::clBtnFace));
}
