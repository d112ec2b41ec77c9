// The library's combo box: its own frame (flat at rest, sunken when hot or focused), an
// incremental search that completes typed text from the sorted list after a typing pause, a
// most-recently-used block at the top of the list, a fixed drop-down width, a focus hand-over
// after a choice, and a click event of the edit part. The search pause runs on the application's
// timer pool.
#pragma once

#include <cstdint>

#include "components/base/kitcomponent.h"
#include "platform/gui/StdCtrls.h"

namespace kit {

class TKitCustomComboBox : public gui::TComboBox {
public:
    explicit TKitCustomComboBox(rtl::TComponent* AOwner);
    ~TKitCustomComboBox() override;

    TKitAboutVar About;
    rtl::TNotifyEvent OnSelect;
    // A left click into the edit part; Sender is the combo box.
    rtl::TNotifyEvent OnEditClick;

    // 0 Flat, 1 MRUList.
    bool GetBoolProp(int Index) const;
    void SetBoolProp(int Index, bool Value);
    // 0 DropDownWidth, 1 MRUMax.
    int GetIntProp(int Index) const;
    void SetIntProp(int Index, int Value);

    bool Flat() const { return flat_; }
    void SetFlat(bool Value) { SetBoolProp(0, Value); }
    // Switching it on makes the list owner-drawn (the separator line below the block);
    // switching it off deletes the block.
    bool MRUList() const { return mruList_; }
    void SetMRUList(bool Value) { SetBoolProp(1, Value); }
    int DropDownWidth() const { return dropDownWidth_; }
    void SetDropDownWidth(int Value) { SetIntProp(0, Value); }
    // Below 1 no block is kept.
    int MRUMax() const { return mruMax_; }
    void SetMRUMax(int Value) { SetIntProp(1, Value); }
    // Number of most-recently-used entries at the top of Items.
    int MRUCount() const { return mruCount_; }
    bool Search() const { return search_; }
    // Makes the list sorted.
    void SetSearch(bool Value);
    // The typing pause in ms after which the search runs.
    int Interval() const { return interval_; }
    void SetInterval(int Value) { interval_ = Value; }
    gui::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(gui::TWinControl* Value);

    // The timer item of the search pause; 0 when none is held.
    std::uint16_t SearchTimerID() const { return searchTimer_; }
    bool EditFocused() const { return editFocused_; }
    // Returns the timer item of the search pause to the pool.
    void StopSearch();

protected:
    // Runs OnSelect.
    virtual void Select();
    void Loaded() override;
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;
    void WndProc(gui::TMessage& Message) override;
    void EditWndProc(gui::TMessage& Message) override;
    void DrawItem(int Index, gdi::TRect Rect, gui::TOwnerDrawState State) override;
    void MeasureItem(int Index, int& Height) override;
    void KeyDown(unsigned short& Key, gui::TShiftState Shift) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void DoEnter() override;
    void DoExit() override;
    void DrawFrame();
    void RedrawFrame();

private:
    void SearchTimer(rtl::TObject* Sender);
    void SelectionChanged();
    bool Designing() const { return ComponentState().Contains(rtl::csDesigning); }

    std::uint16_t searchTimer_ = 0;
    bool editFocused_ = false;
    bool navigating_ = false;
    bool search_ = false;
    bool mouseInside_ = false;
    bool redrawing_ = false;
    bool flat_ = false;
    int dropDownWidth_ = 0;
    int interval_ = 1500;
    gui::TWinControl* focusControl_ = nullptr;
    int mruCount_ = 0;
    int mruMax_ = 5;
    bool mruList_ = false;
};

class TKitComboBox : public TKitCustomComboBox {
public:
    using TKitCustomComboBox::TKitCustomComboBox;
};

}  // namespace kit
