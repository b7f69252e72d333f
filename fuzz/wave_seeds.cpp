// Writes the seed corpus for fuzz_wave: valid and malformed WAVE images made by the tests'
// builder. Usage: wave_seeds <folder>

#include "testsupport/WaveBuilder.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

using namespace wavetest;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const Bytes nonPcmExtra = {4, 0, 1, 2, 3, 4};
    Bytes fourteen = FormatFields(1, 1, 8000, 8);
    fourteen.resize(14);
    Bytes truncated = SimplePcm(Ramp(64));
    truncated.resize(truncated.size() - 20);
    const Bytes mono8 = Fmt(1, 1, 8000, 8), data8 = Chunk("data", Ramp(8));

    const std::vector<std::pair<std::string, Bytes>> seeds = {
        {"pcm-mono", SimplePcm(Ramp(40))},
        {"pcm-stereo-16", Riff(Fmt(1, 2, 44100, 16) + Chunk("data", Ramp(64)))},
        {"data-first", Riff(Chunk("data", Ramp(9)) + Chunk("fact", {9, 0, 0, 0}) + mono8)},
        {"extra-chunks", Riff(Chunk("LIST", Ramp(5)) + Fmt(1, 1, 22050, 8, {0, 0}) +
                              Chunk("cue ", Ramp(3)) + Chunk("data", Ramp(17)))},
        {"non-pcm", Riff(Fmt(2, 1, 8000, 4, nonPcmExtra) + Chunk("data", Ramp(12)))},
        {"fmt-14", Riff(Chunk("fmt ", fourteen) + data8)},
        {"no-data", Riff(mono8)},
        {"truncated", truncated},
        {"lying-data", Riff(mono8 + Chunk("data", Ramp(8), 0xFFFFFFF0u))},
        {"lying-riff", Riff(mono8 + data8, 0xFFFFFFFFu)},
        {"not-riff", Riff(mono8 + data8, std::nullopt, "RIFX")},
    };
    for (const auto& [name, bytes] : seeds) {
        const std::string path = std::string(argv[1]) + "/" + name + ".wav";
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
