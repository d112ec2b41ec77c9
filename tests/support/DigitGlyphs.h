// Tells whether the ten digits of a drawn "0123456789" can be told apart: each digit's cell is
// cut out of the picture at the font's advances and compared, as ink, with the digits a reader
// mistakes for it.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QRect>

namespace digits {

inline constexpr const char* kLine = "0123456789";

// Pairs of digits that small letters merge most easily.
inline constexpr std::array<std::array<int, 2>, 7> kConfusable{
    {{3, 5}, {6, 8}, {0, 8}, {1, 7}, {5, 6}, {8, 9}, {3, 8}}};

// Two digits differ clearly when at least this much ink (in whole pixels: a pixel's ink is 0
// for paper and 1 for the text colour) differs between them at their best alignment: a stroke
// of four pixels, in a cell of about 5 x 8 pixels at 8 points. (3 and 5 drawn in two colours
// with full hinting at 8 points differ by 2.)
inline constexpr double kClearDifference = 4.0;

// Ink of one pixel: 0 on paper, 1 in the text colour (dark text on light paper).
inline double Ink(QRgb p, int paperGray) {
    const int g = qGray(p);
    return paperGray <= 0 ? 0.0 : std::clamp(static_cast<double>(paperGray - g) / paperGray, 0.0, 1.0);
}

struct Glyph {
    int w = 0, h = 0;
    std::vector<double> ink;
    double at(int x, int y) const {
        return x < 0 || y < 0 || x >= w || y >= h ? 0.0 : ink[static_cast<std::size_t>(y * w + x)];
    }
    double total() const {
        double t = 0;
        for (double v : ink) t += v;
        return t;
    }
};

// The ink that differs between two glyph pictures at their best horizontal alignment (a shift
// of up to one pixel either way, so that a glyph placed half a pixel off still matches itself).
inline double Difference(const Glyph& a, const Glyph& b) {
    double best = 1e9;
    const int w = std::max(a.w, b.w), h = std::max(a.h, b.h);
    for (int shift = -1; shift <= 1; ++shift) {
        double d = 0;
        for (int y = 0; y < h; ++y)
            for (int x = -1; x <= w; ++x) d += std::abs(a.at(x, y) - b.at(x + shift, y));
        best = std::min(best, d);
    }
    return best;
}

// Cuts the ten digit cells out of `img`: the line "0123456789" was drawn in `font` with its
// left edge at x0 (device pixels, may be fractional) and its cell rows top..bottom.
inline std::array<Glyph, 10> Cells(const QImage& img, const QFont& font, double x0, int top,
                                   int bottom, int paperGray) {
    const QFontMetricsF fm(font);
    const QString line = QString::fromLatin1(kLine);
    std::array<Glyph, 10> cells;
    for (int i = 0; i < 10; ++i) {
        const int from = static_cast<int>(std::lround(x0 + fm.horizontalAdvance(line.left(i))));
        const int to = static_cast<int>(std::lround(x0 + fm.horizontalAdvance(line.left(i + 1))));
        Glyph& g = cells[static_cast<std::size_t>(i)];
        g.w = std::max(to - from, 1);
        g.h = bottom - top + 1;
        g.ink.assign(static_cast<std::size_t>(g.w * g.h), 0.0);
        for (int y = 0; y < g.h; ++y)
            for (int x = 0; x < g.w; ++x) {
                const int px = from + x, py = top + y;
                if (px >= 0 && py >= 0 && px < img.width() && py < img.height())
                    g.ink[static_cast<std::size_t>(y * g.w + x)] = Ink(img.pixel(px, py), paperGray);
            }
    }
    return cells;
}

// Finds the line in `area` of a widget's picture (the paper is the area's top-left pixel) and
// cuts its cells: the line's left edge is placed from the first inked column and the left
// bearing of "0".
inline std::array<Glyph, 10> CellsInArea(const QImage& img, const QFont& font, QRect area,
                                         double inkThreshold = 0.25) {
    area = area.intersected(img.rect());
    const int paper = qGray(img.pixel(area.topLeft()));
    int left = -1, top = -1, bottom = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (Ink(img.pixel(x, y), paper) >= inkThreshold) {
                if (left < 0) left = x;
                top = top < 0 ? y : std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (left < 0) return {};
    const QFontMetricsF fm(font);
    const double x0 = left - fm.leftBearing(QLatin1Char('0'));
    return Cells(img, font, x0, std::max(top - 1, 0), bottom + 1, paper);
}

// The confusable pairs that do not differ clearly, as "3/5: 1.8" lines (empty when all do).
inline std::string Unclear(const std::array<Glyph, 10>& cells) {
    std::string out;
    for (const auto& p : kConfusable) {
        const Glyph& a = cells[static_cast<std::size_t>(p[0])];
        const Glyph& b = cells[static_cast<std::size_t>(p[1])];
        const double d = Difference(a, b);
        if (d < kClearDifference || a.total() < 1 || b.total() < 1)
            out += std::to_string(p[0]) + "/" + std::to_string(p[1]) + ": " + std::to_string(d) + "\n";
    }
    return out;
}

}  // namespace digits
