// The viewer's start-up, headless: modal boxes answered by a ScriptedPresenter, the settings file
// and the locale store in a temporary directory, the locale set to the separators the program
// requires, the splash not waiting. Used by the tests, the benchmarks and the example builder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "foundation/EditAlign.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/sys/LocaleStore.h"
#include "tools/BooleanDialog.h"
#include "tools/ColorListDlg.h"
#include "tools/SplashLib.h"
#include "viewer/FakeEZNECFile.h"
#include "viewer/FeldorU.h"
#include "viewer/MessExport.h"
#include "viewer/ProgInfo.h"

class HeadlessViewer {
public:
    // Prepares the temporary directory, the locale and the presenter; no window yet.
    HeadlessViewer() {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        char pattern[] = "/tmp/feldor-XXXXXX";
        dir = mkdtemp(pattern);
        FeldorU::ProgDirOverride = dir + "/";
        sys::SetLocaleStoreDirectory(dir + "/locale");
        sys::SetLocaleSeparators({',', '.', ';', '.'});
        sys::LoadFormatSettingsFromLocale();
        TFormSplash::MaxDisplayTime = 0;
        presenter = std::make_unique<gui::ScriptedPresenter>();
    }
    ~HeadlessViewer() {
        CloseWindows();
        presenter.reset();
        FeldorU::ProgDirOverride.clear();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    HeadlessViewer(const HeadlessViewer&) = delete;
    HeadlessViewer& operator=(const HeadlessViewer&) = delete;

    // Creates the start-up windows in the main block's order (FormCreate runs).
    void CreateWindows() {
        app = std::make_unique<gui::TApplication>();
        app->SetTitle("Feldor");
        app->CreateForm(form);
        app->CreateForm(FormMessExport);
        app->CreateForm(FormProgInfo);
        TFormFakeEZNECFile* fake = nullptr;
        app->CreateForm(fake);
        TFormColorListDlg* colors = nullptr;
        app->CreateForm(colors);
    }
    // The whole start-up before the message loop.
    void StartUp() {
        CreateWindows();
        form->afterAllCreated();
    }
    // Frees the windows (the application owns them).
    void CloseWindows() {
        app.reset();
        FormProgInfo = nullptr;
        FormMessExport = nullptr;
        form = nullptr;
    }

    // Answers every question dialog with its "&Ja" button (or "&Nein"), as a click would, and
    // records its caption and question; another modal window is cancelled.
    void AnswerQuestions(bool yes) {
        presenter->formHandler = [this, yes](gui::TCustomForm& f) {
            auto* dialog = dynamic_cast<TFormBooleanDialog*>(&f);
            if (!dialog) return gui::mrCancel;
            questions.emplace_back(dialog->Caption(), dialog->LaFrage->Caption());
            (yes ? dialog->ButYes : dialog->ButNo)->Click();
            return gui::mrNone;  // the result the button gave
        };
    }

    std::string dir;
    std::unique_ptr<gui::ScriptedPresenter> presenter;
    std::vector<std::pair<std::string, std::string>> questions;  // caption, question
    std::unique_ptr<gui::TApplication> app;
    TFormFeldor* form = nullptr;
};
