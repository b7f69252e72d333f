#include "cricket/CCricket.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

TEST(CricketVolume, ReferenceValuesHoldExactly) {
    struct Row {
        std::int32_t setting;
        std::uint32_t n;
        LONG volume;
    };
    const Row rows[] = {
        {100, 0, -1},      {100, 1500, -1501}, {100, 3000, -3001}, {50, 0, -5001},
        {50, 3000, -6501}, {1, 0, -9901},      {1, 3000, -9931},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CCricket::SongVolume(row.setting, row.n), row.volume)
            << "V=" << row.setting << " n=" << row.n;
    }
}

TEST(CricketVolume, SettingsOfTheDialogStayOnTheBufferScale) {
    for (std::int32_t setting = 1; setting <= 100; ++setting) {
        LONG previous = 1;
        for (std::uint32_t n = 0; n <= 3000; ++n) {
            const LONG volume = CCricket::SongVolume(setting, n);
            ASSERT_GE(volume, -10000) << setting << " " << n;
            ASSERT_LE(volume, -1) << setting << " " << n;
            // A larger loudness draw is never louder.
            ASSERT_LE(volume, previous) << setting << " " << n;
            previous = volume;
        }
    }
}

// Any 32-bit value may come from the settings file; the result must follow the formula where it
// fits a LONG and saturate where it does not, with no out-of-range conversion on the way.
TEST(CricketVolume, EveryThirtyTwoBitSettingIsSafe) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int32_t settings[] = {kMin, kMin + 1, -21474837, -1000000, -101,     -100, -1,
                                     0,    1,        2,         99,       100,      101,  102,
                                     1000, 21474,    1000000,   21474837, kMax - 1, kMax};
    for (std::int32_t setting : settings) {
        for (std::uint32_t n = 0; n <= 3000; ++n) {
            const LONG volume = CCricket::SongVolume(setting, n);
            // Exact decimal value of -10000 + V * (100 - n / 100); c below 0.01 costs at most a
            // relative 5e-8 of the product plus the truncation.
            const long double exact =
                -10000.0L + static_cast<long double>(setting) * (10000.0L - n) / 100.0L;
            const long double slack = 1.0L + std::fabs(exact + 10000.0L) * 5e-8L;
            if (exact - slack > kMax) {
                ASSERT_EQ(volume, kMax) << setting << " " << n;
            } else if (exact + slack < kMin) {
                ASSERT_EQ(volume, kMin) << setting << " " << n;
            } else {
                ASSERT_LE(std::fabs(volume - exact), slack) << setting << " " << n;
            }
        }
    }
}

TEST(CricketVolume, ZeroSettingIsSilenceAndOverHundredIsRefusedAtFullDraw) {
    EXPECT_EQ(CCricket::SongVolume(0, 0), -10000);
    EXPECT_EQ(CCricket::SongVolume(0, 3000), -10000);
    EXPECT_GT(CCricket::SongVolume(101, 0), 0);
    EXPECT_LT(CCricket::SongVolume(-1, 0), -10000);
}

} // namespace
