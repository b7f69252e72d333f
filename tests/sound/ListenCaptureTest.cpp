// Runs kirorin-listen against SDL's disk audio driver and checks what reached the "sound card":
// the chirp at its pitch and length, the same samples as an offline rendering, the pan.
#include "testsupport/Spectrum.h"

#include "sound/CWaveResource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

using namespace soundtest;

namespace {

// A file's 16-bit samples (in the machine's byte order, as the disk driver writes them).
std::vector<std::int16_t> ReadSamples(const std::filesystem::path& path, std::size_t skip) {
    std::vector<std::int16_t> samples((std::filesystem::file_size(path) - skip) / 2);
    std::ifstream in(path, std::ios::binary);
    in.seekg(std::streamoff(skip))
        .read(reinterpret_cast<char*>(samples.data()), std::streamsize(samples.size() * 2));
    return samples;
}

// 16-bit stereo samples, and the frames from the first to the last that sounds: louder than half
// an 8-bit step, so that the resampler's faint ringing around the chirp does not count.
struct Capture {
    explicit Capture(std::vector<std::int16_t> stereo) : samples(std::move(stereo)) {
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const bool sounds = std::abs(samples[i]) > 128;
            first = sounds ? std::min(first, i / 2) : first;
            frames = sounds ? i / 2 - first + 1 : frames;
        }
    }
    // The strongest frequency of the left channel while sounding, zero-padded.
    double Peak(double rate) const {
        std::vector<double> left = Channel(samples, 2, 0, first, frames);
        left.resize(std::bit_ceil(left.size()) * 2, 0.0);
        return AnalyseTone(left, rate).frequency;
    }
    std::vector<std::int16_t> samples;
    std::size_t first = SIZE_MAX, frames = 0;
};

TEST(ListenCapture, TheDiskDriverHoldsTheChirpAtItsPitchAndLength) {
    const char* listen = std::getenv("KIRORIN_LISTEN");
    ASSERT_NE(listen, nullptr) << "KIRORIN_LISTEN names the program";
    // The chirp itself, 8-bit stereo at 11025 Hz.
    CWaveResource wave;
    ASSERT_EQ(wave.OpenResource(129), 1);
    std::vector<std::uint8_t> data(wave.dataSize);
    std::uint32_t delivered = 0;
    ASSERT_EQ(wave.Read(data.data(), wave.dataSize, &delivered), 1);
    std::vector<std::int16_t> stereo(data.size());
    std::transform(data.begin(), data.end(), stereo.begin(),
                   [](std::uint8_t b) { return std::int16_t((b - 128) * 256); });
    const Capture chirp(stereo);
    const auto folder = std::filesystem::temp_directory_path() /
                        ("kirorin-listen-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    for (const int frequency : {11025, 10525}) {
        const auto capture = folder / "capture.raw", rendered = folder / "render.wav";
        const std::string options = " --frequency " + std::to_string(frequency) + " --pan -1666";
        const std::string play = "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" + capture.string() +
                                 "' '" + listen + "'" + options;
        ASSERT_EQ(std::system(play.c_str()), 0) << play;
        const std::string render =
            "'" + std::string(listen) + "'" + options + " --out '" + rendered.string() + "'";
        ASSERT_EQ(std::system(render.c_str()), 0) << render;

        const Capture heard(ReadSamples(capture, 0)), offline(ReadSamples(rendered, 44));
        EXPECT_NEAR(heard.frames / 48000.0, chirp.frames / double(frequency), 0.005) << frequency;
        EXPECT_NEAR(heard.Peak(48000), chirp.Peak(11025) * frequency / 11025.0, 10.0) << frequency;
        ASSERT_EQ(offline.frames, heard.frames);
        EXPECT_TRUE(std::equal(heard.samples.begin() + 2 * heard.first,
                               heard.samples.begin() + 2 * (heard.first + heard.frames),
                               offline.samples.begin() + 2 * offline.first));
        const double left = Rms(Channel(heard.samples, 2, 0, heard.first, heard.frames));
        EXPECT_LT(Rms(Channel(heard.samples, 2, 1, heard.first, heard.frames)), left);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
