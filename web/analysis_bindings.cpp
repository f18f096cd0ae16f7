// The analysis as the page calls it: the exact law (the simulation's blocks are in
// simulation_bindings.cpp).

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "js_values.h"
#include "landing_law.h"

namespace tanabashigo {
namespace {

using emscripten::val;

/// The chance of each column 1..10 for `rungs` rungs from line `start`.
val exactLaw(int rungs, int start) {
    return numberArray(exactLandingLaw(rungs, start));
}

}  // namespace
}  // namespace tanabashigo

EMSCRIPTEN_BINDINGS(tanabashigo_analysis) {
    using namespace tanabashigo;
    emscripten::function("exactLaw", &exactLaw);
}
