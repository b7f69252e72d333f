#include "platform/LocalTime.h"

#include <ctime>

namespace platform {
namespace {

LocalTimeOfDay SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    if (localtime_r(&now, &parts) == nullptr) {
        return {};
    }
    return {parts.tm_hour, parts.tm_min};
}

LocalTimeFunction current = SystemLocalTime;

} // namespace

LocalTimeOfDay LocalTimeNow() {
    return current();
}

LocalTimeFunction SetLocalTimeFunction(LocalTimeFunction function) {
    LocalTimeFunction previous = current;
    current = function ? function : SystemLocalTime;
    return previous;
}

} // namespace platform
