// kirorin-listen: the chirp through the same device and voice classes the program uses.
#include "listen_options.h"
#include "listen_wav.h"

#include "audio/OfflineOutput.h"
#include "cricket/CCricket.h"
#include "platform/Services.h"
#include "platform/dsound/DirectSoundControl.h"
#include "sound/CSoundDevice.h"
#include "sound/CSoundVoice.h"
#include "sound/CWaveResource.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

namespace {

constexpr int kOfflineRate = 48000;
constexpr int kPeriod = 480;

// The output CSoundDevice::Open gets when rendering to a file.
std::shared_ptr<audio::OfflineOutput> offline;

HRESULT CreateOffline(const void*, IDirectSound** directSound, void*) {
    return dsound::CreateDevice(offline, directSound);
}

bool Configure(IDirectSoundBuffer* buffer, const ListenOptions& options) {
    if (options.frequency != 0 && FAILED(buffer->SetFrequency(options.frequency))) {
        std::fprintf(stderr, "kirorin-listen: frequency %u refused (100..200000)\n",
                     options.frequency);
        return false;
    }
    if (FAILED(buffer->SetVolume(options.volume))) {
        std::fprintf(stderr, "kirorin-listen: volume %d refused (-10000..0)\n", options.volume);
        return false;
    }
    if (FAILED(buffer->SetPan(options.pan))) {
        std::fprintf(stderr, "kirorin-listen: pan %d refused (-10000..10000)\n", options.pan);
        return false;
    }
    return true;
}

int Render(CSoundVoice& voice, const std::string& path) {
    std::vector<std::int16_t> samples;
    std::vector<std::int16_t> period(static_cast<std::size_t>(kPeriod) * 2);
    // One period after the voice stops, so the end of the chirp is surely in the file.
    for (bool more = true; more;) {
        more = voice.IsPlaying() != 0;
        offline->Render(period.data(), kPeriod);
        samples.insert(samples.end(), period.begin(), period.end());
    }
    if (!WriteWav(path, samples, 2, kOfflineRate)) {
        std::fprintf(stderr, "kirorin-listen: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

int Play(CSoundVoice& voice) {
    using namespace std::chrono_literals;
    while (voice.IsPlaying()) {
        std::this_thread::sleep_for(10ms);
    }
    // What the device still holds in its periods.
    std::this_thread::sleep_for(100ms);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::fputs(kListenUsage, stdout);
        return 0;
    }
    ListenOptions options;
    std::string error;
    if (!ParseListenOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "kirorin-listen: %s\n%s", error.c_str(), kListenUsage);
        return 2;
    }
    if (!options.outFile.empty()) {
        offline = std::make_shared<audio::OfflineOutput>(kOfflineRate, 2);
    }
    const platform::Override renderToFile{
        {.createSoundDevice = offline ? &CreateOffline : nullptr}};

    CWaveResource wave;
    if (!wave.OpenResource(129)) {
        std::fprintf(stderr, "kirorin-listen: cannot open WAVE 129\n");
        return 1;
    }
    int result = 1;
    {
        CSoundDevice device;
        CSoundVoice voice;
        if (!device.Open(nullptr, DSSCL_PRIORITY, 1, 22050, 16)) {
            std::fprintf(stderr, "kirorin-listen: no sound device\n");
        } else if (!voice.Create(device, wave, CCricket::kBufferFlags)) {
            std::fprintf(stderr, "kirorin-listen: cannot make a buffer for the chirp\n");
        } else if (Configure(voice.buffer.get(), options)) {
            if (!voice.Play(0)) {
                std::fprintf(stderr, "kirorin-listen: the chirp does not start\n");
            } else {
                result = options.outFile.empty() ? Play(voice) : Render(voice, options.outFile);
            }
        }
    }
    wave.Close();
    return result;
}
