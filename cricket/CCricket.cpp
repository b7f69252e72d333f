#include "cricket/CCricket.h"

#include "app/CChorusApp.h"
#include "cricket/CTwister.h"
#include "settings/SettingsMath.h"
#include "sound/CSoundDevice.h"
#include "sound/CWaveResource.h"

#include <limits>

namespace {

constexpr double kHundredth = 0.01;
constexpr std::uint32_t kPitchSpread = 1001;
constexpr std::uint32_t kPitchOffset = 500;
constexpr std::uint32_t kDelaySpread = 201;
constexpr std::uint32_t kLoudnessSpread = 3001;
constexpr std::uint32_t kPanSpread = 3333;
constexpr LONG kPanOffset = 1666;

} // namespace

CCricket::CCricket() : stopwatch(CreateStopwatch()) {
}

// The stopwatch goes first, then the voice releases its buffer.
CCricket::~CCricket() {
    stopwatch.reset();
}

int CCricket::Attach(CSoundDevice& device, CWaveResource& wave) {
    if (!stopwatch) {
        return 0;
    }
    if (!voice.Create(device, wave, kBufferFlags)) {
        return 0;
    }
    DWORD frequency = 0;
    if (FAILED(voice.buffer->GetFrequency(&frequency))) {
        frequency = 0;
    }
    if (frequency == 0) {
        return 0;
    }
    const std::uint32_t r = theTwister.Next();
    // Unsigned arithmetic: a rate that would fall below zero wraps far beyond the range the
    // buffer accepts, so it is refused.
    const DWORD pitch = frequency + (r % kPitchSpread) - kPitchOffset;
    if (FAILED(voice.buffer->SetFrequency(pitch))) {
        return 0;
    }
    return NewSong();
}

int CCricket::NewSong() {
    if (!stopwatch) {
        return 0;
    }
    firstDelay = ((theTwister.Next() % kDelaySpread) + 100) * kHundredth;
    chirpsLeft = kChirpsPerPhrase;
    phraseRest = ((theTwister.Next() % kDelaySpread) + 200) * kHundredth;
    wait = phraseRest + firstDelay;
    phrasesLeft = static_cast<std::int32_t>(theTwister.Next() & 3u) + 3;
    stopwatch->Reset();
    interrupted = 0;

    const LONG volume = SongVolume(TheApp().settings.volume, theTwister.Next() % kLoudnessSpread);
    // Without a buffer the song still runs its course silently, as after a refused volume.
    if (!voice.buffer || FAILED(voice.buffer->SetVolume(volume))) {
        return 0;
    }
    const LONG pan = static_cast<LONG>(theTwister.Next() % kPanSpread) - kPanOffset;
    return FAILED(voice.buffer->SetPan(pan)) ? 0 : 1;
}

LONG CCricket::SongVolume(std::int32_t setting, std::uint32_t n) {
    // A result that does not fit saturates in its own direction, which SetVolume refuses.
    const LONG saturated =
        setting > 0 ? std::numeric_limits<LONG>::max() : std::numeric_limits<LONG>::min();
    return ChirpVolume(setting, n).value_or(saturated);
}

void CCricket::Tick(int disturbed) {
    if (!stopwatch) {
        return;
    }
    if (wait >= 0.0) {
        if (stopwatch->Elapsed() < wait) {
            return;
        }
        wait = kNoWait;
    }
    if (voice.IsPlaying()) {
        return;
    }
    if (disturbed) {
        interrupted = 1;
        return;
    }
    if (interrupted) {
        NewSong();
        interrupted = 0;
        return;
    }
    --chirpsLeft;
    if (chirpsLeft < 0) {
        wait = phraseRest;
        --phrasesLeft;
        chirpsLeft = kChirpsPerPhrase;
        stopwatch->Reset();
        return;
    }
    if (phrasesLeft > 0) {
        voice.Play(0);
        return;
    }
    NewSong();
}
