// Feeding hostile bytes to the component library's container readers: container files (the
// header, single items by index, whole containers) and the item streams of image and bitmap
// lists. A reader may refuse the bytes with an rtl::Exception; whatever it accepts must behave
// afterwards: it draws, takes a new image, and writes a stream that reads back the same. A broken
// promise throws std::logic_error (a finding). Used by fuzz/FuzzKitCont.cpp,
// fuzz/FuzzImageList.cpp and the regression test of tests/components/base.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "components/base/kitcont.h"
#include "platform/gdi/Graphics.h"
#include "platform/rtl/Classes.h"

namespace fuzzcont {

inline void Expect(bool ok, const char* what) {
    if (!ok) throw std::logic_error(what);
}

inline void Fill(rtl::TMemoryStream& s, std::string_view data) {
    s.WriteBuffer(data.data(), static_cast<long long>(data.size()));
    s.SetPosition(0);
}

// Draws every image (at most 8) of an image item in each style and the blends.
inline void Exercise(kit::TKitImageListItem& item) {
    gdi::TBitmap canvas(24, 24);
    const int n = std::min(item.GetCount(), 8);
    for (int i = 0; i < n; ++i) {
        for (std::uint8_t style = 0; style < 4; ++style) {
            item.DrawingStyle = style;
            item.BkColor = style == 2 ? gdi::clNone : gdi::clWhite;
            item.BlendColor = gdi::clBlack;
            item.Draw(*canvas.Canvas(), 2, 2, i);
        }
        gdi::TRect drawn;
        item.DrawExt(*canvas.Canvas(), gdi::Rect(0, 0, 24, 24), drawn, i, 0);
        gdi::TBitmap one;
        item.GetImage(i, &one);
        Expect(one.Width() == item.Width() && one.Height() == item.Height(), "image size");
        item.GetTransparentColor(i);
    }
    // One more image of the item's size, when the strip it may grow to is small enough to make
    // (an item may ask for a strip of gigabytes, which is the caller's business, not the reader's).
    const long long grown = item.Strip().Width() + static_cast<long long>(item.AllocBy()) * item.Width();
    const long long image = static_cast<long long>(item.Width()) * item.Height();
    if (image <= (1 << 18) && std::min<long long>(grown, 32768) * item.Height() <= (1 << 18)) {
        gdi::TBitmap image(item.Width(), item.Height());
        const int before = item.GetCount();
        try {
            item.Add(&image, nullptr);
            Expect(item.GetCount() == before + 1, "image added");
        } catch (const gdi::EInvalidGraphicOperation&) {
            Expect(item.GetCount() == before, "refused image changed the item");
        }
    }
}

// An item that was read writes itself and reads back with the same images.
inline void RoundTrip(kit::TKitImageListItem& item) {
    Expect(item.UsedWidth() == item.GetCount() * item.Width(), "used width");
    Expect(item.Strip().Width() >= item.UsedWidth(), "strip narrower than its images");
    rtl::TMemoryStream s;
    item.WriteData(s);
    s.SetPosition(0);
    kit::TKitImageListItem back(nullptr);
    back.ReadData(s);
    Expect(back.GetCount() == item.GetCount() && back.Width() == item.Width() &&
               back.Height() == item.Height() && back.Masked() == item.Masked(),
           "image item round trip");
    Expect(s.Position() == s.Size(), "image item read past or short of its data");
}

inline void RoundTrip(kit::TKitBitmapListItem& item) {
    rtl::TMemoryStream s;
    item.WriteData(s);
    s.SetPosition(0);
    kit::TKitBitmapListItem back(nullptr);
    back.ReadData(s);
    Expect(back.RawBitmap().Width() == item.RawBitmap().Width() &&
               back.RawBitmap().Height() == item.RawBitmap().Height(),
           "bitmap item round trip");
}

inline void RoundTrip(kit::TKitCustomContainer& list, kit::TKitCustomContainer& copy) {
    for (const bool offsets : {false, true}) {
        rtl::TMemoryStream s;
        list.SaveToStream(s, offsets);
        s.SetPosition(0);
        copy.LoadFromStream(s, offsets);
        Expect(copy.Count() == list.Count(), "container round trip");
    }
}

// A whole container of every kind read from the stream, with and without offsets.
inline void LoadContainers(rtl::TStream& s, long long start) {
    for (const bool offsets : {false, true}) {
        kit::TKitImageList images(nullptr), images2(nullptr);
        kit::TKitBitmapList bitmaps(nullptr), bitmaps2(nullptr);
        kit::TKitStringList strings(nullptr), strings2(nullptr);
        kit::TKitWaveList waves(nullptr), waves2(nullptr);
        kit::TKitCustomContainer* lists[] = {&images, &bitmaps, &strings, &waves};
        kit::TKitCustomContainer* copies[] = {&images2, &bitmaps2, &strings2, &waves2};
        for (int k = 0; k < 4; ++k) {
            s.SetPosition(start);
            try {
                lists[k]->LoadFromStream(s, offsets);
            } catch (const rtl::Exception&) {
                Expect(!lists[k]->UpdateLock, "container left locked");
            }
            RoundTrip(*lists[k], *copies[k]);
        }
        for (int i = 0; i < std::min(images.Count(), 4); ++i) Exercise(*images.Item(i));
        gdi::TBitmap canvas(16, 16);
        for (int i = 0; i < std::min(bitmaps.Count(), 4); ++i) bitmaps.Draw(*canvas.Canvas(), 0, 0, i, 0);
    }
}

// The bytes as a container file at path.
inline void FeedContainerFile(std::string_view data, const std::string& path) {
    {
        rtl::TMemoryStream s;
        Fill(s, data);
        s.SaveToFile(path);
    }
    int count = 0;
    std::vector<int> offsets;
    int kind = kit::ckUnknown;
    try {
        kind = kit::KitReadContainerHeader(path, count, &offsets);
    } catch (const rtl::Exception&) {
    }
    if (kind <= kit::ckStringList) {
        Expect(static_cast<int>(offsets.size()) == count, "offset table size");
        for (int i = 0; i < std::min(count, 8); ++i) {
            std::unique_ptr<kit::TKitListItem> item;
            switch (kind) {
                case kit::ckImageList: item = std::make_unique<kit::TKitImageListItem>(nullptr); break;
                case kit::ckBitmapList: item = std::make_unique<kit::TKitBitmapListItem>(nullptr); break;
                case kit::ckWaveList: item = std::make_unique<kit::TKitWaveListItem>(nullptr); break;
                default: item = std::make_unique<kit::TKitStringListItem>(nullptr); break;
            }
            try {
                kit::KitLoadContainerItem(path, kind, &offsets, *item, i);
            } catch (const rtl::Exception&) {
                continue;
            }
            if (auto* image = dynamic_cast<kit::TKitImageListItem*>(item.get())) {
                RoundTrip(*image);
                Exercise(*image);
            }
        }
    }
    try {
        gdi::TBitmap bitmap;
        kit::KitLoadBitmapFromContainer(path, 0, bitmap);
    } catch (const rtl::Exception&) {
    }
    rtl::TMemoryStream s;
    Fill(s, data);
    if (s.Size() >= 9) LoadContainers(s, 9);
}

// The bytes as the item streams of image and bitmap lists.
inline void FeedImageStreams(std::string_view data) {
    rtl::TMemoryStream s;
    Fill(s, data);
    {
        kit::TKitImageListItem item(nullptr);
        bool read = false;
        try {
            item.ReadData(s);
            read = true;
        } catch (const rtl::Exception&) {
        }
        if (read) {
            RoundTrip(item);
            Exercise(item);
        }
    }
    for (const bool masked : {false, true}) {
        for (const bool compressed : {false, true}) {
            auto item = kit::TKitImageListItem::CreateSize(16, 16);
            item->SetMasked(masked);
            item->SetCompressed(compressed);
            s.SetPosition(0);
            try {
                item->ReadImages(s);
            } catch (const rtl::Exception&) {
                Expect(item->GetCount() == 0 && item->Width() == 16, "refused images changed the item");
                continue;
            }
            RoundTrip(*item);
            Exercise(*item);
        }
    }
    {
        kit::TKitBitmapListItem item(nullptr);
        s.SetPosition(0);
        bool read = false;
        try {
            item.ReadData(s);
            read = true;
        } catch (const rtl::Exception&) {
        }
        if (read) RoundTrip(item);
    }
    LoadContainers(s, 0);
}

}  // namespace fuzzcont
