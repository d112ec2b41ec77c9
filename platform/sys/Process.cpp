#include "platform/sys/Process.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace sys {

namespace {
bool PidAlive(long long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }
}  // namespace

std::unique_ptr<TProcessHandle> TProcessHandle::Open(long long pid) {
    if (pid <= 0) return nullptr;
    int fd = -1;
#ifdef SYS_pidfd_open
    fd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
    if (fd < 0 && errno == ESRCH) return nullptr;
#endif
    if (fd < 0 && !PidAlive(pid)) return nullptr;
    return std::unique_ptr<TProcessHandle>(new TProcessHandle(pid, fd));
}

TProcessHandle::~TProcessHandle() {
    if (fd_ >= 0) ::close(fd_);
}

bool TProcessHandle::Running() const {
    if (fd_ < 0) return PidAlive(pid_);
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, 0) == 0;
}

void TProcessHandle::Wait() const {
    if (fd_ >= 0) {
        pollfd p{fd_, POLLIN, 0};
        while (::poll(&p, 1, -1) < 0 && errno == EINTR) {
        }
        return;
    }
    while (PidAlive(pid_)) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

}  // namespace sys
