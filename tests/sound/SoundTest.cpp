// The DirectSound stand-in over an offline output at 48000 Hz stereo, with CSoundDevice and
// CSoundVoice on top: what the stand-in refuses, what reaches the output, and how voices live
// through rests and outages.
#include "testsupport/Spectrum.h"

#include "audio/OfflineOutput.h"
#include "cricket/CCricket.h"
#include "platform/Services.h"
#include "platform/dsound/DirectSoundControl.h"
#include "sound/CSoundDevice.h"
#include "sound/CSoundVoice.h"
#include "sound/CWaveResource.h"
#include "testsupport/FakeClock.h"
#include "testsupport/WaveBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <tuple>

using namespace soundtest;
using wavetest::Bytes;

namespace {

constexpr DWORD kFlags = CCricket::kBufferFlags;
constexpr std::int64_t kMs = 1000000;

// The output behind DirectSoundCreate and the voices' devices.
std::shared_ptr<audio::OfflineOutput> output;
HRESULT CreateOffline(const void*, IDirectSound** out, void*) {
    return dsound::CreateDevice(output, out);
}

class Sound : public ::testing::Test {
protected:
    void SetUp() override {
        output = std::make_shared<audio::OfflineOutput>();
        ASSERT_EQ(device.Open(nullptr, DSSCL_PRIORITY, 1, 22050, 16), 1);
    }
    // A PCM wave open over a RIFF image of the data, kept for the test's length.
    CWaveResource& Wave(WORD channels, DWORD rate, WORD bits, const Bytes& data) {
        using namespace wavetest;
        const Bytes image = Riff(Fmt(1, channels, rate, bits) + Chunk("data", data));
        EXPECT_EQ(waves.emplace_back().OpenMemory(image.data(), std::uint32_t(image.size())), 1);
        return waves.back();
    }

    FakeClock clock;
    std::deque<CWaveResource> waves;
    CSoundDevice device;
    CSoundVoice voice;
    platform::Override create{{.createSoundDevice = &CreateOffline}};
};

// Volume and pan, in hundredths of a decibel as DirectSound defines them, reach the output exactly
// (a 1 kHz sine at the mix rate: no resampling between gain and output); the lowest volume is
// silence, and a stereo recording keeps its channels apart.
TEST_F(Sound, VolumePanAndChannelsReachTheOutput) {
    const auto gain = [](LONG hundredths) { return std::pow(10.0, hundredths / 2000.0); };
    const std::tuple<LONG, LONG, WORD, double, double> cases[] = {
        {-600, 0, 1, gain(-600), gain(-600)},
        {0, -1666, 1, 1.0, gain(-1666)},
        {DSBVOLUME_MIN, 0, 1, 0.0, 0.0},
        {0, 0, 2, 1.0, 0.0}};
    const Bytes mono = Sine16(1000.0, 48000, 0.5, 48000);
    for (const auto& [volume, pan, channels, left, right] : cases) {
        SCOPED_TRACE(testing::Message() << volume << " " << pan << " " << channels);
        Bytes data(mono.size() * channels); // the sine in the left channel only
        for (std::size_t i = 0; i < mono.size(); ++i) {
            data[i / 2 * 2 * channels + i % 2] = mono[i];
        }
        ASSERT_EQ(voice.Create(device, Wave(channels, 48000, 16, data), kFlags), 1);
        ASSERT_EQ(voice.buffer->SetVolume(volume) | voice.buffer->SetPan(pan), DS_OK);
        ASSERT_EQ(voice.Play(1), 1);
        const std::vector<std::int16_t> out = output->Render(9600);
        const double full = 0.5 / std::sqrt(2.0);
        EXPECT_NEAR(Rms(Channel(out, 2, 0, 0, 9600)) / full, left, left * 1e-3);
        EXPECT_NEAR(Rms(Channel(out, 2, 1, 0, 9600)) / full, right, right * 1e-3);
    }
    // A song volume that saturated (a stored setting too large either way) is refused.
    EXPECT_EQ(voice.buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(voice.buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
}

// IsPlaying falls when the last frame of a one-shot has been mixed: after frames / frequency.
// Play starts from the first frame after an end or a stop. A voice without a buffer answers 0; a
// pitch beyond the range (one that wrapped) is refused.
TEST_F(Sound, VoicePlaysOnceAndStartsFromTheBeginning) {
    EXPECT_EQ(voice.Play(0) + voice.Stop() + voice.IsPlaying(), 0) << "no buffer yet";
    ASSERT_EQ(voice.Create(device, Wave(2, 11025, 8, Bytes(2 * 13288, 0xA0)), kFlags), 1);
    EXPECT_EQ(voice.buffer->SetFrequency(200001), DSERR_INVALIDPARAM);
    for (const DWORD frequency : {11025u, 10525u, 11525u, 22050u}) {
        ASSERT_EQ(voice.buffer->SetFrequency(frequency), DS_OK);
        ASSERT_EQ(voice.Play(0), 1);
        const auto frames = static_cast<int>(std::lround(13288 * 48000.0 / frequency));
        const std::vector<std::int16_t> start = output->Render(frames - 1);
        EXPECT_EQ(voice.IsPlaying(), 1) << frequency;
        EXPECT_NE(output->Render(1)[0], 0) << frequency;
        EXPECT_EQ(voice.IsPlaying(), 0) << frequency;
        ASSERT_EQ(voice.Play(0), 1);
        EXPECT_EQ(output->Render(frames - 1), start) << "from the beginning";
        EXPECT_EQ(voice.Stop(), 1); // a frame short of the end: the next Play must rewind
        EXPECT_EQ(voice.IsPlaying(), 0);
    }
}

// A 4.9 kHz tone in an 11025 Hz buffer (89% of its Nyquist frequency) at three playback rates:
// its level kept and nothing else near it (linear interpolation would leave images at 6 kHz;
// 8-bit voices would leave noise at -48 dB).
TEST_F(Sound, ResampledToneKeepsItsLevelAndNothingElseComesOut) {
    ASSERT_EQ(voice.Create(device, Wave(1, 11025, 16, Sine16(4900, 11025, 0.5, 2 * 11025)), kFlags),
              1);
    for (const DWORD frequency : {10525u, 11025u, 11525u}) {
        ASSERT_EQ(voice.buffer->SetFrequency(frequency), DS_OK);
        ASSERT_EQ(voice.Play(0), 1);
        const std::vector<double> x = Channel(output->Render(90000), 2, 0, 16384, 65536);
        const ToneReport report = AnalyseTone(x, 48000);
        EXPECT_NEAR(report.frequency, 4900.0 * frequency / 11025.0, 2.0);
        EXPECT_NEAR(Db(Rms(x) * std::sqrt(2.0) / 0.5), 0.0, 0.05) << frequency;
        EXPECT_LT(report.spuriousDb, -85.0) << frequency;
    }
}

// Sixteen voices ticked as crickets tick them, every 10 ms. Long silence closes the output so that
// the sound server can let its sink sleep; the next Play opens it again. Through an outage the
// device tries to reopen the output on a back-off schedule however many buffers ask, and each Play
// answers at once; a wake that fails is a loss. Whenever the output comes back, every voice sings
// from its first sample (a voice left silent would change the sum).
TEST_F(Sound, RestsAndOutagesArePacedByTheDeviceAndEveryVoiceComesBackWhole) {
    CWaveResource& wave = Wave(1, 11025, 16, Sine16(440.0, 11025, 0.05, 11025));
    std::vector<CSoundVoice> voices(16);
    const auto playAll = [&] {
        for (CSoundVoice& v : voices) {
            EXPECT_EQ(v.IsPlaying(), 0);
            ASSERT_EQ(v.Play(0), 1);
        }
    };
    for (CSoundVoice& v : voices) {
        ASSERT_EQ(v.Create(device, wave, kFlags), 1);
    }
    playAll();
    const std::vector<std::int16_t> start = output->Render(4800);
    const auto silence = [&](int seconds) {
        output->Render(seconds * 48000);
        clock.Step(10 * kMs);
        return voices[0].IsPlaying();
    };
    EXPECT_EQ(silence(10), 0);
    EXPECT_TRUE(output->IsOpen()) << "ten seconds is a gap within a song";
    EXPECT_EQ(silence(7), 0);
    EXPECT_FALSE(output->IsOpen());
    playAll();
    EXPECT_TRUE(output->IsOpen());
    EXPECT_EQ(output->Render(4800), start);

    output->SetAvailable(false);
    output->Remove();
    std::vector<std::int64_t> attempts;
    for (std::int64_t ms = 10; ms <= 3200; ms += 10) {
        clock.Step(10 * kMs);
        const int opens = output->Opens();
        for (CSoundVoice& v : voices) {
            if (!v.IsPlaying()) {
                EXPECT_EQ(v.Play(0), 0) << ms;
            }
        }
        attempts.insert(attempts.end(), output->Opens() - opens, ms);
    }
    // One attempt at a time: 100 ms doubling to 800 ms after the first, which comes when the loss
    // is noticed.
    EXPECT_EQ(attempts, (std::vector<std::int64_t>{10, 110, 310, 710, 1510, 2310, 3110}));
    output->SetAvailable(true);
    clock.Step(800 * kMs);
    playAll();
    EXPECT_EQ(output->Render(4800), start);

    EXPECT_EQ(silence(17), 0);
    output->SetAvailable(false);
    EXPECT_EQ(voices[0].Play(0), 0);
    clock.Step(10 * kMs);
    DWORD status = 0;
    ASSERT_EQ(voices[0].buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_BUFFERLOST);
}

} // namespace
