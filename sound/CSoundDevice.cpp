#include "sound/CSoundDevice.h"

int CSoundDevice::Open(HWND window, std::uint16_t level, int channels, std::uint16_t rate,
                       std::uint16_t bits) {
    device.reset();
    if (FAILED(DirectSoundCreate(nullptr, device.put(), nullptr))) {
        device.reset();
        return 0;
    }
    if (FAILED(device->SetCooperativeLevel(window, level))) {
        device.reset();
        return 0;
    }

    DSBUFFERDESC desc{};
    desc.dwSize = DSBUFFERDESC_SIZE;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    DsPtr<IDirectSoundBuffer> primary;
    if (FAILED(device->CreateSoundBuffer(&desc, primary.put(), nullptr))) {
        device.reset();
        return 0;
    }

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = rate;
    format.nBlockAlign = static_cast<WORD>(format.nChannels * (bits / 8));
    format.nAvgBytesPerSec = static_cast<DWORD>(format.nBlockAlign) * rate;
    format.wBitsPerSample = bits;
    format.cbSize = 0;

    const bool accepted = !FAILED(primary->SetFormat(&format));
    primary.reset();
    if (!accepted) {
        device.reset();
        return 0;
    }
    return 1;
}
