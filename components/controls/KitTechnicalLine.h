// A windowless control that draws one technical line inside its bounds: straight, diagonal,
// with one right-angled corner or as a quarter ellipse, with a sign (arrow head, circle,
// diamond, ...) at its start, its end or both, an optional drop shadow and an optional click
// area limited to the drawn shape.
#pragma once

#include <memory>

#include "components/controls/KitGraphicControl.h"
#include "platform/gdi/Regions.h"

namespace kit {

enum TKitTechnicalLineTypes : std::uint8_t {
    lsStraightLeftToRight, lsStraightTopToBottom, lsTopLeftToBottomRight, lsBottomLeftToTopRight,
    lsTopLeftEdge, lsBottomLeftEdge, lsTopRightEdge, lsBottomRightEdge,
    lsTopLeftCurve, lsBottomLeftCurve, lsTopRightCurve, lsBottomRightCurve
};

enum TKitLineEndings : std::uint8_t {
    leNothing, leOpenArrowUp, leOpenArrowDown, leOpenArrowRight, leOpenArrowLeft,
    leClosedArrowUp, leClosedArrowDown, leClosedArrowLeft, leClosedArrowRight,
    leDiamond, leCircle, leRectangle, leRoundRect, leParallelogramm, leComb,
    leHalfCircleLeft, leHalfCircleRight, leHalfCircleUp, leHalfCircleDown
};

enum TKitSignPlaces : std::uint8_t { spEnd, spStart, spBoth, spNoWhere };

class TKitTechnicalLine : public TKitGraphicControl {
public:
    explicit TKitTechnicalLine(rtl::TComponent* AOwner);
    ~TKitTechnicalLine() override;

    TKitTechnicalLineTypes LineType() const { return lineType_; }
    // With Arrowed, arrow signs are turned to point outward along the new line.
    void SetLineType(TKitTechnicalLineTypes Value);
    TKitLineEndings LineEndingsign() const { return lineEnding_; }
    void SetLineEndingsign(TKitLineEndings Value);
    TKitLineEndings LineStartSign() const { return lineStart_; }
    void SetLineStartSign(TKitLineEndings Value);
    gdi::TPen* LineSettings() const { return pen_.get(); }
    void SetLineSettings(const gdi::TPen* Value) { pen_->Assign(*Value); }
    bool Arrowed() const { return arrowed_; }
    void SetArrowed(bool Value);
    int ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int Value);
    int SignSize() const { return signSize_; }
    void SetSignSize(int Value);
    TKitSignPlaces SignPlaces() const { return signPlaces_; }
    void SetSignPlaces(TKitSignPlaces Value);
    gdi::TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(gdi::TColor Value);
    gdi::TColor FillColor() const { return fillColor_; }
    void SetFillColor(gdi::TColor Value);
    bool ShapeOnly() const { return shapeOnly_; }
    void SetShapeOnly(bool Value) { shapeOnly_ = Value; }
    bool ShadowVisible() const { return shadowVisible_; }
    void SetShadowVisible(bool Value);
    // The clickable shape in the parent's coordinates; null until painted with ShapeOnly.
    gdi::HRGN ShapeRegion() const { return shapeRegion_; }

protected:
    void Paint() override;
    bool IsContentEmpty() override { return false; }
    void WndProc(gui::TMessage& Message) override;

private:
    void SetValue(auto& field, auto value);
    void DrawLine(gdi::TCanvas& c, const gdi::TRect& R);
    void DrawSegment(gdi::TCanvas& c, int x1, int y1, int x2, int y2);
    void DrawArc(gdi::TCanvas& c, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void DrawSignAt(gdi::TCanvas& c, TKitLineEndings kind, int l, int t, int r, int b);
    void RebuildShapeRegion(gdi::TCanvas& c, const gdi::TRect& R);

    TKitTechnicalLineTypes lineType_ = lsStraightLeftToRight;
    TKitLineEndings lineEnding_ = leClosedArrowRight;
    TKitLineEndings lineStart_ = leNothing;
    std::unique_ptr<gdi::TPen> pen_;
    bool arrowed_ = false;
    int shadowDepth_ = 6;
    int signSize_ = 40;
    TKitSignPlaces signPlaces_ = spEnd;
    gdi::TColor shadowColor_ = gdi::clBtnShadow;
    gdi::TColor fillColor_ = gdi::clNone;
    bool shapeOnly_ = false;
    bool shadowVisible_ = false;
    gdi::HRGN shapeRegion_ = nullptr;

    // Drawing state of one DrawLine.
    gdi::TPen shadowPen_;
    int ox_ = 0, oy_ = 0, d_ = 0;
};

// Draws a sign into (l, t, r, b) with the canvas's pen and brush.
void KitDrawSign(gdi::TCanvas& Canvas, TKitLineEndings Kind, gdi::TRect Rect);

}  // namespace kit
