// Saving a file in place of an old one: the write faults keep the old file whole, leave nothing
// behind and name the file and the reason; stale temporary files of killed saves go at the next
// save; links, permissions and owners survive; devices and pipes are written directly.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/FileReplace.h"
#include "platform/rtl/IniFiles.h"
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
    };
    const Case cases[] = {
        {".feldor-" + dead + "-0-" + here + ".tmp", false, true},      // its process ended
        {".feldor-" + dead + "-7.tmp", false, true},                    // an earlier field-file save
        {".feldor-" + parent + "-1-" + here + ".tmp", false, false},   // a save still running
        {".feldor-" + parent + "-2-" + here + ".tmp", true, true},     // untouched for hours
        {".feldor-" + dead + "-3-anderer-rechner.tmp", false, false},  // another computer's save
        {".feldor-" + dead + "-4-anderer-rechner.tmp", true, true},
        {".feldor-" + self + "-9-" + here + ".tmp", false, false},     // this process's own
        {".feldor-" + dead + "-x.tmp", true, false},                    // not the program's name
        {"feldor-" + dead + "-5.tmp", true, false},
        {".feldor-" + dead + "-6.txt", true, false},
        {".Feldor.ini.abc123", true, false},
    };
    for (const Case& c : cases) {
        WriteBytes(Path(c.name), "x");
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
