// The clipboard: text and bitmaps.
#pragma once

#include <string>

#include "platform/gdi/Graphics.h"

namespace gui {

class TClipboard {
public:
    std::string AsText() const;
    void SetAsText(const std::string& text);
    // Puts a copy of the bitmap on the clipboard (replacing its content).
    void Assign(const gdi::TBitmap& bitmap);
    void Assign(const gdi::TPicture& picture);
    bool HasText() const;
    bool HasBitmap() const;
    // The clipboard's image as a bitmap; False when it holds none.
    bool GetBitmap(gdi::TBitmap& bitmap) const;
    void Clear();
};

TClipboard* Clipboard();

}  // namespace gui
