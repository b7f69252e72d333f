#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

InstanceLock::~InstanceLock() {
    Release();
}

bool InstanceLock::Acquire(const std::string& name, const std::string& directory) {
    Release();
    failure.clear();
    const std::string folder = directory.empty() ? LockDirectory(&failure) : directory;
    if (folder.empty()) {
        return false;
    }
    const std::string path = folder + "/" + name;
    int opened;
    do {
        opened = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (opened < 0 && errno == EINTR);
    if (opened < 0) {
        failure = path + ": " + std::strerror(errno);
        return false;
    }
    int locked;
    do {
        locked = ::flock(opened, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        if (errno != EWOULDBLOCK) {
            failure = path + ": " + std::strerror(errno);
        }
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

std::string LockDirectory(std::string* failure) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        return runtime;
    }
    // A folder per user: a lock file shared in /tmp itself could be created, and so blocked, by
    // anyone, and would outlive its user's session.
    const std::string folder = "/tmp/kirorin-" + std::to_string(::geteuid());
    struct stat status {};
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        *failure = folder + ": " + std::strerror(errno);
        return {};
    }
    if (::lstat(folder.c_str(), &status) != 0) {
        *failure = folder + ": " + std::strerror(errno);
        return {};
    }
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid() ||
        (status.st_mode & 07777) != 0700) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.st_mode & 07777));
        *failure = folder + ": not a private folder of this user (" +
                   (S_ISLNK(status.st_mode) ? std::string("a symbolic link")
                    : !S_ISDIR(status.st_mode)
                        ? std::string("not a folder")
                        : "owner " + std::to_string(status.st_uid) + ", mode " + mode) +
                   ")";
        return {};
    }
    return folder;
}

} // namespace platform
