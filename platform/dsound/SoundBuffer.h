#pragma once

#include "audio/Mixer.h"
#include "platform/dsound/RefCounted.h"
#include "platform/dsound/dsound.h"

#include <cstdint>
#include <vector>

namespace dsound {

class DirectSoundDevice;

// A secondary buffer. Its bytes belong to the program's thread; what the mixer reads is the
// voice, made from the bytes by resampling whenever the bytes, the frequency or the mix rate
// change, so that mixing is a gain and an add per sample.
class SoundBuffer : public RefCounted<IDirectSoundBuffer> {
public:
    SoundBuffer(DirectSoundDevice& device, DWORD flags, const WAVEFORMATEX& format, DWORD bytes);
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

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

    // Called by the device, with its output closed, when the output went away.
    void MarkLost();

private:
    ~SoundBuffer() override;

    // Brings the voice in line with the bytes, frequency and mix rate: resampled at once when
    // it plays (or when `now`), else left stale until Play. DSERR_OUTOFMEMORY when the
    // resampled sound does not fit in memory.
    HRESULT Rebuild(bool now);
    void ApplyGains();
    bool Has(DWORD control) const { return (flags & control) != 0; }
    std::uint8_t SilenceByte() const { return format.wBitsPerSample == 8 ? 0x80 : 0x00; }

    DirectSoundDevice& device;
    audio::Mixer& mixer;
    const DWORD flags;
    WAVEFORMATEX format;
    std::vector<std::uint8_t> bytes;
    std::uint32_t sourceFrames;
    DWORD frequency;
    LONG volume = 0;
    LONG pan = 0;
    int mixRate;
    bool lost = false;
    // The voice's samples do not match the bytes and frequency; it cannot play until rebuilt.
    bool stale = true;
    audio::Mixer::VoiceId voice = 0;
};

} // namespace dsound
