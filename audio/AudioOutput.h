#pragma once

#include <cstdint>
#include <string>

namespace audio {

// What an output pulls its sound from. The output tells it the device's format before the
// first Mix and calls Mix on its own thread.
class MixSource {
public:
    virtual void SetFormat(int rate, int channels) = 0;
    // Writes frames of interleaved signed 16-bit samples in the format last set.
    virtual void Mix(std::int16_t* out, int frames) = 0;

protected:
    virtual ~MixSource() = default;
};

// A place the mix goes to: the sound card (SdlOutput) or the caller (OfflineOutput).
class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Opens the device, tells source its format and starts pulling. False when no device can
    // be opened; then source is never called.
    virtual bool Open(MixSource& source) = 0;
    // After Close returns the source is not called again.
    virtual void Close() = 0;
    // True once an open device has gone away (unplugged, server gone).
    virtual bool Lost() = 0;
    // Whether closing the output while nothing sounds helps: it lets a sound server suspend its
    // sink. A capture to a file would only be cut.
    virtual bool CanRest() const { return true; }
    // Why the last Open failed or the device went away, as the sound library tells it.
    virtual std::string Error() const = 0;
};

} // namespace audio
