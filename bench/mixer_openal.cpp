#include "mixer_openal.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cmath>
#include <cstring>

OpenAlChorus::OpenAlChorus() {
    ALCdevice* loopback = alcLoopbackOpenDeviceSOFT(nullptr);
    if (loopback == nullptr) {
        return;
    }
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_SHORT_SOFT,
                                 ALC_FREQUENCY,
                                 48000,
                                 ALC_OUTPUT_LIMITER_SOFT,
                                 ALC_FALSE,
                                 ALC_HRTF_SOFT,
                                 ALC_FALSE,
                                 0};
    ALCcontext* made = alcCreateContext(loopback, attributes);
    if (made == nullptr) {
        alcCloseDevice(loopback);
        return;
    }
    alcMakeContextCurrent(made);
    alDistanceModel(AL_NONE);
    device = loopback;
    context = made;
}

OpenAlChorus::~OpenAlChorus() {
    if (context == nullptr) {
        return;
    }
    Stop();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context));
    alcCloseDevice(static_cast<ALCdevice*>(device));
}

bool OpenAlChorus::Start(const char* resamplerName, const std::vector<std::uint8_t>& bytes,
                         int channels, int bits, int rate, const std::vector<int>& pitches,
                         bool looping) {
    if (!Ready()) {
        return false;
    }
    Stop();
    ALint resampler = -1;
    const ALint count = alGetInteger(AL_NUM_RESAMPLERS_SOFT);
    for (ALint i = 0; i < count; ++i) {
        if (std::strstr(alGetStringiSOFT(AL_RESAMPLER_NAME_SOFT, i), resamplerName)) {
            resampler = i;
        }
    }
    if (resampler < 0) {
        return false;
    }
    const ALenum format = channels == 2 ? (bits == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16)
                                        : (bits == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16);
    alGenBuffers(1, &buffer);
    alBufferData(buffer, format, bytes.data(), static_cast<ALsizei>(bytes.size()), rate);
    sources.resize(pitches.size());
    alGenSources(static_cast<ALsizei>(sources.size()), sources.data());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        alSourcei(sources[i], AL_BUFFER, static_cast<ALint>(buffer));
        alSourcei(sources[i], AL_SOURCE_RESAMPLER_SOFT, resampler);
        alSourcef(sources[i], AL_PITCH, static_cast<float>(pitches[i]) / static_cast<float>(rate));
        alSourcei(sources[i], AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
        alSourcePlay(sources[i]);
    }
    return alGetError() == AL_NO_ERROR;
}

void OpenAlChorus::Stop() {
    if (!sources.empty()) {
        alSourceStopv(static_cast<ALsizei>(sources.size()), sources.data());
        alDeleteSources(static_cast<ALsizei>(sources.size()), sources.data());
        sources.clear();
    }
    if (buffer != 0) {
        alDeleteBuffers(1, &buffer);
        buffer = 0;
    }
}

void OpenAlChorus::Render(std::int16_t* out, int frames) {
    alcRenderSamplesSOFT(static_cast<ALCdevice*>(device), out, frames);
}
