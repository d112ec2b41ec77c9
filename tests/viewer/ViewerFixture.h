// A test with the viewer's start-up windows, headless (see HeadlessViewer), and the data model
// reset to its start values.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/rtl/SysUtils.h"
#include "tests/support/HeadlessViewer.h"

class ViewerFixture : public ::testing::Test {
protected:
    void CreateWindows() {
        viewer->CreateWindows();
        app = viewer->app.get();
        form = viewer->form;
    }
    void StartUp() {
        CreateWindows();
        form->afterAllCreated();
    }
    void SetUp() override {
        viewer = std::make_unique<HeadlessViewer>();
        dir = viewer->dir;
        presenter = viewer->presenter.get();
        ResetData();
    }
    void TearDown() override {
        viewer.reset();
        app = nullptr;
        form = nullptr;
        presenter = nullptr;
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
    // The electric planes of the point set listed and the first one drawn, as after an import.
    void ShowFirstEPlane() {
        FeldorU::HasEPlanes = true;
        form->afterLoading();
        FeldorU::FieldShown = true;
        form->CBPlanes->SetItemIndex(0);
        form->UpdatePicture(nullptr);
    }

    std::unique_ptr<HeadlessViewer> viewer;
    std::string dir;
    gui::ScriptedPresenter* presenter = nullptr;
    gui::TApplication* app = nullptr;
    TFormFeldor* form = nullptr;
};
