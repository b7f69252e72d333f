#pragma once

namespace platform {

// The local time of day, in the system's time zone.
struct LocalTimeOfDay {
    int hour = 0;
    int minute = 0;
};

LocalTimeOfDay LocalTimeNow();

// Tests set a fixed time (Services::localTime).
using LocalTimeFunction = LocalTimeOfDay (*)();

} // namespace platform
