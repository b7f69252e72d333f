#pragma once

#include <string>

namespace platform {

// The single-instance lock: a file named after the lock's name, held with an exclusive flock.
// The kernel drops the lock when the process dies, so a crash never blocks the next start.
class InstanceLock {
public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // Takes the lock `name` in `directory` (empty: LockDirectory()). False when another holder
    // has it, or when the lock cannot be taken at all (a symbolic link in its place is refused):
    // then Failure() names the path and the cause.
    bool Acquire(const std::string& name, const std::string& directory = {});
    // Empty unless the last Acquire failed for another reason than another holder.
    const std::string& Failure() const { return failure; }
    // Harmless when nothing is held. The file stays: removing it would race with a new holder.
    void Release();
    bool Held() const { return fd >= 0; }

private:
    int fd = -1;
    std::string failure;
};

// $XDG_RUNTIME_DIR when it is set and not empty, else the user's own folder /tmp/kirorin-<uid>,
// made with mode 0700 when missing. Empty when that folder cannot be made or is not the user's
// private folder (another owner, other permissions, a link): then `failure` says why.
std::string LockDirectory(std::string* failure);

} // namespace platform
