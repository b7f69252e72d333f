#pragma once

#include "audio/AudioOutput.h"

#include <cstdint>
#include <string>

namespace audio {

// Names the icon a sound server shows for our stream. It sets an environment variable, so call
// it first in main(), before any other thread runs.
void NameTheStreamIcon();

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
    std::string Error() const override { return error; }
    // SDL's disk driver starts its file afresh on every open, and its dummy driver has nothing to
    // suspend.
    bool CanRest() const override { return driver != "disk" && driver != "dummy"; }

private:
    static void Callback(void* self, std::uint8_t* stream, int length);
    bool Initialise();
    void Fail(const char* what);

    bool initialised = false;
    // Set when the device went away or would not open: SDL keeps its connection to a sound
    // server from start-up, so only a fresh start of the subsystem reaches a restarted one.
    bool restart = false;
    // The driver that first worked; a restart keeps to it rather than falling back to another.
    std::string driver;
    std::string error;
    std::uint32_t device = 0;
    int channels = 2;
    MixSource* source = nullptr;
};

} // namespace audio
