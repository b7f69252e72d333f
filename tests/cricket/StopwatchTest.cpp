#include "FakeClock.h"
#include "cricket/CPerfCounterStopwatch.h"
#include "cricket/CStopwatch.h"
#include "cricket/CTickStopwatch.h"
#include "platform/Clocks.h"

#include <gtest/gtest.h>

namespace {

// The millisecond clock's seconds per tick: the single-precision 0.001, widened.
constexpr double kTickSeconds = 0.0010000000474974513;
// Tolerance well below the 0.001f-versus-0.001 difference over the spans used here.
constexpr double kTolerance = 1e-9;

struct PerfKind {
    using Stopwatch = CPerfCounterStopwatch;
    static double Seconds(std::int64_t ms) { return static_cast<double>(ms) / 1000.0; }
    static double AdvanceStep() { return 0.1; }
};

struct TickKind {
    using Stopwatch = CTickStopwatch;
    static double Seconds(std::int64_t ms) { return static_cast<double>(ms) * kTickSeconds; }
    static double AdvanceStep() { return 0.10000000149011612; }
};

template <class Kind> class StopwatchTest : public testing::Test {
protected:
    StopwatchTest() { clock.nanoseconds = 1000 * FakeClock::kNanosecondsPerSecond; }

    FakeClock clock;
};

using Kinds = testing::Types<PerfKind, TickKind>;
TYPED_TEST_SUITE(StopwatchTest, Kinds);

TYPED_TEST(StopwatchTest, FreshStopwatchReportsTheAbsoluteReading) {
    typename TypeParam::Stopwatch stopwatch;
    this->clock.StepMilliseconds(250);
    EXPECT_NEAR(stopwatch.Elapsed(), TypeParam::Seconds(1000250), kTolerance * 1000);
}

TYPED_TEST(StopwatchTest, ElapsedCountsFromReset) {
    typename TypeParam::Stopwatch stopwatch;
    stopwatch.Reset();
    EXPECT_EQ(stopwatch.Elapsed(), 0.0);
    this->clock.StepMilliseconds(1500);
    EXPECT_NEAR(stopwatch.Elapsed(), TypeParam::Seconds(1500), kTolerance);
    this->clock.StepMilliseconds(10);
    EXPECT_NEAR(stopwatch.Elapsed(), TypeParam::Seconds(1510), kTolerance);
}

TYPED_TEST(StopwatchTest, StoppedStopwatchIsFrozen) {
    typename TypeParam::Stopwatch stopwatch;
    stopwatch.Reset();
    this->clock.StepMilliseconds(2000);
    stopwatch.Stop();
    const double frozen = stopwatch.Elapsed();
    EXPECT_NEAR(frozen, TypeParam::Seconds(2000), kTolerance);
    this->clock.StepMilliseconds(5000);
    EXPECT_EQ(stopwatch.Elapsed(), frozen);
    stopwatch.Stop();
    EXPECT_EQ(stopwatch.Elapsed(), frozen);
    stopwatch.Lap();
    this->clock.StepMilliseconds(700);
    EXPECT_EQ(stopwatch.Lap(), 0.0);
}

TYPED_TEST(StopwatchTest, LapMeasuresFromTheLastMark) {
    typename TypeParam::Stopwatch stopwatch;
    stopwatch.Reset();
    this->clock.StepMilliseconds(300);
    EXPECT_NEAR(stopwatch.Lap(), TypeParam::Seconds(300), kTolerance);
    this->clock.StepMilliseconds(200);
    EXPECT_NEAR(stopwatch.Lap(), TypeParam::Seconds(200), kTolerance);
    this->clock.StepMilliseconds(100);
    // Elapsed also sets the lap mark.
    EXPECT_NEAR(stopwatch.Elapsed(), TypeParam::Seconds(600), kTolerance);
    this->clock.StepMilliseconds(40);
    EXPECT_NEAR(stopwatch.Lap(), TypeParam::Seconds(40), kTolerance);
}

TYPED_TEST(StopwatchTest, StartLeavesOutTheTimeSpentStopped) {
    typename TypeParam::Stopwatch stopwatch;
    stopwatch.Reset();
    this->clock.StepMilliseconds(2000);
    stopwatch.Stop();
    this->clock.StepMilliseconds(5000);
    stopwatch.Start();
    EXPECT_NEAR(stopwatch.Elapsed(), TypeParam::Seconds(2000), kTolerance);
    this->clock.StepMilliseconds(1000);
    EXPECT_NEAR(stopwatch.Elapsed(), TypeParam::Seconds(3000), kTolerance);
}

TYPED_TEST(StopwatchTest, AdvanceMovesAStoppedStopwatchByTenths) {
    typename TypeParam::Stopwatch stopwatch;
    stopwatch.Reset();
    this->clock.StepMilliseconds(1000);
    stopwatch.Stop();
    const double before = stopwatch.Elapsed();
    stopwatch.Advance();
    stopwatch.Advance();
    stopwatch.Advance();
    this->clock.StepMilliseconds(4000);
    EXPECT_NEAR(stopwatch.Elapsed() - before, 3 * TypeParam::AdvanceStep(), kTolerance);
}

TYPED_TEST(StopwatchTest, StartAndAdvanceLeaveARunningStopwatchAlone) {
    typename TypeParam::Stopwatch stopwatch;
    stopwatch.Reset();
    this->clock.StepMilliseconds(800);
    stopwatch.Advance();
    stopwatch.Start();
    EXPECT_NEAR(stopwatch.Elapsed(), TypeParam::Seconds(800), kTolerance);
}

TYPED_TEST(StopwatchTest, ResetWhileStoppedHoldsZeroUntilStarted) {
    typename TypeParam::Stopwatch stopwatch;
    stopwatch.Reset();
    this->clock.StepMilliseconds(1200);
    stopwatch.Stop();
    stopwatch.Reset();
    EXPECT_EQ(stopwatch.Elapsed(), 0.0);
    this->clock.StepMilliseconds(3000);
    EXPECT_EQ(stopwatch.Elapsed(), 0.0);
    stopwatch.Start();
    this->clock.StepMilliseconds(500);
    EXPECT_NEAR(stopwatch.Elapsed(), TypeParam::Seconds(500), kTolerance);
}

TYPED_TEST(StopwatchTest, NowIgnoresEveryOtherOperation) {
    typename TypeParam::Stopwatch stopwatch;
    this->clock.StepMilliseconds(100);
    stopwatch.Stop();
    stopwatch.Advance();
    stopwatch.Reset();
    this->clock.StepMilliseconds(2000);
    EXPECT_NEAR(stopwatch.Now(), TypeParam::Seconds(1002100), kTolerance * 1000);
    stopwatch.Start();
    stopwatch.Reset();
    EXPECT_NEAR(stopwatch.Now(), TypeParam::Seconds(1002100), kTolerance * 1000);
}

TEST(PerfCounterStopwatch, AdvanceAddsATenthOfTheFrequencyTruncated) {
    FakeClock clock;
    clock.frequency = 3579545; // an odd counter rate: a tenth of it is not whole
    clock.nanoseconds = 10 * FakeClock::kNanosecondsPerSecond;
    CPerfCounterStopwatch stopwatch;
    EXPECT_EQ(stopwatch.frequency, 3579545);
    stopwatch.Reset();
    stopwatch.Stop();
    stopwatch.Advance();
    stopwatch.Advance();
    stopwatch.Advance();
    EXPECT_EQ(stopwatch.Elapsed(), 3.0 * 357954 / 3579545);
}

TEST(PerfCounterStopwatch, ReadsSecondsAsCountsOverFrequency) {
    FakeClock clock;
    clock.frequency = 10000000;
    clock.nanoseconds = 5 * FakeClock::kNanosecondsPerSecond;
    CPerfCounterStopwatch stopwatch;
    stopwatch.Reset();
    clock.Step(123456700);
    EXPECT_EQ(stopwatch.Elapsed(), 1234567.0 / 10000000.0);
}

TEST(TickStopwatch, SilenceSpanningTheMillisecondWrapStillEnds) {
    FakeClock clock;
    clock.millisecondOffset = 0xFFFFFFFFu - 1500;
    CTickStopwatch stopwatch;
    stopwatch.Reset();
    clock.StepMilliseconds(1000);
    EXPECT_NEAR(stopwatch.Elapsed(), 1000 * kTickSeconds, kTolerance);
    clock.StepMilliseconds(2000);
    EXPECT_NEAR(stopwatch.Elapsed(), 3000 * kTickSeconds, 1e-6);
}

TEST(StopwatchChoice, CounterPresentGivesThePerfCounterStopwatch) {
    FakeClock clock;
    const std::unique_ptr<CStopwatch> stopwatch = CreateStopwatch();
    ASSERT_NE(stopwatch, nullptr);
    EXPECT_NE(dynamic_cast<CPerfCounterStopwatch*>(stopwatch.get()), nullptr);
}

TEST(StopwatchChoice, NoCounterGivesTheTickStopwatch) {
    FakeClock clock;
    clock.frequency = 0;
    const std::unique_ptr<CStopwatch> stopwatch = CreateStopwatch();
    ASSERT_NE(stopwatch, nullptr);
    EXPECT_NE(dynamic_cast<CTickStopwatch*>(stopwatch.get()), nullptr);
}

TEST(Clocks, MonotonicClockBacksBothCounters) {
    std::int64_t frequency = 0;
    ASSERT_NE(platform::QueryPerformanceFrequency(&frequency), 0);
    EXPECT_EQ(frequency, 1000000000);

    std::int64_t before = 0;
    std::int64_t after = 0;
    platform::QueryPerformanceCounter(&before);
    const std::uint32_t milliseconds = platform::timeGetTime();
    platform::QueryPerformanceCounter(&after);
    EXPECT_LE(before, after);
    // The millisecond clock is the same clock, truncated and taken modulo 2^32.
    const auto low = static_cast<std::uint32_t>(before / 1000000);
    EXPECT_LE(milliseconds - low, static_cast<std::uint32_t>(after / 1000000) - low);
}

TEST(Clocks, FakeSourceReplacesAndRestoresTheRealClock) {
    {
        FakeClock clock;
        clock.nanoseconds = 42 * FakeClock::kNanosecondsPerSecond;
        clock.frequency = 0;
        std::int64_t frequency = 1;
        EXPECT_EQ(platform::QueryPerformanceFrequency(&frequency), 0);
        EXPECT_EQ(frequency, 0);
        EXPECT_EQ(platform::timeGetTime(), 42000u);
    }
    std::int64_t frequency = 0;
    EXPECT_NE(platform::QueryPerformanceFrequency(&frequency), 0);
}

} // namespace
