#pragma once

#include "ladder.h"
#include "landing_entry.h"
#include "random_source.h"
#include "tally.h"
#include "tracer.h"

namespace tanabashigo {

/// The state of one experiment: the current ladder, the path over it, and the tally.
///
/// The window drives it: startTrial() on each trial start, ladderTick() on each tick of
/// the ladder timer until it answers Complete, then traceTick() on each tick of the
/// tracing timer until it answers Landed. initialise() starts a new experiment.
class Experiment {
public:
    /// What a tick of the tracing timer did, with its effect on the tally when it landed.
    struct TraceStep {
        TraceTick move;
        Landing landing{};     ///< meaningful when move.kind is Landed
        LandingEntry entry{};  ///< the landing as the record keeps it, when move.kind is Landed
    };

    /// `random` must outlive the experiment.
    explicit Experiment(RandomSource& random) : random_(random) {}

    /// The reset steps at load: tracer at the top of the start line, RungNo 1, tally cleared.
    void load();
    /// A new trial: the reset steps without the tally, and the rungs cleared.
    void startTrial();
    /// A new experiment: the reset steps with the tally, and the rungs cleared.
    void initialise();
    /// Sets the rung count for the following trials (10..50; 0..Ladder::kCapacity in a lesson).
    void setRungCount(int rungs) { ladder_.setRungCount(rungs); }
    /// Sets the start line (1..10, 3 unless set) for the following trials.
    void setStartLine(int line) { tracer_.setStartLine(line); }

    /// One tick of the ladder timer.
    LadderTick ladderTick() { return ladder_.tick(random_); }
    /// One tick of the tracing timer; a landing is recorded in the tally.
    TraceStep traceTick();

    const Ladder& ladder() const { return ladder_; }
    const Tracer& tracer() const { return tracer_; }
    const Tally& tally() const { return tally_; }
    /// Whether a landing found its column full.
    bool isFinished() const { return finished_; }

private:
    void resetSteps(bool withTally);

    RandomSource& random_;
    Ladder ladder_;
    Tracer tracer_;
    Tally tally_;
    bool finished_ = false;
};

}  // namespace tanabashigo
