#include "settings/SettingsFile.h"
#include "settings/SettingsMath.h"

#include "SettingsFileBuilder.h"
#include "platform/File.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using F = SettingsFields;

// Faults put between the settings code and the real file calls.
struct Faults {
    int writes = 0, closes = 0;
    enum { Pass, Fail, Short } write = Pass;
    bool failClose = false;
} faults;
const platform::FileCalls kSystem = platform::SystemFileCalls();

long FaultyWrite(int fd, const void* data, std::size_t size) {
    ++faults.writes;
    const std::size_t size2 = faults.write == Faults::Short ? size - 1 : size;
    return faults.write == Faults::Fail ? -1 : kSystem.write(fd, data, size2);
}
int FaultyClose(int fd) {
    ++faults.closes;
    return faults.failClose ? (kSystem.close(fd), -1) : kSystem.close(fd);
}

ChorusSettings Record(const F& f) {
    return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]};
}

// Unlike the defaults in every field but the marker, so a partial copy shows.
const F kLive{1000, 3, 9, 42, 1, 7, 8, 9, 10};

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        previous = platform::SetFileCalls({kSystem.openForReading, kSystem.openForWriting,
                                           kSystem.read, FaultyWrite, FaultyClose});
        faults = Faults{};
        fs::create_directory(dir);
    }
    void TearDown() override {
        platform::SetFileCalls(previous);
        fs::remove_all(dir);
    }
    void Write(const Bytes& bytes, const fs::path& to) {
        std::ofstream(to).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    Bytes Read(const fs::path& from) {
        std::ifstream in(from);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    platform::FileCalls previous{};
    fs::path dir = fs::temp_directory_path() / std::to_string(std::random_device{}());
    std::string path = (dir / "tamberle.sav").string();
};

TEST_F(SettingsFile, SaveWritesTheKnownBytesOverALongerFile) {
    Write(Bytes(4096, 0x5A), path);
    ASSERT_EQ(SaveSettingsFile(path, ChorusSettings{}), 1);
    EXPECT_EQ(Read(path),
              Bytes({0xE8, 0x03, 0, 0, 2, 0, 0, 0, 4, 0, 0,    0, 0x64, 0, 0,    0, 0, 0,
                     0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0x17, 0, 0,    0, 0x3B, 0, 0, 0}));
    EXPECT_EQ(fs::status(path).permissions() & ~fs::perms(0644), fs::perms::none);
    ASSERT_EQ(SaveSettingsFile(path, Record(kLive)), 1);
    EXPECT_EQ(Read(path), SettingsFileBytes(kLive));
}

// Start-up loads and then writes back at once.
TEST_F(SettingsFile, LoadAcceptsOrRejectsAndTheRewriteKeepsTheResult) {
    const F odd{1000, -7, -3, INT32_MIN, 12345, INT32_MAX, 60, 24, INT32_MIN};
    const std::tuple<const char*, std::optional<Bytes>, std::optional<F>> cases[] = {
        {"missing", std::nullopt, {}},
        {"35 bytes", SettingsFileBytes(kDefaultSettingsFields, 35), {}},
        {"marker 999", SettingsFileBytes({999, 2, 4, 100, 0, 0, 0, 23, 59}), {}},
        {"40 bytes", SettingsFileBytes({1000, 1, 4, 100, 0, 0, 0, 23, 30}, 40, 0xFF),
         F{1000, 1, 4, 100, 0, 0, 0, 23, 30}},
        {"out of range", SettingsFileBytes(odd), odd},
        {"count 17", SettingsFileBytes({1000, 2, 17, 500, 0, 0, 0, 3, 59}),
         F{1000, 2, 16, 500, 0, 0, 0, 3, 59}}};
    // Rejected (no `loaded`): the live record stays untouched.
    for (const auto& [what, file, loaded] : cases) {
        SCOPED_TRACE(what);
        fs::remove(path);
        if (file) {
            Write(*file, path);
        }
        ChorusSettings live = Record(kLive);
        EXPECT_EQ(LoadSettingsFile(path, live), loaded ? 1 : 0);
        EXPECT_EQ(live, Record(loaded.value_or(kLive)));
        ASSERT_EQ(SaveSettingsFile(path, live), 1);
        EXPECT_EQ(Read(path), SettingsFileBytes(loaded.value_or(kLive)));
    }
}

TEST_F(SettingsFile, FailuresAreReportedAndTheFileClosed) {
    faults.write = Faults::Fail;
    EXPECT_EQ(SaveSettingsFile(path, ChorusSettings{}), 0);
    faults.write = Faults::Short;
    EXPECT_EQ(SaveSettingsFile(path, ChorusSettings{}), 0);
    EXPECT_EQ(fs::file_size(path), 35u);
    faults.write = Faults::Pass;
    faults.failClose = true;
    EXPECT_EQ(SaveSettingsFile(path, ChorusSettings{}), 0);
    EXPECT_EQ(faults.closes, 3);
    // Paths that cannot be written even as root; a directory cannot be read either; a link is
    // neither followed nor replaced.
    Write({}, dir / "plain");
    Write(SettingsFileBytes(kLive), dir / "elsewhere");
    fs::create_symlink(dir / "elsewhere", dir / "link");
    for (const fs::path& bad : {dir, dir / "missing/x.sav", dir / "plain/x.sav", dir / "link"}) {
        ChorusSettings live;
        EXPECT_EQ(LoadSettingsFile(bad.string(), live), 0) << bad;
        EXPECT_EQ(live, ChorusSettings{});
        EXPECT_EQ(SaveSettingsFile(bad.string(), live), 0) << bad;
    }
    EXPECT_EQ(faults.writes, 3);
    EXPECT_EQ(Read(dir / "elsewhere"), SettingsFileBytes(kLive));
}

ChorusSettings Window(std::int32_t startHour, std::int32_t startMinute, std::int32_t endHour,
                      std::int32_t endMinute, std::int32_t mode = 1) {
    return {1000, 2, 4, 100, mode, startHour, startMinute, endHour, endMinute};
}

TEST(SettingsMath, TicksMinutesAndCountAreExactAtTheExtremes) {
    const std::pair<std::int32_t, std::int64_t> ticks[] = {
        {0, 0}, {3, 900}, {-1, -300}, {INT32_MAX, 644245094100}, {INT32_MIN, -644245094400}};
    for (const auto& [wariness, expected] : ticks) {
        EXPECT_EQ(QuietTicks({.wariness = wariness}), expected) << wariness;
    }
    const ChorusSettings extreme = Window(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    EXPECT_EQ(WindowStartMinute(extreme), 130996502467);
    EXPECT_EQ(WindowEndMinute(extreme), -130996502528);
    const std::pair<std::int32_t, std::int32_t> counts[] = {
        {INT32_MIN, 0}, {-1, 0}, {0, 0}, {1, 1}, {16, 16}, {17, 16}, {INT32_MAX, 16}};
    for (const auto& [count, used] : counts) {
        EXPECT_EQ(CricketsToUse({.cricketCount = count}), used) << count;
    }
}

TEST(SettingsMath, ActivityWindowBoundaries) {
    // A window and minutes with whether they are inside it.
    const std::pair<ChorusSettings, std::vector<std::pair<std::int64_t, bool>>> cases[] = {
        {Window(9, 0, 17, 0), {{540, 1}, {1020, 1}, {539, 0}, {1021, 0}}},
        {Window(22, 0, 5, 30), {{1439, 1}, {0, 1}, {330, 1}, {331, 0}, {1319, 0}}},
        {Window(INT32_MAX, INT32_MAX, 1, 0), {{60, 1}, {61, 0}}},
        {Window(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), {{0, 1}, {1439, 1}}}};
    for (const auto& [window, minutes] : cases) {
        for (const auto& [now, inside] : minutes) {
            EXPECT_EQ(InsideActivityWindow(window, now), inside) << window.startHour << " " << now;
        }
    }
    // Off, start meeting end, and the full day cover every minute; an inverted extreme none.
    for (std::int64_t now = 0; now < 1440; ++now) {
        EXPECT_TRUE(InsideActivityWindow(Window(9, 0, 9, 1, 0), now)) << now;
        EXPECT_TRUE(InsideActivityWindow(Window(8, 0, 8, 0), now)) << now;
        EXPECT_TRUE(InsideActivityWindow(Window(0, 0, 23, 59), now)) << now;
        EXPECT_FALSE(InsideActivityWindow(Window(INT32_MAX, 0, INT32_MIN, 0), now)) << now;
    }
}

// Volume setting, loudness draw, result; none where the result does not fit 32 bits.
TEST(SettingsMath, ChirpVolumeMatchesTheReferenceAndRefusesWhatDoesNotFit) {
    const std::tuple<std::int32_t, std::uint32_t, std::optional<std::int32_t>> cases[] = {
        {100, 0, -1},
        {100, 1500, -1501},
        {100, 3000, -3001},
        {50, 0, -5001},
        {50, 3000, -6501},
        {1, 0, -9901},
        {1, 3000, -9931},
        {0, 0, -10000},
        {1000000, 3000, 69989999},
        {1, UINT32_MAX, -42959571},
        {21474836, 0, 2147473552},
        {-21474836, 0, std::nullopt},
        {INT32_MAX, 0, std::nullopt},
        {INT32_MIN, 0, std::nullopt}};
    for (const auto& [volume, draw, expected] : cases) {
        EXPECT_EQ(ChirpVolume(volume, draw), expected) << volume << " " << draw;
    }
}

} // namespace
