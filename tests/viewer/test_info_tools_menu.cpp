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
#include "components/base/kitapp.h"
#include "platform/sys/Shell.h"
#include "tools/CopyRight.h"
#include "tools/DecimalSeperator.h"
#include "tools/Grenzwerttabelle.h"
#include "tools/Schwingkreis.h"
#include "tools/Zweidrahtleitung.h"

namespace {

namespace fs = std::filesystem;

class InfoToolsMenu : public ViewerFixture {
protected:
    void TearDown() override {
        sys::SetShellOpener("");
        ViewerFixture::TearDown();
    }
    // A stand-in opener: Body runs after the target was appended to the file "opened".
    void UseOpener(const std::string& Body) {
        std::ofstream(dir + "/opener")
            << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"" << dir << "/opened\"\n" << Body << "\n";
        fs::permissions(dir + "/opener", fs::perms::owner_all);
        sys::SetShellOpener(dir + "/opener");
    }
    std::vector<std::string> OpenedTargets() {
        std::vector<std::string> lines;
        std::ifstream in(dir + "/opened");
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // Runs the event loop (and with it the timer pool that watches the opener) until Done holds
    // or five seconds have passed.
    template <class F>
    bool PumpUntil(F Done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!Done() && std::chrono::steady_clock::now() < end) {
            app->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return Done();
    }
    // Clicks Item and waits until its opener has ended and been seen to end.
    void ClickAndSettle(gui::TMenuItem* Item) {
        const std::size_t before = OpenedTargets().size();
        const int poolItems = kit::KitApplication->TimerPool->Count();
        Item->Click();
        ASSERT_TRUE(PumpUntil([&] { return OpenedTargets().size() > before; }));
        // The starter goes once its exit poll has seen the opener end.
        ASSERT_TRUE(PumpUntil([&] { return kit::KitApplication->TimerPool->Count() < poolItems + 1; }));
        app->ProcessMessages();
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
    UseOpener("exit 0");
    StartUp();
    std::ofstream(FeldorU::ProgDir + "Hilfe.pdf") << "%PDF";
    const struct {
        gui::TMenuItem* item;
        std::string target;
    } cases[] = {
        {form->MIHilfe, FeldorU::ProgDir + "Hilfe.pdf"},
        {form->MIRAVK, "https://www.bundesnetzagentur.de"},
        {form->MIEZNEC, "https://www.eznec.com"},
        {form->MINECWinPro, "https://www.nittany-scientific.com"},
        {form->MI4Nec2, "https://www.qsl.net/4nec2/"},
        {form->MIMMANA, "https://hamsoft.ca/pages/mmana-gal.php"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item->Caption());
        ClickAndSettle(c.item);
        EXPECT_EQ(OpenedTargets().back(), c.target);
    }
    EXPECT_TRUE(presenter->boxes.empty());
}

TEST_F(InfoToolsMenu, HelpAndLinksSayWhyTheyCannotBeOpened) {
    StartUp();
    std::ofstream(FeldorU::ProgDir + "Hilfe.pdf") << "%PDF";
    const std::string help = FeldorU::ProgDir + "Hilfe.pdf";
    const std::string noProgram = "Es ist kein Programm eingerichtet, das dies öffnen kann.";
    // An opener that finds no program, one that fails after a while, and none at all.
    UseOpener("exit 3");
    ClickAndSettle(form->MIHilfe);
    ClickAndSettle(form->MIEZNEC);
    UseOpener("sleep 1; exit 4");
    ClickAndSettle(form->MIMMANA);
    sys::SetShellOpener(dir + "/missing-opener");
    form->MIRAVK->Click();
    const std::string expected[] = {
        "Die Datei " + help + " konnte nicht geöffnet werden.\r\n" + noProgram,
        "Die Adresse https://www.eznec.com konnte nicht geöffnet werden.\r\n" + noProgram,
        "Die Adresse https://hamsoft.ca/pages/mmana-gal.php konnte nicht geöffnet werden.\r\n"
        "Das Programm zum Öffnen meldet einen Fehler.",
        "Die Adresse https://www.bundesnetzagentur.de konnte nicht geöffnet werden.\r\n"
        "Das Programm zum Öffnen (missing-opener) ist nicht installiert oder kann nicht gestartet "
        "werden.",
    };
    ASSERT_EQ(presenter->boxes.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(presenter->boxes[i].text, expected[i]);
        EXPECT_EQ(presenter->boxes[i].type, gui::TMsgDlgType::mtError);
    }
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
        int width = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowTitle().startsWith(title)) {
                places.push_back(w->pos());
                width = w->frameGeometry().width();
            }
        }
        ASSERT_EQ(places.size(), 2u);
        std::sort(places.begin(), places.end(),
                  [](const QPoint& a, const QPoint& b) { return a.y() < b.y(); });
        const QPoint step = places[1] - places[0];
        EXPECT_GE(step.y(), 20);
        // A window wider than the screen stays at its left edge.
        EXPECT_EQ(step.x(), width <= gui::Screen()->WorkAreaRect().Width() ? step.y() : 0);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle().startsWith(title)) w->close();
        app->ProcessMessages();
    }
}

}  // namespace
