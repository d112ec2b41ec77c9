// Main window: the impedance field Z = E/H, stored 200 m above its plane height.
#include "foundation/ArrayLib.h"
#include "platform/rtl/SysUtils.h"
#include "viewer/FeldorU.h"

using namespace FeldorU;

namespace {

void TracePointCounts(TFormFeldor& form) {
    form.addInfo(rtl::Format("high(tx ): %1d", tx.High()));
    form.addInfo(rtl::Format("high(ty ): %1d", ty.High()));
    form.addInfo(rtl::Format("high(tz ): %1d", tz.High()));
    form.addInfo(rtl::Format("high(tE ): %1d", tE.High()));
    form.addInfo(rtl::Format("high(tEx): %1d", tEx.High()));
    form.addInfo(rtl::Format("high(tEy): %1d", tEy.High()));
    form.addInfo(rtl::Format("high(tEz): %1d", tEz.High()));
}

// Whether a stored height lies in Lo..Hi: the field type of that window has planes.
bool HasStoredHeightIn(double Lo, double Hi) {
    for (double z : tz)
        if (Lo <= z && z <= Hi) return true;
    return false;
}

}  // namespace

void TFormFeldor::constructZPlane() {
    if (DebugMode) {
        // The heights with both field types serve this trace only.
        const DoubleArray eHeights = FieldPlanes(tz, 1);
        const DoubleArray hHeights = FieldPlanes(tz, 2);
        DoubleArray zHeights;
        MatchWithin(eHeights, hHeights, zHeights, 0.01);
        addInfo("DebugInfo in TFormFeldor.constructZPlane:");
        addInfo("ZPlanesE: " + DoubleArrayToStr(eHeights, "%6.2f "));
        addInfo("ZPlanesZ: " + DoubleArrayToStr(zHeights, "%6.2f "));
        addInfo("Vor Z Kontruktion:");
        TracePointCounts(*this);
    }

    const DoubleArray heights = PlaneList;
    for (double h : heights) {
        auto ePlane = LoadPlane(h, 0);
        auto hPlane = LoadPlane(h + HOffset, 0);
        DoubleArray newZ;
        FillDoubles(ePlane->Feld.Length(), newZ, h + ZOffset);
        if (DebugMode) {
            addInfo(rtl::Format("EPlane.x    : %1d", ePlane->x.High()));
            addInfo(rtl::Format("EPlane.y    : %1d", ePlane->y.High()));
            addInfo(rtl::Format("EPlane.Feld : %1d", ePlane->Feld.High()));
            addInfo(rtl::Format("newZPlane   : %1d", newZ.High()));
        }
        // Quotients of the magnitude and of the three components. ADvd warns about planes of
        // different sample counts (no magnetic plane at this height, or another grid) and gives
        // an empty result; such a height is left out as a whole, so that the seven point arrays
        // keep their common length.
        DoubleArray z[4];
        ADvd(ePlane->Feld, hPlane->Feld, z[0]);
        for (int c = 1; c <= 3; ++c) {
            auto eComp = LoadPlane(h, c);
            auto hComp = LoadPlane(h + HOffset, c);
            ADvd(eComp->Feld, hComp->Feld, z[c]);
        }
        const int n = ePlane->Feld.Length();
        if (z[0].Length() != n || z[1].Length() != n || z[2].Length() != n ||
            z[3].Length() != n)
            continue;
        AppendDoubleArray(tx, ePlane->x);
        AppendDoubleArray(ty, ePlane->y);
        AppendDoubleArray(tz, newZ);
        AppendDoubleArray(tE, z[0]);
        AppendDoubleArray(tEx, z[1]);
        AppendDoubleArray(tEy, z[2]);
        AppendDoubleArray(tEz, z[3]);
    }

    if (DebugMode) TracePointCounts(*this);
}

void TFormFeldor::BuildZPlanes() {
    // Every E height with an H height, whatever field type is selected; the plane list of the
    // selected type comes back afterwards.
    DoubleArray zHeights;
    MatchWithin(FieldPlanes(tz, 1), FieldPlanes(tz, 2), zHeights, 0.01);
    DoubleArray selected = PlaneList;
    PlaneList = zHeights;
    struct Restore {
        DoubleArray& list;
        DoubleArray& saved;
        ~Restore() { list = std::move(saved); }
    } restore{PlaneList, selected};
    constructZPlane();
    HasZPlanes = HasStoredHeightIn(ZWindowLo, ZWindowHi);
}

void TFormFeldor::MIImpedanzfeldnachbildenClick(rtl::TObject*) {
    if (!HasZPlanes) BuildZPlanes();
    HasZPlanes = HasStoredHeightIn(ZWindowLo, ZWindowHi);
    RGFeldTyp->SetItemIndex(2);
    UpdateFeldChange(this);
}
