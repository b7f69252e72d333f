#include "platform/dsound/Resample.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>

namespace dsound {
namespace {

void ToFloat(const std::uint8_t* bytes, std::size_t samples, int bits, float* out) {
    if (bits == 8) {
        for (std::size_t i = 0; i < samples; ++i) {
            out[i] = (static_cast<float>(bytes[i]) - 128.0f) * (1.0f / 128.0f);
        }
        return;
    }
    for (std::size_t i = 0; i < samples; ++i) {
        const auto value = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        out[i] = static_cast<float>(value) * (1.0f / 32768.0f);
    }
}

} // namespace

std::uint32_t MixFrames(std::uint32_t sourceFrames, std::uint32_t frequency, int mixRate) {
    const double frames =
        std::round(static_cast<double>(sourceFrames) * mixRate / static_cast<double>(frequency));
    return static_cast<std::uint32_t>(std::max(frames, 1.0));
}

void ResamplePcm(const std::uint8_t* bytes, std::uint32_t sourceFrames, int channels, int bits,
                 std::uint32_t frequency, int mixRate, std::uint32_t frames,
                 std::vector<float>& out) {
    const std::size_t sourceSamples = static_cast<std::size_t>(sourceFrames) * channels;
    out.assign(static_cast<std::size_t>(frames) * channels, 0.0f);
    if (frequency == static_cast<std::uint32_t>(mixRate)) {
        ToFloat(bytes, std::min(sourceSamples, out.size()), bits, out.data());
        return;
    }
    std::vector<float> source(sourceSamples);
    ToFloat(bytes, sourceSamples, bits, source.data());

    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    std::size_t used = 0;
    std::size_t made = 0;
    const soxr_error_t error =
        soxr_oneshot(frequency, mixRate, static_cast<unsigned>(channels), source.data(),
                     sourceFrames, &used, out.data(), frames, &made, &io, &quality, nullptr);
    if (error) {
        // Better silence than noise; the frames already made are kept.
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(made * channels), out.end(), 0.0f);
    }
}

} // namespace dsound
