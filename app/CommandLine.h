#pragma once

#include <cstdio>
#include <optional>

// Kirorin takes no arguments of its own, but answers --help and --version as a Linux program
// does. Returns the exit code when the program is to end without starting (0 after the help or
// the version on `out`, 2 after a usage error on `err`), nothing when it is to start.
std::optional<int> HandleCommandLine(int argc, const char* const* argv, std::FILE* out,
                                     std::FILE* err);
