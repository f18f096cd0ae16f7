#pragma once

#include <string>

#include "experiment_length.h"

namespace tanabashigo {

/// How long the class's experiment takes, for a teacher: the mean and the middle number of
/// trials, and both in minutes at the lesson's `speed`, named with its seconds a trial.
std::string durationSentence(const ExperimentLength& length, int rungs, int start, int speed);

}  // namespace tanabashigo
