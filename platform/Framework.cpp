#include "platform/Framework.h"

#include "res/Strings.h"

#include <cstdio>

namespace platform {
namespace {

Framework* current = nullptr;
bool failureReported = false;
TextTranslator textTranslator = nullptr;

} // namespace

Framework* CurrentFramework() {
    return current;
}

Framework* SetFramework(Framework* framework) {
    Framework* previous = current;
    current = framework;
    return previous;
}

void SetTextTranslator(TextTranslator translator) {
    textTranslator = translator;
}

std::string LoadText(std::uint32_t stringId) {
    std::string text(LoadString(stringId));
    return textTranslator != nullptr ? textTranslator(stringTableContext, text) : text;
}

void ShowFailureMessage(std::uint32_t stringId, const std::string& cause) {
    failureReported = true;
    const std::string caption = LoadText(kIdsAppTitle);
    const std::string text = LoadText(stringId);
    std::string line = text;
    for (char& c : line) {
        if (c == '\n') {
            c = ' ';
        }
    }
    if (!cause.empty()) {
        line += " (" + cause + ")";
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), line.c_str());
    std::fflush(stderr);
    if (current != nullptr) {
        current->ShowMessageBox(caption, text);
    }
}

void ReportFailureLine(const std::string& text) {
    failureReported = true;
    std::fprintf(stderr, "kirorin: %s\n", text.c_str());
    std::fflush(stderr);
}

bool FailureReported() {
    return failureReported;
}

void PostCommand(std::uint32_t command) {
    if (current != nullptr) {
        current->PostCommand(command);
    }
}

} // namespace platform
