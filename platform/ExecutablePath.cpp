#include "platform/ExecutablePath.h"

#include <unistd.h>
#include <vector>

namespace platform {

std::string ExecutablePath() {
    // readlink does not say when it truncated, so grow until the result leaves room to spare.
    std::vector<char> buffer(256);
    while (buffer.size() <= (1u << 20)) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

} // namespace platform
