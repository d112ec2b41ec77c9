// The viewer's data model: the merged field-point set, the plane list and the current plane,
// powers, limits, scaling, overlay geometry, the cut line and the start-up settings. They live
// as long as the program; the main window's operations read and write them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "foundation/ClassesLib.h"
#include "foundation/cUtils.h"
#include "platform/gdi/Graphics.h"
#include "viewer/AntPoints.h"
#include "viewer/SkalarFeld2.h"

class TFormFeldor;

struct BezugsWert {
    double E = 0;  // V/m
    double H = 0;  // A/m
    double Z = 0;  // Ohm
};

namespace FeldorU {

// Field-type offsets of the stored height and the height windows (stored height, closed).
inline constexpr double HOffset = 100;
inline constexpr double ZOffset = 200;
inline constexpr double EWindowLo = -49, EWindowHi = 60;
inline constexpr double HWindowLo = 80, HWindowHi = 160;
inline constexpr double ZWindowLo = 180, ZWindowHi = 260;

extern TFormFeldor* FormFeldor;

// The point set: seven parallel arrays, always of equal length.
extern DoubleArray tx, ty, tz, tE, tEx, tEy, tEz;

extern DoubleArray PlaneList;
extern std::unique_ptr<TSkalarFeld2> CurrentPlane;
extern double PlaneHeight;
extern double CurrentHeight;
extern bool HasEPlanes, HasHPlanes, HasZPlanes;
// FieldShown: the map shows the current plane (a render succeeded since the last reset or
// plane change); read-out and clicks act only then. FieldLoaded: a field was imported or loaded,
// so changes of plane or setting render the map.
extern bool FieldShown;
extern bool FieldLoaded;
extern double Power;
extern double PowerShow;
extern int16_t FeldTyp;
extern double GrenzwertPS, GrenzwertHSM, BezugsFeld, ArrowPos;
extern double PlaneXMin, PlaneXMax, PlaneYMin, PlaneYMax, PixelPerMeter, ScreenScale,
    ScreenOriginX, ScreenOriginY;
extern BezugsWert BezugsTabelle[8];  // rows 1..7 are used
extern std::unique_ptr<TAntPoints> Antenne, Boden;
extern gdi::TColor ColorOrigin, ColorBoden, ColorMessPkt;
extern double CutP1x, CutP1y, CutP2x, CutP2y;
extern int CutPointCount;
extern bool CutSecondClick;
extern Vektor2Array CutPoints;
extern bool DebugMode;

// Start-up and settings.
extern std::string ProgDir, ProgTitle, ProgVersion, ProgNotice;
extern std::string EZNECDir, MMANADir, Dir4nec2, NECWinProDir, FeldorDir;
extern int MessTop, MessLeft, SkriptTop, SkriptLeft, SkriptHeight, SkriptWidth;
extern bool SkriptVisible, MesswertVisible;
extern std::string SaveTarget, LoadedFile;
// Directory of the settings file when not empty (else the executable's directory); tests use a
// directory of their own.
extern std::string ProgDirOverride;

// Number of points in the set.
inline int PointCount() { return tE.Length(); }

// A point set read beside the viewer's: an import reads its files into one and puts it in
// place of the shown field only when every file was read. It holds the powers its files set
// and the lines they give for the script window.
struct FieldPoints {
    DoubleArray tx, ty, tz, tE, tEx, tEy, tEz;
    double Power = 1;
    double PowerShow = 750;
    std::vector<std::string> Log;
    int Count() const { return tE.Length(); }
};

}  // namespace FeldorU

// ---- Plane index ----------------------------------------------------------------------------
// The distinct stored heights of the point set and, for each, the indices of its points in
// ascending order, built in one pass over tz on first use after the set changed. The plane lists
// of FieldPlanes(tz, ...) come from it. Appending to the arrays and swapping them for others is
// noticed; code that changes stored values in place calls PointSetChanged.
void PointSetChanged();
// Points OldCount.. were appended to the arrays and the earlier ones are unchanged: an index that
// was current for the first OldCount points takes in the new ones without a rebuild.
void PointSetAppended(int OldCount);
// Indices (ascending) of the points whose stored height lies in Lo..Hi (closed; no point for a
// bound that is not a number). The view stays valid until the point set or Scratch changes.
std::span<const int32_t> PointsInHeightRange(double Lo, double Hi, std::vector<int32_t>& Scratch);

// The trace lines of a plane load of Count points at Height (LoadPlane in debug mode), for code
// that takes a plane's points without loading it.
void TraceLoadingPlane(TFormFeldor& Form, double Height);
void TraceLoadedPlane(TFormFeldor& Form, double Height, int Count);

// Empties the seven point arrays and gives their memory back.
void ClearFeld2Dim();
// Puts the points of From in place of the point set (their memory moves over, nothing is
// copied) and leaves From's arrays empty; the powers and lines stay with From.
void TakeFieldPoints(FeldorU::FieldPoints& From);
// Appends one point to all seven arrays.
void AppendFieldPoint(double x, double y, double z, double E, double Ex, double Ey, double Ez);
// The distinct plane heights of one field type (1 E, 2 H, 3 impedance), without offset,
// ascending; any other kind gives the sorted distinct heights unchanged. For FeldorU::tz the
// result comes from the plane index (computed once per change of the point set).
DoubleArray FieldPlanes(const DoubleArray& Heights, int Kind);
// The same computed from Heights by sorting a copy, whatever array it is.
DoubleArray SortedFieldPlanes(const DoubleArray& Heights, int Kind);
