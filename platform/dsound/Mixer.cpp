#include "platform/dsound/Mixer.h"

#include <algorithm>
#include <cmath>

namespace dsound {
namespace {

constexpr int kChunkFrames = 1024;

// Both loops work on whole groups of four output samples with a repeating gain pattern, which
// the compiler turns into full-width vector multiply-adds.
void AddMono(const float* __restrict source, float left, float right, float* __restrict out,
             std::size_t frames) {
    std::size_t i = 0;
    for (; i + 2 <= frames; i += 2) {
        const float* s = source + i;
        float* o = out + 2 * i;
        o[0] += s[0] * left;
        o[1] += s[0] * right;
        o[2] += s[1] * left;
        o[3] += s[1] * right;
    }
    for (; i < frames; ++i) {
        out[2 * i] += source[i] * left;
        out[2 * i + 1] += source[i] * right;
    }
}

void AddStereo(const float* __restrict source, float left, float right, float* __restrict out,
               std::size_t frames) {
    const std::size_t samples = 2 * frames;
    std::size_t i = 0;
    for (; i + 4 <= samples; i += 4) {
        out[i] += source[i] * left;
        out[i + 1] += source[i + 1] * right;
        out[i + 2] += source[i + 2] * left;
        out[i + 3] += source[i + 3] * right;
    }
    for (; i < samples; i += 2) {
        out[i] += source[i] * left;
        out[i + 1] += source[i + 1] * right;
    }
}

// Rounds to nearest by truncating a value made positive; compiles to a few vector instructions.
std::int16_t ToSample(float value) {
    const float scaled = std::max(-32768.0f, std::min(value * 32768.0f, 32767.0f));
    return static_cast<std::int16_t>(static_cast<std::int32_t>(scaled + 32768.5f) - 32768);
}

} // namespace

Mixer::Mixer() : scratch(new float[2 * kChunkFrames]) {
    voices.reserve(32);
}

void Mixer::SetFormat(int newRate, int newChannels) {
    std::lock_guard lock(guard);
    rate = newRate;
    channels = std::max(newChannels, 1);
}

int Mixer::Rate() const {
    std::lock_guard lock(guard);
    return rate;
}

void Mixer::Add(MixVoice* voice) {
    std::lock_guard lock(guard);
    voices.push_back(voice);
}

void Mixer::Remove(MixVoice* voice) {
    std::lock_guard lock(guard);
    voices.erase(std::remove(voices.begin(), voices.end(), voice), voices.end());
}

void Mixer::Mix(std::int16_t* out, int frames) {
    while (frames > 0) {
        const int chunk = std::min(frames, kChunkFrames);
        float* stereo = scratch.get();
        std::fill(stereo, stereo + 2 * chunk, 0.0f);
        {
            std::lock_guard lock(guard);
            MixVoices(stereo, chunk);
        }
        WriteOutput(stereo, out, chunk);
        out += static_cast<std::ptrdiff_t>(chunk) * channels;
        frames -= chunk;
    }
}

void Mixer::MixVoices(float* stereo, int frames) {
    for (MixVoice* voice : voices) {
        std::uint32_t done = 0;
        const auto wanted = static_cast<std::uint32_t>(frames);
        if (voice->frames == 0 ||
            voice->samples.size() < std::size_t{voice->frames} * voice->channels) {
            voice->playing = false;
        }
        while (voice->playing && done < wanted) {
            const std::uint32_t count = std::min(wanted - done, voice->frames - voice->position);
            const float* source =
                voice->samples.data() + static_cast<std::size_t>(voice->position) * voice->channels;
            if (voice->channels == 1) {
                AddMono(source, voice->leftGain, voice->rightGain, stereo + 2 * done, count);
            } else {
                AddStereo(source, voice->leftGain, voice->rightGain, stereo + 2 * done, count);
            }
            done += count;
            voice->position += count;
            if (voice->position >= voice->frames) {
                // A one-shot buffer stops by itself at its end, ready to start again.
                voice->position = 0;
                voice->playing = voice->looping;
            }
        }
    }
}

void Mixer::WriteOutput(const float* stereo, std::int16_t* out, int frames) const {
    // Only the mixing thread calls this, and channels changes only while no output runs.
    if (channels == 2) {
        for (int i = 0; i < 2 * frames; ++i) {
            out[i] = ToSample(stereo[i]);
        }
        return;
    }
    for (int i = 0; i < frames; ++i) {
        std::int16_t* frame = out + static_cast<std::ptrdiff_t>(i) * channels;
        if (channels == 1) {
            frame[0] = ToSample(0.5f * (stereo[2 * i] + stereo[2 * i + 1]));
            continue;
        }
        frame[0] = ToSample(stereo[2 * i]);
        frame[1] = ToSample(stereo[2 * i + 1]);
        std::fill(frame + 2, frame + channels, std::int16_t{0});
    }
}

} // namespace dsound
