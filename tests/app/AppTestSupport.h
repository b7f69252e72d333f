#pragma once

#include "app/CChorusApp.h"
#include "platform/Services.h"
#include "res/Strings.h"
#include "testsupport/FakeDirectSound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

using Log = std::vector<std::string>;

// What the tick reads from outside, scripted; each read is logged to check the tick's order. Its
// clock moves only when told to, so the crickets' silences and chirps end only then.
struct Outside : FakeClock {
    static inline platform::LocalTimeOfDay now{12, 0};
    static inline platform::CursorPosition cursor{0, 0};
    static inline Log log;

    static platform::LocalTimeOfDay Now() { return log.push_back("time"), now; }
    static bool Cursor(platform::CursorPosition* position) {
        return log.push_back("cursor"), *position = cursor, true;
    }
    std::int64_t CounterValue() override {
        return log.push_back("clock"), FakeClock::CounterValue();
    }
};

// A failure message box as FakeFramework records it.
inline std::string Box(std::uint32_t id) {
    return "Kirorin|" + std::string(LoadString(id));
}

// Records what the application asks of the framework, in order.
struct FakeFramework : platform::Framework {
    bool CreateMainWindow() override { return calls.push_back("window"), canCreateWindow; }
    void* MainWindow() const override { return nullptr; }
    void SetTickTimer(unsigned ms) override { calls.push_back("timer " + std::to_string(ms)); }
    void ShowMessageBox(const std::string& caption, const std::string& text) override {
        calls.push_back(caption + "|" + text);
    }
    void PostCommand(std::uint32_t id) override {
        calls.push_back("command " + std::to_string(id));
    }

    bool canCreateWindow = true;
    Log calls;
};

// The application over the fakes; the instance lock and the per-user settings go to a private
// folder.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(::mkdtemp(dir.data()), nullptr);
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        current = &sound;
        FreshApp();
    }
    void TearDown() override {
        app.reset();
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(dir);
    }

    // A new application object, as after static construction, started up with the default
    // settings, and nothing recorded.
    void FreshApp(bool startUp = true) {
        app.reset(); // before the buffers it holds go
        sound.buffers.clear();
        Outside::now = {12, 0};
        Outside::cursor = {0, 0};
        app.reset(new CChorusApp, [](CChorusApp* a) { a->ShutDown(0), delete a; });
        if (startUp) {
            ASSERT_EQ(app->StartUp(), 1);
            app->settings = ChorusSettings{};
        }
        Outside::log.clear();
        framework.calls.clear();
    }
    int Tick() { return app->PreviewMessage({nullptr, platform::WM_TIMER, 0}); }
    long VoicesHeld() const {
        return std::count_if(sound.buffers.begin(), sound.buffers.end(),
                             [](const auto& buffer) { return !buffer->released; });
    }
    // After every silence and chirp has ended, the ticks before cricket 0 chirps or starts a new
    // song: the disturbed ticks before the first calm one (-1: none within limit). The cursor
    // moves on the first `moving` of them.
    int DisturbedRun(int moving = 0, int limit = 2000) {
        clock.Step(10 * FakeClock::kNanosecondsPerSecond);
        const FakeBuffer& buffer = *sound.buffers.at(0);
        const auto events = [&] { return buffer.playTimes.size() + buffer.volumeCalls.size(); };
        const std::size_t before = events();
        for (int run = 0; run < limit; ++run) {
            if (run < moving) {
                Outside::cursor = {301 + run, 200 - run};
            }
            Tick();
            if (events() != before) {
                return run;
            }
        }
        return -1;
    }

    static inline FakeDirectSound* current = nullptr;
    Outside clock; // the one clock: the tick's and the buffers'
    FakeDirectSound sound{clock};
    FakeFramework framework;
    platform::Override fakes{{.cursor = Outside::Cursor,
                              .localTime = Outside::Now,
                              .createSoundDevice = [](const void*, IDirectSound** out,
                                                      void*) { return *out = current, DS_OK; },
                              .framework = &framework}};
    std::shared_ptr<CChorusApp> app;
    std::string dir = "/tmp/kirorin-app-XXXXXX";
};
