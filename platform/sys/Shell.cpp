#include "platform/sys/Shell.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

extern char** environ;

namespace sys {

namespace {

std::mutex OpenerLock;
std::string& OpenerProgram() {
    static std::string program = "xdg-open";
    return program;
}

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }


// The opener runs as a child of this process in a session of its own, so that its exit code
// tells whether it found a program for the target.
TShellResult StartOpener(const std::string& target) {
    std::string opener = ShellOpener();
    std::string argument = target;
    char* argv[] = {opener.data(), argument.data(), nullptr};
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, reset;
    sigemptyset(&none);
    sigemptyset(&reset);
    sigaddset(&reset, SIGPIPE);
    sigaddset(&reset, SIGCHLD);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &reset);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    // Searches the opener in PATH; a missing opener fails here.
    const int rc = posix_spawnp(&pid, opener.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return {SE_ERR_NOASSOC, 0};
    return {0, pid};
}

// The executable file that a bare command name (no '/') names in the search path, found as the
// shell finds it; empty when there is none.
std::string FindInSearchPath(const std::string& name) {
    std::string search;
    if (const char* env = std::getenv("PATH")) search = env;
    else {
        const std::size_t n = ::confstr(_CS_PATH, nullptr, 0);
        std::vector<char> buffer(n + 1);
        if (n > 0) ::confstr(_CS_PATH, buffer.data(), buffer.size());
        search = buffer.data();
    }
    std::size_t start = 0;
    while (start <= search.size()) {
        std::size_t end = search.find(':', start);
        if (end == std::string::npos) end = search.size();
        const std::string dir = end == start ? "." : search.substr(start, end - start);
        const std::string candidate = dir + "/" + name;
        struct stat st;
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

}  // namespace

// "scheme:" with a scheme of two or more characters (so "C:" is no address), or "www.".
bool IsAddress(const std::string& t) {
    if (t.rfind("www.", 0) == 0) return true;
    const std::size_t colon = t.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    if (!std::isalpha(static_cast<unsigned char>(t[0]))) return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(t[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

void SetShellOpener(const std::string& Program) {
    std::lock_guard<std::mutex> guard(OpenerLock);
    OpenerProgram() = Program.empty() ? "xdg-open" : Program;
}

std::string ShellOpener() {
    std::lock_guard<std::mutex> guard(OpenerLock);
    return OpenerProgram();
}

TShellResult ShellExecute(TShellVerb Verb, const std::string& Target,
                          const std::string& Parameters, const std::string& Directory) {
    namespace fs = std::filesystem;
    if (Verb == TShellVerb::Print || Verb == TShellVerb::Edit || Verb == TShellVerb::Properties)
        return {SE_ERR_NOASSOC, 0};
    if (Target.empty()) return {Verb == TShellVerb::Explore ? SE_ERR_PNF : SE_ERR_FNF, 0};
    if (Verb == TShellVerb::Open && IsAddress(Target))
        return StartOpener(Target.rfind("www.", 0) == 0 ? "http://" + Target : Target);

    fs::path path(Target);
    if (path.is_relative() && !Directory.empty()) path = fs::path(Directory) / path;
    std::error_code ec;
    fs::file_status st = fs::status(path, ec);

    if (Verb == TShellVerb::Explore) {
        if (!fs::is_directory(st)) return {SE_ERR_PNF, 0};
        return StartOpener(path.string());
    }

    if (Verb == TShellVerb::Open && !fs::exists(st) && Target.find('/') == std::string::npos) {
        const std::string found = FindInSearchPath(Target);
        if (!found.empty()) {
            path = found;
            st = fs::status(path, ec);
        }
    }
    if (!fs::exists(st)) {
        const fs::path parent = path.parent_path();
        if (!parent.empty() && !fs::is_directory(parent, ec)) return {SE_ERR_PNF, 0};
        return {SE_ERR_FNF, 0};
    }
    if (fs::is_regular_file(st) && ::access(path.c_str(), X_OK) == 0) {
        qint64 pid = 0;
        const QString dir = Directory.empty() ? QString() : Q(Directory);
        if (!QProcess::startDetached(Q(path.string()), QProcess::splitCommand(Q(Parameters)), dir,
                                     &pid))
            return {SE_ERR_ACCESSDENIED, 0};
        return {0, pid};
    }
    if (::access(path.c_str(), R_OK) != 0) return {SE_ERR_ACCESSDENIED, 0};
    return StartOpener(path.string());
}

namespace {
std::string OpenerName() { return std::filesystem::path(ShellOpener()).filename().string(); }
}  // namespace

std::string ShellErrorText(int ErrorCode) {
    switch (ErrorCode) {
        case SE_ERR_FNF: return "Die Datei wurde nicht gefunden.";
        case SE_ERR_PNF: return "Der Pfad wurde nicht gefunden.";
        case SE_ERR_ACCESSDENIED: return "Der Zugriff wurde verweigert.";
        case SE_ERR_OOM: return "Es ist nicht genügend Speicher frei.";
        case SE_ERR_NOASSOC:
            return "Das Programm zum Öffnen (" + OpenerName() +
                   ") ist nicht installiert oder kann nicht gestartet werden.";
        default: return "Fehlercode " + std::to_string(ErrorCode) + ".";
    }
}

std::string ShellOpenerExitText(int ExitCode) {
    // The exit codes of xdg-open.
    switch (ExitCode) {
        case 1: return "Das Programm zum Öffnen (" + OpenerName() + ") wurde falsch aufgerufen.";
        case 2: return "Die Datei ist nicht vorhanden.";
        case 3: return "Es ist kein Programm eingerichtet, das dies öffnen kann.";
        case 4: return "Das Programm zum Öffnen meldet einen Fehler.";
        default:
            return "Das Programm zum Öffnen (" + OpenerName() + ") endete mit dem Fehlercode " +
                   std::to_string(ExitCode) + ".";
    }
}

}  // namespace sys
