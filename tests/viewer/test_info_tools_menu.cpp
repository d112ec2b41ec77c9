// Every item of "&Info" and "&Tools": the documents and addresses go to the desktop's opener, the
// modal windows are answered through the presenter, the non-modal ones appear on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ViewerFixture.h"
#include "platform/sys/Shell.h"
#include "tools/CopyRight.h"
#include "tools/DecimalSeperator.h"
#include "tools/Grenzwerttabelle.h"
#include "tools/Schwingkreis.h"
#include "tools/Zweidrahtleitung.h"
#include "viewer/FeldorTools.h"

namespace {

namespace fs = std::filesystem;

class InfoToolsMenu : public ViewerFixture {
protected:
    void TearDown() override {
        sys::SetShellOpener("");
        ViewerFixture::TearDown();
    }
    // An opener that appends its argument to a file, one line per call.
    void RecordOpenedTargets() {
        std::ofstream(dir + "/opener")
            << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"" << dir << "/opened\"\n";
        fs::permissions(dir + "/opener", fs::perms::owner_all);
        sys::SetShellOpener(dir + "/opener");
    }
    // The recorded targets once Count of them arrived (the opener runs on its own), sorted.
    std::vector<std::string> OpenedTargets(std::size_t Count) {
        std::vector<std::string> lines;
        for (int i = 0; i < 500; ++i) {
            lines.clear();
            std::ifstream in(dir + "/opened");
            for (std::string line; std::getline(in, line);) lines.push_back(line);
            if (lines.size() >= Count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }
    static int VisibleWindows(const QString& title) {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle().startsWith(title)) ++n;
        return n;
    }
    int CopyRightWindows() const {
        int n = 0;
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (dynamic_cast<TFormCopyRight*>(form->Components(i))) ++n;
        return n;
    }
};

TEST_F(InfoToolsMenu, HelpAndLinksGoToTheOpener) {
    RecordOpenedTargets();
    StartUp();
    std::ofstream(FeldorU::ProgDir + "Hilfe.pdf") << "%PDF";
    for (gui::TMenuItem* item : {form->MIHilfe, form->MIRAVK, form->MIEZNEC, form->MINECWinPro,
                                 form->MI4Nec2, form->MIMMANA})
        item->Click();
    EXPECT_TRUE(presenter->boxes.empty());
    std::vector<std::string> expected = {FeldorU::ProgDir + "Hilfe.pdf", FeldorTools::UrlClub,
                                         FeldorTools::UrlRegulation, FeldorTools::UrlAgency,
                                         FeldorTools::UrlRadiation, FeldorTools::UrlUnion};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(OpenedTargets(expected.size()), expected);
}

TEST_F(InfoToolsMenu, TermsOfUseWindowIsBuiltAnewEachTime) {
    StartUp();
    std::vector<std::string> texts;
    presenter->formHandler = [&](gui::TCustomForm& f) {
        auto* terms = dynamic_cast<TFormCopyRight*>(&f);
        if (!terms) return gui::mrCancel;
        texts.push_back(terms->Memo->Lines()->Text());
        EXPECT_EQ(terms->Caption(), terms->CaptionText);
        return gui::mrCancel;
    };
    for (int round = 0; round < 2; ++round) {
        form->MICopyRight->Click();
        app->ProcessMessages();
        EXPECT_EQ(CopyRightWindows(), 0) << "the closed window is freed";
    }
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], texts[1]);
    // Ten paragraphs with an empty line between each two.
    std::vector<std::string> lines;
    std::istringstream in(texts[0]);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 19u);
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i] == "\r" || lines[i].empty(), i % 2 == 1) << i;
}

TEST_F(InfoToolsMenu, EveryToolOpensItsWindow) {
    StartUp();
    std::vector<std::string> modal;
    presenter->formHandler = [&](gui::TCustomForm& f) {
        if (dynamic_cast<TFormDecimalSeperator*>(&f)) modal.push_back("separators");
        if (dynamic_cast<TFormZweidrahtleitung*>(&f)) modal.push_back("two-wire line");
        if (dynamic_cast<TFormSchwingkreis*>(&f)) modal.push_back("resonant circuit");
        if (dynamic_cast<TFormGrenzwerttabelle*>(&f)) modal.push_back("limit table");
        return gui::mrCancel;
    };
    for (gui::TMenuItem* item : {form->MIDezimaltrennzeichen, form->MIZweidrahtleitung,
                                 form->MISchwingkreis, form->MIBEMFVGrenzwerte})
        item->Click();
    EXPECT_EQ(modal, (std::vector<std::string>{"separators", "two-wire line", "resonant circuit",
                                               "limit table"}));

    // The system information opens a window of its own each time; the coax calculator shows.
    form->MISysInfo->Click();
    form->MISysInfo->Click();
    form->MIKoaxRechner->Click();
    EXPECT_EQ(VisibleWindows("Systeminformationen"), 2);
    EXPECT_EQ(VisibleWindows("Dämpfung von Koaxkabeln und Konnektoren"), 1);
    EXPECT_TRUE(presenter->boxes.empty());

    // Closed with the window manager's button, they release themselves.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() &&
            (w->windowTitle().startsWith("Systeminformationen") ||
             w->windowTitle().startsWith("Dämpfung von Koaxkabeln")))
            w->close();
    app->ProcessMessages();
    EXPECT_EQ(VisibleWindows("Systeminformationen"), 0);
    EXPECT_EQ(VisibleWindows("Dämpfung von Koaxkabeln und Konnektoren"), 0);
}

}  // namespace

namespace {

// A second window of a kind opens cascaded from the first, not exactly on it.
TEST_F(InfoToolsMenu, SecondSystemInformationAndCoaxWindowsCascade) {
    StartUp();
    const std::pair<gui::TMenuItem*, QString> kinds[] = {
        {form->MISysInfo, QStringLiteral("Systeminformationen")},
        {form->MIKoaxRechner, QStringLiteral("Dämpfung von Koaxkabeln")}};
    for (const auto& [item, title] : kinds) {
        SCOPED_TRACE(title.toStdString());
        item->Click();
        item->Click();
        std::vector<QPoint> places;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle().startsWith(title)) places.push_back(w->pos());
        ASSERT_EQ(places.size(), 2u);
        std::sort(places.begin(), places.end(),
                  [](const QPoint& a, const QPoint& b) { return a.x() < b.x(); });
        const QPoint step = places[1] - places[0];
        EXPECT_GE(step.x(), 20);
        EXPECT_EQ(step.y(), step.x());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle().startsWith(title)) w->close();
        app->ProcessMessages();
    }
}

}  // namespace
