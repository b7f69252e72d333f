#include "mixer_chorus.h"

#include <cmath>
#include <numbers>

const ChirpRecording& Chirp() {
    // A stand-in with the chirp's shape until the real recording is at hand: 13288 stereo
    // 8-bit frames of a 4.8 kHz tone in pulses.
    static const ChirpRecording chirp = [] {
        ChirpRecording recording;
        constexpr int kFrames = 13288;
        recording.bytes.resize(2 * kFrames);
        for (int i = 0; i < kFrames; ++i) {
            const double t = i / 11025.0;
            const double pulse = std::pow(std::sin(std::numbers::pi * 40.0 * t), 2.0);
            const double value = 100.0 * pulse * std::sin(2.0 * std::numbers::pi * 4800.0 * t);
            recording.bytes[2 * i] = static_cast<std::uint8_t>(128 + std::lround(value));
            recording.bytes[2 * i + 1] = static_cast<std::uint8_t>(128 + std::lround(0.8 * value));
        }
        return recording;
    }();
    return chirp;
}
