#include "platform/dsound/PcmFormat.h"

#include <cstring>

namespace dsound {

HRESULT CheckPcmFormat(const WAVEFORMATEX* format) {
    if (format == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (format->wFormatTag != WAVE_FORMAT_PCM) {
        return DSERR_BADFORMAT;
    }
    if (format->nChannels == 0 || format->wBitsPerSample == 0 || format->wBitsPerSample % 8 != 0 ||
        format->nSamplesPerSec < DSBFREQUENCY_MIN || format->nSamplesPerSec > DSBFREQUENCY_MAX) {
        return DSERR_INVALIDPARAM;
    }
    const DWORD blockAlign = static_cast<DWORD>(format->nChannels) * (format->wBitsPerSample / 8);
    if (format->nBlockAlign != blockAlign ||
        format->nAvgBytesPerSec != blockAlign * format->nSamplesPerSec) {
        return DSERR_INVALIDPARAM;
    }
    if (format->nChannels > 2 || (format->wBitsPerSample != 8 && format->wBitsPerSample != 16)) {
        return DSERR_BADFORMAT;
    }
    return DS_OK;
}

HRESULT CopyFormat(const WAVEFORMATEX& format, WAVEFORMATEX* out, DWORD sizeAllocated,
                   DWORD* sizeWritten) {
    if (out == nullptr) {
        if (sizeWritten == nullptr) {
            return DSERR_INVALIDPARAM;
        }
        *sizeWritten = sizeof(WAVEFORMATEX);
        return DS_OK;
    }
    if (sizeAllocated < sizeof(WAVEFORMATEX)) {
        return DSERR_INVALIDPARAM;
    }
    std::memcpy(out, &format, sizeof(WAVEFORMATEX));
    if (sizeWritten) {
        *sizeWritten = sizeof(WAVEFORMATEX);
    }
    return DS_OK;
}

} // namespace dsound
