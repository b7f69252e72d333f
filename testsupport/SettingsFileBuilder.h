#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The nine fields of a settings file in file order; these are the defaults of a fresh start.
using SettingsFields = std::array<std::int32_t, 9>;
constexpr SettingsFields kDefaultSettingsFields{1000, 2, 4, 100, 0, 0, 0, 23, 59};

// Settings-file contents built byte by byte, independently of the program's own encoder: the
// fields little-endian, then cut or padded with `fill` to `length`.
inline std::vector<std::uint8_t>
SettingsFileBytes(const SettingsFields& fields, std::size_t length = 36, std::uint8_t fill = 0xA5) {
    std::vector<std::uint8_t> bytes;
    for (std::int32_t value : fields) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
        }
    }
    bytes.resize(length, fill);
    return bytes;
}
