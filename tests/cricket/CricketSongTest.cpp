#include "CricketFixture.h"

#include <algorithm>
#include <vector>

namespace {

using Ticks = std::vector<std::int64_t>;

// What a cricket did, tick by tick, in ticks since the origin.
struct SongLog {
    Ticks chirps;
    Ticks rests;    // a rest after a phrase began
    Ticks newSongs; // NewSong ran (it sets the volume)
    std::vector<std::int32_t> phrasesAtRest;
};

class CricketSong : public CricketFixture {
protected:
    // Attaches with the given seed and starts the worked example's song at the current time.
    void AttachWorkedExample(CCricket& cricket) {
        theTwister.Seed(2026);
        ASSERT_EQ(cricket.Attach(device, wave), 1);
        ForceWorkedExampleSong(cricket);
        origin = clock.nanoseconds;
    }

    // Ticks until the given tick (since origin), calling disturbedAt for the flag, and logs.
    template <class Disturbed>
    void RunUntil(CCricket& cricket, std::int64_t lastTick, Disturbed disturbedAt) {
        FakeBuffer& buffer = directSound.Last();
        while (TicksSince(origin) < lastTick) {
            const std::size_t plays = buffer.playTimes.size();
            const std::size_t songs = buffer.volumeCalls.size();
            const bool silent = cricket.wait >= 0.0;
            clock.Step(kTickNanoseconds);
            const std::int64_t now = TicksSince(origin);
            cricket.Tick(disturbedAt(now) ? 1 : 0);
            if (buffer.playTimes.size() > plays) {
                log.chirps.push_back(now);
            }
            if (buffer.volumeCalls.size() > songs) {
                log.newSongs.push_back(now);
            } else if (!silent && cricket.wait >= 0.0) {
                log.rests.push_back(now);
                log.phrasesAtRest.push_back(cricket.phrasesLeft);
                EXPECT_EQ(cricket.wait, cricket.phraseRest);
                EXPECT_EQ(cricket.chirpsLeft, 4);
            }
        }
    }

    void RunUntil(CCricket& cricket, std::int64_t lastTick) {
        RunUntil(cricket, lastTick, [](std::int64_t) { return false; });
    }

    std::int64_t origin = 0;
    SongLog log;
};

TEST_F(CricketSong, WorkedExampleOverAFullSong) {
    CCricket cricket;
    AttachWorkedExample(cricket);
    RunUntil(cricket, 3600);
    // 4.50, 5.71, 6.92, 8.13; 12.34 ...; 20.18 ...; 28.02 ...
    EXPECT_EQ(log.chirps, (Ticks{450, 571, 692, 813, 1234, 1355, 1476, 1597, 2018, 2139, 2260, 2381,
                                 2802, 2923, 3044, 3165}));
    EXPECT_EQ(log.rests, (Ticks{934, 1718, 2502, 3286}));
    EXPECT_EQ(log.phrasesAtRest, (std::vector<std::int32_t>{3, 2, 1, 0}));
    // The silence after the last phrase ends at 35.86 with a new song.
    EXPECT_EQ(log.newSongs, (Ticks{3586}));
}

TEST_F(CricketSong, DisturbanceDuringSilenceOrChirpChangesNothing) {
    CCricket cricket;
    AttachWorkedExample(cricket);
    // Disturbed through the opening silence, through chirp 1, and through the first rest.
    RunUntil(cricket, 3600, [](std::int64_t tick) {
        return (tick < 450) || (tick > 450 && tick < 571) || (tick > 934 && tick < 1234);
    });
    EXPECT_EQ(log.chirps, (Ticks{450, 571, 692, 813, 1234, 1355, 1476, 1597, 2018, 2139, 2260, 2381,
                                 2802, 2923, 3044, 3165}));
    EXPECT_EQ(log.newSongs, (Ticks{3586}));
    EXPECT_EQ(cricket.interrupted, 0);
}

TEST_F(CricketSong, DisturbedFreeCricketHushesUntilTheFirstCalmTick) {
    CCricket cricket;
    AttachWorkedExample(cricket);
    RunUntil(cricket, 570); // chirp 1 ends at 5.705
    ASSERT_EQ(log.chirps, (Ticks{450}));
    // Chirp 2 was due; the mouse moves now and for three seconds.
    RunUntil(cricket, 871, [](std::int64_t) { return true; });
    EXPECT_EQ(cricket.interrupted, 1);
    EXPECT_EQ(log.chirps, (Ticks{450}));
    EXPECT_TRUE(log.newSongs.empty());

    RunUntil(cricket, 872);
    EXPECT_EQ(log.newSongs, (Ticks{872}));
    EXPECT_EQ(log.chirps, (Ticks{450}));
    EXPECT_EQ(cricket.interrupted, 0);
    EXPECT_EQ(cricket.chirpsLeft, 4);
    const double opening = cricket.wait;
    EXPECT_GE(opening, 3.00);
    EXPECT_LE(opening, 7.00);

    RunUntil(cricket, 872 + 800);
    ASSERT_GE(log.chirps.size(), 2u);
    // The new song opens on the first tick at which its whole silence has passed.
    const std::int64_t gap = log.chirps[1] - 872;
    EXPECT_GE(gap * 0.01, opening - 1e-9);
    EXPECT_LT((gap - 1) * 0.01, opening);
}

TEST_F(CricketSong, DisturbedTicksWhileHushedChangeNothingMore) {
    CCricket cricket;
    AttachWorkedExample(cricket);
    RunUntil(cricket, 450, [](std::int64_t tick) { return tick == 450; });
    EXPECT_EQ(cricket.interrupted, 1);
    EXPECT_TRUE(log.chirps.empty());
    const std::int32_t chirpsLeft = cricket.chirpsLeft;
    RunUntil(cricket, 700, [](std::int64_t) { return true; });
    EXPECT_EQ(cricket.interrupted, 1);
    EXPECT_EQ(cricket.chirpsLeft, chirpsLeft);
    EXPECT_TRUE(log.chirps.empty());
    EXPECT_TRUE(log.newSongs.empty());
}

TEST_F(CricketSong, ChirpThatFailsToStartIsSilentAndTheCountdownMovesOn) {
    directSound.faults.refusePlay = true;
    CCricket cricket;
    AttachWorkedExample(cricket);
    RunUntil(cricket, 700);
    // Four attempts on consecutive ticks, then the 3.00 s rest.
    EXPECT_EQ(log.chirps, (Ticks{450, 451, 452, 453}));
    EXPECT_EQ(log.rests, (Ticks{454}));
}

TEST_F(CricketSong, PitchChangesTheChirpLength) {
    CCricket cricket;
    AttachWorkedExample(cricket);
    ASSERT_EQ(cricket.voice.buffer->SetFrequency(kChirpRate + 500), DS_OK);
    RunUntil(cricket, 900);
    // 13288 / 11525 = 1.153 s: the next chirp comes on the tick after 1.16 s.
    ASSERT_GE(log.chirps.size(), 2u);
    EXPECT_EQ(log.chirps[1] - log.chirps[0], 116);
}

TEST_F(CricketSong, ManySongsStayWithinTheirRanges) {
    theTwister.Seed(31337);
    CCricket cricket;
    ASSERT_EQ(cricket.Attach(device, wave), 1);
    origin = clock.nanoseconds;
    log.newSongs.push_back(0);
    std::vector<std::int32_t> drawnPhrases{cricket.phrasesLeft};
    std::vector<double> openings{cricket.wait};
    constexpr std::size_t kSongs = 200;
    while (log.newSongs.size() <= kSongs) {
        const std::size_t songs = log.newSongs.size();
        RunUntil(cricket, TicksSince(origin) + 1);
        if (log.newSongs.size() > songs) {
            drawnPhrases.push_back(cricket.phrasesLeft);
            openings.push_back(cricket.wait);
        }
    }

    std::int64_t shortestOpening = 1000, longestOpening = 0, shortestRest = 1000, longestRest = 0;
    std::size_t chirp = 0, rest = 0;
    bool seen[7] = {};
    for (std::size_t song = 0; song < kSongs; ++song) {
        SCOPED_TRACE(song);
        const std::int64_t begin = log.newSongs[song];
        const std::int64_t end = log.newSongs[song + 1];
        ASSERT_GE(drawnPhrases[song], 3);
        ASSERT_LE(drawnPhrases[song], 6);
        seen[drawnPhrases[song]] = true;
        ASSERT_GE(openings[song], 3.00 - 1e-9);
        ASSERT_LE(openings[song], 7.00 + 1e-9);

        ASSERT_LT(chirp, log.chirps.size());
        const std::int64_t opening = log.chirps[chirp] - begin;
        shortestOpening = std::min(shortestOpening, opening);
        longestOpening = std::max(longestOpening, opening);
        ASSERT_GE(opening, 300);
        ASSERT_LE(opening, 701);
        for (std::int32_t phrase = 0; phrase < drawnPhrases[song]; ++phrase) {
            // Four chirps, then a rest that ends in the next phrase or, after the last, a song.
            ASSERT_LE(chirp + 4, log.chirps.size());
            ASSERT_LT(rest, log.rests.size());
            for (int i = 0; i < 4; ++i) {
                ASSERT_LT(log.chirps[chirp + i], log.rests[rest]);
            }
            chirp += 4;
            const std::int64_t restEnd = phrase + 1 < drawnPhrases[song] ? log.chirps[chirp] : end;
            const std::int64_t length = restEnd - log.rests[rest];
            shortestRest = std::min(shortestRest, length);
            longestRest = std::max(longestRest, length);
            ASSERT_GE(length, 200);
            ASSERT_LE(length, 401);
            ++rest;
        }
        ASSERT_TRUE(chirp == log.chirps.size() || log.chirps[chirp] > end);
    }
    EXPECT_TRUE(seen[3] && seen[4] && seen[5] && seen[6]);
    // The whole ranges are used, not just their middles.
    EXPECT_LE(shortestOpening, 320);
    EXPECT_GE(longestOpening, 680);
    EXPECT_LE(shortestRest, 210);
    EXPECT_GE(longestRest, 390);

    const FakeBuffer& buffer = directSound.Last();
    ASSERT_EQ(buffer.panCalls.size(), kSongs + 1);
    const auto [leftmost, rightmost] =
        std::minmax_element(buffer.panCalls.begin(), buffer.panCalls.end());
    EXPECT_GE(*leftmost, -1666);
    EXPECT_LE(*rightmost, 1666);
    EXPECT_LE(*leftmost, -1400);
    EXPECT_GE(*rightmost, 1400);
    for (LONG volume : buffer.volumeCalls) {
        EXPECT_GE(volume, -3001);
        EXPECT_LE(volume, -1);
    }
}

TEST_F(CricketSong, PitchStaysWithin500HzOfTheRecordingsRate) {
    UseWave(64);
    theTwister.Seed(8);
    CCricket cricket;
    DWORD lowest = kChirpRate, highest = kChirpRate;
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(cricket.Attach(device, wave), 1);
        const std::vector<DWORD>& calls = directSound.Last().frequencyCalls;
        ASSERT_EQ(calls.size(), 1u);
        lowest = std::min(lowest, calls[0]);
        highest = std::max(highest, calls[0]);
    }
    EXPECT_GE(lowest, 10525u);
    EXPECT_LE(highest, 11525u);
    EXPECT_LE(lowest, 10540u);
    EXPECT_GE(highest, 11510u);
}

} // namespace
