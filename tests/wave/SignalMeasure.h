#pragma once

// Small measurements over 8-bit unsigned samples for checking what the recordings sound like.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace wavetest {

// One channel of interleaved 8-bit samples, centred on 0.
inline std::vector<double> Channel(const std::vector<std::uint8_t>& data, int channels, int which) {
    std::vector<double> out;
    for (std::size_t i = static_cast<std::size_t>(which); i < data.size();
         i += static_cast<std::size_t>(channels)) {
        out.push_back(static_cast<double>(data[i]) - 128.0);
    }
    return out;
}

struct Span {
    std::size_t begin;
    std::size_t end;
};

inline Span Seconds(double from, double to, double rate, std::size_t size) {
    auto clampIndex = [&](double t) {
        return std::min(size, static_cast<std::size_t>(std::max(0.0, t * rate)));
    };
    return {clampIndex(from), clampIndex(to)};
}

inline double Rms(const std::vector<double>& x, Span span) {
    double sum = 0.0;
    for (std::size_t i = span.begin; i < span.end; ++i) {
        sum += x[i] * x[i];
    }
    return span.end > span.begin ? std::sqrt(sum / static_cast<double>(span.end - span.begin))
                                 : 0.0;
}

inline double Peak(const std::vector<double>& x, Span span) {
    double peak = 0.0;
    for (std::size_t i = span.begin; i < span.end; ++i) {
        peak = std::max(peak, std::abs(x[i]));
    }
    return peak;
}

// Amplitude of the component at frequency (Goertzel), windowed with a Hann window.
inline double ToneAmplitude(const std::vector<double>& x, Span span, double frequency,
                            double rate) {
    const double w = 2.0 * std::numbers::pi * frequency / rate;
    const double coefficient = 2.0 * std::cos(w);
    const double n = static_cast<double>(span.end - span.begin);
    double s1 = 0.0;
    double s2 = 0.0;
    for (std::size_t i = span.begin; i < span.end; ++i) {
        const double hann =
            0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i - span.begin) / n);
        const double s = x[i] * hann + coefficient * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return std::sqrt(std::max(0.0, power)) * 4.0 / n;
}

// The frequency, on a grid of step Hz, where the component is strongest.
inline double StrongestFrequency(const std::vector<double>& x, Span span, double rate,
                                 double step = 10.0) {
    double best = 0.0;
    double bestAmplitude = -1.0;
    for (double f = step; f < rate / 2.0; f += step) {
        const double amplitude = ToneAmplitude(x, span, f, rate);
        if (amplitude > bestAmplitude) {
            bestAmplitude = amplitude;
            best = f;
        }
    }
    return best;
}

// Middle of the window (of the given length in seconds) with the highest RMS.
inline double LoudestWindow(const std::vector<double>& x, double rate, double length) {
    const auto window = static_cast<std::size_t>(length * rate);
    double bestRms = -1.0;
    std::size_t bestStart = 0;
    for (std::size_t start = 0; start + window <= x.size(); start += window / 4) {
        const double rms = Rms(x, {start, start + window});
        if (rms > bestRms) {
            bestRms = rms;
            bestStart = start;
        }
    }
    return (static_cast<double>(bestStart) + static_cast<double>(window) / 2.0) / rate;
}

// Times (s) where the envelope (the peak over smoothing seconds) rises above high, having
// fallen below low since the last such rise (or since the start, so that a pulse already under
// way at the start is not counted).
inline std::vector<double> PulseOnsets(const std::vector<double>& x, Span span, double rate,
                                       double smoothing, double high, double low) {
    const auto window = std::max<std::size_t>(1, static_cast<std::size_t>(smoothing * rate));
    std::vector<double> onsets;
    bool above = true;
    for (std::size_t i = span.begin; i + window <= span.end; ++i) {
        const double level = Peak(x, {i, i + window});
        if (!above && level > high) {
            onsets.push_back(static_cast<double>(i) / rate);
            above = true;
        } else if (above && level < low) {
            above = false;
        }
    }
    return onsets;
}

} // namespace wavetest
