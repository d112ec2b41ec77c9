#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QThread>
#include <QWindow>

#include <string>

#include "foundation/EditAlign.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"

// QtGui's entry for mouse input as the window system delivers it (updates the button state,
// gives focus by click).
void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                         Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                         Qt::KeyboardModifiers mods, int timestamp);

namespace {

template <class Pred>
bool ProcessUntil(Pred P, int DeadlineMs = 3000)
{
    QElapsedTimer T;
    T.start();
    while (!P()) {
        if (T.elapsed() > DeadlineMs) return P();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
    return true;
}

class EditAlignTest : public ::testing::Test {
protected:
    gui::ScriptedPresenter Presenter;
    gui::TApplication App;
    gui::TForm* Form = nullptr;
    TEditAlign* Edit = nullptr;
    gui::TEdit* Next = nullptr;
    int Exits = 0;
    std::string Pressed;

    void SetUp() override
    {
        App.CreateForm(Form);
        Form->SetBounds(0, 0, 300, 200);
        Edit = new TEditAlign(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 120, 21);
        Next = new gui::TEdit(Form);
        Next->SetParent(Form);
        Next->SetBounds(10, 50, 120, 21);
        Edit->OnExit = [this](rtl::TObject*) { ++Exits; };
        Edit->OnKeyPress = [this](rtl::TObject*, gui::TKeyChar& K) { Pressed.push_back(K ? static_cast<char>(K) : '0'); };
        Form->Show();
        QApplication::setActiveWindow(Form->Widget());
    }

    void FocusEdit()
    {
        Edit->SetFocus();
        ASSERT_TRUE(ProcessUntil([&] { return Edit->Focused(); }));
    }

    void PressEnter()
    {
        QKeyEvent E(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(Edit->Widget(), &E);
    }

    void Click(gui::TWinControl* C, int X)
    {
        QWidget* W = C->Widget();
        QWindow* Win = W->window()->windowHandle();
        ASSERT_NE(Win, nullptr);
        const QPointF Local = W->mapTo(W->window(), QPointF(X, W->height() / 2));
        const QPointF Global = W->window()->mapToGlobal(Local);
        Time += 5000;  // separate clicks, never a double click
        qt_handleMouseEvent(Win, Local, Global, Qt::LeftButton, Qt::LeftButton,
                            QEvent::MouseButtonPress, Qt::NoModifier, Time);
        qt_handleMouseEvent(Win, Local, Global, Qt::NoButton, Qt::LeftButton,
                            QEvent::MouseButtonRelease, Qt::NoModifier, Time + 50);
        QCoreApplication::processEvents();
    }
    int Time = 1000;
};

TEST_F(EditAlignTest, EnterWithExitOnEnterKeyMovesToTheNextControl)
{
    Edit->SetExitOnEnterKey(true);
    Edit->SetText("100");
    FocusEdit();
    PressEnter();
    EXPECT_TRUE(ProcessUntil([&] { return Next->Focused(); }));
    EXPECT_EQ(Exits, 1);
    EXPECT_EQ(Edit->Text(), "100");
    EXPECT_EQ(Pressed, "0");  // the key event sees the swallowed key
}

TEST_F(EditAlignTest, EnterInASingleLineFieldIsSwallowed)
{
    bool ReturnReachedEdit = false;
    QObject::connect(static_cast<QLineEdit*>(Edit->Widget()), &QLineEdit::returnPressed,
                     [&] { ReturnReachedEdit = true; });
    Edit->SetText("100");
    FocusEdit();
    PressEnter();
    QCoreApplication::processEvents();
    EXPECT_FALSE(ReturnReachedEdit);
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Exits, 0);
    EXPECT_EQ(Edit->Text(), "100");

    Edit->SetMultiLine(true);  // now Enter passes
    PressEnter();
    EXPECT_TRUE(ReturnReachedEdit);
    EXPECT_EQ(Pressed, std::string("0\r"));
}

TEST_F(EditAlignTest, MultiLineOffRemovesLineBreaksOnly)
{
    struct Case { const char* In; const char* Out; };
    const Case Cases[] = {
        {"a\r\nb", "ab"},
        {"a\rxb", "axb"},  // a lone CR takes no character with it
        {"a\nb\r\n\r\nc", "abc"},
        {"ohne", "ohne"},
    };
    for (const Case& C : Cases) {
        Edit->SetMultiLine(true);
        Edit->SetText(C.In);
        Edit->SetMultiLine(false);
        EXPECT_EQ(Edit->Text(), C.Out);
    }
}

TEST_F(EditAlignTest, ExitOnEnterKeyAndMultiLineExcludeEachOther)
{
    Edit->SetMultiLine(true);
    Edit->SetText("x\r\ny");
    Edit->SetExitOnEnterKey(true);
    EXPECT_TRUE(Edit->ExitOnEnterKey());
    EXPECT_FALSE(Edit->MultiLine());
    EXPECT_EQ(Edit->Text(), "xy");
    Edit->SetMultiLine(true);
    EXPECT_TRUE(Edit->MultiLine());
    EXPECT_FALSE(Edit->ExitOnEnterKey());
}

TEST_F(EditAlignTest, ClickIntoTheFieldSelectsAll)
{
    Edit->SetAutoSelectOnMouseEnter(true);
    Edit->SetText("12,5");
    Next->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return Next->Focused(); }));

    Click(Edit, 5);
    ASSERT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->SelLength(), 4);

    Click(Edit, 5);  // already focused: the caret is placed normally
    EXPECT_EQ(Edit->SelLength(), 0);
}

TEST_F(EditAlignTest, ClickSelectsNothingWithoutAutoSelectOnMouseEnter)
{
    Edit->SetText("12,5");
    Next->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return Next->Focused(); }));
    Click(Edit, 5);
    ASSERT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->SelLength(), 0);

    // The flag belongs to the click that entered: switching the option on later does not
    // turn the next click into a select-all.
    Edit->SetAutoSelectOnMouseEnter(true);
    Click(Edit, 5);
    EXPECT_EQ(Edit->SelLength(), 0);
}

TEST_F(EditAlignTest, KeyboardEntrySelectsAllAsAnyEdit)
{
    Edit->SetAutoSelectOnMouseEnter(true);
    Edit->SetText("750");
    Next->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return Next->Focused(); }));
    Edit->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return Edit->Focused(); }));
    EXPECT_EQ(Edit->SelLength(), 3);
    // Not entered by a click: a click now places the caret.
    Click(Edit, 5);
    EXPECT_EQ(Edit->SelLength(), 0);
}

TEST_F(EditAlignTest, AlignmentIsTheEdits)
{
    EXPECT_EQ(Edit->Alignment(), gui::taLeftJustify);
    EXPECT_TRUE(Edit->AutoSelect);
    EXPECT_FALSE(Edit->ExitOnEnterKey() || Edit->MultiLine() || Edit->OldOS() || Edit->WordWrap() ||
                 Edit->AutoSelectOnMouseEnter());
    Edit->SetAlignment(gui::taRightJustify);
    EXPECT_TRUE(static_cast<QLineEdit*>(Edit->Widget())->alignment() & Qt::AlignRight);
}

}  // namespace
