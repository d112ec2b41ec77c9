// Write faults for the tests of saving: a full disk (a small tmpfs of the test's own, filled to a
// chosen level), a file-size limit, a read-only folder and a read-only file, and a table that
// runs one kind of saved file through all of them.
//
// The small disk is mounted in a private mount namespace of the test thread, so nothing else
// sees it and nothing stays mounted when the test program ends; that needs the privilege to
// mount (root here). Without it the full-disk rows are left out and said so; the file-size limit
// (a write that fails half-way, for every user) and the read-only rows always run. A privileged
// user writes into read-only folders and files, so those rows run as an unprivileged user.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rtl/ProcessSetup.h"

namespace writefaults {

inline constexpr const char* kDiskFull = "Auf dem Datenträger ist nicht genug Speicherplatz frei";
inline constexpr const char* kTooLarge = "Die Datei ist zu groß";
inline constexpr const char* kDenied = "Zugriff verweigert";
inline constexpr std::size_t kPage = 4096;

inline std::string ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void WriteBytes(const std::string& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Names in a folder, sorted.
inline std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// A tmpfs of Bytes at MountPoint, in the test thread's own mount namespace.
class SmallDisk {
public:
    // Whether this process may mount one; Why tells what stands in the way.
    static bool Available(std::string* why = nullptr) {
        static int state = 0;  // 0 unknown, 1 yes, 2 no
        static std::string reason;
        if (state == 0) {
            if (::unshare(CLONE_NEWNS) != 0) reason = std::string("unshare: ") + std::strerror(errno);
            else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                reason = std::string("private mounts: ") + std::strerror(errno);
            state = reason.empty() ? 1 : 2;
        }
        if (why) *why = reason;
        return state == 1;
    }
    SmallDisk(const std::string& mountPoint, std::size_t bytes) : path_(mountPoint) {
        std::filesystem::create_directories(path_);
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (!mounted_) ADD_FAILURE() << "mount tmpfs: " << std::strerror(errno);
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return mounted_; }
    std::size_t FreeBytes() const {
        struct statvfs s {};
        ::statvfs(path_.c_str(), &s);
        return static_cast<std::size_t>(s.f_bavail) * s.f_frsize;
    }
    // Takes space with a filler file until exactly Bytes (a multiple of a page) stay free.
    void LeaveFree(std::size_t bytes) {
        const std::size_t now = FreeBytes();
        ASSERT_GE(now, bytes);
        if (now == bytes) return;
        const int fd = ::open((path_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::posix_fallocate(fd, 0, static_cast<off_t>(now - bytes)), 0);
        ::close(fd);
        EXPECT_EQ(FreeBytes(), bytes);
    }

private:
    std::string path_;
    bool mounted_ = false;
};

// While alive, file permissions apply: a root process acts as the unprivileged user 65534.
class Unprivileged {
public:
    Unprivileged() {
        if (::geteuid() == 0) switched_ = ::seteuid(65534) == 0;
    }
    ~Unprivileged() {
        if (switched_ && ::seteuid(0) != 0) std::abort();
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    bool switched_ = false;
};

// While alive, no file of this process may grow beyond Bytes. The process is set up as the
// program sets itself up, so that writes beyond fail with EFBIG instead of ending it.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::size_t bytes) {
        rtl::SetUpProcess();
        ::getrlimit(RLIMIT_FSIZE, &limit_);
        rlimit small = limit_;
        small.rlim_cur = bytes;
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &limit_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit limit_{};
};

// One kind of file the program saves.
struct FileKind {
    std::string name;
    // The chosen name's file name (in a folder the table picks).
    std::string chosen;
    // The files one save writes for the chosen path (the chosen one itself for most kinds).
    std::function<std::vector<std::string>(const std::string& chosen)> files = [](const std::string& c) {
        return std::vector<std::string>{c};
    };
    // Saves as the user's command does and returns the one message the user sees (empty: none).
    std::function<std::string(const std::string& chosen)> save;
    // Whether the message comes in the error box, which ends it with a full stop.
    bool boxed = true;
};

inline std::string Expected(const FileKind& kind, const std::string& file, const char* verb,
                            const char* reason) {
    return "Datei " + file + " kann nicht " + verb + " werden. " + reason + (kind.boxed ? "." : "");
}

// The old files of a case: distinct bytes that no save writes.
inline void PlaceOldFiles(const std::vector<std::string>& files) {
    for (std::size_t i = 0; i < files.size(); ++i)
        WriteBytes(files[i], "alte Datei " + std::to_string(i) + "\n" + std::string(5000 + i, 'a'));
}

// What a failed save must leave: every old file byte for byte, nothing else new in its folder,
// and one message, naming one of the files with the reason.
inline void ExpectNothingLost(const FileKind& kind, const std::vector<std::string>& files,
                              const std::vector<std::string>& before, const std::string& dir,
                              const std::string& shown, const char* verb, const char* reason) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string now = ReadBytes(files[i]);
        EXPECT_TRUE(now == "alte Datei " + std::to_string(i) + "\n" + std::string(5000 + i, 'a'))
            << files[i] << " is no longer the old file: " << now.size() << " bytes";
    }
    EXPECT_EQ(Entries(dir), before);
    bool named = false;
    for (const std::string& f : files) named = named || shown == Expected(kind, f, verb, reason);
    EXPECT_TRUE(named) << "message: \"" << shown << "\"\nexpected e.g. \""
                       << Expected(kind, files.front(), verb, reason) << "\"";
}

// Runs Kind through the table of write faults in folders under Work.
inline void CheckWriteFaults(const FileKind& kind, const std::string& work) {
    namespace fs = std::filesystem;
    SCOPED_TRACE(kind.name);
    fs::create_directories(work);
    // The unprivileged user must reach the folders of the read-only rows.
    for (fs::path p = work; p != p.root_path() && p.has_relative_path(); p = p.parent_path()) {
        struct stat st {};
        if (::stat(p.c_str(), &st) == 0 && (st.st_mode & 0001) == 0) ::chmod(p.c_str(), st.st_mode | 0011);
    }

    // The new files' sizes, from a save that has room.
    const std::string roomy = work + "/roomy";
    fs::create_directories(roomy);
    const std::vector<std::string> probe = kind.files(roomy + "/" + kind.chosen);
    ASSERT_EQ(kind.save(roomy + "/" + kind.chosen), "");
    std::size_t newBytes = 0, newPages = 0;
    for (const std::string& f : probe) {
        ASSERT_TRUE(fs::exists(f)) << f;
        const std::size_t n = fs::file_size(f);
        newBytes += n;
        newPages += (n + kPage - 1) / kPage;
    }
    fs::remove_all(roomy);

    // Full disk: every old file in place, then space left for none, half, or all but one page
    // of what the new files take.
    std::string why;
    if (SmallDisk::Available(&why)) {
        const std::set<std::size_t> levels = {0, newPages / 2, newPages > 0 ? newPages - 1 : 0};
        for (std::size_t freePages : levels) {
            SCOPED_TRACE("full disk, " + std::to_string(freePages) + " of " + std::to_string(newPages) +
                         " pages free");
            const std::string dir = work + "/disk";
            SmallDisk disk(dir, newBytes + 64 * kPage + probe.size() * 2 * kPage);
            if (!disk.Mounted()) return;
            const std::string chosen = dir + "/" + kind.chosen;
            const std::vector<std::string> files = kind.files(chosen);
            PlaceOldFiles(files);
            disk.LeaveFree(freePages * kPage);
            const std::vector<std::string> before = Entries(dir);
            const std::string shown = kind.save(chosen);
            ExpectNothingLost(kind, files, before, dir, shown, "geschrieben", kDiskFull);
        }
    } else {
        std::cerr << "[ note ] " << kind.name << ": no full-disk rows (" << why << ")\n";
    }

    // A file-size limit: the write fails half-way.
    {
        SCOPED_TRACE("file-size limit");
        const std::string dir = work + "/limit";
        fs::create_directories(dir);
        const std::string chosen = dir + "/" + kind.chosen;
        const std::vector<std::string> files = kind.files(chosen);
        PlaceOldFiles(files);
        const std::vector<std::string> before = Entries(dir);
        std::string shown;
        {
            FileSizeLimit limit(std::max<std::size_t>(1, newBytes / (2 * probe.size())));
            shown = kind.save(chosen);
        }
        ExpectNothingLost(kind, files, before, dir, shown, "geschrieben", kTooLarge);
        fs::remove_all(dir);
    }

    // A read-only folder and a read-only file.
    for (const bool folder : {true, false}) {
        SCOPED_TRACE(folder ? "read-only folder" : "read-only file");
        const std::string dir = work + (folder ? "/ro-folder" : "/ro-file");
        fs::create_directories(dir);
        const std::string chosen = dir + "/" + kind.chosen;
        const std::vector<std::string> files = kind.files(chosen);
        PlaceOldFiles(files);
        // The folder row's files may be written: only the folder refuses.
        for (const std::string& f : files) ::chmod(f.c_str(), folder ? 0666 : 0444);
        ::chmod(dir.c_str(), folder ? 0555 : 0777);
        const std::vector<std::string> before = Entries(dir);
        std::string shown;
        {
            Unprivileged user;
            shown = kind.save(chosen);
        }
        ExpectNothingLost(kind, files, before, dir, shown, "erstellt", kDenied);
        ::chmod(dir.c_str(), 0755);
        fs::remove_all(dir);
    }
}

}  // namespace writefaults
