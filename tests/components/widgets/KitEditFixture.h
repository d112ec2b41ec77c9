// A shown form with one of the library's edits and a plain edit beside it, the focus moved into
// the library's edit from the plain one, and key events sent to it as a person's typing.
#pragma once

#include <QApplication>
#include <QKeyEvent>

#include "components/base/kitapp.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

template <class E>
class KitEditFixture : public GuiFixture {
protected:
    // Shows the form with the edit (width w) and the plain edit below it.
    void MakeEdit(int w) {
        kit::KitApplication->SetKeyState(1);
        gui::Clipboard()->SetAsText("");
        app.CreateForm(form);
        form->SetBounds(0, 0, 400, 200);
        form->Show();
        edit = new E(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, w, 24);
        other = new gui::TEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 60, 100, 24);
    }
    // Focus moved in from the other control, as a person's click or Tab gives it.
    void FocusEdit() {
        QApplication::setActiveWindow(form->Widget());
        other->SetFocus();
        ProcessUntil([&] { return other->Focused(); });
        edit->SetFocus();
        ProcessUntil([&] { return edit->Focused() && gui::GetCaretOwner() == edit; });
    }
    void TearDown() override { kit::KitApplication->SetKeyState(1); }

    void Key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString()) {
        QKeyEvent press(QEvent::KeyPress, k, mods, text);
        QApplication::sendEvent(edit->Widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, k, mods, text);
        QApplication::sendEvent(edit->Widget(), &release);
    }
    void Type(const QString& s) {
        for (QChar ch : s) Key(Qt::Key_unknown, Qt::NoModifier, QString(ch));
    }

    gui::TForm* form = nullptr;
    E* edit = nullptr;
    gui::TEdit* other = nullptr;
};
