#include "platform/Cursor.h"

#include "platform/Services.h"

namespace platform {

bool GetCursorPos(CursorPosition* position) {
    const CursorFunction read = Installed().cursor;
    return read != nullptr && read(position);
}

} // namespace platform
