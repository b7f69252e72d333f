#pragma once

namespace platform {

// Installs the desktop's pointer (QCursor) as the source of GetCursorPos; needs the
// QGuiApplication to exist.
void InstallQtCursor();

} // namespace platform
