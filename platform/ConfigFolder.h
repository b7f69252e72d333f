#pragma once

#include <string>

namespace platform {

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// $HOME/.config (HOME from the password database when unset); empty when neither is known.
std::string UserConfigFolder();

} // namespace platform
