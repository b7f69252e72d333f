#pragma once

// Builds RIFF WAVE byte images, well formed or not, for the reader's tests and fuzz seeds.

#include <cstdint>
#include <numeric>
#include <optional>
#include <string_view>
#include <vector>

namespace wavetest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// value little-endian in `width` bytes.
inline Bytes Le(std::uint32_t value, int width = 4) {
    Bytes out{std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
              std::uint8_t(value >> 24)};
    out.resize(width);
    return out;
}

inline Bytes Id(std::string_view id) {
    return Bytes(id.begin(), id.end());
}

// A chunk whose header tells its real size (or declaredSize, to lie); odd sizes get a pad.
inline Bytes Chunk(std::string_view id, const Bytes& body,
                   std::optional<std::uint32_t> declaredSize = std::nullopt) {
    return Id(id) + Le(declaredSize.value_or(body.size())) + body + Bytes(body.size() % 2, 0);
}

// The 16 bytes every "fmt " chunk starts with, and the chunk with more bytes after them.
inline Bytes FormatFields(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                          std::uint16_t bits) {
    const std::uint32_t align = channels * bits / 8u;
    return Le(tag, 2) + Le(channels, 2) + Le(rate) + Le(rate * align) + Le(align, 2) + Le(bits, 2);
}
inline Bytes Fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                 const Bytes& after = {}) {
    return Chunk("fmt ", FormatFields(tag, channels, rate, bits) + after);
}

// The RIFF header (its size word telling the truth unless riffSize is given) and the chunks.
inline Bytes Riff(const Bytes& chunks, std::optional<std::uint32_t> riffSize = std::nullopt,
                  std::string_view riffId = "RIFF", std::string_view formType = "WAVE") {
    return Id(riffId) + Le(riffSize.value_or(chunks.size() + 4)) + Id(formType) + chunks;
}

// Samples counting up from first, wrapping at 256: each byte tells where it came from.
inline Bytes Ramp(std::size_t count, std::uint8_t first = 0) {
    Bytes out(count);
    std::iota(out.begin(), out.end(), first);
    return out;
}

// A small valid PCM wave: 8-bit mono at 11025 Hz holding the given samples.
inline Bytes SimplePcm(const Bytes& samples) {
    return Riff(Fmt(1, 1, 11025, 8) + Chunk("data", samples));
}

} // namespace wavetest
