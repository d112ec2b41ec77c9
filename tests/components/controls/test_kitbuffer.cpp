// The linked stack of the edit's undo steps: limits, dropping, iteration and the stream format.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "components/controls/KitDynLIFOBuffer.h"
#include "platform/rtl/SysUtils.h"

using namespace kit;

namespace {

// Items are malloc'd ints; the buffer's drops are recorded (and freed) by the handler.
struct Recorder {
    std::vector<int> freed;
    void Attach(TKitBuffer& b) {
        b.OnFreeItem = [this](rtl::TObject*, void* item) {
            freed.push_back(*static_cast<int*>(item));
            std::free(item);
        };
        b.OnGetItemSize = [](rtl::TObject*, void*, int& size) { size = sizeof(int); };
    }
};

void* Item(int v) {
    auto* p = static_cast<int*>(std::malloc(sizeof(int)));
    *p = v;
    return p;
}

int Take(void* item) {
    const int v = *static_cast<int*>(item);
    std::free(item);
    return v;
}

std::vector<int> Contents(TKitBuffer& b) {
    std::vector<int> v;
    TKitBuffer::TPosition pos = nullptr;
    for (b.First(pos); !b.IsEnd(pos); b.Next(pos)) v.push_back(*static_cast<int*>(b.Data(pos)));
    return v;
}

std::vector<std::uint8_t> Bytes(rtl::TMemoryStream& s) {
    std::vector<std::uint8_t> v(static_cast<std::size_t>(s.Size()));
    s.SetPosition(0);
    if (!v.empty()) s.ReadBuffer(v.data(), static_cast<long long>(v.size()));
    return v;
}

void Load(TKitBuffer& b, const std::vector<std::uint8_t>& bytes) {
    rtl::TMemoryStream s;
    if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
    s.SetPosition(0);
    b.LoadFromStream(s);
}

}  // namespace

TEST(KitDynLIFOBuffer, StackOrderAndIteration) {
    Recorder r;  // outlives the buffer, whose destructor reports to it
    TKitDynLIFOBuffer b;
    r.Attach(b);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.Pop(), nullptr);
    for (int v : {1, 2, 3}) EXPECT_TRUE(b.Add(Item(v)));
    EXPECT_EQ(b.Count(), 3);
    EXPECT_FALSE(b.IsFull());  // no limit
    EXPECT_EQ(Contents(b), (std::vector<int>{1, 2, 3}));  // oldest first
    EXPECT_EQ(Take(b.Pop()), 3);
    EXPECT_EQ(b.Count(), 2);
    EXPECT_TRUE(r.freed.empty());  // a popped item is the caller's
    b.Clear();
    EXPECT_EQ(r.freed, (std::vector<int>{2, 1}));  // newest to oldest
    EXPECT_EQ(b.Count(), 0);
    EXPECT_TRUE(b.IsEmpty());
}

TEST(KitDynLIFOBuffer, FullBufferDropsOrRefuses) {
    {   // MaxCount 3: the fourth item pushes the first one out.
        Recorder r;
        TKitDynLIFOBuffer b;
        r.Attach(b);
        b.SetMaxCount(3);
        for (int v : {1, 2, 3, 4}) EXPECT_TRUE(b.Add(Item(v)));
        EXPECT_EQ(r.freed, (std::vector<int>{1}));
        EXPECT_EQ(b.Count(), 3);
        EXPECT_TRUE(b.IsFull());
        EXPECT_EQ(Contents(b), (std::vector<int>{2, 3, 4}));
        EXPECT_EQ(Take(b.Pop()), 4);
    }
    {   // MaxCount 1: every Add clears first.
        Recorder r;
        TKitDynLIFOBuffer b;
        r.Attach(b);
        b.SetMaxCount(1);
        for (int v : {1, 2, 3}) b.Add(Item(v));
        EXPECT_EQ(r.freed, (std::vector<int>{1, 2}));
        EXPECT_EQ(Contents(b), (std::vector<int>{3}));
    }
    {   // Without DropOldest a full buffer refuses: nothing stored, nothing freed.
        Recorder r;
        TKitDynLIFOBuffer b;
        r.Attach(b);
        b.SetMaxCount(2);
        b.SetDropOldest(false);
        b.Add(Item(1));
        b.Add(Item(2));
        void* third = Item(3);
        EXPECT_FALSE(b.Add(third));
        EXPECT_TRUE(r.freed.empty());
        EXPECT_EQ(Contents(b), (std::vector<int>{1, 2}));
        EXPECT_EQ(Take(third), 3);  // still the caller's
    }
    {   // MaxCount 0 holds nothing: the new item is dropped, or refused without DropOldest.
        Recorder r;
        TKitDynLIFOBuffer b;
        r.Attach(b);
        b.SetMaxCount(0);
        EXPECT_TRUE(b.Add(Item(7)));
        EXPECT_EQ(r.freed, (std::vector<int>{7}));
        EXPECT_EQ(b.Count(), 0);
        EXPECT_TRUE(b.IsEmpty());
        b.SetDropOldest(false);
        void* item = Item(8);
        EXPECT_FALSE(b.Add(item));
        EXPECT_EQ(Take(item), 8);
        EXPECT_EQ(b.Count(), 0);
    }
}

TEST(KitDynLIFOBuffer, StreamRoundTrip) {
    TKitDynLIFOBuffer empty;
    rtl::TMemoryStream s;
    empty.SaveToStream(s);
    std::vector<std::uint8_t> expected = {23, 0, 0, 0};
    for (const char* c = "@KitBufferStream-V0.1@"; *c; ++c) expected.push_back(static_cast<std::uint8_t>(*c));
    expected.push_back(0);
    EXPECT_EQ(Bytes(s), expected);  // 27 bytes

    // Loading the empty stream clears a buffer and adds nothing.
    Recorder r;
    TKitDynLIFOBuffer b;
    r.Attach(b);
    b.Add(Item(5));
    Load(b, expected);
    EXPECT_EQ(r.freed, (std::vector<int>{5}));
    EXPECT_EQ(b.Count(), 0);

    // Items go out oldest first with their sizes and come back with the newest on top.
    for (int v : {10, 20, 300}) b.Add(Item(v));
    rtl::TMemoryStream full;
    b.SaveToStream(full);
    const std::vector<std::uint8_t> bytes = Bytes(full);
    ASSERT_EQ(bytes.size(), 27u + 3 * 8);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 27, bytes.begin() + 35),
              (std::vector<std::uint8_t>{4, 0, 0, 0, 10, 0, 0, 0}));
    TKitDynLIFOBuffer copy;
    Load(copy, bytes);
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_EQ(Take(copy.Pop()), 300);
    EXPECT_EQ(Contents(copy), (std::vector<int>{10, 20}));

    // Without a size handler every item is saved empty.
    TKitDynLIFOBuffer unsized;
    unsized.Add(Item(1));
    rtl::TMemoryStream u;
    unsized.SaveToStream(u);
    EXPECT_EQ(u.Size(), 27 + 4);
}

TEST(KitDynLIFOBuffer, ForeignOrDamagedStreamsLeaveTheBufferAlone) {
    Recorder r;
    TKitDynLIFOBuffer b;
    r.Attach(b);
    for (int v : {1, 2}) b.Add(Item(v));
    rtl::TMemoryStream s;
    b.SaveToStream(s);
    const std::vector<std::uint8_t> good = Bytes(s);

    std::vector<std::uint8_t> otherHeader = good;
    otherHeader[5] = 'X';
    Load(b, otherHeader);  // another kind of stream: silently ignored
    EXPECT_EQ(Contents(b), (std::vector<int>{1, 2}));

    std::vector<std::uint8_t> truncated(good.begin(), good.end() - 2);
    std::vector<std::uint8_t> negativeSize = good;
    negativeSize[27] = 0xFF, negativeSize[28] = 0xFF, negativeSize[29] = 0xFF, negativeSize[30] = 0xFF;
    std::vector<std::uint8_t> hugeHeader = good;
    hugeHeader[3] = 0x7F;
    std::vector<std::uint8_t> shortLength = {23, 0};
    for (const std::vector<std::uint8_t>* bad : {&truncated, &negativeSize, &hugeHeader, &shortLength}) {
        EXPECT_THROW(Load(b, *bad), rtl::EReadError);
        EXPECT_EQ(Contents(b), (std::vector<int>{1, 2}));
        EXPECT_TRUE(r.freed.empty());
    }
}
