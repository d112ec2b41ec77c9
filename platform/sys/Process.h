// A handle of a started process that tells whether it still runs, also when it is not a child
// of this process (the stand-in for a process handle).
#pragma once

#include <memory>

namespace sys {

class TProcessHandle {
public:
    // A handle of the running process pid; null when there is no such process (any more).
    static std::unique_ptr<TProcessHandle> Open(long long pid);
    ~TProcessHandle();
    TProcessHandle(const TProcessHandle&) = delete;
    TProcessHandle& operator=(const TProcessHandle&) = delete;

    long long Pid() const { return pid_; }
    // False once the process has ended.
    bool Running() const;
    // Blocks until the process has ended.
    void Wait() const;

private:
    TProcessHandle(long long pid, int fd) : pid_(pid), fd_(fd) {}
    long long pid_;
    int fd_;  // a pidfd, or -1 where the system has none (then the pid is probed)
};

}  // namespace sys
