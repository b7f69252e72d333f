#pragma once

#include "FakeDirectSound.h"
#include "FakeFramework.h"
#include "app/CChorusApp.h"
#include "platform/Clocks.h"
#include "platform/Cursor.h"
#include "platform/LocalTime.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Everything the tick reads from outside, scripted: local time, cursor, clock. Each read is
// logged so that tests can check the order of the tick's steps.
struct Outside {
    static inline platform::LocalTimeOfDay now{12, 0};
    static inline platform::CursorPosition cursor{0, 0};
    static inline std::int64_t counter = 0;
    static inline std::vector<std::string> log;

    static platform::LocalTimeOfDay Now() {
        log.push_back("time");
        return now;
    }
    static bool Cursor(platform::CursorPosition* position) {
        log.push_back("cursor");
        *position = cursor;
        return true;
    }
    static int CursorReads() {
        int reads = 0;
        for (const std::string& entry : log) {
            reads += entry == "cursor" ? 1 : 0;
        }
        return reads;
    }
};

// A counter at 1 MHz that moves only when a test moves it.
class ScriptedClock : public platform::ClockSource {
public:
    std::int64_t CounterFrequency() override { return 1000000; }
    std::int64_t CounterValue() override {
        Outside::log.push_back("clock");
        return Outside::counter;
    }
    std::uint32_t Milliseconds() override {
        Outside::log.push_back("clock");
        return static_cast<std::uint32_t>(Outside::counter / 1000);
    }
};

// A fresh application object on the fake device, with the outside scripted.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        Outside::now = {12, 0};
        Outside::cursor = {0, 0};
        Outside::counter = 0;
        Outside::log.clear();
        previousClock = platform::SetClockSource(&clock);
        previousTime = platform::SetLocalTimeFunction(Outside::Now);
        previousCursor = platform::SetCursorFunction(Outside::Cursor);
        app = std::make_unique<CChorusApp>();
        sound.AddRef();
        app->device.device = DsPtr<IDirectSound>(&sound);
    }

    void TearDown() override {
        app.reset();
        platform::SetCursorFunction(previousCursor);
        platform::SetLocalTimeFunction(previousTime);
        platform::SetClockSource(previousClock);
    }

    // One tick of the chorus timer.
    int Tick() {
        platform::Message message;
        message.message = platform::WM_TIMER;
        return app->PreviewMessage(message);
    }

    // Buffers the crickets hold now.
    int VoicesHeld() const {
        int held = 0;
        for (const CCricket& cricket : app->crickets) {
            held += cricket.voice.buffer ? 1 : 0;
        }
        return held;
    }

    // Whether the next tick counts as disturbed, seen through cricket 0: made free to chirp,
    // a disturbed tick hushes it and a calm one plays.
    bool NextTickDisturbed() {
        CCricket& cricket = app->crickets[0];
        cricket.wait = -1.0;
        cricket.interrupted = 0;
        cricket.chirpsLeft = 4;
        cricket.phrasesLeft = 3;
        if (cricket.voice.buffer) {
            cricket.voice.buffer->Stop();
        }
        Tick();
        return cricket.interrupted != 0;
    }

    FakeDirectSound sound;
    FakeFramework framework;
    ScriptedClock clock;
    std::unique_ptr<CChorusApp> app;

private:
    platform::ClockSource* previousClock = nullptr;
    platform::LocalTimeFunction previousTime = nullptr;
    platform::CursorFunction previousCursor = nullptr;
};
