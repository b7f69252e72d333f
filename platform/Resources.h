#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// One resource compiled into the program: its type name ("WAVE"), number and bytes.
struct ResourceEntry {
    const char* type;
    std::uint16_t number;
    const std::uint8_t* bytes;
    std::uint32_t size;
};

// Finds a resource of the program by type name and number. Returns false, leaving the outputs
// untouched, when there is none.
bool FindResource(const char* type, std::uint16_t number, const std::uint8_t** bytes,
                  std::uint32_t* size);

// The table the build generates from res/ (see res/CMakeLists.txt).
extern const ResourceEntry compiledResources[];
extern const std::size_t compiledResourceCount;

} // namespace platform
