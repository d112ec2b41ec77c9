// Main window: the read-out under the mouse, measuring points by click, their marks on the map,
// and the Shift+click that sets an end point of the cut line.
#include <cmath>
#include <limits>
#include <string>

#include "foundation/FormatLib.h"
#include "foundation/GrafikPropertiesLib.h"
#include "foundation/GrafikToolsLib.h"
#include "platform/gui/CursorPos.h"
#include "platform/rtl/SysUtils.h"
#include "radio/AfuLib.h"
#include "viewer/FeldorU.h"
#include "viewer/MessExport.h"

using namespace FeldorU;

namespace {

// A plane is on the map with a usable scale. Before that the mouse is ignored.
bool MapReady() {
    if (!FieldShown || !(ScreenScale > 0) || !std::isfinite(ScreenScale) || !CurrentPlane)
        return false;
    const TSkalarFeld2& p = *CurrentPlane;
    return p.Count() > 0 && p.x.Length() == p.Count() && p.y.Length() == p.Count();
}

struct WorldPos {
    double x, y;
};

// Map image pixel to world position (north up).
WorldPos MouseToWorld(int X, int Y) {
    return {X / ScreenScale + ScreenOriginX, -Y / ScreenScale + ScreenOriginY};
}

// Index of the sample nearest to (X, Y) in one pass without allocation. The distances are
// those TSkalarFeld2::NearestSample compares; when the smallest occurs more than once or a
// distance is not a number, that search decides, so that ties resolve exactly as it does.
int NearestIndex(const TSkalarFeld2& plane, double X, double Y) {
    const int n = plane.Count();
    const double* px = plane.x.data();
    const double* py = plane.y.data();
    double best = std::numeric_limits<double>::infinity();
    int bestIndex = -1;
    bool tie = false;
    for (int k = 0; k < n; ++k) {
        const double dx = px[k] - X;
        const double dy = py[k] - Y;
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d < best) {
            best = d;
            bestIndex = k;
            tie = false;
        } else if (d == best) {
            tie = true;
        } else if (std::isnan(d)) {
            return plane.NearestSample(X, Y);
        }
    }
    if (tie || bestIndex < 0) return plane.NearestSample(X, Y);
    return bestIndex;
}

double AtDisplayPower(double v) { return ScaleFieldStrength(v, Power, PowerShow); }

// A screen coordinate for a mark; far-off positions are held to a range the canvas clips.
int MarkCoord(long double v) {
    constexpr long double kFar = 1e6;
    if (!(v > -kFar)) return -static_cast<int>(kFar);
    if (!(v < kFar)) return static_cast<int>(kFar);
    return static_cast<int>(rtl::Round(v));
}

}  // namespace

void TFormFeldor::ImageFeldMouseMove(rtl::TObject*, gui::TShiftState, int X, int Y) {
    if (!MapReady()) return;
    const WorldPos w = MouseToWorld(X, Y);
    const TSkalarFeld2& plane = *CurrentPlane;
    const int k = NearestIndex(plane, w.x, w.y);
    double v = plane.Value(k);
    if (FeldTyp == 1 || FeldTyp == 2) v = AtDisplayPower(v);

    switch (RGFeldTyp->ItemIndex()) {
        case 0: LAField->SetCaption(FormatCapped("Feldstärke    %2.1f V/m", v, 100000)); break;
        case 1: LAField->SetCaption(FormatCapped("Feldstärke    %4.3f A/m", v, 1000)); break;
        case 2: LAField->SetCaption(FormatCapped("Impedanz      %4.3f Ohm", v, 100000)); break;
        default: break;
    }
    LAcoords->SetCaption(rtl::Format("Koordinaten   x: %2.1f m   y: %2.1f m", w.x, w.y));
    LATest->SetCaption(
        rtl::Format("Feldquadrat   x: %2.1f m   y: %2.1f m", plane.x[k], plane.y[k]));
    ReadOutShown = true;
}

void TFormFeldor::FormMouseMove(rtl::TObject*, gui::TShiftState, int, int) {
    LAcoords->SetCaption("");
    LAField->SetCaption("");
    LATest->SetCaption("");
    ReadOutShown = false;
}

void TFormFeldor::ReadOutAtCursor() {
    if (MapReady() && ImageFeld->Showing()) {
        const gdi::TPoint p = ImageFeld->ScreenToClient(gui::GetCursorPos());
        if (p.X >= 0 && p.Y >= 0 && p.X < ImageFeld->Width() && p.Y < ImageFeld->Height()) {
            ImageFeldMouseMove(this, 0, p.X, p.Y);
            return;
        }
    }
    if (ReadOutShown) FormMouseMove(this, 0, 0, 0);
}

void TFormFeldor::ImageOvlMouseDown(rtl::TObject*, gui::TMouseButton, gui::TShiftState Shift,
                                    int X, int Y) {
    if (!MapReady()) return;
    const WorldPos w = MouseToWorld(X, Y);

    // Shift+click: end point 1, then end point 2 with the line drawn, then 1 again.
    if (Shift & gui::ssShift) {
        if (CutSecondClick) {
            CutP2x = w.x;
            CutP2y = w.y;
            paintVerticalCut();
        } else {
            CutP1x = w.x;
            CutP1y = w.y;
        }
        CutSecondClick = !CutSecondClick;
        return;
    }

    // A measuring point with the value of the nearest grid point; the field type follows from
    // the stored height of the plane shown.
    const TSkalarFeld2& plane = *CurrentPlane;
    const double value = plane.Value(NearestIndex(plane, w.x, w.y));
    long double z = CurrentHeight;
    std::string label;
    double feld;
    if (z < HOffset) {
        label = "E [V/m]";
        feld = AtDisplayPower(value);
    } else if (z < ZOffset) {
        z -= HOffset;
        label = "H [A/m]";
        feld = AtDisplayPower(value);
    } else {
        z -= ZOffset;
        label = "Z [Ohm]";
        feld = value;
    }
    // A limit that does not exist (-99, or its A/m form; every limit of an impedance plane)
    // gives no percentage.
    const auto percent = [feld](double limit) {
        return limit > 0 ? 100 * feld / limit : std::numeric_limits<double>::quiet_NaN();
    };
    if (FormMessExport)
        FormMessExport->add(label, w.x, w.y, static_cast<double>(z), feld, percent(GrenzwertPS),
                            percent(GrenzwertHSM));
    MessPktUpdate(this);
}

void TFormFeldor::MessPktUpdate(rtl::TObject*) {
    ImagePlay->SetTransparent(true);
    gdi::TCanvas* c = ImagePlay->Canvas();
    gdi::TBitmap* bmp = ImagePlay->Picture()->Bitmap();
    CanvasClear(c, gdi::clBlack);
    // The layer's transparent colour is its bottom-left pixel (the cut line, which clears the
    // layer white, relies on the same rule). That pixel stays black whatever mark covers it,
    // so that black is what lets the layers below show through.
    bmp->SetTransparentColor(gdi::clDefault);
    struct ShowAtEnd {
        gui::TImage* image;
        gdi::TBitmap* bmp;
        ~ShowAtEnd() {
            bmp->Canvas()->SetPixels(0, bmp->Height() - 1, gdi::clBlack);
            image->Invalidate();
        }
    } show{ImagePlay, bmp};

    if (!FormMessExport) return;
    const TFormMessExport& list = *FormMessExport;
    const long double s = ScreenScale;
    for (int i = 0; i < list.nof(); ++i) {
        const int sx = MarkCoord((static_cast<long double>(list.x[i]) - ScreenOriginX) * s);
        const int sy = MarkCoord((static_cast<long double>(list.y[i]) - ScreenOriginY) * -s);
        TProps props(c);
        FontFromString(c, "Bold,10,Arial");
        // Two-colour letters: smoothed edges would blend the mark colour with the black key
        // into a dark rim that is not left out, on the screen and in the pictures.
        c->Font()->SetQuality(gdi::fqNonAntialiased);
        PenFromString(c, "2");
        CanvasCross(c, sx, sy, 10, ColorMessPkt);
        CanvasTextOut(c, sx + 10, sy + 10, rtl::Format("MP%2d", i + 1), ColorMessPkt,
                      gdi::clBlack);
    }
}
