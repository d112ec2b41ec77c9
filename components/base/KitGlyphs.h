// Button glyphs: a source bitmap of up to five state slices side by side, and the state images
// built from it on first use. The images lie masked in strips shared by all glyphs of one size
// (the glyph lists of the process-wide glyph cache); a strip goes as soon as no glyph uses it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "components/base/KitCaptions.h"
#include "components/base/kitcont.h"
#include "components/base/kitgraph.h"
#include "platform/gdi/Graphics.h"
#include "platform/rtl/Classes.h"

namespace kit {

// A masked strip of glyph images of one size with its used slots.
class TKitGlyphList : public TKitImageListItem {
public:
    // A masked item without owner of that image size; "Ungültige Grafikgröße" when either
    // extent is below 1.
    TKitGlyphList(int width, int height);

    // The first free slot; a new image when every slot is in use.
    int AllocIndex();
    // Takes a free slot for image (transparentColor transparent) and returns it.
    int AddGlyph(gdi::TBitmap& image, gdi::TColor transparentColor);
    // Frees the slot; its image stays in the strip for reuse.
    void Delete(int index);
    int Used() const { return used_; }

private:
    int used_ = 0;
    rtl::TBits usedSlots_;
};

// All glyph lists, at most one per size.
class TKitGlyphCache {
public:
    TKitGlyphCache();
    ~TKitGlyphCache();
    TKitGlyphCache(const TKitGlyphCache&) = delete;
    TKitGlyphCache& operator=(const TKitGlyphCache&) = delete;

    TKitGlyphList* GetList(int width, int height);
    // Frees list when no slot of it is used.
    void ReturnList(TKitGlyphList* list);
    bool IsEmpty() const { return lists_.empty(); }
    int Count() const { return static_cast<int>(lists_.size()); }

private:
    std::vector<std::unique_ptr<TKitGlyphList>> lists_;
};

// The cache; exists from the first glyph to the destruction of the last one (null otherwise).
extern TKitGlyphCache* KitGlyphCache;

// Options of TKitGlyph::Draw's option byte.
inline constexpr std::uint8_t kgoWordWrap = 0x01;
inline constexpr std::uint8_t kgoShowAccelChar = 0x02;

// States: 0 up, 1 disabled, 2 down, 3 latched, 4, 5 and 8 further button states, 6 a second
// disabled look, 7 the same as 1. Slice i of the source is the image of state i.
class TKitGlyph : public rtl::TObject {
public:
    TKitGlyph();
    ~TKitGlyph() override;
    TKitGlyph(const TKitGlyph&) = delete;
    TKitGlyph& operator=(const TKitGlyph&) = delete;

    gdi::TBitmap* Glyph() { return glyph_.get(); }
    // Copies bitmap (nil empties the glyph); a source whose width is one to five times its
    // height sets NumGlyphs to that count, a wider one of whole slices sets 1.
    void SetGlyph(const gdi::TBitmap* bitmap);
    std::uint8_t NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(std::uint8_t value);
    bool UncoloredUp() const { return uncoloredUp_; }
    void SetUncoloredUp(bool value);
    gdi::TColor TransparentColor() const { return transparentColor_; }

    // The index of the state's image in GlyphList(), built on first use; -1 when there is none.
    int GetStateIndex(int state);
    // Drops every built image and gives the glyph list back to the cache.
    void Invalidate();
    TKitGlyphList* GlyphList() const { return list_; }

    // The state's image (masked) and the caption laid out in rect by layout. flags are the
    // options of the glyph-text routine, textOptions the kgo bits; without an image only the
    // text is laid out and drawn.
    void Draw(gdi::TCanvas& canvas, const std::string& text, TKit3DCaption* caption,
              const gdi::TRect& rect, int state, const TKitGlyphTextLayout& layout,
              unsigned flags, std::uint8_t textOptions, unsigned format);

    rtl::TNotifyEvent OnChange;

private:
    void GlyphChanged(rtl::TObject* sender);

    std::unique_ptr<gdi::TBitmap> glyph_;
    std::array<int, 9> stateIndexes_;
    TKitGlyphList* list_ = nullptr;
    std::uint8_t numGlyphs_ = 1;
    bool uncoloredUp_ = false;
    gdi::TColor transparentColor_;
};

// The inner frame width of a button style.
std::uint8_t KitButtonBorderWidth(TKitUserButtonStyle style);

}  // namespace kit
