#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes interleaved signed 16-bit samples as a PCM WAV file; false when the file cannot be
// written.
bool WriteWav(const std::string& path, const std::vector<std::int16_t>& samples, int channels,
              int rate);
