#pragma once

#include <memory>

// A stopwatch in seconds. Stopped means frozen: every reading then uses the stop reading.
class CStopwatch {
public:
    CStopwatch() = default;
    CStopwatch(const CStopwatch&) = delete;
    CStopwatch& operator=(const CStopwatch&) = delete;
    virtual ~CStopwatch() = default;

    // Base and lap to the current reading; a stopped stopwatch stays stopped.
    virtual void Reset() = 0;
    // Resumes a stopped stopwatch without counting the time it was stopped.
    virtual void Start() = 0;
    virtual void Stop() = 0;
    // Moves a stopped stopwatch on by a tenth of a second.
    virtual void Advance() = 0;
    // Seconds since the last lap mark; sets the mark.
    virtual double Lap() = 0;
    // Seconds since the last Reset; sets the lap mark.
    virtual double Elapsed() = 0;
    // The clock itself in seconds, stopped or not.
    virtual double Now() = 0;
};

// The high-resolution counter when it exists, else the millisecond clock; nullptr only when
// memory runs out.
std::unique_ptr<CStopwatch> CreateStopwatch();
