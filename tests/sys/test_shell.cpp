#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>

#include "platform/sys/Process.h"
#include "platform/sys/Shell.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const std::string& path, const std::string& text, fs::perms perms) {
    std::ofstream(path, std::ios::binary) << text;
    fs::permissions(path, perms);
}

// The file's text once a started program wrote it (the start does not wait for it).
std::string WaitForFile(const std::string& path) {
    for (int i = 0; i < 500 && !fs::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/feldor-shell-XXXXXX";
        dir = mkdtemp(pattern);
        // A stand-in opener that writes down what it was given.
        WriteFile(dir + "/opener", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + dir + "/opened\"\n",
                  fs::perms::owner_all);
        sys::SetShellOpener(dir + "/opener");
        WriteFile(dir + "/doc.txt", "x", fs::perms::owner_read | fs::perms::owner_write);
        fs::create_directory(dir + "/folder");
    }
    void TearDown() override {
        sys::SetShellOpener("");
        fs::remove_all(dir);
    }
    std::string Opened() { return WaitForFile(dir + "/opened"); }
    std::string dir;
};

TEST_F(Shell, DocumentsFoldersAndAddressesGoToTheOpener) {
    using sys::TShellVerb;
    struct Case {
        TShellVerb verb;
        std::string target, directory, opened;
    };
    const Case cases[] = {
        {TShellVerb::Open, dir + "/doc.txt", "", dir + "/doc.txt\n"},
        {TShellVerb::Open, "doc.txt", dir, dir + "/doc.txt\n"},
        {TShellVerb::Open, dir + "/folder", "", dir + "/folder\n"},
        {TShellVerb::Explore, dir + "/folder", "", dir + "/folder\n"},
        {TShellVerb::Open, "https://example.org/a?b=1", "", "https://example.org/a?b=1\n"},
        {TShellVerb::Open, "mailto:x@example.org", "", "mailto:x@example.org\n"},
        {TShellVerb::Open, "www.example.org", "", "http://www.example.org\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        fs::remove(dir + "/opened");
        const sys::TShellResult r = sys::ShellExecute(c.verb, c.target, "", c.directory);
        EXPECT_EQ(r.ErrorCode, 0);
        EXPECT_EQ(Opened(), c.opened);
        // The opener is a child: how it ended can be read.
        const auto opener = sys::TProcessHandle::Open(r.ProcessId);
        ASSERT_NE(opener, nullptr);
        opener->Wait();
        EXPECT_FALSE(opener->Running());
        EXPECT_EQ(opener->ExitCode(), 0);
    }
    EXPECT_EQ(sys::ShellOpener(), dir + "/opener");
}

TEST_F(Shell, ErrorsAreTheShellsCodes) {
    using sys::TShellVerb;
    struct Case {
        TShellVerb verb;
        std::string target;
        int error;
    };
    const Case cases[] = {
        {TShellVerb::Open, "", sys::SE_ERR_FNF},
        {TShellVerb::Open, dir + "/missing.txt", sys::SE_ERR_FNF},
        {TShellVerb::Open, dir + "/nofolder/missing.txt", sys::SE_ERR_PNF},
        {TShellVerb::Explore, dir + "/nofolder", sys::SE_ERR_PNF},
        {TShellVerb::Explore, dir + "/doc.txt", sys::SE_ERR_PNF},
        {TShellVerb::Print, dir + "/doc.txt", sys::SE_ERR_NOASSOC},
        {TShellVerb::Edit, dir + "/doc.txt", sys::SE_ERR_NOASSOC},
        {TShellVerb::Properties, dir + "/doc.txt", sys::SE_ERR_NOASSOC},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const sys::TShellResult r = sys::ShellExecute(c.verb, c.target);
        EXPECT_EQ(r.ErrorCode, c.error);
        EXPECT_EQ(r.ProcessId, 0);
    }
    // Without an opener no kind of document has a program.
    sys::SetShellOpener(dir + "/no-such-opener");
    EXPECT_EQ(sys::ShellExecute(TShellVerb::Open, dir + "/doc.txt").ErrorCode, sys::SE_ERR_NOASSOC);
    EXPECT_EQ(sys::ShellExecute(TShellVerb::Open, "https://example.org").ErrorCode,
              sys::SE_ERR_NOASSOC);
    sys::SetShellOpener("");
    EXPECT_EQ(sys::ShellOpener(), "xdg-open");
    fs::remove(dir + "/opened");
}

TEST_F(Shell, ProgramsStartWithParametersInTheirFolder) {
    WriteFile(dir + "/prog",
              "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; } > \"" + dir + "/ran.tmp\"\nmv \"" + dir +
                  "/ran.tmp\" \"" + dir + "/ran\"\n",
              fs::perms::owner_all);
    const sys::TShellResult r =
        sys::ShellExecute(sys::TShellVerb::Open, dir + "/prog", "a \"b c\"", dir + "/folder");
    EXPECT_EQ(r.ErrorCode, 0);
    EXPECT_GT(r.ProcessId, 0);
    EXPECT_EQ(WaitForFile(dir + "/ran"), dir + "/folder\na\nb c\n");
    EXPECT_FALSE(fs::exists(dir + "/opened"));  // not through the opener

    if (geteuid() != 0) {
        // A file the user may not read cannot be opened.
        WriteFile(dir + "/secret.txt", "x", fs::perms::none);
        EXPECT_EQ(sys::ShellExecute(sys::TShellVerb::Open, dir + "/secret.txt").ErrorCode,
                  sys::SE_ERR_ACCESSDENIED);
    }
}

// The opener as the desktop has it: found in the search path, or missing; its exit code and a
// signal that ended it are read once it has ended, and a child nobody waits for is collected.
TEST_F(Shell, OpenerFromTheSearchPathAndHowItEnded) {
    const std::string savedPath = std::getenv("PATH");
    sys::SetShellOpener("");
    fs::create_directory(dir + "/bin");
    ::setenv("PATH", (dir + "/bin").c_str(), 1);
    EXPECT_EQ(sys::ShellExecute(sys::TShellVerb::Open, "https://example.org").ErrorCode, sys::SE_ERR_NOASSOC);
    for (const auto& [script, code] : {std::pair<std::string, int>{"exit 3", 3}, {"kill -9 $$", 137}}) {
        SCOPED_TRACE(script);
        WriteFile(dir + "/bin/xdg-open", "#!/bin/sh\n" + script + "\n", fs::perms::owner_all);
        const sys::TShellResult r = sys::ShellExecute(sys::TShellVerb::Open, "https://example.org");
        ASSERT_EQ(r.ErrorCode, 0);
        const auto opener = sys::TProcessHandle::Open(r.ProcessId);
        ASSERT_NE(opener, nullptr);
        opener->Wait();
        EXPECT_EQ(opener->ExitCode(), code);
        EXPECT_EQ(opener->ExitCode(), code);  // asked again, after it was collected
    }
    // A handle dropped while its opener runs: the ended opener is collected at the next Open.
    WriteFile(dir + "/bin/xdg-open", "#!/bin/sh\n/bin/sleep 0.2\n", fs::perms::owner_all);
    const long long left = sys::ShellExecute(sys::TShellVerb::Open, "https://example.org").ProcessId;
    ::setenv("PATH", savedPath.c_str(), 1);
    ASSERT_GT(left, 0);
    sys::TProcessHandle::Open(left).reset();
    const std::string stat = "/proc/" + std::to_string(left) + "/stat";
    std::string state;
    for (int i = 0; i < 300 && state != "Z"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(stat);
        std::string pid, name;
        in >> pid >> name >> state;
    }
    ASSERT_EQ(state, "Z");
    sys::TProcessHandle::Open(0);
    EXPECT_FALSE(fs::exists(stat));
}

// A bare command name is found in the search path, as the shell finds it.
TEST_F(Shell, BareCommandsComeFromTheSearchPath) {
    const sys::TShellResult r = sys::ShellExecute(sys::TShellVerb::Open, "sleep", "0");
    EXPECT_EQ(r.ErrorCode, 0);
    EXPECT_GT(r.ProcessId, 0);
    EXPECT_EQ(sys::ShellExecute(sys::TShellVerb::Open, "feldor-no-such-command").ErrorCode, sys::SE_ERR_FNF);
    // A document of that name in the given folder comes first.
    WriteFile(dir + "/sleep", "x", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(sys::ShellExecute(sys::TShellVerb::Open, "sleep", "", dir).ErrorCode, 0);
    EXPECT_EQ(Opened(), dir + "/sleep\n");
}

}  // namespace
