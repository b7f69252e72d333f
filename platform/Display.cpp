#include "platform/Display.h"

#include <QString>
#include <QtGlobal>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace platform {
namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// xcb_connection_has_error's codes, as xcb.h describes them.
std::string XcbErrorText(int error) {
    switch (error) {
    case XCB_CONN_ERROR:
        return "the connection failed (no server, or a socket or stream error)";
    case XCB_CONN_CLOSED_EXT_NOTSUPPORTED:
        return "an extension is not supported";
    case XCB_CONN_CLOSED_MEM_INSUFFICIENT:
        return "out of memory";
    case XCB_CONN_CLOSED_REQ_LEN_EXCEED:
        return "request length exceeded";
    case XCB_CONN_CLOSED_PARSE_ERR:
        return "the display name could not be parsed";
    case XCB_CONN_CLOSED_INVALID_SCREEN:
        return "the display has no such screen";
    default:
        return "xcb error " + std::to_string(error);
    }
}

struct HeldMessage {
    QtMsgType type;
    const char* category;
    QString text;
};

std::vector<HeldMessage>* held = nullptr;
QtMessageHandler previousHandler = nullptr;

void GuardHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        QString line = text.simplified();
        std::fprintf(stderr, "kirorin: cannot open the display: %s\n", qPrintable(line));
        std::fflush(stderr);
        ::_exit(1);
    }
    if (held != nullptr) {
        held->push_back({type, context.category, text});
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, text);
    }
}

} // namespace

bool DisplayReachable(std::string* reason) {
    if (IsSet("QT_QPA_PLATFORM") || IsSet("WAYLAND_DISPLAY")) {
        return true;
    }
    if (!IsSet("DISPLAY")) {
        *reason = "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        return false;
    }
    errno = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const int socketError = errno;
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error != 0) {
        *reason = std::string("cannot connect to X display ") + std::getenv("DISPLAY") + ": " +
                  XcbErrorText(error);
        // For a failed connection xcb leaves the socket's errno behind.
        if (error == XCB_CONN_ERROR && socketError != 0) {
            *reason += std::string(" (") + std::strerror(socketError) + ")";
        }
    }
    return error == 0;
}

QtStartGuard::QtStartGuard() {
    held = new std::vector<HeldMessage>;
    previousHandler = qInstallMessageHandler(GuardHandler);
}

QtStartGuard::~QtStartGuard() {
    std::vector<HeldMessage>* messages = held;
    held = nullptr;
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& message : *messages) {
        QMessageLogContext context;
        context.category = message.category;
        qt_message_output(message.type, context, message.text);
    }
    delete messages;
}

} // namespace platform
