#include "window_model.h"

#include <algorithm>
#include <array>

namespace tanabashigo {

WindowModel::WindowModel(RandomSource& random, int tickMs)
    : experiment_(random), ladderTimer_{tickMs}, traceTimer_{tickMs} {
    load();
}

void WindowModel::load() {
    stopTimers();
    experiment_.load();
    controls_ = WindowControls{};
}

void WindowModel::activate() {
    controls_.start = false;
    controls_.quit = false;
    controls_.stop = false;
}

void WindowModel::rungCountChosen(int rungs) {
    experiment_.setRungCount(rungs);
    controls_.start = true;
    controls_.quit = true;
}

std::vector<WindowEvent> WindowModel::start(std::int64_t now) {
    std::vector<WindowEvent> events;
    startAt(now, events);
    return events;
}

void WindowModel::startAt(std::int64_t now, std::vector<WindowEvent>& events) {
    nextTrialTimer_.enable(now);
    controls_ = {.start = false, .quit = false, .initialise = false, .stop = true, .help = false};
    // A path still being traced belongs to the trial that ends here: it counts nothing.
    traceTimer_.disable();
    experiment_.startTrial();
    events.push_back({WindowEvent::Kind::Cleared});
    ladderTimer_.enable(now);
}

void WindowModel::stop() {
    stopTimers();
    controls_ = {.start = true, .quit = true, .initialise = true, .stop = false, .help = true};
}

std::vector<WindowEvent> WindowModel::initialise() {
    controls_.start = false;
    controls_.initialise = false;
    experiment_.initialise();
    return {{WindowEvent::Kind::Cleared}};
}

std::vector<WindowEvent> WindowModel::advance(std::int64_t now) {
    skipLongDelay(now);
    std::vector<WindowEvent> events;
    // The timers tick in the order they fall due; on a tie the ladder goes first, then the
    // path, then the next trial.
    const std::array<DueTimer*, 3> timers{&ladderTimer_, &traceTimer_, &nextTrialTimer_};
    for (;;) {
        DueTimer* next = nullptr;
        for (DueTimer* timer : timers) {
            if (timer->isDue(now) && (next == nullptr || timer->dueMs < next->dueMs)) {
                next = timer;
            }
        }
        if (next == nullptr) {
            return events;
        }
        const std::int64_t at = next->dueMs;
        next->dueMs += next->periodMs;
        if (next == &ladderTimer_) {
            ladderTick(at, events);
        } else if (next == &traceTimer_) {
            if (traceTick(events)) {
                return events;
            }
        } else {
            startAt(at, events);
        }
    }
}

void WindowModel::ladderTick(std::int64_t now, std::vector<WindowEvent>& events) {
    const LadderTick tick = experiment_.ladderTick();
    if (tick.kind == LadderTick::Kind::Complete) {
        ladderTimer_.disable();
        traceTimer_.enable(now);
        return;
    }
    events.push_back({WindowEvent::Kind::RungNumber, {}, tick.label});
    if (tick.kind == LadderTick::Kind::Placed) {
        events.push_back({WindowEvent::Kind::LadderLine, tick.rung});
    }
}

bool WindowModel::traceTick(std::vector<WindowEvent>& events) {
    const Experiment::TraceStep step = experiment_.traceTick();
    events.push_back({WindowEvent::Kind::PathLine, step.move.down});
    if (step.move.kind == TraceTick::Kind::Moved) {
        events.push_back({WindowEvent::Kind::PathLine, step.move.across});
        return false;
    }
    traceTimer_.disable();
    if (step.landing.kind == Landing::Kind::ColumnWasFull) {
        controls_.quit = true;
        controls_.initialise = true;
        controls_.help = true;
        controls_.stop = false;
        stopTimers();
        events.push_back({WindowEvent::Kind::Finished, {}, 0, step.landing.column, step.entry});
    } else {
        events.push_back(
            {WindowEvent::Kind::Counted, {}, step.landing.marker, step.landing.column, step.entry});
    }
    return true;
}

void WindowModel::stopTimers() {
    ladderTimer_.disable();
    traceTimer_.disable();
    nextTrialTimer_.disable();
}

std::optional<std::int64_t> WindowModel::nextDue() const {
    std::optional<std::int64_t> due;
    for (const DueTimer* timer : {&ladderTimer_, &traceTimer_, &nextTrialTimer_}) {
        if (timer->enabled) {
            due = std::min(due.value_or(timer->dueMs), timer->dueMs);
        }
    }
    return due;
}

void WindowModel::skipLongDelay(std::int64_t now) {
    const std::optional<std::int64_t> due = nextDue();
    const std::int64_t late = due ? now - *due - kLongestCatchUpMs : 0;
    if (late <= 0) {
        return;
    }
    for (DueTimer* timer : {&ladderTimer_, &traceTimer_, &nextTrialTimer_}) {
        timer->dueMs += late;
    }
}

}  // namespace tanabashigo
