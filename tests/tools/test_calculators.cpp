// The resonant-circuit and two-wire-line calculators, driven through their fields: results
// with unit prefixes and the locale's comma, zero, negative and bad inputs, and no calculation
// while the window is being built.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <functional>

#include <memory>
#include <string>

#include "tests/support/FocusKeys.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/EventLoop.h"
#include "tests/tools/ToolFixture.h"
#include "tools/Schwingkreis.h"
#include "tools/Zweidrahtleitung.h"

class Calculators : public ToolFixture {};

namespace {

void TypeKey(int key, const QString& text) { PressKeyOnFocus(key, text); }

// Runs a calculator window modally with the real boxes, types "6." into `field` (after
// `start`), answers every warning once it has the activation, then finishes the number as "6,5"
// and closes the window with the window manager's button. Returns the number of boxes shown.
int TypeSixPointIntoModalWindow(gui::TForm& form, gui::TEdit& field, const std::string& start,
                                std::string& finished, std::string& result, gui::TEdit& resultField) {
    gui::SetPresenter(nullptr);
    int boxes = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isActiveWindow()) return;
        // A box that keeps coming back is ended by giving the field a number.
        if (++boxes == 5) field.SetText(start);
        box->defaultButton()->click();
    });
    answer.start(20);
    bool closed = false;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(ProcessUntil([&] { return form.Active(); }));
        field.SetText(start);
        field.SetFocus();
        EXPECT_TRUE(ProcessUntil([&] { return field.Focused(); }));
        field.SelectAll();
        TypeKey(Qt::Key_6, QStringLiteral("6"));
        TypeKey(Qt::Key_Period, QStringLiteral("."));
        // The warning has been answered and the window is active again for a while.
        EXPECT_TRUE(ProcessUntil([&] { return boxes > 0 && form.Active() && field.Focused(); }));
        ProcessUntil([] { return false; }, 300);
        TypeKey(Qt::Key_Backspace, QString());
        TypeKey(Qt::Key_Comma, QStringLiteral(","));
        TypeKey(Qt::Key_5, QStringLiteral("5"));
        finished = field.Text();
        result = resultField.Text();
        QCloseEvent close;
        QApplication::sendEvent(form.Widget(), &close);
        closed = true;
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] { form.SetModalResult(gui::mrAbort); });
    watchdog.start(20000);
    const int r = form.ShowModal();
    watchdog.stop();
    answer.stop();
    EXPECT_TRUE(closed);
    EXPECT_EQ(r, gui::mrCancel);  // closed by the user, not by the watchdog
    return boxes;
}

}  // namespace

TEST_F(Calculators, NotANumberWarnsOnceAndTheFieldCanBeCorrected) {
    std::string finished, result;
    {
        SCOPED_TRACE("Zweidrahtleitung");
        std::unique_ptr<TFormZweidrahtleitung> f(gui::CreateForm<TFormZweidrahtleitung>(nullptr));
        EXPECT_EQ(TypeSixPointIntoModalWindow(*f, *f->EditAbstand, "60", finished, result, *f->EditImpedanz), 1);
        EXPECT_EQ(finished, "6,5");
        EXPECT_EQ(result, " 141,4 Ohm");
    }
    {
        SCOPED_TRACE("Schwingkreis");
        std::unique_ptr<TFormSchwingkreis> f(gui::CreateForm<TFormSchwingkreis>(nullptr));
        f->EditC1->SetText("100");
        EXPECT_EQ(TypeSixPointIntoModalWindow(*f, *f->EditL1, "10", finished, result, *f->EditF1), 1);
        EXPECT_EQ(finished, "6,5");
        EXPECT_EQ(result, " 6,243 MHz");
    }
    gui::SetPresenter(&presenter);
}

TEST_F(Calculators, ResonantCircuitSolvesAllThreeWays) {
    std::unique_ptr<TFormSchwingkreis> f(gui::CreateForm<TFormSchwingkreis>(nullptr));
    EXPECT_EQ(f->Caption().rfind("Schwingkreis v1.1", 0), 0u);
    EXPECT_EQ(f->CBLUnit1->Text(), "µH");
    EXPECT_EQ(f->CBCUnit1->Text(), "pF");
    EXPECT_EQ(f->CBFUnit2->Text(), "MHz");

    f->EditL1->SetText("10");
    EXPECT_EQ(f->EditF1->Text(), "");  // one input still empty
    f->EditC1->SetText("100");
    EXPECT_EQ(f->EditF1->Text(), " 5,033 MHz");

    f->EditL2->SetText("10");
    f->editF2->SetText("5");
    EXPECT_EQ(f->EditC2->Text(), " 101,321 pF");

    // 1 mH and 1 µF through the unit boxes (set in code, so the group is run by hand).
    f->CBLUnit1->SetItemIndex(1);
    f->CBCUnit1->SetItemIndex(2);
    f->EditL1->SetText("1");
    f->EditC1->SetText("1");
    EXPECT_EQ(f->EditF1->Text(), " 5,033 kHz");

    // 101,321 pF at 5 MHz gives back 10 µH.
    f->EditC3->SetText("101,321");
    f->EditF3->SetText("5");
    EXPECT_EQ(f->EditL3->Text(), " 10,000 µH");
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(Calculators, ResonantCircuitZeroNegativeEmptyAndBadInputs) {
    std::unique_ptr<TFormSchwingkreis> f(gui::CreateForm<TFormSchwingkreis>(nullptr));
    f->EditL1->SetText("10");
    f->EditC1->SetText("100");
    ASSERT_EQ(f->EditF1->Text(), " 5,033 MHz");
    f->EditC1->SetText("");
    EXPECT_EQ(f->EditF1->Text(), " 5,033 MHz");  // an empty input keeps the old result
    for (const char* noResult : {"0", "-100"}) {
        f->EditC1->SetText("100");
        f->EditC1->SetText(noResult);
        EXPECT_EQ(f->EditF1->Text(), "") << noResult;
    }
    EXPECT_TRUE(presenter.boxes.empty());

    f->EditC1->SetText("100");
    f->EditL1->SetText("1,2,3");
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_NE(presenter.boxes[0].text.find("\"1,2,3\""), std::string::npos);
    EXPECT_EQ(f->EditF1->Text(), "");

    // Two bad fields of one group warn twice, each when it comes to hold its text, whether or
    // not the other field is filled in.
    f->EditL2->SetText("x");
    EXPECT_EQ(presenter.boxes.size(), 2u);
    f->editF2->SetText("y");
    ASSERT_EQ(presenter.boxes.size(), 3u);
    EXPECT_NE(presenter.boxes[1].text.find("\"x\""), std::string::npos);
    EXPECT_NE(presenter.boxes[2].text.find("\"y\""), std::string::npos);
    EXPECT_EQ(f->EditC2->Text(), "");
}

TEST_F(Calculators, TwoWireLineImpedance) {
    std::unique_ptr<TFormZweidrahtleitung> f(gui::CreateForm<TFormZweidrahtleitung>(nullptr));
    // The start texts are set while the window is built: nothing is computed yet.
    EXPECT_EQ(f->EditImpedanz->Text(), "");
    EXPECT_FALSE(f->IMZweidraht->Picture()->HasGraphic());
    EXPECT_EQ(f->Caption().rfind("Zweidrahtleitung v1.0", 0), 0u);

    f->FormActivate(nullptr);
    EXPECT_EQ(f->EditImpedanz->Text(), " 408,1 Ohm");
    ASSERT_TRUE(f->IMZweidraht->Picture()->HasGraphic());
    EXPECT_EQ(f->IMZweidraht->Picture()->Width(), f->IMZweidraht->Width());
    const QImage before = f->IMZweidraht->Picture()->Graphic()->ToQImage();

    f->EditEpsilonR->SetText("2,25");
    EXPECT_EQ(f->EditImpedanz->Text(), " 272,1 Ohm");
    EXPECT_NE(f->IMZweidraht->Picture()->Graphic()->ToQImage(), before);  // the curve moved
    f->EditEpsilonR->SetText("1");
    f->EditAbstand->SetText("4,1");
    EXPECT_EQ(f->EditImpedanz->Text(), " 86,1 Ohm");  // nearly touching wires
    // 6 cm is 60 mm again.
    f->CBUnitAbstand->SetItemIndex(2);
    f->EditAbstand->SetText("6");
    EXPECT_EQ(f->EditImpedanz->Text(), " 408,1 Ohm");

    for (const char* noResult : {"0", "-4"}) {
        f->EditDurchmesser->SetText(noResult);
        EXPECT_EQ(f->EditImpedanz->Text(), "") << noResult;
        f->EditDurchmesser->SetText("4");
        EXPECT_EQ(f->EditImpedanz->Text(), " 408,1 Ohm");
    }
    // An empty permittivity leaves the result as it was.
    f->EditEpsilonR->SetText("");
    EXPECT_EQ(f->EditImpedanz->Text(), " 408,1 Ohm");
    EXPECT_TRUE(presenter.boxes.empty());
}

// Wires whose diameter is not below their spacing touch or overlap: no line, no impedance.
TEST_F(Calculators, TwoWireLineWithTouchingWiresHasNoImpedance) {
    std::unique_ptr<TFormZweidrahtleitung> f(gui::CreateForm<TFormZweidrahtleitung>(nullptr));
    f->FormActivate(nullptr);
    struct Case {
        const char* D;
        int unitD;  // item of the length units: 0 m, 1 dm, 2 cm, 3 mm, 4 µm
        const char* d;
        const char* impedance;
    };
    for (const Case& c : {Case{"60", 3, "1000", "---"}, Case{"60", 3, "120", "---"},
                          Case{"60", 3, "60", "---"}, Case{"0,4", 2, "4", "---"},
                          Case{"60", 3, "59,9", " 83,4 Ohm"}, Case{"60", 3, "4", " 408,1 Ohm"},
                          Case{"0,06", 0, "4", " 408,1 Ohm"}}) {
        SCOPED_TRACE(std::string(c.D) + " / " + c.d);
        f->CBUnitAbstand->SetItemIndex(c.unitD);
        f->EditAbstand->SetText(c.D);
        f->EditDurchmesser->SetText(c.d);
        EXPECT_EQ(f->EditImpedanz->Text(), c.impedance);
    }
    EXPECT_TRUE(presenter.boxes.empty());
}

namespace {

// The key that types a character, as a German keyboard gives it.
int KeyOf(char c) {
    if (c >= '0' && c <= '9') return Qt::Key_0 + (c - '0');
    if (c >= 'a' && c <= 'z') return Qt::Key_A + (c - 'a');
    return c == ',' ? Qt::Key_Comma : c == '-' ? Qt::Key_Minus : Qt::Key_Period;
}

// Gives the field the focus and types the text at its end, key by key.
void TypeInto(gui::TEdit& field, const std::string& text) {
    field.SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return field.Focused(); }));
    field.SetSelStart(static_cast<int>(field.Text().size()));
    for (const char c : text) {
        if (c == '\b')
            PressKeyOnFocus(Qt::Key_Backspace);
        else
            PressKeyOnFocus(KeyOf(c), QString(QChar(c)));
    }
}

// A calculator typed into key by key: the boxes each step opens and what each field then holds.
struct TypingStep {
    gui::TEdit* field;
    const char* keys;  // '\b' is Backspace
    std::vector<std::string> warned;  // the texts of the boxes this step opens
    const char* text;  // the field's text afterwards
    const char* result;
};

void RunTypingSteps(gui::TForm& form, gui::ScriptedPresenter& presenter, gui::TEdit& result,
                    const std::vector<TypingStep>& steps) {
    form.Show();
    QApplication::setActiveWindow(form.Widget());
    ASSERT_TRUE(ProcessUntil([&] { return form.Active(); }));
    for (const TypingStep& step : steps) {
        SCOPED_TRACE(std::string(step.keys) + " -> " + step.text);
        presenter.boxes.clear();
        TypeInto(*step.field, step.keys);
        std::vector<std::string> warned;
        for (const auto& box : presenter.boxes) warned.push_back(box.text);
        std::vector<std::string> expected;
        for (const std::string& text : step.warned) expected.push_back("\"" + text + "\" ist kein gültiger Gleitkommawert!");
        EXPECT_EQ(warned, expected);
        EXPECT_EQ(step.field->Text(), step.text);  // every key arrived
        EXPECT_EQ(result.Text(), step.result);
    }
}

}  // namespace

// A bad text is warned about once, when its field comes to hold it: not again for the keys
// typed into the other field or while it stays, again when the field held a number or nothing
// in between. No key is lost to a box, and no result stands beside a bad text.
TEST_F(Calculators, ResonantCircuitWarnsOncePerBadTextWhileTheOtherFieldIsTyped) {
    std::unique_ptr<TFormSchwingkreis> f(gui::CreateForm<TFormSchwingkreis>(nullptr));
    {
        SCOPED_TRACE("Frequenz gesucht");
        RunTypingSteps(*f, presenter, *f->EditF1,
                       {{f->EditC1, "2x", {"2x"}, "2x", ""},  // warned although L is empty
                        {f->EditL1, "1e3", {"1e"}, "1e3", ""},
                        {f->EditL1, "00", {}, "1e300", ""},
                        {f->EditL1, "\b\b\b\b", {"1e"}, "1", ""},  // "1e3" was a number
                        {f->EditC1, "\b", {}, "2", " 112,540 MHz"},
                        {f->EditC1, "x", {"2x"}, "2x", ""},  // bad again after a number
                        {f->EditC1, "y", {}, "2xy", ""},  // still bad
                        {f->EditC1, "\b\b\b", {}, "", " 112,540 MHz"},  // "2" a number, "" keeps it
                        {f->EditC1, "1e", {"1e"}, "1e", ""}});
    }
    {
        SCOPED_TRACE("Induktivität gesucht");
        presenter.boxes.clear();
        f->EditC3->SetText("1e");
        ASSERT_EQ(presenter.boxes.size(), 1u);
        RunTypingSteps(*f, presenter, *f->EditL3,
                       {{f->EditF3, "14,2", {}, "14,2", ""},
                        {f->EditF3, "\b\b\b\b1e300", {"1e"}, "1e300", ""},
                        {f->EditF3, "\b\b\b\b\b142", {"1e"}, "142", ""},  // via "1e3", "1e"
                        {f->EditC3, "\b\b100", {}, "100", " 12,562 nH"}});
    }
}

TEST_F(Calculators, TwoWireLineWarnsOncePerBadTextWhileAnotherFieldIsTyped) {
    std::unique_ptr<TFormZweidrahtleitung> f(gui::CreateForm<TFormZweidrahtleitung>(nullptr));
    f->FormActivate(nullptr);
    ASSERT_EQ(f->EditImpedanz->Text(), " 408,1 Ohm");
    RunTypingSteps(*f, presenter, *f->EditImpedanz,
                   {{f->EditEpsilonR, "x", {"1x"}, "1x", ""},
                    {f->EditAbstand, "\b\b45,5", {}, "45,5", ""},
                    {f->EditDurchmesser, "\b1e", {"1e"}, "1e", ""},
                    {f->EditDurchmesser, "\b\b4", {}, "4", ""},
                    {f->EditEpsilonR, "\b", {}, "1", " 374,9 Ohm"}});
}

namespace {

// Types text at the end of the field as a fast typist does, a key every 5 ms whatever the screen
// shows: a key typed while a box is open goes to the box. The real boxes, each answered once it
// has been open for 60 ms. Returns the number of boxes.
int TypeFastWithRealBoxes(gui::TEdit& field, const std::string& text) {
    field.SetFocus();
    EXPECT_TRUE(ProcessUntil([&] { return field.Focused(); }));
    field.SetSelStart(static_cast<int>(field.Text().size()));
    gui::SetPresenter(nullptr);
    int boxes = 0;
    QWidget* open = nullptr;
    QElapsedTimer openFor;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (box != open) {
            open = box;
            openFor.start();
        }
        if (openFor.elapsed() < 60) return;
        ++boxes;
        open = nullptr;
        box->defaultButton()->click();
    });
    answer.start(5);
    std::size_t next = 0;
    std::function<void()> typeNext = [&] {
        if (next >= text.size()) return;
        const char c = text[next++];
        QTimer::singleShot(5, typeNext);  // the next key comes whatever this one brings
        QWidget* target = QApplication::activeModalWidget();
        if (target && target->focusWidget()) target = target->focusWidget();
        if (!target) target = QApplication::focusWidget();
        QKeyEvent press(QEvent::KeyPress, KeyOf(c), Qt::NoModifier, QString(QChar(c)));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, KeyOf(c), Qt::NoModifier, QString(QChar(c)));
        QApplication::sendEvent(target, &release);
    };
    QTimer::singleShot(0, typeNext);
    EXPECT_TRUE(ProcessUntil([&] { return next >= text.size() && !QApplication::activeModalWidget(); }));
    ProcessFor(50);
    answer.stop();
    return boxes;
}

}  // namespace

// Typed at speed into one field while the other holds a bad text: no box, so no key is lost.
TEST_F(Calculators, FastTypingBesideABadTextLosesNoKey) {
    {
        SCOPED_TRACE("Schwingkreis");
        std::unique_ptr<TFormSchwingkreis> f(gui::CreateForm<TFormSchwingkreis>(nullptr));
        f->EditC3->SetText("1e");  // warned about here (counted in the tests above)
        f->Show();
        QApplication::setActiveWindow(f->Widget());
        ASSERT_TRUE(ProcessUntil([&] { return f->Active(); }));
        EXPECT_EQ(TypeFastWithRealBoxes(*f->EditF3, "14,2"), 0);
        EXPECT_EQ(f->EditF3->Text(), "14,2");
        EXPECT_EQ(f->EditL3->Text(), "");
        gui::SetPresenter(&presenter);
    }
    {
        SCOPED_TRACE("Zweidrahtleitung");
        std::unique_ptr<TFormZweidrahtleitung> f(gui::CreateForm<TFormZweidrahtleitung>(nullptr));
        f->FormActivate(nullptr);
        f->EditEpsilonR->SetText("1x");
        f->Show();
        QApplication::setActiveWindow(f->Widget());
        ASSERT_TRUE(ProcessUntil([&] { return f->Active(); }));
        EXPECT_EQ(TypeFastWithRealBoxes(*f->EditAbstand, "5,5"), 0);
        EXPECT_EQ(f->EditAbstand->Text(), "605,5");
        EXPECT_EQ(f->EditImpedanz->Text(), "");
        gui::SetPresenter(&presenter);
    }
}
