// The library's base edit on a form, driven by Qt key and mouse events as a person's typing and
// clicking would: the cursor and selection keys, typing (any character, overwrite mode), undo,
// the clipboard and the context menu, the edit messages, the mouse, and a random key sequence
// whose every step must be undone exactly.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <random>
#include <string>
#include <vector>

#include "components/base/kitapp.h"
#include "components/controls/KitBaseEdit.h"
#include "components/controls/KitTextCodec.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/EditMessages.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "tests/components/widgets/KitEditFixture.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;
using gdi::TPoint;

namespace {

// The parts a descendant supplies, kept plain: left-aligned text, the caret after the text
// before the cursor, the character hit test of the custom edit.
class Edit : public TKitBaseEdit {
public:
    explicit Edit(rtl::TComponent* owner) : TKitBaseEdit(owner) {}
    int repaints = 0;
    int resets = 0;
    using TKitBaseEdit::EditKeyDown;
    // The client x of the gap before position pos.
    int XOf(int pos) {
        return TextRect().Left + Canvas()->TextWidth(Prefix(pos - 1)) - ScrollOffset();
    }

    int CharIndexAt(int X) override {
        const std::string d = KitUtf32ToUtf8(TextChars());
        const int n = TextLength();
        int i = 1;
        for (; i <= n; ++i) {
            const int w = Canvas()->TextWidth(Prefix(i));
            const int wi = Canvas()->TextWidth(KitUtf32ToUtf8(TextChars().substr(static_cast<std::size_t>(i - 1), 1)));
            if (w - ScrollOffset() - wi / 2 + TextRect().Left >= X) break;
        }
        return i;
    }

protected:
    std::string Prefix(int n) {
        return KitUtf32ToUtf8(TextChars().substr(0, static_cast<std::size_t>(std::clamp(n, 0, TextLength()))));
    }
    int GetLineAt(int) override { return 0; }
    int GetCharAt(int X) override { return CharIndexAt(X) - 1; }
    void UpdateCaretPos() override {
        if (!Focused()) return;
        int x = Canvas()->TextWidth(Prefix(CursorPos() - 1)) - ScrollOffset() + TextRect().Left - 1;
        if (x > TextRect().Right) SetScrollOffset(ScrollOffset() + x - TextRect().Right + TextRect().Left + 2);
        else if (x < TextRect().Left && ScrollOffset() != 0)
            SetScrollOffset(ScrollOffset() - (std::abs(x) + TextRect().Left) - 2);
        x = Canvas()->TextWidth(Prefix(CursorPos() - 1)) - ScrollOffset() + TextRect().Left - 1;
        PlaceCaret(x + 1, TextRect().Top);
    }
    void TextReset() override {
        ++resets;
        RepaintText(-1);
        if (OnChange) OnChange(this);
    }
    void TextRead() override {}
    void RepaintText(int) override {
        if (UpdateCount() >= 1) return;
        ++repaints;
        gdi::TCanvas* c = Canvas();
        c->Brush()->SetColor(Color());
        c->FillRect(TextRect());
        c->TextOut(TextRect().Left - ScrollOffset(), TextRect().Top, KitUtf32ToUtf8(TextChars()));
    }
};

class kitBaseEdit : public KitEditFixture<Edit> {
protected:
    void SetUp() override {
        MakeEdit(200);
        FocusEdit();
    }

    void TypeUtf8(const char* s) { Key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(s)); }
    void Start(const std::string& text, int cursor) {
        edit->SetText(text);
        edit->SetCursorPos(cursor);
    }
    void Mouse(QEvent::Type t, int clientX, Qt::MouseButtons buttons, Qt::MouseButton button = Qt::NoButton) {
        const int b = edit->BorderExtent();
        const QPointF p(clientX + b, 8 + b);
        QMouseEvent e(t, p, edit->Widget()->mapToGlobal(p), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &e);
    }
    // A person's press, optional drag, and release.
    void Drag(int fromX, int toX) {
        Mouse(QEvent::MouseButtonPress, fromX, Qt::LeftButton, Qt::LeftButton);
        if (toX != fromX) Mouse(QEvent::MouseMove, toX, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, toX, Qt::NoButton, Qt::LeftButton);
    }
    // Opens the context menu and chooses the item with the caption, or only reads the items.
    std::vector<std::pair<std::string, bool>> ContextMenu(const QString& choose) {
        std::vector<std::pair<std::string, bool>> items;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            QAction* chosen = nullptr;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator()) continue;
                items.emplace_back(a->text().toStdString(), a->isEnabled());
                if (a->text() == choose) chosen = a;
            }
            menu->close();
            if (chosen) chosen->trigger();
        });
        const int b = edit->BorderExtent();
        const QPointF p(20 + b, 8 + b);
        QMouseEvent down(QEvent::MouseButtonPress, p, edit->Widget()->mapToGlobal(p), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &down);
        QMouseEvent up(QEvent::MouseButtonRelease, p, edit->Widget()->mapToGlobal(p), Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &up);
        // The chooser runs now even when no menu opened.
        QCoreApplication::processEvents();
        return items;
    }

};

TEST_F(kitBaseEdit, CursorKeysStepOverWordsAndLineBreaks) {
    struct Case {
        std::string text;
        int from;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int first, second;
    };
    const Case cases[] = {
        {"abc def", 8, Qt::Key_Left, Qt::ControlModifier, 4, 1},
        {"abc def", 1, Qt::Key_Right, Qt::ControlModifier, 4, 8},
        {"a\r\nb", 4, Qt::Key_Left, Qt::NoModifier, 2, 1},
        {"a\r\nb", 2, Qt::Key_Right, Qt::NoModifier, 4, 5},
        {"ab\r\ncd", 6, Qt::Key_Home, Qt::NoModifier, 5, 5},
        {"ab\r\ncd", 6, Qt::Key_Home, Qt::ControlModifier, 1, 1},
        {"ab\r\ncd", 1, Qt::Key_End, Qt::NoModifier, 3, 3},
        {"abc", 2, Qt::Key_Up, Qt::NoModifier, 2, 2},
    };
    for (const Case& c : cases) {
        Start(c.text, c.from);
        Key(c.key, c.mods);
        EXPECT_EQ(edit->CursorPos(), c.first) << c.text << " from " << c.from;
        Key(c.key, c.mods);
        EXPECT_EQ(edit->CursorPos(), c.second) << c.text << " from " << c.from;
        EXPECT_EQ(edit->SelLength(), 0);
        EXPECT_EQ(edit->SelStart(), edit->CursorPos());
    }
}

TEST_F(kitBaseEdit, ShiftSelectsAndEscapeLeavesTheCursor) {
    Start("abcdefg", 2);
    for (int i = 0; i < 3; ++i) Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 3);
    EXPECT_EQ(edit->GetSelText(), "bcd");
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelLength(), 2);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Escape);
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->CursorPos(), 5);
    Type("x");
    EXPECT_EQ(edit->Text(), "abcdxefg");
}

TEST_F(kitBaseEdit, ShiftStateComesFromEachKey) {
    Start("abcdefg", 2);
    // A Shift press whose release never arrives must not leave the next keys selecting.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
    QApplication::sendEvent(edit->Widget(), &press);
    EXPECT_EQ(edit->SelLength(), 1);
    QKeyEvent plain(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(edit->Widget(), &plain);
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->CursorPos(), 4);
}

TEST_F(kitBaseEdit, TypingAnyCharacter) {
    Start("", 1);
    TypeUtf8("ä");
    TypeUtf8("µ");
    TypeUtf8("Ω");
    Type("1 ");
    TypeUtf8("€");
    EXPECT_EQ(edit->Text(), "äµΩ1 €");
    EXPECT_EQ(edit->TextLength(), 6);
    EXPECT_EQ(edit->CursorPos(), 7);
    Key(Qt::Key_Left);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), "äµΩ1€");
    // Control characters are key matters, not text.
    Key(Qt::Key_Return, Qt::NoModifier, "\r");
    Key(Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_EQ(edit->Text(), "äµΩ1€");
    // The character case applies to ASCII letters only.
    edit->SetCharCase(ecUpperCase);
    Type("q");
    TypeUtf8("ö");
    EXPECT_EQ(edit->Text(), "äµΩ1Qö€");
    // Through the OEM code page, characters it lacks become '?'.
    edit->SetOEMConvert(true);
    edit->SetText("");
    TypeUtf8("Ω");
    TypeUtf8("ä");
    gui::Clipboard()->SetAsText("€µ");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "?ä?µ");
}

TEST_F(kitBaseEdit, OverwriteModeAndUndo) {
    Start("abcd", 3);
    Key(Qt::Key_Insert);
    Type("x");
    EXPECT_EQ(edit->Text(), "abxd");
    EXPECT_EQ(gui::EditCanUndo(edit), true);
    gui::EditUndo(edit);
    EXPECT_EQ(edit->Text(), "abcd");
    EXPECT_EQ(edit->CursorPos(), 3);
    EXPECT_EQ(edit->GetSelText(), "c");  // the restored text is selected
    // Before a line break the typed character replaces the CR LF pair.
    Start("ab\r\ncd", 3);
    Type("x");
    EXPECT_EQ(edit->Text(), "abxcd");
    gui::EditUndo(edit);
    EXPECT_EQ(edit->Text(), "ab\r\ncd");
    // At the end overwrite mode appends.
    Start("ab", 3);
    Type("x");
    EXPECT_EQ(edit->Text(), "abx");
    Key(Qt::Key_Insert);
    Start("abcd", 3);
    Type("x");
    EXPECT_EQ(edit->Text(), "abxcd");
}

TEST_F(kitBaseEdit, BackspaceAndDelete) {
    Start("a\r\nb", 4);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), "ab");
    Start("abc", 1);
    gui::EditSetModify(edit, false);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_FALSE(edit->Modified());
    Start("abcdef", 2);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), "adef");  // only the selection
    Key(Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), "aef");
    Start("a\r\nb", 2);
    Key(Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), "ab");
}

TEST_F(kitBaseEdit, UndoStepsBackOneChangeAtATime) {
    Start("", 1);
    Type("abc");
    for (const char* expected : {"ab", "a", ""}) {
        gui::EditUndo(edit);
        EXPECT_EQ(edit->Text(), expected);
        EXPECT_EQ(edit->CursorPos(), edit->TextLength() + 1);
    }
    EXPECT_FALSE(edit->CanUndo());
    // A selected word replaced by a letter comes back selected.
    Start("one two", 5);
    gui::EditSetSel(edit, 4, 7);
    Type("x");
    EXPECT_EQ(edit->Text(), "one x");
    gui::EditUndo(edit);
    EXPECT_EQ(edit->Text(), "one two");
    EXPECT_EQ(edit->GetSelText(), "two");
    // Setting the text makes no undo step; EM_EMPTYUNDOBUFFER drops them all.
    gui::EditEmptyUndoBuffer(edit);
    edit->SetText("new");
    EXPECT_FALSE(gui::EditCanUndo(edit));
}

TEST_F(kitBaseEdit, MaxLength) {
    edit->SetMaxLength(5);
    edit->SetText("abcdefghijkl");
    EXPECT_EQ(edit->Text(), "abcde");
    EXPECT_EQ(edit->CursorPos(), 1);
    EXPECT_EQ(edit->SelLength(), 0);
    int changes = 0;
    edit->OnChange = [&](rtl::TObject*) { ++changes; };
    gui::EditSetSel(edit, 1, 2);
    Type("x");
    EXPECT_EQ(edit->Text(), "axcde");
    edit->SetCursorPos(3);
    Type("y");  // refused, but still a step
    EXPECT_EQ(edit->Text(), "axcde");
    EXPECT_EQ(changes, 2);
    gui::EditUndo(edit);
    EXPECT_EQ(edit->Text(), "axcde");
    gui::EditUndo(edit);
    EXPECT_EQ(edit->Text(), "abcde");
    // Overwrite mode at the limit replaces; undo after a refused overwrite keeps every character.
    Key(Qt::Key_Insert);
    edit->SetCursorPos(2);
    Type("z");
    EXPECT_EQ(edit->Text(), "azcde");
    gui::EditUndo(edit);
    EXPECT_EQ(edit->Text(), "abcde");
}

TEST_F(kitBaseEdit, ReadOnlyRefusesChangesButCopies) {
    Start("abc", 1);
    gui::EditSetReadOnly(edit, true);
    gui::EditSetSel(edit, 0, 2);
    Type("x");
    Key(Qt::Key_Delete);
    Key(Qt::Key_Backspace);
    gui::Clipboard()->SetAsText("zz");
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_X, Qt::ControlModifier);  // copies, removes nothing
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(gui::Clipboard()->AsText(), "ab");
    gui::Clipboard()->SetAsText("zz");
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(gui::Clipboard()->AsText(), "ab");
    const auto items = ContextMenu(QString());
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[1], std::make_pair(std::string("&Cut"), false));
    EXPECT_EQ(items[2], std::make_pair(std::string("&Copy"), true));
    EXPECT_EQ(items[3], std::make_pair(std::string("&Insert"), false));
}

TEST_F(kitBaseEdit, ClipboardKeysAndContextMenu) {
    Start("hello world", 1);
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit->SelLength(), 11);
    EXPECT_EQ(edit->Text(), "hello world");  // Ctrl+A types nothing
    gui::EditSetSel(edit, 0, 5);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), " world");
    EXPECT_EQ(gui::Clipboard()->AsText(), "hello");
    Key(Qt::Key_End);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), " worldhello");
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit->Text(), " worldhellohello");
    // Copy with no selection empties the clipboard's text.
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(gui::Clipboard()->AsText(), "");

    Start("Grüße", 1);
    gui::EditEmptyUndoBuffer(edit);
    gui::Clipboard()->Clear();
    gui::EditSetSel(edit, 0, 2);
    const auto items = ContextMenu("&Copy");
    const std::vector<std::pair<std::string, bool>> expected = {
        {"&Undo", false}, {"&Cut", true}, {"&Copy", true}, {"&Insert", false}, {"&Delete", true}, {"Select all", true}};
    EXPECT_EQ(items, expected);
    ProcessUntil([] { return gui::Clipboard()->AsText() == "Gr"; });
    EXPECT_EQ(gui::Clipboard()->AsText(), "Gr");
    edit->SetCursorPos(6);
    ContextMenu("&Insert");
    ProcessUntil([&] { return edit->TextLength() == 7; });
    EXPECT_EQ(edit->Text(), "GrüßeGr");
    ContextMenu("&Undo");
    ProcessUntil([&] { return edit->TextLength() == 5; });
    EXPECT_EQ(edit->Text(), "Grüße");
    ContextMenu("Select all");
    ProcessUntil([&] { return edit->SelLength() == 5; });
    ContextMenu("&Delete");
    ProcessUntil([&] { return edit->TextLength() == 0; });
    EXPECT_EQ(edit->Text(), "");
    // A menu of the edit's own replaces the built-in one.
    auto* own = new gui::TPopupMenu(form);
    edit->SetPopupMenu(own);
    EXPECT_TRUE(ContextMenu(QString()).empty());
    delete own;
    EXPECT_EQ(edit->PopupMenu(), nullptr);
    EXPECT_EQ(ContextMenu(QString()).size(), 6u);
}

TEST_F(kitBaseEdit, EditMessages) {
    Start("abcdefg", 1);
    gui::EditSetSel(edit, 2, 5);
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 3);
    EXPECT_EQ(edit->CursorPos(), 3);
    EXPECT_EQ(edit->GetSelText(), "cde");
    gui::EditSetSel(edit, 5, 2);  // reversed: the same range, never a negative length
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 3);
    gui::EditSetSel(edit, 0, -1);
    EXPECT_EQ(edit->SelLength(), 7);
    gui::EditSetSel(edit, -1, 0);
    EXPECT_EQ(edit->SelLength(), 0);
    gui::EditSetSel(edit, 2, 99);
    EXPECT_EQ(edit->GetSelText(), "cdefg");

    edit->SetSelStart(3);
    edit->SetSelLength(2);
    int s = 0, e = 0;
    gui::EditGetSel(edit, s, e);
    EXPECT_EQ(s, 2);
    EXPECT_EQ(e, 4);
    EXPECT_EQ(edit->Perform(gui::EM_GETSEL), gui::MakeLParam(2, 4));

    gui::EditReplaceSel(edit, "XY", false);
    EXPECT_EQ(edit->Text(), "abXYefg");
    EXPECT_EQ(edit->UndoCount(), 0);
    EXPECT_TRUE(gui::EditGetModify(edit));
    gui::EditSetModify(edit, false);
    EXPECT_FALSE(edit->Modified());
    gui::EditLimitText(edit, 9);
    EXPECT_EQ(gui::EditGetLimitText(edit), 9);
    EXPECT_EQ(gui::EditLineLength(edit), 7);
    EXPECT_EQ(gui::EditGetLineCount(edit), 1);
    EXPECT_EQ(edit->Perform(gui::WM_GETTEXTLENGTH), 7);

    // The line copy stays inside the caller's buffer and never splits a character.
    edit->SetText("aäb");
    EXPECT_EQ(gui::EditGetLine(edit, 64), "aäb");
    EXPECT_EQ(gui::EditGetLine(edit, 2), "a");
    EXPECT_EQ(gui::EditGetLine(edit, 3), "aä");

    const gdi::TRect r = gui::EditGetRect(edit);
    EXPECT_EQ(r.Left, edit->TextRect().Left);
    EXPECT_EQ(r.Right, edit->ClientWidth() - 1);
    EXPECT_EQ(gui::EditPosFromChar(edit, 0).X, r.Left);
    EXPECT_GT(gui::EditPosFromChar(edit, 2).X, gui::EditPosFromChar(edit, 1).X);
    int ch = -1, line = -1;
    gui::EditCharFromPos(edit, TPoint{edit->XOf(3) + 1, 5}, ch, line);
    EXPECT_EQ(ch, 2);
    EXPECT_EQ(line, 0);
}

TEST_F(kitBaseEdit, EveryChangeReportsItself) {
    Start("abcdef", 1);
    gui::EditSetModify(edit, false);
    std::vector<std::string> seen;
    edit->OnModified = [&](rtl::TObject*) { seen.push_back("modified"); };
    edit->OnTextChangedAt = [&](rtl::TObject*, int at) { seen.push_back("at " + std::to_string(at)); };
    edit->OnChange = [&](rtl::TObject*) { seen.push_back("change"); };
    edit->OnCursorPosChanged = [&](rtl::TObject*) { seen.push_back("cursor " + std::to_string(edit->CursorPos())); };
    gui::EditSetSel(edit, 2, 4);
    seen.clear();
    Type("x");
    const std::vector<std::string> expected = {"modified", "at 3", "change", "cursor 4"};
    EXPECT_EQ(seen, expected);
    seen.clear();
    Type("y");
    EXPECT_EQ(seen, (std::vector<std::string>{"at 4", "change", "cursor 5"}));
}

TEST_F(kitBaseEdit, BoundLabelFollowsTheEdit) {
    auto* label = new gui::TLabel(form);
    label->SetBounds(0, 0, 30, 12);
    edit->SetBoundLabel(label);
    EXPECT_EQ(label->Parent(), form);
    struct Case {
        int position, left, top;
    };
    // The edit at (10, 10), 200 x 24; spacing 3.
    for (Case c : {Case{0, 10, -5}, Case{1, 10, 37}, Case{2, -23, 16}, Case{3, 213, 16}}) {
        edit->SetLabelPosition(c.position);
        EXPECT_EQ(label->Left(), c.left) << c.position;
        EXPECT_EQ(label->Top(), c.top) << c.position;
        EXPECT_EQ(label->Width(), 30);
    }
    edit->SetLeft(50);
    EXPECT_EQ(label->Left(), 253);
    edit->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    delete label;
    EXPECT_EQ(edit->BoundLabel(), nullptr);
}

TEST_F(kitBaseEdit, TextPropertyAndUpdateLock) {
    int changes = 0;
    edit->OnChange = [&](rtl::TObject*) { ++changes; };
    Start("same", 3);
    changes = 0;
    edit->SetText("same");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(edit->CursorPos(), 3);
    edit->BeginUpdate();
    const int before = edit->repaints;
    edit->EndUpdate();
    EXPECT_EQ(edit->UpdateCount(), 0);
    EXPECT_EQ(edit->repaints, before);
    edit->EndUpdate();
    EXPECT_EQ(edit->repaints, before + 1);
    // With bmWindows and no theme the window border frames the client area.
    EXPECT_EQ(edit->BorderExtent(), 2);
    EXPECT_EQ(edit->TextRect().Left, 1);
    EXPECT_EQ(edit->TextRect().Bottom, edit->ClientHeight() - 1);
}

TEST_F(kitBaseEdit, MouseSelectsAndMovesText) {
    Start("abc def ghi", 1);
    // A press and a drag select from the press to the release.
    Drag(edit->XOf(5), edit->XOf(8));
    EXPECT_EQ(edit->GetSelText(), "def");
    // A click inside the selection and a release at the same place cancels it there.
    const int inside = edit->XOf(6);
    Drag(inside, inside);
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->CursorPos(), 6);
    // Dragging the selection elsewhere moves it (two undo steps).
    gui::EditSetSel(edit, 4, 7);
    Drag(edit->XOf(6), edit->XOf(1));
    EXPECT_EQ(edit->Text(), "defabc  ghi");
    gui::EditUndo(edit);
    gui::EditUndo(edit);
    EXPECT_EQ(edit->Text(), "abc def ghi");
    EXPECT_EQ(edit->TextDragging(), false);
    // The mouse timer runs from the press to the release.
    const int pool = KitApplication->TimerPool->Count();
    Mouse(QEvent::MouseButtonPress, edit->XOf(2), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(KitApplication->TimerPool->Count(), pool + 1);
    Mouse(QEvent::MouseButtonRelease, edit->XOf(2), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(KitApplication->TimerPool->Count(), pool);
    // Left of the text is position 1, right of it the end.
    EXPECT_EQ(edit->CharIndexAt(-30), 1);
    EXPECT_EQ(edit->CharIndexAt(1000), 12);
}

TEST_F(kitBaseEdit, HeldButtonBeyondTheEdgeScrollsAndSelects) {
    Start(std::string(60, 'w'), 1);
    Mouse(QEvent::MouseButtonPress, edit->XOf(2), Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, edit->ClientWidth() + 20, Qt::LeftButton);
    const int reached = edit->CursorPos();
    EXPECT_LT(reached, 61);  // only what is shown so far
    EXPECT_GT(edit->ScrollOffset(), 0);
    // Every timer tick (200 ms on the pool's 50 ms beat) tracks the mouse over the scrolled text.
    for (int i = 0; i < 200 && edit->CursorPos() < 61; ++i) {
        gui::TMessage m{gui::WM_TIMER, 1, 0, 0};
        KitApplication->TimerPool->WndProc(m);
    }
    EXPECT_EQ(edit->CursorPos(), 61);
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 59);
    Mouse(QEvent::MouseButtonRelease, edit->ClientWidth() + 20, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(edit->SelLength(), 59);
}

TEST_F(kitBaseEdit, DoubleClickSelectsTheWord) {
    struct Case {
        std::string text;
        int cursor;
        std::string word;
    };
    const Case cases[] = {
        {"abc def ghi", 6, "def"}, {"abc def ghi", 1, "abc"}, {"abc def", 8, "def"},
        {" abc", 1, ""}, {" abc", 3, "abc"}, {"abc", 4, "abc"}, {"x", 1, "x"},
    };
    for (const Case& c : cases) {
        Start(c.text, c.cursor);
        edit->SelectWord();
        EXPECT_EQ(edit->GetSelText(), c.word) << c.text << " at " << c.cursor;
        EXPECT_EQ(edit->CursorPos(), c.cursor);
    }
    Start("abc def ghi", 1);
    const int b = edit->BorderExtent();
    const QPointF p(edit->XOf(6) + b, 8 + b);
    Drag(edit->XOf(6), edit->XOf(6));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, p, edit->Widget()->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit->Widget(), &dbl);
    EXPECT_EQ(edit->GetSelText(), "def");
    Mouse(QEvent::MouseButtonRelease, edit->XOf(6), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(edit->GetSelText(), "def");
}

TEST_F(kitBaseEdit, FocusKeepsCaretBufferAndSelection) {
    Start("abc", 2);
    EXPECT_EQ(gui::GetCaretOwner(), edit);
    EXPECT_NE(edit->BufferBitmap(), nullptr);
    edit->SetAutoSelect(true);
    edit->SetTabOnEnter(true);
    int exits = 0;
    edit->OnExit = [&](rtl::TObject*) { ++exits; };
    Key(Qt::Key_Return, Qt::NoModifier, "\r");
    ASSERT_TRUE(ProcessUntil([&] { return other->Focused(); }));
    EXPECT_EQ(exits, 1);
    EXPECT_NE(gui::GetCaretOwner(), edit);
    EXPECT_EQ(edit->BufferBitmap(), nullptr);
    edit->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    EXPECT_EQ(edit->SelLength(), 3);  // AutoSelect
    EXPECT_FALSE(edit->SelectionHidden());
}

// Random key sequences with undo: every undo restores the text before its change exactly.
TEST_F(kitBaseEdit, RandomEditingUndoesExactly) {
    std::mt19937 rng(1234);
    const char* pieces[] = {"a", "b", " ", "ä", "Ω", "\r\n", "xy", "\r", "\n"};
    for (int round = 0; round < 4; ++round) {
        edit->SetText("");
        edit->ClearUndo();
        edit->SetMaxLength(round == 1 ? 6 : 0);
        std::vector<std::string> before;
        for (int step = 0; step < 400; ++step) {
            const std::string text = edit->Text();
            const int steps = edit->UndoCount();
            const int op = static_cast<int>(rng() % 14);
            switch (op) {
            case 0: Type("q"); break;
            case 1: TypeUtf8("µ"); break;
            case 2: Key(Qt::Key_Left, rng() % 2 ? Qt::ShiftModifier : Qt::NoModifier); break;
            case 3: Key(Qt::Key_Right, rng() % 2 ? Qt::ShiftModifier : Qt::ControlModifier); break;
            case 4: Key(Qt::Key_Backspace); break;
            case 5: Key(Qt::Key_Delete); break;
            case 6: Key(Qt::Key_Insert); break;
            case 7: Key(rng() % 2 ? Qt::Key_Home : Qt::Key_End, rng() % 2 ? Qt::ShiftModifier : Qt::NoModifier); break;
            case 8: Key(Qt::Key_Escape); break;
            case 9:
                gui::Clipboard()->SetAsText(pieces[rng() % std::size(pieces)]);
                Key(Qt::Key_V, Qt::ControlModifier);
                break;
            case 10: edit->SetCursorPos(static_cast<int>(rng() % 12)); break;
            case 11: gui::EditSetSel(edit, static_cast<int>(rng() % 10), static_cast<int>(rng() % 10)); break;
            default:
                if (!before.empty()) {
                    gui::EditUndo(edit);
                    ASSERT_EQ(edit->Text(), before.back()) << "round " << round << " step " << step;
                    before.pop_back();
                    ASSERT_EQ(edit->UndoCount(), static_cast<int>(before.size()));
                }
                continue;
            }
            if (edit->UndoCount() == steps + 1) before.push_back(text);
            else ASSERT_EQ(edit->Text(), text) << "a change without an undo step, op " << op;
            ASSERT_GE(edit->CursorPos(), 1);
            ASSERT_LE(edit->CursorPos(), edit->TextLength() + 1);
        }
        while (!before.empty()) {
            gui::EditUndo(edit);
            ASSERT_EQ(edit->Text(), before.back());
            before.pop_back();
        }
        EXPECT_FALSE(edit->CanUndo());
        KitApplication->SetKeyState(1);
    }
}

}  // namespace

namespace {

// An edit freed while it has the focus, a selection and a held mouse button leaves no timer
// and no caret behind.
TEST_F(kitBaseEdit, FreedWhileFocusedAndPressed) {
    Start("abc def", 1);
    gui::EditSetSel(edit, 0, 3);
    const int pool = KitApplication->TimerPool->Count();
    Mouse(QEvent::MouseButtonPress, edit->XOf(6), Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(KitApplication->TimerPool->Count(), pool + 1);
    delete edit;
    edit = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(KitApplication->TimerPool->Count(), pool);
    EXPECT_EQ(gui::GetCaretOwner(), nullptr);
}

}  // namespace
