// The colour list box: the named and custom colours it lists, selecting colours, the free
// name=value lists, the swatches and the colour dialog on a right click.
#include <string>
#include <vector>

#include "components/controls/KitColorListBox.h"
#include "tests/components/widgets/KitListFixture.h"

using namespace kit;

namespace {
std::vector<std::string> Texts(gui::TCustomListBox* box) {
    std::vector<std::string> v;
    for (int i = 0; i < box->Items()->Count(); ++i) v.push_back(box->Items()->Get(i));
    return v;
}
}  // namespace

class kitColorListBox : public KitListFixture {};

// The defaults list the 16 basic colours; the system colours add the other names; "clNone" is
// never listed.
TEST_F(kitColorListBox, NamedColours) {
    auto* box = Make<TKitColorListBox>();
    const std::vector<std::string> basic{"clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple",
                                         "clTeal", "clGray", "clSilver", "clRed", "clLime", "clYellow",
                                         "clBlue", "clFuchsia", "clAqua", "clWhite"};
    EXPECT_EQ(Texts(box), basic);
    box->SetOptions(coDefaultColors | coSystemColors);
    const auto all = Texts(box);
    EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + 16), basic);
    EXPECT_GT(all.size(), 40u);
    for (const char* name : {"clMoneyGreen", "clBtnFace", "clWindow"})
        EXPECT_NE(std::find(all.begin(), all.end(), name), all.end()) << name;
    EXPECT_EQ(std::find(all.begin(), all.end(), "clNone"), all.end());
    box->SetOptions(coSystemColors);
    EXPECT_EQ(box->Items()->Get(0), "clMoneyGreen") << "only the names after the basic ones";
}

// Custom colours are the hexadecimal values of the keys FarbenA to FarbenP: "FFFFFFFF" is left
// out, short values are padded to eight digits; the setter takes over only those keys.
TEST_F(kitColorListBox, CustomColours) {
    auto* box = Make<TKitColorListBox>();
    box->SetOptions(coCustomColors);
    box->CustomColors()->Add("FarbenA=FF");
    box->CustomColors()->Add("FarbenB=FFFFFFFF");
    box->CustomColors()->Add("FarbenD=00FF00");
    EXPECT_EQ(Texts(box), (std::vector<std::string>{"$000000FF", "$0000FF00"}));
    box->SetItemIndex(0);
    EXPECT_EQ(box->SelectedColor(), gdi::clRed);

    rtl::TStringList given;
    for (const char* s : {"FarbenC=123456", "FarbenE=zz", "Andere=FF", "FarbenP=10"}) given.Add(s);
    box->SetCustomColors(&given);
    EXPECT_EQ(box->CustomColors()->Text(), "FarbenC=123456\r\nFarbenP=10\r\n");
    EXPECT_EQ(Texts(box), (std::vector<std::string>{"$00123456", "$00000010"}));
}

// Selecting a colour selects its item; a colour that is not listed is added under its name when
// any colour is allowed; clNone is never added.
TEST_F(kitColorListBox, SelectColor) {
    auto* box = Make<TKitColorListBox>();
    EXPECT_EQ(box->SelectedColor(), static_cast<gdi::TColor>(-1));
    box->SelectColor(gdi::clRed);
    EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "clRed");
    EXPECT_EQ(box->SelectedColor(), gdi::clRed);
    box->SelectColor(0x123456);
    EXPECT_EQ(box->Items()->Count(), 17);
    EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "$00123456");
    EXPECT_EQ(box->SelectedColor(), 0x123456u);
    box->SelectColor(gdi::clNone);
    EXPECT_EQ(box->Items()->Count(), 17);
    EXPECT_EQ(box->ItemIndex(), -1);

    box->SetOptions(coDefaultColors);
    box->SelectColor(0x654321);
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->Items()->Count(), 16);

    // A refill keeps the selected colour.
    box->SelectColor(gdi::clTeal);
    box->SetOptions(coDefaultColors | coSystemColors);
    EXPECT_EQ(box->SelectedColor(), gdi::clTeal);
}

// In CustomMode the list is the name=value lines as given; colours are found by their value.
TEST_F(kitColorListBox, CustomModeLists) {
    auto* box = Make<TKitColorListBox>();
    rtl::TStringList lines;
    for (const char* s : {"Rot=clRed", "Blau=$FF0000", "Kein=Wert"}) lines.Add(s);
    box->SetCustomMode(true);
    box->SetCustomColors(&lines);
    EXPECT_EQ(Texts(box), (std::vector<std::string>{"Rot=clRed", "Blau=$FF0000", "Kein=Wert"}));
    box->SelectColor(gdi::clBlue);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(box->SelectedColor(), gdi::clBlue);
    box->SelectColor(gdi::clRed);
    EXPECT_EQ(box->ItemIndex(), 0);
    box->SelectColor(gdi::clLime);
    EXPECT_EQ(box->ItemIndex(), 0) << "nothing is added in CustomMode";
}

// Swatches in the colour of the item; a value that is no colour gets none.
TEST_F(kitColorListBox, Swatches) {
    auto* box = Make<TKitColorListBox>(160, 120);
    box->SetOptions(coCustomColors);
    box->CustomColors()->Add("FarbenA=FF");
    box->CustomColors()->Add("FarbenB=zz");
    ASSERT_EQ(Texts(box), (std::vector<std::string>{"$000000FF", "$000000zz"}));
    const int b = 2;
    QImage img = Grab(box);
    EXPECT_EQ(img.pixel(b + 8, b + 8), Rgb(gdi::clRed)) << "inside the swatch of item 0";
    EXPECT_EQ(img.pixel(b + 4, b + 8), Rgb(gdi::clBlack)) << "its frame";
    EXPECT_EQ(img.pixel(b + 8, b + 16 + 8), Rgb(gdi::clWindow)) << "no swatch for item 1";

    box->SetDisplayStyle(csColor);
    img = Grab(box);
    EXPECT_EQ(img.pixel(b + 60, b + 8), Rgb(gdi::clRed)) << "the whole item is the swatch";
    EXPECT_EQ(img.pixel(b + 60, b + 16 + 8), Rgb(gdi::clWindow));
}

// A right click with coAllowDialog opens the colour dialog on the custom colours; its choice
// becomes the custom colours and the selection.
TEST_F(kitColorListBox, ColourDialogOnARightClick) {
    auto* box = Make<TKitColorListBox>();
    box->SetOptions(coCustomColors | coAllowAnyColor);
    box->CustomColors()->Add("FarbenA=FF");
    box->Perform(gui::WM_RBUTTONDOWN, gui::MK_RBUTTON, gui::MakeLParam(10, 10));
    EXPECT_TRUE(presenter.colorDialogs.empty()) << "only with coAllowDialog";

    box->SetOptions(coCustomColors | coAllowAnyColor | coAllowDialog);
    gui::ColorDialogResult answer;
    answer.accepted = true;
    answer.color = 0x123456;
    answer.customColors.assign(16, 0xFFFFFFFFu);
    answer.customColors[0] = 0xFF;
    answer.customColors[1] = 0x123456;
    presenter.colorAnswers.push_back(answer);
    int before = 0, after = 0;
    box->OnBeforeDialogShow = [&](rtl::TObject*, gui::TColorDialog* d) {
        if (++before == 1) EXPECT_EQ(d->CustomColors()->Values("FarbenA"), "FF");
    };
    box->OnAfterDialogShow = [&](rtl::TObject*, gui::TColorDialog*) { ++after; };
    box->Perform(gui::WM_RBUTTONDOWN, gui::MK_RBUTTON, gui::MakeLParam(10, 10));
    ASSERT_EQ(presenter.colorDialogs.size(), 1u);
    EXPECT_EQ(presenter.colorDialogs[0].customColors[0], 0xFFu);
    EXPECT_EQ(presenter.colorDialogs[0].customColors[1], 0xFFFFFFFFu);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(Texts(box), (std::vector<std::string>{"$000000FF", "$00123456"}));
    EXPECT_EQ(box->SelectedColor(), 0x123456u);
    EXPECT_EQ(box->CustomColors()->Values("FarbenB"), "123456");

    // A cancelled dialog changes nothing.
    box->Perform(gui::WM_RBUTTONDOWN, gui::MK_RBUTTON, gui::MakeLParam(10, 10));
    EXPECT_EQ(presenter.colorDialogs.size(), 2u);
    EXPECT_EQ(Texts(box), (std::vector<std::string>{"$000000FF", "$00123456"}));
}
