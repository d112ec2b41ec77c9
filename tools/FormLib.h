// Dialog services of the tool windows: the yes/no question, the text-file save dialog and the
// launchers of the tool windows.
#pragma once

#include <string>

// A save dialog for text files: default extension "txt", the filters "Alle Dateien" and
// "TextDateien" with the text files chosen, FileName proposed. FileName receives the dialog's
// file name afterwards, also after Cancel (then the proposed one). True when confirmed.
bool ExecuteTextSaveDialog(std::string& FileName);

// Asks Question in the question dialog, captioned Caption ("Frage" when empty). True when
// answered with "&Ja"; "&Nein" and closing the window give False.
bool AskYesNo(const std::string& Caption, const std::string& Question);

// The limit table, modal; freed when it closes.
void ShowGrenzwerttabelle();

// The resonant-circuit calculator, modal; freed when it closes.
void ShowSchwingkreis();

// The two-wire-line calculator, modal; freed when it closes.
void ShowZweidrahtleitung();

// The separator dialog, modal; freed when it closes.
void ShowDecimalSeperator();

// A new system-information window, not modal; released when it is closed.
void ShowSysInfo();

// A new coax calculator, not modal; released when it is closed.
void ShowKoaxCalc();
