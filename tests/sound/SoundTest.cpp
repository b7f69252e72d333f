// The DirectSound stand-in heard through an offline output at 48000 Hz stereo and its answers;
// CSoundDevice and CSoundVoice over it.
#include "testsupport/Spectrum.h"

#include "audio/OfflineOutput.h"
#include "platform/Services.h"
#include "platform/dsound/DirectSoundControl.h"
#include "platform/dsound/DirectSoundDevice.h"
#include "platform/dsound/DsPtr.h"
#include "sound/CSoundDevice.h"
#include "sound/CSoundVoice.h"
#include "sound/CWaveResource.h"
#include "testsupport/FakeClock.h"
#include "testsupport/WaveBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <string>
#include <tuple>

using namespace soundtest;
using wavetest::Bytes;

namespace {

constexpr DWORD kAllControls = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

WAVEFORMATEX PcmFormat(WORD channels, DWORD rate, WORD bits) {
    const auto blockAlign = static_cast<WORD>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, rate, rate * blockAlign, blockAlign, bits, 0};
}

// A buffer's first `size` bytes, through a lock.
Bytes BufferBytes(IDirectSoundBuffer* buffer, DWORD size) {
    DWORD bytes = 0;
    void* block = nullptr;
    EXPECT_EQ(buffer->Lock(0, size, &block, &bytes, nullptr, nullptr, 0), DS_OK);
    Bytes copy(static_cast<std::uint8_t*>(block), static_cast<std::uint8_t*>(block) + bytes);
    buffer->Unlock(block, bytes, nullptr, 0);
    return copy;
}

// A device over an offline output at 48000 Hz stereo, and buffers filled with given bytes.
struct OfflineDevice {
    OfflineDevice() {
        EXPECT_EQ(dsound::CreateDevice(output, device.put()), DS_OK);
        EXPECT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
    }
    DsPtr<IDirectSoundBuffer> Buffer(const WAVEFORMATEX& format, const Bytes& bytes,
                                     DWORD flags = kAllControls) {
        WAVEFORMATEX copy = format;
        DSBUFFERDESC desc{DSBUFFERDESC_SIZE, flags, static_cast<DWORD>(bytes.size()), 0, &copy};
        DsPtr<IDirectSoundBuffer> buffer;
        EXPECT_EQ(device->CreateSoundBuffer(&desc, buffer.put(), nullptr), DS_OK);
        void* block = nullptr;
        DWORD size = 0;
        EXPECT_EQ(buffer->Lock(0, desc.dwBufferBytes, &block, &size, nullptr, nullptr, 0), DS_OK);
        std::memcpy(block, bytes.data(), size);
        EXPECT_EQ(buffer->Unlock(block, size, nullptr, 0), DS_OK);
        return buffer;
    }
    DWORD Status(IDirectSoundBuffer* buffer) {
        DWORD status = 0xFFFFFFFF;
        EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
        return status;
    }
    FakeClock clock;
    std::shared_ptr<audio::OfflineOutput> output = std::make_shared<audio::OfflineOutput>();
    DsPtr<IDirectSound> device;
};

constexpr std::int64_t kMs = 1000000;

// Left and right levels of a 1 kHz sine at the mix rate (no resampling between gain and output)
// at the given volume and pan.
std::pair<double, double> Levels(LONG volume, LONG pan) {
    OfflineDevice sound;
    auto buffer = sound.Buffer(PcmFormat(1, 48000, 16), Sine16(1000.0, 48000, 0.5, 48000));
    EXPECT_EQ(buffer->SetVolume(volume) | buffer->SetPan(pan) | buffer->Play(0, 0, 1), DS_OK);
    const std::vector<std::int16_t> out = sound.output->Render(9600);
    return {Rms(Channel(out, 2, 0, 0, 9600)), Rms(Channel(out, 2, 1, 0, 9600))};
}

TEST(DirectSoundApi, VolumeAndPan) {
    const auto [left, right] = Levels(0, 0);
    EXPECT_NEAR(left, 0.5 / std::sqrt(2.0), 1e-3);
    const auto [halfLeft, halfRight] = Levels(-600, 0);
    EXPECT_NEAR(halfLeft / left, 0.5, 0.005);
    EXPECT_NEAR(halfRight / right, 0.5, 0.005);
    const auto [panLeft, panRight] = Levels(0, -1666);
    EXPECT_NEAR(Db(panLeft / left), 0.0, 0.01);
    EXPECT_NEAR(Db(panRight / right), -16.66, 0.01);
    EXPECT_EQ(Levels(DSBVOLUME_MIN, 0), std::pair(0.0, 0.0));
}

TEST(DirectSoundApi, ParameterChecks) {
    OfflineDevice sound;
    auto plain = sound.Buffer(PcmFormat(1, 22050, 16), Bytes(100), 0);
    auto full = sound.Buffer(PcmFormat(1, 22050, 16), Bytes(100));
    WAVEFORMATEX pcm = PcmFormat(2, 11025, 8), align1 = pcm;
    align1.nBlockAlign = 1;
    const auto create = [&](DWORD size, DWORD flags, DWORD bytes, WAVEFORMATEX* format) {
        const DSBUFFERDESC desc{size, flags, bytes, 0, format};
        DsPtr<IDirectSoundBuffer> buffer;
        return sound.device->CreateSoundBuffer(&desc, buffer.put(), nullptr);
    };
    DWORD dword = 0;
    // Each call is made in the order listed, as the table is built.
    const std::tuple<const char*, HRESULT, HRESULT> cases[] = {
        {"desc size 36", create(36, kAllControls, 26576, &pcm), DSERR_INVALIDPARAM},
        {"no format", create(DSBUFFERDESC_SIZE, 0, 26576, nullptr), DSERR_INVALIDPARAM},
        {"0 bytes", create(DSBUFFERDESC_SIZE, 0, 0, &pcm), DSERR_INVALIDPARAM},
        {"block align", create(DSBUFFERDESC_SIZE, 0, 100, &align1), DSERR_INVALIDPARAM},
        {"set volume", plain->SetVolume(-100), DSERR_CONTROLUNAVAIL},
        {"set pan", plain->SetPan(100), DSERR_CONTROLUNAVAIL},
        {"set frequency", plain->SetFrequency(22000), DSERR_CONTROLUNAVAIL},
        {"get frequency", plain->GetFrequency(&dword), DSERR_CONTROLUNAVAIL},
        {"frequency 99", full->SetFrequency(99), DSERR_INVALIDPARAM},
        {"frequency 200001", full->SetFrequency(200001), DSERR_INVALIDPARAM},
        {"volume 1", full->SetVolume(1), DSERR_INVALIDPARAM},
        {"volume -10001", full->SetVolume(-10001), DSERR_INVALIDPARAM},
        {"pan 10001", full->SetPan(10001), DSERR_INVALIDPARAM},
        {"pan -10001", full->SetPan(-10001), DSERR_INVALIDPARAM},
        {"play reserved", full->Play(1, 0, 0), DSERR_INVALIDPARAM}};
    for (const auto& [what, result, expected] : cases) {
        EXPECT_EQ(result, expected) << what;
    }
    // Values within range are kept; the original frequency is the format's.
    ASSERT_EQ(full->SetFrequency(200000), DS_OK);
    EXPECT_TRUE(full->GetFrequency(&dword) == DS_OK && dword == 200000u);
    ASSERT_EQ(full->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    EXPECT_TRUE(full->GetFrequency(&dword) == DS_OK && dword == 22050u);
}

TEST(DirectSoundApi, LockWrapsIntoASecondBlockAndLostBuffersComeBackEmpty) {
    OfflineDevice sound;
    auto buffer = sound.Buffer(PcmFormat(1, 8000, 8), Bytes(100, 0x80));
    void *first = nullptr, *second = nullptr;
    DWORD firstBytes = 0, secondBytes = 0;
    ASSERT_EQ(buffer->Lock(60, 70, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(std::pair(firstBytes, secondBytes), (std::pair<DWORD, DWORD>(40, 30)));
    std::memset(first, 0x11, firstBytes);
    std::memset(second, 0x22, secondBytes);
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    Bytes expected(100, 0x80);
    std::fill_n(expected.begin(), 30, 0x22);
    std::fill_n(expected.begin() + 60, 40, 0x11);
    EXPECT_EQ(BufferBytes(buffer.get(), 100), expected);
    // Without a place for the second block the lock ends at the buffer's end.
    ASSERT_EQ(buffer->Lock(60, 70, &first, &firstBytes, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(firstBytes, 40u);
    EXPECT_EQ(buffer->Unlock(first, 41, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, 40, nullptr, 0), DS_OK);
    // A lost buffer comes back empty once the output opens again.
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    sound.output->SetAvailable(false);
    ASSERT_EQ(dsound::LoseBuffers(sound.device.get()), DS_OK);
    EXPECT_EQ(sound.Status(buffer.get()), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0) | buffer->Restore(), DSERR_BUFFERLOST);
    sound.output->SetAvailable(true);
    sound.clock.Step(dsound::DirectSoundDevice::kFirstRetryMs * kMs);
    ASSERT_EQ(buffer->Restore(), DS_OK);
    EXPECT_EQ(sound.Status(buffer.get()), 0u);
    EXPECT_EQ(BufferBytes(buffer.get(), 100), Bytes(100, 0x80));
    // An output that goes away makes every buffer lost.
    sound.output->Remove();
    sound.clock.Step(dsound::DirectSoundDevice::kCheckIntervalMs * kMs);
    EXPECT_EQ(sound.Status(buffer.get()), DSBSTATUS_BUFFERLOST);
}

TEST(DirectSoundApi, PrimaryBufferKeepsACheckedFormatAndCreateFailsCleanly) {
    OfflineDevice sound;
    DSBUFFERDESC desc{DSBUFFERDESC_SIZE, DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
    DsPtr<IDirectSoundBuffer> primary;
    ASSERT_EQ(sound.device->CreateSoundBuffer(&desc, primary.put(), nullptr), DS_OK);
    WAVEFORMATEX mono = PcmFormat(1, 22050, 16), twelveBit = PcmFormat(1, 22050, 12), kept{};
    EXPECT_TRUE(FAILED(primary->SetFormat(&twelveBit)));
    ASSERT_EQ(primary->SetFormat(&mono), DS_OK);
    DWORD written = 0;
    ASSERT_EQ(primary->GetFormat(&kept, sizeof kept, &written), DS_OK);
    EXPECT_EQ(std::memcmp(&kept, &mono, sizeof kept), 0);
    ASSERT_EQ(sound.device->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(primary->SetFormat(&mono), DSERR_PRIOLEVELNEEDED);
    // DirectSoundCreate fails cleanly when SDL has no such driver.
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = previous ? previous : "";
    ::setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    IDirectSound* device = reinterpret_cast<IDirectSound*>(0x1);
    const HRESULT result = DirectSoundCreate(nullptr, &device, nullptr);
    previous ? ::setenv("SDL_AUDIODRIVER", saved.c_str(), 1) : ::unsetenv("SDL_AUDIODRIVER");
    EXPECT_TRUE(FAILED(result));
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(DirectSoundCreate(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
}

constexpr DWORD kCricketFlags = 0x80E0;

// The output behind DirectSoundCreate and the voices' devices; whether the holder still held a
// device at each creation.
std::shared_ptr<audio::OfflineOutput> output;
CSoundDevice* holder = nullptr;
std::vector<bool> heldAtCreate;
HRESULT CreateOffline(const void*, IDirectSound** out, void*) {
    heldAtCreate.push_back(holder != nullptr && holder->device);
    return dsound::CreateDevice(output, out);
}

// A device that hears the mix at the moment each buffer is made.
struct Listening : IDirectSound {
    ULONG AddRef() override { return ++references; }
    ULONG Release() override { return --references == 0 ? (delete this, 0) : references; }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return DS_OK; }
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** made,
                              void* outer) override {
        heard.push_back(output->Render(1)[0]);
        return inner->CreateSoundBuffer(desc, made, outer);
    }
    DsPtr<IDirectSound> inner;
    std::vector<std::int16_t> heard;
    ULONG references = 1;
};

class SoundClasses : public ::testing::Test {
protected:
    void SetUp() override {
        output = std::make_shared<audio::OfflineOutput>();
        holder = &device;
        heldAtCreate.clear();
        ASSERT_EQ(device.Open(nullptr, DSSCL_PRIORITY, 1, 22050, 16), 1);
    }
    // Opens `target` over a RIFF image of the format and data.
    void OpenWave(CWaveResource& target, const WAVEFORMATEX& f, const Bytes& data) {
        using namespace wavetest;
        images.push_back(Riff(Chunk("fmt ", FormatFields(f.wFormatTag, f.nChannels,
                                                         f.nSamplesPerSec, f.wBitsPerSample)) +
                              Chunk("data", data)));
        ASSERT_EQ(target.OpenMemory(images.back().data(), std::uint32_t(images.back().size())), 1);
    }

    FakeClock clock;
    std::vector<Bytes> images;
    CSoundDevice device;
    CSoundVoice voice;
    platform::Override create{{.createSoundDevice = &CreateOffline}};
};

TEST_F(SoundClasses, DeviceHoldsOneDeviceOrNone) {
    ASSERT_EQ(device.Open(nullptr, DSSCL_PRIORITY, 1, 22050, 16), 1);
    EXPECT_EQ(device.Open(nullptr, DSSCL_PRIORITY, 1, 22050, 12), 0) << "a rejected format";
    EXPECT_FALSE(device.device);
    output->SetAvailable(false);
    EXPECT_EQ(device.Open(nullptr, DSSCL_PRIORITY, 1, 22050, 16), 0) << "no output";
    EXPECT_FALSE(device.device);
    EXPECT_EQ(heldAtCreate, std::vector<bool>(4, false))
        << "a device outlived the next one's making";
}

TEST_F(SoundClasses, VoiceCreateReplacesOnlyWhatItCan) {
    CWaveResource first, second, unplayable;
    OpenWave(first, PcmFormat(2, 11025, 8), Bytes(200, 0xC0));
    OpenWave(unplayable, PcmFormat(1, 11025, 24), Bytes(300));
    EXPECT_EQ(voice.Play(0) + voice.Stop() + voice.IsPlaying(), 0) << "no buffer yet";
    ASSERT_EQ(voice.Create(device, first, kCricketFlags), 1);
    CSoundDevice none;
    EXPECT_EQ(voice.Create(none, second, kCricketFlags), 0);
    EXPECT_FALSE(voice.buffer);
    EXPECT_EQ(voice.wave, &first) << "the wave in use stays";
    // Over a playing buffer, the old one is gone before the new one is made, also when that fails.
    // Another buffer keeps the output running.
    CSoundVoice other;
    ASSERT_EQ(other.Create(device, first, kCricketFlags), 1);
    auto* listening = new Listening;
    listening->inner = std::move(device.device);
    device.device = DsPtr<IDirectSound>(listening);
    for (CWaveResource* wave : {&first, &unplayable}) {
        ASSERT_EQ(voice.Create(device, first, kCricketFlags), 1);
        ASSERT_EQ(voice.Play(1), 1);
        EXPECT_EQ(voice.Create(device, *wave, kCricketFlags), wave == &first ? 1 : 0);
        EXPECT_EQ(output->Render(1)[0], 0);
    }
    EXPECT_EQ(listening->heard, (std::vector<std::int16_t>{0, 0, 0, 0}));
    EXPECT_FALSE(voice.buffer);
}

TEST_F(SoundClasses, AShortReadLeavesSilenceInTheTail) {
    for (const WORD bits : {8, 16}) {
        CWaveResource wave;
        OpenWave(wave, PcmFormat(1, 11025, bits), Bytes(100, 0x90));
        wave.dataSize = 160; // more than the reader can deliver
        ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
        Bytes expected(160, bits == 8 ? 0x80 : 0x00);
        std::fill_n(expected.begin(), 100, 0x90);
        EXPECT_EQ(BufferBytes(voice.buffer.get(), 160), expected) << bits;
    }
}

// IsPlaying falls when the last frame of a one-shot has been mixed: after frames / frequency.
TEST_F(SoundClasses, VoicePlaysOnceOrLoopsAndStartsFromTheBeginning) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(2, 11025, 8), Bytes(2 * 13288, 0xA0));
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    for (const DWORD frequency : {11025u, 10525u, 11525u, 22050u}) {
        ASSERT_EQ(voice.buffer->SetFrequency(frequency), DS_OK);
        ASSERT_EQ(voice.Play(0), 1);
        const auto frames = static_cast<int>(std::lround(13288 * 48000.0 / frequency));
        const std::vector<std::int16_t> start = output->Render(frames - 1);
        EXPECT_EQ(voice.IsPlaying(), 1) << frequency;
        EXPECT_NE(output->Render(1)[0], 0) << frequency;
        EXPECT_EQ(voice.IsPlaying(), 0) << frequency;
        ASSERT_EQ(voice.Play(1), 1);
        output->Render(3 * frames);
        EXPECT_EQ(voice.IsPlaying(), 1) << "looping";
        EXPECT_EQ(voice.Stop(), 1);
        EXPECT_EQ(voice.IsPlaying(), 0);
        ASSERT_EQ(voice.Play(0), 1);
        EXPECT_EQ(output->Render(frames - 1), start) << "from the beginning";
    }
}

// Sixteen voices ticked as crickets tick them, every 10 ms, through an outage: the device tries
// to reopen the output on a back-off schedule however many buffers ask, each Play answers at
// once, and when the output returns every voice is refilled and sings from its first sample.
TEST_F(SoundClasses, AnOutageIsPacedByTheDeviceAndEveryVoiceComesBackWhole) {
    CWaveResource wave;
    const Bytes data = Sine16(440.0, 11025, 0.05, 11025);
    OpenWave(wave, PcmFormat(1, 11025, 16), data);
    std::vector<CSoundVoice> voices(16);
    for (CSoundVoice& v : voices) {
        ASSERT_EQ(v.Create(device, wave, kCricketFlags), 1);
        ASSERT_EQ(v.Play(0), 1);
    }
    const std::vector<std::int16_t> start = output->Render(4800);
    int restored = 7;
    EXPECT_EQ(voices[0].Restore(&restored), 1) << "not lost";
    EXPECT_EQ(restored, 0);

    output->SetAvailable(false);
    output->Remove();
    const int opensBefore = output->Opens();
    std::vector<std::int64_t> attempts;
    for (std::int64_t ms = 10; ms <= 3200; ms += 10) {
        clock.Step(10 * kMs);
        const int opens = output->Opens();
        for (CSoundVoice& v : voices) {
            if (!v.IsPlaying()) {
                EXPECT_EQ(v.Play(0), 0) << ms;
            }
        }
        if (output->Opens() != opens) {
            attempts.push_back(ms);
        }
        ASSERT_LE(output->Opens() - opens, 1) << "one attempt per interval, at " << ms;
    }
    // 100 ms doubling to 800 ms after the first attempt, which comes when the loss is noticed.
    EXPECT_EQ(attempts, (std::vector<std::int64_t>{10, 110, 310, 710, 1510, 2310, 3110}));
    EXPECT_EQ(output->Opens() - opensBefore, 7);

    output->SetAvailable(true);
    clock.Step(800 * kMs);
    for (CSoundVoice& v : voices) {
        EXPECT_EQ(v.IsPlaying(), 0);
        ASSERT_EQ(v.Play(0), 1);
    }
    EXPECT_EQ(BufferBytes(voices[15].buffer.get(), static_cast<DWORD>(data.size())), data);
    EXPECT_EQ(output->Render(4800), start);
}

// Long silence closes the output so that the sound server can let its sink sleep; the next Play
// opens it again and the chirp is heard from its first sample. A wake that fails is a loss.
TEST_F(SoundClasses, SilenceRestsTheOutputAndPlayWakesItWhole) {
    CWaveResource wave;
    OpenWave(wave, PcmFormat(1, 11025, 16), Sine16(440.0, 11025, 0.5, 11025));
    ASSERT_EQ(voice.Create(device, wave, kCricketFlags), 1);
    ASSERT_EQ(voice.Play(0), 1);
    const std::vector<std::int16_t> start = output->Render(4800);
    const auto silence = [&](int seconds) {
        output->Render(seconds * 48000);
        clock.Step(10 * kMs);
        return voice.IsPlaying();
    };
    EXPECT_EQ(silence(10), 0);
    EXPECT_TRUE(output->IsOpen()) << "ten seconds is a gap within a song";
    EXPECT_EQ(silence(7), 0);
    EXPECT_FALSE(output->IsOpen());
    ASSERT_EQ(voice.Play(0), 1);
    EXPECT_TRUE(output->IsOpen());
    EXPECT_EQ(output->Render(4800), start);

    EXPECT_EQ(silence(17), 0);
    output->SetAvailable(false);
    EXPECT_EQ(voice.Play(0), 0);
    clock.Step(10 * kMs);
    DWORD status = 0;
    ASSERT_EQ(voice.buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_BUFFERLOST);
}

} // namespace
