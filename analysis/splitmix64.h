#pragma once

#include <cstdint>

namespace tanabashigo {

/// splitmix64: advances `state` by the golden-ratio step and answers it mixed, so that
/// neighbouring states give unrelated values.
constexpr std::uint64_t splitmix64(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15u;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

}  // namespace tanabashigo
