#include "cricket/CTwister.h"

#include <ctime>

namespace {

constexpr int kMiddle = 397;
constexpr std::uint32_t kTwist = 0x9908B0DFu;
constexpr std::uint32_t kUpperMask = 0x80000000u;
constexpr std::uint32_t kLowerMask = 0x7FFFFFFFu;
constexpr std::uint32_t kDefaultSeed = 4357;

} // namespace

void CTwister::Seed(std::uint32_t seed) {
    for (std::uint32_t& word : state) {
        std::uint32_t value = seed & 0xFFFF0000u;
        seed = 69069u * seed + 1u;
        value |= seed >> 16;
        seed = 69069u * seed + 1u;
        word = value;
    }
    index = kStateSize;
}

std::uint32_t CTwister::Next() {
    if (index >= kStateSize) {
        if (index == kUnseeded) {
            Seed(kDefaultSeed);
        }
        // In place: the later words already see the renewed early ones, as in the reference.
        for (int k = 0; k < kStateSize; ++k) {
            const std::uint32_t y =
                (state[k] & kUpperMask) | (state[(k + 1) % kStateSize] & kLowerMask);
            state[k] = state[(k + kMiddle) % kStateSize] ^ (y >> 1) ^ ((y & 1u) ? kTwist : 0u);
        }
        index = 0;
    }

    std::uint32_t y = state[index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

constinit CTwister theTwister;

namespace {

// Runs during static initialisation, before any cricket can draw.
[[maybe_unused]] const bool twisterSeeded = [] {
    theTwister.Seed(static_cast<std::uint32_t>(std::time(nullptr)));
    return true;
}();

} // namespace
