#pragma once

#include "settings/ChorusSettings.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Takes the bytes read from the start of a settings file. Returns 1 and replaces `settings` as a
// whole when there are at least 36 and the first field equals settings.marker; otherwise returns
// 0 and leaves `settings` untouched. Bytes after the 36th are ignored.
int AcceptSettingsBytes(std::span<const std::uint8_t> bytes, ChorusSettings& settings);

// Reads the settings file at `path` into `settings` by the rules above; 0 also when the file
// cannot be opened or read. Only the first 36 bytes are read.
int LoadSettingsFile(const std::string& path, ChorusSettings& settings);

// Replaces the file at `path` with the 36 bytes of `settings`. Returns 1 when all were stored and
// the file closed cleanly, 0 otherwise; reporting the failure is the caller's job.
int SaveSettingsFile(const std::string& path, const ChorusSettings& settings);
