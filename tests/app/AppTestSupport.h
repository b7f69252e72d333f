#pragma once

#include "app/CChorusApp.h"
#include "platform/Clocks.h"
#include "platform/Cursor.h"
#include "platform/Framework.h"
#include "platform/LocalTime.h"
#include "res/Strings.h"
#include "tests/cricket/FakeDirectSound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

// What the tick reads from outside, scripted; each read is logged to check the tick's order. Its
// counter stands still: the crickets' silences never end on their own.
struct Outside : platform::ClockSource {
    static inline platform::LocalTimeOfDay now{12, 0};
    static inline platform::CursorPosition cursor{0, 0};
    static inline std::vector<std::string> log;

    static platform::LocalTimeOfDay Now() { return log.push_back("time"), now; }
    static bool Cursor(platform::CursorPosition* position) {
        log.push_back("cursor");
        return *position = cursor, true;
    }
    static long CursorReads() { return std::count(log.begin(), log.end(), "cursor"); }
    std::int64_t CounterFrequency() override { return 1000000; }
    std::int64_t CounterValue() override { return log.push_back("clock"), 0; }
    std::uint32_t Milliseconds() override { return 0; }
};

// A failure message box and the exit command as FakeFramework records them.
inline std::string Box(std::uint32_t id) {
    return "Kirorin|" + std::string(LoadString(id));
}
inline const std::string kExit = "command " + std::to_string(platform::ID_EXIT);

// Records what the application asks of the framework, in order.
class FakeFramework : public platform::Framework {
public:
    bool CreateMainWindow() override { return calls.push_back("window"), canCreateWindow; }
    void* MainWindow() const override { return calls.empty() ? nullptr : (void*)this; }
    void SetTickTimer(unsigned ms) override { calls.push_back("timer " + std::to_string(ms)); }
    void ShowMessageBox(const std::string& caption, const std::string& text) override {
        calls.push_back(caption + "|" + text);
    }
    void PostCommand(std::uint32_t id) override {
        calls.push_back("command " + std::to_string(id));
    }

    bool canCreateWindow = true;
    std::vector<std::string> calls;
};

class AppTest : public ::testing::Test {
protected:
    // The instance lock and the per-user settings go to a private folder.
    void SetUp() override {
        ASSERT_NE(::mkdtemp(dir.data()), nullptr);
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        platform::SetFramework(&framework);
        platform::SetClockSource(&clock);
        platform::SetLocalTimeFunction(Outside::Now);
        platform::SetCursorFunction(Outside::Cursor);
        FreshApp();
    }
    void TearDown() override {
        app->ShutDown(0);
        app.reset();
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(dir);
        platform::SetCursorFunction(nullptr);
        platform::SetLocalTimeFunction(nullptr);
        platform::SetClockSource(nullptr);
        platform::SetFramework(nullptr);
    }

    // A new application object on the device, as after static construction, and nothing recorded.
    void FreshApp() {
        Outside::now = {12, 0};
        Outside::cursor = {0, 0};
        Outside::log.clear();
        framework.calls.clear();
        app.reset(); // before the buffers it holds go
        sound.buffers.clear();
        app = std::make_unique<CChorusApp>();
        app->device.device = DsPtr<IDirectSound>(&sound);
    }
    int Tick() { return app->PreviewMessage({nullptr, platform::WM_TIMER, 0}); }
    long VoicesHeld() const {
        return std::count_if(std::begin(app->crickets), std::end(app->crickets),
                             [](const CCricket& c) { return bool(c.voice.buffer); });
    }
    // Whether the next tick counts as disturbed, seen through cricket 0 made free to chirp: a
    // disturbed tick hushes it, a calm one plays.
    bool NextTickDisturbed() {
        CCricket& cricket = app->crickets[0];
        cricket.wait = -1.0;
        cricket.interrupted = 0;
        cricket.chirpsLeft = 4;
        cricket.phrasesLeft = 3;
        cricket.voice.Stop();
        Tick();
        return cricket.interrupted != 0;
    }

    FakeClock soundClock; // only the buffers' play ends; the tick reads Outside
    FakeDirectSound sound{soundClock};
    FakeFramework framework;
    Outside clock;
    std::unique_ptr<CChorusApp> app;
    std::string dir = "/tmp/kirorin-app-XXXXXX";
};
