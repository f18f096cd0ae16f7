#pragma once

#include <string>

#include "experiment_length.h"

namespace tanabashigo {

/// Seconds the experiment window takes for one trial.
inline constexpr double kSecondsPerTrial = 5.0;

/// How long the class's experiment takes, for a teacher: the mean and the middle number of
/// trials, and both in minutes at kSecondsPerTrial a trial.
std::string durationSentence(const ExperimentLength& length, int rungs, int start);

}  // namespace tanabashigo
