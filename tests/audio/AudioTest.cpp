// The mixer on its own, changed from one thread while another mixes.
#include "testsupport/Spectrum.h"

#include "audio/Mixer.h"
#include "audio/OfflineOutput.h"
#include "audio/Resample.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

using namespace soundtest;

namespace {

// The tick changes voices while the output's thread mixes them: ThreadSanitizer's run sees any
// unguarded access, and a mix never reads past a voice that shrank under it.
TEST(Audio, VoicesChangeWhileAnotherThreadMixes) {
    audio::Mixer mixer;
    audio::OfflineOutput output(48000, 2);
    ASSERT_TRUE(output.Open(mixer));
    const std::vector<std::uint8_t> bytes = Sine16(1000, 48000, 0.5, 4800);
    const auto voice = mixer.AddVoice(1, 4800);
    std::atomic<int> renders{0};
    std::jthread mixing([&](std::stop_token stop) {
        for (; !stop.stop_requested(); ++renders) {
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
}

} // namespace
