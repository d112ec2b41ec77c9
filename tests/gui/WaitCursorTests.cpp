// The wait cursors over the program's windows, and the screen cursor beside them.
#include <QCursor>
#include <QGuiApplication>

#include <memory>
#include <stdexcept>

#include "platform/gui/Controls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

// The cursor shown over the program's windows, or -1 for their own.
int Shown() {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? static_cast<int>(c->shape()) : -1;
}

}  // namespace

class guiWaitCursor : public GuiFixture {};

TEST_F(guiWaitCursor, ShowsWhileAScopeLivesAlsoWhenTheWorkThrows) {
    ASSERT_EQ(Shown(), -1);
    {
        TWaitCursor outer;
        EXPECT_EQ(Shown(), Qt::WaitCursor);
        {
            TWaitCursor inner;
            EXPECT_EQ(Shown(), Qt::WaitCursor);
        }
        EXPECT_EQ(Shown(), Qt::WaitCursor);
    }
    EXPECT_EQ(Shown(), -1);

    try {
        TWaitCursor wait;
        throw std::runtime_error("Stream-Lesefehler");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Shown(), -1);
}

TEST_F(guiWaitCursor, ScopesEndInAnyOrderAndTheHourglassComesFirst) {
    // A started opener shows the app-starting cursor while the program answers; work that holds
    // the program up meanwhile shows the hourglass; either may end first.
    for (const bool openerEndsFirst : {true, false}) {
        SCOPED_TRACE(openerEndsFirst ? "opener ends first" : "work ends first");
        auto opener = std::make_unique<TWaitCursor>(crAppStart);
        EXPECT_EQ(Shown(), Qt::BusyCursor);
        auto work = std::make_unique<TWaitCursor>();
        EXPECT_EQ(Shown(), Qt::WaitCursor);
        if (openerEndsFirst) {
            opener.reset();
            EXPECT_EQ(Shown(), Qt::WaitCursor);
        } else {
            work.reset();
            EXPECT_EQ(Shown(), Qt::BusyCursor);
        }
        opener.reset();
        work.reset();
        EXPECT_EQ(Shown(), -1);
    }
}

TEST_F(guiWaitCursor, ScreenCursorGoesBeforeTheWaitCursor) {
    // Text dragged in an edit while an opener starts: the drag cursor shows, and when the drag
    // ends first the app-starting cursor is back, whichever order the two end in.
    auto opener = std::make_unique<TWaitCursor>(crAppStart);
    Screen()->SetCursor(crDrag);
    EXPECT_EQ(Shown(), Qt::DragMoveCursor);
    Screen()->SetCursor(crDefault);
    EXPECT_EQ(Shown(), Qt::BusyCursor);
    Screen()->SetCursor(crDrag);
    opener.reset();
    EXPECT_EQ(Shown(), Qt::DragMoveCursor);
    EXPECT_EQ(Screen()->Cursor(), crDrag);
    Screen()->SetCursor(crDefault);
    EXPECT_EQ(Shown(), -1);
}
