// Auto-completion of a custom edit from a string-list container: text mode, the popup list with
// the arrow keys, Enter and Escape, adding unknown texts, and the string-list index.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "components/base/kitapp.h"
#include "components/base/kitcont.h"
#include "components/controls/KitEdit.h"
#include "components/controls/KitEditAutoComplete.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/ListBoxes.h"
#include "platform/gui/ToolWindows.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;

namespace {

class kitAutoComplete : public GuiFixture {
protected:
    void SetUp() override {
        KitApplication->SetKeyState(1);
        app.CreateForm(form);
        form->SetBounds(0, 0, 400, 200);
        form->Show();
        strings = new TKitStringList(form);
        strings->AddItem(nullptr);
        Strings().Add("Apfel");
        Strings().Add("Ananas");
        Strings().Add("Birne");
        complete = new TKitEditAutoComplete(form);
        complete->SetStringList(strings);
        edit = new TKitEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 150, 24);
        edit->SetAutoComplete(complete);
        other = new TKitEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 60, 100, 24);
        QApplication::setActiveWindow(form->Widget());
        edit->SetFocus();
        ProcessUntil([&] { return edit->Focused(); });
    }
    void TearDown() override { KitApplication->SetKeyState(1); }

    rtl::TStringList& Strings(int item = 0) { return strings->GetItem(item)->Items(); }
    void Key(Qt::Key k, const QString& text = QString()) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(edit->Widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
        QApplication::sendEvent(edit->Widget(), &release);
    }
    void Key2(Qt::Key k, Qt::KeyboardModifiers mods) {
        QKeyEvent press(QEvent::KeyPress, k, mods);
        QApplication::sendEvent(edit->Widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, k, mods);
        QApplication::sendEvent(edit->Widget(), &release);
    }
    void Type(const QString& s) {
        for (QChar ch : s) Key(Qt::Key_unknown, QString(ch));
    }

    gui::TForm* form = nullptr;
    TKitStringList* strings = nullptr;
    TKitEditAutoComplete* complete = nullptr;
    TKitEdit* edit = nullptr;
    TKitEdit* other = nullptr;
};

TEST_F(kitAutoComplete, TextModeCompletesAndSelectsTheTail) {
    complete->SetMode({amText});
    Type("A");
    EXPECT_EQ(edit->Text(), "Apfel");
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 4);
    Type("n");
    EXPECT_EQ(edit->Text(), "Ananas");
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 4);
    EXPECT_EQ(complete->SavedText(), "An");
    // Backspace over the completed tail takes the last typed character with it.
    Key(Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), "Apfel");

    edit->SetText("");
    Type("X");
    EXPECT_EQ(edit->Text(), "X");
    EXPECT_EQ(edit->SelLength(), 0);

    // Pasting with Shift+Insert (Shift held) selects the completed tail, not from the start.
    edit->SetText("");
    gui::Clipboard()->SetAsText("B");
    Key2(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->Text(), "Birne");
    EXPECT_EQ(edit->GetSelText(), "irne");

    // Disabled or without text mode nothing is completed.
    edit->SetText("");
    complete->SetEnabled(false);
    Type("A");
    EXPECT_EQ(edit->Text(), "A");

    // A freed component is forgotten by the edit.
    delete complete;
    complete = nullptr;
    EXPECT_EQ(edit->AutoComplete(), nullptr);
    Type("p");
    EXPECT_EQ(edit->Text(), "Ap");
}

TEST_F(kitAutoComplete, PopupListsMatchesAndTheArrowsChoose) {
    complete->SetMode({amPopup});
    Type("A");
    EXPECT_EQ(edit->Text(), "A");
    gui::TListBox* list = complete->PopupList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(gui::IsDesktopToolWindowShown(list));
    // As wide as the edit, so its items are drawn over the whole window.
    EXPECT_EQ(list->Width(), edit->Width());
    ASSERT_EQ(list->Items()->Count(), 2);
    EXPECT_EQ(list->Items()->Get(0), "Ananas");
    EXPECT_EQ(list->Items()->Get(1), "Apfel");
    EXPECT_TRUE(edit->Focused());

    // Down past the last item and Up past the first stay on an item.
    const struct {
        Qt::Key key;
        const char* text;
    } steps[] = {{Qt::Key_Down, "Ananas"}, {Qt::Key_Down, "Apfel"}, {Qt::Key_Down, "Apfel"},
                 {Qt::Key_Up, "Ananas"},   {Qt::Key_Up, "Ananas"}};
    for (const auto& s : steps) {
        Key(s.key);
        EXPECT_EQ(edit->Text(), s.text);
        EXPECT_EQ(edit->SelLength(), edit->TextLength());
    }
    Key(Qt::Key_Return, "\r");
    EXPECT_EQ(edit->Text(), "Ananas");
    EXPECT_EQ(complete->PopupList(), nullptr);

    // Escape brings back what was typed.
    edit->SetText("");
    Type("A");
    ASSERT_NE(complete->PopupList(), nullptr);
    Key(Qt::Key_Down);
    Key(Qt::Key_Escape, QString(QChar(27)));
    EXPECT_EQ(edit->Text(), "A");
    EXPECT_EQ(complete->PopupList(), nullptr);

    // Leaving the edit closes the list and restores the typed text.
    edit->SetText("");
    Type("A");
    Key(Qt::Key_Down);
    other->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return complete->PopupList() == nullptr; }));
    EXPECT_EQ(edit->Text(), "A");
}

TEST_F(kitAutoComplete, PopupIsNotShownForTheOneTextAlreadyTyped) {
    complete->SetMode({amPopup});
    edit->SetText("Birn");
    edit->SetCursorPos(5);
    Type("e");
    EXPECT_EQ(edit->Text(), "Birne");
    EXPECT_EQ(complete->PopupList(), nullptr);
    // An edit freed while its list is shown takes the list with it.
    edit->SetText("");
    Type("A");
    ASSERT_NE(complete->PopupList(), nullptr);
    delete edit;
    edit = nullptr;
    EXPECT_EQ(complete->PopupList(), nullptr);
    complete->ClosePopup();
}

TEST_F(kitAutoComplete, UnknownTextsAreAddedOnEnterAndExit) {
    complete->SetAddUnknownOn({aaControlReturn});
    Type("Kiwi");
    Key(Qt::Key_Return, "\r");
    EXPECT_EQ(Strings().IndexOf("Kiwi"), 3);
    Key(Qt::Key_Return, "\r");
    EXPECT_EQ(Strings().Count(), 4);

    std::vector<std::string> asked;
    complete->OnAdd = [&](rtl::TObject*, TKitBaseEdit* e, std::string& text, bool& add, TKitAutoCompleteSource&) {
        asked.push_back(text);
        EXPECT_EQ(e, edit);
        add = text != "Quitte";
        text += "!";
    };
    complete->SetAddUnknownOn({aaControlExit});
    edit->SetText("Quitte");
    other->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return !asked.empty(); }));
    edit->SetFocus();
    ProcessUntil([&] { return edit->Focused(); });
    edit->SetText("Mango");
    other->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return asked.size() == 2; }));
    EXPECT_EQ(asked, (std::vector<std::string>{"Quitte", "Mango"}));
    EXPECT_EQ(Strings().IndexOf("Quitte!"), -1);
    EXPECT_EQ(Strings().IndexOf("Mango!"), 4);
}

TEST_F(kitAutoComplete, StringListIndexIsKeptInRange) {
    auto* loose = new TKitEditAutoComplete(form);
    loose->SetStringListIndex(3);
    EXPECT_EQ(loose->StringListIndex(), 0);  // no container: ignored

    auto* empty = new TKitStringList(form);
    loose->SetStringList(empty);
    loose->SetStringListIndex(2);
    EXPECT_EQ(loose->StringListIndex(), 0);  // an empty container keeps the value

    strings->AddItem(nullptr);
    Strings(1).Add("Zitrone");
    complete->SetStringListIndex(5);
    EXPECT_EQ(complete->StringListIndex(), 1);
    complete->SetStringListIndex(-4);
    EXPECT_EQ(complete->StringListIndex(), 0);
    complete->SetStringListIndex(1);
    complete->SetMode({amText});
    Type("Z");
    EXPECT_EQ(edit->Text(), "Zitrone");
}

}  // namespace
