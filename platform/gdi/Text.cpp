// Formatted text output: lines, word wrap, tabs, accelerator prefixes and ellipses.
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "platform/gdi/Drawing.h"

namespace gdi {

namespace {

struct Line {
    std::string text;
    int underline = -1;  // byte index of the accelerator character, -1 for none
};

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Removes the prefix characters; returns the index of the underlined character or -1.
std::string StripPrefixes(const std::string& s, int& underline) {
    std::string out;
    underline = -1;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
        } else if (i + 1 >= s.size()) {
            break;  // a final "&" shows nothing
        } else if (s[i + 1] == '&') {
            out += '&';
            ++i;
        } else {
            if (underline < 0) underline = static_cast<int>(out.size());
        }
    }
    return out;
}

class Layout {
public:
    Layout(TCanvas& c, unsigned format) : c_(c), format_(format) {
        QFont qf = FontToQFont(*c.Font());
        QFontMetrics fm(qf);
        lineHeight_ = fm.height();
        ascent_ = fm.ascent();
        tabWidth_ = 8 * fm.averageCharWidth();
    }
    int lineHeight() const { return lineHeight_; }
    int ascent() const { return ascent_; }

    // Width of a line, tabs expanded when asked.
    int width(const std::string& s) const {
        if (!(format_ & DT_EXPANDTABS) || s.find('\t') == std::string::npos) return plain(s);
        int x = 0;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = s.find('\t', start);
            x += plain(s.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos) return x;
            x = tabWidth_ > 0 ? (x / tabWidth_ + 1) * tabWidth_ : x;
            start = tab + 1;
        }
    }
    int plain(const std::string& s) const { return s.empty() ? 0 : c_.TextExtent(s).cx; }

    // Draws a line with its left edge at x and top at y.
    void draw(const Line& line, int x, int y) const {
        const std::string& s = line.text;
        if (!(format_ & DT_EXPANDTABS) || s.find('\t') == std::string::npos) {
            if (!s.empty()) c_.TextOut(x, y, s);
        } else {
            int dx = 0;
            std::size_t start = 0;
            for (;;) {
                const std::size_t tab = s.find('\t', start);
                const std::string part = s.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
                if (!part.empty()) c_.TextOut(x + dx, y, part);
                dx += plain(part);
                if (tab == std::string::npos) break;
                dx = tabWidth_ > 0 ? (dx / tabWidth_ + 1) * tabWidth_ : dx;
                start = tab + 1;
            }
        }
        if (line.underline >= 0 && line.underline < static_cast<int>(s.size())) {
            std::size_t end = static_cast<std::size_t>(line.underline) + 1;
            while (end < s.size() && IsUtf8Continuation(s[end])) ++end;
            const int x0 = x + width(s.substr(0, static_cast<std::size_t>(line.underline)));
            const int x1 = x + width(s.substr(0, end)) - c_.TextCharacterExtra();
            TPen old(*c_.Pen());
            c_.Pen()->SetStyle(psSolid);
            c_.Pen()->SetWidth(1);
            c_.Pen()->SetMode(pmCopy);
            c_.Pen()->SetColor(c_.Font()->Color());
            c_.MoveTo(x0, y + ascent_ + 1);
            c_.LineTo(x1, y + ascent_ + 1);
            c_.Pen()->Assign(old);
        }
    }

private:
    TCanvas& c_;
    unsigned format_;
    int lineHeight_ = 0, ascent_ = 0, tabWidth_ = 0;
};

std::vector<std::string> SplitLines(const std::string& s) {
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            cur += s[i];
        }
    }
    lines.push_back(cur);
    return lines;
}

// Wraps at blanks so that each line fits maxWidth; a word wider than that keeps a line alone.
std::vector<std::string> Wrap(const std::string& s, int maxWidth, const Layout& l) {
    std::vector<std::string> out;
    std::string cur;
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t j = s.find(' ', i);
        if (j == std::string::npos) j = s.size();
        const std::string word = s.substr(i, j - i);
        const std::string candidate = cur.empty() ? word : cur + " " + word;
        if (!cur.empty() && l.width(candidate) > maxWidth) {
            out.push_back(cur);
            cur = word;
        } else {
            cur = candidate;
        }
        i = j + 1;
        if (j == s.size()) break;
    }
    out.push_back(cur);
    return out;
}

std::string DropLastChar(std::string s) {
    while (!s.empty() && IsUtf8Continuation(s.back())) s.pop_back();
    if (!s.empty()) s.pop_back();
    return s;
}

std::string EndEllipsis(std::string s, int maxWidth, const Layout& l) {
    if (l.width(s) <= maxWidth) return s;
    while (!s.empty() && l.width(s + "...") > maxWidth) s = DropLastChar(s);
    return s + "...";
}

std::string PathEllipsis(const std::string& s, int maxWidth, const Layout& l) {
    if (l.width(s) <= maxWidth) return s;
    const std::size_t sep = s.find_last_of("\\/");
    if (sep == std::string::npos || sep == 0) return EndEllipsis(s, maxWidth, l);
    std::string head = s.substr(0, sep);
    const std::string tail = s.substr(sep);
    while (!head.empty() && l.width(head + "..." + tail) > maxWidth) head = DropLastChar(head);
    if (l.width(head + "..." + tail) <= maxWidth) return head + "..." + tail;
    return EndEllipsis("..." + tail, maxWidth, l);
}

}  // namespace

int DrawText(TCanvas& canvas, const std::string& text, TRect& rect, unsigned format) {
    Layout layout(canvas, format);
    const bool single = format & DT_SINGLELINE;
    std::vector<std::string> raw = single ? std::vector<std::string>{text} : SplitLines(text);
    std::vector<Line> lines;
    const int maxWidth = rect.Width();
    for (const std::string& r : raw) {
        std::vector<std::string> parts;
        if ((format & DT_WORDBREAK) && !single) {
            // Prefixes are removed first so that "&" takes no width.
            int u = -1;
            const std::string visible = format & DT_NOPREFIX ? r : StripPrefixes(r, u);
            std::vector<std::string> wrapped = Wrap(visible, maxWidth, layout);
            int offset = 0;
            for (std::string& w : wrapped) {
                Line line{w, -1};
                if (u >= offset && u < offset + static_cast<int>(w.size())) line.underline = u - offset;
                offset += static_cast<int>(w.size()) + 1;
                lines.push_back(line);
            }
            continue;
        }
        Line line;
        line.text = format & DT_NOPREFIX ? r : StripPrefixes(r, line.underline);
        lines.push_back(line);
    }
    for (Line& line : lines) {
        std::string shown = line.text;
        if (format & DT_PATH_ELLIPSIS) shown = PathEllipsis(shown, maxWidth, layout);
        else if (format & DT_END_ELLIPSIS) shown = EndEllipsis(shown, maxWidth, layout);
        if (shown != line.text) {
            line.text = shown;
            line.underline = -1;
        }
    }
    const int lh = layout.lineHeight();
    const int height = lh * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        int w = 0;
        for (const Line& line : lines) w = std::max(w, layout.width(line.text));
        rect.Right = rect.Left + w;
        rect.Bottom = rect.Top + height;
        return height;
    }
    int y = rect.Top;
    if (single && (format & DT_VCENTER)) y = rect.Top + (rect.Height() - lh) / 2;
    else if (single && (format & DT_BOTTOM)) y = rect.Bottom - lh;
    const bool clip = !(format & DT_NOCLIP);
    const bool hadClip = canvas.HasClip();
    const QRegion oldClip = canvas.ClipRegion();
    if (clip) canvas.IntersectClipRect(rect);
    for (const Line& line : lines) {
        const int w = layout.width(line.text);
        int x = rect.Left;
        if (format & DT_CENTER) x = rect.Left + (rect.Width() - w) / 2;
        else if (format & DT_RIGHT) x = rect.Right - w;
        layout.draw(line, x, y);
        y += lh;
    }
    if (clip) {
        if (hadClip) canvas.SetClipRegion(oldClip);
        else canvas.ResetClip();
    }
    return height;
}

void DrawTextOutline(TCanvas& canvas, int x, int y, const std::string& text, int penWidth,
                     TColor color) {
    if (text.empty() || penWidth <= 0) return;
    QFont qf = FontToQFont(*canvas.Font());
    if (canvas.TextCharacterExtra() != 0)
        qf.setLetterSpacing(QFont::AbsoluteSpacing, canvas.TextCharacterExtra());
    QFontMetrics fm(qf);
    QPainterPath path;
    path.addText(0, fm.ascent(), qf, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    QTransform t;
    t.rotate(-canvas.Font()->Orientation() / 10.0);
    path = t.map(path);
    const QRect box = path.boundingRect().toAlignedRect().adjusted(-penWidth, -penWidth, penWidth, penWidth);
    QImage mask(box.size(), QImage::Format_ARGB32);
    if (mask.isNull()) return;
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(-box.left(), -box.top());
        QPen pen(Qt::red);
        pen.setWidth(penWidth);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    for (int my = 0; my < mask.height(); ++my) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(my));
        for (int mx = 0; mx < mask.width(); ++mx)
            if (qRed(row[mx]) >= 128) canvas.SetPixels(x + box.left() + mx, y + box.top() + my, color);
    }
}

bool IsTrueTypeFont(const TFont& font) {
    const QFontInfo info(FontToQFont(font));
    return QFontDatabase::isScalable(info.family(), info.styleName());
}

}  // namespace gdi
