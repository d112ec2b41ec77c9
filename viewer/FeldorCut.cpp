// Main window: the cut line on the map, its dialog and the vertical section.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "foundation/DebugLib.h"
#include "foundation/GrafikToolsLib.h"
#include "foundation/VektorLib.h"
#include "platform/rtl/SysUtils.h"
#include "viewer/FeldorU.h"
#include "viewer/PktEingabe.h"
#include "viewer/Vertikal.h"

using namespace FeldorU;

namespace {

// Screen coordinates beyond this are clipped before they are rounded to pixels, so that a cut
// point far off the map still draws the visible part of the line.
constexpr long double kScreenLimit = 1.0e6L;

// Clips the segment (x1, y1)-(x2, y2) to the square |x|, |y| <= kScreenLimit (Liang-Barsky).
// False when nothing of it lies inside or a coordinate is not a number.
bool ClipToScreenLimit(long double& x1, long double& y1, long double& x2, long double& y2) {
    const long double dx = x2 - x1;
    const long double dy = y2 - y1;
    // Boundaries 0..3: x = -limit, x = +limit, y = -limit, y = +limit.
    const long double p[4] = {-dx, dx, -dy, dy};
    const long double q[4] = {x1 + kScreenLimit, kScreenLimit - x1, y1 + kScreenLimit,
                              kScreenLimit - y1};
    long double t0 = 0, t1 = 1;
    int edge0 = -1, edge1 = -1;
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(p[i]) || !std::isfinite(q[i])) return false;
        if (p[i] == 0) {
            if (q[i] < 0) return false;
        } else {
            const long double t = q[i] / p[i];
            if (p[i] < 0) {
                if (t > t1) return false;
                if (t > t0) {
                    t0 = t;
                    edge0 = i;
                }
            } else {
                if (t < t0) return false;
                if (t < t1) {
                    t1 = t;
                    edge1 = i;
                }
            }
        }
    }
    // An end on a boundary takes the boundary's coordinate exactly: computed from a point far
    // away it would be lost to cancellation. The other coordinate is kept inside the square.
    const long double sx = x1, sy = y1;
    const auto onEdge = [&](int edge, long double t, long double& x, long double& y) {
        x = std::clamp(sx + t * dx, -kScreenLimit, kScreenLimit);
        y = std::clamp(sy + t * dy, -kScreenLimit, kScreenLimit);
        if (edge == 0 || edge == 1) x = edge == 0 ? -kScreenLimit : kScreenLimit;
        if (edge == 2 || edge == 3) y = edge == 2 ? -kScreenLimit : kScreenLimit;
    };
    onEdge(edge0, t0, x1, y1);
    onEdge(edge1, t1, x2, y2);
    return true;
}

// Why no section can be drawn from the present data and cut line; empty when it can.
std::string SectionRefusal() {
    if (PointCount() == 0 || !FieldShown)
        return "Es ist kein Feld geladen: ein Vertikalschnitt ist nicht möglich!";
    if (PlaneList.Length() < 2)
        return "Für einen Vertikalschnitt werden mindestens zwei Ebenen gebraucht!";
    if (CutPointCount < TFormVertikal::kMinCutPoints ||
        CutPointCount > TFormVertikal::kMaxCutPoints)
        return rtl::Format("Die Anzahl der Schnittpunkte muss zwischen %d und %d liegen!",
                           TFormVertikal::kMinCutPoints, TFormVertikal::kMaxCutPoints);
    const long double length =
        Vektor2Dist(MakeVektor2(CutP1x, CutP1y), MakeVektor2(CutP2x, CutP2y));
    if (!(length > 0)) return "Die beiden Endpunkte der Schnittlinie fallen zusammen!";
    const double zRange = PlaneList[PlaneList.High()] - PlaneList[0];
    if (TFormVertikal::GridHeight(zRange, static_cast<double>(length), TFormVertikal::kImageWidth) <
        0)
        return rtl::Format(
            "Die Schnittlinie ist zu kurz für die Höhen der Ebenen: die Schnittebene wäre mehr "
            "als %d-mal so hoch wie breit!",
            TFormVertikal::kMaxAspect);
    return {};
}

}  // namespace

void TFormFeldor::MISchnittDefinitionClick(rtl::TObject*) {
    std::unique_ptr<TFormPktEingabe> dialog(gui::CreateForm<TFormPktEingabe>(nullptr));
    dialog->P1x = CutP1x;
    dialog->P1y = CutP1y;
    dialog->P2x = CutP2x;
    dialog->P2y = CutP2y;
    dialog->PunktZahl = CutPointCount;
    dialog->ShowModal();
    CutP1x = dialog->P1x;
    CutP1y = dialog->P1y;
    CutP2x = dialog->P2x;
    CutP2y = dialog->P2y;
    CutPointCount = dialog->PunktZahl;
    dialog.reset();
    paintVerticalCut();
}

void TFormFeldor::MIVerticalClick(rtl::TObject*) {
    const std::string refusal = SectionRefusal();
    if (!refusal.empty()) {
        msgWarning(refusal);
        return;
    }
    const Vektor2 p1 = MakeVektor2(CutP1x, CutP1y);
    const Vektor2 p2 = MakeVektor2(CutP2x, CutP2y);
    DrawLine(p1, p2);

    const int n = CutPointCount;
    const Vektor2 d = Vektor2Sub(p2, p1);
    Vektor2ArrayRemoveAll(CutPoints);
    CutPoints.reserve(n);
    for (int k = 0; k < n; ++k)
        AppendVektor2(CutPoints, Vektor2Add(p1, Vektor2Scale(d, static_cast<double>(k) / (n - 1))));

    static gui::TFormCascade cascade;  // a second section opens beside the first, not on it
    auto* section = gui::CreateForm<TFormVertikal>(this);
    section->SetPopupParent(this);  // stays in sight above the map
    section->DebugMode = DebugMode;
    section->CutPoints = CutPoints;
    cascade.Place(section);
    section->Show();
    try {
        section->VertAfterStart();
    } catch (...) {
        // A section that could not be built is not left open.
        section->Release();
        throw;
    }
}

void TFormFeldor::paintVerticalCut() {
    DrawLine(MakeVektor2(CutP1x, CutP1y), MakeVektor2(CutP2x, CutP2y));
}

void TFormFeldor::DrawLine(const Vektor2& P1, const Vektor2& P2) {
    ImagePlay->SetTransparent(true);
    gdi::TCanvas* canvas = ImagePlay->Canvas();
    gdi::TBitmap* bmp = ImagePlay->Picture()->Bitmap();
    CanvasClearWhite(canvas);
    // White is the transparent colour: the layer's bottom-left pixel, which stays white even
    // when the line runs through that corner.
    bmp->SetTransparentColor(gdi::clDefault);
    canvas->Pen()->SetColor(gdi::clLime);
    canvas->Pen()->SetWidth(3);

    // The overlay mapping: sx = Round((x - PlaneXMin) * s),
    // sy = Round((PlaneYMax - PlaneYMin) * s) - Round((y - PlaneYMin) * s).
    const long double s = ScreenScale;
    long double x1 = (P1.X - PlaneXMin) * s, y1 = (P1.Y - PlaneYMin) * s;
    long double x2 = (P2.X - PlaneXMin) * s, y2 = (P2.Y - PlaneYMin) * s;
    const long double top = (static_cast<long double>(PlaneYMax) - PlaneYMin) * s;
    const auto inside = [](long double v) { return std::fabs(v) <= kScreenLimit; };
    bool visible = inside(top);
    if (visible && !(inside(x1) && inside(y1) && inside(x2) && inside(y2)))
        visible = ClipToScreenLimit(x1, y1, x2, y2);
    if (visible) {
        const long long base = rtl::Round(top);
        canvas->MoveTo(static_cast<int>(rtl::Round(x1)), static_cast<int>(base - rtl::Round(y1)));
        canvas->LineTo(static_cast<int>(rtl::Round(x2)), static_cast<int>(base - rtl::Round(y2)));
    }
    if (bmp->Height() > 0) canvas->SetPixels(0, bmp->Height() - 1, gdi::clWhite);
    ImagePlay->Invalidate();
}
