// The focus a self-drawn control receives when its window is shown and activated is a focus
// move (the control hears WM_SETFOCUS and runs OnEnter); leaving the window and coming back is
// not.
#include <QApplication>

#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

class Box : public TCustomControl {
public:
    explicit Box(rtl::TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

class guiFirstFocus : public GuiFixture {};

TEST_F(guiFirstFocus, ShownWindowsFocusedControlHearsOfIt) {
    TForm* form = nullptr;
    app.CreateForm(form);
    form->SetBounds(0, 0, 300, 200);
    auto* edit = new Box(form);
    edit->SetParent(form);
    int enters = 0, exits = 0;
    edit->OnEnter = [&](rtl::TObject*) { ++enters; };
    edit->OnExit = [&](rtl::TObject*) { ++exits; };
    edit->SetFocus();
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    EXPECT_TRUE(ProcessUntil([&] { return enters == 1; }));

    // Another window takes the activation and gives it back: no second enter, no exit.
    TForm* second = nullptr;
    app.CreateForm(second);
    second->Show();
    QApplication::setActiveWindow(second->Widget());
    ProcessFor(50);
    QApplication::setActiveWindow(form->Widget());
    ProcessUntil([&] { return edit->Focused(); });
    ProcessFor(50);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 0);
}

}  // namespace
