// Combo box: item objects, sorting, edit selection and limit, the list state, the selection
// message, the edit-part hook and owner-drawn items.
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

// Records the messages the selection and the edit part deliver, and the order of the handlers.
class RecordingCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    std::vector<std::string> log;
    std::vector<unsigned> editMessages;
    int measuredHeight = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == CN_COMMAND) log.push_back("selchange " + std::to_string(m.WParam >> 16));
        TComboBox::WndProc(m);
        if (m.Msg == CN_COMMAND) log.push_back("after");
    }
    void EditWndProc(TMessage& m) override {
        editMessages.push_back(m.Msg);
        TComboBox::EditWndProc(m);
    }
    void MeasureItem(int index, int& height) override {
        TComboBox::MeasureItem(index, height);
        if (measuredHeight) height = measuredHeight;
    }
};

class TestObject : public rtl::TObject {};

}  // namespace

class guiCombo : public GuiFixture {
protected:
    TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->Show();
        form->SetClientWidth(400);
        form->SetClientHeight(300);
    }
    RecordingCombo* Make() {
        auto* c = new RecordingCombo(form);
        c->SetParent(form);
        return c;
    }
    static QComboBox* Box(TComboBox* c) { return static_cast<QComboBox*>(c->Widget()); }
};

TEST_F(guiCombo, ItemsKeepTheirObjectsThroughInsertDeleteAndSorting) {
    auto* cb = Make();
    TestObject a, b, c;
    cb->Items()->AddObject("80m", &a);
    cb->Items()->AddObject("10m", &b);
    cb->Items()->InsertObject(0, "40m", &c);
    cb->Items()->Add("2m");
    EXPECT_EQ(cb->Items()->Objects(0), &c);
    EXPECT_EQ(cb->Items()->Objects(1), &a);
    EXPECT_EQ(cb->Items()->Objects(3), nullptr);
    cb->Items()->Delete(0);
    EXPECT_EQ(cb->Items()->Objects(0), &a);
    EXPECT_THROW(cb->Items()->Objects(3), rtl::EStringListError);
    EXPECT_THROW(cb->Items()->PutObject(-1, &a), rtl::EStringListError);

    // Switching Sorted on sorts the lines with their objects and keeps the chosen line.
    cb->SetItemIndex(1);  // "10m"
    cb->SetSorted(true);
    ASSERT_EQ(cb->Items()->Text(), "10m\r\n2m\r\n80m\r\n");
    EXPECT_EQ(cb->Items()->Objects(0), &b);
    EXPECT_EQ(cb->Items()->Objects(2), &a);
    EXPECT_EQ(cb->ItemIndex(), 0);
    EXPECT_EQ(cb->Text(), "10m");

    // A sorted combo adds at the line's place (ignoring case); Insert keeps its index.
    EXPECT_EQ(cb->Items()->AddObject("15M", &c), 1);
    EXPECT_EQ(cb->Items()->Objects(1), &c);
    EXPECT_EQ(cb->Items()->Add("zz"), 4);
    cb->Items()->Insert(0, "zz top");
    EXPECT_EQ(cb->Items()->Get(0), "zz top");
    cb->SetSorted(false);
    EXPECT_EQ(cb->Items()->Add("0"), 6);
}

TEST_F(guiCombo, SelectionOfTheEditPartAndMaxLength) {
    auto* cb = Make();
    cb->SetText("10m");
    struct Case {
        int start, length;
        int wantStart, wantLength;
    };
    for (const Case& c : {Case{2, 1, 2, 1}, Case{0, 3, 0, 3}, Case{1, 99, 1, 2}, Case{5, 1, 3, 0},
                          Case{3, 0, 3, 0}, Case{-1, 2, 0, 2}}) {
        cb->SetSelStart(c.start);
        cb->SetSelLength(c.length);
        EXPECT_EQ(cb->SelStart(), c.wantStart) << c.start << "," << c.length;
        EXPECT_EQ(cb->SelLength(), c.wantLength) << c.start << "," << c.length;
    }
    // Typing stops at MaxLength; 0 lifts the limit.
    cb->SetMaxLength(3);
    QLineEdit* edit = Box(cb)->lineEdit();
    edit->clear();
    for (const char* k : {"1", "2", "3", "4"}) {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromLatin1(k));
        QApplication::sendEvent(edit, &e);
    }
    EXPECT_EQ(cb->Text(), "123");
    cb->SetMaxLength(0);
    QKeyEvent e(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("4"));
    QApplication::sendEvent(edit, &e);
    EXPECT_EQ(cb->Text(), "1234");

    // A drop-down list has no edit part.
    cb->SetStyle(csDropDownList);
    EXPECT_EQ(cb->SelLength(), 0);
    EXPECT_EQ(cb->SelStart(), 0);
}

TEST_F(guiCombo, DroppedDownOpensAndClosesTheList) {
    auto* cb = Make();
    for (const char* s : {"160m", "80m"}) cb->Items()->Add(s);
    int drops = 0;
    cb->OnDropDown = [&](rtl::TObject*) { ++drops; };
    EXPECT_FALSE(cb->DroppedDown());
    cb->SetDroppedDown(true);
    EXPECT_TRUE(ProcessUntil([&] { return cb->DroppedDown(); }));
    EXPECT_EQ(drops, 1);
    cb->SetDroppedDown(true);
    EXPECT_EQ(drops, 1);
    cb->SetDroppedDown(false);
    EXPECT_TRUE(ProcessUntil([&] { return !cb->DroppedDown(); }));
}

TEST_F(guiCombo, AUsersChoiceSendsSelChangeWhoseDefaultRunsClickAndChange) {
    auto* cb = Make();
    for (const char* s : {"160m", "80m", "40m"}) cb->Items()->Add(s);
    cb->OnClick = [&](rtl::TObject*) { cb->log.push_back("click"); };
    cb->OnChange = [&](rtl::TObject*) { cb->log.push_back("change " + cb->Text()); };
    cb->SetItemIndex(0);  // code: no message
    EXPECT_TRUE(cb->log.empty());

    // The arrow key chooses in a closed combo.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(Box(cb), &down);
    EXPECT_EQ(cb->log, (std::vector<std::string>{"selchange 1", "click", "change 80m", "after"}));
    EXPECT_EQ(cb->ItemIndex(), 1);
}

TEST_F(guiCombo, DroppedWidthMessageWidensOnlyTheList) {
    auto* cb = Make();
    cb->SetBounds(10, 10, 100, 21);
    EXPECT_EQ(cb->Perform(CB_GETDROPPEDWIDTH, 0, 0), 100);
    cb->Perform(CB_SETDROPPEDWIDTH, 250, 0);
    EXPECT_EQ(cb->Perform(CB_GETDROPPEDWIDTH, 0, 0), 250);
    EXPECT_GE(Box(cb)->view()->minimumWidth(), 250);
    EXPECT_EQ(cb->Width(), 100);
    // Posted, as a control does from Loaded, it arrives later.
    PostMessage(cb, CB_SETDROPPEDWIDTH, 300);
    EXPECT_TRUE(ProcessUntil([&] { return cb->Perform(CB_GETDROPPEDWIDTH, 0, 0) == 300; }));
}

TEST_F(guiCombo, TheEditPartReportsFocusAndLeftClicks) {
    auto* cb = Make();
    cb->Perform(WM_SETFOCUS, 0, 0);
    cb->Perform(WM_KILLFOCUS, 0, 0);
    SendClick(Box(cb)->lineEdit());
    EXPECT_EQ(cb->editMessages, (std::vector<unsigned>{WM_SETFOCUS, WM_KILLFOCUS, WM_LBUTTONDOWN}));

    // Without an edit part nothing arrives.
    cb->editMessages.clear();
    cb->SetStyle(csDropDownList);
    cb->Perform(WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(cb->editMessages.empty());
}

TEST_F(guiCombo, OwnerDrawnItemsAreMeasuredAndDrawnByTheControl) {
    auto* cb = Make();
    for (const char* s : {"160m", "80m", "40m"}) cb->Items()->Add(s);
    cb->SetStyle(csOwnerDrawFixed);
    cb->SetItemHeight(18);
    std::vector<int> measured;
    cb->OnMeasureItem = [&](TWinControl* c, int index, int& height) {
        EXPECT_EQ(c, cb);
        measured.push_back(index);
        EXPECT_EQ(height, 18);
    };
    cb->measuredHeight = 22;
    std::vector<int> drawn;
    gdi::TRect lastRect;
    cb->OnDrawItem = [&](TWinControl*, int index, gdi::TRect r, TOwnerDrawState) {
        drawn.push_back(index);
        lastRect = r;
        cb->Canvas()->Brush()->SetColor(index == 1 ? gdi::clRed : gdi::clLime);
        cb->Canvas()->FillRect(r);
    };
    QAbstractItemView* view = Box(cb)->view();
    EXPECT_EQ(view->sizeHintForRow(1), 22);
    EXPECT_FALSE(measured.empty());

    cb->SetDroppedDown(true);
    ASSERT_TRUE(ProcessUntil([&] { return cb->DroppedDown(); }));
    const QImage shot = view->viewport()->grab().toImage();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 1), drawn.end());
    EXPECT_EQ(lastRect.Height(), 22);
    const QRect item1 = view->visualRect(Box(cb)->model()->index(1, 0));
    EXPECT_EQ(QColor(shot.pixel(item1.center())), QColor(Qt::red));
    const QRect item0 = view->visualRect(Box(cb)->model()->index(0, 0));
    EXPECT_EQ(QColor(shot.pixel(item0.center())), QColor(Qt::green));
}
