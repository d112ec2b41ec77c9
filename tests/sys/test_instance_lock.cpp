#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/sys/InstanceLock.h"

namespace {

class InstanceLock : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/feldor-lock-XXXXXX";
        dir = mkdtemp(pattern);
        sys::TInstanceLock::SetDirectory(dir + "/locks");
    }
    void TearDown() override {
        sys::TInstanceLock::SetDirectory("");
        std::filesystem::remove_all(dir);
    }
    // Whether a lock of Name made in another process finds it existing (exit code 1), or not (0).
    static int ExistsInChild(const std::string& Name) {
        const pid_t pid = fork();
        if (pid == 0) {
            sys::TInstanceLock lock(Name);
            _exit(!lock.Valid() ? 2 : lock.AlreadyExists() ? 1 : 0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string dir;
};

TEST_F(InstanceLock, FirstCreatesLaterOnesFindIt) {
    auto first = std::make_unique<sys::TInstanceLock>("FELDOR.EXE");
    ASSERT_TRUE(first->Valid());
    EXPECT_FALSE(first->AlreadyExists());
    {
        sys::TInstanceLock second("FELDOR.EXE");
        EXPECT_TRUE(second.Valid());
        EXPECT_TRUE(second.AlreadyExists());
    }
    EXPECT_EQ(ExistsInChild("FELDOR.EXE"), 1);
    // Another name is independent.
    sys::TInstanceLock other("OTHER.EXE");
    EXPECT_FALSE(other.AlreadyExists());

    // The name lives while any holder lives, not only the first.
    auto later = std::make_unique<sys::TInstanceLock>("FELDOR.EXE");
    EXPECT_TRUE(later->AlreadyExists());
    first.reset();
    EXPECT_EQ(ExistsInChild("FELDOR.EXE"), 1);
    later.reset();
    // Gone with the last holder: the next one is first again.
    EXPECT_EQ(ExistsInChild("FELDOR.EXE"), 0);
    sys::TInstanceLock again("FELDOR.EXE");
    EXPECT_FALSE(again.AlreadyExists());
}

TEST_F(InstanceLock, ReleasedWhenTheHoldingProcessEnds) {
    EXPECT_EQ(ExistsInChild("A"), 0);
    EXPECT_EQ(ExistsInChild("A"), 0);
}

TEST_F(InstanceLock, AnyNameMakesOneFile) {
    // Separators and other characters cannot reach outside the lock directory or merge names.
    sys::TInstanceLock a("../x/y");
    sys::TInstanceLock b("..%2Fx%2Fy");
    sys::TInstanceLock c("Global\\FELDOR");
    EXPECT_TRUE(a.Valid());
    EXPECT_FALSE(a.AlreadyExists());
    EXPECT_FALSE(b.AlreadyExists());
    EXPECT_FALSE(c.AlreadyExists());
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        if (e.path() == dir + "/locks") continue;
        EXPECT_EQ(e.path().parent_path(), std::filesystem::path(dir + "/locks")) << e.path();
        EXPECT_TRUE(e.is_regular_file()) << e.path();
    }

    // No directory can be made: the lock is not valid and reports nothing.
    sys::TInstanceLock::SetDirectory("/proc/feldor-no-such-dir");
    sys::TInstanceLock none("X");
    EXPECT_FALSE(none.Valid());
    EXPECT_FALSE(none.AlreadyExists());
}

}  // namespace
