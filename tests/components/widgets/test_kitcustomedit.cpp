// The custom edit on a form as a person uses it: what is drawn, where the caret stands and where
// a click puts the cursor for every alignment, the blinking caret, the selection highlight, the
// password display, sizing to the font, the embedded buttons, and a random typing session.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "components/base/KitDrawText.h"
#include "components/base/kitapp.h"
#include "components/controls/KitEdit.h"
#include "components/controls/KitSpeedButton.h"
#include "components/controls/KitTextCodec.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/EditMessages.h"
#include "platform/gui/StdCtrls.h"
#include "tests/components/widgets/KitEditFixture.h"
#include "tests/gui/GuiFixture.h"

using namespace kit;

namespace {

class kitCustomEdit : public KitEditFixture<TKitEdit> {
protected:
    void SetUp() override {
        MakeEdit(120);
        edit->Caret()->SetBlinkRate(530);
        FocusEdit();
    }

    void Click(int clientX, int clientY = 8) {
        const int b = edit->BorderExtent();
        const QPointF p(clientX + b, clientY + b);
        const QPointF g = edit->Widget()->mapToGlobal(p);
        QMouseEvent move(QEvent::MouseMove, p, g, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &move);
        QMouseEvent press(QEvent::MouseButtonPress, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &release);
    }
    // The edit's window as shown, in client coordinates.
    QImage Shot() {
        const int b = edit->BorderExtent();
        return edit->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(b, b, edit->ClientWidth(),
                                                                                          edit->ClientHeight());
    }
    // The same without the caret.
    QImage ShotWithoutCaret() {
        edit->Caret()->Hide();
        QImage img = Shot();
        edit->Caret()->Show();
        return img;
    }
    // Columns of the text rectangle holding pixels of colour c (or, with ink, pixels other than
    // the background), from left to right.
    std::vector<int> Columns(const QImage& img, QRgb c, bool ink = false) {
        const gdi::TRect r = edit->TextRect();
        const QRgb back = qRgb(255, 255, 255);
        std::vector<int> cols;
        for (int x = r.Left; x < r.Right; ++x)
            for (int y = r.Top; y < r.Bottom; ++y) {
                const QRgb p = img.pixel(x, y) & 0xFFFFFF;
                if (ink ? p != (back & 0xFFFFFF) : p == (c & 0xFFFFFF)) {
                    cols.push_back(x);
                    break;
                }
            }
        return cols;
    }
    int Width(const std::string& s) {
        gdi::TCanvas* c = edit->Canvas();
        c->Font()->Assign(*edit->Font());
        return c->TextWidth(s);
    }

};

TEST_F(kitCustomEdit, ScrolledTextKeepsCaretAndClicksOnTheDrawnCharacters) {
    for (gui::TAlignment a : {gui::taCenter, gui::taRightJustify, gui::taLeftJustify}) {
        SCOPED_TRACE(static_cast<int>(a));
        edit->SetText("");
        edit->SetAlignment(a);
        Type("Wellenwiderstand 50 Ohm und Verkuerzungsfaktor");
        ASSERT_GT(edit->ScrollOffset(), 0);
        const gdi::TRect tr = edit->TextRect();
        EXPECT_EQ(gui::EditPosFromChar(edit, 0).X, tr.Left - edit->ScrollOffset());
        EXPECT_EQ(gui::EditPosFromChar(edit, edit->TextLength()).X, gui::GetCaretPos().X);

        // The caret stands right after the last drawn character, inside the text area.
        const std::vector<int> ink = Columns(ShotWithoutCaret(), 0, true);
        ASSERT_FALSE(ink.empty());
        const int caretX = gui::GetCaretPos().X;
        EXPECT_GE(caretX, ink.back() - 1);
        EXPECT_LE(caretX, ink.back() + 3);
        EXPECT_LE(caretX, tr.Right + 1);

        // A click anywhere on the drawn text puts the cursor at the gap nearest to the click.
        const int widest = Width("W");
        for (int x = tr.Left + 2; x < tr.Right - 2; x += 7) {
            Click(x);
            EXPECT_EQ(edit->SelLength(), 0);
            EXPECT_LE(std::abs(gui::GetCaretPos().X - x), widest / 2 + 2) << "click at " << x;
        }
        // Home scrolls back: the first character is drawn at the left edge.
        Key(Qt::Key_Home);
        EXPECT_EQ(edit->ScrollOffset(), 0);
        const std::vector<int> home = Columns(ShotWithoutCaret(), 0, true);
        ASSERT_FALSE(home.empty());
        EXPECT_LE(home.front(), tr.Left + 2);
    }
}

TEST_F(kitCustomEdit, ShortTextAndPosFromCharFollowItsAlignment) {
    edit->SetText("Ohm");
    const gdi::TRect tr = edit->TextRect();
    const int w = Width("Ohm");
    struct Case {
        gui::TAlignment a;
        int left;
    } cases[] = {{gui::taLeftJustify, tr.Left},
                 {gui::taRightJustify, tr.Right - w},
                 {gui::taCenter, tr.Left + (tr.Right - tr.Left - w) / 2}};
    for (const Case& c : cases) {
        edit->SetAlignment(c.a);
        const std::vector<int> ink = Columns(ShotWithoutCaret(), 0, true);
        ASSERT_FALSE(ink.empty());
        EXPECT_GE(ink.front(), c.left) << static_cast<int>(c.a);
        EXPECT_LE(ink.back(), c.left + w) << static_cast<int>(c.a);
        // EM_POSFROMCHAR gives where the characters are drawn.
        EXPECT_EQ(gui::EditPosFromChar(edit, 0).X, c.left) << static_cast<int>(c.a);
        EXPECT_EQ(gui::EditPosFromChar(edit, 0).Y, tr.Top);
        EXPECT_EQ(gui::EditPosFromChar(edit, 1).X, c.left + Width("O")) << static_cast<int>(c.a);
        EXPECT_EQ(gui::EditPosFromChar(edit, 3).X, c.left + w) << static_cast<int>(c.a);
        EXPECT_LT(ink.front(), gui::EditPosFromChar(edit, 1).X) << static_cast<int>(c.a);
        // A click left of the text puts the cursor first, right of it last.
        Click(tr.Left);
        EXPECT_EQ(edit->CursorPos(), 1);
        Click(tr.Right - 1);
        EXPECT_EQ(edit->CursorPos(), 4);
    }
}

TEST_F(kitCustomEdit, HighlightLiesUnderExactlyTheSelectedCharacters) {
    const QRgb back = qRgb(0, 0, 128);
    edit->SetHighlightBack(gdi::TColor(0x800000));  // blue in the colour's BGR order
    // Two-colour letters: a pixel is ink or not, so the two pictures compare pixel by pixel.
    edit->Font()->SetQuality(gdi::fqNonAntialiased);
    edit->SetText("abcdef");
    const gdi::TRect tr = edit->TextRect();
    const int w = Width("abcdef");
    const int textBottom = std::min(tr.Top + edit->Canvas()->TextHeight("Qp"), tr.Bottom);
    for (gui::TAlignment a : {gui::taLeftJustify, gui::taRightJustify, gui::taCenter}) {
        SCOPED_TRACE(static_cast<int>(a));
        edit->SetAlignment(a);
        edit->SetSelLength(0);
        const QImage plain = ShotWithoutCaret();
        gui::EditSetSel(edit, 1, 4);  // "bcd"
        ASSERT_EQ(edit->GetSelText(), "bcd");
        const QImage selected = ShotWithoutCaret();

        const int x0 = a == gui::taLeftJustify ? tr.Left
                       : a == gui::taRightJustify ? tr.Right - w
                                                   : tr.Left + (tr.Right - tr.Left - w) / 2;
        const std::vector<int> hl = Columns(selected, back);
        ASSERT_FALSE(hl.empty());
        EXPECT_EQ(hl.front(), x0 + Width("a"));
        EXPECT_EQ(hl.back(), x0 + Width("abcd") - 1);
        // Outside the highlight the picture is unchanged; inside, the selected characters are
        // drawn where the unselected ones were (their ink columns match).
        for (int x = tr.Left; x < tr.Right; ++x) {
            const bool inHighlight = x >= hl.front() && x <= hl.back();
            for (int y = tr.Top; y < textBottom; ++y) {
                const bool inkPlain = (plain.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
                const QRgb s = selected.pixel(x, y) & 0xFFFFFF;
                if (!inHighlight) {
                    ASSERT_EQ(plain.pixel(x, y), selected.pixel(x, y)) << x << "," << y;
                } else {
                    ASSERT_EQ(inkPlain, s != (back & 0xFFFFFF)) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(kitCustomEdit, BlinkingChangesOnlyTheCaretColumn) {
    edit->SetAlignment(gui::taCenter);
    edit->SetText("50 Ohm");
    Key(Qt::Key_End);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    ProcessFor(20);
    const QImage first = Shot();
    const bool phase = gui::CaretVisible();
    ASSERT_TRUE(ProcessUntil([&] { return gui::CaretVisible() != phase; }, 1200));
    const QImage second = Shot();
    const int caretX = gui::GetCaretPos().X;
    const int caretW = std::max(1, gui::GetCaretSize().cx);
    int differing = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            if (first.pixel(x, y) != second.pixel(x, y)) {
                ++differing;
                EXPECT_GE(x, caretX);
                EXPECT_LT(x, caretX + caretW);
            }
    EXPECT_GT(differing, 0);
}

TEST_F(kitCustomEdit, PasswordCharHidesTheTextAndKeepsItOffTheClipboard) {
    int changes = 0;
    edit->OnChange = [&](rtl::TObject*) { ++changes; };
    edit->SetText("geheim");
    EXPECT_EQ(changes, 1);
    edit->SetPasswordChar(U'*');
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(edit->DisplayText(), "******");
    EXPECT_EQ(edit->Perform(gui::EM_GETPASSWORDCHAR), '*');
    edit->Perform(gui::EM_SETPASSWORDCHAR, U'•');
    EXPECT_EQ(edit->DisplayText(), "••••••");

    gui::Clipboard()->SetAsText("draussen");
    edit->SelectAll();
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(gui::Clipboard()->AsText(), "draussen");
    EXPECT_EQ(edit->Text(), "geheim");
    edit->SetCursorPos(7);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "geheim");

    edit->SetPasswordChar(0);
    EXPECT_EQ(edit->DisplayText(), "geheim");
    edit->SelectAll();
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(gui::Clipboard()->AsText(), "geheim");
}

TEST_F(kitCustomEdit, AutoSizeFollowsFontAndBevel) {
    gdi::TBitmap probe;
    probe.SetSize(10, 10);
    for (int size : {8, 14}) {
        edit->Font()->SetSize(size);
        probe.Canvas()->Font()->Assign(*edit->Font());
        const int qp = probe.Canvas()->TextHeight("Qp") * 5 / 4;
        edit->SetAutoSize(false);
        edit->SetAutoSize(true);
        EXPECT_EQ(edit->Height(), qp + 5) << size;
        EXPECT_EQ(edit->Width(), 120);
        edit->Bevel()->SetMode(bmCustom);
        edit->Bevel()->SetStyleOuter(bvLowered);
        edit->Bevel()->SetStyleInner(bvLowered);
        ASSERT_EQ(edit->Bevel()->BevelExtent(), 2);
        edit->AdjustSize();
        EXPECT_EQ(edit->Height(), qp + 2 * edit->Bevel()->BevelExtent()) << size;
        edit->Bevel()->SetMode(bmWindows);
        edit->Bevel()->SetStyleOuter(bvNone);
        edit->Bevel()->SetStyleInner(bvNone);
    }
}

TEST_F(kitCustomEdit, EmbeddedButtonsNarrowTheTextAreaAndReportClicks) {
    EXPECT_EQ(edit->FrameRect().Right - edit->InnerRect().Right, 1);
    std::vector<std::string> clicks;
    for (int i = 0; i < 2; ++i) {
        TKitSpecialButton* b = edit->CustomButtons()->Add();
        b->SetCaption(i == 0 ? "+" : "-");
        b->OnClick = [&](rtl::TObject*, int index) { clicks.push_back("item " + std::to_string(index)); };
    }
    edit->OnBtnClick = [&](rtl::TObject*, rtl::TObject* btn, int index) {
        clicks.push_back("edit " + std::to_string(index) + (btn == edit->CustomButtons()->Items(index)->Button() ? "" : "?"));
    };
    ASSERT_TRUE(ProcessUntil([&] { return edit->FrameRect().Right - edit->InnerRect().Right == 33; }));
    EXPECT_EQ(edit->TextRect().Right, edit->InnerRect().Right - 1);
    for (int i = 0; i < 2; ++i) {
        const TKitSpeedButton* b = edit->CustomButtons()->Items(i)->Button();
        EXPECT_EQ(b->Parent(), edit);
        EXPECT_EQ(b->Left(), edit->InnerRect().Right + 1 + 16 * i);
        EXPECT_EQ(b->Width(), 16);
        EXPECT_EQ(b->Height(), edit->InnerRect().Bottom - edit->InnerRect().Top);
        EXPECT_LE(b->Left() + b->Width(), edit->FrameRect().Right);
        EXPECT_EQ(b->Style(), ubsIntegrated);
    }
    // Typing a long text never draws over the buttons.
    Type("0123456789012345678901234567890123456789");
    EXPECT_LE(gui::GetCaretPos().X, edit->TextRect().Right);

    Click(edit->CustomButtons()->Items(1)->Button()->Left() + 8);
    EXPECT_EQ(clicks, (std::vector<std::string>{"item 1", "edit 1"}));

    edit->SetCustomButtonWidth(20);
    EXPECT_EQ(edit->FrameRect().Right - edit->InnerRect().Right, 41);
    edit->CustomButtons()->Delete(0);
    ASSERT_TRUE(ProcessUntil([&] { return edit->FrameRect().Right - edit->InnerRect().Right == 21; }));
    EXPECT_EQ(edit->CustomButtons()->Items(0)->Button()->Left(), edit->InnerRect().Right + 1);
}

TEST_F(kitCustomEdit, BehavesAsAnEditToSomeoneTyping) {
    struct Walk {
        std::string text;
        int from;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int first, second;
    } walks[] = {{"abc def", 8, Qt::Key_Left, Qt::ControlModifier, 4, 1},
                 {"abc def", 1, Qt::Key_Right, Qt::ControlModifier, 4, 8},
                 {"a\r\nb", 4, Qt::Key_Left, Qt::NoModifier, 2, 1}};
    for (const Walk& w : walks) {
        edit->SetText(w.text);
        edit->SetCursorPos(w.from);
        Key(w.key, w.mods);
        EXPECT_EQ(edit->CursorPos(), w.first) << w.text;
        Key(w.key, w.mods);
        EXPECT_EQ(edit->CursorPos(), w.second) << w.text;
    }

    edit->SetText("abcdefg");
    edit->SetCursorPos(2);
    for (int i = 0; i < 3; ++i) Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Escape);
    Type("x");
    EXPECT_EQ(edit->Text(), "abcdxefg");

    edit->SetText("abcd");
    edit->SetCursorPos(3);
    Key(Qt::Key_Insert);
    Type("x");
    EXPECT_EQ(edit->Text(), "abxd");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abcd");
    Key(Qt::Key_Insert);

    edit->SetText("abcdefg");
    gui::EditSetSel(edit, 2, 5);
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 3);

    edit->SetText("");
    for (const char* c : {"ä", "µ", "Ω"}) Key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(c));
    EXPECT_EQ(edit->Text(), "äµΩ");
    edit->SelectAll();
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(gui::Clipboard()->AsText(), "äµΩ");
    EXPECT_EQ(edit->Text(), "");
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "äµΩäµΩ");
}

TEST_F(kitCustomEdit, RandomTypingIsUndoneStepByStep) {
    std::mt19937 rng(19);
    const Qt::Key moves[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Backspace,
                             Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Escape};
    const char* chars[] = {"a", "Z", " ", "ä", "µ", "Ω", "5"};
    for (gui::TAlignment a : {gui::taLeftJustify, gui::taCenter, gui::taRightJustify}) {
        edit->SetAlignment(a);
        edit->SetText("");
        edit->ClearUndo();
        // The text before each undo step, in the order the steps were made.
        std::vector<std::string> before;
        for (int step = 0; step < 300; ++step) {
            const std::string was = edit->Text();
            const int records = edit->UndoCount();
            const int kind = static_cast<int>(rng() % 4);
            if (kind == 0) {
                const Qt::KeyboardModifiers mods = rng() % 3 == 0 ? Qt::ShiftModifier : Qt::NoModifier;
                Key(moves[rng() % std::size(moves)], mods);
            } else if (kind == 1 && rng() % 4 == 0) {
                Click(static_cast<int>(rng() % static_cast<unsigned>(edit->ClientWidth())));
            } else {
                Key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(chars[rng() % std::size(chars)]));
            }
            ASSERT_GE(edit->CursorPos(), 1);
            ASSERT_LE(edit->CursorPos(), edit->TextLength() + 1);
            ASSERT_LE(gui::GetCaretPos().X, edit->TextRect().Right + 1);
            const int added = edit->UndoCount() - records;
            ASSERT_LE(added, 1);
            if (added == 1) before.push_back(was);
        }
        ASSERT_GT(before.size(), 50u);
        while (!before.empty()) {
            ASSERT_TRUE(edit->CanUndo());
            edit->Undo();
            ASSERT_EQ(edit->Text(), before.back());
            before.pop_back();
        }
        KitApplication->SetKeyState(1);
    }
}

// ---- Character geometry of long and varied texts ----------------------------------------------

// The positions as the edit's rules state them, every width measured on the canvas as the
// string it is: the width of the first i characters and of character i alone, and where the
// unscrolled display text starts (its alignment; a text wider than the area starts at the left).
struct MeasuredText {
    std::vector<int> prefix{0};
    std::vector<int> single{0};
    int x0 = 0;

    explicit MeasuredText(TKitEdit* e) {
        gdi::TCanvas* c = e->Canvas();
        c->Font()->Assign(*e->Font());
        const int old = c->SetTextCharacterExtra(e->Font3D()->Tracing());
        const std::u32string d = KitUtf8ToUtf32(e->DisplayText());
        for (std::size_t i = 1; i <= d.size(); ++i) {
            prefix.push_back(c->TextWidth(KitUtf32ToUtf8(d.substr(0, i))));
            single.push_back(c->TextWidth(KitUtf32ToUtf8(d.substr(i - 1, 1))));
        }
        c->SetTextCharacterExtra(old);
        const gdi::TRect tr = e->TextRect();
        const int w = prefix.back(), room = tr.Right - tr.Left;
        int left = tr.Left;
        if (w <= room && e->Alignment() == gui::taRightJustify) left = tr.Right - w;
        if (w <= room && e->Alignment() == gui::taCenter) left = tr.Left + (room - w) / 2;
        x0 = left - e->ScrollOffset();
    }
    int Count() const { return static_cast<int>(prefix.size()) - 1; }
    // The first character whose middle lies at or right of X, one by one.
    int Hit(int X) const {
        int i = 1;
        for (; i <= Count(); ++i)
            if (prefix[static_cast<std::size_t>(i)] - single[static_cast<std::size_t>(i)] / 2 + x0 >= X) break;
        return i;
    }
};

class kitCustomEditGeometry : public kitCustomEdit {
protected:
    // The hit test for every x across the area and beyond, the point of every character and
    // the caret agree with the measured positions.
    void ExpectMeasuredGeometry(const std::string& what) {
        const MeasuredText m(edit);
        const gdi::TRect tr = edit->TextRect();
        for (int x = tr.Left - 30; x <= tr.Right + 30; ++x)
            ASSERT_EQ(edit->CharIndexAt(x), m.Hit(x)) << what << ": click at " << x;
        for (int i = 0; i <= m.Count(); ++i)
            ASSERT_EQ(gui::EditPosFromChar(edit, i).X, m.x0 + m.prefix[static_cast<std::size_t>(i)]) << what << ": char " << i;
        if (m.Count() > 0) {
            ASSERT_EQ(gui::GetCaretPos().X, m.x0 + m.prefix[static_cast<std::size_t>(edit->CursorPos() - 1)]) << what;
        }
    }
    // The same at the text's end (scrolled when it is long), its start and its middle.
    void ExpectMeasuredGeometryAlong(const std::string& what) {
        Key(Qt::Key_End);
        ExpectMeasuredGeometry(what + " (end)");
        edit->SetCursorPos(edit->TextLength() / 2);
        ExpectMeasuredGeometry(what + " (middle)");
        Key(Qt::Key_Home);
        ExpectMeasuredGeometry(what + " (start)");
    }
};

TEST_F(kitCustomEditGeometry, HitTestCaretAndPointsFollowTheMeasuredText) {
    // Letters advance by fractions of a pixel in the program's faces: a long mixed text ends
    // where its whole measured width says, not where rounded widths of its parts add up to.
    std::string mixed;
    while (KitUtf8ToUtf32(mixed).size() < 600)
        mixed += "Verkürzungsfaktor 0,66 – Wellenwiderstand 50 Ω; Übergangswiderstand 12 µΩ, ÄÖÜ äöü ß; ";
    const std::string texts[] = {
        "Wellenwiderstand 50 Ohm und Verkürzungsfaktor 0,66 – Dämpfung ÄÖÜß je 100 m",
        "Ωμέγα Привет ½ € “Zitat” … 日本語 ﬁ fi fl ff AVAWTo Te Wa LT, ein langer Rest",
        "Spalte\tSpalte\tSpalte\tmit Tabulatoren zwischen den Spalten",
        "Zeile eins\r\nZeile zwei nach dem Umbruch, lang genug zum Rollen",
        "Cafe\u0301 mit Akzentzeichen, danach noch viel mehr Text zum Rollen",
        mixed,
        "Ohm",
        "",
    };
    // The interface font at 8 points and the 13-pixel face.
    for (int height : {-11, -13}) {
        edit->Font()->SetHeight(height);
        for (gui::TAlignment a : {gui::taLeftJustify, gui::taRightJustify, gui::taCenter}) {
            edit->SetAlignment(a);
            for (const std::string& t : texts) {
                edit->SetText(t);
                ExpectMeasuredGeometryAlong(t.substr(0, 40) + " / " + std::to_string(height) + " px / alignment " +
                                            std::to_string(static_cast<int>(a)));
            }
        }
    }
    edit->Font()->SetHeight(-11);
    const std::string t = texts[0];
    edit->SetAlignment(gui::taLeftJustify);
    edit->SetText(t);
    Key(Qt::Key_End);
    ExpectMeasuredGeometry("measured once");
    // Two-colour letters advance by whole pixels, smoothed ones by fractions.
    edit->Font()->SetQuality(gdi::fqNonAntialiased);
    ExpectMeasuredGeometryAlong("two-colour");
    edit->Font()->SetQuality(gdi::fqDefault);
    ExpectMeasuredGeometryAlong("smoothed again");
    // A change of font, letter spacing or display text after measuring.
    edit->Font()->SetStyle(gdi::fsBold);
    ExpectMeasuredGeometryAlong("bold");
    edit->Font()->SetHeight(-17);
    ExpectMeasuredGeometryAlong("17 pixels");
    edit->Font3D()->SetTracing(2);
    ExpectMeasuredGeometryAlong("spaced");
    edit->Font3D()->SetTracing(0);
    edit->SetPasswordChar(U'•');
    ExpectMeasuredGeometryAlong("password");
    edit->SetPasswordChar(0);
    // Typing and deleting inside the text, and text put in by paste.
    edit->SetCursorPos(10);
    Type("Wim");
    ExpectMeasuredGeometry("typed in the middle");
    edit->SetCursorPos(5);
    for (int i = 0; i < 4; ++i) Key(Qt::Key_Backspace);
    ExpectMeasuredGeometry("deleted near the start");
    gui::Clipboard()->SetAsText("\tTab");
    edit->SetCursorPos(20);
    Key(Qt::Key_V, Qt::ControlModifier);
    ExpectMeasuredGeometry("tab pasted");
    edit->SetCursorPos(20);
    for (int i = 0; i < 4; ++i) Key(Qt::Key_Delete);
    Key(Qt::Key_End);
    ExpectMeasuredGeometry("tab deleted");
}

TEST_F(kitCustomEditGeometry, LongTextIsDrawnAsTheWholeTextDrawsIt) {
    edit->SetHighlightBack(gdi::TColor(0x800000));
    edit->SetHighlightText(gdi::clWhite);
    const gdi::TRect tr = edit->TextRect();
    // The whole display text drawn into the text area as the edit's rules say, with the
    // highlight under the selected characters and the selected characters drawn again in the
    // highlight's colours exactly over themselves.
    auto reference = [&] {
        const MeasuredText m(edit);
        gdi::TBitmap bmp(edit->ClientWidth(), edit->ClientHeight());
        gdi::TCanvas& c = *bmp.Canvas();
        c.Brush()->SetColor(gdi::clWhite);
        c.FillRect(gdi::Rect(0, 0, edit->ClientWidth(), edit->ClientHeight()));
        c.Font()->Assign(*edit->Font());
        c.IntersectClipRect(tr);
        gdi::TRect r = tr;
        r.Left = m.x0;
        r.Right = std::max(tr.Right, m.x0 + m.prefix.back() + 1);
        int l = 0, rx = 0;
        const bool selected = edit->SelLength() > 0;
        if (selected) {
            l = m.x0 + m.prefix[static_cast<std::size_t>(edit->SelStart() - 1)];
            rx = std::min(m.x0 + m.prefix[static_cast<std::size_t>(edit->SelStart() + edit->SelLength() - 1)], tr.Right);
            c.Brush()->SetColor(edit->HighlightBack());
            c.Pen()->SetColor(edit->HighlightBack());
            c.Rectangle(l, tr.Top, rx, std::min(tr.Top + c.TextHeight("Qp"), tr.Bottom));
        }
        c.Brush()->SetStyle(gdi::bsClear);
        KitDrawFxText(c, edit->DisplayText(), edit->Font3D(), r, gdi::DT_SINGLELINE | gdi::DT_NOPREFIX, kftEnabled, nullptr);
        if (selected) {
            c.Font()->SetColor(edit->HighlightText());
            c.IntersectClipRect(gdi::Rect(l, tr.Top, rx, r.Bottom));
            KitDrawFxText(c, edit->DisplayText(), edit->Font3D(), r, gdi::DT_SINGLELINE | gdi::DT_NOPREFIX, kftEnabled, nullptr);
        }
        return bmp.ToQImage().convertToFormat(QImage::Format_RGB32);
    };
    auto expectDrawnAsReference = [&](const std::string& what) {
        const QImage shown = ShotWithoutCaret();
        const QImage want = reference();
        int ink = 0;
        for (int y = tr.Top; y < tr.Bottom; ++y)
            for (int x = tr.Left; x < tr.Right; ++x) {
                ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, want.pixel(x, y) & 0xFFFFFF) << what << " at " << x << "," << y;
                ink += (want.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
            }
        EXPECT_GT(ink, 50) << what;
    };
    struct Case {
        const char* words;
        int height;
    } cases[] = {
        {"Verkürzungsfaktor 0,66 – Wellenwiderstand 50 Ω; ", -11},
        {"Verkürzungsfaktor 0,66 – Wellenwiderstand 50 Ω; ", -13},
        {"Spalte\tVerkürzungsfaktor 0,66\tWellenwiderstand 50 Ω; ", -13},
    };
    auto expectDrawnAlong = [&](const std::string& text) {
        edit->SetText(text);
        Key(Qt::Key_End);
        ASSERT_GT(edit->ScrollOffset(), 1000);
        expectDrawnAsReference("end");
        edit->SetCursorPos(200);
        Key(Qt::Key_Left);
        expectDrawnAsReference("middle");
        // A selection from far left of the area into it, and one inside it.
        edit->SetCursorPos(20);
        Key(Qt::Key_End, Qt::ShiftModifier);
        ASSERT_EQ(edit->SelStart(), 20);
        expectDrawnAsReference("selected from far left");
        const int n = edit->TextLength();
        gui::EditSetSel(edit, n - 12, n - 3);
        ASSERT_EQ(edit->SelLength(), 9);
        expectDrawnAsReference("selected inside");
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.words) + " " + std::to_string(k.height));
        edit->Font()->SetHeight(k.height);
        std::string text;
        while (KitUtf8ToUtf32(text).size() < 400) text += k.words;
        expectDrawnAlong(text);
    }
    // One long word: ligatures where the drawn part starts for some of the shifts, and joined
    // Arabic letters, written from right to left (a part of them would be reordered on its own).
    for (const char* word : {"Schiffsoffizierflaggenstofffilterauflage", "المستشفياتوالمدارسالحكومية"})
        for (int height : {-11, -13})
            for (int shift = 0; shift < 6; ++shift) {
                SCOPED_TRACE(std::string(word) + " " + std::to_string(height) + " shifted " + std::to_string(shift));
                edit->Font()->SetHeight(height);
                std::string text(static_cast<std::size_t>(shift), 'x');
                while (KitUtf8ToUtf32(text).size() < 400) text += word;
                expectDrawnAlong(text);
                ExpectMeasuredGeometryAlong("long word");
            }
}

}  // namespace

namespace {

class kitCustomEditFirstFocus : public GuiFixture {};

TEST_F(kitCustomEditFirstFocus, FirstControlOfAShownFormGetsItsCaret) {
    KitApplication->SetKeyState(1);
    gui::TForm* form = nullptr;
    app.CreateForm(form);
    form->SetBounds(0, 0, 300, 120);
    auto* edit = new TKitEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 120, 24);
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    // The window's activation focuses the edit without the focus message.
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    EXPECT_TRUE(ProcessUntil([&] { return gui::GetCaretOwner() == edit; }));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, "x");
    QApplication::sendEvent(edit->Widget(), &press);
    EXPECT_EQ(edit->Text(), "x");
    EXPECT_EQ(gui::GetCaretOwner(), edit);
    EXPECT_GT(gui::GetCaretPos().X, edit->TextRect().Left);
}

}  // namespace
