#pragma once

#include "platform/dsound/DirectSoundControl.h"
#include "platform/dsound/DsPtr.h"
#include "platform/dsound/OfflineOutput.h"
#include "platform/dsound/dsound.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace soundtest {

constexpr DWORD kAllControls = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

WAVEFORMATEX PcmFormat(WORD channels, DWORD rate, WORD bits);

// 16-bit samples as little-endian bytes.
std::vector<std::uint8_t> Bytes16(const std::vector<std::int16_t>& samples);
// A sine of `amplitude` (0..1) at `frequency` Hz, `frames` long, as 16-bit mono samples.
std::vector<std::int16_t> Sine16(double frequency, double rate, double amplitude,
                                 std::size_t frames);

// A device over an offline output, and buffers filled with given bytes.
struct OfflineDevice {
    explicit OfflineDevice(int rate = 48000, int channels = 2);

    DsPtr<IDirectSoundBuffer> Buffer(const WAVEFORMATEX& format,
                                     const std::vector<std::uint8_t>& bytes,
                                     DWORD flags = kAllControls);
    DWORD Status(IDirectSoundBuffer* buffer);

    std::shared_ptr<dsound::OfflineOutput> output;
    DsPtr<IDirectSound> device;
};

} // namespace soundtest
