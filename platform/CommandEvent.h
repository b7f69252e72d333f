#pragma once

#include <QEvent>

#include <cstdint>

namespace platform {

// A posted command (a menu entry, or the exit command after a failure), addressed to the main
// window; commands the window does not handle go on to the application object.
class CommandEvent : public QEvent {
public:
    explicit CommandEvent(std::uint32_t command) : QEvent(EventType()), command_(command) {}

    std::uint32_t Command() const { return command_; }

    static QEvent::Type EventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

private:
    std::uint32_t command_;
};

} // namespace platform
