#pragma once

#include "settings/ChorusSettings.h"

#include <string>

// Reads the settings file at `path`. Returns 1 and replaces `settings` as a whole when at least
// 36 bytes arrive and the first field equals settings.marker; otherwise (also when the file
// cannot be opened or read) returns 0 and leaves `settings` untouched. Only the first 36 bytes
// are read, and no field is range-checked except that cricketCount is held to at most 16.
int LoadSettingsFile(const std::string& path, ChorusSettings& settings);

// Replaces the file at `path` with the 36 bytes of `settings`. Returns 1 when all were stored and
// the file closed cleanly, 0 otherwise; reporting the failure is the caller's job.
int SaveSettingsFile(const std::string& path, const ChorusSettings& settings);
