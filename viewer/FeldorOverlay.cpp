// Main window: the antenna and ground overlay drawn on ImageOvl over the colour map.
#include "foundation/ColorLib.h"
#include "foundation/GrafikToolsLib.h"
#include "platform/rtl/SysUtils.h"
#include "viewer/FeldorU.h"

using namespace FeldorU;

namespace {

// Screen position of a world point on the rendered plane (top view; z is not used).
gdi::TPoint ScreenPos(double x, double y) {
    const long double s = ScreenScale;
    const auto sx = rtl::Round((static_cast<long double>(x) - PlaneXMin) * s);
    const auto sy = rtl::Round((static_cast<long double>(PlaneYMax) - PlaneYMin) * s) -
                    rtl::Round((static_cast<long double>(y) - PlaneYMin) * s);
    return gdi::Point(static_cast<int>(sx), static_cast<int>(sy));
}

}  // namespace

void TFormFeldor::DrawAnt() {
    gdi::TBitmap* bmp = ImageOvl->Picture()->Bitmap();
    // The layer is cleared white; white is what lets the map show through, whatever colour a
    // segment leaves in the bottom-left corner.
    bmp->SetTransparentColor(gdi::clWhite);
    gdi::TCanvas& c = *ImageOvl->Canvas();
    // What was drawn shows also when a bad antenna name ends the drawing early.
    struct ShowAtEnd {
        gui::TImage* image;
        ~ShowAtEnd() { image->Invalidate(); }
    } show{ImageOvl};

    const gdi::TPoint origin = ScreenPos(0, 0);
    CanvasDot(&c, origin.X, origin.Y, 3, ColorOrigin);
    c.Pen()->SetWidth(3);

    const int n = Antenne->Trim();
    for (int i = 0; i <= n - 2; ++i) {
        const gdi::TPoint p = ScreenPos(Antenne->x[i], Antenne->y[i]);
        c.MoveTo(p.X, p.Y);
        const int colorIndex = rtl::StrToInt(Antenne->Names[i]);
        c.Pen()->SetColor(ColorIndexToColor(colorIndex));
        if (colorIndex > 0) {
            const gdi::TPoint q = ScreenPos(Antenne->x[i + 1], Antenne->y[i + 1]);
            c.LineTo(q.X, q.Y);
        }
    }

    c.Pen()->SetColor(ColorBoden);
    c.Pen()->SetWidth(3);
    const int m = Boden->Trim();
    for (int i = 0; i <= m - 2; ++i) {
        const gdi::TPoint p = ScreenPos(Boden->x[i], Boden->y[i]);
        c.MoveTo(p.X, p.Y);
        if (Boden->Names[i] == "1") {
            const gdi::TPoint q = ScreenPos(Boden->x[i + 1], Boden->y[i + 1]);
            c.LineTo(q.X, q.Y);
        }
    }
}

void TFormFeldor::ButZeigenClick(rtl::TObject*) {
    ImageOvl->SetVisible(true);
    DrawAnt();
}

void TFormFeldor::ButHideOvlClick(rtl::TObject*) { ImageOvl->SetVisible(false); }
