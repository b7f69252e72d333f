#pragma once

#include <cstdint>

namespace audio {

struct StereoGain {
    float left;
    float right;
};

// Volume in hundredths of a dB (-10000..0); pan -10000..10000 attenuates the far side by
// |pan| hundredths of a dB on top of the volume. -10000 in all is silence.
StereoGain GainFor(std::int32_t volume, std::int32_t pan);

} // namespace audio
