#pragma once

#include <string>

namespace tanabashigo {

/// A probability as a percentage for a label: "26.9%", "0%", or "0.1% 未満".
std::string percentText(double probability);

/// A probability as how often it happens: 「約 4 回に 1 回」, 「毎回」, 「起こらない」.
std::string onceInText(double probability);

}  // namespace tanabashigo
