#include "AppTestSupport.h"

#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstring>

namespace {

namespace fs = std::filesystem;
using platform::InstanceLock;

// Only another holder is silent; any other failure names the lock file and its cause.
TEST_F(AppTest, InstanceLockAllowsOneHolderAndRefusesASymbolicLink) {
    FreshApp(false);
    InstanceLock other, third;
    ASSERT_TRUE(other.Acquire(CChorusApp::kInstanceLockName));
    // A second instance ends silently.
    EXPECT_EQ(app->StartUp(), 0);
    EXPECT_TRUE(framework.calls.empty());
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

// Frame or sound device: each failure stops what follows, is reported once and lets the lock go.
TEST_F(AppTest, FrameOrSoundFailureIsReportedOnce) {
    FreshApp(false);
    framework.canCreateWindow = false;
    EXPECT_EQ(app->StartUp(), 0);
    app->ShutDown(0);
    framework.canCreateWindow = true;
    {
        const platform::Override noDevice{
            {.createSoundDevice = [](const void*, IDirectSound** out, void*) {
                return *out = nullptr, DSERR_NODRIVER;
            }}};
        EXPECT_EQ(app->StartUp(), 0);
    }
    app->ShutDown(0);
    EXPECT_TRUE(InstanceLock().Acquire(CChorusApp::kInstanceLockName));
    EXPECT_EQ(framework.calls, (Log{"window", Box(kIdsMainWindowFailed), "window", "timer 10",
                                    Box(kIdsSoundInitFailed)}));
}

} // namespace
