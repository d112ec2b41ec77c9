// A handle of a started process that tells whether it still runs, also when it is not a child
// of this process (the stand-in for a process handle), and, for a child, how it ended.
#pragma once

#include <memory>
#include <optional>

namespace sys {

class TProcessHandle {
public:
    // A handle of the running process pid; null when there is no such process (any more). A
    // child of this process that has ended but has not been collected still has a handle.
    static std::unique_ptr<TProcessHandle> Open(long long pid);
    // A child that ends after its handle is gone is collected at a later Open.
    ~TProcessHandle();
    TProcessHandle(const TProcessHandle&) = delete;
    TProcessHandle& operator=(const TProcessHandle&) = delete;

    long long Pid() const { return pid_; }
    // False once the process has ended.
    bool Running() const;
    // Blocks until the process has ended.
    void Wait() const;
    // The exit code of an ended child (128 + the signal number when a signal ended it); empty
    // while it runs, and for a process that is not a child of this one.
    std::optional<int> ExitCode() const;

private:
    TProcessHandle(long long pid, int fd) : pid_(pid), fd_(fd) {}
    long long pid_;
    int fd_;  // a pidfd, or -1 where the system has none (then the pid is probed)
    // Set once the child has been collected.
    mutable std::optional<int> exitCode_;
};

}  // namespace sys
