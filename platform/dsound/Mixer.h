#pragma once

#include "platform/dsound/AudioOutput.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace dsound {

// The mixing side of one secondary buffer. Every field is guarded by the mixer's lock.
struct MixVoice {
    // The buffer's sound at the mix rate, channels interleaved; at least frames long.
    std::vector<float> samples;
    int channels = 1;
    std::uint32_t frames = 0;
    // Next frame to mix.
    std::uint32_t position = 0;
    bool playing = false;
    bool looping = false;
    float leftGain = 1.0f;
    float rightGain = 1.0f;
};

// Adds the playing voices into the output format. Knows nothing of devices: an output pulls
// from Mix on its own thread, the buffers change their voices from the program's thread.
class Mixer : public MixSource {
public:
    Mixer();

    void SetFormat(int rate, int channels) override;
    void Mix(std::int16_t* out, int frames) override;

    int Rate() const;
    void Add(MixVoice* voice);
    void Remove(MixVoice* voice);

    // Held while reading or changing a voice or the voice list.
    std::mutex& Guard() { return guard; }

private:
    void MixVoices(float* stereo, int frames);
    void WriteOutput(const float* stereo, std::int16_t* out, int frames) const;

    mutable std::mutex guard;
    std::vector<MixVoice*> voices;
    int rate = 48000;
    int channels = 2;
    // Stereo scratch for one chunk, made once so that mixing never allocates.
    std::unique_ptr<float[]> scratch;
};

} // namespace dsound
