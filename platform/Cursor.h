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

// The windowing layer's reader, or a test's (Services::cursor).
using CursorFunction = bool (*)(CursorPosition* position);

} // namespace platform
