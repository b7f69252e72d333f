#pragma once

#include "platform/Clocks.h"

#include <cstdint>

// A clock that moves only when told to; installed for its lifetime.
class FakeClock final : public platform::ClockSource {
public:
    static constexpr std::int64_t kNanosecondsPerSecond = 1000000000;

    FakeClock() : previous(platform::SetClockSource(this)) {}
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;
    ~FakeClock() override { platform::SetClockSource(previous); }

    std::int64_t CounterFrequency() override { return frequency; }
    std::int64_t CounterValue() override {
        // Split so that the product cannot overflow for any frequency up to 10^9.
        return nanoseconds / kNanosecondsPerSecond * frequency +
               nanoseconds % kNanosecondsPerSecond * frequency / kNanosecondsPerSecond;
    }
    std::uint32_t Milliseconds() override {
        return static_cast<std::uint32_t>(nanoseconds / 1000000) + millisecondOffset;
    }

    void Step(std::int64_t ns) { nanoseconds += ns; }
    void StepMilliseconds(std::int64_t ms) { nanoseconds += ms * 1000000; }
    void StepSeconds(double seconds) {
        nanoseconds += static_cast<std::int64_t>(seconds * kNanosecondsPerSecond);
    }

    std::int64_t nanoseconds = 0;
    // 0 makes the high-resolution counter unavailable.
    std::int64_t frequency = kNanosecondsPerSecond;
    // Added (wrapping) to the millisecond clock, to put it near its wrap.
    std::uint32_t millisecondOffset = 0;

private:
    platform::ClockSource* previous;
};
