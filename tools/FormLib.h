// Dialog services of the tool windows: the text-file save dialog and the launchers of the
// tool windows built so far.
#pragma once

#include <string>

// A save dialog for text files: default extension "txt", the filters "Alle Dateien" and
// "TextDateien" with the text files chosen, FileName proposed. FileName receives the dialog's
// file name afterwards, also after Cancel (then the proposed one). True when confirmed.
bool ExecuteTextSaveDialog(std::string& FileName);

// The limit table, modal; freed when it closes.
void ShowGrenzwerttabelle();

// The resonant-circuit calculator, modal; freed when it closes.
void ShowSchwingkreis();

// The two-wire-line calculator, modal; freed when it closes.
void ShowZweidrahtleitung();
