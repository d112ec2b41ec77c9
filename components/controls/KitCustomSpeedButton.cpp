#include "components/controls/KitCustomSpeedButton.h"

#include "components/base/KitDrawButtonFace.h"
#include "components/base/kitapp.h"

namespace kit {

using namespace gui;
using gdi::TRect;

TKitCustomSpeedButton::TKitCustomSpeedButton(rtl::TComponent* AOwner) : TKitBaseGraphicButton(AOwner) {
    SetHotTrack(true);
    RectHitTest = false;
    CtlXP = true;
    SetBounds(Left(), Top(), 23, 22);
}

void TKitCustomSpeedButton::SetStyle(TKitUserButtonStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    Glyph()->SetUncoloredUp(Value == ubsFlatUnColored || Value == ubsNavigator || Value == ubsExplorer);
    TControlStyle cs = ControlStyle();
    if (Value == ubsExplorer || Value == ubsExplorerColored || Value == ubsWinXPTool) cs.Exclude(csOpaque);
    else cs.Include(csOpaque);
    SetControlStyle(cs);
    ContentChanged(this);
}

bool TKitCustomSpeedButton::ThemedDrawingSupported() {
    return style_ == ubsAutoDetect || style_ >= ubsWinXP;
}

bool TKitCustomSpeedButton::HotTracking() {
    if (style_ == ubsAutoDetect) return KitApplication->ThemesEnabled();
    return (style_ >= ubsDelphiFlat && style_ <= ubsExplorerColored) || style_ >= ubsWinXP;
}

bool TKitCustomSpeedButton::OneStateGlyph() {
    if (style_ >= ubsWinXP) return true;
    return style_ == ubsAutoDetect && KitApplication->ThemesEnabled();
}

void TKitCustomSpeedButton::ImageListChange(rtl::TObject* Sender) {
    if (blockImageList_) return;
    TKitBaseGraphicButton::ImageListChange(Sender);
}

std::uint8_t TKitCustomSpeedButton::MainState() const {
    // With a split face the shown menu belongs to the strip.
    if (HasDropDown() && State() == kbsMenu) return kbsUp;
    return State();
}

std::uint8_t TKitCustomSpeedButton::StripState() const {
    switch (State()) {
    case kbsPushed:
    case kbsDown: return kbsUp;
    default: return State();
    }
}

TRect TKitCustomSpeedButton::ContentRect() {
    TRect r = CalcContentRect();
    const int frame = KitButtonBorderWidth(style_);
    gdi::InflateRect(r, -frame, -frame);
    const std::uint8_t s = MainState();
    if (s == kbsDown || s == kbsPushed) gdi::OffsetRect(r, 1, 1);
    return r;
}

void TKitCustomSpeedButton::DrawArrow(gdi::TCanvas& C, const TRect& Strip, bool Pushed) {
    constexpr int size = 3;
    int cx = (Strip.Left + Strip.Right) / 2;
    int top = (Strip.Top + Strip.Bottom - size) / 2;
    if (Pushed) {
        ++cx;
        ++top;
    }
    C.Pen()->SetStyle(gdi::psSolid);
    C.Pen()->SetWidth(1);
    C.Pen()->SetColor(Enabled() ? gdi::clBtnText : gdi::clGrayText);
    for (int i = 0; i < size; ++i) {
        const int half = size - 1 - i;
        C.MoveTo(cx - half, top + i);
        C.LineTo(cx + half + 1, top + i);
    }
}

void TKitCustomSpeedButton::Paint() {
    if (Loading() || !Visible()) return;
    gdi::TCanvas& c = *Canvas();
    const TRect client = ClientRect();
    if (style_ == ubsExplorer || style_ == ubsExplorerColored || style_ >= ubsWinXP) {
        // No parent here supplies a background bitmap: the face colour stands in for it.
        c.Brush()->SetStyle(gdi::bsSolid);
        c.Brush()->SetColor(Color());
        c.FillRect(client);
    }
    std::uint16_t flags = style_ == ubsWin40 ? kbf3DBorder : 0;
    TRect main = CalcContentRect();
    const std::uint8_t mainState = MainState();
    KitDrawButtonFace(Parent(), c, mainState == kbsHot, main, style_, mainState, flags, Color());
    if (HasDropDown()) {
        TRect strip = gdi::Rect(client.Right - DropDownComboWidth(), client.Top, client.Right, client.Bottom);
        const std::uint8_t stripState = StripState();
        if (style_ == ubsWinXPTool) flags |= kbfSplit | kbfDropDown;
        TRect face = strip;
        KitDrawButtonFace(Parent(), c, stripState == kbsHot, face, style_, stripState, flags, Color());
        const bool themedArrow = (style_ == ubsWinXPCombo || style_ == ubsWinXPTool) && KitApplication->ThemesEnabled();
        if (!themedArrow) DrawArrow(c, strip, KitButtonStatePressed(stripState));
    }
    DrawContent(c, ContentRect());
}

}  // namespace kit
