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

TEST_F(AppTest, WarinessZeroNeverReadsTheCursorAndNeverDisturbs) {
    app->settings.wariness = 0;
    Tick();
    for (int i = 0; i < 50; ++i) {
        Outside::cursor = {i * 7, i * 3};
        EXPECT_FALSE(NextTickDisturbed()) << i;
    }
    EXPECT_EQ(Outside::CursorReads(), 0);
    EXPECT_EQ(app->quietCountdown, 600);
}

class QuietTime : public AppTest, public ::testing::WithParamInterface<int> {};

TEST_P(QuietTime, LastsWarinessTimes300TicksAfterTheLastMovementThenCalm) {
    const int wariness = GetParam();
    app->settings.wariness = wariness;
    app->settings.cricketCount = 1;
    ASSERT_EQ(app->StartChorus(), 1);
    for (int i = 0; i < 20; ++i) {
        Outside::cursor = {301 + i, 200};
        EXPECT_TRUE(NextTickDisturbed());
        EXPECT_EQ(app->quietCountdown, wariness * 300);
    }
    for (int i = 0; i < wariness * 300; ++i) {
        ASSERT_TRUE(NextTickDisturbed()) << "still tick " << i;
    }
    EXPECT_FALSE(NextTickDisturbed());
    Outside::cursor = {0, 5};
    EXPECT_TRUE(NextTickDisturbed());
}

INSTANTIATE_TEST_SUITE_P(Wariness, QuietTime, ::testing::Values(1, 2, 3));

TEST_F(AppTest, FirstSampleCountsFromTheInitialCountdownOrAsAMovement) {
    struct Case {
        int wariness;
        bool cursorReadable;
        platform::CursorPosition at;
        int disturbedTicks;
    };
    for (const Case& c :
         {Case{1, true, {0, 0}, 600}, Case{3, true, {0, 0}, 600}, Case{1, true, {0, 1}, 1 + 300},
          Case{3, true, {512, 384}, 1 + 900}, Case{1, false, {9, 9}, 600}}) {
        FreshApp();
        app->settings.wariness = c.wariness;
        app->settings.cricketCount = 1;
        Outside::cursor = c.at;
        platform::SetCursorFunction(c.cursorReadable ? Outside::Cursor : nullptr);
        ASSERT_EQ(app->StartChorus(), 1);
        int disturbed = 0;
        while (NextTickDisturbed() && disturbed < 2000) {
            ++disturbed;
        }
        EXPECT_EQ(disturbed, c.disturbedTicks) << c.wariness << " at " << c.at.x << "," << c.at.y;
    }
}

TEST_F(AppTest, WarinessOutsideTheDialogsRangeStaysDefined) {
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

} // namespace
