// The colour gradient property object and the routines that build and paint its colour table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "components/base/kitclass.h"
#include "components/base/kitgraph.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Graphics.h"

namespace kit {

using TKitColorTable = std::vector<gdi::TColor>;

// Appends count steps from startColor to endColor (system colours resolved first) to list; with
// clear the list is emptied first and the steps run 0 .. count-1, otherwise 1 .. count-1 (the
// start colour is the end of the previous run). A single step gives the start colour with clear
// and nothing otherwise. Nothing for a nil list or count 0.
void KitFillColorList(gdi::TColor startColor, gdi::TColor endColor, int count, bool clear,
                      TKitColorTable* list);
// A palette handle for the colours (0 for a nil or empty list).
gdi::HPALETTE KitCreateListPalette(const TKitColorTable* list);

inline constexpr unsigned kpgClip = 0x0001;
inline constexpr unsigned kpgOffscreen = 0x0004;
inline constexpr unsigned kpgPalette = 0x1000;
// Paints the colours over rect in the style. With kpgClip the painting is clipped to rect moved
// by clipOffset (X low, Y high 16 bits); the canvas's clip is the same afterwards. The pen and
// brush are put back.
void KitPaintGradient(gdi::TCanvas& canvas, const gdi::TRect& rect, TKitGradientStyle style,
                      const TKitColorTable* colors, gdi::HPALETTE palette, unsigned flags,
                      std::uint32_t clipOffset);

class TKitGradient : public TKitObject {
public:
    TKitGradient();
    ~TKitGradient() override;

    void Assign(const rtl::TPersistent* Source) override;
    void Change() override;
    void GetSummary(std::string& Text) override;

    gdi::TColor Color() const { return color_; }
    void SetColor(gdi::TColor value);
    TKitColorCount ColorCount() const { return colorCount_; }
    void SetColorCount(TKitColorCount value);
    TKitGradientStyle Style() const { return style_; }
    void SetStyle(TKitGradientStyle value);
    gdi::TColor EndColor() const { return endColor_; }
    void SetEndColor(gdi::TColor value);
    bool PaletteRealize() const { return paletteRealize_; }
    void SetPaletteRealize(bool value);
    bool TwoColors() const { return twoColors_; }
    void SetTwoColors(bool value);

    // The user colours of the multi-colour mode; change them, then call Change.
    TKitColorTable& ColorList() { return colorList_; }
    // The step colours, current after every change.
    const TKitColorTable& Colors() const { return colors_; }
    gdi::HPALETTE GetPalette() const { return palette_; }

protected:
    // "ColorList": a list of integers, stored when the list is not empty; reading appends.
    void DefineProperties(rtl::TFiler* Filer) override;

private:
    void CalcColors();
    void FreePalette();

    TKitColorCount colorCount_ = 16;
    gdi::TColor color_ = gdi::clBlue;
    TKitColorTable colors_;
    gdi::TColor endColor_ = gdi::clBlack;
    bool paletteRealize_ = false;
    gdi::HPALETTE palette_ = 0;
    TKitGradientStyle style_ = gstVertical;
    TKitColorTable colorList_;
    bool twoColors_ = true;
};

}  // namespace kit
