// The DirectSound stand-in heard through an offline output at 48000 Hz stereo, and its answers.
#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>

using namespace soundtest;

namespace {

// Left and right levels of a 1 kHz sine at the mix rate (no resampling between gain and output)
// at the given volume and pan.
std::pair<double, double> Levels(LONG volume, LONG pan) {
    OfflineDevice sound;
    auto buffer = sound.Buffer(PcmFormat(1, 48000, 16), Sine16(1000.0, 48000, 0.5, 48000));
    EXPECT_EQ(buffer->SetVolume(volume), DS_OK);
    EXPECT_EQ(buffer->SetPan(pan), DS_OK);
    EXPECT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    const std::vector<std::int16_t> out = sound.output->Render(9600);
    return {Rms(Channel(out, 2, 0, 0, 9600)), Rms(Channel(out, 2, 1, 0, 9600))};
}

TEST(Mixer, VolumeAndPanFollowTheirDecibelLaws) {
    const auto [left, right] = Levels(0, 0);
    EXPECT_NEAR(left, 0.5 / std::sqrt(2.0), 1e-3);
    EXPECT_NEAR(right, left, 1e-6);
    const auto [halfLeft, halfRight] = Levels(-600, 0);
    EXPECT_NEAR(halfLeft / left, 0.5, 0.005);
    EXPECT_NEAR(halfRight / right, 0.5, 0.005);
    const auto [panLeft, panRight] = Levels(0, -1666);
    EXPECT_NEAR(Db(panLeft / left), 0.0, 0.01);
    EXPECT_NEAR(Db(panRight / right), -16.66, 0.01);
    EXPECT_EQ(Levels(DSBVOLUME_MIN, 0), std::pair(0.0, 0.0));
}

// A 4.9 kHz tone (89% of the buffer's Nyquist frequency) keeps its level and moves with the
// pitch; nothing else comes out near it (linear interpolation would leave images around 6 kHz).
TEST(Mixer, ResamplingKeepsANearNyquistToneClean) {
    for (const DWORD frequency : {10525u, 11025u, 11525u}) {
        OfflineDevice sound;
        auto buffer = sound.Buffer(PcmFormat(1, 11025, 16), Sine16(4900, 11025, 0.5, 2 * 11025));
        ASSERT_EQ(buffer->SetFrequency(frequency), DS_OK);
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
        const std::vector<double> left = Channel(sound.output->Render(90000), 2, 0, 16384, 65536);
        const double levelDb = Db(Rms(left) * std::sqrt(2.0) / 0.5);
        const ToneReport report = AnalyseTone(left, 48000);
        std::printf("at %u Hz: tone %.1f Hz, level %+.3f dB, worst spurious %.1f dB\n", frequency,
                    report.frequency, levelDb, report.spuriousDb);
        EXPECT_NEAR(report.frequency, 4900.0 * frequency / 11025.0, 2.0);
        EXPECT_NEAR(levelDb, 0.0, 0.5);
        EXPECT_LT(report.spuriousDb, -70.0);
    }
}

TEST(DirectSoundApi, ParameterChecks) {
    OfflineDevice sound;
    auto plain = sound.Buffer(PcmFormat(1, 22050, 16), Bytes(100), 0);
    auto full = sound.Buffer(PcmFormat(1, 22050, 16), Bytes(100));
    WAVEFORMATEX pcm = PcmFormat(2, 11025, 8), align1 = pcm, rate99 = pcm;
    align1.nBlockAlign = 1;
    rate99.nSamplesPerSec = 99;
    rate99.nAvgBytesPerSec = 198;
    const auto create = [&](DWORD size, DWORD flags, DWORD bytes, WAVEFORMATEX* format) {
        return [=, &sound] {
            const DSBUFFERDESC desc{size, flags, bytes, 0, format};
            DsPtr<IDirectSoundBuffer> buffer;
            return sound.device->CreateSoundBuffer(&desc, buffer.put(), nullptr);
        };
    };
    DWORD dword = 0;
    LONG value = 0;
    int outer = 0;
    void* block = nullptr;
    const DSBUFFERDESC good{DSBUFFERDESC_SIZE, kAllControls, 26576, 0, &pcm};
    DsPtr<IDirectSoundBuffer> made;
    const std::tuple<const char*, std::function<HRESULT()>, HRESULT> cases[] = {
        {"good", create(DSBUFFERDESC_SIZE, kAllControls, 26576, &pcm), DS_OK},
        {"no desc", [&] { return sound.device->CreateSoundBuffer(nullptr, made.put(), nullptr); },
         DSERR_INVALIDPARAM},
        {"no out", [&] { return sound.device->CreateSoundBuffer(&good, nullptr, nullptr); },
         DSERR_INVALIDPARAM},
        {"outer", [&] { return sound.device->CreateSoundBuffer(&good, made.put(), &outer); },
         DSERR_NOAGGREGATION},
        {"desc size 36", create(36, kAllControls, 26576, &pcm), DSERR_INVALIDPARAM},
        {"3D control", create(DSBUFFERDESC_SIZE, 0x10, 26576, &pcm), DSERR_INVALIDPARAM},
        {"no format", create(DSBUFFERDESC_SIZE, 0, 26576, nullptr), DSERR_INVALIDPARAM},
        {"0 bytes", create(DSBUFFERDESC_SIZE, 0, 0, &pcm), DSERR_INVALIDPARAM},
        {"odd bytes", create(DSBUFFERDESC_SIZE, 0, 3, &pcm), DSERR_INVALIDPARAM},
        {"too big", create(DSBUFFERDESC_SIZE, 0, DSBSIZE_MAX + 1, &pcm), DSERR_INVALIDPARAM},
        {"block align", create(DSBUFFERDESC_SIZE, 0, 100, &align1), DSERR_INVALIDPARAM},
        {"rate 99", create(DSBUFFERDESC_SIZE, 0, 100, &rate99), DSERR_INVALIDPARAM},
        {"primary with bytes", create(DSBUFFERDESC_SIZE, DSBCAPS_PRIMARYBUFFER, 4, nullptr),
         DSERR_INVALIDPARAM},
        {"set volume", [&] { return plain->SetVolume(-100); }, DSERR_CONTROLUNAVAIL},
        {"set pan", [&] { return plain->SetPan(100); }, DSERR_CONTROLUNAVAIL},
        {"set frequency", [&] { return plain->SetFrequency(22000); }, DSERR_CONTROLUNAVAIL},
        {"get frequency", [&] { return plain->GetFrequency(&dword); }, DSERR_CONTROLUNAVAIL},
        {"get volume", [&] { return plain->GetVolume(&value); }, DSERR_CONTROLUNAVAIL},
        {"frequency 99", [&] { return full->SetFrequency(99); }, DSERR_INVALIDPARAM},
        {"frequency 200001", [&] { return full->SetFrequency(200001); }, DSERR_INVALIDPARAM},
        {"volume 1", [&] { return full->SetVolume(1); }, DSERR_INVALIDPARAM},
        {"volume -10001", [&] { return full->SetVolume(-10001); }, DSERR_INVALIDPARAM},
        {"pan 10001", [&] { return full->SetPan(10001); }, DSERR_INVALIDPARAM},
        {"pan -10001", [&] { return full->SetPan(-10001); }, DSERR_INVALIDPARAM},
        {"no pan out", [&] { return full->GetPan(nullptr); }, DSERR_INVALIDPARAM},
        {"no status out", [&] { return full->GetStatus(nullptr); }, DSERR_INVALIDPARAM},
        {"play reserved", [&] { return full->Play(1, 0, 0); }, DSERR_INVALIDPARAM},
        {"position 100", [&] { return full->SetCurrentPosition(100); }, DSERR_INVALIDPARAM},
        {"lock 100+1", [&] { return full->Lock(100, 1, &block, &dword, nullptr, nullptr, 0); },
         DSERR_INVALIDPARAM},
        {"cooperative 0", [&] { return sound.device->SetCooperativeLevel(nullptr, 0); },
         DSERR_INVALIDPARAM}};
    for (const auto& [what, call, expected] : cases) {
        EXPECT_EQ(call(), expected) << what;
    }
    // Values within range are kept.
    ASSERT_EQ(full->SetFrequency(200000) | full->SetVolume(-2500) | full->SetPan(-1666), DS_OK);
    EXPECT_TRUE(full->GetFrequency(&dword) == DS_OK && dword == 200000u);
    EXPECT_TRUE(full->GetVolume(&value) == DS_OK && value == -2500);
    EXPECT_TRUE(full->GetPan(&value) == DS_OK && value == -1666);
    ASSERT_EQ(full->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    EXPECT_TRUE(full->GetFrequency(&dword) == DS_OK && dword == 22050u);
}

TEST(DirectSoundApi, LockWrapsIntoASecondBlock) {
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
}

TEST(DirectSoundApi, LostBuffersComeBackEmptyOnceTheOutputOpensAgain) {
    OfflineDevice sound;
    auto buffer = sound.Buffer(PcmFormat(1, 48000, 8), Bytes(4800, 0xC0));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    sound.output->SetAvailable(false);
    ASSERT_EQ(dsound::LoseBuffers(sound.device.get()), DS_OK);
    EXPECT_EQ(sound.Status(buffer.get()), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    void* block = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(buffer->Lock(0, 10, &block, &bytes, nullptr, nullptr, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Restore(), DSERR_BUFFERLOST);
    sound.output->SetAvailable(true);
    ASSERT_EQ(buffer->Restore(), DS_OK);
    EXPECT_EQ(sound.Status(buffer.get()), 0u);
    EXPECT_EQ(BufferBytes(buffer.get(), 4800), Bytes(4800, 0x80));
    // An output that goes away makes every buffer lost.
    sound.output->Remove();
    EXPECT_EQ(sound.Status(buffer.get()), DSBSTATUS_BUFFERLOST);
}

TEST(DirectSoundApi, PrimaryBufferKeepsACheckedFormat) {
    OfflineDevice sound;
    DSBUFFERDESC desc{DSBUFFERDESC_SIZE, DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
    DsPtr<IDirectSoundBuffer> primary;
    ASSERT_EQ(sound.device->CreateSoundBuffer(&desc, primary.put(), nullptr), DS_OK);
    WAVEFORMATEX mono = PcmFormat(1, 22050, 16), twelveBit = PcmFormat(1, 22050, 12), kept{};
    EXPECT_EQ(primary->SetFormat(nullptr), DSERR_INVALIDPARAM);
    EXPECT_TRUE(FAILED(primary->SetFormat(&twelveBit)));
    ASSERT_EQ(primary->SetFormat(&mono), DS_OK);
    DWORD written = 0;
    ASSERT_EQ(primary->GetFormat(&kept, sizeof kept, &written), DS_OK);
    EXPECT_EQ(written, sizeof kept);
    EXPECT_EQ(std::memcmp(&kept, &mono, sizeof kept), 0);
    ASSERT_EQ(sound.device->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(primary->SetFormat(&mono), DSERR_PRIOLEVELNEEDED);
}

TEST(DirectSoundApi, DirectSoundCreateFailsCleanlyWhenSdlHasNoSuchDriver) {
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

} // namespace
