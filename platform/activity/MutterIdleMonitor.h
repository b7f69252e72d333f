#pragma once

#include <QObject>

#include <functional>
#include <string>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace platform {

// GNOME's org.gnome.Mutter.IdleMonitor on the session bus: a user-active watch (fires once, on
// the next input) and an idle watch, through asynchronous calls and signals only.
class MutterIdleMonitor : public QObject {
    Q_OBJECT

public:
    struct Reports {
        std::function<void()> resumed;
        std::function<void()> idled;
        std::function<void(const std::string& why)> unavailable;
        std::function<void(const std::string& why)> failed;
    };

    MutterIdleMonitor(unsigned idleAfterMs, Reports reports);

    void Start();

private slots:
    void WatchFired(uint id);

private:
    // Calls `method` asynchronously; the reply's watch id goes to *id.
    void AddWatch(const char* method, const QVariantList& arguments, uint* id);
    void Fail(const std::string& why);

    unsigned idleAfterMs;
    Reports reports;
    QDBusServiceWatcher* serviceWatcher = nullptr;
    uint idleWatch = 0;
    uint activeWatch = 0;
    bool watching = false;
    bool ended = false;
};

} // namespace platform
