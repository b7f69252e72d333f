#pragma once

#include "platform/dsound/DsPtr.h"
#include "platform/dsound/dsound.h"

#include <cstdint>

// The program's one sound device and the format of its primary buffer.
class CSoundDevice {
public:
    int Open(HWND window, std::uint16_t level, int channels, std::uint16_t rate,
             std::uint16_t bits);

    // Empty before a successful Open, after a failed one, and after destruction.
    DsPtr<IDirectSound> device;
};
