// Runs kirorin-listen against SDL's disk audio driver and checks what reached the "sound card".
// Only the sound.listen_capture test runs it (serially, with KIRORIN_LISTEN set).
#include "Spectrum.h"

#include "sound/CWaveResource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using namespace soundtest;

namespace {

constexpr double kRate = 48000.0;

struct Span {
    std::size_t first = 0;
    std::size_t frames = 0;
};

// Frames from the first to the last that is not silent.
Span Sounding(const std::vector<std::int16_t>& stereo) {
    std::size_t first = stereo.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < stereo.size(); ++i) {
        if (stereo[i] != 0) {
            first = std::min(first, i / 2);
            last = i / 2;
        }
    }
    return first > last ? Span{} : Span{first, last - first + 1};
}

std::vector<std::int16_t> ReadSamples(const std::filesystem::path& path, std::size_t skip) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples;
    for (std::size_t i = skip; i + 1 < bytes.size(); i += 2) {
        samples.push_back(static_cast<std::int16_t>(
            static_cast<std::uint8_t>(bytes[i]) | (static_cast<std::uint8_t>(bytes[i + 1]) << 8)));
    }
    return samples;
}

// The strongest frequency of the left channel over a sounding stretch, zero-padded.
double PeakFrequency(const std::vector<std::int16_t>& stereo, Span span) {
    std::vector<double> left = Channel(stereo, 2, 0, span.first, span.frames);
    std::size_t size = 1;
    while (size < left.size()) {
        size *= 2;
    }
    left.resize(size * 2, 0.0);
    return AnalyseTone(left, kRate).frequency;
}

struct Recording {
    Span sounding; // in frames of the recording
    double peak;   // Hz at its own rate
};

Recording ChirpRecording() {
    CWaveResource chirp;
    EXPECT_EQ(chirp.OpenResource(129), 1);
    std::vector<std::uint8_t> data(chirp.dataSize);
    std::uint32_t delivered = 0;
    chirp.Read(data.data(), chirp.dataSize, &delivered);
    EXPECT_EQ(delivered, 26576u);
    std::vector<std::int16_t> stereo(data.size());
    std::transform(data.begin(), data.end(), stereo.begin(),
                   [](std::uint8_t b) { return static_cast<std::int16_t>((b - 128) * 256); });
    const Span span = Sounding(stereo);
    // PeakFrequency assumes 48000 Hz; scale to the recording's own rate.
    return {span, PeakFrequency(stereo, span) * 11025.0 / kRate};
}

std::filesystem::path FreshFolder() {
    std::random_device random;
    const auto folder =
        std::filesystem::temp_directory_path() / ("kirorin-listen-" + std::to_string(random()));
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace

TEST(ListenCapture, TheDiskDriverHoldsTheChirpAtItsPitchAndLength) {
    const char* listen = std::getenv("KIRORIN_LISTEN");
    if (listen == nullptr) {
        GTEST_SKIP() << "runs as sound.listen_capture";
    }
    const Recording chirp = ChirpRecording();
    const std::filesystem::path folder = FreshFolder();
    for (const int frequency : {11025, 10525}) {
        SCOPED_TRACE(frequency);
        const auto capture = folder / ("capture-" + std::to_string(frequency) + ".raw");
        const auto rendered = folder / ("render-" + std::to_string(frequency) + ".wav");
        const std::string options = " --frequency " + std::to_string(frequency) + " --pan -1666";
        const std::string play = "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" + capture.string() +
                                 "' '" + listen + "'" + options;
        ASSERT_EQ(std::system(play.c_str()), 0) << play;
        const std::string render =
            "'" + std::string(listen) + "'" + options + " --out '" + rendered.string() + "'";
        ASSERT_EQ(std::system(render.c_str()), 0) << render;

        const std::vector<std::int16_t> heard = ReadSamples(capture, 0);
        const Span span = Sounding(heard);
        const double seconds = span.frames / kRate;
        const double expected = chirp.sounding.frames / static_cast<double>(frequency);
        std::printf("at %d Hz: chirp %.4f s (expected %.4f s), peak %.0f Hz (expected %.0f Hz)\n",
                    frequency, seconds, expected, PeakFrequency(heard, span),
                    chirp.peak * frequency / 11025.0);
        EXPECT_NEAR(seconds, expected, 0.005);
        EXPECT_NEAR(PeakFrequency(heard, span), chirp.peak * frequency / 11025.0, 10.0);
        EXPECT_GT(PeakFrequency(heard, span), 4000.0);
        EXPECT_LT(PeakFrequency(heard, span), 6000.0);

        // The sound card got exactly what the offline rendering makes, right channel quieter.
        const std::vector<std::int16_t> offline = ReadSamples(rendered, 44);
        const Span offlineSpan = Sounding(offline);
        ASSERT_EQ(offlineSpan.frames, span.frames);
        EXPECT_TRUE(std::equal(heard.begin() + 2 * span.first,
                               heard.begin() + 2 * (span.first + span.frames),
                               offline.begin() + 2 * offlineSpan.first));
        const double left = Rms(Channel(heard, 2, 0, span.first, span.frames));
        const double right = Rms(Channel(heard, 2, 1, span.first, span.frames));
        EXPECT_GT(left, 0.0);
        EXPECT_LT(right, left);
    }
    std::filesystem::remove_all(folder);
}
