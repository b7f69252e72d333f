#pragma once

#include <cstdint>
#include <string_view>

// The program's string table: identifier to UTF-8 text. Two-line entries use one line feed.
constexpr std::uint32_t kIdsAppTitle = 57344;
constexpr std::uint32_t kIdsMainWindowFailed = 57666;
constexpr std::uint32_t kIdsSoundInitFailed = 57667;
constexpr std::uint32_t kIdsSettingsSaveFailed = 57668;
constexpr std::uint32_t kIdsSoundSetupFailed = 57669;
constexpr std::uint32_t kIdsSettingsPrompt = 32771;
constexpr std::uint32_t kIdsExitPrompt = 57665;

// The texts are translated in this context; the title stays as written.
inline constexpr char stringTableContext[] = "Strings";

// The table's own (Japanese) text; empty for an identifier the table does not hold.
std::string_view LoadString(std::uint32_t id);
