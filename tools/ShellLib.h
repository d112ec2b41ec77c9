// Opening documents and web addresses with their associated program; nothing waits for it.
#pragma once

#include <string>

// Opens an existing file; a missing one gives the error box "Die Datei <Path> konnte nicht
// gefunden werden!" and starts nothing.
void ShellOpenFile(const std::string& Path);
// Opens a web address or a document without checking that it exists.
void ShellOpen(const std::string& Target);
