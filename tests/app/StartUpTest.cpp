#include "AppTestSupport.h"

#include "platform/InstanceLock.h"
#include "res/Strings.h"
#include "settings/SettingsFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lock and settings file in a private folder.
class StartUpTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        char pattern[] = "/tmp/kirorin-app-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
        const char* saved = std::getenv("XDG_RUNTIME_DIR");
        savedRuntimeDir = saved ? saved : "";
        hadRuntimeDir = saved != nullptr;
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    void TearDown() override {
        app->ShutDown(0);
        if (hadRuntimeDir) {
            ::setenv("XDG_RUNTIME_DIR", savedRuntimeDir.c_str(), 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
        fs::remove_all(dir);
        AppTest::TearDown();
    }

    std::string dir;
    std::string savedRuntimeDir;
    bool hadRuntimeDir = false;
};

TEST(SettingsPath, IsBesideTheExecutable) {
    EXPECT_EQ(SettingsPathBeside("/opt/kirorin/kirorin"), "/opt/kirorin/tamberle.sav");
    EXPECT_EQ(SettingsPathBeside("/kirorin"), "/tamberle.sav");
    EXPECT_EQ(SettingsPathBeside("/a b/ünï/k"), "/a b/ünï/tamberle.sav");
    EXPECT_EQ(SettingsPathBeside(""), "");
    EXPECT_EQ(SettingsPathBeside("kirorin"), "");
}

TEST_F(StartUpTest, SecondInstanceEndsSilentlyWithoutTouchingAnything) {
    platform::InstanceLock other;
    ASSERT_TRUE(other.Acquire(CChorusApp::kInstanceLockName));
    EXPECT_EQ(app->StartUp(), 0);
    EXPECT_EQ(framework.windowsCreated, 0);
    EXPECT_TRUE(framework.boxes.empty());
    EXPECT_TRUE(framework.commands.empty());
    EXPECT_TRUE(app->settingsPath.empty());
    EXPECT_EQ(app->ShutDown(7), 7);
    // The other holder keeps its lock.
    platform::InstanceLock third;
    EXPECT_FALSE(third.Acquire(CChorusApp::kInstanceLockName));
}

TEST_F(StartUpTest, FrameThatCannotBeMadeIsReported) {
    framework.canCreateWindow = false;
    EXPECT_EQ(app->StartUp(), 0);
    ASSERT_EQ(framework.boxes.size(), 1u);
    EXPECT_EQ(framework.boxes[0].first, "Kirorin");
    EXPECT_EQ(framework.boxes[0].second, LoadString(kIdsMainWindowFailed));
    EXPECT_TRUE(framework.timerPeriods.empty());
    EXPECT_TRUE(framework.commands.empty());
    // ShutDown gives the lock back.
    app->ShutDown(0);
    platform::InstanceLock next;
    EXPECT_TRUE(next.Acquire(CChorusApp::kInstanceLockName));
}

TEST_F(StartUpTest, LoadTakesAnAcceptedFileWhole) {
    app->settingsPath = dir + "/tamberle.sav";
    ChorusSettings written;
    written.wariness = 0;
    written.cricketCount = 11;
    written.volume = -3;
    written.scheduleMode = 7;
    written.endMinute = 99;
    ASSERT_EQ(SaveSettingsFile(app->settingsPath, written), 1);
    EXPECT_EQ(app->LoadSettings(), 1);
    EXPECT_EQ(app->settings, written);
}

TEST_F(StartUpTest, LoadHoldsTheCricketCountToTheSixteenThatExist) {
    app->settingsPath = dir + "/tamberle.sav";
    ChorusSettings written;
    written.cricketCount = 40;
    ASSERT_EQ(SaveSettingsFile(app->settingsPath, written), 1);
    EXPECT_EQ(app->LoadSettings(), 1);
    EXPECT_EQ(app->settings.cricketCount, 16);
}

TEST_F(StartUpTest, RejectedFileLeavesTheSettings) {
    app->settingsPath = dir + "/tamberle.sav";
    std::ofstream(app->settingsPath, std::ios::binary) << "too short";
    app->settings.volume = 42;
    EXPECT_EQ(app->LoadSettings(), 0);
    EXPECT_EQ(app->settings.volume, 42);
    app->settingsPath = dir + "/missing.sav";
    EXPECT_EQ(app->LoadSettings(), 0);
    EXPECT_EQ(app->settings.volume, 42);
}

TEST_F(StartUpTest, SaveWritesTheThirtySixBytes) {
    app->settingsPath = dir + "/tamberle.sav";
    std::ofstream(app->settingsPath, std::ios::binary) << std::string(100, 'x');
    EXPECT_EQ(app->SaveSettings(), 1);
    EXPECT_THAT(FileBytes(app->settingsPath),
                ElementsAre(0xE8, 0x03, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 0x64, 0, 0, 0, 0, 0, 0, 0, 0,
                            0, 0, 0, 0, 0, 0, 0, 0x17, 0, 0, 0, 0x3B, 0, 0, 0));
    EXPECT_TRUE(framework.boxes.empty());
    EXPECT_TRUE(framework.commands.empty());
}

TEST_F(StartUpTest, SaveFailureIsReportedOnceAndAsksToExit) {
    app->settingsPath = dir + "/no such folder/tamberle.sav";
    EXPECT_EQ(app->SaveSettings(), 0);
    ASSERT_EQ(framework.boxes.size(), 1u);
    EXPECT_EQ(framework.boxes[0].first, "Kirorin");
    EXPECT_EQ(framework.boxes[0].second, LoadString(kIdsSettingsSaveFailed));
    EXPECT_THAT(framework.commands, ElementsAre(platform::ID_EXIT));
}

TEST_F(StartUpTest, SaveWithoutAKnownPathFails) {
    app->settingsPath.clear();
    EXPECT_EQ(app->SaveSettings(), 0);
    EXPECT_EQ(framework.boxes.size(), 1u);
}

} // namespace
