// The engine on its own: the mixer's voices heard through the offline output.
#include "testsupport/Spectrum.h"

#include "audio/Mixer.h"
#include "audio/OfflineOutput.h"
#include "audio/Resample.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <thread>

using namespace soundtest;

namespace {

// A 4.9 kHz tone in an 11025 Hz buffer (89% of its Nyquist frequency) at three playback rates:
// its level kept and nothing else near it (linear interpolation would leave images at 6 kHz;
// 8-bit voices would leave noise at -48 dB).
TEST(Audio, ResampledToneKeepsItsLevelAndNothingElseComesOut) {
    const std::vector<std::uint8_t> bytes = Sine16(4900, 11025, 0.5, 2 * 11025);
    for (const std::uint32_t frequency : {10525u, 11025u, 11525u}) {
        audio::Mixer mixer;
        audio::OfflineOutput output(48000, 2);
        ASSERT_TRUE(output.Open(mixer));
        const std::uint32_t frames = audio::MixFrames(2 * 11025, frequency, 48000);
        const auto voice = mixer.AddVoice(1, frames);
        mixer.Replace(
            voice, 1, frames,
            audio::ResamplePcm(bytes.data(), 2 * 11025, 1, 1, 16, frequency, 48000, frames));
        mixer.Start(voice, false);
        const std::vector<double> x = Channel(output.Render(90000), 2, 0, 16384, 65536);
        const ToneReport report = AnalyseTone(x, 48000);
        EXPECT_NEAR(report.frequency, 4900.0 * frequency / 11025.0, 2.0);
        EXPECT_NEAR(Db(Rms(x) * std::sqrt(2.0) / 0.5), 0.0, 0.05) << frequency;
        EXPECT_LT(report.spuriousDb, -85.0) << frequency;
    }
}

// The tick changes voices while the output's thread mixes them: ThreadSanitizer's run sees any
// unguarded access, and a mix never reads past a voice that shrank under it.
TEST(Audio, VoicesChangeWhileAnotherThreadMixes) {
    audio::Mixer mixer;
    audio::OfflineOutput output(48000, 2);
    ASSERT_TRUE(output.Open(mixer));
    const std::vector<std::uint8_t> bytes = Sine16(1000, 48000, 0.5, 4800);
    const auto voice = mixer.AddVoice(1, 4800);
    std::atomic<int> renders{0};
    std::atomic<bool> done{false};
    std::thread mixing([&] {
        for (; !done; ++renders) {
            output.Render(480);
        }
    });
    while (renders == 0) {
        std::this_thread::yield(); // the changes below overlap the mixing
    }
    for (int i = 0; i < 200; ++i) {
        const std::uint32_t frames = 4800 - 10 * (i % 2);
        mixer.Replace(voice, 1, frames,
                      audio::ResamplePcm(bytes.data(), 4800, 1, 1, 16, 48000, 48000, frames));
        mixer.SetGains(voice, 0.5f, 1.0f);
        mixer.Start(voice, true);
        mixer.SetPosition(voice, 100);
        EXPECT_LT(mixer.Status(voice).position, frames);
        mixer.Stop(voice);
    }
    done = true;
    mixing.join();
}

} // namespace
