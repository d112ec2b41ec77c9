// Main window: limits of band and mode, the reference of the colour scale, the colour scale
// with its arrow, and the display power.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "foundation/ColorLib.h"
#include "foundation/DebugLib.h"
#include "foundation/EditAlign.h"
#include "foundation/FormatLib.h"
#include "foundation/GrafikToolsLib.h"
#include "foundation/MathLib.h"
#include "foundation/StrUtilsLib.h"
#include "platform/rtl/SysUtils.h"
#include "radio/AfuLib.h"
#include "radio/ExposureLimitLib.h"
#include "radio/HsmLib.h"
#include "viewer/FeldorU.h"

using namespace FeldorU;

namespace {

// Width of the button-face margins left and right of the colour scale.
constexpr int kScaleMargin = 8;

// Length of the arrow's head; its two strokes reach Round(5 * sin 30°) pixels above and below
// the shaft, so the shaft keeps that far from the top and bottom rows of the scale.
constexpr int kArrowHead = 5;
constexpr int kArrowHalfHeight = 3;

// Redraws the map with the current settings when a plane is shown.
void ReRender(TFormFeldor& form) {
    if (FieldLoaded || FieldShown) form.FeldShow2();
}

// Every '.' of S groups thousands: it stands in the whole part (no decimal comma before it),
// after a group of digits and before exactly three digits that no further digit follows. The
// group before the first dot has one to three digits and does not begin with 0 ("0.250" and
// "1234.567" are decimals).
bool DotsGroupThousands(const std::string& S) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    bool comma = false;
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (S[i] == ',') comma = true;
        if (S[i] != '.') continue;
        if (comma) return false;
        std::size_t before = 0;
        while (before < i && digit(S[i - 1 - before])) ++before;
        const bool afterGroup = before == 3 && i >= 4 && S[i - 4] == '.';
        if (!afterGroup && (before < 1 || before > 3 || S[i - before] == '0')) return false;
        std::size_t after = 0;
        while (i + 1 + after < S.size() && digit(S[i + 1 + after])) ++after;
        if (after != 3) return false;
    }
    return true;
}

// The only letters of S are the exponent's 'E' or 'e' and a unit "W" (or "w") at the end
// (blanks may follow it). Any other letter, a prefix as in "2,5 kW" among them, would be dropped by the
// number filter and leave a different power; a character beyond ASCII counts as a letter.
bool LettersAreWattsOnly(const std::string& S) {
    std::size_t end = S.size();
    while (end > 0 && (S[end - 1] == ' ' || S[end - 1] == '\t')) --end;
    if (end > 0 && (S[end - 1] == 'W' || S[end - 1] == 'w')) --end;
    for (std::size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(S[i]);
        if (c >= 0x80) return false;
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (letter && c != 'e' && c != 'E') return false;
    }
    return true;
}

// Whole watts from 1 to 1000. Values far outside (or not a number) are brought into range
// before rounding, which keeps the result and never overflows.
double ClipPower(double p) {
    if (!(p >= -1e9)) p = -1e9;
    if (p > 1e9) p = 1e9;
    return static_cast<double>(ClipRange(rtl::Round(p), 1, 1000));
}

// Counts display-power updates, so that an update whose scroll-bar change already ran a
// nested update (and rendered) does not render a second time.
int powerUpdates = 0;

}  // namespace

void TFormFeldor::UpdateGrenzwerte(rtl::TObject*) {
    const int band = AfuBandIndex(CBBand->Text());
    const int mode = ModeIndex(CBMode->Text());
    // Without a pacemaker limit for the mode the band's substitute mode applies; the red label
    // says so.
    const int effective = HsmEffectiveMode(mode, band);
    LAMode->Font()->SetColor(effective != mode ? gdi::TColor{0x0000FF} : gdi::TColor{0x000000});

    FeldTyp = static_cast<int16_t>(RGFeldTyp->ItemIndex() + 1);
    double fAtMin = 0;
    GrenzwertPS = PsBandMinimum(band, FeldTyp, fAtMin);
    GrenzwertHSM = HsmBandMinimum(band, effective, fAtMin);
    if (FeldTyp == 2) GrenzwertHSM = GrenzwertHSM / FreeSpaceImpedance;
    if (FeldTyp == 3) GrenzwertHSM = NoValue;

    rtl::TStrings* items = RGBezug->Items();
    for (int k = 3; k <= 9 && k < items->Count(); ++k) {
        const BezugsWert& row = BezugsTabelle[k - 2];
        switch (FeldTyp) {
            case 1: items->Put(k, rtl::Format("%1.0f V/m", row.E)); break;
            case 2: items->Put(k, rtl::Format("%4.3f A/m", row.H)); break;
            case 3: items->Put(k, rtl::Format("%4.0f Ohm", row.Z)); break;
            default: break;
        }
    }
    switch (FeldTyp) {
        case 1:
            LAPS->SetCaption("PS [V/m]");
            LAHSM->SetCaption("HSM [V/m]");
            break;
        case 2:
            LAPS->SetCaption("PS [A/m]");
            LAHSM->SetCaption("HSM [A/m]");
            break;
        default:
            LAPS->SetCaption("");
            LAHSM->SetCaption("");
            break;
    }
    EditPS->SetText(FormatSigDigits(4, GrenzwertPS));
    EditHsm->SetText(FormatSigDigits(4, GrenzwertHSM));
    DrawColorScale();
}

// The arrow's redraw renders the map, so no render of its own is needed before it.
void TFormFeldor::CBBandChange(rtl::TObject* Sender) {
    UpdateGrenzwerte(Sender);
    DrawArrowInColorScale();
}

void TFormFeldor::DrawColorScale() {
    gdi::TCanvas* canvas = ColorScaleImage->Canvas();
    const int w = ColorScaleImage->Width();
    const int h = ColorScaleImage->Height();
    if (h <= 0) return;
    // Black at the bottom to red at the top, between two margins in the button-face colour.
    for (int k = 0; k <= h; ++k) {
        const int y = h - k;
        CanvasLine(canvas, 0, y, kScaleMargin, y, gdi::clBtnFace);
        CanvasLine(canvas, kScaleMargin, y, w - kScaleMargin, y,
                   ValueToScaleColor(static_cast<double>(k) / h));
        CanvasLine(canvas, w - kScaleMargin, y, w, y, gdi::clBtnFace);
    }
    ColorScaleImage->Invalidate();
}

void TFormFeldor::DrawArrowInColorScale() {
    DrawColorScale();
    const int w = ColorScaleImage->Width();
    const int h = ColorScaleImage->Height();
    // At the ends of the scale ("max. Feldstärke" puts it at the top) the arrow is drawn just
    // inside, so that no part of it lies on the scale's edge or beyond.
    int y = static_cast<int>(rtl::Round((1 - static_cast<long double>(ArrowPos)) * h));
    if (h > 2 * kArrowHalfHeight) y = std::clamp(y, kArrowHalfHeight, h - 1 - kArrowHalfHeight);
    CanvasArrow(ColorScaleImage->Canvas(), 0, y, static_cast<int>(rtl::Round(w * 0.6L)), y,
                gdi::clBlack, kArrowHead);
    ColorScaleImage->Invalidate();
    ReRender(*this);
}

void TFormFeldor::ColorScaleImageMouseDown(rtl::TObject*, gui::TMouseButton, gui::TShiftState,
                                           int, int Y) {
    const int h = ColorScaleImage->Height();
    if (h <= 0) return;
    ArrowPos = static_cast<double>(1 - static_cast<long double>(Y) / h);
    DrawArrowInColorScale();
}

void TFormFeldor::RGBezugClick(rtl::TObject*) {
    const int item = RGBezug->ItemIndex();
    if (FeldTyp == 3 && item >= 0 && item <= 2) {
        // Maximum and limits have no impedance value: 377 Ohm instead. Setting the item runs
        // this handler for it, which does the rest.
        RGBezug->SetItemIndex(6);
        return;
    }
    ArrowPos = item == 0 ? 1.0 : 0.8;
    DrawArrowInColorScale();
}

void TFormFeldor::SBPowerShowChange(rtl::TObject*) {
    PowerShow = SBPowerShow->Position();
    PowerUpdate();
}

void TFormFeldor::PowerUpdate() {
    const int update = ++powerUpdates;
    PowerShow = ClipPower(PowerShow);
    EditPWRShow->SetText(rtl::Format("%2.0f W", PowerShow));
    // A changed position runs SBPowerShowChange, which updates and renders once more.
    SBPowerShow->SetPosition(static_cast<int>(rtl::Round(PowerShow)));
    if (powerUpdates == update) ReRender(*this);
}

void TFormFeldor::But10Click(rtl::TObject*) {
    PowerShow = 10;
    PowerUpdate();
}

void TFormFeldor::But100Click(rtl::TObject*) {
    PowerShow = 100;
    PowerUpdate();
}

void TFormFeldor::But750Click(rtl::TObject*) {
    PowerShow = 750;
    PowerUpdate();
}

void TFormFeldor::EditPWRShowDblClick(rtl::TObject*) {
    EditPWRShow->SetReadOnly(false);
    EditPWRShow->SetColor(gdi::clWhite);
    EditPWRShow->SetText("");
}

// The filter keeps the characters of a number and drops the rest: blanks, the unit "W", a '+'
// and the dots that group thousands ("1.000 W"). Any other dot or letter would be dropped
// silently and change the number ("1.5" to 15, "2,5 kW" to 2), so such an entry counts as no
// number.
void TFormFeldor::EditPWRShowExit(rtl::TObject*) {
    const std::string typed = EditPWRShow->Text();
    const std::string text = FloatCharsOnly(typed);
    long double value = 0;
    if (DotsGroupThousands(typed) && LettersAreWattsOnly(typed) && rtl::TryStrToFloat(text, value)) {
        PowerShow = static_cast<double>(value);
    } else {
        msgWarning("Die Leistung muss eine Gleitkommazahl sein!\r\nSie wird auf 100 W gesetzt.");
        PowerShow = 100;
    }
    PowerUpdate();
    EditPWRShow->SetReadOnly(true);
    EditPWRShow->SetColor(gdi::clBtnFace);
}
