// Limits of band and mode, the reference choices and their captions, the colour scale with its
// arrow, and the display-power controls.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "foundation/ColorLib.h"
#include "foundation/EditAlign.h"
#include "foundation/MathLib.h"
#include "radio/AfuLib.h"
#include "radio/ExposureLimitLib.h"
#include "viewer/FeldorVars.h"
#include "viewer/SkalarFeld2.h"
#include "ViewerFixture.h"

using namespace FeldorU;

namespace {

gdi::TColor ScalePixel(TFormFeldor* form, int x, int y) {
    const gdi::TBitmap* b = form->ColorScaleImage->Picture()->Graphic();
    const std::uint8_t* p = b->ScanLine(y) + 3 * x;
    return gdi::RGB(p[2], p[1], p[0]);
}

// The row of the arrow's shaft (black in the left margin) and the first row that holds black
// anywhere (the head reaches above the shaft; the scale itself is black only near the bottom).
std::pair<int, int> ArrowRows(TFormFeldor* form) {
    int shaft = -1, top = -1;
    for (int y = form->ColorScaleImage->Height() - 1; y >= 0; --y) {
        if (ScalePixel(form, 2, y) == gdi::clBlack) shaft = y;
        for (int x = 0; x < form->ColorScaleImage->Width(); ++x)
            if (ScalePixel(form, x, y) == gdi::clBlack) top = y;
    }
    return {shaft, top};
}

gdi::TColor MapPixel(TFormFeldor* form, int x, int y) {
    const gdi::TBitmap* b = form->ImageFeld->Picture()->Graphic();
    const std::uint8_t* p = b->ScanLine(y) + 3 * x;
    return gdi::RGB(p[2], p[1], p[0]);
}

class LimitsTest : public ViewerFixture {
protected:
    void Band(const std::string& band, const std::string& mode) {
        form->CBBand->SetText(band);
        form->CBMode->SetText(mode);
        form->CBBandChange(form->CBBand);
    }
    // A 3 x 3 E plane of 5 V/m computed for 100 W, shown.
    void ShowSmallPlane() {
        Power = 100;
        CurrentPlane = std::make_unique<TSkalarFeld2>();
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 3; ++i) CurrentPlane->Add(i, j, 5);
        form->FeldShow2();
    }
    std::string RefItem(int k) const { return form->RGBezug->Items()->Get(k); }
};

TEST_F(LimitsTest, EightyMetresSsbElectricField) {
    StartUp();
    EXPECT_EQ(form->CBBand->Text(), "80m");
    EXPECT_EQ(form->CBMode->Text(), "SSB");
    EXPECT_EQ(FeldTyp, 1);
    EXPECT_EQ(form->EditPS->Text(), "44,63");
    EXPECT_EQ(form->EditHsm->Text(), "168,1");
    EXPECT_NEAR(GrenzwertPS, 87 / std::sqrt(3.8), 1e-9);
    EXPECT_EQ(form->LAMode->Font()->Color(), gdi::TColor{0x000000});
    EXPECT_EQ(form->LAPS->Caption(), "PS [V/m]");
    EXPECT_EQ(form->LAHSM->Caption(), "HSM [V/m]");
    const char* captions[] = {"1 V/m", "3 V/m", "5 V/m", "10 V/m", "25 V/m", "50 V/m", "100 V/m"};
    for (int k = 3; k <= 9; ++k) EXPECT_EQ(RefItem(k), captions[k - 3]);
}

TEST_F(LimitsTest, ModeWithoutThresholdTurnsTheLabelRedAndUsesTheSubstitute) {
    StartUp();
    Band("80m", "CW");
    const std::string cw = form->EditHsm->Text();
    Band("80m", "FM");  // no FM threshold below 29 MHz: CW applies
    EXPECT_EQ(form->LAMode->Font()->Color(), gdi::TColor{0x0000FF});
    EXPECT_EQ(form->EditHsm->Text(), cw);
    EXPECT_EQ(form->EditPS->Text(), "44,63");
    Band("80m", "SSB");
    EXPECT_EQ(form->LAMode->Font()->Color(), gdi::TColor{0x000000});

    // Texts that are no band or mode: no limits.
    Band("81m", "SSB");
    EXPECT_EQ(form->EditPS->Text(), "---");
    EXPECT_EQ(form->EditHsm->Text(), "---");
    EXPECT_LT(GrenzwertPS, 0);
    Band("80m", "QRP");
    EXPECT_EQ(form->EditHsm->Text(), "---");
    EXPECT_EQ(form->EditPS->Text(), "44,63");
    EXPECT_EQ(form->LAMode->Font()->Color(), gdi::TColor{0x000000});  // no mode, no substitute
}

TEST_F(LimitsTest, MagneticFieldCaptionsAndPacemakerLimitInAmperePerMetre) {
    StartUp();
    const double hsmE = GrenzwertHSM;
    auto handler = form->RGFeldTyp->OnClick;
    form->RGFeldTyp->OnClick = nullptr;  // nothing loaded: take the item as it is
    form->RGFeldTyp->SetItemIndex(1);
    form->RGFeldTyp->OnClick = handler;
    form->UpdateGrenzwerte(nullptr);
    EXPECT_EQ(FeldTyp, 2);
    EXPECT_EQ(form->LAPS->Caption(), "PS [A/m]");
    EXPECT_EQ(form->LAHSM->Caption(), "HSM [A/m]");
    EXPECT_DOUBLE_EQ(GrenzwertHSM, hsmE / 376.9911184307752);
    EXPECT_GT(GrenzwertPS, 0);
    const char* captions[] = {"0,005 A/m", "0,010 A/m", "0,020 A/m", "0,050 A/m",
                              "0,100 A/m", "0,200 A/m", "0,500 A/m"};
    for (int k = 3; k <= 9; ++k) EXPECT_EQ(RefItem(k), captions[k - 3]);

    // Impedance: no limits, no captions, the numbers padded to four places.
    form->RGFeldTyp->OnClick = nullptr;
    form->RGFeldTyp->SetItemIndex(2);
    form->RGFeldTyp->OnClick = handler;
    form->UpdateGrenzwerte(nullptr);
    EXPECT_EQ(FeldTyp, 3);
    EXPECT_EQ(form->EditPS->Text(), "---");
    EXPECT_EQ(form->EditHsm->Text(), "---");
    EXPECT_EQ(form->LAPS->Caption(), "");
    EXPECT_EQ(form->LAHSM->Caption(), "");
    EXPECT_EQ(RefItem(3), "  10 Ohm");
    EXPECT_EQ(RefItem(6), " 377 Ohm");
    EXPECT_EQ(RefItem(9), "2000 Ohm");

    // Choosing a limit or the maximum as reference for impedance jumps to 377 Ohm.
    for (int item : {0, 1, 2}) {
        form->RGBezug->SetItemIndex(3);
        form->RGBezug->SetItemIndex(item);
        EXPECT_EQ(form->RGBezug->ItemIndex(), 6) << item;
        EXPECT_DOUBLE_EQ(ArrowPos, 0.8);
    }
}

TEST_F(LimitsTest, ColourScaleWithArrow) {
    StartUp();
    ASSERT_EQ(form->ColorScaleImage->Width(), 57);
    ASSERT_EQ(form->ColorScaleImage->Height(), 169);
    const gdi::TColor face = gdi::ColorToPixel(gdi::clBtnFace);
    // Row y carries the colour of (169 - y) / 169 between 8-pixel margins.
    for (int y : {0, 100, 168}) {
        EXPECT_EQ(ScalePixel(form, 0, y), face) << y;
        EXPECT_EQ(ScalePixel(form, 7, y), face) << y;
        EXPECT_EQ(ScalePixel(form, 8, y), ValueToScaleColor((169.0 - y) / 169)) << y;
        EXPECT_EQ(ScalePixel(form, 48, y), ValueToScaleColor((169.0 - y) / 169)) << y;
        EXPECT_EQ(ScalePixel(form, 49, y), face) << y;
        EXPECT_EQ(ScalePixel(form, 56, y), face) << y;
    }
    EXPECT_EQ(ScalePixel(form, 47, 0), gdi::TColor{0x0000FF});
    // The arrow at 0.8 of the scale: row Round(0.2 * 169) = 34, to x = 34.
    EXPECT_DOUBLE_EQ(ArrowPos, 0.8);
    EXPECT_EQ(ScalePixel(form, 5, 34), gdi::clBlack);
    EXPECT_EQ(ScalePixel(form, 33, 34), gdi::clBlack);
    EXPECT_EQ(ScalePixel(form, 40, 34), ValueToScaleColor(135.0 / 169));

    // A click at Y = 34 of 169.
    form->ColorScaleImage->OnMouseDown(form->ColorScaleImage, gui::mbLeft, {}, 20, 34);
    EXPECT_DOUBLE_EQ(ArrowPos, 1 - 34.0 / 169);
    EXPECT_NEAR(ArrowPos, 0.799, 0.001);
    // A click at the top: the arrow, head included, just inside the scale's top edge.
    form->ColorScaleImage->OnMouseDown(form->ColorScaleImage, gui::mbLeft, {}, 20, 0);
    EXPECT_DOUBLE_EQ(ArrowPos, 1.0);
    EXPECT_EQ(ArrowRows(form).first, 3);
    EXPECT_GE(ArrowRows(form).second, 1);  // nothing on the edge row
    EXPECT_EQ(ScalePixel(form, 20, 34), ValueToScaleColor(135.0 / 169));  // the old arrow is gone
    // And at the bottom.
    form->ColorScaleImage->OnMouseDown(form->ColorScaleImage, gui::mbLeft, {}, 20, 169);
    EXPECT_DOUBLE_EQ(ArrowPos, 0.0);
    EXPECT_EQ(ArrowRows(form).first, 165);

    // The reference choice resets the arrow: 1.0 for the maximum, 0.8 for any other.
    form->RGBezug->SetItemIndex(0);
    EXPECT_DOUBLE_EQ(ArrowPos, 1.0);
    EXPECT_EQ(ArrowRows(form).first, 3);  // "max. Feldstärke": inside the scale
    EXPECT_GE(ArrowRows(form).second, 1);
    form->RGBezug->SetItemIndex(5);
    EXPECT_DOUBLE_EQ(ArrowPos, 0.8);
    EXPECT_EQ(ArrowRows(form).first, 34);
}

TEST_F(LimitsTest, ChangesReRenderAShownPlane) {
    StartUp();
    PowerShow = 100;
    form->RGBezug->SetItemIndex(6);  // 10 V/m
    ShowSmallPlane();
    EXPECT_DOUBLE_EQ(BezugsFeld, 12.5);
    EXPECT_EQ(MapPixel(form, 1, 1), ValueToScaleColor(0.4));

    // The reference.
    form->RGBezug->SetItemIndex(7);  // 25 V/m
    EXPECT_DOUBLE_EQ(BezugsFeld, 25 / 0.8);
    // The band: the limit of 10 m as reference.
    form->RGBezug->SetItemIndex(1);
    Band("10m", "SSB");
    EXPECT_DOUBLE_EQ(BezugsFeld, GrenzwertPS * (1 / 0.8));
    EXPECT_LT(GrenzwertPS, 44);
    // The arrow.
    form->RGBezug->SetItemIndex(6);
    form->ColorScaleImage->OnMouseDown(form->ColorScaleImage, gui::mbLeft, {}, 20, 0);
    EXPECT_DOUBLE_EQ(BezugsFeld, 10);
    EXPECT_EQ(MapPixel(form, 1, 1), ValueToScaleColor(0.5));
    // The display power: 400 W is twice the field strength of 100 W.
    form->SBPowerShow->SetPosition(400);
    EXPECT_DOUBLE_EQ(PowerShow, 400);
    EXPECT_EQ(MapPixel(form, 1, 1), ValueToScaleColor(1.0));
    form->But10->Click();
    EXPECT_EQ(MapPixel(form, 1, 1), ValueToScaleColor(ScaleFieldStrength(5, 100, 10) / 10));
}

TEST_F(LimitsTest, PowerButtonsAndScrollBar) {
    StartUp();
    struct Case {
        gui::TButton* button;
        double watts;
    } cases[] = {{form->But10, 10}, {form->But100, 100}, {form->But750, 750}};
    for (const Case& c : cases) {
        c.button->Click();
        EXPECT_DOUBLE_EQ(PowerShow, c.watts);
        EXPECT_EQ(form->SBPowerShow->Position(), c.watts);
        EXPECT_EQ(form->EditPWRShow->Text(), rtl::Format("%2.0f W", c.watts));
    }
    form->SBPowerShow->SetPosition(1000);
    EXPECT_DOUBLE_EQ(PowerShow, 1000);
    EXPECT_EQ(form->EditPWRShow->Text(), "1000 W");
    form->SBPowerShow->SetPosition(1);
    EXPECT_EQ(form->EditPWRShow->Text(), " 1 W");
}

TEST_F(LimitsTest, TypedDisplayPower) {
    StartUp();
    struct Case {
        const char* typed;
        double watts;
        bool warning;
    } cases[] = {
        // Blanks, a unit, a '+' and dots that group thousands are dropped.
        {"250 W", 250, false},
        {"250W", 250, false},
        {"+250", 250, false},
        {" 250 ", 250, false},
        {"1.000", 1000, false},
        {"1.000 W", 1000, false},
        {"1.234,5 W", 1000, false},  // 1234,5 is clipped
        {"-1.000", 1, false},
        {"1.000.000", 1000, false},
        // Any other dot would change the number when dropped: no number.
        {"1.5", 100, true},
        {"250.5", 100, true},
        {"1.5 W", 100, true},
        {"1.0000", 100, true},
        {"10.00", 100, true},
        {".500", 100, true},
        {"0.250", 100, true},
        {"1234.567", 100, true},
        {"1,000.000", 100, true},  // after the decimal comma
        {"1.000.5", 100, true},
        {"1.", 100, true},
        // Rounding to whole watts, halves to even, and clipping to 1..1000 W.
        {"1,5", 2, false},
        {"2,5", 2, false},
        {"2,6", 3, false},
        {"250,5", 250, false},
        {"0,4", 1, false},      // rounds to 0, clipped to 1 W
        {"2000", 1000, false},  // clipped
        {"abc", 100, true},     // no number: warning, 100 W
        // Only the unit W may follow the number; another letter would be dropped silently.
        {"2,5 kW", 100, true},
        {"2,5kW", 100, true},
        {"250 mW", 100, true},
        {"250 w", 250, false},
        {"250 W W", 100, true},
        {"W 250", 100, true},
        {"250 Watt", 100, true},
        {"250 \xC2\xB5W", 100, true},  // a letter beyond ASCII
        {"250 W ", 250, false},
        {"2,5e2 W", 250, false},  // the exponent's letter
        {"1E3W", 1000, false},
        {"-5", 1, false},
        {"1e999", 1000, false},
        {"1e5000", 100, true},  // beyond the float range
        {"", 100, true},
    };
    for (const Case& c : cases) {
        presenter->boxes.clear();
        form->EditPWRShow->DblClick();
        EXPECT_FALSE(form->EditPWRShow->ReadOnly());
        EXPECT_EQ(form->EditPWRShow->Color(), gdi::clWhite);
        EXPECT_EQ(form->EditPWRShow->Text(), "");
        form->EditPWRShow->SetText(c.typed);
        form->EditPWRShow->OnExit(form->EditPWRShow);
        EXPECT_DOUBLE_EQ(PowerShow, c.watts) << c.typed;
        EXPECT_EQ(form->SBPowerShow->Position(), c.watts) << c.typed;
        EXPECT_EQ(form->EditPWRShow->Text(), rtl::Format("%2.0f W", c.watts)) << c.typed;
        EXPECT_TRUE(form->EditPWRShow->ReadOnly());
        EXPECT_EQ(form->EditPWRShow->Color(), gdi::clBtnFace);
        if (c.warning) {
            ASSERT_EQ(presenter->boxes.size(), 1u) << c.typed;
            EXPECT_EQ(presenter->boxes[0].text,
                      "Die Leistung muss eine Gleitkommazahl sein!\r\nSie wird auf 100 W gesetzt.");
            EXPECT_EQ(presenter->boxes[0].type, gui::TMsgDlgType::mtWarning);
        } else {
            EXPECT_TRUE(presenter->boxes.empty()) << c.typed;
        }
    }
}

}  // namespace
