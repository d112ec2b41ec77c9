// A graphic button that paints its face in one of the library's button styles, with a split
// face and a small arrow when it has a drop-down strip.
#pragma once

#include "components/base/kitgraph.h"
#include "components/controls/KitBaseGraphicButton.h"

namespace kit {

class TKitCustomSpeedButton : public TKitBaseGraphicButton {
public:
    explicit TKitCustomSpeedButton(rtl::TComponent* AOwner);

    TKitUserButtonStyle Style() const { return style_; }
    // Flat uncoloured, navigator and explorer looks show an uncoloured glyph while up; the
    // explorer looks and the XP tool look lie on the parent's background (not opaque).
    void SetStyle(TKitUserButtonStyle Value);

    // The content rectangle of the face for the current state (the main part of a split face).
    gdi::TRect ContentRect();

protected:
    void Paint() override;
    bool ThemedDrawingSupported() override;
    bool HotTracking() override;
    bool OneStateGlyph() override;
    void ImageListChange(rtl::TObject* Sender) override;

private:
    // The face state of the main part and of the arrow strip.
    std::uint8_t MainState() const;
    std::uint8_t StripState() const;
    void DrawArrow(gdi::TCanvas& C, const gdi::TRect& Strip, bool Pushed);

    TKitUserButtonStyle style_ = ubsAutoDetect;
    bool blockImageList_ = false;
};

}  // namespace kit
