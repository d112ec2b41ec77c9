// Drawing helpers on a canvas with one colour argument: pixels, dots, lines, rectangles,
// crosses, arrows and text; fonts and pens from short description strings.
//
// Coordinates are integer pixels, y growing downwards. Lines leave out their end point and
// rectangles their right and bottom edges, as the canvas draws them. Unless said otherwise a
// helper puts brush and pen (and the font) back as it found them. A null canvas draws nothing.
#pragma once

#include <string>

#include "platform/gdi/Graphics.h"

// Fills the clip rectangle with Color.
void CanvasClear(gdi::TCanvas* Canvas, gdi::TColor Color);
// Fills the clip rectangle with white ($FFFFFF).
void CanvasClearWhite(gdi::TCanvas* Canvas);
// Sets one pixel.
void CanvasPixel(gdi::TCanvas* Canvas, int X, int Y, gdi::TColor Color);
// Filled circle: the ellipse in the box (X-R, Y-R)..(X+R, Y+R), pen and brush in Color.
void CanvasDot(gdi::TCanvas* Canvas, int X, int Y, int R, gdi::TColor Color);
// Line from (X1, Y1) to (X2, Y2) with the pen in Color.
void CanvasLine(gdi::TCanvas* Canvas, int X1, int Y1, int X2, int Y2, gdi::TColor Color);
// Outline of (X, Y)..(X+W, Y+H) in Color with the current pen width and style. Leaves the pen
// colour at Color and the brush at Color with the clear style.
void CanvasFrameRect(gdi::TCanvas* Canvas, int X, int Y, int W, int H, gdi::TColor Color);
// Solid rectangle (X, Y)..(X+W, Y+H): solid pen and solid brush in Color.
void CanvasFillRect(gdi::TCanvas* Canvas, int X, int Y, int W, int H, gdi::TColor Color);
// The same with an outline of its own colour.
void CanvasFillRect2(gdi::TCanvas* Canvas, int X, int Y, int W, int H, gdi::TColor PenColor,
                     gdi::TColor BrushColor);
// Two diagonal lines through (X, Y): (X-R, Y-R)..(X+R, Y+R) and (X-R, Y+R)..(X+R, Y-R).
void CanvasCross(gdi::TCanvas* Canvas, int X, int Y, int R, gdi::TColor Color);
// Two strokes of length Len from the tip (X, Y) backwards against the direction AngleDeg
// (degrees counter-clockwise from the positive x axis, y pointing up), 30 degrees to either
// side: first the stroke at AngleDeg - 30, then the one at AngleDeg + 30.
void CanvasArrowHead(gdi::TCanvas* Canvas, int X, int Y, int Len, int AngleDeg,
                     gdi::TColor Color);
// Line from (X1, Y1) to (X2, Y2) with a head at (X2, Y2). HeadLen > 0: the head length in
// pixels; 0: 15 % of the line length; < 0: |HeadLen| percent of the line length.
void CanvasArrow(gdi::TCanvas* Canvas, int X1, int Y1, int X2, int Y2, gdi::TColor Color,
                 int HeadLen);
// Text with its top-left corner at (X, Y) in FontColor on a solid BrushColor background.
// Leaves the font colour at FontColor.
void CanvasTextOut(gdi::TCanvas* Canvas, int X, int Y, const std::string& Text,
                   gdi::TColor FontColor, gdi::TColor BrushColor);

void CanvasFontSize(gdi::TCanvas* Canvas, int Size);  // points
void CanvasFontName(gdi::TCanvas* Canvas, const std::string& Name);
// Font style := bold only.
void CanvasFontBold(gdi::TCanvas* Canvas);

// Sets the canvas font from comma-separated tokens, applied in order and compared without
// case but not trimmed: digits set the size in points; "Normal" clears the style; "Bold",
// "Underline", "StrikeOut", "Italic" add a style; "Arial", "Times" (Times New Roman), "Comic"
// (Comic Sans MS) and "Courier" (Courier New) set the face. Other tokens are ignored.
void FontFromString(gdi::TCanvas* Canvas, const std::string& Desc);
// Sets the canvas pen the same way: digits set the width; "pmBlack", "pmWhite", "pmNot",
// "pmCopy", "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge",
// "pmNotMerge", "pmMask", "pmXor", "pmNotXor" the mode; "psSolid", "psDash", "psDot",
// "psDashDot", "psDashDotDot", "psClear", "psInsideFrame" the style. Other tokens are ignored.
void PenFromString(gdi::TCanvas* Canvas, const std::string& Desc);
