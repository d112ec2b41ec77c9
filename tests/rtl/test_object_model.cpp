// Assign and AssignTo, class names, class references and the class registry.
#include <gtest/gtest.h>

#include "platform/rtl/Classes.h"

using namespace rtl;

namespace {

class TPoint2 : public TPersistent {
public:
    int x = 0, y = 0;
    void Assign(const TPersistent* Source) override {
        if (auto* p = dynamic_cast<const TPoint2*>(Source)) {
            x = p->x;
            y = p->y;
            return;
        }
        TPersistent::Assign(Source);
    }
};

// Knows how to put itself into a TPoint2, which does not know it.
class TPolar : public TPersistent {
public:
    int r = 0;

protected:
    void AssignTo(TPersistent* Dest) const override {
        if (auto* p = dynamic_cast<TPoint2*>(Dest)) {
            p->x = r;
            p->y = 0;
            return;
        }
        TPersistent::AssignTo(Dest);
    }
};

class TStranger : public TPersistent {};

}  // namespace

TEST(rtlPersistent, AssignUsesTheDestinationOrTheSourceOrFails) {
    TPoint2 a, b;
    b.x = 3;
    b.y = 4;
    a.Assign(&b);
    EXPECT_EQ(a.x, 3);
    EXPECT_EQ(a.y, 4);

    TPolar polar;
    polar.r = 7;
    a.Assign(&polar);  // TPoint2 does not know TPolar; TPolar assigns itself
    EXPECT_EQ(a.x, 7);
    EXPECT_EQ(a.y, 0);

    struct Case {
        TPersistent* dest;
        const TPersistent* source;
        const char* message;
    };
    TStranger stranger;
    const Case cases[] = {
        {&a, &stranger, "TStranger kann nicht zu TPoint2 zugewiesen werden."},
        {&polar, &a, "TPoint2 kann nicht zu TPolar zugewiesen werden."},
        {&stranger, &polar, "TPolar kann nicht zu TStranger zugewiesen werden."},
        {&a, nullptr, "nil kann nicht zu TPoint2 zugewiesen werden."},
    };
    for (const Case& c : cases) {
        try {
            c.dest->Assign(c.source);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, c.message);
        }
    }
    EXPECT_EQ(a.x, 7);  // a failed assignment leaves the destination alone
}

TEST(rtlPersistent, ClassNameIsTheDynamicClassWithoutNamespace) {
    TPoint2 p;
    const TPersistent& base = p;
    EXPECT_EQ(base.ClassName(), "TPoint2");
    TStringList list;
    EXPECT_EQ(list.ClassName(), "TStringList");
    EXPECT_EQ(ClassNameOf(typeid(TList)), "TList");
}

TEST(rtlClassRef, RegistryFindsClassesByNameAndCreatesThem) {
    RegisterClass<TPoint2>();
    RegisterClass<TComponent>();
    TPersistentClass cls = FindClass("tpoint2");  // names ignore case
    ASSERT_TRUE(cls);
    std::unique_ptr<TPersistent> obj = cls.Create();
    EXPECT_NE(dynamic_cast<TPoint2*>(obj.get()), nullptr);
    EXPECT_TRUE(cls == TPersistentClass::Of<TPoint2>());
    EXPECT_FALSE(cls == TPersistentClass::Of<TPolar>());

    // A component is created without owner.
    std::unique_ptr<TPersistent> comp = FindClass("TComponent").Create();
    auto* c = dynamic_cast<TComponent*>(comp.get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Owner(), nullptr);

    EXPECT_FALSE(GetClass("TPolar"));
    try {
        FindClass("TPolar");
        ADD_FAILURE() << "no error";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message, "Klasse TPolar nicht gefunden");
    }
    UnRegisterClass(TPersistentClass::Of<TPoint2>());
    EXPECT_FALSE(GetClass("TPoint2"));
    UnRegisterClass(TPersistentClass::Of<TComponent>());
    EXPECT_THROW(TPersistentClass().Create(), EInvalidOperation);
}

namespace {
class TNamed : public TComponent {
public:
    explicit TNamed(TComponent* owner) : TComponent(owner) { SetName("default"); }
};
}  // namespace

TEST(rtlClassRef, ComponentClassCreatesWithTheOwner) {
    TComponent owner(nullptr);
    TComponentClass cls = TComponentClass::Of<TNamed>();
    TComponent* c = cls.CreateOwned(&owner);  // the owner frees it
    EXPECT_EQ(c->Owner(), &owner);
    EXPECT_EQ(c->Name(), "default");  // the referenced class's constructor ran
    EXPECT_EQ(c->ClassName(), "TNamed");
    EXPECT_TRUE(cls.IsClassOf(c));
    EXPECT_FALSE(TComponentClass::Of<TComponent>() == cls);
    std::unique_ptr<TComponent> free = cls.Create(nullptr);
    EXPECT_EQ(free->Owner(), nullptr);
}
