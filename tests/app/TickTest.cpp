#include "AppTestSupport.h"

namespace {

using ::testing::ElementsAre;

TEST_F(AppTest, OnlyTimerMessagesAreTicks) {
    platform::Message other;
    other.message = 0x0201;
    EXPECT_EQ(app->PreviewMessage(other), 0);
    EXPECT_TRUE(Outside::log.empty());
    EXPECT_EQ(app->chorusActive, 0);

    EXPECT_EQ(Tick(), 1);
    EXPECT_EQ(app->chorusActive, 1);
}

TEST_F(AppTest, TickRunsGateThenDetectorThenCrickets) {
    app->settings.cricketCount = 2;
    Tick();
    Outside::log.clear();
    Tick();
    // Each cricket waits out its opening silence on its stopwatch.
    EXPECT_THAT(Outside::log, ElementsAre("time", "cursor", "clock", "clock"));
}

TEST_F(AppTest, ClosedWindowTouchesNeitherDetectorNorCrickets) {
    app->settings.scheduleMode = 1;
    app->settings.startHour = 9;
    app->settings.endHour = 17;
    app->settings.endMinute = 0;
    Outside::now = {8, 0};
    Outside::cursor = {40, 40};
    EXPECT_EQ(Tick(), 1);
    EXPECT_THAT(Outside::log, ElementsAre("time"));
    EXPECT_EQ(app->quietCountdown, 600);
    EXPECT_EQ(app->lastCursorX, 0);
}

TEST_F(AppTest, WarinessZeroNeverReadsTheCursorAndNeverDisturbs) {
    app->settings.wariness = 0;
    Tick();
    for (int i = 0; i < 50; ++i) {
        Outside::cursor = {i * 7, i * 3};
        EXPECT_FALSE(NextTickDisturbed()) << i;
    }
    EXPECT_EQ(Outside::CursorReads(), 0);
    EXPECT_EQ(app->quietCountdown, 600);
    EXPECT_EQ(app->lastCursorX, 0);
    EXPECT_EQ(app->lastCursorY, 0);
}

class QuietTime : public AppTest, public ::testing::WithParamInterface<int> {};

TEST_P(QuietTime, LastsWarinessTimes300TicksAfterTheLastMovement) {
    const int wariness = GetParam();
    app->settings.wariness = wariness;
    app->settings.cricketCount = 1;
    Outside::cursor = {300, 200};
    Tick();
    // A pointer that keeps moving keeps the countdown full.
    for (int i = 0; i < 20; ++i) {
        Outside::cursor = {301 + i, 200};
        EXPECT_TRUE(NextTickDisturbed());
        EXPECT_EQ(app->quietCountdown, wariness * 300);
    }
    for (int i = 0; i < wariness * 300; ++i) {
        ASSERT_TRUE(NextTickDisturbed()) << "still tick " << i;
    }
    EXPECT_EQ(app->quietCountdown, 0);
    EXPECT_FALSE(NextTickDisturbed());
    EXPECT_FALSE(NextTickDisturbed());
    // A new movement starts the quiet time afresh.
    Outside::cursor = {0, 5};
    EXPECT_TRUE(NextTickDisturbed());
    EXPECT_EQ(app->quietCountdown, wariness * 300);
}

INSTANTIATE_TEST_SUITE_P(Wariness, QuietTime, ::testing::Values(1, 2, 3));

class FirstSample : public AppTest {
protected:
    // Disturbed ticks from the first cursor sample on, until the first calm one.
    int DisturbedTicksFromStart(int wariness, platform::CursorPosition at) {
        app->settings.wariness = wariness;
        app->settings.cricketCount = 1;
        Outside::cursor = at;
        EXPECT_EQ(app->StartChorus(), 1);
        int disturbed = 0;
        while (NextTickDisturbed()) {
            if (++disturbed > 2000) {
                break;
            }
        }
        return disturbed;
    }
};

TEST_F(FirstSample, CursorAtOriginRunsTheInitial600Ticks) {
    EXPECT_EQ(DisturbedTicksFromStart(1, {0, 0}), 600);
}

TEST_F(FirstSample, CursorAtOriginWithWariness3AlsoRuns600) {
    EXPECT_EQ(DisturbedTicksFromStart(3, {0, 0}), 600);
}

TEST_F(FirstSample, CursorElsewhereCountsAsAMovement) {
    // The moving tick itself, then wariness × 300.
    EXPECT_EQ(DisturbedTicksFromStart(1, {0, 1}), 1 + 300);
}

TEST_F(FirstSample, CursorElsewhereWithWariness3) {
    EXPECT_EQ(DisturbedTicksFromStart(3, {512, 384}), 1 + 900);
}

TEST_F(AppTest, UnreadableCursorCountsAsAPointerAtRest) {
    app->settings.wariness = 1;
    app->settings.cricketCount = 1;
    platform::SetCursorFunction(nullptr);
    ASSERT_EQ(app->StartChorus(), 1);
    int disturbed = 0;
    while (NextTickDisturbed() && disturbed < 2000) {
        ++disturbed;
    }
    EXPECT_EQ(disturbed, 600);
}

TEST_F(AppTest, NegativeOrHugeWarinessStaysDefined) {
    app->settings.cricketCount = 1;
    ASSERT_EQ(app->StartChorus(), 1);
    app->settings.wariness = -5;
    Outside::cursor = {10, 10};
    EXPECT_TRUE(NextTickDisturbed());
    EXPECT_FALSE(NextTickDisturbed());

    app->settings.wariness = INT32_MAX;
    Outside::cursor = {11, 10};
    EXPECT_TRUE(NextTickDisturbed());
    EXPECT_EQ(app->quietCountdown, std::int64_t{INT32_MAX} * 300);
}

TEST_F(AppTest, OnlyTheFirstCricketCountCrickets) {
    app->settings.cricketCount = 3;
    app->settings.wariness = 0;
    Tick();
    for (CCricket& cricket : app->crickets) {
        cricket.wait = -1.0;
        cricket.chirpsLeft = 4;
        cricket.phrasesLeft = 3;
    }
    Tick();
    int playing = 0;
    for (FakeBuffer* buffer : sound.buffers) {
        playing += buffer->plays;
    }
    EXPECT_EQ(playing, 3);
}

} // namespace
