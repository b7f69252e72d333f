#include "CricketFixture.h"
#include "cricket/CPerfCounterStopwatch.h"
#include "cricket/CTickStopwatch.h"

#include <vector>

namespace {

using CricketAttach = CricketFixture;

std::vector<std::uint32_t> ReferenceDraws(std::uint32_t seed, int count) {
    CTwister twister;
    twister.Seed(seed);
    std::vector<std::uint32_t> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(twister.Next());
    }
    return values;
}

TEST_F(CricketAttach, NewCricketHasNoBufferAndAStopwatchByTheCounterRule) {
    CCricket withCounter;
    EXPECT_FALSE(withCounter.voice.buffer);
    EXPECT_NE(dynamic_cast<CPerfCounterStopwatch*>(withCounter.stopwatch.get()), nullptr);
    EXPECT_EQ(withCounter.phrasesLeft, 0);
    EXPECT_EQ(withCounter.wait, 0.0);

    clock.frequency = 0;
    CCricket withoutCounter;
    EXPECT_NE(dynamic_cast<CTickStopwatch*>(withoutCounter.stopwatch.get()), nullptr);
}

TEST_F(CricketAttach, DrawsPitchThenTheFiveSongValuesInOrder) {
    const std::vector<std::uint32_t> r = ReferenceDraws(20240607, 6);
    theTwister.Seed(20240607);
    CCricket cricket;
    ASSERT_EQ(cricket.Attach(device, wave), 1);
    EXPECT_EQ(DrawsSinceSeed(), 6);

    FakeBuffer& buffer = directSound.Last();
    EXPECT_EQ(buffer.flags, 0x80E0u);
    EXPECT_EQ(buffer.frequencyCalls, std::vector<DWORD>{kChirpRate + r[0] % 1001 - 500});
    EXPECT_EQ(cricket.firstDelay, (r[1] % 201 + 100) * 0.01);
    EXPECT_EQ(cricket.phraseRest, (r[2] % 201 + 200) * 0.01);
    EXPECT_EQ(cricket.wait, cricket.phraseRest + cricket.firstDelay);
    EXPECT_EQ(cricket.phrasesLeft, static_cast<std::int32_t>(r[3] & 3) + 3);
    EXPECT_EQ(cricket.chirpsLeft, 4);
    EXPECT_EQ(cricket.interrupted, 0);
    EXPECT_EQ(buffer.volumeCalls, std::vector<LONG>{CCricket::SongVolume(100, r[4] % 3001)});
    EXPECT_EQ(buffer.panCalls, std::vector<LONG>{static_cast<LONG>(r[5] % 3333) - 1666});
    EXPECT_TRUE(buffer.playTimes.empty());
}

TEST_F(CricketAttach, FailuresStopTheDrawsWhereTheyHappen) {
    struct Case {
        const char* name;
        FakeBufferFaults faults;
        int draws;
        std::size_t volumeCalls;
        std::size_t panCalls;
    };
    const Case cases[] = {
        {"frequency reads as 0",
         {.overrideFrequencyReading = true, .frequencyReading = 0},
         0,
         0,
         0},
        {"frequency unreadable", {.failGetFrequency = true}, 0, 0, 0},
        {"frequency refused", {.refuseFrequency = true}, 1, 0, 0},
        {"volume refused", {.refuseVolume = true}, 5, 1, 0},
        {"pan refused", {.refusePan = true}, 6, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        directSound.faults = c.faults;
        theTwister.Seed(7);
        CCricket cricket;
        EXPECT_EQ(cricket.Attach(device, wave), 0);
        EXPECT_EQ(DrawsSinceSeed(), c.draws);
        EXPECT_EQ(directSound.Last().volumeCalls.size(), c.volumeCalls);
        EXPECT_EQ(directSound.Last().panCalls.size(), c.panCalls);
    }
}

TEST_F(CricketAttach, RefusedBufferFailsWithoutADraw) {
    directSound.refuseCreate = true;
    theTwister.Seed(7);
    CCricket cricket;
    EXPECT_EQ(cricket.Attach(device, wave), 0);
    EXPECT_EQ(DrawsSinceSeed(), 0);
    EXPECT_FALSE(cricket.voice.buffer);

    CSoundDevice noDevice;
    EXPECT_EQ(cricket.Attach(noDevice, wave), 0);
    EXPECT_EQ(DrawsSinceSeed(), 0);
}

TEST_F(CricketAttach, VolumeSettingOutsideTheScaleIsRefusedAfterFourSongDraws) {
    for (std::int32_t setting : {INT32_MIN, -1, 101000, INT32_MAX}) {
        SCOPED_TRACE(setting);
        TheApp().settings.volume = setting;
        theTwister.Seed(99);
        CCricket cricket;
        EXPECT_EQ(cricket.Attach(device, wave), 0);
        EXPECT_EQ(DrawsSinceSeed(), 5);
        ASSERT_EQ(directSound.Last().volumeCalls.size(), 1u);
        const LONG volume = directSound.Last().volumeCalls[0];
        EXPECT_TRUE(volume < -10000 || volume > 0) << volume;
        EXPECT_TRUE(directSound.Last().panCalls.empty());
        // The song itself was drawn and goes on.
        EXPECT_GE(cricket.wait, 3.0);
    }
}

TEST_F(CricketAttach, EveryNewSongReadsTheLiveVolumeSetting) {
    theTwister.Seed(3);
    CCricket cricket;
    ASSERT_EQ(cricket.Attach(device, wave), 1);
    TheApp().settings.volume = 1;
    EXPECT_EQ(cricket.NewSong(), 1);
    const LONG quiet = directSound.Last().volumeCalls.back();
    EXPECT_GE(quiet, -9931);
    EXPECT_LE(quiet, -9901);
    // Loudness and pan change with the song; the pitch stays.
    EXPECT_EQ(directSound.Last().frequencyCalls.size(), 1u);
    EXPECT_EQ(directSound.Last().panCalls.size(), 2u);
}

TEST_F(CricketAttach, NewSongWithRefusedVolumeDrawsFourAndSetsNoPan) {
    theTwister.Seed(12);
    CCricket cricket;
    ASSERT_EQ(cricket.Attach(device, wave), 1);
    FakeBuffer& buffer = directSound.Last();
    buffer.faults.refuseVolume = true;
    theTwister.Seed(13);
    EXPECT_EQ(cricket.NewSong(), 0);
    EXPECT_EQ(DrawsSinceSeed(), 4);
    EXPECT_EQ(buffer.volumeCalls.size(), 2u);
    EXPECT_EQ(buffer.panCalls.size(), 1u);
    // The song was drawn all the same and will be sung.
    EXPECT_EQ(cricket.chirpsLeft, 4);
    EXPECT_GE(cricket.wait, 3.0);
}

TEST_F(CricketAttach, NewSongWithoutABufferDrawsTheSongButTouchesNoBuffer) {
    theTwister.Seed(11);
    CCricket cricket;
    EXPECT_EQ(cricket.NewSong(), 0);
    EXPECT_EQ(DrawsSinceSeed(), 4);
    EXPECT_GE(cricket.phrasesLeft, 3);
    EXPECT_EQ(cricket.chirpsLeft, 4);
    // Ticking such a cricket is harmless: it waits out its silence and plays nothing.
    for (int i = 0; i < 2000; ++i) {
        Tick(cricket);
    }
    EXPECT_TRUE(directSound.buffers.empty());
}

TEST_F(CricketAttach, CricketWithoutStopwatchNeitherDrawsNorSings) {
    theTwister.Seed(5);
    CCricket cricket;
    cricket.stopwatch.reset();
    EXPECT_EQ(cricket.Attach(device, wave), 0);
    EXPECT_EQ(cricket.NewSong(), 0);
    cricket.Tick(0);
    EXPECT_EQ(DrawsSinceSeed(), 0);
    EXPECT_TRUE(directSound.buffers.empty());
}

// Notes whether the cricket's buffer was still held when the stopwatch went.
class WitnessStopwatch final : public CStopwatch {
public:
    WitnessStopwatch(const FakeBuffer& watched, bool& heldAtDestruction)
        : buffer(watched), held(heldAtDestruction) {}
    ~WitnessStopwatch() override { held = buffer.references > 0; }
    void Reset() override {}
    void Start() override {}
    void Stop() override {}
    void Advance() override {}
    double Lap() override { return 0.0; }
    double Elapsed() override { return 0.0; }
    double Now() override { return 0.0; }

private:
    const FakeBuffer& buffer;
    bool& held;
};

TEST_F(CricketAttach, DestructionEndsTheStopwatchThenReleasesTheBuffer) {
    bool heldAtStopwatchEnd = false;
    {
        theTwister.Seed(1);
        CCricket cricket;
        ASSERT_EQ(cricket.Attach(device, wave), 1);
        cricket.stopwatch =
            std::make_unique<WitnessStopwatch>(directSound.Last(), heldAtStopwatchEnd);
    }
    EXPECT_TRUE(heldAtStopwatchEnd);
    EXPECT_EQ(directSound.Last().references, 0u);
}

TEST_F(CricketAttach, SameSeedAndSettingsGiveTheSameFirstSong) {
    theTwister.Seed(424242);
    CCricket first;
    ASSERT_EQ(first.Attach(device, wave), 1);
    FakeBuffer& firstBuffer = directSound.Last();
    theTwister.Seed(424242);
    CCricket second;
    ASSERT_EQ(second.Attach(device, wave), 1);
    FakeBuffer& secondBuffer = directSound.Last();

    EXPECT_EQ(firstBuffer.frequencyCalls, secondBuffer.frequencyCalls);
    EXPECT_EQ(firstBuffer.volumeCalls, secondBuffer.volumeCalls);
    EXPECT_EQ(firstBuffer.panCalls, secondBuffer.panCalls);
    EXPECT_EQ(first.wait, second.wait);
    EXPECT_EQ(first.phrasesLeft, second.phrasesLeft);
    const std::int32_t phrases = first.phrasesLeft;

    // Ticked together until either starts its second song.
    while (firstBuffer.volumeCalls.size() == 1 && secondBuffer.volumeCalls.size() == 1) {
        clock.Step(kTickNanoseconds);
        first.Tick(0);
        second.Tick(0);
    }
    EXPECT_EQ(firstBuffer.volumeCalls.size(), 2u);
    EXPECT_EQ(secondBuffer.volumeCalls.size(), 2u);
    EXPECT_EQ(firstBuffer.playTimes.size(), 4u * static_cast<std::size_t>(phrases));
    EXPECT_EQ(firstBuffer.playTimes, secondBuffer.playTimes);
}

} // namespace
