#include "platform/QtDesktop.h"

#include <QCursor>

namespace platform {

bool QtCursorPos(CursorPosition* position) {
    const QPoint point = QCursor::pos();
    position->x = point.x();
    position->y = point.y();
    return true;
}

} // namespace platform
