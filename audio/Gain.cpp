#include "audio/Gain.h"

#include <algorithm>
#include <cmath>

namespace audio {
namespace {

float Amplitude(std::int32_t hundredthsOfDb) {
    if (hundredthsOfDb <= -10000) {
        return 0.0f;
    }
    return static_cast<float>(std::pow(10.0, hundredthsOfDb / 2000.0));
}

} // namespace

StereoGain GainFor(std::int32_t volume, std::int32_t pan) {
    return {Amplitude(volume - std::max(pan, 0)), Amplitude(volume - std::max(-pan, 0))};
}

} // namespace audio
