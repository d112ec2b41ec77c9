// Saving a file in place of an old one: the write faults keep the old file whole, leave nothing
// behind and name the file and the reason; stale temporary files of killed saves go at the next
// save; links, permissions and owners survive; devices and pipes are written directly.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/FileReplace.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/ProcessSetup.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/WriteFaults.h"

using namespace rtl;
using writefaults::Entries;
using writefaults::ReadBytes;
using writefaults::WriteBytes;

namespace {

class rtlFileReplace : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/rtl_replace_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    // The message of the error a save raises; empty when it succeeds.
    template <class F>
    static std::string Raised(F&& save) {
        try {
            save();
        } catch (const Exception& e) {
            return e.Message;
        }
        return "";
    }
    // A process id that no longer runs: a child that has ended and been reaped.
    static pid_t DeadPid() {
        const pid_t pid = fork();
        if (pid == 0) _exit(0);
        waitpid(pid, nullptr, 0);
        return pid;
    }
    // Body run in a child process (ended after 20 seconds at most): how it ended and the text
    // it returned.
    struct Child {
        int status = 0;
        std::string said;
    };
    static Child RunChild(const std::function<std::string()>& body, const std::function<void()>& meanwhile = {}) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) return {-1, "pipe"};
        const pid_t pid = fork();
        if (pid == 0) {
            close(out[0]);
            alarm(20);
            const std::string said = body();
            if (write(out[1], said.data(), said.size()) < 0) _exit(2);
            _exit(0);
        }
        close(out[1]);
        if (meanwhile) meanwhile();
        Child child;
        char buf[512];
        for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) child.said.append(buf, static_cast<std::size_t>(n));
        close(out[0]);
        waitpid(pid, &child.status, 0);
        return child;
    }
    // The temporary files beside the targets in the test's folder.
    std::vector<std::string> Temps() const {
        std::vector<std::string> temps;
        for (const std::string& e : Entries(dir_))
            if (e.rfind(".feldor-", 0) == 0) temps.push_back(e);
        return temps;
    }
    std::string dir_;
};

// A text of a few pages, so that the full disk can be hit at several places inside it.
std::string PagesOfText() {
    std::string s;
    for (int i = 0; s.size() < 5 * writefaults::kPage; ++i) s += "Zeile " + std::to_string(i) + "\r\n";
    return s;
}

TEST_F(rtlFileReplace, EverySaveOfTheRuntimeKeepsTheOldFileOnAWriteFault) {
    const std::string text = PagesOfText();
    TStringList lines;
    lines.SetText(text);
    TMemoryStream memory;
    memory.WriteBuffer(text.data(), static_cast<long long>(text.size()));
    const std::string value(5 * writefaults::kPage, 'w');
    const std::vector<writefaults::FileKind> kinds = {
        {.name = "SaveFileReplacing",
         .chosen = "bytes.bin",
         .save = [&](const std::string& f) { return Raised([&] { SaveFileReplacing(f, text); }); },
         .boxed = false},
        {.name = "TStrings.SaveToFile",
         .chosen = "lines.txt",
         .save = [&](const std::string& f) { return Raised([&] { lines.SaveToFile(f); }); },
         .boxed = false},
        {.name = "TMemoryStream.SaveToFile",
         .chosen = "memory.bin",
         .save = [&](const std::string& f) { return Raised([&] { memory.SaveToFile(f); }); },
         .boxed = false},
        {.name = "TIniFile.WriteString",
         .chosen = "settings.ini",
         .save = [&](const std::string& f) {
             return Raised([&] { TIniFile(f).WriteString("Abschnitt", "Wert", value); });
         },
         .boxed = false},
    };
    for (const writefaults::FileKind& kind : kinds) writefaults::CheckWriteFaults(kind, Path(kind.chosen + ".d"));
}

TEST_F(rtlFileReplace, FilesSavedTogetherAreReplacedOnlyWhenAllAreWritten) {
    const std::vector<std::string> names = {Path("a.bmp"), Path("b.bmp"), Path("c.bmp")};
    writefaults::PlaceOldFiles(names);
    const std::vector<std::string> before = Entries(dir_);
    const std::string small(100, 's'), large(100000, 'l');
    std::string shown;
    {
        writefaults::FileSizeLimit limit(50000);
        shown = Raised([&] {
            TReplacingFileStream a(names[0]), b(names[1]), c(names[2]);
            a.WriteBuffer(small.data(), 100);
            b.WriteBuffer(small.data(), 100);
            c.WriteBuffer(large.data(), static_cast<long long>(large.size()));
            TReplacingFileStream* const all[] = {&a, &b, &c};
            CommitTogether(all);
        });
    }
    EXPECT_EQ(shown, "Datei " + names[2] + " kann nicht geschrieben werden. Die Datei ist zu groß");
    writefaults::ExpectNothingLost({.name = "together", .boxed = false}, names, before, dir_, shown,
                                   "geschrieben", writefaults::kTooLarge);

    // Without the fault all three are replaced.
    {
        TReplacingFileStream a(names[0]), b(names[1]), c(names[2]);
        for (TReplacingFileStream* s : {&a, &b, &c}) s->WriteBuffer(small.data(), 100);
        TReplacingFileStream* const all[] = {&a, &b, &c};
        CommitTogether(all);
    }
    for (const std::string& n : names) EXPECT_EQ(ReadBytes(n), small);
    EXPECT_EQ(Entries(dir_), before);
}

TEST_F(rtlFileReplace, AnUncommittedSaveLeavesTheOldFileAndNoTemporaryFile) {
    const std::string file = Path("feld.fdr");
    WriteBytes(file, "alt");
    {
        TReplacingFileStream s(file);
        s.WriteBuffer("neu", 3);
        EXPECT_EQ(Entries(dir_).size(), 2u);  // the file and the temporary one beside it
        EXPECT_EQ(ReadBytes(file), "alt");
    }
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"feld.fdr"});
    EXPECT_EQ(ReadBytes(file), "alt");
}

// A save killed in the middle leaves its temporary file; the next save in that folder removes
// the program's stale ones, and nothing else.
TEST_F(rtlFileReplace, NextSaveRemovesTheStaleTemporaryFilesOfKilledSaves) {
    const std::string file = Path("feld.fdr");
    WriteBytes(file, "alt");
    const pid_t killed = fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        TReplacingFileStream s(file);
        s.WriteBuffer("halb", 4);
        raise(SIGKILL);
    }
    int status = 0;
    waitpid(killed, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::vector<std::string> afterKill = Entries(dir_);
    ASSERT_EQ(afterKill.size(), 2u);
    EXPECT_EQ(afterKill[0].rfind(".feldor-" + std::to_string(killed) + "-", 0), 0u) << afterKill[0];
    EXPECT_EQ(ReadBytes(file), "alt");

    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const std::string here = host;
    const std::string self = std::to_string(getpid()), parent = std::to_string(getppid());
    const std::string dead = std::to_string(DeadPid());
    struct Case {
        std::string name;
        bool old;   // last written two hours ago
        bool gone;  // removed by the next save
        bool locked = false;  // held by a save (whatever its name and age say)
    };
    const Case cases[] = {
        {".feldor-" + dead + "-0-" + here + ".tmp", false, true},      // its process ended
        {".feldor-" + dead + "-7.tmp", false, true},                    // an earlier field-file save
        {".feldor-" + parent + "-1-" + here + ".tmp", false, false},   // a save still running
        {".feldor-" + parent + "-2-" + here + ".tmp", true, true},     // untouched for hours
        {".feldor-" + dead + "-3-anderer-rechner.tmp", false, false},  // another computer's save
        {".feldor-" + dead + "-4-anderer-rechner.tmp", true, true},
        {".feldor-" + dead + "-10-" + here + ".tmp", true, false, true},  // a running save's
        {".feldor-" + dead + "-11.tmp", true, false, true},
        {".feldor-" + self + "-9-" + here + ".tmp", false, false},     // this process's own
        {".feldor-" + dead + "-x.tmp", true, false},                    // not the program's name
        {"feldor-" + dead + "-5.tmp", true, false},
        {".feldor-" + dead + "-6.txt", true, false},
        {".Feldor.ini.abc123", true, false},
    };
    std::vector<int> held;
    for (const Case& c : cases) {
        WriteBytes(Path(c.name), "x");
        if (c.locked) {
            held.push_back(open(Path(c.name).c_str(), O_RDWR | O_CLOEXEC));
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            ASSERT_EQ(fcntl(held.back(), F_OFD_SETLK, &lock), 0) << c.name;
        }
        if (c.old) {
            const auto then = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()) - 7200;
            utimbuf t{then, then};
            utime(Path(c.name).c_str(), &t);
        }
    }
    const std::string other = Path("anderer-ordner");
    std::filesystem::create_directory(other);
    WriteBytes(other + "/.feldor-" + dead + "-0-" + here + ".tmp", "x");

    SaveFileReplacing(file, "neu");
    EXPECT_EQ(ReadBytes(file), "neu");
    EXPECT_FALSE(std::filesystem::exists(Path(afterKill[0])));
    for (const Case& c : cases) EXPECT_EQ(std::filesystem::exists(Path(c.name)), !c.gone) << c.name;
    EXPECT_EQ(Entries(other).size(), 1u);
    for (const int fd : held) close(fd);
}

// The program's start-up lets a write that meets the file-size limit or a pipe without reader fail
// with its error: the save reports it and the process lives on.
TEST_F(rtlFileReplace, ASignalOfAFailedWriteEndsOnlyTheSave) {
    const std::string big(1 << 20, 'g');
    const std::string file = Path("bild.bmp");
    WriteBytes(file, "altes Bild");
    const std::string fifo = Path("rohr");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    struct Case {
        const char* name;
        std::string target;
        const char* reason;
    };
    const Case cases[] = {
        {"file-size limit of 200 KB", file, "Die Datei ist zu groß"},
        {"pipe whose reader stops after 100 bytes", fifo, "Die Gegenseite liest nicht mehr"},
    };
    const std::vector<std::string> before = Entries(dir_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool pipeCase = c.target == fifo;
        // The reader is there before the save opens the pipe, and goes after 100 bytes.
        const int reader = pipeCase ? open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
        std::size_t readBytes = 0;
        const Child child = RunChild(
            [&] {
                if (reader >= 0) close(reader);
                rtl::SetUpProcess();
                if (!pipeCase) {
                    rlimit limit{200 * 1024, RLIM_INFINITY};
                    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("setrlimit");
                }
                return Raised([&] { SaveFileReplacing(c.target, big); });
            },
            [&] {
                if (reader < 0) return;
                // A writer of its own, so that the reads wait for the save's bytes rather than
                // end before the save has opened the pipe.
                const int held = open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
                fcntl(reader, F_SETFL, 0);
                char buf[100];
                while (readBytes < sizeof buf) {
                    const ssize_t n = read(reader, buf, sizeof buf - readBytes);
                    if (n <= 0) break;
                    readBytes += static_cast<std::size_t>(n);
                }
                close(reader);
                close(held);
            });
        EXPECT_TRUE(WIFEXITED(child.status) && WEXITSTATUS(child.status) == 0)
            << (WIFSIGNALED(child.status) ? "ended by signal " + std::to_string(WTERMSIG(child.status))
                                           : "exit code " + std::to_string(WEXITSTATUS(child.status)));
        EXPECT_EQ(child.said, "Datei " + c.target + " kann nicht geschrieben werden. " + c.reason);
        if (pipeCase) {
            EXPECT_EQ(readBytes, 100u);
        }
        EXPECT_EQ(Entries(dir_), before);
    }
    EXPECT_EQ(ReadBytes(file), "altes Bild");
}

// The temporary file is never open to more than the old file, from its creation on, whatever
// the user's mask.
TEST_F(rtlFileReplace, TheTemporaryFileHasTheOldFilesPermissionsWhileItIsWritten) {
    struct Case {
        mode_t mode;
        mode_t mask;
    };
    const Case cases[] = {{0600, 0}, {0640, 077}, {0664, 022}, {0400, 0}};
    const std::string file = Path("geheim.fdr");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " under mask " + std::to_string(c.mask));
        WriteBytes(file, "alt");
        ASSERT_EQ(chmod(file.c_str(), c.mode), 0);
        const mode_t mask = umask(c.mask);
        {
            TReplacingFileStream s(file);
            s.WriteBuffer("neu", 3);
            const std::vector<std::string> temps = Temps();
            ASSERT_EQ(temps.size(), 1u);
            struct stat st {};
            ASSERT_EQ(stat(Path(temps[0]).c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, c.mode) << "while written";
            s.Commit();
        }
        umask(mask);
        struct stat st {};
        ASSERT_EQ(stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.mode) << "when saved";
        EXPECT_EQ(ReadBytes(file), "neu");
    }
}

// A member of a file's group who saves it, not its owner, keeps the group: the other members
// may still write the file.
TEST_F(rtlFileReplace, AGroupMemberSavingTheFileKeepsItsGroup) {
    if (geteuid() != 0) GTEST_SKIP() << "acting as another user needs privileges";
    constexpr gid_t share = 4242;
    constexpr uid_t member = 65534;
    ASSERT_EQ(chmod(dir_.c_str(), 0777), 0);
    const std::string file = Path("gemeinsam.fdr");
    WriteBytes(file, "alt");
    ASSERT_EQ(chown(file.c_str(), 0, share), 0);
    ASSERT_EQ(chmod(file.c_str(), 0664), 0);
    const Child child = RunChild([&] {
        const gid_t groups[] = {share};
        if (setgroups(1, groups) != 0 || setgid(member) != 0 || setuid(member) != 0) return std::string("setuid");
        return Raised([&] {
            TReplacingFileStream s(file);
            s.WriteBuffer("neu", 3);
            struct stat st {};
            const std::vector<std::string> temps = Temps();
            if (temps.size() != 1 || stat(Path(temps[0]).c_str(), &st) != 0) throw Exception("no temporary file");
            if (st.st_gid != share || (st.st_mode & 07777) != 0664)
                throw Exception("while written: group " + std::to_string(st.st_gid) + ", mode " +
                                std::to_string(st.st_mode & 07777));
            s.Commit();
        });
    });
    ASSERT_TRUE(WIFEXITED(child.status));
    EXPECT_EQ(child.said, "");
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(ReadBytes(file), "neu");
    EXPECT_EQ(st.st_uid, member);
    EXPECT_EQ(st.st_gid, share);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
}

// A save writing in one process while another process's save in the same folder cleans up: the
// running save's file looks abandoned to the clean-up (its process is not seen from another
// process-id namespace; its clock is hours behind) but it is locked, so it stays and the save
// succeeds. An unlocked leftover of a killed save goes.
TEST_F(rtlFileReplace, TheCleanUpLeavesTheFileOfARunningSave) {
    const std::string target = Path("gross.fdr");
    WriteBytes(target, "alt");
    const std::string part(100000, 'a');
    int go[2], ready[2];
    ASSERT_EQ(pipe2(go, O_CLOEXEC), 0);
    ASSERT_EQ(pipe2(ready, O_CLOEXEC), 0);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const std::string dead = std::to_string(DeadPid());
    const auto leftover = [&](int n) {
        const std::string name = ".feldor-" + dead + "-" + std::to_string(n) + "-" + host + ".tmp";
        WriteBytes(Path(name), "Rest");
        return name;
    };
    std::string writerTemp;
    const Child writer = RunChild(
        [&] {
            close(go[1]);
            close(ready[0]);
            return Raised([&] {
                TReplacingFileStream s(target);
                s.WriteBuffer(part.data(), static_cast<long long>(part.size()));
                char c = 0;
                if (write(ready[1], "w", 1) != 1 || read(go[0], &c, 1) != 1) throw Exception("no go");
                s.WriteBuffer(part.data(), static_cast<long long>(part.size()));
                s.Commit();
            });
        },
        [&] {
            close(go[0]);
            close(ready[1]);
            char c = 0;
            ASSERT_EQ(read(ready[0], &c, 1), 1);
            const std::vector<std::string> temps = Temps();
            ASSERT_EQ(temps.size(), 1u);
            writerTemp = temps[0];

            // A save in a process-id namespace of its own, where the writer's process is not.
            std::string why;
            const std::string stale1 = leftover(1);
            const Child other = RunChild([&] {
                if (unshare(CLONE_NEWPID) != 0) return std::string("unshare: ") + strerror(errno);
                const Child inner = RunChild([&] { return Raised([&] { SaveFileReplacing(Path("b.fdr"), "b"); }); });
                return WIFEXITED(inner.status) ? inner.said : std::string("ended by a signal");
            });
            if (other.said.rfind("unshare: ", 0) == 0) {
                std::cerr << "[ note ] no other process-id namespace (" << other.said << ")\n";
            } else {
                EXPECT_EQ(other.said, "");
                EXPECT_TRUE(std::filesystem::exists(Path(writerTemp))) << "from another namespace";
                EXPECT_FALSE(std::filesystem::exists(Path(stale1)));
            }

            // A save of this process, with the writer's file last written two hours ago.
            const std::string stale2 = leftover(2);
            const auto then = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()) - 7200;
            utimbuf t{then, then};
            EXPECT_EQ(utime(Path(writerTemp).c_str(), &t), 0);
            SaveFileReplacing(Path("c.fdr"), "c");
            EXPECT_TRUE(std::filesystem::exists(Path(writerTemp))) << "with an old time";
            EXPECT_FALSE(std::filesystem::exists(Path(stale2)));

            EXPECT_EQ(write(go[1], "g", 1), 1);
            close(go[1]);
            close(ready[0]);
        });
    ASSERT_TRUE(WIFEXITED(writer.status));
    EXPECT_EQ(writer.said, "");
    EXPECT_EQ(ReadBytes(target), part + part);
    EXPECT_TRUE(Temps().empty());
}

TEST_F(rtlFileReplace, LinksPermissionsAndOwnerOfTheOldFileStay) {
    namespace fs = std::filesystem;
    // A link (of a link) is followed: the links stay, the file they lead to is replaced.
    fs::create_directory(Path("daten"));
    const std::string real = Path("daten/echt.txt");
    WriteBytes(real, "alt");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    fs::create_symlink("daten/echt.txt", Path("link1.txt"));
    fs::create_symlink(Path("link1.txt"), Path("link2.txt"));
    SaveFileReplacing(Path("link2.txt"), "neu");
    EXPECT_TRUE(fs::is_symlink(Path("link1.txt")));
    EXPECT_TRUE(fs::is_symlink(Path("link2.txt")));
    EXPECT_EQ(ReadBytes(real), "neu");
    struct stat st {};
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(Path("daten")), std::vector<std::string>{"echt.txt"});

    // A link to a file not there yet creates it.
    fs::create_symlink("daten/neu.txt", Path("vorab.txt"));
    SaveFileReplacing(Path("vorab.txt"), "erstmals");
    EXPECT_TRUE(fs::is_symlink(Path("vorab.txt")));
    EXPECT_EQ(ReadBytes(Path("daten/neu.txt")), "erstmals");

    // A new file gets the permissions the user's mask allows.
    const mode_t mask = umask(022);
    SaveFileReplacing(Path("frisch.txt"), "x");
    umask(mask);
    ASSERT_EQ(stat(Path("frisch.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);

    // A privileged save of another user's file leaves it that user's.
    if (geteuid() == 0) {
        ASSERT_EQ(chown(real.c_str(), 65534, 65534), 0);
        SaveFileReplacing(real, "wieder");
        ASSERT_EQ(stat(real.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(st.st_gid, 65534u);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
    }
}

TEST_F(rtlFileReplace, NamesThatAreNoFileToReplaceAreRefusedWithTheirReason) {
    namespace fs = std::filesystem;
    fs::create_directory(Path("ordner.txt"));
    fs::create_symlink("schleife2", Path("schleife1"));
    fs::create_symlink("schleife1", Path("schleife2"));
    WriteBytes(Path("datei"), "x");
    ASSERT_EQ(mkfifo(Path("rohr").c_str(), 0644), 0);
    struct Case {
        std::string name;
        std::string reason;
    };
    const Case cases[] = {
        {Path("ordner.txt"), "Der Name bezeichnet einen Ordner, keine Datei"},
        {Path("schleife1"), "Der Pfad enthält zu viele symbolische Verknüpfungen oder eine Schleife"},
        {Path("datei/unter.txt"), "Ein Teil des Pfades ist kein Ordner"},
        {Path("fehlt/neu.txt"), "Die Datei oder der Ordner wurde nicht gefunden"},
        {Path("rohr"), "Das Gerät ist nicht vorhanden oder nicht bereit"},  // nobody reads the pipe
    };
    const std::vector<std::string> before = Entries(dir_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Raised([&] { SaveFileReplacing(c.name, "neu"); }),
                  "Datei " + c.name + " kann nicht erstellt werden. " + c.reason);
        EXPECT_EQ(Entries(dir_), before);
    }
    EXPECT_TRUE(fs::is_empty(Path("ordner.txt")));
    EXPECT_TRUE(fs::is_fifo(Path("rohr")));
}

// A device is written into, never replaced by a file.
TEST_F(rtlFileReplace, DeviceIsWrittenDirectly) {
    if (geteuid() != 0) GTEST_SKIP() << "making a device node needs privileges";
    const std::string null = Path("null");
    ASSERT_EQ(mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    SaveFileReplacing(null, "weg damit");
    struct stat st {};
    ASSERT_EQ(lstat(null.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"null"});
}

// A file stream that cannot write names its file and the reason.
TEST_F(rtlFileReplace, FileStreamWriteErrorNamesTheFile) {
    const std::string file = Path("strom.bin");
    const std::string bytes(10000, 'b');
    std::string shown;
    {
        writefaults::FileSizeLimit limit(4000);
        shown = Raised([&] {
            TFileStream s(file, fmCreate);
            s.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
        });
    }
    EXPECT_EQ(shown, "Datei " + file + " kann nicht geschrieben werden. Die Datei ist zu groß");
    // A stream of no file keeps the platform's own text.
    struct Full : TStream {
        long long Read(void*, long long) override { return 0; }
        long long Write(const void*, long long) override { return 0; }
        long long Seek(long long, TSeekOrigin) override { return 0; }
    } full;
    EXPECT_EQ(Raised([&] { full.WriteBuffer("x", 1); }), "Stream-Schreibfehler");
}

}  // namespace
