// Window shapes: the window region as the widget's mask, frameless and stay-on-top forms, and
// moving a form by its client area when it answers the hit test with HTCAPTION.
#include <QWindow>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/gdi/Regions.h"
#include "platform/gui/WindowShapes.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

// A mouse event at a screen point (the window may move under the mouse).
void SendMouse(QWidget* w, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

class guiWindowShape : public GuiFixture {
protected:
    TForm* form = nullptr;
    void SetUp() override {
        form = CreateForm<TForm>(&app);
        form->SetBorderStyle(bsNone);
        form->SetBounds(100, 80, 200, 120);
    }
};

TEST_F(guiWindowShape, RegionBecomesTheMaskAndBelongsToTheWindow) {
    gdi::HRGN first = gdi::CreateEllipticRgn(0, 0, 200, 120);
    ASSERT_EQ(SetWindowRgn(form, first, true), 1);
    EXPECT_EQ(form->Widget()->mask(), gdi::RegionToQRegion(first));
    gdi::HRGN copy = gdi::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(form, copy), gdi::COMPLEXREGION);
    EXPECT_TRUE(gdi::EqualRgn(copy, first));

    // The next region replaces the first, which the window deletes.
    gdi::HRGN second = gdi::CreateRectRgn(10, 10, 50, 40);
    ASSERT_EQ(SetWindowRgn(form, second, false), 1);
    EXPECT_FALSE(gdi::DeleteObject(first));
    EXPECT_EQ(form->Widget()->mask(), QRegion(10, 10, 40, 30));

    // No region: the whole window shows again.
    ASSERT_EQ(SetWindowRgn(form, nullptr, false), 1);
    EXPECT_FALSE(gdi::DeleteObject(second));
    EXPECT_TRUE(form->Widget()->mask().isEmpty());
    EXPECT_EQ(GetWindowRgn(form, copy), gdi::RGN_ERROR);

    // An empty region hides the window rather than showing all of it.
    ASSERT_EQ(SetWindowRgn(form, gdi::CreateRectRgn(0, 0, 0, 0), false), 1);
    EXPECT_FALSE(form->Widget()->mask().isEmpty());
    EXPECT_FALSE(form->Widget()->mask().intersects(QRect(0, 0, 200, 120)));
    gdi::DeleteObject(copy);
}

TEST_F(guiWindowShape, RegionOfAFramedFormCountsFromTheFramesCorner) {
    TCustomForm::ResetFrameEstimate({3, 25, 4, 5});
    form->SetBorderStyle(bsSingle);
    ASSERT_EQ(form->FrameExtents(), (TFrameExtents{3, 25, 4, 5}));
    ASSERT_EQ(SetWindowRgn(form, gdi::CreateRectRgn(0, 0, 100, 60), false), 1);
    EXPECT_EQ(form->Widget()->mask(), QRegion(-3, -25, 100, 60));
    const TFormFrameMetrics m = FormFrameMetrics(*form);
    EXPECT_EQ(m.FrameX, 3);
    EXPECT_EQ(m.FrameY, 5);
    EXPECT_EQ(m.Caption, 20);
}

TEST_F(guiWindowShape, FramelessFormKeepsItsBorderStyleAndUsesTheWholeWindow) {
    TCustomForm::ResetFrameEstimate({1, 24, 1, 1});
    form->SetBorderStyle(bsSizeable);
    ASSERT_NE(form->ClientWidth(), form->Width());
    form->SetFrameless(true);
    EXPECT_TRUE(form->Frameless());
    EXPECT_EQ(form->BorderStyle(), bsSizeable);
    EXPECT_EQ(form->FrameExtents(), TFrameExtents{});
    EXPECT_EQ(form->ClientWidth(), 200);
    EXPECT_EQ(form->ClientHeight(), 120);
    EXPECT_TRUE(form->Widget()->windowFlags() & Qt::FramelessWindowHint);
    const TFormFrameMetrics m = FormFrameMetrics(*form);
    EXPECT_EQ(m.FrameX + m.FrameY + m.Caption, 0);
    // Shown, it stays without frame.
    form->Show();
    ProcessFor(30);
    EXPECT_EQ(form->FrameExtents(), TFrameExtents{});
    EXPECT_EQ(form->ClientWidth(), form->Width());

    form->SetFrameless(false);
    EXPECT_FALSE(form->Widget()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_NE(form->FrameExtents(), TFrameExtents{});
}

TEST_F(guiWindowShape, StayOnTopForm) {
    EXPECT_EQ(form->FormStyle(), fsNormal);
    EXPECT_FALSE(form->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    form->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(form->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    form->SetBorderStyle(bsDialog);  // the flags are rebuilt: the style stays
    EXPECT_TRUE(form->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    form->SetFormStyle(fsNormal);
    EXPECT_FALSE(form->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
}

// The mouse events are sent by the program, not by the window system: no button is held down
// for a window manager to follow, so the form follows them itself, with a window manager too.
TEST_F(guiWindowShape, CaptionHitOnTheClientAreaMovesTheFormAndKeepsThePressFromIt) {
    LRESULT answer = HTCLIENT;
    std::vector<unsigned> seen;
    TWindowHook hook(form, [&](TMessage& m, const TWndMethod& next) {
        next(m);
        if (m.Msg == WM_NCHITTEST) m.Result = answer;
        else seen.push_back(m.Msg);
    });
    form->Show();
    ASSERT_TRUE(WaitExposed(form->Widget()));
    QWidget* client = form->ClientWidget();
    const QPoint at = client->mapToGlobal(QPoint(0, 0));

    // The client's own answer: the press reaches the form, which does not move.
    SendMouse(client, QEvent::MouseButtonPress, at + QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
    SendMouse(client, QEvent::MouseMove, at + QPoint(50, 30), Qt::NoButton, Qt::LeftButton);
    SendMouse(client, QEvent::MouseButtonRelease, at + QPoint(50, 30), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_LBUTTONDOWN), 1);
    EXPECT_EQ(form->Left(), 100);
    EXPECT_EQ(form->Top(), 80);

    // HTCAPTION: the form follows the mouse; the client sees no button message.
    seen.clear();
    answer = HTCAPTION;
    SendMouse(client, QEvent::MouseButtonPress, at + QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
    SendMouse(client, QEvent::MouseMove, at + QPoint(50, 30), Qt::NoButton, Qt::LeftButton);
    SendMouse(client, QEvent::MouseMove, at + QPoint(45, 35), Qt::NoButton, Qt::LeftButton);
    SendMouse(client, QEvent::MouseButtonRelease, at + QPoint(45, 35), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form->Left(), 125);
    EXPECT_EQ(form->Top(), 95);
    EXPECT_EQ(form->Width(), 200);
    EXPECT_EQ(form->Height(), 120);
    for (unsigned msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE})
        EXPECT_EQ(std::count(seen.begin(), seen.end(), msg), 0) << msg;

    // After the release, moving the mouse moves nothing.
    SendMouse(client, QEvent::MouseMove, at + QPoint(90, 90), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form->Left(), 125);

    // The right button on the caption is a non-client press and release.
    seen.clear();
    SendMouse(client, QEvent::MouseButtonPress, at + QPoint(20, 20), Qt::RightButton, Qt::RightButton);
    SendMouse(client, QEvent::MouseButtonRelease, at + QPoint(20, 20), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_NCRBUTTONDOWN), 1);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_NCRBUTTONUP), 1);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_RBUTTONDOWN), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_RBUTTONUP), 0);
}
