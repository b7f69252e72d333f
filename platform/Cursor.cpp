#include "platform/Cursor.h"

namespace platform {
namespace {

bool NoCursor(CursorPosition*) {
    return false;
}

CursorFunction current = NoCursor;

} // namespace

bool GetCursorPos(CursorPosition* position) {
    return current(position);
}

CursorFunction SetCursorFunction(CursorFunction function) {
    CursorFunction previous = current;
    current = function ? function : NoCursor;
    return previous;
}

} // namespace platform
