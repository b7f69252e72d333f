#include "platform/Clocks.h"

#include "platform/Services.h"

#include <ctime>

namespace platform {
namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1000000000;

std::int64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

// CLOCK_MONOTONIC always exists on Linux, so the counter is always there.
class MonotonicClock final : public ClockSource {
public:
    std::int64_t CounterFrequency() override { return kNanosecondsPerSecond; }
    std::int64_t CounterValue() override { return MonotonicNanoseconds(); }
    std::uint32_t Milliseconds() override {
        return static_cast<std::uint32_t>(MonotonicNanoseconds() / 1000000);
    }
};

MonotonicClock monotonicClock;

ClockSource& Clock() {
    ClockSource* installed = Installed().clock;
    return installed != nullptr ? *installed : monotonicClock;
}

} // namespace

int QueryPerformanceFrequency(std::int64_t* frequency) {
    const std::int64_t value = Clock().CounterFrequency();
    if (value <= 0) {
        *frequency = 0;
        return 0;
    }
    *frequency = value;
    return 1;
}

int QueryPerformanceCounter(std::int64_t* count) {
    *count = Clock().CounterValue();
    return 1;
}

std::uint32_t timeGetTime() {
    return Clock().Milliseconds();
}

} // namespace platform
