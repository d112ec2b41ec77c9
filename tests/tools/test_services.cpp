// Locale separators, system facts, the shell services and the question dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QSet>
#include <QWidget>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>

#include "components/base/kitapp.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/sys/LocaleStore.h"
#include "platform/sys/Shell.h"
#include "platform/sys/SystemInfo.h"
#include "tools/BooleanDialog.h"
#include "tools/FormLib.h"
#include "tools/ShellLib.h"
#include "tools/SysLib.h"
#include "tests/support/EventLoop.h"

namespace {

namespace fs = std::filesystem;

// The cursor shown over the program's windows, or -1 for their own.
int Shown() {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? static_cast<int>(c->shape()) : -1;
}

class Services : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/feldor-services-XXXXXX";
        dir = mkdtemp(pattern);
        sys::SetLocaleStoreDirectory(dir + "/locale");
    }
    void TearDown() override {
        sys::SetLocaleStoreDirectory("");
        sys::SetShellOpener("");
        fs::remove_all(dir);
    }
    std::string dir;
};

TEST_F(Services, NumberFormatChecks) {
    struct Case {
        char decimal, thousand;
        bool german, english;
    };
    for (const Case c : {Case{',', '.', true, false}, Case{'.', ',', false, true},
                         Case{',', ',', false, false}, Case{'.', '.', false, false},
                         Case{',', ' ', false, false}}) {
        SCOPED_TRACE((std::string{c.decimal, c.thousand}));
        sys::SetLocaleSeparators({c.decimal, c.thousand, ';', '.'});
        EXPECT_EQ(IsGermanNumberFormat(), c.german);
        EXPECT_EQ(IsEnglishNumberFormat(), c.english);
        EXPECT_EQ(GetDecimalSep(), c.decimal);
        EXPECT_EQ(GetThousandSep(), c.thousand);
    }
}

TEST_F(Services, PresetsAndSettersWriteTheLocale) {
    sys::SetLocaleSeparators({'.', ',', ',', ','});
    SetGermanNumberFormat();
    EXPECT_TRUE(IsGermanNumberFormat());
    EXPECT_EQ(sys::GetLocaleSeparators().Decimal, ',');
    EXPECT_EQ(sys::GetLocaleSeparators().Thousand, '.');
    SetEnglishNumberFormat();
    EXPECT_TRUE(IsEnglishNumberFormat());

    EXPECT_EQ(SetListSeparator(';'), ';');
    EXPECT_EQ(SetMonThousandSeparator('\''), '\'');
    EXPECT_EQ(GetListSep(), ';');
    EXPECT_EQ(GetCThousandSep(), '\'');
    const sys::LocaleSeparators s = sys::GetLocaleSeparators();
    EXPECT_EQ(s.List, ';');
    EXPECT_EQ(s.CurrencyThousand, '\'');
    // The other values stay as they were.
    EXPECT_EQ(s.Decimal, '.');
    EXPECT_EQ(s.Thousand, ',');
}

TEST_F(Services, WindowsVersionNames) {
    struct Case {
        int platform, major, minor;
        std::string pack, name;
    };
    const Case cases[] = {
        {1, 4, 0, "", "Windows 95"},
        {1, 4, 10, " A ", "Windows 98  A "},
        {1, 4, 90, "", "Windows Me"},
        {1, 4, 5, "", "Unbekannte Version"},
        {2, 3, 51, "", "Windows NT 3.51"},
        {2, 4, 0, "Service Pack 6", "Windows NT 4 Service Pack 6"},
        {2, 5, 0, "", "Windows 2000"},
        {2, 5, 1, "Service Pack 3", "Windows XP Service Pack 3"},
        {2, 5, 2, "", "Windows .NET Server"},
        {2, 6, 1, "Service Pack 1", "Unbekannte Version Service Pack 1"},
        {2, 4, 10, "", "Unbekannte Version"},
    };
    for (const Case& c : cases) EXPECT_EQ(WinVersionName(c.platform, c.major, c.minor, c.pack), c.name);
    EXPECT_EQ(GetWinVersion(), "Unbekannte Version");
}

TEST_F(Services, ProcessorClockFromTheCounter) {
    EXPECT_DOUBLE_EQ(CPUSpeedFromCounts(1000, 1000 + 1'500'000'000ULL), 3000.0);
    // Only the low 32 bits count, as an unsigned difference across their wrap-around.
    EXPECT_DOUBLE_EQ(CPUSpeedFromCounts(0x1FFFFFF00ULL, 0x200000100ULL), 512 / 500000.0);
    EXPECT_DOUBLE_EQ(CPUSpeedFromCounts(5, 0x100000005ULL), 0.0);
    if (sys::ReadTimeStampCounter() != 0) {
        EXPECT_GT(GetCPUSpeed(), 0.0);
    }
}

// The system language comes from LANG, named as the system names it; none for C, an unlisted
// language or no LANG at all.
TEST_F(Services, LanguageNameFollowsLang) {
    const char* old = std::getenv("LANG");
    const std::string saved = old ? old : "";
    struct Case { const char* lang; const char* name; };
    for (const Case& c : {Case{"de_DE.UTF-8", "German (Germany)"}, Case{"de_AT", "German (Austria)"},
                          Case{"en_GB.UTF-8@euro", "English (United Kingdom)"}, Case{"fr", "French (France)"},
                          Case{"C.UTF-8", ""}, Case{"xx_YY", ""}, Case{"", ""}, Case{nullptr, ""}}) {
        if (c.lang) setenv("LANG", c.lang, 1);
        else unsetenv("LANG");
        EXPECT_EQ(GetOSLanguage(), c.name) << (c.lang ? c.lang : "(no LANG)");
    }
    if (old) setenv("LANG", saved.c_str(), 1);
    else unsetenv("LANG");
}

// A stand-in opener at Path: writes its argument to Dir/opened, then runs Body.
void WriteOpener(const std::string& Path, const std::string& Dir, const std::string& Body) {
    std::ofstream(Path) << "#!/bin/sh\nPATH=/usr/bin:/bin\nprintf '%s\\n' \"$@\" > \"" << Dir << "/opened.tmp\"\nmv \"" << Dir
                        << "/opened.tmp\" \"" << Dir << "/opened\"\n"
                        << Body << "\n";
    fs::permissions(Path, fs::perms::owner_all);
}

// Runs the event loop, and with it the timer pool that watches the opener, until every starter
// of the shell services has gone (at most five seconds).
void Settle(gui::TApplication& app, int PoolItems) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (kit::KitApplication->TimerPool->Count() > PoolItems && std::chrono::steady_clock::now() < end) {
        app.ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    app.ProcessMessages();
}

TEST_F(Services, ShellOpenFileChecksTheFile) {
    gui::TApplication app;
    gui::ScriptedPresenter presenter;
    const int poolItems = kit::KitApplication->TimerPool->Count();
    WriteOpener(dir + "/opener", dir, "exit 0");
    sys::SetShellOpener(dir + "/opener");

    ShellOpenFile(dir + "/Hilfe.pdf");
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].type, gui::TMsgDlgType::mtError);
    EXPECT_EQ(presenter.boxes[0].text, "Die Datei " + dir + "/Hilfe.pdf konnte nicht gefunden werden!");
    EXPECT_FALSE(fs::exists(dir + "/opened"));

    std::ofstream(dir + "/Hilfe.pdf") << "%PDF";
    ShellOpenFile(dir + "/Hilfe.pdf");
    Settle(app, poolItems);
    EXPECT_EQ(presenter.boxes.size(), 1u);
    std::ifstream in(dir + "/opened");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), dir + "/Hilfe.pdf\n");
    EXPECT_EQ(kit::KitApplication->TimerPool->Count(), poolItems);
}

TEST_F(Services, ShellOpenSaysWhatCouldNotBeOpenedAndWhy) {
    gui::TApplication app;
    gui::ScriptedPresenter presenter;
    const int poolItems = kit::KitApplication->TimerPool->Count();
    fs::create_directories(dir + "/bin");
    fs::create_directories(dir + "/folder");
    std::ofstream(dir + "/doc.txt") << "x";
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    const std::string noProgram = "Es ist kein Programm eingerichtet, das dies öffnen kann.";
    const std::string address = "https://example.org/a";
    struct Case {
        std::string opener;  // a stand-in's script, or "" for no opener at all
        std::string target;
        std::string box;     // "" for none
    };
    const Case cases[] = {
        {"exit 0", address, ""},
        {"exit 3", address, "Die Adresse " + address + " konnte nicht geöffnet werden.\r\n" + noProgram},
        {"exit 3", dir + "/doc.txt", "Die Datei " + dir + "/doc.txt konnte nicht geöffnet werden.\r\n" + noProgram},
        {"exit 2", dir + "/folder",
         "Der Ordner " + dir + "/folder konnte nicht geöffnet werden.\r\nDie Datei ist nicht vorhanden."},
        {"exit 1", address,
         "Die Adresse " + address +
             " konnte nicht geöffnet werden.\r\nDas Programm zum Öffnen (xdg-open) wurde falsch aufgerufen."},
        {"kill -9 $$", address,
         "Die Adresse " + address +
             " konnte nicht geöffnet werden.\r\nDas Programm zum Öffnen (xdg-open) endete mit dem "
             "Fehlercode 137."},
        {"", address,
         "Die Adresse " + address +
             " konnte nicht geöffnet werden.\r\nDas Programm zum Öffnen (xdg-open) ist nicht installiert "
             "oder kann nicht gestartet werden."},
    };
    // The desktop's opener as it is found: first in the search path, or not at all.
    sys::SetShellOpener("");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opener + " " + c.target);
        presenter.boxes.clear();
        fs::remove(dir + "/opened");
        fs::remove(dir + "/bin/xdg-open");
        if (!c.opener.empty()) WriteOpener(dir + "/bin/xdg-open", dir, c.opener);
        ::setenv("PATH", (dir + "/bin").c_str(), 1);
        ShellOpen(c.target);
        ::setenv("PATH", savedPath.c_str(), 1);
        Settle(app, poolItems);
        if (!c.opener.empty()) {
            std::ifstream in(dir + "/opened");
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.target + "\n");
        }
        ASSERT_EQ(presenter.boxes.size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty()) {
            EXPECT_EQ(presenter.boxes[0].text, c.box);
            EXPECT_EQ(presenter.boxes[0].type, gui::TMsgDlgType::mtError);
        }
        EXPECT_EQ(kit::KitApplication->TimerPool->Count(), poolItems);
    }
}

TEST_F(Services, ShellOpenDoesNotWaitForTheOpener) {
    gui::TApplication app;
    gui::ScriptedPresenter presenter;
    const int poolItems = kit::KitApplication->TimerPool->Count();
    WriteOpener(dir + "/opener", dir, "sleep 1\nexit 4");
    sys::SetShellOpener(dir + "/opener");
    const auto start = std::chrono::steady_clock::now();
    ShellOpen("https://example.org/");
    app.ProcessMessages();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_TRUE(presenter.boxes.empty());
    Settle(app, poolItems);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text,
              "Die Adresse https://example.org/ konnte nicht geöffnet werden.\r\n"
              "Das Programm zum Öffnen meldet einen Fehler.");
}

// A box answered at once; records the cursor shown while it was up.
class CursorAtBoxPresenter : public gui::ScriptedPresenter {
public:
    int ShowMessageBox(const gui::MessageBoxRequest& request) override {
        cursorAtBox = Shown();
        return gui::ScriptedPresenter::ShowMessageBox(request);
    }
    int cursorAtBox = 0;
};

TEST_F(Services, AnOpenerOnItsWayShowsTheAppStartingCursor) {
    gui::TApplication app;
    CursorAtBoxPresenter presenter;
    const int poolItems = kit::KitApplication->TimerPool->Count();
    sys::SetShellOpener(dir + "/opener");

    // One that fails after a moment: from the click until its box, which has the normal cursor.
    WriteOpener(dir + "/opener", dir, "sleep 0.2\nexit 3");
    ShellOpen("https://example.org/");
    EXPECT_EQ(Shown(), Qt::BusyCursor);
    Settle(app, poolItems);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.cursorAtBox, -1);
    EXPECT_EQ(Shown(), -1);

    // One that keeps running, as the opener does when it starts a browser afresh: two seconds.
    WriteOpener(dir + "/opener", dir, "while [ ! -e \"" + dir + "/go\" ]; do sleep 0.05; done");
    ShellOpen("https://example.org/");
    ProcessFor(1000);
    EXPECT_EQ(Shown(), Qt::BusyCursor);
    EXPECT_TRUE(ProcessUntil([] { return Shown() == -1; }, 3000));
    EXPECT_GT(kit::KitApplication->TimerPool->Count(), poolItems);  // still watched
    std::ofstream(dir + "/go") << "";
    Settle(app, poolItems);
    EXPECT_EQ(presenter.boxes.size(), 1u);

    // No opener at all: the box at once, with the normal cursor.
    sys::SetShellOpener(dir + "/missing");
    ShellOpen("https://example.org/");
    ASSERT_EQ(presenter.boxes.size(), 2u);
    EXPECT_EQ(presenter.cursorAtBox, -1);
    EXPECT_EQ(Shown(), -1);
}

// The cursor shown when the first control is put on a window, that is while it is built.
class CursorWhileBuilt : public QObject {
public:
    CursorWhileBuilt() { QCoreApplication::instance()->installEventFilter(this); }
    ~CursorWhileBuilt() override { QCoreApplication::instance()->removeEventFilter(this); }
    std::optional<int> seen;

protected:
    bool eventFilter(QObject* receiver, QEvent* e) override {
        if (!seen && e->type() == QEvent::ChildAdded && receiver->isWidgetType()) seen = Shown();
        return false;
    }
};

TEST_F(Services, ToolWindowsAreBuiltUnderTheWaitCursor) {
    gui::TApplication app;
    gui::ScriptedPresenter presenter;
    int whileModal = 0;
    presenter.formHandler = [&](gui::TCustomForm&) {
        whileModal = Shown();
        return gui::mrCancel;
    };
    const struct {
        const char* name;
        void (*open)();
        bool modal;
    } launchers[] = {
        {"Schwingkreis", ShowSchwingkreis, true},
        {"Zweidrahtleitung", ShowZweidrahtleitung, true},
        {"Grenzwerttabelle", ShowGrenzwerttabelle, true},
        {"Dezimaltrennzeichen", ShowDecimalSeperator, true},
        {"SysInfo", ShowSysInfo, false},
        {"Koax-Rechner", ShowKoaxCalc, false},
    };
    for (const auto& l : launchers) {
        SCOPED_TRACE(l.name);
        const QList<QWidget*> before = QApplication::topLevelWidgets();
        whileModal = 0;
        std::optional<int> whileBuilt;
        {
            CursorWhileBuilt watch;
            l.open();
            whileBuilt = watch.seen;
        }
        EXPECT_EQ(whileBuilt, std::optional<int>(Qt::WaitCursor));
        // The modal window is used with the normal cursor, and a non-modal one once it shows.
        if (l.modal) EXPECT_EQ(whileModal, -1);
        EXPECT_EQ(Shown(), -1);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !before.contains(w)) w->close();
        app.ProcessMessages();
    }
}

TEST(QuestionDialog, Layout) {
    gui::TApplication app;
    std::unique_ptr<TFormBooleanDialog> d(gui::CreateForm<TFormBooleanDialog>(nullptr));
    EXPECT_EQ(d->ClientWidth(), 438);
    EXPECT_EQ(d->ClientHeight(), 127);
    EXPECT_EQ(d->BorderStyle(), gui::bsDialog);
    EXPECT_EQ(d->Position(), gui::poScreenCenter);
    EXPECT_EQ(d->LaFrage->Width(), 425);
    EXPECT_EQ(d->LaFrage->Height(), 73);
    EXPECT_FALSE(d->LaFrage->AutoSize());
    EXPECT_EQ(d->ButYes->Caption(), "&Ja");
    EXPECT_EQ(d->ButYes->ModalResult(), 6);
    EXPECT_EQ(d->ButNo->Caption(), "&Nein");
    EXPECT_EQ(d->ButNo->ModalResult(), 7);
    for (gui::TControl* c : {static_cast<gui::TControl*>(d->LaFrage), static_cast<gui::TControl*>(d->ButYes),
                             static_cast<gui::TControl*>(d->ButNo)}) {
        EXPECT_LE(c->Left() + c->Width(), 438);
        EXPECT_LE(c->Top() + c->Height(), 127);
    }
}

TEST(QuestionDialog, AskYesNoAnswers) {
    gui::TApplication app;
    gui::ScriptedPresenter presenter;
    std::string caption, question;
    auto answer = [&](int how) {
        presenter.formHandler = [&, how](gui::TCustomForm& f) {
            auto& d = dynamic_cast<TFormBooleanDialog&>(f);
            caption = d.Caption();
            question = d.LaFrage->Caption();
            if (how == 0) d.ButYes->Click();
            else if (how == 1) d.ButNo->Click();
            else d.Close();
            return gui::mrNone;
        };
    };
    answer(0);
    EXPECT_TRUE(AskYesNo("", "Weiter?"));
    EXPECT_EQ(caption, "Frage");
    EXPECT_EQ(question, "Weiter?");
    answer(1);
    EXPECT_FALSE(AskYesNo("Feldor", "Wirklich?"));
    EXPECT_EQ(caption, "Feldor");
    answer(2);  // the close box
    EXPECT_FALSE(AskYesNo("Feldor", "Wirklich?"));
    EXPECT_EQ(app.ComponentCount(), 0);  // each dialog was freed
}

}  // namespace
