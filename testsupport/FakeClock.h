#pragma once

#include "platform/Services.h"

#include <cstdint>

// A clock that moves only when told to; installed for its lifetime.
class FakeClock : public platform::ClockSource {
public:
    static constexpr std::int64_t kNanosecondsPerSecond = 1000000000;

    explicit FakeClock(std::int64_t counterFrequency = kNanosecondsPerSecond)
        : frequency(counterFrequency) {}

    std::int64_t CounterFrequency() override { return frequency; }
    std::int64_t CounterValue() override {
        return static_cast<std::int64_t>(__int128{nanoseconds} * frequency / kNanosecondsPerSecond);
    }
    std::uint32_t Milliseconds() override {
        return static_cast<std::uint32_t>(nanoseconds / 1000000);
    }

    void Step(std::int64_t ns) { nanoseconds += ns; }

    std::int64_t nanoseconds = 100 * kNanosecondsPerSecond;
    // 0 makes the high-resolution counter unavailable.
    std::int64_t frequency;

private:
    platform::Override installed{{.clock = this}};
};
