#pragma once

#include <cstdint>

// The fastest exact kernel known for the landing law, kept as the yardstick of the
// simulation's speed: the 225 rung places of a ladder as one 512-bit set (AVX-512), one
// draw at a time, repeats drawn again (past half the places, the empty ones are drawn). Built
// with AVX-512 on its own; call it only where fastestKernelRuns() holds.

/// Whether this processor has the instructions the kernel is built with.
bool fastestKernelRuns();

/// How the kernel follows a finished ladder from the top.
enum class KernelTrace {
    Sparse,    ///< rung by rung, from the set's bits in height order
    Listed,    ///< rung by rung, from a list of those bits made first
    ByStep,    ///< a table lookup per step of two heights
    Shuffled,  ///< a byte shuffle per step, from a table of the steps' moves
};

/// Adds the landings of `trials` ladders of `rungs` (0..225) rungs traced from line `start`
/// (1..10) to counts[column - 1]; `state` is the xoshiro256** generator's, carried over.
void fastestKernelLandings(int rungs, int start, std::uint64_t trials, KernelTrace trace,
                           std::uint64_t state[4], std::uint64_t counts[10]);
