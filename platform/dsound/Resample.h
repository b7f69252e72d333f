#pragma once

#include <cstdint>
#include <vector>

namespace dsound {

// Frames a buffer of sourceFrames lasts at the mix rate when played at frequency: never 0.
std::uint32_t MixFrames(std::uint32_t sourceFrames, std::uint32_t frequency, int mixRate);

// Turns PCM bytes (8-bit unsigned or 16-bit signed little-endian, interleaved) played at
// frequency into exactly `frames` float frames at mixRate, band-limited.
void ResamplePcm(const std::uint8_t* bytes, std::uint32_t sourceFrames, int channels, int bits,
                 std::uint32_t frequency, int mixRate, std::uint32_t frames,
                 std::vector<float>& out);

} // namespace dsound
