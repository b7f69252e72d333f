#pragma once

#include "platform/Framework.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Records what the application asks of the framework; installs itself while it lives.
class FakeFramework : public platform::Framework {
public:
    FakeFramework() : previous(platform::SetFramework(this)) {}
    ~FakeFramework() override { platform::SetFramework(previous); }
    FakeFramework(const FakeFramework&) = delete;
    FakeFramework& operator=(const FakeFramework&) = delete;

    bool CreateMainWindow() override {
        ++windowsCreated;
        return canCreateWindow;
    }
    void* MainWindow() const override { return windowsCreated > 0 ? (void*)this : nullptr; }
    void SetTickTimer(unsigned milliseconds) override { timerPeriods.push_back(milliseconds); }
    void ShowMessageBox(const std::string& caption, const std::string& text) override {
        boxes.emplace_back(caption, text);
    }
    void PostCommand(std::uint32_t command) override { commands.push_back(command); }

    bool canCreateWindow = true;
    int windowsCreated = 0;
    std::vector<unsigned> timerPeriods;
    std::vector<std::pair<std::string, std::string>> boxes;
    std::vector<std::uint32_t> commands;

private:
    platform::Framework* previous;
};
