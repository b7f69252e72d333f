#pragma once

#include "settings/ChorusSettings.h"

#include <algorithm>
#include <cstdint>
#include <optional>

// Uses of the settings fields in arithmetic. The file is not range-checked, so each of these is
// defined for every 32-bit value of the fields it reads.

// Ticks the crickets stay disturbed after the last cursor movement: wariness × 300, exact in 64
// bits (the countdown that takes it must be 64-bit too). A negative wariness gives a negative
// countdown, which counts as already run out: only the ticks that see a movement are disturbed.
constexpr std::int64_t QuietTicks(const ChorusSettings& settings) {
    return std::int64_t{settings.wariness} * 300;
}

// hour × 60 + minute, exact for every pair of 32-bit values.
constexpr std::int64_t MinuteOfDay(std::int32_t hour, std::int32_t minute) {
    return std::int64_t{hour} * 60 + minute;
}

constexpr std::int64_t WindowStartMinute(const ChorusSettings& settings) {
    return MinuteOfDay(settings.startHour, settings.startMinute);
}

constexpr std::int64_t WindowEndMinute(const ChorusSettings& settings) {
    return MinuteOfDay(settings.endHour, settings.endMinute);
}

// Whether the chorus may sing at minute `now` of the day. scheduleMode 0 means all day. Both
// boundary minutes are inside; a start at or after the end runs across midnight, so equal start
// and end cover the whole day.
constexpr bool InsideActivityWindow(const ChorusSettings& settings, std::int64_t now) {
    if (settings.scheduleMode == 0) {
        return true;
    }
    const std::int64_t start = WindowStartMinute(settings);
    const std::int64_t end = WindowEndMinute(settings);
    if (start < end) {
        return start <= now && now <= end;
    }
    return now >= start || now <= end;
}

// How many of the crickets, from the first, take part: cricketCount held to 0..16.
constexpr std::int32_t CricketsToUse(const ChorusSettings& settings) {
    return std::clamp(settings.cricketCount, std::int32_t{0}, kMaxCricketCount);
}

// x truncated toward zero; nothing for NaN, the infinities and values outside int64.
constexpr std::optional<std::int64_t> TruncateTowardZero(double x) {
    // -2^63 is exact in double; 2^63 is the first value past the top.
    constexpr double kLow = -9223372036854775808.0;
    constexpr double kHigh = 9223372036854775808.0;
    if (!(x >= kLow && x < kHigh)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(x);
}

// The single-precision 0.01 (5368709 / 2^29) that the chirp volume is scaled with.
constexpr double kChirpVolumeStep = 0.01f;

// A chirp's volume in hundredths of a decibel for the volume setting and a loudness draw
// (0 to 3000), evaluated in double step by step in this order, as the reference values need.
// About -10000 + volume × (100 - draw / 100). Nothing when the result does not fit the 32-bit
// volume parameter: the caller refuses it like any other out-of-range volume.
constexpr std::optional<std::int32_t> ChirpVolume(std::int32_t volumeSetting,
                                                  std::uint32_t loudnessDraw) {
    const double a = loudnessDraw * kChirpVolumeStep;
    const double b = 100.0 - a;
    double p = volumeSetting * b;
    p = p * kChirpVolumeStep;
    p = p * -100.0;
    // |p| < 2^57 for all 32-bit inputs, so the truncation and the subtraction cannot overflow.
    const std::optional<std::int64_t> truncated = TruncateTowardZero(p);
    if (!truncated) {
        return std::nullopt;
    }
    const std::int64_t volume = -10000 - *truncated;
    if (volume < INT32_MIN || volume > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(volume);
}
