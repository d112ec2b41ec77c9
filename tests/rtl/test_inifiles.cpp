// TIniFile: the original platform's INI semantics on our own reader/writer.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/BlockingFifo.h"

using namespace rtl;

namespace {

class rtlIniFile : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/rtl_ini_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        dir_ = dir;
        file_ = dir_ + "/Feldor.ini";
    }
    void TearDown() override {
        chmod(dir_.c_str(), 0700);
        std::system(("rm -rf '" + dir_ + "'").c_str());
    }
    std::string content() const {
        std::ifstream in(file_, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    void setContent(std::string_view s) const {
        std::ofstream out(file_, std::ios::binary);
        out << s;
    }
    std::string dir_, file_;
};

TEST_F(rtlIniFile, MissingFileReadsDefaults) {
    TIniFile ini(file_);
    EXPECT_EQ(ini.FileName(), file_);
    EXPECT_EQ(ini.ReadString("Verzeichnisse", "EZNECDir", "/opt/"), "/opt/");
    EXPECT_EQ(ini.ReadInteger("Fensterpositionen", "Top", 10), 10);
    EXPECT_TRUE(ini.ReadBool("Fenster", "Skript", true));
    EXPECT_FALSE(ini.SectionExists("Fenster"));
    EXPECT_FALSE(FileExists(file_));
}

TEST_F(rtlIniFile, WritesInOrderWithCrLf) {
    TIniFile ini(file_);
    ini.WriteString("Verzeichnisse", "EZNECDir", "/home/u/EZNEC/");
    ini.WriteString("Verzeichnisse", "MMANADir", "/home/u/");
    ini.WriteInteger("Fensterpositionen", "Top", 10);
    ini.WriteInteger("Fensterpositionen", "SkriptWidth", 300);
    ini.WriteInteger("Fensterpositionen", "SkriptHeight", -20);
    ini.WriteBool("Fenster", "Skript", true);
    ini.WriteBool("Fenster", "Messwert", false);
    ini.WriteString("Verzeichnisse", "FeldorDir", "/x/");  // appended at the end of its section
    EXPECT_EQ(content(),
              "[Verzeichnisse]\r\nEZNECDir=/home/u/EZNEC/\r\nMMANADir=/home/u/\r\nFeldorDir=/x/\r\n"
              "\r\n"
              "[Fensterpositionen]\r\nTop=10\r\nSkriptWidth=300\r\nSkriptHeight=-20\r\n"
              "\r\n"
              "[Fenster]\r\nSkript=1\r\nMesswert=0\r\n");
    EXPECT_EQ(ini.ReadInteger("Fensterpositionen", "SkriptHeight", 0), -20);
    EXPECT_FALSE(ini.ReadBool("Fenster", "Messwert", true));
    EXPECT_TRUE(ini.ReadBool("Fenster", "Skript", false));
}

TEST_F(rtlIniFile, CaseInsensitiveAndFirstSpellingKept) {
    TIniFile ini(file_);
    ini.WriteString("Fenster", "Skript", "1");
    ini.WriteString("FENSTER", "skript", "0");
    EXPECT_EQ(content(), "[Fenster]\r\nSkript=0\r\n");
    EXPECT_EQ(ini.ReadString("fenster", "SKRIPT", "x"), "0");
    EXPECT_TRUE(ini.ValueExists("fEnStEr", "sKrIpT"));
    EXPECT_FALSE(ini.ValueExists("Fenster", "Messwert"));
    EXPECT_TRUE(ini.SectionExists("FENSTER"));
}

TEST_F(rtlIniFile, ValuesTrimmedUnquotedAfterFirstEquals) {
    setContent("; Kommentar\n[Sec]\n  Key  =  a = b  \nQ=\"quoted\"\nEmpty=\nnoequals line\n[Sec2]\nKey=2\n");
    TIniFile ini(file_);
    EXPECT_EQ(ini.ReadString("Sec", "Key", ""), "a = b");
    EXPECT_EQ(ini.ReadString("Sec", "Q", ""), "\"quoted\"");
    EXPECT_EQ(ini.ReadString("Sec", "Empty", "def"), "");
    EXPECT_EQ(ini.ReadString("Sec2", "Key", ""), "2");
    EXPECT_EQ(ini.ReadString("Sec", "noequals line", "d"), "d");
    // Writing keeps comments and unknown lines as they are and rewrites with CR LF.
    ini.WriteString("Sec", "New", "v");
    EXPECT_EQ(content(),
              "; Kommentar\r\n[Sec]\r\n  Key  =  a = b  \r\nQ=\"quoted\"\r\nEmpty=\r\nnoequals line\r\nNew=v\r\n"
              "[Sec2]\r\nKey=2\r\n");
    ini.WriteString("Sec", "key", "c");
    EXPECT_NE(content().find("\r\nKey=c\r\n"), std::string::npos);
}

TEST_F(rtlIniFile, IntegersAndBooleans) {
    setContent("[S]\nDec=42\nHex=$1F\nNeg=-7\nText=abc\nFloat=1,5\nBlank=\nBig=99999999999\nT=2\n");
    TIniFile ini(file_);
    EXPECT_EQ(ini.ReadInteger("S", "Dec", 0), 42);
    EXPECT_EQ(ini.ReadInteger("S", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "Neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("S", "Text", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "Float", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "Blank", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "Big", 5), 5);
    EXPECT_TRUE(ini.ReadBool("S", "T", false));   // any other integer is True
    EXPECT_FALSE(ini.ReadBool("S", "Text", false));
    EXPECT_TRUE(ini.ReadBool("S", "Text", true));
    EXPECT_EQ(ini.ReadFloat("S", "Float", 0), 1.5L);
    EXPECT_EQ(ini.ReadFloat("S", "Text", 2.5L), 2.5L);
    ini.WriteFloat("S", "F2", 0.25L);
    EXPECT_EQ(ini.ReadString("S", "F2", ""), "0,25");
}

TEST_F(rtlIniFile, SectionsKeysEraseDelete) {
    TIniFile ini(file_);
    ini.WriteString("A", "k1", "1");
    ini.WriteString("B", "k2", "2");
    ini.WriteString("A", "k3", "3");
    TStringList names;
    names.Add("stale");
    ini.ReadSections(names);
    EXPECT_EQ(names.Text(), "A\r\nB\r\n");
    ini.ReadSection("a", names);
    EXPECT_EQ(names.Text(), "k1\r\nk3\r\n");
    ini.DeleteKey("A", "K1");
    ini.ReadSection("A", names);
    EXPECT_EQ(names.Text(), "k3\r\n");
    ini.EraseSection("a");
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_EQ(ini.ReadString("B", "k2", ""), "2");
    ini.DeleteKey("none", "x");
}

TEST_F(rtlIniFile, ReadsWindows1252Files) {
    setContent("[Verzeichnisse]\r\nFeldorDir=C:\\Programme\\Gr\xF6\xDF" "e\\\r\n");
    TIniFile ini(file_);
    EXPECT_EQ(ini.ReadString("Verzeichnisse", "FeldorDir", ""), "C:\\Programme\\Größe\\");
}

// Writing into a read-only directory raises EFCreateError and leaves the old file intact.
TEST_F(rtlIniFile, FailedWriteKeepsOldFile) {
    setContent("[S]\r\nK=old\r\n");
    chmod(file_.c_str(), 0644);
    chmod(dir_.c_str(), 0555);
    auto attempt = [&]() -> int {
        TIniFile ini(file_);
        try {
            ini.WriteString("S", "K", "new");
        } catch (const EFCreateError& e) {
            return e.Message.rfind("Datei " + file_ + " kann nicht erstellt werden. ", 0) == 0 ? 0 : 2;
        }
        return 1;
    };
    if (geteuid() == 0) {
        // root ignores directory permissions: try it as an unprivileged user in a child.
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
            _exit(attempt());
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot drop privileges";
        EXPECT_EQ(WEXITSTATUS(status), 0);
    } else {
        EXPECT_EQ(attempt(), 0);
    }
    EXPECT_EQ(content(), "[S]\r\nK=old\r\n");
    TIniFile ini(file_);
    EXPECT_EQ(ini.ReadString("S", "K", ""), "old");
}

TEST_F(rtlIniFile, WriteReplacesAtomicallyAndKeepsNoTempFiles) {
    TIniFile ini(file_);
    for (int i = 0; i < 20; ++i) ini.WriteInteger("S", "K" + std::to_string(i % 5), i);
    EXPECT_EQ(ini.ReadInteger("S", "K4", 0), 19);
    int entries = 0;
    if (DIR* d = opendir(dir_.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.' || std::string(e->d_name).size() > 2) ++entries;
        closedir(d);
    }
    EXPECT_EQ(entries, 1);
}

// A file that exists but cannot be read (a pipe, a folder, a file far too large, one without
// read permission) reads as empty at once and is never replaced by a file without its content;
// a file of the largest size is still read and written.
TEST_F(rtlIniFile, FilesThatCannotBeReadAreNeverWrittenOver) {
    const std::string head = "[S]\r\nK=old\r\n";
    // Returns "" when every expectation holds, else what failed (so that a child can report).
    auto refused = [](const std::string& file, const std::string& reason) -> std::string {
        const std::string expected = "Datei " + file + " kann nicht geöffnet werden. " + reason;
        const auto start = std::chrono::steady_clock::now();
        TIniFile ini(file);
        std::string failed;
        try {
            ini.CheckReadable();
            failed += "CheckReadable passed; ";
        } catch (const EFOpenError& e) {
            if (e.Message != expected) failed += "CheckReadable: " + e.Message + "; ";
        }
        if (ini.ReadString("S", "K", "def") != "def") failed += "read a value; ";
        if (ini.SectionExists("S")) failed += "found the section; ";
        for (const auto& write : std::initializer_list<std::function<void()>>{
                 [&] { ini.WriteString("S", "K", "new"); }, [&] { ini.DeleteKey("S", "K"); },
                 [&] { ini.EraseSection("S"); }}) {
            try {
                write();
                failed += "written; ";
            } catch (const EFOpenError& e) {
                if (e.Message != expected) failed += "write: " + e.Message + "; ";
            }
        }
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(1)) failed += "slow; ";
        return failed;
    };

    {
        BlockingFifo fifo(file_);
        EXPECT_EQ(refused(file_, "Keine gewöhnliche Datei"), "");
        EXPECT_FALSE(fifo.Unblocked());
        EXPECT_TRUE(fifo.StillAFifo());
    }
    ASSERT_EQ(mkdir(file_.c_str(), 0755), 0);
    EXPECT_EQ(refused(file_, rtl::SysErrorMessage(EISDIR)), "");
    ASSERT_EQ(rmdir(file_.c_str()), 0);

    std::string big = head;
    big.resize(static_cast<std::size_t>(MaxIniFileSize) + 1, ';');
    setContent(big);
    EXPECT_EQ(refused(file_, "Die Datei ist größer als 1 MB"), "");
    EXPECT_EQ(content(), big);

    setContent(head);
    chmod(file_.c_str(), 0200);
    if (geteuid() == 0) {
        // root reads anyway: try it as an unprivileged user in a child.
        chmod(dir_.c_str(), 0777);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
            _exit(refused(file_, "Zugriff verweigert").empty() ? 0 : 1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) != 3) EXPECT_EQ(WEXITSTATUS(status), 0);
    } else {
        EXPECT_EQ(refused(file_, "Zugriff verweigert"), "");
    }
    chmod(file_.c_str(), 0644);
    EXPECT_EQ(content(), head);

    // The largest file that is still read, and written.
    std::string largest = head;
    largest.resize(static_cast<std::size_t>(MaxIniFileSize) - 2, ';');
    largest += "\r\n";
    setContent(largest);
    TIniFile ini(file_);
    EXPECT_NO_THROW(ini.CheckReadable());
    EXPECT_EQ(ini.ReadString("S", "K", ""), "old");
    ini.WriteString("S", "K", "neu");
    EXPECT_EQ(ini.ReadString("S", "K", ""), "neu");
    EXPECT_EQ(content().size(), largest.size());
}

}  // namespace
