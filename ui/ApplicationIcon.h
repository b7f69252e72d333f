#pragma once

class QIcon;

namespace ui {

// Icon 128: the project's drawing at 16, 32 and 48 pixels.
QIcon ApplicationIcon();

} // namespace ui
