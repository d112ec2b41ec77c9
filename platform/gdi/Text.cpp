// Formatted text output: lines, word wrap, tabs, accelerator prefixes and ellipses; the caret
// positions of a line.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <unordered_map>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
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

// ---- Caret positions of a line ------------------------------------------------------------------

namespace {

constexpr char32_t Tab = U'\t';
constexpr std::int64_t TabStop = 80 * TTextCarets::Unit;  // the layout's default tab distance
constexpr std::size_t PieceLength = 64;                  // a run longer than this is cut
constexpr std::size_t BlockLength = 256;                 // runs confirmed by one measurement
constexpr std::size_t Context = 8;  // letters before a cut measured with the piece after it

// Characters that belong to the one before them: marks, joiners, variation selectors and skin
// tone modifiers. No run starts with one.
bool Continues(char32_t c) {
    if (c == 0x200C || c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF) ||
        (c >= 0x1F3FB && c <= 0x1F3FF))
        return true;
    const QChar::Category cat = QChar::category(static_cast<char32_t>(c));
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining || cat == QChar::Mark_Enclosing;
}

// Whether a run ends before character i (0 < i < length): after a blank, and around a tab.
bool RunBoundary(std::u32string_view t, std::size_t i) {
    const char32_t before = t[i - 1], at = t[i];
    if (before == Tab || at == Tab) return true;
    return before == U' ' && !Continues(at);
}

// Where a run of more than PieceLength characters is cut: preferably after a character that is
// not a letter (a digit, a slash, a point), else after PieceLength characters; never before a
// character that continues the one before it.
std::size_t PieceEnd(std::u32string_view t, std::size_t from, std::size_t end) {
    if (end - from <= PieceLength) return end;
    const std::size_t lo = from + PieceLength * 3 / 4, hi = std::min(end - 1, from + PieceLength * 3 / 2);
    for (std::size_t i = lo; i <= hi; ++i)
        if (!QChar::isLetter(static_cast<char32_t>(t[i - 1])) && !Continues(t[i - 1]) && !Continues(t[i])) return i;
    std::size_t i = from + PieceLength;
    while (i < end && Continues(t[i])) ++i;
    return i;
}

// Where the letters measured with a piece that starts at a cut inside a run begin: up to
// Context characters before the cut, at a character that does not continue the one before it.
// Measured with them, the letters after the cut take the shapes and advances they have in the
// whole run (a ligature or a joined letter across the cut), and the difference of the two
// measurements is what the piece adds to the whole prefix.
std::size_t ContextStart(std::u32string_view t, std::size_t runStart, std::size_t cut) {
    std::size_t c = cut > runStart + Context ? cut - Context : runStart;
    while (c > runStart && Continues(t[c])) --c;
    return c;
}

bool RightToLeft(char32_t c) {
    switch (QChar::direction(static_cast<char32_t>(c))) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirRLI: return true;
    default: return false;
    }
}

std::size_t CountRightToLeft(std::u32string_view t) {
    return static_cast<std::size_t>(std::count_if(t.begin(), t.end(), RightToLeft));
}

// Where a tab at x ends, as the layout computes it in 64ths: the quotient x / TabStop rounded to
// 64ths, then its whole part, plus one stop (a tab less than half a 64th of a stop before a stop
// runs on to the next one).
std::int64_t NextTabStop(std::int64_t x) {
    const std::int64_t q = (x * TTextCarets::Unit + TabStop / 2) / TabStop;
    return ((q >> 6) + 1) * TabStop;
}

struct LetterKey {
    std::string name;
    int height = 0, style = 0, pitch = 0, charset = 0, orientation = 0, quality = 0, extra = 0;
    bool monochrome = false;
    bool operator==(const LetterKey&) const = default;
};

LetterKey KeyOf(const TCanvas& c) {
    const TFont& f = *c.Font();
    return LetterKey{f.Name(), f.Height(), static_cast<int>(f.Style()), static_cast<int>(f.Pitch()), f.Charset(),
                     f.Orientation(), static_cast<int>(f.Quality()), c.TextCharacterExtra(), c.Monochrome()};
}

}  // namespace

struct TTextCarets::Impl {
    std::optional<LetterKey> key;
    std::optional<QFontMetricsF> metrics;
    std::vector<std::int32_t> lowAlone;  // code points below 0x3000: advance alone, or Unknown
    std::unordered_map<char32_t, std::int32_t> highAlone;
    std::u32string text;
    std::vector<std::int32_t> advance;  // in the line; a tab's follows from where it stands
    std::size_t rightToLeft = 0;        // characters of the text written from right to left
    static constexpr std::int32_t Unknown = INT32_MIN;

    std::int64_t Measure(std::u32string_view s) const {
        const QString q = QString::fromUcs4(s.data(), static_cast<qsizetype>(s.size()));
        return std::llround(metrics->horizontalAdvance(q) * TTextCarets::Unit);
    }
    std::int32_t Alone(char32_t c) {
        std::int32_t* slot = nullptr;
        if (c < lowAlone.size()) {
            slot = &lowAlone[c];
        } else {
            auto it = highAlone.try_emplace(c, Unknown).first;
            slot = &it->second;
        }
        if (*slot == Unknown) *slot = static_cast<std::int32_t>(Measure(std::u32string_view(&c, 1)));
        return *slot;
    }

    // The advances of the characters [from, to) of t, which start and end at run boundaries.
    void MeasureRuns(std::u32string_view t, std::size_t from, std::size_t to, std::int32_t* out) {
        // The runs, cut to pieces; a tab is a piece of its own. A piece that starts at a cut is
        // measured with the letters before it.
        struct Piece {
            std::size_t a, b, context;
        };
        std::vector<Piece> pieces;
        std::size_t start = from;
        for (std::size_t i = from + 1; i <= to; ++i) {
            if (i < to && !RunBoundary(t, i)) continue;
            for (std::size_t p = start; p < i;) {
                const std::size_t e = PieceEnd(t, p, i);
                pieces.push_back({p, e, p == start ? p : ContextStart(t, start, p)});
                p = e;
            }
            start = i;
        }
        // What the characters [a, b) add to the prefix, measured from c (c <= a).
        auto measureFrom = [&](std::size_t c, std::size_t a, std::size_t b) {
            return Measure(t.substr(c, b - c)) - (c < a ? Measure(t.substr(c, a - c)) : 0);
        };
        // Pieces confirmed a block at a time; a block that does not add up, piece by piece.
        auto sumAlone = [&](std::size_t a, std::size_t b) {
            std::int64_t sum = 0;
            for (std::size_t i = a; i < b; ++i) sum += out[i - from] = Alone(t[i]);
            return sum;
        };
        auto measurePiece = [&](const Piece& p) {
            const std::int64_t sum = sumAlone(p.a, p.b);
            if ((p.b - p.a == 1 && p.context == p.a) || sum == measureFrom(p.context, p.a, p.b)) return;
            std::int64_t before = p.context < p.a ? Measure(t.substr(p.context, p.a - p.context)) : 0;
            for (std::size_t i = p.a + 1; i <= p.b; ++i) {
                const std::int64_t w = Measure(t.substr(p.context, i - p.context));
                out[i - 1 - from] = static_cast<std::int32_t>(w - before);
                before = w;
            }
        };
        for (std::size_t k = 0; k < pieces.size();) {
            if (t[pieces[k].a] == Tab) {
                out[pieces[k].a - from] = 0;
                ++k;
                continue;
            }
            std::size_t m = k + 1;
            while (m < pieces.size() && t[pieces[m].a] != Tab && pieces[m].b - pieces[k].a <= BlockLength) ++m;
            const std::size_t a = pieces[k].a, b = pieces[m - 1].b;
            if (m - k == 1) {
                measurePiece(pieces[k]);
            } else if (sumAlone(a, b) != measureFrom(pieces[k].context, a, b)) {
                for (std::size_t j = k; j < m; ++j) measurePiece(pieces[j]);
            }
            k = m;
        }
    }
};

TTextCarets::TTextCarets() : d_(std::make_unique<Impl>()) {}
TTextCarets::~TTextCarets() = default;

bool TTextCarets::SameLetters(const TCanvas& canvas) const { return d_->key && *d_->key == KeyOf(canvas); }

void TTextCarets::Measure(const TCanvas& canvas, std::u32string_view text) {
    Impl& d = *d_;
    LetterKey key = KeyOf(canvas);
    const bool sameLetters = d.key && *d.key == key;
    const std::u32string& old = d.text;
    if (sameLetters && text == std::u32string_view(old)) return;
    if (!sameLetters) {
        d.key = std::move(key);
        d.metrics.emplace(canvas.TextFont());
        d.lowAlone.assign(0x3000, Impl::Unknown);
        d.highAlone.clear();
        d.text.clear();
        d.advance.clear();
        d.rightToLeft = 0;
    }
    // The characters that stayed at the start and at the end.
    const std::size_t n = text.size(), oldN = old.size();
    const std::size_t common = std::min(n, oldN);
    std::size_t same = 0;
    constexpr std::size_t block = 1024;
    while (same + block <= common && std::memcmp(text.data() + same, old.data() + same, block * sizeof(char32_t)) == 0)
        same += block;
    while (same < common && text[same] == old[same]) ++same;
    std::size_t tail = 0;
    while (tail < common - same && text[n - 1 - tail] == old[oldN - 1 - tail]) ++tail;
    // Measured again: the runs from the last boundary inside the kept start to the first one
    // inside the kept end (a boundary there was one in the old text, and the runs beyond it
    // are the old ones).
    std::size_t from = same == 0 ? 0 : same - 1;
    while (from > 0 && !RunBoundary(text, from)) --from;
    std::size_t to = tail == 0 ? n : n - tail + 1;
    while (to < n && !RunBoundary(text, to)) ++to;

    // The old values of [from, oldTo) give way to the new ones of [from, to).
    const std::size_t oldTo = oldN - (n - to);
    auto replace = [&](std::vector<std::int32_t>& v, const std::vector<std::int32_t>& with) {
        const auto at = v.begin() + static_cast<std::ptrdiff_t>(from);
        v.insert(v.erase(at, v.begin() + static_cast<std::ptrdiff_t>(oldTo)), with.begin(), with.end());
    };
    std::vector<std::int32_t> measured(to - from), alone(to - from);
    d.MeasureRuns(text, from, to, measured.data());
    for (std::size_t i = from; i < to; ++i) alone[i - from] = d.Alone(text[i]);
    if (!sameLetters) alone_.clear();
    replace(d.advance, measured);
    replace(alone_, alone);
    d.rightToLeft += CountRightToLeft(text.substr(from, to - from));
    d.rightToLeft -= CountRightToLeft(std::u32string_view(old).substr(from, oldTo - from));
    d.text.replace(from, oldTo - from, text.substr(from, to - from));

    x_.resize(n + 1);
    for (std::size_t i = from; i < n; ++i) x_[i + 1] = text[i] == Tab ? NextTabStop(x_[i]) : x_[i] + d.advance[i];
    kept_ = from;
    ++version_;
}

bool TTextCarets::Joint(std::size_t i) const {
    const Impl& d = *d_;
    const std::u32string_view t = d.text;
    const std::size_t n = t.size();
    if (i == 0 || i >= n || RunBoundary(t, i)) return true;
    if (Continues(t[i])) return false;
    std::size_t r = std::min(n, i + Context);
    r = static_cast<std::size_t>(std::find(t.begin() + static_cast<std::ptrdiff_t>(i), t.begin() + static_cast<std::ptrdiff_t>(r), Tab) - t.begin());
    // The letters after i measured alone reach where the whole line puts them, each prefix of
    // them (a quick answer when every one of them advances as it does alone).
    if (d.Measure(t.substr(i, r - i)) != x_[r] - x_[i]) return false;
    bool alone = true;
    for (std::size_t j = i; j < r && alone; ++j) alone = d.advance[j] == alone_[j];
    if (alone) return true;
    for (std::size_t j = i + 1; j < r; ++j)
        if (d.Measure(t.substr(i, j - i)) != x_[j] - x_[i]) return false;
    return true;
}

std::pair<std::size_t, std::size_t> TTextCarets::DrawnPart(std::size_t first, std::size_t last) const {
    const std::size_t n = Length();
    if (d_->rightToLeft > 0) return {0, n};
    first = std::min(first, n);
    last = std::clamp(last, first, n);
    // Joints are looked for near the part; further away only run boundaries, found without
    // measuring.
    constexpr std::size_t Near = 8 * Context;
    const std::u32string_view t = d_->text;
    for (std::size_t steps = 0; first > 0 && !(steps < Near ? Joint(first) : RunBoundary(t, first)); ++steps) --first;
    for (std::size_t steps = 0; last < n && !(steps < Near ? Joint(last) : RunBoundary(t, last)); ++steps) ++last;
    return {first, last};
}

}  // namespace gdi
