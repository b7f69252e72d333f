#include "AppTestSupport.h"

namespace {

using Log = std::vector<std::string>;

TEST_F(AppTest, TickRunsGateThenDetectorThenTheFirstCricketCountCrickets) {
    EXPECT_EQ(app->PreviewMessage({nullptr, 0x0201, 0}), 0);
    EXPECT_TRUE(Outside::log.empty());

    app->settings.cricketCount = 2;
    EXPECT_EQ(Tick(), 1);
    Outside::log.clear();
    Tick();
    // Each ticked cricket reads its stopwatch while its opening silence lasts.
    EXPECT_EQ(Outside::log, (Log{"time", "cursor", "clock", "clock"}));

    // Outside the window the tick ends after the clock test.
    app->settings = {1000, 2, 2, 100, 1, 13, 0, 23, 59};
    Outside::log.clear();
    Outside::cursor = {40, 40};
    EXPECT_EQ(Tick(), 1);
    EXPECT_EQ(Outside::log, Log{"time"});
    EXPECT_EQ(app->lastCursorX, 0);
}

// From start-up, the disturbed ticks until the first calm one; then, after a spell of movement,
// the quiet time must be exactly wariness × 300 ticks.
TEST_F(AppTest, QuietTimeCountsFromTheFirstSampleAndFromTheLastMovement) {
    const auto disturbedRun = [this] {
        int run = 0;
        while (NextTickDisturbed() && run < 2000 && ++run) {
        }
        return run;
    };
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
        platform::SetCursorFunction(readable ? Outside::Cursor : nullptr);
        ASSERT_EQ(app->StartChorus(), 1);
        EXPECT_EQ(disturbedRun(), firstRun) << wariness << " at " << at.x << "," << at.y;
        for (int i = 0; readable && i < 20; ++i) {
            Outside::cursor = {301 + i, 200 - i};
            EXPECT_EQ(NextTickDisturbed(), wariness != 0) << wariness;
        }
        EXPECT_EQ(disturbedRun(), readable ? std::max(wariness, 0) * 300 : 0) << wariness;
        // Wariness 0 never even reads the cursor.
        EXPECT_EQ(Outside::CursorReads() == 0, wariness == 0 || !readable) << wariness;
    }
    // Beyond the dialog's range the countdown does not overflow.
    app->settings.wariness = INT32_MAX;
    Outside::cursor = {0, 5};
    EXPECT_TRUE(NextTickDisturbed());
    EXPECT_EQ(app->quietCountdown, std::int64_t{INT32_MAX} * 300);
}

// Where the desktop reports input instead of the pointer (Wayland), the user counts as active
// from "resumed" to "idled", and on one tick for a pair that fell between two ticks; the quiet
// time then runs wariness × 300 ticks, as after the pointer's last movement.
TEST_F(AppTest, ReportedActivityHushesLikeAMovingPointer) {
    struct FakeActivity : platform::UserActivity {
        platform::ActivityFlag flag;
        int asked = 0;
        bool TakeActivity() override { return ++asked, flag.Take(); }
    } activity;
    const auto disturbedRun = [this] {
        int run = 0;
        while (NextTickDisturbed() && run < 2000 && ++run) {
        }
        return run;
    };
    for (const int wariness : {0, 2}) {
        FreshApp();
        app->userActivity = &activity;
        activity.flag = {};
        activity.asked = 0;
        app->settings.wariness = wariness;
        app->settings.cricketCount = 1;
        ASSERT_EQ(app->StartChorus(), 1);
        EXPECT_EQ(disturbedRun(), wariness == 0 ? 0 : 600);

        activity.flag.Resumed();
        for (int i = 0; i < 50; ++i) {
            EXPECT_EQ(NextTickDisturbed(), wariness != 0);
        }
        activity.flag.Idled();
        EXPECT_EQ(disturbedRun(), wariness * 300);
        activity.flag.Resumed();
        activity.flag.Idled();
        EXPECT_EQ(disturbedRun(), wariness == 0 ? 0 : 1 + wariness * 300);
        // Wariness 0 never asks, so a source is never even opened.
        EXPECT_EQ(activity.asked == 0, wariness == 0);
    }
    app->userActivity = nullptr;
}

TEST_F(AppTest, ActivityWindowIncludesBothBoundaryMinutes) {
    // mode, start hour:minute, end hour:minute, now hour:minute, inside
    const int cases[][8] = {
        // clang-format off
        {1, 22, 0, 5, 30, 23, 59, 1}, {1, 22, 0, 5, 30, 0, 0, 1}, {1, 22, 0, 5, 30, 5, 30, 1},
        {1, 22, 0, 5, 30, 22, 0, 1}, {1, 22, 0, 5, 30, 5, 31, 0}, {1, 22, 0, 5, 30, 21, 59, 0},
        {1, 9, 0, 17, 0, 9, 0, 1}, {1, 9, 0, 17, 0, 17, 0, 1}, {1, 9, 0, 17, 0, 8, 59, 0},
        {1, 9, 0, 17, 0, 17, 1, 0}, {1, 8, 0, 8, 0, 7, 59, 1}, {1, 8, 0, 8, 0, 8, 1, 1},
        {1, 0, 0, 23, 59, 0, 0, 1}, {1, 0, 0, 23, 59, 23, 59, 1}, {1, 25, 0, 26, 0, 12, 0, 0},
        {0, 9, 0, 17, 0, 8, 59, 1}, {0, 25, 0, 26, 0, 12, 0, 1},
        // clang-format on
    };
    for (const auto& [mode, startHour, startMinute, endHour, endMinute, hour, minute, inside] :
         cases) {
        app->settings = {1000, 2, 4, 100, mode, startHour, startMinute, endHour, endMinute};
        Outside::now = {hour, minute};
        EXPECT_EQ(app->CheckActivityWindow(), inside)
            << mode << " " << startHour << ":" << startMinute << "-" << endHour << ":" << endMinute
            << " at " << hour << ":" << minute;
        EXPECT_EQ(app->chorusActive, inside);
    }
}

TEST_F(AppTest, LeavingTheWindowStopsEveryVoiceAndReenteringStartsThem) {
    app->settings = {1000, 2, 16, 100, 1, 9, 0, 17, 0};
    Outside::now = {17, 0};
    Tick();
    ASSERT_EQ(VoicesHeld(), 16);
    app->crickets[3].voice.Play(0);
    // Fewer crickets in use now: leaving still releases all sixteen.
    app->settings.cricketCount = 4;
    Outside::now = {17, 1};
    Tick();
    const WAVEFORMATEX* none = nullptr;
    EXPECT_EQ(std::tuple(app->chorusActive, VoicesHeld(), app->chirpSource.format,
                         app->secondSource.format),
              std::tuple(0, 0L, none, none));

    app->settings.cricketCount = 16;
    Outside::now = {9, 0};
    Tick();
    EXPECT_EQ(std::pair(app->chorusActive, VoicesHeld()), std::pair(1, 16L));
    // Starting while running opens nothing more.
    const WAVEFORMATEX* format = app->chirpSource.format;
    ASSERT_EQ(app->StartChorus(), 1);
    EXPECT_EQ(std::tuple(app->chirpSource.format, sound.buffers.size(), framework.calls),
              std::tuple(format, 32u, Log{}));
}

// Start attaches the first cricketCount of the sixteen, and only they tick; a failure at cricket k
// or at a recording keeps what was made so far, is reported once and ends the program.
TEST_F(AppTest, StartAttachesTheFirstCricketCountOrReportsTheFailureOnce) {
    // cricketCount, failing buffer, chirp and second recording, voices held
    const int cases[][5] = {
        // clang-format off
        {1, -1, 129, 130, 1}, {16, -1, 129, 130, 16}, {0, -1, 129, 130, 0},
        {-1, -1, 129, 130, 0}, {INT32_MIN, -1, 129, 130, 0}, {INT32_MAX, -1, 129, 130, 16},
        {8, 5, 129, 130, 5}, {8, 0, 129, 130, 0}, {8, -1, 129, 999, 0}, {8, -1, 999, 130, 0},
        // clang-format on
    };
    for (const auto& [count, failAt, chirp, second, voices] : cases) {
        FreshApp();
        sound.failAt = failAt;
        app->chirpResource = static_cast<std::uint16_t>(chirp);
        app->secondResource = static_cast<std::uint16_t>(second);
        app->settings.cricketCount = count;
        EXPECT_EQ(Tick(), 1);
        const bool started = failAt < 0 && chirp == 129 && second == 130;
        const Log failed{Box(kIdsSoundSetupFailed), kExit};
        EXPECT_EQ(std::tuple(app->chorusActive, app->secondSource.format != nullptr, VoicesHeld(),
                             framework.calls),
                  std::tuple(started ? 1 : 0, chirp == 129 && second == 130, long(voices),
                             started ? Log{} : failed))
            << count;
        // A failing tick goes no further than the gate.
        EXPECT_EQ(Outside::CursorReads() > 0, started) << count;
        // Only the attached crickets tick; wariness 0 lets them all chirp at once.
        app->settings.wariness = 0;
        for (CCricket& cricket : app->crickets) {
            cricket.wait = -1.0;
        }
        Tick();
        for (int i = 0; started && i < 16; ++i) {
            EXPECT_EQ(app->crickets[i].voice.IsPlaying(), i < voices) << count << " " << i;
        }
    }
}

} // namespace
