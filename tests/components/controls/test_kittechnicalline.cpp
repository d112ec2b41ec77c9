// The technical line on a form: the arrows of the calculators pixel by pixel, the click area of
// a shape-only line, and arrow signs turned along a new line type.
#include <gtest/gtest.h>

#include <QImage>

#include <vector>

#include "components/controls/KitTechnicalLine.h"
#include "platform/gui/Forms.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;
using namespace gdi;

namespace {
constexpr TColor kFormColor = 0xA2D3F9;
const QRgb kBlack = qRgb(0, 0, 0), kYellow = qRgb(255, 255, 0), kForm = qRgb(0xF9, 0xD3, 0xA2);
}  // namespace

class kitTechnicalLine : public GuiFixture {
protected:
    gui::TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 240, 160);
        form->SetColor(kFormColor);
        form->Show();
    }
    TKitTechnicalLine* Make(int l, int t, int w, int h) {
        auto* c = new TKitTechnicalLine(form);
        c->SetParent(form);
        c->SetBounds(l, t, w, h);
        c->SetSignSize(20);
        c->SetFillColor(clYellow);
        return c;
    }
    QImage Shot() {
        QCoreApplication::processEvents();
        return form->ClientWidget()->grab().toImage();
    }
};

TEST_F(kitTechnicalLine, CalculatorArrowsDrawSegmentAndYellowOutlinedTriangle) {
    struct Case { int w, h; bool down; QPoint segFrom, segTo, tip, inside, base1, base2; };
    // Client coordinates; the segment's last point is left out as LineTo leaves it.
    const Case cases[] = {
        {60, 25, false, {1, 12}, {38, 12}, {58, 12}, {45, 12}, {39, 2}, {39, 22}},
        {52, 25, false, {1, 12}, {30, 12}, {50, 12}, {37, 12}, {31, 2}, {31, 22}},
        {60, 57, true, {30, 1}, {30, 35}, {30, 55}, {30, 42}, {20, 36}, {40, 36}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.w * 100 + k.h);
        const int L = 20, T = 20;
        auto* line = Make(L, T, k.w, k.h);
        if (k.down) {
            line->SetLineType(lsStraightTopToBottom);
            line->SetLineEndingsign(leClosedArrowDown);
        }
        const QImage img = Shot();
        auto px = [&](QPoint p) { return img.pixel(L + p.x(), T + p.y()); };
        for (int i = 0; i <= (k.down ? k.segTo.y() - k.segFrom.y() : k.segTo.x() - k.segFrom.x()); ++i) {
            const QPoint p = k.down ? QPoint(k.segFrom.x(), k.segFrom.y() + i) : QPoint(k.segFrom.x() + i, k.segFrom.y());
            ASSERT_EQ(px(p), kBlack) << p.x() << "," << p.y();
        }
        EXPECT_EQ(px(k.base1), kBlack);
        EXPECT_EQ(px(k.base2), kBlack);
        EXPECT_EQ(px(k.tip), kBlack);
        EXPECT_EQ(px(k.inside), kYellow);
        // Beside the segment and outside the triangle the form shows through.
        const QPoint beside = k.down ? QPoint(k.segFrom.x() - 5, 10) : QPoint(10, k.segFrom.y() - 5);
        EXPECT_EQ(px(beside), kForm);
        EXPECT_EQ(px(k.down ? QPoint(22, k.h - 3) : QPoint(k.w - 3, 3)), kForm);
        delete line;
    }
}

TEST_F(kitTechnicalLine, ShapeOnlyClicksCountOnlyOnTheDrawnShape) {
    auto* line = Make(10, 10, 60, 25);
    line->SetShapeOnly(true);
    int clicks = 0;
    line->OnClick = [&](rtl::TObject*) { ++clicks; };
    Shot();
    ASSERT_NE(line->ShapeRegion(), nullptr);
    auto click = [&](int x, int y) {
        gui::TMessage m{gui::WM_LBUTTONDOWN, 0, gui::MakeLParam(x, y), 0};
        line->Perform(m);
        m.Msg = gui::WM_LBUTTONUP;
        line->Perform(m);
    };
    click(10, 3);   // empty corner
    EXPECT_EQ(clicks, 0);
    click(10, 12);  // on the segment
    EXPECT_EQ(clicks, 1);
    click(45, 12);  // inside the arrow head
    EXPECT_EQ(clicks, 2);
    line->SetShapeOnly(false);
    click(10, 3);
    EXPECT_EQ(clicks, 3);
}

// The click shape is the line's path: open figures count as closed and filled, so the area
// between a curve and its chord and the inside of an open arrow head take clicks; the outline
// is as wide as the pen.
TEST_F(kitTechnicalLine, ShapeOnlyRegionIsTheLinePathFilledAndWidened) {
    struct Case {
        const char* name;
        TKitTechnicalLineTypes type;
        TKitSignPlaces places;
        TKitLineEndings sign;
        int penWidth;
        std::vector<QPoint> in, out;  // client coordinates of a 60 x 40 line
    };
    const Case cases[] = {
        // Arc of the ellipse centred at A's lower-right corner (59, 39), radii 58 x 38; its chord
        // runs from (59, 1) to (1, 39).
        {"curve", lsTopLeftCurve, spNoWhere, leNothing, 1, {{21, 15}, {30, 10}, {12, 25}}, {{41, 31}, {3, 3}, {50, 35}}},
        // An open arrow head (lines only) from (39, 10) over (59, 20) to (39, 30).
        {"open head", lsStraightLeftToRight, spEnd, leOpenArrowRight, 1, {{45, 20}, {50, 17}, {10, 20}}, {{10, 17}, {45, 11}, {58, 30}}},
        // A 5-pixel pen: two pixels either side of the segment at row 20 take clicks.
        {"wide pen", lsStraightLeftToRight, spNoWhere, leNothing, 5, {{20, 18}, {20, 22}, {20, 20}}, {{20, 16}, {20, 24}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto* line = Make(30, 20, 60, 40);
        line->SetLineType(k.type);
        line->SetSignPlaces(k.places);
        line->SetLineEndingsign(k.sign);
        line->SetFillColor(clNone);
        line->LineSettings()->SetWidth(k.penWidth);
        line->SetShapeOnly(true);
        int clicks = 0;
        line->OnClick = [&](rtl::TObject*) { ++clicks; };
        Shot();
        ASSERT_NE(line->ShapeRegion(), nullptr);
        for (const QPoint& p : k.in) {
            EXPECT_TRUE(PtInRegion(line->ShapeRegion(), 30 + p.x(), 20 + p.y())) << p.x() << "," << p.y();
            const int before = clicks;
            gui::TMessage m{gui::WM_LBUTTONDOWN, 0, gui::MakeLParam(p.x(), p.y()), 0};
            line->Perform(m);
            m.Msg = gui::WM_LBUTTONUP;
            line->Perform(m);
            EXPECT_EQ(clicks, before + 1) << p.x() << "," << p.y();
        }
        for (const QPoint& p : k.out)
            EXPECT_FALSE(PtInRegion(line->ShapeRegion(), 30 + p.x(), 20 + p.y())) << p.x() << "," << p.y();
        delete line;
    }
}

TEST_F(kitTechnicalLine, ArrowedTurnsArrowSignsOnLineTypeChange) {
    struct Case { bool arrowed; TKitTechnicalLineTypes type; TKitLineEndings start, end, wantStart, wantEnd; };
    const Case cases[] = {
        {true, lsStraightTopToBottom, leNothing, leClosedArrowRight, leNothing, leClosedArrowDown},
        {false, lsStraightTopToBottom, leNothing, leClosedArrowRight, leNothing, leClosedArrowRight},
        {true, lsBottomRightCurve, leOpenArrowRight, leClosedArrowUp, leOpenArrowUp, leClosedArrowLeft},
        {true, lsBottomLeftEdge, leDiamond, leOpenArrowLeft, leDiamond, leOpenArrowUp},
        {true, lsTopLeftEdge, leClosedArrowLeft, leCircle, leClosedArrowDown, leCircle},
    };
    for (const Case& k : cases) {
        TKitTechnicalLine line(nullptr);
        line.SetLineStartSign(k.start);
        line.SetLineEndingsign(k.end);
        line.SetArrowed(k.arrowed);
        EXPECT_EQ(line.LineStartSign(), k.start);  // setting Arrowed alone re-maps nothing
        line.SetLineType(k.type);
        EXPECT_EQ(line.LineStartSign(), k.wantStart);
        EXPECT_EQ(line.LineEndingsign(), k.wantEnd);
    }
}

TEST_F(kitTechnicalLine, ShadowedSignIsTheSameShapeShiftedByTheDepth) {
    auto* line = Make(10, 10, 80, 40);
    line->SetShadowVisible(true);
    line->SetShadowDepth(4);
    line->SetShadowColor(clRed);
    line->SetSignPlaces(spEnd);
    const QImage img = Shot();
    // W = 78, H = 38, d = 4, S = 24: in client coordinates the shadow triangle is
    // (59, 12)-(79, 22)-(59, 32), the sign (55, 8)-(75, 18)-(55, 28) on top of it.
    auto px = [&](int x, int y) { return img.pixel(10 + x, 10 + y); };
    EXPECT_EQ(px(55, 8), kBlack);
    EXPECT_EQ(px(60, 18), kYellow);
    EXPECT_EQ(px(60, 30), qRgb(255, 0, 0));   // shadow below the sign's lower corner
    EXPECT_EQ(px(77, 22), qRgb(255, 0, 0));   // shadow right of the sign's tip
    EXPECT_EQ(px(60, 4), kForm);
}

TEST_F(kitTechnicalLine, SignsFillTheirShapeOnly) {
    // End sign of a 60 x 25 line: the box (39, 2)-(59, 22), centre (49, 12).
    struct Case { TKitLineEndings sign; QPoint filled, empty; };
    const Case cases[] = {
        {leHalfCircleLeft, {43, 12}, {55, 12}},  {leHalfCircleRight, {55, 12}, {43, 12}},
        {leHalfCircleUp, {49, 18}, {49, 6}},     {leHalfCircleDown, {49, 6}, {49, 18}},
        {leDiamond, {49, 12}, {41, 4}},          {leCircle, {49, 12}, {40, 3}},
        {leRectangle, {41, 4}, {30, 4}},         {leComb, {49, 12}, {41, 3}},
        {leClosedArrowUp, {49, 18}, {41, 4}},    {leClosedArrowLeft, {55, 12}, {41, 4}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(static_cast<int>(k.sign));
        auto* line = Make(20, 20, 60, 25);
        line->SetLineEndingsign(k.sign);
        const QImage img = Shot();
        EXPECT_EQ(img.pixel(20 + k.filled.x(), 20 + k.filled.y()), kYellow);
        EXPECT_EQ(img.pixel(20 + k.empty.x(), 20 + k.empty.y()), kForm);
        delete line;
    }
    // An open arrow is outlined, never filled; no sign leaves the end of the line empty.
    auto* line = Make(20, 20, 60, 25);
    line->SetLineEndingsign(leOpenArrowRight);
    QImage img = Shot();
    EXPECT_EQ(img.pixel(20 + 39, 20 + 2), kBlack);
    EXPECT_EQ(img.pixel(20 + 45, 20 + 12), kForm);
    line->SetLineEndingsign(leNothing);
    img = Shot();
    EXPECT_EQ(img.pixel(20 + 49, 20 + 12), kForm);
}

TEST_F(kitTechnicalLine, CurvesRunThroughTheirQuarterIncludingAnInvertedBox) {
    // 60 x 40: W = 58, H = 38. lsTopLeftCurve is the upper-left quarter of the ellipse centred
    // at A's lower-right corner; lsBottomLeftCurve has an inverted box and is the lower-left
    // quarter of the ellipse centred at A's upper-right corner.
    struct Case { TKitTechnicalLineTypes type; QPoint on, off; };
    const Case cases[] = {
        {lsTopLeftCurve, {18, 12}, {40, 30}},
        {lsBottomLeftCurve, {18, 28}, {40, 10}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(static_cast<int>(k.type));
        auto* line = Make(20, 20, 60, 40);
        line->SetLineType(k.type);
        line->SetSignPlaces(spNoWhere);
        const QImage img = Shot();
        int black = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                black += img.pixel(20 + k.on.x() + dx, 20 + k.on.y() + dy) == kBlack;
        EXPECT_GT(black, 0);
        EXPECT_EQ(img.pixel(20 + k.off.x(), 20 + k.off.y()), kForm);
        delete line;
    }
}
