#include "platform/Cursor.h"
#include "platform/ExecutablePath.h"
#include "platform/LocalTime.h"
#include "platform/Signals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

TEST(Platform, ExecutablePathIsTheRunningProgramResolved) {
    const std::string path = platform::ExecutablePath();
    EXPECT_EQ(fs::path(path).filename(), "test_app");
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(fs::equivalent(path, "/proc/self/exe"));
}

TEST(Platform, SystemLocalTimeAndNoCursorWithoutAWindowingLayer) {
    platform::SetLocalTimeFunction(nullptr);
    const platform::LocalTimeOfDay now = platform::LocalTimeNow();
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23 && now.minute >= 0 && now.minute <= 59);

    platform::SetCursorFunction(nullptr);
    platform::CursorPosition position{17, 23};
    EXPECT_FALSE(platform::GetCursorPos(&position));
    EXPECT_EQ(position.x, 17);
    EXPECT_EQ(position.y, 23);
}

TEST(Platform, TerminationSignalsArriveOnThePipeInsteadOfEndingTheProcess) {
    const int fd = platform::WatchTerminationSignals();
    ASSERT_GE(fd, 0);
    EXPECT_EQ(platform::WatchTerminationSignals(), fd);
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_EQ(::raise(signalNumber), 0);
        EXPECT_TRUE(platform::DrainTerminationSignals(fd)) << signalNumber;
        EXPECT_FALSE(platform::DrainTerminationSignals(fd)) << signalNumber;
    }
}

} // namespace
