#pragma once

#include <cstdint>
#include <vector>

// OpenAL Soft's loopback device playing the same chorus, with the resampler whose name contains
// resamplerName. Returns false (and renders nothing) when the device or resampler is missing.
class OpenAlChorus {
public:
    OpenAlChorus();
    ~OpenAlChorus();
    OpenAlChorus(const OpenAlChorus&) = delete;
    OpenAlChorus& operator=(const OpenAlChorus&) = delete;

    bool Ready() const { return context != nullptr; }
    // Starts one looping source per pitch from the given 8-bit or 16-bit recording.
    bool Start(const char* resamplerName, const std::vector<std::uint8_t>& bytes, int channels,
               int bits, int rate, const std::vector<int>& pitches, bool looping);
    void Stop();
    void Render(std::int16_t* out, int frames);

private:
    void* device = nullptr;
    void* context = nullptr;
    unsigned buffer = 0;
    std::vector<unsigned> sources;
};
