#pragma once

#include "platform/dsound/RefCounted.h"
#include "platform/dsound/dsound.h"

namespace dsound {

class DirectSoundDevice;

// The primary buffer: it keeps the format it is given, but the mix is made in the output
// device's own format (stereo), so every voice's pan is heard.
class PrimaryBuffer : public RefCounted<IDirectSoundBuffer> {
public:
    PrimaryBuffer(DirectSoundDevice& device, DWORD flags);
    PrimaryBuffer(const PrimaryBuffer&) = delete;
    PrimaryBuffer& operator=(const PrimaryBuffer&) = delete;

    HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) override;
    HRESULT GetFormat(WAVEFORMATEX* format, DWORD sizeAllocated, DWORD* sizeWritten) override;
    HRESULT GetVolume(LONG* volume) override;
    HRESULT GetPan(LONG* pan) override;
    HRESULT GetFrequency(DWORD* frequency) override;
    HRESULT GetStatus(DWORD* status) override;
    HRESULT Lock(DWORD offset, DWORD bytes, void** audio1, DWORD* bytes1, void** audio2,
                 DWORD* bytes2, DWORD flags) override;
    HRESULT Play(DWORD reserved1, DWORD priority, DWORD flags) override;
    HRESULT SetCurrentPosition(DWORD newPosition) override;
    HRESULT SetFormat(const WAVEFORMATEX* format) override;
    HRESULT SetVolume(LONG volume) override;
    HRESULT SetPan(LONG pan) override;
    HRESULT SetFrequency(DWORD frequency) override;
    HRESULT Stop() override;
    HRESULT Unlock(void* audio1, DWORD bytes1, void* audio2, DWORD bytes2) override;
    HRESULT Restore() override;

private:
    ~PrimaryBuffer() override;

    DirectSoundDevice& device;
    const DWORD flags;
    // What DirectSound starts with: 22050 Hz, 8-bit, stereo.
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 22050, 44100, 2, 8, 0};
    LONG volume = 0;
    LONG pan = 0;
    bool playing = false;
};

} // namespace dsound
