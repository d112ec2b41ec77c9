#include "platform/sys/Process.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace sys {

namespace {

bool PidAlive(long long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

enum class TCollect { Ended, Running, NotAChild };

// Collects an ended child without blocking.
TCollect Collect(long long pid, int& code) {
    int status = 0;
    pid_t r;
    while ((r = ::waitpid(static_cast<pid_t>(pid), &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (r == 0) return TCollect::Running;
    if (r < 0) return TCollect::NotAChild;
    code = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    return TCollect::Ended;
}

// Children whose handles went away while they ran; collected at the next Open.
std::mutex UncollectedLock;
std::vector<long long>& Uncollected() {
    static std::vector<long long> pids;
    return pids;
}

void CollectLeftChildren() {
    std::lock_guard<std::mutex> guard(UncollectedLock);
    auto& pids = Uncollected();
    pids.erase(std::remove_if(pids.begin(), pids.end(),
                              [](long long pid) {
                                  int code = 0;
                                  return Collect(pid, code) != TCollect::Running;
                              }),
               pids.end());
}

}  // namespace

std::unique_ptr<TProcessHandle> TProcessHandle::Open(long long pid) {
    CollectLeftChildren();
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
    int code = 0;
    if (!exitCode_ && Collect(pid_, code) == TCollect::Running) {
        std::lock_guard<std::mutex> guard(UncollectedLock);
        Uncollected().push_back(pid_);
    }
}

std::optional<int> TProcessHandle::ExitCode() const {
    int code = 0;
    if (!exitCode_ && Collect(pid_, code) == TCollect::Ended) exitCode_ = code;
    return exitCode_;
}

bool TProcessHandle::Running() const {
    if (ExitCode()) return false;
    // (An ended child is collected above: it no longer answers the probe.)
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
    while (Running()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

}  // namespace sys
