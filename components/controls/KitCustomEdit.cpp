#include "components/controls/KitCustomEdit.h"

#include <algorithm>

#include "components/base/KitDrawText.h"
#include "components/base/KitMessages.h"
#include "components/controls/KitEditAutoComplete.h"
#include "components/controls/KitSpeedButton.h"
#include "components/controls/KitTextCodec.h"
#include "platform/gdi/Drawing.h"
#include "platform/gui/Messages.h"

namespace kit {

using namespace gdi;
using namespace gui;

namespace {

// Sets the canvas's character extra for the lifetime of the object.
class TCharExtraScope {
public:
    TCharExtraScope(TCanvas& c, int extra) : c_(c), old_(c.SetTextCharacterExtra(extra)) {}
    ~TCharExtraScope() { c_.SetTextCharacterExtra(old_); }
    TCharExtraScope(const TCharExtraScope&) = delete;
    TCharExtraScope& operator=(const TCharExtraScope&) = delete;

private:
    TCanvas& c_;
    int old_;
};

}  // namespace

TKitCustomEdit::TKitCustomEdit(rtl::TComponent* AOwner) : TKitBaseEdit(AOwner) {
    customButtons_ = std::make_unique<TKitSpecialButtons>(this, true);
}

TKitCustomEdit::~TKitCustomEdit() {
    if (autoComplete_) autoComplete_->RemoveFreeNotification(this);
    customButtons_.reset();
}

// ---- Properties ------------------------------------------------------------------------------

void TKitCustomEdit::SetPasswordChar(char32_t Value) {
    passwordChar_ = Value;
    TextChanged(1);
}

void TKitCustomEdit::SetAutoSize(bool Value) {
    if (Value == autoSize_) return;
    autoSize_ = Value;
    AdjustSize();
}

void TKitCustomEdit::SetCustomButtonWidth(int Value) {
    if (Value == customButtonWidth_) return;
    customButtonWidth_ = Value;
    if (Parent()) Perform(WM_SIZE, 0, 0);
}

void TKitCustomEdit::SetCustomButtonStyle(TKitUserButtonStyle Value) {
    if (Value == customButtonStyle_) return;
    customButtonStyle_ = Value;
    ArrangeButtons();
}

void TKitCustomEdit::SetAutoComplete(TKitEditAutoComplete* Value) {
    if (Value == autoComplete_) return;
    if (autoComplete_) autoComplete_->RemoveFreeNotification(this);
    autoComplete_ = Value;
    // Not owned: a freed component is forgotten (Notification).
    if (autoComplete_) autoComplete_->FreeNotification(this);
}

void TKitCustomEdit::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TKitBaseEdit::Notification(AComponent, Operation);
    if (Operation == rtl::TOperation::opRemove && AComponent == autoComplete_) autoComplete_ = nullptr;
}

// ---- Display text ----------------------------------------------------------------------------

void TKitCustomEdit::GetDisplayText(std::string& S) {
    if (passwordChar_ != 0)
        S = KitUtf32ToUtf8(std::u32string(static_cast<std::size_t>(TextLength()), passwordChar_));
    else
        S = KitUtf32ToUtf8(TextChars());
}

void TKitCustomEdit::TextChanged(int At) {
    GetDisplayText(displayText_);
    displayChars_ = KitUtf8ToUtf32(displayText_);
    TKitBaseEdit::TextChanged(At);
}

void TKitCustomEdit::TextReset() {
    SetIntProp(2, 0);
    TextChanged(1);
    if (Focused()) UpdateCaretPos();
}

void TKitCustomEdit::DoBtnClick(rtl::TObject* Btn, int Index) {
    if (OnBtnClick) OnBtnClick(this, Btn, Index);
}

// ---- Auto-completion -------------------------------------------------------------------------

bool TKitCustomEdit::CompletionActive() {
    return autoComplete_ && autoComplete_->Enabled() && autoComplete_->Mode().Contains(amText);
}

void TKitCustomEdit::AfterChange() {
    if (autoComplete_) autoComplete_->CompleteText(this, Text());
}

void TKitCustomEdit::EditKeyDown(unsigned short& Key, TShiftState Shift) {
    const unsigned short key = Key;
    TKitBaseEdit::EditKeyDown(Key, Shift);
    if (key == VK_RETURN && autoComplete_ && autoComplete_->AddUnknownOn().Contains(aaControlReturn))
        autoComplete_->AddUnknown(this, Text());
}

// ---- Layout ----------------------------------------------------------------------------------

void TKitCustomEdit::AdjustInnerRect() {
    // Room for the buttons at the right end.
    TRect inner = InnerRect();
    inner.Right -= customButtons_->Count() * customButtonWidth_ + 1;
    SetInnerRect(inner);
    ArrangeButtons();
}

void TKitCustomEdit::ArrangeButtons() {
    const TRect& inner = InnerRect();
    const int top = Bevel()->Mode() == bmWindows && !PaintThemed() ? 0 : inner.Top;
    for (int i = 0; i < customButtons_->Count(); ++i) {
        TKitSpeedButton* b = customButtons_->Items(i)->Button();
        b->SetStyle(customButtonStyle_);
        b->SetBounds(i * customButtonWidth_ + inner.Right + 1, top, customButtonWidth_, inner.Bottom - inner.Top);
    }
}

void TKitCustomEdit::AdjustSize() {
    Canvas()->Font()->Assign(*Font());
    if (!autoSize_) return;
    const int qp = GetTextHeight("Qp") * 5 / 4;
    const int h = Bevel()->Mode() != bmWindows ? qp + 2 * Bevel()->BevelExtent() : qp + 5;
    const int w = std::max(Width(), customButtons_->Count() * customButtonWidth_ + 30);
    SetBounds(Left(), Top(), w, h);
}

void TKitCustomEdit::Loaded() {
    TKitBaseEdit::Loaded();
    AdjustSize();
}

// ---- Text geometry ---------------------------------------------------------------------------

int TKitCustomEdit::PrefixWidth(TCanvas& C, int n) const {
    n = std::clamp(n, 0, static_cast<int>(displayChars_.size()));
    if (n == 0) return 0;
    return C.TextWidth(KitUtf32ToUtf8(std::u32string_view(displayChars_).substr(0, static_cast<std::size_t>(n))));
}

int TKitCustomEdit::CharWidth(TCanvas& C, int i) const {
    if (i < 1 || i > static_cast<int>(displayChars_.size())) return 0;
    return C.TextWidth(KitUtf32ToUtf8(std::u32string_view(displayChars_).substr(static_cast<std::size_t>(i - 1), 1)));
}

int TKitCustomEdit::AlignedTextLeft(int TextWidth) const {
    const TRect& r = TextRect();
    const int room = r.Right - r.Left;
    if (TextWidth > room) return r.Left;
    switch (Alignment()) {
    case taRightJustify: return r.Right - TextWidth;
    case taCenter: return r.Left + (room - TextWidth) / 2;
    default: return r.Left;
    }
}

int TKitCustomEdit::CharIndexAt(int X) {
    X = static_cast<std::int16_t>(X);
    TCanvas& C = *Canvas();
    C.Font()->Assign(*Font());
    TCharExtraScope extra(C, Font3D()->Tracing());
    const int n = static_cast<int>(displayChars_.size());
    const int x0 = AlignedTextLeft(PrefixWidth(C, n)) - ScrollOffset();
    int i = 1;
    for (; i <= n; ++i)
        if (PrefixWidth(C, i) - CharWidth(C, i) / 2 + x0 >= X) break;
    return i;
}

TPoint TKitCustomEdit::CharPoint(int Index) {
    TCanvas& C = *Canvas();
    C.Font()->Assign(*Font());
    TCharExtraScope extra(C, Font3D()->Tracing());
    const int n = static_cast<int>(displayChars_.size());
    const int x0 = AlignedTextLeft(PrefixWidth(C, n)) - ScrollOffset();
    return TPoint{x0 + PrefixWidth(C, std::clamp(Index, 0, n)), TextRect().Top};
}

void TKitCustomEdit::UpdateCaretPos() {
    if (!Focused() || !Caret()->Visible()) return;
    TCanvas& C = *Canvas();
    C.Font()->Assign(*Font());
    TCharExtraScope extra(C, Font3D()->Tracing());
    const TRect& tr = TextRect();
    const int n = static_cast<int>(displayChars_.size());
    const int width = PrefixWidth(C, n);

    int b = AlignedTextLeft(width);
    int e = tr.Left;
    if (Alignment() == taRightJustify) e = tr.Right;
    else if (Alignment() == taCenter) e = tr.Left + (tr.Right - tr.Left) / 2;
    const TKit3DCaption* f = Font3D();
    if (f->Style() == tdSunken || f->Style() == tdSunkenShadow) b += f->ShadowDepth();
    else if (f->Style() == tdRaised || f->Style() == tdRaisedShadow) b += f->LightDepth();
    b -= 1;
    const bool extrudeLeft = (f->Style() == tdExtrude || f->Style() == tdExtrudeEnh) &&
                             (f->Orientation() == toBottomLeft || f->Orientation() == toTopLeft);
    auto caretX = [&](int empty) {
        int x = n == 0 ? empty : PrefixWidth(C, CursorPos() - 1) - ScrollOffset() + b;
        if (n != 0 && extrudeLeft) x += f->ShadowDepth();
        return x;
    };

    const int before = ScrollOffset();
    int x = caretX(e);
    if (x > tr.Right) SetScrollOffset(ScrollOffset() + (x - tr.Right + tr.Left) + 2);
    else if (x < tr.Left && ScrollOffset() != 0) SetScrollOffset(ScrollOffset() - (std::abs(x) + tr.Left) - 2);
    // A text that fits needs no more shift than its overhang.
    const int limit = std::max(0, width - (tr.Right - tr.Left) + 2);
    if (ScrollOffset() > limit) SetScrollOffset(limit);
    if (ScrollOffset() != before) RepaintText(-1);

    x = caretX(b);
    PlaceCaret(x + 1, tr.Top);
}

// ---- Painting --------------------------------------------------------------------------------

void TKitCustomEdit::Paint() {
    TKitBaseEdit::Paint();
    if (!Loading()) RepaintText(-1);
}

void TKitCustomEdit::RepaintText(int Pos) {
    if (UpdateCount() >= 1 || Loading()) return;
    PaintText(Pos, displayText_);
}

void TKitCustomEdit::PaintText(int Pos, const std::string& D) {
    (void)Pos;
    const bool caretWasVisible = Caret()->Visible();
    Caret()->Hide();
    TCanvas& C = BufferBitmap() ? *BufferBitmap()->Canvas() : *Canvas();
    C.Font()->Assign(*Font());
    const TRect inner = InnerRect();
    PaintBackgroundRect(inner);
    PaintExtra(C, inner);

    {
        TClipKeeper clip(C);
        const TRect tr = TextRect();
        C.IntersectClipRect(tr);
        TCharExtraScope extra(C, Font3D()->Tracing());
        const int n = static_cast<int>(displayChars_.size());
        const int x0 = AlignedTextLeft(PrefixWidth(C, n)) - ScrollOffset();
        TRect r = tr;
        r.Left = x0;
        r.Right = std::max(tr.Right, x0 + PrefixWidth(C, n) + 1);

        const TKit3DCaption* f = Font3D();
        int a = 0, b = 0;
        switch (f->Style()) {
        case tdSunken: b = f->LightDepth(); break;
        case tdRaised: a = f->LightDepth(); break;
        case tdSunkenShadow: a = f->ShadowDepth(); b = f->LightDepth(); break;
        case tdRaisedShadow:
        case tdExtrudeEnh: a = f->LightDepth(); b = f->ShadowDepth(); break;
        case tdExtrude: a = f->ShadowDepth(); break;
        default: break;
        }
        const bool highlight = SelLength() != 0 && !SelectionHidden();
        int l = 0, rx = 0;
        if (highlight) {
            const int s = std::clamp(SelStart(), 1, n + 1);
            const int e = std::clamp(SelStart() + SelLength() - 1, 0, n);
            l = x0 + PrefixWidth(C, s - 1);
            rx = std::min(x0 + PrefixWidth(C, e), tr.Right);
            const int o = f->Style() == tdExtrudeEnh && (f->Orientation() == toBottomLeft || f->Orientation() == toTopLeft)
                              ? a + b : a;
            const int bottom = std::min(tr.Top + GetTextHeight(D) + a + b, tr.Bottom);
            C.Brush()->SetStyle(bsSolid);
            C.Brush()->SetColor(HighlightBack());
            C.Pen()->SetColor(HighlightBack());
            C.Rectangle(l + o, tr.Top, rx + o, bottom);
        }

        const unsigned format = DT_SINGLELINE | DT_NOPREFIX;
        const unsigned options = Enabled() ? kftEnabled : 0;
        C.Brush()->SetStyle(bsClear);
        KitDrawFxText(C, D, Font3D(), r, format, options, nullptr);
        if (highlight) {
            const TColor saved = C.Font()->Color();
            C.Font()->SetColor(HighlightText());
            const int s = std::clamp(SelStart(), 1, n + 1);
            const int len = std::clamp(SelLength(), 0, n + 1 - s);
            const std::string sel = KitUtf32ToUtf8(std::u32string_view(displayChars_).substr(static_cast<std::size_t>(s - 1),
                                                                                              static_cast<std::size_t>(len)));
            KitDrawFxText(C, sel, Font3D(), Rect(l, tr.Top, rx + a + b, r.Bottom), format, options, nullptr);
            C.Font()->SetColor(saved);
        }
        C.Brush()->SetStyle(bsSolid);
    }

    if (BufferBitmap()) Canvas()->CopyRect(inner, *BufferBitmap()->Canvas(), inner);
    if (caretWasVisible) Caret()->Show();
}

// ---- Messages --------------------------------------------------------------------------------

void TKitCustomEdit::WndProc(TMessage& m) {
    std::weak_ptr<void> life = LifeToken();
    switch (m.Msg) {
    case CM_FONTCHANGED:
        TKitBaseEdit::WndProc(m);
        if (!life.expired()) AdjustSize();
        return;
    case CM_KITBEVELCHANGED:
        TKitBaseEdit::WndProc(m);
        if (!life.expired()) AdjustSize();
        return;
    case WM_KILLFOCUS:
        TKitBaseEdit::WndProc(m);
        if (!life.expired() && autoComplete_ && autoComplete_->AddUnknownOn().Contains(aaControlExit))
            autoComplete_->AddUnknown(this, Text());
        return;
    case EM_GETPASSWORDCHAR: m.Result = static_cast<LRESULT>(passwordChar_); return;
    case EM_SETPASSWORDCHAR: SetPasswordChar(static_cast<char32_t>(m.WParam)); return;
    default: TKitBaseEdit::WndProc(m); return;
    }
}

}  // namespace kit
