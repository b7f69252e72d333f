#include "sound/CSoundVoice.h"

#include "sound/CSoundDevice.h"

#include <cstring>

CSoundVoice::~CSoundVoice() {
    buffer.reset();
    ownWave.Close();
}

int CSoundVoice::Create(CSoundDevice& device, CWaveResource& newWave, DWORD flags) {
    buffer.reset();
    if (!device.device) {
        return 0;
    }
    wave = &newWave;

    DSBUFFERDESC desc{};
    desc.dwSize = DSBUFFERDESC_SIZE;
    desc.dwFlags = flags;
    desc.dwBufferBytes = wave->dataSize;
    desc.dwReserved = 0;
    desc.lpwfxFormat = wave->format;
    if (FAILED(device.device->CreateSoundBuffer(&desc, buffer.put(), nullptr))) {
        buffer.reset();
        return 0;
    }
    if (!Fill()) {
        buffer.reset();
        return 0;
    }
    buffer->SetCurrentPosition(0);
    return 1;
}

int CSoundVoice::Fill() {
    if (!Restore()) {
        return 0;
    }
    void* block = nullptr;
    DWORD blockBytes = 0;
    if (FAILED(buffer->Lock(0, wave->dataSize, &block, &blockBytes, nullptr, nullptr, 0))) {
        return 0;
    }
    auto* bytes = static_cast<std::uint8_t*>(block);
    wave->Rewind();
    std::uint32_t delivered = 0;
    wave->Read(bytes, blockBytes, &delivered);
    if (delivered < blockBytes) {
        // Silence is the midpoint for 8-bit unsigned samples, zero for signed ones.
        const bool eightBit = wave->format && wave->format->wBitsPerSample == 8;
        std::memset(bytes + delivered, eightBit ? 0x80 : 0x00, blockBytes - delivered);
    }
    buffer->Unlock(block, blockBytes, nullptr, 0);
    return 1;
}

int CSoundVoice::Restore(int* restored) {
    if (restored) {
        *restored = 0;
    }
    if (!buffer) {
        return 0;
    }
    DWORD status = 0;
    if (FAILED(buffer->GetStatus(&status))) {
        return 0;
    }
    if (!(status & DSBSTATUS_BUFFERLOST)) {
        return 1;
    }
    // One attempt: the device paces its reopening of the output, and the next tick asks again,
    // so the user-interface thread never waits for a sound server that is away.
    if (FAILED(buffer->Restore())) {
        return 0;
    }
    if (restored) {
        *restored = 1;
    }
    return 1;
}

int CSoundVoice::Play(int loop) {
    if (!buffer) {
        return 0;
    }
    int restored = 0;
    if (!Restore(&restored)) {
        return 0;
    }
    if (restored && !Fill()) {
        return 0;
    }
    buffer->SetCurrentPosition(0);
    return FAILED(buffer->Play(0, 0, loop ? DSBPLAY_LOOPING : 0)) ? 0 : 1;
}

int CSoundVoice::Stop() {
    if (!buffer) {
        return 0;
    }
    return FAILED(buffer->Stop()) ? 0 : 1;
}

int CSoundVoice::IsPlaying() {
    if (!buffer) {
        return 0;
    }
    DWORD status = 0;
    if (FAILED(buffer->GetStatus(&status))) {
        return 0;
    }
    return (status & DSBSTATUS_PLAYING) ? 1 : 0;
}
