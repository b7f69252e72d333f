#pragma once

#include <string>

namespace platform {

// Full path of the running executable, symbolic links resolved, any length; empty when the
// system cannot tell.
std::string ExecutablePath();

} // namespace platform
