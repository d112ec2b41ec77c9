// Paths: between BeginPath and EndPath the figures a canvas draws (lines, polylines, polygons,
// rectangles, ellipses, rounded rectangles, arcs and text) are not painted but collected into
// the canvas's path, in logical coordinates. The closed path can then be stroked with the pen,
// filled with the brush (alternate filling), widened to the area the pen would paint, or turned
// into a region. Each of these uses the path up; BeginPath discards any path before it.
//
// A figure starts at MoveTo, at a polyline's first point and with every closed shape; LineTo
// continues the current figure from the pen position. Pixel rules follow the region functions
// (Regions.h): a pixel belongs to a path's region when its point (x + 1/64, y + 1/64) lies inside
// the path, so a rectangle (l, t, r, b) gives the columns l .. r - 1 and rows t .. b - 1.
#pragma once

#include "platform/gdi/Graphics.h"
#include "platform/gdi/Regions.h"

class QPainterPath;

namespace gdi {

// Opens a path bracket (discarding any path). False only for a bracket already open.
bool BeginPath(TCanvas& canvas);
// Closes the bracket; False when none is open.
bool EndPath(TCanvas& canvas);
// Discards the path and closes an open bracket; False when there is none.
bool AbortPath(TCanvas& canvas);
// Outlines the path with the canvas's pen. False without a closed path.
bool StrokePath(TCanvas& canvas);
// Fills the path's inside with the brush (and the pen mode). False without a closed path.
bool FillPath(TCanvas& canvas);
bool StrokeAndFillPath(TCanvas& canvas);
// Replaces the path by the area its outline covers when stroked with the canvas's pen (width
// at least 1, round ends and joins); the path stays for a following call. False without a
// closed path.
bool WidenPath(TCanvas& canvas);
// The inside of the path as a region (logical coordinates), or nullptr without a closed path.
HRGN PathToRegion(TCanvas& canvas);
// True while a bracket is open: drawing goes into the path.
bool PathOpen(const TCanvas& canvas);

namespace detail {
// For the canvas's drawing operations: the path being recorded, or nullptr.
QPainterPath* RecordingPath(const TCanvas& canvas);
// The canvas goes away: its path with it.
void ForgetPath(const TCanvas& canvas);
}  // namespace detail

}  // namespace gdi
