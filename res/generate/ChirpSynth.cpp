#include "res/generate/ChirpSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The loudness of the whole chirp: a smooth swell, a short hold, an exponential fade.
double ChirpEnvelope(const ChirpShape& shape, double t) {
    if (t < shape.firstPulse) {
        return 0.0;
    }
    if (t < shape.attackEnd) {
        const double x = (t - shape.firstPulse) / (shape.attackEnd - shape.firstPulse);
        return std::pow(std::sin(0.5 * std::numbers::pi * x), 2.0);
    }
    if (t < shape.holdEnd) {
        // A slight sag over the hold, as the wings tire.
        return 1.0 - 0.08 * (t - shape.attackEnd) / (shape.holdEnd - shape.attackEnd);
    }
    return 0.92 * std::exp(-(t - shape.holdEnd) / shape.decayTime);
}

// One wing stroke: a quick rise and a slower fall, peaking a third of the way in.
double PulseEnvelope(double u) {
    if (u <= 0.0 || u >= 1.0) {
        return 0.0;
    }
    return u * (1.0 - u) * (1.0 - u) * 27.0 / 4.0;
}

} // namespace

std::vector<std::uint8_t> SynthesiseChirp(const ChirpShape& shape) {
    std::vector<std::uint8_t> samples(shape.frames);
    const double lastPulseEnd = shape.firstPulse + shape.pulsePeriod * shape.pulseCount;
    double phase = 0.0;
    for (std::uint32_t i = 0; i < shape.frames; ++i) {
        const double t = i / shape.sampleRate;
        double tone = 0.0;
        if (t >= shape.firstPulse && t < lastPulseEnd) {
            const double sincePulse = std::fmod(t - shape.firstPulse, shape.pulsePeriod);
            const double u = sincePulse / shape.pulseLength;
            const double frequency =
                shape.carrierStart + (shape.carrierEnd - shape.carrierStart) * std::min(u, 1.0);
            phase += 2.0 * std::numbers::pi * frequency / shape.sampleRate;
            tone = shape.peak * ChirpEnvelope(shape, t) * PulseEnvelope(u) * std::sin(phase);
        }
        const double value = 128.0 + tone;
        samples[i] = static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
    }
    return samples;
}
