#pragma once

#include "cricket/CCricket.h"
#include "platform/Framework.h"
#include "platform/activity/UserActivity.h"
#include "settings/ChorusSettings.h"
#include "sound/CSoundDevice.h"
#include "sound/CWaveResource.h"

#include <cstdint>
#include <string>

// The application object: one static instance for the whole run. Members are destroyed in
// reverse order, so every cricket's buffer is released before the device that made it.
class CChorusApp : public platform::Application {
public:
    static constexpr std::uint16_t kChirpResource = 129;
    static constexpr std::uint16_t kSecondResource = 130;
    static constexpr const char* kInstanceLockName =
        "TamberleApplication_C3650C37_E207_4D00_AD0E_FDF127E49E57_";
    static constexpr const char* kSettingsFileName = "tamberle.sav";
    static constexpr unsigned kTickMilliseconds = 10;
    static constexpr std::int64_t kFirstQuietTicks = 600;

    CChorusApp() = default;
    CChorusApp(const CChorusApp&) = delete;
    CChorusApp& operator=(const CChorusApp&) = delete;

    int StartUp() override;
    // A tick for the main window's chorus timer; everything else passes.
    int PreviewMessage(const platform::Message& message) override;
    int ShutDown(int exitCode) override;

    // 1 when the crickets may tick now; starts or stops the chorus by the activity window.
    int CheckActivityWindow();
    // 1 when the chorus runs; 0 after a failure, which has been reported and the exit posted.
    int StartChorus();
    void StopChorus();
    // 1 when the settings file was accepted; otherwise the settings stay as they were.
    int LoadSettings();
    // 1 when all 36 bytes were written; otherwise the failure is reported and the exit posted.
    int SaveSettings();

    // The live settings; the crickets read the volume from here at every new song.
    ChorusSettings settings;
    // Input the desktop reports where the pointer cannot be read (Wayland); none on X11.
    void UseUserActivity(platform::UserActivity* source) { userActivity = source; }

private:
    void Tick();
    int SampleDisturbance();
    bool CursorMoved();

    CSoundDevice device;
    CWaveResource chirpSource;
    CWaveResource secondSource;
    CCricket crickets[kMaxCricketCount];
    std::int32_t lastCursorX = 0;
    std::int32_t lastCursorY = 0;
    // 64-bit: wariness × 300 does not fit 32 bits for every value the file may hold.
    std::int64_t quietCountdown = kFirstQuietTicks;
    std::int32_t chorusActive = 0;
    platform::UserActivity* userActivity = nullptr;
    std::string settingsPath;
    // Where the settings go when settingsPath cannot take them (a program folder the user may not
    // write); empty: nowhere else.
    std::string userSettingsPath;
};

// The settings file beside the executable at executablePath; empty when that path has no folder.
std::string SettingsPathBeside(const std::string& executablePath);
// The settings file in the user's configuration folder; empty when there is none.
std::string UserSettingsPath(const std::string& configFolder);

// The one application object.
CChorusApp& TheApp();
