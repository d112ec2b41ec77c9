// Main menu and menu items.
#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

TEST(guiShortCuts, TextAndKeysConvert) {
    struct Case {
        const char* text;
        TShortCut expected;
    } cases[] = {
        {"Ctrl+L", ShortCut('L', ssCtrl)},
        {"ctrl+x", ShortCut('X', ssCtrl)},
        {"Strg+Umsch+S", ShortCut('S', ssCtrl | ssShift)},
        {"Shift+Ctrl+S", ShortCut('S', ssCtrl | ssShift)},
        {"Alt+F4", ShortCut(VK_F4, ssAlt)},
        {"F12", ShortCut(VK_F12, 0)},
        {"Del", ShortCut(VK_DELETE, 0)},
        {"Entf", ShortCut(VK_DELETE, 0)},
        {"Ctrl+", scNone},
        {"Bogus", scNone},
    };
    for (const Case& c : cases) EXPECT_EQ(TextToShortCut(c.text), c.expected) << c.text;
    EXPECT_EQ(ShortCut('L', ssCtrl), static_cast<TShortCut>(scCtrl | 'L'));
    EXPECT_EQ(ShortCutToText(ShortCut('S', ssCtrl | ssShift)), "Shift+Ctrl+S");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, 0)), "F5");
}

class guiMenus : public GuiFixture {
protected:
    TForm* form = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem* datei = nullptr;
    TMenuItem* open = nullptr;
    TMenuItem* line = nullptr;
    TMenuItem* hidden = nullptr;
    TMenuItem* debug = nullptr;
    TMenuItem* urls = nullptr;
    int opened = 0, debugClicks = 0;

    TMenuItem* Item(TMenuItem* parent, const std::string& caption) {
        auto* mi = new TMenuItem(form);
        mi->SetCaption(caption);
        parent->Add(mi);
        return mi;
    }
    void SetUp() override {
        app.CreateForm(form);
        form->SetClientWidth(400);
        form->SetClientHeight(300);
        menu = new TMainMenu(form);
        datei = Item(menu->Items(), "&Datei");
        open = Item(datei, "&Öffnen");
        open->SetShortCut(TextToShortCut("Ctrl+L"));
        open->OnClick = [this](rtl::TObject*) { ++opened; };
        line = Item(datei, "-");
        hidden = Item(datei, "Erzeuge &Fake-EZNEC Files");
        hidden->SetVisible(false);
        debug = Item(datei, "DebugMode");
        debug->SetChecked(true);
        debug->OnClick = [this](rtl::TObject*) {
            ++debugClicks;
            debug->SetChecked(!debug->Checked());
        };
        urls = Item(datei, "&URLs");
        Item(urls, "&RAVK");
        Item(urls, "EZNEC");
    }
};

TEST_F(guiMenus, ItemsMapOntoTheQtMenu) {
    EXPECT_EQ(form->Menu(), menu);
    QMenuBar* bar = menu->MenuBar();
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0], datei->Action());
    QMenu* sub = datei->Action()->menu();
    ASSERT_NE(sub, nullptr);
    const QList<QAction*> actions = sub->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("&Öffnen"));
    EXPECT_EQ(actions[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+L")));
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_TRUE(line->IsLine());
    EXPECT_FALSE(actions[2]->isVisible());
    EXPECT_TRUE(actions[3]->isCheckable() && actions[3]->isChecked());
    ASSERT_NE(actions[4]->menu(), nullptr);
    EXPECT_EQ(actions[4]->menu()->actions().size(), 2);
    EXPECT_EQ(datei->Count(), 5);
    EXPECT_EQ(datei->Items(4), urls);
    EXPECT_EQ(urls->Parent(), datei);
    EXPECT_THROW(datei->Items(5), rtl::EListError);
    // The menu bar takes its height off the client area.
    const int barHeight = bar->sizeHint().height();
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(form->ClientWidth(), 400);
    EXPECT_EQ(form->ClientHeight(), 300 - barHeight);
    EXPECT_EQ(form->ClientWidget()->geometry(), QRect(0, barHeight, 400, 300 - barHeight));
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 400, barHeight));
}

TEST_F(guiMenus, ClickAndTriggerRunTheHandler) {
    open->Click();
    open->Action()->trigger();  // the user's path (menu or shortcut)
    EXPECT_EQ(opened, 2);
    // The check mark follows Checked only: the handler toggles it, Qt does not.
    debug->Action()->trigger();
    EXPECT_EQ(debugClicks, 1);
    EXPECT_FALSE(debug->Checked());
    EXPECT_FALSE(debug->Action()->isChecked());
    debug->Action()->trigger();
    EXPECT_TRUE(debug->Checked());
    EXPECT_TRUE(debug->Action()->isChecked());
}

TEST_F(guiMenus, ExceptionInAMenuCommandReachesTheErrorBox) {
    open->OnClick = [](rtl::TObject*) { throw rtl::Exception("Keine Daten"); };
    open->Action()->trigger();
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "Keine Daten.");
    EXPECT_THROW(open->Click(), rtl::Exception);  // in code it reaches the caller
}

TEST_F(guiMenus, FreedItemsLeaveTheirMenu) {
    QMenu* sub = datei->Action()->menu();
    delete hidden;
    EXPECT_EQ(datei->Count(), 4);
    EXPECT_EQ(sub->actions().size(), 4);
    auto* inserted = new TMenuItem(form);
    inserted->SetCaption("&Speichern");
    datei->Insert(1, inserted);
    EXPECT_EQ(sub->actions()[1], inserted->Action());
    EXPECT_EQ(datei->IndexOf(inserted), 1);
    delete urls;  // frees its children with it
    EXPECT_EQ(datei->Count(), 4);
    delete menu;
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(form->ClientHeight(), 300);
    EXPECT_EQ(form->ClientWidget()->geometry(), QRect(0, 0, 400, 300));
}

// A form's menu shortcuts run wherever the focus is in it. An edit and an editable combo box use
// Ctrl+X (cut), Ctrl+Z (undo) and Ctrl+E (end of line) themselves; the menu's items take them
// first, with real key events to the focused widget, and the control's text stays as it was.
TEST_F(guiMenus, ShortCutsRunWhereverTheFocusIsInTheForm) {
    std::string ran;
    auto add = [&](const char* caption, const char* key) {
        TMenuItem* mi = Item(datei, caption);
        mi->SetShortCut(TextToShortCut(key));
        mi->OnClick = [&ran, key](rtl::TObject*) { ran = key; };
        return mi;
    };
    add("&Beenden", "Ctrl+X");
    TMenuItem* clip = add("Grafik in &Zwischenablage", "Ctrl+Z");
    add("&EZNEC Öffnen", "Ctrl+E");
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(10, 10, 120, 24);
    combo->Items()->Add("0,5");
    combo->Items()->Add("1,0");
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 40, 120, 24);
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(10, 70, 120, 24);
    form->Show();
    form->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
    QLineEdit* comboEdit = static_cast<QComboBox*>(combo->Widget())->lineEdit();
    ASSERT_NE(comboEdit, nullptr);

    struct Target {
        const char* name;
        TWinControl* control;
        QLineEdit* line;
    } targets[] = {{"combo", combo, comboEdit},
                   {"edit", edit, qobject_cast<QLineEdit*>(edit->Widget())},
                   {"button", button, nullptr}};
    const struct {
        const char* name;
        Qt::Key key;
    } keys[] = {{"Ctrl+X", Qt::Key_X}, {"Ctrl+Z", Qt::Key_Z}, {"Ctrl+E", Qt::Key_E}};
    for (const Target& t : targets) {
        for (const auto& k : keys) {
            SCOPED_TRACE(std::string(t.name) + " " + k.name);
            t.control->SetText("1,0");
            t.control->SetFocus();
            ASSERT_TRUE(ProcessUntil([&] { return t.control->Focused(); }));
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            if (t.line) {
                // Something to undo, all of it selected to cut, the cursor away from the end.
                QTest::keyClick(focus, Qt::Key_End);
                QTest::keyClick(focus, Qt::Key_5);
                t.line->selectAll();
                ASSERT_EQ(t.line->text(), QStringLiteral("1,05"));
            }
            ran.clear();
            QTest::keyClick(focus, k.key, Qt::ControlModifier);
            EXPECT_EQ(ran, k.name);
            if (t.line) {
                EXPECT_EQ(t.line->text(), QStringLiteral("1,05"));
                EXPECT_TRUE(t.line->hasSelectedText());
            }
        }
    }

    // A disabled item leaves its key to the control: Ctrl+Z undoes the typing in the edit.
    clip->SetEnabled(false);
    edit->SetText("1,0");
    edit->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
    ASSERT_EQ(edit->Text(), "1,05");
    ran.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ran, "");
    EXPECT_EQ(edit->Text(), "1,0");
}
