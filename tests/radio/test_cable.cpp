#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/gui/Presenter.h"
#include "platform/rtl/SysUtils.h"
#include "radio/CableLib.h"

namespace {

const char* const FreqWarning =
    "Warnung (ConnectorAtt): Brauchbare Aussagen über Dämpfung von Konnektoren sind bei "
    "Frequenzen über 5 GHz nicht möglich!";
const char* const IndexWarning = "Warnung (ConnectorAtt): ConnectorIDX nicht zwischen 0 und 3!";

TEST(CableAtt, TabulatedFrequenciesGiveTheTableValue)
{
    struct Case {
        int16_t Cable;
        double Freq;
        double Expected;
    };
    const Case Cases[] = {
        {5, 100, 15},      {5, 20000, 451.2},  {8, 0.1, 0.106},     {1, 10000, 56.4333},
        {20, 20000, 87.77}, {11, 0.1, 0.0055}, {6, 1000, 94.1},     {19, 5000, 72.47},
        {4, 200, 5.6},     {16, 2000, 68.6681}, {12, 0.2, 0.0171},  {14, 50, 6.5756},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(CableName(C.Cable) + " at " + std::to_string(C.Freq));
        EXPECT_DOUBLE_EQ(CableAtt(C.Cable, C.Freq), C.Expected);
    }
}

TEST(CableAtt, InterpolatesInTheLogarithmOfTheFrequency)
{
    // The geometric mean of two columns lies halfway between their values.
    EXPECT_NEAR(CableAtt(5, std::sqrt(100.0 * 200.0)), 18.45, 1e-12);
    EXPECT_NEAR(CableAtt(7, std::sqrt(10000.0 * 20000.0)), (142.0333 + 266.7) / 2, 1e-12);
    // Not linear in the frequency: at 150 MHz the log position is past the interval's middle.
    const double A = CableAtt(5, 150);
    const double Lin = 15 + (21.9 - 15) * 0.5;
    const double Log = 15 + (21.9 - 15) * std::log10(1.5) / std::log10(2.0);
    EXPECT_NEAR(A, Log, 1e-12);
    EXPECT_GT(A, Lin);
    // Just below a column stays in the lower interval and tends to the column's value.
    EXPECT_NEAR(CableAtt(5, 99.9999), 15, 1e-4);
    EXPECT_LT(CableAtt(5, 99.9999), 15);
}

TEST(CableAtt, NoValueOutsideTheTable)
{
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        int16_t Cable;
        double Freq;
    };
    const Case Cases[] = {{5, -99},    {5, 0.0999}, {5, 20000.001}, {5, 0},   {5, NaN},
                          {0, 100},    {21, 100},   {-1, 100},      {1, 1e9}, {5, -1e-9}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::to_string(C.Cable) + " at " + std::to_string(C.Freq));
        EXPECT_EQ(CableAtt(C.Cable, C.Freq), -99);
    }
}

TEST(CableAtt, Names)
{
    EXPECT_EQ(CableName(1), "Aircom plus");
    EXPECT_EQ(CableName(5), "RG58");
    EXPECT_EQ(CableName(10), "EcoFlex 15");
    EXPECT_EQ(CableName(20), "RG213Foam");
    EXPECT_EQ(CableName(0), "NV");
    EXPECT_EQ(CableName(21), "NV");
    EXPECT_EQ(CableName(-5), "NV");
}

TEST(ConnectorAtt, InterpolatesLinearlyWithoutWarnings)
{
    gui::ScriptedPresenter Presenter;
    struct Case {
        uint16_t Connector;
        double Freq;
        double Expected;
    };
    const Case Cases[] = {
        {2, 5600, 3.2},   {0, 289.5, 0.17}, {1, 1.0, 0.1},    {3, 1.0, 0.1},  {2, 0.01, 0.3},
        {0, 1296, 0.5},   {1, 1296, 0.25},  {3, 1296, 0.25},  {2, 100, 0.6},  {2, 75, 0.45},
        {0, 1.8, 0.1},    {1, 2900, 0.35},  {3, 5000, 0.35},  {0, 144, 0.14}, {2, 122, 0.675},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(ConnectorName(C.Connector + 1) + " at " + std::to_string(C.Freq));
        EXPECT_NEAR(ConnectorAtt(C.Connector, C.Freq), C.Expected, 1e-12);
    }
    EXPECT_TRUE(Presenter.boxes.empty());
}

TEST(ConnectorAtt, WarningsGiveNoValue)
{
    struct Case {
        uint16_t Connector;
        double Freq;
        const char* Warning;
    };
    const Case Cases[] = {
        {2, 5601, FreqWarning},
        {0, 1e6, FreqWarning},
        {4, 100, IndexWarning},
        {65535, 1, IndexWarning},
        {4, 6000, FreqWarning},  // the frequency test comes first
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::to_string(C.Connector) + " at " + std::to_string(C.Freq));
        gui::ScriptedPresenter Presenter;
        EXPECT_EQ(ConnectorAtt(C.Connector, C.Freq), -99);
        ASSERT_EQ(Presenter.boxes.size(), 1u);
        EXPECT_EQ(Presenter.boxes[0].text, C.Warning);
        EXPECT_EQ(Presenter.boxes[0].type, gui::TMsgDlgType::mtWarning);
        EXPECT_EQ(Presenter.boxes[0].buttons, gui::mbOK);
    }
}

TEST(ConnectorAtt, ListsReadTheSameWhateverTheDecimalSeparator)
{
    gui::ScriptedPresenter Presenter;
    rtl::TFormatSettings& Fs = rtl::FormatSettings();
    const rtl::TFormatSettings Saved = Fs;
    Fs.DecimalSeparator = '.';
    Fs.ThousandSeparator = ',';
    const double Bnc = ConnectorAtt(0, 289.5);
    const double Pl = ConnectorAtt(2, 5600);
    Fs = Saved;
    EXPECT_NEAR(Bnc, 0.17, 1e-12);
    EXPECT_NEAR(Pl, 3.2, 1e-12);
    EXPECT_TRUE(Presenter.boxes.empty());
}

TEST(ConnectorAtt, Names)
{
    EXPECT_EQ(ConnectorName(0), "NV");
    EXPECT_EQ(ConnectorName(1), "BNC");
    EXPECT_EQ(ConnectorName(2), "N");
    EXPECT_EQ(ConnectorName(3), "PL");
    EXPECT_EQ(ConnectorName(4), "SMA");
    EXPECT_EQ(ConnectorName(5), "NV");
}

}  // namespace
