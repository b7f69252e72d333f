#pragma once

#include "platform/Framework.h"
#include "platform/Services.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

// The framework over Qt: the preview hook is an event filter on the application object, the
// main window a hidden widget made by the given factory, commands are CommandEvents.
class QtFramework : public QObject, public Framework {
    Q_OBJECT

public:
    using MainWindowFactory = std::function<std::unique_ptr<QWidget>()>;

    // Installs itself as the framework in use and as the application's event filter; needs the
    // QApplication to exist.
    QtFramework(Application& application, MainWindowFactory makeMainWindow);
    ~QtFramework() override;

    // StartUp, the message loop when it allows, ShutDown; the exit code.
    int Run();

    bool CreateMainWindow() override;
    void* MainWindow() const override;
    void SetTickTimer(unsigned milliseconds) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    void PostCommand(std::uint32_t command) override;

    // Held while a modal loop that must not tick is open (message box, tray menu).
    class TickSuspension {
    public:
        explicit TickSuspension(QtFramework& framework) : framework_(framework) {
            ++framework_.suspensions;
        }
        ~TickSuspension() { --framework_.suspensions; }
        TickSuspension(const TickSuspension&) = delete;
        TickSuspension& operator=(const TickSuspension&) = delete;

    private:
        QtFramework& framework_;
    };

    bool ExitRequested() const { return exitRequested; }
    int TickTimerId() const { return tickTimerId; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HandleApplicationCommand(std::uint32_t command);
    void DestroyMainWindow();
    void OnTerminationSignal();

    Application& application;
    MainWindowFactory makeMainWindow;
    QPointer<QWidget> mainWindow;
    int tickTimerId = 0;
    int suspensions = 0;
    // Set when ID_EXIT is posted or handled: from then on no tick runs.
    bool exitRequested = false;
    // Set once the exit has asked the event loops to end; a loop started later would never end.
    bool loopsEnded = false;
    QSocketNotifier* signalNotifier = nullptr;
    Override installed{{.framework = this}};
};

} // namespace platform
