// Component state, the loading scope and free notifications.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Classes.h"

using namespace rtl;

namespace {

std::vector<std::string>* g_events = nullptr;

class Part : public TComponent {
public:
    Part(TComponent* owner, std::string name) : TComponent(owner) {
        SetName(std::move(name));
        stateInConstructor = ComponentState();
    }
    ~Part() override {
        if (g_events) g_events->push_back("free " + Name());
    }
    TComponentState stateInConstructor;
    TComponentState stateInLoaded;
    Part* other = nullptr;  // a reference to a component this one does not own
    bool throwInLoaded = false;
    TComponent* freeInLoaded = nullptr;

    void Watch(Part* p) {
        other = p;
        p->FreeNotification(this);
    }

protected:
    void Loaded() override {
        stateInLoaded = ComponentState();
        TComponent::Loaded();
        if (g_events) g_events->push_back("loaded " + Name());
        if (throwInLoaded) throw EInvalidOperation("loaded");
        delete freeInLoaded;
        freeInLoaded = nullptr;
    }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == other) {
            other = nullptr;
            if (g_events) g_events->push_back(Name() + " forgets " + c->Name());
        }
    }
};

struct EventLog {
    EventLog() { g_events = &events; }
    ~EventLog() { g_events = nullptr; }
    std::vector<std::string> events;
};

const TComponentState kLoadingReading{csLoading, csReading};

}  // namespace

TEST(rtlLoadingScope, BuildsATreeAndCallsLoadedInCreationOrder) {
    EventLog log;
    Part outside(nullptr, "outside");
    Part* form = nullptr;
    Part* panel = nullptr;
    Part* button = nullptr;
    {
        TLoadingScope loading;
        form = new Part(&outside, "form");
        panel = new Part(form, "panel");
        button = new Part(panel, "button");
        EXPECT_EQ(form->ComponentState(), kLoadingReading);
        EXPECT_EQ(button->stateInConstructor, kLoadingReading);
        EXPECT_TRUE(log.events.empty());
    }
    EXPECT_TRUE(outside.ComponentState().Empty());
    EXPECT_EQ(log.events, (std::vector<std::string>{"loaded form", "loaded panel", "loaded button"}));
    for (Part* p : {form, panel, button}) {
        EXPECT_EQ(p->stateInLoaded, TComponentState{csLoading}) << p->Name();
        EXPECT_TRUE(p->ComponentState().Empty()) << p->Name();
    }
    // After the bracket, new components are not loading.
    auto* late = new Part(form, "late");
    EXPECT_TRUE(late->stateInConstructor.Empty());
}

TEST(rtlLoadingScope, ComponentFreedInsideTheBracketIsSkipped) {
    EventLog log;
    Part root(nullptr, "root");
    {
        TLoadingScope loading;
        auto* a = new Part(&root, "a");
        new Part(&root, "b");
        delete a;
        loading.End();
        EXPECT_FALSE(loading.Active());
    }
    EXPECT_EQ(log.events, (std::vector<std::string>{"free a", "loaded b"}));

    // A Loaded may free a component that is still waiting for its own Loaded.
    log.events.clear();
    {
        TLoadingScope loading;
        auto* c = new Part(&root, "c");
        c->freeInLoaded = new Part(&root, "d");
        new Part(&root, "e");
    }
    EXPECT_EQ(log.events, (std::vector<std::string>{"loaded c", "free d", "loaded e"}));
}

TEST(rtlLoadingScope, ExceptionsClearTheFlags) {
    EventLog log;
    Part root(nullptr, "root");
    Part* a = nullptr;
    try {
        TLoadingScope loading;
        a = new Part(&root, "a");
        throw EAbort("stop");
    } catch (const EAbort&) {
    }
    EXPECT_TRUE(a->ComponentState().Empty());
    EXPECT_TRUE(log.events.empty());  // no Loaded while unwinding

    // A Loaded that fails reaches the caller of End; the rest stop loading without Loaded.
    Part *b = nullptr, *c = nullptr;
    TLoadingScope loading;
    b = new Part(&root, "b");
    c = new Part(&root, "c");
    b->throwInLoaded = true;
    EXPECT_THROW(loading.End(), EInvalidOperation);
    EXPECT_EQ(log.events, (std::vector<std::string>{"loaded b"}));
    EXPECT_TRUE(c->ComponentState().Empty());
}

TEST(rtlComponentState, DestroyingIsSetForTheTreeBeforeOwnedOnesAreFreed) {
    static bool sawDestroying = false;
    struct Child : TComponent {
        using TComponent::TComponent;
        ~Child() override { sawDestroying = ComponentState().Contains(csDestroying); }
    };
    {
        TComponent owner(nullptr);
        new Child(&owner);
        EXPECT_FALSE(owner.ComponentState().Contains(csDestroying));
    }
    EXPECT_TRUE(sawDestroying);
}

TEST(rtlFreeNotification, ANonOwnerHearsOfTheDestructionEitherWay) {
    EventLog log;
    TComponent root(nullptr);
    auto* label = new Part(&root, "label");
    auto* edit = new Part(&root, "edit");
    auto* watcher = new Part(nullptr, "watcher");  // not in root's tree
    watcher->Watch(edit);
    delete edit;
    EXPECT_EQ(watcher->other, nullptr);
    EXPECT_EQ(log.events, (std::vector<std::string>{"free edit", "watcher forgets edit"}));

    // The link also tells the referenced component when the watcher goes first, and neither
    // keeps a pointer to the other afterwards (the sanitizer run checks for dangling ones).
    label->Watch(watcher);
    watcher->Watch(label);
    delete watcher;
    EXPECT_EQ(label->other, nullptr);
    log.events.clear();
    delete label;
    EXPECT_EQ(log.events, (std::vector<std::string>{"free label"}));
}

TEST(rtlFreeNotification, RemovedLinksAreSilent) {
    EventLog log;
    Part a(nullptr, "a");
    auto* b = new Part(nullptr, "b");
    a.Watch(b);
    b->FreeNotification(&a);  // a second link is the same link
    b->RemoveFreeNotification(&a);
    delete b;
    EXPECT_EQ(log.events, (std::vector<std::string>{"free b"}));  // a was not told
    a.other = nullptr;
}

TEST(rtlFreeNotification, NoLinkIsMadeToAComponentBeingDestroyed) {
    // On hearing that a child goes, the watcher tries to link to the child's dying owner. The
    // link must not be made: the watcher would later unlink itself from freed memory (the
    // sanitizer run catches that).
    struct Relinker : TComponent {
        using TComponent::TComponent;
        TComponent* child = nullptr;
        TComponent* parent = nullptr;
        int heard = 0;
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            if (op == TOperation::opRemove && c == child) {
                ++heard;
                child = nullptr;
                parent->FreeNotification(this);
            }
        }
    };
    auto* watcher = new Relinker(nullptr);
    auto* parent = new TComponent(nullptr);
    auto* child = new TComponent(parent);
    watcher->child = child;
    watcher->parent = parent;
    child->FreeNotification(watcher);
    delete parent;
    EXPECT_EQ(watcher->heard, 1);
    delete watcher;
}
