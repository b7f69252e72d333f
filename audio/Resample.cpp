#include "audio/Resample.h"

#include <soxr.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace audio {
namespace {

std::int16_t Sample16(const std::uint8_t* bytes, int bits, std::size_t i) {
    if (bits == 8) {
        return static_cast<std::int16_t>((bytes[i] - 128) * 256);
    }
    return static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

} // namespace

std::uint32_t MixFrames(std::uint32_t sourceFrames, std::uint32_t frequency, int mixRate) {
    const std::uint64_t scaled = std::uint64_t{sourceFrames} * static_cast<std::uint64_t>(mixRate);
    const std::uint64_t frames = (2 * scaled + frequency) / (2 * std::uint64_t{frequency});
    if (frames > std::numeric_limits<std::uint32_t>::max()) {
        return 0;
    }
    return std::max<std::uint32_t>(static_cast<std::uint32_t>(frames), 1);
}

Samples ResamplePcm(const std::uint8_t* bytes, std::uint32_t sourceFrames, int channels, int bits,
                    std::uint32_t frequency, int mixRate, std::uint32_t frames) {
    const std::size_t sourceSamples = static_cast<std::size_t>(sourceFrames) * channels;
    Samples out(static_cast<std::size_t>(frames) * channels);
    if (frequency == static_cast<std::uint32_t>(mixRate)) {
        for (std::size_t i = 0; i < std::min(sourceSamples, out.size()); ++i) {
            out[i] = Sample16(bytes, bits, i);
        }
        return out;
    }
    std::vector<std::int16_t> source(sourceSamples);
    for (std::size_t i = 0; i < sourceSamples; ++i) {
        source[i] = Sample16(bytes, bits, i);
    }
    // Undithered, so that the same bytes always give the same voice.
    const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    soxr_io_spec_t undithered = io;
    undithered.flags |= SOXR_NO_DITHER;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    std::size_t used = 0;
    std::size_t made = 0;
    const soxr_error_t error = soxr_oneshot(frequency, mixRate, static_cast<unsigned>(channels),
                                            source.data(), sourceFrames, &used, out.data(), frames,
                                            &made, &undithered, &quality, nullptr);
    if (error) {
        // Better silence than noise; the frames already made are kept.
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(made * channels), out.end(),
                  std::int16_t{0});
    }
    return out;
}

} // namespace audio
