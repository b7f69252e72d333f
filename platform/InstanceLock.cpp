#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

InstanceLock::~InstanceLock() {
    Release();
}

bool InstanceLock::Acquire(const std::string& name, const std::string& directory) {
    Release();
    const std::string path = (directory.empty() ? LockDirectory() : directory) + "/" + name;
    int opened;
    do {
        opened = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (opened < 0 && errno == EINTR);
    if (opened < 0) {
        return false;
    }
    int locked;
    do {
        locked = ::flock(opened, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(opened);
        return false;
    }
    fd = opened;
    return true;
}

void InstanceLock::Release() {
    if (fd < 0) {
        return;
    }
    ::flock(fd, LOCK_UN);
    ::close(fd);
    fd = -1;
}

std::string LockDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        return runtime;
    }
    return "/tmp";
}

} // namespace platform
