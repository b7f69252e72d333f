#include "audio/Mixer.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace audio {
namespace {

constexpr int kChunkFrames = 1024;
constexpr float kSampleScale = 1.0f / 32768.0f;

// Both loops work on whole groups of four output samples with a repeating gain pattern, which
// the compiler turns into full-width vector converts and multiply-adds.
void AddMono(const std::int16_t* __restrict source, float left, float right, float* __restrict out,
             std::size_t frames) {
    std::size_t i = 0;
    for (; i + 2 <= frames; i += 2) {
        const float s0 = source[i];
        const float s1 = source[i + 1];
        float* o = out + 2 * i;
        o[0] += s0 * left;
        o[1] += s0 * right;
        o[2] += s1 * left;
        o[3] += s1 * right;
    }
    for (; i < frames; ++i) {
        out[2 * i] += static_cast<float>(source[i]) * left;
        out[2 * i + 1] += static_cast<float>(source[i]) * right;
    }
}

void AddStereo(const std::int16_t* __restrict source, float left, float right,
               float* __restrict out, std::size_t frames) {
    const std::size_t samples = 2 * frames;
    std::size_t i = 0;
    for (; i + 4 <= samples; i += 4) {
        out[i] += static_cast<float>(source[i]) * left;
        out[i + 1] += static_cast<float>(source[i + 1]) * right;
        out[i + 2] += static_cast<float>(source[i + 2]) * left;
        out[i + 3] += static_cast<float>(source[i + 3]) * right;
    }
    for (; i < samples; i += 2) {
        out[i] += static_cast<float>(source[i]) * left;
        out[i + 1] += static_cast<float>(source[i + 1]) * right;
    }
}

// Rounds to nearest by truncating a value made positive; compiles to a few vector instructions.
std::int16_t ToSample(float value) {
    const float scaled = std::max(-32768.0f, std::min(value * 32768.0f, 32767.0f));
    return static_cast<std::int16_t>(static_cast<std::int32_t>(scaled + 32768.5f) - 32768);
}

std::uint32_t Scale(std::uint32_t value, std::uint32_t from, std::uint32_t to) {
    return static_cast<std::uint32_t>(std::uint64_t{value} * to / from);
}

} // namespace

Mixer::Mixer() : scratch(new float[2 * kChunkFrames]) {
    MutexLock lock(guard);
    voices.reserve(32);
}

void Mixer::SetFormat(int newRate, int newChannels) {
    MutexLock lock(guard);
    rate = newRate;
    channels = std::max(newChannels, 1);
    silentFrames = 0;
}

std::uint64_t Mixer::SilentFrames() const {
    MutexLock lock(guard);
    return silentFrames;
}

int Mixer::Rate() const {
    MutexLock lock(guard);
    return rate;
}

Mixer::VoiceId Mixer::AddVoice(int voiceChannels, std::uint32_t frames) {
    assert(voiceChannels == 1 || voiceChannels == 2);
    MutexLock lock(guard);
    auto slot = std::find_if(voices.begin(), voices.end(), [](const Voice& v) { return !v.used; });
    if (slot == voices.end()) {
        slot = voices.emplace(voices.end());
    }
    *slot = Voice{};
    slot->used = true;
    slot->channels = voiceChannels;
    slot->frames = std::max<std::uint32_t>(frames, 1);
    return static_cast<VoiceId>(slot - voices.begin());
}

void Mixer::RemoveVoice(VoiceId voice) {
    Samples gone;
    MutexLock lock(guard);
    At(voice).samples.swap(gone);
    At(voice).used = false;
    At(voice).playing = false;
    // `gone` is freed after the lock is released: locals are destroyed in reverse order.
}

void Mixer::Start(VoiceId voice, bool looping) {
    MutexLock lock(guard);
    Voice& v = At(voice);
    v.playing = v.samples.size() >= std::size_t{v.frames} * static_cast<std::size_t>(v.channels);
    v.looping = looping;
}

void Mixer::Stop(VoiceId voice) {
    MutexLock lock(guard);
    At(voice).playing = false;
}

VoiceStatus Mixer::Status(VoiceId voice) const {
    MutexLock lock(guard);
    const Voice& v = At(voice);
    return {v.playing, v.looping, v.position, v.frames};
}

void Mixer::SetGains(VoiceId voice, float left, float right) {
    MutexLock lock(guard);
    At(voice).leftGain = left;
    At(voice).rightGain = right;
}

void Mixer::SetPosition(VoiceId voice, std::uint32_t frame) {
    MutexLock lock(guard);
    At(voice).position = std::min(frame, At(voice).frames - 1);
}

void Mixer::Fit(Voice& voice, std::uint32_t frames) {
    frames = std::max<std::uint32_t>(frames, 1);
    voice.position = std::min(Scale(voice.position, voice.frames, frames), frames - 1);
    voice.frames = frames;
    if (voice.samples.size() < std::size_t{frames} * static_cast<std::size_t>(voice.channels)) {
        voice.playing = false;
    }
}

void Mixer::Resize(VoiceId voice, std::uint32_t frames) {
    MutexLock lock(guard);
    Fit(At(voice), frames);
}

Samples Mixer::Replace(VoiceId voice, int voiceChannels, std::uint32_t frames, Samples samples) {
    assert(voiceChannels == 1 || voiceChannels == 2);
    MutexLock lock(guard);
    At(voice).samples.swap(samples);
    At(voice).channels = voiceChannels;
    Fit(At(voice), frames);
    return samples;
}

void Mixer::Mix(std::int16_t* out, int frames) {
    while (frames > 0) {
        const int chunk = std::min(frames, kChunkFrames);
        float* stereo = scratch.get();
        std::fill(stereo, stereo + 2 * chunk, 0.0f);
        int outputChannels = 2;
        {
            MutexLock lock(guard);
            MixVoices(stereo, chunk);
            outputChannels = channels;
        }
        WriteOutput(stereo, out, chunk, outputChannels);
        out += static_cast<std::ptrdiff_t>(chunk) * outputChannels;
        frames -= chunk;
    }
}

void Mixer::MixVoices(float* stereo, int frames) {
    const auto wanted = static_cast<std::uint32_t>(frames);
    silentFrames += wanted;
    for (Voice& voice : voices) {
        if (voice.playing) {
            silentFrames = 0;
        }
        std::uint32_t done = 0;
        const float left = voice.leftGain * kSampleScale;
        const float right = voice.rightGain * kSampleScale;
        while (voice.playing && done < wanted) {
            const std::uint32_t count = std::min(wanted - done, voice.frames - voice.position);
            const std::int16_t* source =
                voice.samples.data() + static_cast<std::size_t>(voice.position) * voice.channels;
            if (voice.channels == 1) {
                AddMono(source, left, right, stereo + 2 * done, count);
            } else {
                AddStereo(source, left, right, stereo + 2 * done, count);
            }
            done += count;
            voice.position += count;
            if (voice.position >= voice.frames) {
                // A one-shot voice stops by itself at its end, ready to start again.
                voice.position = 0;
                voice.playing = voice.looping;
            }
        }
    }
}

void Mixer::WriteOutput(const float* stereo, std::int16_t* out, int frames, int channels) {
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

} // namespace audio
