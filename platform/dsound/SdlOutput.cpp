#include "platform/dsound/SdlOutput.h"

#include <SDL.h>

namespace dsound {

SdlOutput::~SdlOutput() {
    Close();
    if (initialised) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlOutput::Fail(const char* what) {
    error = what;
    const char* reason = SDL_GetError();
    if (reason != nullptr && *reason != '\0') {
        error += ": ";
        error += reason;
    }
    SDL_ClearError();
    restart = true;
}

bool SdlOutput::Initialise() {
    if (initialised && restart) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        initialised = false;
    }
    if (initialised) {
        return true;
    }
    if (!driver.empty()) {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver.c_str(), SDL_HINT_OVERRIDE);
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        Fail("no audio driver");
        return false;
    }
    initialised = true;
    if (driver.empty()) {
        const char* current = SDL_GetCurrentAudioDriver();
        driver = current != nullptr ? current : "";
    }
    return true;
}

bool SdlOutput::Open(MixSource& mixSource) {
    Close();
    if (!Initialise()) {
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = 48000;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 480;
    wanted.callback = &SdlOutput::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID opened =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (opened == 0) {
        Fail("no audio device");
        return false;
    }
    restart = false;
    device = opened;
    channels = obtained.channels;
    source = &mixSource;
    // The device starts paused, so the format is in place before the first callback.
    source->SetFormat(obtained.freq, obtained.channels);
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlOutput::Close() {
    if (device != 0) {
        SDL_CloseAudioDevice(device);
        device = 0;
    }
    source = nullptr;
}

bool SdlOutput::Lost() {
    if (device == 0 || SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED) {
        return false;
    }
    Fail("the device stopped");
    return true;
}

void SdlOutput::Callback(void* self, std::uint8_t* stream, int length) {
    auto* output = static_cast<SdlOutput*>(self);
    const int frameBytes = output->channels * static_cast<int>(sizeof(std::int16_t));
    output->source->Mix(reinterpret_cast<std::int16_t*>(stream), length / frameBytes);
}

} // namespace dsound
