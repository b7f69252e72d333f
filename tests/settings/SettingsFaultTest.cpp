#include "settings/SettingsFile.h"

#include "SettingsFileBuilder.h"
#include "TempDir.h"
#include "platform/File.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using B = SettingsFileBuilder;

// Faults put between the settings code and the real file calls.
struct Faults {
    int opens = 0;
    int closes = 0;
    int reads = 0;
    int writes = 0;
    long bytesRead = 0;
    std::size_t readChunk = 0; // when not 0, no read returns more than this
    int failingRead = 0;       // when not 0, this read (counted from 1) fails
    enum { Pass, Fail, Short } write = Pass;
    bool failClose = false;
};

Faults faults;
const platform::FileCalls kSystem = platform::SystemFileCalls();

int CountedOpenForReading(const char* path) {
    const int fd = kSystem.openForReading(path);
    faults.opens += fd >= 0;
    return fd;
}

int CountedOpenForWriting(const char* path) {
    const int fd = kSystem.openForWriting(path);
    faults.opens += fd >= 0;
    return fd;
}

long FaultyRead(int fd, void* data, std::size_t size) {
    if (++faults.reads == faults.failingRead) {
        return -1;
    }
    const long got =
        kSystem.read(fd, data, faults.readChunk ? std::min(size, faults.readChunk) : size);
    faults.bytesRead += std::max(got, 0L);
    return got;
}

long FaultyWrite(int fd, const void* data, std::size_t size) {
    ++faults.writes;
    switch (faults.write) {
    case Faults::Fail:
        return -1;
    case Faults::Short:
        return kSystem.write(fd, data, size - 1);
    case Faults::Pass:
        break;
    }
    return kSystem.write(fd, data, size);
}

int FaultyClose(int fd) {
    ++faults.closes;
    const int result = kSystem.close(fd);
    return faults.failClose ? -1 : result;
}

ChorusSettings Sentinel() {
    ChorusSettings s;
    s.wariness = 1;
    s.cricketCount = 11;
    s.volume = 77;
    return s;
}

class SettingsFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        faults = Faults{};
        previous = platform::SetFileCalls(
            {CountedOpenForReading, CountedOpenForWriting, FaultyRead, FaultyWrite, FaultyClose});
    }
    void TearDown() override { platform::SetFileCalls(previous); }

    platform::FileCalls previous{};
    TempDir dir;
    std::string path = dir.File("tamberle.sav");
};

TEST_F(SettingsFaultTest, SaveWritesOnceAndClosesTheFile) {
    ASSERT_EQ(SaveSettingsFile(path, Sentinel()), 1);
    EXPECT_EQ(faults.writes, 1);
    EXPECT_EQ(faults.opens, 1);
    EXPECT_EQ(faults.closes, 1);
}

TEST_F(SettingsFaultTest, FailedWriteIsReportedAndTheFileClosed) {
    faults.write = Faults::Fail;
    EXPECT_EQ(SaveSettingsFile(path, Sentinel()), 0);
    EXPECT_EQ(faults.opens, 1);
    EXPECT_EQ(faults.closes, 1);
}

TEST_F(SettingsFaultTest, ShortWriteIsReportedAndTheFileClosed) {
    faults.write = Faults::Short;
    EXPECT_EQ(SaveSettingsFile(path, Sentinel()), 0);
    EXPECT_EQ(faults.closes, 1);
    EXPECT_EQ(std::filesystem::file_size(path), 35u);
}

TEST_F(SettingsFaultTest, FailedCloseAfterAFullWriteIsReported) {
    faults.failClose = true;
    EXPECT_EQ(SaveSettingsFile(path, Sentinel()), 0);
    EXPECT_EQ(faults.closes, 1);
}

TEST_F(SettingsFaultTest, FailedOpenForWritingIsReportedWithoutWriting) {
    EXPECT_EQ(SaveSettingsFile(dir.File("missing/tamberle.sav"), Sentinel()), 0);
    EXPECT_EQ(faults.writes, 0);
    EXPECT_EQ(faults.closes, 0);
}

TEST_F(SettingsFaultTest, ReadsArrivingInPiecesAreJoined) {
    WriteBytes(path, B().Set(B::Volume, 33).Set(B::EndHour, 5).Length(40).Bytes());
    for (std::size_t chunk : {1u, 5u, 7u, 35u}) {
        SCOPED_TRACE(chunk);
        faults.readChunk = chunk;
        faults.bytesRead = 0;
        ChorusSettings live = Sentinel();
        ASSERT_EQ(LoadSettingsFile(path, live), 1);
        EXPECT_EQ(live.volume, 33);
        EXPECT_EQ(live.endHour, 5);
        EXPECT_EQ(live.cricketCount, 4);
        EXPECT_EQ(faults.bytesRead, 36) << "bytes after the 36th are never read";
    }
}

TEST_F(SettingsFaultTest, ReadErrorAfterPartialDataIsRejected) {
    WriteBytes(path, B().Bytes());
    faults.readChunk = 10;
    faults.failingRead = 3;
    ChorusSettings live = Sentinel();
    EXPECT_EQ(LoadSettingsFile(path, live), 0);
    EXPECT_EQ(live, Sentinel());
    EXPECT_EQ(faults.closes, 1);
}

TEST_F(SettingsFaultTest, LoadClosesTheFileOnEveryPath) {
    const std::vector<std::uint8_t> files[] = {B().Bytes(), B().Length(35).Bytes(),
                                               B().Set(B::Marker, 999).Bytes()};
    for (const auto& bytes : files) {
        WriteBytes(path, bytes);
        ChorusSettings live;
        LoadSettingsFile(path, live);
    }
    EXPECT_EQ(faults.opens, 3);
    EXPECT_EQ(faults.closes, 3);
}

TEST_F(SettingsFaultTest, FailedCloseAfterACompleteReadKeepsTheLoad) {
    WriteBytes(path, B().Set(B::Volume, 12).Bytes());
    faults.failClose = true;
    ChorusSettings live = Sentinel();
    EXPECT_EQ(LoadSettingsFile(path, live), 1);
    EXPECT_EQ(live.volume, 12);
}

TEST(SettingsReadFully, RefusesAReadThatClaimsMoreThanAsked) {
    const platform::FileCalls previous = platform::SetFileCalls(
        {nullptr, nullptr, [](int, void*, std::size_t size) { return static_cast<long>(size + 1); },
         nullptr, nullptr});
    unsigned char buffer[8];
    EXPECT_EQ(platform::ReadFully(-1, buffer, sizeof buffer), -1);
    platform::SetFileCalls(previous);
}

} // namespace
