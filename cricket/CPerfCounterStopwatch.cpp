#include "cricket/CPerfCounterStopwatch.h"

#include "platform/Clocks.h"

namespace {

std::int64_t Counter() {
    std::int64_t count = 0;
    platform::QueryPerformanceCounter(&count);
    return count;
}

} // namespace

CPerfCounterStopwatch::CPerfCounterStopwatch() {
    platform::QueryPerformanceFrequency(&frequency);
}

std::int64_t CPerfCounterStopwatch::Reading() const {
    return stopTime != 0 ? stopTime : Counter();
}

double CPerfCounterStopwatch::Seconds(std::int64_t counts) const {
    return static_cast<double>(counts) / static_cast<double>(frequency);
}

void CPerfCounterStopwatch::Reset() {
    const std::int64_t t = Reading();
    baseTime = t;
    lapTime = t;
}

void CPerfCounterStopwatch::Start() {
    if (stopTime == 0) {
        return;
    }
    const std::int64_t now = Counter();
    baseTime += now - stopTime;
    stopTime = 0;
    lapTime = now;
}

void CPerfCounterStopwatch::Stop() {
    stopTime = Reading();
}

void CPerfCounterStopwatch::Advance() {
    if (stopTime != 0) {
        stopTime += frequency / 10;
    }
}

double CPerfCounterStopwatch::Lap() {
    const std::int64_t t = Reading();
    const double seconds = Seconds(t - lapTime);
    lapTime = t;
    return seconds;
}

double CPerfCounterStopwatch::Elapsed() {
    const std::int64_t t = Reading();
    lapTime = t;
    return Seconds(t - baseTime);
}

double CPerfCounterStopwatch::Now() {
    return Seconds(Counter());
}
