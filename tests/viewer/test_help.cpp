// The help command of the Info menu.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/sys/Shell.h"
#include "ViewerFixture.h"

namespace {

namespace fs = std::filesystem;

class HelpTest : public ViewerFixture {
protected:
    void TearDown() override {
        sys::SetShellOpener("");
        ViewerFixture::TearDown();
    }
};

TEST_F(HelpTest, MissingHelpDocumentShowsTheNotFoundBox) {
    StartUp();
    form->MIHilfe->Click();
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtError);
    EXPECT_EQ(presenter->boxes[0].text,
              "Die Datei " + FeldorU::ProgDir + "Hilfe.pdf konnte nicht gefunden werden!");
}

TEST_F(HelpTest, HelpDocumentGoesToTheOpener) {
    std::ofstream(dir + "/opener") << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" << dir << "/opened\"\n";
    fs::permissions(dir + "/opener", fs::perms::owner_all);
    sys::SetShellOpener(dir + "/opener");
    StartUp();
    std::ofstream(FeldorU::ProgDir + "Hilfe.pdf") << "%PDF";
    form->MIHilfe->Click();
    EXPECT_TRUE(presenter->boxes.empty());
    for (int i = 0; i < 500 && !fs::exists(dir + "/opened"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(dir + "/opened");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), FeldorU::ProgDir + "Hilfe.pdf\n");
}

}  // namespace
