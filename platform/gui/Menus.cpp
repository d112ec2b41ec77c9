// Menu items, main menu and shortcuts.
#include "platform/gui/Menus.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <cctype>

#include "platform/gui/Forms.h"
#include "platform/gui/QtSupport.h"

namespace gui {

using namespace detail;

// ---- Shortcuts ----------------------------------------------------------------------------------
namespace {

struct KeyName {
    unsigned short vk;
    const char* name;
};
// English names first (ShortCutToText uses them), then the German ones TextToShortCut accepts.
constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},    {VK_TAB, "Tab"},       {VK_ESCAPE, "Esc"},     {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"},  {VK_PRIOR, "PgUp"},    {VK_NEXT, "PgDn"},      {VK_END, "End"},
    {VK_HOME, "Home"},    {VK_LEFT, "Left"},     {VK_UP, "Up"},          {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},    {VK_INSERT, "Ins"},    {VK_DELETE, "Del"},     {VK_BACK, "Rück"},
    {VK_ESCAPE, "Esc"},   {VK_RETURN, "Eingabe"}, {VK_SPACE, "Leer"},    {VK_PRIOR, "Bild auf"},
    {VK_NEXT, "Bild ab"}, {VK_END, "Ende"},      {VK_HOME, "Pos1"},      {VK_LEFT, "Links"},
    {VK_UP, "Nach oben"}, {VK_RIGHT, "Rechts"},  {VK_DOWN, "Nach unten"}, {VK_INSERT, "Einfg"},
    {VK_DELETE, "Entf"},
};

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && rtl::SameText(s.substr(0, prefix.size()), prefix);
}

int QtKeyCombination(TShortCut sc) {
    const int key = QtKeyFromVirtualKey(static_cast<unsigned short>(sc & 0xFF));
    if (!key) return 0;
    int k = key;
    if (sc & scShift) k |= Qt::SHIFT;
    if (sc & scCtrl) k |= Qt::CTRL;
    if (sc & scAlt) k |= Qt::ALT;
    return k;
}

}  // namespace

TShortCut ShortCut(unsigned short key, TShiftState shift) {
    if (key & 0xFF00) return scNone;
    TShortCut sc = key;
    if (shift & ssShift) sc |= scShift;
    if (shift & ssCtrl) sc |= scCtrl;
    if (shift & ssAlt) sc |= scAlt;
    return sc;
}

TShortCut TextToShortCut(std::string_view text) {
    TShortCut mods = 0;
    std::string_view s = text;
    for (;;) {
        if (StartsWithNoCase(s, "Shift+")) { mods |= scShift; s.remove_prefix(6); }
        else if (StartsWithNoCase(s, "Umsch+")) { mods |= scShift; s.remove_prefix(6); }
        else if (StartsWithNoCase(s, "Ctrl+")) { mods |= scCtrl; s.remove_prefix(5); }
        else if (StartsWithNoCase(s, "Strg+")) { mods |= scCtrl; s.remove_prefix(5); }
        else if (StartsWithNoCase(s, "Alt+")) { mods |= scAlt; s.remove_prefix(4); }
        else break;
    }
    if (s.size() == 1) {
        const unsigned char c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(s[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<TShortCut>(c | mods);
        return scNone;
    }
    if (s.size() >= 2 && (s[0] == 'F' || s[0] == 'f')) {
        int n = 0;
        if (rtl::TryStrToInt(s.substr(1), n) && n >= 1 && n <= 24)
            return static_cast<TShortCut>((VK_F1 + n - 1) | mods);
    }
    for (const KeyName& k : kKeyNames)
        if (rtl::SameText(s, k.name)) return static_cast<TShortCut>(k.vk | mods);
    return scNone;
}

std::string ShortCutToText(TShortCut sc) {
    const unsigned short vk = sc & 0xFF;
    std::string name;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) name = std::string(1, static_cast<char>(vk));
    else if (vk >= VK_F1 && vk <= VK_F1 + 23) name = "F" + rtl::IntToStr(vk - VK_F1 + 1);
    else
        for (const KeyName& k : kKeyNames)
            if (k.vk == vk) {
                name = k.name;
                break;
            }
    if (name.empty()) return {};
    std::string r;
    if (sc & scShift) r += "Shift+";
    if (sc & scCtrl) r += "Ctrl+";
    if (sc & scAlt) r += "Alt+";
    return r + name;
}

// ---- TMenuItem ----------------------------------------------------------------------------------

TMenuItem::TMenuItem(rtl::TComponent* owner) : rtl::TComponent(owner) {
    EnsureQtApplication();
    action_ = new QAction;
    QObject::connect(action_, &QAction::triggered, [this] {
        UpdateCheck();  // the item's check mark changes only through Checked
        InvokeHandler(this, [this] { Click(); });
    });
}

TMenuItem::~TMenuItem() {
    if (parent_) parent_->Remove(this);
    // Children still held are freed with the item (they leave their owners as they go).
    while (!items_.empty()) {
        TMenuItem* c = items_.back();
        items_.pop_back();
        c->parent_ = nullptr;
        delete c;
    }
    QObject::disconnect(action_, nullptr, action_, nullptr);  // keeps Qt's destroyed() links
    delete action_;
    delete submenu_;
}

void TMenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    // A line is a plain separator: the style would draw its text.
    action_->setSeparator(IsLine());
    action_->setText(IsLine() ? QString() : QS(caption));
    if (submenu_) submenu_->setTitle(QS(caption));
}

void TMenuItem::SetShortCut(TShortCut sc) {
    shortCut_ = sc;
    const int k = QtKeyCombination(sc);
    action_->setShortcut(k ? QKeySequence(k) : QKeySequence());
}

void TMenuItem::UpdateCheck() {
    action_->setCheckable(checked_);
    action_->setChecked(checked_);
}

void TMenuItem::SetChecked(bool v) {
    checked_ = v;
    UpdateCheck();
}

void TMenuItem::SetVisible(bool v) {
    visible_ = v;
    action_->setVisible(v);
    NotifyTopLevel();
}

void TMenuItem::NotifyTopLevel() {
    if (parent_ && parent_->rootOf_) parent_->rootOf_->TopLevelChanged();
}

void TMenuItem::SetEnabled(bool v) {
    enabled_ = v;
    action_->setEnabled(v);
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) rtl::RaiseListIndexError(index);
    return items_[static_cast<std::size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

QWidget* TMenuItem::Container() {
    if (rootOf_) return rootOf_->RootContainer();
    if (!submenu_) {
        submenu_ = new QMenu;
        submenu_->setTitle(QS(caption_));
        action_->setMenu(submenu_);
    }
    return submenu_;
}

void TMenuItem::AttachAction(TMenuItem* item, int index) {
    QWidget* c = Container();
    QAction* before = index + 1 < Count() ? items_[static_cast<std::size_t>(index + 1)]->action_ : nullptr;
    c->insertAction(before, item->action_);
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_) throw rtl::EInvalidOperation("Menüeintrag wird bereits verwendet");
    if (index < 0 || index > Count()) rtl::RaiseListIndexError(index);
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    AttachAction(item, index);
    item->NotifyTopLevel();
}

void TMenuItem::Remove(TMenuItem* item) {
    const int i = IndexOf(item);
    if (i < 0) return;
    items_.erase(items_.begin() + i);
    item->parent_ = nullptr;
    if (rootOf_) {
        if (QWidget* c = rootOf_->RootContainer()) c->removeAction(item->action_);
        rootOf_->TopLevelChanged();
    } else if (submenu_) {
        submenu_->removeAction(item->action_);
    }
}

void TMenuItem::Delete(int index) { Remove(Items(index)); }

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();
}

// ---- Menu shortcuts before the focused control ------------------------------------------------
//
// A form's menu shortcuts take precedence over the focused control's own use of a key (an edit's
// Ctrl+X, Ctrl+Z, Ctrl+E): before a key press Qt asks the focused widget whether it keeps the key
// (ShortcutOverride); for a key that an enabled item of the window's menu shows, the answer is
// no, and the menu's shortcut runs.
namespace {

std::vector<TMainMenu*>& LiveMainMenus() {
    static std::vector<TMainMenu*> menus;
    return menus;
}

bool Reachable(const TMenuItem* item) {
    for (; item && item->Parent(); item = item->Parent())
        if (!item->Visible() || !item->Enabled()) return false;
    return item != nullptr;
}

bool ItemsTakeKey(const TMenuItem* parent, const QKeySequence& key, bool topLevel) {
    for (int i = 0; i < parent->Count(); ++i) {
        const TMenuItem* item = parent->Items(i);
        if (item->IsLine() || !item->Visible() || !item->Enabled()) continue;
        if (item->Count() > 0) {
            // A top-level entry opens with Alt and its marked letter.
            if (topLevel && QKeySequence::mnemonic(item->Action()->text()) == key) return true;
            if (ItemsTakeKey(item, key, false)) return true;
        } else if (!item->Action()->shortcut().isEmpty() && item->Action()->shortcut() == key &&
                   Reachable(item)) {
            return true;
        }
    }
    return false;
}

class MenuShortCutFilter : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::ShortcutOverride) return false;
        auto* w = qobject_cast<QWidget*>(o);
        if (!w) return false;
        auto* ke = static_cast<QKeyEvent*>(e);
        const Qt::KeyboardModifiers mods =
            ke->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (ke->key() == 0 || ke->key() == Qt::Key_unknown) return false;
        const QKeySequence key(QKeyCombination(mods, static_cast<Qt::Key>(ke->key())));
        const QWidget* window = w->window();
        for (const TMainMenu* m : LiveMainMenus()) {
            const QMenuBar* bar = m->MenuBar();
            if (!bar || !bar->parentWidget() || bar->window() != window) continue;
            if (!ItemsTakeKey(m->Items(), key, true)) continue;
            e->ignore();  // the focused control does not keep the key
            return true;
        }
        return false;
    }
};

void InstallMenuShortCutFilter() {
    static QPointer<QCoreApplication> installedOn;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || installedOn == app) return;
    static MenuShortCutFilter* filter = new MenuShortCutFilter;
    app->installEventFilter(filter);
    installedOn = app;
}

}  // namespace

// ---- TMenu / TMainMenu --------------------------------------------------------------------------

TMenu::TMenu(rtl::TComponent* owner) : rtl::TComponent(owner) {
    items_ = new TMenuItem(nullptr);
    items_->rootOf_ = this;
}

TMenu::~TMenu() {
    // Free the items before the container they sit in.
    delete items_;
    items_ = nullptr;
}

TMainMenu::TMainMenu(rtl::TComponent* owner) : TMenu(owner) {
    bar_ = new QMenuBar;
    bar_->setNativeMenuBar(false);
    bar_->hide();
    LiveMainMenus().push_back(this);
    InstallMenuShortCutFilter();
    if (auto* f = dynamic_cast<TCustomForm*>(owner))
        if (!f->Menu()) f->SetMenu(this);
}

TMainMenu::~TMainMenu() {
    auto& live = LiveMainMenus();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    // The root item (and with it every top-level action) goes first, while the bar exists.
    delete items_;
    items_ = nullptr;
    if (form_) form_->SetMenu(nullptr);
    delete bar_;
    bar_ = nullptr;
}

QMenuBar* TMainMenu::MenuBar() const { return bar_; }

QWidget* TMainMenu::RootContainer() { return bar_; }

void TMainMenu::TopLevelChanged() {
    if (form_) form_->LayoutFrame();
}

// ---- TPopupMenu ---------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(rtl::TComponent* owner) : TMenu(owner) { menu_ = new QMenu; }

TPopupMenu::~TPopupMenu() {
    // The items (and their actions) go first, while the menu exists.
    delete items_;
    items_ = nullptr;
    delete menu_;
    menu_ = nullptr;
}

QWidget* TPopupMenu::RootContainer() { return menu_; }

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) OnPopup(this);
    menu_->exec(QPoint(X, Y));
}

void SetPopupMenu(TControl* Control, TPopupMenu* Menu) {
    if (!Control || !Control->Widget()) return;
    QWidget* w = Control->Widget();
    QObject::disconnect(w, &QWidget::customContextMenuRequested, nullptr, nullptr);
    if (!Menu) {
        w->setContextMenuPolicy(Qt::DefaultContextMenu);
        return;
    }
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    // Tied to the menu's widget: the connection ends when either side is freed.
    QObject::connect(w, &QWidget::customContextMenuRequested, Menu->Menu(),
                     [Control, Menu, w](const QPoint& pos) {
                         // A scroll area reports the position in its viewport.
                         const auto* area = qobject_cast<QAbstractScrollArea*>(w);
                         const QPoint global = area ? area->viewport()->mapToGlobal(pos)
                                                    : w->mapToGlobal(pos);
                         Menu->PopupComponent = Control;
                         InvokeHandler(Menu, [&] { Menu->Popup(global.x(), global.y()); });
                     });
}

}  // namespace gui
