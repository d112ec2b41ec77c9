// Opening an existing file accepts only a regular file: a pipe or a device is refused at once
// with the open error, in every open mode, instead of blocking or reading without end; regular
// files open as before.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/BlockingFifo.h"

using namespace rtl;

namespace {

class rtlFileKinds : public ::testing::Test {
protected:
    void SetUp() override {
        char d[] = "/tmp/rtl_kinds_XXXXXX";
        ASSERT_NE(mkdtemp(d), nullptr);
        dir_ = d;
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
    std::string dir_;
};

TEST_F(rtlFileKinds, PipesAndDevicesAreRefusedAtOnce) {
    BlockingFifo fifo(dir_ + "/pipe.txt");
    const struct {
        const char* name;
        std::string file;
        unsigned mode;
    } cases[] = {
        {"pipe, read", fifo.Path(), fmOpenRead | fmShareDenyWrite},
        {"pipe, write", fifo.Path(), fmOpenWrite},
        {"pipe, read and write", fifo.Path(), fmOpenReadWrite},
        {"device, read", "/dev/zero", fmOpenRead},  // would never end
        {"device, write", "/dev/null", fmOpenWrite},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        try {
            TFileStream s(c.file, c.mode);
            ADD_FAILURE() << "opened";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message, "Datei " + c.file + " kann nicht geöffnet werden. Keine gewöhnliche Datei");
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
    EXPECT_FALSE(fifo.Unblocked());

    // What reads through a file stream is refused the same way.
    TStringList lines;
    EXPECT_THROW(lines.LoadFromFile(fifo.Path()), EFOpenError);
    TMemoryStream memory;
    EXPECT_THROW(memory.LoadFromFile(fifo.Path()), EFOpenError);
    EXPECT_FALSE(fifo.Unblocked());
    EXPECT_TRUE(fifo.StillAFifo());

    // A regular file, also through a link, opens in every mode as before.
    const std::string file = dir_ + "/a.txt";
    std::ofstream(file, std::ios::binary) << "eins\r\nzwei\r\n";
    ASSERT_EQ(symlink(file.c_str(), (dir_ + "/link.txt").c_str()), 0);
    for (const std::string& name : {file, dir_ + "/link.txt"}) {
        lines.LoadFromFile(name);
        ASSERT_EQ(lines.Count(), 2);
        EXPECT_EQ(lines[1], "zwei");
    }
    TFileStream rw(file, fmOpenReadWrite);
    EXPECT_EQ(rw.Write("E", 1), 1);
    rw.SetPosition(0);
    char buf[4] = {};
    EXPECT_EQ(rw.Read(buf, 4), 4);
    EXPECT_EQ(std::string(buf, 4), "Eins");
}

}  // namespace
