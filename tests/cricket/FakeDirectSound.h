#pragma once

#include "FakeClock.h"
#include "platform/dsound/dsound.h"

#include <cstdint>
#include <memory>
#include <vector>

// Faults and readings that every buffer created afterwards starts with.
struct FakeBufferFaults {
    bool failGetFrequency = false;
    // When set, GetFrequency reports this instead of the buffer's rate.
    bool overrideFrequencyReading = false;
    DWORD frequencyReading = 0;
    bool refuseFrequency = false;
    bool refuseVolume = false;
    bool refusePan = false;
    bool refusePlay = false;
};

// A secondary buffer that "plays" for frames / frequency seconds of the fake clock and records
// the frequency, volume and pan calls made on it, refused or not.
class FakeBuffer final : public IDirectSoundBuffer {
public:
    FakeBuffer(FakeClock& clock, const DSBUFFERDESC& desc, const FakeBufferFaults& faults);

    ULONG AddRef() override;
    ULONG Release() override;
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

    bool Playing();

    FakeBufferFaults faults;
    DWORD flags;
    WAVEFORMATEX format;
    std::vector<std::uint8_t> data;
    DWORD frequency;
    LONG volume = 0;
    LONG pan = 0;
    ULONG references = 1;

    std::vector<DWORD> frequencyCalls;
    std::vector<LONG> volumeCalls;
    std::vector<LONG> panCalls;
    // Clock readings (nanoseconds) at which Play was called.
    std::vector<std::int64_t> playTimes;

private:
    FakeClock& clock;
    bool playing = false;
    std::int64_t playStart = 0;
};

class FakeDirectSound final : public IDirectSound {
public:
    explicit FakeDirectSound(FakeClock& fakeClock) : clock(fakeClock) {}

    ULONG AddRef() override { return ++references; }
    ULONG Release() override { return --references; }
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              void* outer) override;
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return DS_OK; }

    // The buffer most recently created.
    FakeBuffer& Last() { return *buffers.back(); }

    FakeBufferFaults faults;
    bool refuseCreate = false;
    ULONG references = 1;
    std::vector<std::unique_ptr<FakeBuffer>> buffers;

private:
    FakeClock& clock;
};
