#include "experiment.h"

namespace tanabashigo {

void Experiment::resetSteps(bool withTally) {
    tracer_.reset();
    ladder_.restart();
    if (withTally) {
        tally_.clear();
        finished_ = false;
    }
}

void Experiment::load() {
    resetSteps(true);
}

void Experiment::startTrial() {
    resetSteps(false);
    ladder_.clearRungs();
}

void Experiment::initialise() {
    resetSteps(true);
    ladder_.clearRungs();
}

Experiment::TraceStep Experiment::traceTick() {
    TraceStep step{tracer_.tick(ladder_)};
    if (step.move.kind == TraceTick::Kind::Landed) {
        step.landing = tally_.record(step.move.column);
        finished_ = finished_ || step.landing.kind == Landing::Kind::ColumnWasFull;
        step.entry = {ladder_.rungCount(), tracer_.startLine(), step.move.column,
                      tally_(step.move.column), step.landing.kind == Landing::Kind::ColumnWasFull};
    }
    return step;
}

}  // namespace tanabashigo
