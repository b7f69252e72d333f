#include "AppTestSupport.h"

#include "platform/InstanceLock.h"
#include "platform/dsound/DirectSoundControl.h"

#include <cerrno>
#include <cstring>

namespace {

namespace fs = std::filesystem;
using platform::InstanceLock;

HRESULT NoSoundCard(const void*, IDirectSound** directSound, void*) {
    *directSound = nullptr;
    return DSERR_NODRIVER;
}

// Only another holder is silent; any other failure names the lock file and its cause.
TEST_F(AppTest, InstanceLockAllowsOneHolderAndRefusesASymbolicLink) {
    InstanceLock other, third;
    ASSERT_TRUE(other.Acquire(CChorusApp::kInstanceLockName));
    // A second instance ends silently, before it even finds its settings file.
    EXPECT_EQ(app->StartUp(), 0);
    EXPECT_TRUE(framework.calls.empty());
    EXPECT_TRUE(app->settingsPath.empty());
    app->ShutDown(0);
    EXPECT_FALSE(third.Acquire(CChorusApp::kInstanceLockName));
    EXPECT_EQ(third.Failure(), "");
    other.Release();
    EXPECT_TRUE(third.Acquire(CChorusApp::kInstanceLockName));
    third.Release();
    // The file stays behind after a release; a link put in its place is not followed.
    fs::remove(fs::path(dir) / CChorusApp::kInstanceLockName);
    fs::create_symlink(fs::path(dir) / "elsewhere", fs::path(dir) / CChorusApp::kInstanceLockName);
    EXPECT_FALSE(third.Acquire(CChorusApp::kInstanceLockName));
    EXPECT_EQ(third.Failure(),
              dir + "/" + CChorusApp::kInstanceLockName + ": " + std::strerror(ELOOP));
    EXPECT_FALSE(fs::exists(fs::path(dir) / "elsewhere"));
}

// Lock, frame, timer, sound device, settings: each failure stops what follows, is reported once
// and lets the lock go.
TEST_F(AppTest, FrameSoundOrSettingsFailureIsReportedOnce) {
    framework.canCreateWindow = false;
    EXPECT_EQ(app->StartUp(), 0);
    app->ShutDown(0);
    framework.canCreateWindow = true;
    const dsound::CreateFunction previous = dsound::SetCreateFunction(NoSoundCard);
    EXPECT_EQ(app->StartUp(), 0);
    dsound::SetCreateFunction(previous);
    app->ShutDown(0);
    EXPECT_TRUE(InstanceLock().Acquire(CChorusApp::kInstanceLockName));

    // A folder that takes no file: the per-user store takes it, and only when that fails too is
    // the failure reported.
    app->settingsPath = dir + "/no such folder/tamberle.sav";
    EXPECT_EQ(app->SaveSettings(), 1);
    EXPECT_EQ(app->settingsPath, dir + "/config/kirorin/tamberle.sav");
    app->settingsPath = dir + "/no such folder/tamberle.sav";
    app->userSettingsPath = dir + "/config/kirorin/tamberle.sav/x.sav";
    EXPECT_EQ(app->SaveSettings(), 0);
    EXPECT_EQ(framework.calls, (std::vector<std::string>{
                                   "window", Box(kIdsMainWindowFailed), "window", "timer 10",
                                   Box(kIdsSoundInitFailed), Box(kIdsSettingsSaveFailed), kExit}));
}

} // namespace
