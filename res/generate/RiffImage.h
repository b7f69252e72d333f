#pragma once

// Lays out an 8-bit PCM RIFF WAVE image: "fmt " (16 or 18 bytes), "fact", "data".

#include <cstdint>
#include <vector>

struct RiffLayout {
    std::uint16_t channels;
    std::uint32_t sampleRate;
    bool formatWithExtraCount; // an 18-byte "fmt " chunk whose extra count is 0
};

// frames holds one sample per frame; each is written to every channel.
std::vector<std::uint8_t> BuildRiffImage(const RiffLayout& layout,
                                         const std::vector<std::uint8_t>& frames);
