#include "settings/SettingsCodec.h"

#include "SettingsFileBuilder.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using B = SettingsFileBuilder;

std::vector<std::uint8_t> AsVector(const SettingsBytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

SettingsBytes AsArray(const std::vector<std::uint8_t>& bytes) {
    SettingsBytes out{};
    std::copy_n(bytes.begin(), out.size(), out.begin());
    return out;
}

TEST(SettingsCodec, EachFieldIsLittleEndianAtItsOffset) {
    ChorusSettings s;
    s.marker = 0x01020304;
    s.wariness = -2;
    s.cricketCount = INT32_MIN;
    s.volume = INT32_MAX;
    s.scheduleMode = 0x7F;
    s.startHour = 0x80;
    s.startMinute = 0x100;
    s.endHour = -0x10000;
    s.endMinute = 0x12345678;
    EXPECT_EQ(AsVector(EncodeSettings(s)), B().Set(B::Marker, 0x01020304)
                                               .Set(B::Wariness, -2)
                                               .Set(B::CricketCount, INT32_MIN)
                                               .Set(B::Volume, INT32_MAX)
                                               .Set(B::ScheduleMode, 0x7F)
                                               .Set(B::StartHour, 0x80)
                                               .Set(B::StartMinute, 0x100)
                                               .Set(B::EndHour, -0x10000)
                                               .Set(B::EndMinute, 0x12345678)
                                               .Bytes());
    const SettingsBytes bytes = EncodeSettings(s);
    EXPECT_EQ(bytes[0], 0x04);
    EXPECT_EQ(bytes[3], 0x01);
    EXPECT_EQ(bytes[4], 0xFE);
    EXPECT_EQ(bytes[7], 0xFF);
    EXPECT_EQ(bytes[11], 0x80);
}

TEST(SettingsCodec, DecodeReadsEveryFieldBack) {
    const SettingsBytes bytes = AsArray(B().Set(B::Marker, -1)
                                            .Set(B::Wariness, INT32_MIN)
                                            .Set(B::CricketCount, 17)
                                            .Set(B::Volume, INT32_MAX)
                                            .Set(B::ScheduleMode, 1)
                                            .Set(B::StartHour, 22)
                                            .Set(B::StartMinute, 0)
                                            .Set(B::EndHour, 5)
                                            .Set(B::EndMinute, 30)
                                            .Bytes());
    const ChorusSettings s = DecodeSettings(bytes);
    EXPECT_EQ(s.marker, -1);
    EXPECT_EQ(s.wariness, INT32_MIN);
    EXPECT_EQ(s.cricketCount, 17) << "the codec itself keeps every value";
    EXPECT_EQ(s.volume, INT32_MAX);
    EXPECT_EQ(s.scheduleMode, 1);
    EXPECT_EQ(s.startHour, 22);
    EXPECT_EQ(s.startMinute, 0);
    EXPECT_EQ(s.endHour, 5);
    EXPECT_EQ(s.endMinute, 30);
    EXPECT_EQ(EncodeSettings(s), bytes);
}

} // namespace
