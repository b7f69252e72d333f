#include "app/CChorusApp.h"
#include "app/CommandLine.h"
#include "audio/SdlOutput.h"
#include "platform/Display.h"
#include "platform/QtDesktop.h"
#include "platform/QtFramework.h"
#include "platform/QtTranslation.h"
#include "platform/Services.h"
#include "platform/Signals.h"
#include "platform/activity/SessionActivity.h"
#include "ui/ApplicationIcon.h"
#include "ui/CMainFrame.h"

#include <QApplication>

#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char* argv[]) {
    if (const auto exitCode = HandleCommandLine(argc, argv, stdout, stderr)) {
        return *exitCode;
    }
    audio::NameTheStreamIcon();
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
    platform::InstallTranslation();
    // Every window, the settings dialog and message boxes included, shows the program's icon.
    QApplication::setWindowIcon(ui::ApplicationIcon());
    const platform::Override desktop{{.cursor = platform::QtCursorPos}};
    // On Wayland the compositor reports the user's input; destroyed before the application.
    const std::unique_ptr<platform::UserActivity> activity =
        platform::SessionActivity::ForThisSession();
    TheApp().UseUserActivity(activity.get());
    platform::QtFramework framework(TheApp(), [] { return std::make_unique<CMainFrame>(); });
    return framework.Run();
}
