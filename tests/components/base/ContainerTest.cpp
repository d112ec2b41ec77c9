// Containers: change links, the item header, the container stream and container files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "components/base/KitStreamUtils.h"
#include "components/base/kitcont.h"
#include "platform/rtl/Filer.h"

using namespace kit;

namespace {

std::vector<std::uint8_t> Bytes(rtl::TMemoryStream& s) {
    return {s.Memory(), s.Memory() + s.Size()};
}

TKitStringListItem* AddLines(TKitStringList& list, const std::string& text, const std::string& description,
                             std::uint16_t ident) {
    TKitStringListItem* item = list.GetItem(list.AddItem(nullptr));
    item->Items().SetText(text);
    item->SetDescription(description);
    item->SetIdent(ident);
    return item;
}

// A file made of the signature field and a container stream with offsets, as container files are.
class ContainerFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kitcont_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& signature, TKitCustomContainer* list) {
        rtl::TMemoryStream s;
        KitWriteShortString(s, signature);
        if (list) list->SaveToStream(s, true);
        return Save(name, s);
    }
    std::string Save(const std::string& name, rtl::TMemoryStream& s) {
        const std::string path = (dir_ / name).string();
        s.SaveToFile(path);
        return path;
    }

    std::filesystem::path dir_;
};

}  // namespace

TEST(KitContainerExt, KindsAndDots) {
    EXPECT_EQ(KitGetContainerExt(ckImageList, false), "iml");
    EXPECT_EQ(KitGetContainerExt(ckBitmapList, true), ".bmp");
    EXPECT_EQ(KitGetContainerExt(ckGlyphList, true), ".*");
    EXPECT_EQ(KitGetContainerExt(ckRichTextList, true), ".rtf");
    EXPECT_EQ(KitGetContainerExt(ckUnknown, true), "");
    EXPECT_EQ(KitGetContainerExt(-1, false), "");
}

TEST(KitChangeLink, RegistrationOrderLockAndDetach) {
    TKitStringList list(nullptr);
    std::vector<std::string> calls;
    TKitChangeLink a, b, stranger;
    a.OnChange = [&](rtl::TObject* s) { calls.push_back(s == &list ? "a" : "a?"); };
    b.OnChange = [&](rtl::TObject*) { calls.push_back("b"); };
    list.OnChange = [&](rtl::TObject*) { calls.push_back("list"); };
    list.RegisterChanges(&a);
    list.RegisterChanges(&b);
    EXPECT_EQ(a.Sender, &list);

    list.Change();
    EXPECT_EQ(calls, (std::vector<std::string>{"a", "b", "list"}));

    // The links hear of changes also while the container is locked; OnChange does not.
    calls.clear();
    list.BeginUpdate();
    list.Change();
    list.EndUpdate(false);
    EXPECT_EQ(calls, (std::vector<std::string>{"a", "b"}));

    // A link that was never registered: nothing changes.
    list.UnRegisterChanges(&stranger);
    EXPECT_EQ(list.LinkCount(), 2);
    EXPECT_EQ(stranger.Sender, nullptr);

    // Freeing a link detaches it.
    {
        TKitChangeLink temp;
        list.RegisterChanges(&temp);
        EXPECT_EQ(list.LinkCount(), 3);
    }
    EXPECT_EQ(list.LinkCount(), 2);
    list.UnRegisterChanges(&a);
    EXPECT_EQ(a.Sender, nullptr);
    calls.clear();
    list.Change();
    EXPECT_EQ(calls, (std::vector<std::string>{"b", "list"}));
}

TEST(KitChangeLink, ContainerFreedFirstClearsSender) {
    TKitChangeLink link;
    {
        TKitBitmapList list(nullptr);
        list.RegisterChanges(&link);
    }
    EXPECT_EQ(link.Sender, nullptr);  // and freeing the link later touches no freed container
}

TEST(KitContainer, ItemChangeReachesOnChangeNotLinks) {
    TKitStringList list(nullptr);
    TKitStringListItem* item = list.GetItem(list.AddItem(nullptr));
    rtl::TObject* sender = nullptr;
    int links = 0;
    TKitChangeLink link;
    link.OnChange = [&](rtl::TObject*) { ++links; };
    list.RegisterChanges(&link);
    list.OnChange = [&](rtl::TObject* s) { sender = s; };
    list.BeginUpdate();  // not consulted for item changes
    item->SetIdent(7);
    EXPECT_EQ(sender, item);
    EXPECT_EQ(links, 0);
}

TEST(KitContainer, ItemsOutsideTheListAreARangeError) {
    TKitStringList list(nullptr);
    list.AddItem(nullptr);
    EXPECT_NO_THROW(list.Items(0));
    EXPECT_THROW(list.Items(1), rtl::ERangeError);
    EXPECT_THROW(list.Items(-1), rtl::ERangeError);
}

TEST(KitContainer, AddItemTakesOwnershipAndChecksTheClass) {
    TKitStringList list(nullptr);
    auto* item = new TKitStringListItem(nullptr);
    EXPECT_EQ(list.AddItem(item), 0);
    EXPECT_EQ(item->Owner(), &list);
    EXPECT_EQ(item->Container(), &list);
    TKitWaveListItem wrong(nullptr);
    EXPECT_THROW(list.AddItem(&wrong), rtl::EConvertError);
    EXPECT_EQ(list.Count(), 1);
    // An item freed from outside leaves the list.
    delete item;
    EXPECT_EQ(list.Count(), 0);
}

TEST(KitListItem, HeaderFlagsAndDescriptionLimit) {
    // An empty bitmap item writes the flag byte alone.
    for (const bool compressed : {false, true}) {
        TKitBitmapListItem item(nullptr);
        item.SetCompressed(compressed);
        rtl::TMemoryStream s;
        item.WriteData(s);
        EXPECT_EQ(Bytes(s), (std::vector<std::uint8_t>{static_cast<std::uint8_t>(compressed ? 1 : 0)}));
    }
    TKitStringListItem item(nullptr);
    item.SetDescription(std::string(300, 'x'));
    EXPECT_EQ(item.Description().size(), 255u);
    // A cut never splits a character: 127 two-byte letters and a third byte would be 255.
    std::string umlauts;
    for (int i = 0; i < 130; ++i) umlauts += "ä";
    item.SetDescription("x" + umlauts);
    EXPECT_EQ(item.Description().size(), 255u);
    item.SetDescription(umlauts);
    EXPECT_EQ(item.Description().size(), 254u);

    item.SetDescription("Farben");
    item.SetIdent(513);
    rtl::TMemoryStream s;
    item.WriteData(s);
    EXPECT_EQ(Bytes(s), (std::vector<std::uint8_t>{6, 6, 'F', 'a', 'r', 'b', 'e', 'n', 1, 2, 0, 0}));
    s.SetPosition(0);
    TKitStringListItem back(nullptr);
    back.Items().Add("old");
    back.ReadData(s);
    EXPECT_EQ(back.Description(), "Farben");
    EXPECT_EQ(back.Ident(), 513);
    EXPECT_EQ(back.Items().Count(), 0);  // no data flag: the lines are cleared
}

TEST(KitContainerStream, EmptyContainerIsFourBytes) {
    TKitBitmapList list(nullptr);
    for (const bool offsets : {false, true}) {
        rtl::TMemoryStream s;
        list.SaveToStream(s, offsets);
        EXPECT_EQ(Bytes(s), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    }
}

TEST(KitContainerStream, RoundTripWithAndWithoutOffsets) {
    TKitStringList list(nullptr);
    AddLines(list, "eins\r\nzwei\r\n", "A", 1);
    AddLines(list, "", "", 0);
    AddLines(list, "drei\r\n", "C", 3)->SetCompressed(true);
    for (const bool offsets : {false, true}) {
        rtl::TMemoryStream s;
        KitWriteInteger(s, 99);  // the stream need not start at 0
        list.SaveToStream(s, offsets);
        KitWriteInteger(s, 42);
        s.SetPosition(4);
        TKitStringList back(nullptr);
        back.LoadFromStream(s, offsets);
        ASSERT_EQ(back.Count(), 3) << offsets;
        EXPECT_EQ(back.GetItem(0)->Items().Text(), "eins\r\nzwei\r\n");
        EXPECT_EQ(back.GetItem(0)->Description(), "A");
        EXPECT_EQ(back.GetItem(1)->Items().Count(), 0);
        EXPECT_EQ(back.GetItem(1)->Ident(), 0);
        EXPECT_EQ(back.GetItem(2)->Items().Text(), "drei\r\n");
        EXPECT_TRUE(back.GetItem(2)->Compressed());
        EXPECT_EQ(KitReadInteger(s), 42);
        if (!offsets) continue;
        // Every table entry is the absolute position of its item's header.
        s.SetPosition(8);
        std::vector<int> table(3);
        for (int& t : table) t = KitReadInteger(s);
        TKitStringListItem third(nullptr);
        ASSERT_TRUE(KitLoadItemAt(s, &table, 2, third));
        EXPECT_EQ(third.Description(), "C");
        EXPECT_FALSE(KitLoadItemAt(s, nullptr, 0, third));
        EXPECT_THROW(KitLoadItemAt(s, &table, 3, third), rtl::ERangeError);
    }
}

TEST(KitContainerStream, DamagedCountIsAReadErrorAndTheListStaysUsable) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool offsets;
    };
    const Case cases[] = {
        {"negative", {0xFF, 0xFF, 0xFF, 0xFF}, false},
        {"more items than bytes", {5, 0, 0, 0, 0, 0, 0, 0}, false},
        {"table beyond the end", {2, 0, 0, 0, 8, 0, 0, 0}, true},
        {"count cut short", {1, 0}, false},
    };
    for (const Case& c : cases) {
        TKitStringList list(nullptr);
        AddLines(list, "x", "", 0);
        int changes = 0;
        list.OnChange = [&](rtl::TObject*) { ++changes; };
        rtl::TMemoryStream s;
        s.WriteBuffer(c.bytes.data(), static_cast<long long>(c.bytes.size()));
        s.SetPosition(0);
        EXPECT_THROW(list.LoadFromStream(s, c.offsets), rtl::EReadError) << c.name;
        EXPECT_EQ(list.Count(), 0) << c.name;
        EXPECT_FALSE(list.UpdateLock) << c.name;
        EXPECT_GE(changes, 1) << c.name;
    }
}

TEST(KitContainerStream, ItemsBeforeADamagedItemStay) {
    TKitStringList list(nullptr);
    AddLines(list, "eins\r\n", "", 0);
    AddLines(list, "zwei\r\n", "", 0);
    rtl::TMemoryStream s;
    list.SaveToStream(s, false);
    s.SetSize(s.Size() - 3);  // the second item's text ends early
    s.SetPosition(0);
    TKitStringList back(nullptr);
    EXPECT_THROW(back.LoadFromStream(s, false), rtl::EReadError);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.GetItem(0)->Items().Text(), "eins\r\n");
}

TEST(KitContainer, AssignCopiesItemsAndRefusesOtherKinds) {
    TKitStringList a(nullptr), b(nullptr);
    a.DefaultCompressed = true;
    AddLines(a, "eins\r\n", "A", 4);
    AddLines(a, "zwei\r\n", "B", 5);
    AddLines(b, "alt\r\n", "", 0);
    int changes = 0;
    b.OnChange = [&](rtl::TObject*) { ++changes; };
    b.Assign(&a);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(b.Count(), 2);
    EXPECT_TRUE(b.DefaultCompressed);
    EXPECT_NE(b.GetItem(0), a.GetItem(0));
    EXPECT_EQ(b.GetItem(1)->Items().Text(), "zwei\r\n");
    EXPECT_EQ(b.GetItem(1)->Ident(), 5);
    EXPECT_EQ(b.GetItem(1)->Owner(), &b);
    b.Assign(&b);
    EXPECT_EQ(b.Count(), 2);
    TKitWaveList waves(nullptr);
    EXPECT_THROW(waves.Assign(&a), rtl::EConvertError);
}

TEST(KitContainer, ChildrenAndFormDescriptionReading) {
    TKitStringList list(nullptr);
    AddLines(list, "eins\r\n", "A", 1);
    AddLines(list, "zwei\r\n", "B", 2);
    std::vector<rtl::TComponent*> children;
    list.GetChildren([&](rtl::TComponent* c) { children.push_back(c); }, nullptr);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[1], list.GetItem(1));
    EXPECT_EQ(list.GetChildOwner(), &list);

    // An item written as a form description ("Internal") and read back into a container.
    rtl::TMemoryStream s;
    rtl::WriteDefinedProperties(*list.GetItem(1), s);
    s.SetPosition(0);
    TKitStringList other(nullptr);
    auto* item = new TKitStringListItem(other.GetChildOwner());
    item->ReadState(s, &other);
    ASSERT_EQ(other.Count(), 1);
    EXPECT_EQ(other.GetItem(0)->Items().Text(), "zwei\r\n");
    EXPECT_EQ(other.GetItem(0)->Description(), "B");
}

TEST_F(ContainerFile, HeaderKindCountAndOffsets) {
    TKitBitmapList list(nullptr);
    for (int i = 0; i < 3; ++i) {
        TKitBitmapListItem* item = list.Item(list.AddItem(nullptr));
        gdi::TBitmap b(2 + i, 2);
        b.Canvas()->Brush()->SetColor(i == 1 ? gdi::clRed : gdi::clBlue);
        b.Canvas()->FillRect(gdi::Rect(0, 0, 2 + i, 2));
        item->SetBitmap(&b);
        item->SetIdent(static_cast<std::uint16_t>(10 + i));
    }
    const std::string path = Write("pics.bmp", "KITBML30", &list);
    int count = 0;
    std::vector<int> offsets;
    EXPECT_EQ(KitReadContainerHeader(path, count, &offsets), ckBitmapList);
    EXPECT_EQ(count, 3);
    ASSERT_EQ(offsets.size(), 3u);
    EXPECT_EQ(offsets[0], 9 + 4 + 12);

    gdi::TBitmap out;
    ASSERT_TRUE(KitLoadBitmapFromContainer(path, 1, out));
    EXPECT_EQ(out.Width(), 3);
    EXPECT_EQ(out.Canvas()->Pixels(2, 1), gdi::clRed);
    TKitBitmapListItem item(nullptr);
    ASSERT_TRUE(KitLoadContainerItem(path, ckBitmapList, &offsets, item, 2));
    EXPECT_EQ(item.Ident(), 12);
    EXPECT_EQ(item.RawBitmap().Width(), 4);
    EXPECT_THROW(KitLoadBitmapFromContainer(path, 3, out), rtl::ERangeError);
}

TEST_F(ContainerFile, WrongOrUnknownSignature) {
    TKitWaveList waves(nullptr);
    waves.AddItem(nullptr);
    const std::string wav = Write("sounds.wav", "KITWVL30", &waves);
    int count = -1;
    EXPECT_EQ(KitReadContainerHeader(wav, count, nullptr), ckWaveList);
    EXPECT_EQ(count, 1);
    gdi::TBitmap out;
    try {
        KitLoadBitmapFromContainer(wav, 0, out);
        FAIL() << "a wave file read as a bitmap list";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message, "Datei " + wav + " kann nicht geöffnet werden");
    }

    std::vector<int> offsets{7, 8};
    for (const char* sig : {"KITXXX30", "KITBML3", "KITBML300"}) {
        const std::string other = Write("other.dat", sig, &waves);
        EXPECT_EQ(KitReadContainerHeader(other, count, &offsets), ckUnknown) << sig;
        EXPECT_EQ(offsets, (std::vector<int>{7, 8}));
    }
    rtl::TMemoryStream tiny;
    tiny.WriteBuffer("\x08KIT", 4);
    EXPECT_EQ(KitReadContainerHeader(Save("tiny.dat", tiny), count, &offsets), ckUnknown);
    EXPECT_THROW(KitReadContainerHeader((dir_ / "missing.bmp").string(), count, nullptr), rtl::EFOpenError);
}

TEST_F(ContainerFile, DamagedHeaderIsAReadError) {
    TKitBitmapList list(nullptr);
    list.AddItem(nullptr);
    list.AddItem(nullptr);
    rtl::TMemoryStream good;
    KitWriteShortString(good, "KITBML30");
    list.SaveToStream(good, true);
    const std::vector<std::uint8_t> bytes = Bytes(good);
    // Count at 9, the table at 13 and 17; items at 21 and 22.
    struct Case {
        const char* name;
        std::size_t at;
        std::uint8_t value;
    };
    for (const Case& c : {Case{"count beyond the file", 9, 200}, Case{"negative count", 12, 0x80},
                          Case{"offset beyond the file", 17, 99}, Case{"offset inside the table", 13, 9}}) {
        std::vector<std::uint8_t> damaged = bytes;
        damaged[c.at] = c.value;
        rtl::TMemoryStream s;
        s.WriteBuffer(damaged.data(), static_cast<long long>(damaged.size()));
        const std::string path = Save("damaged.bmp", s);
        int count = 0;
        std::vector<int> offsets;
        EXPECT_THROW(KitReadContainerHeader(path, count, &offsets), rtl::EReadError) << c.name;
        TKitBitmapListItem item(nullptr);
        EXPECT_THROW(KitLoadContainerItem(path, ckBitmapList, nullptr, item, 0), rtl::EReadError) << c.name;
    }
}
