#pragma once

#include "platform/Framework.h"

#include <cstdint>
#include <string_view>

// The program's string table: identifier to UTF-8 text. Two-line entries use one line feed.
constexpr std::uint32_t kIdsAppTitle = 57344;
constexpr std::uint32_t kIdsMainWindowFailed = 57666;
constexpr std::uint32_t kIdsSoundInitFailed = 57667;
constexpr std::uint32_t kIdsSettingsSaveFailed = 57668;
constexpr std::uint32_t kIdsSoundSetupFailed = 57669;
// The prompts of the two commands carry the commands' own numbers.
constexpr std::uint32_t kIdsSettingsPrompt = platform::ID_SETTINGS;
constexpr std::uint32_t kIdsExitPrompt = platform::ID_EXIT;

// The texts are translated in this context; the title stays as written.
inline constexpr char stringTableContext[] = "Strings";

// The table's own (Japanese) text; empty for an identifier the table does not hold.
std::string_view LoadString(std::uint32_t id);
