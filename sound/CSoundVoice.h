#pragma once

#include "platform/dsound/DsPtr.h"
#include "platform/dsound/dsound.h"
#include "sound/CWaveResource.h"

#include <cstdint>

class CSoundDevice;

// One playable copy of a recording: a buffer holding the whole "data" chunk of a wave.
class CSoundVoice {
public:
    CSoundVoice() = default;
    CSoundVoice(const CSoundVoice&) = delete;
    CSoundVoice& operator=(const CSoundVoice&) = delete;
    ~CSoundVoice();

    int Create(CSoundDevice& device, CWaveResource& wave, DWORD flags);
    int Play(int loop);
    int Stop();
    int IsPlaying();
    int Restore(int* restored = nullptr);
    int Fill();

    // Owned; the owner sets frequency, volume and pan on it directly and releases it at chorus
    // stop.
    DsPtr<IDirectSoundBuffer> buffer;
    CWaveResource ownWave;
    // The recording that fills the buffer; never null.
    CWaveResource* wave = &ownWave;
};
