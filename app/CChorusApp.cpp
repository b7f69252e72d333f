#include "app/CChorusApp.h"

#include "platform/ConfigFolder.h"
#include "platform/Cursor.h"
#include "platform/ExecutablePath.h"
#include "platform/File.h"
#include "platform/InstanceLock.h"
#include "platform/LocalTime.h"
#include "platform/Services.h"
#include "res/Strings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsMath.h"

#include <cerrno>
#include <cstring>

namespace {

// Held from StartUp to ShutDown; a second instance finds it taken.
platform::InstanceLock instanceMutex;

CChorusApp theApp;

} // namespace

CChorusApp& TheApp() {
    return theApp;
}

std::string SettingsPathBeside(const std::string& executablePath) {
    const std::string::size_type slash = executablePath.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return executablePath.substr(0, slash + 1) + CChorusApp::kSettingsFileName;
}

std::string UserSettingsPath(const std::string& configFolder) {
    if (configFolder.empty()) {
        return {};
    }
    return configFolder + "/kirorin/" + CChorusApp::kSettingsFileName;
}

int CChorusApp::StartUp() {
    // Nothing shown and nothing touched when another instance runs; a lock that cannot be taken
    // at all is no other instance, and says so.
    if (!instanceMutex.Acquire(kInstanceLockName)) {
        if (!instanceMutex.Failure().empty()) {
            platform::ReportFailureLine("cannot take the instance lock " + instanceMutex.Failure());
        }
        return 0;
    }
    settingsPath = SettingsPathBeside(platform::ExecutablePath());
    userSettingsPath = UserSettingsPath(platform::UserConfigFolder());
    // The per-user file serves when the program's folder has none (a system install), or one
    // that cannot be written: the per-user file then holds the later settings.
    if (!userSettingsPath.empty() && platform::Exists(userSettingsPath) &&
        (!platform::Exists(settingsPath) || !platform::Writable(settingsPath))) {
        settingsPath = userSettingsPath;
    }

    platform::Framework* framework = platform::Installed().framework;
    if (framework == nullptr || !framework->CreateMainWindow()) {
        platform::ShowFailureMessage(kIdsMainWindowFailed);
        return 0;
    }
    framework->SetTickTimer(kTickMilliseconds);

    if (!device.Open(static_cast<HWND>(framework->MainWindow()), DSSCL_PRIORITY, 1, 22050, 16)) {
        platform::ShowFailureMessage(kIdsSoundInitFailed);
        return 0;
    }
    LoadSettings();
    // Also replaces a missing or foreign file with a valid one; a failure has posted the exit.
    SaveSettings();
    return 1;
}

int CChorusApp::ShutDown(int exitCode) {
    instanceMutex.Release();
    return exitCode;
}

int CChorusApp::PreviewMessage(const platform::Message& message) {
    if (message.message != platform::WM_TIMER) {
        return 0;
    }
    Tick();
    return 1;
}

void CChorusApp::Tick() {
    if (!CheckActivityWindow()) {
        return;
    }
    const int disturbed = SampleDisturbance();
    for (std::int32_t i = 0; i < CricketsToUse(settings); ++i) {
        crickets[i].Tick(disturbed);
    }
}

int CChorusApp::SampleDisturbance() {
    if (settings.wariness == 0) {
        return 0;
    }
    // Both are asked on every tick: the desktop's report is cleared as it is read.
    const bool moved = CursorMoved();
    const bool reported = userActivity != nullptr && userActivity->TakeActivity();
    if (moved || reported) {
        quietCountdown = QuietTicks(settings);
        return 1;
    }
    if (quietCountdown > 0) {
        --quietCountdown;
        return 1;
    }
    return 0;
}

bool CChorusApp::CursorMoved() {
    // A position that cannot be read counts as a pointer at rest.
    platform::CursorPosition position{lastCursorX, lastCursorY};
    platform::GetCursorPos(&position);
    if (position.x == lastCursorX && position.y == lastCursorY) {
        return false;
    }
    lastCursorX = position.x;
    lastCursorY = position.y;
    return true;
}

int CChorusApp::CheckActivityWindow() {
    const platform::LocalTimeOfDay now = platform::LocalTimeNow();
    if (!InsideActivityWindow(settings, MinuteOfDay(now.hour, now.minute))) {
        if (chorusActive != 0) {
            StopChorus();
        }
        return 0;
    }
    return StartChorus() != 0 ? 1 : 0;
}

int CChorusApp::StartChorus() {
    if (chorusActive != 0) {
        return 1;
    }
    bool started = chirpSource.OpenResource(kChirpResource) != 0 &&
                   secondSource.OpenResource(kSecondResource) != 0;
    for (std::int32_t i = 0; started && i < CricketsToUse(settings); ++i) {
        started = crickets[i].Attach(device, chirpSource) != 0;
    }
    if (!started) {
        // What was opened or attached so far stays until the program ends.
        platform::ShowFailureMessage(kIdsSoundSetupFailed);
        platform::PostCommand(platform::ID_EXIT);
        return 0;
    }
    chorusActive = 1;
    return 1;
}

void CChorusApp::StopChorus() {
    for (CCricket& cricket : crickets) {
        cricket.voice.Stop();
        cricket.voice.buffer.reset();
    }
    chirpSource.Close();
    secondSource.Close();
    chorusActive = 0;
}

int CChorusApp::LoadSettings() {
    return LoadSettingsFile(settingsPath, settings);
}

int CChorusApp::SaveSettings() {
    std::string failure;
    if (SaveSettingsFile(settingsPath, settings, &failure) != 0) {
        return 1;
    }
    // The program's folder refused the file: the per-user store takes it from now on.
    if (!userSettingsPath.empty() && settingsPath != userSettingsPath) {
        const std::string folder = userSettingsPath.substr(0, userSettingsPath.rfind('/'));
        std::string userFailure;
        if (platform::MakeFolders(folder) != 0) {
            userFailure = folder + ": " + std::strerror(errno);
        } else if (SaveSettingsFile(userSettingsPath, settings, &userFailure) != 0) {
            settingsPath = userSettingsPath;
            return 1;
        }
        failure += "; " + userFailure;
    }
    platform::ShowFailureMessage(kIdsSettingsSaveFailed, failure);
    platform::PostCommand(platform::ID_EXIT);
    return 0;
}
