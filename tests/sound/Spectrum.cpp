#include "Spectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace soundtest {
namespace {

void Fft(std::vector<std::complex<double>>& data) {
    const std::size_t n = data.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(data[i], data[j]);
        }
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = -2.0 * std::numbers::pi / static_cast<double>(length);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<double> w(1.0, 0.0);
            for (std::size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> even = data[start + k];
                const std::complex<double> odd = data[start + k + length / 2] * w;
                data[start + k] = even + odd;
                data[start + k + length / 2] = even - odd;
                w *= step;
            }
        }
    }
}

} // namespace

std::vector<double> Channel(const std::vector<std::int16_t>& interleaved, int channels, int channel,
                            std::size_t first, std::size_t count) {
    std::vector<double> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = interleaved[(first + i) * channels + channel] / 32768.0;
    }
    return samples;
}

double Rms(const std::vector<double>& samples) {
    double sum = 0.0;
    for (double value : samples) {
        sum += value * value;
    }
    return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

std::vector<double> MagnitudeSpectrum(const std::vector<double>& samples) {
    const std::size_t n = samples.size();
    std::vector<std::complex<double>> data(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = 2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n);
        const double window =
            0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
        data[i] = samples[i] * window;
    }
    Fft(data);
    std::vector<double> magnitudes(n / 2);
    for (std::size_t i = 0; i < n / 2; ++i) {
        magnitudes[i] = std::abs(data[i]);
    }
    return magnitudes;
}

ToneReport AnalyseTone(const std::vector<double>& samples, double sampleRate) {
    const std::vector<double> spectrum = MagnitudeSpectrum(samples);
    const auto peak = static_cast<std::size_t>(std::max_element(spectrum.begin(), spectrum.end()) -
                                               spectrum.begin());
    // The window's main lobe is four bins either side; leave a little more.
    constexpr std::size_t kLobe = 6;
    double spurious = 0.0;
    for (std::size_t i = 0; i < spectrum.size(); ++i) {
        if (i + kLobe < peak || i > peak + kLobe) {
            spurious = std::max(spurious, spectrum[i]);
        }
    }
    return {static_cast<double>(peak) * sampleRate / static_cast<double>(samples.size()),
            Db(spurious / spectrum[peak])};
}

double Db(double ratio) {
    return 20.0 * std::log10(std::max(ratio, 1e-300));
}

} // namespace soundtest
