#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace soundtest {

WAVEFORMATEX PcmFormat(WORD channels, DWORD rate, WORD bits) {
    const auto blockAlign = static_cast<WORD>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, rate, rate * blockAlign, blockAlign, bits, 0};
}

Bytes Sine16(double frequency, double rate, double amplitude, std::size_t frames) {
    Bytes bytes;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto value = static_cast<std::uint16_t>(std::lround(
            32767.0 * amplitude * std::sin(2.0 * std::numbers::pi * frequency * i / rate)));
        bytes.insert(bytes.end(), {std::uint8_t(value), std::uint8_t(value >> 8)});
    }
    return bytes;
}

OfflineDevice::OfflineDevice(int channels)
    : output(std::make_shared<dsound::OfflineOutput>(48000, channels)) {
    EXPECT_EQ(dsound::CreateDevice(output, device.put()), DS_OK);
    EXPECT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
}

DsPtr<IDirectSoundBuffer> OfflineDevice::Buffer(const WAVEFORMATEX& format, const Bytes& bytes,
                                                DWORD flags) {
    WAVEFORMATEX copy = format;
    DSBUFFERDESC desc{DSBUFFERDESC_SIZE, flags, static_cast<DWORD>(bytes.size()), 0, &copy};
    DsPtr<IDirectSoundBuffer> buffer;
    EXPECT_EQ(device->CreateSoundBuffer(&desc, buffer.put(), nullptr), DS_OK);
    void* block = nullptr;
    DWORD size = 0;
    if (buffer &&
        buffer->Lock(0, desc.dwBufferBytes, &block, &size, nullptr, nullptr, 0) == DS_OK) {
        std::memcpy(block, bytes.data(), size);
        EXPECT_EQ(buffer->Unlock(block, size, nullptr, 0), DS_OK);
    }
    return buffer;
}

DWORD OfflineDevice::Status(IDirectSoundBuffer* buffer) {
    DWORD status = 0xFFFFFFFF;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    return status;
}

Bytes BufferBytes(IDirectSoundBuffer* buffer, DWORD size) {
    void* block = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(buffer->Lock(0, size, &block, &bytes, nullptr, nullptr, 0), DS_OK);
    Bytes copy(static_cast<std::uint8_t*>(block), static_cast<std::uint8_t*>(block) + bytes);
    buffer->Unlock(block, bytes, nullptr, 0);
    return copy;
}

} // namespace soundtest
