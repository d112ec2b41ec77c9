// Grid helpers: clearing, a header row from a ';' list, the padded text table and the
// tab-separated clipboard text. They serve the platform's string grid and TBKStringGrid alike.
#pragma once

#include <string>

#include "platform/gui/Grids.h"

// Every cell, fixed ones included, := ''.
void StringGridClear(gui::TStringGrid& Grid);
// Piece i of Header (split at ';', empty pieces count) into column i of row 0.
void StringGridSetHeader(gui::TStringGrid& Grid, const std::string& Header);
// The grid as text: rows 0 .. RowCount - 1 - SkipLastRows; every cell padded on the left with
// blanks to 9 characters and followed by " ;"; every line ends in CR LF. The file is replaced
// only once the new one is complete; file errors reach the caller.
std::string StringGridText(const gui::TStringGrid& Grid, int SkipLastRows);
void StringGridSaveToFile(const gui::TStringGrid& Grid, const std::string& FileName,
                          int SkipLastRows);
// Every row: its cells separated by TAB, followed by CR LF.
std::string StringGridTabText(const gui::TStringGrid& Grid);
// Replaces the clipboard's content with StringGridTabText.
void StringGridCopyToClipboard(const gui::TStringGrid& Grid);
