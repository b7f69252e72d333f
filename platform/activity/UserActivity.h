#pragma once

namespace platform {

// Input the desktop reports where the pointer cannot be read (Wayland): any key, button or
// movement the compositor sees.
class UserActivity {
public:
    virtual ~UserActivity() = default;
    // True when the user was active since the previous call; clears that. Never waits: the first
    // call starts watching, and reports arrive through the event loop.
    virtual bool TakeActivity() = 0;
};

// "Active since the last tick", kept from a compositor's pairs of reports: resumed (input after
// a short rest) and idled (a short rest after input). Between the two the user counts as active.
class ActivityFlag {
public:
    void Resumed() { busy = seen = true; }
    void Idled() { busy = false; }
    bool Take() {
        const bool active = seen || busy;
        seen = false;
        return active;
    }

private:
    bool busy = false;
    bool seen = false;
};

} // namespace platform
