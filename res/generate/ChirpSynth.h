#pragma once

// Synthesises a bell cricket's chirp in silence, as 8-bit unsigned samples: outside the pulses
// every sample is the midpoint, so that a large chorus adds no noise bed between its chirps.

#include <cstdint>
#include <vector>

struct ChirpShape {
    double sampleRate;
    std::uint32_t frames;
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
