#include "audio/SdlOutput.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstdlib>

namespace audio {
namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {
}

// ALSA prints every failed probe of a missing card on standard error, before our own line says
// what happened. Its error handler is process-wide, so setting it on the library SDL will load
// quiets SDL's probing too. Without ALSA there is nothing to quiet.
void QuietAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (alsa == nullptr) {
        return;
    }
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
        set(&IgnoreAlsaError);
    }
    // Kept loaded: the handler lives in it.
}

// How a desktop's volume mixer lists us. The user's own environment wins over these.
void NameTheStream() {
    SDL_SetHint(SDL_HINT_APP_NAME, "Kirorin");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Kirorin");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Cricket chorus");
}

} // namespace

void NameTheStreamIcon() {
    // SDL has no hint for the icon; PulseAudio clients add PULSE_PROP_* to their properties.
    setenv("PULSE_PROP_application.icon_name", "kirorin", 0);
}

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
    if (driver.empty()) {
        QuietAlsa();
        NameTheStream();
    } else {
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

} // namespace audio
