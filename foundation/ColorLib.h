// The field colour scale (dark violet through blue, green and yellow to red, brighter towards
// 1), integer HSV conversion, colour index numbers and a 256-entry colour table.
// Colour values are $00BBGGRR; $FF0000nn is system colour nn, $1FFFFFFF no colour and
// $20000000 the default colour.
#pragma once

#include <array>
#include <cstdint>

#include "platform/gdi/Graphics.h"
#include "platform/rtl/Classes.h"

// Hue H in whole degrees 0..360 (360 counts as 0), S and V in 0..255; integer arithmetic.
void HSVToRGB(int H, int S, int V, int& R, int& G, int& B);
gdi::TColor HSVToColor(int H, int S, int V);

// The scale colour of X; X is clipped to 0..1 (NaN counts as 0). Cheap enough to be called
// once per pixel.
gdi::TColor ValueToScaleColor(double X);
// ValueToScaleColor of X[0..N-1] into Out[0..N-1].
void ValuesToScaleColors(const double* X, gdi::TColor* Out, int N);

// The colour of a colour index number (antenna files); no colour for unlisted indexes.
gdi::TColor ColorIndexToColor(int Index);

class TColorList : public rtl::TObject {
public:
    // Slot 0 no colour, 1..7 red, green, blue, yellow, maroon, black, white, then light grey.
    void SetDefaults();
    std::array<gdi::TColor, 256> Colors{};
};
