// General string helpers. Strings hold UTF-8; lengths, counts and 1-based positions in this
// unit are counted in characters (code points), so that positions from LastPos fit DropLeft
// and padding lines up on screen. Searches that find nothing answer -1.
#pragma once

#include <string>

std::string IntStr(int I);
std::string ByteStr(unsigned char B);  // decimal character code: ',' gives "44"
std::string CharStr(char C);

std::string LeftChars(const std::string& S, int N);
std::string RightChars(const std::string& S, int N);
std::string DropLeft(const std::string& S, int N);
std::string DropRight(const std::string& S, int N);
// Count characters from Index (an Index below 1 counts as 1); "" past the end.
std::string SafeCopy(const std::string& S, int Index, int Count);

std::string PadLeft(const std::string& S, int Len, char Fill);
std::string PadLeftBlanks(const std::string& S, int Len);
std::string Spaces(int N);

// Only character 32 counts as blank; tabs stay.
std::string TrimLeftSpaces(const std::string& S);
std::string TrimRightSpaces(const std::string& S);
std::string TrimSpaces(const std::string& S);

std::string DotToComma(const std::string& S);
std::string RemoveChar(const std::string& S, char C);
// Keeps only ',', '-', '0'..'9', 'E', 'e'.
std::string FloatCharsOnly(const std::string& S);
// S not empty and only the characters FloatCharsOnly keeps (the number's form is not checked).
bool IsFloatChars(const std::string& S);
bool IsFloatString(const std::string& S);

int LastPos(const std::string& S, const std::string& Sub);
int LastPosChar(const std::string& S, char C);
int PosAfterLast(const std::string& S, const std::string& Sub);
bool StrContains(const std::string& S, const std::string& Sub);

bool NotEmpty(const std::string& S);
bool IsEmpty(const std::string& S);
std::string BoolToText(bool B);
