#pragma once

#include <cstdint>
#include <string>

// The application framework as the program's logic sees it: the application object's hooks
// around the message loop, and the services it calls. The windowing layer provides both.
namespace platform {

constexpr std::uint32_t WM_TIMER = 0x0113;
constexpr std::uint32_t ID_SETTINGS = 32771;
constexpr std::uint32_t ID_EXIT = 57665;

// A message about to be dispatched, as the preview hook sees it.
struct Message {
    void* window = nullptr;
    std::uint32_t message = 0;
    std::uintptr_t timerId = 0;
};

// The one application object: the framework runs StartUp before its message loop (the loop runs
// only when it returns non-zero), PreviewMessage on the messages before dispatch (non-zero:
// handled), and ShutDown after the loop, whose result is the exit code.
class Application {
public:
    virtual ~Application() = default;
    virtual int StartUp() = 0;
    virtual int PreviewMessage(const Message& message) = 0;
    virtual int ShutDown(int exitCode) = 0;
};

class Framework {
public:
    virtual ~Framework() = default;

    // Creates the hidden main frame (never shown) and records it as the main window.
    virtual bool CreateMainWindow() = 0;
    // The main window, or null before one is recorded.
    virtual void* MainWindow() const = 0;
    // Starts the main window's chorus timer; its ticks reach PreviewMessage as WM_TIMER.
    virtual void SetTickTimer(unsigned milliseconds) = 0;
    // Modal: warning icon, one OK button; returns when the user has dismissed it. No tick runs
    // while it is open.
    virtual void ShowMessageBox(const std::string& caption, const std::string& text) = 0;
    // Queues a command for the main window. From ID_EXIT on no tick runs any more.
    virtual void PostCommand(std::uint32_t command) = 0;
};

// Turns a table text into the user's language; the windowing layer installs one
// (Services::translate). Without it, or for a text it has no translation of, the text stays as
// written.
using TextTranslator = std::string (*)(const char* context, const std::string& text);
// A string-table entry in the user's language.
std::string LoadText(std::uint32_t stringId);

// Reports a failure the user must see: the string-table entry, captioned with the application
// title, in a message box, and the same text as one line on standard error, followed there by
// `cause` in parentheses when it is given.
void ShowFailureMessage(std::uint32_t stringId, const std::string& cause = {});
// Reports a failure on standard error only, as one line "kirorin: <text>".
void ReportFailureLine(const std::string& text);
// Whether ShowFailureMessage or ReportFailureLine has run in this process: the program then ends
// with exit code 1.
bool FailureReported();
// Posts a command to the main window; nothing happens without a framework (Services::framework).
void PostCommand(std::uint32_t command);

} // namespace platform
