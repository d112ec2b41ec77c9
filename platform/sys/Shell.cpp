#include "platform/sys/Shell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cctype>
#include <filesystem>
#include <mutex>

namespace sys {

namespace {

std::mutex OpenerLock;
std::string& OpenerProgram() {
    static std::string program = "xdg-open";
    return program;
}

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

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

TShellResult StartOpener(const std::string& target) {
    const std::string opener = ShellOpener();
    qint64 pid = 0;
    if (!QProcess::startDetached(Q(opener), {Q(target)}, QString(), &pid))
        return {SE_ERR_NOASSOC, 0};
    // The opener hands the target on and ends: nothing to watch.
    return {0, 0};
}

}  // namespace

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
    const fs::file_status st = fs::status(path, ec);

    if (Verb == TShellVerb::Explore) {
        if (!fs::is_directory(st)) return {SE_ERR_PNF, 0};
        return StartOpener(path.string());
    }

    if (!fs::exists(st)) {
        const fs::path parent = path.parent_path();
        if (!parent.empty() && !fs::is_directory(parent, ec)) return {SE_ERR_PNF, 0};
        return {SE_ERR_FNF, 0};
    }
    if (fs::is_regular_file(st) && access(path.c_str(), X_OK) == 0) {
        qint64 pid = 0;
        const QString dir = Directory.empty() ? QString() : Q(Directory);
        if (!QProcess::startDetached(Q(path.string()), QProcess::splitCommand(Q(Parameters)), dir,
                                     &pid))
            return {SE_ERR_ACCESSDENIED, 0};
        return {0, pid};
    }
    if (access(path.c_str(), R_OK) != 0) return {SE_ERR_ACCESSDENIED, 0};
    return StartOpener(path.string());
}

}  // namespace sys
