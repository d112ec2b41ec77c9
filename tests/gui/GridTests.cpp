// TStringGrid: cells, fixed header row, current cell and SelectCell.
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>

#include "platform/gui/Grids.h"
#include "tests/gui/GuiFixture.h"

using namespace gui;

class guiGrid : public GuiFixture {
protected:
    TForm* form = nullptr;
    TStringGrid* grid = nullptr;
    void SetUp() override {
        app.CreateForm(form);
        grid = new TStringGrid(form);
        grid->SetParent(form);
        form->Show();
    }
    QTableView* View() const { return static_cast<QTableView*>(grid->Widget()); }
};

TEST_F(guiGrid, CellsCoverFixedAndBodyCells) {
    grid->SetColCount(8);
    grid->SetFixedCols(0);
    grid->SetRowCount(3);
    EXPECT_EQ(grid->FixedRows(), 1);
    grid->SetCells(0, 0, "MP");
    grid->SetCells(1, 0, "x [m]");
    grid->SetCells(0, 2, "MP    2");
    EXPECT_EQ(grid->Cells(1, 0), "x [m]");
    EXPECT_EQ(grid->Cells(0, 2), "MP    2");
    EXPECT_EQ(grid->Cells(9, 9), "");
    grid->SetCells(9, 9, "weg");  // outside: ignored
    EXPECT_EQ(grid->Cells(9, 9), "");

    QAbstractItemModel* m = View()->model();
    EXPECT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->columnCount(), 8);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("x [m]"));
    EXPECT_EQ(m->data(m->index(1, 0)).toString(), QStringLiteral("MP    2"));

    // Growing keeps the cells, shrinking drops the rows beyond.
    grid->SetRowCount(5);
    EXPECT_EQ(grid->Cells(0, 2), "MP    2");
    grid->SetRowCount(2);
    EXPECT_EQ(grid->Cells(0, 2), "");
    grid->SetRowCount(3);
    EXPECT_EQ(grid->Cells(0, 2), "");
    EXPECT_THROW(grid->SetFixedRows(3), rtl::EInvalidOperation);

    // A second fixed row (a unit row) is shown in the header under the first.
    grid->SetFixedRows(2);
    grid->SetCells(1, 1, "m");
    EXPECT_EQ(m->rowCount(), 1);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("x [m]\nm"));
}

TEST_F(guiGrid, ColumnWidthsAndRowHeights) {
    grid->SetFixedCols(0);
    grid->SetDefaultColWidth(50);
    grid->SetDefaultRowHeight(16);
    EXPECT_EQ(grid->ColWidths(3), 50);
    grid->SetColWidths(3, 80);
    EXPECT_EQ(grid->ColWidths(3), 80);
    EXPECT_EQ(View()->horizontalHeader()->sectionSize(3), 80);
    EXPECT_EQ(View()->verticalHeader()->sectionSize(0), 16);
    grid->SetRowCount(10);
    EXPECT_EQ(grid->RowHeights(9), 16);
    EXPECT_EQ(View()->verticalHeader()->sectionSize(8), 16);
}

TEST_F(guiGrid, CurrentCellMovesOnlyWhenSelectCellAgrees) {
    grid->SetRowCount(4);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 1);
    bool allow = true;
    int asked = 0;
    grid->OnSelectCell = [&](rtl::TObject*, int, int, bool& can) {
        ++asked;
        can = allow;
    };
    grid->SetRow(3);
    EXPECT_EQ(grid->Row(), 3);
    allow = false;
    grid->SetRow(2);
    EXPECT_EQ(grid->Row(), 3);
    // The user's move is refused the same way and the view goes back.
    QAbstractItemModel* m = View()->model();
    View()->setCurrentIndex(m->index(0, 0));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(View()->currentIndex().row(), 2);
    allow = true;
    View()->setCurrentIndex(m->index(0, 2));
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(asked, 4);
    EXPECT_THROW(grid->SetRow(4), rtl::EInvalidOperation);
    // Shrinking the grid pulls the current row in.
    grid->SetRow(3);
    grid->SetRowCount(2);
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(guiGrid, EditorWritesThroughSetEditText) {
    struct ReportingGrid : TStringGrid {
        using TStringGrid::TStringGrid;
        std::vector<std::string> reports;
        void SetEditText(int c, int r, const std::string& v) override {
            reports.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v + (EditorMode() ? " open" : " closed"));
            TStringGrid::SetEditText(c, r, v);
        }
    };
    auto* g = new ReportingGrid(form);
    g->SetParent(form);
    g->SetOptions(g->Options() | goEditing);
    auto* view = static_cast<QTableView*>(g->Widget());
    QAbstractItemModel* m = view->model();
    EXPECT_TRUE(m->flags(m->index(0, 0)) & Qt::ItemIsEditable);
    m->setData(m->index(1, 2), QStringLiteral("42"), Qt::EditRole);
    EXPECT_EQ(g->Cells(3, 2), "42");
    ASSERT_EQ(g->reports.size(), 1u);
    EXPECT_EQ(g->reports[0], "3,2=42 closed");
}
