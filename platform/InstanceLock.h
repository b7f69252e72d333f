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
    // has it or the file cannot be opened (a symbolic link in its place is refused).
    bool Acquire(const std::string& name, const std::string& directory = {});
    // Harmless when nothing is held. The file stays: removing it would race with a new holder.
    void Release();
    bool Held() const { return fd >= 0; }

private:
    int fd = -1;
};

// $XDG_RUNTIME_DIR when it is set and not empty, else /tmp.
std::string LockDirectory();

} // namespace platform
