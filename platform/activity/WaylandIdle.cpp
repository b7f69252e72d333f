#include "platform/activity/WaylandIdle.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"

#include <QSocketNotifier>

#include <wayland-client.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace platform {
namespace {

WaylandIdle* Self(void* data) {
    return static_cast<WaylandIdle*>(data);
}

const wl_registry_listener registryListener = {
    [](void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version) {
        Self(data)->Global(name, interface, version);
    },
    [](void*, wl_registry*, std::uint32_t) {},
};

const wl_callback_listener syncListener = {
    [](void* data, wl_callback*, std::uint32_t) { Self(data)->GlobalsDone(); },
};

const ext_idle_notification_v1_listener extListener = {
    [](void* data, ext_idle_notification_v1*) { Self(data)->Idled(); },
    [](void* data, ext_idle_notification_v1*) { Self(data)->Resumed(); },
};

const org_kde_kwin_idle_timeout_listener kdeListener = {
    [](void* data, org_kde_kwin_idle_timeout*) { Self(data)->Idled(); },
    [](void* data, org_kde_kwin_idle_timeout*) { Self(data)->Resumed(); },
};

template <typename Proxy> void Destroy(Proxy*& proxy, void (*destroy)(Proxy*)) {
    if (proxy != nullptr) {
        destroy(proxy);
        proxy = nullptr;
    }
}

// Why the connection broke: a protocol error names its interface, anything else its errno.
std::string ConnectionError(wl_display* display, int savedErrno) {
    const wl_interface* interface = nullptr;
    std::uint32_t id = 0;
    if (wl_display_get_error(display) == EPROTO) {
        const std::uint32_t code = wl_display_get_protocol_error(display, &interface, &id);
        return std::string("protocol error ") + std::to_string(code) + " on " +
               (interface ? interface->name : "an unknown object");
    }
    return std::strerror(savedErrno != 0 ? savedErrno : wl_display_get_error(display));
}

} // namespace

WaylandIdle::WaylandIdle(Protocol wantedProtocol, unsigned timeout, Reports reportsTo)
    : wanted(wantedProtocol), timeoutMs(timeout), reports(std::move(reportsTo)) {
}

WaylandIdle::~WaylandIdle() {
    Close();
}

void WaylandIdle::Start() {
    errno = 0;
    display = wl_display_connect(nullptr);
    if (display == nullptr) {
        reports.unavailable(std::string("cannot connect to the Wayland display (") +
                            std::strerror(errno != 0 ? errno : ENOENT) + ")");
        return;
    }
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, this);
    sync = wl_display_sync(display);
    wl_callback_add_listener(sync, &syncListener, this);
    notifier = new QSocketNotifier(wl_display_get_fd(display), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &WaylandIdle::Dispatch);
    Flush();
}

void WaylandIdle::Global(std::uint32_t name, const char* interface, std::uint32_t) {
    const std::string_view offered(interface);
    if (offered == wl_seat_interface.name && seatName == 0) {
        seatName = name;
    } else if (offered == ext_idle_notifier_v1_interface.name) {
        extName = name;
    } else if (offered == org_kde_kwin_idle_interface.name) {
        kdeName = name;
    }
}

void WaylandIdle::GlobalsDone() {
    Destroy(sync, wl_callback_destroy);
    const bool useExt = extName != 0 && wanted != Protocol::KdeIdle;
    const bool useKde = !useExt && kdeName != 0 && wanted != Protocol::ExtIdleNotify;
    if (seatName == 0 || (!useExt && !useKde)) {
        // Closed once libwayland has left the dispatch that called us.
        notOffered = seatName == 0 ? "the Wayland compositor offers no seat"
                                   : "the Wayland compositor offers no idle notification";
        return;
    }
    seat = static_cast<wl_seat*>(wl_registry_bind(registry, seatName, &wl_seat_interface, 1));
    if (useExt) {
        extNotifier = static_cast<ext_idle_notifier_v1*>(
            wl_registry_bind(registry, extName, &ext_idle_notifier_v1_interface, 1));
        extNotification = ext_idle_notifier_v1_get_idle_notification(extNotifier, timeoutMs, seat);
        ext_idle_notification_v1_add_listener(extNotification, &extListener, this);
    } else {
        kdeIdle = static_cast<org_kde_kwin_idle*>(
            wl_registry_bind(registry, kdeName, &org_kde_kwin_idle_interface, 1));
        kdeTimeout = org_kde_kwin_idle_get_idle_timeout(kdeIdle, seat, timeoutMs);
        org_kde_kwin_idle_timeout_add_listener(kdeTimeout, &kdeListener, this);
    }
    watching = true;
}

void WaylandIdle::Dispatch() {
    // The notifier says the socket is readable, so this reads without waiting.
    if (wl_display_dispatch(display) < 0) {
        const std::string why = ConnectionError(display, errno);
        const bool wasWatching = watching;
        Close();
        if (wasWatching) {
            reports.failed("the Wayland connection broke: " + why);
        } else {
            reports.unavailable("the Wayland connection broke: " + why);
        }
        return;
    }
    if (!notOffered.empty()) {
        Close();
        reports.unavailable(notOffered);
        return;
    }
    Flush();
}

void WaylandIdle::Flush() {
    // A full socket buffer (EAGAIN) is left for the next dispatch; the rest breaks the connection
    // and the next read reports it.
    if (display != nullptr) {
        wl_display_flush(display);
    }
}

void WaylandIdle::Close() {
    watching = false;
    if (notifier != nullptr) {
        // Close may run inside the notifier's own signal.
        notifier->setEnabled(false);
        notifier->deleteLater();
        notifier = nullptr;
    }
    if (display == nullptr) {
        return;
    }
    Destroy(extNotification, ext_idle_notification_v1_destroy);
    Destroy(extNotifier, ext_idle_notifier_v1_destroy);
    Destroy(kdeTimeout, org_kde_kwin_idle_timeout_release);
    Destroy(kdeIdle, org_kde_kwin_idle_destroy);
    Destroy(seat, wl_seat_destroy);
    Destroy(sync, wl_callback_destroy);
    Destroy(registry, wl_registry_destroy);
    wl_display_disconnect(display);
    display = nullptr;
}

} // namespace platform
