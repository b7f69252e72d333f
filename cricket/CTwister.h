#pragma once

#include <cstdint>

// MT19937 with the original (1998) seeding by the multiplier 69069: for a given seed it yields
// exactly the sequence of that reference generator.
class CTwister {
public:
    static constexpr int kStateSize = 624;
    // index value of a generator that has never been seeded.
    static constexpr std::int32_t kUnseeded = 625;

    constexpr CTwister() = default;

    void Seed(std::uint32_t seed);
    std::uint32_t Next();

    std::uint32_t state[kStateSize] = {};
    // Next word to hand out; 624 = block used up, 625 = never seeded.
    std::int32_t index = kUnseeded;
};

// The one source of randomness, seeded from the calendar clock before main runs.
extern constinit CTwister theTwister;
