#include "AppTestSupport.h"

namespace {

// From start-up, the disturbed ticks until the first calm one; then, after a spell of movement,
// the quiet time must be exactly wariness × 300 ticks.
TEST_F(AppTest, QuietTimeCountsFromTheFirstSampleAndFromTheLastMovement) {
    // clang-format off
    for (const auto& [wariness, readable, at, firstRun] : {
             std::tuple{0, true, platform::CursorPosition{5, 5}, 0}, {1, true, {0, 0}, 600},
             {3, true, {0, 0}, 600}, {1, true, {0, 1}, 1 + 300}, {2, true, {7, 0}, 1 + 600},
             {3, true, {512, 384}, 1 + 900}, {1, false, {9, 9}, 600}, {-5, true, {0, 1}, 1}}) {
        // clang-format on
        FreshApp();
        app->settings.wariness = wariness;
        app->settings.cricketCount = 1;
        Outside::cursor = at;
        const platform::Override unreadable{
            {.cursor = readable ? nullptr : +[](platform::CursorPosition*) { return false; }}};
        ASSERT_EQ(app->StartChorus(), 1);
        EXPECT_EQ(DisturbedRun(), firstRun) << wariness << " at " << at.x << "," << at.y;
        const int afterMoves = wariness == 0 || !readable ? 0 : 20 + std::max(wariness, 0) * 300;
        EXPECT_EQ(DisturbedRun(20), afterMoves) << wariness;
        // Wariness 0 never even reads the cursor.
        EXPECT_EQ(std::ranges::count(Outside::log, std::string("cursor")) == 0,
                  wariness == 0 || !readable)
            << wariness;
    }
    // Beyond the dialog's range the countdown does not overflow.
    app->settings.wariness = INT32_MAX;
    EXPECT_EQ(DisturbedRun(1), -1);
}

// Where the desktop reports input instead of the pointer (Wayland), the user counts as active
// from "resumed" to "idled", and on one tick for a pair that fell between two ticks; the quiet
// time then runs wariness × 300 ticks, as after the pointer's last movement.
TEST_F(AppTest, ReportedActivityHushesLikeAMovingPointer) {
    struct FakeActivity : platform::UserActivity {
        platform::ActivityFlag flag;
        int asked = 0;
        bool TakeActivity() override { return ++asked, flag.Take(); }
    };
    for (const int wariness : {0, 2}) {
        FreshApp();
        FakeActivity activity;
        app->UseUserActivity(&activity);
        app->settings.wariness = wariness;
        app->settings.cricketCount = 1;
        ASSERT_EQ(app->StartChorus(), 1);
        EXPECT_EQ(DisturbedRun(), wariness == 0 ? 0 : 600);
        activity.flag.Resumed();
        EXPECT_EQ(DisturbedRun(0, 50), wariness == 0 ? 0 : -1);
        activity.flag.Idled();
        EXPECT_EQ(DisturbedRun(), wariness * 300);
        activity.flag.Resumed();
        activity.flag.Idled();
        EXPECT_EQ(DisturbedRun(), wariness == 0 ? 0 : 1 + wariness * 300);
        // Wariness 0 never asks, so a source is never even opened.
        EXPECT_EQ(activity.asked == 0, wariness == 0);
        app->UseUserActivity(nullptr);
    }
}

// Leaving the window ends the tick after the clock test.
TEST_F(AppTest, LeavingTheWindowStopsEveryVoiceAndReenteringStartsThem) {
    app->settings = {1000, 0, 16, 100, 1, 9, 0, 17, 0};
    Outside::now = {17, 0};
    Tick();
    clock.Step(10 * FakeClock::kNanosecondsPerSecond);
    Tick(); // every cricket chirps
    // Fewer crickets in use now: leaving still stops and releases all sixteen.
    app->settings.cricketCount = 4;
    Outside::now = {17, 1};
    Outside::log.clear();
    Tick();
    EXPECT_EQ(std::pair(VoicesHeld(), Outside::log), std::pair(0L, Log{"time"}));

    app->settings.cricketCount = 16;
    Outside::now = {9, 0};
    Tick();
    EXPECT_EQ(VoicesHeld(), 16);
    // Starting while running makes nothing more.
    ASSERT_EQ(app->StartChorus(), 1);
    EXPECT_EQ(std::pair(sound.buffers.size(), framework.calls), std::pair(std::size_t{32}, Log{}));
}

// Start attaches the first cricketCount of the sixteen; each tick then reads the time, the cursor
// and the stopwatch of each attached cricket (while its opening silence lasts), in that order. A
// failure at cricket k keeps what was made so far, is reported once, ends the program and goes no
// further than the gate. Other messages pass untouched.
TEST_F(AppTest, TickRunsGateDetectorAndTheAttachedCricketsOrReportsTheFailureOnce) {
    EXPECT_EQ(std::pair(app->PreviewMessage({nullptr, 0x0201, 0}), Outside::log),
              std::pair(0, Log{}));
    // cricketCount, failing buffer, voices held
    const int cases[][3] = {{1, -1, 1},         {16, -1, 16},        {0, -1, 0}, {-1, -1, 0},
                            {INT32_MIN, -1, 0}, {INT32_MAX, -1, 16}, {8, 5, 5},  {8, 0, 0}};
    for (const auto& [count, failAt, voices] : cases) {
        FreshApp();
        sound.failAt = failAt;
        app->settings.cricketCount = count;
        EXPECT_EQ(Tick(), 1);
        const bool started = failAt < 0;
        const Log failed{Box(kIdsSoundSetupFailed), "command " + std::to_string(platform::ID_EXIT)};
        EXPECT_EQ(std::pair(VoicesHeld(), framework.calls),
                  std::pair(long(voices), started ? Log{} : failed))
            << count;
        Outside::log.clear();
        Tick();
        Log reads{"time", "cursor"};
        reads.resize(started ? 2 + voices : 1, "clock");
        EXPECT_EQ(Outside::log, reads) << count;
    }
}

} // namespace
