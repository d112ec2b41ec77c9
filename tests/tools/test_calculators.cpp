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

    // Two bad fields of one group warn twice, once both are filled in.
    f->EditL2->SetText("x");
    EXPECT_EQ(presenter.boxes.size(), 1u);
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
    f->EditAbstand->SetText("2");
    EXPECT_EQ(f->EditImpedanz->Text(), "  0,0 Ohm");
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
