#include "platform/LocalTime.h"

#include "platform/Services.h"

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

} // namespace

LocalTimeOfDay LocalTimeNow() {
    const LocalTimeFunction now = Installed().localTime;
    return now != nullptr ? now() : SystemLocalTime();
}

} // namespace platform
