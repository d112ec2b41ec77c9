// The popup menu: a blocking Popup and the context menu of a control.
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/Menus.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

namespace {

// Once the popup is open, chooses its action number `index` with the keyboard (-1: Escape).
void ChooseWhenOpen(int index, std::vector<std::string>* seen = nullptr) {
    QTimer::singleShot(0, [=] {
        ProcessUntil([] { return QApplication::activePopupWidget() != nullptr; });
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        if (seen)
            for (QAction* a : menu->actions()) seen->push_back(a->text().toStdString());
        if (index >= 0) menu->setActiveAction(menu->actions().at(index));
        const int key = index >= 0 ? Qt::Key_Return : Qt::Key_Escape;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(menu, &press);
    });
}

}  // namespace

class guiPopupMenu : public GuiFixture {
protected:
    TForm* form = nullptr;
    TPopupMenu* popup = nullptr;
    std::vector<std::string> log;

    TMenuItem* Item(const std::string& caption) {
        auto* mi = new TMenuItem(form);
        mi->SetCaption(caption);
        mi->OnClick = [this, caption](rtl::TObject*) { log.push_back(caption); };
        popup->Items()->Add(mi);
        return mi;
    }
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 300, 200);
        popup = new TPopupMenu(form);
        popup->OnPopup = [this](rtl::TObject*) { log.push_back("OnPopup"); };
        Item("Speichern");
        Item("Kopieren");
    }
};

TEST_F(guiPopupMenu, PopupWaitsUntilAnItemIsChosen) {
    std::vector<std::string> seen;
    ChooseWhenOpen(1, &seen);
    popup->Popup(40, 40);
    // By the time Popup returns, the chosen item's handler has run, after OnPopup.
    EXPECT_EQ(log, (std::vector<std::string>{"OnPopup", "Kopieren"}));
    EXPECT_EQ(seen, (std::vector<std::string>{"Speichern", "Kopieren"}));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    log.clear();
    ChooseWhenOpen(-1);
    popup->Popup(40, 40);
    EXPECT_EQ(log, (std::vector<std::string>{"OnPopup"}));
}

TEST_F(guiPopupMenu, ContextMenuOfAControlOpensIt) {
    auto* grid = new TStringGrid(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 200, 150);
    SetPopupMenu(grid, popup);
    form->Show();

    auto* area = qobject_cast<QAbstractScrollArea*>(grid->Widget());
    ASSERT_NE(area, nullptr);
    ChooseWhenOpen(0);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(20, 20), QPoint(20, 20));
    QApplication::sendEvent(area->viewport(), &request);
    EXPECT_EQ(log, (std::vector<std::string>{"OnPopup", "Speichern"}));
    EXPECT_EQ(popup->PopupComponent, grid);

    // Detached: the request no longer reaches the menu.
    log.clear();
    SetPopupMenu(grid, nullptr);
    QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(20, 20), QPoint(20, 20));
    QApplication::sendEvent(area->viewport(), &again);
    ProcessFor(50);
    EXPECT_TRUE(log.empty());
}
