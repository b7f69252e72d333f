#include "platform/activity/SessionActivity.h"

#include "platform/activity/MutterIdleMonitor.h"
#include "platform/activity/WaylandIdle.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

// Why 100 ms: the compositor says "idled" that long after the last input and "resumed" at the
// next one, and the user counts as active in between. A short delay barely lengthens the quiet
// time (a thirtieth of the shortest, 3 s), yet a steady stream of input (pointer motion, key
// repeat, typing) is one pair per pause, not one report per input event.

namespace platform {
namespace {

void Tell(const std::string& line) {
    std::fprintf(stderr, "kirorin: %s\n", line.c_str());
    std::fflush(stderr);
}

} // namespace

std::unique_ptr<UserActivity> SessionActivity::ForThisSession() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        return nullptr;
    }
    return std::make_unique<SessionActivity>();
}

SessionActivity::SessionActivity() {
    const char* forced = std::getenv("KIRORIN_ACTIVITY_SOURCE");
    const std::string_view only = forced != nullptr ? forced : "";
    if (only.empty()) {
        candidates = {Source::Wayland, Source::Mutter};
    } else if (only == "ext-idle-notify-v1") {
        candidates = {Source::ExtIdleNotify};
    } else if (only == "org_kde_kwin_idle") {
        candidates = {Source::KdeIdle};
    } else if (only == "org.gnome.Mutter.IdleMonitor") {
        candidates = {Source::Mutter};
    } else {
        missing = "KIRORIN_ACTIVITY_SOURCE=" + std::string(only) +
                  " names no source (ext-idle-notify-v1, org_kde_kwin_idle, "
                  "org.gnome.Mutter.IdleMonitor)";
    }
}

SessionActivity::~SessionActivity() = default;

bool SessionActivity::TakeActivity() {
    if (!started) {
        started = true;
        TryNext({});
    }
    return flag.Take();
}

void SessionActivity::TryNext(const std::string& whyNot) {
    if (!whyNot.empty()) {
        missing += (missing.empty() ? "" : "; ") + whyNot;
    }
    if (candidates.empty()) {
        Tell("no user activity from this desktop, the crickets ignore input: " + missing);
        return;
    }
    const Source next = candidates.front();
    candidates.erase(candidates.begin());
    auto resumed = [this] { flag.Resumed(); };
    auto idled = [this] { flag.Idled(); };
    auto unavailable = [this](const std::string& why) { TryNext(why); };
    auto failed = [this](const std::string& why) { Lost(why); };
    if (next == Source::Mutter) {
        mutter = std::make_unique<MutterIdleMonitor>(
            kIdleAfterMs, MutterIdleMonitor::Reports{resumed, idled, unavailable, failed});
        mutter->Start();
        return;
    }
    const WaylandIdle::Protocol protocol =
        next == Source::ExtIdleNotify ? WaylandIdle::Protocol::ExtIdleNotify
        : next == Source::KdeIdle     ? WaylandIdle::Protocol::KdeIdle
                                      : WaylandIdle::Protocol::Any;
    wayland = std::make_unique<WaylandIdle>(
        protocol, kIdleAfterMs, WaylandIdle::Reports{resumed, idled, unavailable, failed});
    wayland->Start();
}

void SessionActivity::Lost(const std::string& why) {
    flag.Idled();
    Tell("user activity no longer reported, the crickets ignore input: " + why);
}

} // namespace platform
