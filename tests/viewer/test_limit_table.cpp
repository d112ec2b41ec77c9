// The "Tools" menu's limit-table entry: the window opens modally through its launcher and its
// popup menu saves the table.
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/viewer/ViewerFixture.h"
#include "tools/Grenzwerttabelle.h"

namespace {

class LimitTableMenuTest : public ViewerFixture {};

TEST_F(LimitTableMenuTest, SavesTheTableFromTheToolsMenu) {
    StartUp();
    const int owned = app->ComponentCount();
    const std::string path = dir + "/Grenzwerte.txt";
    presenter->fileAnswers.push_back({true, {path}, 2});
    bool shown = false;
    presenter->formHandler = [&](gui::TCustomForm& f) {
        auto* w = dynamic_cast<TFormGrenzwerttabelle*>(&f);
        EXPECT_NE(w, nullptr);
        if (!w) return gui::mrCancel;
        shown = true;
        EXPECT_EQ(w->Owner(), nullptr);
        w->PopupMenu->Items()->Items(0)->Click();  // "Speichern (*.txt)"
        return gui::mrCancel;
    };
    form->MIBEMFVGrenzwerte->Click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(presenter->modalForms,
              std::vector<std::string>{"Grenzwerte zur Berechnung der Anzeige nach BEMFV"});
    // The window was freed when it closed.
    EXPECT_EQ(app->ComponentCount(), owned);

    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    std::istringstream lines(text);
    std::vector<std::string> first;
    for (std::string l; first.size() < 3 && std::getline(lines, l);) {
        ASSERT_FALSE(l.empty());
        EXPECT_EQ(l.back(), '\r');
        l.pop_back();
        first.push_back(l);
    }
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0], "     Band ;       PS ;       CW ;      SSB ;       AM ;       FM ;       TV ;      GSM ;");
    EXPECT_EQ(first[1], "          ;      V/m ;      V/m ;      V/m ;      V/m ;      V/m ;      V/m ;      V/m ;");
    EXPECT_EQ(first[2], "       LW ;    87,00 ;      --- ;      --- ;   244,52 ;      --- ;      --- ;      --- ;");
}

}  // namespace
