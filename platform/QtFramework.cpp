#include "platform/QtFramework.h"

#include "platform/CommandEvent.h"
#include "platform/Signals.h"

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimerEvent>

namespace platform {

QtFramework::QtFramework(Application& app, MainWindowFactory factory)
    : application(app), makeMainWindow(std::move(factory)) {
    QCoreApplication::instance()->installEventFilter(this);
    const int fd = WatchTerminationSignals();
    if (fd >= 0) {
        signalNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(signalNotifier, &QSocketNotifier::activated, this,
                &QtFramework::OnTerminationSignal);
    }
}

QtFramework::~QtFramework() {
    DestroyMainWindow();
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->removeEventFilter(this);
    }
}

int QtFramework::Run() {
    int exitCode = 0;
    if (application.StartUp() != 0 && !loopsEnded) {
        exitCode = QApplication::exec();
    }
    DestroyMainWindow();
    // A start or a run that ended on a reported failure is no success to whoever started us.
    if (FailureReported()) {
        exitCode = 1;
    }
    return application.ShutDown(exitCode);
}

bool QtFramework::CreateMainWindow() {
    std::unique_ptr<QWidget> window = makeMainWindow ? makeMainWindow() : nullptr;
    if (!window) {
        return false;
    }
    mainWindow = window.release();
    return true;
}

void* QtFramework::MainWindow() const {
    return mainWindow.data();
}

void QtFramework::SetTickTimer(unsigned milliseconds) {
    if (mainWindow) {
        tickTimerId = mainWindow->startTimer(static_cast<int>(milliseconds), Qt::PreciseTimer);
    }
}

void QtFramework::ShowMessageBox(const std::string& caption, const std::string& text) {
    TickSuspension suspension(*this);
    QWidget* owner = QApplication::activeModalWidget();
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, owner);
    box.exec();
}

void QtFramework::PostCommand(std::uint32_t command) {
    if (command == ID_EXIT) {
        exitRequested = true;
    }
    if (mainWindow) {
        QCoreApplication::postEvent(mainWindow.data(), new CommandEvent(command));
    } else if (command == ID_EXIT) {
        // Nobody is there to take it: end now, as the window would have.
        HandleApplicationCommand(command);
    }
}

bool QtFramework::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Timer) {
        // Only the main window's chorus timer is a tick; every other timer belongs to its object.
        if (watched != mainWindow.data() || mainWindow.isNull() ||
            static_cast<QTimerEvent*>(event)->timerId() != tickTimerId) {
            return false;
        }
        // Suspended or exiting: the event reaches the window, which ignores it.
        if (suspensions > 0 || exitRequested) {
            return false;
        }
        Message message;
        message.window = mainWindow.data();
        message.message = WM_TIMER;
        message.timerId = static_cast<std::uintptr_t>(tickTimerId);
        return application.PreviewMessage(message) != 0;
    }
    if (event->type() == CommandEvent::EventType() && watched == QCoreApplication::instance()) {
        HandleApplicationCommand(static_cast<CommandEvent*>(event)->Command());
        return true;
    }
    return false;
}

void QtFramework::HandleApplicationCommand(std::uint32_t command) {
    if (command != ID_EXIT) {
        return;
    }
    exitRequested = true;
    if (mainWindow) {
        mainWindow->killTimer(tickTimerId);
        mainWindow->close();
    }
    loopsEnded = true;
    QCoreApplication::exit(0);
}

void QtFramework::DestroyMainWindow() {
    if (mainWindow) {
        delete mainWindow.data();
    }
    tickTimerId = 0;
}

void QtFramework::OnTerminationSignal() {
    if (DrainTerminationSignals(static_cast<int>(signalNotifier->socket()))) {
        PostCommand(ID_EXIT);
    }
}

} // namespace platform
