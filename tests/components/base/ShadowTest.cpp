// Shadow, point list and region mask: defaults, packing, stored forms.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "components/base/KitShadow.h"
#include "components/base/KitStreamUtils.h"
#include "platform/rtl/Filer.h"

using namespace kit;
using namespace gdi;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The defined properties an object writes, with the bytes of the binary ones.
class PropertyCapture : public rtl::TFiler {
public:
    std::vector<std::pair<std::string, Bytes>> props;
    void Run(rtl::TPersistent& p) { CallDefineProperties(p, this); }
    void DefineProperty(const std::string& Name, TReaderProc, TWriterProc, bool HasData) override {
        if (HasData) props.push_back({Name, {}});
    }
    void DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc WriteData,
                              bool HasData) override {
        if (!HasData) return;
        rtl::TMemoryStream m;
        WriteData(m);
        props.push_back({Name, Bytes(m.Memory(), m.Memory() + m.Size())});
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> n;
        for (const auto& p : props) n.push_back(p.first);
        return n;
    }
};

void Paint(TBitmap& b, int w, int h, TColor c) {
    b.SetSize(w, h);
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->FillRect(Rect(0, 0, w, h));
}

}  // namespace

TEST(KitShadow, DefaultsSettersAndSummary) {
    TKitShadow s;
    EXPECT_EQ(s.Style(), hssSolid);
    EXPECT_EQ(s.Depth(), 6);
    EXPECT_EQ(s.Color(), clBtnShadow);
    TKitRgnShadow r;
    EXPECT_EQ(r.Style(), hssNone);
    EXPECT_EQ(r.Depth(), 6);

    int changes = 0;
    s.OnChange = [&](rtl::TObject*) { ++changes; };
    s.SetDepth(6);
    s.SetStyle(hssSolid);
    EXPECT_EQ(changes, 0);
    s.SetDepth(3);
    s.SetStyle(hssTracing);
    EXPECT_EQ(changes, 2);

    struct Case {
        TKitShadowStyle style;
        int depth;
        const char* text;
    };
    const Case cases[] = {{hssNone, 9, "{Disabled}"}, {hssSolid, 6, "{solid, 6}"}, {hssTracing, 3, "{tracing, 3}"}};
    for (const Case& c : cases) {
        TKitShadow t;
        t.SetStyle(c.style);
        t.SetDepth(static_cast<TKitShadowDepth>(c.depth));
        std::string text;
        t.GetSummary(text);
        EXPECT_EQ(text, c.text);
    }
}

TEST(KitShadow, AssignCopiesAllAndNotifiesOnce) {
    TKitShadow src;
    src.SetColor(clRed);
    src.SetDepth(11);
    src.SetStyle(hssTracing);
    TKitRgnShadow dst;
    int changes = 0;
    dst.OnChange = [&](rtl::TObject*) { ++changes; };
    dst.Assign(&src);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dst.Color(), clRed);
    EXPECT_EQ(dst.Depth(), 11);
    EXPECT_EQ(dst.Style(), hssTracing);
    TKitRegionMask other;
    EXPECT_THROW(dst.Assign(&other), rtl::EConvertError);
}

TEST(KitPointList, PacksSixteenBitsEach) {
    struct Case {
        TPoint in, out;
    };
    const Case cases[] = {
        {{5, -1}, {5, -1}},
        {{70000, 3}, {4464, 3}},      // X keeps its low 16 bits
        {{-1, 0}, {65535, 0}},        // X reads back unsigned
        {{0, 40000}, {0, -25536}},    // Y reads back signed
        {{65535, -32768}, {65535, -32768}},
    };
    TKitPointList list;
    for (const Case& c : cases) list.AddPoint(c.in);
    for (int i = 0; i < list.Count(); ++i) {
        TPoint p;
        list.GetPoint(i, p);
        EXPECT_EQ(p, cases[i].out) << i;
    }
}

TEST(KitPointList, IndexesAndNotifications) {
    TKitPointList list;
    int changes = 0;
    list.OnChange = [&](rtl::TObject* sender) {
        EXPECT_EQ(sender, &list);
        ++changes;
    };
    list.AddPoint({1, 2});
    EXPECT_EQ(changes, 2);  // written, then added
    TPoint p{7, 8};
    list.GetPoint(1, p);  // index == Count: untouched
    EXPECT_EQ(p, (TPoint{7, 8}));
    list.SetPoint(1, {3, 3});  // beyond the end: nothing
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(changes, 2);
    EXPECT_THROW(list.GetPoint(-1, p), rtl::EListError);
    EXPECT_THROW(list.SetPoint(-1, p), rtl::EListError);
    list.UpdateCount = 1;
    list.SetPoint(0, {4, 4});
    EXPECT_EQ(changes, 2);
    list.UpdateCount = 0;
    list.SetPoint(0, {5, 5});
    EXPECT_EQ(changes, 3);
}

TEST(KitRegionMask, SizeAndBlockStayConsistent) {
    TKitRegionMask m;
    EXPECT_EQ(m.RegionData(), nullptr);
    const std::uint8_t bytes[] = {1, 2, 3};
    m.SetRegionData(bytes, 3);
    m.SetRegionDataSize(5);
    ASSERT_NE(m.RegionData(), nullptr);
    EXPECT_EQ(Bytes(m.RegionData(), m.RegionData() + 5), (Bytes{1, 2, 3, 0, 0}));
    m.SetRegionDataSize(2);
    EXPECT_EQ(Bytes(m.RegionData(), m.RegionData() + 2), (Bytes{1, 2}));
    m.SetRegionDataSize(0);
    EXPECT_EQ(m.RegionData(), nullptr);
    EXPECT_EQ(m.RegionDataSize(), 0);
    m.SetRegionDataSize(-4);
    EXPECT_EQ(m.RegionDataSize(), 0);
}

TEST(KitRegionMask, AssignWithAndWithoutRegionData) {
    TKitRegionMask src;
    const std::uint8_t bytes[] = {9, 8, 7, 6};
    src.SetRegionData(bytes, 4);
    src.Compressed = true;
    src.PixelFormat = spf8bit;
    Paint(*src.BorderBmp(), 3, 2, clRed);
    Paint(*src.BorderUpBmp(), 1, 1, clLime);

    TKitRegionMask dst;
    int changes = 0;
    dst.OnChange = [&](rtl::TObject*) { ++changes; };
    dst.Assign(&src);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(dst.Compressed);
    EXPECT_EQ(dst.PixelFormat, spfDefault);  // not copied
    ASSERT_EQ(dst.RegionDataSize(), 4);
    EXPECT_EQ(Bytes(dst.RegionData(), dst.RegionData() + 4), Bytes(bytes, bytes + 4));
    EXPECT_NE(dst.RegionData(), src.RegionData());
    EXPECT_EQ(dst.BorderBmp()->Width(), 3);
    EXPECT_EQ(dst.BorderBmp()->Canvas()->Pixels(2, 1), clRed);
    EXPECT_EQ(dst.BorderUpBmp()->Canvas()->Pixels(0, 0), clLime);
    EXPECT_TRUE(dst.BorderDnBmp()->Empty());

    // A source without region data clears the data and leaves the bitmaps.
    TKitRegionMask empty;
    dst.Assign(&empty);
    EXPECT_EQ(dst.RegionDataSize(), 0);
    EXPECT_EQ(dst.RegionData(), nullptr);
    EXPECT_EQ(dst.BorderBmp()->Width(), 3);
    // Assigning a mask to itself keeps its data.
    src.Assign(&src);
    EXPECT_EQ(src.RegionDataSize(), 4);
}

TEST(KitRegionMask, StoredProperties) {
    TKitRegionMask m;
    PropertyCapture none;
    none.Run(m);
    EXPECT_TRUE(none.props.empty());  // no region data, no bitmaps

    const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
    m.SetRegionData(bytes, 5);
    m.Compressed = true;
    Paint(*m.BorderBmp(), 4, 3, clBlue);
    Paint(*m.BorderDnBmp(), 2, 2, clYellow);
    PropertyCapture cap;
    cap.Run(m);
    EXPECT_EQ(cap.Names(), (std::vector<std::string>{"RegionData", "BorderBmp", "BorderDnBmp"}));
    EXPECT_EQ(cap.props[0].second, Bytes(bytes, bytes + 5));
    // Each bitmap: the Compressed byte 1, then the block-compressed bitmap record.
    rtl::TMemoryStream expected;
    KitWriteByte(expected, 1);
    KitWriteBitmap(expected, *m.BorderBmp(), true, -1);
    EXPECT_EQ(cap.props[1].second, Bytes(expected.Memory(), expected.Memory() + expected.Size()));

    // Round trip through the stored form into a fresh mask.
    rtl::TMemoryStream stream;
    rtl::WriteDefinedProperties(m, stream);
    stream.SetPosition(0);
    TKitRegionMask back;
    rtl::ReadDefinedProperties(back, stream);
    EXPECT_TRUE(back.Compressed);
    ASSERT_EQ(back.RegionDataSize(), 5);
    EXPECT_EQ(Bytes(back.RegionData(), back.RegionData() + 5), Bytes(bytes, bytes + 5));
    EXPECT_EQ(back.BorderBmp()->Width(), 4);
    EXPECT_EQ(back.BorderBmp()->Canvas()->Pixels(3, 2), clBlue);
    EXPECT_EQ(back.BorderDnBmp()->Canvas()->Pixels(1, 1), clYellow);
    EXPECT_TRUE(back.BorderUpBmp()->Empty());
}

TEST(KitRegionMask, RegionDataShorterThanTheSizeIsAReadError) {
    TKitRegionMask m;
    const std::uint8_t bytes[] = {1, 2, 3};
    m.SetRegionData(bytes, 3);
    rtl::TMemoryStream stream;
    rtl::WriteDefinedProperties(m, stream);

    TKitRegionMask exact;
    exact.SetRegionDataSize(2);  // reads only the size's bytes
    stream.SetPosition(0);
    rtl::ReadDefinedProperties(exact, stream);
    EXPECT_EQ(Bytes(exact.RegionData(), exact.RegionData() + 2), (Bytes{1, 2}));

    TKitRegionMask longer;
    longer.SetRegionDataSize(8);
    stream.SetPosition(0);
    EXPECT_THROW(rtl::ReadDefinedProperties(longer, stream), rtl::EReadError);
}
