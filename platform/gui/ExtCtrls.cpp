// Timer, panel, image and radio group.
#include "platform/gui/ExtCtrls.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QPainter>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

#include "platform/gdi/Drawing.h"
#include "platform/gui/QtSupport.h"

namespace gui {

using namespace detail;

// ---- TTimer -------------------------------------------------------------------------------------

TTimer::TTimer(rtl::TComponent* owner) : rtl::TComponent(owner) {
    EnsureQtApplication();
    timer_ = new QTimer;
    QObject::connect(timer_, &QTimer::timeout, [this] { InvokeHandler(this, [this] { Timer(); }); });
    Update();
}

TTimer::~TTimer() {
    timer_->stop();
    timer_->disconnect();
    delete timer_;
}

void TTimer::Update() {
    if (enabled_ && interval_ > 0) timer_->start(static_cast<int>(std::min<unsigned>(interval_, 0x7FFFFFFF)));
    else timer_->stop();
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Update();
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}

// ---- TPanel -------------------------------------------------------------------------------------
namespace {
// Width rings of one-pixel lines from r's edge inwards: top and left in `top` (the top-right and
// bottom-left corners excluded), bottom and right in `bottom`; r shrinks by width.
void Frame3D(gdi::TCanvas& c, gdi::TRect& r, gdi::TColor top, gdi::TColor bottom, int width) {
    for (; width > 0 && r.Right > r.Left && r.Bottom > r.Top; --width) {
        const int l = r.Left, t = r.Top, rr = r.Right - 1, bb = r.Bottom - 1;
        c.Brush()->SetColor(top);
        c.FillRect(gdi::Rect(l, t, rr, t + 1));
        c.FillRect(gdi::Rect(l, t, l + 1, bb));
        c.Brush()->SetColor(bottom);
        c.FillRect(gdi::Rect(rr, t, rr + 1, bb + 1));
        c.FillRect(gdi::Rect(l, bb, rr + 1, bb + 1));
        gdi::InflateRect(r, -1, -1);
    }
}
}  // namespace

TPanel::TPanel(rtl::TComponent* owner) : TCustomControl(owner) {
    Widget()->setFocusPolicy(Qt::NoFocus);
    SetBounds(0, 0, 185, 41);
}

void TPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TPanel::FrameChanged() {
    Realign();
    Invalidate();
}

void TPanel::AdjustClientRect(gdi::TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    gdi::InflateRect(rect, -inset, -inset);
}

void TPanel::Paint() {
    gdi::TCanvas& c = *Canvas();
    const QPalette& pal = Widget()->palette();
    const gdi::TColor light = gdi::QColorToColor(pal.color(QPalette::Light));
    const gdi::TColor dark = gdi::QColorToColor(pal.color(QPalette::Dark));
    auto bevel = [&](gdi::TRect& r, TBevelCut cut) {
        if (cut == bvNone) return;
        if (cut == bvLowered) Frame3D(c, r, dark, light, bevelWidth_);
        else Frame3D(c, r, light, dark, bevelWidth_);
    };
    gdi::TRect r = ClientRect();
    bevel(r, bevelOuter_);
    Frame3D(c, r, Color(), Color(), borderWidth_);
    bevel(r, bevelInner_);
    c.Brush()->SetColor(Color());
    c.FillRect(r);
    if (caption_.empty()) return;
    c.Brush()->SetStyle(gdi::bsClear);
    c.Font()->Assign(font_);
    const int h = c.TextHeight("W");
    r.Top = (r.Top + r.Bottom - h) / 2;
    r.Bottom = r.Top + h;
    const unsigned align = alignment_ == taLeftJustify ? gdi::DT_LEFT : alignment_ == taRightJustify ? gdi::DT_RIGHT : gdi::DT_CENTER;
    gdi::DrawText(c, caption_, r, gdi::DT_EXPANDTABS | gdi::DT_VCENTER | align);
}

void TPanel::SetBevelOuter(TBevelCut b) {
    if (b == bevelOuter_) return;
    bevelOuter_ = b;
    FrameChanged();
}

void TPanel::SetBevelInner(TBevelCut b) {
    if (b == bevelInner_) return;
    bevelInner_ = b;
    FrameChanged();
}

void TPanel::SetBevelWidth(int w) {
    w = std::max(1, w);
    if (w == bevelWidth_) return;
    bevelWidth_ = w;
    FrameChanged();
}

void TPanel::SetBorderWidth(int w) {
    w = std::max(0, w);
    if (w == borderWidth_) return;
    borderWidth_ = w;
    FrameChanged();
}

void TPanel::SetBorderStyle(TBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateWnd();
}

void TPanel::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TPanel::TextChanged() { Invalidate(); }

// ---- TImage -------------------------------------------------------------------------------------

TImage::TImage(rtl::TComponent* owner) : TGraphicControl(owner) {
    picture_ = std::make_unique<gdi::TPicture>();
    picture_->OnChange = [this](rtl::TObject*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    destroying_ = true;
    picture_->OnChange = nullptr;
}

gdi::TCanvas* TImage::Canvas() {
    if (!picture_->HasGraphic()) picture_->Bitmap()->SetSize(Width(), Height());
    return picture_->Bitmap()->Canvas();
}

void TImage::SyncTransparency() {
    gdi::TBitmap* b = picture_->Graphic();
    if (!b || b->Transparent() == transparent_) return;
    syncing_ = true;
    try {
        b->SetTransparent(transparent_);
    } catch (...) {
        syncing_ = false;
        throw;
    }
    syncing_ = false;
}

void TImage::PictureChanged() {
    if (syncing_ || destroying_) return;
    SyncTransparency();
    dirty_ = true;
    TGraphicControl::Invalidate();
}

void TImage::SetStretch(bool v) {
    stretch_ = v;
    TGraphicControl::Invalidate();
}

void TImage::SetProportional(bool v) {
    proportional_ = v;
    TGraphicControl::Invalidate();
}

void TImage::SetCenter(bool v) {
    center_ = v;
    TGraphicControl::Invalidate();
}

void TImage::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    PictureChanged();
}

void TImage::Invalidate() {
    SyncTransparency();
    dirty_ = true;
    TGraphicControl::Invalidate();
}

void TImage::Repaint() {
    SyncTransparency();
    dirty_ = true;
    TGraphicControl::Repaint();
}

gdi::TRect TImage::DestRect() const {
    int w = picture_->Width(), h = picture_->Height();
    const int cw = Width(), ch = Height();
    if (stretch_ || (proportional_ && (w > cw || h > ch))) {
        if (proportional_ && w > 0 && h > 0) {
            const double aspect = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * aspect);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    gdi::TRect r = gdi::Rect(0, 0, w, h);
    if (center_) gdi::OffsetRect(r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

void TImage::Paint() {
    gdi::TBitmap* b = picture_->Graphic();
    if (!b || b->Empty()) return;
    if (dirty_ || display_.isNull()) {
        dirty_ = false;
        SyncTransparency();
        if (b->Transparent()) {
            display_ = b->Image().convertToFormat(QImage::Format_ARGB32);
            const gdi::TColor tc = gdi::ColorToPixel(b->TransparentColor());
            const QRgb key = qRgb(gdi::GetRValue(tc), gdi::GetGValue(tc), gdi::GetBValue(tc)) & 0xFFFFFF;
            for (int y = 0; y < display_.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(display_.scanLine(y));
                for (int x = 0; x < display_.width(); ++x)
                    if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
            }
        } else {
            display_ = b->Image().convertToFormat(QImage::Format_RGB32);
        }
    }
    const gdi::TRect r = DestRect();
    DrawOnSurface([&](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), display_);
    });
}

// ---- TRadioGroup --------------------------------------------------------------------------------

// The lines of a radio group; every change goes straight to the buttons.
class RadioStrings : public rtl::TStrings {
public:
    explicit RadioStrings(TRadioGroup* g) : group_(g) {}
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override {
        Check(index, Count());
        return items_[static_cast<std::size_t>(index)];
    }
    void Put(int index, const std::string& s) override {
        Check(index, Count());
        items_[static_cast<std::size_t>(index)] = s;
        group_->ItemChanged(index, s);
    }
    void Insert(int index, const std::string& s) override {
        Check(index, Count() + 1);
        items_.insert(items_.begin() + index, s);
        group_->ItemInserted(index, s);
    }
    void Delete(int index) override {
        Check(index, Count());
        items_.erase(items_.begin() + index);
        group_->ItemDeleted(index);
    }
    void Clear() override {
        items_.clear();
        group_->ItemsCleared();
    }

private:
    static void Check(int index, int limit) {
        if (index < 0 || index >= limit)
            throw rtl::EStringListError(rtl::Format(rtl::msg::ListIndexError, index));
    }
    TRadioGroup* group_;
    std::vector<std::string> items_;
};

TRadioGroup::TRadioGroup(rtl::TComponent* owner) : TWinControl(owner, new Hooked<QGroupBox>) {
    Widget()->setFocusPolicy(Qt::NoFocus);
    items_ = std::make_unique<RadioStrings>(this);
    group_ = new QButtonGroup(Widget());
    group_->setExclusive(true);
    QObject::connect(group_, &QButtonGroup::idClicked, [this](int id) {
        if (!Destroying()) UserClicked(id);
    });
    SetBounds(0, 0, 185, 105);
}

TRadioGroup::~TRadioGroup() {
    destroying_ = true;
    group_->disconnect();
}

void TRadioGroup::TextChanged() { static_cast<QGroupBox*>(Widget())->setTitle(QS(caption_)); }

void TRadioGroup::BoundsChanged() {
    TWinControl::BoundsChanged();
    Arrange();
}

void TRadioGroup::SetColumns(int n) {
    n = std::clamp(n, 1, 16);
    if (n == columns_) return;
    columns_ = n;
    Arrange();
}

void TRadioGroup::Arrange() {
    const int count = static_cast<int>(buttons_.size());
    if (count == 0) return;
    const int perColumn = (count + columns_ - 1) / columns_;
    const int textHeight = QFontMetrics(Widget()->font()).height();
    const int buttonWidth = std::max(0, (Width() - 10) / columns_);
    const int room = std::max(0, Height() - textHeight - 5);
    const int buttonHeight = room / perColumn;
    const int topMargin = textHeight + 1 + (room % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        buttons_[static_cast<std::size_t>(i)]->setGeometry((i / perColumn) * buttonWidth + 8,
                                                           (i % perColumn) * buttonHeight + topMargin,
                                                           buttonWidth, buttonHeight);
        buttons_[static_cast<std::size_t>(i)]->show();
    }
}

void TRadioGroup::CheckButtons() {
    if (itemIndex_ >= 0 && itemIndex_ < static_cast<int>(buttons_.size())) {
        static_cast<QRadioButton*>(buttons_[static_cast<std::size_t>(itemIndex_)])->setChecked(true);
        return;
    }
    group_->setExclusive(false);
    for (QWidget* b : buttons_) static_cast<QRadioButton*>(b)->setChecked(false);
    group_->setExclusive(true);
}

void TRadioGroup::ItemInserted(int index, const std::string& s) {
    auto* b = new QRadioButton(QS(s), Widget());
    buttons_.insert(buttons_.begin() + index, b);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        auto* rb = static_cast<QRadioButton*>(buttons_[i]);
        group_->removeButton(rb);
        group_->addButton(rb, static_cast<int>(i));
    }
    CheckButtons();
    Arrange();
}

void TRadioGroup::ItemDeleted(int index) {
    QWidget* b = buttons_[static_cast<std::size_t>(index)];
    group_->removeButton(static_cast<QRadioButton*>(b));
    buttons_.erase(buttons_.begin() + index);
    delete b;
    for (std::size_t i = 0; i < buttons_.size(); ++i) group_->setId(static_cast<QRadioButton*>(buttons_[i]), static_cast<int>(i));
    itemIndex_ = std::min(itemIndex_, static_cast<int>(buttons_.size()) - 1);
    CheckButtons();
    Arrange();
}

void TRadioGroup::ItemChanged(int index, const std::string& s) {
    static_cast<QRadioButton*>(buttons_[static_cast<std::size_t>(index)])->setText(QS(s));
}

void TRadioGroup::ItemsCleared() {
    for (QWidget* b : buttons_) {
        group_->removeButton(static_cast<QRadioButton*>(b));
        delete b;
    }
    buttons_.clear();
    itemIndex_ = -1;
}

void TRadioGroup::SetItemIndex(int index) {
    index = std::clamp(index, -1, static_cast<int>(buttons_.size()) - 1);
    if (index == itemIndex_) return;
    itemIndex_ = index;
    CheckButtons();
    if (index >= 0) Click();
}

void TRadioGroup::UserClicked(int index) {
    if (index == itemIndex_) return;
    itemIndex_ = index;
    InvokeHandler(this, [this] { Click(); });
}

}  // namespace gui
