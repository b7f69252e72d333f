#include "platform/Display.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace platform {
namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
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
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool ok = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (!ok) {
        *reason = std::string("cannot connect to X display ") + std::getenv("DISPLAY");
    }
    return ok;
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
