// The menu shortcuts of the main window and the section window, pressed as a user presses them
// while the focus lies in the plane combo, in an edit or wherever it is in the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

#include "ViewerFixture.h"
#include "foundation/EditAlign.h"
#include "platform/gdi/Graphics.h"
#include "platform/gui/Clipbrd.h"
#include "tests/support/EventLoop.h"
#include "viewer/FeldorVars.h"
#include "viewer/Vertikal.h"

using namespace FeldorU;

namespace {

void AddPlane(double z) {
    for (int j = -5; j <= 5; ++j)
        for (int i = -5; i <= 5; ++i) AppendFieldPoint(i, j, z, 1 + 0.1 * i + z, 0.5, j, z);
}

bool Activate(gui::TCustomForm* f) {
    f->Widget()->activateWindow();
    return QTest::qWaitForWindowActive(f->Widget());
}

QLineEdit* LineOf(gui::TWinControl* c) {
    if (auto* combo = qobject_cast<QComboBox*>(c->Widget())) return combo->lineEdit();
    return qobject_cast<QLineEdit*>(c->Widget());
}

}  // namespace

class MenuShortCutTest : public ViewerFixture {
protected:
    // The start-up with three planes listed and the first one drawn, the main window active.
    void Start() {
        ResetData();
        StartUp();
        for (double z : {1.0, 2.0, 3.0}) AddPlane(z);
        ShowFirstEPlane();
        form->RGBezug->SetItemIndex(0);
        ASSERT_TRUE(Activate(form));
    }
    void Focus(gui::TWinControl* c) {
        c->SetFocus();
        ASSERT_TRUE(ProcessUntil([&] { return c->Focused(); }));
    }
};

// Each of the six shortcuts of "&Datei" runs its command from the plane combo and from the
// display-power edit, both of which would use Ctrl+X, Ctrl+Z and Ctrl+E themselves; the text
// stays as it was, its selection too.
TEST_F(MenuShortCutTest, MainWindowShortCutsRunFromThePlaneComboAndTheEdit) {
    const struct {
        const char* name;
        Qt::Key key;
        std::function<bool(const gui::ScriptedPresenter&, const gui::TApplication&)> ran;
    } keys[] = {
        {"Ctrl+L", Qt::Key_L,
         [](const gui::ScriptedPresenter& p, const gui::TApplication&) {
             return p.fileDialogs.size() == 1 &&
                    p.fileDialogs[0].kind == gui::FileDialogRequest::Kind::Open &&
                    p.fileDialogs[0].defaultExt == "fdr";
         }},
        {"Ctrl+S", Qt::Key_S,
         [](const gui::ScriptedPresenter& p, const gui::TApplication&) {
             return p.fileDialogs.size() == 1 &&
                    p.fileDialogs[0].kind == gui::FileDialogRequest::Kind::Save &&
                    p.fileDialogs[0].defaultExt == "fdr";
         }},
        {"Ctrl+E", Qt::Key_E,
         [](const gui::ScriptedPresenter& p, const gui::TApplication&) {
             return p.fileDialogs.size() == 1 &&
                    p.fileDialogs[0].title == "EZNEC Nahfeld-Ausgabedatei laden";
         }},
        {"Ctrl+G", Qt::Key_G,
         [](const gui::ScriptedPresenter& p, const gui::TApplication&) {
             return p.fileDialogs.size() == 1 &&
                    p.fileDialogs[0].fileName == "Draufsicht.bmp";
         }},
        {"Ctrl+Z", Qt::Key_Z,
         [](const gui::ScriptedPresenter&, const gui::TApplication&) {
             gdi::TBitmap clip;
             return gui::Clipboard()->GetBitmap(clip) && clip.Width() > 100;
         }},
        {"Ctrl+X", Qt::Key_X,
         [](const gui::ScriptedPresenter&, const gui::TApplication& a) { return a.Terminated(); }},
    };
    for (const char* target : {"CBPlanes", "EditPWRShow"}) {
        Start();
        gui::TWinControl* control = std::string(target) == "CBPlanes"
                                        ? static_cast<gui::TWinControl*>(form->CBPlanes)
                                        : form->EditPWRShow;
        QLineEdit* line = LineOf(control);
        ASSERT_NE(line, nullptr) << target;
        const QString text = line->text();
        ASSERT_FALSE(text.isEmpty()) << target;
        for (const auto& k : keys) {
            SCOPED_TRACE(std::string(target) + " " + k.name);
            Focus(control);
            // All of it selected: a cut would empty it, the end-of-line key would drop the
            // selection.
            line->selectAll();
            presenter->fileDialogs.clear();
            gui::Clipboard()->Clear();
            QTest::keyClick(QApplication::focusWidget(), k.key, Qt::ControlModifier);
            EXPECT_TRUE(k.ran(*presenter, *app));
            EXPECT_EQ(line->text(), text);
            EXPECT_TRUE(line->hasSelectedText());
        }
        viewer->CloseWindows();
    }
}

// The section window's menu shows no key shortcuts; its entries open with Alt and their marked
// letter wherever the focus is in it.
TEST_F(MenuShortCutTest, SectionWindowMenusOpenWithTheirLetters) {
    Start();
    form->MIVerticalClick(nullptr);
    TFormVertikal* section = nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* s = dynamic_cast<TFormVertikal*>(form->Components(i))) section = s;
    ASSERT_NE(section, nullptr);
    ASSERT_TRUE(section->Visible());
    for (gui::TMenuItem* entry : {section->MIDatei, section->MIInterpolation}) {
        SCOPED_TRACE(entry->Caption());
        ASSERT_TRUE(Activate(section));
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus->window() != section->Widget()) focus = section->Widget();
        const QKeySequence letter = QKeySequence::mnemonic(entry->Action()->text());
        ASSERT_EQ(letter.count(), 1);
        QTest::keyClick(focus, letter[0].key(), Qt::AltModifier);
        EXPECT_TRUE(ProcessUntil([&] { return QApplication::activePopupWidget() == entry->Action()->menu(); }));
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        ASSERT_TRUE(ProcessUntil([] { return !QApplication::activePopupWidget(); }));
    }
}
