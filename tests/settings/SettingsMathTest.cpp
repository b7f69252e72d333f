#include "settings/SettingsMath.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

ChorusSettings Window(std::int32_t startHour, std::int32_t startMinute, std::int32_t endHour,
                      std::int32_t endMinute) {
    ChorusSettings s;
    s.scheduleMode = 1;
    s.startHour = startHour;
    s.startMinute = startMinute;
    s.endHour = endHour;
    s.endMinute = endMinute;
    return s;
}

TEST(SettingsMath, QuietTicksAreWarinessTimes300WithoutOverflow) {
    ChorusSettings s;
    const std::pair<std::int32_t, std::int64_t> cases[] = {
        {0, 0},
        {1, 300},
        {3, 900},
        {-1, -300},
        {INT32_MAX, 644245094100},
        {INT32_MIN, -644245094400},
    };
    for (const auto& [wariness, ticks] : cases) {
        s.wariness = wariness;
        EXPECT_EQ(QuietTicks(s), ticks) << wariness;
    }
}

TEST(SettingsMath, MinuteOfDayIsExactAtTheExtremes) {
    EXPECT_EQ(MinuteOfDay(0, 0), 0);
    EXPECT_EQ(MinuteOfDay(23, 59), 1439);
    EXPECT_EQ(MinuteOfDay(INT32_MAX, INT32_MAX), 130996502467);
    EXPECT_EQ(MinuteOfDay(INT32_MIN, INT32_MIN), -130996502528);
    EXPECT_EQ(MinuteOfDay(INT32_MAX, INT32_MIN), 126701535172);
    EXPECT_EQ(MinuteOfDay(INT32_MIN, INT32_MAX), -126701535233);
    const ChorusSettings s = Window(22, 0, 5, 30);
    EXPECT_EQ(WindowStartMinute(s), 1320);
    EXPECT_EQ(WindowEndMinute(s), 330);
}

TEST(SettingsMath, ActivityWindowIncludesBothBoundaryMinutes) {
    const ChorusSettings day = Window(9, 0, 17, 0);
    EXPECT_TRUE(InsideActivityWindow(day, MinuteOfDay(9, 0)));
    EXPECT_TRUE(InsideActivityWindow(day, MinuteOfDay(17, 0)));
    EXPECT_FALSE(InsideActivityWindow(day, MinuteOfDay(8, 59)));
    EXPECT_FALSE(InsideActivityWindow(day, MinuteOfDay(17, 1)));

    const ChorusSettings night = Window(22, 0, 5, 30);
    EXPECT_TRUE(InsideActivityWindow(night, MinuteOfDay(23, 59)));
    EXPECT_TRUE(InsideActivityWindow(night, MinuteOfDay(0, 0)));
    EXPECT_TRUE(InsideActivityWindow(night, MinuteOfDay(5, 30)));
    EXPECT_FALSE(InsideActivityWindow(night, MinuteOfDay(5, 31)));
    EXPECT_FALSE(InsideActivityWindow(night, MinuteOfDay(21, 59)));
}

TEST(SettingsMath, ActivityWindowCoversTheDayWhenOffOrWhenStartMeetsEnd) {
    ChorusSettings off = Window(9, 0, 9, 1);
    off.scheduleMode = 0;
    const ChorusSettings same = Window(8, 0, 8, 0);
    const ChorusSettings full = Window(0, 0, 23, 59);
    for (std::int64_t now = 0; now < 1440; ++now) {
        EXPECT_TRUE(InsideActivityWindow(off, now)) << now;
        EXPECT_TRUE(InsideActivityWindow(same, now)) << now;
        EXPECT_TRUE(InsideActivityWindow(full, now)) << now;
    }
}

TEST(SettingsMath, ActivityWindowWithExtremeFieldsIsDefined) {
    // Start far after any minute of the day: the window runs across midnight up to the end.
    const ChorusSettings lateStart = Window(INT32_MAX, INT32_MAX, 1, 0);
    EXPECT_TRUE(InsideActivityWindow(lateStart, 60));
    EXPECT_FALSE(InsideActivityWindow(lateStart, 61));
    // An end before every minute and a start after every minute: never inside.
    const ChorusSettings never = Window(INT32_MAX, 0, INT32_MIN, 0);
    for (std::int64_t now = 0; now < 1440; ++now) {
        EXPECT_FALSE(InsideActivityWindow(never, now)) << now;
    }
    // A start before every minute and an end after every minute: always inside.
    const ChorusSettings always = Window(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_TRUE(InsideActivityWindow(always, 0));
    EXPECT_TRUE(InsideActivityWindow(always, 1439));
}

TEST(SettingsMath, CricketsToUseIsHeldTo0Through16) {
    ChorusSettings s;
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {INT32_MIN, 0}, {-1, 0}, {0, 0}, {1, 1}, {16, 16}, {17, 16}, {INT32_MAX, 16},
    };
    for (const auto& [count, used] : cases) {
        s.cricketCount = count;
        EXPECT_EQ(CricketsToUse(s), used) << count;
    }
}

TEST(SettingsMath, TruncateTowardZeroReportsWhatInt64CannotHold) {
    EXPECT_EQ(TruncateTowardZero(1.9), 1);
    EXPECT_EQ(TruncateTowardZero(-1.9), -1);
    EXPECT_EQ(TruncateTowardZero(-0.5), 0);
    EXPECT_EQ(TruncateTowardZero(-9223372036854775808.0), INT64_MIN);
    const double belowTop = std::nextafter(9223372036854775808.0, 0.0);
    EXPECT_EQ(TruncateTowardZero(belowTop), 9223372036854774784);
    EXPECT_FALSE(TruncateTowardZero(9223372036854775808.0));
    EXPECT_FALSE(TruncateTowardZero(std::nextafter(-9223372036854775808.0, -INFINITY)));
    EXPECT_FALSE(TruncateTowardZero(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(TruncateTowardZero(-std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(TruncateTowardZero(std::numeric_limits<double>::quiet_NaN()));
}

TEST(SettingsMath, ChirpVolumeMatchesTheReferenceValues) {
    struct Case {
        std::int32_t volume;
        std::uint32_t draw;
        std::int32_t expected;
    };
    const Case cases[] = {
        {100, 0, -1},      {100, 1500, -1501}, {100, 3000, -3001}, {50, 0, -5001},
        {50, 3000, -6501}, {1, 0, -9901},      {1, 3000, -9931},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChirpVolume(c.volume, c.draw), c.expected) << c.volume << " " << c.draw;
    }
}

TEST(SettingsMath, ChirpVolumeIsDefinedForEvery32BitSetting) {
    for (std::int32_t volume : {INT32_MIN, -1000000, -1, 0, 214748, 1000000, INT32_MAX}) {
        for (std::uint32_t draw : {0u, 1500u, 3000u, UINT32_MAX}) {
            SCOPED_TRACE(::testing::Message() << volume << " " << draw);
            const double approx = -10000.0 + double(volume) * (100.0 - draw / 100.0);
            const auto result = ChirpVolume(volume, draw);
            if (std::fabs(approx) < 2.0e9) {
                ASSERT_TRUE(result);
                EXPECT_NEAR(*result, approx, std::fabs(approx) * 1e-6 + 2);
            } else if (std::fabs(approx) > 2.2e9) {
                EXPECT_FALSE(result) << "does not fit the volume parameter";
            }
        }
    }
    EXPECT_EQ(ChirpVolume(0, 0), -10000);
}

} // namespace
