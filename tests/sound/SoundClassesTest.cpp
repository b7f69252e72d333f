// CSoundDevice and CSoundVoice over fakes that count what is alive, or over an offline output.
#include "FakeDirectSound.h"
#include "SoundTestSupport.h"

#include "platform/Sleep.h"
#include "sound/CSoundDevice.h"
#include "sound/CSoundVoice.h"
#include "sound/CWaveResource.h"
#include "tests/wave/WaveBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace soundtest;

namespace {

constexpr DWORD kCricketFlags = 0x80E0;
const HWND kWindow = reinterpret_cast<HWND>(0x1234);

// What DirectSoundCreate hands out while a device test runs.
struct Factory {
    FakeLog log;
    HRESULT createResult = DS_OK;
    HRESULT cooperativeResult = DS_OK;
    HRESULT primaryResult = DS_OK;
    HRESULT formatResult = DS_OK;
    FakeDevice* last = nullptr;
} factory;

HRESULT CreateFake(const void*, IDirectSound** directSound, void*) {
    factory.log.devicesAtCreate.push_back(factory.log.liveDevices);
    factory.last = !FAILED(factory.createResult) ? new FakeDevice(factory.log) : nullptr;
    if (factory.last) {
        factory.last->cooperativeResult = factory.cooperativeResult;
        factory.last->createResult = factory.primaryResult;
        factory.last->formatResult = factory.formatResult;
    }
    *directSound = factory.last;
    return factory.createResult;
}

// Sleeps are recorded; once `wakeAfter` of them have passed the output may open again.
std::vector<std::uint32_t> sleeps;
std::size_t wakeAfter = SIZE_MAX;
dsound::OfflineOutput* sleepingOutput = nullptr;
void RecordSleep(std::uint32_t milliseconds) {
    sleeps.push_back(milliseconds);
    if (sleeps.size() == wakeAfter) {
        sleepingOutput->SetAvailable(true);
    }
}

class SoundClasses : public ::testing::Test {
protected:
    void SetUp() override {
        factory = Factory{};
        sleeps.clear();
        wakeAfter = SIZE_MAX;
        sleepingOutput = sound.output.get();
        previousCreate = dsound::SetCreateFunction(&CreateFake);
        previousSleep = platform::SetSleepFunction(&RecordSleep);
        offline.device = std::move(sound.device);
    }
    void TearDown() override {
        dsound::SetCreateFunction(previousCreate);
        platform::SetSleepFunction(previousSleep);
    }
    // Opens `target` over a RIFF image of the format and data.
    void OpenWave(CWaveResource& target, const WAVEFORMATEX& f, const Bytes& data) {
        using namespace wavetest;
        file = Riff(Chunk("fmt ", FormatFields(f.wFormatTag, f.nChannels, f.nSamplesPerSec,
                                               f.wBitsPerSample)) +
                    Chunk("data", data));
        ASSERT_EQ(target.OpenMemory(file.data(), static_cast<std::uint32_t>(file.size())), 1);
    }

    Bytes file;
    OfflineDevice sound;
    CSoundDevice offline; // over sound.output
    dsound::CreateFunction previousCreate = nullptr;
    platform::SleepFunction previousSleep = nullptr;
};

TEST_F(SoundClasses, DeviceOpensOnceAndSetsThePrimaryFormat) {
    CSoundDevice device;
    ASSERT_EQ(device.Open(kWindow, DSSCL_PRIORITY, 1, 22050, 16), 1);
    const WAVEFORMATEX expected{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    EXPECT_EQ(std::memcmp(&factory.log.formatSet, &expected, sizeof expected), 0);
    ASSERT_EQ(device.Open(kWindow, DSSCL_PRIORITY, 1, 22050, 16), 1);
    EXPECT_EQ(factory.log.devicesAtCreate, (std::vector<int>{0, 0})) << "the first one released";
    EXPECT_EQ(factory.log.liveDevices, 1);
    EXPECT_EQ(factory.log.liveBuffers, 0) << "the primary buffer is let go";
    EXPECT_EQ(device.device.get(), factory.last);
}

TEST_F(SoundClasses, EveryFailingDeviceStepLeavesTheHolderEmpty) {
    for (HRESULT Factory::*step : {&Factory::createResult, &Factory::cooperativeResult,
                                   &Factory::primaryResult, &Factory::formatResult}) {
        factory = Factory{};
        CSoundDevice device;
        ASSERT_EQ(device.Open(kWindow, DSSCL_PRIORITY, 1, 22050, 16), 1);
        factory.*step = DSERR_GENERIC;
        EXPECT_EQ(device.Open(kWindow, DSSCL_PRIORITY, 1, 22050, 16), 0);
        EXPECT_FALSE(device.device);
        EXPECT_EQ(factory.log.liveDevices + factory.log.liveBuffers, 0);
    }
    // The real mixer refuses a primary format of 12 bits.
    dsound::SetCreateFunction(nullptr);
    CSoundDevice device;
    dsound::SetCreateFunction([](const void*, IDirectSound** out, void*) {
        return dsound::CreateDevice(std::make_shared<dsound::OfflineOutput>(), out);
    });
    EXPECT_EQ(device.Open(kWindow, DSSCL_PRIORITY, 1, 22050, 16), 1);
    EXPECT_EQ(device.Open(kWindow, DSSCL_PRIORITY, 1, 22050, 12), 0);
    EXPECT_FALSE(device.device);
}

TEST_F(SoundClasses, VoiceCreateReplacesOnlyWhatItCan) {
    CWaveResource first, second;
    OpenWave(first, PcmFormat(2, 11025, 8), Bytes(200, 0x90));
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(offline, first, kCricketFlags), 1);
    CSoundDevice none;
    EXPECT_EQ(voice.Create(none, second, kCricketFlags), 0);
    EXPECT_FALSE(voice.buffer);
    EXPECT_EQ(voice.wave, &first) << "the wave in use stays";
    EXPECT_EQ(voice.Play(0) + voice.IsPlaying(), 0);
    // Over a buffer, the old one goes before the new one is made, also when that fails.
    CSoundDevice fake;
    fake.device = DsPtr<IDirectSound>(new FakeDevice(factory.log));
    ASSERT_EQ(voice.Create(fake, first, kCricketFlags), 1);
    ASSERT_EQ(voice.Create(fake, first, kCricketFlags), 1);
    static_cast<FakeDevice*>(fake.device.get())->createResult = DSERR_OUTOFMEMORY;
    EXPECT_EQ(voice.Create(fake, first, kCricketFlags), 0);
    EXPECT_EQ(factory.log.buffersAtCreate, (std::vector<int>{0, 0, 0}));
    EXPECT_FALSE(voice.buffer);
    EXPECT_EQ(factory.log.liveBuffers, 0);
}

TEST_F(SoundClasses, AShortReadLeavesSilenceInTheTail) {
    for (const WORD bits : {8, 16}) {
        CWaveResource wave;
        OpenWave(wave, PcmFormat(1, 11025, bits), Bytes(100, 0x90));
        wave.dataSize = 160; // more than the reader can deliver
        CSoundVoice voice;
        ASSERT_EQ(voice.Create(offline, wave, kCricketFlags), 1);
        Bytes expected(160, bits == 8 ? 0x80 : 0x00);
        std::fill_n(expected.begin(), 100, 0x90);
        EXPECT_EQ(BufferBytes(voice.buffer.get(), 160), expected) << bits;
    }
}

// IsPlaying falls when the last frame of a one-shot has been mixed: after frames / frequency.
TEST_F(SoundClasses, VoicePlaysOnceOrLoopsAndStartsFromTheBeginning) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(2, 11025, 8), Bytes(2 * 13288, 0xA0));
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(offline, wave, kCricketFlags), 1);
    for (const DWORD frequency : {11025u, 10525u, 11525u, 22050u}) {
        ASSERT_EQ(voice.buffer->SetFrequency(frequency), DS_OK);
        ASSERT_EQ(voice.Play(0), 1);
        const auto frames = static_cast<int>(std::lround(13288 * 48000.0 / frequency));
        const std::vector<std::int16_t> start = sound.output->Render(frames - 1);
        EXPECT_EQ(voice.IsPlaying(), 1) << frequency;
        EXPECT_NE(sound.output->Render(1)[0], 0) << frequency;
        EXPECT_EQ(voice.IsPlaying(), 0) << frequency;
        EXPECT_EQ(sound.output->Render(1)[0], 0) << frequency;
        ASSERT_EQ(voice.Play(1), 1);
        sound.output->Render(3 * frames);
        EXPECT_EQ(voice.IsPlaying(), 1) << "looping";
        EXPECT_EQ(voice.Stop(), 1);
        EXPECT_EQ(voice.IsPlaying(), 0);
        ASSERT_EQ(voice.Play(0), 1);
        EXPECT_EQ(sound.output->Render(frames - 1), start) << "from the beginning";
    }
}

TEST_F(SoundClasses, AfterALossPlayRestoresRefillsAndStartsFromTheBeginning) {
    CWaveResource wave;
    const Bytes data = Sine16(440.0, 11025, 0.5, 11025);
    OpenWave(wave, PcmFormat(1, 11025, 16), data);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(offline, wave, kCricketFlags), 1);
    ASSERT_EQ(voice.Play(0), 1);
    const std::vector<std::int16_t> start = sound.output->Render(4800);
    sound.output->Render(4800);
    ASSERT_EQ(dsound::LoseBuffers(offline.device.get()), DS_OK);
    EXPECT_EQ(voice.IsPlaying(), 0);
    ASSERT_EQ(voice.Play(0), 1);
    EXPECT_EQ(voice.IsPlaying(), 1);
    EXPECT_EQ(BufferBytes(voice.buffer.get(), static_cast<DWORD>(data.size())), data);
    EXPECT_EQ(sound.output->Render(4800), start);
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(SoundClasses, RestoreWaitsForALostBufferButNotForEver) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(1, 11025, 16), Bytes(400));
    CSoundVoice voice;
    int restored = 7;
    EXPECT_EQ(voice.Restore(&restored), 0) << "no buffer";
    EXPECT_EQ(restored, 0);
    ASSERT_EQ(voice.Create(offline, wave, kCricketFlags), 1);
    EXPECT_EQ(voice.Restore(&restored), 1) << "not lost";
    EXPECT_EQ(restored, 0);
    // The output comes back during the third wait.
    sound.output->SetAvailable(false);
    ASSERT_EQ(dsound::LoseBuffers(offline.device.get()), DS_OK);
    wakeAfter = 3;
    EXPECT_EQ(voice.Restore(&restored), 1);
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>(3, 10));
    // It never comes back: about one second of 10 ms waits, then failure.
    sleeps.clear();
    wakeAfter = SIZE_MAX;
    sound.output->SetAvailable(false);
    sound.output->Remove();
    EXPECT_EQ(voice.Restore(&restored), 0);
    EXPECT_EQ(restored, 0);
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>(kRestoreAttempts - 1, 10));
}

} // namespace
