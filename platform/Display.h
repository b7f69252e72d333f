#pragma once

#include <string>

namespace platform {

// Whether a windowing system looks reachable before Qt is asked to open it (Qt aborts when it
// cannot). False with the reason when there is no display at all or the X display refuses us;
// a platform chosen with QT_QPA_PLATFORM, or a Wayland display, is left to Qt.
bool DisplayReachable(std::string* reason);

// While it lives, a fatal message from Qt (a platform that cannot be opened after all) ends the
// program with one line on standard error and exit code 1 instead of an abort; Qt's warnings are
// held back meanwhile and passed on when it ends.
class QtStartGuard {
public:
    QtStartGuard();
    ~QtStartGuard();
    QtStartGuard(const QtStartGuard&) = delete;
    QtStartGuard& operator=(const QtStartGuard&) = delete;
};

} // namespace platform
