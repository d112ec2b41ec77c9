// File-name helpers. Paths use '/' (rtl::PathDelim).
#pragma once

#include <string>

// FileName without the extension of its last component ("/a.b/c" stays whole); the path stays.
std::string FileNameWithoutExt(const std::string& FileName);
// The path part of FileName with a trailing '/' ensured ("" becomes "/").
std::string FileDirectory(const std::string& FileName);
