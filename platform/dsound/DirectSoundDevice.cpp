#include "platform/dsound/DirectSoundDevice.h"

#include "platform/dsound/PcmFormat.h"
#include "platform/dsound/PrimaryBuffer.h"
#include "platform/dsound/SoundBuffer.h"

#include "platform/Clocks.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>

namespace dsound {
namespace {

constexpr DWORD kDSBCAPS_LOCHARDWARE = 0x4;
constexpr DWORD kDSBCAPS_STICKYFOCUS = 0x4000;
constexpr DWORD kDSBCAPS_GETCURRENTPOSITION2 = 0x10000;
constexpr DWORD kKnownFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_STATIC | kDSBCAPS_LOCHARDWARE |
                              DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                              DSBCAPS_CTRLVOLUME | kDSBCAPS_STICKYFOCUS | DSBCAPS_GLOBALFOCUS |
                              kDSBCAPS_GETCURRENTPOSITION2;

// One line per event on standard error, with the sound library's reason.
void Report(const char* what, const std::string& reason) {
    std::fprintf(stderr, "kirorin: %s%s\n", what, reason.c_str());
    std::fflush(stderr);
}

} // namespace

DirectSoundDevice::DirectSoundDevice(std::shared_ptr<audio::AudioOutput> audioOutput)
    : output(std::move(audioOutput)) {
}

DirectSoundDevice::~DirectSoundDevice() {
    if (outputOpen && !resting) {
        output->Close();
    }
}

bool DirectSoundDevice::Start() {
    outputOpen = output->Open(mixer);
    if (!outputOpen) {
        Report("cannot open the sound output: ", output->Error());
        return false;
    }
    // Opened to prove there is a device; no buffer can sound yet.
    Rest();
    return true;
}

void DirectSoundDevice::Rest() {
    if (outputOpen && !resting && output->CanRest()) {
        output->Close();
        resting = true;
    }
}

bool DirectSoundDevice::CheckOutput() {
    const std::uint32_t now = platform::timeGetTime();
    if (!outputOpen || resting || (checked && now - lastCheck < kCheckIntervalMs)) {
        return outputOpen;
    }
    checked = true;
    lastCheck = now;
    if (output->Lost()) {
        if (!outage) {
            Report("the sound output went away: ", output->Error());
        }
        LoseBuffers();
    } else if (mixer.SilentFrames() >=
               static_cast<std::uint64_t>(kRestAfterSeconds) * mixer.Rate()) {
        Rest();
    }
    return outputOpen;
}

bool DirectSoundDevice::Wake() {
    if (!resting) {
        return outputOpen;
    }
    resting = false;
    if (output->Open(mixer)) {
        return true;
    }
    Report("the sound output went away: ", output->Error());
    LoseBuffers();
    return false;
}

bool DirectSoundDevice::ReopenOutput() {
    if (outputOpen) {
        return true;
    }
    const std::uint32_t now = platform::timeGetTime();
    if (retryInterval != 0 && now - lastAttempt < retryInterval) {
        return false;
    }
    lastAttempt = now;
    outputOpen = output->Open(mixer);
    if (!outputOpen) {
        retryInterval =
            retryInterval == 0 ? kFirstRetryMs : std::min(2 * retryInterval, kMaxRetryMs);
        return false;
    }
    retryInterval = 0;
    if (outage) {
        outage = false;
        Report("the sound output is back", {});
    }
    return true;
}

void DirectSoundDevice::LoseBuffers() {
    // Closing first: no mixing runs while the buffers are marked.
    if (outputOpen) {
        output->Close();
        outputOpen = false;
    }
    resting = false;
    outage = true;
    // The first reopen may be tried at once.
    retryInterval = 0;
    for (SoundBuffer* buffer : buffers) {
        buffer->MarkLost();
    }
}

void DirectSoundDevice::Attach(SoundBuffer* buffer) {
    buffers.push_back(buffer);
}

void DirectSoundDevice::Detach(SoundBuffer* buffer) {
    buffers.erase(std::remove(buffers.begin(), buffers.end(), buffer), buffers.end());
    // Without buffers nothing can sound (the chorus stopped outside its activity window).
    if (buffers.empty()) {
        Rest();
    }
}

HRESULT DirectSoundDevice::SetCooperativeLevel(HWND, DWORD newLevel) {
    if (newLevel < DSSCL_NORMAL || newLevel > DSSCL_WRITEPRIMARY) {
        return DSERR_INVALIDPARAM;
    }
    level = newLevel;
    return DS_OK;
}

HRESULT DirectSoundDevice::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                             void* outer) {
    if (buffer == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (outer != nullptr) {
        return DSERR_NOAGGREGATION;
    }
    if (desc == nullptr || desc->dwSize != DSBUFFERDESC_SIZE || (desc->dwFlags & ~kKnownFlags) ||
        ((desc->dwFlags & kDSBCAPS_LOCHARDWARE) && (desc->dwFlags & DSBCAPS_LOCSOFTWARE))) {
        return DSERR_INVALIDPARAM;
    }

    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        if (desc->dwBufferBytes != 0 || desc->lpwfxFormat != nullptr ||
            (desc->dwFlags & DSBCAPS_CTRLFREQUENCY)) {
            return DSERR_INVALIDPARAM;
        }
        auto* primary = MakeObject<PrimaryBuffer>(*this, desc->dwFlags);
        if (primary == nullptr) {
            return DSERR_OUTOFMEMORY;
        }
        *buffer = primary;
        return DS_OK;
    }

    const HRESULT format = CheckPcmFormat(desc->lpwfxFormat);
    if (FAILED(format)) {
        return format;
    }
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX ||
        desc->dwBufferBytes < desc->lpwfxFormat->nBlockAlign) {
        return DSERR_INVALIDPARAM;
    }
    CheckOutput();
    if (!ReopenOutput()) {
        return DSERR_NODRIVER;
    }
    auto* secondary =
        MakeObject<SoundBuffer>(*this, desc->dwFlags, *desc->lpwfxFormat, desc->dwBufferBytes);
    if (secondary == nullptr) {
        return DSERR_OUTOFMEMORY;
    }
    *buffer = secondary;
    return DS_OK;
}

} // namespace dsound
