// Test helpers: a small bitmap rendered as text, one character per pixel.
#pragma once

#include <map>
#include <string>

#include "platform/gdi/Graphics.h"

namespace gdi::test {

// Rows joined by '\n' (read from the bitmap's pixels, not through its canvas); '.' for white, '#' for black, 'R' red, 'G' lime, 'B' blue, 'Y' yellow,
// 'C' aqua, '?' for anything else.
inline std::string Picture(TBitmap& bmp) {
    static const std::map<TColor, char> chars = {{clWhite, '.'}, {clBlack, '#'}, {clRed, 'R'},
                                                 {clLime, 'G'},  {clBlue, 'B'},  {clYellow, 'Y'},
                                                 {clAqua, 'C'}};
    std::string s;
    for (int y = 0; y < bmp.Height(); ++y) {
        for (int x = 0; x < bmp.Width(); ++x) {
            const std::uint8_t* p = bmp.Image().constScanLine(y) + x * (bmp.Image().depth() / 8);
            auto it = chars.find(RGB(p[2], p[1], p[0]));
            s += it == chars.end() ? '?' : it->second;
        }
        s += '\n';
    }
    return s;
}

// A white bitmap of w x h.
inline std::unique_ptr<TBitmap> White(int w, int h) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

}  // namespace gdi::test
