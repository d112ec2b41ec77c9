// STAND-IN: see the header.
#include "tools/KoaxControlsStandIn.h"

void TEditStandIn::KeyPress(gui::TKeyChar& key) {
    if (EnterAsTab && key == U'\r') {
        key = 0;
        if (auto* parent = Parent()) parent->SelectNext(true);
        return;
    }
    gui::TEdit::KeyPress(key);
}

TCheckListBoxStandIn::TCheckListBoxStandIn(rtl::TComponent* owner) : gui::TListBox(owner) {
    SetStyle(gui::lbOwnerDrawFixed);
    SetItemHeight(17);
}

bool TCheckListBoxStandIn::Checked(int index) const {
    return index >= 0 && index < static_cast<int>(checked_.size()) && checked_[index];
}

void TCheckListBoxStandIn::SetChecked(int index, bool value) {
    if (index < 0 || index >= Count()) return;
    if (static_cast<int>(checked_.size()) < Count()) checked_.resize(Count(), false);
    if (checked_[index] == value) return;
    checked_[index] = value;
    Invalidate();
}

void TCheckListBoxStandIn::Clear() {
    Items()->Clear();
    checked_.clear();
}

void TCheckListBoxStandIn::DrawItem(int index, gdi::TRect rect, gui::TOwnerDrawState state) {
    gdi::TCanvas* c = Canvas();
    const bool selected = state & gui::odSelected;
    c->Brush()->SetColor(selected ? gdi::clHighlight : gdi::clWindow);
    c->FillRect(rect);
    // The check box.
    const int size = 13;
    const int top = rect.Top + (rect.Bottom - rect.Top - size) / 2;
    const gdi::TRect box{rect.Left + 2, top, rect.Left + 2 + size, top + size};
    c->Brush()->SetColor(gdi::clWindow);
    c->Pen()->SetColor(gdi::clWindowText);
    c->Rectangle(box);
    if (Checked(index)) {
        c->MoveTo(box.Left + 3, box.Top + 6);
        c->LineTo(box.Left + 5, box.Top + 9);
        c->LineTo(box.Left + 10, box.Top + 3);
        c->MoveTo(box.Left + 3, box.Top + 7);
        c->LineTo(box.Left + 5, box.Top + 10);
        c->LineTo(box.Left + 10, box.Top + 4);
    }
    c->Brush()->SetColor(selected ? gdi::clHighlight : gdi::clWindow);
    c->Font()->SetColor(selected ? gdi::clHighlightText : gdi::clWindowText);
    const std::string text = Items()->Get(index);
    c->TextOut(box.Right + 4, rect.Top + (rect.Bottom - rect.Top - c->TextHeight(text)) / 2, text);
}
