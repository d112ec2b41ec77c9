// Helpers for multi-line text controls.
#pragma once

#include <string>

#include "platform/gui/StdCtrls.h"

// Removes all lines.
void MemoClear(gui::TMemo& Memo);
// Appends the line Prefix + Text.
void MemoAdd(gui::TMemo& Memo, const std::string& Text, const std::string& Prefix = std::string());
