// Feeds arbitrary bytes to the WAVE reader: it must never read outside its copy, and what it
// reports must hang together.

#include "sound/CWaveResource.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CWaveResource wave;
    const auto length = static_cast<std::uint32_t>(size);
    if (!wave.OpenMemory(data, length)) {
        // Reading from a failed open delivers nothing beyond the copy either.
        std::uint8_t sink[64];
        std::uint32_t delivered = 0;
        if (wave.Read(sink, sizeof sink, &delivered)) {
            Check(delivered <= sizeof sink);
        }
        return 0;
    }
    Check(wave.format != nullptr);
    if (wave.format->wFormatTag == 1) {
        Check(wave.format->cbSize == 0);
    }

    // Read everything in pieces whose size depends on the input, then once more after a rewind.
    const std::uint32_t piece = 1 + (size > 0 ? data[size - 1] : 0) * 7u;
    std::vector<std::uint8_t> buffer(piece);
    for (int round = 0; round < 2; ++round) {
        Check(wave.Rewind() == 1);
        std::uint64_t total = 0;
        for (;;) {
            std::uint32_t delivered = 0;
            const int ok = wave.Read(buffer.data(), piece, &delivered);
            Check(delivered <= piece);
            total += delivered;
            if (!ok || delivered == 0) {
                break;
            }
        }
        Check(total <= wave.dataSize);
        Check(total <= length);
    }
    Check(wave.Close() == 1);
    Check(wave.format == nullptr);
    return 0;
}
