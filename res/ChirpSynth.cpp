#include "res/ChirpSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

// Gaussian hiss made from the generator's raw output (Box-Muller), so that it does not depend
// on how a standard library implements its distributions.
class Hiss {
public:
    Hiss(std::uint32_t seed, double standardDeviation, double largest)
        : engine(seed), sigma(standardDeviation), limit(largest) {}

    double Next() {
        if (haveSpare) {
            haveSpare = false;
            return Clamp(spare);
        }
        const double u1 = (static_cast<double>(engine()) + 1.0) / 4294967296.0;
        const double u2 = static_cast<double>(engine()) / 4294967296.0;
        const double radius = std::sqrt(-2.0 * std::log(u1)) * sigma;
        const double angle = 2.0 * std::numbers::pi * u2;
        spare = radius * std::sin(angle);
        haveSpare = true;
        return Clamp(radius * std::cos(angle));
    }

private:
    double Clamp(double value) const { return std::clamp(value, -limit, limit); }

    std::mt19937 engine;
    double sigma;
    double limit;
    double spare = 0.0;
    bool haveSpare = false;
};

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
    Hiss hiss(shape.seed, shape.hissSigma, shape.hissLimit);
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
        const double value = 128.0 + tone + hiss.Next();
        samples[i] = static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
    }
    return samples;
}
