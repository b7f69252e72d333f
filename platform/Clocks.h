#pragma once

#include <cstdint>

// The two clocks the stopwatches read, shaped like their Windows namesakes. Both come from one
// monotonic source, which tests replace (Services::clock) so that no test depends on real time.
namespace platform {

class ClockSource {
public:
    virtual ~ClockSource() = default;
    // Counts per second of the high-resolution counter; 0 when there is no such counter.
    virtual std::int64_t CounterFrequency() = 0;
    virtual std::int64_t CounterValue() = 0;
    // Milliseconds since an arbitrary start, wrapping after 2^32.
    virtual std::uint32_t Milliseconds() = 0;
};

// Non-zero on success; fails (and writes 0) when there is no high-resolution counter.
int QueryPerformanceFrequency(std::int64_t* frequency);
// Non-zero on success.
int QueryPerformanceCounter(std::int64_t* count);
// Milliseconds of the monotonic clock as an unsigned 32-bit value.
std::uint32_t timeGetTime();

} // namespace platform
