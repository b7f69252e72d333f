#include "app/CChorusApp.h"
#include "platform/Display.h"
#include "platform/QtDesktop.h"
#include "platform/QtFramework.h"
#include "platform/Signals.h"
#include "platform/activity/SessionActivity.h"
#include "ui/CMainFrame.h"

#include <QApplication>

#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char* argv[]) {
    // From here on SIGTERM, SIGINT and SIGHUP wait for the event loop to end the program.
    platform::WatchTerminationSignals();
    std::string reason;
    if (!platform::DisplayReachable(&reason)) {
        std::fprintf(stderr, "kirorin: %s\n", reason.c_str());
        return 1;
    }
    std::unique_ptr<QApplication> app;
    {
        platform::QtStartGuard guard;
        app = std::make_unique<QApplication>(argc, argv);
    }
    // A tray program: closing the settings dialog must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    platform::InstallQtCursor();
    // On Wayland the compositor reports the user's input; destroyed before the application.
    const std::unique_ptr<platform::UserActivity> activity =
        platform::SessionActivity::ForThisSession();
    TheApp().userActivity = activity.get();
    platform::QtFramework framework(TheApp(), [] { return std::make_unique<CMainFrame>(); });
    return framework.Run();
}
