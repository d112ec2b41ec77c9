// Folder helpers. Paths use '/' (rtl::PathDelim).
#pragma once

#include <string>

// S with a trailing '/' (also for an empty S).
std::string IncludeTrailingBackslash(const std::string& S);
// The user's desktop folder with a trailing '/': $XDG_DESKTOP_DIR when set, else the desktop
// folder named in the desktop environment's user-dirs.dirs, else ~/Desktop when it exists, else
// the home folder.
std::string GetDeskTopDir();
