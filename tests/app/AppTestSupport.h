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

// What the tick reads from outside, scripted; each read is logged to check the tick's order
// ("input": the pointer or the desktop's report of input). Its clock moves only when told to, so
// the crickets' silences and chirps end only then. The local time stands at noon.
struct Outside : FakeClock, platform::UserActivity {
    static inline platform::CursorPosition cursor{0, 0};
    static inline Log log;
    platform::ActivityFlag reported;

    static auto Now() { return log.push_back("time"), platform::LocalTimeOfDay{12, 0}; }
    static bool Cursor(platform::CursorPosition* position) {
        return log.push_back("input"), *position = cursor, true;
    }
    bool TakeActivity() override { return log.push_back("input"), reported.Take(); }
    std::int64_t CounterValue() override {
        return log.push_back("clock"), FakeClock::CounterValue();
    }
};

// Records what the application asks of the framework, in order; of a message box, its text.
struct FakeFramework : platform::Framework {
    bool CreateMainWindow() override { return calls.push_back("window"), true; }
    void* MainWindow() const override { return nullptr; }
    void SetTickTimer(unsigned ms) override { calls.push_back("timer " + std::to_string(ms)); }
    void ShowMessageBox(const std::string&, const std::string& t) override { calls.push_back(t); }
    void PostCommand(std::uint32_t id) override { calls.push_back("cmd " + std::to_string(id)); }

    Log calls;
};

// The application over the fakes, started up; the instance lock and the per-user settings go to
// a private folder.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(::mkdtemp(dir.data()), nullptr);
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        current = &sound;
        FreshApp();
    }
    void TearDown() override { app.reset(), std::filesystem::remove_all(dir); }

    // A new application object, as after static construction, started up with the default
    // settings, and nothing recorded.
    void FreshApp() {
        app.reset(); // before the buffers it holds go
        sound.buffers.clear();
        Outside::cursor = {0, 0};
        app.reset(new CChorusApp, [](CChorusApp* a) { a->ShutDown(0), delete a; });
        ASSERT_EQ(app->StartUp(), 1);
        app->settings = ChorusSettings{};
        app->UseUserActivity(&outside);
        Outside::log.clear();
        framework.calls.clear();
    }
    int Tick() { return app->PreviewMessage({nullptr, platform::WM_TIMER, 0}); }
    long VoicesHeld() const {
        return std::ranges::count_if(sound.buffers, [](const auto& b) { return !b->released; });
    }
    // After every silence and chirp has ended, the ticks before cricket 0 chirps or starts a new
    // song: the disturbed ticks before the first calm one (-1: none within limit). The pointer
    // moves on the first `moving` of them.
    int DisturbedRun(int moving = 0, int limit = 2000) {
        outside.Step(10 * FakeClock::kNanosecondsPerSecond);
        const FakeBuffer& buffer = *sound.buffers.at(0);
        const auto events = [&] { return buffer.playTimes.size() + buffer.volumeCalls.size(); };
        const std::size_t before = events();
        for (int run = 0; run < limit; ++run) {
            Outside::cursor.x += run < moving;
            if (Tick(), events() != before) {
                return run;
            }
        }
        return -1;
    }

    static inline FakeDirectSound* current = nullptr;
    Outside outside; // the one clock, the tick's and the buffers', and the desktop's reports
    FakeDirectSound sound{outside};
    FakeFramework framework;
    platform::Override fakes{{.cursor = Outside::Cursor,
                              .localTime = Outside::Now,
                              .createSoundDevice = [](const void*, IDirectSound** out,
                                                      void*) { return *out = current, DS_OK; },
                              .framework = &framework}};
    std::shared_ptr<CChorusApp> app;
    std::string dir = "/tmp/kirorin-app-XXXXXX";
};
