// The library's owner-drawn list box: 3D caption text, selection colours, horizontal grid lines,
// margins, ellipsis or wrapping of long texts, its own flat, themed or classic frame, the
// background of a parent that supplies one, a horizontal extent that follows the widest item,
// a tip with the full text of a clipped item, and in-place editing of items in a memo laid over
// the item.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "components/base/KitCaptions.h"
#include "components/base/kitcomponent.h"
#include "platform/gui/HintWindows.h"
#include "platform/gui/ListBoxes.h"
#include "platform/gui/StdCtrls.h"

namespace kit {

// Edit options (bits of EditOptions).
inline constexpr unsigned keoDeleteKey = 1;    // Del deletes the selection
inline constexpr unsigned keoF2Edits = 2;      // F2 edits the current item
inline constexpr unsigned keoInsertKey = 4;    // Ins inserts an item
inline constexpr unsigned keoNo3DEditor = 8;   // the editor has no 3D frame
inline constexpr unsigned keoSelectText = 16;  // the editor selects its whole text at the start

// How a text wider than its item shows.
enum TKitLongItemMode : std::uint8_t { limClip, limEndEllipsis, limPathEllipsis, limScrollBar, limItemTip };

using TKitBeginEditEvent = std::function<void(rtl::TObject* Sender, int Index, bool& Cancel)>;
using TKitEditHeightEvent = std::function<void(rtl::TObject* Sender, int Index, int& Height)>;
using TKitEditAcceptedEvent = std::function<void(rtl::TObject* Sender, int Index)>;

// The in-place editor.
class TKitCustomListBoxEdit : public gui::TMemo {
public:
    explicit TKitCustomListBoxEdit(rtl::TComponent* AOwner);
    // Marks an inserted item: its index + 255; 0 otherwise.
    int Tag = 0;
    bool Ctl3D = true;
};

class TKitCustomListBox : public gui::TCustomListBox {
public:
    explicit TKitCustomListBox(rtl::TComponent* AOwner);
    ~TKitCustomListBox() override;

    TKitAboutVar About;

    bool MultiLine() const { return multiLine_; }
    // True also sets LongItemMode to clipping; recreates the window.
    void SetMultiLine(bool Value);
    TKit3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(const TKit3DCaption* Value) { font3D_->Assign(Value); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    rtl::TNotifyEvent OnSelect;

    unsigned EditOptions() const { return editOptions_; }
    void SetEditOptions(unsigned Value) { editOptions_ = Value; }
    int EditIndex() const { return editIndex_; }
    TKitBeginEditEvent OnBeginEdit;
    TKitEditHeightEvent OnEditHeight;
    TKitEditAcceptedEvent OnEditAccepted;
    rtl::TNotifyEvent OnEndEdit;
    // The editor while an edit runs, else nullptr.
    TKitCustomListBoxEdit* Editor() const { return editor_; }

    bool VerticalScrollBar() const { return verticalScrollBar_; }
    void SetVerticalScrollBar(bool Value);
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    bool HideFocus() const { return hideFocus_; }
    void SetHideFocus(bool Value);
    bool HorzGridLine() const { return horzGridLine_; }
    void SetHorzGridLine(bool Value);
    gdi::TColor DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(gdi::TColor Value);
    gdi::TColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(gdi::TColor Value);
    gdi::TColor SelectedFontColor() const { return selectedFontColor_; }
    void SetSelectedFontColor(gdi::TColor Value);
    gdi::TFontStyles SelectedFontStyle() const { return selectedFontStyle_; }
    void SetSelectedFontStyle(gdi::TFontStyles Value);
    gdi::TColor HorzGridColor() const { return horzGridColor_; }
    void SetHorzGridColor(gdi::TColor Value);
    gdi::TPenStyle HorzGridStyle() const { return horzGridStyle_; }
    void SetHorzGridStyle(gdi::TPenStyle Value);
    bool HideSelection() const { return hideSelection_; }
    // Only on a single-select list.
    void SetHideSelection(bool Value);
    bool CtlXP() const { return ctlXP_; }
    void SetCtlXP(bool Value);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value) { ctl3D_ = Value; }
    std::uint8_t LongItemMode() const { return longItemMode_; }
    void SetLongItemMode(std::uint8_t Value);
    std::uint8_t Margin() const { return margin_; }
    void SetMargin(std::uint8_t Value);
    bool VirtualList() const { return virtual_; }
    void SetVirtualList(bool Value);
    bool VariableHeight() const { return variableHeight_; }
    void SetVariableHeight(bool Value);

    // The widest item text (kept in the scroll-bar mode).
    int Widest() const { return widest_; }
    bool MouseInside() const { return mouseInside_; }
    // The item tip, nullptr before its first use.
    gui::THintWindow* TipWindow() const { return tip_.get(); }

    bool UseThemes() const;
    bool TransparentBackground();
    // Copies the parent's background under Rect (client coordinates) into the canvas.
    void CopyParentBackground(const gdi::TRect& Rect);
    using gui::TCustomListBox::SetHorizontalExtent;
    // In the scroll-bar mode without MultiLine: the extent becomes the widest item.
    void SetHorizontalExtent();
    void RecalcWidest();
    void RecalcItemHeights();

    // Virtual operations of the library's list boxes.
    virtual void ItemsChanged();
    virtual int ItemTextWidth(int Index);
    virtual bool CanEdit();
    virtual gdi::TRect GetItemRect(int Index);
    virtual std::string GetItemText(int Index);
    virtual void ThemeChanged();
    virtual void Select();
    virtual int ReservedQuery() { return -1; }
    virtual void BeginEdit(bool Insert, int Index);
    virtual void EndEdit();

    void DeleteSelected() override;
    void DrawFrame();
    void HideTip();

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(gui::TMessage& Message) override;
    void DrawItem(int Index, gdi::TRect Rect, gui::TOwnerDrawState State) override;
    void MeasureItem(int Index, int& Height) override;
    void KeyDown(unsigned short& Key, gui::TShiftState Shift) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    // The owner drawing of one item (CN_DRAWITEM).
    virtual void DrawItemStruct(gui::TDrawItemStruct& Dis);
    // Re-applies the window style: the HideSelection rule, the style, the horizontal extent.
    void Recreate();
    bool Designing() const { return ComponentState().Contains(rtl::csDesigning); }
    bool Loading() const { return ComponentState().Contains(rtl::csLoading); }

private:
    void ApplyListStyle();
    void EditorKeyDown(rtl::TObject* Sender, unsigned short& Key, gui::TShiftState Shift);
    void UpdateTip(int X, int Y);

    bool multiLine_ = false;
    std::unique_ptr<TKit3DCaption> font3D_;
    bool transparent_ = false;
    unsigned editOptions_ = 0;
    int editIndex_ = -1;
    bool verticalScrollBar_ = true;
    bool mouseInside_ = false;
    bool flat_ = false;
    bool hideFocus_ = false;
    bool horzGridLine_ = false;
    gdi::TColor disabledColor_ = gdi::clWindow;
    gdi::TColor selectedColor_ = gdi::clHighlight;
    gdi::TColor selectedFontColor_ = gdi::clHighlightText;
    gdi::TColor horzGridColor_ = 0xC0C0C0;
    gdi::TPenStyle horzGridStyle_ = gdi::psSolid;
    int widest_ = 0;
    bool hideSelection_ = false;
    bool ctlXP_ = true;
    bool ctl3D_ = true;
    TKitCustomListBoxEdit* editor_ = nullptr;      // owned by the list box while editing
    TKitCustomListBoxEdit* oldEditor_ = nullptr;   // an ended editor, freed after its handler
    std::uint8_t longItemMode_ = 0;
    std::uint8_t margin_ = 1;
    gdi::TFontStyles selectedFontStyle_ = 0;
    std::unique_ptr<gui::THintWindow> tip_;
    bool virtual_ = false;
    bool variableHeight_ = false;
    int cachedTop_ = -20;
};

}  // namespace kit
