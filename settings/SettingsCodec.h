#pragma once

#include "settings/ChorusSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The settings file: the nine fields in record order, each a little-endian two's-complement
// 32-bit integer, nothing else.
constexpr std::size_t kSettingsFileSize = 36;
using SettingsBytes = std::array<std::uint8_t, kSettingsFileSize>;

SettingsBytes EncodeSettings(const ChorusSettings& settings);
ChorusSettings DecodeSettings(const SettingsBytes& bytes);
