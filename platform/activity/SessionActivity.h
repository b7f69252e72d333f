#pragma once

#include "platform/activity/UserActivity.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

class WaylandIdle;
class MutterIdleMonitor;

// The first source of user activity this Wayland session offers, in order: ext-idle-notify-v1,
// org_kde_kwin_idle, org.gnome.Mutter.IdleMonitor. KIRORIN_ACTIVITY_SOURCE set to one of those
// names allows only that one (for testing). A source that is missing or fails leaves the user at
// rest, told once on standard error.
class SessionActivity : public UserActivity {
public:
    // The compositor reports idleness this long after the last input; see the .cpp.
    static constexpr unsigned kIdleAfterMs = 100;

    // Nothing outside a Wayland session: there the pointer itself is read.
    static std::unique_ptr<UserActivity> ForThisSession();

    SessionActivity();
    ~SessionActivity() override;

    bool TakeActivity() override;

private:
    enum class Source { Wayland, ExtIdleNotify, KdeIdle, Mutter };

    void TryNext(const std::string& whyNot);
    void Lost(const std::string& why);

    std::vector<Source> candidates;
    std::string missing;
    bool started = false;
    ActivityFlag flag;
    std::unique_ptr<WaylandIdle> wayland;
    std::unique_ptr<MutterIdleMonitor> mutter;
};

} // namespace platform
