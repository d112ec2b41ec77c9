#include "platform/gui/HintWindows.h"

#include <QToolTip>
#include <QWidget>

#include <algorithm>

#include "platform/gdi/Drawing.h"
#include "platform/gui/QtSupport.h"

namespace gui {

namespace {
constexpr unsigned HintFormat = gdi::DT_LEFT | gdi::DT_NOPREFIX | gdi::DT_WORDBREAK;

QWidget* MakeHintWidget() {
    // The mouse passes through: a tip shown under the mouse must not take it from the control.
    auto* w = new detail::Hooked<QWidget>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint |
                                                       Qt::WindowTransparentForInput);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setFocusPolicy(Qt::NoFocus);
    return w;
}
}  // namespace

THintWindow::THintWindow(rtl::TComponent* owner) : TCustomControl(owner, MakeHintWidget()) {
    SetColor(gdi::clInfoBk);
    Font()->SetColor(gdi::clInfoText);
    SetVisible(false);
}

THintWindow::~THintWindow() = default;

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_BORDER;
}

gdi::TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
    gdi::TCanvas& c = *Canvas();
    c.Font()->Assign(*Font());
    gdi::TRect r = gdi::Rect(0, 0, std::max(1, maxWidth - 6), 0);
    gdi::DrawText(c, hint, r, HintFormat | gdi::DT_CALCRECT);
    // Two pixels of room and the border on each side.
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void THintWindow::ActivateHint(gdi::TRect rect, const std::string& hint) {
    const int w = rect.Width(), h = rect.Height();
    int x = std::min(rect.Left, Screen()->Width() - w);
    int y = std::min(rect.Top, Screen()->Height() - h);
    x = std::max(0, x);
    y = std::max(0, y);
    SetCaption(hint);
    active_ = true;
    SetBounds(x, y, w, h);
    SetVisible(true);
    ApplyVisible();
    Invalidate();
}

void THintWindow::ReleaseHandle() {
    active_ = false;
    SetVisible(false);
    ApplyVisible();
}

void THintWindow::Paint() {
    gdi::TCanvas& c = *Canvas();
    c.Brush()->SetColor(Color());
    c.FillRect(ClientRect());
    c.Font()->Assign(*Font());
    c.Brush()->SetStyle(gdi::bsClear);
    gdi::TRect r = ClientRect();
    r.Left += 2;
    r.Top += 1;
    r.Right -= 2;
    gdi::DrawText(c, Caption(), r, HintFormat);
}

void THintWindow::ApplyBounds() {
    Widget()->setGeometry(Left(), Top(), Width(), Height());
}

void THintWindow::ApplyVisible() {
    Widget()->setVisible(Visible() && active_);
}

void HideApplicationHint() {
    // The application's hint is the tool tip that TranslateInput shows for a control's Hint.
    if (QToolTip::isVisible()) QToolTip::hideText();
}

}  // namespace gui
