// The library's combo box keeps its look in a surface: a new current item shows at once, not
// only after the next invalidation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "components/controls/kitcombo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Presenter.h"

namespace {

TEST(kitComboSurface, ANewItemIsDrawnIntoTheKeptSurface) {
    gui::ScriptedPresenter presenter;
    gui::TApplication app;
    gui::TForm* form = nullptr;
    app.CreateForm(form);
    form->Show();
    auto* combo = new kit::TKitComboBox(form);
    combo->SetParent(form);
    combo->SetStyle(gui::csDropDownList);
    combo->SetBounds(10, 10, 140, 24);
    combo->Items()->Add("--- Kein ---");
    combo->Items()->Add("WWWWWWWW");
    combo->SetItemIndex(0);
    auto shot = [&] {
        QCoreApplication::processEvents();
        return combo->Widget()->grab().toImage();
    };
    const QImage first = shot();
    combo->SetItemIndex(1);
    const QImage second = shot();
    combo->Invalidate();
    const QImage redrawn = shot();
    EXPECT_NE(second, first);
    EXPECT_EQ(second, redrawn);
}

}  // namespace
