// Saving through a temporary file beside the target, renamed over it once it is complete.
#include "platform/rtl/FileReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>

#include "platform/rtl/SysUtils.h"

namespace rtl {

namespace {

constexpr std::string_view kTempPrefix = ".feldor-";
constexpr std::string_view kTempSuffix = ".tmp";
// A temporary file that has not been written to for this long belongs to no running save.
constexpr std::time_t kStaleSeconds = 60 * 60;
constexpr int kMaxLinks = 40;

[[noreturn]] void CreateFailed(const std::string& shownName, int err) {
    throw EFCreateError(Format(msg::FCreateError, shownName, SysErrorMessage(err)));
}

const std::string& HostName() {
    static const std::string name = [] {
        char buf[256] = {};
        if (::gethostname(buf, sizeof buf - 1) != 0) return std::string();
        std::string s(buf);
        for (char& c : s)
            if (c == '/') c = '_';
        return s;
    }();
    return name;
}

// The file a link chain ends at; a relative link counts from the folder of the link.
std::string FollowLinks(const std::string& name, const std::string& shownName) {
    std::string path = name;
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        if (hops == kMaxLinks) CreateFailed(shownName, ELOOP);
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0) CreateFailed(shownName, errno);
        link.resize(static_cast<std::size_t>(n));
        path = !link.empty() && link[0] == '/' ? link : ExtractFilePath(path) + link;
    }
}

// ".feldor-<pid>-<n>[-<host>].tmp": the process id and the host (empty in the names of the
// program's earlier field-file saves, which were all made on the computer they lie on).
bool ParseTempName(std::string_view name, long long& pid, std::string_view& host) {
    if (name.size() <= kTempPrefix.size() + kTempSuffix.size() ||
        name.substr(0, kTempPrefix.size()) != kTempPrefix ||
        name.substr(name.size() - kTempSuffix.size()) != kTempSuffix)
        return false;
    std::string_view rest =
        name.substr(kTempPrefix.size(), name.size() - kTempPrefix.size() - kTempSuffix.size());
    auto digits = [&rest](long long& value) {
        std::size_t i = 0;
        value = 0;
        while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9' && i < 12)
            value = value * 10 + (rest[i++] - '0');
        if (i == 0 || (i < rest.size() && rest[i] != '-')) return false;
        rest.remove_prefix(i);
        return true;
    };
    long long counter = 0;
    if (!digits(pid) || rest.empty() || rest[0] != '-') return false;
    rest.remove_prefix(1);
    if (!digits(counter)) return false;
    host = rest.empty() ? rest : rest.substr(1);
    return rest.empty() || !host.empty();
}

bool ProcessGone(long long pid) {
    if (pid <= 0 || pid > INT_MAX) return false;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// The whole file, for a lock on it.
struct flock WholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return lock;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes the stale temporary files of killed saves from Dir (see the header).
void RemoveStaleTemps(const std::string& dir) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return;
    const std::time_t now = std::time(nullptr);
    const int dfd = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        long long pid = 0;
        std::string_view host;
        if (!ParseTempName(e->d_name, pid, host)) continue;
        struct stat st;
        if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        const bool here = host.empty() || host == HostName();
        if (here && pid == ::getpid()) continue;
        const bool stale = now - st.st_mtime > kStaleSeconds || (here && ProcessGone(pid));
        if (!stale) continue;
        // A running save holds its file locked until the file has its place; the lock decides,
        // wherever that save runs. A file whose lock cannot be asked for stays.
        const int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct flock lock = WholeFile(F_RDLCK);
        struct stat held, named;
        if (::fcntl(fd, F_OFD_SETLK, &lock) == 0 && ::fstat(fd, &held) == 0 &&
            ::fstatat(dfd, e->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(held, named))
            ::unlinkat(dfd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(d);
}

// Locks the new temporary file Fd, named Name, for the time of the save. False when a
// clean-up took the file first (it removes it; the save takes another name); a file system
// that keeps no locks leaves the file unlocked, and its clean-ups remove nothing.
bool LockTemp(int fd, const std::string& name) {
    struct flock lock = WholeFile(F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) return errno != EAGAIN && errno != EACCES;
    struct stat held, named;
    return ::fstat(fd, &held) == 0 && ::lstat(name.c_str(), &named) == 0 && SameFile(held, named);
}

}  // namespace

TReplacingFileStream::TReplacingFileStream(const std::string& FileName) : shownName_(FileName) {
    target_ = FollowLinks(FileName, shownName_);
    struct stat st;
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) CreateFailed(shownName_, EISDIR);
        if (!S_ISREG(st.st_mode)) {
            // A device or a pipe: written directly; a pipe nobody reads from fails at once.
            fd_ = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd_ < 0) CreateFailed(shownName_, errno);
            ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
            return;
        }
        // A file that may not be written stays as it is, as if it were opened for writing.
        if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) CreateFailed(shownName_, errno);
        keepAttributes_ = true;
        mode_ = st.st_mode & 07777;
        uid_ = st.st_uid;
        gid_ = st.st_gid;
    } else if (errno != ENOENT) {
        CreateFailed(shownName_, errno);
    }

    const std::string dir = ExtractFilePath(target_);
    RemoveStaleTemps(dir);
    static unsigned counter = 0;
    const std::string stem = dir + std::string(kTempPrefix) + std::to_string(::getpid()) + "-";
    const std::string host = HostName().empty() ? std::string() : "-" + HostName();
    // The new content is never open to more than the old file: the permissions hold from the
    // creation on (the user's mask may only take some away until they are set below).
    const mode_t createMode = keepAttributes_ ? static_cast<mode_t>(mode_ & 0777) : 0666;
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temp_ = stem + std::to_string(counter++) + host + std::string(kTempSuffix);
        fd_ = ::open(temp_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
        if (fd_ < 0 && (errno != EEXIST || attempt >= 100)) {
            const int err = errno;
            temp_.clear();
            CreateFailed(shownName_, err);
        }
        if (fd_ >= 0 && attempt < 100 && !LockTemp(fd_, temp_)) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    if (keepAttributes_) {
        struct stat now;
        // The owner and group first (changing them clears set-id bits): a privileged saver
        // keeps both, any other saver the group where it is a member of that group.
        if (::fstat(fd_, &now) == 0 && (now.st_uid != uid_ || now.st_gid != gid_) &&
            ::fchown(fd_, uid_, gid_) != 0 && now.st_gid != gid_) {
            if (::fchown(fd_, static_cast<uid_t>(-1), gid_) != 0) {
                // Not a member: the file gets the saver's group.
            }
        }
        if (::fchmod(fd_, static_cast<mode_t>(mode_ & 0777)) != 0) {
            const int err = errno;
            Discard();
            CreateFailed(shownName_, err);
        }
    }
}

TReplacingFileStream::~TReplacingFileStream() { Discard(); }

void TReplacingFileStream::Discard() noexcept {
    // Removed while still locked, so that no clean-up meets it in between.
    if (!replaced_ && !temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

long long TReplacingFileStream::Read(void* buffer, long long count) {
    return ReadFromFd(fd_, buffer, count);
}

long long TReplacingFileStream::Write(const void* buffer, long long count) {
    return WriteToFd(fd_, buffer, count, writeError_);
}

long long TReplacingFileStream::Seek(long long offset, TSeekOrigin origin) {
    return SeekFd(fd_, offset, origin);
}

void TReplacingFileStream::RaiseWriteError() { Fail(writeError_ ? writeError_ : EIO); }

void TReplacingFileStream::Fail(int err) {
    // The temporary file goes at once: on a full disk its space is free again before the
    // message is shown.
    Discard();
    throw EWriteError(Format(msg::FWriteError, shownName_, SysErrorMessage(err)));
}

void TReplacingFileStream::Flush() {
    if (flushed_) return;
    if (fd_ < 0) Fail(EBADF);
    if (temp_.empty()) {
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0) Fail(errno);
    } else {
        // Writing may have cleared the set-id bits; the whole mode goes on last.
        if (keepAttributes_ && ::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) Fail(errno);
        // Every write error shows here at the latest; the file stays open (and locked) until
        // it has its place.
        if (::fsync(fd_) != 0) Fail(errno);
    }
    flushed_ = true;
}

void TReplacingFileStream::Replace() {
    Flush();
    if (replaced_) return;
    if (!temp_.empty() && std::rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
    replaced_ = true;
    temp_.clear();
    if (fd_ >= 0) ::close(fd_);  // the content is on the disk: nothing is left to fail
    fd_ = -1;
}

void TReplacingFileStream::Commit() { Replace(); }

void SaveFileReplacing(const std::string& FileName, std::string_view Bytes) {
    TReplacingFileStream file(FileName);
    file.WriteBuffer(Bytes.data(), static_cast<long long>(Bytes.size()));
    file.Commit();
}

void CommitTogether(std::span<TReplacingFileStream* const> Files) {
    for (TReplacingFileStream* f : Files) f->Flush();
    for (TReplacingFileStream* f : Files) f->Replace();
}

}  // namespace rtl
