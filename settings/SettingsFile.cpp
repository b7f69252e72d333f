#include "settings/SettingsFile.h"

#include "platform/File.h"
#include "settings/SettingsCodec.h"

#include <algorithm>

int LoadSettingsFile(const std::string& path, ChorusSettings& settings) {
    const int fd = platform::OpenForReading(path.c_str());
    if (fd < 0) {
        return 0;
    }
    SettingsBytes bytes{};
    const long got = platform::ReadFully(fd, bytes.data(), bytes.size());
    // What was read stays valid whatever closing says.
    platform::Close(fd);
    if (got != static_cast<long>(bytes.size())) {
        return 0;
    }
    ChorusSettings loaded = DecodeSettings(bytes);
    if (loaded.marker != settings.marker) {
        return 0;
    }
    // Only 16 crickets exist: a larger count is clamped here and so written back as 16.
    loaded.cricketCount = std::min(loaded.cricketCount, kMaxCricketCount);
    settings = loaded;
    return 1;
}

int SaveSettingsFile(const std::string& path, const ChorusSettings& settings) {
    const SettingsBytes bytes = EncodeSettings(settings);
    const int fd = platform::OpenForWriting(path.c_str());
    if (fd < 0) {
        return 0;
    }
    const long written = platform::Write(fd, bytes.data(), bytes.size());
    // A failed close can mean the data never reached the file.
    const int closed = platform::Close(fd);
    return written == static_cast<long>(bytes.size()) && closed == 0 ? 1 : 0;
}
