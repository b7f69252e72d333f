#pragma once

#include <cstdint>

namespace platform {

// Blocks the calling thread; tests swap in a recorder so that nothing really waits.
void Sleep(std::uint32_t milliseconds);

using SleepFunction = void (*)(std::uint32_t milliseconds);
// Returns the previous function; nullptr restores the real sleep.
SleepFunction SetSleepFunction(SleepFunction function);

} // namespace platform
