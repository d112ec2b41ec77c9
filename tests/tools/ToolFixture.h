// An application for a tool window, under German number formatting (decimal comma, thousands
// point) as the tools' fields expect; the caller's settings come back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/rtl/SysUtils.h"

class ToolFixture : public ::testing::Test {
protected:
    void SetUp() override {
        saved = rtl::FormatSettings();
        rtl::FormatSettings().DecimalSeparator = ',';
        rtl::FormatSettings().ThousandSeparator = '.';
        app = std::make_unique<gui::TApplication>();
    }
    void TearDown() override {
        app.reset();
        rtl::FormatSettings() = saved;
    }
    rtl::TFormatSettings saved;
    gui::ScriptedPresenter presenter;
    std::unique_ptr<gui::TApplication> app;
};
