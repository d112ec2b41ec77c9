// A named lock for single-instance checks, the stand-in for a named mutex: the first object of
// a name in the user's session creates it, every later one (in this or another process) sees
// that it already exists. The name lives as long as any object holding it lives, and is gone
// when the last one is freed or its process ends.
//
// Kept as lock files under the user's runtime directory ($XDG_RUNTIME_DIR/feldor-locks, else
// the temporary directory): every holder keeps a shared lock on the name's file, and a new
// holder is the first when no lock is held.
#pragma once

#include <string>

namespace sys {

class TInstanceLock {
public:
    explicit TInstanceLock(const std::string& Name);
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // False when the lock could not be made at all (no writable directory).
    bool Valid() const { return fd_ >= 0; }
    // True when the name existed already when this object was made.
    bool AlreadyExists() const { return alreadyExists_; }

    // The directory holding the lock files; tests may point it elsewhere (empty: the default).
    static void SetDirectory(const std::string& Dir);
    static std::string Directory();

private:
    int fd_ = -1;
    bool alreadyExists_ = false;
};

}  // namespace sys
