#pragma once

#include <cstdint>
#include <vector>

// What the benchmark plays: WAVE 129, 16 voices at pitches spread over 10525..11525 Hz,
// 60 s of 48000 Hz stereo output rendered in 10 ms periods.
struct ChirpRecording {
    int channels = 2;
    int bits = 8;
    int rate = 11025;
    std::vector<std::uint8_t> bytes;
};

const ChirpRecording& Chirp();

constexpr int kVoices = 16;
constexpr int kOutputRate = 48000;
constexpr int kSeconds = 60;
constexpr int kPeriod = 480;

inline int VoicePitch(int voice) {
    return 10525 + voice * 1000 / (kVoices - 1);
}
// A spread of loudness and stereo position like the chorus's.
inline int VoiceVolume(int voice) {
    return -600 - 150 * (voice % 5);
}
inline int VoicePan(int voice) {
    return -1666 + voice * 3332 / (kVoices - 1);
}
