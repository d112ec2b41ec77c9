// Opening documents and web addresses with their associated program. Nothing waits for it: the
// opener is watched on the application's timer pool, and when it cannot be started or ends with
// an error the user is told in a box what could not be opened and why. Until the opener has
// ended, for two seconds at most, the program's windows show the app-starting cursor.
#pragma once

#include <string>

// Opens an existing file; a missing one gives the error box "Die Datei <Path> konnte nicht
// gefunden werden!" and starts nothing.
void ShellOpenFile(const std::string& Path);
// Opens a web address or a document without checking that it exists.
void ShellOpen(const std::string& Target);

// The box text for a target that could not be opened: what it is (file, folder or address), the
// target, and Reason.
std::string ShellOpenFailedText(const std::string& Target, const std::string& Reason);
