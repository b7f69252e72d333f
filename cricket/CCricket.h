#pragma once

#include "cricket/CStopwatch.h"
#include "platform/dsound/dsound.h"
#include "sound/CSoundVoice.h"

#include <cstdint>
#include <memory>

class CSoundDevice;
class CWaveResource;

// One singer of the chorus: songs of 3 to 6 phrases of four chirps, with rests between them,
// and a fresh draw of silences, loudness and pan for every song.
class CCricket {
public:
    // Buffer controls every cricket needs: frequency, pan, volume, audible without focus.
    static constexpr DWORD kBufferFlags =
        DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS;
    static constexpr int kChirpsPerPhrase = 4;
    // Value of wait while no silence is pending.
    static constexpr double kNoWait = -1.0;

    CCricket();
    CCricket(const CCricket&) = delete;
    CCricket& operator=(const CCricket&) = delete;
    virtual ~CCricket();

    // Creates the voice from wave on device, draws its pitch and the first song. 0 on failure.
    int Attach(CSoundDevice& device, CWaveResource& wave);
    // One 10 ms step; a disturbed cricket starts nothing.
    void Tick(int disturbed);

    // The buffer volume for the volume setting and a loudness draw n (0 to 3000). Out-of-range
    // settings give a value outside -10000..0, which the buffer refuses.
    static LONG SongVolume(std::int32_t setting, std::uint32_t n);

    // The chorus stop silences and releases it.
    CSoundVoice voice;

private:
    // Draws a new song and sets its loudness and pan. 0 when the buffer refused one of them.
    int NewSong();

    double firstDelay = 0.0;
    double phraseRest = 0.0;
    // Length of the pending silence in seconds; negative when none is pending.
    double wait = 0.0;
    std::int32_t phrasesLeft = 0;
    std::int32_t chirpsLeft = 0;
    std::int32_t interrupted = 0;
    // Declared last so that it is destroyed before the voice.
    std::unique_ptr<CStopwatch> stopwatch;
};
