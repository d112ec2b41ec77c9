// The windowless control bases on a form: bounds events, mouse enter and exit from synthetic
// mouse moves, transparency and repainting, the image-list reference, the background bitmap of
// the parent, and the label base's font, caption, accelerator and blinking.
#include <gtest/gtest.h>

#include <QMouseEvent>

#include <memory>
#include <string>
#include <vector>

#include "components/base/KitFormShape.h"
#include "components/base/kitapp.h"
#include "components/base/kitcustomcontrol.h"
#include "components/controls/KitBaseLabel.h"
#include "components/controls/KitControlSize.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;
using gui::TMessage;

namespace {

void MoveMouse(QWidget* w, QPoint p) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A base graphic control that counts its paints and the messages it gets.
class Graphic : public TKitBaseGraphicControl {
public:
    explicit Graphic(rtl::TComponent* owner) : TKitBaseGraphicControl(owner) {}
    int paints = 0, imageChanges = 0, contentChanges = 0;
    std::vector<unsigned> seen;
    void ContentChanged(rtl::TObject* s) override {
        ++contentChanges;
        TKitBaseGraphicControl::ContentChanged(s);
    }
    int Count(unsigned msg) const { return static_cast<int>(std::count(seen.begin(), seen.end(), msg)); }
    void Designing(bool v) { SetDesigning(v); }

protected:
    void Paint() override {
        ++paints;
        TKitBaseGraphicControl::Paint();
    }
    void WndProc(TMessage& m) override {
        seen.push_back(m.Msg);
        TKitBaseGraphicControl::WndProc(m);
    }
    void ImageListChange(rtl::TObject* s) override {
        ++imageChanges;
        TKitBaseGraphicControl::ImageListChange(s);
    }
};

class Label : public TKitBaseLabel {
public:
    explicit Label(rtl::TComponent* owner) : TKitBaseLabel(owner) {}
    int adjusts = 0, paints = 0;
    void SetBlinkTimeOn(int ms) { BlinkTimeOn = ms; }

protected:
    void AdjustLabelSize() override { ++adjusts; }
    void Paint() override { ++paints; }
};

// A panel-like parent that may supply a background bitmap.
class Host : public TKitCustomControl {
public:
    explicit Host(rtl::TComponent* owner) : TKitCustomControl(owner) {}
    bool backBitmap = false;
    bool HasBackBitmap() override { return backBitmap; }
};

class Shape : public TKitFormShape {
public:
    explicit Shape(rtl::TComponent* owner) : TKitFormShape(owner) {}
    bool background = true;
    bool HasBackground() const override { return background; }
};

// An image list that has exactly one image.
class Images : public TKitImageList {
public:
    explicit Images(rtl::TComponent* owner) : TKitImageList(owner) {}
    int list = 1, image = 2;
    bool HasImage(int l, int i) override { return l == list && i == image; }
};

// Ticks of the application's timer pool, as its hidden window would get them.
void PoolTicks(int n) {
    for (int i = 0; i < n; ++i) {
        TMessage m{gui::WM_TIMER, 1, 0, 0};
        KitApplication->TimerPool->WndProc(m);
    }
}

}  // namespace

class kitControlBases : public GuiFixture {
protected:
    gui::TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 200);
        form->Show();
    }
    template <class T>
    T* Make(int l, int t, int w, int h) {
        auto* c = new T(form);
        c->SetParent(form);
        c->SetBounds(l, t, w, h);
        return c;
    }
};

TEST_F(kitControlBases, BoundsEventsSayWhatChanged) {
    auto* g = Make<Graphic>(10, 10, 30, 30);
    std::vector<unsigned> got;
    g->OnBoundsChange = [&](rtl::TObject* s, TKitBoundsChanges ch) {
        EXPECT_EQ(s, g);
        got.push_back(ch.ToBits());
    };
    g->SetBounds(20, 10, 30, 30);   // moved
    g->SetBounds(20, 10, 40, 30);   // sized
    g->SetBounds(25, 15, 10, 10);   // both
    g->SetBounds(25, 15, 10, 10);   // unchanged
    g->SetBounds(25, 15, -3, 10);   // a negative width counts as 0: sized
    g->SetLeft(26);
    EXPECT_EQ(got, (std::vector<unsigned>{2, 1, 3, 1, 2}));
    {
        rtl::TLoadingScope loading;
        auto* quiet = new Graphic(form);
        int n = 0;
        quiet->OnBoundsChange = [&](rtl::TObject*, TKitBoundsChanges) { ++n; };
        quiet->SetBounds(1, 2, 3, 4);
        EXPECT_EQ(n, 0);
        loading.End();
    }
}

TEST_F(kitControlBases, BoundsEventsWhenTheWindowSystemResizesTheForm) {
    auto* client = Make<Graphic>(0, 0, 10, 10);
    auto* right = Make<Graphic>(0, 0, 40, 10);
    right->SetAlign(gui::alRight);
    client->SetAlign(gui::alClient);
    std::vector<std::string> log;
    auto record = [&log](const char* name) {
        return [&log, n = std::string(name)](rtl::TObject*, TKitBoundsChanges ch) {
            log.push_back(n + (ch.Contains(bcMoved) ? " moved" : "") + (ch.Contains(bcSized) ? " sized" : ""));
        };
    };
    client->OnBoundsChange = record("client");
    right->OnBoundsChange = record("right");
    const int w = form->ClientWidth(), h = form->ClientHeight();
    // Wider only: the right-aligned control moves, the client-aligned one grows.
    form->Widget()->resize(form->Widget()->width() + 30, form->Widget()->height());
    ASSERT_TRUE(ProcessUntil([&] { return form->ClientWidth() == w + 30; }));
    EXPECT_EQ(log, (std::vector<std::string>{"right moved", "client sized"}));
    log.clear();
    // Taller: both grow in place.
    form->Widget()->resize(form->Widget()->width(), form->Widget()->height() + 20);
    ASSERT_TRUE(ProcessUntil([&] { return form->ClientHeight() == h + 20; }));
    EXPECT_EQ(log, (std::vector<std::string>{"right sized", "client sized"}));
    EXPECT_EQ(right->BoundsRect(), gdi::Rect(w + 30 - 40, 0, w + 30, h + 20));
}

TEST_F(kitControlBases, DefaultsOfTheBases) {
    auto* g = new Graphic(form);
    EXPECT_EQ(g->Width(), 30);
    EXPECT_EQ(g->Height(), 30);
    EXPECT_TRUE(g->Transparent());
    EXPECT_FALSE(g->ControlStyle().Contains(gui::csOpaque));
    EXPECT_TRUE(g->ControlStyle().Contains(gui::csReplicatable));
    EXPECT_FALSE(g->CtlXP);
    EXPECT_FALSE(g->PaintThemed());
    EXPECT_TRUE(g->ImageEmpty());
    auto* l = new Label(form);
    EXPECT_TRUE(l->AutoSize());
    EXPECT_TRUE(l->ShowAccelChar());
    EXPECT_FALSE(l->WordWrap());
    EXPECT_EQ(l->Alignment(), agTopLeft);
    EXPECT_EQ(KitGetControlWidth(l), 30);
    EXPECT_EQ(KitGetControlHeight(g), 30);
}

TEST_F(kitControlBases, MouseEnterAndExitOnlyWhileEnabled) {
    auto* on = Make<Graphic>(10, 10, 40, 20);
    auto* off = Make<Graphic>(100, 10, 40, 20);
    off->SetEnabled(false);
    std::vector<std::string> log;
    for (auto [c, name] : {std::pair{on, "on"}, std::pair{off, "off"}}) {
        c->OnMouseEnter = [&log, n = std::string(name)](rtl::TObject*) { log.push_back(n + "+"); };
        c->OnMouseExit = [&log, n = std::string(name)](rtl::TObject*) { log.push_back(n + "-"); };
    }
    QWidget* w = form->ClientWidget();
    for (int x = 0; x <= 160; x += 5) MoveMouse(w, QPoint(x, 15));
    EXPECT_EQ(log, (std::vector<std::string>{"on+", "on-"}));
    // A message that reaches a disabled control fires nothing either.
    off->Perform(gui::CM_MOUSEENTER);
    off->Perform(gui::CM_MOUSELEAVE);
    // Disabled while the mouse is over it: leaving fires no exit.
    log.clear();
    MoveMouse(w, QPoint(20, 15));
    on->SetEnabled(false);
    MoveMouse(w, QPoint(200, 15));
    EXPECT_EQ(log, (std::vector<std::string>{"on+"}));
    EXPECT_FALSE(on->MouseInControl());
    // At design time nothing is forwarded.
    on->SetEnabled(true);
    on->Designing(true);
    log.clear();
    MoveMouse(w, QPoint(20, 15));
    MoveMouse(w, QPoint(200, 15));
    EXPECT_TRUE(log.empty());
}

TEST_F(kitControlBases, TransparentChangesTellTheControlOnce) {
    auto* g = Make<Graphic>(10, 10, 30, 30);
    g->seen.clear();
    g->SetTransparent(true);
    EXPECT_EQ(g->Count(CM_KITTRANSPARENTCHANGED), 0);
    g->SetTransparent(false);
    EXPECT_EQ(g->Count(CM_KITTRANSPARENTCHANGED), 1);
    EXPECT_TRUE(g->ControlStyle().Contains(gui::csOpaque));
    g->SetTransparent(true);
    EXPECT_EQ(g->Count(CM_KITTRANSPARENTCHANGED), 2);
    EXPECT_FALSE(g->ControlStyle().Contains(gui::csOpaque));
}

TEST_F(kitControlBases, OpaqueRepaintsAtOnceTransparentOnlyInvalidates) {
    auto* g = Make<Graphic>(10, 10, 30, 30);
    ASSERT_TRUE(ProcessUntil([&] { return g->paints > 0; }));
    ProcessFor(20);
    int before = g->paints;
    g->ContentChanged(nullptr);
    EXPECT_EQ(g->paints, before);  // transparent: the parent repaints the area first, later
    EXPECT_TRUE(ProcessUntil([&] { return g->paints > before; }));
    g->SetTransparent(false);  // the change repaints it at once
    ProcessFor(20);
    before = g->paints;
    g->ContentChanged(nullptr);
    EXPECT_EQ(g->paints, before + 1);
    // A hidden control does not paint itself onto its parent.
    g->SetVisible(false);
    ProcessFor(20);
    before = g->paints;
    g->ContentChanged(nullptr);
    g->SetTransparent(true);
    EXPECT_EQ(g->paints, before);
}

TEST_F(kitControlBases, ImageReferenceAndItsChanges) {
    auto* g = Make<Graphic>(10, 10, 30, 30);
    auto* list = new Images(form);
    g->SetImageList(list);
    EXPECT_EQ(g->imageChanges, 1);
    EXPECT_TRUE(g->ImageEmpty());
    g->SetListIndex(1);
    g->SetImageIndex(2);
    EXPECT_FALSE(g->ImageEmpty());
    g->SetImageIndex(-1);
    EXPECT_EQ(g->ImageIndex(), 2);
    EXPECT_EQ(g->imageChanges, 3);
    list->Change();
    EXPECT_EQ(g->imageChanges, 4);
    delete list;
    EXPECT_EQ(g->ImageList(), nullptr);
    EXPECT_TRUE(g->ImageEmpty());
    const gdi::TRect r = g->ClientRectToScreen(gdi::Rect(0, 0, 5, 6));
    const gdi::TPoint origin = form->ClientToScreen({10, 10});
    EXPECT_EQ(r, gdi::Rect(origin.X, origin.Y, origin.X + 5, origin.Y + 6));
}

TEST_F(kitControlBases, BackgroundBitmapOfTheParent) {
    auto* host = Make<Host>(0, 0, 200, 100);
    auto* g = new Graphic(form);
    g->SetParent(host);
    EXPECT_FALSE(g->ParentHasBackBitmap());
    host->backBitmap = true;
    EXPECT_TRUE(g->ParentHasBackBitmap());
    g->SetTransparent(false);
    EXPECT_FALSE(g->ParentHasBackBitmap());
    g->SetTransparent(true);
    // On the form: only a shape among the form's components supplies one.
    g->SetParent(form);
    EXPECT_FALSE(g->ParentHasBackBitmap());
    auto* shape = new Shape(form);
    EXPECT_TRUE(g->ParentHasBackBitmap());
    shape->background = false;
    EXPECT_FALSE(g->ParentHasBackBitmap());
}

TEST_F(kitControlBases, ParentBackgroundChangeRefreshesVisibleControlsOnABitmap) {
    auto* host = Make<Host>(0, 0, 200, 100);
    host->backBitmap = true;
    host->SetTransparent(true);
    auto* g = new Graphic(form);
    g->SetParent(host);
    g->BackFX()->BufferValid = true;
    g->contentChanges = 0;
    host->SetWidth(180);  // a transparent host on a bitmap tells its children
    EXPECT_EQ(g->Count(CM_KITPARENTBACKCHANGED), 1);
    EXPECT_EQ(g->contentChanges, 1);
    EXPECT_FALSE(g->BackFX()->BufferValid);
    // Opaque: it shows nothing of the parent's bitmap, only the effect buffer goes.
    g->SetTransparent(false);
    g->contentChanges = 0;
    g->BackFX()->BufferValid = true;
    g->Perform(CM_KITPARENTBACKCHANGED);
    EXPECT_EQ(g->contentChanges, 0);
    EXPECT_FALSE(g->BackFX()->BufferValid);
    // Hidden: nothing happens.
    g->SetTransparent(true);
    g->SetVisible(false);
    g->contentChanges = 0;
    g->BackFX()->BufferValid = true;
    g->Perform(CM_KITPARENTBACKCHANGED);
    EXPECT_EQ(g->contentChanges, 0);
    EXPECT_TRUE(g->BackFX()->BufferValid);
    // A host without a bitmap does not pass the size change on.
    g->SetVisible(true);
    host->backBitmap = false;
    host->SetWidth(170);
    EXPECT_EQ(g->Count(CM_KITPARENTBACKCHANGED), 3);
}

TEST_F(kitControlBases, LabelCaptionAndFlagsRefreshIt) {
    auto* l = Make<Label>(10, 10, 60, 20);
    l->adjusts = 0;
    l->SetCaption("&Name");
    EXPECT_EQ(l->adjusts, 1);
    EXPECT_EQ(l->Width(), 60);  // the base class sizes nothing
    l->SetAutoSize(false);
    EXPECT_EQ(l->adjusts, 2);
    l->SetAutoSize(false);
    l->SetWordWrap(true);
    l->SetAlignment(agCenter);
    l->SetAlignment(agCenter);
    EXPECT_EQ(l->adjusts, 4);
    EXPECT_TRUE(l->WordWrap());
    EXPECT_EQ(l->GetBoolean(1), true);
    EXPECT_FALSE(l->IsContentEmpty());
    l->SetCaption("");
    EXPECT_TRUE(l->IsContentEmpty());
    l->SetTransparent(false);
    EXPECT_FALSE(l->IsContentEmpty());
}

TEST_F(kitControlBases, LabelFollowsItsParentsFontUntilItsOwnIsSet) {
    auto* l = Make<Label>(10, 10, 60, 20);
    l->adjusts = 0;
    form->Font()->SetSize(12);
    EXPECT_EQ(l->Font()->Size(), 12);
    EXPECT_TRUE(l->ParentFont());
    EXPECT_EQ(l->Canvas()->Font()->Size(), 12);
    EXPECT_EQ(l->adjusts, 1);
    l->Font()->SetSize(9);
    EXPECT_FALSE(l->ParentFont());
    EXPECT_EQ(l->Canvas()->Font()->Size(), 9);
    form->Font()->SetSize(14);
    EXPECT_EQ(l->Font()->Size(), 9);
}

TEST_F(kitControlBases, AcceleratorMovesTheFocusUntilTheTargetIsFreed) {
    auto* l = Make<Label>(10, 10, 60, 20);
    l->SetCaption("&Name");
    auto* edit = new gui::TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(80, 10, 100, 20);
    QApplication::setActiveWindow(form->Widget());
    EXPECT_EQ(l->Perform(gui::CM_DIALOGCHAR, U'n'), 0);  // no target yet
    l->SetFocusControl(edit);
    EXPECT_EQ(l->Perform(gui::CM_DIALOGCHAR, U'x'), 0);
    l->SetShowAccelChar(false);
    EXPECT_EQ(l->Perform(gui::CM_DIALOGCHAR, U'n'), 0);
    l->SetShowAccelChar(true);
    l->SetEnabled(false);
    EXPECT_EQ(l->Perform(gui::CM_DIALOGCHAR, U'n'), 0);
    l->SetEnabled(true);
    EXPECT_EQ(l->Perform(gui::CM_DIALOGCHAR, U'n'), 1);
    EXPECT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    delete edit;
    EXPECT_EQ(l->FocusControl(), nullptr);
    EXPECT_EQ(l->Perform(gui::CM_DIALOGCHAR, U'n'), 0);
}

TEST_F(kitControlBases, BlinkingTogglesThePhaseOnItsTimerItem) {
    auto* l = Make<Label>(10, 10, 60, 20);
    l->SetTransparent(false);  // an opaque label repaints at once: every toggle is one paint
    l->SetBlinkTimeOn(100);
    ProcessFor(20);
    const int items = KitApplication->TimerPool->Count();
    EXPECT_FALSE(l->Blinking());
    EXPECT_TRUE(l->BlinkPhase());
    EXPECT_EQ(l->BlinkTimerID(), 0);

    l->SetBlinking(true);
    ASSERT_TRUE(l->Blinking());
    EXPECT_TRUE(l->GetBoolean(3));
    const std::uint16_t id = l->BlinkTimerID();
    EXPECT_GE(id, TKitApplication::FirstTimerID);
    TKitTimerItem* item = KitApplication->GetTimer(id);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->Enabled());
    EXPECT_EQ(item->Interval(), 700);
    EXPECT_EQ(KitApplication->TimerPool->Count(), items + 1);
    l->SetBlinking(true);  // unchanged: no second item
    EXPECT_EQ(KitApplication->TimerPool->Count(), items + 1);

    // 700 ms off-time on the 50 ms pool: the 14th tick toggles; the on-time then takes over.
    int paints = l->paints;
    PoolTicks(13);
    EXPECT_TRUE(l->BlinkPhase());
    EXPECT_EQ(l->paints, paints);
    PoolTicks(1);
    EXPECT_FALSE(l->BlinkPhase());
    EXPECT_EQ(l->paints, paints + 1);
    EXPECT_EQ(item->Interval(), 700);
    PoolTicks(14);
    EXPECT_TRUE(l->BlinkPhase());
    EXPECT_EQ(item->Interval(), 100);
    PoolTicks(2);
    EXPECT_FALSE(l->BlinkPhase());
    EXPECT_EQ(item->Interval(), 700);
    EXPECT_EQ(l->paints, paints + 3);

    PoolTicks(12);  // items fire on multiples of their tick count: pool tick 42
    ASSERT_TRUE(l->BlinkPhase());
    paints = l->paints;
    l->SetBlinking(false);
    EXPECT_FALSE(l->Blinking());
    EXPECT_FALSE(l->BlinkPhase());
    EXPECT_EQ(l->BlinkTimerID(), 0);
    EXPECT_EQ(l->paints, paints + 1);
    EXPECT_EQ(KitApplication->GetTimer(id), nullptr);
    EXPECT_EQ(KitApplication->TimerPool->Count(), items);
    PoolTicks(30);
    EXPECT_FALSE(l->BlinkPhase());
    EXPECT_EQ(l->paints, paints + 1);
}

TEST_F(kitControlBases, FreeingABlinkingLabelReturnsItsTimerItem) {
    const int items = KitApplication->TimerPool->Count();
    auto* l = Make<Label>(10, 10, 60, 20);
    l->SetBlinking(true);
    const std::uint16_t id = l->BlinkTimerID();
    ASSERT_NE(KitApplication->GetTimer(id), nullptr);
    delete l;
    EXPECT_EQ(KitApplication->GetTimer(id), nullptr);
    EXPECT_EQ(KitApplication->TimerPool->Count(), items);
    PoolTicks(30);  // nothing fires into the freed label
    // The slot is free again for the next taker.
    auto* next = Make<Label>(10, 40, 60, 20);
    next->SetBlinking(true);
    EXPECT_EQ(next->BlinkTimerID(), id);
    next->SetBlinking(false);
}

TEST_F(kitControlBases, BlinkingWithoutAFreeTimerRaisesAndStaysOff) {
    auto* l = Make<Label>(10, 10, 60, 20);
    std::vector<std::uint16_t> taken;
    for (std::uint16_t id; (id = KitApplication->AddTimer(1000, nullptr)) != 0;) taken.push_back(id);
    const int items = KitApplication->TimerPool->Count();
    try {
        l->SetBlinking(true);
        ADD_FAILURE() << "no exception";
    } catch (const rtl::EOutOfResources& e) {
        EXPECT_EQ(e.Message, "Nicht genügend Timer verfügbar");
    }
    EXPECT_FALSE(l->Blinking());
    EXPECT_EQ(l->BlinkTimerID(), 0);
    EXPECT_TRUE(l->BlinkPhase());
    EXPECT_EQ(KitApplication->TimerPool->Count(), items);
    // Switching off what never came on leaves the others' items alone.
    l->SetBlinking(false);
    EXPECT_EQ(KitApplication->TimerPool->Count(), items);

    KitApplication->RemoveTimer(taken.back());
    taken.pop_back();
    l->SetBlinking(true);
    EXPECT_TRUE(l->Blinking());
    EXPECT_NE(l->BlinkTimerID(), 0);
    delete l;
    EXPECT_EQ(KitApplication->TimerPool->Count(), items - 1);
    for (auto id : taken) KitApplication->RemoveTimer(id);
}
