// Small parts of the window-region machinery: the shadow a shape casts, the corner list of a
// point-list region and the region mask (ready-made region data with three border bitmaps).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "components/base/kitclass.h"
#include "components/base/kitcont.h"  // TKitSavePixelFormat
#include "components/base/kitgraph.h"
#include "platform/gdi/Graphics.h"
#include "platform/rtl/Classes.h"

namespace kit {

// The shadow: Depth pixels to the right and downwards, solid or as a tracing pattern.
class TKitShadow : public TKitObject {
public:
    TKitShadow() = default;

    gdi::TColor Color() const { return color_; }
    void SetColor(gdi::TColor Value);
    TKitShadowDepth Depth() const { return depth_; }
    void SetDepth(TKitShadowDepth Value);
    TKitShadowStyle Style() const { return style_; }
    void SetStyle(TKitShadowStyle Value);

    void Assign(const rtl::TPersistent* Source) override;
    // "{Disabled}", or the style and the depth: "{solid, 6}", "{tracing, 3}".
    void GetSummary(std::string& Text) override;

protected:
    gdi::TColor color_ = gdi::clBtnShadow;
    TKitShadowDepth depth_ = 6;
    TKitShadowStyle style_ = hssSolid;
};

// The shadow of a region: off unless switched on.
class TKitRgnShadow : public TKitShadow {
public:
    TKitRgnShadow() { style_ = hssNone; }
};

// Polygon corners packed into the list's 32-bit entries: X in the high 16 bits (read back
// unsigned, 0..65535), Y in the low 16 bits (read back signed).
class TKitPointList : public rtl::TList {
public:
    rtl::TNotifyEvent OnChange;
    int UpdateCount = 0;  // above 0: changes do not notify

    // An index beyond the end leaves P unchanged; a negative one raises the list-index error.
    void GetPoint(int Index, gdi::TPoint& P) const;
    // An index beyond the end does nothing; a negative one raises the list-index error.
    void SetPoint(int Index, const gdi::TPoint& P);
    // Appends the point; notifies twice (once for writing it, once for the addition).
    void AddPoint(const gdi::TPoint& P);
    void Changed();

    static std::uint32_t Pack(const gdi::TPoint& P) {
        return ((static_cast<std::uint32_t>(P.X) & 0xFFFF) << 16) | (static_cast<std::uint32_t>(P.Y) & 0xFFFF);
    }
};

// A ready-made region as raw region data (see platform/gdi/Regions.h) and three border
// bitmaps, all kept in the form description ("RegionData", "BorderBmp", "BorderUpBmp",
// "BorderDnBmp").
class TKitRegionMask : public TKitObject {
public:
    TKitRegionMask();
    ~TKitRegionMask() override;

    // The block, or nullptr when there is none.
    const std::uint8_t* RegionData() const { return data_.empty() ? nullptr : data_.data(); }
    std::uint8_t* RegionData() { return data_.empty() ? nullptr : data_.data(); }
    int RegionDataSize() const { return size_; }
    // Keeps block and size consistent: the block takes the new size (new bytes 0, the rest
    // kept); 0 or less frees it.
    void SetRegionDataSize(int Value);
    // A fresh zeroed block of RegionDataSize bytes.
    void AllocRegionData();
    // Frees the block; size 0.
    void FreeRegionData();
    // A copy of count bytes as the block.
    void SetRegionData(const std::uint8_t* Data, int Count);

    gdi::TBitmap* BorderBmp() const { return border_.get(); }
    gdi::TBitmap* BorderUpBmp() const { return borderUp_.get(); }
    gdi::TBitmap* BorderDnBmp() const { return borderDn_.get(); }

    TKitSavePixelFormat PixelFormat = spfDefault;
    bool Compressed = false;  // border bitmaps stored block-compressed

    // From a mask with region data: Compressed, the block and the three bitmaps; from a mask
    // without: the own block is freed, the bitmaps stay. No change notification.
    void Assign(const rtl::TPersistent* Source) override;

protected:
    void DefineProperties(rtl::TFiler* Filer) override;

private:
    void ReadRegionData(rtl::TStream& Stream);
    void WriteBitmap(rtl::TStream& Stream, const gdi::TBitmap& Bitmap) const;
    void ReadBitmap(rtl::TStream& Stream, std::unique_ptr<gdi::TBitmap>& Bitmap);

    std::vector<std::uint8_t> data_;
    int size_ = 0;
    std::unique_ptr<gdi::TBitmap> borderUp_, borderDn_, border_;
};

}  // namespace kit
