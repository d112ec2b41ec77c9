// Window regions: the outline a shaped window takes (one of 18 shapes), the shadow it casts and
// the border painted along it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "components/base/KitShadow.h"
#include "components/base/kitclass.h"
#include "platform/gdi/Graphics.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/Classes.h"

namespace kit {

enum TKitRegionBorderStyle : std::uint8_t {
    rbNone, rbLowered, rbRaised, rbSingle, rbSingleRaised, rbSingleLowered, rbRaisedpsb, rbLoweredpsb
};

enum TKitRegionShape : std::uint8_t {
    rsRect, rsRoundRect, rsBitmap, rsNoseRect, rsRoundNoseRect, rsElliptic, rsStar, rsRoundShield,
    rsSharpShield, rsDiamond, rsOctagon, rsComb, rsHalfRound, rsUserRegion, rsThinkBubble,
    rsRoundThinkBubble, rsEllipticThinkBubble, rsPointList
};

// The corner a nose or the think bubbles point to.
enum TKitExtPos : std::uint8_t {
    epLeftTop, epTopLeft, epTopRight, epRightTop, epRightBottom, epBottomRight, epBottomLeft, epLeftBottom
};

// Style and colours of a region's border.
class TKitRegionBorder : public TKitObject {
public:
    TKitRegionBorderStyle Style() const { return style_; }
    void SetStyle(TKitRegionBorderStyle Value);
    // Index 0 LightColor, 1 ShadowColor, 2 SingleColor.
    gdi::TColor GetColor(int Index) const { return colors_[Index]; }
    void SetColor(int Index, gdi::TColor Value);
    gdi::TColor LightColor() const { return colors_[0]; }
    gdi::TColor ShadowColor() const { return colors_[1]; }
    gdi::TColor SingleColor() const { return colors_[2]; }
    void SetLightColor(gdi::TColor Value) { SetColor(0, Value); }
    void SetShadowColor(gdi::TColor Value) { SetColor(1, Value); }
    void SetSingleColor(gdi::TColor Value) { SetColor(2, Value); }

    void Assign(const rtl::TPersistent* Source) override;

private:
    TKitRegionBorderStyle style_ = rbSingle;
    gdi::TColor colors_[3] = {gdi::clBtnHighlight, gdi::clBtnShadow, gdi::clBlack};
};

// A region shape: builds the platform region for a rectangle and paints its shadow and border.
class TKitRegion : public TKitObject {
public:
    TKitRegion();
    ~TKitRegion() override;

    TKitRegionShape Shape() const { return shape_; }
    void SetShape(TKitRegionShape Value);
    TKitExtPos ExtPos() const { return extPos_; }
    void SetExtPos(TKitExtPos Value);
    // Index 0 RoundX, 1 RoundY: corner ellipse of the rounded shapes.
    int GetRound(int Index) const { return Index == 0 ? roundX_ : roundY_; }
    void SetRound(int Index, int Value);
    int RoundX() const { return roundX_; }
    int RoundY() const { return roundY_; }
    void SetRoundX(int Value) { SetRound(0, Value); }
    void SetRoundY(int Value) { SetRound(1, Value); }

    TKitRegionBorder* Border() const { return border_.get(); }
    void SetBorder(const TKitRegionBorder* Value) { border_->Assign(Value); }
    TKitRegionMask* Mask() const { return mask_.get(); }
    void SetMask(const TKitRegionMask* Value) { mask_->Assign(Value); }
    TKitRgnShadow* Shadow() const { return shadow_.get(); }
    void SetShadow(const TKitShadow* Value) { shadow_->Assign(Value); }
    TKitPointList* Points() const { return points_.get(); }

    int BubbleCount = 4;              // think bubbles
    rtl::TComponent* Owner = nullptr;  // the component whose form the region shapes
    gdi::TPoint Offset;               // added to the rectangle before building and painting

    // The region data built from the point list (rsPointList, rsUserRegion).
    int RegionDataSize() const { return static_cast<int>(regionData_.size()); }
    const std::uint8_t* RegionData() const { return regionData_.empty() ? nullptr : regionData_.data(); }

    // The last built region (owned by this object), nullptr when there is none.
    gdi::HRGN Rgn() const { return rgn_; }

    // Builds Rgn for R; nothing while the owner is being destroyed.
    virtual void BuildRegion(gdi::TRect R);
    // Unless the owner is being destroyed, Rgn becomes the plain rectangle R.
    void SetRectRegion(const gdi::TRect& R);
    // With a shadow: R's right and bottom shrink by its depth, and the shadow is painted.
    void DrawShadow(gdi::TCanvas& Canvas, gdi::TRect& R);
    // Shadow, then the border of the shape for R. Nothing without a region.
    virtual void DrawBorder(gdi::TCanvas& Canvas, gdi::TRect R);
    // Rebuilds the region data from the point list (rsPointList with points only).
    void PointsChanged(rtl::TObject* Sender);

    // Shape, corners, shadow, corner position, border and mask; one change notification.
    void Assign(const rtl::TPersistent* Source) override;

    // The corners of the polygon shapes (rsStar, rsDiamond, rsOctagon, rsComb) for R; empty
    // for the other shapes.
    static std::vector<gdi::TPoint> ShapePolygon(TKitRegionShape Shape, const gdi::TRect& R);

protected:
    // "PointList": X and Y of every point, as a list of integers.
    void DefineProperties(rtl::TFiler* Filer) override;

private:
    bool OwnerDestroying() const;
    gdi::HRGN CreateShapeRegion(const gdi::TRect& R);
    gdi::HRGN CreateBody(TKitRegionShape Body, const gdi::TRect& R) const;
    struct Bubble {
        gdi::TRect Box;
    };
    std::vector<Bubble> Bubbles(const gdi::TRect& Shrunk, int Size) const;
    void DrawShapeBorder(gdi::TCanvas& Canvas, TKitRegionShape Shape, gdi::TRect R);

    TKitRegionShape shape_ = rsRoundRect;
    std::unique_ptr<TKitRegionBorder> border_;
    std::unique_ptr<TKitRegionMask> mask_;
    std::vector<std::uint8_t> regionData_;
    int roundX_ = 20, roundY_ = 20;
    gdi::HRGN rgn_ = nullptr;
    TKitExtPos extPos_ = epLeftTop;
    std::unique_ptr<TKitRgnShadow> shadow_;
    std::unique_ptr<TKitPointList> points_;
};

// The region with its border published.
class TKitBorderRegion : public TKitRegion {};

// Helpers of the shapes, shared with the shaped forms.
// R shrunk on the two sides of ExtPos by Size (room for a nose or think bubbles).
gdi::TRect KitShrinkForExtPos(gdi::TRect R, TKitExtPos ExtPos, int Size);
// The nose triangle on the shrunk rectangle R: tip, then the two base points.
std::vector<gdi::TPoint> KitNoseTriangle(const gdi::TRect& R, TKitExtPos ExtPos, int Size, int BaseOffset);

}  // namespace kit
