#include "settings/SettingsFile.h"

#include "platform/File.h"
#include "settings/SettingsCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

int LoadSettingsFile(const std::string& path, ChorusSettings& settings) {
    const int fd = platform::OpenForReading(platform::ResolveLinks(path).c_str());
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

namespace {

// Writes the bytes with one call and closes the file; 0 and errno set when anything failed.
int WriteAndClose(int fd, const SettingsBytes& bytes, bool flush) {
    const long written = platform::Write(fd, bytes.data(), bytes.size());
    int error = 0;
    if (written != static_cast<long>(bytes.size())) {
        // A write that stores less without an error means the disk is full.
        error = written < 0 ? errno : ENOSPC;
    } else if (flush && platform::Flush(fd) != 0) {
        error = errno;
    }
    // A failed close can mean the data never reached the file.
    if (platform::Close(fd) != 0 && error == 0) {
        error = errno;
    }
    errno = error;
    return error == 0 ? 1 : 0;
}

int Failed(const std::string& path, std::string* failure) {
    if (failure != nullptr) {
        *failure = path + ": " + std::strerror(errno);
    }
    return 0;
}

} // namespace

int SaveSettingsFile(const std::string& path, const ChorusSettings& settings,
                     std::string* failure) {
    const SettingsBytes bytes = EncodeSettings(settings);
    // A linked file (a dotfiles manager's) keeps its link: the write goes to its target.
    const std::string target = platform::ResolveLinks(path);
    std::string created;
    const int fd = platform::CreateBeside(target.c_str(), &created);
    if (fd < 0) {
        if (errno != EACCES && errno != EPERM) {
            return Failed(target, failure);
        }
        // A folder that takes no new file: a writable file in it is rewritten in place.
        const int inPlace = platform::OpenForWriting(target.c_str());
        if (inPlace < 0 || WriteAndClose(inPlace, bytes, false) == 0) {
            return Failed(target, failure);
        }
        return 1;
    }
    if (WriteAndClose(fd, bytes, true) == 0 ||
        platform::Rename(created.c_str(), target.c_str()) != 0) {
        const int error = errno;
        platform::Remove(created.c_str());
        errno = error;
        return Failed(target, failure);
    }
    return 1;
}
