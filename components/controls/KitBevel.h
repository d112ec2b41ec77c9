// The border of the library's controls: styles, widths and colours of a bevel, the room it takes
// (BevelExtent on the left and top, BevelExtentFar on the right and bottom), the rectangle left
// inside it, and its painting. A change-notifying property object: every change recomputes the
// extents and fires OnChange, on which the owner repaints or re-aligns its children.
#pragma once

#include <string>

#include "components/base/kitclass.h"
#include "components/base/kitgraph.h"
#include "platform/gdi/Graphics.h"

namespace kit {

class TKitBevel : public TKitObject {
public:
    TKitBevel();

    TKitBevelStyle StyleInner() const { return styleInner_; }
    TKitBevelStyle StyleOuter() const { return styleOuter_; }
    // bvShadow is one look for both sides: setting it on one side sets the other side too, and
    // leaving it on one side clears the other (written directly, without a second Change).
    void SetStyleInner(TKitBevelStyle v) { SetStyle(false, v); }
    void SetStyleOuter(TKitBevelStyle v) { SetStyle(true, v); }
    TKitBevelWidth WidthInner() const { return widthInner_; }
    TKitBevelWidth WidthOuter() const { return widthOuter_; }
    void SetWidthInner(TKitBevelWidth v);
    void SetWidthOuter(TKitBevelWidth v);
    // Index 0 BorderColor, 1 LightColor, 2 ShadowColor.
    gdi::TColor GetColor(int Index) const;
    void SetColor(int Index, gdi::TColor v);
    gdi::TColor BorderColor() const { return GetColor(0); }
    gdi::TColor LightColor() const { return GetColor(1); }
    gdi::TColor ShadowColor() const { return GetColor(2); }
    void SetBorderColor(gdi::TColor v) { SetColor(0, v); }
    void SetLightColor(gdi::TColor v) { SetColor(1, v); }
    void SetShadowColor(gdi::TColor v) { SetColor(2, v); }
    TKitBorderWidth BorderInnerWidth() const { return borderInnerWidth_; }
    TKitBorderWidth BorderWidth() const { return borderWidth_; }
    void SetBorderInnerWidth(TKitBorderWidth v);
    void SetBorderWidth(TKitBorderWidth v);
    TKitFrameSides BorderSides() const { return borderSides_; }
    void SetBorderSides(TKitFrameSides v);
    TKitEdgeStyle EdgeStyle() const { return edgeStyle_; }
    void SetEdgeStyle(TKitEdgeStyle v);
    TKitBevelMode Mode() const { return mode_; }
    void SetMode(TKitBevelMode v);
    TKitBorderStyle StandardStyle() const { return standardStyle_; }
    // Notifies only in bmStandard, the one mode that draws it.
    void SetStandardStyle(TKitBorderStyle v);

    // Set by an owner whose window border is the frame of bmWindows (a bevel panel): the bevel
    // then takes nothing of the client area in that mode.
    bool WindowFrameExternal = false;

    // Valid after the first Change; 0 on a fresh bevel.
    int BevelExtent() const { return bevelExtent_; }
    int BevelExtentFar() const { return bevelExtentFar_; }

    void Assign(const rtl::TPersistent* Source) override;
    void Change() override;
    void GetSummary(std::string& Text) override;

    int CalcExtent() const;
    gdi::TRect BevelClientRect(const gdi::TRect& Rect) const;
    // Paints the bevel into Rect and gives the rectangle inside it. Transparent leaves the
    // border frames in BorderColor unpainted (their room is taken all the same).
    void PaintBevel(gdi::TCanvas& Canvas, const gdi::TRect& Rect, bool Transparent,
                    gdi::TRect& Result) const;
    // True after a Mode switch into or out of bmWindows with WindowFrameExternal set, or while
    // Mode is bmWindows with WindowFrameExternal set; clears the switch mark.
    bool WindowFrameChanged();

private:
    void SetStyle(bool outer, TKitBevelStyle v);
    bool ShadowLook() const { return mode_ == bmCustom && styleOuter_ == bvShadow; }
    void BorderFrames(gdi::TCanvas& Canvas, gdi::TRect& r, int n, bool Transparent) const;

    TKitBevelStyle styleInner_ = bvNone;
    TKitBevelStyle styleOuter_ = bvNone;
    TKitBevelWidth widthInner_ = 1;
    TKitBevelWidth widthOuter_ = 1;
    gdi::TColor colors_[3] = {gdi::clBtnFace, gdi::clBtnHighlight, gdi::clBtnShadow};
    TKitBorderWidth borderInnerWidth_ = 0;
    TKitBorderWidth borderWidth_ = 0;
    TKitFrameSides borderSides_{fsBottom, fsLeft, fsRight, fsTop};
    TKitEdgeStyle edgeStyle_ = etEtched;
    int bevelExtent_ = 0;
    int bevelExtentFar_ = 0;
    TKitBevelMode mode_ = bmCustom;
    TKitBorderStyle standardStyle_ = lsSingleLowered;
    bool frameModeChanged_ = false;
};

}  // namespace kit
