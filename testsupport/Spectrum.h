#pragma once

#include <cstdint>
#include <vector>

namespace soundtest {

// A sine of `amplitude` (0..1) at `frequency` Hz, `frames` long, as 16-bit mono little-endian
// PCM bytes.
std::vector<std::uint8_t> Sine16(double frequency, double rate, double amplitude,
                                 std::size_t frames);

// One channel of interleaved 16-bit samples from frame `first` on, as values in -1..1.
std::vector<double> Channel(const std::vector<std::int16_t>& interleaved, int channels, int channel,
                            std::size_t first, std::size_t count);
double Rms(const std::vector<double>& samples);
double Db(double ratio);

struct ToneReport {
    double frequency;  // Hz, of the strongest bin
    double spuriousDb; // strongest bin outside the tone's main lobe, dB relative to the tone
};
// From the FFT of a Blackman-Harris windowed block (size a power of two). The window's sidelobes
// lie 92 dB down, below anything the tests look for.
ToneReport AnalyseTone(const std::vector<double>& samples, double sampleRate);

} // namespace soundtest
