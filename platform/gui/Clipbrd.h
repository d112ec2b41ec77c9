// The clipboard: text and bitmaps.
#pragma once

#include <string>

#include "platform/gdi/Graphics.h"

namespace gui {

// Standard clipboard formats.
inline constexpr unsigned CF_TEXT = 1, CF_BITMAP = 2, CF_OEMTEXT = 7, CF_UNICODETEXT = 13;

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
    // Whether the clipboard offers Format: the text formats whenever it holds text, CF_BITMAP
    // whenever it holds an image.
    bool HasFormat(unsigned Format) const;
};

TClipboard* Clipboard();

}  // namespace gui
