#include "platform/InstanceLock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

TEST_F(InstanceLockTest, OneHolderAtATimeAndAStaleFileDoesNotBlock) {
    std::ofstream(fs::path(dir) / kName) << "left behind";
    platform::InstanceLock second;
    {
        platform::InstanceLock first;
        ASSERT_TRUE(first.Acquire(kName, dir));
        EXPECT_FALSE(second.Acquire(kName, dir));
        first.Release();
        first.Release();
        EXPECT_TRUE(second.Acquire(kName, dir));
        EXPECT_FALSE(first.Acquire(kName, dir));
        second.Release();
        ASSERT_TRUE(first.Acquire(kName, dir));
    }
    // Destruction released it.
    EXPECT_TRUE(second.Acquire(kName, dir));
}

TEST_F(InstanceLockTest, SymbolicLinkOrMissingFolderIsRefused) {
    const fs::path target = fs::path(dir) / "elsewhere";
    fs::create_symlink(target, fs::path(dir) / kName);
    platform::InstanceLock lock;
    EXPECT_FALSE(lock.Acquire(kName, dir));
    EXPECT_FALSE(fs::exists(target));
    EXPECT_FALSE(lock.Acquire(kName, dir + "/missing"));
}

TEST_F(InstanceLockTest, FolderIsXdgRuntimeDirElseTmp) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
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
