#pragma once

#include "platform/Cursor.h"

namespace platform {

// The desktop's pointer (QCursor), for Services::cursor; needs the QGuiApplication to exist.
bool QtCursorPos(CursorPosition* position);

} // namespace platform
