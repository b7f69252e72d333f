#pragma once

// Synthesises a bell cricket's chirp over background hiss, as 8-bit unsigned samples.

#include <cstdint>
#include <vector>

struct ChirpShape {
    double sampleRate;
    std::uint32_t frames;
    std::uint32_t seed;  // the hiss is pseudo-random but the same on every build
    double hissSigma;    // standard deviation of the hiss, in sample steps
    double hissLimit;    // the hiss never goes further than this from the midpoint
    double carrierStart; // each pulse glides down from this frequency (Hz)...
    double carrierEnd;   // ...to this one
    double firstPulse;   // seconds
    double pulsePeriod;  // seconds from one pulse to the next
    double pulseLength;  // seconds a pulse sounds; the rest of the period is a gap
    int pulseCount;
    double attackEnd; // the chirp swells until here...
    double holdEnd;   // ...stays near full until here...
    double decayTime; // ...then fades with this time constant (s)
    double peak;      // amplitude of the loudest pulse, in sample steps
};

// One frame per sample; the same values serve every channel.
std::vector<std::uint8_t> SynthesiseChirp(const ChirpShape& shape);
