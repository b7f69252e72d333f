#pragma once

#include "audio/Mixer.h"

#include <cstdint>

namespace audio {

// Frames a buffer of sourceFrames lasts at the mix rate when played at frequency: at least 1,
// or 0 when the length does not fit in 32 bits.
std::uint32_t MixFrames(std::uint32_t sourceFrames, std::uint32_t frequency, int mixRate);

// Turns the first `channels` channels of PCM bytes (8-bit unsigned or 16-bit signed
// little-endian, sourceChannels interleaved) played at frequency into exactly `frames` frames at
// mixRate, band-limited. Throws std::bad_alloc when memory runs out.
Samples ResamplePcm(const std::uint8_t* bytes, std::uint32_t sourceFrames, int sourceChannels,
                    int channels, int bits, std::uint32_t frequency, int mixRate,
                    std::uint32_t frames);

// Whether every frame of interleaved stereo PCM has the same value in both channels.
bool SameChannels(const std::uint8_t* bytes, std::uint32_t frames, int bits);

} // namespace audio
