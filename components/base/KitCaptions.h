// Property objects for drawing a caption with a 3D effect (and rotated) and for laying out a
// glyph beside a caption (with a drop-down arrow for buttons).
#pragma once

#include <cstdint>
#include <string>

#include "components/base/kitclass.h"
#include "components/base/kitgraph.h"
#include "platform/gdi/Graphics.h"

namespace kit {

class TKit3DCaption : public TKitObject {
public:
    TKit3DCaption() = default;
    void Assign(const rtl::TPersistent* Source) override;
    void GetSummary(std::string& Text) override;

    TKitDisabledStyle DisabledStyle() const { return disabledStyle_; }
    void SetDisabledStyle(TKitDisabledStyle value);
    // Index 0 LightDepth, 1 ShadowDepth.
    std::uint8_t Depth(int index) const { return depth_[index & 1]; }
    void SetDepth(int index, std::uint8_t value);
    std::uint8_t LightDepth() const { return depth_[0]; }
    void SetLightDepth(std::uint8_t value) { SetDepth(0, value); }
    std::uint8_t ShadowDepth() const { return depth_[1]; }
    void SetShadowDepth(std::uint8_t value) { SetDepth(1, value); }
    // Index 0 LightColor, 1 ShadowColor.
    gdi::TColor EffectColor(int index) const { return color_[index & 1]; }
    void SetEffectColor(int index, gdi::TColor value);
    gdi::TColor LightColor() const { return color_[0]; }
    void SetLightColor(gdi::TColor value) { SetEffectColor(0, value); }
    gdi::TColor ShadowColor() const { return color_[1]; }
    void SetShadowColor(gdi::TColor value) { SetEffectColor(1, value); }
    TKitThreeDStyle Style() const { return style_; }
    void SetStyle(TKitThreeDStyle value);
    TKitThreeDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TKitThreeDOrientation value);
    int Tracing() const { return tracing_; }
    void SetTracing(int value);

private:
    void Copy3D(const TKit3DCaption& s);

    TKitDisabledStyle disabledStyle_ = dsAuto;
    std::uint8_t depth_[2] = {1, 1};
    gdi::TColor color_[2] = {gdi::clBtnHighlight, gdi::clBtnShadow};
    TKitThreeDStyle style_ = tdNone;
    TKitThreeDOrientation orientation_ = toTopLeft;
    int tracing_ = 0;
};

class TKitFxCaption : public TKit3DCaption {
public:
    TKitFxCaption() = default;
    void Assign(const rtl::TPersistent* Source) override;
    void GetSummary(std::string& Text) override;

    TKitAngle Angle() const { return angle_; }
    void SetAngle(TKitAngle value);  // 360 is stored as 0
    // Index 0 PosX, 1 PosY: the start of rotated text inside its bounding box.
    std::uint16_t Pos(int index) const { return pos_[index & 1]; }
    void SetPosIndex(int index, std::uint16_t value);
    std::uint16_t PosX() const { return pos_[0]; }
    void SetPosX(std::uint16_t value) { SetPosIndex(0, value); }
    std::uint16_t PosY() const { return pos_[1]; }
    void SetPosY(std::uint16_t value) { SetPosIndex(1, value); }
    // Both at once without notification.
    void SetPos(std::uint16_t x, std::uint16_t y);

private:
    TKitAngle angle_ = 0;
    std::uint16_t pos_[2] = {0, 0};
};

class TKitGlyphTextLayout : public TKitObject {
public:
    TKitGlyphTextLayout() = default;
    void Assign(const rtl::TPersistent* Source) override;
    void GetSummary(std::string& Text) override { Text.clear(); }

    TKitTextArrange AlignText2Glyph() const { return alignText2Glyph_; }
    void SetAlignText2Glyph(TKitTextArrange value);
    // Index 0 OffsetX, 1 OffsetY.
    int Offset(int index) const { return offset_[index & 1]; }
    void SetOffset(int index, int value);
    int OffsetX() const { return offset_[0]; }
    void SetOffsetX(int value) { SetOffset(0, value); }
    int OffsetY() const { return offset_[1]; }
    void SetOffsetY(int value) { SetOffset(1, value); }
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TKitAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKitAlignment value);

protected:
    TKitAlignment alignment_ = agTopLeft;

private:
    TKitTextArrange alignText2Glyph_ = taRight;
    int offset_[2] = {0, 0};
    int spacing_ = 2;
};

class TKitButtonLayout : public TKitGlyphTextLayout {
public:
    TKitButtonLayout() { alignment_ = agCenter; }
    void Assign(const rtl::TPersistent* Source) override;

    bool Arrow() const { return arrow_; }
    void SetArrow(bool value);
    gdi::TColor ArrowColor() const { return arrowColor_; }
    void SetArrowColor(gdi::TColor value);
    int ArrowIndent() const { return arrowIndent_; }
    void SetArrowIndent(int value);
    TKitArrowPosition ArrowPosition() const { return arrowPosition_; }
    void SetArrowPosition(TKitArrowPosition value);
    TKitDDArrowSize ArrowSize() const { return arrowSize_; }
    void SetArrowSize(TKitDDArrowSize value);

private:
    bool arrow_ = false;
    gdi::TColor arrowColor_ = gdi::clBlack;
    int arrowIndent_ = 3;
    TKitArrowPosition arrowPosition_ = apRightText;
    TKitDDArrowSize arrowSize_ = 3;
};

}  // namespace kit
