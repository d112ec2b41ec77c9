#include "components/controls/KitCustomEdit.h"

#include <algorithm>
#include <climits>
#include <cstring>

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

namespace {

// Characters measured only in their context: control characters (tab stops, line ends),
// combining and invisible formatting characters, and scripts whose letters join or reorder.
bool Summable(char32_t c) {
    if (c < 0x20) return false;
    if (c < 0x7F) return true;
    if (c < 0xA0 || c == 0xAD) return false;
    if (c < 0x300) return true;                  // Latin-1, Latin extended, IPA, modifier letters
    if (c < 0x370) return false;                 // combining diacritics
    if (c < 0x483) return true;                  // Greek, Cyrillic
    if (c < 0x48A) return false;                 // Cyrillic combining marks
    if (c < 0x530) return true;                  // Cyrillic supplement
    if (c >= 0x1E00 && c < 0x2000) return true;  // Latin extended additional, Greek extended
    if (c >= 0x2010 && c < 0x2028) return true;  // dashes, quotes, bullets
    if (c >= 0x2030 && c < 0x205F) return true;  // per mille ... punctuation
    if (c >= 0x2070 && c < 0x20D0) return true;  // super- and subscripts, currency
    if (c >= 0x2100 && c < 0x2C00) return true;  // letterlike symbols, arrows, maths, boxes, shapes
    if (c >= 0x3000 && c < 0x302A) return true;  // CJK punctuation
    if (c >= 0x3041 && c < 0x3097) return true;  // Hiragana
    if (c >= 0x30A0 && c < 0x3100) return true;  // Katakana
    if (c >= 0x4E00 && c < 0xA000) return true;  // CJK ideographs
    if (c >= 0xFF01 && c < 0xFF61) return true;  // full-width forms
    return false;
}

std::uint64_t Key2(char32_t a, char32_t b) { return (std::uint64_t{a} << 21) | b; }
std::uint64_t Key3(char32_t a, char32_t b, char32_t c) { return (std::uint64_t{a} << 42) | (std::uint64_t{b} << 21) | c; }

}  // namespace

void TKitCustomEdit::DisplayChanged() {
    std::u32string d;
    GetDisplayText(d);
    // The sums stay valid up to the first character that changed.
    const std::size_t common = std::min(d.size(), displayChars_.size());
    std::size_t same = 0;
    constexpr std::size_t block = 1024;
    while (same + block <= common &&
           std::memcmp(d.data() + same, displayChars_.data() + same, block * sizeof(char32_t)) == 0)
        same += block;
    while (same < common && d[same] == displayChars_[same]) ++same;
    if (prefix_.size() > same + 1) {
        prefix_.resize(same + 1);
        middle_.resize(same + 1);
    }
    displayChars_ = std::move(d);
    displayTextStale_ = true;
}

void TKitCustomEdit::SyncWidths(TCanvas& C) {
    const TFont& f = *C.Font();
    std::string key = f.Name();
    for (int v : {f.Height(), static_cast<int>(f.Style()), static_cast<int>(f.Pitch()), f.Charset(), f.Orientation(),
                  C.TextCharacterExtra(), TFont::PixelsPerInch})
        key += '|' + std::to_string(v);
    if (key == widthFont_) return;
    widthFont_ = std::move(key);
    lowWidths_.assign(0x3000, 0);
    highWidths_.clear();
    pairs_.clear();
    triples_.clear();
    prefix_.assign(1, 0);
    middle_.assign(1, INT_MIN);
}

int TKitCustomEdit::MeasureChar(TCanvas& C, char32_t Ch) {
    if (Ch < lowWidths_.size()) {
        int& w = lowWidths_[Ch];
        if (w == 0) w = C.TextWidth(KitUtf32ToUtf8(std::u32string_view(&Ch, 1))) + 1;
        return w - 1;
    }
    auto it = highWidths_.find(Ch);
    if (it == highWidths_.end())
        it = highWidths_.emplace(Ch, C.TextWidth(KitUtf32ToUtf8(std::u32string_view(&Ch, 1)))).first;
    return it->second;
}

int TKitCustomEdit::PairJoin(TCanvas& C, char32_t A, char32_t B) {
    const auto [it, added] = pairs_.try_emplace(Key2(A, B), 0);
    if (added) {
        const char32_t ab[2] = {A, B};
        it->second = C.TextWidth(KitUtf32ToUtf8(std::u32string_view(ab, 2))) - MeasureChar(C, A) - MeasureChar(C, B);
    }
    return it->second;
}

bool TKitCustomEdit::TripleFits(TCanvas& C, char32_t A, char32_t B, char32_t Cc) {
    const auto [it, added] = triples_.try_emplace(Key3(A, B, Cc), true);
    if (added) {
        const char32_t abc[3] = {A, B, Cc};
        const int summed = MeasureChar(C, A) + MeasureChar(C, B) + MeasureChar(C, Cc) + PairJoin(C, A, B) + PairJoin(C, B, Cc);
        it->second = C.TextWidth(KitUtf32ToUtf8(std::u32string_view(abc, 3))) == summed;
    }
    return it->second;
}

int TKitCustomEdit::SummedPrefix(TCanvas& C, int n) {
    SyncWidths(C);
    n = std::clamp(n, 0, static_cast<int>(displayChars_.size()));
    while (static_cast<int>(prefix_.size()) <= n) {
        const std::size_t i = prefix_.size();  // 1-based index of the next character
        const char32_t ch = displayChars_[i - 1];
        if (!Summable(ch)) break;
        int step = MeasureChar(C, ch);
        if (i >= 2) {
            const char32_t before = displayChars_[i - 2];
            step += PairJoin(C, before, ch);
            // Three characters must measure as their pairs say (no longer ligature).
            if (i >= 3 && !TripleFits(C, displayChars_[i - 3], before, ch)) break;
        }
        if (step < 0) break;
        prefix_.push_back(prefix_.back() + step);
        middle_.push_back(std::max(middle_.back(), prefix_.back() - MeasureChar(C, ch) / 2));
    }
    return std::min(n, static_cast<int>(prefix_.size()) - 1);
}

int TKitCustomEdit::FirstCharEndingAfter(int X, int Limit) const {
    // prefix_ never decreases: the first i with prefix_[i] > X.
    const auto end = prefix_.begin() + Limit + 1;
    return static_cast<int>(std::upper_bound(prefix_.begin() + 1, end, X) - prefix_.begin());
}

int TKitCustomEdit::PrefixWidth(TCanvas& C, int n) {
    n = std::clamp(n, 0, static_cast<int>(displayChars_.size()));
    if (n == 0) return 0;
    if (SummedPrefix(C, n) == n) return prefix_[static_cast<std::size_t>(n)];
    return C.TextWidth(KitUtf32ToUtf8(std::u32string_view(displayChars_).substr(0, static_cast<std::size_t>(n))));
}

int TKitCustomEdit::CharWidth(TCanvas& C, int i) {
    if (i < 1 || i > static_cast<int>(displayChars_.size())) return 0;
    SyncWidths(C);
    return MeasureChar(C, displayChars_[static_cast<std::size_t>(i - 1)]);
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
    // The first character whose middle lies at or right of X. Over the summed prefix the
    // running maximum of the middles reaches X first at that character: a binary search.
    const int summed = SummedPrefix(C, n);
    const auto hit = std::lower_bound(middle_.begin() + 1, middle_.begin() + summed + 1, X - x0);
    if (hit != middle_.begin() + summed + 1) return static_cast<int>(hit - middle_.begin());
    int i = summed + 1;
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
        const bool own = &D == &displayChars_;
        const int n = static_cast<int>(D.size());
        auto width = [&](int i) {
            if (own) return PrefixWidth(C, i);
            return i <= 0 ? 0 : C.TextWidth(KitUtf32ToUtf8(std::u32string_view(D).substr(0, static_cast<std::size_t>(i))));
        };
        const int total = width(n);
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

        // The characters drawn: all of them, or, when the text is summed, those that reach into
        // the text area with a margin of characters and pixels for overhangs and 3D offsets. The
        // part starts where its first character does not join its predecessor, so drawn from
        // that character's position it puts every glyph where the whole text puts it.
        int first = 1, last = n;
        if (own && n > 0 && SummedPrefix(C, n) == n) {
            const int margin = 64 + 2 * (std::abs(f->LightDepth()) + std::abs(f->ShadowDepth()));
            first = std::max(1, FirstCharEndingAfter(tr.Left - x0 - margin, n) - 2);
            while (first > 1 && PairJoin(C, D[static_cast<std::size_t>(first - 2)], D[static_cast<std::size_t>(first - 1)]) != 0)
                --first;
            last = std::min(n, FirstCharEndingAfter(tr.Right - x0 + margin, n) + 2);
            if (last < first) last = first;
        }
        auto part = [&](int from, int to) {
            if (to < from) return std::string();
            return KitUtf32ToUtf8(std::u32string_view(D).substr(static_cast<std::size_t>(from - 1),
                                                                static_cast<std::size_t>(to - from + 1)));
        };
        const std::string shown = part(first, last);
        TRect rs = r;
        rs.Left = x0 + width(first - 1);

        const bool highlight = SelLength() != 0 && !SelectionHidden();
        int l = 0, rx = 0;
        if (highlight) {
            const int s = std::clamp(SelStart(), 1, n + 1);
            const int e = std::clamp(SelStart() + SelLength() - 1, 0, n);
            l = x0 + width(s - 1);
            rx = std::min(x0 + width(e), tr.Right);
            const int o = f->Style() == tdExtrudeEnh && (f->Orientation() == toBottomLeft || f->Orientation() == toTopLeft)
                              ? a + b : a;
            const int bottom = std::min(tr.Top + GetTextHeight(shown) + a + b, tr.Bottom);
            C.Brush()->SetStyle(bsSolid);
            C.Brush()->SetColor(HighlightBack());
            C.Pen()->SetColor(HighlightBack());
            C.Rectangle(l + o, tr.Top, rx + o, bottom);
        }

        const unsigned format = DT_SINGLELINE | DT_NOPREFIX;
        const unsigned options = Enabled() ? kftEnabled : 0;
        C.Brush()->SetStyle(bsClear);
        KitDrawFxText(C, shown, Font3D(), rs, format, options, nullptr);
        if (highlight) {
            const TColor saved = C.Font()->Color();
            C.Font()->SetColor(HighlightText());
            const int s = std::clamp(SelStart(), 1, n + 1);
            const int len = std::clamp(SelLength(), 0, n + 1 - s);
            // The selected characters inside the drawn part; a selection that starts left of
            // it is drawn from the part's first character, its start lying outside the area.
            const int from = std::max(s, first), to = std::min(s + len - 1, last);
            const int left = from == s ? l : x0 + width(from - 1);
            KitDrawFxText(C, part(from, to), Font3D(), Rect(left, tr.Top, rx + a + b, r.Bottom), format, options, nullptr);
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
