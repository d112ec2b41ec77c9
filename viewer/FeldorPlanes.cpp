// Main window: planes of the point set, the current plane and the plane list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <vector>

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

// The values of an array at a list of indices, as an iterator: a vector is filled from it in
// one go, without first setting its elements to zero.
struct Gather {
    using iterator_category = std::random_access_iterator_tag;
    using value_type = double;
    using difference_type = std::ptrdiff_t;
    using pointer = const double*;
    using reference = const double&;
    const std::int32_t* index;
    const double* values;
    reference operator*() const { return values[*index]; }
    Gather& operator++() {
        ++index;
        return *this;
    }
    Gather operator++(int) {
        Gather g = *this;
        ++index;
        return g;
    }
    Gather& operator--() {
        --index;
        return *this;
    }
    Gather& operator-=(difference_type d) {
        index -= d;
        return *this;
    }
    Gather& operator+=(difference_type d) {
        index += d;
        return *this;
    }
    reference operator[](difference_type d) const { return values[index[d]]; }
    friend Gather operator+(Gather g, difference_type d) { return g += d; }
    friend difference_type operator-(const Gather& a, const Gather& b) { return a.index - b.index; }
    friend bool operator==(const Gather& a, const Gather& b) { return a.index == b.index; }
    friend bool operator<(const Gather& a, const Gather& b) { return a.index < b.index; }
};

}  // namespace

void TraceLoadingPlane(TFormFeldor& Form, double Height) {
    Form.addInfo("LoadPlane: Vor dem Laden");
    TraceCounts(Form, TSkalarFeld2());
    Form.addInfo(rtl::Format("PlaneHeight : %1.0f", Height));
}

void TraceLoadedPlane(TFormFeldor& Form, double Height, int Count) {
    TraceLoadingPlane(Form, Height);
    Form.addInfo("LoadPlane: Nach dem Laden");
    for (const char* name : {"Result.x    : %1d", "Result.y    : %1d", "Result.Feld : %1d"})
        Form.addInfo(rtl::Format(name, Count - 1));
}

std::unique_ptr<TSkalarFeld2> TFormFeldor::LoadPlane(double Height, int Component) {
    auto plane = std::make_unique<TSkalarFeld2>();
    PlaneHeight = Height;
    if (DebugMode) TraceLoadingPlane(*this, Height);
    const DoubleArray* values = nullptr;
    switch (Component) {
        case 0: values = &tE; break;
        case 1: values = &tEx; break;
        case 2: values = &tEy; break;
        case 3: values = &tEz; break;
        default: break;
    }
    // The seven arrays have equal length; a stored height within 0.1 m belongs to the plane
    // (the bounds as double sums, as WithinTolerance takes them). The plane index gives the
    // points of the heights in that range, in the order of the arrays.
    const int n = tE.Length();
    if (values && tz.Length() >= n && tx.Length() >= n && ty.Length() >= n &&
        values->Length() >= n) {
        std::vector<std::int32_t> scratch;
        const std::span<const std::int32_t> members =
            PointsInHeightRange(Height - 0.1, Height + 0.1, scratch);
        const double* px = tx.data();
        const double* py = ty.data();
        const double* v = values->data();
        // Ascending indices: those of points beyond the magnitudes (a longer tz) end the list.
        const std::size_t m = static_cast<std::size_t>(
            std::lower_bound(members.begin(), members.end(), n) - members.begin());
        const std::int32_t* first = members.data();
        if (m > 0 && static_cast<std::size_t>(first[m - 1] - first[0]) == m - 1) {
            // One run of points (ascending, distinct indices): copied as a block.
            const std::size_t at = static_cast<std::size_t>(first[0]);
            plane->x.vec().assign(px + at, px + at + m);
            plane->y.vec().assign(py + at, py + at + m);
            plane->Feld.vec().assign(v + at, v + at + m);
        } else {
            plane->x.vec().assign(Gather{first, px}, Gather{first + m, px});
            plane->y.vec().assign(Gather{first, py}, Gather{first + m, py});
            plane->Feld.vec().assign(Gather{first, v}, Gather{first + m, v});
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
    ReadOutAtCursor();  // nothing of the previous plane stays in the read-out
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
