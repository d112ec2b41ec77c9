// Image strips, bitmap, string and wave lists, the container of all four and the
// application-wide lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "components/base/KitStreamUtils.h"
#include "components/base/kitcont.h"
#include "platform/rtl/Filer.h"

using namespace kit;
using namespace gdi;

namespace {

std::unique_ptr<TBitmap> Filled(int w, int h, TColor c) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

// Left half `left`, right half `right`.
std::unique_ptr<TBitmap> Halves(int w, int h, TColor left, TColor right) {
    auto b = Filled(w, h, right);
    b->Canvas()->Brush()->SetColor(left);
    b->Canvas()->FillRect(Rect(0, 0, w / 2, h));
    return b;
}

void ExpectInvalidSize(const std::function<void()>& f) {
    try {
        f();
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message, "Ungültige Grafikgröße");
    }
}

}  // namespace

TEST(KitImageListItem, StripGrowsByAllocBy) {
    TKitImageListItem item(nullptr);
    ASSERT_EQ(item.Width(), 16);
    ASSERT_EQ(item.Height(), 16);
    ASSERT_EQ(item.AllocBy(), 4);
    auto img = Filled(16, 16, clRed);
    const int expected[] = {64, 64, 64, 64, 128, 128};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(item.Add(img.get(), nullptr), i);
        EXPECT_EQ(item.Strip().Width(), expected[i]) << i;
        EXPECT_EQ(item.UsedWidth(), 16 * (i + 1));
    }
    item.SetAllocBy(0);
    EXPECT_EQ(item.AllocBy(), 1);
    item.SetAllocBy(-5);
    EXPECT_EQ(item.AllocBy(), 1);
}

TEST(KitImageListItem, ImageSizeChecks) {
    TKitImageListItem item(nullptr);
    // A 32 x 16 bitmap: its left half is used.
    auto wide = Halves(32, 16, clRed, clBlue);
    item.Add(wide.get(), nullptr);
    EXPECT_EQ(item.GetCount(), 1);
    EXPECT_EQ(item.GetPixel(Point(15, 8), 0), clRed);
    TBitmap out;
    item.GetImage(0, &out);
    EXPECT_EQ(out.Width(), 16);
    EXPECT_EQ(out.Canvas()->Pixels(15, 15), clRed);

    // Sizes that do not fit are refused and leave the item as it was.
    for (auto [w, h] : {std::pair{20, 16}, std::pair{16, 15}, std::pair{0, 16}}) {
        TBitmap bad(w, h);
        ExpectInvalidSize([&] { item.Add(&bad, nullptr); });
        ExpectInvalidSize([&] { item.Replace(0, &bad, nullptr); });
        EXPECT_EQ(item.GetCount(), 1);
        EXPECT_EQ(item.UsedWidth(), 16);
    }
    EXPECT_FALSE(item.CheckImage(nullptr));
    EXPECT_THROW(item.Replace(1, wide.get(), nullptr), rtl::ERangeError);
    ExpectInvalidSize([] { TKitImageListItem::CreateSize(0, 16); });
    auto sized = TKitImageListItem::CreateSize(8, 4);
    EXPECT_EQ(sized->Width(), 8);
    EXPECT_EQ(sized->Height(), 4);
    EXPECT_TRUE(sized->IsEmpty());
}

TEST(KitImageListItem, TooManyImagesLeavesTheItemUnchanged) {
    auto item = TKitImageListItem::CreateSize(16, 2);
    item->SetAllocBy(3);  // 48 pixels at a time: 682 steps reach 32736
    auto img = Filled(16, 2, clLime);
    for (int i = 0; i < 2046; ++i) item->Add(img.get(), nullptr);
    ASSERT_EQ(item->Strip().Width(), 32736);
    try {
        item->Add(img.get(), nullptr);
        FAIL() << "the strip passed 32768 pixels";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message, "Zu viele Bilder");
    }
    EXPECT_EQ(item->GetCount(), 2046);
    EXPECT_EQ(item->UsedWidth(), 2046 * 16);
    EXPECT_EQ(item->Strip().Width(), 32736);

    // AddImages checks the needed width before it touches anything.
    auto other = TKitImageListItem::CreateSize(16, 2);
    other->AddImages(*item);
    EXPECT_THROW(other->AddImages(*item), EInvalidGraphicOperation);
    EXPECT_EQ(other->GetCount(), 2046);
    EXPECT_FALSE(other->UpdateLock);
    ExpectInvalidSize([&] { TKitImageListItem::CreateSize(8, 2)->AddImages(*item); });
}

TEST(KitImageListItem, WidthChangeRemovesImages) {
    TKitImageListItem item(nullptr);
    auto img = Filled(16, 16, clRed);
    item.Add(img.get(), nullptr);
    item.Add(img.get(), nullptr);
    item.SetHeight(16);  // unchanged: kept
    item.SetWidth(0);    // below 1: ignored
    EXPECT_EQ(item.GetCount(), 2);
    item.SetWidth(8);
    EXPECT_EQ(item.GetCount(), 0);
    EXPECT_EQ(item.UsedWidth(), 0);
    EXPECT_EQ(item.Strip().Width(), 0);
}

TEST(KitImageListItem, MaskWithoutImage) {
    auto item = TKitImageListItem::CreateSize(4, 4);
    item->SetMasked(true);
    auto mask = Halves(4, 4, clBlack, clWhite);
    EXPECT_EQ(item->Add(nullptr, mask.get()), 0);
    EXPECT_EQ(item->MaskBitmap().Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(item->MaskBitmap().Canvas()->Pixels(3, 3), clWhite);
    item->Replace(0, nullptr, nullptr);  // no mask given: opaque
    EXPECT_EQ(item->MaskBitmap().Canvas()->Pixels(3, 3), clBlack);
    item->ReplaceMasked(0, nullptr, clLime);
    EXPECT_EQ(item->GetCount(), 1);

    // Images that were there before the mask was switched on stay opaque.
    auto plain = TKitImageListItem::CreateSize(4, 4);
    auto red = Filled(4, 4, clRed);
    plain->Add(red.get(), nullptr);
    plain->SetMasked(true);
    EXPECT_EQ(plain->MaskBitmap().Width(), plain->Strip().Width());
    plain->DrawingStyle = 3;
    auto canvas = Filled(4, 4, clBlue);
    plain->Draw(*canvas->Canvas(), 0, 0, 0);
    EXPECT_EQ(canvas->Canvas()->Pixels(3, 3), clRed);
}

TEST(KitImageListItem, StreamNarrowsStripAndRoundTrips) {
    for (const bool masked : {false, true}) {
        for (const bool compressed : {false, true}) {
            TKitImageListItem item(nullptr);
            item.SetMasked(masked);
            item.SetCompressed(compressed);
            item.SetDescription("Pfeile");
            const TColor colors[] = {clRed, clLime, clBlue};
            for (TColor c : colors) {
                auto img = Halves(16, 16, c, clFuchsia);
                item.ReplaceMasked(item.Add(nullptr, nullptr), img.get(), clFuchsia);
            }
            ASSERT_EQ(item.Strip().Width(), 64);
            rtl::TMemoryStream s;
            item.WriteData(s);
            EXPECT_EQ(item.Strip().Width(), 48);
            s.SetPosition(0);
            TKitImageListItem back(nullptr);
            back.ReadData(s);
            EXPECT_EQ(s.Position(), s.Size());
            ASSERT_EQ(back.GetCount(), 3);
            EXPECT_EQ(back.Masked(), masked);
            EXPECT_EQ(back.Description(), "Pfeile");
            EXPECT_EQ(back.UsedWidth(), 48);
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(back.GetPixel(Point(2, 5), i), colors[i]);
                TRect r;
                back.GetImageRect(i, r);
                EXPECT_EQ(r, Rect(16 * i, 0, 16 * i + 16, 16));
            }
            if (masked) {
                EXPECT_TRUE(back.MaskBitmap().Monochrome());
                EXPECT_EQ(back.MaskBitmap().Canvas()->Pixels(40, 3), clWhite);  // transparent half
                EXPECT_EQ(back.MaskBitmap().Canvas()->Pixels(33, 3), clBlack);
            } else {
                EXPECT_EQ(back.GetPixel(Point(12, 5), 0), clFuchsia);
            }
            // Adding after reading continues behind the last image.
            auto img = Filled(16, 16, clYellow);
            EXPECT_EQ(back.Add(img.get(), nullptr), 3);
            EXPECT_EQ(back.GetPixel(Point(0, 0), 3), clYellow);
            EXPECT_EQ(back.GetPixel(Point(2, 5), 2), clBlue);
        }
    }
}

TEST(KitImageListItem, ReadingChecksTheStripAgainstTheItem) {
    auto source = TKitImageListItem::CreateSize(16, 16);
    auto img = Filled(16, 16, clRed);
    source->Add(img.get(), nullptr);
    source->Add(img.get(), nullptr);
    rtl::TMemoryStream good;
    source->WriteData(good);
    const std::vector<std::uint8_t> bytes(good.Memory(), good.Memory() + good.Size());
    // flags 0, Height at 1, Width at 5, AllocBy at 9, Masked at 13, count at 14.
    // A mask that is not there ends in the bitmap loader's error; the sizes in the read error.
    struct Case {
        const char* name;
        std::size_t at;
        std::uint8_t value;
    };
    for (const Case& c : {Case{"count above the strip", 14, 3}, Case{"negative count", 17, 0xFF},
                          Case{"height of the item", 1, 15}, Case{"zero width", 5, 0},
                          Case{"mask missing", 13, 1}, Case{"strip beyond 32768", 6, 0x40}}) {
        const bool sizes = c.at != 13;
        std::vector<std::uint8_t> damaged = bytes;
        damaged[c.at] = c.value;
        rtl::TMemoryStream s;
        s.WriteBuffer(damaged.data(), static_cast<long long>(damaged.size()));
        s.SetPosition(0);
        auto item = TKitImageListItem::CreateSize(8, 8);
        auto eight = Filled(8, 8, clBlue);
        item->Add(eight.get(), nullptr);
        if (sizes) EXPECT_THROW(item->ReadData(s), rtl::EReadError) << c.name;
        else EXPECT_THROW(item->ReadData(s), rtl::Exception) << c.name;
        EXPECT_EQ(item->GetCount(), 1) << c.name;
        EXPECT_EQ(item->Width(), 8) << c.name;
        EXPECT_EQ(item->GetPixel(Point(1, 1), 0), clBlue) << c.name;
    }
    // AllocBy below 1 in a stream becomes 1.
    std::vector<std::uint8_t> zeroAlloc = bytes;
    zeroAlloc[9] = 0;
    rtl::TMemoryStream s;
    s.WriteBuffer(zeroAlloc.data(), static_cast<long long>(zeroAlloc.size()));
    s.SetPosition(0);
    TKitImageListItem item(nullptr);
    item.ReadData(s);
    EXPECT_EQ(item.AllocBy(), 1);
    EXPECT_EQ(item.GetCount(), 2);
}

TEST(KitImageListItem, DrawStylesAndBlend) {
    auto item = TKitImageListItem::CreateSize(4, 4);
    item->SetMasked(true);
    auto img = Halves(4, 4, clRed, clLime);
    item->ReplaceMasked(item->Add(nullptr, nullptr), img.get(), clLime);

    auto draw = [&](std::uint8_t style, TColor bk) {
        auto canvas = Filled(8, 4, clBlue);
        item->DrawingStyle = style;
        item->BkColor = bk;
        item->BlendColor = clBlack;
        item->Draw(*canvas->Canvas(), 2, 0, 0);
        return canvas;
    };
    // Normal without background and transparent: the background shows through the mask.
    for (std::uint8_t style : {std::uint8_t{2}, std::uint8_t{3}}) {
        auto c = draw(style, style == 2 ? clNone : clWhite);
        EXPECT_EQ(c->Canvas()->Pixels(2, 1), clRed);
        EXPECT_EQ(c->Canvas()->Pixels(5, 1), clBlue);
        EXPECT_EQ(c->Canvas()->Pixels(1, 1), clBlue);
    }
    // Normal with a background colour: the transparent half takes it.
    auto normal = draw(2, clWhite);
    EXPECT_EQ(normal->Canvas()->Pixels(2 + 3, 0), clWhite);
    EXPECT_EQ(normal->Canvas()->Pixels(2 + 1, 2), clRed);
    // Selected: a checkerboard of the blend colour.
    auto selected = draw(1, clWhite);
    EXPECT_EQ(selected->Canvas()->Pixels(2 + 0, 0), clRed);
    EXPECT_EQ(selected->Canvas()->Pixels(2 + 1, 0), clBlack);
    EXPECT_EQ(selected->Canvas()->Pixels(2 + 3, 1), clWhite);
    EXPECT_EQ(selected->Canvas()->Pixels(2 + 2, 1), clBlack);
    // Focused: every pixel but those at odd x and odd y.
    auto focused = draw(0, clWhite);
    EXPECT_EQ(focused->Canvas()->Pixels(2 + 0, 0), clBlack);
    EXPECT_EQ(focused->Canvas()->Pixels(2 + 1, 1), clRed);
    EXPECT_EQ(focused->Canvas()->Pixels(2 + 3, 3), clWhite);
    EXPECT_EQ(focused->Canvas()->Pixels(2 + 3, 2), clBlack);
    // ImageType 1 draws the mask itself.
    item->ImageType = 1;
    auto maskOnly = draw(2, clNone);
    EXPECT_EQ(maskOnly->Canvas()->Pixels(2, 0), clBlack);
    EXPECT_EQ(maskOnly->Canvas()->Pixels(5, 0), clWhite);
    item->ImageType = 0;
    // DrawExt goes through the mask as well; an index without image draws nothing.
    auto ext = Filled(8, 4, clBlue);
    TRect drawn;
    item->DrawExt(*ext->Canvas(), Rect(4, 0, 8, 4), drawn, 0, 0);
    EXPECT_FALSE(drawn.IsEmpty());
    EXPECT_EQ(ext->Canvas()->Pixels(4, 0), clRed);
    EXPECT_EQ(ext->Canvas()->Pixels(7, 0), clBlue);
    item->DrawExt(*ext->Canvas(), Rect(0, 0, 4, 4), drawn, 1, 0);
    EXPECT_TRUE(drawn.IsEmpty());
    item->Draw(*ext->Canvas(), 0, 0, -1);
    EXPECT_EQ(ext->Canvas()->Pixels(0, 0), clBlue);
}

TEST(KitImageListItem, AssignCopiesImagesAndSettings) {
    auto a = TKitImageListItem::CreateSize(4, 2);
    a->SetMasked(true);
    a->SetAllocBy(7);
    a->BkColor = clYellow;
    a->DrawingStyle = 3;
    a->SetIdent(9);
    for (TColor c : {clRed, clLime}) {
        auto img = Filled(4, 2, c);
        a->Add(img.get(), nullptr);
    }
    TKitImageListItem b(nullptr);
    b.Assign(a.get());
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_TRUE(b.Masked());
    EXPECT_EQ(b.AllocBy(), 7);
    EXPECT_EQ(b.BkColor, clYellow);
    EXPECT_EQ(b.DrawingStyle, 3);
    EXPECT_EQ(b.Ident(), 9);
    ASSERT_EQ(b.GetCount(), 2);
    EXPECT_EQ(b.GetPixel(Point(1, 1), 1), clLime);
    EXPECT_EQ(b.MaskBitmap().Canvas()->Pixels(5, 1), clBlack);
}

TEST(KitBitmapList, AnswersForEmptyAndMissingItems) {
    TKitBitmapList list(nullptr);
    list.AddItem(nullptr);
    EXPECT_EQ(list.GetImageCount(0), 0);
    EXPECT_FALSE(list.HasImage(0, 0));
    auto b = Halves(6, 3, clRed, clBlue);
    list.Item(0)->SetBitmap(b.get());
    EXPECT_EQ(list.GetImageCount(0), 1);
    EXPECT_TRUE(list.HasImage(0, 0));
    EXPECT_EQ(list.GetDimension(0, 0), 6);
    EXPECT_EQ(list.GetDimension(0, 1), 3);
    EXPECT_EQ(list.GetPixel(Point(5, 0), 0, 0), clBlue);
    TRect r;
    list.GetImageRect(0, 0, r);
    EXPECT_EQ(r, Rect(0, 0, 6, 3));
    auto canvas = Filled(10, 5, clWhite);
    list.Draw(*canvas->Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(canvas->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(canvas->Canvas()->Pixels(6, 3), clBlue);
    EXPECT_EQ(canvas->Canvas()->Pixels(7, 3), clWhite);

    for (int missing : {1, -1}) {
        EXPECT_EQ(list.GetDimension(missing, 0), 0);
        EXPECT_EQ(list.GetImageCount(missing), 0);
        EXPECT_FALSE(list.HasImage(missing, 0));
        EXPECT_FALSE(list.IsTransparent(missing));
        EXPECT_EQ(list.GetTransparentColor(missing, 0), 0xFFFFFFu);
        EXPECT_EQ(list.GetPixel(Point(0, 0), missing, 0), 0xFFFFFFu);
    }
    EXPECT_FALSE(list.IsMasked(0));

    TKitImageList images(nullptr);
    EXPECT_EQ(images.GetImageCount(0), -1);
    EXPECT_EQ(images.GetTransparentColor(0, 0), 0xFFFFFFu);
    images.AddItem(nullptr);
    auto img = Halves(16, 16, clRed, clNavy);
    images.Item(0)->Add(img.get(), nullptr);
    EXPECT_EQ(images.GetImageCount(0), 1);
    EXPECT_TRUE(images.HasImage(0, 0));
    EXPECT_FALSE(images.HasImage(0, 1));
    EXPECT_FALSE(images.HasImage(0, -1));
    EXPECT_EQ(images.GetTransparentColor(0, 0), clRed);  // bottom-left pixel
    EXPECT_EQ(images.GetDimension(0, 0), 16);
}

TEST(KitBitmapList, ItemRecordRoundTrip) {
    struct Case {
        TKitSavePixelFormat format;
        std::uint8_t flags;
    };
    for (const Case c : {Case{spfDefault, 0x08}, Case{spfMono, 0x18}, Case{spf4bit, 0x28}, Case{spf8bit, 0x48}}) {
        for (const bool compressed : {false, true}) {
            TKitBitmapListItem item(nullptr);
            auto b = Halves(5, 3, clBlack, clWhite);
            item.SetBitmap(b.get());
            item.PixelFormat = c.format;
            item.SetCompressed(compressed);
            rtl::TMemoryStream s;
            item.WriteData(s);
            EXPECT_EQ(s.Memory()[0], c.flags | (compressed ? 1 : 0));
            s.SetPosition(0);
            TKitBitmapListItem back(nullptr);
            back.ReadData(s);
            EXPECT_EQ(back.PixelFormat, c.format);
            EXPECT_EQ(back.RawBitmap().Width(), 5);
            EXPECT_EQ(back.RawBitmap().Canvas()->Pixels(4, 2), clWhite);
            EXPECT_EQ(back.RawBitmap().Canvas()->Pixels(0, 2), clBlack);
        }
    }
}

TEST(KitBitmapList, ClearKeepsTheBitmapObject) {
    TKitBitmapListItem item(nullptr);
    auto b = Filled(3, 3, clRed);
    item.SetBitmap(b.get());
    TBitmap* handedOut = item.Bitmap();
    item.Clear();
    EXPECT_EQ(item.Bitmap(), handedOut);
    EXPECT_TRUE(handedOut->Empty());
    EXPECT_TRUE(item.IsEmpty());
}

TEST(KitBitmapList, EmptyBitmapFilledFromStorage) {
    const auto dir = std::filesystem::temp_directory_path() / "kitcont_storage";
    std::filesystem::create_directories(dir);
    Filled(3, 2, clMaroon)->SaveToFile((dir / "pic7.bmp").string());
    TKitBitmapList list(nullptr);
    list.StorageKind = 4;
    list.StoragePrefix = ppFixed;
    list.StorageFile = (dir / "picture.iml").string();
    TKitBitmapListItem* item = list.Item(list.AddItem(nullptr));
    item->SetIdent(7);
    EXPECT_TRUE(item->RawBitmap().Empty());
    EXPECT_EQ(list.GetImageCount(0), 1);
    EXPECT_EQ(item->RawBitmap().Canvas()->Pixels(2, 1), clMaroon);
    std::filesystem::remove_all(dir);
}

TEST(KitStringListItem, RecordRoundTrip) {
    for (const bool compressed : {false, true}) {
        TKitStringListItem item(nullptr);
        item.SetCompressed(compressed);
        item.Items().SetText("Alpha\r\nBeta\r\nÄrger\r\n");
        rtl::TMemoryStream s;
        item.WriteData(s);
        EXPECT_EQ(s.Memory()[0], 0x08 | (compressed ? 1 : 0));
        s.SetPosition(0);
        TKitStringListItem back(nullptr);
        back.ReadData(s);
        EXPECT_EQ(back.Items().Text(), "Alpha\r\nBeta\r\nÄrger\r\n");
    }
    rtl::TStringList lines;
    lines.Add("x");
    TKitStringListItem item(nullptr);
    item.Assign(&lines);
    EXPECT_EQ(item.Items().Text(), "x\r\n");
}

TEST(KitWaveListItem, EmptyWaveWritesTheHeaderOnly) {
    TKitWaveListItem item(nullptr);
    item.SetIdent(3);
    rtl::TMemoryStream s;
    item.WriteData(s);
    EXPECT_EQ(s.Size(), 5);
    EXPECT_EQ(s.Memory()[0], 0x04);
    s.SetPosition(0);
    TKitWaveListItem back(nullptr);
    back.ReadData(s);
    EXPECT_TRUE(back.Wave().IsEmpty());
    EXPECT_EQ(back.Ident(), 3);
}

TEST(KitContainerUnit, AppContainerAndInternalLists) {
    EXPECT_EQ(KitAppContainer, nullptr);
    KitContInitialize();
    KitContInitialize();
    ASSERT_NE(KitAppContainer, nullptr);
    TKitContainer* app = KitAppContainer;
    EXPECT_TRUE(app->BitmapList()->IsEmpty());
    EXPECT_EQ(app->ImageList()->Owner(), app);

    TKitBitmapList own(nullptr);
    EXPECT_TRUE(KitIsInternalList(app->BitmapList()));
    EXPECT_TRUE(KitIsInternalList(app->ImageList()));
    EXPECT_FALSE(KitIsInternalList(&own));
    EXPECT_FALSE(KitIsInternalList(nullptr));
    EXPECT_TRUE(KitIsBitmapList(&own));
    EXPECT_FALSE(KitIsBitmapList(app->ImageList()));
    EXPECT_FALSE(KitIsBitmapList(nullptr));

    rtl::TMemoryStream s;
    {
        rtl::TWriter w(s);
        KitWriteInternalList(w, app->ImageList());
        KitWriteInternalList(w, &own);  // nothing
        KitWriteInternalList(w, app->BitmapList());
        w.WriteString("KITWVL30");
    }
    s.SetPosition(0);
    {
        rtl::TReader r(s);
        EXPECT_EQ(KitReadInternalList(r), app->ImageList());
        EXPECT_EQ(KitReadInternalList(r), app->BitmapList());
        EXPECT_EQ(KitReadInternalList(r), nullptr);
    }

    // At design time a container's list changes are copied into the application's lists.
    TKitContainer design(nullptr);
    int changes = 0;
    design.OnChange = [&](rtl::TObject*) { ++changes; };
    design.StringList()->AddItem(nullptr);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(app->StringList()->Count(), 0);
    design.SetDesignMode(true);
    design.StringList()->GetItem(0)->Items().Add("entwurf");
    design.StringList()->AddItem(nullptr);
    ASSERT_EQ(app->StringList()->Count(), 2);
    EXPECT_EQ(app->StringList()->GetItem(0)->Items().Text(), "entwurf\r\n");

    KitContFinalize();
    EXPECT_EQ(KitAppContainer, app);
    KitContFinalize();
    EXPECT_EQ(KitAppContainer, nullptr);
    EXPECT_FALSE(KitIsInternalList(&own));
}

TEST(KitContainerUnit, ItemClassesAreRegistered) {
    TKitImageList images(nullptr);
    TKitBitmapList bitmaps(nullptr);
    TKitStringList strings(nullptr);
    TKitWaveList waves(nullptr);
    for (const char* name : {"TKitImageListItem", "TKitBitmapListItem", "TKitStringListItem", "TKitWaveListItem"})
        EXPECT_TRUE(rtl::GetClass(name)) << name;
}

TEST(KitImageListItem, FormPropertiesInternalAndBitmap) {
    auto item = TKitImageListItem::CreateSize(4, 4);
    for (TColor c : {clRed, clBlue}) {
        auto img = Filled(4, 4, c);
        item->Add(img.get(), nullptr);
    }
    rtl::TMemoryStream s;
    rtl::WriteDefinedProperties(*item, s);
    const std::string text(reinterpret_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
    EXPECT_NE(text.find("Internal"), std::string::npos);
    EXPECT_EQ(text.find("Bitmap"), std::string::npos);  // read only
    s.SetPosition(0);
    auto back = TKitImageListItem::CreateSize(8, 8);
    rtl::ReadDefinedProperties(*back, s);
    ASSERT_EQ(back->GetCount(), 2);
    EXPECT_EQ(back->Width(), 4);
    EXPECT_EQ(back->GetPixel(Point(0, 0), 1), clBlue);

    // "Bitmap" carries the image block alone, for the item's own sizes.
    rtl::TMemoryStream block;
    item->WriteImages(block);
    rtl::TMemoryStream props;
    {
        rtl::TWriter w(props);
        w.WriteListBegin();
        w.WriteString("Bitmap");
        w.WriteBinary(block.Memory(), static_cast<std::size_t>(block.Size()));
        w.WriteListEnd();
    }
    props.SetPosition(0);
    auto other = TKitImageListItem::CreateSize(4, 4);
    rtl::ReadDefinedProperties(*other, props);
    ASSERT_EQ(other->GetCount(), 2);
    EXPECT_EQ(other->GetPixel(Point(3, 3), 0), clRed);
}
