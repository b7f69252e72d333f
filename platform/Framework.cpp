#include "platform/Framework.h"

#include "platform/Services.h"
#include "res/Strings.h"

#include <cstdio>

namespace platform {
namespace {

bool failureReported = false;

} // namespace

std::string LoadText(std::uint32_t stringId) {
    std::string text(LoadString(stringId));
    const TextTranslator translate = Installed().translate;
    return translate != nullptr ? translate(stringTableContext, text) : text;
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
    if (Framework* framework = Installed().framework) {
        framework->ShowMessageBox(caption, text);
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
    if (Framework* framework = Installed().framework) {
        framework->PostCommand(command);
    }
}

} // namespace platform
