#include "AppTestSupport.h"

#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstring>

namespace {

namespace fs = std::filesystem;
using platform::InstanceLock;

// Another holder of the lock ends start-up silently; a frame or sound device that cannot be made
// is reported once and stops what follows. Each lets the lock go.
TEST_F(AppTest, StartUpEndsSilentlyBesideAnotherInstanceAndReportsEachFailureOnce) {
    FreshApp(false);
    InstanceLock other;
    ASSERT_TRUE(other.Acquire(CChorusApp::kInstanceLockName));
    EXPECT_EQ(app->StartUp(), 0);
    other.Release();
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
    // Once the override ends, the fake device it stood in for serves again.
    sound.primary.reset();
    EXPECT_TRUE(app->StartUp() == 1 && sound.primary);
}

// The lock file stays behind after a release; a link put in its place is not followed, and the
// failure names the file and its cause.
TEST_F(AppTest, InstanceLockRefusesASymbolicLink) {
    FreshApp(false);
    const fs::path lock = fs::path(dir) / CChorusApp::kInstanceLockName;
    fs::remove(lock);
    fs::create_symlink(fs::path(dir) / "elsewhere", lock);
    InstanceLock refused;
    EXPECT_FALSE(refused.Acquire(CChorusApp::kInstanceLockName));
    EXPECT_EQ(refused.Failure(), lock.string() + ": " + std::strerror(ELOOP));
    EXPECT_FALSE(fs::exists(fs::path(dir) / "elsewhere"));
}

} // namespace
