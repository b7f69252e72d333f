#include "ui/CMainFrame.h"

#include "platform/CommandEvent.h"
#include "res/Strings.h"

#include <QCoreApplication>

CMainFrame::CMainFrame() {
    const std::string_view title = LoadString(kIdsAppTitle);
    setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == platform::CommandEvent::EventType()) {
        // The frame handles no command of its own yet; the application takes the rest (ID_EXIT).
        return QCoreApplication::sendEvent(QCoreApplication::instance(), event);
    }
    return QWidget::event(event);
}

// Ticks are taken before dispatch; one that reaches the frame (while a message box is open, or
// after the exit) is dropped.
void CMainFrame::timerEvent(QTimerEvent*) {
}
