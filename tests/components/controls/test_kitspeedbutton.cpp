// Speed buttons on a form, driven by synthetic mouse input and by ticks of the application's
// timer pool: clicks, groups, repeated clicks, hot tracking, the drop-down strip, and the face.
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>

#include <memory>
#include <string>

#include "components/base/KitDrawButtonFace.h"
#include "components/base/kitapp.h"
#include "components/controls/KitSpeedButton.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;
using gui::TMessage;

namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButtons held) {
    const Qt::MouseButton b = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), b, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void Press(QWidget* w, QPoint p) { SendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton); }
void Release(QWidget* w, QPoint p) { SendMouse(w, QEvent::MouseButtonRelease, p, Qt::NoButton); }
void Move(QWidget* w, QPoint p, bool held = false) {
    SendMouse(w, QEvent::MouseMove, p, held ? Qt::LeftButton : Qt::NoButton);
}

// Ticks of the pool's hidden window (50 ms each).
void PoolTicks(int n) {
    for (int i = 0; i < n; ++i) {
        TMessage m{gui::WM_TIMER, 1, 0, 0};
        KitApplication->TimerPool->WndProc(m);
    }
}

// The first pixel where the shot differs from the expected bitmap, or "" when none does.
std::string FirstDifference(const QImage& shot, gdi::TBitmap& want) {
    if (shot.width() != want.Width() || shot.height() != want.Height()) return "size";
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x)
            if (shot.pixel(x, y) != gdi::ColorToQColor(want.Canvas()->Pixels(x, y)).rgb())
                return std::to_string(x) + "," + std::to_string(y);
    return "";
}

}  // namespace

class kitSpeedButton : public GuiFixture {
protected:
    gui::TForm* form = nullptr;
    QWidget* client = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 200);
        form->Show();
        client = form->ClientWidget();
    }
    TKitSpeedButton* Make(int l, int t, int w = 23, int h = 22) {
        auto* b = new TKitSpeedButton(form);
        b->SetParent(form);
        b->SetBounds(l, t, w, h);
        return b;
    }
    static QPoint Centre(const TKitSpeedButton* b) {
        return QPoint(b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
    }
    void Click(const TKitSpeedButton* b) {
        Press(client, Centre(b));
        Release(client, Centre(b));
    }
};

TEST_F(kitSpeedButton, Defaults) {
    auto* b = new TKitSpeedButton(form);
    EXPECT_EQ(b->Width(), 23);
    EXPECT_EQ(b->Height(), 22);
    EXPECT_EQ(b->Style(), ubsAutoDetect);
    EXPECT_TRUE(b->HotTrack());
    EXPECT_FALSE(b->RectHitTest);
    EXPECT_EQ(b->RepeatingDelay, 500);
    EXPECT_EQ(b->RepeatingInterval, 100);
    EXPECT_EQ(b->DropDownComboWidth(), 12);
    EXPECT_EQ(b->EnterColor(), gdi::clCaptionText);
    EXPECT_EQ(b->Color(), gdi::clBtnFace);
    EXPECT_TRUE(b->ControlStyle().Contains(gui::csOpaque));
    EXPECT_TRUE(b->ControlStyle().Contains(gui::csCaptureMouse));
    EXPECT_FALSE(b->ControlStyle().Contains(gui::csSetCaption));
    EXPECT_EQ(b->State(), kbsUp);
}

TEST_F(kitSpeedButton, AClickNeedsPressAndReleaseInside) {
    auto* b = Make(10, 10);
    int clicks = 0;
    b->OnClick = [&](rtl::TObject*) { ++clicks; };
    Click(b);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->State(), kbsUp);

    // Pressed inside, dragged out and released outside: no click, the face comes up.
    Press(client, Centre(b));
    EXPECT_EQ(b->State(), kbsPushed);
    Move(client, QPoint(150, 150), true);
    EXPECT_EQ(b->State(), kbsUp);
    Release(client, QPoint(150, 150));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->State(), kbsUp);

    // Dragged out and back in before the release: a click.
    Press(client, Centre(b));
    Move(client, QPoint(150, 150), true);
    Move(client, Centre(b), true);
    EXPECT_EQ(b->State(), kbsPushed);
    Release(client, Centre(b));
    EXPECT_EQ(clicks, 2);

    // A press that began outside does not click on a release over the button.
    Press(client, QPoint(150, 150));
    Move(client, Centre(b), true);
    Release(client, Centre(b));
    EXPECT_EQ(clicks, 2);

    // Disabled: nothing.
    b->SetEnabled(false);
    EXPECT_EQ(b->State(), kbsDisabled);
    Click(b);
    EXPECT_EQ(clicks, 2);
}

TEST_F(kitSpeedButton, GroupButtonsReleaseEachOther) {
    auto* a = Make(10, 10);
    auto* b = Make(40, 10);
    auto* other = Make(70, 10);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    other->SetGroupIndex(2);
    int clicks = 0;
    b->OnClick = [&](rtl::TObject*) { ++clicks; };

    other->SetPressed(true);
    Click(a);
    EXPECT_TRUE(a->Pressed());
    EXPECT_EQ(a->State(), kbsDown);
    Click(b);
    EXPECT_TRUE(b->Pressed());
    EXPECT_FALSE(a->Pressed());
    EXPECT_EQ(a->State(), kbsUp);
    EXPECT_TRUE(other->Pressed()) << "another group is left alone";
    EXPECT_EQ(clicks, 1);

    // Pressing the pressed button again: it stays down (but still clicks).
    Click(b);
    EXPECT_TRUE(b->Pressed());
    EXPECT_EQ(b->State(), kbsDown);
    EXPECT_EQ(clicks, 2);
    b->SetPressed(false);
    EXPECT_TRUE(b->Pressed());

    // AllowAllUp is taken over by the group: now both may be up.
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp());
    Click(b);
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(b->State(), kbsUp);

    // Without a group a button cannot be pressed.
    auto* lone = Make(100, 10);
    lone->SetPressed(true);
    EXPECT_FALSE(lone->Pressed());
}

TEST_F(kitSpeedButton, HeldButtonRepeatsItsClicks) {
    auto* b = Make(10, 10);
    b->RepeatedClick = true;
    int clicks = 0;
    b->OnClick = [&](rtl::TObject*) { ++clicks; };
    Press(client, Centre(b));
    EXPECT_EQ(clicks, 1) << "the first click comes at once";
    EXPECT_NE(b->DelayTimerID(), 0);
    PoolTicks(9);  // 450 ms
    EXPECT_EQ(clicks, 1);
    PoolTicks(1);  // 500 ms
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(b->DelayTimerID(), 0);
    EXPECT_NE(b->RepeatTimerID(), 0);
    PoolTicks(1);
    EXPECT_EQ(clicks, 2);
    PoolTicks(1);  // 600 ms
    EXPECT_EQ(clicks, 3);
    PoolTicks(4);  // 800 ms
    EXPECT_EQ(clicks, 5);

    // Dragged off the button the repeat pauses; back on it goes on.
    Move(client, QPoint(150, 150), true);
    PoolTicks(4);
    EXPECT_EQ(clicks, 5);
    Move(client, Centre(b), true);
    PoolTicks(2);
    EXPECT_EQ(clicks, 6);

    // The release adds no click of its own and stops the timers.
    Release(client, Centre(b));
    EXPECT_EQ(clicks, 6);
    EXPECT_EQ(b->RepeatTimerID(), 0);
    PoolTicks(20);
    EXPECT_EQ(clicks, 6);
}

TEST_F(kitSpeedButton, FreeingAHeldButtonReturnsItsTimerItems) {
    auto* b = Make(10, 10);
    b->RepeatedClick = true;
    const int before = KitApplication->TimerPool->Count();
    Press(client, Centre(b));
    PoolTicks(10);
    ASSERT_NE(b->RepeatTimerID(), 0);
    EXPECT_GT(KitApplication->TimerPool->Count(), before);
    delete b;
    EXPECT_EQ(KitApplication->TimerPool->Count(), before);
    PoolTicks(10);  // nothing left to fire into a freed button
    Release(client, QPoint(20, 20));
}

TEST_F(kitSpeedButton, HotTrackingFollowsThePointer) {
    auto* flat = Make(10, 10);
    flat->SetStyle(ubsFlat);
    auto* classic = Make(60, 10);
    classic->SetStyle(ubsWin40);
    Move(client, Centre(flat));
    EXPECT_EQ(flat->State(), kbsHot);
    EXPECT_NE(flat->HotTimerID(), 0);
    Move(client, Centre(classic));
    EXPECT_EQ(flat->State(), kbsUp);
    EXPECT_EQ(flat->HotTimerID(), 0);
    EXPECT_EQ(classic->State(), kbsUp) << "a classic face does not track the mouse";
    Move(client, QPoint(200, 150));
    EXPECT_EQ(classic->State(), kbsUp);

    // A hot button that gets disabled shows the disabled face and stops polling.
    Move(client, Centre(flat));
    ASSERT_EQ(flat->State(), kbsHot);
    flat->SetEnabled(false);
    EXPECT_EQ(flat->State(), kbsDisabled);
    EXPECT_EQ(flat->HotTimerID(), 0);
}

// Leaving a button with HideHint hides the application's hint shown for it; without HideHint
// the hint stays while the mouse moves on over the parent.
TEST_F(kitSpeedButton, LeavingWithHideHintHidesTheApplicationHint) {
    // The form's activation first: it would hide a tip shown before it arrives.
    ASSERT_TRUE(ProcessUntil([this] { return client->window()->isActiveWindow(); }));
    for (const bool hide : {false, true}) {
        SCOPED_TRACE(hide);
        auto* b = Make(10, 10);
        b->SetHint("Tipp");
        b->ShowHint = true;
        b->HideHint = hide;
        Move(client, Centre(b));
        QHelpEvent help(QEvent::ToolTip, Centre(b), client->mapToGlobal(Centre(b)));
        QApplication::sendEvent(client, &help);
        ASSERT_TRUE(ProcessUntil([] { return QToolTip::isVisible(); }));
        EXPECT_EQ(QToolTip::text(), "Tipp");
        Move(client, QPoint(200, 150));
        if (hide) {
            EXPECT_TRUE(ProcessUntil([] { return !QToolTip::isVisible(); }, 2000));
        } else {
            ProcessFor(600);
            EXPECT_TRUE(QToolTip::isVisible());
        }
        QToolTip::hideText();
        ProcessUntil([] { return !QToolTip::isVisible(); }, 2000);
        delete b;
    }
}

TEST_F(kitSpeedButton, DropDownStripOpensTheMenuElsewhereItClicks) {
    auto* b = Make(10, 10);
    gui::TPopupMenu* menu = new gui::TPopupMenu(form);
    b->SetDropDownMenu(menu);
    b->SetDropDownCombo(true);
    EXPECT_EQ(b->Width(), 35);
    EXPECT_TRUE(b->HasDropDown());
    int clicks = 0, drops = 0;
    b->OnClick = [&](rtl::TObject*) { ++clicks; };
    b->OnDropDown = [&](rtl::TObject*) {
        ++drops;
        EXPECT_EQ(b->State(), kbsMenu);
        QTimer::singleShot(0, menu->Menu(), [menu] { menu->Menu()->close(); });
    };
    const int y = b->Top() + 10;
    for (int x : {b->Left() + 35 - 12, b->Left() + 34}) {  // the strip
        Press(client, QPoint(x, y));
        Release(client, QPoint(x, y));
    }
    EXPECT_EQ(drops, 2);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(b->Parent()->CaptureControl(), nullptr);
    for (int x : {b->Left() + 1, b->Left() + 35 - 13}) {  // the main part
        Press(client, QPoint(x, y));
        Release(client, QPoint(x, y));
    }
    EXPECT_EQ(drops, 2);
    EXPECT_EQ(clicks, 2);

    b->SetDropDownComboWidth(20);
    EXPECT_EQ(b->Width(), 43);
    b->SetDropDownCombo(false);
    EXPECT_EQ(b->Width(), 23);

    // Without the combo strip the whole button opens the menu; a freed menu is forgotten.
    Click(b);
    EXPECT_EQ(drops, 3);
    delete menu;
    EXPECT_EQ(b->DropDownMenu(), nullptr);
    Click(b);
    EXPECT_EQ(clicks, 3);
}

TEST_F(kitSpeedButton, FaceIsTheButtonFaceOfItsStyleAndState) {
    auto* b = Make(10, 10, 30, 24);
    b->SetStyle(ubsWin40);
    // Each state's face as the face routine draws it (no glyph, no caption).
    auto differs = [&](std::uint8_t state) {
        gdi::TBitmap want(30, 24);
        gdi::TRect r = gdi::Rect(0, 0, 30, 24);
        KitDrawButtonFace(form, *want.Canvas(), false, r, ubsWin40, state, kbf3DBorder, gdi::clBtnFace);
        form->Repaint();
        return FirstDifference(client->grab().toImage().copy(10, 10, 30, 24), want);
    };
    EXPECT_EQ(differs(kbsUp), "");
    Press(client, QPoint(20, 20));
    EXPECT_EQ(differs(kbsPushed), "");
    Release(client, QPoint(20, 20));
    EXPECT_EQ(differs(kbsUp), "");
    EXPECT_NE(differs(kbsPushed), "");

    // The content of a pushed face moves one pixel to the lower right.
    const gdi::TRect up = b->ContentRect();
    EXPECT_EQ(up, gdi::Rect(2, 2, 28, 22));
    Press(client, QPoint(20, 20));
    const gdi::TRect down = b->ContentRect();
    EXPECT_EQ(down, gdi::Rect(3, 3, 29, 23));
    Release(client, QPoint(20, 20));
}

TEST_F(kitSpeedButton, StylesSetGlyphLookAndOpacity) {
    auto* b = Make(10, 10);
    struct Case {
        TKitUserButtonStyle style;
        bool uncoloredUp, opaque;
    };
    for (const Case& c : {Case{ubsFlatUnColored, true, true}, Case{ubsNavigator, true, true},
                          Case{ubsExplorer, true, false}, Case{ubsExplorerColored, false, false},
                          Case{ubsWinXPTool, false, false}, Case{ubsWin31, false, true}}) {
        b->SetStyle(c.style);
        EXPECT_EQ(b->Glyph()->UncoloredUp(), c.uncoloredUp) << int(c.style);
        EXPECT_EQ(b->ControlStyle().Contains(gui::csOpaque), c.opaque) << int(c.style);
    }
}

TEST_F(kitSpeedButton, AcceleratorClicksOrTogglesItsGroupButton) {
    auto* b = Make(10, 10);
    b->SetCaption("&Los");
    int clicks = 0;
    b->OnClick = [&](rtl::TObject*) { ++clicks; };
    EXPECT_EQ(b->Perform(gui::CM_DIALOGCHAR, 'x'), 0);
    EXPECT_EQ(b->Perform(gui::CM_DIALOGCHAR, 'l'), 1);
    EXPECT_EQ(clicks, 1);
    b->SetGroupIndex(3);
    b->SetAllowAllUp(true);
    b->Perform(gui::CM_DIALOGCHAR, 'l');
    EXPECT_TRUE(b->Pressed());
    EXPECT_EQ(clicks, 2);
    b->Perform(gui::CM_DIALOGCHAR, 'l');
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(clicks, 2) << "releasing does not click";
}
