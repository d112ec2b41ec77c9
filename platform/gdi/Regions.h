// Regions and elliptic arcs.
//
// A region is a set of pixels held as a QRegion behind a handle (HRGN). Shapes follow the
// original platform's pixel rules: a rectangle (l, t, r, b) covers the columns l .. r - 1 and
// rows t .. b - 1; a polygon covers the pixels whose point (x + 1/64, y + 1/64) lies inside it
// (the same pixels the canvas fills for the polygon's interior), so the right and bottom edges
// of a rectangle-shaped polygon stay outside (a point exactly on a slanted edge belongs to the
// span left of the edge); an ellipse or a rounded corner covers the pixels
// whose centre lies strictly inside the ellipse inscribed in its box. Region coordinates are
// logical when a region is painted (the canvas origin moves them).
//
// Arcs, pies and chords take the ellipse's bounding box and two points that only give
// directions: the figure starts where the radial from the centre towards the first point meets
// the ellipse and runs counter-clockwise (as seen on the screen) to where the radial towards
// the second point meets it; the same direction twice gives the whole ellipse.
#pragma once

#include <cstdint>
#include <span>

#include <QRegion>

#include "platform/gdi/Graphics.h"

namespace gdi {

struct RegionObject;
using HRGN = RegionObject*;

// Results of the region functions.
inline constexpr int RGN_ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// CombineRgn modes.
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;

// Polygon fill modes.
inline constexpr int ALTERNATE = 1;
inline constexpr int WINDING = 2;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
inline HRGN CreateRectRgnIndirect(const TRect& r) { return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom); }
// Corner ellipses of ellipseW x ellipseH (clamped to the box; 0 gives a plain rectangle).
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseW, int ellipseH);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
inline HRGN CreateEllipticRgnIndirect(const TRect& r) { return CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom); }
// ALTERNATE: a pixel is inside when the sample point crosses an odd number of edges; WINDING:
// when the edges wind around it. Fewer than 3 points give an empty region; another fill mode
// gives nullptr.
HRGN CreatePolygonRgn(std::span<const TPoint> points, int fillMode);
// A region holding exactly `region` (for the window layer and tests).
HRGN CreateRgnFromQRegion(const QRegion& region);

// Frees the region; False for nullptr or a handle that is not (or no longer) a region.
bool DeleteObject(HRGN region);

// dest := src1 op src2 (src2 unused for RGN_COPY). dest may be one of the sources. Returns the
// kind of the result (NULLREGION, SIMPLEREGION, COMPLEXREGION) or RGN_ERROR for an invalid
// handle or mode (dest unchanged).
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
bool PtInRegion(HRGN region, int x, int y);
bool RectInRegion(HRGN region, const TRect& r);  // True when any pixel of r is in the region
bool EqualRgn(HRGN a, HRGN b);
// The bounding box (all zero when empty); the kind of the region.
int GetRgnBox(HRGN region, TRect& box);
// Replaces the region by the rectangle.
bool SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// The pixels of the region (RegionObject is opaque outside this layer); empty for nullptr.
QRegion RegionToQRegion(HRGN region);

// ---- Region data ---------------------------------------------------------------------------
// The raw form: a 32-byte header, then nCount rectangles of 16 bytes (left, top, right,
// bottom), little-endian 32-bit each, in rows from top to bottom and left to right inside a row.
inline constexpr std::uint32_t RDH_RECTANGLES = 1;
#pragma pack(push, 1)
struct RGNDATAHEADER {
    std::uint32_t dwSize;    // 32
    std::uint32_t iType;     // RDH_RECTANGLES
    std::uint32_t nCount;    // rectangles that follow
    std::uint32_t nRgnSize;  // their bytes (nCount * 16)
    TRect rcBound;
};
#pragma pack(pop)
static_assert(sizeof(RGNDATAHEADER) == 32 && sizeof(TRect) == 16);

// With data nullptr: the bytes the region's data take. Otherwise writes the data when count
// is large enough and returns count; 0 when count is too small or the handle is invalid.
std::uint32_t GetRegionData(HRGN region, std::uint32_t count, void* data);
// A region from raw data of `count` bytes. transform must be nullptr (no transforms here).
// nullptr when the header is not a rectangle header or the rectangles do not fit in count.
HRGN ExtCreateRegion(const void* transform, std::uint32_t count, const void* data);

// ---- Painting ------------------------------------------------------------------------------
// Fills the region with the canvas's brush (solid or hatched), combined with the destination
// by the pen mode, as the original platform's mix mode does. Honours the origin and the clip.
bool FillRgn(TCanvas& canvas, HRGN region);
// Fills the region with `pattern` repeated from the device origin (8 x 8 brush patterns),
// combined with the destination by the pen mode.
bool FillRgnPattern(TCanvas& canvas, HRGN region, const TBitmap& pattern);
// Paints a frame inside the region's edge, width pixels wide left and right and height
// pixels top and bottom, with the canvas's brush and pen mode.
bool FrameRgn(TCanvas& canvas, HRGN region, int width, int height);

// ---- Arcs ----------------------------------------------------------------------------------
// The outline with the pen (no fill). An inverted box (right < left or bottom < top) is put in
// order first.
void Arc(TCanvas& canvas, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
// The arc closed by two lines to the centre, filled with the brush.
void Pie(TCanvas& canvas, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
// The arc closed by the line between its ends, filled with the brush.
void Chord(TCanvas& canvas, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

}  // namespace gdi
