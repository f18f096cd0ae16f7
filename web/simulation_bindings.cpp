// Blocks of the simulation for the page's workers to share out. Built into the engine, and
// on its own with WebAssembly SIMD for the workers of browsers that have it.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "js_values.h"
#include "landing_simulation.h"

namespace tanabashigo {
namespace {

using emscripten::val;

/// The landings of blocks first..first + count - 1 of a simulation of `trials` trials, the
/// blocks the desktop's threads would run, so that any split gives the same sum.
val simulateBlocks(int rungs, int start, unsigned seed, double first, double count, double trials) {
    const auto total = static_cast<std::uint64_t>(trials);
    ColumnCounts sum{};
    for (auto block = static_cast<std::uint64_t>(first); block < first + count; ++block) {
        const std::uint64_t begin = block * kTrialsPerBlock;
        if (begin >= total) {
            break;
        }
        const ColumnCounts counts = simulateBlock(
            rungs, start, std::min(kTrialsPerBlock, total - begin), blockSeed(seed, block));
        for (int column = 1; column <= kLineCount; ++column) {
            sum[column] += counts[column];
        }
    }
    return numberArray(sum);
}

double trialsPerBlock() {
    return static_cast<double>(kTrialsPerBlock);
}

}  // namespace
}  // namespace tanabashigo

EMSCRIPTEN_BINDINGS(tanabashigo_simulation) {
    using namespace tanabashigo;
    emscripten::function("simulateBlocks", &simulateBlocks);
    emscripten::function("trialsPerBlock", &trialsPerBlock);
}
