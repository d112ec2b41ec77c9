#include "foundation/DirectoryUtilsLib.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

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

}  // namespace

std::string IncludeTrailingBackslash(const std::string& S)
{
    if (!S.empty() && S.back() == rtl::PathDelim) return S;
    return S + rtl::PathDelim;
}

std::string GetDeskTopDir()
{
    std::string Dir = EnvValue("XDG_DESKTOP_DIR");
    if (Dir.empty()) {
        const std::string Home = HomeDir();
        const std::string Desktop = IncludeTrailingBackslash(Home) + "Desktop";
        Dir = rtl::DirectoryExists(Desktop) ? Desktop : Home;
    }
    return IncludeTrailingBackslash(Dir);
}
