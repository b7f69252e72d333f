#pragma once

namespace platform {

// The local time of day, in the system's time zone.
struct LocalTimeOfDay {
    int hour = 0;
    int minute = 0;
};

LocalTimeOfDay LocalTimeNow();

using LocalTimeFunction = LocalTimeOfDay (*)();
// Returns the previous function; nullptr restores the system clock. Tests set a fixed time.
LocalTimeFunction SetLocalTimeFunction(LocalTimeFunction function);

} // namespace platform
