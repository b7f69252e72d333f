#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Builds settings-file contents byte by byte, independently of the program's own encoder: the
// nine fields little-endian, then cut or padded to any length.
class SettingsFileBuilder {
public:
    enum Field {
        Marker,
        Wariness,
        CricketCount,
        Volume,
        ScheduleMode,
        StartHour,
        StartMinute,
        EndHour,
        EndMinute,
        FieldCount
    };

    SettingsFileBuilder& Set(Field field, std::int32_t value) {
        values_[field] = value;
        return *this;
    }

    // The file's length; bytes past the ninth field are `fill`.
    SettingsFileBuilder& Length(std::size_t length, std::uint8_t fill = 0xA5) {
        length_ = length;
        fill_ = fill;
        return *this;
    }

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> bytes;
        for (std::int32_t value : values_) {
            const auto u = static_cast<std::uint32_t>(value);
            bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>((u >> 8) & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>((u >> 16) & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>((u >> 24) & 0xFF));
        }
        bytes.resize(length_, fill_);
        return bytes;
    }

private:
    // The defaults of a fresh start.
    std::int32_t values_[FieldCount] = {1000, 2, 4, 100, 0, 0, 0, 23, 59};
    std::size_t length_ = 36;
    std::uint8_t fill_ = 0xA5;
};
