#include "FakeDirectSound.h"
#include "OfflineDevice.h"
#include "WaveBytes.h"

#include "platform/Sleep.h"
#include "platform/dsound/DirectSoundControl.h"
#include "sound/CSoundDevice.h"
#include "sound/CSoundVoice.h"
#include "sound/CWaveResource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace soundtest;

namespace {

constexpr DWORD kCricketFlags = 0x80E0;

std::vector<std::uint32_t> sleeps;
void RecordSleep(std::uint32_t milliseconds) {
    sleeps.push_back(milliseconds);
}

// A short recording: 8-bit stereo at 11025 Hz, or 16-bit mono.
std::vector<std::uint8_t> Ramp(std::size_t bytes) {
    std::vector<std::uint8_t> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i) {
        data[i] = static_cast<std::uint8_t>(0x90 + i % 37);
    }
    return data;
}

class SoundVoice : public ::testing::Test {
protected:
    void SetUp() override {
        sleeps.clear();
        previousSleep = platform::SetSleepFunction(&RecordSleep);
    }
    void TearDown() override { platform::SetSleepFunction(previousSleep); }

    // Opens wave over a file made of format and data.
    void OpenWave(CWaveResource& target, const WAVEFORMATEX& format,
                  const std::vector<std::uint8_t>& data) {
        file = WaveFile(format, data);
        ASSERT_EQ(target.OpenMemory(file.data(), static_cast<std::uint32_t>(file.size())), 1);
        ASSERT_EQ(target.dataSize, data.size());
    }

    // A CSoundDevice holding a fake device.
    FakeDevice* UseFake(CSoundDevice& device) {
        auto* fake = new FakeDevice(log);
        device.device = DsPtr<IDirectSound>(fake);
        return fake;
    }

    // A CSoundDevice over an offline output.
    void UseOffline(CSoundDevice& device) {
        ASSERT_EQ(dsound::CreateDevice(output, device.device.put()), DS_OK);
    }

    FakeLog log;
    std::vector<std::uint8_t> file;
    std::shared_ptr<dsound::OfflineOutput> output = std::make_shared<dsound::OfflineOutput>();
    platform::SleepFunction previousSleep = nullptr;
};

std::vector<std::uint8_t> BufferBytes(IDirectSoundBuffer* buffer, DWORD size) {
    void* block = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(buffer->Lock(0, size, &block, &bytes, nullptr, nullptr, 0), DS_OK);
    std::vector<std::uint8_t> copy(static_cast<std::uint8_t*>(block),
                                   static_cast<std::uint8_t*>(block) + bytes);
    buffer->Unlock(block, bytes, nullptr, 0);
    return copy;
}

} // namespace

TEST_F(SoundVoice, WithoutABufferNothingHappens) {
    CSoundVoice voice;
    EXPECT_EQ(voice.wave, &voice.ownWave);
    EXPECT_EQ(voice.Play(0), 0);
    EXPECT_EQ(voice.Play(1), 0);
    EXPECT_EQ(voice.Stop(), 0);
    EXPECT_EQ(voice.IsPlaying(), 0);
    int restored = 7;
    EXPECT_EQ(voice.Restore(&restored), 0);
    EXPECT_EQ(restored, 0);
    EXPECT_FALSE(voice.buffer);
}

TEST_F(SoundVoice, CreateWithoutADeviceKeepsTheWaveInUse) {
    CWaveResource first;
    CWaveResource second;
    OpenWave(first, PcmFormat(2, 11025, 8), Ramp(200));
    OpenWave(second, PcmFormat(2, 11025, 8), Ramp(300));
    CSoundDevice device;
    UseFake(device);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(device, first, kCricketFlags), 1);
    EXPECT_EQ(voice.wave, &first);

    CSoundDevice empty;
    EXPECT_EQ(voice.Create(empty, second, kCricketFlags), 0);
    EXPECT_FALSE(voice.buffer);
    EXPECT_EQ(voice.wave, &first);
    EXPECT_EQ(log.liveBuffers, 0);
}

TEST_F(SoundVoice, CreateDescribesTheWaveAndWritesItWithOneLock) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(2, 11025, 8), Ramp(200));
    CSoundDevice device;
    FakeDevice* fake = UseFake(device);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    EXPECT_EQ(fake->lastDesc.dwSize, 20u);
    EXPECT_EQ(fake->lastDesc.dwFlags, kCricketFlags);
    EXPECT_EQ(fake->lastDesc.dwBufferBytes, 200u);
    EXPECT_EQ(fake->lastDesc.dwReserved, 0u);
    EXPECT_EQ(fake->lastDesc.lpwfxFormat, wave.format);
    const std::vector<std::string> expected{"CreateSoundBuffer", "GetStatus", "Lock 0 200 0",
                                            "Unlock block 200", "SetCurrentPosition 0"};
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(fake->lastBuffer->memory, Ramp(200));
}

TEST_F(SoundVoice, CreateReleasesTheOldBufferFirstEvenWhenTheNewOneFails) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(1, 11025, 16), Ramp(400));
    CSoundDevice device;
    FakeDevice* fake = UseFake(device);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    fake->createResult = DSERR_OUTOFMEMORY;
    EXPECT_EQ(voice.Create(device, wave, kCricketFlags), 0);
    EXPECT_EQ(log.buffersAtCreate, (std::vector<int>{0, 0, 0}));
    EXPECT_FALSE(voice.buffer);
    EXPECT_EQ(log.liveBuffers, 0);
}

TEST_F(SoundVoice, CreateFailsAndReleasesWhenTheBufferCannotBeWritten) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(1, 11025, 16), Ramp(400));
    CSoundDevice device;
    FakeDevice* fake = UseFake(device);
    CSoundVoice voice;
    fake->bufferLockResult = DSERR_INVALIDPARAM;
    EXPECT_EQ(voice.Create(device, wave, kCricketFlags), 0);
    EXPECT_FALSE(voice.buffer);
    EXPECT_EQ(log.liveBuffers, 0);

    fake->bufferLockResult = DS_OK;
    fake->bufferStatusResult = DSERR_GENERIC;
    EXPECT_EQ(voice.Create(device, wave, kCricketFlags), 0);
    EXPECT_FALSE(voice.buffer);
    EXPECT_EQ(log.liveBuffers, 0);

    // A status that cannot be read later: not playing, and no start.
    fake->bufferStatusResult = DS_OK;
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    fake->lastBuffer->status = DSBSTATUS_PLAYING;
    EXPECT_EQ(voice.IsPlaying(), 1);
    fake->lastBuffer->statusResult = DSERR_GENERIC;
    EXPECT_EQ(voice.IsPlaying(), 0);
    EXPECT_EQ(voice.Play(0), 0);
    EXPECT_FALSE(log.Called("Play 0 0 0"));
}

TEST_F(SoundVoice, AShortReadLeavesSilenceInTheTail) {
    for (const WORD bits : {8, 16}) {
        SCOPED_TRACE(bits);
        CWaveResource wave;
        OpenWave(wave, PcmFormat(1, 11025, bits), Ramp(100));
        // The wave says it holds more than its reader can deliver.
        wave.dataSize = 160;
        CSoundDevice device;
        FakeDevice* fake = UseFake(device);
        CSoundVoice voice;
        ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
        const std::vector<std::uint8_t>& memory = fake->lastBuffer->memory;
        ASSERT_EQ(memory.size(), 160u);
        EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 100, Ramp(100).begin()));
        const std::uint8_t silence = bits == 8 ? 0x80 : 0x00;
        EXPECT_TRUE(std::all_of(memory.begin() + 100, memory.end(),
                                [&](std::uint8_t b) { return b == silence; }));
    }
}

TEST_F(SoundVoice, RestoreWaitsForALostBufferButNotForEver) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(1, 11025, 16), Ramp(400));
    CSoundDevice device;
    FakeDevice* fake = UseFake(device);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    FakeBuffer* buffer = fake->lastBuffer;

    // Comes back after three refusals.
    buffer->status = DSBSTATUS_BUFFERLOST;
    buffer->restoreResults.assign(3, DSERR_BUFFERLOST);
    int restored = 0;
    EXPECT_EQ(voice.Restore(&restored), 1);
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(buffer->restoreCalls, 4);
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>(3, 10));

    // Never comes back: about one second of 10 ms waits, then failure.
    sleeps.clear();
    buffer->restoreCalls = 0;
    buffer->status = DSBSTATUS_BUFFERLOST;
    buffer->restoreResults.assign(1000, DSERR_BUFFERLOST);
    EXPECT_EQ(voice.Restore(&restored), 0);
    EXPECT_EQ(restored, 0);
    EXPECT_EQ(buffer->restoreCalls, kRestoreAttempts);
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>(kRestoreAttempts - 1, 10));

    // Any other failure ends it at once.
    sleeps.clear();
    buffer->restoreCalls = 0;
    buffer->restoreResults.assign(1, DSERR_GENERIC);
    EXPECT_EQ(voice.Restore(&restored), 0);
    EXPECT_EQ(buffer->restoreCalls, 1);
    EXPECT_TRUE(sleeps.empty());

    // Not lost: nothing to do.
    buffer->status = 0;
    buffer->restoreCalls = 0;
    EXPECT_EQ(voice.Restore(&restored), 1);
    EXPECT_EQ(restored, 0);
    EXPECT_EQ(buffer->restoreCalls, 0);
}

TEST_F(SoundVoice, PlayRewindsAndStartsOneShotOrLooped) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(1, 11025, 16), Ramp(400));
    CSoundDevice device;
    FakeDevice* fake = UseFake(device);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    log.calls.clear();
    EXPECT_EQ(voice.Play(0), 1);
    EXPECT_EQ(voice.Play(5), 1);
    const std::vector<std::string> expected{"GetStatus", "SetCurrentPosition 0", "Play 0 0 0",
                                            "GetStatus", "SetCurrentPosition 0", "Play 0 0 1"};
    EXPECT_EQ(log.calls, expected);
    fake->lastBuffer->playResult = DSERR_GENERIC;
    EXPECT_EQ(voice.Play(0), 0);
    fake->lastBuffer->stopResult = DSERR_GENERIC;
    EXPECT_EQ(voice.Stop(), 0);
}

TEST_F(SoundVoice, ALostBufferIsRefilledAndPlaysFromTheBeginning) {
    std::vector<std::uint8_t> data = Bytes16(Sine16(440.0, 11025, 0.5, 11025));
    CWaveResource wave;
    OpenWave(wave, PcmFormat(1, 11025, 16), data);
    CSoundDevice device;
    UseOffline(device);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    ASSERT_EQ(voice.Play(0), 1);
    const std::vector<std::int16_t> start = output->Render(4800);
    output->Render(4800);

    ASSERT_EQ(dsound::LoseBuffers(device.device.get()), DS_OK);
    EXPECT_EQ(voice.IsPlaying(), 0);
    ASSERT_EQ(voice.Play(0), 1);
    EXPECT_EQ(voice.IsPlaying(), 1);
    EXPECT_EQ(BufferBytes(voice.buffer.get(), static_cast<DWORD>(data.size())), data);
    EXPECT_EQ(output->Render(4800), start);
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(SoundVoice, PlayGivesUpWhenTheOutputStaysAway) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(1, 11025, 16), Ramp(400));
    CSoundDevice device;
    UseOffline(device);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    output->SetAvailable(false);
    output->Remove();
    EXPECT_EQ(voice.Play(0), 0);
    EXPECT_EQ(sleeps.size(), static_cast<std::size_t>(kRestoreAttempts - 1));
    output->SetAvailable(true);
    EXPECT_EQ(voice.Play(0), 1);
    EXPECT_EQ(voice.IsPlaying(), 1);
}

TEST_F(SoundVoice, OneShotEndsLoopedGoesOnUntilStop) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(2, 11025, 8), Ramp(2 * 1103));
    CSoundDevice device;
    UseOffline(device);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    ASSERT_EQ(voice.Play(0), 1);
    output->Render(4800 - 10);
    EXPECT_EQ(voice.IsPlaying(), 1);
    output->Render(20);
    EXPECT_EQ(voice.IsPlaying(), 0);

    ASSERT_EQ(voice.Play(1), 1);
    output->Render(48000);
    EXPECT_EQ(voice.IsPlaying(), 1);
    EXPECT_EQ(voice.Stop(), 1);
    EXPECT_EQ(voice.IsPlaying(), 0);
}

TEST_F(SoundVoice, StopThenPlayStartsFromTheBeginning) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(1, 11025, 16), Bytes16(Sine16(300.0, 11025, 0.5, 11025)));
    CSoundDevice device;
    UseOffline(device);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    ASSERT_EQ(voice.Play(0), 1);
    const std::vector<std::int16_t> start = output->Render(2400);
    output->Render(2400);
    ASSERT_EQ(voice.Stop(), 1);
    DWORD position = 0;
    ASSERT_EQ(voice.buffer->GetCurrentPosition(&position, nullptr), DS_OK);
    EXPECT_GT(position, 0u);
    ASSERT_EQ(voice.Play(0), 1);
    EXPECT_EQ(output->Render(2400), start);
}

TEST_F(SoundVoice, TheChirpFillsItsBufferExactly) {
    CWaveResource chirp;
    ASSERT_EQ(chirp.OpenResource(129), 1);
    ASSERT_EQ(chirp.dataSize, 26576u);
    CSoundDevice device;
    UseOffline(device);
    CSoundVoice voice;
    ASSERT_EQ(voice.Create(device, chirp, kCricketFlags), 1);

    std::vector<std::uint8_t> expected(chirp.dataSize);
    std::uint32_t delivered = 0;
    ASSERT_EQ(chirp.Rewind(), 1);
    chirp.Read(expected.data(), chirp.dataSize, &delivered);
    ASSERT_EQ(delivered, chirp.dataSize);
    EXPECT_EQ(BufferBytes(voice.buffer.get(), chirp.dataSize), expected);
    DWORD position = 1;
    DWORD frequency = 0;
    ASSERT_EQ(voice.buffer->GetCurrentPosition(&position, nullptr), DS_OK);
    EXPECT_EQ(position, 0u);
    ASSERT_EQ(voice.buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 11025u);
}

TEST_F(SoundVoice, DestructionReleasesTheBuffer) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(1, 11025, 16), Ramp(400));
    CSoundDevice device;
    UseFake(device);
    {
        CSoundVoice voice;
        ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
        EXPECT_EQ(log.liveBuffers, 1);
    }
    EXPECT_EQ(log.liveBuffers, 0);
}
