// The string grid extended by sorting its rows by the text of one column, by events after a sort
// and after the user changed a cell, and by a few stored settings.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "foundation/Encryp.h"
#include "platform/gui/Grids.h"
#include "platform/rtl/SysUtils.h"

class EWrongCol : public rtl::Exception {
public:
    using rtl::Exception::Exception;
    const char* ClassName() const noexcept override { return "EWrongCol"; }
};

using TUserChangedCellEvent =
    std::function<void(rtl::TObject* Sender, int ACol, int ARow, const std::string& Value)>;

// Empty, or only characters with code <= 32 or 127.
bool IsBlankText(const std::string& S);

class TBKStringGrid : public gui::TStringGrid {
public:
    explicit TBKStringGrid(rtl::TComponent* owner);
    ~TBKStringGrid() override;

    // False: texts compare ignoring the case of 'A'..'Z'; True: by character codes.
    bool CaseSensitive = false;
    // Allows sorting by a fixed column; row exchanges then include the fixed columns.
    bool SortByFixedCol = false;
    // After an ascending sort, blank rows move to the bottom.
    bool BlanksDown = true;
    // Stored settings that nothing in the program acts on.
    std::string Filename = "TBKStringGrid.txt";
    bool Encryption = true;
    const std::string& EncryptionKey() const { return encryptionKey_; }
    // A key that is not empty is handed to the encryption component.
    void SetEncryptionKey(const std::string& key);
    const TQemEncryption& EncryptionComponent() const { return *encryption_; }

    rtl::TNotifyEvent OnSortedAsc;
    rtl::TNotifyEvent OnSortedDesc;
    // Fired once per user edit of a cell whose text changed: when the user leaves the cell or
    // when the editor closes.
    TUserChangedCellEvent OnUserChangedCell;

    // Sorts the data rows by the texts of column ACol: Direction 1 ascending (blank rows to the
    // bottom when BlanksDown), 0 descending (the ascending order reversed). A fixed column
    // without SortByFixedCol raises EWrongCol and nothing moves. Numbers compare as text; the
    // sort is not stable.
    virtual void SortByColumn(int ACol, int Direction);

protected:
    bool SelectCell(int ACol, int ARow) override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;

private:
    int Compare(const std::string& A, const std::string& B) const;
    void QuickSortRows(int Lo, int Hi);
    void ExchangeRows(int A, int B);
    void ReverseRows();
    bool IsBlankRow(int Row) const;
    void MoveBlankRowsDown();
    int FirstSortableCol() const { return SortByFixedCol ? 0 : FixedCols(); }

    int sortCol_ = 0;
    std::unique_ptr<TQemEncryption> encryption_;
    std::string encryptionKey_;
    bool editNotReported_ = true;
    std::string startText_;
};
