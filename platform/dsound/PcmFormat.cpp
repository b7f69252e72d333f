#include "platform/dsound/PcmFormat.h"

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

} // namespace dsound
