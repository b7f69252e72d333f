#include "WaveBytes.h"

namespace soundtest {
namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void Tag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

} // namespace

std::vector<std::uint8_t> WaveFile(const WAVEFORMATEX& format,
                                   const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> file;
    Tag(file, "RIFF");
    Put(file, static_cast<std::uint32_t>(4 + 8 + 16 + 8 + data.size() + data.size() % 2), 4);
    Tag(file, "WAVE");
    Tag(file, "fmt ");
    Put(file, 16, 4);
    Put(file, format.wFormatTag, 2);
    Put(file, format.nChannels, 2);
    Put(file, format.nSamplesPerSec, 4);
    Put(file, format.nAvgBytesPerSec, 4);
    Put(file, format.nBlockAlign, 2);
    Put(file, format.wBitsPerSample, 2);
    Tag(file, "data");
    Put(file, static_cast<std::uint32_t>(data.size()), 4);
    file.insert(file.end(), data.begin(), data.end());
    if (data.size() % 2) {
        file.push_back(0);
    }
    return file;
}

} // namespace soundtest
