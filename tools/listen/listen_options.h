#pragma once

#include <cstdint>
#include <string>

struct ListenOptions {
    std::uint32_t frequency = 0; // 0: the recording's own rate
    std::int32_t volume = 0;
    std::int32_t pan = 0;
    std::string outFile; // empty: play through the sound card
};

// Fills options from the command line; false (with a message in error) on a bad argument.
bool ParseListenOptions(int argc, char** argv, ListenOptions& options, std::string& error);

extern const char* const kListenUsage;
