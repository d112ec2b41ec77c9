#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/GrafikToolsLib.h"
#include "foundation/ListPlot.h"

namespace {

using gdi::TColor;

DoubleArray Doubles(std::initializer_list<double> L)
{
    DoubleArray A;
    for (const double V : L) A.push_back(V);
    return A;
}

std::vector<double> Vec(const DoubleArray& A) { return std::vector<double>(A.begin(), A.end()); }

TColor Px(TListPlot& P, int X, int Y) { return P.Canvas()->Pixels(X, Y); }

int CountColour(TListPlot& P, TColor C)
{
    int N = 0;
    for (int Y = 0; Y < P.Height(); ++Y)
        for (int X = 0; X < P.Width(); ++X)
            if (Px(P, X, Y) == C) ++N;
    return N;
}

// A 400 x 300 plot over the window 0..10 x 0..10, laid out and cleared.
std::unique_ptr<TListPlot> Plot400()
{
    auto P = std::make_unique<TListPlot>(400, 300);
    P->Init();
    P->AxisLimits(0, 10, 0, 10);
    return P;
}

// A bitmap of the plot's size and background with Text drawn by the canvas helper directly.
std::unique_ptr<TListPlot> TextReference(const TListPlot& P,
                                         std::initializer_list<std::pair<gdi::TPoint, std::string>> T)
{
    auto R = std::make_unique<TListPlot>(P.Width(), P.Height());
    R->Init();
    for (const auto& [At, Text] : T) CanvasTextOut(R->Canvas(), At.X, At.Y, Text, 0, 0xFFFFFF);
    return R;
}

bool SamePixels(TListPlot& A, TListPlot& B)
{
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X)
            if (Px(A, X, Y) != Px(B, X, Y)) return false;
    return true;
}

TEST(ListPlot, DefaultsAndLayout)
{
    TListPlot P(400, 300);
    EXPECT_EQ(P.XMin, -10);
    EXPECT_EQ(P.XMax, 10);
    EXPECT_EQ(P.YMin, -10);
    EXPECT_EQ(P.YMax, 10);
    EXPECT_EQ(P.SeriesColor1, 0x0000FFu);
    EXPECT_EQ(P.SeriesColor6, 0x000000u);
    EXPECT_EQ(P.GridColor, 0xDCDCDCu);
    EXPECT_EQ(P.PointSize, 2);
    EXPECT_EQ(P.PlotCanvas, P.Canvas());
    EXPECT_EQ(P.LegendNames.Length(), 0);

    P.BackColor = 0x102030;
    P.Init();
    EXPECT_EQ(P.BmpWidth, 400);
    EXPECT_EQ(P.BmpHeight, 300);
    EXPECT_EQ(P.X0, 50);
    EXPECT_EQ(P.Y0, 262);  // 262.5 rounded to even
    EXPECT_EQ(P.PlotWidth, 300);
    EXPECT_EQ(P.PlotHeight, 225);
    EXPECT_EQ(CountColour(P, 0x102030), 400 * 300);

    P.AxisLimits(0, 10, 0, 10);
    EXPECT_EQ(P.Px(5), 200);
    EXPECT_EQ(P.Py(5), 150);  // 262 - Round(112.5)
    EXPECT_EQ(P.Px(0), 50);
    EXPECT_EQ(P.Py(0), 262);
    EXPECT_EQ(P.Px(10), 350);
    EXPECT_EQ(P.Py(10), 37);

    // AxisLimits takes both x limits first.
    P.AxisLimits(1, 2, 3, 4);
    EXPECT_EQ(P.XMin, 1);
    EXPECT_EQ(P.XMax, 2);
    EXPECT_EQ(P.YMin, 3);
    EXPECT_EQ(P.YMax, 4);

    TListPlot Half(200, 100);
    Half.PlotFraction = 0.5;
    Half.Init();
    EXPECT_EQ(Half.X0, 50);
    EXPECT_EQ(Half.Y0, 75);
    EXPECT_EQ(Half.PlotWidth, 100);
    EXPECT_EQ(Half.PlotHeight, 50);
}

TEST(ListPlot, SeriesDrawDotsAtTheirPixels)
{
    auto P = Plot400();
    P->XData1 = Doubles({5, 0});
    P->YData1 = Doubles({5, 10});
    P->DrawY1();
    EXPECT_EQ(Px(*P, 200, 150), 0x0000FFu);
    EXPECT_EQ(Px(*P, 201, 150), 0x0000FFu);  // radius 2
    EXPECT_EQ(Px(*P, 50, 37), 0x0000FFu);
    EXPECT_EQ(Px(*P, 206, 150), 0xFFFFFFu);

    // Every series has its own colour and uses the one PointSize.
    struct Series {
        DoubleArray TListPlot::*X;
        DoubleArray TListPlot::*Y;
        TColor TListPlot::*Colour;
        void (TListPlot::*Draw)();
    };
    const Series All[] = {
        {&TListPlot::XData1, &TListPlot::YData1, &TListPlot::SeriesColor1, &TListPlot::DrawY1},
        {&TListPlot::XData2, &TListPlot::YData2, &TListPlot::SeriesColor2, &TListPlot::DrawY2},
        {&TListPlot::XData3, &TListPlot::YData3, &TListPlot::SeriesColor3, &TListPlot::DrawY3},
        {&TListPlot::XData4, &TListPlot::YData4, &TListPlot::SeriesColor4, &TListPlot::DrawY4},
        {&TListPlot::XData5, &TListPlot::YData5, &TListPlot::SeriesColor5, &TListPlot::DrawY5},
        {&TListPlot::XData6, &TListPlot::YData6, &TListPlot::SeriesColor6, &TListPlot::DrawY6},
    };
    int N = 0;
    for (const Series& S : All) {
        SCOPED_TRACE(N + 1);
        auto Q = Plot400();
        Q->PointSize = 4;
        (*Q).*S.Colour = 0x00AA00 + N;
        (*Q).*S.X = Doubles({5});
        (*Q).*S.Y = Doubles({5});
        ((*Q).*S.Draw)();
        EXPECT_EQ(Px(*Q, 203, 150), 0x00AA00u + N);  // inside radius 4
        EXPECT_EQ(Px(*Q, 205, 150), 0xFFFFFFu);
        // An empty series draws nothing.
        auto E = Plot400();
        ((*E).*S.Draw)();
        EXPECT_EQ(CountColour(*E, 0xFFFFFF), 400 * 300);
        ++N;
    }
}

TEST(ListPlot, SkipValuesAndShorterArrays)
{
    auto P = Plot400();
    P->SkipValues = true;
    P->SkipValue = 0;
    P->XData1 = Doubles({2, 0, 8});
    P->YData1 = Doubles({0, 4, 0});
    P->DrawY1();
    EXPECT_EQ(Px(*P, P->Px(2), P->Py(0)), 0xFFFFFFu);
    EXPECT_EQ(Px(*P, P->Px(8), P->Py(0)), 0xFFFFFFu);
    EXPECT_EQ(Px(*P, P->Px(0), P->Py(4)), 0x0000FFu);  // x = 0 is still drawn

    // Without SkipValues a zero y is an ordinary point.
    auto Q = Plot400();
    Q->XData1 = Doubles({2});
    Q->YData1 = Doubles({0});
    Q->DrawY1();
    EXPECT_EQ(Px(*Q, Q->Px(2), Q->Py(0)), 0x0000FFu);

    // Only as many points as the shorter array holds, whichever it is.
    auto R = Plot400();
    R->XData1 = Doubles({1, 2, 3});
    R->YData1 = Doubles({1, 2});
    R->XData2 = Doubles({7});
    R->YData2 = Doubles({7, 8});
    R->SeriesColor2 = 0x00FF00;
    R->DrawY1();
    R->DrawY2();
    EXPECT_EQ(Px(*R, R->Px(2), R->Py(2)), 0x0000FFu);
    EXPECT_EQ(Px(*R, R->Px(7), R->Py(7)), 0x00FF00u);
    EXPECT_EQ(CountColour(*R, 0x00FF00), CountColour(*R, 0x0000FF) / 2);
}

TEST(ListPlot, GridLinesSpanThePlotArea)
{
    auto P = Plot400();
    P->DrawXGrid(Doubles({5}));
    P->DrawYGrid(Doubles({5}));
    // Vertical line from the top margin (300 - 262 = 38) to the plot's bottom, end excluded.
    EXPECT_EQ(Px(*P, 200, 38), 0xDCDCDCu);
    EXPECT_EQ(Px(*P, 200, 261), 0xDCDCDCu);
    EXPECT_EQ(Px(*P, 200, 37), 0xFFFFFFu);
    EXPECT_EQ(Px(*P, 200, 262), 0xFFFFFFu);
    EXPECT_EQ(Px(*P, 201, 100), 0xFFFFFFu);
    // Horizontal line from X0 to BmpWidth - X0.
    EXPECT_EQ(Px(*P, 50, 150), 0xDCDCDCu);
    EXPECT_EQ(Px(*P, 349, 150), 0xDCDCDCu);
    EXPECT_EQ(Px(*P, 49, 150), 0xFFFFFFu);
    EXPECT_EQ(Px(*P, 350, 150), 0xFFFFFFu);
}

TEST(ListPlot, AutomaticValues)
{
    // One step per decade of the window's width, from the first to the last multiple of the
    // step inside it. The step comes from the ten-power helper, a few units in the last place
    // off the decimal value, so the values are compared with a tolerance.
    struct Case {
        double Min, Max;
        std::vector<double> Values;
    };
    const Case Cases[] = {
        {0, 0.1, {0, 0.1}},  // log10 of the double 0.1 lies just above -1
        {0, 0.05, {0, 0.01, 0.02, 0.03, 0.04, 0.05}},
        {3, 47, {10, 20, 30, 40}},
        {150, 420, {200, 300, 400}},
        {-4.5, 3.2, {-4, -3, -2, -1, 0, 1, 2, 3}},
        {1, 1, {1}},  // no width: Log10OrZero gives 0, step 1
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::to_string(C.Min) + " .. " + std::to_string(C.Max));
        const std::vector<double> Got = Vec(TListPlot::AutoValues(C.Min, C.Max));
        ASSERT_EQ(Got.size(), C.Values.size());
        for (std::size_t I = 0; I < Got.size(); ++I) EXPECT_NEAR(Got[I], C.Values[I], 1e-9);
    }

    // AutoGridLabel draws the grid at those values.
    auto P = Plot400();
    P->AxisLimits(-10, 10, -10, 10);
    P->AutoGridLabel();
    EXPECT_EQ(Px(*P, P->Px(0), 100), 0xDCDCDCu);
    EXPECT_EQ(Px(*P, 100, P->Py(0)), 0xDCDCDCu);
}

TEST(ListPlot, LabelsAreTheScaledValuesAtTheirPlaces)
{
    auto P = Plot400();
    P->XLabelFactor = 1000;
    P->DrawXLabel(Doubles({5, 2.5}));
    // Row: 300 - Round(38 * 0.8) = 270.
    auto R = TextReference(*P, {{{193, 270}, "5000"}, {{118, 270}, "2500"}});
    EXPECT_TRUE(SamePixels(*P, *R));

    auto C = Plot400();
    StringArray Names;
    Names.push_back("a");
    Names.push_back("b");
    C->DrawXLabelCustom(Doubles({0, 10}), Names);
    auto CR = TextReference(*C, {{{43, 270}, "a"}, {{343, 270}, "b"}});
    EXPECT_TRUE(SamePixels(*C, *CR));

    auto Y = Plot400();
    Y->YLabelFactor = 0.5;
    Y->DrawYLabel(Doubles({5}), 2);
    // Column Round(50 * 0.3) = 15, row py(5) - 5 = 145; 2.5 with two decimals.
    auto YR = TextReference(*Y, {{{15, 145}, "2,50"}});
    EXPECT_TRUE(SamePixels(*Y, *YR));
}

TEST(ListPlot, AxesLegendAndTitles)
{
    auto P = Plot400();
    P->DrawAxis(false);
    // x axis along the plot's bottom from X0 to BmpWidth - X0 + 15; y axis up to the top margin
    // less 15.
    EXPECT_EQ(Px(*P, 50, 262), 0u);
    EXPECT_EQ(Px(*P, 365, 262), 0u);  // the tip
    EXPECT_EQ(Px(*P, 366, 262), 0xFFFFFFu);
    EXPECT_EQ(Px(*P, 50, 23), 0u);
    EXPECT_EQ(Px(*P, 50, 22), 0xFFFFFFu);

    auto Z = Plot400();
    Z->AxisLimits(-10, 10, -10, 10);
    Z->DrawAxis(true);
    EXPECT_EQ(Px(*Z, 100, Z->Py(0)), 0u);
    EXPECT_EQ(Px(*Z, Z->Px(0), 100), 0u);
    EXPECT_EQ(Px(*Z, 100, 262), 0xFFFFFFu);

    auto L = Plot400();
    L->AddLegendItem(0x00FF00, "Serie");
    L->AddLegendItem(0xFF0000, "Zwei");
    ASSERT_EQ(L->LegendNames.Length(), 2);
    L->DrawLegend();
    // Box at (Round(400 * 2/3), Round(300 / 6)) = (267, 50), 8 * 5 + 10 wide, 14 * 2 + 4 high.
    EXPECT_EQ(Px(*L, 267, 50), 0u);
    EXPECT_EQ(Px(*L, 267 + 49, 50 + 31), 0u);
    EXPECT_EQ(Px(*L, 267 + 50, 50), 0xFFFFFFu);
    EXPECT_EQ(Px(*L, 269 + 5, 54 + 5), 0x00FF00u);
    EXPECT_EQ(Px(*L, 269 + 5, 68 + 5), 0xFF0000u);
    EXPECT_EQ(CountColour(*L, 0x00FF00), 100);

    auto T = Plot400();
    gdi::TCanvas* C = T->Canvas();
    C->Font()->SetSize(9);
    C->Font()->SetName("DejaVu Sans");
    T->Title("Titel");
    EXPECT_EQ(C->Font()->Size(), 9);
    EXPECT_EQ(C->Font()->Name(), "DejaVu Sans");
    EXPECT_EQ(C->Font()->Style(), 0u);
    EXPECT_LT(CountColour(*T, 0xFFFFFF), 400 * 300);
    // The title's top-left corner at (BmpWidth div 4, BmpHeight - Y0 - 27) = (100, 11).
    int Top = 300, Left = 400;
    for (int Y = 0; Y < 300; ++Y)
        for (int X = 0; X < 400; ++X)
            if (Px(*T, X, Y) != 0xFFFFFFu) {
                Top = std::min(Top, Y);
                Left = std::min(Left, X);
            }
    EXPECT_GE(Top, 11);
    EXPECT_GE(Left, 100);
    EXPECT_LT(Left, 110);

    auto X = Plot400();
    X->xTitle("f");
    X->yTitle("U");
    auto XR = TextReference(*X, {{{350, 285}, "f"}, {{23, 8}, "U"}});
    EXPECT_TRUE(SamePixels(*X, *XR));
}

}  // namespace
