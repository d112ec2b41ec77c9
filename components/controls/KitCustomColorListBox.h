// The colour list box: the platform's named colours, up to 16 custom colours (the values under
// the keys "FarbenA" to "FarbenP"), or a free list of name=value lines, each drawn as a swatch
// and/or a name. A right click can open the colour dialog on the custom colours.
#pragma once

#include <memory>
#include <string>

#include "components/controls/KitCustomColorComboBox.h"
#include "components/controls/KitCustomImageListBox.h"

namespace kit {

class TKitCustomColorListBox : public TKitCustomDerivedImageListBox {
public:
    explicit TKitCustomColorListBox(rtl::TComponent* AOwner);
    ~TKitCustomColorListBox() override;

    bool CustomMode() const { return customMode_; }
    void SetCustomMode(bool Value);
    rtl::TStringList* CustomColors() const { return customColors_.get(); }
    // In CustomMode a copy of Value; otherwise only the values of the 16 custom-colour keys.
    void SetCustomColors(const rtl::TStrings* Value);
    TKitColorCBOptions Options() const { return options_; }
    void SetOptions(TKitColorCBOptions Value);
    TKitColorCBStyle DisplayStyle() const { return displayStyle_; }
    void SetDisplayStyle(TKitColorCBStyle Value);
    gui::TColorDialogOptions DlgOptions = 0;
    int DlgHelpContext = 0;
    TKitOnColorDialogEvent OnBeforeDialogShow;
    TKitOnColorDialogEvent OnAfterDialogShow;

    // The selected item's colour; -1 without a selection, clNone for a value that is no colour.
    gdi::TColor SelectedColor();
    void SelectColor(gdi::TColor C);
    // Opens the colour dialog on Colors (not in CustomMode); True when it was confirmed.
    bool ExecuteDialog(rtl::TStrings* Colors);

    virtual void FillColors();
    virtual gdi::TColor ReservedColorQuery() { return gdi::clNone; }

    // The colour an item text stands for; False when it names none.
    static bool ItemColor(const std::string& Text, gdi::TColor& Color);

    static constexpr const char* CustomKeyPrefix = "Farben";

protected:
    void Loaded() override;
    void WndProc(gui::TMessage& Message) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void DrawItem(int Index, gdi::TRect Rect, gui::TOwnerDrawState State) override;

private:
    void RecreateKeepingColor();

    int counter_ = 0;
    bool customMode_ = false;
    std::unique_ptr<rtl::TStringList> customColors_;
    TKitColorCBOptions options_ = coDefaultColors | coAllowAnyColor;
    TKitColorCBStyle displayStyle_ = csColorText;
};

}  // namespace kit
