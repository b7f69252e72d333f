#pragma once

namespace platform {

// Installs the program's translation for the user's language (LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG) and lets LoadText use it. Japanese, the texts' own language, needs none, and neither
// does the C locale; English serves every language without a translation of its own.
void InstallTranslation();

} // namespace platform
