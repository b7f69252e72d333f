#include "listen_options.h"

#include <charconv>
#include <cstring>

const char* const kListenUsage =
    "usage: kirorin-listen [--frequency HZ] [--volume HUNDREDTHS_DB] [--pan -10000..10000]\n"
    "                      [--out FILE.wav]\n"
    "Plays the chirp (WAVE 129) once through the sound card, or renders it into a 48000 Hz\n"
    "stereo WAV file with --out.\n";

namespace {

template <class T> bool ParseNumber(const char* text, T& value) {
    const char* end = text + std::strlen(text);
    const auto [rest, failure] = std::from_chars(text, end, value);
    return failure == std::errc() && rest == end && rest != text;
}

} // namespace

bool ParseListenOptions(int argc, char** argv, ListenOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            error = "missing value after " + name;
            return false;
        }
        const char* value = argv[++i];
        bool parsed = false;
        if (name == "--frequency") {
            parsed = ParseNumber(value, options.frequency);
        } else if (name == "--volume") {
            parsed = ParseNumber(value, options.volume);
        } else if (name == "--pan") {
            parsed = ParseNumber(value, options.pan);
        } else if (name == "--out") {
            options.outFile = value;
            parsed = !options.outFile.empty();
        } else {
            error = "unknown option " + name;
            return false;
        }
        if (!parsed) {
            error = "bad value for " + name + ": " + value;
            return false;
        }
    }
    return true;
}
