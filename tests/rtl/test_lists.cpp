// TList, TBits, collections, objects on string lists and MulDiv.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Arith.h"
#include "platform/rtl/Classes.h"

using namespace rtl;

namespace {

void* P(std::intptr_t v) { return reinterpret_cast<void*>(v); }

std::vector<std::intptr_t> Values(const TList& l) {
    std::vector<std::intptr_t> v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(reinterpret_cast<std::intptr_t>(l.Items(i)));
    return v;
}

}  // namespace

TEST(rtlList, EditingOperations) {
    TList l;
    for (int v : {5, 3, 9}) l.Add(P(v));
    l.Insert(0, P(1));
    l.Insert(4, P(7));
    EXPECT_EQ(Values(l), (std::vector<std::intptr_t>{1, 5, 3, 9, 7}));
    EXPECT_EQ(l.IndexOf(P(9)), 3);
    EXPECT_EQ(l.IndexOf(P(42)), -1);
    EXPECT_EQ(l.Remove(P(5)), 1);
    EXPECT_EQ(l.Remove(P(42)), -1);
    l.Exchange(0, 3);
    EXPECT_EQ(Values(l), (std::vector<std::intptr_t>{7, 3, 9, 1}));
    l.Move(0, 2);
    EXPECT_EQ(Values(l), (std::vector<std::intptr_t>{3, 9, 7, 1}));
    l.Delete(1);
    l.Sort([](void* a, void* b) {
        return static_cast<int>(reinterpret_cast<std::intptr_t>(a) - reinterpret_cast<std::intptr_t>(b));
    });
    EXPECT_EQ(Values(l), (std::vector<std::intptr_t>{1, 3, 7}));
    l.SetItems(1, nullptr);
    l.Add(nullptr);
    l.Pack();
    EXPECT_EQ(Values(l), (std::vector<std::intptr_t>{1, 7}));
    EXPECT_GE(l.Capacity(), l.Count());
    l.SetCount(4);
    EXPECT_EQ(l.Items(3), nullptr);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.Capacity(), 0);
}

TEST(rtlList, IndexErrors) {
    TList l;
    l.Add(P(1));
    l.Add(P(2));
    const std::vector<std::pair<std::function<void()>, int>> cases = {
        {[&] { l.Items(2); }, 2},     {[&] { l.Items(-1); }, -1},     {[&] { l.Delete(2); }, 2},
        {[&] { l.Insert(3, P(0)); }, 3}, {[&] { l.Exchange(0, 5); }, 5}, {[&] { l.Move(4, 0); }, 4},
        {[&] { l.SetItems(2, P(0)); }, 2},
    };
    for (const auto& [op, index] : cases) {
        try {
            op();
            ADD_FAILURE() << "no error for index " << index;
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message, "Listenindex überschreitet das Maximum (" + std::to_string(index) + ")");
        }
    }
    EXPECT_THROW(l.SetCapacity(1), EListError);
    EXPECT_EQ(Values(l), (std::vector<std::intptr_t>{1, 2}));
}

TEST(rtlBits, GrowsOnWriteAndChecksReads) {
    TBits b;
    EXPECT_EQ(b.OpenBit(), 0);
    b.SetBits(0, true);
    b.SetBits(1, true);
    b.SetBits(3, true);  // grows
    EXPECT_EQ(b.Size(), 4);
    EXPECT_FALSE(b[2]);
    EXPECT_EQ(b.OpenBit(), 2);
    b.SetBits(2, true);
    EXPECT_EQ(b.OpenBit(), 4);
    EXPECT_THROW(b.Bits(4), EBitsError);
    EXPECT_THROW(b.Bits(-1), EBitsError);
    EXPECT_THROW(b.SetBits(-1, true), EBitsError);
    b.SetSize(2);
    EXPECT_THROW(b.Bits(2), EBitsError);
}

namespace {

class TBand : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    std::string caption;
    void SetCaption(std::string value) {
        caption = std::move(value);
        Changed(false);
    }
    void Assign(const TPersistent* Source) override {
        if (auto* b = dynamic_cast<const TBand*>(Source)) {
            caption = b->caption;
            return;
        }
        TCollectionItem::Assign(Source);
    }
};

class TBands : public TCollection {
public:
    TBands() : TCollection(TCollectionItemClass::Of<TBand>()) {}
    TBand* Band(int i) const { return static_cast<TBand*>(Items(i)); }
    std::vector<std::string> updates;  // "*" for the whole collection

protected:
    void Update(TCollectionItem* item) override {
        updates.push_back(item ? static_cast<TBand*>(item)->caption : "*");
    }
};

std::vector<std::string> Captions(const TBands& c) {
    std::vector<std::string> v;
    for (int i = 0; i < c.Count(); ++i) v.push_back(c.Band(i)->caption);
    return v;
}

}  // namespace

TEST(rtlCollection, ItemsAddMoveAndNotify) {
    TBands bands;
    auto* a = static_cast<TBand*>(bands.Add());
    a->SetCaption("a");
    auto* c = static_cast<TBand*>(bands.Add());
    c->SetCaption("c");
    auto* b = static_cast<TBand*>(bands.Insert(1));
    b->caption = "b";
    EXPECT_EQ(Captions(bands), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(b->Index(), 1);
    EXPECT_EQ(b->Collection(), &bands);
    EXPECT_EQ(a->ID(), 0);
    EXPECT_EQ(c->ID(), 1);
    EXPECT_EQ(b->ID(), 2);
    EXPECT_EQ(bands.FindItemID(1), c);
    EXPECT_EQ(b->DisplayName(), "TBand");
    EXPECT_EQ(bands.updates, (std::vector<std::string>{"*", "a", "*", "c", "*", "*"}));

    bands.updates.clear();
    c->SetIndex(0);
    EXPECT_EQ(Captions(bands), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_THROW(c->SetIndex(3), EListError);
    bands.Delete(1);
    EXPECT_EQ(Captions(bands), (std::vector<std::string>{"c", "b"}));
    EXPECT_THROW(bands.Items(2), EListError);
    EXPECT_EQ(bands.updates, (std::vector<std::string>{"*", "*"}));

    // Updates are held back until the last EndUpdate, which sends one.
    bands.updates.clear();
    bands.BeginUpdate();
    bands.BeginUpdate();
    bands.Add();
    c->SetCaption("cc");
    bands.EndUpdate();
    EXPECT_TRUE(bands.updates.empty());
    bands.EndUpdate();
    EXPECT_EQ(bands.updates, (std::vector<std::string>{"*"}));

    // Freeing an item takes it out; Clear frees all with one update.
    delete b;
    EXPECT_EQ(bands.Count(), 2);
    bands.updates.clear();
    bands.Clear();
    EXPECT_EQ(bands.Count(), 0);
    EXPECT_EQ(bands.updates, (std::vector<std::string>{"*"}));
}

TEST(rtlCollection, AssignReplacesItemsAndMovingBetweenCollections) {
    TBands src, dst;
    static_cast<TBand*>(src.Add())->caption = "x";
    static_cast<TBand*>(src.Add())->caption = "y";
    dst.Add();
    dst.updates.clear();
    dst.Assign(&src);
    EXPECT_EQ(Captions(dst), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(dst.updates, (std::vector<std::string>{"*"}));
    EXPECT_NE(dst.Items(0), src.Items(0));
    dst.Assign(&dst);
    EXPECT_EQ(dst.Count(), 2);

    TStringList notACollection;
    EXPECT_THROW(dst.Assign(&notACollection), EConvertError);

    src.Items(0)->SetCollection(&dst);
    EXPECT_EQ(Captions(src), (std::vector<std::string>{"y"}));
    EXPECT_EQ(Captions(dst), (std::vector<std::string>{"x", "y", "x"}));
}

TEST(rtlStringListObjects, ObjectsFollowTheirLines) {
    TStringList o1, o2, o3;  // any objects do
    TStringList l;
    l.AddObject("beta", &o2);
    l.Add("gamma");
    l.InsertObject(0, "Alpha", &o1);
    EXPECT_EQ(l.Objects(0), &o1);
    EXPECT_EQ(l.Objects(2), nullptr);
    l.PutObject(2, &o3);
    EXPECT_EQ(l.IndexOfObject(&o3), 2);
    EXPECT_EQ(l.IndexOfObject(&l), -1);

    l.Exchange(0, 2);  // gamma, beta, Alpha
    EXPECT_EQ(l[0], "gamma");
    EXPECT_EQ(l.Objects(0), &o3);
    l.Sort();  // Alpha, beta, gamma
    EXPECT_EQ(l.Text(), "Alpha\r\nbeta\r\ngamma\r\n");
    EXPECT_EQ(l.Objects(0), &o1);
    EXPECT_EQ(l.Objects(1), &o2);
    EXPECT_EQ(l.Objects(2), &o3);
    l.Delete(0);
    EXPECT_EQ(l.Objects(0), &o2);
    l.Put(0, "BETA");  // changing the text keeps the object
    EXPECT_EQ(l.Objects(0), &o2);
    EXPECT_THROW(l.Objects(2), EStringListError);
    EXPECT_THROW(l.PutObject(-1, nullptr), EStringListError);

    TStringList copy;
    copy.AddStrings(l);
    EXPECT_EQ(copy.Objects(1), &o3);

    // A sorted list ignores a duplicate, object included.
    TStringList sorted;
    sorted.Sorted = true;
    sorted.AddObject("b", &o1);
    EXPECT_EQ(sorted.AddObject("a", &o2), 0);
    EXPECT_EQ(sorted.AddObject("B", &o3), 1);
    EXPECT_EQ(sorted.Count(), 2);
    EXPECT_EQ(sorted.Objects(1), &o1);
}

TEST(rtlMulDiv, RoundsHalfAwayFromZero) {
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {10, 3, 4, 8},          // 7.5
        {-10, 3, 4, -8},        // -7.5
        {10, -3, 4, -8},
        {10, 3, -4, -8},
        {-10, -3, -4, -8},
        {7, 1, 3, 2},           // 2.33
        {8, 1, 3, 3},           // 2.67
        {1, 1, 2, 1},           // 0.5
        {-1, 1, 2, -1},
        {0, 5, 7, 0},
        {5, 7, 0, -1},          // zero divisor
        {0, 0, 0, -1},
        {2000000000, 2000000000, 2000000000, 2000000000},  // the product needs 64 bits
        {2000000000, 2, 1, -1},                             // the result does not fit
        {8, 96, 72, 11},        // 10.67: an 8-point font at 96 pixels per inch
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(rtlExceptions, OutOfResourcesIsAnOutOfMemoryError) {
    try {
        throw EOutOfResources("Nicht genügend Timer verfügbar");
    } catch (const EOutOfMemory& e) {
        EXPECT_STREQ(e.ClassName(), "EOutOfResources");
        EXPECT_EQ(e.Message, "Nicht genügend Timer verfügbar");
    }
}
