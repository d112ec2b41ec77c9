#include "foundation/ListPlot.h"

#include <algorithm>

#include "foundation/ArrayLib.h"
#include "foundation/GrafikPropertiesLib.h"
#include "foundation/GrafikToolsLib.h"
#include "foundation/MathLib.h"
#include "platform/rtl/SysUtils.h"

namespace {

using Ext = long double;

int RoundInt(Ext X) { return static_cast<int>(rtl::Round(X)); }

}  // namespace

TListPlot::TListPlot(int AWidth, int AHeight) : gdi::TBitmap(AWidth, AHeight)
{
    PlotCanvas = Canvas();
    LegendNames.clear();
    LegendColors.clear();
}

void TListPlot::Init()
{
    BmpWidth = Width();
    BmpHeight = Height();
    const Ext F = PlotFraction;
    PlotWidth = RoundInt(BmpWidth * F);
    PlotHeight = RoundInt(BmpHeight * F);
    X0 = RoundInt((1 - F) / 2 * BmpWidth);
    Y0 = RoundInt((1 - (1 - F) / 2) * BmpHeight);
    CanvasClearWhite(PlotCanvas);
    CanvasClear(PlotCanvas, BackColor);
}

void TListPlot::AxisLimits(double AXMin, double AXMax, double AYMin, double AYMax)
{
    XMin = AXMin;
    XMax = AXMax;
    YMin = AYMin;
    YMax = AYMax;
}

int TListPlot::Px(double X) const
{
    return X0 + RoundInt(static_cast<Ext>(PlotWidth) / (static_cast<Ext>(XMax) - XMin) *
                         (static_cast<Ext>(X) - XMin));
}

int TListPlot::Py(double Y) const
{
    return Y0 - RoundInt(static_cast<Ext>(PlotHeight) / (static_cast<Ext>(YMax) - YMin) *
                         (static_cast<Ext>(Y) - YMin));
}

void TListPlot::DrawSeries(const DoubleArray& X, const DoubleArray& Y, gdi::TColor Color)
{
    const int N = std::min(X.Length(), Y.Length());
    for (int I = 0; I < N; ++I) {
        if (SkipValues && Y[I] == SkipValue) continue;
        CanvasDot(PlotCanvas, Px(X[I]), Py(Y[I]), PointSize, Color);
    }
}

void TListPlot::DrawY1() { DrawSeries(XData1, YData1, SeriesColor1); }
void TListPlot::DrawY2() { DrawSeries(XData2, YData2, SeriesColor2); }
void TListPlot::DrawY3() { DrawSeries(XData3, YData3, SeriesColor3); }
void TListPlot::DrawY4() { DrawSeries(XData4, YData4, SeriesColor4); }
void TListPlot::DrawY5() { DrawSeries(XData5, YData5, SeriesColor5); }
void TListPlot::DrawY6() { DrawSeries(XData6, YData6, SeriesColor6); }

void TListPlot::DrawXGrid(const DoubleArray& Values)
{
    for (const double X : Values)
        CanvasLine(PlotCanvas, Px(X), BmpHeight - Y0, Px(X), Y0, GridColor);
}

void TListPlot::DrawYGrid(const DoubleArray& Values)
{
    for (const double Y : Values)
        CanvasLine(PlotCanvas, X0, Py(Y), BmpWidth - X0, Py(Y), GridColor);
}

void TListPlot::DrawXLabel(const DoubleArray& Values)
{
    const int Y = BmpHeight - RoundInt((BmpHeight - Y0) * 0.8L);
    for (const double X : Values) {
        const std::string Text = rtl::FloatToStrF(static_cast<Ext>(X) * XLabelFactor,
                                                  rtl::TFloatFormat::ffGeneral, 4, 0);
        CanvasTextOut(PlotCanvas, Px(X) - 7, Y, Text, TextColor, BackColor);
    }
}

void TListPlot::DrawXLabelCustom(const DoubleArray& Values, const StringArray& Labels)
{
    const int Y = BmpHeight - RoundInt((BmpHeight - Y0) * 0.8L);
    const int N = std::min(Values.Length(), Labels.Length());
    for (int I = 0; I < N; ++I)
        CanvasTextOut(PlotCanvas, Px(Values[I]) - 7, Y, Labels[I], TextColor, BackColor);
}

void TListPlot::DrawYLabel(const DoubleArray& Values, int Digits)
{
    const int X = RoundInt(X0 * 0.3L);
    for (const double Y : Values) {
        const std::string Text = rtl::FloatToStrF(static_cast<Ext>(Y) * YLabelFactor,
                                                  rtl::TFloatFormat::ffFixed, 3, Digits);
        CanvasTextOut(PlotCanvas, X, Py(Y) - 5, Text, TextColor, BackColor);
    }
}

DoubleArray TListPlot::AutoValues(double Min, double Max)
{
    const double Step = static_cast<double>(TenPower(FloorInt(Log10OrZero(Max - Min))));
    const double First = CeilInt(Min / Step) * Step;
    const double Last = FloorInt(Max / Step) * Step;
    DoubleArray Values;
    AxisSteps(Values, First, Last, Step);
    return Values;
}

void TListPlot::AutoXGrid() { DrawXGrid(AutoValues(XMin, XMax)); }
void TListPlot::AutoYGrid() { DrawYGrid(AutoValues(YMin, YMax)); }
void TListPlot::AutoXLabel() { DrawXLabel(AutoValues(XMin, XMax)); }
void TListPlot::AutoYLabel() { DrawYLabel(AutoValues(YMin, YMax), 0); }

void TListPlot::AutoGridLabel()
{
    AutoXGrid();
    AutoYGrid();
    AutoXLabel();
    AutoYLabel();
}

void TListPlot::DrawAxis(bool AtZero)
{
    const int Ox = AtZero ? Px(0) : Px(XMin);
    const int Oy = AtZero ? Py(0) : Py(YMin);
    CanvasArrow(PlotCanvas, X0, Oy, BmpWidth - X0 + 15, Oy, TextColor, 10);
    CanvasArrow(PlotCanvas, Ox, Y0, Ox, BmpHeight - Y0 - 15, TextColor, 10);
}

void TListPlot::AddLegendItem(gdi::TColor Color, const std::string& Name)
{
    AppendColor(LegendColors, Color);
    LegendNames.push_back(Name);
}

void TListPlot::DrawLegend()
{
    const int N = std::min(LegendNames.Length(), LegendColors.Length());
    const int W = 8 * MaxStringLength(LegendNames) + 10;
    const int H = 14 * N + 4;
    const int Left = RoundInt(BmpWidth * static_cast<Ext>(LegendXRatio));
    const int Top = RoundInt(BmpHeight * static_cast<Ext>(LegendYRatio));
    CanvasFillRect2(PlotCanvas, Left, Top, W, H, TextColor, BackColor);
    for (int I = 0; I < N; ++I) {
        CanvasFillRect(PlotCanvas, Left + 2, Top + 4 + 14 * I, 10, 10, LegendColors[I]);
        CanvasTextOut(PlotCanvas, Left + 14, Top + 2 + 14 * I, LegendNames[I], TextColor,
                      BackColor);
    }
}

void TListPlot::xTitle(const std::string& Text)
{
    CanvasTextOut(PlotCanvas, BmpWidth - X0, BmpHeight - 15, Text, TextColor, BackColor);
}

void TListPlot::yTitle(const std::string& Text)
{
    CanvasTextOut(PlotCanvas, X0 - 27, BmpHeight - Y0 - 30, Text, TextColor, BackColor);
}

void TListPlot::Title(const std::string& Text)
{
    SaveCanvasState(PlotCanvas);
    CanvasFontSize(PlotCanvas, TitleFontSize);
    CanvasFontName(PlotCanvas, "Arial");
    CanvasFontBold(PlotCanvas);
    CanvasTextOut(PlotCanvas, BmpWidth / 4, BmpHeight - Y0 - 27, Text, TextColor, BackColor);
    RestoreCanvasState();
}
