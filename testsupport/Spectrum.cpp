#include "testsupport/Spectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <numeric>

namespace soundtest {

std::vector<std::uint8_t> Sine16(double frequency, double rate, double amplitude,
                                 std::size_t frames) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto value = static_cast<std::uint16_t>(std::lround(
            32767.0 * amplitude * std::sin(2.0 * std::numbers::pi * frequency * i / rate)));
        bytes.insert(bytes.end(), {std::uint8_t(value), std::uint8_t(value >> 8)});
    }
    return bytes;
}

std::vector<double> Channel(const std::vector<std::int16_t>& interleaved, int channels, int channel,
                            std::size_t first, std::size_t count) {
    std::vector<double> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = interleaved[(first + i) * channels + channel] / 32768.0;
    }
    return samples;
}

double Rms(const std::vector<double>& x) {
    return std::sqrt(std::inner_product(x.begin(), x.end(), x.begin(), 0.0) / double(x.size()));
}

double Db(double ratio) {
    return 20.0 * std::log10(std::max(ratio, 1e-300));
}

ToneReport AnalyseTone(const std::vector<double>& samples, double sampleRate) {
    const std::size_t n = samples.size();
    std::vector<std::complex<double>> data(n);
    for (std::size_t i = 0, j = 0; i < n; ++i) {
        const double x = 2.0 * std::numbers::pi * double(i) / double(n);
        data[j] = samples[i] * (0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) -
                                0.01168 * std::cos(3 * x)); // stored in bit-reversed order
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2.0 * std::numbers::pi / double(length));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<double> w = 1.0;
            for (std::size_t k = start; k < start + length / 2; ++k, w *= step) {
                const std::complex<double> odd = data[k + length / 2] * w;
                data[k + length / 2] = data[k] - odd;
                data[k] += odd;
            }
        }
    }
    std::vector<double> spectrum(n / 2);
    std::transform(data.begin(), data.begin() + n / 2, spectrum.begin(),
                   [](std::complex<double> c) { return std::abs(c); });
    const std::size_t peak = std::max_element(spectrum.begin(), spectrum.end()) - spectrum.begin();
    // The window's main lobe is four bins either side; leave a little more.
    double spurious = 0.0;
    for (std::size_t i = 0; i < spectrum.size(); ++i) {
        spurious = i + 6 < peak || i > peak + 6 ? std::max(spurious, spectrum[i]) : spurious;
    }
    return {double(peak) * sampleRate / double(n), Db(spurious / spectrum[peak])};
}

} // namespace soundtest
