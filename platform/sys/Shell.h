// Opening a file, folder or web address with the desktop's associated program, and starting a
// program, without waiting for either: the shell-execute stand-in.
//
// Documents, folders and addresses go to the desktop's opener (xdg-open), an executable file is
// started directly with its parameters. Failures that can be seen before the start are given
// as the shell's error codes. The opener runs as a child of this process: nothing waits for it,
// and its process can be watched (TProcessHandle) to learn from its exit code whether it found
// a program for the target.
#pragma once

#include <string>

namespace sys {

// The shell's error codes.
inline constexpr int SE_ERR_FNF = 2;              // file not found
inline constexpr int SE_ERR_PNF = 3;              // path not found
inline constexpr int SE_ERR_ACCESSDENIED = 5;
inline constexpr int SE_ERR_OOM = 8;
inline constexpr int SE_ERR_SHARE = 26;
inline constexpr int SE_ERR_ASSOCINCOMPLETE = 27;
inline constexpr int SE_ERR_DDETIMEOUT = 28;
inline constexpr int SE_ERR_DDEFAIL = 29;
inline constexpr int SE_ERR_DDEBUSY = 30;
inline constexpr int SE_ERR_NOASSOC = 31;         // no program for this kind of document
inline constexpr int SE_ERR_DLLNOTFOUND = 32;

enum class TShellVerb { Open, Print, Explore, Edit, Properties };

struct TShellResult {
    int ErrorCode = 0;        // 0 when started, else one of the SE_ERR_ codes
    long long ProcessId = 0;  // the started program or the opener; 0 when nothing can be watched
};

// A web or mail address ("scheme:" with a scheme of two or more characters, or "www."),
// handed to the opener as it stands.
bool IsAddress(const std::string& Target);

// Runs Verb on Target:
// - Open: a web address ("http:", "mailto:", "www." ...) or an existing file or folder is handed
//   to the opener; an executable file is started with Parameters (split at blanks, "..." quoting)
//   in Directory. A relative Target is taken relative to Directory when one is given; a bare
//   name (no '/') that names no file there is looked up in PATH, as the shell does.
// - Explore: opens the folder Target.
// - Print, Edit, Properties: no desktop counterpart; SE_ERR_NOASSOC.
// Errors: empty or missing file SE_ERR_FNF, missing folder (of the file or to explore)
// SE_ERR_PNF, an executable that cannot be started SE_ERR_ACCESSDENIED, no opener
// SE_ERR_NOASSOC (also when the opener is missing).
TShellResult ShellExecute(TShellVerb Verb, const std::string& Target,
                          const std::string& Parameters = {}, const std::string& Directory = {});

// The opener program; "xdg-open" unless set. Tests point it at a program of their own; an empty
// text restores the default.
void SetShellOpener(const std::string& Program);
std::string ShellOpener();

// For the user, in German: why a start failed, by the shell's error code (SE_ERR_NOASSOC
// names the opener, the one cause for opening and exploring).
std::string ShellErrorText(int ErrorCode);
// For the user, in German: why the opener failed, by its exit code (nonzero; 128 + the signal
// number when a signal ended it).
std::string ShellOpenerExitText(int ExitCode);

}  // namespace sys
