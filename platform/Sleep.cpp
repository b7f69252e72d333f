#include "platform/Sleep.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {

void RealSleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

SleepFunction current = RealSleep;

} // namespace

void Sleep(std::uint32_t milliseconds) {
    current(milliseconds);
}

SleepFunction SetSleepFunction(SleepFunction function) {
    SleepFunction previous = current;
    current = function ? function : RealSleep;
    return previous;
}

} // namespace platform
