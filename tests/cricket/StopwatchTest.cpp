#include "FakeClock.h"
#include "cricket/CPerfCounterStopwatch.h"
#include "cricket/CTickStopwatch.h"

#include <gtest/gtest.h>

namespace {

// An odd counter rate: a tenth of it is not whole, and 200 ms is a whole number of counts.
constexpr std::int64_t kFrequency = 3579545;

// Set up before the stopwatch, which reads the counter rate when it is made.
struct OddClock : FakeClock {
    OddClock() {
        frequency = kFrequency;
        nanoseconds = 1000 * kNanosecondsPerSecond;
    }
};
// Well below the 0.001f-versus-0.001 difference over the spans used here.
constexpr double kTolerance = 1e-9;

struct PerfKind {
    using Stopwatch = CPerfCounterStopwatch;
    static double Seconds(std::int64_t ms) { return static_cast<double>(ms) / 1000.0; }
    static constexpr double kThreeAdvances = 3.0 * (kFrequency / 10) / kFrequency;
};

struct TickKind {
    using Stopwatch = CTickStopwatch;
    // The millisecond clock counts in the single-precision 0.001, widened.
    static double Seconds(std::int64_t ms) { return static_cast<double>(ms) * 0.001f; }
    static constexpr double kThreeAdvances = 3.0 * static_cast<double>(0.1f);
};

template <class Kind> class StopwatchTest : public testing::Test {
protected:
    // Moves the clock and checks that Now follows it whatever the stopwatch did.
    void Step(std::int64_t ms) {
        clock.StepMilliseconds(ms);
        EXPECT_NEAR(stopwatch.Now(), Kind::Seconds(clock.nanoseconds / 1000000), kTolerance);
    }
    void ExpectElapsed(std::int64_t ms) {
        EXPECT_NEAR(stopwatch.Elapsed(), Kind::Seconds(ms), kTolerance);
    }

    OddClock clock;
    typename Kind::Stopwatch stopwatch;
};

using Kinds = testing::Types<PerfKind, TickKind>;
TYPED_TEST_SUITE(StopwatchTest, Kinds);

// Now follows the clock throughout (checked by Step) whatever the stopwatch does.
TYPED_TEST(StopwatchTest, FollowsTheInjectedClock) {
    auto& watch = this->stopwatch;
    this->Step(200);
    this->ExpectElapsed(1000200); // never reset: the absolute reading
    watch.Reset();
    this->Step(1400);
    watch.Start(); // Start and Advance leave a running stopwatch alone
    watch.Advance();
    EXPECT_NEAR(watch.Lap(), TypeParam::Seconds(1400), kTolerance);
    this->Step(600);
    this->ExpectElapsed(2000);
    watch.Stop();
    this->Step(5000);
    watch.Stop();
    this->ExpectElapsed(2000); // frozen
    EXPECT_EQ(watch.Lap(), 0.0);
    watch.Start(); // leaves out the time spent stopped
    this->Step(1000);
    this->ExpectElapsed(3000);
    // Reset while stopped holds zero until advanced or started.
    watch.Stop();
    watch.Reset();
    this->Step(3000);
    EXPECT_EQ(watch.Elapsed(), 0.0);
    watch.Advance();
    watch.Advance();
    watch.Advance();
    EXPECT_NEAR(watch.Elapsed(), TypeParam::kThreeAdvances, kTolerance);
    watch.Start();
    this->Step(400);
    EXPECT_NEAR(watch.Elapsed(), TypeParam::kThreeAdvances + TypeParam::Seconds(400), kTolerance);
}

TEST(StopwatchChoice, PerfCounterWhenItsFrequencyQuerySucceeds) {
    FakeClock clock;
    EXPECT_NE(dynamic_cast<CPerfCounterStopwatch*>(CreateStopwatch().get()), nullptr);
    clock.frequency = 0;
    EXPECT_NE(dynamic_cast<CTickStopwatch*>(CreateStopwatch().get()), nullptr);
}

} // namespace
