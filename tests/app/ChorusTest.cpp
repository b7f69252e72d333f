#include "AppTestSupport.h"

namespace {

using ::testing::ElementsAre;

TEST_F(AppTest, TickRunsGateThenDetectorThenTheFirstCricketCountCrickets) {
    platform::Message other;
    other.message = 0x0201;
    EXPECT_EQ(app->PreviewMessage(other), 0);
    EXPECT_TRUE(Outside::log.empty());

    app->settings.cricketCount = 2;
    EXPECT_EQ(Tick(), 1);
    Outside::log.clear();
    Tick();
    // Each ticked cricket reads its stopwatch while its opening silence lasts.
    EXPECT_THAT(Outside::log, ElementsAre("time", "cursor", "clock", "clock"));

    // Outside the window the tick ends after the clock test.
    app->settings.scheduleMode = 1;
    app->settings.startHour = 13;
    Outside::log.clear();
    Outside::cursor = {40, 40};
    EXPECT_EQ(Tick(), 1);
    EXPECT_THAT(Outside::log, ElementsAre("time"));
    EXPECT_EQ(app->lastCursorX, 0);
}

// From start-up, the disturbed ticks until the first calm one; then, after a spell of movement,
// the quiet time must be exactly wariness × 300 ticks.
TEST_F(AppTest, QuietTimeCountsFromTheFirstSampleAndFromTheLastMovement) {
    struct Case {
        int wariness;
        bool cursorReadable;
        platform::CursorPosition at;
        int firstRun;
    };
    for (const Case& c : {Case{0, true, {5, 5}, 0}, Case{1, true, {0, 0}, 600},
                          Case{3, true, {0, 0}, 600}, Case{1, true, {0, 1}, 1 + 300},
                          Case{2, true, {7, 0}, 1 + 600}, Case{3, true, {512, 384}, 1 + 900},
                          Case{1, false, {9, 9}, 600}, Case{-5, true, {0, 1}, 1}}) {
        FreshApp();
        Outside::log.clear();
        app->settings.wariness = c.wariness;
        app->settings.cricketCount = 1;
        Outside::cursor = c.at;
        platform::SetCursorFunction(c.cursorReadable ? Outside::Cursor : nullptr);
        ASSERT_EQ(app->StartChorus(), 1);
        const auto disturbedRun = [this] {
            int run = 0;
            while (NextTickDisturbed() && run < 2000) {
                ++run;
            }
            return run;
        };
        EXPECT_EQ(disturbedRun(), c.firstRun) << c.wariness << " at " << c.at.x << "," << c.at.y;
        if (!c.cursorReadable) {
            continue;
        }
        for (int i = 0; i < 20; ++i) {
            Outside::cursor = {301 + i, 200 - i};
            EXPECT_EQ(NextTickDisturbed(), c.wariness != 0) << c.wariness;
        }
        EXPECT_EQ(disturbedRun(), std::max(c.wariness, 0) * 300) << c.wariness;
        // Wariness 0 never even reads the cursor.
        EXPECT_EQ(Outside::CursorReads() == 0, c.wariness == 0) << c.wariness;
    }
    // Beyond the dialog's range the countdown does not overflow.
    app->settings.wariness = INT32_MAX;
    Outside::cursor = {0, 5};
    EXPECT_TRUE(NextTickDisturbed());
    EXPECT_EQ(app->quietCountdown, std::int64_t{INT32_MAX} * 300);
}

TEST_F(AppTest, ActivityWindowIncludesBothBoundaryMinutes) {
    struct Case {
        int mode, startHour, startMinute, endHour, endMinute, hour, minute, inside;
    };
    const Case cases[] = {
        {1, 22, 0, 5, 30, 23, 59, 1},
        {1, 22, 0, 5, 30, 0, 0, 1},
        {1, 22, 0, 5, 30, 5, 30, 1},
        {1, 22, 0, 5, 30, 22, 0, 1},
        {1, 22, 0, 5, 30, 5, 31, 0},
        {1, 22, 0, 5, 30, 21, 59, 0},
        {1, 9, 0, 17, 0, 9, 0, 1},
        {1, 9, 0, 17, 0, 17, 0, 1},
        {1, 9, 0, 17, 0, 8, 59, 0},
        {1, 9, 0, 17, 0, 17, 1, 0},
        {1, 8, 0, 8, 0, 7, 59, 1},
        {1, 8, 0, 8, 0, 8, 1, 1},
        {1, 0, 0, 23, 59, 0, 0, 1},
        {1, 0, 0, 23, 59, 23, 59, 1},
        {1, 25, 0, 26, 0, 12, 0, 0},
        {0, 9, 0, 17, 0, 8, 59, 1},
        {0, 25, 0, 26, 0, 12, 0, 1},
        // hour × 60 beyond 32 bits: plain arithmetic on minutes.
        {1, 40000000, 0, 23, 59, 12, 0, 1},
        {1, 40000000, 0, 12, 0, 12, 1, 0},
        {1, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 12, 0, 1},
    };
    for (const Case& c : cases) {
        app->settings.scheduleMode = c.mode;
        app->settings.startHour = c.startHour;
        app->settings.startMinute = c.startMinute;
        app->settings.endHour = c.endHour;
        app->settings.endMinute = c.endMinute;
        Outside::now = {c.hour, c.minute};
        EXPECT_EQ(app->CheckActivityWindow(), c.inside)
            << c.mode << " " << c.startHour << ":" << c.startMinute << "-" << c.endHour << ":"
            << c.endMinute << " at " << c.hour << ":" << c.minute;
        EXPECT_EQ(app->chorusActive, c.inside);
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
    EXPECT_EQ(app->chorusActive, 0);
    EXPECT_EQ(VoicesHeld(), 0);
    EXPECT_EQ(app->chirpSource.format, nullptr);
    EXPECT_EQ(app->secondSource.format, nullptr);

    app->settings.cricketCount = 16;
    Outside::now = {9, 0};
    Tick();
    EXPECT_EQ(app->chorusActive, 1);
    EXPECT_EQ(VoicesHeld(), 16);
    // Starting while running opens nothing more.
    const WAVEFORMATEX* format = app->chirpSource.format;
    ASSERT_EQ(app->StartChorus(), 1);
    EXPECT_EQ(app->chirpSource.format, format);
    EXPECT_EQ(sound.created, 32);
    EXPECT_TRUE(framework.boxes.empty());
}

TEST_F(AppTest, StartAttachesTheFirstCricketCountOfTheSixteen) {
    for (const auto& [count, attached] :
         {std::pair{1, 1}, {4, 4}, {16, 16}, {0, 0}, {-1, 0}, {INT32_MIN, 0}, {INT32_MAX, 16}}) {
        app->settings.cricketCount = count;
        ASSERT_EQ(app->StartChorus(), 1) << count;
        EXPECT_NE(app->secondSource.format, nullptr);
        // Only attached crickets tick; wariness 0 lets the free ones chirp.
        app->settings.wariness = 0;
        for (CCricket& cricket : app->crickets) {
            cricket.wait = -1.0;
        }
        EXPECT_EQ(Tick(), 1);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(static_cast<bool>(app->crickets[i].voice.buffer), i < attached) << count;
            EXPECT_EQ(app->crickets[i].voice.IsPlaying(), i < attached ? 1 : 0) << count;
        }
        app->StopChorus();
    }
    EXPECT_TRUE(framework.boxes.empty());
}

TEST_F(AppTest, FailedStartIsReportedOnceAndKeepsWhatWasMade) {
    struct Case {
        int failAt;
        std::uint16_t chirp, second;
        int voices;
        bool secondOpen;
    };
    for (const Case& c : {Case{5, 129, 130, 5, true}, Case{0, 129, 130, 0, true},
                          Case{-1, 129, 999, 0, false}, Case{-1, 999, 130, 0, false}}) {
        FreshApp();
        framework.boxes.clear();
        framework.commands.clear();
        Outside::log.clear();
        sound.created = 0;
        sound.failAt = c.failAt;
        app->chirpResource = c.chirp;
        app->secondResource = c.second;
        app->settings.cricketCount = 8;
        EXPECT_EQ(Tick(), 1);
        EXPECT_EQ(app->chorusActive, 0);
        EXPECT_EQ(VoicesHeld(), c.voices) << c.failAt;
        EXPECT_EQ(app->secondSource.format != nullptr, c.secondOpen);
        EXPECT_THAT(framework.boxes, ElementsAre(Box(kIdsSoundSetupFailed)));
        EXPECT_THAT(framework.commands, ElementsAre(platform::ID_EXIT));
        // The failing tick goes no further than the gate.
        EXPECT_EQ(Outside::CursorReads(), 0);
    }
}

} // namespace
