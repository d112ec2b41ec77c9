#include "foundation/DirectoryUtilsLib.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/rtl/SysUtils.h"

namespace {

std::string EnvValue(const char* Name)
{
    const char* V = std::getenv(Name);
    return V ? std::string(V) : std::string();
}

std::string HomeDir()
{
    std::string Home = EnvValue("HOME");
    if (Home.empty()) {
        if (const passwd* Pw = getpwuid(getuid()); Pw && Pw->pw_dir) Home = Pw->pw_dir;
    }
    return Home;
}

// XDG_DESKTOP_DIR of the desktop environment's user-dirs.dirs ("$HOME/..." or an absolute
// path, in double quotes); empty when the file or the entry is missing.
std::string UserDirsDesktop(const std::string& Home)
{
    std::string Config = EnvValue("XDG_CONFIG_HOME");
    if (Config.empty()) Config = Home + "/.config";
    std::ifstream In(Config + "/user-dirs.dirs");
    std::string Line;
    const std::string Key = "XDG_DESKTOP_DIR=";
    while (std::getline(In, Line)) {
        const auto Start = Line.find_first_not_of(" \t");
        if (Start == std::string::npos || Line.compare(Start, Key.size(), Key) != 0) continue;
        std::string V = Line.substr(Start + Key.size());
        while (!V.empty() && (V.back() == '\r' || V.back() == ' ')) V.pop_back();
        if (V.size() < 2 || V.front() != '"' || V.back() != '"') return {};
        V = V.substr(1, V.size() - 2);
        if (V.rfind("$HOME", 0) == 0) V = Home + V.substr(5);
        if (V.empty() || V.front() != '/') return {};
        return V;
    }
    return {};
}

}  // namespace

std::string IncludeTrailingBackslash(const std::string& S)
{
    if (!S.empty() && S.back() == rtl::PathDelim) return S;
    return S + rtl::PathDelim;
}

std::string GetDeskTopDir()
{
    std::string Dir = EnvValue("XDG_DESKTOP_DIR");
    const std::string Home = HomeDir();
    if (Dir.empty()) Dir = UserDirsDesktop(Home);
    if (Dir.empty()) {
        const std::string Desktop = IncludeTrailingBackslash(Home) + "Desktop";
        Dir = rtl::DirectoryExists(Desktop) ? Desktop : Home;
    }
    return IncludeTrailingBackslash(Dir);
}
