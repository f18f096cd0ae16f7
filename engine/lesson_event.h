#pragma once

#include "geometry.h"
#include "landing_entry.h"

namespace tanabashigo {

/// One thing that happened in a lesson, in plain values a front end draws from.
struct LessonEvent {
    enum class Kind {
        TrialStarted,  ///< the surface is cleared: an empty ladder, `trial` is the new number
        RungPlaced,    ///< rung `rungNo` stands in `gap` at `height`
        PathMoved,     ///< the path ran `down` and then `across` a rung
        Landed,        ///< the path ran `down` to the bottom of `column`, which now holds `count`
        Ended,         ///< the path ran `down` to `column`, already full: the experiment is over
    };
    Kind kind = Kind::TrialStarted;
    double atMs = 0;   ///< when it was due, on the clock given to the lesson
    int trial = 0;     ///< the trial it belongs to, 1 for the first of the experiment
    int rungNo = 0;    ///< RungPlaced: 1..rung count
    int gap = 0;       ///< RungPlaced: the rung joins line x = gap to x = gap + 1 (2..10)
    int height = 0;    ///< RungPlaced: 11..60
    Segment down{};    ///< PathMoved, Landed, Ended
    Segment across{};  ///< PathMoved
    int column = 0;    ///< Landed, Ended: 1..10
    int count = 0;     ///< Landed: the column's new count; Ended: the count it would have reached
    LandingEntry entry{};  ///< Landed, Ended: the landing as the record keeps it
    bool operator==(const LessonEvent&) const = default;
};

}  // namespace tanabashigo
