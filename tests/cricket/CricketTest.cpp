#include "cricket/CCricket.h"
#include "cricket/CTwister.h"
#include "sound/CSoundDevice.h"
#include "sound/CWaveResource.h"
#include "testsupport/FakeDirectSound.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>

namespace {

using Ticks = std::vector<std::int64_t>;
using Draws = std::vector<std::uint32_t>;

// Volume setting, loudness draw (0 to 3000) and buffer volume, against reference values; a
// result that does not fit 32 bits saturates in its own direction, so that the buffer refuses it.
// That any setting and draw give a defined result, the settings fuzzer checks.
TEST(CricketVolume, MatchesTheReferenceAndSaturatesWhereItDoesNotFit) {
    // clang-format off
    const std::tuple<std::int32_t, std::uint32_t, LONG> rows[] = {
        {100, 0, -1}, {100, 3000, -3001}, {50, 3000, -6501}, {1, 3000, -9931}, {0, 0, -10000},
        {1000000, 3000, 69989999}, {-21474836, 0, INT32_MIN}, {INT32_MAX, 0, INT32_MAX}};
    // clang-format on
    for (const auto& [setting, n, volume] : rows) {
        EXPECT_EQ(CCricket::SongVolume(setting, n), volume) << setting << " " << n;
    }
}

// Every value lies in [low, high] and both ends are reached within reach.
auto Spread(std::int64_t low, std::int64_t high, std::int64_t reach) {
    using testing::AllOf, testing::Contains, testing::Each, testing::Ge, testing::Le;
    return AllOf(Each(AllOf(Ge(low), Le(high))), Contains(Le(low + reach)),
                 Contains(Ge(high - reach)));
}

// A cricket's world: a fake clock (its counter at 10 MHz, so that a stopwatch ignoring the rate
// shows), a fake DirectSound device, the chirp recording (WAVE 129, 11025 Hz, 1.205 s) and the
// settings at their defaults (volume 100).
class Cricket : public testing::Test {
protected:
    Cricket() : clock(10000000), directSound(clock) {
        device.device = DsPtr<IDirectSound>(&directSound);
        EXPECT_EQ(wave.OpenResource(129), 1);
    }

    static int DrawsSinceSeed() { return theTwister.index % CTwister::kStateSize; }
    int Attach(CCricket& cricket, std::uint32_t seed) {
        theTwister.Seed(seed);
        return cricket.Attach(device, wave);
    }

    // Attached with the seed whose first song is 1.50 s + 3.00 s of opening silence, 3.00 s
    // rests and 4 phrases, at the recording's own rate: the song follows from the seed alone.
    void StartWorkedExample(CCricket& cricket) {
        now = 0, kinds = "S", times = {0};
        ASSERT_EQ(Attach(cricket, 14526), 1);
        cricket.voice.buffer->SetFrequency(11025);
    }

    // Ticks until lastTick, logging in ticks of 10 ms: 'C' chirp, 'S' new song (NewSong sets
    // the volume).
    void RunUntil(CCricket& cricket, std::int64_t lastTick,
                  const std::function<bool(std::int64_t)>& disturbedAt = {}) {
        const FakeBuffer& buffer = directSound.Last();
        for (std::int64_t tick = now + 1; tick <= lastTick; now = tick++) {
            const std::size_t plays = buffer.playTimes.size(), songs = buffer.volumeCalls.size();
            clock.Step(10000000);
            cricket.Tick(disturbedAt && disturbedAt(tick) ? 1 : 0);
            const std::string events = std::string(buffer.volumeCalls.size() - songs, 'S') +
                                       std::string(buffer.playTimes.size() - plays, 'C');
            kinds += events;
            times.insert(times.end(), events.size(), tick);
        }
    }

    FakeClock clock;
    FakeDirectSound directSound;
    CSoundDevice device;
    CWaveResource wave;
    std::int64_t now = 0;
    std::string kinds = "S";
    Ticks times{0};
};

TEST_F(Cricket, RefusalsStopTheDrawsWhereTheyHappen) {
    // Refusal, draws made (pitch, two silences, phrases, loudness, pan), pan calls.
    const std::tuple<FakeBufferFaults, int, int, std::size_t> cases[] = {
        {{}, 1, 6, 1},
        {{.zeroFrequency = true}, 0, 0, 0},
        {{.refuseFrequency = true}, 0, 1, 0},
        {{.refuseVolume = true}, 0, 5, 0}};
    for (const auto& [faults, result, draws, pans] : cases) {
        CCricket cricket;
        directSound.faults = faults;
        EXPECT_EQ(Attach(cricket, 7), result) << draws;
        EXPECT_EQ(DrawsSinceSeed(), draws);
        EXPECT_EQ(directSound.Last().panCalls.size(), pans) << draws;
    }
}

TEST_F(Cricket, WorkedExampleSingsTheSameWhenDisturbedInSilenceOrChirp) {
    const std::function<bool(std::int64_t)> disturbances[] = {
        {},
        [](std::int64_t t) { return t < 450 || (t > 450 && t < 571) || (t > 934 && t < 1234); }};
    for (const auto& disturbedAt : disturbances) {
        CCricket cricket;
        StartWorkedExample(cricket);
        RunUntil(cricket, 3600, disturbedAt);
        // Chirps 4.50, 5.71, 6.92, 8.13; rests of 3.00 s, then phrases at 12.34, 20.18, 28.02;
        // the next song at 35.86.
        EXPECT_EQ(kinds, "S" + std::string(16, 'C') + "S");
        EXPECT_EQ(times, (Ticks{0, 450, 571, 692, 813, 1234, 1355, 1476, 1597, 2018, 2139, 2260,
                                2381, 2802, 2923, 3044, 3165, 3586}));
    }
}

// Disturbed when a chirp is due, the cricket hushes and, at the first calm tick, starts a new
// song rather than the chirp it missed; that song opens with a silence of 3.00 to 7.00 s.
TEST_F(Cricket, DisturbedFreeCricketHushesUntilTheFirstCalmTick) {
    CCricket cricket;
    StartWorkedExample(cricket);
    RunUntil(cricket, 570); // chirp 1 ends at 5.705, chirp 2 is due
    RunUntil(cricket, 871, [](std::int64_t) { return true; });
    RunUntil(cricket, 872 + 800);
    EXPECT_EQ(kinds.substr(0, 4) + std::to_string(times.at(2)), "SCSC872");
    EXPECT_TRUE(times.at(3) >= 872 + 300 && times.at(3) <= 872 + 701) << times.at(3);
}

TEST_F(Cricket, ManySongsStayWithinTheirRanges) {
    CCricket cricket;
    ASSERT_EQ(Attach(cricket, 31337), 1);
    RunUntil(cricket, 800000);
    kinds.erase(kinds.rfind('S')); // the last song may be unfinished
    EXPECT_TRUE(std::regex_match(kinds, std::regex("(S(CCCC){3,6})+")));
    // Both the shortest and the longest songs occur.
    EXPECT_TRUE(std::regex_search(kinds, std::regex("S(CCCC){3}S")));
    EXPECT_TRUE(std::regex_search(kinds, std::regex("S(CCCC){6}S")));
    // Opening silences 3.00..7.00 s; after a chirp, the next event comes when the chirp has
    // ended (the shortest gap) or, after a phrase, when a rest of 2.00..4.00 s has passed too.
    Ticks openings, afterChirps;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        (kinds[i] == 'S' ? openings : afterChirps).push_back(times[i + 1] - times[i]);
    }
    const std::int64_t chirp = *std::min_element(afterChirps.begin(), afterChirps.end());
    std::erase(afterChirps, chirp); // what is left: a chirp and a rest
    EXPECT_GE(openings.size(), 150u);
    EXPECT_THAT(openings, Spread(300, 701, 20));
    EXPECT_THAT(afterChirps, Spread(chirp + 200, chirp + 401, 10));
    EXPECT_THAT(directSound.Last().panCalls, Spread(-1666, 1666, 266));
    EXPECT_THAT(directSound.Last().volumeCalls, Spread(-3001, -1, 100));
    // Pitches over many attaches: within 500 Hz of the recording's rate.
    std::vector<DWORD> pitches;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(cricket.Attach(device, wave), 1);
        pitches.push_back(directSound.Last().frequencyCalls[0]);
    }
    EXPECT_THAT(pitches, Spread(10525, 11525, 15));
}

// Never seeded, a generator seeds itself with 4357; the program's own one is seeded before main.
TEST(Twister, ReferenceOutputsAcrossBlocks) {
    EXPECT_NE(theTwister.index, CTwister::kUnseeded);
    CTwister twister;
    Draws values(1000);
    std::generate(values.begin(), values.end(), [&] { return twister.Next(); });
    EXPECT_EQ(Draws(values.begin(), values.begin() + 3),
              (Draws{2867219139u, 1585203162u, 3113124129u}));
    // The 624th output ends a block and the 625th comes from the renewed state, which is renewed
    // in place: the 1000th shows it.
    EXPECT_EQ(Draws(values.begin() + 623, values.begin() + 626),
              (Draws{589403970u, 1044672925u, 1965277612u}));
    EXPECT_EQ(values.back(), 1030650439u);
}

} // namespace
