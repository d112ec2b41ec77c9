// Pen, brush and font; the Qt font they stand for.
#include <cstdlib>
#include <cmath>

#include <QFontMetrics>
#include <QGuiApplication>

#include "platform/gdi/Graphics.h"

namespace gdi {

namespace {
int MulDiv(int a, int b, int c) {
    // Rounded as the original platform's MulDiv (half away from zero).
    long long p = static_cast<long long>(a) * b;
    long long q = (std::llabs(p) * 2 + std::llabs(static_cast<long long>(c))) / (2 * std::llabs(static_cast<long long>(c)));
    return static_cast<int>(((p < 0) != (c < 0)) ? -q : q);
}
}  // namespace

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

// ---- Pen ---------------------------------------------------------------------------------------

void TPen::Assign(const TPen& source) {
    if (&source == this || SameAs(source)) return;
    CopyValues(source);
    Changed();
}
void TPen::SetColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    Changed();
}
void TPen::SetWidth(int w) {
    if (w < 1) w = 1;
    if (w == width_) return;
    width_ = w;
    Changed();
}
void TPen::SetStyle(TPenStyle s) {
    if (s == style_) return;
    style_ = s;
    Changed();
}
void TPen::SetMode(TPenMode m) {
    if (m == mode_) return;
    mode_ = m;
    Changed();
}

// ---- Brush -------------------------------------------------------------------------------------

void TBrush::Assign(const TBrush& source) {
    if (&source == this || SameAs(source)) return;
    CopyValues(source);
    Changed();
}
void TBrush::SetColor(TColor c) {
    bool styleChange = style_ == bsClear;
    if (c == color_ && !styleChange) return;
    color_ = c;
    if (styleChange) style_ = bsSolid;
    Changed();
}
void TBrush::SetStyle(TBrushStyle s) {
    if (s == style_) return;
    style_ = s;
    Changed();
}
void TBrush::SetBitmap(const TBitmap* b) {
    if (b == bitmap_) return;
    bitmap_ = b;
    Changed();
}

// ---- Font --------------------------------------------------------------------------------------

void TFont::Assign(const TFont& source) {
    if (&source == this || SameAs(source)) return;
    CopyValues(source);
    Changed();
}
void TFont::SetName(const std::string& name) {
    if (name == name_ || name.empty()) return;
    name_ = name;
    Changed();
}
int TFont::Size() const { return -MulDiv(height_, 72, PixelsPerInch); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch, 72)); }
void TFont::SetHeight(int h) {
    if (h == height_) return;
    height_ = h;
    Changed();
}
void TFont::SetColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    Changed();
}
void TFont::SetStyle(TFontStyles s) {
    s &= (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    if (s == style_) return;
    style_ = s;
    Changed();
}
void TFont::SetPitch(TFontPitch p) {
    if (p == pitch_) return;
    pitch_ = p;
    Changed();
}
void TFont::SetCharset(int c) {
    if (c == charset_) return;
    charset_ = c;
    Changed();
}
void TFont::SetOrientation(int tenths) {
    if (tenths == orientation_) return;
    orientation_ = tenths;
    Changed();
}

void TFont::SetQuality(TFontQuality q) {
    if (q == quality_) return;
    quality_ = q;
    Changed();
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char arg0[] = "feldor";
    static char* argv[] = {arg0, nullptr};
    // Lives until the process ends (never destroyed, so no order problems at exit).
    static auto* app = new QGuiApplication(argc, argv);
    (void)app;
}

QFont FontToQFont(const TFont& font) {
    EnsureGuiApplication();
    QFont f(QString::fromStdString(font.Name()));
    TFontStyles st = font.Style();
    f.setBold((st & fsBold) != 0);
    f.setItalic((st & fsItalic) != 0);
    f.setUnderline((st & fsUnderline) != 0);
    f.setStrikeOut((st & fsStrikeOut) != 0);
    f.setKerning(false);
    // Smoothed letters keep their horizontal shapes (light hinting aligns only the heights):
    // full hinting at small sizes bends digits such as 3 and 5 into the same pixels.
    const bool aliased = font.Quality() == fqNonAntialiased;
    const QFont::StyleStrategy strategy = aliased ? QFont::NoAntialias : QFont::NoSubpixelAntialias;
    f.setStyleStrategy(strategy);
    f.setHintingPreference(aliased ? QFont::PreferFullHinting : QFont::PreferVerticalHinting);
    if (font.Pitch() == fpFixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter, strategy);
    }
    int h = font.Height();
    if (h < 0) {
        f.setPixelSize(-h);
    } else if (h > 0) {
        // Cell height (ascent + descent) of h pixels.
        f.setPixelSize(h);
        QFontMetrics fm(f);
        if (fm.height() > 0 && fm.height() != h) {
            int px = static_cast<int>(std::lround(static_cast<double>(h) * h / fm.height()));
            f.setPixelSize(px < 1 ? 1 : px);
        }
    } else {
        f.setPixelSize(MulDiv(8, TFont::PixelsPerInch, 72));
    }
    return f;
}

}  // namespace gdi
