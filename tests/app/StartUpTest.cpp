#include "AppTestSupport.h"

#include "platform/InstanceLock.h"
#include "res/Strings.h"
#include "settings/SettingsFile.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

HRESULT NoSoundCard(const void*, IDirectSound** directSound, void*) {
    *directSound = nullptr;
    return DSERR_NODRIVER;
}

// The instance lock in a private folder.
class StartUpTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        char pattern[] = "/tmp/kirorin-app-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
        const char* saved = std::getenv("XDG_RUNTIME_DIR");
        savedRuntimeDir = saved ? saved : "";
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    void TearDown() override {
        app->ShutDown(0);
        ::setenv("XDG_RUNTIME_DIR", savedRuntimeDir.c_str(), 1);
        fs::remove_all(dir);
        AppTest::TearDown();
    }

    std::string dir;
    std::string savedRuntimeDir;
};

TEST(SettingsPath, IsBesideTheExecutable) {
    EXPECT_EQ(SettingsPathBeside("/opt/kirorin/kirorin"), "/opt/kirorin/tamberle.sav");
    EXPECT_EQ(SettingsPathBeside("/kirorin"), "/tamberle.sav");
    EXPECT_EQ(SettingsPathBeside(""), "");
}

TEST_F(StartUpTest, SecondInstanceEndsSilentlyWithoutTouchingAnything) {
    platform::InstanceLock other;
    ASSERT_TRUE(other.Acquire(CChorusApp::kInstanceLockName));
    EXPECT_EQ(app->StartUp(), 0);
    EXPECT_EQ(framework.windowsCreated, 0);
    EXPECT_TRUE(framework.boxes.empty());
    EXPECT_TRUE(app->settingsPath.empty());
    EXPECT_EQ(app->ShutDown(7), 7);
    platform::InstanceLock third;
    EXPECT_FALSE(third.Acquire(CChorusApp::kInstanceLockName));
}

TEST_F(StartUpTest, FrameOrSoundThatCannotBeMadeIsReportedAndReleasesTheLock) {
    framework.canCreateWindow = false;
    EXPECT_EQ(app->StartUp(), 0);
    EXPECT_TRUE(framework.timerPeriods.empty());
    app->ShutDown(0);

    framework.canCreateWindow = true;
    const dsound::CreateFunction previous = dsound::SetCreateFunction(NoSoundCard);
    EXPECT_EQ(app->StartUp(), 0);
    dsound::SetCreateFunction(previous);
    EXPECT_THAT(framework.timerPeriods, ElementsAre(10u));
    ASSERT_EQ(framework.boxes.size(), 2u);
    EXPECT_EQ(framework.boxes[0].first, "Kirorin");
    EXPECT_EQ(framework.boxes[0].second, LoadString(kIdsMainWindowFailed));
    EXPECT_EQ(framework.boxes[1].second, LoadString(kIdsSoundInitFailed));
    EXPECT_TRUE(framework.commands.empty());
    app->ShutDown(0);
    platform::InstanceLock next;
    EXPECT_TRUE(next.Acquire(CChorusApp::kInstanceLockName));
}

TEST_F(StartUpTest, SettingsLoadAndSaveThroughTheFileBesideTheProgram) {
    app->settingsPath = dir + "/tamberle.sav";
    ChorusSettings written{1000, 0, 40, -3, 7, 0, 0, 23, 99};
    ASSERT_EQ(SaveSettingsFile(app->settingsPath, written), 1);
    EXPECT_EQ(app->LoadSettings(), 1);
    written.cricketCount = 16;
    EXPECT_EQ(app->settings, written);
    EXPECT_EQ(app->SaveSettings(), 1);
    EXPECT_EQ(fs::file_size(app->settingsPath), 36u);
    EXPECT_TRUE(framework.boxes.empty());

    app->settingsPath = dir + "/no such folder/tamberle.sav";
    EXPECT_EQ(app->LoadSettings(), 0);
    EXPECT_EQ(app->settings, written);
    EXPECT_EQ(app->SaveSettings(), 0);
    ASSERT_EQ(framework.boxes.size(), 1u);
    EXPECT_EQ(framework.boxes[0].second, LoadString(kIdsSettingsSaveFailed));
    EXPECT_THAT(framework.commands, ElementsAre(platform::ID_EXIT));
}

} // namespace
