// The digits the standard controls show in the user-interface font can be told apart: an edit,
// a label, a memo and a string-grid cell each show "0123456789", and the confusable digits of
// what is on screen differ clearly.
#include <QPlainTextEdit>
#include <QTableView>

#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"
#include "tests/gui/GuiFixture.h"
#include "tests/support/DigitGlyphs.h"

using namespace gui;

class guiDigitsShown : public GuiFixture {
protected:
    TForm* form = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        form->SetBounds(0, 0, 400, 300);
        form->Show();
    }
    static QImage Shot(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(guiDigitsShown, StandardControlsTellEveryDigitApart) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(8, 8, 120, 21);
    edit->SetText(digits::kLine);
    edit->Show();

    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(8, 40, 120, 14);
    label->SetCaption(digits::kLine);

    auto* memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetBounds(8, 60, 120, 40);
    memo->Lines()->Add(digits::kLine);
    memo->Show();

    auto* grid = new TStringGrid(form);
    grid->SetParent(form);
    grid->SetBounds(8, 110, 260, 90);
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetDefaultColWidth(80);
    grid->SetCells(2, 2, digits::kLine);  // not the current cell, which is highlighted
    grid->Show();
    QCoreApplication::processEvents();

    auto* view = static_cast<QTableView*>(grid->Widget());
    auto* memoView = static_cast<QPlainTextEdit*>(memo->Widget());
    // The model holds the cells below and right of the one fixed row and column.
    const QRect cell = view->visualRect(view->model()->index(1, 1)).adjusted(1, 1, -1, -1);
    const QRect memoLine = memoView->viewport()->rect().adjusted(0, 0, 0, -memoView->viewport()->height() / 2);

    struct Case {
        const char* control;
        QImage shot;
        QRect area;
        QFont font;
    };
    const Case cases[] = {
        {"edit", Shot(edit->Widget()), edit->Widget()->rect().adjusted(3, 3, -3, -3), edit->Widget()->font()},
        {"label", Shot(form->Widget()), QRect(label->Left(), label->Top(), label->Width(), label->Height()),
         gdi::FontToQFont(*label->Font())},
        {"memo", Shot(memoView->viewport()), memoLine, memoView->font()},
        {"grid", Shot(view->viewport()), cell, view->font()},
    };
    for (const Case& c : cases) {
        const auto cells = digits::CellsInArea(c.shot, c.font, c.area);
        EXPECT_EQ(digits::Unclear(cells), "") << c.control;
    }
    // The controls draw in the user-interface font itself.
    EXPECT_EQ(edit->Widget()->font(), QApplication::font());
    EXPECT_EQ(view->font(), QApplication::font());
}
