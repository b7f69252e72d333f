#include "cricket/CPerfCounterStopwatch.h"
#include "cricket/CTickStopwatch.h"
#include "testsupport/FakeClock.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kMs = 1000000;

// The only readings the crickets take: Reset, then Elapsed as the injected clock moves on, also
// across the wrap of the 32-bit millisecond counter after 49.7 days. The millisecond clock counts
// each millisecond as the single-precision 0.001, widened.
TEST(Stopwatch, BothFollowTheInjectedClockAcrossTheMillisecondWrap) {
    FakeClock clock{3579545}; // an odd counter rate: counts are no whole milliseconds
    CPerfCounterStopwatch perf;
    CTickStopwatch tick;
    // Well below the 0.001f-versus-0.001 difference over the spans used here.
    const auto expectElapsed = [&](std::int64_t ms) {
        EXPECT_NEAR(perf.Elapsed(), ms * 0.001, 1e-8);
        EXPECT_NEAR(tick.Elapsed(), ms * double(0.001f), 1e-8);
    };
    clock.Step(200 * kMs);
    expectElapsed(100200); // never reset: the absolute reading
    perf.Reset();
    tick.Reset();
    clock.Step(1400 * kMs);
    expectElapsed(1400);
    clock.nanoseconds = ((std::int64_t{1} << 32) - 300) * kMs;
    perf.Reset();
    tick.Reset();
    clock.Step(600 * kMs);
    expectElapsed(600);
}

TEST(StopwatchChoice, PerfCounterWhenItsFrequencyQuerySucceeds) {
    FakeClock clock;
    EXPECT_NE(dynamic_cast<CPerfCounterStopwatch*>(CreateStopwatch().get()), nullptr);
    clock.frequency = 0;
    EXPECT_NE(dynamic_cast<CTickStopwatch*>(CreateStopwatch().get()), nullptr);
}

} // namespace
