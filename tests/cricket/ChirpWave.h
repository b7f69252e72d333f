#pragma once

#include <cstdint>
#include <vector>

// A mono 16-bit PCM RIFF WAVE of the given length: enough for a voice to hold a recording.
inline std::vector<std::uint8_t> MonoWave16(std::uint32_t frames, std::uint32_t rate) {
    std::vector<std::uint8_t> bytes;
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    };
    auto put16 = [&](std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto tag = [&](const char* text) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(text[i]));
        }
    };

    const std::uint32_t dataBytes = frames * 2;
    tag("RIFF");
    put32(4 + 8 + 16 + 8 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    tag("data");
    put32(dataBytes);
    for (std::uint32_t i = 0; i < frames; ++i) {
        put16(static_cast<std::uint16_t>(i * 37));
    }
    return bytes;
}
