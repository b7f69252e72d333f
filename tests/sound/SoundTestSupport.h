#pragma once

// Shared by the sound tests: formats and sample builders, a device over an offline output, and
// measurements of what comes out.

#include "Spectrum.h"
#include "platform/dsound/DirectSoundControl.h"
#include "platform/dsound/DsPtr.h"
#include "platform/dsound/OfflineOutput.h"
#include "platform/dsound/dsound.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace soundtest {

using Bytes = std::vector<std::uint8_t>;
constexpr DWORD kAllControls = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

WAVEFORMATEX PcmFormat(WORD channels, DWORD rate, WORD bits);
// A sine of `amplitude` (0..1) at `frequency` Hz, `frames` long, as 16-bit mono little-endian.
Bytes Sine16(double frequency, double rate, double amplitude, std::size_t frames);

// A device over an offline output at 48000 Hz, and buffers filled with given bytes.
struct OfflineDevice {
    explicit OfflineDevice(int channels = 2);
    DsPtr<IDirectSoundBuffer> Buffer(const WAVEFORMATEX& format, const Bytes& bytes,
                                     DWORD flags = kAllControls);
    DWORD Status(IDirectSoundBuffer* buffer);

    std::shared_ptr<dsound::OfflineOutput> output;
    DsPtr<IDirectSound> device;
};

// A buffer's first `size` bytes, through a lock.
Bytes BufferBytes(IDirectSoundBuffer* buffer, DWORD size);

} // namespace soundtest
