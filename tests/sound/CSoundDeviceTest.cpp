#include "FakeDirectSound.h"
#include "OfflineDevice.h"

#include "platform/dsound/DirectSoundControl.h"
#include "sound/CSoundDevice.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace soundtest;

namespace {

// What DirectSoundCreate hands out while a test runs: fakes set up by the fixture, or a real
// device over an offline output.
struct Factory {
    FakeLog* log = nullptr;
    HRESULT createResult = DS_OK;
    HRESULT cooperativeResult = DS_OK;
    HRESULT primaryCreateResult = DS_OK;
    HRESULT primaryFormatResult = DS_OK;
    FakeDevice* lastDevice = nullptr;
    bool offline = false;
};
Factory factory;

HRESULT CreateForTest(const void* guid, IDirectSound** directSound, void* outer) {
    factory.log->calls.push_back(std::string("DirectSoundCreate") + (guid ? " guid" : "") +
                                 (outer ? " outer" : ""));
    factory.log->devicesAtCreate.push_back(factory.log->liveDevices);
    if (factory.offline) {
        return dsound::CreateDevice(std::make_shared<dsound::OfflineOutput>(), directSound);
    }
    if (FAILED(factory.createResult)) {
        *directSound = nullptr;
        return factory.createResult;
    }
    auto* device = new FakeDevice(*factory.log);
    device->cooperativeResult = factory.cooperativeResult;
    device->createResult = factory.primaryCreateResult;
    device->primaryFormatResult = factory.primaryFormatResult;
    factory.lastDevice = device;
    *directSound = device;
    return DS_OK;
}

class SoundDevice : public ::testing::Test {
protected:
    void SetUp() override {
        factory = Factory{};
        factory.log = &log;
        previous = dsound::SetCreateFunction(&CreateForTest);
    }
    void TearDown() override { dsound::SetCreateFunction(previous); }

    FakeLog log;
    HWND window = reinterpret_cast<HWND>(0x1234);
    dsound::CreateFunction previous = nullptr;
};

} // namespace

TEST_F(SoundDevice, OpenBindsTheWindowAndSetsThePrimaryFormat) {
    CSoundDevice device;
    ASSERT_EQ(device.Open(window, DSSCL_PRIORITY, 1, 22050, 16), 1);
    ASSERT_TRUE(device.device);
    FakeDevice* fake = factory.lastDevice;
    EXPECT_EQ(device.device.get(), fake);
    EXPECT_EQ(fake->window, window);
    EXPECT_EQ(fake->level, DSSCL_PRIORITY);
    EXPECT_EQ(fake->lastDesc.dwSize, 20u);
    EXPECT_EQ(fake->lastDesc.dwFlags, DSBCAPS_PRIMARYBUFFER);
    EXPECT_EQ(fake->lastDesc.dwBufferBytes, 0u);
    EXPECT_EQ(fake->lastDesc.dwReserved, 0u);
    EXPECT_EQ(fake->lastDesc.lpwfxFormat, nullptr);
    const std::vector<std::string> expected{"DirectSoundCreate", "SetCooperativeLevel",
                                            "CreateSoundBuffer", "SetFormat", "Buffer::Release"};
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(log.liveBuffers, 0);
}

TEST_F(SoundDevice, PrimaryFormatIsPcmWithWholeBytesPerSample) {
    CSoundDevice device;
    ASSERT_EQ(device.Open(window, DSSCL_PRIORITY, 1, 22050, 16), 1);
    const WAVEFORMATEX program{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    EXPECT_EQ(std::memcmp(&log.formatSet, &program, sizeof program), 0);

    ASSERT_EQ(device.Open(window, DSSCL_PRIORITY, 1, 22050, 12), 1);
    EXPECT_EQ(log.formatSet.nBlockAlign, 1);
    EXPECT_EQ(log.formatSet.nAvgBytesPerSec, 22050u);
    EXPECT_EQ(log.formatSet.wBitsPerSample, 12);
    ASSERT_EQ(device.Open(window, DSSCL_PRIORITY, 2, 65535, 8), 1);
    EXPECT_EQ(log.formatSet.nChannels, 2);
    EXPECT_EQ(log.formatSet.nBlockAlign, 2);
    EXPECT_EQ(log.formatSet.nAvgBytesPerSec, 131070u);
}

TEST_F(SoundDevice, OpeningTwiceReleasesTheFirstDeviceBeforeCreatingTheSecond) {
    CSoundDevice device;
    ASSERT_EQ(device.Open(window, DSSCL_PRIORITY, 1, 22050, 16), 1);
    ASSERT_EQ(device.Open(window, DSSCL_PRIORITY, 1, 22050, 16), 1);
    EXPECT_EQ(log.devicesAtCreate, (std::vector<int>{0, 0}));
    EXPECT_EQ(log.liveDevices, 1);
    EXPECT_EQ(device.device.get(), factory.lastDevice);
}

TEST_F(SoundDevice, EveryFailingStepLeavesTheHolderEmpty) {
    struct Case {
        const char* name;
        HRESULT Factory::*step;
        std::size_t callsBeforeRelease;
    };
    for (const Case& failure :
         {Case{"create", &Factory::createResult, 1}, Case{"level", &Factory::cooperativeResult, 2},
          Case{"primary", &Factory::primaryCreateResult, 3},
          Case{"format", &Factory::primaryFormatResult, 4}}) {
        SCOPED_TRACE(failure.name);
        log = FakeLog{};
        factory = Factory{};
        factory.log = &log;
        factory.*failure.step = DSERR_GENERIC;
        CSoundDevice device;
        EXPECT_EQ(device.Open(window, DSSCL_PRIORITY, 1, 22050, 16), 0);
        EXPECT_FALSE(device.device);
        EXPECT_EQ(log.liveDevices, 0);
        EXPECT_EQ(log.liveBuffers, 0);
    }
}

TEST_F(SoundDevice, AFailedReopenLeavesNoDevice) {
    CSoundDevice device;
    ASSERT_EQ(device.Open(window, DSSCL_PRIORITY, 1, 22050, 16), 1);
    factory.cooperativeResult = DSERR_INVALIDPARAM;
    EXPECT_EQ(device.Open(window, DSSCL_PRIORITY, 1, 22050, 16), 0);
    EXPECT_FALSE(device.device);
    EXPECT_EQ(log.liveDevices, 0);
}

TEST_F(SoundDevice, OverTheMixerTheProgramsFormatIsAcceptedAndTwelveBitsRejected) {
    factory.offline = true;
    CSoundDevice device;
    EXPECT_EQ(device.Open(window, DSSCL_PRIORITY, 1, 22050, 16), 1);
    EXPECT_TRUE(device.device);
    EXPECT_EQ(device.Open(window, DSSCL_PRIORITY, 1, 22050, 12), 0);
    EXPECT_FALSE(device.device);
    EXPECT_EQ(device.Open(window, DSSCL_NORMAL, 1, 22050, 16), 0);
    EXPECT_FALSE(device.device);
}
