#pragma once

#include <cstdint>

namespace tanabashigo {

/// A timer on a clock the caller reads: whether it runs, its period and when it next ticks.
///
/// A front end that cannot tick every few milliseconds asks it for every tick that is due
/// and applies them in order, so the ticks keep their rhythm whatever the frame rate.
struct DueTimer {
    std::int64_t periodMs = 0;
    bool enabled = false;
    std::int64_t dueMs = 0;  ///< meaningful while enabled

    /// Starts the timer at `now`; one already running keeps its rhythm.
    void enable(std::int64_t now) {
        if (!enabled) {
            enabled = true;
            dueMs = now + periodMs;
        }
    }
    void disable() { enabled = false; }
    /// Whether a tick is due at `now`.
    bool isDue(std::int64_t now) const { return enabled && dueMs <= now; }
};

}  // namespace tanabashigo
