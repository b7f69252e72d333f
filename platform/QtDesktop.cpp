#include "platform/QtDesktop.h"

#include "platform/Cursor.h"

#include <QCursor>

namespace platform {
namespace {

bool QtCursorPos(CursorPosition* position) {
    const QPoint point = QCursor::pos();
    position->x = point.x();
    position->y = point.y();
    return true;
}

} // namespace

void InstallQtCursor() {
    SetCursorFunction(QtCursorPos);
}

} // namespace platform
