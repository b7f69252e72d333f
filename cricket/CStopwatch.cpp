#include "cricket/CStopwatch.h"

#include "cricket/CPerfCounterStopwatch.h"
#include "cricket/CTickStopwatch.h"
#include "platform/Clocks.h"

#include <new>

std::unique_ptr<CStopwatch> CreateStopwatch() {
    std::int64_t frequency = 0;
    if (platform::QueryPerformanceFrequency(&frequency)) {
        return std::unique_ptr<CStopwatch>(new (std::nothrow) CPerfCounterStopwatch);
    }
    return std::unique_ptr<CStopwatch>(new (std::nothrow) CTickStopwatch);
}
