// Main window: planes of the point set, the current plane and the plane list.
#include "foundation/FormatLib.h"
#include "foundation/MathLib.h"
#include "viewer/FeldorU.h"
#include "foundation/EditAlign.h"

using namespace FeldorU;

namespace {

void TraceCounts(TFormFeldor& form, const TSkalarFeld2& plane) {
    form.addInfo(rtl::Format("Result.x    : %1d", plane.x.High()));
    form.addInfo(rtl::Format("Result.y    : %1d", plane.y.High()));
    form.addInfo(rtl::Format("Result.Feld : %1d", plane.Feld.High()));
}

}  // namespace

std::unique_ptr<TSkalarFeld2> TFormFeldor::LoadPlane(double Height, int Component) {
    auto plane = std::make_unique<TSkalarFeld2>();
    PlaneHeight = Height;
    if (DebugMode) {
        addInfo("LoadPlane: Vor dem Laden");
        TraceCounts(*this, *plane);
        addInfo(rtl::Format("PlaneHeight : %1.0f", Height));
    }
    const DoubleArray* values = nullptr;
    switch (Component) {
        case 0: values = &tE; break;
        case 1: values = &tEx; break;
        case 2: values = &tEy; break;
        case 3: values = &tEz; break;
        default: break;
    }
    // The seven arrays have equal length; a stored height within 0.1 m belongs to the plane
    // (the bounds as double sums, as WithinTolerance takes them).
    const int n = tE.Length();
    if (values && tz.Length() >= n && tx.Length() >= n && ty.Length() >= n &&
        values->Length() >= n) {
        const double lo = Height - 0.1;
        const double hi = Height + 0.1;
        const double* z = tz.data();
        const double* px = tx.data();
        const double* py = ty.data();
        const double* v = values->data();
        for (int i = 0; i < n; ++i) {
            if (lo <= z[i] && z[i] <= hi) plane->Add(px[i], py[i], v[i]);
        }
    } else if (values) {
        for (int i = 0; i <= tE.High(); ++i)
            if (WithinTolerance(tz[i], Height, 0.1)) plane->Add(tx[i], ty[i], (*values)[i]);
    }
    if (DebugMode) {
        addInfo("LoadPlane: Nach dem Laden");
        TraceCounts(*this, *plane);
    }
    return plane;
}

void TFormFeldor::ShowPlane(double Height) {
    EditPWRin->SetText(rtl::Format("%2.0f W", Power));
    CurrentPlane = LoadPlane(Height, RGKomponente->ItemIndex());
    if (FeldTyp == 3 && RGBezug->ItemIndex() >= 0 && RGBezug->ItemIndex() <= 2)
        RGBezug->SetItemIndex(6);
    // The map no longer shows the current plane until it has been rendered.
    const bool render = FieldLoaded || FieldShown;
    FieldShown = false;
    if (render) FeldShow2();
}

void TFormFeldor::afterLoading() {
    const int old = MaxI(CBPlanes->ItemIndex(), 0);
    // The selected field type without planes gives way to the first type that has some, in the
    // order E, H, Z; selecting it runs the field-type handler, which comes back here.
    const bool has[3] = {HasEPlanes, HasHPlanes, HasZPlanes};
    const int selected = RGFeldTyp->ItemIndex();
    if (selected < 0 || selected > 2 || !has[selected]) {
        int first = 0;
        while (first < 3 && !has[first]) ++first;
        RGFeldTyp->SetItemIndex(first < 3 ? first : 0);
    }
    if (!(HasEPlanes || HasHPlanes || HasZPlanes)) return;

    PlaneList = FieldPlanes(tz, RGFeldTyp->ItemIndex() + 1);
    rtl::TStrings* items = CBPlanes->Items();
    items->BeginUpdate();
    items->Clear();
    for (double h : PlaneList) items->Add(FormatDouble("%2.1f", h));
    items->EndUpdate();
    CBPlanes->SetItemIndex(old < items->Count() ? old : 0);
    if (Boden->Trim() > 0) laBoden->SetColor(0x83E2AB);
    if (Antenne->Trim() > 0) laAntenne->SetColor(0x83E2AB);
    EditPWRShow->SetText(rtl::Format("%2.0f W", PowerShow));
    EditPWRin->SetText(rtl::Format("%2.0f W", Power));
    SBPowerShow->SetPosition(static_cast<int>(rtl::Round(PowerShow)));
    UpdateGrenzwerte(this);
}

void TFormFeldor::whatLoaded() {
    DoubleArray heights = FieldPlanes(tz, 0);
    std::string eText, hText;
    for (double h : heights) {
        if (InClosedRange(h, -49, 50))
            eText += FormatDouble("%2.1f  ", h);
        else
            hText += FormatDouble("%2.1f  ", h - 100);
    }
    addInfo("what loaded: gefundene Ebenen ");
    addInfo("E-Feld: " + eText);
    addInfo("H-Feld: " + hText);
}
