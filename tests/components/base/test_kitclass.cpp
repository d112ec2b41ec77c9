// The change protocol of property objects: setters, the update lock, Assign and chains of
// owners that end in a repaint.
#include <gtest/gtest.h>

#include <memory>

#include "components/base/kitclass.h"

using namespace kit;

namespace {

// A property object as the library's descendants write them: two colours behind setters.
class TShade : public TKitObject {
public:
    TShade() { Color[1] = 0xFFFFFF; }
    int Color[2] = {0, 0};
    int changes = 0;  // Change calls that got past the lock

    void SetColor(int index, int value) {
        if (Color[index] == value) return;
        Color[index] = value;
        Change();
    }
    void Change() override {
        if (!UpdateLock) ++changes;
        TKitObject::Change();
    }
    void Assign(const rtl::TPersistent* Source) override {
        if (Source == this) return;
        if (auto* s = dynamic_cast<const TShade*>(Source)) {
            BeginUpdate();
            SetColor(0, s->Color[0]);
            SetColor(1, s->Color[1]);
            EndUpdate(true);
            return;
        }
        TKitObject::Assign(Source);
    }
};

// A property object owning another one, wired through its GetChange.
class TFill : public TKitObject {
public:
    TFill() : Shade(std::make_unique<TShade>()) { Shade->OnChange = ChangeHandler(); }
    std::unique_ptr<TShade> Shade;
    void SetShade(const TShade* value) { Shade->Assign(value); }
};

// The control at the end of the chain.
struct Control {
    Control() { fill.OnChange = [this](rtl::TObject* sender) { senders.push_back(sender); ++repaints; }; }
    TFill fill;
    int repaints = 0;
    std::vector<rtl::TObject*> senders;
};

// A class that neither side knows how to assign.
class TOther : public rtl::TPersistent {};

}  // namespace

TEST(KitObject, SetterFiresOnlyForNewValues) {
    TShade s;
    int fired = 0;
    rtl::TObject* sender = nullptr;
    s.OnChange = [&](rtl::TObject* who) { ++fired; sender = who; };
    s.SetColor(1, 0xFFFFFF);  // the default
    EXPECT_EQ(fired, 0);
    s.SetColor(1, 0x00FF00);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(sender, &s);
    s.SetColor(1, 0x00FF00);
    EXPECT_EQ(fired, 1);
}

TEST(KitObject, ChangeWithoutHandlerDoesNothing) {
    TShade s;
    EXPECT_FALSE(s.UpdateLock);
    s.SetColor(0, 5);
    EXPECT_EQ(s.changes, 1);
}

TEST(KitObject, UpdateLockCollectsNothingAndEndUpdateNotifiesOnce) {
    struct Case {
        bool notify;
        int expected;
    };
    for (Case c : {Case{true, 1}, Case{false, 0}}) {
        TShade s;
        int fired = 0;
        s.OnChange = [&](rtl::TObject*) { ++fired; };
        s.BeginUpdate();
        s.SetColor(0, 1);
        s.SetColor(1, 2);
        s.SetColor(0, 3);
        EXPECT_EQ(fired, 0);
        s.EndUpdate(c.notify);
        EXPECT_EQ(fired, c.expected) << "notify " << c.notify;
        EXPECT_FALSE(s.UpdateLock);
        EXPECT_EQ(s.Color[0], 3);
    }
}

TEST(KitObject, UpdateLockIsNotCounted) {
    TShade s;
    int fired = 0;
    s.OnChange = [&](rtl::TObject*) { ++fired; };
    s.BeginUpdate();
    s.BeginUpdate();
    s.EndUpdate(false);
    EXPECT_FALSE(s.UpdateLock);
    s.SetColor(0, 7);
    EXPECT_EQ(fired, 1);
}

TEST(KitObject, AssignCopiesAndNotifiesOnce) {
    TShade a, b;
    int fired = 0;
    a.OnChange = [&](rtl::TObject*) { ++fired; };
    b.Color[0] = 0x123456;
    b.Color[1] = 0x654321;
    a.Assign(&b);
    EXPECT_EQ(a.Color[0], 0x123456);
    EXPECT_EQ(a.Color[1], 0x654321);
    EXPECT_EQ(fired, 1);
}

TEST(KitObject, AssignToSelfChangesNothing) {
    TShade a;
    int fired = 0;
    a.OnChange = [&](rtl::TObject*) { ++fired; };
    a.Assign(&a);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(a.Color[1], 0xFFFFFF);
}

TEST(KitObject, AssignOfUnrelatedClassRaisesConversionError) {
    TShade a;
    TOther other;
    int fired = 0;
    a.OnChange = [&](rtl::TObject*) { ++fired; };
    try {
        a.Assign(&other);
        FAIL() << "no error";
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message, "TOther kann nicht zu TShade zugewiesen werden.");
    }
    // The plain root knows no source either.
    TKitObject root;
    EXPECT_THROW(root.Assign(&a), rtl::EConvertError);
    EXPECT_EQ(fired, 0);
}

TEST(KitObject, ThreeLevelChainEndsInOneRepaint) {
    Control control;
    control.fill.Shade->SetColor(0, 0x0000FF);
    EXPECT_EQ(control.fill.Shade->changes, 1);
    EXPECT_EQ(control.repaints, 1);
    ASSERT_EQ(control.senders.size(), 1u);
    EXPECT_EQ(control.senders[0], &control.fill);  // the fill passes the change on as itself

    // The owner's setter assigns into the owned object, which stays the same object.
    TShade value;
    value.Color[0] = 1;
    value.Color[1] = 2;
    TShade* before = control.fill.Shade.get();
    control.fill.SetShade(&value);
    EXPECT_EQ(control.fill.Shade.get(), before);
    EXPECT_EQ(control.repaints, 2);

    // A lock in the middle of the chain stops the news there.
    control.fill.BeginUpdate();
    control.fill.Shade->SetColor(0, 9);
    EXPECT_EQ(control.repaints, 2);
    control.fill.EndUpdate(true);
    EXPECT_EQ(control.repaints, 3);
}

TEST(KitObject, ClassReferenceCreatesTheReferencedClass) {
    TKitObjectClass cls = TKitObjectClass::Of<TShade>();
    std::unique_ptr<TKitObject> obj = cls.Create();
    auto* shade = dynamic_cast<TShade*>(obj.get());
    ASSERT_NE(shade, nullptr);
    EXPECT_EQ(shade->Color[1], 0xFFFFFF);  // the descendant's defaults ran
    EXPECT_FALSE(obj->UpdateLock);
    EXPECT_EQ(cls.ClassName(), "TShade");
    EXPECT_EQ(obj->ClassName(), "TShade");
    EXPECT_TRUE(cls.IsClassOf(obj.get()));
    TKitObject plain;
    EXPECT_FALSE(cls.IsClassOf(&plain));
}

TEST(KitObject, SummaryIsEmpty) {
    TKitObject o;
    std::string text = "x";
    o.GetSummary(text);
    EXPECT_EQ(text, "");
}
