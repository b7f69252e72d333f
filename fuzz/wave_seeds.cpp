// Writes the seed corpus for fuzz_wave: valid and malformed WAVE images made by the tests'
// builder. Usage: wave_seeds <folder>

#include "tests/wave/WaveBuilder.h"

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
    Bytes nonPcmExtra = {4, 0, 1, 2, 3, 4};
    Bytes fourteen = FormatFields(1, 1, 8000, 8);
    fourteen.resize(14);
    Bytes truncated = SimplePcm(Ramp(64));
    truncated.resize(truncated.size() - 20);

    const std::vector<std::pair<std::string, Bytes>> seeds = {
        {"pcm-mono", SimplePcm(Ramp(40))},
        {"pcm-stereo-16", WaveBuilder().Format(1, 2, 44100, 16).Data(Ramp(64)).Build()},
        {"data-first",
         WaveBuilder().Data(Ramp(9)).Chunk("fact", {9, 0, 0, 0}).Format(1, 1, 8000, 8).Build()},
        {"extra-chunks", WaveBuilder()
                             .Chunk("LIST", Ramp(5))
                             .Format(1, 1, 22050, 8, {0, 0})
                             .Chunk("cue ", Ramp(3))
                             .Data(Ramp(17))
                             .Build()},
        {"non-pcm", WaveBuilder().Format(2, 1, 8000, 4, nonPcmExtra).Data(Ramp(12)).Build()},
        {"fmt-14", WaveBuilder().Chunk("fmt ", fourteen).Data(Ramp(8)).Build()},
        {"no-data", WaveBuilder().Format(1, 1, 8000, 8).Build()},
        {"truncated", truncated},
        {"lying-data",
         WaveBuilder().Format(1, 1, 8000, 8).Chunk("data", Ramp(8), 0xFFFFFFF0u).Build()},
        {"lying-riff",
         WaveBuilder().Format(1, 1, 8000, 8).Data(Ramp(8)).RiffSize(0xFFFFFFFFu).Build()},
        {"not-riff", WaveBuilder().Format(1, 1, 8000, 8).Data(Ramp(8)).Build("RIFX")},
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
