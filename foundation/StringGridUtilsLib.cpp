#include "foundation/StringGridUtilsLib.h"

#include "foundation/StrUtilsLib.h"
#include "foundation/cStrings.h"
#include "platform/gui/Clipbrd.h"
#include "platform/rtl/FileReplace.h"

void StringGridClear(gui::TStringGrid& Grid) {
    for (int r = 0; r < Grid.RowCount(); ++r)
        for (int c = 0; c < Grid.ColCount(); ++c) Grid.SetCells(c, r, "");
}

void StringGridSetHeader(gui::TStringGrid& Grid, const std::string& Header) {
    const StringArray pieces = StrSplitChar(Header, ';');
    for (int i = 0; i < pieces.Length(); ++i) Grid.SetCells(i, 0, pieces[i]);
}

std::string StringGridText(const gui::TStringGrid& Grid, int SkipLastRows) {
    std::string text;
    for (int r = 0; r <= Grid.RowCount() - 1 - SkipLastRows; ++r) {
        for (int c = 0; c < Grid.ColCount(); ++c) {
            text += PadLeftBlanks(Grid.Cells(c, r), 9);
            text += " ;";
        }
        text += "\r\n";
    }
    return text;
}

void StringGridSaveToFile(const gui::TStringGrid& Grid, const std::string& FileName,
                          int SkipLastRows) {
    rtl::SaveFileReplacing(FileName, StringGridText(Grid, SkipLastRows));
}

std::string StringGridTabText(const gui::TStringGrid& Grid) {
    std::string text;
    for (int r = 0; r < Grid.RowCount(); ++r) {
        for (int c = 0; c < Grid.ColCount() - 1; ++c) {
            text += Grid.Cells(c, r);
            text += '\t';
        }
        text += Grid.Cells(Grid.ColCount() - 1, r);
        text += "\r\n";
    }
    return text;
}

void StringGridCopyToClipboard(const gui::TStringGrid& Grid) {
    gui::Clipboard()->SetAsText(StringGridTabText(Grid));
}
