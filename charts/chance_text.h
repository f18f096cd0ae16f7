#pragma once

#include <QString>

namespace tanabashigo {

/// A probability as a percentage for a chart label: "26.9%", "0%", or "0.1% 未満".
QString percentText(double probability);

/// A probability as how often it happens: 「約 4 回に 1 回」, 「毎回」, 「起こらない」.
QString onceInText(double probability);

}  // namespace tanabashigo
