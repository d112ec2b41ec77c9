// A named pipe where a file is expected: opening it for reading blocks until a writer comes (and
// for writing until a reader comes). A watchdog thread plays the partner once `limit` has passed
// (and every 20 ms after that, until the pipe is dropped), so code that blocks costs the test
// time, not the run; Unblocked() tells whether a reader was waiting.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

class BlockingFifo {
public:
    explicit BlockingFifo(std::string path, std::chrono::milliseconds limit = std::chrono::seconds(5))
        : path_(std::move(path)) {
        if (::mkfifo(path_.c_str(), 0644) != 0) throw std::runtime_error("mkfifo " + path_);
        watchdog_ = std::thread([this, limit] {
            std::unique_lock<std::mutex> lock(mutex_);
            auto wait = limit;
            while (!cv_.wait_for(lock, wait, [this] { return stop_; })) {
                const int w = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (w >= 0) {  // a reader was waiting in open()
                    ::close(w);
                    unblocked_ = true;
                }
                const int r = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                if (r >= 0) ::close(r);  // lets a writer waiting in open() go on
                wait = std::chrono::milliseconds(20);
            }
        });
    }
    ~BlockingFifo() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        cv_.notify_all();
        watchdog_.join();
        ::unlink(path_.c_str());
    }
    BlockingFifo(const BlockingFifo&) = delete;
    BlockingFifo& operator=(const BlockingFifo&) = delete;

    const std::string& Path() const { return path_; }
    bool Unblocked() const { return unblocked_; }
    // Still the pipe it was made as (not replaced by a file).
    bool StillAFifo() const {
        struct stat st;
        return ::lstat(path_.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
    }

private:
    std::string path_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool stop_ = false;
    std::atomic<bool> unblocked_{false};
    std::thread watchdog_;
};
