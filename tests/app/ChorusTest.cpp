#include "AppTestSupport.h"

#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstring>

namespace {

// From start-up, the disturbed ticks until the first calm one; then, after a spell of movement,
// the quiet time must be exactly wariness × 300 ticks. A pointer that cannot be read rests.
// Where the desktop reports input instead of the pointer (Wayland), the user counts as active
// from "resumed" to "idled", and on one tick for a pair that fell between two ticks; the quiet
// time then runs as after the pointer's last movement.
TEST_F(AppTest, QuietTimeCountsFromTheFirstSampleAndFromTheLastMovement) {
    // clang-format off
    for (const auto& [wariness, readable, at, firstRun] : {
             std::tuple{0, true, platform::CursorPosition{5, 5}, 0}, {3, true, {0, 0}, 600},
             {1, true, {0, 1}, 1 + 300}, {2, true, {7, 0}, 1 + 600}, {1, false, {9, 9}, 600},
             {-5, true, {0, 1}, 1}}) {
        // clang-format on
        FreshApp();
        app->settings = {1000, wariness, 1, 100, 0, 0, 0, 23, 59};
        Outside::cursor = at;
        // Ends with the row: the next one reads the pointer again.
        const platform::Override unreadable{
            {.cursor = readable ? nullptr : +[](platform::CursorPosition*) { return false; }}};
        ASSERT_EQ(app->StartChorus(), 1);
        EXPECT_EQ(DisturbedRun(), firstRun) << wariness << " at " << at.x << "," << at.y;
        const int afterMoves = wariness == 0 || !readable ? 0 : 20 + std::max(wariness, 0) * 300;
        EXPECT_EQ(DisturbedRun(20), afterMoves) << wariness;
        // Wariness 0 never asks for the pointer nor the desktop's reports.
        EXPECT_EQ(std::ranges::count(Outside::log, std::string("input")) == 0, wariness == 0)
            << wariness;
    }
    app->settings.wariness = 2;
    outside.reported.Resumed();
    EXPECT_EQ(DisturbedRun(0, 50), -1);
    outside.reported.Idled();
    EXPECT_EQ(DisturbedRun(), 600);
    outside.reported.Resumed(), outside.reported.Idled();
    EXPECT_EQ(DisturbedRun(), 1 + 600);
    // Beyond the dialog's range the countdown does not overflow.
    app->settings.wariness = INT32_MAX;
    EXPECT_EQ(DisturbedRun(1), -1);
}

// Start attaches the first cricketCount of the sixteen; each tick then reads the time, the user's
// input and the stopwatch of each attached cricket (while its opening silence lasts), in that
// order. A failure at cricket k keeps what was made so far, is reported once, ends the program
// and goes no further than the gate. Leaving the activity window ends the tick after the gate
// too, and releases all sixteen voices, also those no longer in use after a settings change.
TEST_F(AppTest, TickRunsGateDetectorAndTheAttachedCricketsOrReportsTheFailureOnce) {
    // cricketCount, failing buffer, voices held
    const int cases[][3] = {{1, -1, 1}, {-1, -1, 0}, {8, 5, 5}, {INT32_MAX, -1, 16}};
    for (const auto& [count, failAt, voices] : cases) {
        FreshApp();
        sound.failAt = failAt;
        app->settings.cricketCount = count;
        EXPECT_EQ(Tick(), 1);
        const Log failed{std::string(LoadString(kIdsSoundSetupFailed)),
                         "cmd " + std::to_string(platform::ID_EXIT)};
        EXPECT_EQ(std::pair(VoicesHeld(), framework.calls),
                  std::pair(long(voices), failAt < 0 ? Log{} : failed))
            << count;
        Outside::log.clear();
        Tick();
        Log reads{"time", "input", "input"};
        reads.resize(failAt < 0 ? 3 + voices : 1, "clock");
        EXPECT_EQ(Outside::log, reads) << count;
    }
    app->settings = {1000, 2, 4, 100, 1, 9, 0, 11, 59}; // it is 12:00
    Outside::log.clear();
    Tick();
    EXPECT_EQ(std::pair(VoicesHeld(), Outside::log), std::pair(0L, Log{"time"}));
}

// A link put in the lock file's place is not followed, and the failure names the file and its
// cause.
TEST_F(AppTest, InstanceLockRefusesASymbolicLink) {
    const std::string lock = dir + "/link";
    std::filesystem::create_symlink(dir + "/elsewhere", lock);
    platform::InstanceLock refused;
    EXPECT_FALSE(refused.Acquire("link"));
    EXPECT_EQ(refused.Failure(), lock + ": " + std::strerror(ELOOP));
    EXPECT_FALSE(std::filesystem::exists(dir + "/elsewhere"));
}

} // namespace
