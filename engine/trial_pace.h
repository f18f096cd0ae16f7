#pragma once

#include <cstdint>
#include <optional>

namespace tanabashigo {

/// The pace of trials at a slower tick: the next trial never starts before the running one
/// has landed, and not before its landing has been shown for `kLandingShownMs`.
///
/// Times are milliseconds on any steady clock.
class TrialPace {
public:
    static constexpr std::int64_t kLandingShownMs = 2000;
    /// nextTrialWait(): the next trial waits for the running one to land.
    static constexpr std::int64_t kUntilLanding = -1;

    /// A trial has started; it runs until landed().
    void trialStarted();
    /// The running trial landed at `now`. When a next trial was held back for it, how long
    /// that trial must still wait.
    std::optional<std::int64_t> landed(std::int64_t now);
    /// The next trial is due at `now`: 0 to start it now, kUntilLanding, or the milliseconds
    /// it must still wait. A trial held back is remembered until the next trialStarted().
    std::int64_t nextTrialWait(std::int64_t now);

private:
    bool running_ = false;
    bool held_ = false;
    std::optional<std::int64_t> landedAt_;
};

}  // namespace tanabashigo
