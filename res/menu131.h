#pragma once

#include "platform/Framework.h"

#include <cstdint>

// Menu 131: the tray icon's popup, in order. An entry with command 0 is a separator.
struct MenuItem {
    std::uint32_t command;
    const char* text; // UTF-8; '&' marks the access key
};

constexpr MenuItem trayMenu131[] = {
    {platform::ID_SETTINGS, "Kirorinの設定(&E)..."},
    {0, nullptr},
    {platform::ID_EXIT, "終了"},
};
