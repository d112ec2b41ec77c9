// Window places: windows brought wholly onto a screen, windows placed beside the window they belong
// to, and a window's place meaning its frame whenever its native window came to be.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

const gdi::TRect kScreen1280 = gdi::Bounds(0, 0, 1280, 1024);
// A second monitor to the right of the first, its top lower.
const gdi::TRect kScreen1920 = gdi::Bounds(1280, 100, 1920, 1080);

}  // namespace

// A place wholly on the screens stays as it is; any other is moved by the least distance into
// the work area holding the largest part of the window (else the nearest one), or, where the
// window is larger than that work area, to its top or left edge. Among the places: those the
// program stores on a 1280 x 1024 screen (main window 822 x 636, measured values 443 x 334,
// script 300 x 300) opened on 1024 x 768 and 1920 x 1080.
TEST(guiPlaces, AWindowIsMovedWhollyOntoTheWorkAreaHoldingMostOfIt) {
    struct Case {
        const char* name;
        gdi::TRect bounds;
        std::vector<gdi::TRect> areas;
        gdi::TPoint expected;
    };
    const std::vector<gdi::TRect> one = {kScreen1280};
    const std::vector<gdi::TRect> two = {kScreen1280, kScreen1920};
    const std::vector<gdi::TRect> small = {gdi::Bounds(0, 0, 1024, 768)};
    const std::vector<gdi::TRect> wide = {gdi::Bounds(0, 0, 1920, 1080)};
    const gdi::TRect main = gdi::Bounds(10, 10, 822, 636);
    const gdi::TRect mess = gdi::Bounds(832, 10, 443, 334);
    const gdi::TRect skript = gdi::Bounds(832, 344, 300, 300);
    const Case cases[] = {
        {"on the screen", main, one, {10, 10}},
        {"at the right and bottom edges", gdi::Bounds(458, 388, 822, 636), one, {458, 388}},
        {"Left=1000: the right part off the screen", gdi::Bounds(1000, 10, 822, 636), one, {458, 10}},
        {"the bottom off the screen", gdi::Bounds(10, 990, 822, 636), one, {10, 388}},
        {"one pixel off the right edge", gdi::Bounds(459, 10, 822, 636), one, {458, 10}},
        {"title bar above the screen", gdi::Bounds(100, -500, 822, 636), one, {100, 0}},
        {"left edge off the screen", gdi::Bounds(-50, 100, 822, 636), one, {0, 100}},
        {"above and right of the screen", gdi::Bounds(3000, -500, 822, 636), one, {458, 0}},
        {"far off to the top left", gdi::Bounds(-5000, -5000, 822, 636), one, {0, 0}},
        {"below the screen", gdi::Bounds(200, 1100, 300, 300), one, {200, 724}},
        {"larger than the work area", gdi::Bounds(-100, -100, 1500, 1200), one, {0, 0}},
        {"wider than the work area, top left on it", gdi::Bounds(100, 50, 1500, 600), one, {0, 50}},
        {"taller than the work area, top left on it", gdi::Bounds(100, 50, 600, 1200), one, {100, 0}},
        {"extremes of the window system", gdi::Bounds(16777215, -16777215, 300, 300), one, {980, 0}},
        {"1280 x 1024 main window on 1024 x 768", main, small, {10, 10}},
        {"1280 x 1024 measured values on 1024 x 768", mess, small, {581, 10}},
        {"1280 x 1024 script window on 1024 x 768", skript, small, {724, 344}},
        {"1280 x 1024 main window on 1920 x 1080", main, wide, {10, 10}},
        {"1280 x 1024 measured values on 1920 x 1080", mess, wide, {832, 10}},
        {"1280 x 1024 script window on 1920 x 1080", skript, wide, {832, 344}},
        {"on the second screen", gdi::Bounds(2000, 150, 822, 636), two, {2000, 150}},
        {"across both screens, wholly on them", gdi::Bounds(1000, 200, 822, 636), two, {1000, 200}},
        {"across both, above the second's lower top: onto the second", gdi::Bounds(1000, 50, 822, 636), two, {1280, 100}},
        {"mostly on the first, above the second's top", gdi::Bounds(1200, 40, 200, 100), two, {1080, 40}},
        {"above the second screen's lower top", gdi::Bounds(2000, 50, 822, 636), two, {2000, 100}},
        {"right of the second screen", gdi::Bounds(4000, 300, 822, 636), two, {2378, 300}},
        {"above both, nearer the first", gdi::Bounds(1300, -300, 200, 100), two, {1080, 0}},
        {"no screen known", gdi::Bounds(-5000, -5000, 822, 636), {}, {-5000, -5000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const gdi::TRect moved = WindowOntoScreen(c.bounds, c.areas);
        EXPECT_EQ(moved.TopLeft(), c.expected);
        EXPECT_EQ(moved.Width(), c.bounds.Width());
        EXPECT_EQ(moved.Height(), c.bounds.Height());
        const gdi::TRect area = WorkAreaOf(moved, c.areas);
        const bool fits = c.bounds.Width() <= area.Width() && c.bounds.Height() <= area.Height();
        if (!c.areas.empty()) EXPECT_EQ(WindowOnScreen(moved, c.areas), fits);
    }
}

// The first start on three screen sizes: the measured-values window (443 x 334) and the script
// window (300 x 300) beside the main window (822 x 636 at 10/10, its map from 241/56, 585
// square), never on its menu bar or left-hand controls.
TEST(guiPlaces, WindowsGoBesideTheOwnerOrOverTheLowerRightOfTheMap) {
    const gdi::TRect owner = gdi::Bounds(10, 10, 822, 636);
    const gdi::TRect map = gdi::Bounds(241, 56, 585, 585);
    const std::vector<gdi::TSize> sizes = {{443, 334}, {300, 300}};
    struct Case {
        const char* name;
        gdi::TRect work;
        gdi::TRect expected[2];
    };
    const Case cases[] = {
        {"1280 x 1024: right of the owner, one below the other",
         gdi::Bounds(0, 0, 1280, 1024),
         {gdi::Bounds(832, 10, 443, 334), gdi::Bounds(832, 344, 300, 300)}},
        {"1920 x 1080 less a panel at the top", gdi::Bounds(0, 30, 1920, 1050),
         {gdi::Bounds(832, 30, 443, 334), gdi::Bounds(832, 364, 300, 300)}},
        {"1024 x 768: over the lower right, hanging out to the right",
         gdi::Bounds(0, 0, 1024, 768),
         {gdi::Bounds(581, 434, 443, 334), gdi::Bounds(724, 134, 300, 300)}},
        {"800 x 600: over the map", gdi::Bounds(0, 0, 800, 600),
         {gdi::Bounds(357, 266, 443, 334), gdi::Bounds(500, 56, 300, 300)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<gdi::TRect> places = PlaceBeside(c.work, owner, map, sizes);
        ASSERT_EQ(places.size(), 2u);
        EXPECT_EQ(places[0], c.expected[0]);
        EXPECT_EQ(places[1], c.expected[1]);
    }
}

// Wherever the owner stands, the windows stay inside the work area and off the owner's free part
// (where the two cannot also keep off each other, as low on a small screen, they overlap).
TEST(guiPlaces, PlacedWindowsLeaveTheOwnersFreePartAndEachOtherAlone) {
    const std::vector<gdi::TSize> sizes = {{443, 334}, {300, 300}};
    const gdi::TRect works[] = {gdi::Bounds(0, 0, 1024, 768), gdi::Bounds(0, 0, 1280, 1024),
                                gdi::Bounds(1280, 100, 1920, 1080)};
    for (const gdi::TRect& work : works) {
        for (int dx : {0, 150, 700, 1100}) {
            for (int dy : {0, 100, 300}) {
                const gdi::TRect owner = gdi::Bounds(work.Left + dx, work.Top + dy, 822, 636);
                const gdi::TRect map = gdi::Bounds(owner.Left + 231, owner.Top + 46, 585, 585);
                SCOPED_TRACE(std::to_string(owner.Left) + "/" + std::to_string(owner.Top) + " in " +
                             std::to_string(work.Width()) + " x " + std::to_string(work.Height()));
                const std::vector<gdi::TRect> places = PlaceBeside(work, owner, map, sizes);
                ASSERT_EQ(places.size(), 2u);
                for (const gdi::TRect& p : places) {
                    EXPECT_GE(p.Left, work.Left);
                    EXPECT_GE(p.Top, work.Top);
                    EXPECT_LE(p.Right, work.Right);
                    EXPECT_LE(p.Bottom, work.Bottom);
                    gdi::TRect common;
                    if (gdi::IntersectRect(common, p, owner)) {
                        EXPECT_GE(p.Left, map.Left);
                        EXPECT_GE(p.Top, map.Top);
                    }
                }
            }
        }
    }
}

// A window already there (a place kept from the settings) is avoided like one placed before: the
// script window does not go onto the measured-values window kept where it opens on 1024 x 768.
TEST(guiPlaces, PlacedWindowsAvoidTheWindowsAlreadyThere) {
    const gdi::TRect work = gdi::Bounds(0, 0, 1024, 768);
    const gdi::TRect owner = gdi::Bounds(10, 10, 822, 636);
    const gdi::TRect map = gdi::Bounds(241, 56, 585, 585);
    const gdi::TRect mess = gdi::Bounds(581, 434, 443, 334);
    const std::vector<gdi::TRect> alone = PlaceBeside(work, owner, map, {{443, 334}});
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0], mess);
    const std::vector<gdi::TRect> places = PlaceBeside(work, owner, map, {{443, 334}}, {mess});
    ASSERT_EQ(places.size(), 1u);
    EXPECT_EQ(places[0], gdi::Bounds(581, 100, 443, 334));  // right above it, over the map
    gdi::TRect common;
    EXPECT_FALSE(gdi::IntersectRect(common, places[0], mess));
    EXPECT_GE(places[0].Left, map.Left);
    EXPECT_GE(places[0].Top, map.Top);
    EXPECT_LE(places[0].Right, work.Right);
}

class guiFormPlaces : public GuiFixture {
protected:
    void TearDown() override { TCustomForm::ResetFrameEstimate({1, 24, 1, 1}); }
};

// A form opens wholly on the screen whatever place it was given, its frame where the placement
// puts it; a place on the screen stays as it is.
TEST_F(guiFormPlaces, AFormOpensWhollyOnTheScreen) {
    const gdi::TRect work = Screen()->WorkAreaRect();
    struct Case {
        const char* name;
        int left, top, width, height;
        TPosition position;
        gdi::TPoint expected;
    };
    const Case cases[] = {
        {"on the screen", 30, 40, 300, 200, poDesigned, {30, 40}},
        {"at the bottom right corner", work.Right - 300, work.Bottom - 200, 300, 200, poDesigned,
         {work.Right - 300, work.Bottom - 200}},
        {"the right part off the screen", work.Right - 100, 40, 300, 200, poDesigned,
         {work.Right - 300, 40}},
        {"the bottom off the screen", 30, work.Bottom - 50, 300, 200, poDesigned,
         {30, work.Bottom - 200}},
        {"above and right of the screen", 3000, -500, 300, 200, poDesigned,
         {work.Right - 300, work.Top}},
        {"far off", -5000, -5000, 300, 200, poDesigned, {work.Left, work.Top}},
        {"centred, taller than the screen", 0, 0, 300, work.Height() + 200, poScreenCenter,
         {work.Left + (work.Width() - 300) / 2, work.Top}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<TForm> f(CreateForm<TForm>(nullptr));
        f->SetBounds(c.left, c.top, c.width, c.height);
        f->SetPosition(c.position);
        f->Show();
        ProcessUntil([&] { return f->FrameExtentsMeasured(); });
        EXPECT_EQ(f->Left(), c.expected.X);
        EXPECT_EQ(f->Top(), c.expected.Y);
        EXPECT_EQ(f->Widget()->frameGeometry().topLeft(), QPoint(c.expected.X, c.expected.Y));
    }
}

// A window whose native window exists before its first show (one that belongs to another) is
// placed by its frame like any other: until the window system has framed it, its client area
// lies inside the frame the form assumes, and once the real frame is known the frame is moved
// to the place the form was given. The estimate here is larger than the test platform's frame.
TEST_F(guiFormPlaces, ANativeWindowMadeBeforeItsFirstShowIsPlacedByItsFrame) {
    TForm* owner = nullptr;
    app.CreateForm(owner);
    owner->SetBounds(0, 0, 200, 100);
    owner->Show();
    for (TFormBorderStyle style : {bsSizeable, bsToolWindow}) {
        SCOPED_TRACE(style);
        TCustomForm::ResetFrameEstimate({5, 30, 5, 5});
        std::unique_ptr<TForm> f(CreateForm<TForm>(nullptr));
        f->SetBorderStyle(style);
        f->SetPopupParent(owner);
        f->SetBounds(100, 200, 300, 250);
        const TFrameExtents assumed = f->FrameExtents();
        EXPECT_EQ(f->Widget()->geometry().topLeft(), QPoint(100 + assumed.Left, 200 + assumed.Top));
        f->Show();
        ASSERT_TRUE(ProcessUntil([&] { return f->FrameExtentsMeasured(); }));
        ProcessUntil([&] { return f->Widget()->frameGeometry().topLeft() == QPoint(100, 200); });
        EXPECT_EQ(f->Widget()->frameGeometry().topLeft(), QPoint(100, 200));
        EXPECT_EQ(f->Left(), 100);
        EXPECT_EQ(f->Top(), 200);
        EXPECT_EQ(f->Width(), 300);
        EXPECT_EQ(f->Height(), 250);
    }
}
