#include "platform/gui/ListBoxes.h"

#include <QImage>
#include <QWidget>

#include <algorithm>

#include "platform/gdi/Drawing.h"
#include "platform/rtl/SysUtils.h"

namespace gui {

// ---- Items ------------------------------------------------------------------------------------

int TListBoxStrings::Count() const { return static_cast<int>(box_->Perform(LB_GETCOUNT, 0, 0)); }

std::string TListBoxStrings::Get(int index) const {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    if (box_->Virtual()) return box_->DoGetData(index);
    std::string s;
    box_->Perform(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&s));
    return s;
}

void TListBoxStrings::Put(int index, const std::string& s) {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    const int focused = box_->ItemIndex();
    const bool selected = box_->Selected(index);
    const LPARAM data = box_->InternalGetItemData(index);
    // The item is replaced, not deleted: a list box that frees its item data on deletion
    // must not see this one.
    box_->Perform(LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    Insert(index, s);
    box_->InternalSetItemData(index, data);
    if (box_->MultiSelect() && selected) box_->SetSelected(index, true);
    box_->SetItemIndex(focused);
}

void TListBoxStrings::Insert(int index, const std::string& s) {
    if (box_->Virtual()) throw rtl::EListError("Virtuelle Liste kann keine Einträge aufnehmen");
    if (index < 0 || index > Count()) rtl::RaiseListIndexError(index);
    box_->Perform(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
}

int TListBoxStrings::Add(const std::string& s) {
    if (box_->Virtual()) throw rtl::EListError("Virtuelle Liste kann keine Einträge aufnehmen");
    return static_cast<int>(box_->Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str())));
}

void TListBoxStrings::Delete(int index) {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    box_->DeleteString(index);
}

void TListBoxStrings::Clear() { box_->ResetContent(); }

rtl::TObject* TListBoxStrings::Objects(int index) const {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    return reinterpret_cast<rtl::TObject*>(box_->GetItemData(index));
}

void TListBoxStrings::PutObject(int index, rtl::TObject* object) {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    box_->SetItemData(index, reinterpret_cast<LPARAM>(object));
}

// ---- The list box -----------------------------------------------------------------------------

TCustomListBox::TCustomListBox(rtl::TComponent* owner)
    : TCustomControl(owner), items_(std::make_unique<TListBoxStrings>(this)) {
    Widget()->setFocusPolicy(Qt::StrongFocus);
    // OnClick follows the selection-change notification, not the mouse.
    SetClickEvents(false);
    SetColor(gdi::clWindow);
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
    if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

int TCustomListBox::Count() const { return static_cast<int>(list_.size()); }

void TCustomListBox::SetCount(int n) { Perform(LB_SETCOUNT, static_cast<WPARAM>(std::max(0, n)), 0); }

void TCustomListBox::SetStyle(TListBoxStyle s) {
    if (s == style_) return;
    style_ = s;
    if (Variable())
        for (int i = 0; i < Count(); ++i) {
            TMeasureItemStruct mis{i, itemHeight_};
            Perform(CN_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
            list_[i].height = mis.itemHeight;
        }
    SetTopIndex(top_);
    RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateWnd();
}

void TCustomListBox::SetSorted(bool v) {
    if (v == sorted_) return;
    sorted_ = v;
    if (!v || Virtual()) return;
    // The items take their order with their data; the selection follows its item.
    std::vector<int> order(list_.size());
    for (int i = 0; i < Count(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return rtl::CompareText(list_[a].text, list_[b].text) < 0;
    });
    std::vector<Item> sorted;
    int current = -1;
    for (int i = 0; i < Count(); ++i) {
        sorted.push_back(list_[order[i]]);
        if (order[i] == cur_) current = i;
    }
    list_ = std::move(sorted);
    cur_ = current;
    anchor_ = cur_;
    Invalidate();
}

int TCustomListBox::ItemIndex() const {
    return static_cast<int>(const_cast<TCustomListBox*>(this)->Perform(multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int i) {
    if (multiSelect_)
        Perform(LB_SETCARETINDEX, static_cast<WPARAM>(i), 0);
    else
        Perform(LB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

void TCustomListBox::SetMultiSelect(bool v) {
    if (v == multiSelect_) return;
    multiSelect_ = v;
    for (Item& it : list_) it.selected = false;
    if (v && cur_ >= 0 && cur_ < Count()) list_[cur_].selected = true;
    anchor_ = cur_;
    RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool v) {
    if (v == extendedSelect_) return;
    extendedSelect_ = v;
    RecreateWnd();
}

bool TCustomListBox::Selected(int index) const {
    const LRESULT r = const_cast<TCustomListBox*>(this)->Perform(LB_GETSEL, static_cast<WPARAM>(index), 0);
    if (r == LB_ERR) rtl::RaiseListIndexError(index);
    return r > 0;
}

void TCustomListBox::SetSelected(int index, bool v) {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    if (multiSelect_) {
        Perform(LB_SETSEL, v ? 1 : 0, index);
    } else if (v) {
        SetItemIndex(index);
    } else if (cur_ == index) {
        SetItemIndex(-1);
    }
}

int TCustomListBox::SelCount() const {
    return static_cast<int>(const_cast<TCustomListBox*>(this)->Perform(LB_GETSELCOUNT, 0, 0));
}

void TCustomListBox::ClearSelection() {
    if (multiSelect_)
        Perform(LB_SETSEL, 0, -1);
    else
        SetItemIndex(-1);
}

void TCustomListBox::SelectAll() {
    if (multiSelect_) Perform(LB_SETSEL, 1, -1);
}

void TCustomListBox::DeleteSelected() {
    if (multiSelect_) {
        for (int i = Count() - 1; i >= 0; --i)
            if (list_[i].selected) DeleteString(i);
    } else if (cur_ >= 0) {
        DeleteString(cur_);
    }
}

int TCustomListBox::ItemHeight() const {
    if (style_ != lbStandard && style_ != lbVirtual) return itemHeight_;
    // Text styles: the font's line height, measured once per font.
    if (fontHeight_ < 0) {
        static QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
        gdi::TCanvas c(&probe);
        c.Font()->Assign(const_cast<TCustomListBox*>(this)->font_);
        fontHeight_ = std::max(1, c.TextHeight("Wg"));
    }
    return fontHeight_;
}

int TCustomListBox::TotalHeight() const {
    if (!Variable()) return Count() * ItemHeight();
    int total = 0;
    for (const Item& it : list_) total += it.height;
    return total;
}

void TCustomListBox::SetItemHeight(int h) {
    if (h > 0) Perform(LB_SETITEMHEIGHT, 0, h);
}

int TCustomListBox::HeightOf(int index) const {
    return Variable() ? list_[index].height : ItemHeight();
}

void TCustomListBox::SetTopIndex(int i) { Perform(LB_SETTOPINDEX, static_cast<WPARAM>(i), 0); }

int TCustomListBox::MaxTop() const {
    const int ch = ClientHeight();
    if (!Variable()) return std::max(0, Count() - std::max(1, ch / ItemHeight()));
    int sum = 0;
    for (int i = Count() - 1; i >= 0; --i) {
        sum += HeightOf(i);
        if (sum > ch) return std::min(Count() - 1, i + 1);
    }
    return 0;
}

int TCustomListBox::PageItems() const {
    const int ch = ClientHeight();
    int sum = 0, n = 0;
    for (int i = top_; i < Count(); ++i) {
        sum += HeightOf(i);
        if (sum > ch) break;
        ++n;
    }
    return std::max(1, n);
}

gdi::TRect TCustomListBox::ItemRect(int index) const {
    gdi::TRect r;
    const_cast<TCustomListBox*>(this)->Perform(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

int TCustomListBox::ItemAtPos(gdi::TPoint p, bool existing) const {
    if (p.X >= 0 && p.Y >= 0 && p.X < ClientWidth() && p.Y < ClientHeight()) {
        int y = 0;
        for (int i = top_; i < Count(); ++i) {
            y += HeightOf(i);
            if (p.Y < y) return i;
        }
        if (!existing) return Count();
    }
    return -1;
}

bool TCustomListBox::VertScrollBarShown() const {
    TCreateParams params;
    const_cast<TCustomListBox*>(this)->CreateParams(params);
    if (!(params.Style & WS_VSCROLL)) return false;
    const int b = BorderExtent();
    int h = Height() - 2 * b;
    const int total = TotalHeight();
    if (total > h) return true;
    // A horizontal bar takes room from the items.
    if ((params.Style & WS_HSCROLL) && hExtent_ > Width() - 2 * b) h -= ScrollBarSize;
    return total > h;
}

bool TCustomListBox::HorzScrollBarShown() const {
    TCreateParams params;
    const_cast<TCustomListBox*>(this)->CreateParams(params);
    if (!(params.Style & WS_HSCROLL)) return false;
    const int w = Width() - 2 * BorderExtent() - (VertScrollBarShown() ? ScrollBarSize : 0);
    return hExtent_ > w;
}

int TCustomListBox::ClientWidth() const {
    return std::max(0, TCustomControl::ClientWidth() - (VertScrollBarShown() ? ScrollBarSize : 0));
}

int TCustomListBox::ClientHeight() const {
    return std::max(0, TCustomControl::ClientHeight() - (HorzScrollBarShown() ? ScrollBarSize : 0));
}

std::string TCustomListBox::DoGetData(int index) {
    std::string s;
    if (OnData) OnData(this, index, s);
    return s;
}

std::string TCustomListBox::TextOf(int index) {
    return Virtual() ? DoGetData(index) : list_[index].text;
}

LPARAM TCustomListBox::GetItemData(int index) { return InternalGetItemData(index); }
void TCustomListBox::SetItemData(int index, LPARAM data) { InternalSetItemData(index, data); }
LPARAM TCustomListBox::InternalGetItemData(int index) {
    return Perform(LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}
void TCustomListBox::InternalSetItemData(int index, LPARAM data) {
    Perform(LB_SETITEMDATA, static_cast<WPARAM>(index), data);
}
void TCustomListBox::DeleteString(int index) { Perform(LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
void TCustomListBox::ResetContent() { Perform(LB_RESETCONTENT, 0, 0); }

void TCustomListBox::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

int TCustomListBox::InsertItem(int index, const std::string& s) {
    list_.insert(list_.begin() + index, Item{s, 0, itemHeight_, false});
    if (cur_ >= index) ++cur_;
    if (anchor_ >= index) ++anchor_;
    if (Variable()) {
        TMeasureItemStruct mis{index, itemHeight_};
        Perform(CN_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
        list_[index].height = std::max(1, mis.itemHeight);
    }
    Invalidate();
    return index;
}

void TCustomListBox::MakeVisible(int index) {
    if (index < 0 || index >= Count()) return;
    if (index < top_) {
        SetTopIndex(index);
        return;
    }
    // Scroll down until the item's bottom is inside: the first top from which it fits.
    const int ch = ClientHeight();
    int t = index, sum = HeightOf(index);
    while (t > top_ && sum + HeightOf(t - 1) <= ch) sum += HeightOf(--t);
    if (t != top_) SetTopIndex(t);
}

void TCustomListBox::Notify() {
    Perform(CN_COMMAND, static_cast<WPARAM>(LBN_SELCHANGE) << 16, 0);
}

void TCustomListBox::SelectRange(int from, int to, bool keepOthers) {
    if (from > to) std::swap(from, to);
    for (int i = 0; i < Count(); ++i)
        if (i >= from && i <= to)
            list_[i].selected = true;
        else if (!keepOthers)
            list_[i].selected = false;
}

bool TCustomListBox::MoveTo(int index, TShiftState shift, bool fromMouse) {
    if (index < 0 || index >= Count()) return false;
    std::vector<bool> before;
    for (const Item& it : list_) before.push_back(it.selected);
    const int oldCur = cur_;
    if (!multiSelect_) {
        cur_ = index;
    } else if (!extendedSelect_) {
        cur_ = index;
        if (fromMouse) list_[index].selected = !list_[index].selected;
    } else if (shift & ssShift) {
        if (anchor_ < 0 || anchor_ >= Count()) anchor_ = cur_ >= 0 ? cur_ : index;
        SelectRange(anchor_, index, (shift & ssCtrl) != 0);
        cur_ = index;
    } else if (shift & ssCtrl) {
        cur_ = index;
        if (fromMouse) {
            list_[index].selected = !list_[index].selected;
            anchor_ = index;
        }
    } else {
        SelectRange(index, index, false);
        anchor_ = index;
        cur_ = index;
    }
    MakeVisible(index);
    bool changed = multiSelect_ ? false : oldCur != cur_;
    for (int i = 0; i < Count(); ++i) changed = changed || before[i] != list_[i].selected;
    if (changed || oldCur != cur_) Invalidate();
    if (changed) Notify();
    return changed || oldCur != cur_;
}

// ---- Painting ---------------------------------------------------------------------------------

void TCustomListBox::Paint() {
    gdi::TCanvas& c = *Canvas();
    const bool focused = Focused();
    for (int i = top_; i < Count(); ++i) {
        const gdi::TRect r = ItemRect(i);
        if (r.Top >= ClientHeight()) break;
        c.Font()->Assign(font_);
        c.Brush()->SetColor(Color());
        TDrawItemStruct dis;
        dis.itemID = i;
        dis.rcItem = r;
        dis.itemData = list_[i].data;
        if (multiSelect_ ? list_[i].selected : i == cur_) dis.itemState |= ODS_SELECTED;
        if (focused && i == cur_) dis.itemState |= ODS_FOCUS;
        if (!Enabled()) dis.itemState |= ODS_DISABLED;
        if (style_ == lbStandard || style_ == lbVirtual)
            DefaultDrawItem(dis);
        else
            Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    }
    if (Count() == 0 && focused) {
        // The focus of an empty list.
        c.Font()->Assign(font_);
        c.Brush()->SetColor(Color());
        TDrawItemStruct dis;
        dis.itemState = ODS_FOCUS;
        dis.rcItem = gdi::Rect(0, 0, ClientWidth(), ItemHeight());
        if (style_ == lbStandard || style_ == lbVirtual)
            DefaultDrawItem(dis);
        else
            Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    }
    if (OnPaint) OnPaint(this);
}

void TCustomListBox::DefaultDrawItem(TDrawItemStruct& dis) {
    gdi::TCanvas& c = *Canvas();
    if (dis.itemState & ODS_SELECTED) {
        c.Brush()->SetColor(gdi::clHighlight);
        c.Font()->SetColor(gdi::clHighlightText);
    }
    if (dis.itemID >= 0 && dis.itemID < Count())
        DrawItem(dis.itemID, dis.rcItem, dis.itemState);
    else
        c.FillRect(dis.rcItem);
    if (dis.itemState & ODS_FOCUS) gdi::DrawFocusRect(c, dis.rcItem);
}

void TCustomListBox::DrawItem(int index, gdi::TRect rect, TOwnerDrawState state) {
    if (OnDrawItem && style_ != lbStandard && style_ != lbVirtual) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    gdi::TCanvas& c = *Canvas();
    if (state & odDisabled) c.Font()->SetColor(gdi::clGrayText);
    c.FillRect(rect);
    c.Brush()->SetStyle(gdi::bsClear);
    c.TextRect(rect, rect.Left + 2, rect.Top, TextOf(index));
}

TCustomListBox::Bar TCustomListBox::VertBar() const {
    Bar bar;
    const int x = ClientWidth(), h = ClientHeight();
    const int arrow = std::min(ScrollBarSize, h / 2);
    bar.whole = gdi::Rect(x, 0, x + ScrollBarSize, h);
    bar.dec = gdi::Rect(x, 0, x + ScrollBarSize, arrow);
    bar.inc = gdi::Rect(x, h - arrow, x + ScrollBarSize, h);
    const int track = h - 2 * arrow, maxTop = MaxTop();
    if (maxTop <= 0 || track < 8) return bar;
    const int page = PageItems();
    const int len = std::clamp(track * page / (maxTop + page), 8, track);
    const int pos = arrow + (track - len) * std::min(top_, maxTop) / maxTop;
    bar.thumb = gdi::Rect(x, pos, x + ScrollBarSize, pos + len);
    return bar;
}

TCustomListBox::Bar TCustomListBox::HorzBar() const {
    Bar bar;
    const int y = ClientHeight(), w = ClientWidth();
    const int arrow = std::min(ScrollBarSize, w / 2);
    bar.whole = gdi::Rect(0, y, w, y + ScrollBarSize);
    bar.dec = gdi::Rect(0, y, arrow, y + ScrollBarSize);
    bar.inc = gdi::Rect(w - arrow, y, w, y + ScrollBarSize);
    const int track = w - 2 * arrow, range = hExtent_ - w;
    if (range <= 0 || track < 8) return bar;
    const int len = std::clamp(track * w / hExtent_, 8, track);
    const int pos = arrow + (track - len) * std::min(hPos_, range) / range;
    bar.thumb = gdi::Rect(pos, y, pos + len, y + ScrollBarSize);
    return bar;
}

void TCustomListBox::DrawScrollBars() {
    const bool v = VertScrollBarShown(), h = HorzScrollBarShown();
    if (!v && !h) return;
    gdi::TCanvas& c = *WindowCanvas();
    const int b = BorderExtent();
    auto shift = [b](gdi::TRect r) { return gdi::Rect(r.Left + b, r.Top + b, r.Right + b, r.Bottom + b); };
    auto drawBar = [&](const Bar& bar, bool vertical) {
        c.Brush()->SetColor(gdi::clScrollBar);
        c.FillRect(shift(bar.whole));
        for (const gdi::TRect& box : {bar.dec, bar.inc, bar.thumb}) {
            if (box.Right <= box.Left || box.Bottom <= box.Top) continue;
            gdi::TRect r = shift(box);
            gdi::DrawEdge(c, r, gdi::EDGE_RAISED, gdi::BF_RECT | gdi::BF_MIDDLE);
        }
        // Arrows: small triangles in the button text colour.
        c.Brush()->SetColor(gdi::clBtnText);
        c.Pen()->SetColor(gdi::clBtnText);
        for (int k = 0; k < 2; ++k) {
            const gdi::TRect r = shift(k == 0 ? bar.dec : bar.inc);
            const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
            const int d = k == 0 ? -1 : 1;
            std::vector<gdi::TPoint> tri;
            if (vertical)
                tri = {{cx - 3, cy - d * 1}, {cx + 3, cy - d * 1}, {cx, cy + d * 2}};
            else
                tri = {{cx - d * 1, cy - 3}, {cx - d * 1, cy + 3}, {cx + d * 2, cy}};
            c.Polygon(tri);
        }
    };
    if (v) drawBar(VertBar(), true);
    if (h) drawBar(HorzBar(), false);
    if (v && h) {
        c.Brush()->SetColor(gdi::clBtnFace);
        c.FillRect(shift(gdi::Rect(ClientWidth(), ClientHeight(), ClientWidth() + ScrollBarSize,
                                   ClientHeight() + ScrollBarSize)));
    }
}

// ---- Scrolling --------------------------------------------------------------------------------

void TCustomListBox::ScrollVert(unsigned code, int pos) {
    const int page = std::max(1, PageItems() - 1);
    int t = top_;
    switch (code) {
    case SB_LINEUP: --t; break;
    case SB_LINEDOWN: ++t; break;
    case SB_PAGEUP: t -= page; break;
    case SB_PAGEDOWN: t += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: t = thumbDrag_ == 1 ? trackPos_ : pos; break;
    case SB_TOP: t = 0; break;
    case SB_BOTTOM: t = MaxTop(); break;
    default: return;
    }
    SetTopIndex(std::clamp(t, 0, MaxTop()));
}

void TCustomListBox::ScrollHorz(unsigned code, int pos) {
    const int line = 8;
    int p = hPos_;
    switch (code) {
    case SB_LINELEFT: p -= line; break;
    case SB_LINERIGHT: p += line; break;
    case SB_PAGELEFT: p -= ClientWidth(); break;
    case SB_PAGERIGHT: p += ClientWidth(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: p = thumbDrag_ == 2 ? trackPos_ : pos; break;
    case SB_LEFT: p = 0; break;
    case SB_RIGHT: p = hExtent_; break;
    default: return;
    }
    p = std::clamp(p, 0, std::max(0, hExtent_ - ClientWidth()));
    if (p != hPos_) {
        hPos_ = p;
        Invalidate();
    }
}

bool TCustomListBox::ScrollBarHit(int x, int y) {
    const gdi::TPoint p{x, y};
    auto in = [&p](const gdi::TRect& r) {
        return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
    };
    if (VertScrollBarShown() && in(VertBar().whole)) {
        const Bar bar = VertBar();
        if (in(bar.dec)) Perform(WM_VSCROLL, SB_LINEUP, 0);
        else if (in(bar.inc)) Perform(WM_VSCROLL, SB_LINEDOWN, 0);
        else if (in(bar.thumb)) thumbDrag_ = 1, thumbGrab_ = y - bar.thumb.Top;
        else if (bar.thumb.Bottom > bar.thumb.Top) Perform(WM_VSCROLL, y < bar.thumb.Top ? SB_PAGEUP : SB_PAGEDOWN, 0);
        return true;
    }
    if (HorzScrollBarShown() && in(HorzBar().whole)) {
        const Bar bar = HorzBar();
        if (in(bar.dec)) Perform(WM_HSCROLL, SB_LINELEFT, 0);
        else if (in(bar.inc)) Perform(WM_HSCROLL, SB_LINERIGHT, 0);
        else if (in(bar.thumb)) thumbDrag_ = 2, thumbGrab_ = x - bar.thumb.Left;
        else if (bar.thumb.Right > bar.thumb.Left) Perform(WM_HSCROLL, x < bar.thumb.Left ? SB_PAGELEFT : SB_PAGERIGHT, 0);
        return true;
    }
    return false;
}

// ---- Input ------------------------------------------------------------------------------------

void TCustomListBox::KeyDown(unsigned short& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    const int n = Count();
    if (key == 0 || n == 0) return;
    const int c = cur_;
    int target = -1;
    switch (key) {
    case VK_UP: target = c < 0 ? 0 : c - 1; break;
    case VK_DOWN: target = c < 0 ? 0 : c + 1; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = n - 1; break;
    case VK_PRIOR: target = c < 0 ? 0 : c - std::max(1, PageItems() - 1); break;
    case VK_NEXT: target = c < 0 ? 0 : c + std::max(1, PageItems() - 1); break;
    case VK_LEFT: Perform(WM_HSCROLL, SB_LINELEFT, 0); return;
    case VK_RIGHT: Perform(WM_HSCROLL, SB_LINERIGHT, 0); return;
    case VK_SPACE:
        // Toggles the focused item of a multiple selection (with Ctrl in the extended one).
        if (multiSelect_ && c >= 0 && (!extendedSelect_ || (shift & ssCtrl))) {
            list_[c].selected = !list_[c].selected;
            anchor_ = c;
            Invalidate();
            Notify();
        }
        return;
    default: return;
    }
    target = std::clamp(target, 0, n - 1);
    MoveTo(target, shift, false);
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (ScrollBarHit(x, y)) return;
    if (CanFocus() && !Focused()) SetFocus();
    const int index = ItemAtPos({x, y}, true);
    if (index < 0) return;
    tracking_ = true;
    MoveTo(index, shift & ~ssDouble, true);
}

void TCustomListBox::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    // The scroll message carries the low 16 bits of the thumb's position, as the system's does;
    // the handler takes the full position from trackPos_ (the scroll-info query's track position).
    auto track = [this](int offset, int free, int range) {
        const long long p = (static_cast<long long>(offset) * range + free / 2) / free;
        trackPos_ = static_cast<int>(std::clamp<long long>(p, 0, std::max(0, range)));
        return SB_THUMBTRACK | (static_cast<WPARAM>(trackPos_ & 0xFFFF) << 16);
    };
    if (thumbDrag_ == 1) {
        const Bar bar = VertBar();
        const int arrow = bar.dec.Bottom - bar.dec.Top;
        const int free = (bar.inc.Top - arrow) - (bar.thumb.Bottom - bar.thumb.Top);
        if (free > 0) Perform(WM_VSCROLL, track(y - thumbGrab_ - arrow, free, MaxTop()), 0);
        return;
    }
    if (thumbDrag_ == 2) {
        const Bar bar = HorzBar();
        const int arrow = bar.dec.Right - bar.dec.Left;
        const int free = (bar.inc.Left - arrow) - (bar.thumb.Right - bar.thumb.Left);
        if (free > 0) Perform(WM_HSCROLL, track(x - thumbGrab_ - arrow, free, hExtent_ - ClientWidth()), 0);
        return;
    }
    // Dragging over the items moves the selection (a range in the extended selection).
    if (!tracking_ || (multiSelect_ && !extendedSelect_) || !(shift & ssLeft)) return;
    const int yy = std::clamp(y, 0, std::max(0, ClientHeight() - 1));
    int index = ItemAtPos({std::clamp(x, 0, std::max(0, ClientWidth() - 1)), yy}, true);
    if (y < 0 && top_ > 0) index = top_ - 1;
    if (index < 0 || index == cur_) return;
    MoveTo(index, multiSelect_ ? TShiftState(ssShift) : TShiftState(0), false);
}

void TCustomListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    tracking_ = false;
    thumbDrag_ = 0;
}

// ---- Messages ---------------------------------------------------------------------------------

void TCustomListBox::WndProc(TMessage& m) {
    const int n = Count();
    const int index = static_cast<int>(static_cast<std::intptr_t>(m.WParam));
    auto valid = [n](int i) { return i >= 0 && i < n; };
    switch (m.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        if (Virtual()) { m.Result = LB_ERR; return; }
        const std::string s = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
        int at = n;
        if (m.Msg == LB_INSERTSTRING) {
            if (index > n) { m.Result = LB_ERR; return; }
            if (index >= 0) at = index;
        } else if (sorted_) {
            at = static_cast<int>(std::upper_bound(list_.begin(), list_.end(), s,
                [](const std::string& a, const Item& b) { return rtl::CompareText(a, b.text) < 0; }) - list_.begin());
        }
        m.Result = InsertItem(at, s);
        return;
    }
    case LB_DELETESTRING:
        if (!valid(index)) { m.Result = LB_ERR; return; }
        list_.erase(list_.begin() + index);
        if (cur_ == index) cur_ = multiSelect_ ? std::min(cur_, n - 2) : -1;
        else if (cur_ > index) --cur_;
        if (anchor_ == index) anchor_ = -1;
        else if (anchor_ > index) --anchor_;
        top_ = std::clamp(top_, 0, MaxTop());
        Invalidate();
        m.Result = n - 1;
        return;
    case LB_RESETCONTENT:
        list_.clear();
        cur_ = anchor_ = -1;
        top_ = 0;
        Invalidate();
        return;
    case LB_SETCOUNT:
        if (!Virtual()) { m.Result = LB_ERR; return; }
        list_.resize(static_cast<std::size_t>(std::max(0, index)), Item{{}, 0, itemHeight_, false});
        if (cur_ >= Count()) cur_ = -1;
        if (anchor_ >= Count()) anchor_ = -1;
        top_ = std::clamp(top_, 0, MaxTop());
        Invalidate();
        return;
    case LB_GETCOUNT: m.Result = n; return;
    case LB_GETTEXT:
        if (!valid(index)) { m.Result = LB_ERR; return; }
        if (auto* out = reinterpret_cast<std::string*>(m.LParam)) *out = TextOf(index);
        m.Result = static_cast<LRESULT>(TextOf(index).size());
        return;
    case LB_GETTEXTLEN:
        m.Result = valid(index) ? static_cast<LRESULT>(TextOf(index).size()) : LB_ERR;
        return;
    case LB_GETITEMDATA: m.Result = valid(index) ? list_[index].data : LB_ERR; return;
    case LB_SETITEMDATA:
        if (!valid(index)) { m.Result = LB_ERR; return; }
        list_[index].data = m.LParam;
        return;
    case LB_SETCURSEL:
        if (multiSelect_) { m.Result = LB_ERR; return; }
        if (cur_ != (valid(index) ? index : -1)) {
            cur_ = valid(index) ? index : -1;
            anchor_ = cur_;
            Invalidate();
        }
        MakeVisible(cur_);
        m.Result = valid(index) ? index : LB_ERR;
        return;
    case LB_GETCURSEL: m.Result = cur_; return;
    case LB_SETCARETINDEX:
        if (!valid(index)) { m.Result = LB_ERR; return; }
        if (cur_ != index) {
            cur_ = index;
            Invalidate();
        }
        MakeVisible(index);
        return;
    case LB_GETCARETINDEX: m.Result = cur_; return;
    case LB_SETSEL: {
        const int which = static_cast<int>(m.LParam);
        if (!multiSelect_ || (which != -1 && !valid(which))) { m.Result = LB_ERR; return; }
        for (int i = 0; i < n; ++i)
            if (which == -1 || i == which) list_[i].selected = m.WParam != 0;
        Invalidate();
        return;
    }
    case LB_GETSEL:
        m.Result = !valid(index) ? LB_ERR : (multiSelect_ ? list_[index].selected : index == cur_) ? 1 : 0;
        return;
    case LB_GETSELCOUNT:
        m.Result = multiSelect_ ? std::count_if(list_.begin(), list_.end(), [](const Item& it) { return it.selected; }) : LB_ERR;
        return;
    case LB_GETTOPINDEX: m.Result = top_; return;
    case LB_SETTOPINDEX: {
        if (n > 0 && !valid(index)) { m.Result = LB_ERR; return; }
        const int t = std::clamp(index, 0, MaxTop());
        if (t != top_) {
            top_ = t;
            Invalidate();
        }
        return;
    }
    case LB_GETITEMRECT: {
        if (!valid(index) && !(index == 0 && n == 0)) { m.Result = LB_ERR; return; }
        int y = (index - top_) * ItemHeight();
        if (Variable()) {
            y = 0;
            if (index >= top_)
                for (int i = top_; i < index; ++i) y += HeightOf(i);
            else
                for (int i = index; i < top_; ++i) y -= HeightOf(i);
        }
        const int h = n == 0 ? ItemHeight() : HeightOf(index);
        if (auto* r = reinterpret_cast<gdi::TRect*>(m.LParam)) *r = gdi::Rect(-hPos_, y, ClientWidth(), y + h);
        return;
    }
    case LB_ITEMFROMPOINT: {
        const gdi::TPoint p{LoWordSigned(m.LParam), HiWordSigned(m.LParam)};
        const int i = ItemAtPos(p, true);
        if (i >= 0) { m.Result = i; return; }
        // Outside: the nearest item, high word 1.
        const int near = p.Y < 0 ? top_ : std::max(0, n - 1);
        m.Result = MakeLParam(near, 1);
        return;
    }
    case LB_SETITEMHEIGHT: {
        const int h = static_cast<int>(m.LParam);
        if (h <= 0 || h > 255) { m.Result = LB_ERR; return; }
        if (Variable()) {
            if (!valid(index)) { m.Result = LB_ERR; return; }
            list_[index].height = h;
        } else {
            itemHeight_ = h;
        }
        top_ = std::clamp(top_, 0, MaxTop());
        Invalidate();
        return;
    }
    case LB_GETITEMHEIGHT:
        m.Result = Variable() ? (valid(index) ? list_[index].height : LB_ERR) : ItemHeight();
        return;
    case LB_SETHORIZONTALEXTENT:
        hExtent_ = std::max(0, index);
        hPos_ = std::clamp(hPos_, 0, std::max(0, hExtent_ - ClientWidth()));
        Invalidate();
        return;
    case LB_GETHORIZONTALEXTENT: m.Result = hExtent_; return;
    case WM_VSCROLL: ScrollVert(LoWord(static_cast<LPARAM>(m.WParam)), static_cast<int>(HiWord(static_cast<LPARAM>(m.WParam)))); return;
    case WM_HSCROLL: ScrollHorz(LoWord(static_cast<LPARAM>(m.WParam)), static_cast<int>(HiWord(static_cast<LPARAM>(m.WParam)))); return;
    case CN_COMMAND:
        if (HiWord(static_cast<LPARAM>(m.WParam)) == LBN_SELCHANGE) Click();
        return;
    case CN_DRAWITEM:
        if (auto* dis = reinterpret_cast<TDrawItemStruct*>(m.LParam)) DefaultDrawItem(*dis);
        m.Result = 1;
        return;
    case CN_MEASUREITEM:
        if (auto* mis = reinterpret_cast<TMeasureItemStruct*>(m.LParam)) MeasureItem(mis->itemID, mis->itemHeight);
        m.Result = 1;
        return;
    case WM_NCPAINT:
        TCustomControl::WndProc(m);
        DrawScrollBars();
        return;
    case CM_FONTCHANGED:
        fontHeight_ = -1;
        TCustomControl::WndProc(m);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::WndProc(m);
        Invalidate();
        return;
    case WM_SIZE:
        TCustomControl::WndProc(m);
        top_ = std::clamp(top_, 0, MaxTop());
        hPos_ = std::clamp(hPos_, 0, std::max(0, hExtent_ - ClientWidth()));
        return;
    default: TCustomControl::WndProc(m); return;
    }
}

}  // namespace gui
