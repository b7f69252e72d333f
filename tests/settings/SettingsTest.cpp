#include "settings/SettingsFile.h"
#include "settings/SettingsMath.h"

#include "platform/File.h"
#include "platform/Services.h"
#include "testsupport/SettingsFileBuilder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Faults put between the settings code and the real file calls: the step named fails with the
// error given, or stores one byte less for a short write.
enum class Step { None, Create, Write, ShortWrite, Flush, Close, Rename };
struct Faults {
    Step step = Step::None;
    int error = 0;
} faults;
const platform::FileCalls kSystem = platform::SystemFileCalls();

int Fail(Step step) {
    return faults.step == step ? (errno = faults.error, -1) : 0;
}
// The system's call, unless the step fails first.
template <Step step, auto call> auto Faulty(auto... args) {
    return Fail(step) ? -1 : (kSystem.*call)(args...);
}
long FaultyWrite(int fd, const void* data, std::size_t size) {
    return Fail(Step::Write) ? -1
                             : kSystem.write(fd, data, size - (faults.step == Step::ShortWrite));
}
int FaultyClose(int fd) {
    const int closed = kSystem.close(fd);
    return Fail(Step::Close) ? -1 : closed;
}

// Unlike the defaults in every field but the marker, so a partial copy shows.
const SettingsFields kLive{1000, 3, 9, 42, 1, 7, 8, 9, 10};

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

    platform::Override files{
        {.files = {kSystem.openForReading, kSystem.openForWriting, kSystem.read, FaultyWrite,
                   FaultyClose, Faulty<Step::Create, &platform::FileCalls::createBeside>,
                   Faulty<Step::Flush, &platform::FileCalls::flush>,
                   Faulty<Step::Rename, &platform::FileCalls::rename>, kSystem.remove}}};
    fs::path dir = fs::temp_directory_path() / std::to_string(std::random_device{}());
    std::string path = (dir / "tamberle.sav").string();
};

// A failure at any step leaves the old file whole, no new file behind, nothing open, and names
// the file and its cause. A folder that takes no new file has a writable file rewritten in place.
// A save replaces a longer, private file with exactly the record, and keeps it private.
TEST_F(SettingsFile, EveryFailedStepKeepsTheOldFile) {
    const Bytes old = SettingsFileBytes(kLive, 4096, 0x5A);
    const auto openFiles = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto open = openFiles();
    const std::tuple<Step, int, bool> cases[] = {
        {Step::Create, ENOSPC, false},     {Step::Write, EIO, false},
        {Step::ShortWrite, ENOSPC, false}, {Step::Flush, EIO, false},
        {Step::Close, EDQUOT, false},      {Step::Rename, EXDEV, false},
        {Step::Create, EACCES, true},      {Step::None, 0, true}};
    for (const auto& [step, error, saved] : cases) {
        SCOPED_TRACE(testing::Message() << "step " << int(step) << ": " << std::strerror(error));
        Write(old, path);
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        faults = {step, error};
        std::string failure;
        EXPECT_EQ(SaveSettingsFile(path, ChorusSettings{}, &failure), saved ? 1 : 0);
        EXPECT_EQ(Read(path), saved ? SettingsFileBytes(kDefaultSettingsFields) : old);
        EXPECT_EQ(failure, saved ? "" : path + ": " + std::strerror(error));
        EXPECT_EQ(openFiles(), open);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    }
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0600)) << "the old file's permissions";
}

// A relative link to a link to the file in another folder, as dotfiles managers make them:
// start-up loads through it and writes straight back to the target. A longer file is read to its
// first 36 bytes. (Which files are accepted, that a refused one changes nothing, and that every
// field is copied as it stands but the cricket count held to 16, the settings fuzzer checks on
// every input through in-memory file calls.)
TEST_F(SettingsFile, LoadThroughLinksAndTheRewriteKeepsTheRecord) {
    fs::create_directories(dir / "dotfiles");
    Write(SettingsFileBytes(kLive, 40, 0xFF), dir / "dotfiles/real.sav");
    fs::create_symlink("real.sav", dir / "dotfiles/second");
    fs::create_symlink("dotfiles/second", path);
    ChorusSettings live;
    ASSERT_EQ(LoadSettingsFile(path, live), 1);
    ASSERT_EQ(SaveSettingsFile(path, live), 1);
    EXPECT_EQ(fs::read_symlink(path), "dotfiles/second");
    EXPECT_EQ(Read(dir / "dotfiles/real.sav"), SettingsFileBytes(kLive));
    // A folder can be neither read nor replaced, even by root.
    EXPECT_EQ(LoadSettingsFile(dir.string(), live), 0);
    EXPECT_EQ(SaveSettingsFile(dir.string(), live), 0);
}

// A window and minutes with whether they are inside it: both ends are; start meeting end holds
// every minute. That a switched-off window holds every minute, and the minute arithmetic for
// any fields, the settings fuzzer checks.
TEST(SettingsMath, ActivityWindowBoundaries) {
    const std::pair<ChorusSettings, std::vector<std::pair<std::int64_t, bool>>> cases[] = {
        {{1000, 2, 4, 100, 1, 9, 0, 17, 0}, {{540, 1}, {1020, 1}, {539, 0}, {1021, 0}}},
        {{1000, 2, 4, 100, 1, 22, 0, 5, 30}, {{1439, 1}, {0, 1}, {330, 1}, {331, 0}, {1319, 0}}},
        {{1000, 2, 4, 100, 1, 8, 0, 8, 0}, {{0, 1}, {479, 1}, {480, 1}, {481, 1}, {1439, 1}}},
    };
    for (const auto& [window, minutes] : cases) {
        for (const auto& [now, inside] : minutes) {
            EXPECT_EQ(InsideActivityWindow(window, now), inside) << window.startHour << " " << now;
        }
    }
}

} // namespace
