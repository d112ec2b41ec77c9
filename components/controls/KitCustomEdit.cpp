#include "components/controls/KitCustomEdit.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <tuple>

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

// Sets one of the canvas's text settings for the lifetime of the object and puts the old value
// back: the character extra or the subpixel offset of text output.
template <int (TCanvas::*Set)(int)>
class TCanvasSettingScope {
public:
    TCanvasSettingScope(TCanvas& c, int value) : c_(c), old_((c.*Set)(value)) {}
    ~TCanvasSettingScope() { (c_.*Set)(old_); }
    TCanvasSettingScope(const TCanvasSettingScope&) = delete;
    TCanvasSettingScope& operator=(const TCanvasSettingScope&) = delete;

private:
    TCanvas& c_;
    int old_;
};

using TCharExtraScope = TCanvasSettingScope<&TCanvas::SetTextCharacterExtra>;
using TSubpixelScope = TCanvasSettingScope<&TCanvas::SetTextSubpixelX>;

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

void TKitCustomEdit::GetDisplayText(std::u32string& S) {
    if (passwordChar_ != 0)
        S.assign(static_cast<std::size_t>(TextLength()), passwordChar_);
    else
        S = TextChars();
}

const std::string& TKitCustomEdit::DisplayText() const {
    if (displayTextStale_) {
        displayText_ = KitUtf32ToUtf8(displayChars_);
        displayTextStale_ = false;
    }
    return displayText_;
}

void TKitCustomEdit::TextChanged(int At) {
    DisplayChanged();
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

void TKitCustomEdit::DisplayChanged() {
    std::u32string d;
    GetDisplayText(d);
    displayChars_ = std::move(d);
    displayTextStale_ = true;
    caretsStale_ = true;
}

const TTextCarets& TKitCustomEdit::Carets(TCanvas& C) {
    if (caretsStale_ || !carets_.SameLetters(C)) {
        carets_.Measure(C, displayChars_);
        caretsStale_ = false;
    }
    if (carets_.Version() != tablesVersion_) {
        // One layout since the tables were made (every one goes through here): they stay
        // as they were before its first changed position.
        const std::size_t from = carets_.Version() == tablesVersion_ + 1 ? carets_.Kept() : 0;
        tablesVersion_ = carets_.Version();
        const std::size_t n = carets_.Length();
        middle_.resize(n + 1);
        reach_.resize(n + 1);
        middle_[0] = INT_MIN;
        reach_[0] = 0;
        for (std::size_t i = std::max<std::size_t>(from, 1); i <= n; ++i) {
            middle_[i] = std::max(middle_[i - 1], carets_.X(i) - carets_.CharWidth(i - 1) / 2);
            reach_[i] = std::max(reach_[i - 1], carets_.X(i));
        }
    }
    return carets_;
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
    const TTextCarets& carets = Carets(C);
    const int x0 = AlignedTextLeft(carets.Width()) - ScrollOffset();
    // The first character whose middle lies at or right of X: the running maximum of the
    // middles reaches X first at that character.
    return static_cast<int>(std::lower_bound(middle_.begin() + 1, middle_.end(), X - x0) - middle_.begin());
}

TPoint TKitCustomEdit::CharPoint(int Index) {
    TCanvas& C = *Canvas();
    C.Font()->Assign(*Font());
    TCharExtraScope extra(C, Font3D()->Tracing());
    const TTextCarets& carets = Carets(C);
    const int n = static_cast<int>(carets.Length());
    const int x0 = AlignedTextLeft(carets.Width()) - ScrollOffset();
    return TPoint{x0 + carets.X(static_cast<std::size_t>(std::clamp(Index, 0, n))), TextRect().Top};
}

void TKitCustomEdit::UpdateCaretPos() {
    if (!Focused() || !Caret()->Visible()) return;
    TCanvas& C = *Canvas();
    C.Font()->Assign(*Font());
    TCharExtraScope extra(C, Font3D()->Tracing());
    const TRect& tr = TextRect();
    const TTextCarets& carets = Carets(C);
    const int n = static_cast<int>(carets.Length());
    const int width = carets.Width();

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
        int x = n == 0 ? empty : carets.X(static_cast<std::size_t>(std::clamp(CursorPos() - 1, 0, n))) - ScrollOffset() + b;
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
    PaintText(Pos, displayChars_);
}

void TKitCustomEdit::PaintText(int Pos, const std::u32string& D) {
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
        // The positions of the text drawn: the display text's kept ones, or another text's.
        TTextCarets other;
        std::vector<int> otherReach;
        const bool own = &D == &displayChars_;
        if (!own) {
            other.Measure(C, D);
            otherReach.assign(D.size() + 1, 0);
            for (std::size_t i = 1; i <= D.size(); ++i) otherReach[i] = std::max(otherReach[i - 1], other.X(i));
        }
        const TTextCarets& carets = own ? Carets(C) : other;
        const std::vector<int>& reach = own ? reach_ : otherReach;
        const std::size_t n = carets.Length();
        const int total = carets.Width();
        const int x0 = AlignedTextLeft(total) - ScrollOffset();
        TRect r = tr;
        r.Left = x0;
        r.Right = std::max(tr.Right, x0 + total + 1);

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

        // The characters drawn, [first, last): those that reach into the text area, with a margin
        // of characters and pixels for overhangs and 3D offsets. A part with a tab in it starts
        // after a tab (or with the text), on a tab stop, so that its tabs end where the whole
        // text's do.
        std::size_t first = 0, last = n;
        if (n > 0) {
            const int margin = 64 + 2 * (std::abs(f->LightDepth()) + std::abs(f->ShadowDepth()));
            const auto after = std::upper_bound(reach.begin() + 1, reach.end(), tr.Left - x0 - margin);
            first = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, after - reach.begin() - 1 - 2));
            const auto beyond = std::lower_bound(reach.begin(), reach.end(), tr.Right - x0 + margin);
            last = std::min(n, static_cast<std::size_t>(beyond - reach.begin()) + 2);
            if (last < first) last = first;
        }
        // A part starts and ends where no ligature or joined letters reach across (the letters
        // drawn look and advance as in the whole text); one with a tab in it starts after a tab
        // (or with the text), on a tab stop.
        auto tabStopBefore = [&](std::size_t from, std::size_t to) {
            const auto b = D.begin() + static_cast<std::ptrdiff_t>(from), e = D.begin() + static_cast<std::ptrdiff_t>(to);
            if (std::find(b, e, U'\t') != e)
                while (from > 0 && D[from - 1] != U'\t') --from;
            return from;
        };
        std::tie(first, last) = carets.DrawnPart(first, last);
        first = tabStopBefore(first, last);
        auto part = [&](std::size_t from, std::size_t to) {
            if (to <= from) return std::string();
            return KitUtf32ToUtf8(std::u32string_view(D).substr(from, to - from));
        };
        // Draws characters [from, to) where the whole text puts them: from the first one's exact
        // position, its whole pixels the rectangle's left edge, its fraction the canvas's
        // subpixel offset.
        const unsigned format = DT_SINGLELINE | DT_NOPREFIX;
        const unsigned options = Enabled() ? kftEnabled : 0;
        auto draw = [&](std::size_t from, std::size_t to, TRect rect) {
            const std::int64_t at = std::int64_t{x0} * TTextCarets::Unit + carets.Exact(from);
            rect.Left = TTextCarets::Floor(at);
            TSubpixelScope subpixel(C, static_cast<int>(at - std::int64_t{rect.Left} * TTextCarets::Unit));
            KitDrawFxText(C, part(from, to), Font3D(), rect, format, options, nullptr);
        };
        const std::string shown = part(first, last);

        const bool highlight = SelLength() != 0 && !SelectionHidden();
        std::size_t s = 0, e = 0;  // the selected characters, [s, e)
        int l = 0, rx = 0;
        if (highlight) {
            s = static_cast<std::size_t>(std::clamp(SelStart(), 1, static_cast<int>(n) + 1) - 1);
            e = static_cast<std::size_t>(std::clamp(SelStart() + SelLength() - 1, 0, static_cast<int>(n)));
            l = x0 + carets.X(s);
            rx = std::min(x0 + carets.X(std::max(s, e)), tr.Right);
            const int o = f->Style() == tdExtrudeEnh && (f->Orientation() == toBottomLeft || f->Orientation() == toTopLeft)
                              ? a + b : a;
            const int bottom = std::min(tr.Top + GetTextHeight(shown) + a + b, tr.Bottom);
            C.Brush()->SetStyle(bsSolid);
            C.Brush()->SetColor(HighlightBack());
            C.Pen()->SetColor(HighlightBack());
            C.Rectangle(l + o, tr.Top, rx + o, bottom);
        }

        C.Brush()->SetStyle(bsClear);
        draw(first, last, r);
        if (highlight) {
            // Inside the highlight's box the text is drawn again in the highlight's colour,
            // every letter exactly over itself: the selected characters and, for the ink that
            // reaches across the box's edges, two more on either side.
            const std::size_t from = std::max(s < 2 ? 0 : s - 2, first), to = std::min(e + 2, last);
            if (s < e && from < to) {
                const TColor saved = C.Font()->Color();
                C.Font()->SetColor(HighlightText());
                TClipKeeper keep(C);
                const TRect box = Rect(l, tr.Top, rx + a + b, r.Bottom);
                C.IntersectClipRect(box);
                const auto [partFrom, partTo] = carets.DrawnPart(from, to);
                draw(tabStopBefore(partFrom, partTo), partTo, box);
                C.Font()->SetColor(saved);
            }
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
