// TCanvas: pixel-exact drawing on a QImage. Lines, rectangles, fills, pixels and block copies
// are done here pixel by pixel (so that raster operations and clipping are exact); ellipses,
// polygon interiors and wide lines are rasterised by QPainter (no antialiasing) into a
// coverage mask that is then applied the same way; text into a mask of grey coverage (smoothed
// as its font's Quality says) that is blended into the pixels.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include "platform/gdi/Graphics.h"
#include "platform/gdi/Paths.h"

namespace gdi {

namespace {

// ---- Pixel access ----------------------------------------------------------------------------
// Colours inside the canvas are $00BBGGRR; both storage formats keep the bytes B, G, R first.
struct Surface {
    std::uint8_t* bits = nullptr;
    qsizetype bpl = 0;
    int w = 0, h = 0;
    int bpp = 0;  // 3 or 4 bytes

    bool valid() const { return bits != nullptr && w > 0 && h > 0; }
    std::uint8_t* at(int x, int y) const { return bits + y * bpl + static_cast<qsizetype>(x) * bpp; }
    TColor get(int x, int y) const {
        const std::uint8_t* p = at(x, y);
        return static_cast<TColor>(p[2]) | (static_cast<TColor>(p[1]) << 8) |
               (static_cast<TColor>(p[0]) << 16);
    }
    void put(int x, int y, TColor c) const {
        std::uint8_t* p = at(x, y);
        p[0] = static_cast<std::uint8_t>(c >> 16);
        p[1] = static_cast<std::uint8_t>(c >> 8);
        p[2] = static_cast<std::uint8_t>(c);
        if (bpp == 4) p[3] = 0xFF;
    }
};

bool SupportedFormat(QImage::Format f) {
    return f == QImage::Format_BGR888 || f == QImage::Format_RGB32 ||
           f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

Surface MakeSurface(QImage* img) {
    Surface s;
    if (!img || img->isNull()) return s;
    if (!SupportedFormat(img->format())) *img = img->convertToFormat(QImage::Format_RGB32);
    s.bits = img->bits();  // detaches a shared image
    s.bpl = img->bytesPerLine();
    s.w = img->width();
    s.h = img->height();
    s.bpp = img->format() == QImage::Format_BGR888 ? 3 : 4;
    return s;
}

struct ConstSurface {
    const std::uint8_t* bits = nullptr;
    qsizetype bpl = 0;
    int w = 0, h = 0, bpp = 0;
    bool valid() const { return bits != nullptr && w > 0 && h > 0; }
    TColor get(int x, int y) const {
        const std::uint8_t* p = bits + y * bpl + static_cast<qsizetype>(x) * bpp;
        return static_cast<TColor>(p[2]) | (static_cast<TColor>(p[1]) << 8) |
               (static_cast<TColor>(p[0]) << 16);
    }
};

// A read view of any image; unsupported formats are converted into `holder` first.
ConstSurface MakeConstSurface(const QImage& img, QImage& holder) {
    ConstSurface s;
    if (img.isNull()) return s;
    const QImage* use = &img;
    if (!SupportedFormat(img.format())) {
        holder = img.convertToFormat(QImage::Format_RGB32);
        use = &holder;
    }
    s.bits = use->constBits();
    s.bpl = use->bytesPerLine();
    s.w = use->width();
    s.h = use->height();
    s.bpp = use->format() == QImage::Format_BGR888 ? 3 : 4;
    return s;
}

// ---- Raster operations -----------------------------------------------------------------------

// Ternary raster operation: bit (P*4 + S*2 + D) of the operation byte gives the result.
inline TColor Rop3(TCopyMode rop, TColor p, TColor s, TColor d) {
    unsigned code = (rop >> 16) & 0xFF;
    switch (code) {
        case 0xCC: return s;
        case 0x00: return 0;
        case 0xFF: return 0xFFFFFF;
        case 0xF0: return p;
        case 0x55: return ~d & 0xFFFFFF;
        case 0x66: return s ^ d;
        case 0x88: return s & d;
        case 0xEE: return s | d;
        case 0x33: return ~s & 0xFFFFFF;
        default: break;
    }
    TColor r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(code & (1u << i))) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r & 0xFFFFFF;
}

// Hatch patterns (8 x 8, aligned to the device origin).
inline bool HatchAt(TBrushStyle st, int x, int y) {
    int mx = x & 7, my = y & 7;
    switch (st) {
        case bsHorizontal: return my == 0;
        case bsVertical: return mx == 0;
        case bsFDiagonal: return mx == my;
        case bsBDiagonal: return mx == 7 - my;
        case bsCross: return mx == 0 || my == 0;
        case bsDiagCross: return mx == my || mx == 7 - my;
        default: return true;
    }
}

// Dash patterns of width-1 pens (on, off, ... in pixels).
std::span<const int> DashPattern(TPenStyle st) {
    static const int dash[] = {18, 6};
    static const int dot[] = {3, 3};
    static const int dashDot[] = {9, 6, 3, 6};
    static const int dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (st) {
        case psDash: return dash;
        case psDot: return dot;
        case psDashDot: return dashDot;
        case psDashDotDot: return dashDotDot;
        default: return {};
    }
}

// Calls f(x, y) for every pixel of the Bresenham line from (x0, y0) to (x1, y1), the end
// point excluded.
template <class F>
void LinePixels(int x0, int y0, int x1, int y1, F&& f) {
    int ddx = std::abs(x1 - x0), ddy = std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int n = std::max(ddx, ddy);
    int x = x0, y = y0;
    if (ddx >= ddy) {
        int err = 2 * ddy - ddx;
        for (int i = 0; i < n; ++i) {
            f(x, y);
            if (err > 0) {
                y += sy;
                err -= 2 * ddx;
            }
            err += 2 * ddy;
            x += sx;
        }
    } else {
        int err = 2 * ddx - ddy;
        for (int i = 0; i < n; ++i) {
            f(x, y);
            if (err > 0) {
                x += sx;
                err -= 2 * ddy;
            }
            err += 2 * ddx;
            y += sy;
        }
    }
}

}  // namespace

// ---- Drawing context ---------------------------------------------------------------------------
// Everything one drawing operation needs: the surface, the device clip rectangles, the resolved
// colours.
struct TCanvas::Impl {
    TCanvas& c;
    Surface s;
    std::vector<QRect> clips;  // device rectangles inside the image
    QRect bounds;              // union of clips

    explicit Impl(TCanvas& canvas) : c(canvas) {
        s = MakeSurface(canvas.target_);
        if (!s.valid()) return;
        QRect img(0, 0, s.w, s.h);
        if (canvas.hasClip_) {
            QRegion r = canvas.clip_.intersected(img);
            for (const QRect& q : r) clips.push_back(q);
        } else {
            clips.push_back(img);
        }
        for (const QRect& q : clips) bounds = bounds.united(q);
    }
    bool ok() const { return s.valid() && !clips.empty(); }

    bool inClip(int x, int y) const {
        if (!bounds.contains(x, y)) return false;
        if (clips.size() == 1) return true;
        for (const QRect& q : clips)
            if (q.contains(x, y)) return true;
        return false;
    }

    // Logical -> device.
    int dx(int x) const { return x + c.origin_.X; }
    int dy(int y) const { return y + c.origin_.Y; }

    void plot(int x, int y, TColor color, TPenMode mode) {
        if (!inClip(x, y)) return;
        if (mode == pmCopy) {
            s.put(x, y, color);
        } else {
            s.put(x, y, Rop2(mode, color, s.get(x, y)));
        }
    }

    // Calls f(y, x0, x1) for the clipped parts of device rectangle [l, r) x [t, b).
    template <class F>
    void forSpans(int l, int t, int r, int b, F&& f) {
        QRect want(QPoint(l, t), QPoint(r - 1, b - 1));
        if (r <= l || b <= t) return;
        for (const QRect& q : clips) {
            QRect x = q.intersected(want);
            if (x.isEmpty()) continue;
            for (int y = x.top(); y <= x.bottom(); ++y) f(y, x.left(), x.right() + 1);
        }
    }

    // Fills a device rectangle with a brush (colour, style) and a raster operation.
    void fillRect(int l, int t, int r, int b, const TBrush& brush, TPenMode mode) {
        if (const TBitmap* pattern = brush.Bitmap(); pattern && !pattern->Empty()) {
            const QImage& img = pattern->Image();
            int pw = img.width(), ph = img.height();
            forSpans(l, t, r, b, [&](int y, int x0, int x1) {
                for (int x = x0; x < x1; ++x) {
                    QRgb q = img.pixel(x % pw, y % ph);
                    TColor c = RGB(qRed(q), qGreen(q), qBlue(q));
                    s.put(x, y, mode == pmCopy ? c : Rop2(mode, c, s.get(x, y)));
                }
            });
            return;
        }
        if (brush.Style() == bsClear) return;
        TColor color = ColorToPixel(brush.Color());
        TBrushStyle st = brush.Style();
        forSpans(l, t, r, b, [&](int y, int x0, int x1) {
            if (st == bsSolid && mode == pmCopy) {
                if (s.bpp == 3) {
                    std::uint8_t* p = s.at(x0, y);
                    std::uint8_t b0 = static_cast<std::uint8_t>(color >> 16);
                    std::uint8_t b1 = static_cast<std::uint8_t>(color >> 8);
                    std::uint8_t b2 = static_cast<std::uint8_t>(color);
                    for (int x = x0; x < x1; ++x) {
                        *p++ = b0;
                        *p++ = b1;
                        *p++ = b2;
                    }
                } else {
                    auto* p = reinterpret_cast<std::uint32_t*>(s.at(x0, y));
                    std::uint32_t v = 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
                                      (static_cast<std::uint32_t>(GetGValue(color)) << 8) |
                                      static_cast<std::uint32_t>(GetBValue(color));
                    std::fill(p, p + (x1 - x0), v);
                }
                return;
            }
            for (int x = x0; x < x1; ++x) {
                if (st != bsSolid && !HatchAt(st, x, y)) continue;
                s.put(x, y, mode == pmCopy ? color : Rop2(mode, color, s.get(x, y)));
            }
        });
    }

    // Width-1 line from device (x0, y0) to (x1, y1), end point excluded (Bresenham).
    // Dashed styles draw their gaps in the brush colour when the brush is solid.
    void line1(int x0, int y0, int x1, int y1, const TPen& pen, const TBrush& brush) {
        if (pen.Style() == psClear) return;
        TColor color = ColorToPixel(pen.Color());
        TPenMode mode = pen.Mode();
        auto pattern = DashPattern(pen.Style());
        if (pattern.empty()) {
            LinePixels(x0, y0, x1, y1, [&](int x, int y) { plot(x, y, color, mode); });
            return;
        }
        bool gapsOpaque = brush.Style() == bsSolid;
        TColor gapColor = ColorToPixel(brush.Color());
        std::size_t seg = 0;
        int left = pattern[0];
        LinePixels(x0, y0, x1, y1, [&](int x, int y) {
            if (seg % 2 == 0) plot(x, y, color, mode);
            else if (gapsOpaque) plot(x, y, gapColor, mode);
            if (--left == 0) {
                seg = (seg + 1) % pattern.size();
                left = pattern[seg];
            }
        });
    }

    // Applies a mask image (ARGB32, positioned at device `org`): pixels whose red channel is set
    // take colour A, green channel colour B (each with its own operation and brush pattern).
    struct MaskInk {
        bool use = false;
        TColor color = 0;
        TPenMode mode = pmCopy;
        TBrushStyle hatch = bsSolid;
    };
    void applyMask(const QImage& mask, QPoint org, const MaskInk& red, const MaskInk& green) {
        QRect mr(org, mask.size());
        for (const QRect& q : clips) {
            QRect x = q.intersected(mr);
            if (x.isEmpty()) continue;
            for (int y = x.top(); y <= x.bottom(); ++y) {
                const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y - org.y()));
                for (int xx = x.left(); xx <= x.right(); ++xx) {
                    QRgb v = m[xx - org.x()];
                    const MaskInk* ink = nullptr;
                    if (qRed(v) >= 128) ink = &red;
                    else if (qGreen(v) >= 128) ink = &green;
                    if (!ink || !ink->use) continue;
                    if (ink->hatch != bsSolid && !HatchAt(ink->hatch, xx, y)) continue;
                    s.put(xx, y, ink->mode == pmCopy ? ink->color : Rop2(ink->mode, ink->color, s.get(xx, y)));
                }
            }
        }
    }

    // Applies a text mask (premultiplied ARGB32 at device `org`): the red channel is the
    // letters' coverage, blended from the pixel below (or the cell's background when `back`
    // is used and the pixel lies in the green-filled cell) towards `glyph`. Two-colour text takes
    // the glyph colour where the coverage is at least half (rotated letters are rasterised as
    // outlines, which may come with partial coverage).
    void applyTextMask(const QImage& mask, QPoint org, TColor glyph, const MaskInk& back, bool twoColour) {
        QRect mr(org, mask.size());
        for (const QRect& q : clips) {
            QRect x = q.intersected(mr);
            if (x.isEmpty()) continue;
            for (int y = x.top(); y <= x.bottom(); ++y) {
                const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y - org.y()));
                for (int xx = x.left(); xx <= x.right(); ++xx) {
                    const QRgb v = m[xx - org.x()];
                    const int a = twoColour ? (qRed(v) >= 128 ? 255 : 0) : qRed(v);
                    const bool cell = back.use && qRed(v) + qGreen(v) >= 128;
                    if (a == 0 && !cell) continue;
                    if (a >= 255) {
                        s.put(xx, y, glyph);
                        continue;
                    }
                    const TColor under = cell ? back.color : s.get(xx, y);
                    const auto mix = [a](int from, int to) { return (from * (255 - a) + to * a + 127) / 255; };
                    s.put(xx, y, RGB(mix(GetRValue(under), GetRValue(glyph)),
                                     mix(GetGValue(under), GetGValue(glyph)),
                                     mix(GetBValue(under), GetBValue(glyph))));
                }
            }
        }
    }

    MaskInk penInk() const {
        MaskInk k;
        k.use = c.pen_.Style() != psClear;
        k.color = ColorToPixel(c.pen_.Color());
        k.mode = c.pen_.Mode();
        return k;
    }
    MaskInk brushInk() const {
        MaskInk k;
        k.use = c.brush_.Style() != bsClear;
        k.color = ColorToPixel(c.brush_.Color());
        k.mode = c.pen_.Mode();
        k.hatch = c.brush_.Style();
        return k;
    }

    // A mask covering device rectangle `area` (clipped to the drawable bounds); null when empty.
    QImage newMask(QRect area, QPoint& org, QImage::Format format = QImage::Format_ARGB32) {
        QRect r = area.intersected(bounds);
        if (r.isEmpty()) return QImage();
        org = r.topLeft();
        QImage m(r.size(), format);
        if (m.isNull()) throw rtl::EOutOfMemory(rtl::msg::OutOfMemory);
        m.fill(0);
        return m;
    }

    static QPen maskPen(const QColor& col, int width) {
        QPen p(col);
        p.setWidth(width);
        p.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
        p.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
        if (width <= 1) p.setCosmetic(true);
        return p;
    }

    // Polyline of device points with a pen wider than 1 (round caps and joins).
    void widePolyline(const std::vector<QPoint>& pts, bool closed) {
        if (pts.empty()) return;
        int w = c.pen_.Width();
        QRect box = QPolygon(QList<QPoint>(pts.begin(), pts.end())).boundingRect().adjusted(-w, -w, w, w);
        QPoint org;
        QImage m = newMask(box, org);
        if (m.isNull()) return;
        {
            QPainter p(&m);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.translate(-org.x(), -org.y());
            p.setPen(maskPen(Qt::red, w));
            p.setBrush(Qt::NoBrush);
            QPolygon poly(QList<QPoint>(pts.begin(), pts.end()));
            if (pts.size() == 1) p.drawPoint(pts[0]);
            else if (closed) p.drawPolygon(poly);
            else p.drawPolyline(poly);
        }
        applyMask(m, org, penInk(), MaskInk{});
    }
};

// ---- TCanvas -----------------------------------------------------------------------------------

TCanvas::TCanvas() = default;
TCanvas::TCanvas(QImage* target) { SetTarget(target); }
TCanvas::~TCanvas() { detail::ForgetPath(*this); }

void TCanvas::SetTarget(QImage* target) {
    target_ = target;
    if (target_ && !target_->isNull() && !SupportedFormat(target_->format()))
        *target_ = target_->convertToFormat(QImage::Format_RGB32);
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

void TCanvas::MoveTo(int x, int y) {
    if (QPainterPath* path = detail::RecordingPath(*this)) path->moveTo(x, y);
    penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    if (QPainterPath* path = detail::RecordingPath(*this)) {
        const QPointF from(penPos_.X, penPos_.Y);
        if (path->elementCount() == 0 || path->currentPosition() != from) path->moveTo(from);
        path->lineTo(x, y);
        penPos_ = {x, y};
        return;
    }
    Changing();
    Impl d(*this);
    if (d.ok()) {
        if (pen_.Width() <= 1) {
            d.line1(d.dx(penPos_.X), d.dy(penPos_.Y), d.dx(x), d.dy(y), pen_, brush_);
        } else if (pen_.Style() != psClear) {
            d.widePolyline({QPoint(d.dx(penPos_.X), d.dy(penPos_.Y)), QPoint(d.dx(x), d.dy(y))}, false);
        }
    }
    penPos_ = {x, y};
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.empty()) return;
    if (QPainterPath* path = detail::RecordingPath(*this)) {
        path->moveTo(points[0].X, points[0].Y);
        for (std::size_t i = 1; i < points.size(); ++i) path->lineTo(points[i].X, points[i].Y);
        return;
    }
    Changing();
    Impl d(*this);
    if (d.ok()) {
        if (pen_.Width() <= 1) {
            for (std::size_t i = 1; i < points.size(); ++i)
                d.line1(d.dx(points[i - 1].X), d.dy(points[i - 1].Y), d.dx(points[i].X),
                        d.dy(points[i].Y), pen_, brush_);
        } else if (pen_.Style() != psClear) {
            std::vector<QPoint> pts;
            for (const TPoint& p : points) pts.emplace_back(d.dx(p.X), d.dy(p.Y));
            d.widePolyline(pts, false);
        }
    }
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (QPainterPath* path = detail::RecordingPath(*this)) {
        path->addRect(QRectF(left, top, right - left, bottom - top));
        return;
    }
    Changing();
    Impl d(*this);
    if (d.ok()) {
        int l = d.dx(left), t = d.dy(top), r = d.dx(right), b = d.dy(bottom);
        TPenMode mode = pen_.Mode();
        TPenStyle ps = pen_.Style();
        if (ps == psClear) {
            // Without a pen the filled area is one pixel smaller to the right and bottom.
            d.fillRect(l, t, r - 1, b - 1, brush_, mode);
        } else if (ps != psSolid && ps != psInsideFrame) {
            // Dashed outline (always 1 pixel wide): four lines clockwise, then the inside.
            if (r - l > 2 && b - t > 2) d.fillRect(l + 1, t + 1, r - 1, b - 1, brush_, mode);
            int x2 = r - 1, y2 = b - 1;
            if (r > l && b > t) {
                if (y2 == t) {
                    d.line1(l, t, x2 + 1, t, pen_, brush_);
                } else if (x2 == l) {
                    d.line1(l, t, l, y2 + 1, pen_, brush_);
                } else {
                    d.line1(l, t, x2, t, pen_, brush_);
                    d.line1(x2, t, x2, y2, pen_, brush_);
                    d.line1(x2, y2, l, y2, pen_, brush_);
                    d.line1(l, y2, l, t, pen_, brush_);
                }
            }
        } else {
            // Outline band of width w: inside the box for psInsideFrame (and width 1), else
            // centred on the pixels a width-1 outline would take.
            int w = pen_.Width();
            int ol = l, ot = t, orr = r, ob = b;
            if (ps == psSolid && w > 1) {
                ol = l - w / 2;
                ot = t - w / 2;
                orr = r - 1 - w / 2 + w;
                ob = b - 1 - w / 2 + w;
            }
            if (orr - ol > 2 * w && ob - ot > 2 * w) d.fillRect(ol + w, ot + w, orr - w, ob - w, brush_, mode);
            TBrush penBrush;
            penBrush.SetColor(pen_.Color());
            if (orr > ol && ob > ot) {
                int bandT = std::min(w, ob - ot);
                d.fillRect(ol, ot, orr, ot + bandT, penBrush, mode);
                int botStart = std::max(ob - w, ot + bandT);
                if (botStart < ob) d.fillRect(ol, botStart, orr, ob, penBrush, mode);
                int midT = ot + bandT, midB = botStart;
                if (midB > midT) {
                    int bandW = std::min(w, orr - ol);
                    d.fillRect(ol, midT, ol + bandW, midB, penBrush, mode);
                    int rightStart = std::max(orr - w, ol + bandW);
                    if (rightStart < orr) d.fillRect(rightStart, midT, orr, midB, penBrush, mode);
                }
            }
        }
    }
    Changed();
}

void TCanvas::FillRect(const TRect& rc) {
    Changing();
    Impl d(*this);
    if (d.ok()) d.fillRect(d.dx(rc.Left), d.dy(rc.Top), d.dx(rc.Right), d.dy(rc.Bottom), brush_, pmCopy);
    Changed();
}

void TCanvas::FrameRect(const TRect& rc) {
    if (rc.IsEmpty()) return;
    Changing();
    Impl d(*this);
    if (d.ok() && brush_.Style() != bsClear) {
        int l = d.dx(rc.Left), t = d.dy(rc.Top), r = d.dx(rc.Right), b = d.dy(rc.Bottom);
        TBrush solid;
        solid.SetColor(brush_.Color());
        d.fillRect(l, t, r, t + 1, solid, pmCopy);
        if (b - 1 > t) d.fillRect(l, b - 1, r, b, solid, pmCopy);
        if (b - 1 > t + 1) {
            d.fillRect(l, t + 1, l + 1, b - 1, solid, pmCopy);
            if (r - 1 > l) d.fillRect(r - 1, t + 1, r, b - 1, solid, pmCopy);
        }
    }
    Changed();
}

namespace {
// Draws a shape twice into the mask: the interior (brush) in green without a pen, then the
// outline (pen) in red.
template <class DrawFn>
void ShapeToMask(QImage& m, QPoint org, const TPen& pen, bool withBrush, DrawFn draw) {
    QPainter p(&m);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(-org.x(), -org.y());
    if (withBrush) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::green);
        draw(p, true);
    }
    if (pen.Style() != psClear) {
        QPen qp(Qt::red);
        int w = pen.Width();
        qp.setWidth(w);
        if (w <= 1) qp.setCosmetic(true);
        qp.setJoinStyle(Qt::MiterJoin);
        if (w <= 1) {
            switch (pen.Style()) {
                case psDash: qp.setDashPattern({18, 6}); break;
                case psDot: qp.setDashPattern({3, 3}); break;
                case psDashDot: qp.setDashPattern({9, 6, 3, 6}); break;
                case psDashDotDot: qp.setDashPattern({9, 3, 3, 3, 3, 3}); break;
                default: break;
            }
        }
        p.setPen(qp);
        p.setBrush(Qt::NoBrush);
        draw(p, false);
    }
}
}  // namespace

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (QPainterPath* path = detail::RecordingPath(*this)) {
        path->addEllipse(QRectF(left, top, right - left, bottom - top));
        return;
    }
    Changing();
    Impl d(*this);
    if (d.ok() && right > left && bottom > top) {
        int l = d.dx(left), t = d.dy(top), r = d.dx(right), b = d.dy(bottom);
        int w = pen_.Style() == psClear ? 0 : pen_.Width();
        QPoint org;
        QImage m = d.newMask(QRect(QPoint(l - w, t - w), QPoint(r + w, b + w)), org);
        if (!m.isNull()) {
            int inset = (pen_.Style() == psInsideFrame && w > 1) ? w / 2 : 0;
            QRect box(QPoint(l + inset, t + inset), QPoint(r - 1 - inset, b - 1 - inset));
            // QRect(x, y, w-1, h-1) outlines cover exactly x .. x+w-1.
            QRect geo(box.left(), box.top(), box.width() - 1, box.height() - 1);
            ShapeToMask(m, org, pen_, brush_.Style() != bsClear,
                        [&](QPainter& p, bool) { p.drawEllipse(geo); });
            d.applyMask(m, org, d.penInk(), d.brushInk());
        }
    }
    Changed();
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int ellipseW, int ellipseH) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (QPainterPath* path = detail::RecordingPath(*this)) {
        path->addRoundedRect(QRectF(left, top, right - left, bottom - top), ellipseW / 2.0, ellipseH / 2.0);
        return;
    }
    Changing();
    Impl d(*this);
    if (d.ok() && right > left && bottom > top) {
        int l = d.dx(left), t = d.dy(top), r = d.dx(right), b = d.dy(bottom);
        int w = pen_.Style() == psClear ? 0 : pen_.Width();
        QPoint org;
        QImage m = d.newMask(QRect(QPoint(l - w, t - w), QPoint(r + w, b + w)), org);
        if (!m.isNull()) {
            QRect geo(l, t, r - l - 1, b - t - 1);
            ShapeToMask(m, org, pen_, brush_.Style() != bsClear, [&](QPainter& p, bool) {
                p.drawRoundedRect(geo, ellipseW / 2.0, ellipseH / 2.0);
            });
            d.applyMask(m, org, d.penInk(), d.brushInk());
        }
    }
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.empty()) return;
    if (QPainterPath* path = detail::RecordingPath(*this)) {
        path->moveTo(points[0].X, points[0].Y);
        for (std::size_t i = 1; i < points.size(); ++i) path->lineTo(points[i].X, points[i].Y);
        path->closeSubpath();
        return;
    }
    Changing();
    Impl d(*this);
    if (d.ok()) {
        QPolygon poly;
        for (const TPoint& p : points) poly << QPoint(d.dx(p.X), d.dy(p.Y));
        int w = pen_.Width();
        TPenStyle ps = pen_.Style();
        bool thin = w <= 1 || (ps != psSolid && ps != psInsideFrame);
        QPoint org;
        QImage m = d.newMask(poly.boundingRect().adjusted(-w, -w, w + 1, w + 1), org);
        if (!m.isNull()) {
            {
                QPainter p(&m);
                p.setRenderHint(QPainter::Antialiasing, false);
                p.translate(-org.x(), -org.y());
                if (brush_.Style() != bsClear) {
                    // Vertices name pixel centres: a pixel is inside when its centre is; a
                    // centre on a top or left edge is inside, on a bottom or right edge
                    // outside (sampling a hair right of and below the centre).
                    p.setPen(Qt::NoPen);
                    p.setBrush(Qt::green);
                    constexpr double hair = 1.0 / 64;
                    p.drawPolygon(QPolygonF(poly).translated(0.5 - hair, 0.5 - hair), Qt::OddEvenFill);
                }
                if (ps != psClear && !thin) {
                    p.setPen(Impl::maskPen(Qt::red, w));
                    p.setBrush(Qt::NoBrush);
                    p.drawPolygon(poly);
                }
            }
            if (ps != psClear && thin) {
                // Width-1 outline: the LineTo lines of the closed path; the interior does not
                // draw under them.
                const int mw = m.width(), mh = m.height();
                for (int i = 0; i < poly.size(); ++i) {
                    QPoint a = poly[i] - org, b = poly[(i + 1) % poly.size()] - org;
                    LinePixels(a.x(), a.y(), b.x(), b.y(), [&](int x, int y) {
                        if (x >= 0 && y >= 0 && x < mw && y < mh)
                            reinterpret_cast<QRgb*>(m.scanLine(y))[x] = 0;
                    });
                }
                d.applyMask(m, org, Impl::MaskInk{}, d.brushInk());
                for (int i = 0; i < poly.size(); ++i) {
                    QPoint a = poly[i], b = poly[(i + 1) % poly.size()];
                    d.line1(a.x(), a.y(), b.x(), b.y(), pen_, brush_);
                }
            } else {
                d.applyMask(m, org, d.penInk(), d.brushInk());
            }
        }
    }
    Changed();
}

TColor TCanvas::Pixels(int x, int y) const {
    if (!target_ || target_->isNull()) return 0xFFFFFFFFu;
    int px = x + origin_.X, py = y + origin_.Y;
    if (px < 0 || py < 0 || px >= target_->width() || py >= target_->height()) return 0xFFFFFFFFu;
    if (hasClip_ && !clip_.contains(QPoint(px, py))) return 0xFFFFFFFFu;
    if (!SupportedFormat(target_->format())) return QColorToColor(QColor(target_->pixel(px, py)));
    const QImage& img = *target_;
    const std::uint8_t* p = img.constScanLine(py) + static_cast<qsizetype>(px) * (img.format() == QImage::Format_BGR888 ? 3 : 4);
    return static_cast<TColor>(p[2]) | (static_cast<TColor>(p[1]) << 8) | (static_cast<TColor>(p[0]) << 16);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    Changing();
    if (target_ && !target_->isNull()) {
        int px = x + origin_.X, py = y + origin_.Y;
        if (px >= 0 && py >= 0 && px < target_->width() && py < target_->height() &&
            (!hasClip_ || clip_.contains(QPoint(px, py)))) {
            if (!SupportedFormat(target_->format())) *target_ = target_->convertToFormat(QImage::Format_RGB32);
            bool bgr = target_->format() == QImage::Format_BGR888;
            std::uint8_t* p = target_->scanLine(py) + static_cast<qsizetype>(px) * (bgr ? 3 : 4);
            TColor c = ColorToPixel(color);
            p[0] = static_cast<std::uint8_t>(c >> 16);
            p[1] = static_cast<std::uint8_t>(c >> 8);
            p[2] = static_cast<std::uint8_t>(c);
            if (!bgr) p[3] = 0xFF;
        }
    }
    Changed();
}

// ---- Text --------------------------------------------------------------------------------------

namespace {
// The font as the canvas draws it: a monochrome bitmap takes two-colour letters.
QFont CanvasFont(const TFont& font, const TCanvas& canvas) {
    if (!canvas.Monochrome() || font.Quality() == fqNonAntialiased) return FontToQFont(font);
    TFont twoColour(font);
    twoColour.SetQuality(fqNonAntialiased);
    return FontToQFont(twoColour);
}

// Draws the text cell (background in green when opaque, glyphs in red, their coverage smoothed
// unless the font or a monochrome target asks for two colours) into a mask. devRef is
// the reference point, the text's top-left corner or, with baseline, the left end of its
// baseline; rotated text turns about it.
void TextToMask(const TFont& font, const QString& text, QPoint devRef, bool opaque,
                TCanvas::Impl& d, TCanvas& canvas, const QRect* clipDevice, bool baseline = false) {
    QFont qf = CanvasFont(font, canvas);
    if (canvas.TextCharacterExtra() != 0)
        qf.setLetterSpacing(QFont::AbsoluteSpacing, canvas.TextCharacterExtra());
    QFontMetrics fm(qf);
    int w = fm.horizontalAdvance(text);
    int h = fm.height();
    double angle = font.Orientation() / 10.0;
    const int top = baseline ? -fm.ascent() : 0;  // the cell's top relative to devRef
    QRect cell(devRef + QPoint(0, top), QSize(std::max(w, 1), std::max(h, 1)));
    QRect area = cell;
    if (angle != 0) {
        QTransform t;
        t.translate(devRef.x(), devRef.y());
        t.rotate(-angle);
        area = t.mapRect(QRect(0, top, cell.width(), cell.height())).adjusted(-2, -2, 2, 2);
    } else {
        area = cell.adjusted(-2, -2, 2 + fm.maxWidth(), 2);  // italic overhang
    }
    if (clipDevice) area = area.intersected(*clipDevice);
    QPoint org;
    QImage m = d.newMask(area, org, QImage::Format_ARGB32_Premultiplied);
    if (m.isNull()) return;
    {
        QPainter p(&m);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, qf.styleStrategy() != QFont::NoAntialias);
        p.translate(-org.x(), -org.y());
        if (clipDevice) p.setClipRect(*clipDevice);
        p.translate(devRef.x(), devRef.y());
        if (angle != 0) p.rotate(-angle);
        if (opaque && !clipDevice) p.fillRect(QRect(0, top, w, h), Qt::green);
        p.setFont(qf);
        p.setPen(Qt::red);
        if (canvas.TextSubpixelX() != 0)
            p.drawText(QPointF(static_cast<qreal>(canvas.TextSubpixelX()) / TTextCarets::Unit, top + fm.ascent()), text);
        else
            p.drawText(QPoint(0, top + fm.ascent()), text);
    }
    TCanvas::Impl::MaskInk back;
    back.use = opaque;
    back.color = ColorToPixel(canvas.Brush()->Color());
    d.applyTextMask(m, org, ColorToPixel(font.Color()), back, qf.styleStrategy() == QFont::NoAntialias);
}
}  // namespace

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (QPainterPath* path = detail::RecordingPath(*this)) {
        // The letters' outlines, the text cell's top-left corner (or baseline) at (x, y).
        QFont qf = FontToQFont(font_);
        if (charExtra_ != 0) qf.setLetterSpacing(QFont::AbsoluteSpacing, charExtra_);
        const int base = (textAlign_ & TA_BASELINE) == TA_BASELINE ? y : y + QFontMetrics(qf).ascent();
        QPainterPath letters;
        letters.addText(0, 0, qf, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        QTransform t;
        t.translate(x + static_cast<qreal>(subpixelX_) / TTextCarets::Unit, base);
        t.rotate(-font_.Orientation() / 10.0);
        path->addPath(t.map(letters));
        penPos_ = {x + TextExtent(text).cx, y};
        return;
    }
    Changing();
    QString qs = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    Impl d(*this);
    if (d.ok() && !qs.isEmpty())
        TextToMask(font_, qs, QPoint(d.dx(x), d.dy(y)), brush_.Style() == bsSolid, d, *this, nullptr,
                   (textAlign_ & TA_BASELINE) == TA_BASELINE);
    TSize ext = TextExtent(text);
    penPos_ = {x + ext.cx, y};
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    Changing();
    QString qs = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    Impl d(*this);
    if (d.ok()) {
        QRect dev(QPoint(d.dx(r.Left), d.dy(r.Top)), QPoint(d.dx(r.Right) - 1, d.dy(r.Bottom) - 1));
        if (brush_.Style() == bsSolid) d.fillRect(dev.left(), dev.top(), dev.right() + 1, dev.bottom() + 1, brush_, pmCopy);
        if (!qs.isEmpty() && !dev.isEmpty()) TextToMask(font_, qs, QPoint(d.dx(x), d.dy(y)), false, d, *this, &dev);
    }
    Changed();
}

QFont TCanvas::TextFont() const {
    QFont qf = CanvasFont(font_, *this);
    if (charExtra_ != 0) qf.setLetterSpacing(QFont::AbsoluteSpacing, charExtra_);
    return qf;
}

TSize TCanvas::TextExtent(const std::string& text) {
    QFont qf = CanvasFont(font_, *this);
    if (charExtra_ != 0) qf.setLetterSpacing(QFont::AbsoluteSpacing, charExtra_);
    QFontMetrics fm(qf);
    QString qs = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return {fm.horizontalAdvance(qs), fm.height()};
}

// ---- Block transfers ---------------------------------------------------------------------------

namespace {
struct BltOptions {
    TCopyMode rop = cmSrcCopy;
    bool transparent = false;
    TColor transparentColor = 0;
    bool replace = false;  // BrushCopy: source pixels of replaceColor become the brush colour
    TColor replaceColor = 0;
    bool replaceOpaque = true;
    TColor pattern = 0;  // brush colour for raster operations that use it
    // Monochrome source onto colour: black -> fore, white -> back. Colour source onto
    // monochrome: sourceBack -> white, every other colour -> black.
    bool monoToColor = false;
    TColor fore = 0, back = 0xFFFFFF;
    bool colorToMono = false;
    TColor sourceBack = 0xFFFFFF;
};

// The colour mapping of a copy between a monochrome and a colour surface.
void MapMonochrome(BltOptions& o, bool sourceMono, bool destMono, TColor text, TColor bk,
                   TColor sourceBk) {
    if (sourceMono && !destMono) {
        o.monoToColor = true;
        o.fore = ColorToPixel(text);
        o.back = ColorToPixel(bk);
    } else if (!sourceMono && destMono) {
        o.colorToMono = true;
        o.sourceBack = ColorToPixel(sourceBk);
    }
}

// Copies src rectangle (device coordinates of src) onto dst rectangle (device coordinates of
// the canvas), stretching by nearest pixel; negative extents mirror.
void Blt(TCanvas::Impl& d, QRect dstRect, bool flipDx, bool flipDy, const QImage& src,
         QRect srcRect, bool flipSx, bool flipSy, const BltOptions& o) {
    if (dstRect.isEmpty() || srcRect.isEmpty() || src.isNull()) return;
    QImage holder;
    // Copy the source first when it is the destination image itself (overlap).
    QImage own;
    const QImage* from = &src;
    if (d.c.Target() && src.constBits() == d.c.Target()->constBits()) {
        own = src.copy();
        from = &own;
    }
    ConstSurface ss = MakeConstSurface(*from, holder);
    const int dw = dstRect.width(), dh = dstRect.height();
    const int sw = srcRect.width(), sh = srcRect.height();
    const bool flipX = flipDx != flipSx, flipY = flipDy != flipSy;
    for (const QRect& q : d.clips) {
        QRect x = q.intersected(dstRect);
        if (x.isEmpty()) continue;
        for (int y = x.top(); y <= x.bottom(); ++y) {
            long long iy = y - dstRect.top();
            int sy = static_cast<int>(iy * sh / dh);
            if (flipY) sy = sh - 1 - sy;
            sy += srcRect.top();
            if (sy < 0 || sy >= ss.h) continue;
            for (int xx = x.left(); xx <= x.right(); ++xx) {
                long long ix = xx - dstRect.left();
                int sx = static_cast<int>(ix * sw / dw);
                if (flipX) sx = sw - 1 - sx;
                sx += srcRect.left();
                if (sx < 0 || sx >= ss.w) continue;
                TColor sc = ss.get(sx, sy);
                if (o.transparent && sc == o.transparentColor) continue;
                if (o.monoToColor) sc = sc == 0xFFFFFF ? o.back : o.fore;
                else if (o.colorToMono) sc = sc == o.sourceBack ? 0xFFFFFF : 0;
                if (o.replace && sc == o.replaceColor) {
                    if (!o.replaceOpaque) continue;
                    d.s.put(xx, y, o.pattern);
                    continue;
                }
                if ((o.rop >> 16 & 0xFF) == 0xCC) d.s.put(xx, y, sc);
                else d.s.put(xx, y, Rop3(o.rop, o.pattern, sc, d.s.get(xx, y)));
            }
        }
    }
}

// Normalises a rectangle with possibly negative extents into a QRect plus mirror flags.
QRect Normal(int l, int t, int r, int b, bool& flipX, bool& flipY) {
    flipX = r < l;
    flipY = b < t;
    if (flipX) std::swap(l, r);
    if (flipY) std::swap(t, b);
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}
}  // namespace

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    StretchDraw(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    Changing();
    Impl d(*this);
    if (d.ok()) {
        bool fdx, fdy;
        QRect dr = Normal(d.dx(dest.Left), d.dy(dest.Top), d.dx(dest.Right), d.dy(dest.Bottom), fdx, fdy);
        BltOptions o;
        o.rop = bitmap.Transparent() ? cmSrcCopy : CopyMode;
        o.pattern = ColorToPixel(brush_.Color());
        if (bitmap.Transparent()) {
            o.transparent = true;
            o.transparentColor = ColorToPixel(bitmap.TransparentColor());
        }
        MapMonochrome(o, bitmap.Monochrome(), Monochrome(), textColor_, bkColor_, clWhite);
        Blt(d, dr, fdx, fdy, bitmap.Image(), QRect(0, 0, bitmap.Width(), bitmap.Height()), false, false, o);
    }
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
    if (!source.target_ || source.target_->isNull()) return;
    Changing();
    Impl d(*this);
    if (d.ok()) {
        bool fdx, fdy, fsx, fsy;
        QRect dr = Normal(d.dx(dest.Left), d.dy(dest.Top), d.dx(dest.Right), d.dy(dest.Bottom), fdx, fdy);
        QRect sr = Normal(sourceRect.Left + source.origin_.X, sourceRect.Top + source.origin_.Y,
                          sourceRect.Right + source.origin_.X, sourceRect.Bottom + source.origin_.Y, fsx, fsy);
        BltOptions o;
        o.rop = CopyMode;
        o.pattern = ColorToPixel(brush_.Color());
        MapMonochrome(o, source.Monochrome(), Monochrome(), textColor_, bkColor_, source.bkColor_);
        Blt(d, dr, fdx, fdy, *source.target_, sr, fsx, fsy, o);
    }
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source, TColor color) {
    if (bitmap.Empty()) return;
    Changing();
    Impl d(*this);
    if (d.ok()) {
        bool fdx, fdy, fsx, fsy;
        QRect dr = Normal(d.dx(dest.Left), d.dy(dest.Top), d.dx(dest.Right), d.dy(dest.Bottom), fdx, fdy);
        QRect sr = Normal(source.Left, source.Top, source.Right, source.Bottom, fsx, fsy);
        BltOptions o;
        o.replace = true;
        o.replaceColor = ColorToPixel(color);
        o.replaceOpaque = brush_.Style() != bsClear;
        o.pattern = ColorToPixel(brush_.Color());
        Blt(d, dr, fdx, fdy, bitmap.Image(), sr, fsx, fsy, o);
    }
    Changed();
}

bool TCanvas::Monochrome() const { return bitmap_ && bitmap_->Monochrome(); }

// ---- Clipping ----------------------------------------------------------------------------------

TRect TCanvas::ClipRect() const {
    QRect img = (target_ && !target_->isNull()) ? QRect(0, 0, target_->width(), target_->height()) : QRect();
    QRect r = hasClip_ ? clip_.intersected(img).boundingRect() : img;
    if (r.isEmpty()) return TRect{};
    return TRect{r.left() - origin_.X, r.top() - origin_.Y, r.right() + 1 - origin_.X,
                 r.bottom() + 1 - origin_.Y};
}

namespace {
QRect DevRect(const TRect& r, TPoint o) {
    if (r.IsEmpty()) return QRect();
    return QRect(QPoint(r.Left + o.X, r.Top + o.Y), QPoint(r.Right - 1 + o.X, r.Bottom - 1 + o.Y));
}
}  // namespace

void TCanvas::SetClipRect(const TRect& r) {
    clip_ = QRegion(DevRect(r, origin_));
    hasClip_ = true;
}

void TCanvas::IntersectClipRect(const TRect& r) {
    QRegion add(DevRect(r, origin_));
    if (hasClip_) {
        clip_ = clip_.intersected(add);
    } else {
        QRect img = (target_ && !target_->isNull()) ? QRect(0, 0, target_->width(), target_->height()) : QRect();
        clip_ = add.intersected(img);
    }
    hasClip_ = true;
}

void TCanvas::ExcludeClipRect(const TRect& r) {
    if (!hasClip_) {
        QRect img = (target_ && !target_->isNull()) ? QRect(0, 0, target_->width(), target_->height()) : QRect();
        clip_ = QRegion(img);
    }
    clip_ = clip_.subtracted(QRegion(DevRect(r, origin_)));
    hasClip_ = true;
}

void TCanvas::SetClipRegion(const QRegion& deviceRegion) {
    clip_ = deviceRegion;
    hasClip_ = true;
}

void TCanvas::ResetClip() {
    clip_ = QRegion();
    hasClip_ = false;
}

}  // namespace gdi
