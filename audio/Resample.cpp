#include "audio/Resample.h"

#include <soxr.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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

Samples ResamplePcm(const std::uint8_t* bytes, std::uint32_t sourceFrames, int sourceChannels,
                    int channels, int bits, std::uint32_t frequency, int mixRate,
                    std::uint32_t frames) {
    const auto kept = static_cast<std::size_t>(channels);
    const auto stride = static_cast<std::size_t>(sourceChannels);
    const auto at = [&](std::size_t frame, std::size_t channel) {
        return Sample16(bytes, bits, frame * stride + channel);
    };
    Samples out(static_cast<std::size_t>(frames) * kept);
    if (frequency == static_cast<std::uint32_t>(mixRate)) {
        for (std::size_t f = 0; f < std::min<std::size_t>(sourceFrames, frames); ++f) {
            for (std::size_t c = 0; c < kept; ++c) {
                out[f * kept + c] = at(f, c);
            }
        }
        return out;
    }
    std::vector<std::int16_t> source(static_cast<std::size_t>(sourceFrames) * kept);
    for (std::size_t f = 0; f < sourceFrames; ++f) {
        for (std::size_t c = 0; c < kept; ++c) {
            source[f * kept + c] = at(f, c);
        }
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
        std::fprintf(stderr, "kirorin: resampling a sound failed, the rest of it is silence: %s\n",
                     error);
        // Better silence than noise; the frames already made are kept.
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(made * channels), out.end(),
                  std::int16_t{0});
    }
    return out;
}

bool SameChannels(const std::uint8_t* bytes, std::uint32_t frames, int bits) {
    const std::size_t sampleBytes = bits == 8 ? 1 : 2;
    for (std::size_t f = 0; f < frames; ++f) {
        const std::uint8_t* frame = bytes + 2 * sampleBytes * f;
        if (std::memcmp(frame, frame + sampleBytes, sampleBytes) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace audio
