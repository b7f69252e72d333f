// Feeds arbitrary file contents to the settings loader through in-memory file calls, and checks
// what the rest of the program relies on: a rejected file changes nothing, an accepted one holds
// the file's fields with at most 16 crickets, and the arithmetic on any loaded record is defined.
#include "platform/Services.h"
#include "settings/SettingsCodec.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsMath.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kFd = 7;

struct MemoryFile {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    std::size_t chunk = 0;
    bool open = false;
    std::vector<std::uint8_t> written;
} file;

void Check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

int MemoryOpenForReading(const char*) {
    Check(!file.open);
    file.open = true;
    file.position = 0;
    return kFd;
}

int MemoryOpenForWriting(const char*) {
    Check(!file.open);
    file.open = true;
    file.written.clear();
    return kFd;
}

int MemoryCreateBeside(const char* path, std::string* created) {
    *created = std::string(path) + ".new";
    return MemoryOpenForWriting(path);
}

int MemorySucceed(const char*, const char*) {
    return 0;
}

long MemoryRead(int fd, void* data, std::size_t size) {
    Check(fd == kFd && file.open);
    const std::size_t n = std::min({size, file.size - file.position, file.chunk});
    if (n > 0) {
        std::memcpy(data, file.data + file.position, n);
    }
    file.position += n;
    return static_cast<long>(n);
}

long MemoryWrite(int fd, const void* data, std::size_t size) {
    Check(fd == kFd && file.open);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    file.written.insert(file.written.end(), bytes, bytes + size);
    return static_cast<long>(size);
}

int MemoryClose(int fd) {
    Check(fd == kFd && file.open);
    file.open = false;
    return 0;
}

// Every field but the marker differs from the defaults, so any partial copy shows.
ChorusSettings Sentinel() {
    ChorusSettings s;
    s.wariness = -11;
    s.cricketCount = 13;
    s.volume = 17;
    s.scheduleMode = 19;
    s.startHour = 23;
    s.startMinute = 29;
    s.endHour = 31;
    s.endMinute = 37;
    return s;
}

int Load(const std::uint8_t* data, std::size_t size, std::size_t chunk, ChorusSettings& live) {
    file.data = data;
    file.size = size;
    file.chunk = chunk;
    const int accepted = LoadSettingsFile("fuzz.sav", live);
    Check(!file.open);
    Check(file.position <= kSettingsFileSize);
    return accepted;
}

void ExerciseHelpers(const ChorusSettings& s, std::uint32_t draw, std::int64_t now) {
    const std::int64_t quiet = QuietTicks(s);
    Check(quiet % 300 == 0 && quiet / 300 == s.wariness);

    const std::int32_t used = CricketsToUse(s);
    Check(used >= 0 && used <= kMaxCricketCount);
    Check(used == s.cricketCount || s.cricketCount < 0 || s.cricketCount > kMaxCricketCount);

    const std::int64_t start = WindowStartMinute(s);
    Check((start - s.startMinute) / 60 == s.startHour);
    const std::int64_t end = WindowEndMinute(s);
    Check((end - s.endMinute) / 60 == s.endHour);
    const bool inside = InsideActivityWindow(s, now);
    Check(inside || s.scheduleMode != 0);

    for (std::uint32_t n : {0u, 3000u, draw % 3001, draw}) {
        const auto volume = ChirpVolume(s.volume, n);
        if (s.volume >= 1 && s.volume <= 100 && n <= 3000) {
            Check(volume && *volume >= -10000 && *volume <= 0);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const platform::Override memoryFiles{
        {.files = {MemoryOpenForReading, MemoryOpenForWriting, MemoryRead, MemoryWrite, MemoryClose,
                   MemoryCreateBeside, [](int) { return 0; }, MemorySucceed,
                   [](const char*) { return 0; }}}};

    ChorusSettings live = Sentinel();
    const int accepted = Load(data, size, SIZE_MAX, live);
    if (!accepted) {
        Check(live == Sentinel());
    } else {
        Check(accepted == 1 && size >= kSettingsFileSize);
        SettingsBytes head;
        std::copy_n(data, kSettingsFileSize, head.begin());
        ChorusSettings expected = DecodeSettings(head);
        Check(expected.marker == 1000);
        expected.cricketCount = std::min(expected.cricketCount, kMaxCricketCount);
        Check(live == expected);
        Check(live.cricketCount <= kMaxCricketCount);
    }

    // How the reads are split must not matter.
    ChorusSettings pieces = Sentinel();
    Check(Load(data, size, 1 + size % 7, pieces) == accepted);
    Check(pieces == live);

    // Start-up writes the record straight back; that file loads as the same record.
    Check(SaveSettingsFile("fuzz.sav", live) == 1);
    Check(!file.open && file.written.size() == kSettingsFileSize);
    const std::vector<std::uint8_t> saved = file.written;
    ChorusSettings reloaded = Sentinel();
    Check(Load(saved.data(), saved.size(), SIZE_MAX, reloaded) == 1);
    Check(reloaded == live);

    std::uint32_t draw = 0;
    if (size > 0) {
        std::memcpy(&draw, data + (size >= 40 ? 36 : 0), std::min<std::size_t>(size, 4));
    }
    ExerciseHelpers(live, draw, static_cast<std::int64_t>(draw % 1440));
    return 0;
}
