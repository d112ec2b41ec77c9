// The shared drawing vocabulary of the component library: enumerations (one byte each, values
// in declaration order from 0) and subranges with their bounds. Setters of property objects do
// not check the subranges; callers keep to them.
#pragma once

#include <cstdint>

#include "platform/rtl/Sets.h"

namespace kit {

enum TKitShadowStyle : std::uint8_t { hssNone, hssSolid, hssTracing };

enum TKitBevelStyle : std::uint8_t {
    bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow
};

enum TKitBevelMode : std::uint8_t { bmCustom, bmStandard, bmEdge, bmWindows };

enum TKitBorderStyle : std::uint8_t {
    lsNone, lsSingle, lsLowered, lsRaised, lsRaisedspb, lsLoweredspb, lsRaisedExt, lsLoweredExt,
    lsFrameInset, lsFrameOffset, lsWindowBorder, lsSingleRaised, lsSingleLowered, lsDoubleRaised,
    lsDoubleLowered
};

enum TKitEdgeStyle : std::uint8_t {
    etRaisedInner, etRaisedOuter, etSunkenInner, etSunkenOuter, etBump, etEtched, etRaised, etSunken
};

enum TKitFrameSide : std::uint8_t { fsBottom, fsLeft, fsRight, fsTop };
using TKitFrameSides = rtl::TSet<TKitFrameSide, std::uint8_t>;

enum TKitTextArrange : std::uint8_t {
    taLeft, taLeftTop, taRight, taRightTop, taTop, taTopLeft, taBottom, taBottomLeft
};

enum TKitArrowPosition : std::uint8_t { apRightText, apLeftText, apRightGlyph, apLeftGlyph };

enum TKitUserButtonStyle : std::uint8_t {
    ubsAutoDetect, ubsWin31, ubsWin40, ubsDelphi, ubsDelphiFlat, ubsFlat, ubsFlatUnColored,
    ubsNavigator, ubsExplorer, ubsExplorerColored, ubsIntegrated, ubsWinXP, ubsWinXPCombo,
    ubsWinXPTool
};

enum TKitAlignment : std::uint8_t {
    agTopLeft, agTopCenter, agTopRight, agCenterLeft, agCenter, agCenterRight, agBottomLeft,
    agBottomCenter, agBottomRight
};

enum TKitFillStyle : std::uint8_t { sfNone, sfBrushBitmap, sfBrush, sfBitmap, sfBitmapList, sfGradient };

enum TKitTileMode : std::uint8_t { tmNone, tmCenter, tmStretch, tmTile };

enum TKitGradientStyle : std::uint8_t {
    gstHorizontal, gstVertical, gstSquare, gstElliptic, gstTopLeft, gstTopRight, gstBottomLeft,
    gstBottomRight, gstTopLeftDiagonal, gstTopRightDiagonal
};

enum TKitThreeDStyle : std::uint8_t {
    tdNone, tdSunken, tdRaised, tdSunkenShadow, tdRaisedShadow, tdPColorSunken, tdPColorRaised,
    tdShadow, tdOutline, tdExtrude, tdExtrudeEnh
};

enum TKitThreeDOrientation : std::uint8_t { toBottomLeft, toBottomRight, toTopLeft, toTopRight };

enum TKitDisabledStyle : std::uint8_t { dsAuto, dsStandard, ds3d, dsNone };

// Subranges: the type holds the base, the constants the range.
using TKitAngle = std::uint16_t;  // degrees
inline constexpr TKitAngle KitAngleMin = 0, KitAngleMax = 360;
using TKitDDArrowSize = std::uint8_t;
inline constexpr TKitDDArrowSize KitDDArrowSizeMin = 2, KitDDArrowSizeMax = 10;
using TKitBevelWidth = std::uint8_t;
inline constexpr TKitBevelWidth KitBevelWidthMin = 0, KitBevelWidthMax = 50;
using TKitBorderWidth = std::uint8_t;
inline constexpr TKitBorderWidth KitBorderWidthMin = 0, KitBorderWidthMax = 255;
using TKitColorCount = std::uint8_t;
inline constexpr TKitColorCount KitColorCountMin = 2, KitColorCountMax = 236;
using TKitShadowDepth = std::uint8_t;
inline constexpr TKitShadowDepth KitShadowDepthMin = 0, KitShadowDepthMax = 40;

}  // namespace kit
