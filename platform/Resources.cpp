#include "platform/Resources.h"

#include <cstring>

namespace platform {

bool FindResource(const char* type, std::uint16_t number, const std::uint8_t** bytes,
                  std::uint32_t* size) {
    if (!type || !bytes || !size) {
        return false;
    }
    for (std::size_t i = 0; i < compiledResourceCount; ++i) {
        const ResourceEntry& entry = compiledResources[i];
        if (entry.number == number && std::strcmp(entry.type, type) == 0) {
            *bytes = entry.bytes;
            *size = entry.size;
            return true;
        }
    }
    return false;
}

} // namespace platform
