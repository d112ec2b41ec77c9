// The custom control base on a form: defaults and style, image-list reference, flat and hot
// frames, transparency with and without a background bitmap, themed drawing through the theme
// library's entries, mouse enter and exit from Qt events, focus messages and the messages that
// tell children about a changed background.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QImage>
#include <QPainter>

#include <memory>
#include <string>
#include <vector>

#include "components/base/KitXPStyles.h"
#include "components/base/kitcustomcontrol.h"
#include "platform/gdi/Drawing.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/TaggedStream.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;
using namespace gdi;
using gui::TMessage;

namespace {

QRgb Rgb(TColor c) { return ColorToQColor(c).rgb(); }

// Exposes the protected parts and counts what the tests look for.
class Ctl : public TKitCustomControl {
public:
    explicit Ctl(rtl::TComponent* owner) : TKitCustomControl(owner) {}
    using TKitCustomControl::GetThemePart;
    using TKitCustomControl::WindowCanvas;
    std::vector<unsigned> seen;
    int imageChanges = 0;
    bool readOnly = false, themedFrames = false, backBitmap = false;
    TColor backColor = clLime;
    unsigned Style() {
        TCreateParams p;
        CreateParams(p);
        return p.Style;
    }
    void Designing(bool v) { SetDesigning(v); }
    bool HasBackBitmap() override { return backBitmap; }
    bool DrawBackBitmap(TCanvas& c, const TRect& r, TPoint, unsigned short) override {
        if (!backBitmap) return false;
        c.Brush()->SetColor(backColor);
        c.FillRect(r);
        return true;
    }

protected:
    void WndProc(TMessage& m) override {
        seen.push_back(m.Msg);
        TKitCustomControl::WndProc(m);
    }
    void ImageListChange(rtl::TObject* s) override {
        ++imageChanges;
        TKitCustomControl::ImageListChange(s);
    }
    bool IsReadOnly() override { return readOnly; }
    bool ThemedFrameSupported() override { return themedFrames; }
};

// An image list that has every image.
class Images : public TKitImageList {
public:
    explicit Images(rtl::TComponent* owner) : TKitImageList(owner) {}
    bool HasImage(int, int) override { return true; }
};

// A windowless child that records the messages it gets.
class Child : public gui::TGraphicControl {
public:
    explicit Child(rtl::TComponent* owner) : gui::TGraphicControl(owner) {}
    std::vector<unsigned> seen;
    int Count(unsigned msg) const { return static_cast<int>(std::count(seen.begin(), seen.end(), msg)); }

protected:
    void WndProc(TMessage& m) override {
        seen.push_back(m.Msg);
        gui::TGraphicControl::WndProc(m);
    }
};

int Count(const std::vector<unsigned>& v, unsigned msg) { return static_cast<int>(std::count(v.begin(), v.end(), msg)); }

// Theme-library entries for one test; the library counts as loaded while it lives.
struct FakeThemes {
    static inline std::vector<std::string> drawn;
    static inline TColor parentBack = clBlue;
    TKitThemeFunctions saved = KitThemeFunctions;
    bool savedLoaded = KitThemeLibraryLoaded;
    FakeThemes() {
        drawn.clear();
        KitThemeLibraryLoaded = true;
        KitThemeFunctions.IsThemeActive = [] { return true; };
        KitThemeFunctions.OpenThemeData = [](void*, const std::string& cls) -> HTHEME { return new std::string(cls); };
        KitThemeFunctions.CloseThemeData = [](HTHEME t) -> long {
            delete static_cast<std::string*>(t);
            return 0;
        };
        KitThemeFunctions.DrawThemeBackground = [](HTHEME t, TCanvas*, int part, int state, const TRect& r,
                                                   const TRect*) -> long {
            drawn.push_back(*static_cast<std::string*>(t) + " " + std::to_string(part) + "/" + std::to_string(state) +
                            " " + std::to_string(r.Width()) + "x" + std::to_string(r.Height()));
            return 0;
        };
        KitThemeFunctions.DrawThemeParentBackground = [](void*, TCanvas* c, const TRect*) -> long {
            QPainter p(c->Target());
            p.fillRect(c->Target()->rect(), ColorToQColor(parentBack));
            return 0;
        };
    }
    ~FakeThemes() {
        KitThemeFunctions = saved;
        KitThemeLibraryLoaded = savedLoaded;
    }
};

}  // namespace

class kitCustomControl : public GuiFixture {
protected:
    gui::TForm* form = nullptr;
    Ctl* c = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 200);
        form->SetColor(static_cast<TColor>(0xA2D3F9));
        c = new Ctl(form);
        c->SetParent(form);
        c->SetLeft(10);
        c->SetTop(10);
        c->SetColor(clRed);
        form->Show();
    }
    // The control's window as shown.
    QImage Shot() {
        QCoreApplication::processEvents();
        return c->Widget()->grab().toImage();
    }
};

TEST_F(kitCustomControl, DefaultsAndWindowStyle) {
    EXPECT_EQ(c->Width(), 100);
    EXPECT_EQ(c->Height(), 40);
    EXPECT_FALSE(c->TabStop());
    EXPECT_TRUE(c->CtlXP());
    EXPECT_FALSE(c->Flat());
    EXPECT_FALSE(c->Transparent());
    EXPECT_EQ(c->ImageList(), nullptr);
    EXPECT_NE(c->Style() & gui::WS_CLIPCHILDREN, 0u);
    // Opaque and not flat: the client area is the control's colour, edge to edge.
    const QImage shot = Shot();
    for (QPoint p : {QPoint(0, 0), QPoint(50, 20), QPoint(99, 39)}) EXPECT_EQ(shot.pixel(p), Rgb(clRed));
}

TEST_F(kitCustomControl, TransparentSwitchesOpaqueStyleAndRecreatesTheWindow) {
    c->seen.clear();
    c->SetTransparent(true);
    EXPECT_FALSE(c->ControlStyle().Contains(gui::csOpaque));
    EXPECT_EQ(Count(c->seen, gui::WM_SIZE), 1);  // the recreated window reports its size
    c->SetTransparent(true);
    EXPECT_EQ(Count(c->seen, gui::WM_SIZE), 1);
    c->SetTransparent(false);
    EXPECT_TRUE(c->ControlStyle().Contains(gui::csOpaque));
}

TEST_F(kitCustomControl, ImageIndexesAndTheImageList) {
    c->SetImageIndex(3);  // no list: stored, nothing to refresh
    EXPECT_EQ(c->ImageIndex(), 3);
    EXPECT_EQ(c->imageChanges, 0);
    auto* list = new Images(form);
    c->SetImageList(list);
    EXPECT_EQ(c->imageChanges, 1);
    c->SetImageIndex(-1);
    c->SetListIndex(-5);
    c->SetImageIndex(3);
    EXPECT_EQ(c->ImageIndex(), 3);
    EXPECT_EQ(c->ListIndex(), 0);
    EXPECT_EQ(c->imageChanges, 1);
    c->SetListIndex(2);
    EXPECT_EQ(c->GetIndex(1), 2);
    EXPECT_EQ(c->imageChanges, 2);
    // A change of the container reaches the control through its link.
    list->Change();
    EXPECT_EQ(c->imageChanges, 3);
    // Freeing the list clears the reference; later container changes cannot reach a dead link.
    delete list;
    EXPECT_EQ(c->ImageList(), nullptr);
    EXPECT_EQ(c->imageChanges, 4);
    c->SetImageList(nullptr);
    EXPECT_EQ(c->imageChanges, 5);
    // A control freed before its list leaves the list with no link to it.
    auto* list2 = new Images(form);
    auto* other = new Ctl(form);
    other->SetImageList(list2);
    delete other;
    list2->Change();
    delete list2;
}

TEST_F(kitCustomControl, InternalPropertyTakesOnlyApplicationWideLists) {
    auto* list = new Images(form);
    c->SetImageList(list);
    rtl::TMemoryStream written;
    rtl::WriteDefinedProperties(*c, written);
    written.SetPosition(0);
    rtl::TReader check(written);
    check.ReadListBegin();
    EXPECT_TRUE(check.EndOfList());  // an ordinary list is no "Internal" value
    rtl::TMemoryStream s;
    {
        rtl::TWriter w(s);
        w.WriteListBegin();
        w.WriteString("Internal");
        w.WriteString("KITXXX99");
        w.WriteListEnd();
        w.FlushBuffer();
    }
    s.SetPosition(0);
    rtl::ReadDefinedProperties(*c, s);
    EXPECT_EQ(c->ImageList(), nullptr);
}

TEST_F(kitCustomControl, ApplicationWideListsRoundTripByName) {
    KitContInitialize();
    for (TKitCustomImageList* shared : {static_cast<TKitCustomImageList*>(KitAppContainer->BitmapList()),
                                        static_cast<TKitCustomImageList*>(KitAppContainer->ImageList())}) {
        c->SetImageList(shared);
        rtl::TMemoryStream s;
        rtl::WriteDefinedProperties(*c, s);
        s.SetPosition(0);
        auto* back = new Ctl(form);
        rtl::ReadDefinedProperties(*back, s);
        EXPECT_EQ(back->ImageList(), shared);
        const int before = back->imageChanges;
        shared->Change();
        EXPECT_EQ(back->imageChanges, before + 1);
        delete back;
    }
    // Shut-down frees the container under the control: the reference is cleared.
    KitContFinalize();
    EXPECT_EQ(c->ImageList(), nullptr);
}

TEST_F(kitCustomControl, FlatFramesAtRestAndHot) {
    c->SetFlat(true);
    QImage shot = Shot();
    EXPECT_EQ(shot.pixel(0, 0), Rgb(clBtnFace));
    EXPECT_EQ(shot.pixel(1, 1), Rgb(clBtnFace));
    EXPECT_EQ(shot.pixel(2, 2), Rgb(clRed));
    c->SetCtl3D(false);
    c->Repaint();
    shot = Shot();
    EXPECT_EQ(shot.pixel(0, 0), Rgb(clBtnFace));
    EXPECT_EQ(shot.pixel(1, 1), Rgb(clRed));
    // No longer flat: the full frame is drawn at once, without a repaint.
    c->SetFlat(false);
    shot = Shot();
    EXPECT_EQ(shot.pixel(0, 0), Rgb(clWindowFrame));
    EXPECT_EQ(shot.pixel(99, 39), Rgb(clWindowFrame));
    EXPECT_EQ(shot.pixel(1, 1), Rgb(clRed));
    c->SetCtl3D(true);
    c->SetFlat(true);
    c->SetFlat(false);
    shot = Shot();
    // With the 3-D look: the sunken inner edge outside, the face ring and the window frame
    // inside it where the edge leaves them.
    TBitmap want(100, 40);
    want.Canvas()->Brush()->SetColor(clRed);
    want.Canvas()->FillRect(Rect(0, 0, 100, 40));
    want.Canvas()->Brush()->SetColor(clWindowFrame);
    want.Canvas()->FrameRect(Rect(1, 1, 100, 40));
    want.Canvas()->Brush()->SetColor(clBtnFace);
    want.Canvas()->FrameRect(Rect(0, 0, 99, 39));
    TRect r = Rect(0, 0, 100, 40);
    DrawEdge(*want.Canvas(), r, BDR_SUNKENINNER, BF_RECT | BF_ADJUST);
    for (QPoint p : {QPoint(0, 0), QPoint(50, 0), QPoint(0, 20), QPoint(99, 39), QPoint(1, 1), QPoint(98, 38),
                     QPoint(50, 38), QPoint(98, 20), QPoint(2, 2)})
        EXPECT_EQ(shot.pixel(p), Rgb(want.Canvas()->Pixels(p.x(), p.y())))
            << p.x() << "," << p.y();
}

TEST_F(kitCustomControl, LeavingDrawsTheFlatFrameUnlessFocused) {
    c->SetFlat(true);
    Shot();
    auto paintOver = [&] {
        TCanvas* w = c->WindowCanvas();
        w->Brush()->SetColor(clLime);
        w->FillRect(Rect(0, 0, 100, 40));
    };
    int enters = 0, exits = 0;
    c->OnMouseEnter = [&](rtl::TObject* s) {
        EXPECT_EQ(s, c);
        EXPECT_FALSE(c->MouseInside());  // the event comes first
        ++enters;
    };
    c->OnMouseExit = [&](rtl::TObject* s) {
        EXPECT_EQ(s, c);
        EXPECT_FALSE(c->MouseInside());
        ++exits;
    };
    paintOver();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(15, 15));
    QApplication::sendEvent(c->Widget(), &enter);
    EXPECT_TRUE(c->MouseInside());
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(Shot().pixel(0, 0), Rgb(clLime));  // entering draws nothing
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(c->Widget(), &leave);
    EXPECT_FALSE(c->MouseInside());
    EXPECT_EQ(exits, 1);
    QImage shot = Shot();
    EXPECT_EQ(shot.pixel(0, 0), Rgb(clBtnFace));
    EXPECT_EQ(shot.pixel(1, 1), Rgb(clBtnFace));
    EXPECT_EQ(shot.pixel(2, 2), Rgb(clLime));

    QApplication::setActiveWindow(form->Widget());
    c->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return c->Focused() && c->FocusedFlag(); }));
    paintOver();
    QApplication::sendEvent(c->Widget(), &enter);
    QApplication::sendEvent(c->Widget(), &leave);
    EXPECT_EQ(exits, 2);
    EXPECT_EQ(Shot().pixel(0, 0), Rgb(clLime));
}

TEST_F(kitCustomControl, FocusMessagesArriveLater) {
    std::vector<std::string> log;
    c->OnGotFocus = [&](rtl::TObject* s) { log.push_back(s == c ? "got" : "?"); };
    c->OnLostFocus = [&](rtl::TObject* s) { log.push_back(s == c ? "lost" : "?"); };
    c->OnEnter = [&](rtl::TObject*) { log.push_back("enter"); };
    c->OnExit = [&](rtl::TObject*) { log.push_back("exit"); };
    c->Perform(gui::WM_SETFOCUS);
    EXPECT_TRUE(c->FocusedFlag());
    EXPECT_EQ(log, (std::vector<std::string>{"enter"}));
    EXPECT_TRUE(ProcessUntil([&] { return log.size() == 2; }));
    c->Perform(gui::WM_KILLFOCUS);
    EXPECT_FALSE(c->FocusedFlag());
    EXPECT_TRUE(ProcessUntil([&] { return log.size() == 4; }));
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "got", "exit", "lost"}));
}

TEST_F(kitCustomControl, ThemePartStatesOverrideInOrder) {
    struct Case {
        bool focused, hot, readOnly, disabled;
        int state;
    };
    const Case cases[] = {{false, false, false, false, 1}, {true, false, false, false, 5}, {true, true, false, false, 2},
                          {true, true, true, false, 6},    {true, true, true, true, 4},    {false, false, false, true, 4}};
    QApplication::setActiveWindow(form->Widget());
    for (const Case& k : cases) {
        if (k.focused) {
            c->SetEnabled(true);
            c->SetFocus();
            ASSERT_TRUE(ProcessUntil([&] { return c->Focused(); }));
        } else {
            form->SetFocus();
            ASSERT_TRUE(ProcessUntil([&] { return !c->Focused(); }));
        }
        c->Perform(k.hot ? gui::CM_MOUSEENTER : gui::CM_MOUSELEAVE);
        c->readOnly = k.readOnly;
        c->SetEnabled(!k.disabled);
        std::string cls;
        int part = 0, state = 0;
        c->GetThemePart(cls, part, state);
        EXPECT_EQ(cls, "EDIT");
        EXPECT_EQ(part, 1);
        EXPECT_EQ(state, k.state) << k.focused << k.hot << k.readOnly << k.disabled;
    }
}

TEST_F(kitCustomControl, CtlXPTellsTheChildrenAlsoWithThemesOff) {
    auto* child = new Child(form);
    child->SetParent(c);
    ASSERT_FALSE(c->PaintThemed());
    Shot();
    c->SetCtlXP(false);
    EXPECT_EQ(child->Count(CM_KITBACKGROUNDCHANGED), 1);
    c->SetCtlXP(false);
    EXPECT_EQ(child->Count(CM_KITBACKGROUNDCHANGED), 1);
    // The control repaints: a mark drawn over it goes away.
    c->Canvas()->Brush()->SetColor(clLime);
    c->Canvas()->FillRect(Rect(0, 0, 100, 40));
    c->SetCtlXP(true);
    EXPECT_EQ(child->Count(CM_KITBACKGROUNDCHANGED), 2);
    EXPECT_TRUE(ProcessUntil([&] { return Shot().pixel(50, 20) == Rgb(clRed); }));
    // So does a theme change.
    c->Perform(gui::WM_THEMECHANGED);
    EXPECT_EQ(child->Count(CM_KITBACKGROUNDCHANGED), 3);
}

TEST_F(kitCustomControl, TransparentTakesTheParentsBitmapOrFallsBackToColor) {
    c->SetTransparent(true);
    EXPECT_TRUE(ProcessUntil([&] { return Shot().pixel(50, 20) == Rgb(clRed); }));  // no bitmap, no themes
    c->backBitmap = true;
    c->Repaint();
    EXPECT_EQ(Shot().pixel(50, 20), Rgb(clLime));
    c->FillBackRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Shot().pixel(5, 5), Rgb(clLime));
    c->SetTransparent(false);
    c->Repaint();
    EXPECT_EQ(Shot().pixel(50, 20), Rgb(clRed));
    c->FillBackRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Shot().pixel(5, 5), Rgb(clRed));
}

TEST_F(kitCustomControl, SizeMoveAndParentMessagesFollowTheBackgroundSource) {
    auto* child = new Child(form);
    child->SetParent(c);
    c->BackFX()->BufferValid = true;
    c->SetWidth(120);
    EXPECT_FALSE(c->BackFX()->BufferValid);
    EXPECT_EQ(child->Count(CM_KITPARENTBACKCHANGED), 0);
    c->Perform(CM_KITCHILDBACKCHANGED);
    EXPECT_EQ(child->Count(CM_KITPARENTBACKCHANGED), 0);

    c->backBitmap = true;
    c->SetTransparent(true);
    const int before = child->Count(CM_KITPARENTBACKCHANGED);
    c->SetWidth(130);
    EXPECT_EQ(child->Count(CM_KITPARENTBACKCHANGED), before + 1);
    c->Perform(CM_KITCHILDBACKCHANGED);
    EXPECT_EQ(child->Count(CM_KITPARENTBACKCHANGED), before + 2);
    c->BackFX()->BufferValid = true;
    c->Perform(CM_KITPARENTBACKCHANGED);
    EXPECT_FALSE(c->BackFX()->BufferValid);
    EXPECT_EQ(child->Count(CM_KITPARENTBACKCHANGED), before + 3);
    c->BackFX()->BufferValid = true;
    c->SetLeft(40);
    EXPECT_FALSE(c->BackFX()->BufferValid);
}

TEST_F(kitCustomControl, ThemedTransparencyLetsTheThemePaintTheParentBackground) {
    FakeThemes themes;
    c->SetTransparent(true);
    c->Repaint();
    EXPECT_EQ(Shot().pixel(50, 20), Rgb(clBlue));  // PaintBackground left the theme's pixels
    EXPECT_TRUE(c->ThemePainted());
    c->SetCtlXP(false);
    c->Repaint();
    EXPECT_EQ(Shot().pixel(50, 20), Rgb(clRed));
    EXPECT_FALSE(c->ThemePainted());
}

TEST_F(kitCustomControl, ThemedFramesGoThroughTheThemeLibrary) {
    FakeThemes themes;
    EXPECT_FALSE(c->PaintThemed());  // the class supports no themed frame
    c->themedFrames = true;
    EXPECT_TRUE(c->PaintThemed());
    c->SetFlat(true);
    c->Repaint();
    ASSERT_FALSE(FakeThemes::drawn.empty());
    EXPECT_EQ(FakeThemes::drawn.back(), "EDIT 1/1 100x40");
    c->Perform(gui::CM_MOUSEENTER);
    c->SetFlat(false);
    EXPECT_EQ(FakeThemes::drawn.back(), "EDIT 1/2 100x40");
    c->SetCtlXP(false);
    EXPECT_FALSE(c->PaintThemed());
}

TEST_F(kitCustomControl, DesignTimeOutlineInsteadOfTheFlatFrame) {
    c->SetFlat(true);
    c->Designing(true);
    c->Repaint();
    const QImage shot = Shot();
    EXPECT_EQ(shot.pixel(0, 0), Rgb(clBlack));
    EXPECT_EQ(shot.pixel(50, 20), Rgb(clRed));
}

TEST(kitFindComponentIndex, FirstComponentOfTheClassOnAForm) {
    gui::TApplication app;
    auto form = std::make_unique<gui::TForm>(nullptr);
    rtl::TComponent notAForm(nullptr);
    auto* a = new Ctl(form.get());
    new Images(form.get());
    new Images(form.get());
    new Images(&notAForm);
    const auto images = rtl::TComponentClass::Of<Images>();
    EXPECT_EQ(KitFindComponentIndex(form.get(), images), 1);
    EXPECT_EQ(KitFindComponentIndex(form.get(), rtl::TComponentClass::Of<TKitCustomControl>()), 0);
    EXPECT_EQ(KitFindComponentIndex(form.get(), rtl::TComponentClass::Of<TKitFormShape>()), -1);
    EXPECT_EQ(KitFindComponentIndex(form.get(), rtl::TComponentClass()), -1);
    EXPECT_EQ(KitFindComponentIndex(nullptr, images), -1);
    EXPECT_EQ(KitFindComponentIndex(&notAForm, images), -1);
    (void)a;
}
