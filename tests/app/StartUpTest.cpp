#include "AppTestSupport.h"

#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstring>

namespace {

namespace fs = std::filesystem;

// A frame that cannot be made is reported once and stops what follows.
TEST_F(AppTest, AFrameThatCannotBeMadeIsReportedOnceAndEndsTheStartUp) {
    app->ShutDown(0); // lets the lock go
    framework.canCreateWindow = false;
    EXPECT_EQ(app->StartUp(), 0);
    EXPECT_EQ(framework.calls, (Log{"window", std::string(LoadString(kIdsMainWindowFailed))}));
}

// A link put in the lock file's place is not followed, and the failure names the file and its
// cause.
TEST_F(AppTest, InstanceLockRefusesASymbolicLink) {
    const fs::path lock = fs::path(dir) / CChorusApp::kInstanceLockName;
    fs::remove(lock);
    fs::create_symlink(fs::path(dir) / "elsewhere", lock);
    platform::InstanceLock refused;
    EXPECT_FALSE(refused.Acquire(CChorusApp::kInstanceLockName));
    EXPECT_EQ(refused.Failure(), lock.string() + ": " + std::strerror(ELOOP));
    EXPECT_FALSE(fs::exists(fs::path(dir) / "elsewhere"));
}

} // namespace
