// Main window: the colour map of the current plane, and the controls that choose the plane,
// the field component and the field type.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "foundation/ColorLib.h"
#include "foundation/DebugLib.h"
#include "foundation/FormatLib.h"
#include "foundation/MathLib.h"
#include "foundation/StrUtilsLib.h"
#include "platform/rtl/SysUtils.h"
#include "viewer/FeldorU.h"
#include "viewer/VectorState.h"

using namespace FeldorU;

namespace {

// Largest bitmap side of a map; larger planes are refused.
constexpr int kMaxMapSide = 8192;

// Two doubles and the masks of their comparisons (all bits set where true), as the compiler's
// vector extension (one SSE2 register each); an operation runs lane by lane with the scalar's
// IEEE rounding.
constexpr int kLanes = 2;
using V2d = double __attribute__((vector_size(16)));
using V2l = std::int64_t __attribute__((vector_size(16)));
using V2i = std::int32_t __attribute__((vector_size(8)));

inline V2d Splat(double v) { return V2d{v, v}; }
inline V2l SplatMask(std::int64_t v) { return V2l{v, v}; }

// P[0..Count-1] (Count <= kLanes), the lanes beyond Count 0.
inline V2d Load(const double* p, int count) {
    if (count < kLanes) return V2d{p[0], 0.0};
    V2d v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A where Mask is set, else B.
inline V2d Select(V2l mask, V2d a, V2d b) {
    return reinterpret_cast<V2d>((reinterpret_cast<V2l>(a) & mask) |
                                 (reinterpret_cast<V2l>(b) & ~mask));
}

// std::nearbyint for 0 <= V < 2^52 without a call: adding and taking away 2^52 rounds to an
// integer in the current rounding mode (to nearest, ties to even), as nearbyint does.
inline V2d RoundEven(V2d v) {
    const V2d shift = Splat(4503599627370496.0);  // 2^52
    return (v + shift) - shift;
}

// Clip01 of X / D for doubles, without the extended-precision round trip: above 1 gives 1,
// below 0 and not a number give 0, anything else (-0 too) stays.
inline V2d ClippedRatio(V2d x, V2d d) {
    V2d q = x / d;
    q = Select(q > Splat(1.0), Splat(1.0), q);
    return Select(q >= Splat(0.0), q, Splat(0.0));
}

// Rescaling of a field strength from the file power to the display power, exactly as
// ScaleFieldStrength does it (E * sqrt(PNew / POld) in extended precision, values above 1e300
// and an unknown file power left alone), with the square root taken once for the whole plane.
class PowerScaling {
public:
    PowerScaling(double pOld, double pNew)
        : active_(pOld > 0), factor_(active_ ? std::sqrt(static_cast<long double>(pNew) / pOld) : 1) {}
    double operator()(double e) const {
        if (!active_ || e > 1e300) return e;
        return static_cast<double>(e * factor_);
    }
    // The same for In[0..N-1] into Out[0..N-1]. The products come first, in a loop of nothing
    // but load, multiply and store (the factor stays on the x87 stack, no spills), then the
    // choice of the values left alone, in a loop of its own.
    void Apply(const double* in, double* out, int n) const {
        if (!active_) {
            std::copy(in, in + n, out);
            return;
        }
        const long double f = factor_;
        int j = 0;
        for (; j + 4 <= n; j += 4) {
            out[j] = static_cast<double>(in[j] * f);
            out[j + 1] = static_cast<double>(in[j + 1] * f);
            out[j + 2] = static_cast<double>(in[j + 2] * f);
            out[j + 3] = static_cast<double>(in[j + 3] * f);
        }
        for (; j < n; ++j) out[j] = static_cast<double>(in[j] * f);
        const V2d large = Splat(1e300);
        for (int j = 0; j + kLanes <= n; j += kLanes) {
            V2d e, scaled;
            std::memcpy(&e, in + j, sizeof e);
            std::memcpy(&scaled, out + j, sizeof scaled);
            scaled = Select(e > large, e, scaled);
            std::memcpy(out + j, &scaled, sizeof scaled);
        }
        for (int j = n - n % kLanes; j < n; ++j) out[j] = in[j] > 1e300 ? in[j] : out[j];
    }

private:
    bool active_;
    long double factor_;
};

// The value behind an item of the reference group: the plane maximum, a limit or a row of the
// fixed reference table for the field type. No value (-99) for anything else.
double ReferenceValue(int item, double planeMax) {
    switch (item) {
        case 0: return planeMax;
        case 1: return GrenzwertPS;
        case 2: return GrenzwertHSM;
        default: break;
    }
    if (item < 3 || item > 9) return NoValue;
    const BezugsWert& row = BezugsTabelle[item - 2];
    switch (FeldTyp) {
        case 1: return row.E;
        case 2: return row.H;
        case 3: return row.Z;
        default: return NoValue;
    }
}

struct Extent {
    double xMin, xMax, yMin, yMax, fMax;
    // The two smallest distinct x (the pair TSkalarFeld2::getSteps starts from); xNext is +inf
    // when there are fewer than two.
    double xLo, xNext;
};

// Of two extremes that compare equal, the one of the earlier sample stays; the lanes of a
// vector do not tell which that was when the two are 0 and -0.
inline bool Ambiguous(double a, double b) { return a == b && std::signbit(a) != std::signbit(b); }

// One sample in order, as std::min / std::max take it, and the two smallest distinct x as
// getSteps takes them.
inline void AddSample(Extent& e, double x, double y, double f) {
    e.xMin = x < e.xMin ? x : e.xMin;
    e.xMax = e.xMax < x ? x : e.xMax;
    e.yMin = y < e.yMin ? y : e.yMin;
    e.yMax = e.yMax < y ? y : e.yMax;
    e.fMax = e.fMax < f ? f : e.fMax;
    if (x < e.xLo) {
        e.xNext = e.xLo;
        e.xLo = x;
    } else if (x > e.xLo && x < e.xNext) {
        e.xNext = x;
    }
}

// The extremes as std::min / std::max over the samples in order: the first of equal values
// stays, values that are not numbers take no part. With SSE2 each lane runs over every second
// sample (minpd / maxpd keep the first operand's order rule); the lanes are then joined in
// sample order, and the rare join that cannot tell 0 from -0 runs the samples again one by one.
[[gnu::noinline]] Extent PlaneExtent(const double* xs, const double* ys, const double* fs, int n) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    Extent e{inf, -inf, inf, -inf, -inf, inf, inf};
    int k = 0;
#if defined(__SSE2__)
    __m128d xMin = _mm_set1_pd(inf), xMax = _mm_set1_pd(-inf), yMin = xMin, yMax = xMax;
    __m128d fMax = xMax, xLo = xMin, xNext = xMin;
    const int pairs = n - n % 2;
    for (; k < pairs; k += 2) {
        const __m128d x = _mm_loadu_pd(xs + k), y = _mm_loadu_pd(ys + k), f = _mm_loadu_pd(fs + k);
        xMin = _mm_min_pd(x, xMin);  // x < xMin ? x : xMin
        xMax = _mm_max_pd(x, xMax);  // xMax < x ? x : xMax
        yMin = _mm_min_pd(y, yMin);
        yMax = _mm_max_pd(y, yMax);
        fMax = _mm_max_pd(f, fMax);
        const __m128d below = _mm_cmplt_pd(x, xLo);
        const __m128d between = _mm_and_pd(_mm_cmplt_pd(xLo, x), _mm_cmplt_pd(x, xNext));
        const __m128d kept = _mm_or_pd(_mm_and_pd(between, x), _mm_andnot_pd(between, xNext));
        xNext = _mm_or_pd(_mm_and_pd(below, xLo), _mm_andnot_pd(below, kept));
        xLo = _mm_min_pd(x, xLo);
    }
    if (pairs > 0) {
        alignas(16) double v[7][2];
        _mm_store_pd(v[0], xMin);
        _mm_store_pd(v[1], xMax);
        _mm_store_pd(v[2], yMin);
        _mm_store_pd(v[3], yMax);
        _mm_store_pd(v[4], fMax);
        _mm_store_pd(v[5], xLo);
        _mm_store_pd(v[6], xNext);
        bool ambiguous = false;
        for (int q = 0; q < 5; ++q) ambiguous = ambiguous || Ambiguous(v[q][0], v[q][1]);
        if (ambiguous) {
            for (int j = 0; j < pairs; ++j) AddSample(e, xs[j], ys[j], fs[j]);
        } else {
            // The lane of the earlier samples first: equal values keep it.
            e.xMin = v[0][1] < v[0][0] ? v[0][1] : v[0][0];
            e.xMax = v[1][0] < v[1][1] ? v[1][1] : v[1][0];
            e.yMin = v[2][1] < v[2][0] ? v[2][1] : v[2][0];
            e.yMax = v[3][0] < v[3][1] ? v[3][1] : v[3][0];
            e.fMax = v[4][0] < v[4][1] ? v[4][1] : v[4][0];
            // The smallest of the lanes' values, then the smallest above it.
            e.xLo = std::min(v[5][0], v[5][1]);
            for (const double c : {v[5][0], v[5][1], v[6][0], v[6][1]})
                if (c > e.xLo && c < e.xNext) e.xNext = c;
        }
    }
#endif
    for (; k < n; ++k) AddSample(e, xs[k], ys[k], fs[k]);
    return e;
}

// The grid step that sets the map's resolution in both directions: the step along x; for a line
// scan along y (one column) the step along y; a single point has no step and is one block.
double MapStep(const TSkalarFeld2& plane, const Extent& extent) {
    const auto varies = [](const DoubleArray& a) {
        for (double v : a)
            if (v != a[0]) return true;
        return false;
    };
    if (varies(plane.x)) return TSkalarFeld2::StepOfSmallest(extent.xLo, extent.xNext);
    if (varies(plane.y)) return plane.getSteps(2);
    return 1;
}

[[noreturn]] void RefuseSize(double spanX, double spanY) {
    if (!std::isfinite(spanX) || !std::isfinite(spanY) || spanX > 1e9 || spanY > 1e9)
        throw rtl::Exception(rtl::Format(
            "Die Ebene kann nicht dargestellt werden: ihr Bild hätte mehr als %d x %d Punkte",
            kMaxMapSide, kMaxMapSide));
    throw rtl::Exception(rtl::Format(
        "Die Ebene kann nicht dargestellt werden: ihr Bild hätte %d x %d Punkte, höchstens "
        "%d x %d sind möglich",
        static_cast<int>(rtl::Round(spanX)) + 1, static_cast<int>(rtl::Round(spanY)) + 1,
        kMaxMapSide, kMaxMapSide));
}

}  // namespace

// Everything is computed into locals first: an error (an empty plane, no grid step, a plane
// too large) leaves the map, the mapping variables and FieldShown as they were.
void TFormFeldor::FeldShow2() {
    ClearUpperVectorState();
    static const TSkalarFeld2 kEmpty;
    const TSkalarFeld2& plane = CurrentPlane ? *CurrentPlane : kEmpty;
    const int n = plane.Count();
    if (n == 0 || plane.x.Length() != n || plane.y.Length() != n) rtl::RaiseRangeError();
    const double* xs = plane.x.data();
    const double* ys = plane.y.data();
    const double* fs = plane.Feld.data();

    // Impedance values are shown as they are; E and H at the display power.
    const bool scaled = FeldTyp == 1 || FeldTyp == 2;
    const PowerScaling scale(scaled ? Power : 0, PowerShow);

    // Extent and maximum in one pass (values that are not numbers take no part).
    const Extent extent = PlaneExtent(xs, ys, fs, n);
    const double xMin = extent.xMin, xMax = extent.xMax, yMin = extent.yMin, yMax = extent.yMax;
    double fMax = extent.fMax;
    fMax = scale(fMax);

    const double ppm = 1 / MapStep(plane, extent);
    const double spanX = (xMax - xMin) * ppm;
    const double spanY = (yMax - yMin) * ppm;
    if (!(spanX >= 0 && spanY >= 0 && spanX <= kMaxMapSide && spanY <= kMaxMapSide))
        RefuseSize(spanX, spanY);
    const int w = static_cast<int>(std::nearbyint(spanX)) + 1;
    const int h = static_cast<int>(std::nearbyint(spanY)) + 1;
    if (w > kMaxMapSide || h > kMaxMapSide) RefuseSize(spanX, spanY);

    // The reference is the same for every sample. One that is not above 0 (no limit, a plane
    // maximum of 0) gives no scale: the map is drawn black.
    const double bezug = ReferenceValue(RGBezug->ItemIndex(), fMax) * (1 / ArrowPos);
    const bool noScale = !(bezug > 0);

    gdi::TBitmap bmp;
    bmp.SetPixelFormat(gdi::pf24bit);
    bmp.SetSize(w, h);
    std::vector<std::uint8_t*> rows(static_cast<std::size_t>(h));
    for (int r = 0; r < h; ++r) rows[static_cast<std::size_t>(r)] = bmp.ScanLine(r);

    // One pixel per grid point, north up; a later sample on the same pixel wins. A block of
    // samples at a time: the pixel of every sample, then the colours, then the writes, each
    // a loop of its own over the whole block (a sample off the picture, from a coordinate that
    // is not a number, gets a colour but is not written).
    ClearUpperVectorState();
    constexpr int kBlock = 256;
    static_assert(kBlock % kLanes == 0);
    alignas(32) double shown[kBlock] = {};
    alignas(32) std::int32_t px[kBlock] = {};
    alignas(32) std::int32_t py[kBlock] = {};
    alignas(32) std::int64_t onMap[kBlock] = {};
    gdi::TColor colors[kBlock];
    const V2d x0 = Splat(xMin), y0 = Splat(yMin), scaleV = Splat(ppm);
    const V2d maxX = Splat(spanX), maxY = Splat(spanY), zero = Splat(0.0);
    for (int k0 = 0; k0 < n; k0 += kBlock) {
        const int m = std::min(n - k0, kBlock);
        for (int j = 0; j < m; j += kLanes) {
            const int count = std::min(kLanes, m - j);
            const V2d fx = (Load(xs + k0 + j, count) - x0) * scaleV;
            const V2d fy = (Load(ys + k0 + j, count) - y0) * scaleV;
            V2l in = (fx >= zero) & (fx <= maxX) & (fy >= zero) & (fy <= maxY);
            if (count < kLanes) in &= SplatMask(count) > V2l{0, 1};
            const V2i rx = __builtin_convertvector(Select(in, RoundEven(fx), zero), V2i);
            const V2i ry = __builtin_convertvector(Select(in, RoundEven(fy), zero), V2i);
            std::memcpy(px + j, &rx, sizeof rx);
            std::memcpy(py + j, &ry, sizeof ry);
            std::memcpy(onMap + j, &in, sizeof in);
        }
        if (noScale) {
            std::fill(colors, colors + m, gdi::clBlack);
        } else {
            scale.Apply(fs + k0, shown, m);
            const V2d ref = Splat(bezug);
            for (int j = 0; j < m; j += kLanes) {
                V2d q;
                std::memcpy(&q, shown + j, sizeof q);
                q = ClippedRatio(q, ref);
                std::memcpy(shown + j, &q, sizeof q);
            }
            ValuesToScaleColors(shown, colors, m);
        }
        for (int j = 0; j < m; ++j) {
            if (!onMap[j]) continue;
            std::uint8_t* p = rows[static_cast<std::size_t>(h - 1 - py[j])] + 3 * px[j];
            const gdi::TColor c = colors[j];
            p[0] = static_cast<std::uint8_t>(gdi::GetBValue(c));
            p[1] = static_cast<std::uint8_t>(gdi::GetGValue(c));
            p[2] = static_cast<std::uint8_t>(gdi::GetRValue(c));
        }
    }

    // Screen pixels per metre: the plane's extent fills the image along the tighter axis. An
    // axis of a single row or column does not limit the scale.
    const long double iw = ImageFeld->Width();
    const long double ih = ImageFeld->Height();
    long double s;
    if (w > 1 && h > 1)
        s = std::min(iw * ppm / (w - 1), ih * ppm / (h - 1));
    else if (w > 1)
        s = iw * ppm / (w - 1);
    else if (h > 1)
        s = ih * ppm / (h - 1);
    else
        s = std::min(iw, ih) * ppm;

    const std::string xRange = rtl::Format("x-Intervall: %2.1f m ... %2.1f m", xMin, xMax);
    const std::string yRange = rtl::Format("y-Intervall: %2.1f m ... %2.1f m", yMin, yMax);

    // Commit.
    bmp.Modified();
    ImageFeld->SetStretch(true);
    ImageFeld->SetProportional(true);
    ImageFeld->Picture()->Assign(&bmp);
    LAxRange->SetCaption(xRange);
    LAyRange->SetCaption(yRange);
    PlaneXMin = xMin;
    PlaneXMax = xMax;
    PlaneYMin = yMin;
    PlaneYMax = yMax;
    PixelPerMeter = ppm;
    ScreenScale = static_cast<double>(s);
    ScreenOriginX = xMin;
    ScreenOriginY = yMax;
    BezugsFeld = bezug;
    FieldShown = true;
    ReadOutAtCursor();
}

namespace {

// A height as the plane combo lists it; a height that shows as zero is "0,0" whatever its sign.
std::string PlaneText(double height) {
    std::string text = FormatDouble("%2.1f", height);
    if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

// The item of the plane combo that a text names: a number that, written as the list writes the
// heights, is that item ("2" and "2,00" name "2,0"). -1 for any other text.
int PlaneItemOfText(gui::TComboBox& combo, const std::string& text) {
    long double value = 0;
    if (!IsFloatString(text) || !rtl::TryStrToFloat(text, value)) return -1;
    const std::string key = PlaneText(static_cast<double>(value));
    rtl::TStrings* items = combo.Items();
    for (int i = 0; i < items->Count(); ++i) {
        long double height = 0;
        if (rtl::TryStrToFloat(items->Get(i), height) &&
            PlaneText(static_cast<double>(height)) == key)
            return i;
    }
    return -1;
}

// The plane combo shows the height of the plane on the map again ("-keine-" without planes);
// the item of that height becomes the selected one (the text selects it). Runs no handler.
void ShowPlaneTextOfMap(TFormFeldor& form) {
    gui::TComboBox& combo = *form.CBPlanes;
    if (combo.Items()->Count() == 0) {
        combo.SetText("-keine-");
        return;
    }
    double height = CurrentHeight;
    if (form.RGFeldTyp->ItemIndex() == 1) height -= HOffset;
    if (form.RGFeldTyp->ItemIndex() == 2) height -= ZOffset;
    const std::string text = PlaneText(height);
    const int item = PlaneItemOfText(combo, text);
    combo.SetText(item >= 0 ? combo.Items()->Get(item) : text);
}

// A typed height that names a listed plane ("1" for "1,0") becomes the selected item, written as
// the list writes it, so that "+", "-" and a change of the field type go on from the plane shown.
// While the user types, the text stays as typed (the plane is shown all the same); this runs
// when the typing is over. Runs no handler.
void SelectPlaneOfText(gui::TComboBox& combo) {
    const int item = PlaneItemOfText(combo, combo.Text());
    if (item >= 0 && combo.ItemIndex() != item) combo.SetItemIndex(item);
}

}  // namespace

void TFormFeldor::UpdatePicture(rtl::TObject*) {
    const std::string text = CBPlanes->Text();
    if (!IsFloatString(text)) {
        msgError("Fehler in TFormFeldor.UpdatePicture: CBPlanes.Text nicht vom Typ Float!");
        return;
    }
    long double height = rtl::StrToFloat(text);
    if (RGFeldTyp->ItemIndex() == 1) height += HOffset;
    if (RGFeldTyp->ItemIndex() == 2) height += ZOffset;
    CurrentHeight = static_cast<double>(height);
    ShowPlane(CurrentHeight);
}

// The user's text in the plane combo (typed or chosen): a text that names no plane, as it does
// on the way to one ("", "0,", "0,1" before "0,5"), leaves the map as it is.
void TFormFeldor::CBPlaneshange(rtl::TObject* Sender) {
    if (PlaneItemOfText(*CBPlanes, CBPlanes->Text()) >= 0) UpdatePicture(Sender);
}

void TFormFeldor::CBPlanesKeyDown(rtl::TObject*, unsigned short& Key, gui::TShiftState) {
    if (Key != gui::VK_RETURN) return;
    if (PlaneItemOfText(*CBPlanes, CBPlanes->Text()) >= 0) {
        SelectPlaneOfText(*CBPlanes);
        return;
    }
    ShowPlaneTextOfMap(*this);
    Key = 0;
}

void TFormFeldor::CBPlanesExit(rtl::TObject*) {
    if (PlaneItemOfText(*CBPlanes, CBPlanes->Text()) < 0)
        ShowPlaneTextOfMap(*this);
    else
        SelectPlaneOfText(*CBPlanes);
}

void TFormFeldor::ButTooglePlusClick(rtl::TObject* Sender) {
    const int n = CBPlanes->Items()->Count();
    if (n == 0) return;
    SelectPlaneOfText(*CBPlanes);
    int i = CBPlanes->ItemIndex();
    IncMod(i, n);
    CBPlanes->SetItemIndex(i);
    UpdatePicture(Sender);
}

void TFormFeldor::ButToggleMinusClick(rtl::TObject* Sender) {
    const int n = CBPlanes->Items()->Count();
    if (n == 0) return;
    SelectPlaneOfText(*CBPlanes);
    int i = CBPlanes->ItemIndex();
    DecMod(i, n);
    CBPlanes->SetItemIndex(i);
    UpdatePicture(Sender);
}

void TFormFeldor::UpdateFeldChange(rtl::TObject* Sender) {
    int fallback = -1;
    if (HasEPlanes) fallback = 0;
    if (HasHPlanes) fallback = 1;
    if (fallback < 0) return;
    // Setting the item runs this handler again for the new item.
    if (RGFeldTyp->ItemIndex() == 0 && !HasEPlanes) RGFeldTyp->SetItemIndex(fallback);
    if (RGFeldTyp->ItemIndex() == 1 && !HasHPlanes) RGFeldTyp->SetItemIndex(fallback);
    if (RGFeldTyp->ItemIndex() == 2 && !HasZPlanes) RGFeldTyp->SetItemIndex(fallback);
    // The new type's list keeps the position of the plane shown, also of a typed height.
    SelectPlaneOfText(*CBPlanes);
    afterLoading();
    UpdatePicture(Sender);
    UpdateGrenzwerte(Sender);
    DrawArrowInColorScale();
    RGBezug->SetItemIndex(1);
}

void TFormFeldor::UpDateFeld(rtl::TObject* Sender) {
    UpdateGrenzwerte(Sender);
    UpdatePicture(Sender);
}
