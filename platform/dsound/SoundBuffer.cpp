#include "platform/dsound/SoundBuffer.h"

#include "audio/Gain.h"
#include "audio/Resample.h"
#include "platform/dsound/DirectSoundDevice.h"
#include "platform/dsound/PcmFormat.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace dsound {
namespace {

using audio::GainFor;
using audio::MixFrames;
using audio::ResamplePcm;
using audio::StereoGain;

std::uint32_t Scale(std::uint32_t value, std::uint32_t from, std::uint32_t to) {
    return static_cast<std::uint32_t>(std::uint64_t{value} * to / from);
}

} // namespace

SoundBuffer::SoundBuffer(DirectSoundDevice& owner, DWORD capabilities,
                         const WAVEFORMATEX& waveFormat, DWORD size)
    : device(owner), mixer(owner.GetMixer()), flags(capabilities), format(waveFormat),
      sourceFrames(size / waveFormat.nBlockAlign), frequency(waveFormat.nSamplesPerSec),
      mixRate(mixer.Rate()) {
    format.cbSize = 0;
    // What can run out of memory comes first, so that a throw leaves nothing held. A buffer
    // whose sound at the mix rate would not fit in 32 bits of frames counts as too big.
    const std::uint32_t frames = MixFrames(sourceFrames, frequency, mixRate);
    if (frames == 0) {
        throw std::bad_alloc();
    }
    bytes.assign(size, SilenceByte());
    device.Attach(this);
    try {
        voice = mixer.AddVoice(format.nChannels, frames);
    } catch (...) {
        device.Detach(this);
        throw;
    }
    device.AddRef();
}

SoundBuffer::~SoundBuffer() {
    mixer.RemoveVoice(voice);
    device.Detach(this);
    device.Release();
}

void SoundBuffer::MarkLost() {
    lost = true;
    mixer.Stop(voice);
}

HRESULT SoundBuffer::Rebuild(bool now) {
    const std::uint32_t frames = MixFrames(sourceFrames, frequency, mixRate);
    if (frames == 0) {
        return DSERR_OUTOFMEMORY;
    }
    // Only this thread starts a voice, so one seen stopped stays stopped until Play.
    if (!now && !mixer.Status(voice).playing) {
        mixer.Resize(voice, frames);
        stale = true;
        return DS_OK;
    }
    // A stereo buffer whose channels are the same (the chirp recordings) is kept as one channel:
    // the voice's pan gains make the same sound from half the samples.
    const int channels = format.nChannels == 2 && audio::SameChannels(bytes.data(), sourceFrames,
                                                                      format.wBitsPerSample)
                             ? 1
                             : format.nChannels;
    try {
        // The old samples are freed here, outside the mixer's lock.
        mixer.Replace(voice, channels, frames,
                      ResamplePcm(bytes.data(), sourceFrames, format.nChannels, channels,
                                  format.wBitsPerSample, frequency, mixRate, frames));
    } catch (const std::bad_alloc&) {
        mixer.Replace(voice, channels, frames, {});
        stale = true;
        return DSERR_OUTOFMEMORY;
    }
    stale = false;
    return DS_OK;
}

void SoundBuffer::ApplyGains() {
    const StereoGain gain = GainFor(volume, pan);
    mixer.SetGains(voice, gain.left, gain.right);
}

HRESULT SoundBuffer::GetStatus(DWORD* status) {
    if (status == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    device.CheckOutput();
    const audio::VoiceStatus now = mixer.Status(voice);
    DWORD result = 0;
    if (now.playing) {
        result |= DSBSTATUS_PLAYING;
        if (now.looping) {
            result |= DSBSTATUS_LOOPING;
        }
    }
    if (lost) {
        result |= DSBSTATUS_BUFFERLOST;
    }
    *status = result;
    return DS_OK;
}

HRESULT SoundBuffer::Play(DWORD reserved1, DWORD priority, DWORD playFlags) {
    if (reserved1 != 0 || priority != 0) {
        return DSERR_INVALIDPARAM;
    }
    device.CheckOutput();
    if (lost || !device.Wake()) {
        return DSERR_BUFFERLOST;
    }
    if (mixRate != mixer.Rate()) {
        mixRate = mixer.Rate();
        stale = true;
    }
    if (stale) {
        const HRESULT rebuilt = Rebuild(true);
        if (FAILED(rebuilt)) {
            return rebuilt;
        }
    }
    mixer.Start(voice, (playFlags & DSBPLAY_LOOPING) != 0);
    return DS_OK;
}

HRESULT SoundBuffer::Stop() {
    mixer.Stop(voice);
    return DS_OK;
}

HRESULT SoundBuffer::Restore() {
    device.CheckOutput();
    if (!lost) {
        return DS_OK;
    }
    if (!device.ReopenOutput()) {
        return DSERR_BUFFERLOST;
    }
    lost = false;
    std::fill(bytes.begin(), bytes.end(), SilenceByte());
    mixRate = mixer.Rate();
    // The mixer holds a length of 0 (too long for the new rate) at 1; Play then reports it.
    mixer.Replace(voice, format.nChannels, MixFrames(sourceFrames, frequency, mixRate), {});
    mixer.SetPosition(voice, 0);
    stale = true;
    return DS_OK;
}

HRESULT SoundBuffer::GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) {
    if (playCursor == nullptr && writeCursor == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    const audio::VoiceStatus now = mixer.Status(voice);
    const std::uint32_t frame = Scale(now.position, now.frames, sourceFrames);
    const bool playing = now.playing;
    if (playCursor) {
        *playCursor = frame * format.nBlockAlign;
    }
    if (writeCursor) {
        // Writing is safe about one output period (10 ms) ahead of what is being heard.
        const std::uint32_t ahead = playing ? frequency / 100 : 0;
        *writeCursor = (frame + ahead) % sourceFrames * format.nBlockAlign;
    }
    return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD newPosition) {
    if (newPosition >= bytes.size()) {
        return DSERR_INVALIDPARAM;
    }
    const std::uint32_t frame = newPosition / format.nBlockAlign;
    mixer.SetPosition(voice, Scale(frame, sourceFrames, mixer.Status(voice).frames));
    return DS_OK;
}

HRESULT SoundBuffer::GetFormat(WAVEFORMATEX* out, DWORD sizeAllocated, DWORD* sizeWritten) {
    return CopyFormat(format, out, sizeAllocated, sizeWritten);
}

HRESULT SoundBuffer::SetFormat(const WAVEFORMATEX*) {
    return DSERR_INVALIDCALL;
}

HRESULT SoundBuffer::GetVolume(LONG* out) {
    if (out == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!Has(DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    *out = volume;
    return DS_OK;
}

HRESULT SoundBuffer::GetPan(LONG* out) {
    if (out == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!Has(DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    *out = pan;
    return DS_OK;
}

HRESULT SoundBuffer::GetFrequency(DWORD* out) {
    if (out == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (!Has(DSBCAPS_CTRLFREQUENCY)) {
        return DSERR_CONTROLUNAVAIL;
    }
    *out = frequency;
    return DS_OK;
}

HRESULT SoundBuffer::SetVolume(LONG newVolume) {
    if (!Has(DSBCAPS_CTRLVOLUME)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (newVolume < DSBVOLUME_MIN || newVolume > DSBVOLUME_MAX) {
        return DSERR_INVALIDPARAM;
    }
    volume = newVolume;
    ApplyGains();
    return DS_OK;
}

HRESULT SoundBuffer::SetPan(LONG newPan) {
    if (!Has(DSBCAPS_CTRLPAN)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (newPan < DSBPAN_LEFT || newPan > DSBPAN_RIGHT) {
        return DSERR_INVALIDPARAM;
    }
    pan = newPan;
    ApplyGains();
    return DS_OK;
}

HRESULT SoundBuffer::SetFrequency(DWORD newFrequency) {
    if (!Has(DSBCAPS_CTRLFREQUENCY)) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (newFrequency == DSBFREQUENCY_ORIGINAL) {
        newFrequency = format.nSamplesPerSec;
    }
    if (newFrequency < DSBFREQUENCY_MIN || newFrequency > DSBFREQUENCY_MAX) {
        return DSERR_INVALIDPARAM;
    }
    if (newFrequency == frequency) {
        return DS_OK;
    }
    if (MixFrames(sourceFrames, newFrequency, mixRate) == 0) {
        return DSERR_INVALIDPARAM;
    }
    frequency = newFrequency;
    return Rebuild(false);
}

HRESULT SoundBuffer::Lock(DWORD offset, DWORD count, void** audio1, DWORD* bytes1, void** audio2,
                          DWORD* bytes2, DWORD lockFlags) {
    if (audio1 == nullptr || bytes1 == nullptr || (audio2 != nullptr && bytes2 == nullptr)) {
        return DSERR_INVALIDPARAM;
    }
    const auto size = static_cast<DWORD>(bytes.size());
    if (lockFlags & DSBLOCK_ENTIREBUFFER) {
        offset = 0;
        count = size;
    } else if (lockFlags & DSBLOCK_FROMWRITECURSOR) {
        GetCurrentPosition(nullptr, &offset);
    }
    if (count == 0 || count > size || offset >= size) {
        return DSERR_INVALIDPARAM;
    }
    if (lost) {
        return DSERR_BUFFERLOST;
    }
    const DWORD first = std::min(count, size - offset);
    *audio1 = bytes.data() + offset;
    *bytes1 = first;
    // Without a place for the second block the lock ends at the buffer's end.
    if (audio2 != nullptr) {
        *audio2 = count > first ? bytes.data() : nullptr;
        *bytes2 = count - first;
    }
    return DS_OK;
}

HRESULT SoundBuffer::Unlock(void* audio1, DWORD bytes1, void* audio2, DWORD bytes2) {
    const auto* begin = bytes.data();
    const auto* end = begin + bytes.size();
    const auto* first = static_cast<const std::uint8_t*>(audio1);
    if (first == nullptr || first < begin || first >= end ||
        bytes1 > static_cast<std::size_t>(end - first)) {
        return DSERR_INVALIDPARAM;
    }
    if ((audio2 != nullptr && (audio2 != begin || bytes2 > bytes.size())) ||
        (audio2 == nullptr && bytes2 != 0)) {
        return DSERR_INVALIDPARAM;
    }
    return Rebuild(false);
}

} // namespace dsound
