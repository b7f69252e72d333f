#pragma once

// Builds RIFF WAVE byte images, well formed or not, for the reader's tests and fuzz seeds.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace wavetest {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void Put32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline void PutId(Bytes& out, std::string_view id) {
    for (std::size_t i = 0; i < 4; ++i) {
        out.push_back(i < id.size() ? static_cast<std::uint8_t>(id[i]) : ' ');
    }
}

// The 16 bytes every "fmt " chunk starts with.
inline Bytes FormatFields(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                          std::uint16_t bits) {
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    Bytes out;
    Put16(out, tag);
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, rate * align);
    Put16(out, align);
    Put16(out, bits);
    return out;
}

class WaveBuilder {
public:
    // A chunk whose header tells its real size (or declaredSize, to lie); odd sizes get a pad.
    WaveBuilder& Chunk(std::string_view id, const Bytes& body,
                       std::optional<std::uint32_t> declaredSize = std::nullopt) {
        PutId(chunks, id);
        Put32(chunks, declaredSize.value_or(static_cast<std::uint32_t>(body.size())));
        chunks.insert(chunks.end(), body.begin(), body.end());
        if (body.size() % 2 != 0) {
            chunks.push_back(0);
        }
        return *this;
    }

    WaveBuilder& Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                        std::uint16_t bits, const Bytes& after = {}) {
        Bytes body = FormatFields(tag, channels, rate, bits);
        body.insert(body.end(), after.begin(), after.end());
        return Chunk("fmt ", body);
    }

    WaveBuilder& Data(const Bytes& samples) { return Chunk("data", samples); }

    // Raw bytes after the chunks, outside any header.
    WaveBuilder& Raw(const Bytes& bytes) {
        chunks.insert(chunks.end(), bytes.begin(), bytes.end());
        return *this;
    }

    WaveBuilder& RiffSize(std::uint32_t size) {
        riffSize = size;
        return *this;
    }

    Bytes Build(std::string_view riffId = "RIFF", std::string_view formType = "WAVE") const {
        Bytes out;
        PutId(out, riffId);
        Put32(out, riffSize.value_or(static_cast<std::uint32_t>(chunks.size() + 4)));
        PutId(out, formType);
        out.insert(out.end(), chunks.begin(), chunks.end());
        return out;
    }

private:
    Bytes chunks;
    std::optional<std::uint32_t> riffSize;
};

// Samples counting up from first, wrapping at 256: each byte tells where it came from.
inline Bytes Ramp(std::size_t count, std::uint8_t first = 0) {
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = static_cast<std::uint8_t>(first + i);
    }
    return out;
}

// A small valid PCM wave: 8-bit mono at 11025 Hz holding the given samples.
inline Bytes SimplePcm(const Bytes& samples) {
    return WaveBuilder().Format(1, 1, 11025, 8).Data(samples).Build();
}

} // namespace wavetest
