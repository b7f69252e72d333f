#include "platform/activity/MutterIdleMonitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace platform {
namespace {

const QString kService = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString kPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString kInterface = QStringLiteral("org.gnome.Mutter.IdleMonitor");

} // namespace

MutterIdleMonitor::MutterIdleMonitor(unsigned idleAfter, Reports reportsTo)
    : idleAfterMs(idleAfter), reports(std::move(reportsTo)) {
}

void MutterIdleMonitor::Start() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        ended = true;
        reports.unavailable("no session bus (" + bus.lastError().message().toStdString() + ")");
        return;
    }
    bus.connect(kService, kPath, kInterface, QStringLiteral("WatchFired"), this,
                SLOT(WatchFired(uint)));
    serviceWatcher =
        new QDBusServiceWatcher(kService, bus, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(serviceWatcher, &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { Fail(kService.toStdString() + " left the session bus"); });
    AddWatch("AddIdleWatch", {QVariant::fromValue(qulonglong{idleAfterMs})}, &idleWatch);
    AddWatch("AddUserActiveWatch", {}, &activeWatch);
}

void MutterIdleMonitor::AddWatch(const char* method, const QVariantList& arguments, uint* id) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QString::fromLatin1(method));
    call.setArguments(arguments);
    auto* pending =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, pending, method, id] {
        pending->deleteLater();
        const QDBusPendingReply<uint> reply = *pending;
        if (ended) {
            return;
        }
        if (reply.isError()) {
            const std::string why =
                std::string(method) + " failed: " + reply.error().message().toStdString();
            if (watching) {
                Fail(why);
            } else {
                ended = true;
                reports.unavailable(why);
            }
            return;
        }
        *id = reply.value();
        watching = true;
    });
}

void MutterIdleMonitor::WatchFired(uint id) {
    if (ended || id == 0) {
        return;
    }
    if (id == activeWatch) {
        // A user-active watch fires once; the next is set when the user rests again.
        activeWatch = 0;
        reports.resumed();
    } else if (id == idleWatch) {
        reports.idled();
        if (activeWatch == 0) {
            AddWatch("AddUserActiveWatch", {}, &activeWatch);
        }
    }
}

void MutterIdleMonitor::Fail(const std::string& why) {
    if (ended) {
        return;
    }
    ended = true;
    reports.failed(why);
}

} // namespace platform
