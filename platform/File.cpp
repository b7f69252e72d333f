#include "platform/File.h"

#include "platform/Services.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

// O_NONBLOCK: a FIFO at the path fails or reads empty instead of hanging the caller; regular files
// ignore it.
int SystemOpenForReading(const char* path) {
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int SystemOpenForWriting(const char* path) {
    int fd;
    do {
        fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int SystemCreateBeside(const char* path, std::string* created) {
    struct stat old {};
    const bool exists = ::stat(path, &old) == 0;
    if (exists && !Writable(path)) {
        return -1;
    }
    const std::string target(path);
    const std::string::size_type slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = target.substr(folder.size());
    // O_EXCL: never reuses a file, nor follows a link, that someone put there first.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate =
            folder + "." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        int fd;
        do {
            fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd >= 0) {
            *created = candidate;
            // The replacement keeps the old file's permissions.
            if (exists) {
                ::fchmod(fd, old.st_mode & 07777);
            }
        }
        return fd;
    }
    errno = EEXIST;
    return -1;
}

long SystemRead(int fd, void* data, std::size_t size) {
    ssize_t got;
    do {
        got = ::read(fd, data, size);
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

long SystemWrite(int fd, const void* data, std::size_t size) {
    ssize_t put;
    do {
        put = ::write(fd, data, size);
    } while (put < 0 && errno == EINTR);
    return static_cast<long>(put);
}

int SystemFlush(int fd) {
    return ::fsync(fd) == 0 ? 0 : -1;
}

int SystemRename(const char* from, const char* to) {
    return ::rename(from, to) == 0 ? 0 : -1;
}

int SystemRemove(const char* path) {
    return ::unlink(path) == 0 ? 0 : -1;
}

// Not retried on EINTR: Linux has released the descriptor by then.
int SystemClose(int fd) {
    return ::close(fd) == 0 ? 0 : -1;
}

// The installed call, or the system's when none is.
template <class Call> Call Pick(Call installed, Call system) {
    return installed != nullptr ? installed : system;
}

} // namespace

FileCalls SystemFileCalls() {
    return {SystemOpenForReading, SystemOpenForWriting, SystemRead,   SystemWrite, SystemClose,
            SystemCreateBeside,   SystemFlush,          SystemRename, SystemRemove};
}

int OpenForReading(const char* path) {
    return Pick(Installed().files.openForReading, SystemOpenForReading)(path);
}
int OpenForWriting(const char* path) {
    return Pick(Installed().files.openForWriting, SystemOpenForWriting)(path);
}
long Read(int fd, void* data, std::size_t size) {
    return Pick(Installed().files.read, SystemRead)(fd, data, size);
}
long Write(int fd, const void* data, std::size_t size) {
    return Pick(Installed().files.write, SystemWrite)(fd, data, size);
}
int Close(int fd) {
    return Pick(Installed().files.close, SystemClose)(fd);
}
int CreateBeside(const char* path, std::string* created) {
    return Pick(Installed().files.createBeside, SystemCreateBeside)(path, created);
}
int Flush(int fd) {
    return Pick(Installed().files.flush, SystemFlush)(fd);
}
int Rename(const char* from, const char* to) {
    return Pick(Installed().files.rename, SystemRename)(from, to);
}
int Remove(const char* path) {
    return Pick(Installed().files.remove, SystemRemove)(path);
}

long ReadFully(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<unsigned char*>(data);
    std::size_t total = 0;
    while (total < size) {
        const long got = Read(fd, bytes + total, size - total);
        if (got < 0 || static_cast<std::size_t>(got) > size - total) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    return static_cast<long>(total);
}

std::string ResolveLinks(const std::string& path) {
    std::string resolved = path;
    // As many links as the kernel follows in one path; a longer chain stays unresolved and the
    // open then refuses it.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status {};
        if (::lstat(resolved.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return resolved;
        }
        std::vector<char> target(static_cast<std::size_t>(status.st_size) + 1);
        const ssize_t length = ::readlink(resolved.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            return path;
        }
        const std::string link(target.data(), static_cast<std::size_t>(length));
        const std::string::size_type slash = resolved.rfind('/');
        resolved = link.front() == '/' || slash == std::string::npos
                       ? link
                       : resolved.substr(0, slash + 1) + link;
    }
    return path;
}

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

bool Writable(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

int MakeFolders(const std::string& path) {
    for (std::string::size_type end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        if (!folder.empty() && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            return -1;
        }
        if (end == std::string::npos) {
            break;
        }
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return -1;
    }
    if (!S_ISDIR(status.st_mode)) {
        errno = ENOTDIR;
        return -1;
    }
    return 0;
}

} // namespace platform
