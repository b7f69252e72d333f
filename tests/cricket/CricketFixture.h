#pragma once

#include "ChirpWave.h"
#include "FakeClock.h"
#include "FakeDirectSound.h"
#include "app/CChorusApp.h"
#include "cricket/CCricket.h"
#include "cricket/CTwister.h"
#include "sound/CSoundDevice.h"
#include "sound/CWaveResource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// The chirp recording's length: 26576 data bytes of 16-bit mono at 11025 Hz.
constexpr std::uint32_t kChirpFrames = 13288;
constexpr std::uint32_t kChirpRate = 11025;
constexpr std::int64_t kTickNanoseconds = 10000000;

// A cricket's world: a fake clock, a fake DirectSound device in a CSoundDevice, the recording
// and the live settings at their defaults (volume 100).
class CricketFixture : public testing::Test {
protected:
    CricketFixture() : directSound(clock) {
        clock.nanoseconds = 100 * FakeClock::kNanosecondsPerSecond;
        device.device = DsPtr<IDirectSound>(&directSound);
        TheApp().settings = ChorusSettings{};
        UseWave(kChirpFrames);
    }

    void UseWave(std::uint32_t frames) {
        bytes = MonoWave16(frames, kChirpRate);
        ASSERT_EQ(wave.OpenMemory(bytes.data(), static_cast<std::uint32_t>(bytes.size())), 1);
    }

    // Draws made from theTwister since it was seeded (fewer than a block).
    static int DrawsSinceSeed() {
        return theTwister.index == CTwister::kStateSize ? 0 : theTwister.index;
    }

    // Moves the clock on by one 10 ms tick and ticks the cricket.
    void Tick(CCricket& cricket, int disturbed = 0) {
        clock.Step(kTickNanoseconds);
        cricket.Tick(disturbed);
    }

    // Seconds on the fake clock as a whole number of ticks since origin.
    std::int64_t TicksSince(std::int64_t origin) const {
        return (clock.nanoseconds - origin) / kTickNanoseconds;
    }

    FakeClock clock;
    FakeDirectSound directSound;
    CSoundDevice device;
    std::vector<std::uint8_t> bytes;
    CWaveResource wave;
};

// A fixed song, as if NewSong had drawn it: 1.50 s first delay, 3.00 s rests, 4 phrases, and the
// pitch back at the recording's own rate.
inline void ForceWorkedExampleSong(CCricket& cricket) {
    cricket.voice.buffer->SetFrequency(kChirpRate);
    cricket.firstDelay = 1.50;
    cricket.phraseRest = 3.00;
    cricket.wait = 4.50;
    cricket.phrasesLeft = 4;
    cricket.chirpsLeft = 4;
}
