#pragma once

#include "platform/dsound/dsound.h"

#include <cstdint>
#include <vector>

// A DirectSound-shaped device whose buffers only remember what was done to them. Buffers stay
// alive (owned here) after their last Release so that tests can inspect them.
class FakeBuffer : public IDirectSoundBuffer {
public:
    explicit FakeBuffer(const DSBUFFERDESC& desc)
        : flags(desc.dwFlags), bytes(desc.dwBufferBytes),
          frequency(desc.lpwfxFormat ? desc.lpwfxFormat->nSamplesPerSec : 0),
          data(desc.dwBufferBytes) {}

    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        --references;
        ++releases;
        return static_cast<ULONG>(references);
    }
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write) override {
        *play = *write = 0;
        return DS_OK;
    }
    HRESULT GetFormat(WAVEFORMATEX*, DWORD, DWORD*) override { return DSERR_UNSUPPORTED; }
    HRESULT GetVolume(LONG* v) override {
        *v = volume;
        return DS_OK;
    }
    HRESULT GetPan(LONG* p) override {
        *p = pan;
        return DS_OK;
    }
    HRESULT GetFrequency(DWORD* f) override {
        *f = frequency;
        return DS_OK;
    }
    HRESULT GetStatus(DWORD* status) override {
        *status = playing ? DSBSTATUS_PLAYING : 0;
        return DS_OK;
    }
    HRESULT Lock(DWORD, DWORD, void** audio1, DWORD* bytes1, void** audio2, DWORD* bytes2,
                 DWORD) override {
        *audio1 = data.data();
        *bytes1 = static_cast<DWORD>(data.size());
        if (audio2) {
            *audio2 = nullptr;
        }
        if (bytes2) {
            *bytes2 = 0;
        }
        return DS_OK;
    }
    HRESULT Play(DWORD, DWORD, DWORD) override {
        playing = true;
        ++plays;
        return DS_OK;
    }
    HRESULT SetCurrentPosition(DWORD) override { return DS_OK; }
    HRESULT SetFormat(const WAVEFORMATEX*) override { return DS_OK; }
    HRESULT SetVolume(LONG v) override {
        volume = v;
        return DS_OK;
    }
    HRESULT SetPan(LONG p) override {
        pan = p;
        return DS_OK;
    }
    HRESULT SetFrequency(DWORD f) override {
        frequency = f;
        return DS_OK;
    }
    HRESULT Stop() override {
        playing = false;
        ++stops;
        return DS_OK;
    }
    HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DS_OK; }
    HRESULT Restore() override { return DS_OK; }

    DWORD flags;
    DWORD bytes;
    DWORD frequency;
    std::vector<std::uint8_t> data;
    LONG volume = 0;
    LONG pan = 0;
    bool playing = false;
    int references = 1;
    int releases = 0;
    int plays = 0;
    int stops = 0;
};

class FakeDirectSound : public IDirectSound {
public:
    ~FakeDirectSound() override {
        for (FakeBuffer* buffer : buffers) {
            delete buffer;
        }
    }

    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        liveBuffersAtLastRelease = LiveBuffers();
        return static_cast<ULONG>(--references);
    }
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              void*) override {
        if (failCreateAt >= 0 && static_cast<int>(buffers.size()) == failCreateAt) {
            failCreateAt = -1;
            *buffer = nullptr;
            return DSERR_OUTOFMEMORY;
        }
        auto* made = new FakeBuffer(*desc);
        buffers.push_back(made);
        *buffer = made;
        return DS_OK;
    }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return DS_OK; }

    // Buffers made so far that have not been released.
    int LiveBuffers() const {
        int live = 0;
        for (const FakeBuffer* buffer : buffers) {
            live += buffer->references > 0 ? 1 : 0;
        }
        return live;
    }

    std::vector<FakeBuffer*> buffers;
    // The creation with this index (0-based) fails once.
    int failCreateAt = -1;
    int references = 1;
    int liveBuffersAtLastRelease = -1;
};
