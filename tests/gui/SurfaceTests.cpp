// Windowless controls on their parent's surface, window messages, self-drawn windows.
#include <QImage>
#include <QKeyEvent>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

class guiSurface : public GuiFixture {
protected:
    TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 200);
        form->Show();
    }
};

TEST_F(guiSurface, Debug) {
    auto* gb = new TGroupBox(form);
    gb->SetParent(form);
    gb->SetBounds(10, 10, 150, 100);
    gb->SetCaption("Box");
    auto* l = new TLabel(form);
    l->SetParent(gb);
    l->SetBounds(10, 20, 50, 13);
    l->SetCaption("Hallo");
    QApplication::processEvents();
    form->Widget()->grab().save("/tmp/dbg13/a.png");
}
