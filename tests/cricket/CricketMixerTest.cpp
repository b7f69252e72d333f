#include "CricketFixture.h"
#include "platform/dsound/DirectSoundControl.h"
#include "platform/dsound/OfflineOutput.h"

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kRate = 48000;
constexpr int kFramesPerTick = kRate / 100;

// The worked example again, with WAVE 129 in a real mixer buffer: each tick renders the 10 ms
// of sound that played since the previous one, then ticks the cricket.
TEST(CricketOverMixer, WorkedExampleSingsOnTheOfflineOutput) {
    FakeClock clock;
    clock.nanoseconds = 100 * FakeClock::kNanosecondsPerSecond;
    auto output = std::make_shared<dsound::OfflineOutput>(kRate, 2);
    CSoundDevice device;
    ASSERT_EQ(dsound::CreateDevice(output, device.device.put()), DS_OK);
    ASSERT_EQ(device.device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
    CWaveResource wave;
    ASSERT_EQ(wave.OpenResource(129), 1);
    ASSERT_EQ(wave.dataSize, 2 * kChirpFrames);
    TheApp().settings = ChorusSettings{};

    theTwister.Seed(2026);
    CCricket cricket;
    ASSERT_EQ(cricket.Attach(device, wave), 1);
    ForceWorkedExampleSong(cricket);
    DWORD frequency = 0;
    ASSERT_EQ(cricket.voice.buffer->GetFrequency(&frequency), DS_OK);
    ASSERT_EQ(frequency, kChirpRate);

    std::vector<std::int64_t> chirps;
    std::vector<int> peaks; // loudest sample of each tick's 10 ms
    for (std::int64_t tick = 1; tick <= 3600; ++tick) {
        clock.Step(kTickNanoseconds);
        const std::vector<std::int16_t> samples = output->Render(kFramesPerTick);
        int peak = 0;
        for (std::int16_t sample : samples) {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        peaks.push_back(peak);
        const int wasPlaying = cricket.voice.IsPlaying();
        cricket.Tick(0);
        if (!wasPlaying && cricket.voice.IsPlaying()) {
            chirps.push_back(tick);
        }
    }
    EXPECT_EQ(chirps, (std::vector<std::int64_t>{450, 571, 692, 813, 1234, 1355, 1476, 1597, 2018,
                                                 2139, 2260, 2381, 2802, 2923, 3044, 3165}));

    auto loudest = [&](std::int64_t from, std::int64_t to) {
        int result = 0;
        for (std::int64_t tick = from; tick <= to; ++tick) {
            result = std::max(result, peaks[static_cast<std::size_t>(tick - 1)]);
        }
        return result;
    };
    // Silence before the song and in the middle of each rest; sound during each chirp.
    EXPECT_EQ(loudest(1, 450), 0);
    for (std::int64_t rest : {934, 1718, 2502, 3286}) {
        EXPECT_EQ(loudest(rest + 5, rest + 295), 0) << rest;
    }
    for (std::int64_t chirp : chirps) {
        EXPECT_GT(loudest(chirp + 1, chirp + 120), 1000) << chirp;
    }
}

} // namespace
