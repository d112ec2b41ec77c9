// A windowless label that draws its caption letter by letter along one of the shapes of
// kitgrlf, with a 3D caption effect, and optionally with the letter faces filled by a fill
// object (a gradient, a bitmap, a brush).
#pragma once

#include <memory>
#include <string>

#include "components/base/KitCaptions.h"
#include "components/base/kitfill.h"
#include "components/controls/KitGraphicControl.h"
#include "components/controls/kitgrlf.h"

namespace kit {

class TKitCustomGraphicLabel : public TKitGraphicControl {
public:
    explicit TKitCustomGraphicLabel(rtl::TComponent* AOwner);
    ~TKitCustomGraphicLabel() override;

    // From another graphic label: FontFX, Font, FillObject and the shape settings (Attributes,
    // Perspective, Transform, PerspectiveDepth, Toggle, Factor, AutoSize) with one refresh;
    // InvertCaption, BrushBackColor and Caption stay.
    void Assign(const rtl::TPersistent* Source) override;

    // Re-measures (AutoSize) and repaints; nothing while loading or without a parent.
    void ContentChanged(rtl::TObject* Sender) override;
    bool IsContentEmpty() override { return Caption().empty(); }

    TKitToggle Toggle() const { return toggle_; }
    // Refreshes only when taToggled is set.
    void SetToggle(TKitToggle Value);
    TKitFxCaption* FontFX() const { return fontFX_.get(); }
    void SetFontFX(const TKitFxCaption* Value) { fontFX_->Assign(Value); }
    // Index 2 Factor, 4 PerspectiveDepth (which refreshes only when taPerspective is set).
    int GetInteger(int Index) const;
    void SetInteger(int Index, int Value);
    int PerspectiveDepth() const { return perspectiveDepth_; }
    void SetPerspectiveDepth(int Value) { SetInteger(4, Value); }
    int Factor() const { return factor_; }
    void SetFactor(int Value) { SetInteger(2, Value); }
    TKitTransLabelTypes Transform() const { return transform_; }
    void SetTransform(TKitTransLabelTypes Value);
    TKitTransLabelAttr Attributes() const { return attributes_; }
    void SetAttributes(TKitTransLabelAttr Value);
    TKitPerspective Perspective() const { return perspective_; }
    void SetPerspective(TKitPerspective Value);
    // Index 1 AutoSize, 2 InvertCaption.
    bool GetBoolean(int Index) const;
    void SetBoolean(int Index, bool Value);
    bool InvertCaption() const { return invertCaption_; }
    void SetInvertCaption(bool Value) { SetBoolean(2, Value); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value) { SetBoolean(1, Value); }
    TKitFillObject* FillObject() const { return fillObject_.get(); }
    void SetFillObject(const TKitFillObject* Value) { fillObject_->Assign(Value); }
    // Key colour of the off-screen text picture: its pixels are left out when the letters are
    // filled.
    gdi::TColor BrushBackColor() const { return brushBackColor_; }
    void SetBrushBackColor(gdi::TColor Value);

    // The fill object's palette.
    gdi::HPALETTE GetPalette() const { return fillObject_->GetPalette(); }

protected:
    // The Caption.
    virtual void GetCaptionText(std::string& S);
    void Paint() override;
    void ImageListChange(rtl::TObject* Sender) override;
    void WndProc(gui::TMessage& Message) override;

private:
    TKitTransformParams Params() const;
    void PaintFilled(gdi::TCanvas& c, const gdi::TRect& R, const std::string& text);

    TKitToggle toggle_ = 0;
    std::unique_ptr<TKitFxCaption> fontFX_;
    int perspectiveDepth_ = 5;
    int factor_ = 5;
    TKitTransLabelTypes transform_ = TKitTransLabelTypes::tmWave;
    TKitTransLabelAttr attributes_{taAutoToggled};
    TKitPerspective perspective_ = tpBird;
    bool invertCaption_ = false;
    bool autoSize_ = false;
    std::unique_ptr<TKitFillObject> fillObject_;
    gdi::TColor brushBackColor_ = gdi::clBtnFace;
    // Set while the constructor sets the font: painting is skipped.
    bool settingFont_ = false;
};

class TKitGraphicLabel : public TKitCustomGraphicLabel {
public:
    explicit TKitGraphicLabel(rtl::TComponent* AOwner) : TKitCustomGraphicLabel(AOwner) {}
};

}  // namespace kit
