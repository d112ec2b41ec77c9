// TStringGrid: the cells live in the grid; a table model shows the body and the first fixed
// row and column as headers.
#include "platform/gui/Grids.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

#include "platform/gui/QtSupport.h"

namespace gui {

namespace detail {

class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(TStringGrid* g) : grid_(g) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : grid_->rowCount_ - grid_->fixedRows_;
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : grid_->colCount_ - grid_->fixedCols_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const int c = index.column() + grid_->fixedCols_, r = index.row() + grid_->fixedRows_;
        if (role == Qt::DisplayRole) return QS(grid_->Cells(c, r));
        if (role == Qt::EditRole) {
            std::string text = grid_->Cells(c, r);
            InvokeHandler(grid_, [&] { text = grid_->GetEditText(c, r); });
            return QS(text);
        }
        return {};
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::EditRole) return false;
        const int c = index.column() + grid_->fixedCols_, r = index.row() + grid_->fixedRows_;
        const std::string text = SS(value.toString());
        InvokeHandler(grid_, [&] { grid_->SetEditText(c, r, text); });
        emit dataChanged(index, index);
        return true;
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (o == Qt::Horizontal) {
            // Every fixed row of the column, one line each (the header is as high as they are).
            std::string text;
            for (int r = 0; r < grid_->fixedRows_; ++r) {
                if (r > 0) text += '\n';
                text += grid_->Cells(section + grid_->fixedCols_, r);
            }
            if (grid_->fixedRows_ == 0) return {};
            return QS(text);
        }
        if (grid_->fixedCols_ == 0) return {};
        return QS(grid_->Cells(0, section + grid_->fixedRows_));
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (grid_->options_ & goEditing) f |= Qt::ItemIsEditable;
        return f;
    }

    void CellChanged(int c, int r) {
        const int fc = grid_->fixedCols_, fr = grid_->fixedRows_;
        if (c >= fc && r >= fr) {
            const QModelIndex i = index(r - fr, c - fc);
            emit dataChanged(i, i);
        } else if (r < fr && c >= fc) {
            emit headerDataChanged(Qt::Horizontal, c - fc, c - fc);
        } else if (c == 0 && r >= fr) {
            emit headerDataChanged(Qt::Vertical, r - fr, r - fr);
        }
    }
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    void BeginInsertBodyRows(int first, int last) { beginInsertRows(QModelIndex(), first, last); }
    void EndInsertBodyRows() { endInsertRows(); }
    void BeginRemoveBodyRows(int first, int last) { beginRemoveRows(QModelIndex(), first, last); }
    void EndRemoveBodyRows() { endRemoveRows(); }
    void BeginInsertBodyCols(int first, int last) { beginInsertColumns(QModelIndex(), first, last); }
    void EndInsertBodyCols() { endInsertColumns(); }
    void BeginRemoveBodyCols(int first, int last) { beginRemoveColumns(QModelIndex(), first, last); }
    void EndRemoveBodyCols() { endRemoveColumns(); }

private:
    TStringGrid* grid_;
};

class GridView : public Hooked<QTableView> {
public:
    TStringGrid* grid = nullptr;
    bool Editing() const { return state() == QAbstractItemView::EditingState && !committing_; }
    void CloseEditor() {
        QWidget* ed = QApplication::focusWidget();
        if (!Editing() || !ed || ed->parentWidget() != viewport()) return;
        commitData(ed);
        closeEditor(ed, QAbstractItemDelegate::NoHint);
    }

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
        QTableView::currentChanged(current, previous);
        if (grid && current.isValid() && !grid->Destroying())
            grid->CurrentChangedByView(current.column() + grid->fixedCols_, current.row() + grid->fixedRows_);
    }
    void commitData(QWidget* editor) override {
        committing_ = true;
        QTableView::commitData(editor);
        committing_ = false;
    }

private:
    bool committing_ = false;
};

}  // namespace detail

using namespace detail;

namespace {
[[noreturn]] void GridIndexError() {
    throw rtl::EInvalidOperation("Gitterindex außerhalb des gültigen Bereichs");
}
GridView* View(const TStringGrid* g) { return static_cast<GridView*>(g->Widget()); }
}  // namespace

TStringGrid::TStringGrid(rtl::TComponent* owner) : TWinControl(owner, new GridView) {
    color_ = gdi::clWindow;
    colorRole_ = QPalette::Base;
    cells_.assign(static_cast<std::size_t>(rowCount_), std::vector<std::string>(static_cast<std::size_t>(colCount_)));
    colWidths_.assign(static_cast<std::size_t>(colCount_), defaultColWidth_);
    rowHeights_.assign(static_cast<std::size_t>(rowCount_), defaultRowHeight_);
    GridView* v = View(this);
    v->grid = this;
    v->viewport()->setMouseTracking(true);
    model_ = new GridModel(this);
    v->setModel(model_);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    // A text wider than its cell is clipped at the cell's edge, not elided.
    v->setTextElideMode(Qt::ElideNone);
    for (QHeaderView* h : {v->horizontalHeader(), v->verticalHeader()}) {
        h->setTextElideMode(Qt::ElideNone);
        h->setMinimumSectionSize(0);
        h->setSectionsClickable(false);
        h->setHighlightSections(false);
    }
    v->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QObject::connect(v->horizontalHeader(), &QHeaderView::sectionResized, [this](int section, int, int size) {
        const std::size_t c = static_cast<std::size_t>(section + fixedCols_);
        if (!syncing_ && c < colWidths_.size()) colWidths_[c] = size;
    });
    QObject::connect(v->verticalHeader(), &QHeaderView::sectionResized, [this](int section, int, int size) {
        const std::size_t r = static_cast<std::size_t>(section + fixedRows_);
        if (!syncing_ && r < rowHeights_.size()) rowHeights_[r] = size;
    });
    ApplyOptions();
    SetScrollBars(ssBoth);
    ApplySizes();
    SyncView();
    SetBounds(0, 0, 320, 120);
}

TStringGrid::~TStringGrid() {
    destroying_ = true;
    View(this)->grid = nullptr;
    View(this)->setModel(nullptr);
    delete model_;
}

std::string TStringGrid::Cells(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return {};
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

std::string& TStringGrid::CellRef(int col, int row) {
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TStringGrid::SetCells(int col, int row, const std::string& s) {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return;
    std::string& cell = CellRef(col, row);
    if (cell == s) return;
    cell = s;
    model_->CellChanged(col, row);
}

void TStringGrid::SetRowCount(int n) {
    n = std::max(1, n);
    if (n == rowCount_) return;
    if (fixedRows_ >= n) {
        // The fixed rows shrink with the grid: lay everything out anew.
        model_->BeginReset();
        fixedRows_ = n - 1;
        rowCount_ = n;
        cells_.resize(static_cast<std::size_t>(n), std::vector<std::string>(static_cast<std::size_t>(colCount_)));
        rowHeights_.resize(static_cast<std::size_t>(n), defaultRowHeight_);
        model_->EndReset();
        ApplySizes();
    } else if (n > rowCount_) {
        model_->BeginInsertBodyRows(rowCount_ - fixedRows_, n - fixedRows_ - 1);
        cells_.resize(static_cast<std::size_t>(n), std::vector<std::string>(static_cast<std::size_t>(colCount_)));
        rowHeights_.resize(static_cast<std::size_t>(n), defaultRowHeight_);
        rowCount_ = n;
        model_->EndInsertBodyRows();
    } else {
        model_->BeginRemoveBodyRows(n - fixedRows_, rowCount_ - fixedRows_ - 1);
        cells_.resize(static_cast<std::size_t>(n));
        rowHeights_.resize(static_cast<std::size_t>(n));
        rowCount_ = n;
        model_->EndRemoveBodyRows();
    }
    row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
    SyncView();
}

void TStringGrid::SetColCount(int n) {
    n = std::max(1, n);
    if (n == colCount_) return;
    auto resizeRows = [&] {
        for (auto& r : cells_) r.resize(static_cast<std::size_t>(n));
        colWidths_.resize(static_cast<std::size_t>(n), defaultColWidth_);
        colCount_ = n;
    };
    if (fixedCols_ >= n) {
        model_->BeginReset();
        fixedCols_ = n - 1;
        resizeRows();
        model_->EndReset();
        ApplySizes();
    } else if (n > colCount_) {
        model_->BeginInsertBodyCols(colCount_ - fixedCols_, n - fixedCols_ - 1);
        resizeRows();
        model_->EndInsertBodyCols();
    } else {
        model_->BeginRemoveBodyCols(n - fixedCols_, colCount_ - fixedCols_ - 1);
        resizeRows();
        model_->EndRemoveBodyCols();
    }
    col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
    SyncView();
}

void TStringGrid::SetFixedRows(int n) {
    if (n < 0 || n >= rowCount_) throw rtl::EInvalidOperation("Die Anzahl fester Zeilen muss kleiner als die Zeilenanzahl sein");
    if (n == fixedRows_) return;
    model_->BeginReset();
    fixedRows_ = n;
    model_->EndReset();
    row_ = std::max(row_, fixedRows_);
    ApplySizes();
    SyncView();
}

void TStringGrid::SetFixedCols(int n) {
    if (n < 0 || n >= colCount_) throw rtl::EInvalidOperation("Die Anzahl fester Spalten muss kleiner als die Spaltenanzahl sein");
    if (n == fixedCols_) return;
    model_->BeginReset();
    fixedCols_ = n;
    model_->EndReset();
    col_ = std::max(col_, fixedCols_);
    ApplySizes();
    SyncView();
}

void TStringGrid::ApplySizes() {
    GridView* v = View(this);
    syncing_ = true;
    QHeaderView* hh = v->horizontalHeader();
    QHeaderView* vh = v->verticalHeader();
    hh->setDefaultSectionSize(defaultColWidth_);
    vh->setDefaultSectionSize(defaultRowHeight_);
    for (int c = fixedCols_; c < colCount_; ++c) hh->resizeSection(c - fixedCols_, colWidths_[static_cast<std::size_t>(c)]);
    for (int r = fixedRows_; r < rowCount_; ++r) vh->resizeSection(r - fixedRows_, rowHeights_[static_cast<std::size_t>(r)]);
    int fixedWidth = 0, fixedHeight = 0;
    for (int c = 0; c < fixedCols_; ++c) fixedWidth += colWidths_[static_cast<std::size_t>(c)];
    for (int r = 0; r < fixedRows_; ++r) fixedHeight += rowHeights_[static_cast<std::size_t>(r)];
    vh->setVisible(fixedCols_ > 0);
    hh->setVisible(fixedRows_ > 0);
    if (fixedCols_ > 0) vh->setFixedWidth(fixedWidth);
    if (fixedRows_ > 0) hh->setFixedHeight(fixedHeight);
    syncing_ = false;
}

void TStringGrid::SetDefaultColWidth(int w) {
    defaultColWidth_ = std::max(0, w);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    ApplySizes();
}

void TStringGrid::SetDefaultRowHeight(int h) {
    defaultRowHeight_ = std::max(0, h);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
    ApplySizes();
}

int TStringGrid::ColWidths(int col) const {
    if (col < 0 || col >= colCount_) return defaultColWidth_;
    return colWidths_[static_cast<std::size_t>(col)];
}

void TStringGrid::SetColWidths(int col, int w) {
    if (col < 0 || col >= colCount_) GridIndexError();
    colWidths_[static_cast<std::size_t>(col)] = std::max(0, w);
    if (col >= fixedCols_) {
        syncing_ = true;
        View(this)->horizontalHeader()->resizeSection(col - fixedCols_, std::max(0, w));
        syncing_ = false;
    } else {
        ApplySizes();
    }
}

int TStringGrid::RowHeights(int row) const {
    if (row < 0 || row >= rowCount_) return defaultRowHeight_;
    return rowHeights_[static_cast<std::size_t>(row)];
}

void TStringGrid::SetRowHeights(int row, int h) {
    if (row < 0 || row >= rowCount_) GridIndexError();
    rowHeights_[static_cast<std::size_t>(row)] = std::max(0, h);
    if (row >= fixedRows_) {
        syncing_ = true;
        View(this)->verticalHeader()->resizeSection(row - fixedRows_, std::max(0, h));
        syncing_ = false;
    } else {
        ApplySizes();
    }
}

void TStringGrid::ApplyOptions() {
    GridView* v = View(this);
    v->setEditTriggers((options_ & goEditing) ? (QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                                 QAbstractItemView::AnyKeyPressed)
                                              : QAbstractItemView::NoEditTriggers);
    v->setSelectionBehavior((options_ & goRowSelect) ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    v->setShowGrid((options_ & (goVertLine | goHorzLine)) != 0);
    v->horizontalHeader()->setSectionResizeMode((options_ & goColSizing) ? QHeaderView::Interactive : QHeaderView::Fixed);
    v->verticalHeader()->setSectionResizeMode((options_ & goRowSizing) ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void TStringGrid::SetOptions(TGridOptions o) {
    options_ = o;
    ApplyOptions();
}

void TStringGrid::SetScrollBars(TScrollStyle s) {
    scrollBars_ = s;
    GridView* v = View(this);
    const bool h = s == ssHorizontal || s == ssBoth;
    const bool vert = s == ssVertical || s == ssBoth;
    v->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    v->setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

bool TStringGrid::EditorMode() const { return View(this)->Editing(); }

void TStringGrid::SetEditorMode(bool v) {
    GridView* view = View(this);
    if (v) {
        if ((options_ & goEditing) && view->currentIndex().isValid()) view->edit(view->currentIndex());
    } else {
        view->CloseEditor();
    }
}

bool TStringGrid::SelectCell(int ACol, int ARow) {
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
    return can;
}

std::string TStringGrid::GetEditText(int ACol, int ARow) { return Cells(ACol, ARow); }

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
    SetCells(ACol, ARow, Value);
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

void TStringGrid::MoveCurrent(int col, int row) {
    if (col < fixedCols_ || col >= colCount_ || row < fixedRows_ || row >= rowCount_) GridIndexError();
    if (col == col_ && row == row_) return;
    if (!SelectCell(col, row)) return;
    col_ = col;
    row_ = row;
    SyncView();
}

void TStringGrid::CurrentChangedByView(int col, int row) {
    if (syncing_ || (col == col_ && row == row_)) return;
    bool can = false;
    InvokeHandler(this, [&] { can = SelectCell(col, row); });
    if (!can) {
        SyncView();
        return;
    }
    col_ = col;
    row_ = row;
    if ((options_ & goEditing) && (options_ & goAlwaysShowEditor)) View(this)->edit(View(this)->currentIndex());
}

void TStringGrid::SyncView() {
    GridView* v = View(this);
    if (col_ < fixedCols_ || row_ < fixedRows_ || col_ >= colCount_ || row_ >= rowCount_) return;
    syncing_ = true;
    v->setCurrentIndex(model_->index(row_ - fixedRows_, col_ - fixedCols_));
    syncing_ = false;
}

}  // namespace gui
