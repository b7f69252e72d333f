#pragma once

#include "platform/dsound/AudioOutput.h"

#include <cstdint>

namespace dsound {

// The sound card through SDL's audio subsystem: 48000 Hz stereo S16 in 10 ms periods, or
// whatever rate and channel count the device insists on.
class SdlOutput : public AudioOutput {
public:
    SdlOutput() = default;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;
    ~SdlOutput() override;

    bool Open(MixSource& source) override;
    void Close() override;
    bool Lost() override;

private:
    static void Callback(void* self, std::uint8_t* stream, int length);

    bool initialised = false;
    std::uint32_t device = 0;
    int channels = 2;
    MixSource* source = nullptr;
};

} // namespace dsound
