#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

// The whole configuration; stored verbatim, little-endian, as the 36-byte settings file.
struct ChorusSettings {
    std::int32_t marker = 1000;
    std::int32_t wariness = 2;
    std::int32_t cricketCount = 4;
    std::int32_t volume = 100;
    std::int32_t scheduleMode = 0;
    std::int32_t startHour = 0;
    std::int32_t startMinute = 0;
    std::int32_t endHour = 23;
    std::int32_t endMinute = 59;

    friend bool operator==(const ChorusSettings&, const ChorusSettings&) = default;
};

// There are exactly this many crickets; a larger cricketCount is held to it.
constexpr std::int32_t kMaxCricketCount = 16;

static_assert(std::is_trivially_copyable_v<ChorusSettings>);
static_assert(sizeof(ChorusSettings) == 36, "the settings file is exactly this record");
static_assert(offsetof(ChorusSettings, marker) == 0);
static_assert(offsetof(ChorusSettings, wariness) == 4);
static_assert(offsetof(ChorusSettings, cricketCount) == 8);
static_assert(offsetof(ChorusSettings, volume) == 12);
static_assert(offsetof(ChorusSettings, scheduleMode) == 16);
static_assert(offsetof(ChorusSettings, startHour) == 20);
static_assert(offsetof(ChorusSettings, startMinute) == 24);
static_assert(offsetof(ChorusSettings, endHour) == 28);
static_assert(offsetof(ChorusSettings, endMinute) == 32);
