#include "window_model.h"

#include <algorithm>

namespace tanabashigo {

namespace {

constexpr WindowControls kStopped{
    .start = true, .quit = true, .initialise = true, .stop = false, .help = true};
constexpr WindowControls kFinished{
    .start = false, .quit = true, .initialise = true, .stop = false, .help = true};

}  // namespace

WindowModel::WindowModel(RandomSource& random, WindowOptions options)
    : experiment_(random), options_(options) {
    timerOf(WindowTimer::Ladder).periodMs = options_.tickMs;
    timerOf(WindowTimer::Trace).periodMs = options_.tickMs;
    timerOf(WindowTimer::NextTrial).periodMs = options_.nextTrialMs;
    load();
}

void WindowModel::load() {
    stopTimers();
    experiment_.load();
    controls_ = WindowControls{};
    unkept_.reset();
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
    if (unkept_) {
        return {*unkept_};
    }
    std::vector<WindowEvent> events;
    startAt(now, events);
    return events;
}

void WindowModel::startAt(std::int64_t now, std::vector<WindowEvent>& events) {
    timerOf(WindowTimer::NextTrial).enable(now);
    controls_ = {.start = false, .quit = false, .initialise = false, .stop = true, .help = false};
    // A path still being traced belongs to the trial that ends here: it counts nothing.
    timerOf(WindowTimer::Trace).disable();
    timerOf(WindowTimer::HeldTrial).disable();
    pace_.trialStarted();
    experiment_.startTrial();
    events.push_back({WindowEvent::Kind::Cleared});
    timerOf(WindowTimer::Ladder).enable(now);
}

void WindowModel::stop() {
    stopTimers();
    controls_ = kStopped;
}

std::vector<WindowEvent> WindowModel::initialise() {
    controls_.start = false;
    controls_.initialise = false;
    experiment_.initialise();
    unkept_.reset();
    return {{WindowEvent::Kind::Cleared}};
}

std::vector<WindowEvent> WindowModel::advance(std::int64_t now) {
    std::vector<WindowEvent> events;
    if (unkept_) {
        return events;
    }
    skipLongDelay(now);
    for (;;) {
        const std::optional<WindowTimer> next = nextTimer();
        if (!next || !timerOf(*next).isDue(now)) {
            return events;
        }
        DueTimer& timer = timerOf(*next);
        const std::int64_t at = timer.dueMs;
        timer.dueMs += timer.periodMs;
        switch (*next) {
            case WindowTimer::Ladder:
                ladderTick(at, events);
                break;
            case WindowTimer::Trace:
                if (traceTick(events)) {
                    return events;
                }
                break;
            case WindowTimer::NextTrial:
                nextTrialDue(at, events);
                break;
            case WindowTimer::HeldTrial:
                startAt(at, events);
                break;
        }
    }
}

void WindowModel::nextTrialDue(std::int64_t now, std::vector<WindowEvent>& events) {
    const std::int64_t wait = options_.paced ? pace_.nextTrialWait(now) : 0;
    if (wait == 0) {
        startAt(now, events);
        return;
    }
    // The trial that was due starts from the held timer; the next trial counts its 5 s from
    // there.
    timerOf(WindowTimer::NextTrial).disable();
    if (wait != TrialPace::kUntilLanding) {
        timerOf(WindowTimer::HeldTrial) = {0, true, now + wait};
    }
}

void WindowModel::ladderTick(std::int64_t now, std::vector<WindowEvent>& events) {
    const LadderTick tick = experiment_.ladderTick();
    if (tick.kind == LadderTick::Kind::Complete) {
        timerOf(WindowTimer::Ladder).disable();
        timerOf(WindowTimer::Trace).enable(now);
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
    timerOf(WindowTimer::Trace).disable();
    if (step.landing.kind == Landing::Kind::ColumnWasFull) {
        controls_ = kFinished;
        stopTimers();
        unkept_ = {WindowEvent::Kind::Finished, {}, 0, step.landing.column, step.entry};
    } else {
        unkept_ = {
            WindowEvent::Kind::Counted, {}, step.landing.marker, step.landing.column, step.entry};
    }
    events.push_back(*unkept_);
    return true;
}

void WindowModel::landingKept(std::int64_t now) {
    if (!unkept_) {
        return;
    }
    if (unkept_->kind == WindowEvent::Kind::Finished) {
        controls_ = kFinished;
        stopTimers();
    } else if (const std::optional<std::int64_t> wait = pace_.landed(now)) {
        timerOf(WindowTimer::HeldTrial) = {0, true, now + *wait};
    }
    unkept_.reset();
}

void WindowModel::landingRefused() {
    if (unkept_) {
        stop();
    }
}

void WindowModel::stopTimers() {
    for (DueTimer& timer : timers_) {
        timer.disable();
    }
}

std::optional<WindowTimer> WindowModel::nextTimer() const {
    std::optional<WindowTimer> next;
    for (const WindowTimer timer : {WindowTimer::Ladder, WindowTimer::Trace, WindowTimer::NextTrial,
                                    WindowTimer::HeldTrial}) {
        if (timerOf(timer).enabled && (!next || timerOf(timer).dueMs < timerOf(*next).dueMs)) {
            next = timer;
        }
    }
    return next;
}

std::optional<std::int64_t> WindowModel::nextDue() const {
    const std::optional<WindowTimer> next = nextTimer();
    if (!next || unkept_) {
        return std::nullopt;
    }
    return timerOf(*next).dueMs;
}

void WindowModel::skipLongDelay(std::int64_t now) {
    const std::optional<std::int64_t> due = nextDue();
    const std::int64_t late = due ? now - *due - kLongestCatchUpMs : 0;
    if (late <= 0) {
        return;
    }
    for (DueTimer& timer : timers_) {
        timer.dueMs += late;
    }
}

}  // namespace tanabashigo
