#include "components/controls/KitEditAutoComplete.h"

#include <algorithm>

#include "components/base/kitcont.h"
#include "components/controls/KitCustomEdit.h"
#include "components/controls/KitTextCodec.h"
#include "platform/gui/ListBoxes.h"
#include "platform/gui/ToolWindows.h"

namespace kit {

using namespace gui;

namespace {

bool BeginsWith(const std::string& s, const std::string& prefix) {
    return !prefix.empty() && s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

int Length(const std::string& s) { return static_cast<int>(KitUtf8ToUtf32(s).size()); }

}  // namespace

TKitEditAutoComplete::TKitEditAutoComplete(rtl::TComponent* AOwner) : TKitComponent(AOwner) {}

TKitEditAutoComplete::~TKitEditAutoComplete() { ClosePopup(); }

void TKitEditAutoComplete::SetStringListIndex(int Value) {
    if (!stringList_) return;
    // An empty container leaves the index as it is.
    if (stringList_->Count() == 0) return;
    stringListIndex_ = std::clamp(Value, 0, stringList_->Count() - 1);
}

rtl::TStringList* TKitEditAutoComplete::Strings() const {
    if (!stringList_ || stringListIndex_ < 0 || stringListIndex_ >= stringList_->Count()) return nullptr;
    return &stringList_->GetItem(stringListIndex_)->Items();
}

int TKitEditAutoComplete::FindPrefix(const std::string& S) const {
    const rtl::TStringList* strings = Strings();
    if (!strings) return -1;
    for (int i = 0; i < strings->Count(); ++i)
        if (BeginsWith(strings->Get(i), S)) return i;
    return -1;
}

void TKitEditAutoComplete::CompleteText(TKitCustomEdit* Edit, const std::string& S) {
    if (!enabled_ || !Edit) return;
    std::string r;
    Complete(Edit, S, r);
    if (r == S) return;
    Edit->SetText(r);
    const int typed = Length(S);
    Edit->SetCursorPos(typed + 1);
    // Shift held (a Shift+Insert paste) would have extended the selection from the start.
    Edit->SetSelStart(Edit->CursorPos());
    Edit->SetSelLength(Length(r) - typed);
}

void TKitEditAutoComplete::Complete(TKitCustomEdit* Edit, const std::string& S, std::string& R) {
    R = S;
    savedText_ = S;
    if (mode_.Contains(amText) && stringList_) {
        const int i = FindPrefix(S);
        if (i != -1) R = Strings()->Get(i);
    }
    if (mode_.Contains(amPopup)) BuildPopupList(Edit, R);
}

void TKitEditAutoComplete::AddUnknown(TKitCustomEdit* Edit, const std::string& S) {
    if (!enabled_) return;
    rtl::TStringList* strings = Strings();
    if (stringList_ && strings && strings->IndexOf(S) != -1) return;
    std::string text = S;
    bool add = true;
    TKitAutoCompleteSource addTo = asStringList;
    if (OnAdd) OnAdd(this, Edit, text, add, addTo);
    strings = Strings();
    if (add && addTo == asStringList && strings) strings->Add(text);
}

void TKitEditAutoComplete::BuildPopupList(TKitCustomEdit* Edit, const std::string& S) {
    rtl::TStringList list;
    if (source_.Contains(asStringList))
        if (const rtl::TStringList* strings = Strings()) list.AddStrings(*strings);
    list.Sort();
    int first = 0;
    while (first < list.Count() && !BeginsWith(list.Get(first), S)) ++first;
    int end = first;
    while (end < list.Count() && BeginsWith(list.Get(end), S)) ++end;
    while (list.Count() > end) list.Delete(list.Count() - 1);
    for (int i = 0; i < first; ++i) list.Delete(0);
    ShowPopup(Edit, list);
}

void TKitEditAutoComplete::ShowPopup(TKitCustomEdit* Edit, const rtl::TStringList& L) {
    if (L.Count() == 0) return;
    if (L.Count() == 1 && L.Get(0) == Edit->Text()) {
        ClosePopup();
        return;
    }
    if (edit_ && edit_ != Edit) ClosePopup();
    if (!popupList_) {
        popupList_ = new TListBox(this);
        popupList_->SetParent(Edit);
    }
    if (!hook_) {
        edit_ = Edit;
        Edit->FreeNotification(this);
        hook_ = std::make_unique<TWindowHook>(Edit, [this](TMessage& m, const TWndMethod& next) {
            next(m);
            PopupWndProc(m);
        });
    }
    popupList_->Items()->Clear();
    popupList_->Items()->AddStrings(L);
    gdi::TCanvas* c = popupList_->Canvas();
    c->Font()->Assign(*popupList_->Font());
    const int rows = std::min(L.Count(), dropDownCount_);
    const int height = rows * c->TextHeight(L.Get(0)) + 5;
    const gdi::TPoint p = Edit->ClientToScreen(gdi::TPoint{0, Edit->Height()});
    ShowAsDesktopToolWindow(popupList_, p.X, p.Y, Edit->Width(), height);
}

void TKitEditAutoComplete::SelectToEnd() {
    if (!edit_) return;
    edit_->SetCursorPos(edit_->TextLength() + 1);
    edit_->SelectAll();
}

void TKitEditAutoComplete::PopupWndProc(TMessage& m) {
    if (!edit_ || !popupList_) return;
    switch (m.Msg) {
    case WM_KILLFOCUS:
        edit_->SetText(savedText_);
        SelectToEnd();
        ClosePopup();
        return;
    case WM_KEYUP: {
        const int count = popupList_->Items()->Count();
        int index = popupList_->ItemIndex();
        if (m.WParam == VK_UP) {
            if (index > 0) --index;
        } else if (m.WParam == VK_DOWN) {
            ++index;
        } else {
            return;
        }
        // The list's index stays on an item.
        index = std::clamp(index, 0, count - 1);
        popupList_->SetItemIndex(index);
        edit_->SetText(popupList_->Items()->Get(index));
        SelectToEnd();
        return;
    }
    case WM_CHAR:
        if (m.WParam == VK_RETURN) {
            const int index = popupList_->ItemIndex();
            if (index >= 0 && index < popupList_->Items()->Count()) edit_->SetText(popupList_->Items()->Get(index));
        } else if (m.WParam == VK_ESCAPE) {
            edit_->SetText(savedText_);
        } else {
            return;
        }
        SelectToEnd();
        ClosePopup();
        return;
    default: return;
    }
}

void TKitEditAutoComplete::ClosePopup() {
    hook_.reset();
    if (edit_) edit_->RemoveFreeNotification(this);
    edit_ = nullptr;
    if (popupList_) {
        TListBox* list = popupList_;
        popupList_ = nullptr;
        delete list;
    }
}

void TKitEditAutoComplete::Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) {
    TKitComponent::Notification(AComponent, Operation);
    if (Operation != rtl::TOperation::opRemove) return;
    if (AComponent == popupList_) {
        // Freed with its parent edit.
        popupList_ = nullptr;
        hook_.reset();
        edit_ = nullptr;
    } else if (AComponent == edit_) {
        ClosePopup();
    }
}

}  // namespace kit
