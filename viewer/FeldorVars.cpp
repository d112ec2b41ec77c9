#include "viewer/FeldorVars.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <unordered_map>

#include "foundation/ArrayLib.h"

namespace FeldorU {

TFormFeldor* FormFeldor = nullptr;
DoubleArray tx, ty, tz, tE, tEx, tEy, tEz;
DoubleArray PlaneList;
std::unique_ptr<TSkalarFeld2> CurrentPlane;
double PlaneHeight = 0;
double CurrentHeight = 0;
bool HasEPlanes = false, HasHPlanes = false, HasZPlanes = false;
bool FieldShown = false;
bool FieldLoaded = false;
double Power = 1;
double PowerShow = 750;
int16_t FeldTyp = 1;
double GrenzwertPS = 0, GrenzwertHSM = 0, BezugsFeld = 0, ArrowPos = 0.8;
double PlaneXMin = 0, PlaneXMax = 0, PlaneYMin = 0, PlaneYMax = 0, PixelPerMeter = 0,
       ScreenScale = 0, ScreenOriginX = 0, ScreenOriginY = 0;
BezugsWert BezugsTabelle[8];
std::unique_ptr<TAntPoints> Antenne = std::make_unique<TAntPoints>();
std::unique_ptr<TAntPoints> Boden = std::make_unique<TAntPoints>();
gdi::TColor ColorOrigin = 0x0054A6, ColorBoden = 0x31637B, ColorMessPkt = 0x00DEFF;
double CutP1x = 0, CutP1y = -5, CutP2x = 0, CutP2y = 15;
int CutPointCount = 20;
bool CutSecondClick = false;
Vektor2Array CutPoints;
bool DebugMode = true;

std::string ProgDir, ProgTitle, ProgVersion, ProgNotice;
std::string EZNECDir, MMANADir, Dir4nec2, NECWinProDir, FeldorDir;
int MessTop = 20, MessLeft = 20, SkriptTop = 30, SkriptLeft = 30, SkriptHeight = 300,
    SkriptWidth = 300;
bool SkriptVisible = true, MesswertVisible = true;
std::string SaveTarget, LoadedFile;
std::string ProgDirOverride;

}  // namespace FeldorU

using namespace FeldorU;

namespace {

// The plane index of FeldorU::tz. Groups are kept in the order their height first occurs;
// `order` lists them by ascending height. Heights that are equal as numbers (0 and -0) share a
// group; points whose height is not a number belong to none (no height range holds them).
struct PlaneIndex {
    std::uint64_t generation = 0;  // of the point set the index was built for
    const double* data = nullptr;  // tz's storage then
    int count = -1;                // tz's length then; -1: not built
    std::vector<double> heights;   // per group: the first height seen
    std::vector<std::vector<std::int32_t>> members;
    std::vector<int> order;
    std::vector<double> sortedHeights;  // heights[order[k]]
    std::unordered_map<std::uint64_t, int> groupOf;
    bool hasNaN = false, hasPlusZero = false, hasMinusZero = false;
    std::array<DoubleArray, 4> planes;  // FieldPlanes(tz, kind) by kind 0..3, when valid
    std::array<bool, 4> planesValid{};

    // The group of height z (not a number), made when new.
    int Group(double z, std::uint64_t& lastKey, int& lastGroup) {
        const std::uint64_t key = z == 0 ? 0 : std::bit_cast<std::uint64_t>(z);
        if (key == lastKey && lastGroup >= 0) return lastGroup;
        auto [it, added] = groupOf.try_emplace(key, static_cast<int>(heights.size()));
        if (added) {
            heights.push_back(z);
            members.emplace_back();
            const auto pos = std::lower_bound(sortedHeights.begin(), sortedHeights.end(), z);
            order.insert(order.begin() + (pos - sortedHeights.begin()), it->second);
            sortedHeights.insert(pos, z);
        }
        lastKey = key;
        lastGroup = it->second;
        return lastGroup;
    }

    // Takes in the points From..tz's end.
    void Add(int From) {
        const double* z = tz.data();
        const int n = tz.Length();
        std::uint64_t lastKey = 0;
        int lastGroup = -1;
        if (From == 0) {
            // Exact capacities: count first, then fill.
            std::vector<std::int32_t> counts;
            for (int i = 0; i < n; ++i) {
                if (std::isnan(z[i])) continue;
                const std::size_t g = static_cast<std::size_t>(Group(z[i], lastKey, lastGroup));
                if (g >= counts.size()) counts.resize(g + 1, 0);
                ++counts[g];
            }
            for (std::size_t g = 0; g < counts.size(); ++g) members[g].reserve(counts[g]);
            lastGroup = -1;
        }
        for (int i = From; i < n; ++i) {
            const double v = z[i];
            if (std::isnan(v)) {
                hasNaN = true;
                continue;
            }
            if (v == 0) (std::signbit(v) ? hasMinusZero : hasPlusZero) = true;
            members[static_cast<std::size_t>(Group(v, lastKey, lastGroup))].push_back(i);
        }
        data = tz.data();
        count = n;
        planesValid.fill(false);
    }

    void Build() {
        *this = PlaneIndex{};
        Add(0);
    }
};

std::uint64_t pointSetGeneration = 1;
PlaneIndex planeIndex;

PlaneIndex& CurrentIndex() {
    PlaneIndex& x = planeIndex;
    if (x.count != tz.Length() || x.data != tz.data() || x.generation != pointSetGeneration) {
        x.Build();
        x.generation = pointSetGeneration;
    }
    return x;
}

void ApplyKind(DoubleArray& h, int Kind) {
    switch (Kind) {
        case 1:
            RemoveOutside(h, EWindowLo, EWindowHi);
            break;
        case 2:
            RemoveOutside(h, HWindowLo, HWindowHi);
            ArraySubConst(h, HOffset);
            break;
        case 3:
            RemoveOutside(h, ZWindowLo, ZWindowHi);
            ArraySubConst(h, ZOffset);
            break;
        default:
            break;
    }
}

}  // namespace

void PointSetChanged() {
    ++pointSetGeneration;
    planeIndex = PlaneIndex{};
}

void PointSetAppended(int OldCount) {
    PlaneIndex& x = planeIndex;
    if (x.count == OldCount && x.generation == pointSetGeneration && OldCount <= tz.Length())
        x.Add(OldCount);
}

std::span<const std::int32_t> PointsInHeightRange(double Lo, double Hi,
                                                  std::vector<std::int32_t>& Scratch) {
    if (!(Lo <= Hi)) return {};
    const PlaneIndex& x = CurrentIndex();
    const auto first = std::lower_bound(x.sortedHeights.begin(), x.sortedHeights.end(), Lo);
    const auto last = std::upper_bound(first, x.sortedHeights.end(), Hi);
    const std::size_t k0 = static_cast<std::size_t>(first - x.sortedHeights.begin());
    const std::size_t k1 = static_cast<std::size_t>(last - x.sortedHeights.begin());
    if (k1 == k0) return {};
    if (k1 == k0 + 1) return x.members[static_cast<std::size_t>(x.order[k0])];
    // Several heights within the range: their points in the order of the arrays.
    Scratch.clear();
    for (std::size_t k = k0; k < k1; ++k) {
        const auto& m = x.members[static_cast<std::size_t>(x.order[k])];
        const std::size_t mid = Scratch.size();
        Scratch.insert(Scratch.end(), m.begin(), m.end());
        std::inplace_merge(Scratch.begin(), Scratch.begin() + static_cast<std::ptrdiff_t>(mid),
                           Scratch.end());
    }
    return Scratch;
}

void ClearFeld2Dim() {
    for (DoubleArray* a : {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz}) {
        ClearDoubleArray(*a);
        std::vector<double>().swap(a->vec());
    }
    PointSetChanged();
}

void TakeFieldPoints(FieldPoints& From) {
    DoubleArray* to[7] = {&tx, &ty, &tz, &tE, &tEx, &tEy, &tEz};
    DoubleArray* from[7] = {&From.tx, &From.ty, &From.tz, &From.tE, &From.tEx, &From.tEy, &From.tEz};
    for (int k = 0; k < 7; ++k) {
        to[k]->vec().swap(from[k]->vec());
        std::vector<double>().swap(from[k]->vec());
    }
    PointSetChanged();
}

void AppendFieldPoint(double x, double y, double z, double E, double Ex, double Ey, double Ez) {
    tx.push_back(x);
    ty.push_back(y);
    tz.push_back(z);
    tE.push_back(E);
    tEx.push_back(Ex);
    tEy.push_back(Ey);
    tEz.push_back(Ez);
}

DoubleArray SortedFieldPlanes(const DoubleArray& Heights, int Kind) {
    DoubleArray h = Heights;
    SortDoubles(h);
    RemoveDuplicateDoubles(h, true);
    ApplyKind(h, Kind);
    return h;
}

// Sorting all heights and cutting runs of equal ones leaves each distinct value once, in
// ascending order; without a NaN (placed by the sort) and without both zeros (equal, so the
// sort decides which stays) that is the index's sorted list of heights.
DoubleArray FieldPlanes(const DoubleArray& Heights, int Kind) {
    if (&Heights != &tz) return SortedFieldPlanes(Heights, Kind);
    PlaneIndex& x = CurrentIndex();
    const std::size_t k = Kind >= 1 && Kind <= 3 ? static_cast<std::size_t>(Kind) : 0;
    if (!x.planesValid[k]) {
        if (x.hasNaN || (x.hasPlusZero && x.hasMinusZero)) {
            x.planes[k] = SortedFieldPlanes(tz, Kind);
        } else {
            x.planes[k] = DoubleArray(x.sortedHeights);
            ApplyKind(x.planes[k], Kind);
        }
        x.planesValid[k] = true;
    }
    return x.planes[k];
}
