#pragma once

namespace platform {

// Screen position of the pointer.
struct CursorPosition {
    int x = 0;
    int y = 0;
};

// False when the position cannot be read (no windowing layer installed, or a desktop that
// hides the pointer from us); *position is left untouched then.
bool GetCursorPos(CursorPosition* position);

using CursorFunction = bool (*)(CursorPosition* position);
// Returns the previous function; nullptr installs one that always fails. The windowing layer
// installs the real one at start, tests a scripted one.
CursorFunction SetCursorFunction(CursorFunction function);

} // namespace platform
