#include "platform/dsound/PrimaryBuffer.h"

#include "platform/dsound/DirectSoundDevice.h"
#include "platform/dsound/PcmFormat.h"

#include <cstring>

namespace dsound {

PrimaryBuffer::PrimaryBuffer(DirectSoundDevice& owner, DWORD capabilities)
    : device(owner), flags(capabilities) {
    device.AddRef();
}

PrimaryBuffer::~PrimaryBuffer() {
    device.Release();
}

HRESULT PrimaryBuffer::SetFormat(const WAVEFORMATEX* newFormat) {
    if (newFormat == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (device.Level() < DSSCL_PRIORITY) {
        return DSERR_PRIOLEVELNEEDED;
    }
    const HRESULT check = CheckPcmFormat(newFormat);
    if (FAILED(check)) {
        return check;
    }
    std::memcpy(&format, newFormat, sizeof(WAVEFORMATEX));
    format.cbSize = 0;
    return DS_OK;
}

HRESULT PrimaryBuffer::GetFormat(WAVEFORMATEX* out, DWORD sizeAllocated, DWORD* sizeWritten) {
    return CopyFormat(format, out, sizeAllocated, sizeWritten);
}

HRESULT PrimaryBuffer::GetStatus(DWORD* status) {
    if (status == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    const bool running = device.CheckOutput();
    *status = (playing ? DSBSTATUS_PLAYING | DSBSTATUS_LOOPING : 0) |
              (running ? 0 : DSBSTATUS_BUFFERLOST);
    return DS_OK;
}

HRESULT PrimaryBuffer::Play(DWORD reserved1, DWORD priority, DWORD playFlags) {
    if (reserved1 != 0 || priority != 0 || !(playFlags & DSBPLAY_LOOPING)) {
        return DSERR_INVALIDPARAM;
    }
    playing = true;
    return DS_OK;
}

HRESULT PrimaryBuffer::Stop() {
    playing = false;
    return DS_OK;
}

HRESULT PrimaryBuffer::Restore() {
    return device.ReopenOutput() ? DS_OK : DSERR_BUFFERLOST;
}

HRESULT PrimaryBuffer::GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) {
    if (playCursor == nullptr && writeCursor == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (playCursor) {
        *playCursor = 0;
    }
    if (writeCursor) {
        *writeCursor = 0;
    }
    return DS_OK;
}

HRESULT PrimaryBuffer::GetVolume(LONG* out) {
    if (out == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!(flags & DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    *out = volume;
    return DS_OK;
}

HRESULT PrimaryBuffer::GetPan(LONG* out) {
    if (out == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!(flags & DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    *out = pan;
    return DS_OK;
}

HRESULT PrimaryBuffer::SetVolume(LONG newVolume) {
    if (!(flags & DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (newVolume < DSBVOLUME_MIN || newVolume > DSBVOLUME_MAX) {
        return DSERR_INVALIDPARAM;
    }
    volume = newVolume;
    return DS_OK;
}

HRESULT PrimaryBuffer::SetPan(LONG newPan) {
    if (!(flags & DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (newPan < DSBPAN_LEFT || newPan > DSBPAN_RIGHT) {
        return DSERR_INVALIDPARAM;
    }
    pan = newPan;
    return DS_OK;
}

// The primary buffer has no frequency control, and its memory is not open to the program.
HRESULT PrimaryBuffer::GetFrequency(DWORD*) {
    return DSERR_CONTROLUNAVAIL;
}
HRESULT PrimaryBuffer::SetFrequency(DWORD) {
    return DSERR_CONTROLUNAVAIL;
}
HRESULT PrimaryBuffer::Lock(DWORD, DWORD, void**, DWORD*, void**, DWORD*, DWORD) {
    return DSERR_PRIOLEVELNEEDED;
}
HRESULT PrimaryBuffer::Unlock(void*, DWORD, void*, DWORD) {
    return DSERR_INVALIDCALL;
}
HRESULT PrimaryBuffer::SetCurrentPosition(DWORD) {
    return DSERR_INVALIDCALL;
}

} // namespace dsound
