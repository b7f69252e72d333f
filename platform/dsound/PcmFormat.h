#pragma once

#include "platform/dsound/dsound.h"

namespace dsound {

// DS_OK for 8- or 16-bit PCM, mono or stereo, at 100..200000 Hz with consistent block size and
// byte rate; DSERR_INVALIDPARAM for a malformed record, DSERR_BADFORMAT for one we cannot play.
HRESULT CheckPcmFormat(const WAVEFORMATEX* format);

// GetFormat for any buffer: the record, or only its size when out is null.
HRESULT CopyFormat(const WAVEFORMATEX& format, WAVEFORMATEX* out, DWORD sizeAllocated,
                   DWORD* sizeWritten);

} // namespace dsound
