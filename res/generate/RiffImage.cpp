#include "res/generate/RiffImage.h"

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFFu);
    Put16(out, value >> 16);
}

void PutId(std::vector<std::uint8_t>& out, const char (&id)[5]) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(id[i]));
    }
}

} // namespace

std::vector<std::uint8_t> BuildRiffImage(const RiffLayout& layout,
                                         const std::vector<std::uint8_t>& frames) {
    const std::uint32_t frameCount = static_cast<std::uint32_t>(frames.size());
    const std::uint32_t dataBytes = frameCount * layout.channels;
    const std::uint32_t formatBytes = layout.formatWithExtraCount ? 18 : 16;

    std::vector<std::uint8_t> out;
    PutId(out, "RIFF");
    Put32(out, 0); // filled in below
    PutId(out, "WAVE");

    PutId(out, "fmt ");
    Put32(out, formatBytes);
    Put16(out, 1); // PCM
    Put16(out, layout.channels);
    Put32(out, layout.sampleRate);
    Put32(out, layout.sampleRate * layout.channels);
    Put16(out, layout.channels); // block align: one byte per channel
    Put16(out, 8);
    if (layout.formatWithExtraCount) {
        Put16(out, 0);
    }

    // For PCM the "fact" chunk holds the number of frames.
    PutId(out, "fact");
    Put32(out, 4);
    Put32(out, frameCount);

    PutId(out, "data");
    Put32(out, dataBytes);
    for (std::uint8_t sample : frames) {
        out.insert(out.end(), layout.channels, sample);
    }
    if (dataBytes % 2 != 0) {
        out.push_back(0);
    }

    const std::uint32_t riffSize = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) {
        out[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    }
    return out;
}
