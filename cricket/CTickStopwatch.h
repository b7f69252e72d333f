#pragma once

#include "cricket/CStopwatch.h"

#include <cstdint>

// Reads the millisecond clock; readings are seconds.
class CTickStopwatch final : public CStopwatch {
public:
    void Reset() override;
    void Start() override;
    void Stop() override;
    void Advance() override;
    double Lap() override;
    double Elapsed() override;
    double Now() override;

    double lapTime = 0.0;
    double baseTime = 0.0;
    // Exactly 0.0 while running.
    double stopTime = 0.0;

private:
    double Reading();
    double Clock();

    // The millisecond clock wraps after about 49.7 days; counting the wraps keeps the readings
    // increasing, so a silence that spans a wrap still ends.
    std::uint32_t lastTicks = 0;
    std::uint64_t wraps = 0;
};
