// The check list box: a check box, a three-state check box or a radio button in front of every
// item of the image list box. Each item's state lives in a small data object hung on the item.
#pragma once

#include <cstdint>

#include "components/controls/KitCustomImageListBox.h"

namespace kit {

// The check data of one item.
class TKitButtonListData : public rtl::TObject {
public:
    // The item data the list box's user stores for the item (kept here instead of the window).
    gui::LPARAM Data = 0;
    // 0 unchecked, 1 checked, 2 grayed.
    std::uint8_t State = 0;
    bool Disabled = false;
    void SetChecked(bool Value) { State = Value ? 1 : 0; }
    bool GetChecked() const { return State == 1; }
};

enum TKitButtonListMode { blCheckBox, blCheckBox3State, blRadioButton };

class TKitCustomCheckListBox : public TKitCustomImageListBox {
public:
    explicit TKitCustomCheckListBox(rtl::TComponent* AOwner);
    ~TKitCustomCheckListBox() override;

    bool BtnAllowUnselect() const { return btnAllowUnselect_; }
    void SetBtnAllowUnselect(bool Value) { btnAllowUnselect_ = Value; }
    TKitButtonListMode BtnMode() const { return btnMode_; }
    // The current value is applied again in the new mode.
    void SetBtnMode(TKitButtonListMode Value);
    bool BtnFlat() const { return btnFlat_; }
    void SetBtnFlat(bool Value);
    bool BtnDefault() const { return btnDefault_; }
    void SetBtnDefault(bool Value);
    std::uint8_t BtnGap() const { return btnGap_; }
    void SetBtnGap(std::uint8_t Value);
    rtl::TNotifyEvent OnClickCheck;

    bool Checked(int Index);
    void SetChecked(int Index, bool Value);
    std::uint8_t State(int Index);
    void SetState(int Index, std::uint8_t Value);
    bool ItemEnabled(int Index);
    // The item's data object, nullptr when none was made; EListError outside the items.
    TKitButtonListData* ItemDataObject(int Index);
    // The same, made when missing.
    TKitButtonListData* NeedItemDataObject(int Index);

    // Check boxes: bit i for item i (items 0 to 63); radio buttons: the first checked item or
    // -1; three-state boxes: -1 (writing clears every state).
    std::int64_t Value();
    void SetValue(std::int64_t Value);

    int CheckWidth() const;
    int CheckHeight() const;
    // Unchecked, grayed, checked (three-state) or on and off; radio buttons uncheck the others.
    void ToggleState(int Index);

    int ItemTextWidth(int Index) override;
    int ItemImageWidth(int Index) override;
    int ItemImageHeight(int Index) override;

    // Paints one button in Rect (centred) on Canvas.
    static void DrawButton(gui::TWinControl* Control, gdi::TCanvas& Canvas, const gdi::TRect& Rect,
                           std::uint8_t State, TKitButtonListMode Mode, bool Enabled, bool Flat,
                           bool Default, bool Themed);

protected:
    virtual void ClickCheck();
    void DrawItemStruct(gui::TDrawItemStruct& Dis) override;
    void DrawItem(int Index, gdi::TRect Rect, gui::TOwnerDrawState State) override;
    void KeyPress(gui::TKeyChar& Key) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    gui::LPARAM GetItemData(int Index) override;
    void SetItemData(int Index, gui::LPARAM Data) override;
    void ResetContent() override;
    void DeleteString(int Index) override;

private:
    void InvalidateCheck(int Index);
    void FreeItemObjects();

    bool btnAllowUnselect_ = false;
    TKitButtonListMode btnMode_ = blCheckBox;
    bool btnFlat_ = true;
    bool btnDefault_ = true;
    std::uint8_t btnGap_ = 0;
};

class TKitCheckListBox : public TKitCustomCheckListBox {
public:
    using TKitCustomCheckListBox::TKitCustomCheckListBox;
};

}  // namespace kit
