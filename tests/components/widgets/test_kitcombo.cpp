// The library's combo box: incremental search on the timer pool, the most-recently-used block,
// the focus hand-over, the frame and the edit-part click.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <string>
#include <vector>

#include "components/base/kitapp.h"
#include "components/controls/kitcombo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"

using namespace kit;

namespace {

// Pool ticks of the application's timer pool (50 ms each), as its hidden window would get them.
void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
        gui::TMessage m{gui::WM_TIMER, 1, 0, 0};
        KitApplication->TimerPool->WndProc(m);
    }
}

template <class Pred>
bool ProcessUntil(Pred pred) {
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return pred();
}

QColor Rgb(gdi::TColor c) {
    const gdi::TColor v = gdi::ColorToRGB(c);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

class kitCombo : public ::testing::Test {
protected:
    void SetUp() override {
        app.CreateForm(form);
        form->Show();
        form->SetClientWidth(400);
        form->SetClientHeight(300);
        combo = new TKitComboBox(form);
        combo->SetParent(form);
        combo->SetBounds(10, 10, 120, 21);
        other = new gui::TEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 100, 120, 21);
        poolItems = KitApplication->TimerPool->Count();
        QApplication::setActiveWindow(form->Widget());
        combo->SetFocus();
    }
    QComboBox* Box() const { return static_cast<QComboBox*>(combo->Widget()); }
    void Type(Qt::Key key, const QString& text = QString()) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(Box(), &e);
    }
    // A user's choice of the item at index, as the list reports it.
    void Choose(int index) {
        combo->SetItemIndex(index);
        combo->Perform(gui::CN_COMMAND, gui::WPARAM(gui::CBN_SELCHANGE) << 16, 0);
    }
    QWidget* FocusWidget() const { return form->Widget()->window()->focusWidget(); }

    gui::ScriptedPresenter presenter;
    gui::TApplication app;
    gui::TForm* form = nullptr;
    TKitComboBox* combo = nullptr;
    gui::TEdit* other = nullptr;
    int poolItems = 0;
};

TEST_F(kitCombo, SearchCompletesTheTypedTextAfterThePause) {
    for (const char* s : {"12m", "160m", "10m", "2m"}) combo->Items()->Add(s);
    combo->SetSearch(true);
    EXPECT_TRUE(combo->Sorted());
    EXPECT_EQ(combo->Items()->Text(), "10m\r\n12m\r\n160m\r\n2m\r\n");

    combo->SetText("");
    Type(Qt::Key_1, "1");
    Type(Qt::Key_0, "0");
    ASSERT_NE(combo->SearchTimerID(), 0);
    EXPECT_EQ(KitApplication->TimerPool->Count(), poolItems + 1);  // one item, taken once
    EXPECT_EQ(KitApplication->GetTimer(combo->SearchTimerID())->Interval(), 1500);
    Ticks(29);
    EXPECT_EQ(combo->Text(), "10");
    Ticks(1);
    EXPECT_EQ(combo->Text(), "10m");
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->SelStart(), 2);
    EXPECT_EQ(combo->SelLength(), 1);
    EXPECT_EQ(combo->SearchTimerID(), 0);  // returned to the pool
    EXPECT_EQ(KitApplication->TimerPool->Count(), poolItems);

    // Backspace waits a second longer; the case of the typed text counts.
    combo->SetText("");
    Type(Qt::Key_1, "1");
    Type(Qt::Key_6, "6");
    Type(Qt::Key_Backspace);
    Type(Qt::Key_2, "2");
    Type(Qt::Key_Backspace);
    EXPECT_EQ(combo->Text(), "1");
    Ticks(49);
    EXPECT_EQ(combo->Text(), "1");
    Ticks(1);
    EXPECT_EQ(combo->Text(), "10m");
    EXPECT_EQ(combo->SelStart(), 1);
    EXPECT_EQ(combo->SelLength(), 2);

    combo->SetText("");
    Type(Qt::Key_M, "M");
    Ticks(30);
    EXPECT_EQ(combo->Text(), "M");
    EXPECT_EQ(combo->SearchTimerID(), 0);
}

TEST_F(kitCombo, CompletionSelectsTheRestInCharacters) {
    for (const char* s : {"\u00c4ther", "\u00c4mter"}) combo->Items()->Add(s);
    combo->SetSearch(true);
    Type(Qt::Key_A, QStringLiteral("\u00c4"));
    Type(Qt::Key_T, QStringLiteral("t"));
    Ticks(30);
    EXPECT_EQ(combo->Text(), "\u00c4ther");
    EXPECT_EQ(combo->SelStart(), 2);
    EXPECT_EQ(combo->SelLength(), 3);
}

TEST_F(kitCombo, WithoutSearchOrWithAnEmptyEditNothingIsCompleted) {
    for (const char* s : {"10m", "12m"}) combo->Items()->Add(s);
    combo->SetSorted(true);
    Type(Qt::Key_1, "1");
    ASSERT_NE(combo->SearchTimerID(), 0);  // held, but not armed
    EXPECT_FALSE(KitApplication->GetTimer(combo->SearchTimerID())->Enabled());
    Ticks(100);
    EXPECT_EQ(combo->Text(), "1");

    combo->SetSearch(true);
    Type(Qt::Key_Backspace);
    EXPECT_EQ(combo->Text(), "");
    Ticks(50);
    EXPECT_EQ(combo->Text(), "");
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(kitCombo, AnExhaustedTimerPoolSkipsTheSearchSilently) {
    std::vector<std::uint16_t> taken;
    for (std::uint16_t id; (id = KitApplication->AddTimer(1000, [](rtl::TObject*) {})) != 0;) taken.push_back(id);
    combo->Items()->Add("10m");
    combo->SetSearch(true);
    Type(Qt::Key_1, "1");
    EXPECT_EQ(combo->SearchTimerID(), 0);
    EXPECT_EQ(combo->Text(), "1");
    for (std::uint16_t id : taken) KitApplication->RemoveTimer(id);
    Type(Qt::Key_0, "0");
    EXPECT_NE(combo->SearchTimerID(), 0);
}

TEST_F(kitCombo, TheSearchTimerIsReturnedWhenTheComboGoes) {
    combo->SetSearch(true);
    Type(Qt::Key_1, "1");
    ASSERT_EQ(KitApplication->TimerPool->Count(), poolItems + 1);
    delete combo;
    combo = nullptr;
    EXPECT_EQ(KitApplication->TimerPool->Count(), poolItems);
    Ticks(40);  // a firing for a freed combo would crash here
}

TEST_F(kitCombo, MostRecentlyUsedBlockKeepsTheLastChoicesOnTop) {
    for (const char* s : {"A", "B", "C"}) combo->Items()->Add(s);
    int selects = 0;
    combo->OnSelect = [&](rtl::TObject* sender) {
        EXPECT_EQ(sender, combo);
        ++selects;
    };
    combo->SetMRUMax(2);
    combo->SetMRUList(true);
    EXPECT_EQ(combo->Style(), gui::csOwnerDrawFixed);
    Choose(0);                     // A
    Choose(2);                     // B
    Choose(4);                     // C
    EXPECT_EQ(combo->Items()->Text(), "C\r\nB\r\nA\r\nB\r\nC\r\n");
    EXPECT_EQ(combo->MRUCount(), 2);
    EXPECT_EQ(combo->ItemIndex(), 0);
    Choose(3);                     // B again: only its copy is chosen
    EXPECT_EQ(combo->Items()->Text(), "C\r\nB\r\nA\r\nB\r\nC\r\n");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(selects, 4);

    // The copy carries the chosen item's object.
    rtl::TObject tag;
    combo->Items()->PutObject(2, &tag);
    Choose(2);
    EXPECT_EQ(combo->Items()->Get(0), "A");
    EXPECT_EQ(combo->Items()->Objects(0), &tag);

    combo->SetMRUList(false);
    EXPECT_EQ(combo->Items()->Text(), "A\r\nB\r\nC\r\n");
    EXPECT_EQ(combo->MRUCount(), 0);
}

TEST_F(kitCombo, LoweringMRUMaxDeletesTheOldestEntriesOnly) {
    for (const char* s : {"1", "2", "3", "4", "5", "6"}) combo->Items()->Add(s);
    combo->SetMRUList(true);
    for (int i = 0; i < 5; ++i) Choose(combo->Items()->Count() - 1 - i);  // 6, 5, 4, 3, 2
    ASSERT_EQ(combo->MRUCount(), 5);
    EXPECT_EQ(combo->Items()->Text(), "2\r\n3\r\n4\r\n5\r\n6\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    combo->SetMRUMax(3);
    EXPECT_EQ(combo->MRUCount(), 3);
    EXPECT_EQ(combo->Items()->Text(), "2\r\n3\r\n4\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");

    // Below 1 no block is kept and choices leave the list alone.
    combo->SetMRUMax(0);
    EXPECT_EQ(combo->MRUCount(), 0);
    Choose(2);
    EXPECT_EQ(combo->Items()->Count(), 6);
    EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(kitCombo, OwnerDrawnListHasRoomAndALineBelowTheBlock) {
    for (const char* s : {"160m", "80m", "40m"}) combo->Items()->Add(s);
    combo->SetMRUList(true);
    combo->SetItemHeight(16);
    Choose(1);
    QAbstractItemView* view = Box()->view();
    EXPECT_EQ(view->sizeHintForRow(0), 20);
    combo->SetDroppedDown(true);
    ASSERT_TRUE(ProcessUntil([&] { return combo->DroppedDown(); }));
    const QImage shot = view->viewport()->grab().toImage();
    const QRect last = view->visualRect(Box()->model()->index(0, 0));
    const QRect next = view->visualRect(Box()->model()->index(1, 0));
    const int x = last.center().x();
    EXPECT_EQ(QColor(shot.pixel(x, last.bottom())), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(x, last.bottom() - 2)), QColor(Qt::black));
    EXPECT_NE(QColor(shot.pixel(x, last.bottom() - 1)), QColor(Qt::black));
    EXPECT_NE(QColor(shot.pixel(x, next.bottom())), QColor(Qt::black));
    combo->SetDroppedDown(false);
}

TEST_F(kitCombo, AChoiceOrEnterHandsTheFocusOverButArrowKeysDoNot) {
    for (const char* s : {"A", "B", "C"}) combo->Items()->Add(s);
    combo->SetItemIndex(0);
    combo->SetFocusControl(other);
    ASSERT_EQ(FocusWidget(), combo->Widget());

    Type(Qt::Key_Down);  // chooses in the closed combo
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(FocusWidget(), combo->Widget());

    const QPoint p(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, p, Box()->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Box(), &press);
    combo->SetDroppedDown(false);
    Choose(2);
    EXPECT_EQ(FocusWidget(), other->Widget());

    combo->SetFocus();
    Type(Qt::Key_Return);
    EXPECT_EQ(FocusWidget(), other->Widget());

    delete other;
    other = nullptr;
    EXPECT_EQ(combo->FocusControl(), nullptr);
    Choose(0);  // no hand-over to a freed control
}

TEST_F(kitCombo, FrameIsSunkenUnlessFlatAndAtRest) {
    const QColor shadow = Rgb(gdi::clBtnShadow), face = Rgb(gdi::clBtnFace), window = Rgb(gdi::clWindow),
                 frame = Rgb(gdi::clWindowFrame);
    auto pixels = [&] {
        const QImage img = combo->Widget()->grab().toImage();
        return std::vector<QColor>{img.pixelColor(0, 0), img.pixelColor(1, 1), img.pixelColor(2, 2)};
    };
    EXPECT_EQ(pixels()[0], shadow);
    EXPECT_EQ(pixels()[1], frame);
    combo->Repaint();
    EXPECT_EQ(pixels()[0], shadow);  // after every paint

    combo->SetFlat(true);
    EXPECT_EQ(pixels()[0], shadow);  // focused: hot
    other->SetFocus();
    EXPECT_EQ(pixels(), (std::vector<QColor>{face, face, window}));
    combo->Perform(gui::CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(pixels()[0], shadow);
    combo->Perform(gui::CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(pixels(), (std::vector<QColor>{face, face, window}));
}

TEST_F(kitCombo, EditClickAndDropDownWidth) {
    int clicks = 0;
    combo->OnEditClick = [&](rtl::TObject* sender) {
        EXPECT_EQ(sender, combo);
        ++clicks;
    };
    QLineEdit* edit = Box()->lineEdit();
    const QPoint p(3, 3);
    QMouseEvent press(QEvent::MouseButtonPress, p, edit->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &press);
    EXPECT_EQ(clicks, 1);

    combo->SetDropDownWidth(260);
    EXPECT_TRUE(ProcessUntil([&] { return combo->Perform(gui::CB_GETDROPPEDWIDTH, 0, 0) == 260; }));
    EXPECT_EQ(combo->Width(), 120);
}

}  // namespace
