#include "components/base/KitAppStandIn.h"

#include <memory>

#include "components/base/KitXPStyles.h"

namespace kit {

using namespace gdi;

bool KitStandInThemesEnabled() {
    return KitThemeLibraryLoaded && KitThemeFunctions.IsThemeActive != nullptr &&
           KitThemeFunctions.IsThemeActive();
}

TBitmap* KitStandInPatternBitmap(TColor color) {
    static std::unique_ptr<TBitmap> pattern;
    static TColor cached = clNone;
    if (pattern && color == cached) return pattern.get();
    if (!pattern) {
        pattern = std::make_unique<TBitmap>(8, 8);
        pattern->Canvas()->Brush()->SetColor(clWhite);
        pattern->Canvas()->FillRect(Rect(0, 0, 8, 8));
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x & 1) != (y & 1)) pattern->Canvas()->SetPixels(x, y, color);
    cached = color;
    return pattern.get();
}

}  // namespace kit
