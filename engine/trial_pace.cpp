#include "trial_pace.h"

namespace tanabashigo {

void TrialPace::trialStarted() {
    running_ = true;
    held_ = false;
}

std::optional<std::int64_t> TrialPace::landed(std::int64_t now) {
    running_ = false;
    landedAt_ = now;
    if (!held_) {
        return std::nullopt;
    }
    return kLandingShownMs;
}

std::int64_t TrialPace::nextTrialWait(std::int64_t now) {
    if (running_) {
        held_ = true;
        return kUntilLanding;
    }
    const std::int64_t shown = landedAt_ ? now - *landedAt_ : kLandingShownMs;
    if (shown >= kLandingShownMs) {
        return 0;
    }
    held_ = true;
    return kLandingShownMs - shown;
}

}  // namespace tanabashigo
