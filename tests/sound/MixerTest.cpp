// The stand-in's sound, heard through an offline output at 48000 Hz stereo.
#include "OfflineDevice.h"
#include "Spectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace soundtest;

namespace {

constexpr int kRate = 48000;

// One second of a 1 kHz sine at the mix rate, so no resampling stands between gain and output.
DsPtr<IDirectSoundBuffer> ToneAtMixRate(OfflineDevice& sound) {
    return sound.Buffer(PcmFormat(1, kRate, 16), Bytes16(Sine16(1000.0, kRate, 0.5, kRate)));
}

struct Levels {
    double left;
    double right;
};

Levels LevelsOf(OfflineDevice& sound, IDirectSoundBuffer* buffer) {
    EXPECT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    const std::vector<std::int16_t> out = sound.output->Render(9600);
    return {Rms(Channel(out, 2, 0, 0, 9600)), Rms(Channel(out, 2, 1, 0, 9600))};
}

} // namespace

TEST(Mixer, VolumeScalesAmplitudeByTenToTheVolumeOver2000) {
    OfflineDevice sound;
    auto full = ToneAtMixRate(sound);
    const Levels reference = LevelsOf(sound, full.get());
    EXPECT_NEAR(reference.left, 0.5 / std::sqrt(2.0), 1e-3);
    full->Stop();

    auto half = ToneAtMixRate(sound);
    ASSERT_EQ(half->SetVolume(-600), DS_OK);
    const Levels measured = LevelsOf(sound, half.get());
    EXPECT_NEAR(measured.left / reference.left, 0.5, 0.005);
    EXPECT_NEAR(measured.right / reference.right, 0.5, 0.005);
    half->Stop();

    auto silent = ToneAtMixRate(sound);
    ASSERT_EQ(silent->SetVolume(DSBVOLUME_MIN), DS_OK);
    ASSERT_EQ(silent->Play(0, 0, 0), DS_OK);
    const std::vector<std::int16_t> out = sound.output->Render(4800);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::int16_t s) { return s == 0; }));
}

TEST(Mixer, PanAttenuatesTheFarSideOnTopOfTheVolume) {
    OfflineDevice sound;
    auto centre = ToneAtMixRate(sound);
    const Levels reference = LevelsOf(sound, centre.get());
    centre->Stop();

    auto left = ToneAtMixRate(sound);
    ASSERT_EQ(left->SetPan(-1666), DS_OK);
    const Levels leftLevels = LevelsOf(sound, left.get());
    EXPECT_NEAR(Db(leftLevels.left / reference.left), 0.0, 0.01);
    EXPECT_NEAR(Db(leftLevels.right / reference.right), -16.66, 0.01);
    left->Stop();

    auto right = ToneAtMixRate(sound);
    ASSERT_EQ(right->SetPan(1666), DS_OK);
    ASSERT_EQ(right->SetVolume(-600), DS_OK);
    const Levels rightLevels = LevelsOf(sound, right.get());
    EXPECT_NEAR(Db(rightLevels.left / reference.left), -22.66, 0.01);
    EXPECT_NEAR(Db(rightLevels.right / reference.right), -6.0, 0.01);
    right->Stop();

    auto hardLeft = ToneAtMixRate(sound);
    ASSERT_EQ(hardLeft->SetPan(DSBPAN_LEFT), DS_OK);
    const Levels hardLevels = LevelsOf(sound, hardLeft.get());
    EXPECT_NEAR(hardLevels.left, reference.left, 1e-3);
    EXPECT_EQ(hardLevels.right, 0.0);
}

TEST(Mixer, EightBitStereoKeepsItsChannelsApart) {
    OfflineDevice sound;
    // Left at +0.5 of full scale, right silent (0x80).
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 480; ++i) {
        bytes.push_back(0xC0);
        bytes.push_back(0x80);
    }
    auto buffer = sound.Buffer(PcmFormat(2, kRate, 8), bytes);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const std::vector<std::int16_t> out = sound.output->Render(480);
    for (int i = 0; i < 480; ++i) {
        ASSERT_EQ(out[2 * i], 16384) << i;
        ASSERT_EQ(out[2 * i + 1], 0) << i;
    }
}

TEST(Mixer, MonoOutputDeviceHearsBothSides) {
    OfflineDevice sound(kRate, 1);
    auto buffer =
        sound.Buffer(PcmFormat(1, kRate, 16), Bytes16(std::vector<std::int16_t>(480, 8000)));
    ASSERT_EQ(buffer->SetPan(DSBPAN_RIGHT), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const std::vector<std::int16_t> out = sound.output->Render(480);
    EXPECT_EQ(out[100], 4000);
}

TEST(Mixer, OneShotLastsFramesOverFrequencyAndStopsRightAfterItsLastFrame) {
    for (const DWORD frequency : {11025u, 10525u, 11525u, 22050u, 48000u}) {
        SCOPED_TRACE(frequency);
        OfflineDevice sound;
        constexpr std::size_t kFrames = 13288;
        auto buffer =
            sound.Buffer(PcmFormat(2, 11025, 8), std::vector<std::uint8_t>(2 * kFrames, 0xA0));
        ASSERT_EQ(buffer->SetFrequency(frequency), DS_OK);
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);

        const auto expected = static_cast<int>(std::lround(kFrames * double{kRate} / frequency));
        std::vector<std::int16_t> out = sound.output->Render(expected - 1);
        EXPECT_EQ(sound.Status(buffer.get()), DSBSTATUS_PLAYING);
        std::vector<std::int16_t> last = sound.output->Render(1);
        EXPECT_EQ(sound.Status(buffer.get()), 0u);
        EXPECT_NE(last[0], 0);
        std::vector<std::int16_t> after = sound.output->Render(1);
        EXPECT_EQ(after[0], 0);
    }
}

TEST(Mixer, LoopingKeepsPlayingPastTheEnd) {
    OfflineDevice sound;
    auto buffer = sound.Buffer(PcmFormat(1, 11025, 8), std::vector<std::uint8_t>(1103, 0xA0));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(sound.Status(buffer.get()), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    const std::vector<std::int16_t> out = sound.output->Render(3 * kRate / 10 + 7);
    EXPECT_EQ(sound.Status(buffer.get()), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_NE(out.back(), 0);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(sound.Status(buffer.get()), 0u);
}

TEST(Mixer, StopKeepsThePositionAndRewindingStartsAgainFromTheBeginning) {
    OfflineDevice sound;
    auto buffer = sound.Buffer(PcmFormat(1, 11025, 16), Bytes16(Sine16(440.0, 11025, 0.5, 11025)));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const std::vector<std::int16_t> first = sound.output->Render(4800);
    ASSERT_EQ(buffer->Stop(), DS_OK);

    DWORD play = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    EXPECT_NEAR(play, 2 * 1102, 4);
    const std::vector<std::int16_t> silence = sound.output->Render(480);
    EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](std::int16_t s) { return s == 0; }));
    DWORD still = 0;
    ASSERT_EQ(buffer->GetCurrentPosition(&still, nullptr), DS_OK);
    EXPECT_EQ(still, play);

    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(sound.output->Render(4800), first);
}

// A 4.9 kHz tone (89% of the buffer's Nyquist frequency) keeps its level, and resampling adds
// nothing near it: what linear interpolation would leave as images around 6 kHz.
TEST(Mixer, ResamplingKeepsANearNyquistToneCleanAtEveryCricketPitch) {
    constexpr double kTone = 4900.0;
    constexpr double kAmplitude = 0.5;
    for (const DWORD frequency : {10525u, 11025u, 11525u}) {
        SCOPED_TRACE(frequency);
        OfflineDevice sound;
        auto buffer = sound.Buffer(PcmFormat(1, 11025, 16),
                                   Bytes16(Sine16(kTone, 11025, kAmplitude, 2 * 11025)));
        ASSERT_EQ(buffer->SetFrequency(frequency), DS_OK);
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
        const std::vector<std::int16_t> out = sound.output->Render(90000);

        const std::vector<double> left = Channel(out, 2, 0, 16384, 65536);
        const double levelDb = Db(Rms(left) * std::sqrt(2.0) / kAmplitude);
        const ToneReport report = AnalyseTone(left, kRate);
        std::printf("at %u Hz: tone %.1f Hz, level %+.3f dB, worst spurious %.1f dB\n", frequency,
                    report.frequency, levelDb, report.spuriousDb);
        EXPECT_NEAR(report.frequency, kTone * frequency / 11025.0, 2.0);
        EXPECT_NEAR(levelDb, 0.0, 0.5);
        EXPECT_LT(report.spuriousDb, -70.0);
    }
}
