#pragma once

#include "settings/ChorusSettings.h"

#include <string>

// Reads the settings file at `path`, following symbolic links. Returns 1 and replaces `settings` as
// a whole when at least 36 bytes arrive and the first field equals settings.marker; otherwise (also
// when the file cannot be opened or read) returns 0 and leaves `settings` untouched. Only the first
// 36 bytes are read, and no field is range-checked except that cricketCount is held to at most 16.
int LoadSettingsFile(const std::string& path, ChorusSettings& settings);

// Replaces the file at `path` (at the end of its symbolic links) with the 36 bytes of `settings`:
// a new file beside it, flushed and renamed over it, so that a failure at any step leaves the old
// file as it was. Where the folder takes no new file, a writable file is rewritten in place.
// Returns 1 when all were stored, 0 otherwise; then `failure`, when given, names the file and
// the cause. Reporting the failure is the caller's job.
int SaveSettingsFile(const std::string& path, const ChorusSettings& settings,
                     std::string* failure = nullptr);
