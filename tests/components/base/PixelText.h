// A small bitmap as text, one character per pixel, for pixel-exact comparisons.
#pragma once

#include <map>
#include <string>

#include "platform/gdi/Graphics.h"

namespace kit::test {

// '.' white, '#' black, 'Y' yellow, 'B' blue, 'R' red, 'G' lime, '?' anything else; rows end
// in '\n'.
inline std::string PixelText(gdi::TBitmap& bmp, const std::map<gdi::TColor, char>& extra = {}) {
    std::map<gdi::TColor, char> chars = {{gdi::clWhite, '.'}, {gdi::clBlack, '#'},
                                         {gdi::clYellow, 'Y'}, {gdi::clBlue, 'B'},
                                         {gdi::clRed, 'R'},   {gdi::clLime, 'G'}};
    for (const auto& [c, ch] : extra) chars[c] = ch;
    std::string s;
    for (int y = 0; y < bmp.Height(); ++y) {
        for (int x = 0; x < bmp.Width(); ++x) {
            auto it = chars.find(bmp.Canvas()->Pixels(x, y));
            s += it == chars.end() ? '?' : it->second;
        }
        s += '\n';
    }
    return s;
}

}  // namespace kit::test
