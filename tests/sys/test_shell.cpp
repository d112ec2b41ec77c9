#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

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
        EXPECT_EQ(r.ProcessId, 0);  // the opener is not watched
        EXPECT_EQ(Opened(), c.opened);
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

}  // namespace
