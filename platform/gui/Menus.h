// Main menu and menu items over QMenuBar / QMenu / QAction.
//
// A caption marks its accelerator with '&' ("&Datei"); the caption "-" makes a separator line.
// An item with children is a submenu. Items are components: an item freed by its owner leaves
// its parent item, and an item frees the children it still holds when it is freed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/Controls.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace gui {

class TCustomForm;
class TMenu;

// A key with modifiers: the virtual key code in the low byte, plus scShift, scCtrl, scAlt.
using TShortCut = unsigned short;
inline constexpr TShortCut scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;

TShortCut ShortCut(unsigned short key, TShiftState shift);
// "Ctrl+L", "Shift+F5", "Alt+X", "Strg+Umsch+S", "Entf" ...; scNone for an unknown text.
TShortCut TextToShortCut(std::string_view text);
// The English form: "Ctrl+L", "Shift+Ctrl+S", "F5", "Del".
std::string ShortCutToText(TShortCut shortCut);

class TMenuItem : public rtl::TComponent {
public:
    explicit TMenuItem(rtl::TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool IsLine() const { return caption_ == "-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut sc);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& h) { hint_ = h; }

    // Runs OnClick (code path: exceptions reach the caller).
    virtual void Click();
    TNotifyEvent OnClick;

    // Children.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;  // EListError outside 0..Count-1
    TMenuItem* operator[](int index) const { return Items(index); }
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the child out without freeing it.
    void Remove(TMenuItem* item);
    void Delete(int index);
    // Frees every child.
    void Clear();
    TMenuItem* Parent() const { return parent_; }

    QAction* Action() const { return action_; }

private:
    friend class TMenu;
    friend class TMainMenu;
    QWidget* Container();
    void AttachAction(TMenuItem* item, int index);
    void UpdateCheck();
    void NotifyTopLevel();

    std::string caption_;
    std::string hint_;
    TShortCut shortCut_ = scNone;
    bool checked_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* rootOf_ = nullptr;   // set on the root item of a menu
    QAction* action_ = nullptr;
    QMenu* submenu_ = nullptr;
};

class TMenu : public rtl::TComponent {
public:
    ~TMenu() override;
    // The root item; its children are the menu's top-level entries.
    TMenuItem* Items() const { return items_; }

protected:
    explicit TMenu(rtl::TComponent* owner);
    friend class TMenuItem;
    virtual QWidget* RootContainer() = 0;
    // After a top-level entry was added, removed, shown or hidden.
    virtual void TopLevelChanged() {}
    TMenuItem* items_ = nullptr;
};

// The menu bar of a form. Made with a form as owner, it becomes that form's Menu unless the
// form has one already.
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(rtl::TComponent* owner);
    ~TMainMenu() override;
    QMenuBar* MenuBar() const;

protected:
    QWidget* RootContainer() override;
    void TopLevelChanged() override;

private:
    friend class TCustomForm;
    QMenuBar* bar_ = nullptr;  // owned; lent to the form's window while attached
    TCustomForm* form_ = nullptr;
};

// A context menu. Popup shows it with its top-left corner at the screen position (X, Y) and
// returns when it has closed, after the chosen item's OnClick ran.
class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(rtl::TComponent* owner);
    ~TPopupMenu() override;
    // Runs OnPopup, then shows the menu and waits until it is closed.
    void Popup(int X, int Y);
    // The control on which the user opened the menu last.
    rtl::TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;
    QMenu* Menu() const { return menu_; }

protected:
    QWidget* RootContainer() override;

private:
    QMenu* menu_ = nullptr;  // owned
};

// Makes Menu the context menu of Control: a right click or the menu key on the control opens
// it at the pointer. nullptr detaches the control's popup menu.
void SetPopupMenu(TControl* Control, TPopupMenu* Menu);

}  // namespace gui
