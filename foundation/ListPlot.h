// Unit ListPlot: a bitmap that draws an x/y point plot of up to six series into itself, with a
// plot area centred in the bitmap, grid lines, axis labels, axis arrows, titles and a legend.
// The caller sets the size, calls Init, sets the world window and the data, and calls the
// drawing steps in the order it wants.
#pragma once

#include <string>

#include "foundation/ClassesLib.h"
#include "foundation/cUtils.h"
#include "platform/gdi/Graphics.h"

class TListPlot : public gdi::TBitmap {
public:
    // A bitmap of AWidth x AHeight with the defaults below; Init lays out the plot area.
    TListPlot(int AWidth, int AHeight);

    // Plot area (pixels): left edge, bottom edge, width and height; set by Init.
    int X0 = 0;
    int Y0 = 0;
    int PlotWidth = 0;
    int PlotHeight = 0;
    gdi::TCanvas* PlotCanvas = nullptr;  // the bitmap's own canvas
    int BmpWidth = 0;
    int BmpHeight = 0;
    // World window of the plot area.
    double XMin = -10;
    double YMin = -10;
    double XMax = 10;
    double YMax = 10;
    StringArray LegendNames;
    ColorArray LegendColors;
    gdi::TColor TextColor = 0x000000;  // axes, labels, titles, legend frame
    gdi::TColor SeriesColor1 = 0x0000FF;
    gdi::TColor SeriesColor2 = 0x000000;
    gdi::TColor SeriesColor3 = 0x000000;
    gdi::TColor SeriesColor4 = 0x000000;
    gdi::TColor SeriesColor5 = 0x000000;
    gdi::TColor SeriesColor6 = 0x000000;
    gdi::TColor GridColor = 0xDCDCDC;
    gdi::TColor BackColor = 0xFFFFFF;  // background of the bitmap and of every text
    int PointSize = 2;                 // dot radius of every series
    double PlotFraction = 0.75;        // share of width and height taken by the plot area
    DoubleArray XData1, YData1, XData2, YData2, XData3, YData3;
    DoubleArray XData4, YData4, XData5, YData5, XData6, YData6;
    // Applied to a value before it is printed as an axis label, not to its position.
    double XLabelFactor = 1.0;
    double YLabelFactor = 1.0;
    // When set, points whose y equals SkipValue are left out.
    bool SkipValues = false;
    double SkipValue = 0.0;
    // Legend position as a share of the bitmap's width and height.
    double LegendXRatio = 2.0 / 3.0;
    double LegendYRatio = 1.0 / 6.0;
    int TitleFontSize = 15;

    // Plot area from the bitmap's size and PlotFraction; paints the background.
    void Init();
    // The world window (both x limits first).
    void AxisLimits(double AXMin, double AXMax, double AYMin, double AYMax);

    // Pixel position of a world coordinate.
    int Px(double X) const;
    int Py(double Y) const;

    // Series 1..6 as dots; as many points as the shorter of the x and y arrays.
    void DrawY1();
    void DrawY2();
    void DrawY3();
    void DrawY4();
    void DrawY5();
    void DrawY6();

    void DrawXGrid(const DoubleArray& Values);
    void DrawYGrid(const DoubleArray& Values);
    // Numbers in general format with 4 significant digits under the plot area.
    void DrawXLabel(const DoubleArray& Values);
    // Labels[i] at Values[i] (as many as the shorter array holds).
    void DrawXLabelCustom(const DoubleArray& Values, const StringArray& Labels);
    // Numbers in fixed format (precision 3, Digits decimals) left of the plot area.
    void DrawYLabel(const DoubleArray& Values, int Digits);

    // Grid and labels at the powers-of-ten steps inside the world window.
    void AutoXGrid();
    void AutoYGrid();
    void AutoXLabel();
    void AutoYLabel();
    void AutoGridLabel();
    // The values AutoXGrid / AutoYGrid use for the range Min..Max.
    static DoubleArray AutoValues(double Min, double Max);

    // Both axes as arrows from (XMin, YMin), or from (0, 0) when AtZero.
    void DrawAxis(bool AtZero);

    void AddLegendItem(gdi::TColor Color, const std::string& Name);
    void DrawLegend();

    void xTitle(const std::string& Text);
    void yTitle(const std::string& Text);
    void Title(const std::string& Text);

private:
    void DrawSeries(const DoubleArray& X, const DoubleArray& Y, gdi::TColor Color);
};
