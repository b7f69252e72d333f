#pragma once

#include "platform/dsound/dsound.h"
#include "testsupport/FakeClock.h"

#include <cstdint>
#include <memory>
#include <vector>

// Refusals that every buffer created afterwards starts with.
struct FakeBufferFaults {
    bool zeroFrequency = false; // GetFrequency reads 0
    bool refuseFrequency = false;
    bool refuseVolume = false;
};

// A secondary buffer that "plays" for frames / frequency seconds of the fake clock and logs the
// frequency, volume, pan and play calls made on it, refused or not. Only what a cricket uses.
class FakeBuffer final : public IDirectSoundBuffer {
public:
    FakeBuffer(FakeClock& fakeClock, const DSBUFFERDESC& desc, const FakeBufferFaults& start)
        : faults(start), data(desc.dwBufferBytes), frequency(desc.lpwfxFormat->nSamplesPerSec),
          clock(fakeClock) {}

    ULONG AddRef() override { return 2; }
    // The owning FakeDirectSound frees the object.
    ULONG Release() override { return released = true, 1; }
    HRESULT GetFrequency(DWORD* out) override {
        return *out = faults.zeroFrequency ? 0 : frequency, DS_OK;
    }
    HRESULT GetStatus(DWORD* status) override {
        return *status = clock.nanoseconds < playEnd ? DSBSTATUS_PLAYING : 0, DS_OK;
    }
    HRESULT Lock(DWORD, DWORD bytes, void** audio1, DWORD* bytes1, void**, DWORD*, DWORD) override {
        *audio1 = data.data();
        *bytes1 = bytes;
        return bytes <= data.size() ? DS_OK : DSERR_INVALIDPARAM;
    }
    HRESULT Play(DWORD, DWORD, DWORD) override {
        // Plays while elapsed * frequency < frames, in whole nanoseconds.
        const std::int64_t frames = static_cast<std::int64_t>(data.size() / 2);
        playEnd = clock.nanoseconds + (frames * 1000000000 + frequency - 1) / frequency;
        playTimes.push_back(clock.nanoseconds);
        return DS_OK;
    }
    HRESULT SetVolume(LONG value) override { return Log(volumeCalls, value, faults.refuseVolume); }
    HRESULT SetPan(LONG value) override { return Log(panCalls, value, false); }
    HRESULT SetFrequency(DWORD value) override {
        frequency = faults.refuseFrequency ? frequency : value;
        return Log(frequencyCalls, value, faults.refuseFrequency);
    }
    HRESULT Stop() override { return playEnd = 0, DS_OK; }
    HRESULT SetCurrentPosition(DWORD) override { return DS_OK; }
    HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DS_OK; }
    HRESULT Restore() override { return DS_OK; }
    HRESULT GetCurrentPosition(DWORD*, DWORD*) override { return DSERR_UNSUPPORTED; }
    HRESULT GetFormat(WAVEFORMATEX*, DWORD, DWORD*) override { return DSERR_UNSUPPORTED; }
    HRESULT GetVolume(LONG*) override { return DSERR_UNSUPPORTED; }
    HRESULT GetPan(LONG*) override { return DSERR_UNSUPPORTED; }
    HRESULT SetFormat(const WAVEFORMATEX*) override { return DS_OK; }

    FakeBufferFaults faults;
    std::vector<std::uint8_t> data; // 16-bit mono
    DWORD frequency;
    std::vector<DWORD> frequencyCalls;
    std::vector<LONG> volumeCalls;
    std::vector<LONG> panCalls;
    std::vector<std::int64_t> playTimes; // clock readings (nanoseconds) of the Play calls
    bool released = false;

private:
    template <class T> static HRESULT Log(std::vector<T>& calls, T value, bool refused) {
        calls.push_back(value);
        return refused ? DSERR_INVALIDPARAM : DS_OK;
    }

    FakeClock& clock;
    std::int64_t playEnd = 0;
};

class FakeDirectSound final : public IDirectSound {
public:
    explicit FakeDirectSound(FakeClock& fakeClock) : clock(fakeClock) {}

    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              void*) override {
        if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
            WAVEFORMATEX any{};
            any.nSamplesPerSec = 22050;
            DSBUFFERDESC primaryDesc = *desc;
            primaryDesc.lpwfxFormat = &any;
            primary = std::make_unique<FakeBuffer>(clock, primaryDesc, FakeBufferFaults{});
            return *buffer = primary.get(), DS_OK;
        }
        if (static_cast<int>(buffers.size()) == failAt) {
            return *buffer = nullptr, DSERR_OUTOFMEMORY;
        }
        *buffer = buffers.emplace_back(std::make_unique<FakeBuffer>(clock, *desc, faults)).get();
        return DS_OK;
    }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return DS_OK; }

    FakeBuffer& Last() { return *buffers.back(); }

    FakeBufferFaults faults;
    int failAt = -1;                                  // the creation numbered failAt (from 0) fails
    std::vector<std::unique_ptr<FakeBuffer>> buffers; // the secondary ones
    std::unique_ptr<FakeBuffer> primary;

private:
    FakeClock& clock;
};
