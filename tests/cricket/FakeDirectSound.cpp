#include "FakeDirectSound.h"

#include <cstring>

FakeBuffer::FakeBuffer(FakeClock& fakeClock, const DSBUFFERDESC& desc,
                       const FakeBufferFaults& startFaults)
    : faults(startFaults), flags(desc.dwFlags), format(*desc.lpwfxFormat), data(desc.dwBufferBytes),
      frequency(desc.lpwfxFormat->nSamplesPerSec), clock(fakeClock) {
}

ULONG FakeBuffer::AddRef() {
    return ++references;
}

// The owning FakeDirectSound frees the object, so tests can inspect a released buffer.
ULONG FakeBuffer::Release() {
    return --references;
}

HRESULT FakeBuffer::GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) {
    *playCursor = 0;
    *writeCursor = 0;
    return DS_OK;
}

HRESULT FakeBuffer::GetFormat(WAVEFORMATEX* out, DWORD sizeAllocated, DWORD* sizeWritten) {
    if (sizeAllocated < sizeof(WAVEFORMATEX)) {
        return DSERR_INVALIDPARAM;
    }
    std::memcpy(out, &format, sizeof(WAVEFORMATEX));
    if (sizeWritten) {
        *sizeWritten = sizeof(WAVEFORMATEX);
    }
    return DS_OK;
}

HRESULT FakeBuffer::GetVolume(LONG* out) {
    *out = volume;
    return DS_OK;
}

HRESULT FakeBuffer::GetPan(LONG* out) {
    *out = pan;
    return DS_OK;
}

HRESULT FakeBuffer::GetFrequency(DWORD* out) {
    if (faults.failGetFrequency) {
        return DSERR_GENERIC;
    }
    *out = faults.overrideFrequencyReading ? faults.frequencyReading : frequency;
    return DS_OK;
}

bool FakeBuffer::Playing() {
    if (playing) {
        // Plays while elapsed * frequency < frames, in whole nanoseconds.
        const std::int64_t frames = static_cast<std::int64_t>(data.size()) / format.nBlockAlign;
        const std::int64_t elapsed = clock.nanoseconds - playStart;
        if (elapsed * frequency >= frames * FakeClock::kNanosecondsPerSecond) {
            playing = false;
        }
    }
    return playing;
}

HRESULT FakeBuffer::GetStatus(DWORD* status) {
    *status = Playing() ? DSBSTATUS_PLAYING : 0;
    return DS_OK;
}

HRESULT FakeBuffer::Lock(DWORD offset, DWORD bytes, void** audio1, DWORD* bytes1, void** audio2,
                         DWORD* bytes2, DWORD) {
    if (offset != 0 || bytes > data.size()) {
        return DSERR_INVALIDPARAM;
    }
    *audio1 = data.data();
    *bytes1 = bytes;
    if (audio2) {
        *audio2 = nullptr;
    }
    if (bytes2) {
        *bytes2 = 0;
    }
    return DS_OK;
}

HRESULT FakeBuffer::Play(DWORD, DWORD, DWORD) {
    playTimes.push_back(clock.nanoseconds);
    if (faults.refusePlay) {
        return DSERR_GENERIC;
    }
    playing = true;
    playStart = clock.nanoseconds;
    return DS_OK;
}

HRESULT FakeBuffer::SetCurrentPosition(DWORD) {
    return DS_OK;
}

HRESULT FakeBuffer::SetFormat(const WAVEFORMATEX*) {
    return DSERR_INVALIDCALL;
}

HRESULT FakeBuffer::SetVolume(LONG value) {
    volumeCalls.push_back(value);
    if (!(flags & DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (faults.refuseVolume || value < DSBVOLUME_MIN || value > DSBVOLUME_MAX) {
        return DSERR_INVALIDPARAM;
    }
    volume = value;
    return DS_OK;
}

HRESULT FakeBuffer::SetPan(LONG value) {
    panCalls.push_back(value);
    if (!(flags & DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (faults.refusePan || value < DSBPAN_LEFT || value > DSBPAN_RIGHT) {
        return DSERR_INVALIDPARAM;
    }
    pan = value;
    return DS_OK;
}

HRESULT FakeBuffer::SetFrequency(DWORD value) {
    frequencyCalls.push_back(value);
    if (!(flags & DSBCAPS_CTRLFREQUENCY)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (value == DSBFREQUENCY_ORIGINAL) {
        value = format.nSamplesPerSec;
    }
    if (faults.refuseFrequency || value < DSBFREQUENCY_MIN || value > DSBFREQUENCY_MAX) {
        return DSERR_INVALIDPARAM;
    }
    frequency = value;
    return DS_OK;
}

HRESULT FakeBuffer::Stop() {
    Playing();
    playing = false;
    return DS_OK;
}

HRESULT FakeBuffer::Unlock(void*, DWORD, void*, DWORD) {
    return DS_OK;
}

HRESULT FakeBuffer::Restore() {
    return DS_OK;
}

HRESULT FakeDirectSound::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                           void*) {
    if (refuseCreate || !desc->lpwfxFormat) {
        *buffer = nullptr;
        return DSERR_INVALIDPARAM;
    }
    buffers.push_back(std::make_unique<FakeBuffer>(clock, *desc, faults));
    *buffer = buffers.back().get();
    return DS_OK;
}
