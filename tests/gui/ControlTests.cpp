// Standard controls: which changes run handlers, lists bound to widgets, layout, timer.
#include <QAccessible>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

class guiControls : public GuiFixture {
protected:
    TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->Show();
        form->SetClientWidth(500);
        form->SetClientHeight(400);
    }
    template <class T>
    T* Make() {
        auto* c = new T(form);
        c->SetParent(form);
        return c;
    }
};

TEST_F(guiControls, RadioGroupRunsOnClickWhenItsIndexChanges) {
    auto* rg = Make<TRadioGroup>();
    for (const char* s : {"E-Feld", "H-Feld", "Z=E/H"}) rg->Items()->Add(s);
    int clicks = 0;
    rg->OnClick = [&](rtl::TObject*) { ++clicks; };
    EXPECT_EQ(rg->ItemIndex(), -1);
    rg->SetItemIndex(1);
    EXPECT_EQ(clicks, 1);
    rg->SetItemIndex(1);
    EXPECT_EQ(clicks, 1);  // unchanged: no handler
    rg->SetItemIndex(7);
    EXPECT_EQ(rg->ItemIndex(), 2);  // clamped to the last item
    EXPECT_EQ(clicks, 2);
    rg->SetItemIndex(-1);
    EXPECT_EQ(clicks, 2);  // nothing selected: no handler
    const auto buttons = rg->Widget()->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    for (QRadioButton* b : buttons) EXPECT_FALSE(b->isChecked());

    // The user's click.
    buttons[0]->click();
    EXPECT_EQ(rg->ItemIndex(), 0);
    EXPECT_EQ(clicks, 3);
    buttons[0]->click();  // the checked button again: no change
    EXPECT_EQ(clicks, 3);

    // Changing the items keeps the numeric index and runs nothing.
    rg->SetItemIndex(2);
    rg->Items()->Delete(0);
    EXPECT_EQ(rg->ItemIndex(), 1);
    rg->Items()->Put(0, "Neu");
    EXPECT_EQ(rg->Widget()->findChildren<QRadioButton*>()[0]->text(), QStringLiteral("Neu"));
    EXPECT_EQ(clicks, 4);
}

TEST_F(guiControls, RadioGroupHandlerMayChangeTheIndexAgain) {
    auto* rg = Make<TRadioGroup>();
    for (const char* s : {"a", "b", "c"}) rg->Items()->Add(s);
    std::vector<int> seen;
    rg->OnClick = [&](rtl::TObject*) {
        seen.push_back(rg->ItemIndex());
        if (rg->ItemIndex() == 2) rg->SetItemIndex(1);  // falls back, running the handler again
    };
    rg->SetItemIndex(2);
    EXPECT_EQ(seen, (std::vector<int>{2, 1}));
    EXPECT_EQ(rg->ItemIndex(), 1);
}

TEST_F(guiControls, ScrollBarRunsOnChangeWhenThePositionChanges) {
    auto* sb = Make<TScrollBar>();
    int changes = 0;
    sb->OnChange = [&](rtl::TObject*) { ++changes; };
    sb->SetParams(200, 1, 1000);
    EXPECT_EQ(changes, 1);
    sb->SetPosition(200);
    EXPECT_EQ(changes, 1);
    sb->SetPosition(5000);
    EXPECT_EQ(sb->Position(), 1000);
    EXPECT_EQ(changes, 2);
    sb->SetMax(500);  // moves the position into the range
    EXPECT_EQ(sb->Position(), 500);
    EXPECT_EQ(changes, 3);
    EXPECT_THROW(sb->SetMin(600), rtl::EInvalidOperation);
    EXPECT_EQ(sb->Min(), 1);
    auto* bar = static_cast<QScrollBar*>(sb->Widget());
    EXPECT_EQ(bar->value(), 500);
    bar->setValue(42);  // as a drag of the thumb does
    EXPECT_EQ(sb->Position(), 42);
    EXPECT_EQ(changes, 4);
}

TEST_F(guiControls, ComboBoxRunsOnChangeOnlyForTheUser) {
    auto* cb = Make<TComboBox>();
    int changes = 0;
    cb->OnChange = [&](rtl::TObject*) { ++changes; };
    cb->SetText("-keine-");
    for (const char* s : {"2,0", "5,0", "8,0"}) cb->Items()->Add(s);
    EXPECT_EQ(cb->Text(), "-keine-");  // adding items keeps the text
    EXPECT_EQ(cb->ItemIndex(), -1);
    cb->SetItemIndex(1);
    EXPECT_EQ(cb->Text(), "5,0");
    cb->SetText("8,0");
    EXPECT_EQ(cb->ItemIndex(), 2);
    cb->SetText("7");
    EXPECT_EQ(cb->ItemIndex(), -1);
    cb->Items()->Clear();
    EXPECT_EQ(cb->Text(), "");
    EXPECT_EQ(changes, 0);

    for (const char* s : {"LW", "160m", "80m"}) cb->Items()->Add(s);
    auto* box = static_cast<QComboBox*>(cb->Widget());
    box->setCurrentIndex(2);
    emit box->activated(2);  // the user chose an item
    EXPECT_EQ(changes, 1);
    // Typing: OnChange for every key, the index follows a matching text.
    box->lineEdit()->clear();
    for (const char* k : {"1", "6", "0", "M"}) {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromLatin1(k));
        QApplication::sendEvent(box->lineEdit(), &e);
    }
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(cb->Text(), "160M");
    EXPECT_EQ(cb->ItemIndex(), 1);

    cb->SetStyle(csDropDownList);
    cb->SetText("lw");
    EXPECT_EQ(cb->ItemIndex(), 0);
    EXPECT_EQ(changes, 5);
}

TEST_F(guiControls, EditOnChangeAndKeyHooks) {
    // A subclass that turns Enter into a move to the next control and drops digits.
    struct EnterEdit : TEdit {
        using TEdit::TEdit;
        int entersSeen = 0;
        void KeyPress(TKeyChar& key) override {
            if (key == '\r') {
                ++entersSeen;
                key = 0;
                SelectNext();
            } else if (key >= '0' && key <= '9') {
                key = 0;
            }
            TEdit::KeyPress(key);
        }
    };
    auto* edit = new EnterEdit(form);
    edit->SetParent(form);
    auto* next = Make<TEdit>();
    next->SetTop(40);
    int changes = 0, exits = 0;
    std::string pressed;
    edit->OnChange = [&](rtl::TObject*) { ++changes; };
    edit->OnExit = [&](rtl::TObject*) { ++exits; };
    edit->OnKeyPress = [&](rtl::TObject*, TKeyChar& k) { pressed.push_back(static_cast<char>(k)); };
    edit->SetText("abc");
    EXPECT_EQ(changes, 1);  // text set in code runs OnChange, as typing does

    QApplication::setActiveWindow(form->Widget());
    edit->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    auto send = [&](int key, const QString& text) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(edit->Widget(), &e);
    };
    send(Qt::Key_X, QStringLiteral("x"));
    send(Qt::Key_5, QStringLiteral("5"));
    EXPECT_EQ(edit->Text(), "abcx");
    EXPECT_EQ(pressed, std::string("x\0", 2));  // the swallowed digit reaches OnKeyPress as 0
    edit->SetMaxLength(5);
    send(Qt::Key_unknown, QStringLiteral("ä"));
    send(Qt::Key_unknown, QStringLiteral("ö"));  // beyond five characters: refused
    EXPECT_EQ(edit->Text(), "abcxä");
    edit->SetText("längerer Text");        // code is not limited
    EXPECT_EQ(edit->Text(), "längerer Text");
    edit->SetText("abcx");
    send(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(edit->entersSeen, 1);
    EXPECT_TRUE(ProcessUntil([&] { return next->Focused(); }));
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(edit->Text(), "abcx");
}

TEST_F(guiControls, MemoLinesAreBoundToTheWidget) {
    auto* memo = Make<TMemo>();
    rtl::TStrings* lines = memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("erste");
    lines->Add("zweite");
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_EQ(memo->Text(), "erste\r\nzweite\r\n");  // each added line ends with a line break
    lines->Insert(0, "null");
    lines->Put(2, "Zwei");
    EXPECT_EQ(lines->Get(0), "null");
    EXPECT_EQ(lines->Get(2), "Zwei");
    lines->Delete(2);
    EXPECT_EQ(memo->Text(), "null\r\nerste\r\n");
    EXPECT_THROW(lines->Get(2), rtl::EStringListError);
    memo->SetText("a\r\n");  // a trailing empty line is no line
    EXPECT_EQ(lines->Count(), 1);
    lines->Add("b");
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_EQ(lines->Get(1), "b");
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
    EXPECT_EQ(memo->Text(), "");
}

TEST_F(guiControls, AlignClientFillsTheFormAndFollowsItsSize) {
    auto* top = Make<TPanel>();
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* rest = Make<TMemo>();
    rest->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), gdi::Bounds(0, 0, 500, 30));
    EXPECT_EQ(rest->BoundsRect(), gdi::Bounds(0, 30, 500, 370));
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    EXPECT_EQ(rest->BoundsRect(), gdi::Bounds(0, 30, 300, 170));
    EXPECT_EQ(rest->Widget()->geometry(), QRect(0, 30, 300, 170));
}

TEST_F(guiControls, ColorPaintsTheControlItselfNotItsChildren) {
    auto* panel = Make<TPanel>();
    panel->SetColor(gdi::clGray);
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    EXPECT_EQ(panel->Widget()->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_EQ(edit->Widget()->palette().color(QPalette::Base), gdi::ColorToQColor(gdi::clWindow));
    edit->SetColor(gdi::clBtnFace);
    EXPECT_EQ(edit->Widget()->palette().color(QPalette::Base), gdi::ColorToQColor(gdi::clBtnFace));
}

TEST_F(guiControls, LabelAutoSizeKeepsItsAnchor) {
    auto* left = Make<TLabel>();
    left->SetLeft(100);
    left->SetCaption("&Breite");
    const int w = left->Width();
    auto* plain = Make<TLabel>();
    plain->SetCaption("Breite");
    EXPECT_EQ(plain->Width(), w);  // the accelerator mark takes no room
    EXPECT_GT(w, 0);
    EXPECT_EQ(left->Left(), 100);
    auto* right = Make<TLabel>();
    right->SetAlignment(taRightJustify);
    right->SetBounds(100, 0, 50, 13);
    right->SetCaption("&Breite");
    EXPECT_EQ(right->Width(), w);
    EXPECT_EQ(right->Left() + right->Width(), 150);  // the right edge stays
    right->Font()->SetColor(gdi::clRed);
    {
        const QImage shot = form->Widget()->grab().toImage();
        int red = 0;
        for (int y = right->Top(); y < right->Top() + right->Height(); ++y)
            for (int x = right->Left(); x < right->Left() + right->Width(); ++x)
                if (qRed(shot.pixel(x, y)) > 200 && qGreen(shot.pixel(x, y)) < 128 && qBlue(shot.pixel(x, y)) < 128) ++red;
        EXPECT_GT(red, 0);  // the caption is drawn in the font's colour (mostly red: smoothed)
    }
    right->Font()->SetStyle(gdi::fsBold);
    EXPECT_GT(right->Width(), w);  // a bold caption is wider
    EXPECT_EQ(right->Left() + right->Width(), 150);
}

TEST_F(guiControls, CheckBoxClickRunsForCodeAndUser) {
    auto* cb = Make<TCheckBox>();
    int clicks = 0;
    cb->OnClick = [&](rtl::TObject*) { ++clicks; };
    cb->SetChecked(true);
    cb->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    SendClick(cb->Widget(), QPoint(5, cb->Height() / 2));
    EXPECT_FALSE(cb->Checked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(guiControls, GaugeClampsProgress) {
    auto* g = Make<TGauge>();
    g->SetProgress(150);
    EXPECT_EQ(g->Progress(), 100);
    g->SetProgress(-3);
    EXPECT_EQ(g->Progress(), 0);
    g->SetProgress(40);
    EXPECT_EQ(g->PercentDone(), 40);
}

TEST_F(guiControls, TimerFiresAndKeepsGoingAfterAnError) {
    TTimer timer(form);
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_TRUE(timer.Enabled());
    timer.SetInterval(5);
    int ticks = 0;
    timer.OnTimer = [&](rtl::TObject*) {
        if (++ticks == 1) throw rtl::Exception("Tick");
    };
    EXPECT_TRUE(ProcessUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(presenter.boxes.size(), 1u);
    timer.SetEnabled(false);
    const int stopped = ticks;
    ProcessFor(40);
    EXPECT_EQ(ticks, stopped);
}

TEST_F(guiControls, FreedControlTakesItsAccessibleInterfaceAlong) {
    // An assistive client asks for the interfaces of the controls; freeing a control must
    // release them too (Qt drops them on the widget's destroyed()).
    std::vector<QAccessible::Id> ids;
    auto* edit = Make<TEdit>();
    auto* combo = Make<TComboBox>();
    auto* button = Make<TButton>();
    for (TControl* c : {static_cast<TControl*>(edit), static_cast<TControl*>(combo), static_cast<TControl*>(button)}) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c->Widget());
        ASSERT_NE(iface, nullptr);
        ids.push_back(QAccessible::uniqueId(iface));
    }
    delete edit;
    delete combo;
    delete button;
    for (QAccessible::Id id : ids) EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr) << id;
}
