#pragma once

#include "audio/AudioOutput.h"
#include "audio/ThreadSafety.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace audio {

// A voice's sound at the mix rate, channels interleaved. 16 bits keep 98 dB of range, more
// than the recordings hold, in half the memory of float.
using Samples = std::vector<std::int16_t>;

struct VoiceStatus {
    bool playing = false;
    bool looping = false;
    // Next frame to mix, and the voice's length, at the mix rate.
    std::uint32_t position = 0;
    std::uint32_t frames = 0;
};

// Adds the playing voices into the output format. Knows nothing of devices: an output pulls
// from Mix on its own thread; the program's thread changes voices only through the calls below,
// each of which takes the mixer's lock for a few field writes.
class Mixer : public MixSource {
public:
    using VoiceId = std::size_t;

    Mixer();

    void SetFormat(int rate, int channels) override EXCLUDES(guard);
    void Mix(std::int16_t* out, int frames) override EXCLUDES(guard);
    int Rate() const EXCLUDES(guard);
    // Frames mixed since a voice last played (since the format was set, if none has).
    std::uint64_t SilentFrames() const EXCLUDES(guard);

    // A stopped voice with no sound yet, `frames` long.
    VoiceId AddVoice(int channels, std::uint32_t frames) EXCLUDES(guard);
    void RemoveVoice(VoiceId voice) EXCLUDES(guard);
    void Start(VoiceId voice, bool looping) EXCLUDES(guard);
    void Stop(VoiceId voice) EXCLUDES(guard);
    VoiceStatus Status(VoiceId voice) const EXCLUDES(guard);
    void SetGains(VoiceId voice, float left, float right) EXCLUDES(guard);
    // Held below the voice's length.
    void SetPosition(VoiceId voice, std::uint32_t frame) EXCLUDES(guard);
    // A new length; the position keeps its place relative to it. A voice whose samples do not
    // cover its length stops and cannot play until Replace gives it enough.
    void Resize(VoiceId voice, std::uint32_t frames) EXCLUDES(guard);
    // A new sound (of 1 or 2 channels) and length. Returns the old samples, for the caller to
    // free outside the lock.
    Samples Replace(VoiceId voice, int channels, std::uint32_t frames, Samples samples)
        EXCLUDES(guard);

private:
    struct Voice {
        Samples samples;
        int channels = 1;
        std::uint32_t frames = 1;
        std::uint32_t position = 0;
        bool used = false;
        bool playing = false;
        bool looping = false;
        float leftGain = 1.0f;
        float rightGain = 1.0f;
    };

    Voice& At(VoiceId voice) REQUIRES(guard) { return voices[voice]; }
    const Voice& At(VoiceId voice) const REQUIRES(guard) { return voices[voice]; }
    static void Fit(Voice& voice, std::uint32_t frames);
    void MixVoices(float* stereo, int frames) REQUIRES(guard);
    static void WriteOutput(const float* stereo, std::int16_t* out, int frames, int channels);

    mutable Mutex guard;
    // Slots; a removed voice's slot is reused.
    std::vector<Voice> voices GUARDED_BY(guard);
    int rate GUARDED_BY(guard) = 48000;
    int channels GUARDED_BY(guard) = 2;
    std::uint64_t silentFrames GUARDED_BY(guard) = 0;
    // Stereo scratch for one chunk, made once so that mixing never allocates; only the mixing
    // thread touches it.
    std::unique_ptr<float[]> scratch;
};

} // namespace audio
