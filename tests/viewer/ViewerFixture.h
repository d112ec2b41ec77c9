// Creates the viewer's start-up windows as the main block does, headless: modal boxes answered
// by a ScriptedPresenter, the settings file and the locale store in a temporary directory, the
// locale set to the separators the program requires, the splash not waiting.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/LocaleStore.h"
#include "foundation/EditAlign.h"
#include "tools/ColorListDlg.h"
#include "tools/Splash.h"
#include "viewer/FakeEZNECFile.h"
#include "viewer/FeldorU.h"
#include "viewer/MessExport.h"
#include "viewer/ProgInfo.h"

class ViewerFixture : public ::testing::Test {
protected:
    // Creates the windows (FormCreate runs) without afterAllCreated.
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
    void SetUp() override {
        char pattern[] = "/tmp/feldor-test-XXXXXX";
        dir = mkdtemp(pattern);
        FeldorU::ProgDirOverride = dir + "/";
        sys::SetLocaleStoreDirectory(dir + "/locale");
        sys::SetLocaleSeparators({',', '.', ';', '.'});
        sys::LoadFormatSettingsFromLocale();
        TFormSplash::MaxDisplayTime = 0;
        presenter = std::make_unique<gui::ScriptedPresenter>();
        ResetData();
    }
    void TearDown() override {
        app.reset();  // frees the windows it owns
        FormProgInfo = nullptr;
        FormMessExport = nullptr;
        form = nullptr;
        presenter.reset();
        FeldorU::ProgDirOverride.clear();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    static void ResetData() {
        using namespace FeldorU;
        ClearFeld2Dim();
        PlaneList.clear();
        CurrentPlane.reset();
        HasEPlanes = HasHPlanes = HasZPlanes = false;
        FieldShown = false;
        Power = 1;
        PowerShow = 750;
        FeldTyp = 1;
        ArrowPos = 0.8;
        Antenne = std::make_unique<TAntPoints>();
        Boden = std::make_unique<TAntPoints>();
        DebugMode = true;
    }
    std::string IniPath() const { return dir + "/Feldor.ini"; }

    std::string dir;
    std::unique_ptr<gui::ScriptedPresenter> presenter;
    std::unique_ptr<gui::TApplication> app;
    TFormFeldor* form = nullptr;
};
