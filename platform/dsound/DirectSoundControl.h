#pragma once

#include "audio/AudioOutput.h"
#include "platform/dsound/dsound.h"

#include <memory>

namespace dsound {

// A device that mixes into the given output instead of the sound card (tests, benchmarks, the
// listening tool's offline rendering, each standing it in for DirectSoundCreate's through
// Services::createSoundDevice). Fails like DirectSoundCreate when the output cannot open.
HRESULT CreateDevice(std::shared_ptr<audio::AudioOutput> output, IDirectSound** directSound);

} // namespace dsound
