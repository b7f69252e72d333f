#include "WaveBytes.h"

#include <cstring>

namespace soundtest {
namespace {

// Writes little-endian fields at a moving offset into a file sized beforehand.
struct Writer {
    std::uint8_t* at;
    void Tag(const char* tag) {
        std::memcpy(at, tag, 4);
        at += 4;
    }
    void Put(std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            *at++ = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
};

} // namespace

std::vector<std::uint8_t> WaveFile(const WAVEFORMATEX& format,
                                   const std::vector<std::uint8_t>& data) {
    const std::size_t padded = data.size() + data.size() % 2;
    std::vector<std::uint8_t> file(12 + 8 + 16 + 8 + padded, 0);
    Writer out{file.data()};
    out.Tag("RIFF");
    out.Put(static_cast<std::uint32_t>(file.size() - 8), 4);
    out.Tag("WAVE");
    out.Tag("fmt ");
    out.Put(16, 4);
    out.Put(format.wFormatTag, 2);
    out.Put(format.nChannels, 2);
    out.Put(format.nSamplesPerSec, 4);
    out.Put(format.nAvgBytesPerSec, 4);
    out.Put(format.nBlockAlign, 2);
    out.Put(format.wBitsPerSample, 2);
    out.Tag("data");
    out.Put(static_cast<std::uint32_t>(data.size()), 4);
    if (!data.empty()) {
        std::memcpy(out.at, data.data(), data.size());
    }
    return file;
}

} // namespace soundtest
