#include "OfflineDevice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

namespace soundtest {

WAVEFORMATEX PcmFormat(WORD channels, DWORD rate, WORD bits) {
    const auto blockAlign = static_cast<WORD>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, rate, rate * blockAlign, blockAlign, bits, 0};
}

std::vector<std::uint8_t> Bytes16(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> bytes(samples.size() * 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto value = static_cast<std::uint16_t>(samples[i]);
        bytes[2 * i] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    return bytes;
}

std::vector<std::int16_t> Sine16(double frequency, double rate, double amplitude,
                                 std::size_t frames) {
    std::vector<std::int16_t> samples(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double phase = 2.0 * std::numbers::pi * frequency * static_cast<double>(i) / rate;
        samples[i] = static_cast<std::int16_t>(std::lround(32767.0 * amplitude * std::sin(phase)));
    }
    return samples;
}

OfflineDevice::OfflineDevice(int rate, int channels)
    : output(std::make_shared<dsound::OfflineOutput>(rate, channels)) {
    EXPECT_EQ(dsound::CreateDevice(output, device.put()), DS_OK);
    EXPECT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
}

DsPtr<IDirectSoundBuffer> OfflineDevice::Buffer(const WAVEFORMATEX& format,
                                                const std::vector<std::uint8_t>& bytes,
                                                DWORD flags) {
    WAVEFORMATEX copy = format;
    DSBUFFERDESC desc{DSBUFFERDESC_SIZE, flags, static_cast<DWORD>(bytes.size()), 0, &copy};
    DsPtr<IDirectSoundBuffer> buffer;
    EXPECT_EQ(device->CreateSoundBuffer(&desc, buffer.put(), nullptr), DS_OK);
    if (!buffer) {
        return buffer;
    }
    void* block = nullptr;
    DWORD blockBytes = 0;
    EXPECT_EQ(
        buffer->Lock(0, static_cast<DWORD>(bytes.size()), &block, &blockBytes, nullptr, nullptr, 0),
        DS_OK);
    EXPECT_EQ(blockBytes, bytes.size());
    std::memcpy(block, bytes.data(), blockBytes);
    EXPECT_EQ(buffer->Unlock(block, blockBytes, nullptr, 0), DS_OK);
    return buffer;
}

DWORD OfflineDevice::Status(IDirectSoundBuffer* buffer) {
    DWORD status = 0xFFFFFFFF;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    return status;
}

} // namespace soundtest
