#pragma once

#include "platform/Framework.h"
#include "res/Translatable.h"

#include <cstdint>

// Menu 131: the tray icon's popup, in order. An entry with command 0 is a separator.
struct MenuItem {
    std::uint32_t command;
    const char* text; // UTF-8; '&' marks the access key
};

// The texts are translated in this context.
inline constexpr char trayMenuContext[] = "Menu";

constexpr MenuItem trayMenu131[] = {
    {platform::ID_SETTINGS, QT_TRANSLATE_NOOP("Menu", "Kirorinの設定(&E)...")},
    {0, nullptr},
    {platform::ID_EXIT, QT_TRANSLATE_NOOP("Menu", "終了")},
};
