#include "settings/SettingsFile.h"
#include "settings/SettingsMath.h"

#include "platform/File.h"
#include "platform/Services.h"
#include "testsupport/SettingsFileBuilder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
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

// Faults put between the settings code and the real file calls: the step named fails with the
// error given, or stores one byte less for a short write.
enum class Step { None, Create, Write, ShortWrite, Flush, Close, Rename };
struct Faults {
    Step step = Step::None;
    int error = 0;
    int opened = 0, closed = 0;
} faults;
const platform::FileCalls kSystem = platform::SystemFileCalls();

int Fail(Step step) {
    return faults.step == step ? (errno = faults.error, -1) : 0;
}
int FaultyOpen(const char* path) {
    const int fd = kSystem.openForWriting(path);
    return faults.opened += fd >= 0, fd;
}
int FaultyCreate(const char* path, std::string* created) {
    const int fd = Fail(Step::Create) ? -1 : kSystem.createBeside(path, created);
    return faults.opened += fd >= 0, fd;
}
long FaultyWrite(int fd, const void* data, std::size_t size) {
    return Fail(Step::Write) ? -1
                             : kSystem.write(fd, data, size - (faults.step == Step::ShortWrite));
}
int FaultyFlush(int fd) {
    return Fail(Step::Flush) ? -1 : kSystem.flush(fd);
}
int FaultyClose(int fd) {
    ++faults.closed;
    const int closed = kSystem.close(fd);
    return Fail(Step::Close) ? -1 : closed;
}
int FaultyRename(const char* from, const char* to) {
    return Fail(Step::Rename) ? -1 : kSystem.rename(from, to);
}

ChorusSettings Record(const F& f) {
    return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]};
}

// Unlike the defaults in every field but the marker, so a partial copy shows.
const F kLive{1000, 3, 9, 42, 1, 7, 8, 9, 10};

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        faults = Faults{};
        fs::create_directory(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const Bytes& bytes, const fs::path& to) {
        std::ofstream(to).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    Bytes Read(const fs::path& from) {
        std::ifstream in(from);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    platform::Override files{{.files = {kSystem.openForReading, FaultyOpen, kSystem.read, FaultyWrite,
                                        FaultyClose, FaultyCreate, FaultyFlush, FaultyRename,
                                        kSystem.remove}}};
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

// A failure at any step leaves the old file whole, no new file behind, nothing open, and names
// the file and its cause. A folder that takes no new file has a writable file rewritten in place.
TEST_F(SettingsFile, EveryFailedStepKeepsTheOldFile) {
    const std::tuple<const char*, Step, int, bool> cases[] = {
        {"create", Step::Create, ENOSPC, false},
        {"write", Step::Write, EIO, false},
        {"short write", Step::ShortWrite, ENOSPC, false},
        {"flush", Step::Flush, EIO, false},
        {"close", Step::Close, EDQUOT, false},
        {"rename", Step::Rename, EXDEV, false},
        {"read-only folder", Step::Create, EACCES, true},
        {"none", Step::None, 0, true}};
    for (const auto& [what, step, error, saved] : cases) {
        SCOPED_TRACE(what);
        Write(SettingsFileBytes(kLive), path);
        faults = {step, error};
        std::string failure;
        EXPECT_EQ(SaveSettingsFile(path, ChorusSettings{}, &failure), saved ? 1 : 0);
        EXPECT_EQ(Read(path), SettingsFileBytes(saved ? kDefaultSettingsFields : kLive));
        EXPECT_EQ(failure, saved ? "" : path + ": " + std::strerror(error));
        EXPECT_EQ(faults.closed, faults.opened);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    }
}

TEST_F(SettingsFile, ALinkKeepsPointingAtItsUpdatedTarget) {
    // A relative link to a link to the file in another folder, as dotfiles managers make them.
    fs::create_directories(dir / "dotfiles");
    Write(SettingsFileBytes(kLive), dir / "dotfiles/real.sav");
    fs::create_symlink("real.sav", dir / "dotfiles/second");
    fs::create_symlink("dotfiles/second", path);
    ChorusSettings live;
    ASSERT_EQ(LoadSettingsFile(path, live), 1);
    EXPECT_EQ(live, Record(kLive));
    ASSERT_EQ(SaveSettingsFile(path, ChorusSettings{}), 1);
    EXPECT_EQ(fs::read_symlink(path), "dotfiles/second");
    EXPECT_EQ(Read(dir / "dotfiles/real.sav"), SettingsFileBytes(kDefaultSettingsFields));
    // Paths that cannot be written even as root; a directory cannot be read either.
    Write({}, dir / "plain");
    for (const fs::path& bad : {dir, dir / "missing/x.sav", dir / "plain/x.sav"}) {
        EXPECT_EQ(LoadSettingsFile(bad.string(), live), 0) << bad;
        EXPECT_EQ(SaveSettingsFile(bad.string(), live), 0) << bad;
    }
}

ChorusSettings Window(std::int32_t startHour, std::int32_t startMinute, std::int32_t endHour,
                      std::int32_t endMinute, std::int32_t mode = 1) {
    return {1000, 2, 4, 100, mode, startHour, startMinute, endHour, endMinute};
}

// How many crickets take part is checked through the chorus starting them.
TEST(SettingsMath, QuietTicksAreExactAtTheExtremes) {
    const std::pair<std::int32_t, std::int64_t> ticks[] = {
        {0, 0}, {3, 900}, {-1, -300}, {INT32_MAX, 644245094100}, {INT32_MIN, -644245094400}};
    for (const auto& [wariness, expected] : ticks) {
        EXPECT_EQ(QuietTicks({.wariness = wariness}), expected) << wariness;
    }
}

// A window and minutes with whether they are inside it: both ends are; off, start meeting end and
// the full day hold every minute, an inverted extreme none (minute 0 shows a 32-bit overflow).
TEST(SettingsMath, ActivityWindowBoundaries) {
    const std::pair<ChorusSettings, std::vector<std::pair<std::int64_t, bool>>> cases[] = {
        {Window(9, 0, 17, 0), {{540, 1}, {1020, 1}, {539, 0}, {1021, 0}}},
        {Window(22, 0, 5, 30), {{1439, 1}, {0, 1}, {330, 1}, {331, 0}, {1319, 0}}},
        {Window(INT32_MAX, INT32_MAX, 1, 0), {{60, 1}, {61, 0}}},
        {Window(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), {{0, 1}, {1439, 1}}},
        {Window(9, 0, 9, 1, 0), {{0, 1}, {539, 1}, {542, 1}, {1439, 1}}},
        {Window(8, 0, 8, 0), {{0, 1}, {479, 1}, {480, 1}, {481, 1}, {1439, 1}}},
        {Window(0, 0, 23, 59), {{0, 1}, {1439, 1}}},
        {Window(INT32_MAX, 0, INT32_MIN, 0), {{0, 0}, {720, 0}, {1439, 0}}}};
    for (const auto& [window, minutes] : cases) {
        for (const auto& [now, inside] : minutes) {
            EXPECT_EQ(InsideActivityWindow(window, now), inside) << window.startHour << " " << now;
        }
    }
}

// Volume setting, loudness draw, result; none where the result does not fit 32 bits.
TEST(SettingsMath, ChirpVolumeMatchesTheReferenceAndRefusesWhatDoesNotFit) {
    const std::tuple<std::int32_t, std::uint32_t, std::optional<std::int32_t>> cases[] = {
        {100, 0, -1},
        {100, 3000, -3001},
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
