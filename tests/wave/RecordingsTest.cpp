#include "platform/Resources.h"
#include "sound/CWaveResource.h"
#include "tests/wave/SignalMeasure.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace wavetest;

namespace {

struct Image {
    const std::uint8_t* bytes = nullptr;
    std::uint32_t size = 0;

    std::string Id(std::uint32_t offset) const {
        return std::string(reinterpret_cast<const char*>(bytes + offset), 4);
    }
    std::uint32_t U32(std::uint32_t offset) const {
        return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
               static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
    }
    std::uint32_t U16(std::uint32_t offset) const { return bytes[offset] | bytes[offset + 1] << 8; }
};

Image Find(std::uint16_t number) {
    Image image;
    EXPECT_TRUE(platform::FindResource("WAVE", number, &image.bytes, &image.size));
    return image;
}

// The whole "data" chunk of an opened reader.
std::vector<std::uint8_t> Samples(CWaveResource& wave) {
    std::vector<std::uint8_t> out(wave.dataSize);
    std::uint32_t delivered = 0;
    EXPECT_EQ(wave.Rewind(), 1);
    EXPECT_EQ(wave.Read(out.data(), wave.dataSize, &delivered), 1);
    EXPECT_EQ(delivered, wave.dataSize);
    return out;
}

} // namespace

TEST(Recordings, Wave129Layout) {
    const Image image = Find(129);
    ASSERT_NE(image.bytes, nullptr);
    ASSERT_EQ(image.size, 26634u);
    EXPECT_EQ(image.Id(0), "RIFF");
    EXPECT_EQ(image.U32(4), 26634u - 8);
    EXPECT_EQ(image.Id(8), "WAVE");
    EXPECT_EQ(image.Id(12), "fmt ");
    EXPECT_EQ(image.U32(16), 18u);
    EXPECT_EQ(image.U16(20), 1u);     // PCM
    EXPECT_EQ(image.U16(22), 2u);     // channels
    EXPECT_EQ(image.U32(24), 11025u); // samples per second
    EXPECT_EQ(image.U32(28), 22050u); // bytes per second
    EXPECT_EQ(image.U16(32), 2u);     // block align
    EXPECT_EQ(image.U16(34), 8u);     // bits
    EXPECT_EQ(image.U16(36), 0u);     // extra count
    EXPECT_EQ(image.Id(38), "fact");
    EXPECT_EQ(image.U32(42), 4u);
    EXPECT_EQ(image.U32(46), 13288u);
    EXPECT_EQ(image.Id(50), "data");
    EXPECT_EQ(image.U32(54), 26576u);
}

TEST(Recordings, Wave130Layout) {
    const Image image = Find(130);
    ASSERT_NE(image.bytes, nullptr);
    ASSERT_EQ(image.size, 19000u);
    EXPECT_EQ(image.Id(0), "RIFF");
    EXPECT_EQ(image.U32(4), 19000u - 8);
    EXPECT_EQ(image.Id(8), "WAVE");
    EXPECT_EQ(image.Id(12), "fmt ");
    EXPECT_EQ(image.U32(16), 16u);
    EXPECT_EQ(image.U16(20), 1u);
    EXPECT_EQ(image.U16(22), 1u);
    EXPECT_EQ(image.U32(24), 22050u);
    EXPECT_EQ(image.U32(28), 22050u);
    EXPECT_EQ(image.U16(32), 1u);
    EXPECT_EQ(image.U16(34), 8u);
    EXPECT_EQ(image.Id(36), "fact");
    EXPECT_EQ(image.U32(40), 4u);
    EXPECT_EQ(image.U32(44), 18944u);
    EXPECT_EQ(image.Id(48), "data");
    EXPECT_EQ(image.U32(52), 18944u);
}

TEST(Recordings, OpenWithTheirFormats) {
    CWaveResource wave;
    ASSERT_EQ(wave.OpenResource(129), 1);
    EXPECT_EQ(wave.format->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.format->nChannels, 2);
    EXPECT_EQ(wave.format->nSamplesPerSec, 11025u);
    EXPECT_EQ(wave.format->nAvgBytesPerSec, 22050u);
    EXPECT_EQ(wave.format->nBlockAlign, 2);
    EXPECT_EQ(wave.format->wBitsPerSample, 8);
    EXPECT_EQ(wave.format->cbSize, 0);
    EXPECT_EQ(wave.dataSize, 26576u);

    // Opening the other one in the same reader replaces the first.
    ASSERT_EQ(wave.OpenResource(130), 1);
    EXPECT_EQ(wave.format->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.format->nChannels, 1);
    EXPECT_EQ(wave.format->nSamplesPerSec, 22050u);
    EXPECT_EQ(wave.format->nBlockAlign, 1);
    EXPECT_EQ(wave.format->wBitsPerSample, 8);
    EXPECT_EQ(wave.format->cbSize, 0);
    EXPECT_EQ(wave.dataSize, 18944u);
}

TEST(Recordings, ReadsWave130InPiecesAndAgainAfterRewind) {
    const Image image = Find(130);
    const std::uint8_t* data = image.bytes + 56;
    CWaveResource wave;
    ASSERT_EQ(wave.OpenResource(130), 1);

    std::vector<std::uint8_t> buffer(20000, 0);
    std::uint32_t delivered = 0;
    ASSERT_EQ(wave.Read(buffer.data(), 10000, &delivered), 1);
    EXPECT_EQ(delivered, 10000u);
    EXPECT_EQ(std::memcmp(buffer.data(), data, 10000), 0);

    ASSERT_EQ(wave.Read(buffer.data(), 10000, &delivered), 1);
    EXPECT_EQ(delivered, 8944u);
    EXPECT_EQ(std::memcmp(buffer.data(), data + 10000, 8944), 0);

    delivered = 1;
    EXPECT_EQ(wave.Read(buffer.data(), 10000, &delivered), 1);
    EXPECT_EQ(delivered, 0u);

    ASSERT_EQ(wave.Rewind(), 1);
    ASSERT_EQ(wave.Read(buffer.data(), 20000, &delivered), 1);
    EXPECT_EQ(delivered, 18944u);
    EXPECT_EQ(std::memcmp(buffer.data(), data, 18944), 0);
}

TEST(Recordings, Wave129IsOneChirpNearFiveKilohertzOverHiss) {
    CWaveResource wave;
    ASSERT_EQ(wave.OpenResource(129), 1);
    const std::vector<std::uint8_t> data = Samples(wave);
    const std::vector<double> left = Channel(data, 2, 0);
    EXPECT_EQ(left, Channel(data, 2, 1)) << "both channels carry the same signal";
    const double rate = 11025.0;
    ASSERT_EQ(left.size(), 13288u);
    auto at = [&](double from, double to) { return Seconds(from, to, rate, left.size()); };

    // Low hiss before the chirp and after it.
    EXPECT_LE(Peak(left, at(0.0, 0.2)), 22.0);
    EXPECT_GE(Peak(left, at(0.0, 0.2)), 10.0) << "hiss, not silence";
    EXPECT_LT(Rms(left, at(0.0, 0.2)), 8.0);
    EXPECT_LT(Rms(left, at(0.65, 1.205)), 8.0);
    EXPECT_LE(Peak(left, at(0.65, 1.205)), 22.0);

    // The loudest part lies between 0.23 and 0.30 s and peaks near 94.
    const double loudest = LoudestWindow(left, rate, 0.02);
    EXPECT_GE(loudest, 0.22);
    EXPECT_LE(loudest, 0.30);
    EXPECT_NEAR(Peak(left, at(0.23, 0.30)), 94.0, 8.0);
    EXPECT_GT(Rms(left, at(0.23, 0.30)), 4.0 * Rms(left, at(0.0, 0.2)));
    // It fades: weaker at 0.4 s than at its peak, and weaker again by 0.5 s.
    EXPECT_LT(Rms(left, at(0.40, 0.45)), 0.5 * Rms(left, at(0.23, 0.30)));
    EXPECT_LT(Rms(left, at(0.50, 0.55)), Rms(left, at(0.40, 0.45)));

    // Its energy lies near 5 kHz.
    const double strongest = StrongestFrequency(left, at(0.2, 0.4), rate);
    EXPECT_GE(strongest, 4800.0);
    EXPECT_LE(strongest, 5200.0);
    const double tone = ToneAmplitude(left, at(0.2, 0.4), strongest, rate);
    EXPECT_GT(tone, 5.0 * ToneAmplitude(left, at(0.2, 0.4), 2500.0, rate));
    EXPECT_GT(tone, 5.0 * ToneAmplitude(left, at(0.2, 0.4), 4000.0, rate));
    EXPECT_GT(tone, 5.0 * ToneAmplitude(left, at(0.7, 0.9), strongest, rate));
}

TEST(Recordings, Wave129ChirpIsATrainOfQuickPulses) {
    CWaveResource wave;
    ASSERT_EQ(wave.OpenResource(129), 1);
    const std::vector<double> left = Channel(Samples(wave), 2, 0);
    const double rate = 11025.0;
    // While the chirp is loud, each pulse rises well above the hiss and falls back between.
    const std::vector<double> onsets =
        PulseOnsets(left, Seconds(0.225, 0.33, rate, left.size()), rate, 0.001, 50.0, 25.0);
    ASSERT_GE(onsets.size(), 6u);
    const double period = (onsets.back() - onsets.front()) / static_cast<double>(onsets.size() - 1);
    // About 40 pulses fit into the 0.2 to 0.65 s of the chirp.
    EXPECT_GE(period, 0.009);
    EXPECT_LE(period, 0.0135);
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        EXPECT_NEAR(onsets[i] - onsets[i - 1], period, 0.002) << "pulse " << i;
    }
}

TEST(Recordings, Wave130IsAQuieterShorterChirp) {
    CWaveResource wave;
    ASSERT_EQ(wave.OpenResource(130), 1);
    const std::vector<double> mono = Channel(Samples(wave), 1, 0);
    const double rate = 22050.0;
    ASSERT_EQ(mono.size(), 18944u);
    auto at = [&](double from, double to) { return Seconds(from, to, rate, mono.size()); };

    const double loudest = LoudestWindow(mono, rate, 0.02);
    EXPECT_NEAR(loudest, 0.4, 0.04);
    const double strongest = StrongestFrequency(mono, at(0.34, 0.5), rate);
    EXPECT_GE(strongest, 4700.0);
    EXPECT_LE(strongest, 5100.0);
    EXPECT_GT(Rms(mono, at(0.37, 0.43)), 3.0 * Rms(mono, at(0.0, 0.3)));
    EXPECT_LT(Rms(mono, at(0.6, 0.859)), 1.5 * Rms(mono, at(0.0, 0.3)));

    CWaveResource louder;
    ASSERT_EQ(louder.OpenResource(129), 1);
    const std::vector<double> chirp = Channel(Samples(louder), 2, 0);
    EXPECT_LT(Peak(mono, at(0.0, 0.859)),
              0.75 * Peak(chirp, Seconds(0.0, 1.205, 11025.0, chirp.size())));
    // Shorter: the part well above the hiss lasts less time.
    auto loudSpan = [](const std::vector<double>& x, double r, double level) {
        std::size_t first = x.size();
        std::size_t last = 0;
        const auto window = static_cast<std::size_t>(0.01 * r);
        for (std::size_t start = 0; start + window <= x.size(); start += window) {
            if (Rms(x, {start, start + window}) > level) {
                first = std::min(first, start);
                last = start + window;
            }
        }
        return last > first ? static_cast<double>(last - first) / r : 0.0;
    };
    EXPECT_LT(loudSpan(mono, rate, 9.0), loudSpan(chirp, 11025.0, 9.0));
}

TEST(Recordings, LookupIsByTypeAndNumber) {
    const std::uint8_t* bytes = nullptr;
    std::uint32_t size = 7;
    EXPECT_FALSE(platform::FindResource("ICON", 129, &bytes, &size));
    EXPECT_FALSE(platform::FindResource("WAV", 129, &bytes, &size));
    EXPECT_FALSE(platform::FindResource("WAVE", 128, &bytes, &size));
    EXPECT_EQ(bytes, nullptr);
    EXPECT_EQ(size, 7u);
    ASSERT_TRUE(platform::FindResource("WAVE", 130, &bytes, &size));
    EXPECT_EQ(size, 19000u);
    const Image other = Find(129);
    EXPECT_NE(bytes, other.bytes);
}
