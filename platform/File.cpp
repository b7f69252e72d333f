#include "platform/File.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

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

// Not retried on EINTR: Linux has released the descriptor by then.
int SystemClose(int fd) {
    return ::close(fd) == 0 ? 0 : -1;
}

FileCalls current = SystemFileCalls();

} // namespace

FileCalls SystemFileCalls() {
    return {SystemOpenForReading, SystemOpenForWriting, SystemRead, SystemWrite, SystemClose};
}

FileCalls SetFileCalls(const FileCalls& calls) {
    const FileCalls previous = current;
    const FileCalls system = SystemFileCalls();
    current.openForReading = calls.openForReading ? calls.openForReading : system.openForReading;
    current.openForWriting = calls.openForWriting ? calls.openForWriting : system.openForWriting;
    current.read = calls.read ? calls.read : system.read;
    current.write = calls.write ? calls.write : system.write;
    current.close = calls.close ? calls.close : system.close;
    return previous;
}

int OpenForReading(const char* path) {
    return current.openForReading(path);
}
int OpenForWriting(const char* path) {
    return current.openForWriting(path);
}
long Read(int fd, void* data, std::size_t size) {
    return current.read(fd, data, size);
}
long Write(int fd, const void* data, std::size_t size) {
    return current.write(fd, data, size);
}
int Close(int fd) {
    return current.close(fd);
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

} // namespace platform
