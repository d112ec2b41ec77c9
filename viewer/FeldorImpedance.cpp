// Main window: the impedance field Z = E/H, stored 200 m above its plane height.
#include <algorithm>
#include <cstdint>
#include <vector>

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
    // Room for the planes that will be built (those whose magnetic plane has as many points),
    // so that the arrays grow once.
    {
        const int n = tE.Length();
        std::vector<std::int32_t> scratch;
        const auto count = [n, &scratch](double h) {
            const auto m = PointsInHeightRange(h - 0.1, h + 0.1, scratch);
            return std::lower_bound(m.begin(), m.end(), n) - m.begin();
        };
        std::size_t extra = 0;
        for (double h : heights) {
            const auto e = count(h);
            if (e == count(h + HOffset)) extra += static_cast<std::size_t>(e);
        }
        if (extra > 0)
            for (DoubleArray* a : {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz})
                a->vec().reserve(a->vec().size() + extra);
        PointSetAppended(tz.Length());  // the same points, moved: the index stays
    }
    // A height whose electric and magnetic planes have as many points: the quotients straight
    // from the point arrays through the plane index, with the trace lines and the plane height
    // the plane loads would leave. False (nothing done) for any other height.
    const auto appendMatching = [this](double h) {
        const int n = tE.Length();
        if (tx.Length() != n || ty.Length() != n || tz.Length() != n || tEx.Length() != n ||
            tEy.Length() != n || tEz.Length() != n)
            return false;
        std::vector<std::int32_t> scratchE, scratchH;
        auto ie = PointsInHeightRange(h - 0.1, h + 0.1, scratchE);
        auto ih = PointsInHeightRange(h + HOffset - 0.1, h + HOffset + 0.1, scratchH);
        ie = ie.first(static_cast<std::size_t>(std::lower_bound(ie.begin(), ie.end(), n) - ie.begin()));
        ih = ih.first(static_cast<std::size_t>(std::lower_bound(ih.begin(), ih.end(), n) - ih.begin()));
        if (ie.size() != ih.size()) return false;
        const int m = static_cast<int>(ie.size());
        const auto tracePair = [this, h, m] {
            TraceLoadedPlane(*this, h, m);
            TraceLoadedPlane(*this, h + HOffset, m);
        };
        if (DebugMode) {
            tracePair();
            addInfo(rtl::Format("EPlane.x    : %1d", m - 1));
            addInfo(rtl::Format("EPlane.y    : %1d", m - 1));
            addInfo(rtl::Format("EPlane.Feld : %1d", m - 1));
            addInfo(rtl::Format("newZPlane   : %1d", m - 1));
            for (int c = 1; c <= 3; ++c) tracePair();
        }
        PlaneHeight = h + HOffset;
        // The new points first in arrays of their own (ADvd's quotient), then appended.
        DoubleArray add[7];
        for (DoubleArray& a : add) a.vec().resize(ie.size());
        const double* src[4] = {tE.data(), tEx.data(), tEy.data(), tEz.data()};
        const double zNew = h + ZOffset;
        for (int k = 0; k < m; ++k) {
            const std::int32_t e = ie[static_cast<std::size_t>(k)];
            const std::int32_t g = ih[static_cast<std::size_t>(k)];
            add[0].data()[k] = tx.data()[e];
            add[1].data()[k] = ty.data()[e];
            add[2].data()[k] = zNew;
            for (int c = 0; c < 4; ++c) {
                const double v = src[c][e], w = src[c][g];
                add[3 + c].data()[k] = w == 0 ? 1.7e308 : v / w;
            }
        }
        const int before = tz.Length();
        DoubleArray* const arrays[7] = {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz};
        for (int a = 0; a < 7; ++a) AppendDoubleArray(*arrays[a], add[a]);
        PointSetAppended(before);
        return true;
    };

    for (double h : heights) {
        if (appendMatching(h)) continue;
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
        const int before = tz.Length();
        AppendDoubleArray(tx, ePlane->x);
        AppendDoubleArray(ty, ePlane->y);
        AppendDoubleArray(tz, newZ);
        AppendDoubleArray(tE, z[0]);
        AppendDoubleArray(tEx, z[1]);
        AppendDoubleArray(tEy, z[2]);
        AppendDoubleArray(tEz, z[3]);
        PointSetAppended(before);  // the index takes in the new plane only
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
