#include "AppTestSupport.h"

#include "res/Strings.h"

namespace {

using ::testing::ElementsAre;

TEST_F(AppTest, ActivityWindowIncludesBothBoundaryMinutes) {
    struct Case {
        int startHour, startMinute, endHour, endMinute, hour, minute;
        int inside;
    };
    const Case cases[] = {
        {22, 0, 5, 30, 23, 59, 1},
        {22, 0, 5, 30, 0, 0, 1},
        {22, 0, 5, 30, 5, 30, 1},
        {22, 0, 5, 30, 22, 0, 1},
        {22, 0, 5, 30, 5, 31, 0},
        {22, 0, 5, 30, 21, 59, 0},
        {9, 0, 17, 0, 9, 0, 1},
        {9, 0, 17, 0, 17, 0, 1},
        {9, 0, 17, 0, 8, 59, 0},
        {9, 0, 17, 0, 17, 1, 0},
        {8, 0, 8, 0, 7, 59, 1},
        {8, 0, 8, 0, 8, 1, 1},
        {0, 0, 23, 59, 0, 0, 1},
        {0, 0, 23, 59, 23, 59, 1},
        {25, 0, 26, 0, 12, 0, 0},
        // hour × 60 beyond 32 bits: plain arithmetic on minutes.
        {40000000, 0, 23, 59, 12, 0, 1},
        {40000000, 0, 12, 0, 12, 1, 0},
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 12, 0, 1},
    };
    app->settings.scheduleMode = 1;
    for (const Case& c : cases) {
        app->settings.startHour = c.startHour;
        app->settings.startMinute = c.startMinute;
        app->settings.endHour = c.endHour;
        app->settings.endMinute = c.endMinute;
        Outside::now = {c.hour, c.minute};
        EXPECT_EQ(app->CheckActivityWindow(), c.inside)
            << c.startHour << ":" << c.startMinute << "-" << c.endHour << ":" << c.endMinute
            << " at " << c.hour << ":" << c.minute;
        EXPECT_EQ(app->chorusActive, c.inside);
    }
    // Mode 0 ignores the times.
    app->settings.scheduleMode = 0;
    EXPECT_EQ(app->CheckActivityWindow(), 1);
}

TEST_F(AppTest, LeavingTheWindowStopsEveryVoiceAndReenteringStartsThem) {
    app->settings = {1000, 2, 16, 100, 1, 9, 0, 17, 0};
    Outside::now = {17, 0};
    Tick();
    ASSERT_EQ(VoicesHeld(), 16);
    app->crickets[3].voice.Play(0);

    Outside::now = {17, 1};
    Tick();
    EXPECT_EQ(app->chorusActive, 0);
    EXPECT_EQ(VoicesHeld(), 0);
    EXPECT_EQ(app->chirpSource.format, nullptr);
    EXPECT_EQ(app->secondSource.format, nullptr);
    Tick();

    Outside::now = {9, 0};
    Tick();
    EXPECT_EQ(app->chorusActive, 1);
    EXPECT_EQ(VoicesHeld(), 16);
    EXPECT_EQ(sound.created, 32);
    EXPECT_TRUE(framework.boxes.empty());
}

TEST_F(AppTest, StartAttachesTheFirstCricketCountOfTheSixteen) {
    for (const auto& [count, attached] : {std::pair{1, 1},
                                          {4, 4},
                                          {16, 16},
                                          {0, 0},
                                          {-1, 0},
                                          {INT32_MIN, 0},
                                          {17, 16},
                                          {INT32_MAX, 16}}) {
        app->settings.cricketCount = count;
        ASSERT_EQ(app->StartChorus(), 1) << count;
        EXPECT_EQ(app->chorusActive, 1);
        EXPECT_NE(app->secondSource.format, nullptr);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(static_cast<bool>(app->crickets[i].voice.buffer), i < attached) << count;
        }
        // Only attached crickets tick; wariness 0 lets the free ones chirp.
        app->settings.wariness = 0;
        for (CCricket& cricket : app->crickets) {
            cricket.wait = -1.0;
        }
        EXPECT_EQ(Tick(), 1);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(app->crickets[i].voice.IsPlaying(), i < attached ? 1 : 0) << count;
        }
        app->StopChorus();
    }
    EXPECT_TRUE(framework.boxes.empty());
}

TEST_F(AppTest, StartWhileRunningReopensNothingAndStopReleasesAllSixteen) {
    app->StopChorus();
    EXPECT_EQ(app->chorusActive, 0);
    app->settings.cricketCount = 16;
    ASSERT_EQ(app->StartChorus(), 1);
    const WAVEFORMATEX* format = app->chirpSource.format;
    ASSERT_EQ(app->StartChorus(), 1);
    EXPECT_EQ(app->chirpSource.format, format);
    EXPECT_EQ(sound.created, 16);

    app->settings.cricketCount = 4;
    app->StopChorus();
    EXPECT_EQ(VoicesHeld(), 0);
    ASSERT_EQ(app->StartChorus(), 1);
    EXPECT_EQ(VoicesHeld(), 4);
    EXPECT_EQ(sound.created, 20);
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
        ASSERT_EQ(framework.boxes.size(), 1u);
        EXPECT_EQ(framework.boxes[0].first, "Kirorin");
        EXPECT_EQ(framework.boxes[0].second, LoadString(kIdsSoundSetupFailed));
        EXPECT_THAT(framework.commands, ElementsAre(platform::ID_EXIT));
        // The failing tick goes no further than the gate.
        EXPECT_EQ(Outside::CursorReads(), 0);
    }
}

} // namespace
