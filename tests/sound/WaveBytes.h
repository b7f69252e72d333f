#pragma once

#include "platform/dsound/dsound.h"

#include <cstdint>
#include <vector>

namespace soundtest {

// A RIFF WAVE file in memory: a 16-byte "fmt " chunk and a "data" chunk.
std::vector<std::uint8_t> WaveFile(const WAVEFORMATEX& format,
                                   const std::vector<std::uint8_t>& data);

} // namespace soundtest
