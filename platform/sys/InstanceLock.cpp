#include "platform/sys/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace sys {

namespace {

std::mutex DirLock;
std::string& DirOverride() {
    static std::string dir;
    return dir;
}

// A file name for any lock name: letters, digits, '.', '_' and '-' stay, every other byte is
// written as '%' and two hex digits ("/" can never be part of the file name).
std::string FileNameOf(const std::string& name) {
    std::string out;
    for (const unsigned char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '_' || c == '-' || (c == '.' && !out.empty());
        if (plain) {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out + ".lock";
}

}  // namespace

void TInstanceLock::SetDirectory(const std::string& Dir) {
    std::lock_guard<std::mutex> guard(DirLock);
    DirOverride() = Dir;
}

std::string TInstanceLock::Directory() {
    {
        std::lock_guard<std::mutex> guard(DirLock);
        if (!DirOverride().empty()) return DirOverride();
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::string(runtime) + "/feldor-locks";
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp && *tmp ? tmp : "/tmp";
    return base + "/feldor-locks-" + std::to_string(getuid());
}

TInstanceLock::TInstanceLock(const std::string& Name) {
    const std::string dir = Directory();
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return;
    const std::string path = dir + "/" + FileNameOf(Name);
    // Checks of one name take turns through a guard file, so that no one sees the lock between
    // the first holder's exclusive lock and its step down to a shared one.
    const int guard = open((path + ".guard").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (guard < 0) return;
    while (flock(guard, LOCK_EX) != 0 && errno == EINTR) {
    }
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0) {
        // The first holder finds the lock free; the later ones find it held and join the shared
        // holders. The files stay: removing them would race with a process opening them.
        alreadyExists_ = flock(fd_, LOCK_EX | LOCK_NB) != 0;
        flock(fd_, LOCK_SH);
    }
    close(guard);
}

TInstanceLock::~TInstanceLock() {
    if (fd_ >= 0) close(fd_);  // releases the lock
}

}  // namespace sys
