#include "platform/InstanceLock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string kName = "TamberleApplication_C3650C37_E207_4D00_AD0E_FDF127E49E57_";

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kirorin-lock-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string dir;
};

TEST_F(InstanceLockTest, SecondHolderIsRefusedUntilTheFirstReleases) {
    platform::InstanceLock first;
    platform::InstanceLock second;
    ASSERT_TRUE(first.Acquire(kName, dir));
    EXPECT_TRUE(first.Held());
    EXPECT_TRUE(fs::exists(fs::path(dir) / kName));

    EXPECT_FALSE(second.Acquire(kName, dir));
    EXPECT_FALSE(second.Held());

    first.Release();
    EXPECT_FALSE(first.Held());
    EXPECT_TRUE(second.Acquire(kName, dir));
}

TEST_F(InstanceLockTest, DestructionReleases) {
    {
        platform::InstanceLock scoped;
        ASSERT_TRUE(scoped.Acquire(kName, dir));
    }
    platform::InstanceLock next;
    EXPECT_TRUE(next.Acquire(kName, dir));
}

TEST_F(InstanceLockTest, ReleaseWithoutHoldingIsHarmless) {
    platform::InstanceLock lock;
    lock.Release();
    EXPECT_FALSE(lock.Held());
    EXPECT_TRUE(lock.Acquire(kName, dir));
}

TEST_F(InstanceLockTest, StaleFileFromAnEndedHolderDoesNotBlock) {
    std::ofstream(fs::path(dir) / kName) << "left behind";
    platform::InstanceLock lock;
    EXPECT_TRUE(lock.Acquire(kName, dir));
}

TEST_F(InstanceLockTest, SymbolicLinkInPlaceOfTheFileIsRefused) {
    const fs::path target = fs::path(dir) / "elsewhere";
    fs::create_symlink(target, fs::path(dir) / kName);
    platform::InstanceLock lock;
    EXPECT_FALSE(lock.Acquire(kName, dir));
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(InstanceLockTest, MissingDirectoryFails) {
    platform::InstanceLock lock;
    EXPECT_FALSE(lock.Acquire(kName, dir + "/missing"));
}

TEST_F(InstanceLockTest, DirectoryComesFromXdgRuntimeDirElseTmp) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = saved ? saved : "";

    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    EXPECT_EQ(platform::LockDirectory(), dir);
    {
        platform::InstanceLock lock;
        ASSERT_TRUE(lock.Acquire(kName));
        EXPECT_TRUE(fs::exists(fs::path(dir) / kName));
    }
    ::setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(platform::LockDirectory(), "/tmp");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::LockDirectory(), "/tmp");

    if (saved) {
        ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
    }
}

} // namespace
