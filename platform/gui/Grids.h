// The string grid over a Qt table view.
//
// Cells[col][row] covers the whole grid, fixed rows and columns included. The fixed rows are
// shown as the column header, one line each, and the first fixed column as the row header
// (further fixed columns are kept but not shown). Row and Col name the current cell (FixedRows / FixedCols
// at start); moving it, by the user or in code, asks SelectCell first.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/StdCtrls.h"

namespace gui {

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0, goFixedHorzLine = 1u << 1, goVertLine = 1u << 2,
    goHorzLine = 1u << 3, goRangeSelect = 1u << 4, goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6, goColSizing = 1u << 7, goRowMoving = 1u << 8, goColMoving = 1u << 9,
    goEditing = 1u << 10, goTabs = 1u << 11, goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13, goThumbTracking = 1u << 14
};
using TGridOptions = unsigned;

using TSelectCellEvent = std::function<void(rtl::TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TSetEditEvent = std::function<void(rtl::TObject* Sender, int ACol, int ARow, const std::string& Value)>;

namespace detail {
class GridModel;
class GridView;
}  // namespace detail

class TStringGrid : public TWinControl {
public:
    explicit TStringGrid(rtl::TComponent* owner);
    ~TStringGrid() override;

    int ColCount() const { return colCount_; }
    void SetColCount(int n);   // at least 1; FixedCols follows when needed
    int RowCount() const { return rowCount_; }
    void SetRowCount(int n);   // at least 1; FixedRows follows when needed
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int n);  // EInvalidOperation unless below ColCount
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int n);  // EInvalidOperation unless below RowCount

    // Cells outside the grid read as empty; writing one outside is ignored.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& s);

    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int w);  // resets every column width
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int h);  // resets every row height
    int ColWidths(int col) const;
    void SetColWidths(int col, int w);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int h);

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions o);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);

    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCol(int c) { MoveCurrent(c, row_); }
    void SetRow(int r) { MoveCurrent(col_, r); }
    // True while the in-place editor is open.
    bool EditorMode() const;
    void SetEditorMode(bool v);

    TSelectCellEvent OnSelectCell;
    TSetEditEvent OnSetEditText;

protected:
    // Asked before the current cell moves; the default runs OnSelectCell.
    virtual bool SelectCell(int ACol, int ARow);
    // The text the editor starts with; the default is the cell.
    virtual std::string GetEditText(int ACol, int ARow);
    // The editor's text for a cell; the default stores it and runs OnSetEditText.
    virtual void SetEditText(int ACol, int ARow, const std::string& Value);

private:
    friend class detail::GridModel;
    friend class detail::GridView;
    void MoveCurrent(int col, int row);
    void CurrentChangedByView(int col, int row);
    void SyncView();
    void ApplySizes();
    void ApplyOptions();
    std::string& CellRef(int col, int row);

    detail::GridModel* model_ = nullptr;
    int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
    int col_ = 1, row_ = 1;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    std::vector<int> colWidths_, rowHeights_;
    std::vector<std::vector<std::string>> cells_;  // [row][col]
    TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    TScrollStyle scrollBars_ = ssBoth;
    bool syncing_ = false;
};

}  // namespace gui
