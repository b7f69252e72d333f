#include "platform/Cursor.h"
#include "platform/ExecutablePath.h"
#include "platform/LocalTime.h"
#include "platform/Signals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

TEST(ExecutablePath, IsTheRunningProgramAbsoluteAndResolved) {
    const std::string path = platform::ExecutablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(fs::path(path).filename(), "test_app");
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_TRUE(fs::equivalent(path, "/proc/self/exe"));
}

TEST(LocalTime, InjectedFunctionIsUsedAndNullRestoresTheSystemClock) {
    const auto fixed = [] { return platform::LocalTimeOfDay{22, 7}; };
    const platform::LocalTimeFunction previous = platform::SetLocalTimeFunction(fixed);
    const platform::LocalTimeOfDay now = platform::LocalTimeNow();
    EXPECT_EQ(now.hour, 22);
    EXPECT_EQ(now.minute, 7);

    EXPECT_EQ(platform::SetLocalTimeFunction(nullptr), +fixed);
    const platform::LocalTimeOfDay system = platform::LocalTimeNow();
    EXPECT_GE(system.hour, 0);
    EXPECT_LE(system.hour, 23);
    EXPECT_GE(system.minute, 0);
    EXPECT_LE(system.minute, 59);
    platform::SetLocalTimeFunction(previous);
}

TEST(Cursor, WithoutAWindowingLayerTheQueryFailsAndLeavesThePosition) {
    const platform::CursorFunction previous = platform::SetCursorFunction(nullptr);
    platform::CursorPosition position{17, 23};
    EXPECT_FALSE(platform::GetCursorPos(&position));
    EXPECT_EQ(position.x, 17);
    EXPECT_EQ(position.y, 23);

    platform::SetCursorFunction([](platform::CursorPosition* p) {
        *p = {-5, 1200};
        return true;
    });
    EXPECT_TRUE(platform::GetCursorPos(&position));
    EXPECT_EQ(position.x, -5);
    EXPECT_EQ(position.y, 1200);
    platform::SetCursorFunction(previous);
}

TEST(Signals, TerminationSignalsArriveOnThePipeInsteadOfEndingTheProcess) {
    const int fd = platform::WatchTerminationSignals();
    ASSERT_GE(fd, 0);
    EXPECT_EQ(platform::WatchTerminationSignals(), fd);
    EXPECT_FALSE(platform::DrainTerminationSignals(fd));

    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_EQ(::raise(signalNumber), 0);
        EXPECT_TRUE(platform::DrainTerminationSignals(fd)) << signalNumber;
        EXPECT_FALSE(platform::DrainTerminationSignals(fd)) << signalNumber;
    }
}

} // namespace
