#pragma once

#include "cricket/CStopwatch.h"

#include <cstdint>

// Reads the high-resolution counter; readings are raw counts.
class CPerfCounterStopwatch final : public CStopwatch {
public:
    CPerfCounterStopwatch();

    void Reset() override;
    void Start() override;
    void Stop() override;
    void Advance() override;
    double Lap() override;
    double Elapsed() override;
    double Now() override;

    std::int64_t lapTime = 0;
    std::int64_t baseTime = 0;
    // 0 while running.
    std::int64_t stopTime = 0;
    // Counts per second, read once at creation.
    std::int64_t frequency = 0;

private:
    std::int64_t Reading() const;
    double Seconds(std::int64_t counts) const;
};
