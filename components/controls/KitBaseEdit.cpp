#include "components/controls/KitBaseEdit.h"

#include <algorithm>
#include <cstring>

#include "components/base/KitDrawText.h"
#include "components/base/KitXPStyles.h"
#include "components/base/kitapp.h"
#include "components/controls/KitTextCodec.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/OemCodePage.h"

namespace kit {

using namespace gdi;
using namespace gui;

namespace {

constexpr char32_t CR = U'\r';
constexpr char32_t LF = U'\n';

// Key-state bits of the application object.
constexpr std::uint8_t ksInsert = 1, ksShift = 2, ksCtrl = 4, ksAlt = 8;

void FreeUndoRecord(rtl::TObject*, void* Item) { delete static_cast<TKitUndoRecord*>(Item); }

}  // namespace

// ---- Construction ----------------------------------------------------------------------------

TKitBaseEdit::TKitBaseEdit(rtl::TComponent* AOwner) : TKitCustomBevelPanel(AOwner) {
    TControlStyle style = ControlStyle();
    style.Exclude(csAcceptsControls);
    SetControlStyle(style);
    SetHeight(21);
    font3D_ = std::make_unique<TKit3DCaption>();
    font3D_->OnChange = [this](rtl::TObject* s) { BackFXChange(s); };
    Bevel()->SetMode(bmWindows);
    caret_ = std::make_unique<TKitCaret>(this);
    caret_->SetSetting(1, 1);
    undoBuffer_ = std::make_unique<TKitDynLIFOBuffer>();
    undoBuffer_->OnFreeItem = FreeUndoRecord;
    redoBuffer_ = std::make_unique<TKitDynLIFOBuffer>();
    redoBuffer_->OnFreeItem = FreeUndoRecord;
    SetCursor(crIBeam);
    SetColor(clWhite);
    SetTabStop(true);
}

TKitBaseEdit::~TKitBaseEdit() {
    closing_ = true;
    bufferBitmap_.reset();
    StopScrollTimer();
    if (textDragging_) Screen()->SetCursor(savedScreenCursor_);
    redoBuffer_.reset();
    undoBuffer_.reset();
    caret_.reset();
    font3D_->OnChange = nullptr;
    font3D_.reset();
}

// ---- Text ------------------------------------------------------------------------------------

std::string TKitBaseEdit::Text() {
    std::string s = KitUtf32ToUtf8(text_);
    TextRead();
    return s;
}

void TKitBaseEdit::SetText(const std::string& S) {
    std::u32string s = KitUtf8ToUtf32(S);
    if (s == text_) return;
    if (maxLength_ > 0 && static_cast<int>(s.size()) > maxLength_) s.resize(static_cast<std::size_t>(maxLength_));
    text_ = std::move(s);
    SetIntProp(5, 1);
    SetIntProp(2, 0);
    TextReset();
}

char32_t TKitBaseEdit::CharAt(int I) const {
    if (I < 1 || I > TextLength()) return 0;
    return text_[static_cast<std::size_t>(I - 1)];
}

std::string TKitBaseEdit::GetSelText() const {
    const int len = TextLength();
    const int s = std::clamp(selStart_, 1, len + 1);
    const int n = std::clamp(selLength_, 0, len + 1 - s);
    return KitUtf32ToUtf8(text_.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(n)));
}

int TKitBaseEdit::MeasureText(const std::string& S) {
    if (S.empty()) return 0;
    TRect r = Rect(0, 0, 0, 0);
    TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    KitCalcTextRect(*c, S, font3D_.get(), r, *Font(), false, false, 0, 0);
    return r.Right - r.Left;
}

int TKitBaseEdit::GetTextHeight(const std::string& S) {
    TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    int h = c->TextHeight(S);
    const TKitThreeDStyle st = font3D_->Style();
    if (st == tdSunkenShadow || st == tdRaisedShadow || st == tdShadow) h += font3D_->ShadowDepth();
    return h;
}

// ---- Indexed setters -------------------------------------------------------------------------

void TKitBaseEdit::SetIntProp(int Index, int Value) {
    switch (Index) {
    case 0: maxLength_ = Value; break;
    case 1: selStart_ = Value; break;
    case 2:
        if (Value != selLength_) {
            selLength_ = Value;
            RepaintText(-1);
        }
        break;
    case 5:
        prevCursorPos_ = cursorPos_;
        cursorPos_ = std::clamp(Value, 1, TextLength() + 1);
        UpdateSelection();
        CursorPosChanged();
        break;
    default: break;
    }
}

void TKitBaseEdit::SetBoolProp(int Index, bool Value) {
    switch (Index) {
    case 0: hideSelection_ = Value; break;
    case 1:
        readOnly_ = Value;
        if (PaintThemed()) Invalidate();
        break;
    case 2:
        if (modified_ != Value) {
            modified_ = Value;
            if (OnModified) OnModified(this);
        }
        break;
    case 4: autoSelect_ = Value; break;
    case 5: oemConvert_ = Value; break;
    case 6: focusOnMouseAbove_ = Value; break;
    default: break;
    }
}

void TKitBaseEdit::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    scrollOffset_ = 0;
    AlignmentChanged();
    RepaintText(-1);
    UpdateCaretPos();
}

void TKitBaseEdit::SetFont3D(const TKit3DCaption* Value) {
    font3D_->Assign(Value);
    Perform(CM_FONTCHANGED);
}

void TKitBaseEdit::EndUpdate() {
    if (updateCount_ > 0) {
        --updateCount_;
        return;
    }
    RepaintText(-1);
}

// ---- Layout and painting ---------------------------------------------------------------------

// Frame inside the bevel, inner rectangle as the subclass narrows it, text one pixel inside.
void TKitBaseEdit::LayoutRects() {
    frameRect_ = ClientRect();
    AdjustFrameRect();
    innerRect_ = frameRect_;
    AdjustInnerRect();
    textRect_ = innerRect_;
    InflateRect(textRect_, -1, -1);
    TextRectChanged();
}

void TKitBaseEdit::UpdateRects() {
    if (updateCount_ >= 1 || Loading()) return;
    LayoutRects();
}

void TKitBaseEdit::UpdateBuffer() {
    if (!bufferBitmap_) bufferBitmap_ = std::make_unique<TBitmap>();
    bufferBitmap_->SetSize(Width(), Height());
    PaintBackgroundRect(ClientRect());
    LayoutRects();
}

void TKitBaseEdit::AdjustFrameRect() {
    if (PaintThemed() && Bevel()->Mode() == bmWindows) {
        DrawThemedEditFrame();
        return;
    }
    InflateRect(frameRect_, -Bevel()->BevelExtent(), -Bevel()->BevelExtent());
}

void TKitBaseEdit::DrawThemedEditFrame() {
    const TKitThemeFunctions& f = KitThemeFunctions;
    if (!f.OpenThemeData) return;
    HTHEME theme = f.OpenThemeData(Widget(), "EDIT");
    if (!theme) return;
    int state = 1;
    if (Focused()) state = 5;
    if (MouseInside()) state = 2;
    if (readOnly_) state = 6;
    if (!Enabled()) state = 4;
    if (f.DrawThemeBackground) f.DrawThemeBackground(theme, Canvas(), 1, state, frameRect_, &frameRect_);
    if (f.CloseThemeData) f.CloseThemeData(theme);
}

TCanvas* TKitBaseEdit::PaintCanvas() { return bufferBitmap_ ? bufferBitmap_->Canvas() : Canvas(); }

void TKitBaseEdit::PaintBackgroundRect(const TRect& R) {
    TCanvas* c = PaintCanvas();
    if (TransparentBack() && DrawBackBitmap(*c, R, {0, 0}, 0)) return;
    if (!PaintThemed()) {
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(R);
        return;
    }
    TBitmap temp;
    temp.SetSize(ClientWidth(), ClientHeight());
    DrawThemedFrame(*temp.Canvas(), ClientRect());
    c->CopyRect(R, *temp.Canvas(), R);
}

void TKitBaseEdit::Paint() {
    if (updateCount_ >= 1 || Loading()) return;
    PaintBackground();
    if (!Focused() && Flat() && !Designing() && !PaintThemed()) {
        DrawFlatFrame();
        UpdateCaretPos();
        return;
    }
    if (PaintThemed() && Bevel()->Mode() == bmWindows) {
        DrawThemedFrame(*Canvas(), ClientRect());
        UpdateCaretPos();
        return;
    }
    TRect inner;
    Bevel()->PaintBevel(*Canvas(), ClientRect(), Transparent(), inner);
    UpdateCaretPos();
}

void TKitBaseEdit::Loaded() {
    TKitCustomBevelPanel::Loaded();
    UpdateRects();
    Paint();
}

void TKitBaseEdit::BackgroundChanged() {
    TKitCustomBevelPanel::BackgroundChanged();
    RecreateWnd();
}

void TKitBaseEdit::BackFXChange(rtl::TObject* Sender) {
    TKitCustomBevelPanel::BackFXChange(Sender);
    if (OnChange) OnChange(this);
}

void TKitBaseEdit::DrawFlatFrameHot() {
    if (PaintThemed() && Bevel()->Mode() == bmWindows) {
        if (Transparent()) Invalidate();
        else if (Flat()) RepaintText(-1);
        return;
    }
    TKitCustomBevelPanel::DrawFlatFrameHot();
}

void TKitBaseEdit::DrawFlatFrame() {
    if (!PaintThemed()) {
        TKitCustomBevelPanel::DrawFlatFrame();
        return;
    }
    if (Transparent()) Invalidate();
    else if (Flat()) RepaintText(-1);
}

void TKitBaseEdit::CursorPosChanged() {
    UpdateCaretPos();
    if (OnCursorPosChanged) OnCursorPosChanged(this);
}

void TKitBaseEdit::TextChanged(int At) {
    if (updateCount_ >= 1) return;
    RepaintText(cursorPos_);
    if (Loading()) return;
    if (OnTextChangedAt) OnTextChangedAt(this, At);
    if (OnChange) OnChange(this);
}

// ---- Bound label -----------------------------------------------------------------------------

void TKitBaseEdit::SetBoundLabel(TControl* Value) {
    if (boundLabel_ == Value) return;
    if (boundLabel_) boundLabel_->RemoveFreeNotification(this);
    boundLabel_ = Value;
    if (!boundLabel_) return;
    boundLabel_->FreeNotification(this);
    if (Parent()) boundLabel_->SetParent(Parent());
    PlaceBoundLabel();
}

void TKitBaseEdit::SetLabelPosition(int v) {
    labelPosition_ = v;
    PlaceBoundLabel();
}

void TKitBaseEdit::SetLabelSpacing(int v) {
    labelSpacing_ = v;
    PlaceBoundLabel();
}

void TKitBaseEdit::PlaceBoundLabel() {
    if (!boundLabel_) return;
    const int l = Left(), t = Top(), w = Width(), h = Height();
    const int lw = boundLabel_->Width(), lh = boundLabel_->Height(), s = labelSpacing_;
    int x = l, y = t - lh - s;
    switch (labelPosition_) {
    case 1: y = t + h + s; break;
    case 2: x = l - lw - s; y = t + (h - lh) / 2; break;
    case 3: x = l + w + s; y = t + (h - lh) / 2; break;
    default: break;
    }
    boundLabel_->SetBounds(x, y, lw, lh);
}

void TKitBaseEdit::SetParent(TWinControl* AParent) {
    TKitCustomBevelPanel::SetParent(AParent);
    if (boundLabel_) {
        boundLabel_->SetParent(AParent);
        boundLabel_->SetVisible(true);
    }
}

void TKitBaseEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TKitCustomBevelPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceBoundLabel();
}

void TKitBaseEdit::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TKitCustomBevelPanel::Notification(AComponent, Operation);
    if (Operation != rtl::TOperation::opRemove) return;
    if (AComponent == boundLabel_) boundLabel_ = nullptr;
    if (AComponent == popupMenu_) popupMenu_ = nullptr;
}

// ---- Cursor and selection --------------------------------------------------------------------

bool TKitBaseEdit::InsertMode() { return (KitApplication->KeyState() & ksInsert) != 0; }

void TKitBaseEdit::UpdateSelection() {
    if (inKeyPress_ || textDragging_) return;
    if (!(KitApplication->KeyState() & ksShift) && !extendSelection_) {
        selLength_ = 0;
        selStart_ = cursorPos_;
        return;
    }
    const int s = selStart_, n = selLength_, c = cursorPos_, p = prevCursorPos_;
    if (n <= 0) {
        selLength_ = std::abs(p - c);
        selStart_ = c < p ? c : p;
    } else if (c <= s) {
        selLength_ = s == p ? n + (s - c) : s - c;
        selStart_ = c;
    } else if (c >= s + n) {
        if (s >= p) {
            selStart_ = s + n;
            selLength_ = c - (s + n);
        } else {
            selLength_ = c - s;
        }
    } else if (c > p) {
        selStart_ = c;
        selLength_ = s + n - c;
    } else {
        selLength_ = c - s;
    }
}

void TKitBaseEdit::SelectAll() {
    selStart_ = 1;
    selLength_ = TextLength();
    RepaintText(-1);
}

void TKitBaseEdit::SelectWord() {
    if (text_.empty()) return;
    int p = cursorPos_;
    if (IsDelimiter(p)) --p;
    while (p >= 2 && !IsDelimiter(p)) --p;
    if (p != 1 || IsDelimiter(p)) ++p;
    p = std::clamp(p, 1, TextLength() + 1);
    selStart_ = p;
    int q = cursorPos_;
    while (q <= TextLength() && !IsDelimiter(q)) ++q;
    SetIntProp(2, std::max(0, q - selStart_));
}

void TKitBaseEdit::CursorLineHome() {
    int p = cursorPos_;
    while (p >= 2 && CharAt(p - 1) != LF) --p;
    SetIntProp(5, p);
}

void TKitBaseEdit::CursorLineEnd() {
    int p = cursorPos_;
    while (p <= TextLength() && CharAt(p) != CR) ++p;
    SetIntProp(5, p);
}

void TKitBaseEdit::CursorWordRight() {
    int p = cursorPos_;
    if (IsDelimiter(p) && p < TextLength()) ++p;
    while (p <= TextLength() && !IsDelimiter(p)) ++p;
    SetIntProp(5, p);
}

void TKitBaseEdit::CursorWordLeft() {
    int p = cursorPos_;
    if (IsDelimiter(p) && p > 1) --p;
    while (p >= 2 && !IsDelimiter(p)) --p;
    SetIntProp(5, p);
}

void TKitBaseEdit::PlaceCaret(int X, int Y) {
    if (caret_->Style() == csUnder) Y += Canvas()->TextHeight("Qp") - 3;
    else if (caret_->Style() == csUnderBlock) Y += Canvas()->TextHeight("Qp") - caret_->Height() - 2;
    // The one caret of the process may belong to another window by now.
    if (GetCaretOwner() == this) SetCaretPos(X, Y);
}

// ---- Keys ------------------------------------------------------------------------------------

void TKitBaseEdit::SetKeyStateBits(TShiftState Shift) {
    std::uint8_t ks = KitApplication->KeyState() & ksInsert;
    if (Shift & ssShift) ks |= ksShift;
    if (Shift & ssCtrl) ks |= ksCtrl;
    if (Shift & ssAlt) ks |= ksAlt;
    KitApplication->SetKeyState(ks);
}

void TKitBaseEdit::KeyDown(unsigned short& Key, TShiftState Shift) {
    TKitCustomBevelPanel::KeyDown(Key, Shift);
    SetKeyStateBits(Shift);
    if (Key != 0) EditKeyDown(Key, Shift);
}

void TKitBaseEdit::KeyUp(unsigned short& Key, TShiftState Shift) {
    TKitCustomBevelPanel::KeyUp(Key, Shift);
    SetKeyStateBits(Shift);
}

void TKitBaseEdit::EditKeyDown(unsigned short& Key, TShiftState Shift) {
    if (!Enabled()) return;
    const int oldLength = selLength_;
    const bool shift = Shift & ssShift, ctrl = Shift & ssCtrl, alt = Shift & ssAlt;
    switch (Key) {
    case VK_LEFT:
        if (cursorPos_ > 1) {
            int p = cursorPos_ - 1;
            if (CharAt(p) == LF && CharAt(p - 1) == CR) --p;  // a CR LF pair is one step
            SetIntProp(5, p);
        }
        if (ctrl) CursorWordLeft();
        break;
    case VK_RIGHT:
        if (!text_.empty() && cursorPos_ <= TextLength()) {
            int p = cursorPos_ + 1;
            if (CharAt(p) == LF && CharAt(p - 1) == CR) ++p;
            SetIntProp(5, p);
        }
        if (ctrl) CursorWordRight();
        break;
    case VK_HOME:
        if (ctrl) SetIntProp(5, 1);
        else CursorLineHome();
        break;
    case VK_END: CursorLineEnd(); break;
    case VK_BACK:
        if (readOnly_) break;
        if (selLength_ > 0) {
            if (CompletionActive()) {
                selStart_ = cursorPos_ - 1;
                ++selLength_;
            }
            ClearSelection();
        } else if (cursorPos_ > 1) {
            selStart_ = cursorPos_ - 1;
            selLength_ = 1;
            ClearSelection();
        }
        break;
    case VK_DELETE:
        if (shift) {
            CutToClipboard();
        } else if (!readOnly_ && !text_.empty()) {
            if (selLength_ == 0) {
                selStart_ = cursorPos_;
                selLength_ = 1;
            }
            ClearSelection();
        }
        break;
    case VK_INSERT:
        if (shift) PasteFromClipboard();
        else if (ctrl) CopyToClipboard();
        else if (!alt) KitApplication->SetKeyState(KitApplication->KeyState() ^ ksInsert);
        break;
    case VK_RETURN:
        if (!ctrl && tabOnEnter_) {
            if (TCustomForm* form = GetParentForm(this)) form->Perform(WM_NEXTDLGCTL, 0, 0);
        }
        break;
    case VK_ESCAPE:
        selStart_ = cursorPos_;
        SetIntProp(2, 0);
        break;
    case 'A':
        if (ctrl) {
            SelectAll();
            Key = 0;
        }
        break;
    case 'C':
        if (ctrl) {
            CopyToClipboard();
            Key = 0;
        }
        break;
    case 'V':
        if (ctrl) {
            PasteFromClipboard();
            Key = 0;
        }
        break;
    case 'X':
        if (ctrl) {
            CutToClipboard();
            Key = 0;
        }
        break;
    default: break;
    }
    if (selLength_ != oldLength) RepaintText(cursorPos_);
}

void TKitBaseEdit::HandleChar(TMessage& m) {
    std::weak_ptr<void> life = LifeToken();
    TKitCustomBevelPanel::WndProc(m);  // key-press processing (OnKeyPress)
    if (life.expired() || Destroying()) return;
    char32_t ch = TWMChar{m}.CharCode();
    if (ch <= 31 || ch == 127) return;
    if (charCase_ == ecUpperCase && ch >= U'a' && ch <= U'z') ch -= 32;
    else if (charCase_ == ecLowerCase && ch >= U'A' && ch <= U'Z') ch += 32;
    inKeyPress_ = true;
    ReplaceSelectionChars(std::u32string(1, ch));
    inKeyPress_ = false;
}

// ---- Text changes and undo -------------------------------------------------------------------

void TKitBaseEdit::ReplaceSelection(const std::string& S) { ReplaceSelectionChars(KitUtf8ToUtf32(S)); }

void TKitBaseEdit::ClearSelection() { ReplaceSelectionChars({}); }

void TKitBaseEdit::ReplaceSelectionChars(std::u32string S) {
    if (!CanModify(S)) return;
    if (oemConvert_ && !S.empty()) S = KitUtf8ToUtf32(rtl::OemRoundTrip(KitUtf32ToUtf8(S)));
    BeforeChange();
    const int cursorBefore = cursorPos_;
    const int len = TextLength();
    // Every position is kept inside the text.
    selStart_ = std::clamp(selStart_, 1, len + 1);
    selLength_ = std::clamp(selLength_, 0, len + 1 - selStart_);
    const int at = selStart_;

    if (!undoing_) {
        // Line breaks go as a whole; overwrite mode replaces the next character or line break.
        if (selLength_ > 0) {
            if (CharAt(selStart_ + selLength_ - 1) == CR && CharAt(selStart_ + selLength_) == LF) ++selLength_;
            if (CharAt(selStart_) == LF && CharAt(selStart_ - 1) == CR) {
                --selStart_;
                ++selLength_;
            }
        } else {
            if (CharAt(selStart_) == LF && CharAt(selStart_ - 1) == CR) --selStart_;
            if (!InsertMode() && selStart_ <= len) {
                selLength_ = CharAt(selStart_) == CR && CharAt(selStart_ + 1) == LF ? 2 : 1;
            }
        }
    }

    const std::u32string deleted = text_.substr(static_cast<std::size_t>(selStart_ - 1),
                                                static_cast<std::size_t>(selLength_));
    BeforeDelete(selStart_, deleted);
    text_.erase(static_cast<std::size_t>(selStart_ - 1), static_cast<std::size_t>(selLength_));
    selLength_ = 0;
    int p = selStart_;
    if (!undoing_) BeforeInsert(selStart_, S);
    bool inserted = false;
    // Undo always restores: the limit applies to new text only.
    if (undoing_ || maxLength_ <= 0 || TextLength() + static_cast<int>(S.size()) <= maxLength_) {
        text_.insert(static_cast<std::size_t>(selStart_ - 1), S);
        p = selStart_ + static_cast<int>(S.size());
        inserted = true;
    }

    // The record says what was done, so that undo restores the text exactly.
    auto* r = new TKitUndoRecord;
    r->SelStart = selStart_;
    r->Deleted = deleted;
    r->DeletedLength = static_cast<int>(deleted.size());
    if (inserted) r->Inserted = S;
    r->InsertedLength = static_cast<int>(r->Inserted.size());
    r->CursorPos = cursorBefore;
    if (undoing_) {
        canRedo_ = true;
        redoBuffer_->Add(r);
    } else {
        canUndo_ = true;
        undoBuffer_->Add(r);
        redoBuffer_->Clear();
        canRedo_ = false;
    }

    SetBoolProp(2, true);
    TextChanged(at);
    SetIntProp(5, p);
    BeginUpdate();
    SetIntProp(2, 0);
    EndUpdate();
    selStart_ = cursorPos_;
    AfterChange();
}

void TKitBaseEdit::Undo() {
    if (!canUndo_ || undoBuffer_->IsEmpty()) return;
    if (!CanModify({})) return;
    undoing_ = true;
    std::unique_ptr<TKitUndoRecord> r(static_cast<TKitUndoRecord*>(undoBuffer_->Pop()));
    selStart_ = r->SelStart;
    SetIntProp(2, r->InsertedLength);
    ReplaceSelectionChars(r->Deleted);
    undoing_ = false;
    if (undoBuffer_->IsEmpty()) canUndo_ = false;
    SetIntProp(5, r->CursorPos);
    selStart_ = r->SelStart;
    SetIntProp(2, r->DeletedLength);
}

void TKitBaseEdit::ClearUndo() {
    redoBuffer_->Clear();
    undoBuffer_->Clear();
}

int TKitBaseEdit::UndoCount() { return undoBuffer_->Count(); }

// ---- Clipboard -------------------------------------------------------------------------------

void TKitBaseEdit::CopyToClipboard() {
    if (CanCopy()) Clipboard()->SetAsText(GetSelText());
}

void TKitBaseEdit::CutToClipboard() {
    if (!CanCopy()) return;
    Clipboard()->SetAsText(GetSelText());
    ClearSelection();
}

void TKitBaseEdit::PasteFromClipboard() {
    if (CanCopy()) ReplaceSelection(Clipboard()->AsText());
}

void TKitBaseEdit::Clear() {
    SelectAll();
    ClearSelection();
}

int TKitBaseEdit::GetSelTextBuf(std::u32string& Buffer, int BufSize) {
    std::u32string sel = KitUtf8ToUtf32(GetSelText());
    if (BufSize < 0) BufSize = 0;
    if (static_cast<int>(sel.size()) > BufSize) sel.resize(static_cast<std::size_t>(BufSize));
    Buffer = sel;
    return static_cast<int>(sel.size());
}

// ---- Context menu ----------------------------------------------------------------------------

TPopupMenu* TKitBaseEdit::BuildContextMenu() {
    auto* menu = new TPopupMenu(this);
    auto add = [&](const char* caption, bool enabled, std::function<void()> action) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        item->SetEnabled(enabled);
        if (action) item->OnClick = [action](rtl::TObject*) { action(); };
        menu->Items()->Add(item);
    };
    const bool sel = selLength_ >= 1;
    add("&Undo", canUndo_, [this] { Undo(); });
    add("-", true, nullptr);
    add("&Cut", sel && !readOnly_, [this] { CutToClipboard(); });
    add("&Copy", sel, [this] { CopyToClipboard(); });
    add("&Insert", Clipboard()->HasFormat(CF_TEXT) && !readOnly_, [this] { PasteFromClipboard(); });
    add("&Delete", sel, [this] { ClearSelection(); });
    add("-", true, nullptr);
    add("Select all", !text_.empty(), [this] { SelectAll(); });
    return menu;
}

void TKitBaseEdit::SetPopupMenu(TPopupMenu* Value) {
    if (popupMenu_ == Value) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = Value;
    if (popupMenu_) popupMenu_->FreeNotification(this);
    gui::SetPopupMenu(this, popupMenu_);
}

void TKitBaseEdit::WMRButtonUp(TMessage& m) {
    std::weak_ptr<void> life = LifeToken();
    TKitCustomBevelPanel::WndProc(m);
    // The platform shows a menu of the edit's own.
    if (life.expired() || Destroying() || !Enabled() || popupMenu_) return;
    const TPoint at = ClientToScreen(TPoint{LoWordSigned(m.LParam), HiWordSigned(m.LParam)});
    std::unique_ptr<TPopupMenu> menu(BuildContextMenu());
    menu->Popup(at.X, at.Y);
    if (life.expired()) {
        (void)menu.release();  // freed with the edit
        return;
    }
    Application->ProcessMessages();
}

// ---- Mouse -----------------------------------------------------------------------------------

void TKitBaseEdit::TrackMouse() {
    const int p = CharIndexAt(lastMouseX_);
    if (!textDragging_ && selStart_ < p && p < selStart_ + selLength_) {
        savedScreenCursor_ = Screen()->Cursor();
        textDragging_ = true;
        Screen()->SetCursor(crDrag);
    }
    const int oldLength = selLength_;
    SetIntProp(5, p);
    if (selLength_ != oldLength) RepaintText(cursorPos_);
}

void TKitBaseEdit::ScrollTimerTick() {
    if (selLength_ != 0) {
        extendSelection_ = true;
        TrackMouse();
        extendSelection_ = false;
    } else {
        TrackMouse();
    }
}

void TKitBaseEdit::StopScrollTimer() {
    if (scrollTimerID_ == -1) return;
    KitApplication->RemoveTimer(static_cast<std::uint16_t>(scrollTimerID_));
    scrollTimerID_ = -1;
}

void TKitBaseEdit::WMLButtonDown(TMessage& m) {
    std::weak_ptr<void> life = LifeToken();
    TKitCustomBevelPanel::WndProc(m);
    if (life.expired() || Destroying() || !Enabled()) return;
    if (!Focused()) SetFocus();
    // The press's own position (the platform reports it with the press).
    lastMouseX_ = LoWordSigned(m.LParam);
    SetKeyStateBits((m.WParam & MK_SHIFT ? ssShift : 0u) | (m.WParam & MK_CONTROL ? ssCtrl : 0u) |
                    (m.WParam & MK_ALT ? ssAlt : 0u));
    TrackMouse();
    if (scrollTimerID_ == -1)
        scrollTimerID_ = KitApplication->AddTimer(200, [this](rtl::TObject*) { ScrollTimerTick(); }) & 0xFFFF;
}

void TKitBaseEdit::WMMouseMove(TMessage& m) {
    std::weak_ptr<void> life = LifeToken();
    TKitCustomBevelPanel::WndProc(m);
    if (life.expired() || Destroying() || !Enabled()) return;
    lastMouseX_ = LoWordSigned(m.LParam);
    if ((m.WParam & ~MK_ALT) == MK_LBUTTON) {
        const int old = cursorPos_;
        extendSelection_ = true;
        SetIntProp(5, CharIndexAt(lastMouseX_));
        extendSelection_ = false;
        if (cursorPos_ != old) RepaintText(cursorPos_);
    }
}

void TKitBaseEdit::WMLButtonUp(TMessage& m) {
    std::weak_ptr<void> life = LifeToken();
    TKitCustomBevelPanel::WndProc(m);
    if (life.expired() || Destroying()) return;
    StopScrollTimer();
    if (!textDragging_) return;
    Screen()->SetCursor(savedScreenCursor_);
    textDragging_ = false;
    int t = cursorPos_;
    if (selStart_ <= t && t <= selStart_ + selLength_) {
        // Dropped onto itself.
        selLength_ = 0;
        selStart_ = cursorPos_;
        RepaintText(-1);
        return;
    }
    const std::string s = GetSelText();
    const int moved = static_cast<int>(KitUtf8ToUtf32(s).size());
    ClearSelection();
    if (t > selStart_) t -= moved;
    if (CharAt(t) == LF && CharAt(t - 1) == CR) --t;
    SetIntProp(5, t);
    ReplaceSelection(s);
    RepaintText(t);
    SetIntProp(5, t);
}

// ---- Focus -----------------------------------------------------------------------------------

void TKitBaseEdit::WMSetFocus() {
    UpdateBuffer();
    if (caret_->Style() == csDefault) {
        Canvas()->Font()->Assign(*Font());
        caret_->SetLineHeight(static_cast<std::uint16_t>(GetTextHeight("Qp")));
    }
    caret_->CreateCaretShape();
    caret_->Show();
    if (RepaintOnFocus()) RepaintText(-1);
    if (Flat()) {
        DrawFlatFrameHot();
        if (PaintThemed()) RepaintText(-1);
    }
    if (hideSelection_ || autoSelect_) {
        if (autoSelect_) SelectAll();
        selectionHidden_ = false;
        if (selLength_ != 0) RepaintText(-1);
    }
    UpdateCaretPos();
}

void TKitBaseEdit::WMKillFocus() {
    if (ThemedFlat()) RepaintText(-1);
    caret_->DestroyCaretShape();
    bufferBitmap_.reset();
}

// ---- Messages --------------------------------------------------------------------------------

void TKitBaseEdit::GetSel(int& Start, int& End) {
    Start = selStart_ - 1;
    End = selStart_ + selLength_ - 1;
}

void TKitBaseEdit::SetSel(int Start, int End) {
    if (Start == -1) {
        SetIntProp(2, 0);
        return;
    }
    if (Start == 0 && End == -1) {
        SelectAll();
        return;
    }
    const int len = TextLength();
    if (End < 0) End = len;
    Start = std::clamp(Start, 0, len);
    End = std::clamp(End, 0, len);
    if (End < Start) std::swap(Start, End);
    SetIntProp(5, Start + 1);
    selStart_ = Start + 1;
    SetIntProp(2, End - selStart_ + 1);
}

TPoint TKitBaseEdit::PosFromChar(int Index) { return CharPoint(Index); }

TPoint TKitBaseEdit::CharPoint(int Index) {
    const int n = std::clamp(Index, 0, TextLength());
    const std::string head = KitUtf32ToUtf8(text_.substr(0, static_cast<std::size_t>(n)));
    return TPoint{MeasureText(head) + textRect_.Left - scrollOffset_, 0};
}

void TKitBaseEdit::WndProc(TMessage& m) {
    if (closing_) {
        TKitCustomBevelPanel::WndProc(m);
        return;
    }
    std::weak_ptr<void> life = LifeToken();
    auto inherited = [&] { TKitCustomBevelPanel::WndProc(m); };
    auto alive = [&] { return !life.expired() && !Destroying(); };
    switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_GETDLGCODE:
        inherited();
        m.Result |= 0x81;  // arrows and characters
        return;
    case WM_SETTEXT:
        inherited();
        if (!alive()) return;
        TextReset();
        BackFXChange(nullptr);
        return;
    case WM_GETTEXT:
        inherited();
        if (alive()) TextRead();
        return;
    case WM_GETTEXTLENGTH: m.Result = TextLength(); return;
    case WM_CUT: CutToClipboard(); return;
    case WM_COPY: CopyToClipboard(); return;
    case WM_PASTE: PasteFromClipboard(); return;
    case WM_CLEAR: ClearSelection(); return;
    case WM_CHAR: HandleChar(m); return;
    case WM_LBUTTONDOWN: WMLButtonDown(m); return;
    case WM_LBUTTONUP: WMLButtonUp(m); return;
    case WM_MOUSEMOVE: WMMouseMove(m); return;
    case WM_RBUTTONUP: WMRButtonUp(m); return;
    case WM_LBUTTONDBLCLK:
        inherited();
        if (!alive() || !Enabled()) return;
        BeginUpdate();
        SelectWord();
        EndUpdate();
        RepaintText(cursorPos_);
        return;
    case WM_SETFOCUS:
        inherited();
        if (alive()) WMSetFocus();
        return;
    case WM_KILLFOCUS:
        if (hideSelection_ && selLength_ >= 1) {
            selectionHidden_ = true;
            RepaintText(-1);
        }
        inherited();
        if (alive()) WMKillFocus();
        return;
    case WM_SIZE:
        inherited();
        if (!alive()) return;
        if (Focused()) UpdateBuffer();
        else UpdateRects();
        return;
    case CM_FONTCHANGED:
        inherited();
        if (!alive()) return;
        caret_->SetLineHeight(static_cast<std::uint16_t>(GetTextHeight("Qp")));
        // The one caret of the process belongs to the focused window.
        if (Focused()) caret_->CreateCaretShape();
        return;
    case CM_ENABLEDCHANGED:
        inherited();
        if (!alive()) return;
        if (boundLabel_) boundLabel_->SetEnabled(Enabled());
        RepaintText(-1);
        return;
    case CM_VISIBLECHANGED:
        inherited();
        if (alive() && boundLabel_) boundLabel_->SetVisible(Visible());
        return;
    case CM_MOUSEENTER:
        inherited();
        if (!alive() || Designing()) return;
        if (focusOnMouseAbove_ && Enabled()) SetFocus();
        else if (PaintThemed() && Flat()) Invalidate();
        return;
    case CM_MOUSELEAVE:
        inherited();
        if (alive() && !Designing() && PaintThemed() && Flat()) RepaintText(-1);
        return;

    case EM_GETSEL: {
        int s = 0, e = 0;
        GetSel(s, e);
        if (m.WParam) *reinterpret_cast<int*>(m.WParam) = s;
        if (m.LParam) *reinterpret_cast<int*>(m.LParam) = e;
        m.Result = MakeLParam(s, e);
        return;
    }
    case EM_SETSEL:
        SetSel(static_cast<int>(static_cast<LPARAM>(m.WParam)), static_cast<int>(m.LParam));
        return;
    case EM_REPLACESEL:
        ReplaceSelection(m.LParam ? reinterpret_cast<const char*>(m.LParam) : "");
        if (m.WParam == 0) ClearUndo();
        return;
    case EM_GETMODIFY: m.Result = modified_ ? 1 : 0; return;
    case EM_SETMODIFY: SetBoolProp(2, m.WParam != 0); return;
    case EM_SETREADONLY:
        SetReadOnly(m.WParam != 0);
        m.Result = 1;
        return;
    case EM_LIMITTEXT: SetMaxLength(static_cast<int>(m.WParam)); return;
    case EM_GETLIMITTEXT: m.Result = maxLength_; return;
    case EM_CANUNDO: m.Result = canUndo_ ? 1 : 0; return;
    case EM_UNDO:
        Undo();
        m.Result = canUndo_ ? 1 : 0;
        return;
    case EM_EMPTYUNDOBUFFER:
        undoBuffer_->Clear();
        canUndo_ = false;
        return;
    case EM_GETRECT:
        if (m.LParam) *reinterpret_cast<TRect*>(m.LParam) = textRect_;
        return;
    case EM_POSFROMCHAR: {
        const TPoint p = PosFromChar(static_cast<int>(m.WParam));
        m.Result = MakeLParam(p.X, p.Y);
        return;
    }
    case EM_CHARFROMPOS:
        m.Result = MakeLParam(GetCharAt(LoWordSigned(m.LParam)), GetLineAt(HiWordSigned(m.LParam)));
        return;
    case EM_GETLINE: {
        // WParam is the buffer's size in bytes; whole characters only.
        const std::string all = KitUtf32ToUtf8(text_);
        std::size_t n = std::min<std::size_t>(all.size(), m.WParam);
        while (n > 0 && n < all.size() && (static_cast<unsigned char>(all[n]) & 0xC0) == 0x80) --n;
        if (m.LParam && n > 0) std::memcpy(reinterpret_cast<char*>(m.LParam), all.data(), n);
        m.Result = static_cast<LRESULT>(n);
        return;
    }
    case EM_LINELENGTH: m.Result = TextLength(); return;
    case EM_GETLINECOUNT: m.Result = 1; return;
    case EM_LINEINDEX: case EM_LINEFROMCHAR: case EM_GETFIRSTVISIBLELINE: case EM_GETHANDLE:
    case EM_GETMARGINS: case EM_GETPASSWORDCHAR: case EM_GETTHUMB: case EM_GETWORDBREAKPROC:
        m.Result = 0;
        return;
    case EM_FMTLINES: case EM_LINESCROLL: case EM_SCROLL: case EM_SCROLLCARET: case EM_SETHANDLE:
    case EM_SETMARGINS: case EM_SETPASSWORDCHAR: case EM_SETRECT: case EM_SETRECTNP:
    case EM_SETTABSTOPS: case EM_SETWORDBREAKPROC:
        return;
    default: break;
    }
    inherited();
}

}  // namespace kit
