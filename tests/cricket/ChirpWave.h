#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

// A silent mono 16-bit PCM RIFF WAVE of the given length (the header words are little-endian).
inline std::vector<std::uint8_t> MonoWave16(std::uint32_t frames, std::uint32_t rate) {
    const std::uint32_t header[] = {0x46464952, 36 + 2 * frames, 0x45564157, 0x20746D66,
                                    16,         0x00010001,      rate,       2 * rate,
                                    0x00100002, 0x61746164,      2 * frames};
    std::vector<std::uint8_t> bytes(sizeof header + 2 * frames);
    std::memcpy(bytes.data(), header, sizeof header);
    return bytes;
}
