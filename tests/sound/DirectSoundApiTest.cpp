// The stand-in's answers: parameter checks, controls, locks, lost buffers, the primary buffer.
#include "OfflineDevice.h"

#include "platform/dsound/DirectSoundControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace soundtest;

namespace {

HRESULT Create(OfflineDevice& sound, DSBUFFERDESC desc, DsPtr<IDirectSoundBuffer>& buffer) {
    return sound.device->CreateSoundBuffer(&desc, buffer.put(), nullptr);
}

} // namespace

TEST(DirectSoundApi, CreateSoundBufferChecksItsParameters) {
    OfflineDevice sound;
    WAVEFORMATEX format = PcmFormat(2, 11025, 8);
    const DSBUFFERDESC good{DSBUFFERDESC_SIZE, kAllControls, 26576, 0, &format};
    DsPtr<IDirectSoundBuffer> buffer;
    EXPECT_EQ(Create(sound, good, buffer), DS_OK);
    EXPECT_TRUE(buffer);

    EXPECT_EQ(sound.device->CreateSoundBuffer(nullptr, buffer.put(), nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound.device->CreateSoundBuffer(&good, nullptr, nullptr), DSERR_INVALIDPARAM);
    int outer = 0;
    EXPECT_EQ(sound.device->CreateSoundBuffer(&good, buffer.put(), &outer), DSERR_NOAGGREGATION);

    DSBUFFERDESC bad = good;
    bad.dwSize = 36;
    EXPECT_EQ(Create(sound, bad, buffer), DSERR_INVALIDPARAM);
    bad = good;
    bad.dwFlags |= 0x10; // 3D control, which this mixer does not have
    EXPECT_EQ(Create(sound, bad, buffer), DSERR_INVALIDPARAM);
    bad = good;
    bad.lpwfxFormat = nullptr;
    EXPECT_EQ(Create(sound, bad, buffer), DSERR_INVALIDPARAM);
    for (const DWORD size : {0u, 3u, DSBSIZE_MAX + 1}) {
        bad = good;
        bad.dwBufferBytes = size;
        EXPECT_EQ(Create(sound, bad, buffer), DSERR_INVALIDPARAM) << size;
    }

    WAVEFORMATEX wrong = format;
    wrong.nBlockAlign = 1;
    bad = good;
    bad.lpwfxFormat = &wrong;
    EXPECT_EQ(Create(sound, bad, buffer), DSERR_INVALIDPARAM);
    wrong = format;
    wrong.nSamplesPerSec = 99;
    wrong.nAvgBytesPerSec = 198;
    EXPECT_EQ(Create(sound, bad, buffer), DSERR_INVALIDPARAM);
    wrong = format;
    wrong.wFormatTag = 3;
    EXPECT_TRUE(FAILED(Create(sound, bad, buffer)));
    wrong = PcmFormat(2, 11025, 24);
    EXPECT_TRUE(FAILED(Create(sound, bad, buffer)));
    EXPECT_FALSE(buffer);
}

TEST(DirectSoundApi, ControlsAnswerOnlyWhenAskedForAndWithinRange) {
    OfflineDevice sound;
    auto plain = sound.Buffer(PcmFormat(1, 22050, 16), std::vector<std::uint8_t>(100, 0), 0);
    DWORD frequency = 0;
    LONG value = 0;
    EXPECT_EQ(plain->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetPan(100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetFrequency(22000), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->GetFrequency(&frequency), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->GetVolume(&value), DSERR_CONTROLUNAVAIL);

    auto controlled = sound.Buffer(PcmFormat(1, 22050, 16), std::vector<std::uint8_t>(100, 0));
    ASSERT_EQ(controlled->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 22050u);
    EXPECT_EQ(controlled->SetFrequency(99), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetFrequency(200001), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetFrequency(100), DS_OK);
    EXPECT_EQ(controlled->SetFrequency(200000), DS_OK);
    ASSERT_EQ(controlled->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 200000u);
    EXPECT_EQ(controlled->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    ASSERT_EQ(controlled->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, 22050u);

    EXPECT_EQ(controlled->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetVolume(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetVolume(-2500), DS_OK);
    ASSERT_EQ(controlled->GetVolume(&value), DS_OK);
    EXPECT_EQ(value, -2500);
    EXPECT_EQ(controlled->SetPan(10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetPan(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetPan(-1666), DS_OK);
    ASSERT_EQ(controlled->GetPan(&value), DS_OK);
    EXPECT_EQ(value, -1666);
    EXPECT_EQ(controlled->GetPan(nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->GetStatus(nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->Play(1, 0, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetCurrentPosition(100), DSERR_INVALIDPARAM);
    EXPECT_EQ(controlled->SetFormat(nullptr), DSERR_INVALIDCALL);
}

TEST(DirectSoundApi, LockHandsOutTheBytesAndWrapsIntoASecondBlock) {
    OfflineDevice sound;
    auto buffer = sound.Buffer(PcmFormat(1, 8000, 8), std::vector<std::uint8_t>(100, 0x80));
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    ASSERT_EQ(buffer->Lock(60, 70, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(firstBytes, 40u);
    EXPECT_EQ(secondBytes, 30u);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(static_cast<std::uint8_t*>(first) - static_cast<std::uint8_t*>(second), 60);
    std::memset(first, 0x11, firstBytes);
    std::memset(second, 0x22, secondBytes);
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);

    // Without a place for the second block the lock ends at the buffer's end.
    ASSERT_EQ(buffer->Lock(60, 70, &first, &firstBytes, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(firstBytes, 40u);
    ASSERT_EQ(buffer->Unlock(first, firstBytes, nullptr, 0), DS_OK);

    ASSERT_EQ(buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER),
              DS_OK);
    EXPECT_EQ(firstBytes, 100u);
    EXPECT_EQ(secondBytes, 0u);
    EXPECT_EQ(second, nullptr);
    const auto* bytes = static_cast<const std::uint8_t*>(first);
    EXPECT_EQ(bytes[0], 0x22);
    EXPECT_EQ(bytes[29], 0x22);
    EXPECT_EQ(bytes[30], 0x80);
    EXPECT_EQ(bytes[60], 0x11);
    EXPECT_EQ(bytes[99], 0x11);
    std::uint8_t elsewhere[4] = {};
    EXPECT_EQ(buffer->Unlock(elsewhere, 4, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, 101, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, 100, nullptr, 0), DS_OK);

    EXPECT_EQ(buffer->Lock(100, 1, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 101, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 0, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 10, nullptr, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
}

TEST(DirectSoundApi, LostBuffersComeBackEmptyOnceTheOutputOpensAgain) {
    OfflineDevice sound;
    auto buffer = sound.Buffer(PcmFormat(1, 48000, 8), std::vector<std::uint8_t>(4800, 0xC0));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_NE(sound.output->Render(10)[0], 0);

    sound.output->SetAvailable(false);
    ASSERT_EQ(dsound::LoseBuffers(sound.device.get()), DS_OK);
    EXPECT_EQ(sound.Status(buffer.get()), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    void* block = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(buffer->Lock(0, 10, &block, &bytes, nullptr, nullptr, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Restore(), DSERR_BUFFERLOST);
    EXPECT_EQ(buffer->Restore(), DSERR_BUFFERLOST);
    EXPECT_FALSE(sound.output->IsOpen());

    sound.output->SetAvailable(true);
    ASSERT_EQ(buffer->Restore(), DS_OK);
    EXPECT_TRUE(sound.output->IsOpen());
    EXPECT_EQ(sound.Status(buffer.get()), 0u);
    ASSERT_EQ(buffer->Lock(0, 4800, &block, &bytes, nullptr, nullptr, 0), DS_OK);
    const auto* data = static_cast<const std::uint8_t*>(block);
    EXPECT_TRUE(std::all_of(data, data + bytes, [](std::uint8_t b) { return b == 0x80; }));
    ASSERT_EQ(buffer->Unlock(block, bytes, nullptr, 0), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(sound.output->Render(10)[0], 0);
}

TEST(DirectSoundApi, AnOutputThatGoesAwayMakesEveryBufferLost) {
    OfflineDevice sound;
    auto playing = sound.Buffer(PcmFormat(1, 48000, 8), std::vector<std::uint8_t>(4800, 0xC0));
    auto idle = sound.Buffer(PcmFormat(2, 11025, 16), std::vector<std::uint8_t>(400, 0));
    ASSERT_EQ(playing->Play(0, 0, 0), DS_OK);

    sound.output->Remove();
    EXPECT_EQ(sound.Status(playing.get()), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(sound.Status(idle.get()), DSBSTATUS_BUFFERLOST);
    ASSERT_EQ(idle->Restore(), DS_OK);
    EXPECT_EQ(sound.Status(idle.get()), 0u);
    // Each buffer is restored on its own.
    EXPECT_EQ(sound.Status(playing.get()), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(playing->Restore(), DS_OK);
}

TEST(DirectSoundApi, PrimaryBufferKeepsACheckedFormatWhileTheMixStaysStereo) {
    OfflineDevice sound;
    DSBUFFERDESC desc{DSBUFFERDESC_SIZE, DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
    DsPtr<IDirectSoundBuffer> primary;
    ASSERT_EQ(sound.device->CreateSoundBuffer(&desc, primary.put(), nullptr), DS_OK);

    WAVEFORMATEX mono = PcmFormat(1, 22050, 16);
    EXPECT_EQ(primary->SetFormat(nullptr), DSERR_INVALIDPARAM);
    WAVEFORMATEX twelveBit = mono;
    twelveBit.wBitsPerSample = 12;
    EXPECT_TRUE(FAILED(primary->SetFormat(&twelveBit)));
    ASSERT_EQ(primary->SetFormat(&mono), DS_OK);
    WAVEFORMATEX kept{};
    DWORD written = 0;
    ASSERT_EQ(primary->GetFormat(&kept, sizeof kept, &written), DS_OK);
    EXPECT_EQ(written, sizeof(WAVEFORMATEX));
    EXPECT_EQ(std::memcmp(&kept, &mono, sizeof kept), 0);

    auto buffer =
        sound.Buffer(PcmFormat(1, 48000, 16), Bytes16(std::vector<std::int16_t>(480, 8000)));
    ASSERT_EQ(buffer->SetPan(DSBPAN_LEFT), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const std::vector<std::int16_t> out = sound.output->Render(10);
    EXPECT_EQ(out.size(), 20u);
    EXPECT_EQ(out[0], 8000);
    EXPECT_EQ(out[1], 0);

    desc.dwBufferBytes = 4;
    EXPECT_EQ(sound.device->CreateSoundBuffer(&desc, primary.put(), nullptr), DSERR_INVALIDPARAM);
}

TEST(DirectSoundApi, PrimaryFormatNeedsPriorityLevel) {
    OfflineDevice sound;
    ASSERT_EQ(sound.device->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
    DSBUFFERDESC desc{DSBUFFERDESC_SIZE, DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
    DsPtr<IDirectSoundBuffer> primary;
    ASSERT_EQ(sound.device->CreateSoundBuffer(&desc, primary.put(), nullptr), DS_OK);
    WAVEFORMATEX format = PcmFormat(1, 22050, 16);
    EXPECT_EQ(primary->SetFormat(&format), DSERR_PRIOLEVELNEEDED);
    EXPECT_EQ(sound.device->SetCooperativeLevel(nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound.device->SetCooperativeLevel(nullptr, 5), DSERR_INVALIDPARAM);
}

TEST(DirectSoundApi, BuffersMayOutliveTheCallersDeviceReference) {
    OfflineDevice sound;
    auto buffer =
        sound.Buffer(PcmFormat(1, 48000, 16), Bytes16(std::vector<std::int16_t>(480, 100)));
    sound.device.reset();
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(sound.output->Render(1)[0], 100);
    buffer.reset();
    EXPECT_FALSE(sound.output->IsOpen());
}

TEST(DirectSoundApi, CreateDeviceFailsCleanlyWithoutAnOutput) {
    auto output = std::make_shared<dsound::OfflineOutput>();
    output->SetAvailable(false);
    IDirectSound* device = reinterpret_cast<IDirectSound*>(0x1);
    EXPECT_EQ(dsound::CreateDevice(output, &device), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
}

TEST(DirectSoundApi, DirectSoundCreateFailsCleanlyWhenSdlHasNoSuchDriver) {
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = previous ? previous : "";
    ::setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    IDirectSound* device = reinterpret_cast<IDirectSound*>(0x1);
    const HRESULT result = DirectSoundCreate(nullptr, &device, nullptr);
    if (previous) {
        ::setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        ::unsetenv("SDL_AUDIODRIVER");
    }
    EXPECT_TRUE(FAILED(result));
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(DirectSoundCreate(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
}
