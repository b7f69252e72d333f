#pragma once

#include "audio/AudioOutput.h"

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

// An output that makes sound only when asked: tests and benchmarks render N frames at a time.
// It can also play a device that goes away and one that cannot be opened.
class OfflineOutput : public AudioOutput {
public:
    explicit OfflineOutput(int outputRate = 48000, int outputChannels = 2);

    bool Open(MixSource& source) override;
    void Close() override;
    bool Lost() override;
    std::string Error() const override { return available ? "" : "offline output unavailable"; }

    // Interleaved samples of `frames` frames; silence while closed.
    void Render(std::int16_t* out, int frames);
    std::vector<std::int16_t> Render(int frames);

    // The device goes away: Lost() answers true until the output is closed.
    void Remove() { removed = open; }
    // Whether Open succeeds.
    void SetAvailable(bool canOpen) { available = canOpen; }

    bool IsOpen() const { return open; }
    // How many times Open was called.
    int Opens() const { return opens; }
    int Rate() const { return rate; }
    int Channels() const { return channels; }

private:
    int rate;
    int channels;
    bool available = true;
    bool open = false;
    bool removed = false;
    int opens = 0;
    MixSource* source = nullptr;
};

} // namespace audio
