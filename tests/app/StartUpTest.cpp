#include "AppTestSupport.h"

#include "platform/InstanceLock.h"

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
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    void TearDown() override {
        app->ShutDown(0);
        ::unsetenv("XDG_RUNTIME_DIR");
        fs::remove_all(dir);
        AppTest::TearDown();
    }

    std::string dir;
};

TEST_F(StartUpTest, InstanceLockAllowsOneHolderAndRefusesASymbolicLink) {
    platform::InstanceLock other;
    ASSERT_TRUE(other.Acquire(CChorusApp::kInstanceLockName));
    // A second instance ends silently, before it even finds its settings file.
    EXPECT_EQ(app->StartUp(), 0);
    EXPECT_EQ(framework.windowsCreated, 0);
    EXPECT_TRUE(framework.boxes.empty());
    EXPECT_TRUE(app->settingsPath.empty());
    EXPECT_EQ(app->ShutDown(7), 7);
    platform::InstanceLock third;
    EXPECT_FALSE(third.Acquire(CChorusApp::kInstanceLockName));
    other.Release();
    EXPECT_TRUE(third.Acquire(CChorusApp::kInstanceLockName));
    third.Release();

    const fs::path target = fs::path(dir) / "elsewhere";
    // The file stays behind after a release; a link put in its place is not followed.
    fs::remove(fs::path(dir) / CChorusApp::kInstanceLockName);
    fs::create_symlink(target, fs::path(dir) / CChorusApp::kInstanceLockName);
    EXPECT_FALSE(third.Acquire(CChorusApp::kInstanceLockName));
    EXPECT_FALSE(fs::exists(target));
}

// Lock, frame, timer, sound device, then the settings: each failure stops what follows.
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
    EXPECT_THAT(framework.boxes, ElementsAre(Box(kIdsMainWindowFailed), Box(kIdsSoundInitFailed)));
    EXPECT_TRUE(framework.commands.empty());
    app->ShutDown(0);
    platform::InstanceLock next;
    EXPECT_TRUE(next.Acquire(CChorusApp::kInstanceLockName));
}

TEST_F(StartUpTest, SettingsThatCannotBeSavedAreReportedAndEndTheProgram) {
    app->settingsPath = dir + "/no such folder/tamberle.sav";
    EXPECT_EQ(app->SaveSettings(), 0);
    EXPECT_THAT(framework.boxes, ElementsAre(Box(kIdsSettingsSaveFailed)));
    EXPECT_THAT(framework.commands, ElementsAre(platform::ID_EXIT));
}

} // namespace
