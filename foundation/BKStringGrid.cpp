#include "foundation/BKStringGrid.h"

#include <algorithm>
#include <utility>

namespace {

constexpr const char* kDefaultKey = "kLpvuhes";
constexpr const char* kWrongColMessage =
    "You cannot sort by one of the fixed columns when the SortByFixedCol property is set to "
    "false.";

// The hourglass while the rows move; the default cursor afterwards.
struct HourGlass {
    HourGlass() { gui::Screen()->SetCursor(gui::crHourGlass); }
    ~HourGlass() { gui::Screen()->SetCursor(gui::crDefault); }
};

}  // namespace

bool IsBlankText(const std::string& S) {
    return std::all_of(S.begin(), S.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c <= 32 || c == 127;
    });
}

TBKStringGrid::TBKStringGrid(rtl::TComponent* owner)
    : gui::TStringGrid(owner), encryption_(std::make_unique<TQemEncryption>(nullptr)) {
    encryption_->SetKey(encryptionKey_.empty() ? kDefaultKey : encryptionKey_);
}

TBKStringGrid::~TBKStringGrid() = default;

void TBKStringGrid::SetEncryptionKey(const std::string& key) {
    encryptionKey_ = key;
    if (!key.empty()) encryption_->SetKey(key);
}

int TBKStringGrid::Compare(const std::string& A, const std::string& B) const {
    if (!CaseSensitive) return rtl::CompareText(A, B);
    const int c = A.compare(B);  // bytes of UTF-8 compare in code-point order
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void TBKStringGrid::ExchangeRows(int A, int B) {
    for (int c = FirstSortableCol(); c < ColCount(); ++c) {
        std::string a = Cells(c, A);
        std::string b = Cells(c, B);
        SetCells(c, A, b);
        SetCells(c, B, a);
    }
}

void TBKStringGrid::QuickSortRows(int Lo, int Hi) {
    int I = 0, J = 0;
    do {
        I = Lo;
        J = Hi;
        const std::string pivot = Cells(sortCol_, (Lo + Hi) / 2);
        do {
            while (Compare(Cells(sortCol_, I), pivot) < 0) ++I;
            while (Compare(Cells(sortCol_, J), pivot) > 0) --J;
            if (I <= J) {
                if (I != J) ExchangeRows(I, J);
                ++I;
                --J;
            }
        } while (I <= J);
        if (J > Lo) QuickSortRows(Lo, J);
        Lo = I;
    } while (I < Hi);
}

void TBKStringGrid::ReverseRows() {
    for (int a = FixedRows(), b = RowCount() - 1; a < b; ++a, --b) ExchangeRows(a, b);
}

bool TBKStringGrid::IsBlankRow(int Row) const {
    for (int c = FirstSortableCol(); c < ColCount(); ++c)
        if (!IsBlankText(Cells(c, Row))) return false;
    return true;
}

void TBKStringGrid::MoveBlankRowsDown() {
    const int first = FixedRows();
    if (first >= RowCount() || !IsBlankRow(first)) return;
    int r = first + 1;
    while (r < RowCount() && IsBlankRow(r)) ++r;
    if (r >= RowCount()) return;
    for (int a = first, b = r; b < RowCount(); ++a, ++b) ExchangeRows(a, b);
}

void TBKStringGrid::SortByColumn(int ACol, int Direction) {
    if (EditorMode() && (Options() & gui::goAlwaysShowEditor) && OnUserChangedCell)
        OnUserChangedCell(this, Col(), Row(), Cells(Col(), Row()));
    if (ACol < FixedCols() && !SortByFixedCol) throw EWrongCol(kWrongColMessage);

    sortCol_ = ACol;
    {
        HourGlass busy;
        QuickSortRows(FixedRows(), RowCount() - 1);
        if (Direction == 0)
            ReverseRows();
        else if (BlanksDown)
            MoveBlankRowsDown();
        if (Direction == 0 && OnSortedDesc) OnSortedDesc(this);
        if (Direction == 1 && OnSortedAsc) OnSortedAsc(this);
    }
    Invalidate();
}

bool TBKStringGrid::SelectCell(int ACol, int ARow) {
    if (EditorMode()) {
        editNotReported_ = false;
        if (OnUserChangedCell) {
            const std::string text = Cells(Col(), Row());
            if (text != startText_) OnUserChangedCell(this, Col(), Row(), text);
        }
    }
    return gui::TStringGrid::SelectCell(ACol, ARow);
}

std::string TBKStringGrid::GetEditText(int ACol, int ARow) {
    startText_ = gui::TStringGrid::GetEditText(ACol, ARow);
    return startText_;
}

void TBKStringGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
    if (!EditorMode() && editNotReported_ && OnUserChangedCell && Value != startText_)
        OnUserChangedCell(this, ACol, ARow, Value);
    gui::TStringGrid::SetEditText(ACol, ARow, Value);
    editNotReported_ = true;
}
