#include "cricket/CPerfCounterStopwatch.h"
#include "cricket/CTickStopwatch.h"
#include "testsupport/FakeClock.h"

#include <gtest/gtest.h>

namespace {

// An odd counter rate: a tenth of it is not whole, and 200 ms is a whole number of counts.
constexpr std::int64_t kFrequency = 3579545;

// Seconds per clock millisecond and per Advance; the millisecond clock's are the
// single-precision 0.001 and 0.1, widened.
struct PerfKind {
    using Stopwatch = CPerfCounterStopwatch;
    static constexpr double kTick = 0.001, kAdvance = double(kFrequency / 10) / kFrequency;
};
struct TickKind {
    using Stopwatch = CTickStopwatch;
    static constexpr double kTick = 0.001f, kAdvance = 0.1f;
};

template <class Kind> class StopwatchTest : public testing::Test {
protected:
    // Moves the clock and checks that Now follows it whatever the stopwatch did.
    void Step(std::int64_t ms) {
        clock.Step(ms * 1000000);
        EXPECT_NEAR(stopwatch.Now(), clock.nanoseconds / 1000000 * Kind::kTick, 1e-9);
    }
    // Well below the 0.001f-versus-0.001 difference over the spans used here.
    void ExpectElapsed(std::int64_t ms, int advances = 0) {
        EXPECT_NEAR(stopwatch.Elapsed(), ms * Kind::kTick + advances * Kind::kAdvance, 1e-9);
    }

    FakeClock clock{kFrequency}; // before the stopwatch, which reads the rate when made
    typename Kind::Stopwatch stopwatch;
};

using Kinds = testing::Types<PerfKind, TickKind>;
TYPED_TEST_SUITE(StopwatchTest, Kinds);

TYPED_TEST(StopwatchTest, FollowsTheInjectedClock) {
    this->Step(200);
    this->ExpectElapsed(100200); // never reset: the absolute reading
    this->stopwatch.Reset();
    this->Step(1400);
    this->stopwatch.Start(); // Start and Advance leave a running stopwatch alone
    this->stopwatch.Advance();
    this->ExpectElapsed(1400);
    this->Step(600);
    this->stopwatch.Stop();
    this->Step(5000);
    this->stopwatch.Stop();
    this->ExpectElapsed(2000); // frozen
    this->stopwatch.Start();   // leaves out the time spent stopped
    this->Step(1000);
    this->ExpectElapsed(3000);
    // Reset while stopped holds zero until advanced or started.
    this->stopwatch.Stop();
    this->stopwatch.Reset();
    this->Step(3000);
    EXPECT_EQ(this->stopwatch.Elapsed(), 0.0);
    this->stopwatch.Advance();
    this->stopwatch.Advance();
    this->stopwatch.Advance();
    this->ExpectElapsed(0, 3);
    this->stopwatch.Start();
    this->Step(400);
    this->ExpectElapsed(400, 3);
}

TEST(StopwatchChoice, PerfCounterWhenItsFrequencyQuerySucceeds) {
    FakeClock clock;
    EXPECT_NE(dynamic_cast<CPerfCounterStopwatch*>(CreateStopwatch().get()), nullptr);
    clock.frequency = 0;
    EXPECT_NE(dynamic_cast<CTickStopwatch*>(CreateStopwatch().get()), nullptr);
}

} // namespace
