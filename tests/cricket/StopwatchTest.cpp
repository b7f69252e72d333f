#include "cricket/CPerfCounterStopwatch.h"
#include "cricket/CTickStopwatch.h"
#include "testsupport/FakeClock.h"

#include <gtest/gtest.h>

namespace {

// An odd counter rate, so that counts do not divide into whole milliseconds.
constexpr std::int64_t kFrequency = 3579545;
constexpr std::int64_t kMs = 1000000;

// Seconds per clock millisecond: the millisecond clock's is the single-precision 0.001, widened.
struct PerfKind {
    using Stopwatch = CPerfCounterStopwatch;
    static constexpr double kTick = 0.001;
};
struct TickKind {
    using Stopwatch = CTickStopwatch;
    static constexpr double kTick = 0.001f;
};

template <class Kind> class StopwatchTest : public testing::Test {
protected:
    // Well below the 0.001f-versus-0.001 difference over the spans used here.
    void ExpectElapsed(std::int64_t ms) {
        EXPECT_NEAR(stopwatch.Elapsed(), ms * Kind::kTick, 1e-8);
    }

    FakeClock clock{kFrequency}; // before the stopwatch, which reads the rate when made
    typename Kind::Stopwatch stopwatch;
};

using Kinds = testing::Types<PerfKind, TickKind>;
TYPED_TEST_SUITE(StopwatchTest, Kinds);

// The only readings the crickets take: Reset, then Elapsed as the injected clock moves on, also
// across the wrap of the 32-bit millisecond counter after 49.7 days.
TYPED_TEST(StopwatchTest, FollowsTheInjectedClockAcrossTheMillisecondWrap) {
    this->clock.Step(200 * kMs);
    this->ExpectElapsed(100200); // never reset: the absolute reading
    this->stopwatch.Reset();
    this->clock.Step(1400 * kMs);
    this->ExpectElapsed(1400);
    this->clock.nanoseconds = ((std::int64_t{1} << 32) - 300) * kMs;
    this->stopwatch.Reset();
    this->clock.Step(600 * kMs);
    this->ExpectElapsed(600);
}

TEST(StopwatchChoice, PerfCounterWhenItsFrequencyQuerySucceeds) {
    FakeClock clock;
    EXPECT_NE(dynamic_cast<CPerfCounterStopwatch*>(CreateStopwatch().get()), nullptr);
    clock.frequency = 0;
    EXPECT_NE(dynamic_cast<CTickStopwatch*>(CreateStopwatch().get()), nullptr);
}

} // namespace
