#pragma once

#include "geometry.h"
#include "ladder.h"
#include "random_source.h"
#include "tracer.h"

/// A clock that shows whatever time the test sets.
class ManualClock final : public tanabashigo::Clock {
public:
    double seconds = 0.0;
    double secondsSinceMidnight() const override { return seconds; }
};

/// Where the window's tracer lands on `ladder` from line `start`.
inline int traceFrom(const tanabashigo::Ladder& ladder, int start) {
    tanabashigo::Tracer tracer;
    tracer.TracerX = static_cast<tanabashigo::Int16>(tanabashigo::lineX(start));
    for (;;) {
        const tanabashigo::TraceTick tick = tracer.tick(ladder);
        if (tick.kind == tanabashigo::TraceTick::Kind::Landed) {
            return tick.column;
        }
    }
}

/// Runs ladder ticks until `ladder` is complete.
inline void completeLadder(tanabashigo::Ladder& ladder, tanabashigo::RandomSource& random) {
    while (ladder.tick(random).kind != tanabashigo::LadderTick::Kind::Complete) {
    }
}
