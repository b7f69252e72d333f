#include "mixer_chorus.h"

#include "sound/CWaveResource.h"

const ChirpRecording& Chirp() {
    static const ChirpRecording chirp = [] {
        ChirpRecording recording;
        CWaveResource wave;
        if (!wave.OpenResource(129)) {
            return recording;
        }
        recording.channels = wave.format->nChannels;
        recording.bits = wave.format->wBitsPerSample;
        recording.rate = static_cast<int>(wave.format->nSamplesPerSec);
        recording.bytes.resize(wave.dataSize);
        std::uint32_t delivered = 0;
        wave.Read(recording.bytes.data(), wave.dataSize, &delivered);
        recording.bytes.resize(delivered);
        wave.Close();
        return recording;
    }();
    return chirp;
}
