#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

class QSocketNotifier;
struct wl_display;
struct wl_registry;
struct wl_seat;
struct wl_callback;
struct ext_idle_notifier_v1;
struct ext_idle_notification_v1;
struct org_kde_kwin_idle;
struct org_kde_kwin_idle_timeout;

namespace platform {

// The compositor's idle notifications on a Wayland connection of our own: ext-idle-notify-v1,
// else org_kde_kwin_idle. Everything arrives through the event loop; nothing here blocks.
class WaylandIdle : public QObject {
    Q_OBJECT

public:
    enum class Protocol { Any, ExtIdleNotify, KdeIdle };
    struct Reports {
        std::function<void()> resumed;
        std::function<void()> idled;
        // Neither protocol is offered (or no compositor is there): another source may serve.
        std::function<void(const std::string& why)> unavailable;
        // The connection failed after the source was set up.
        std::function<void(const std::string& why)> failed;
    };

    WaylandIdle(Protocol wanted, unsigned timeoutMs, Reports reports);
    ~WaylandIdle() override;
    WaylandIdle(const WaylandIdle&) = delete;
    WaylandIdle& operator=(const WaylandIdle&) = delete;

    // Connects and asks for the compositor's globals; `unavailable` at once when there is no
    // Wayland display to connect to.
    void Start();

    // For the protocol's C listeners.
    void Global(std::uint32_t name, const char* interface, std::uint32_t version);
    void GlobalsDone();
    void Resumed() { reports.resumed(); }
    void Idled() { reports.idled(); }

private:
    void Dispatch();
    void Flush();
    void Close();

    Protocol wanted;
    unsigned timeoutMs;
    Reports reports;
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_callback* sync = nullptr;
    wl_seat* seat = nullptr;
    std::uint32_t seatName = 0, extName = 0, kdeName = 0;
    ext_idle_notifier_v1* extNotifier = nullptr;
    ext_idle_notification_v1* extNotification = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout = nullptr;
    QSocketNotifier* notifier = nullptr;
    bool watching = false;
    std::string notOffered;
};

} // namespace platform
