#include "cricket/CTickStopwatch.h"

#include "platform/Clocks.h"

namespace {

// The single-precision constants of the millisecond clock, widened as they always were.
constexpr double kSecondsPerTick = static_cast<double>(0.001f);
constexpr double kAdvanceStep = static_cast<double>(0.1f);

} // namespace

double CTickStopwatch::Clock() {
    const std::uint32_t ticks = platform::timeGetTime();
    if (ticks < lastTicks) {
        ++wraps;
    }
    lastTicks = ticks;
    const std::uint64_t unwrapped = (wraps << 32) | ticks;
    return static_cast<double>(unwrapped) * kSecondsPerTick;
}

double CTickStopwatch::Reading() {
    return stopTime != 0.0 ? stopTime : Clock();
}

void CTickStopwatch::Reset() {
    const double t = Reading();
    baseTime = t;
    lapTime = t;
}

void CTickStopwatch::Start() {
    if (stopTime == 0.0) {
        return;
    }
    const double now = Clock();
    baseTime += now - stopTime;
    stopTime = 0.0;
    lapTime = now;
}

void CTickStopwatch::Stop() {
    stopTime = Reading();
}

void CTickStopwatch::Advance() {
    if (stopTime != 0.0) {
        stopTime += kAdvanceStep;
    }
}

double CTickStopwatch::Lap() {
    const double t = Reading();
    const double seconds = t - lapTime;
    lapTime = t;
    return seconds;
}

double CTickStopwatch::Elapsed() {
    const double t = Reading();
    lapTime = t;
    return t - baseTime;
}

double CTickStopwatch::Now() {
    return Clock();
}
