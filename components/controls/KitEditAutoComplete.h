// Completes what the user types into a custom edit from the strings of a string-list container:
// in text mode the first string beginning with the typed text is put into the edit with the
// completed tail selected; in popup mode the matching strings are listed under the edit and
// chosen with the arrow keys. Texts the list lacks can be added on Enter or when the edit is left.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "components/controls/KitComponent.h"
#include "platform/rtl/Sets.h"

#include "platform/gui/Messages.h"

namespace gui {
class TListBox;
class TWindowHook;
}  // namespace gui
namespace rtl {
class TStringList;
}

namespace kit {

class TKitBaseEdit;
class TKitCustomEdit;
class TKitStringList;

enum TKitAutoCompleteSource : std::uint8_t { asStringList };
enum TKitAutoCompleteMode : std::uint8_t { amText, amPopup };
enum TKitAutoCompleteAddOn : std::uint8_t { aaControlExit, aaControlReturn };
using TKitAutoCompleteSources = rtl::TSet<TKitAutoCompleteSource>;
using TKitAutoCompleteModes = rtl::TSet<TKitAutoCompleteMode>;
using TKitAutoCompleteAddOns = rtl::TSet<TKitAutoCompleteAddOn>;

using TKitAutoCompleteAddEvent = std::function<void(rtl::TObject* Sender, TKitBaseEdit* editControl,
                                                    std::string& addText, bool& add,
                                                    TKitAutoCompleteSource& addTo)>;

class TKitEditAutoComplete : public TKitComponent {
public:
    explicit TKitEditAutoComplete(rtl::TComponent* AOwner);
    ~TKitEditAutoComplete() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    const std::string& SavedText() const { return savedText_; }
    // Not owned and not watched: the owner keeps the container alive while it is linked.
    TKitStringList* StringList() const { return stringList_; }
    void SetStringList(TKitStringList* Value) { stringList_ = Value; }
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int Value) { dropDownCount_ = Value; }
    int StringListIndex() const { return stringListIndex_; }
    // Ignored without a container; limited to the container's last item.
    void SetStringListIndex(int Value);
    TKitAutoCompleteSources Source() const { return source_; }
    void SetSource(TKitAutoCompleteSources Value) { source_ = Value; }
    TKitAutoCompleteModes Mode() const { return mode_; }
    void SetMode(TKitAutoCompleteModes Value) { mode_ = Value; }
    TKitAutoCompleteAddOns AddUnknownOn() const { return addUnknownOn_; }
    void SetAddUnknownOn(TKitAutoCompleteAddOns Value) { addUnknownOn_ = Value; }
    TKitAutoCompleteAddEvent OnAdd;

    // After each change of the edit (S is its text).
    void CompleteText(TKitCustomEdit* Edit, const std::string& S);
    // On Enter or when the edit is left: S joins the strings unless they hold it.
    void AddUnknown(TKitCustomEdit* Edit, const std::string& S);

    // The popup list while shown, else nullptr.
    gui::TListBox* PopupList() const { return popupList_; }
    void ClosePopup();

protected:
    void Notification(rtl::TComponent* AComponent, rtl::TOperation Operation) override;
    // Every message of the edit while the popup is shown, after the edit has handled it.
    virtual void PopupWndProc(gui::TMessage& Message);

private:
    // The strings of the container item StringListIndex; nullptr when there are none.
    rtl::TStringList* Strings() const;
    void Complete(TKitCustomEdit* Edit, const std::string& S, std::string& R);
    int FindPrefix(const std::string& S) const;
    void BuildPopupList(TKitCustomEdit* Edit, const std::string& S);
    void ShowPopup(TKitCustomEdit* Edit, const rtl::TStringList& L);
    void SelectToEnd();

    bool enabled_ = true;
    std::string savedText_;
    TKitStringList* stringList_ = nullptr;
    int dropDownCount_ = 8;
    int stringListIndex_ = 0;
    TKitAutoCompleteSources source_{asStringList};
    TKitAutoCompleteModes mode_;
    TKitAutoCompleteAddOns addUnknownOn_;
    TKitCustomEdit* edit_ = nullptr;
    gui::TListBox* popupList_ = nullptr;  // owned by the component while it exists
    std::unique_ptr<gui::TWindowHook> hook_;
};

}  // namespace kit
