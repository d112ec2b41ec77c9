#include "foundation/ColorLib.h"

#include <cmath>

#include "foundation/MathLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr gdi::TColor kNone = gdi::clNone;
constexpr gdi::TColor kDefault = gdi::clDefault;
constexpr gdi::TColor kSysColor = 0xFF000000;

// Indexes 32..55.
constexpr gdi::TColor kNamedColors[] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xC0C0C0,
    0x808080, 0xFFFFFF, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0, kNone,    kDefault,
};

// Indexes 150..167.
constexpr gdi::TColor kExtraColors[] = {
    0xF0F7F5, 0x83E2AB, 0x7E82FE, 0xBCF5FE, 0xFDAEFF, 0x0054A6, 0x31637B, 0x00DEFF, 0xA56E3A,
    0xFEF601, 0xED0FC8, 0xE8CBCA, 0xD6F1D1, 0xDFDEEB, 0xDCDCDC, 0x31BEFB, 0xA2D3F9, 0xD57500,
};

// Round(NthRoot(4, X) * 255) for X in (0, 1]. The fourth root by two square roots agrees with
// the logarithmic one to a few ulps; only a product within a hair of a .5 boundary takes the
// slow reference path, so the result is the same.
int ScaleValue(double X)
{
    const double P = std::sqrt(std::sqrt(X)) * 255.0;
    const int I = static_cast<int>(P);  // P >= 0
    const double Frac = P - I;
    if (std::fabs(Frac - 0.5) < 1e-9) return static_cast<int>(rtl::Round(NthRoot(4, X) * 255.0L));
    return Frac > 0.5 ? I + 1 : I;
}

}  // namespace

void HSVToRGB(int H, int S, int V, int& R, int& G, int& B)
{
    if (S == 0) {
        R = G = B = V;
        return;
    }
    if (H == 360) H = 0;
    const int F = H % 60;
    const int P = V - (S * V) / 255;
    const int Q = V - (S * V * F) / 15300;
    const int T = V - (S * V * (60 - F)) / 15300;
    switch (H / 60) {
    case 0: R = V; G = T; B = P; break;
    case 1: R = Q; G = V; B = P; break;
    case 2: R = P; G = V; B = T; break;
    case 3: R = P; G = Q; B = V; break;
    case 4: R = T; G = P; B = V; break;
    default: R = V; G = P; B = Q; break;
    }
}

gdi::TColor HSVToColor(int H, int S, int V)
{
    int R, G, B;
    HSVToRGB(H, S, V, R, G, B);
    return static_cast<gdi::TColor>(R + 256 * G + 65536 * B);
}

gdi::TColor ValueToScaleColor(double X)
{
    if (X > 1) X = 1;
    if (!(X >= 0)) X = 0;  // also NaN
    // Extended precision as the reference computation; lrint rounds ties to even.
    const int H = static_cast<int>(std::lrint((1.0L - X) * 305.15L));
    const int V = X > 0 ? ScaleValue(X) : 0;
    return HSVToColor(H, 255, V);
}

gdi::TColor ColorIndexToColor(int Index)
{
    if (Index == 1 || Index == 2) return kSysColor;
    if (Index >= 3 && Index <= 26) return kSysColor | static_cast<gdi::TColor>(Index - 2);
    if (Index >= 27 && Index <= 31) return kSysColor | static_cast<gdi::TColor>(Index - 1);
    if (Index >= 32 && Index <= 55) return kNamedColors[Index - 32];
    if (Index >= 150 && Index <= 167) return kExtraColors[Index - 150];
    return kNone;
}

void TColorList::SetDefaults()
{
    Colors.fill(0xDCDCDC);
    Colors[0] = kNone;
    Colors[1] = 0x0000FF;
    Colors[2] = 0x008000;
    Colors[3] = 0xFF0000;
    Colors[4] = 0x00FFFF;
    Colors[5] = 0x000080;
    Colors[6] = 0x000000;
    Colors[7] = 0xFFFFFF;
}
