// Form bounds are the outer frame: placement, client size and the frame extents.
#include <QWindow>

#include "platform/gui/Forms.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

QMargins PlatformFrame(TCustomForm* f) { return f->Widget()->windowHandle()->frameMargins(); }

}  // namespace

class guiFrame : public GuiFixture {};

TEST_F(guiFrame, ClientAreaIsTheBoundsLessTheFrameAndTheMenu) {
    auto* f = CreateForm<TForm>(&app);
    f->SetBounds(10, 10, 822, 636);
    const TFrameExtents e = f->FrameExtents();
    EXPECT_EQ(e, TCustomForm::EstimatedFrameExtents(bsSizeable));
    EXPECT_GT(e.Top, 0);  // an estimated title bar before the window is shown
    EXPECT_EQ(f->ClientWidth(), 822 - e.Left - e.Right);
    EXPECT_EQ(f->ClientHeight(), 636 - e.Top - e.Bottom);
    EXPECT_EQ(f->ClientWidget()->size(), QSize(f->ClientWidth(), f->ClientHeight()));
    // Setting the client size sets the bounds around it.
    f->SetClientWidth(400);
    f->SetClientHeight(300);
    EXPECT_EQ(f->Width(), 400 + e.Left + e.Right);
    EXPECT_EQ(f->Height(), 300 + e.Top + e.Bottom);
}

TEST_F(guiFrame, ShownWindowHasItsFrameAtTheBoundsAndAnExactClientArea) {
    // The offscreen platform frames its windows, as a window manager does.
    for (TFormBorderStyle style : {bsSingle, bsSizeable, bsDialog, bsToolWindow}) {
        SCOPED_TRACE(style);
        auto* f = CreateForm<TForm>(&app);
        f->SetBorderStyle(style);
        f->SetBounds(0, 0, 360, 138);
        f->Show();
        ASSERT_TRUE(ProcessUntil([&] { return f->FrameExtentsMeasured(); }));
        const QMargins m = PlatformFrame(f);
        ASSERT_FALSE(m.isNull());
        EXPECT_EQ(f->FrameExtents(), (TFrameExtents{m.left(), m.top(), m.right(), m.bottom()}));
        // The title bar is on the screen: the frame, not the client area, starts at 0/0.
        EXPECT_EQ(f->Widget()->frameGeometry(), QRect(0, 0, 360, 138));
        EXPECT_EQ(f->Left(), 0);
        EXPECT_EQ(f->Top(), 0);
        EXPECT_EQ(f->Width(), 360);
        EXPECT_EQ(f->Height(), 138);
        EXPECT_EQ(f->Widget()->size(), QSize(360 - m.left() - m.right(), 138 - m.top() - m.bottom()));
        EXPECT_EQ(f->ClientWidget()->size(), QSize(f->ClientWidth(), f->ClientHeight()));
        // Moving the shown window moves its frame.
        // A window manager moves it some time later.
        f->SetBounds(30, 40, 300, 300);
        ProcessUntil([&] { return f->Widget()->frameGeometry() == QRect(30, 40, 300, 300); });
        EXPECT_EQ(f->Widget()->frameGeometry(), QRect(30, 40, 300, 300));
        EXPECT_EQ(f->ClientWidth(), 300 - m.left() - m.right());
        delete f;
    }
}

TEST_F(guiFrame, PositionsSurviveHidingAndARestartWithTheSavedValues) {
    auto* f = CreateForm<TForm>(&app);
    f->SetBorderStyle(bsSingle);
    f->SetBounds(10, 10, 622, 436);  // wholly on the screen, else it would be moved onto it
    f->Show();
    ProcessUntil([&] { return f->FrameExtentsMeasured(); });
    f->Hide();
    f->Show();
    // A window manager maps it again and frames it some time later.
    ASSERT_TRUE(WaitExposed(f->Widget()));
    ProcessUntil([&] { return f->Left() == 10 && f->Top() == 10; });
    // What a settings file would keep at the close ...
    const int left = f->Left(), top = f->Top(), width = f->Width(), height = f->Height();
    EXPECT_EQ(left, 10);
    EXPECT_EQ(top, 10);
    EXPECT_EQ(width, 622);
    EXPECT_EQ(height, 436);
    delete f;
    // ... puts the next window's frame at the same place, with the frame now known beforehand.
    auto* g = CreateForm<TForm>(&app);
    g->SetBorderStyle(bsSingle);
    g->SetBounds(left, top, width, height);
    const TFrameExtents before = g->FrameExtents();
    g->Show();
    ProcessUntil([&] { return g->FrameExtentsMeasured(); });
    ProcessUntil([&] { return g->Widget()->frameGeometry() == QRect(10, 10, 822, 636); });
    EXPECT_EQ(g->FrameExtents(), before);
    EXPECT_EQ(g->Widget()->frameGeometry(), QRect(10, 10, 622, 436));
    EXPECT_EQ(g->Left(), left);
    EXPECT_EQ(g->Top(), top);
}

TEST_F(guiFrame, BorderlessWindowHasNoFrame) {
    auto* f = CreateForm<TForm>(&app);
    f->SetBorderStyle(bsNone);
    f->SetBounds(5, 6, 200, 100);
    EXPECT_EQ(f->FrameExtents(), TFrameExtents{});
    f->Show();
    ProcessFor(20);
    EXPECT_EQ(f->ClientWidth(), 200);
    EXPECT_EQ(f->ClientHeight(), 100);
    EXPECT_EQ(f->Widget()->geometry(), QRect(5, 6, 200, 100));
}

TEST_F(guiFrame, FrameOtherThanEstimatedKeepsWhatTheFormWasSizedBy) {
    // An estimate that the offscreen platform's frame does not match.
    TCustomForm::ResetFrameEstimate({5, 30, 5, 5});
    auto* byBounds = CreateForm<TForm>(&app);
    byBounds->SetBounds(0, 0, 400, 300);
    auto* byClient = CreateForm<TForm>(&app);
    byClient->SetBorderStyle(bsToolWindow);
    byClient->SetLeft(20);
    byClient->SetTop(20);
    byClient->SetClientWidth(303);
    byClient->SetClientHeight(40);
    EXPECT_EQ(byClient->Width(), 313);
    for (TForm* f : {byBounds, byClient}) {
        f->Show();
        ASSERT_TRUE(ProcessUntil([&] { return f->FrameExtentsMeasured(); }));
        ASSERT_NE(f->FrameExtents(), (TFrameExtents{5, 30, 5, 5}));
    }
    const TFrameExtents e = byBounds->FrameExtents();
    // The bounds stay, the client area takes the rest ...
    EXPECT_EQ(byBounds->Widget()->frameGeometry(), QRect(0, 0, 400, 300));
    EXPECT_EQ(byBounds->ClientWidth(), 400 - e.Left - e.Right);
    EXPECT_EQ(byBounds->ClientHeight(), 300 - e.Top - e.Bottom);
    EXPECT_EQ(byBounds->ClientWidget()->width(), byBounds->ClientWidth());
    // ... or the client area stays and the bounds follow the frame.
    EXPECT_EQ(byClient->ClientWidth(), 303);
    EXPECT_EQ(byClient->ClientHeight(), 40);
    EXPECT_EQ(byClient->Width(), 303 + e.Left + e.Right);
    EXPECT_EQ(byClient->Left(), 20);
    EXPECT_EQ(byClient->Widget()->frameGeometry().topLeft(), QPoint(20, 20));
    // Later windows start from the measured frame.
    EXPECT_EQ(TCustomForm::EstimatedFrameExtents(bsSizeable), e);
}
