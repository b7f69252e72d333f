#include "settings/SettingsFile.h"

#include "SettingsFileBuilder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace {

using B = SettingsFileBuilder;

// A live record unlike the defaults in every field but the marker, so a partial copy shows.
ChorusSettings Sentinel() {
    ChorusSettings s;
    s.wariness = 3;
    s.cricketCount = 9;
    s.volume = 42;
    s.scheduleMode = 1;
    s.startHour = 7;
    s.startMinute = 8;
    s.endHour = 9;
    s.endMinute = 10;
    return s;
}

class SettingsFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("tamberle.sav");
};

TEST_F(SettingsFileTest, DefaultRecordIsWrittenAsTheKnown36Bytes) {
    ASSERT_EQ(SaveSettingsFile(path, ChorusSettings{}), 1);
    const std::vector<std::uint8_t> expected = {
        0xE8, 0x03, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00,
        0x64, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x17, 0x00, 0x00, 0x00, 0x3B, 0x00, 0x00, 0x00};
    EXPECT_EQ(ReadBytes(path), expected);
    // Mode 0644, less whatever the umask takes away.
    const auto perms = std::filesystem::status(path).permissions();
    EXPECT_EQ(perms & ~std::filesystem::perms(0644), std::filesystem::perms::none);
}

TEST_F(SettingsFileTest, SavedRecordLoadsBackUnchanged) {
    ChorusSettings saved = Sentinel();
    saved.wariness = INT32_MIN;
    saved.volume = INT32_MAX;
    saved.endMinute = -1;
    ASSERT_EQ(SaveSettingsFile(path, saved), 1);
    ChorusSettings loaded;
    ASSERT_EQ(LoadSettingsFile(path, loaded), 1);
    EXPECT_EQ(loaded, saved);
}

TEST_F(SettingsFileTest, RejectedFilesLeaveTheRecordUntouched) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", B().Length(0).Bytes()},
        {"35 bytes", B().Length(35).Bytes()},
        {"marker 999", B().Set(B::Marker, 999).Bytes()},
        {"marker 0", B().Set(B::Marker, 0).Bytes()},
        {"marker 1000 big-endian",
         B().Set(B::Marker, static_cast<std::int32_t>(0xE8030000)).Bytes()},
        {"marker 999, 40 bytes", B().Set(B::Marker, 999).Length(40).Bytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.bytes);
        ChorusSettings live = Sentinel();
        EXPECT_EQ(LoadSettingsFile(path, live), 0);
        EXPECT_EQ(live, Sentinel());
    }
}

TEST_F(SettingsFileTest, MissingOrUnreadableFileIsRejected) {
    ChorusSettings live = Sentinel();
    EXPECT_EQ(LoadSettingsFile(dir.File("absent.sav"), live), 0);
    EXPECT_EQ(LoadSettingsFile(dir.File("no/such/dir/tamberle.sav"), live), 0);
    // A directory opens for reading but every read fails.
    EXPECT_EQ(LoadSettingsFile(dir.Path().string(), live), 0);
    EXPECT_EQ(live, Sentinel());
}

TEST_F(SettingsFileTest, LongerFileIsAcceptedFromItsFirst36Bytes) {
    WriteBytes(path, B().Set(B::Wariness, 1).Set(B::EndMinute, 30).Length(40, 0xFF).Bytes());
    ChorusSettings live = Sentinel();
    ASSERT_EQ(LoadSettingsFile(path, live), 1);
    ChorusSettings expected;
    expected.wariness = 1;
    expected.endMinute = 30;
    EXPECT_EQ(live, expected);
}

TEST_F(SettingsFileTest, OutOfRangeValuesAreAcceptedUnchanged) {
    WriteBytes(path, B().Set(B::Wariness, -7)
                         .Set(B::CricketCount, -3)
                         .Set(B::Volume, INT32_MIN)
                         .Set(B::ScheduleMode, 12345)
                         .Set(B::StartHour, INT32_MAX)
                         .Set(B::StartMinute, 60)
                         .Set(B::EndHour, 24)
                         .Set(B::EndMinute, INT32_MIN)
                         .Bytes());
    ChorusSettings live = Sentinel();
    ASSERT_EQ(LoadSettingsFile(path, live), 1);
    EXPECT_EQ(live.marker, 1000);
    EXPECT_EQ(live.wariness, -7);
    EXPECT_EQ(live.cricketCount, -3);
    EXPECT_EQ(live.volume, INT32_MIN);
    EXPECT_EQ(live.scheduleMode, 12345);
    EXPECT_EQ(live.startHour, INT32_MAX);
    EXPECT_EQ(live.startMinute, 60);
    EXPECT_EQ(live.endHour, 24);
    EXPECT_EQ(live.endMinute, INT32_MIN);
}

TEST_F(SettingsFileTest, CricketCountAbove16IsClampedOnLoadAndOtherFieldsKept) {
    for (std::int32_t count : {16, 17, 1000, INT32_MAX}) {
        SCOPED_TRACE(count);
        WriteBytes(path, B().Set(B::CricketCount, count).Set(B::Volume, 500).Bytes());
        ChorusSettings live;
        ASSERT_EQ(LoadSettingsFile(path, live), 1);
        EXPECT_EQ(live.cricketCount, 16);
        EXPECT_EQ(live.volume, 500);
        EXPECT_EQ(live.wariness, 2);
    }
}

// Start-up loads and then writes back at once.
TEST_F(SettingsFileTest, StartupRewriteRepairsTheFile) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> before;
        std::vector<std::uint8_t> after;
    };
    const Case cases[] = {
        {"35 bytes: defaults", B().Set(B::Volume, 7).Length(35).Bytes(), B().Bytes()},
        {"marker 999: defaults", B().Set(B::Marker, 999).Set(B::Volume, 7).Bytes(), B().Bytes()},
        {"40 bytes: cut to 36", B().Set(B::Volume, 7).Length(40).Bytes(),
         B().Set(B::Volume, 7).Bytes()},
        {"out of range: kept", B().Set(B::Wariness, 99).Set(B::StartHour, -5).Bytes(),
         B().Set(B::Wariness, 99).Set(B::StartHour, -5).Bytes()},
        {"count 40: written as 16", B().Set(B::CricketCount, 40).Set(B::EndHour, 3).Bytes(),
         B().Set(B::CricketCount, 16).Set(B::EndHour, 3).Bytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.before);
        ChorusSettings live;
        LoadSettingsFile(path, live);
        ASSERT_EQ(SaveSettingsFile(path, live), 1);
        EXPECT_EQ(ReadBytes(path), c.after);
    }
}

TEST_F(SettingsFileTest, SaveCreatesMissingFile) {
    ASSERT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(SaveSettingsFile(path, Sentinel()), 1);
    ChorusSettings loaded;
    ASSERT_EQ(LoadSettingsFile(path, loaded), 1);
    EXPECT_EQ(loaded, Sentinel());
}

TEST_F(SettingsFileTest, SaveOverALongerFileTruncatesItTo36Bytes) {
    WriteBytes(path, std::vector<std::uint8_t>(4096, 0x5A));
    ASSERT_EQ(SaveSettingsFile(path, ChorusSettings{}), 1);
    EXPECT_EQ(std::filesystem::file_size(path), 36u);
    EXPECT_EQ(ReadBytes(path), B().Bytes());
}

TEST_F(SettingsFileTest, SaveToAPathThatCannotBeWrittenFails) {
    // These hold for root too, unlike file permissions.
    EXPECT_EQ(SaveSettingsFile(dir.Path().string(), ChorusSettings{}), 0) << "a directory";
    EXPECT_EQ(SaveSettingsFile(dir.File("missing/tamberle.sav"), ChorusSettings{}), 0)
        << "a missing directory";
    WriteBytes(dir.File("plain"), {});
    EXPECT_EQ(SaveSettingsFile(dir.File("plain/tamberle.sav"), ChorusSettings{}), 0)
        << "a file where a directory should be";
}

TEST_F(SettingsFileTest, SymbolicLinksAreNeitherFollowedNorReplaced) {
    const std::string target = dir.File("elsewhere");
    WriteBytes(target, B().Set(B::Volume, 9).Bytes());
    std::filesystem::create_symlink(target, path);

    ChorusSettings live = Sentinel();
    EXPECT_EQ(LoadSettingsFile(path, live), 0);
    EXPECT_EQ(live, Sentinel());
    EXPECT_EQ(SaveSettingsFile(path, ChorusSettings{}), 0);
    EXPECT_EQ(ReadBytes(target), B().Set(B::Volume, 9).Bytes());
}

} // namespace
