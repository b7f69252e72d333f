#include "settings/SettingsCodec.h"

namespace {

// File order of the fields.
constexpr std::int32_t ChorusSettings::*kFields[] = {
    &ChorusSettings::marker,      &ChorusSettings::wariness,     &ChorusSettings::cricketCount,
    &ChorusSettings::volume,      &ChorusSettings::scheduleMode, &ChorusSettings::startHour,
    &ChorusSettings::startMinute, &ChorusSettings::endHour,      &ChorusSettings::endMinute,
};
static_assert(std::size(kFields) * 4 == kSettingsFileSize);

} // namespace

SettingsBytes EncodeSettings(const ChorusSettings& settings) {
    SettingsBytes bytes{};
    std::size_t at = 0;
    for (const auto field : kFields) {
        const auto value = static_cast<std::uint32_t>(settings.*field);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes[at++] = static_cast<std::uint8_t>(value >> shift);
        }
    }
    return bytes;
}

ChorusSettings DecodeSettings(const SettingsBytes& bytes) {
    ChorusSettings settings;
    std::size_t at = 0;
    for (const auto field : kFields) {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            value |= static_cast<std::uint32_t>(bytes[at++]) << shift;
        }
        settings.*field = static_cast<std::int32_t>(value);
    }
    return settings;
}
