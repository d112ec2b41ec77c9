// Modal message boxes with the program's fixed German texts.
#pragma once

#include <string>

void msgInfo(const std::string& Text);
void msgWarning(const std::string& Text);
void msgError(const std::string& Text);
void msgFileNotFound(const std::string& FileName);
void NoFloatMessage(const std::string& S);
void NotFinishedMessage(const std::string& RoutineName);
void WarnWithDetail(const std::string& Text, const std::string& Detail);
void WarnNumber(int N, const std::string& Detail);
void DebugNop();
