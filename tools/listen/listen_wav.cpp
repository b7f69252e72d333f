#include "listen_wav.h"

#include <fstream>

namespace {

void Put16(std::ostream& out, std::uint32_t value) {
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
    out.write(bytes, 2);
}

void Put32(std::ostream& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

bool WriteWav(const std::string& path, const std::vector<std::int16_t>& samples, int channels,
              int rate) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
    out.write("RIFF", 4);
    Put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(channels));
    Put32(out, static_cast<std::uint32_t>(rate));
    Put32(out, static_cast<std::uint32_t>(rate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, dataBytes);
    for (const std::int16_t sample : samples) {
        Put16(out, static_cast<std::uint16_t>(sample));
    }
    return static_cast<bool>(out.flush());
}
